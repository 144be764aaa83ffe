#include <gtest/gtest.h>

#include <utility>

#include "rtl/closing_guard.h"
#include "rtl/exceptions.h"
#include "rtl/scope.h"
#include "rtl/store_changed.h"

using namespace brevant;

TEST(Exception, MessageAndClassName) {
  try {
    throw EConvertError("'%s' is not a valid integer value", {"12abc"});
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "'12abc' is not a valid integer value");
    EXPECT_STREQ(e.what(), "'12abc' is not a valid integer value");
    EXPECT_STREQ(e.ClassName(), "EConvertError");
  }
}

TEST(Exception, HierarchyCatchesByBase) {
  EXPECT_THROW(throw EZeroDivide("x"), EMathError);
  EXPECT_THROW(throw EStringListError("x"), EListError);
  EXPECT_THROW(throw EFOpenError("x"), EStreamError);
  EXPECT_THROW(throw EParserError("x", 3), EReadError);
  EXPECT_THROW(Abort(), EAbort);
}

TEST(Exception, ParserErrorCarriesLine) {
  EParserError e("Identifier expected", 17);
  EXPECT_EQ(e.Line(), 17);
  EXPECT_STREQ(e.ClassName(), "EParserError");
}

TEST(Exception, BadFormatKeepsTheFormatAsMessage) {
  // Too few arguments: the exception still carries readable text.
  EDatabaseError e("Field '%s' cannot be modified", {});
  EXPECT_EQ(e.Message(), "Field '%s' cannot be modified");
}

TEST(Exception, RaiseKeepsDynamicType) {
  std::unique_ptr<Exception> kept = std::make_unique<EOverflow>("big");
  try {
    kept->Raise();
  } catch (const EOverflow& e) {
    EXPECT_EQ(e.Message(), "big");
    return;
  } catch (...) {
  }
  ADD_FAILURE() << "Raise lost the exception's class";
}

// Scope guards restore on every way out: a normal end, an exception, and a
// guard dismissed after success leaves the new state.
TEST(ScopeGuards, RestoreOnEveryExit) {
  bool busy = false;
  String mode = "browse";
  try {
    TTemporaryChange b(busy, true);
    TTemporaryChange m(mode, String("edit"));
    EXPECT_TRUE(busy);
    EXPECT_EQ(mode, "edit");
    throw EAbort("stop");
  } catch (const EAbort&) {
  }
  EXPECT_FALSE(busy);
  EXPECT_EQ(mode, "browse");

  int undone = 0;
  {
    TScopeGuard undo([&] { ++undone; });
  }
  EXPECT_EQ(undone, 1);
  {
    TScopeGuard undo([&] { ++undone; });
    undo.Dismiss();
  }
  EXPECT_EQ(undone, 1);
}

TEST(ScopeGuards, StoreChangedWritesOnlyNewValues) {
  // Counts the assignments it receives.
  struct TCounted {
    int value = 0;        // the value compared
    int assignments = 0;  // how often a value was stored
    bool operator==(int v) const { return value == v; }
    TCounted& operator=(int v) {
      value = v;
      ++assignments;
      return *this;
    }
  } field;
  EXPECT_FALSE(StoreChanged(field, 0));
  EXPECT_EQ(field.assignments, 0) << "an equal value is not stored again";
  EXPECT_TRUE(StoreChanged(field, 7));
  EXPECT_EQ(field.value, 7);
  EXPECT_TRUE(StoreChanged(field, 8));
  EXPECT_FALSE(StoreChanged(field, 8));
  EXPECT_EQ(field.assignments, 2);
  String name = "a";
  EXPECT_TRUE(StoreChanged(name, String("b")));
  EXPECT_EQ(name, "b");
}

namespace brevant {
namespace {

// Runs body inside a closing bracket whose closing fails with "closing";
// answers the message that reached the caller and whether the closing ran.
template <class F>
std::pair<String, bool> RunBracket(F body) {
  bool closed = false;
  try {
    TClosingGuard close([&] {
      closed = true;
      throw EListError("closing");
    });
    body();
  } catch (const Exception& e) {
    return {e.Message(), closed};
  }
  return {"no error", closed};
}

// Leaves a bracket normally from a destructor that runs while another
// exception unwinds, and keeps what the bracket raised.
struct TCloseInDestructor {
  String& seen;  // the message the bracket raised
  ~TCloseInDestructor() {
    try {
      TClosingGuard close([] { throw EListError("closing"); });
    } catch (const Exception& e) {
      seen = e.Message();
    }
  }
};

TEST(ScopeGuards, ClosingGuardLetsTheFirstFailureTravel) {
  EXPECT_EQ(RunBracket([] {}), std::make_pair(String("closing"), true));
  EXPECT_EQ(RunBracket([] { throw EConvertError("work"); }), std::make_pair(String("work"), true));

  // The bracket was opened during unwinding, but its own scope ends
  // normally: its failure is not swallowed.
  String seen;
  try {
    TCloseInDestructor cleanup{seen};
    throw EConvertError("work");
  } catch (const Exception&) {
  }
  EXPECT_EQ(seen, "closing");
}

}  // namespace
}  // namespace brevant
