#include <gtest/gtest.h>

#include "classes/component.h"
#include "classes/rtti_builder.h"

using namespace brevant;

namespace {

// Records the life-cycle calls the two-phase protocol makes.
std::vector<String> g_log;

class TBase : public TPersistent {
  BV_CLASS(TBase, TPersistent)
 public:
  TBase() { g_log.push_back("ctor " + String(ClassName())); }
  void AfterConstruction() override { g_log.push_back("after " + String(Kind())); }
  void BeforeDestruction() override { g_log.push_back("before " + String(Kind())); }
  ~TBase() override { g_log.push_back("dtor"); }
  virtual const char* Kind() const { return "base"; }
};

class TDerived : public TBase {
  BV_CLASS(TDerived, TBase)
 public:
  const char* Kind() const override { return "derived"; }
};

class TAbstractThing : public TObject {
  BV_CLASS(TAbstractThing, TObject)
};

}  // namespace

BV_IMPLEMENT_CLASS(TBase, TPersistent)
BV_IMPLEMENT_CLASS(TDerived, TBase)
BV_IMPLEMENT_ABSTRACT_CLASS(TAbstractThing, TObject)

TEST(Object, ClassIdentity) {
  EXPECT_STREQ(TDerived::StaticClass()->ClassName(), "TDerived");
  EXPECT_EQ(TDerived::StaticClass()->ClassParent(), TBase::StaticClass());
  EXPECT_TRUE(TDerived::StaticClass()->InheritsFrom(TPersistent::StaticClass()));
  EXPECT_TRUE(TDerived::StaticClass()->InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TBase::StaticClass()->InheritsFrom(TDerived::StaticClass()));
  EXPECT_TRUE(TDerived::StaticClass()->ClassNameIs("tderived"));
}

TEST(Object, TwoPhaseLifeCycleDispatchesToTheDerivedClass) {
  g_log.clear();
  TDerived* d = Create<TDerived>();
  d->Free();
  // The C++ constructor sees the base class; AfterConstruction and
  // BeforeDestruction see the whole object.
  std::vector<String> expected = {"ctor TBase", "after derived", "before derived", "dtor"};
  EXPECT_EQ(g_log, expected);
}

TEST(Object, VirtualConstructionFromClassReferenceAndName) {
  g_log.clear();
  RegisterClass(TDerived::StaticClass());
  TClass c = FindClass("TDERIVED");
  ASSERT_EQ(c, TDerived::StaticClass());
  TObjectPtr<TObject> obj(c->NewInstance());
  EXPECT_STREQ(obj->ClassName(), "TDerived");
  EXPECT_EQ(g_log.back(), "after derived");
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
  EXPECT_THROW(TAbstractThing::StaticClass()->NewInstance(), EInvalidOperation);
  UnRegisterClass(TDerived::StaticClass());
  EXPECT_EQ(GetClass("TDerived"), nullptr);
}

TEST(Object, CheckedCasts) {
  TObjectPtr<TBase> b(Create<TBase>());
  TObjectPtr<TDerived> d(Create<TDerived>());
  EXPECT_EQ(As<TBase>(d.get()), d.get());
  EXPECT_THROW(As<TDerived>(static_cast<TObject*>(b.get())), EInvalidCast);
  EXPECT_EQ(As<TDerived>(static_cast<TObject*>(nullptr)), nullptr);
  EXPECT_TRUE(Is<TPersistent>(d.get()));
  EXPECT_FALSE(Is<TDerived>(b.get()));
  EXPECT_FALSE(Is<TObject>(nullptr));
}

TEST(Object, FreeAndNilAndNilFree) {
  TBase* b = Create<TBase>();
  FreeAndNil(b);
  EXPECT_EQ(b, nullptr);
  TObject::Free(nullptr);  // nothing happens
}

TEST(Object, ExceptionHandlerReceivesFailures) {
  static String seen;
  SetExceptionHandler([](TObject*, const Exception& e) { seen = e.Message(); });
  CallHandlingExceptions(nullptr, [] { throw EDatabaseError("write-back failed"); });
  EXPECT_EQ(seen, "write-back failed");
  SetExceptionHandler(nullptr);
}

TEST(Persistent, AssignErrorNamesBothClasses) {
  TObjectPtr<TBase> a(Create<TBase>());
  TObjectPtr<TDerived> b(Create<TDerived>());
  try {
    a->Assign(b.get());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TDerived to a TBase");
  }
  try {
    a->Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TBase");
  }
}
