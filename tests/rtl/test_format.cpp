#include <gtest/gtest.h>

#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/format_settings.h"

using namespace brevant;

namespace {

// Format uses the process-wide settings: pin them to the defaults.
class FormatTest : public ::testing::Test {
 protected:
  void SetUp() override { FormatSettings() = DefaultFormatSettings(); }
  TFormatSettingsGuard guard_;
};

String Message(const String& fmt, TVarRecs args) {
  try {
    Format(fmt, args);
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "no error";
}

}  // namespace

TEST_F(FormatTest, Integers) {
  EXPECT_EQ(Format("%d", {42}), "42");
  EXPECT_EQ(Format("%d", {-42}), "-42");
  EXPECT_EQ(Format("%d", {INT64_MIN}), "-9223372036854775808");
  EXPECT_EQ(Format("[%5d|%-5d|%.3d|%.3d|%6.3d]", {7, 7, 7, -5, 7}),
            "[    7|7    |007|-005|   007]");
  EXPECT_EQ(Format("%u", {-1}), "4294967295");
  EXPECT_EQ(Format("%u", {static_cast<long long>(-1)}), "18446744073709551615");
  EXPECT_EQ(Format("%x|%.4x|%X", {255, 10, -1}), "FF|000A|FFFFFFFF");
  EXPECT_EQ(Format("%D", {3}), "3");  // types ignore case
}

TEST_F(FormatTest, Floats) {
  EXPECT_EQ(Format("%e", {1000.0}), "1.00000000000000E+003");
  EXPECT_EQ(Format("%.3e", {-0.00125}), "-1.25E-003");
  EXPECT_EQ(Format("%f", {3.14159}), "3.14");
  EXPECT_EQ(Format("%.0f", {2.5}), "3");
  EXPECT_EQ(Format("%.4f", {2}), "2.0000");  // integers are accepted as numbers
  EXPECT_EQ(Format("%g", {1e20}), "1E20");
  EXPECT_EQ(Format("%g", {0.1}), "0.1");
  EXPECT_EQ(Format("%.3g", {3.14159}), "3.14");
  EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
  EXPECT_EQ(Format("%.0n", {1234567.891}), "1,234,568");
  EXPECT_EQ(Format("%m", {-1.5}), "($1.50)");
  EXPECT_EQ(Format("%10.2f|%-8.1f|", {3.14159, 2.25}), "      3.14|2.3     |");
  EXPECT_EQ(Format("%m", {Currency::FromRaw(12345000)}), "$1,234.50");
  EXPECT_EQ(Format("%f", {Currency::FromRaw(10050)}), "1.01");
  EXPECT_EQ(Format("%g", {Currency::FromRaw(-1)}), "-0.0001");
  EXPECT_EQ(Format("The allowed range is %g to %g", {-1.5, 100}),
            "The allowed range is -1.5 to 100");
}

TEST_F(FormatTest, FloatsFollowSettings) {
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = ".";
  EXPECT_EQ(Format("%n", {1234.5}), "1.234,50");
  EXPECT_EQ(Format("%g", {0.5}), "0,5");
}

TEST_F(FormatTest, Strings) {
  String s = "abc";
  WideString w = u"w\u00e9\U0001F600";
  EXPECT_EQ(Format("%s-%s", {s, "lit"}), "abc-lit");
  EXPECT_EQ(Format("%s", {w}), "w\u00e9\U0001F600");
  EXPECT_EQ(Format("%s", {'c'}), "c");
  EXPECT_EQ(Format("[%5s|%-5s]", {"ab", "ab"}), "[   ab|ab   ]");
  EXPECT_EQ(Format("%.2s", {"hello"}), "he");
  EXPECT_EQ(Format("%.2s", {"\u00e9t\u00e9"}), "\u00e9");  // é is two bytes
  EXPECT_EQ(Format("%.1s", {"\u00e9t\u00e9"}), "");        // never half a character
  EXPECT_EQ(Format("%.5s", {w}), "w\u00e9");
  EXPECT_EQ(Format("%4s|", {"\u00e9"}), "   \u00e9|");  // width counts characters
  EXPECT_EQ(Format("%s", {static_cast<const char*>(nullptr)}), "");
  EXPECT_EQ(Format("%s%%", {String("50")}), "50%");
  String embedded("a\0b", 3);
  EXPECT_EQ(Format("%s", {embedded}), embedded);
  EXPECT_EQ(Format(String("x\0%d", 4), {5}), String("x\0"
                                                    "5",
                                                    3));
}

TEST_F(FormatTest, IndexStarAndPointer) {
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b", "c"}), "b a b");
  EXPECT_EQ(Format("%*d|%-*d|%.*f", {4, 1, 3, 2, 2, 1.5}), "   1|2  |1.50");
  EXPECT_EQ(Format("%*d|", {-3, 1}), "1  |");
  int x = 0;
  EXPECT_EQ(Format("%p", {static_cast<const void*>(&x)}).size(), 16u);
  EXPECT_EQ(Format("no args", {}), "no args");
  EXPECT_EQ(Format("%d", {1, 2, 3}), "1");  // extra arguments are ignored
}

TEST_F(FormatTest, Errors) {
  EXPECT_EQ(Message("%d", {"x"}), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(Message("%d %d", {1}), "No argument for format '%d %d'");
  EXPECT_THROW(Format("%s", {1}), EConvertError);
  EXPECT_THROW(Format("%d", {true}), EConvertError);
  EXPECT_THROW(Format("%d", {1.5}), EConvertError);
  EXPECT_THROW(Format("%d", {'c'}), EConvertError);
  EXPECT_THROW(Format("%f", {"1.5"}), EConvertError);
  EXPECT_THROW(Format("%f", {true}), EConvertError);
  EXPECT_THROW(Format("%p", {1}), EConvertError);
  EXPECT_THROW(Format("%x", {Currency::FromRaw(1)}), EConvertError);
  EXPECT_THROW(Format("%", {1}), EConvertError);
  EXPECT_THROW(Format("abc%", {}), EConvertError);
  EXPECT_THROW(Format("%5", {1}), EConvertError);
  EXPECT_THROW(Format("%.", {1}), EConvertError);
  EXPECT_THROW(Format("%q", {1}), EConvertError);
  EXPECT_THROW(Format("%3:d", {1}), EConvertError);
  EXPECT_THROW(Format("%*d", {"x", 1}), EConvertError);
  EXPECT_THROW(Format("%*d", {1}), EConvertError);
  EXPECT_THROW(Format("%999999999d", {1}), EConvertError);  // no giant allocation
  EXPECT_THROW(Format("%.*d", {1 << 30, 1}), EConvertError);
  EXPECT_THROW(Format("%99999999999999999999999:d", {1}), EConvertError);
}

TEST(TVarRec, AsString) {
  String s = "text";
  WideString w = u"\xD800x";  // unpaired surrogate
  EXPECT_EQ(TVarRec(s).AsString(), "text");
  EXPECT_EQ(TVarRec("lit").AsString(), "lit");
  EXPECT_EQ(TVarRec(w).AsString(), "\uFFFDx");
  EXPECT_EQ(TVarRec(12).AsString(), "12");
  EXPECT_EQ(TVarRec(true).AsString(), "True");
  EXPECT_EQ(TVarRec(Currency::FromRaw(15000)).AsString(), "1.5");
  EXPECT_EQ(TVarRec(1.5).VType(), TVarRec::vkExtended);
  EXPECT_EQ(TVarRec(5u).VType(), TVarRec::vkInt64);
}
