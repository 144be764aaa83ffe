#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "rtl/strutils.h"

using namespace brevant;

namespace {
int Sgn(int v) {
  return (v > 0) - (v < 0);
}
}  // namespace

TEST(StrUtilsCompare, ByteOrderRoutines) {
  EXPECT_LT(CompareStr("B", "a"), 0);
  EXPECT_EQ(CompareStr("abc", "abc"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("\xC3\xA9", "\xC3\x89"));  // é / É: ASCII folding only
  EXPECT_TRUE(SameStr("x", "x"));
  EXPECT_FALSE(SameStr("x", "X"));
}

TEST(StrUtilsCompare, CollationOrder) {
  // Each list is in strictly ascending AnsiCompareStr order.
  const std::vector<std::vector<String>> chains = {
      {"", " x", "-", "1", "9", "a", "b", "B", "c"},
      {"apple", "Apple", "apples"},
      {"resume", "Resume", "r\xC3\xA9sum\xC3\xA9", "R\xC3\xA9sum\xC3\xA9"},
      {"e", "\xC3\xA9", "f"},                // e < é < f
      {"\xC3\xA4pfel", "Bar"},               // äpfel < Bar: accents are level 2
      {"o", "\xC3\xB8", "p"},                // ø folds to o
      {"z", "\xC3\xA6"},                     // æ is a letter of its own after z
      {"zebra", "\xCE\xB1", "\xD0\xB0"},     // Latin < Greek < Cyrillic
      {"\xD0\xB5", "\xD1\x91", "\xD0\xB6"},  // е < ё < ж
      {"\xCE\xB1", "\xCE\xAC", "\xCE\x92"},  // α < ά < Β
  };
  for (const auto& chain : chains) {
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
      EXPECT_LT(AnsiCompareStr(chain[i], chain[i + 1]), 0) << chain[i] << " / " << chain[i + 1];
      EXPECT_GT(AnsiCompareStr(chain[i + 1], chain[i]), 0) << chain[i] << " / " << chain[i + 1];
    }
  }
  EXPECT_GT(AnsiCompareStr("item2", "item10"), 0);  // no numeric collation
  EXPECT_EQ(AnsiCompareStr("abc", "abc"), 0);
}

TEST(StrUtilsCompare, CaseInsensitiveEqualsOnlyForCaseDifferences) {
  EXPECT_EQ(AnsiCompareText("Apple", "aPPLE"), 0);
  EXPECT_EQ(AnsiCompareText("\xC3\x89"
                            "COLE",
                            "\xC3\xA9"
                            "cole"),
            0);  // ÉCOLE / école
  EXPECT_EQ(AnsiCompareText("\xD0\x9F\xD0\xA0\xD0\x98", "\xD0\xBF\xD1\x80\xD0\xB8"), 0);  // ПРИ
  EXPECT_EQ(AnsiCompareText("\xCE\xA3\xCE\x9F\xCE\xA6", "\xCF\x83\xCE\xBF\xCF\x86"), 0);  // ΣΟΦ
  EXPECT_NE(AnsiCompareText("resume", "r\xC3\xA9sum\xC3\xA9"), 0);
  // Combining accent versus precomposed letter: alike on every level, yet
  // not equal text.
  EXPECT_NE(AnsiCompareText("e\xCC\x81", "\xC3\xA9"), 0);
  EXPECT_LT(AnsiCompareText("e\xCC\x81", "f"), 0);
  EXPECT_GT(AnsiCompareText("e\xCC\x81", "e"), 0);
  EXPECT_TRUE(
      AnsiSameText("Stra\xC3\x9F"
                   "e",
                   "STRA\xC3\x9F"
                   "E"));
  EXPECT_LT(AnsiCompareText("a", "B"), 0);
  EXPECT_LT(AnsiCompareText("B", "c"), 0);
  // Invalid bytes all read as U+FFFD; where nothing else differs, their
  // values tell them apart in both forms.
  EXPECT_GT(AnsiCompareText("\xFF", "\xFE"), 0);
  EXPECT_NE(AnsiCompareStr("\xFF", "\xFE"), 0);
}

TEST(StrUtilsCompare, ConsistentAcrossFormsAndPaths) {
  const std::vector<String> words = {
      "",
      "a",
      "A",
      "ab",
      "aB",
      "Ab",
      "b",
      "\xC3\xA9",
      "\xC3\x89",
      "e\xCC\x81",
      "E\xCC\x81",
      "e",
      "E",
      "r\xC3\xA9sum\xC3\xA9",
      "resume",
      "Resume",
      "1a",
      " a",
      "\xF0\x9D\x84\x9E",
      "\xF0\x9D\x84\x9Ex",
      "\xEF\xBF\xBD",
      "\xD0\x81",
      "\xD1\x91",
      "\xCF\x82",
      "\xCF\x83",
      "z",
      "\xC3\x9F",
      "-",
      "_",
      "Z9",
  };
  for (const String& a : words) {
    for (const String& b : words) {
      const int str = AnsiCompareStr(a, b), text = AnsiCompareText(a, b);
      EXPECT_EQ(str == 0, a == b) << a << " / " << b;
      EXPECT_EQ(text == 0, AnsiLowerCase(a) == AnsiLowerCase(b)) << a << " / " << b;
      EXPECT_EQ(str, -AnsiCompareStr(b, a)) << a << " / " << b;
      EXPECT_EQ(Sgn(WideCompareText(Utf8ToWide(a), Utf8ToWide(b))), text) << a << " / " << b;
      EXPECT_EQ(Sgn(WideCompareStr(Utf8ToWide(a), Utf8ToWide(b))), str) << a << " / " << b;
      // A common non-ASCII prefix forces the full comparison; it must agree
      // with the ASCII fast path.
      const String p = "\xC3\xA9";
      EXPECT_EQ(AnsiCompareStr(p + a, p + b), str) << a << " / " << b;
      EXPECT_EQ(AnsiCompareText(p + a, p + b), text) << a << " / " << b;
    }
  }
  // The order is a strict weak ordering: sorting works and is stable.
  std::vector<String> sorted = words;
  std::sort(sorted.begin(), sorted.end(),
            [](const String& x, const String& y) { return AnsiCompareStr(x, y) < 0; });
  for (std::size_t i = 0; i + 1 < sorted.size(); ++i)
    EXPECT_LT(AnsiCompareStr(sorted[i], sorted[i + 1]), 0);
}

TEST(StrUtilsCase, AsciiAndUnicodeMappings) {
  EXPECT_EQ(LowerCase("\xC3\x80"
                      "BC"),
            "\xC3\x80"
            "bc");  // ASCII only
  EXPECT_EQ(UpperCase("abc\xC3\xA0"), "ABC\xC3\xA0");
  EXPECT_EQ(AnsiUpperCase("stra\xC3\x9F"
                          "e \xC3\xA9\xC3\xA0\xC3\xBF"),
            "STRA\xC3\x9F"
            "E \xC3\x89\xC3\x80\xC5\xB8");  // ß stays, ÿ -> Ÿ
  EXPECT_EQ(AnsiLowerCase("\xC5\x81\xC3\x93\xC5\xB9"), "\xC5\x82\xC3\xB3\xC5\xBA");  // ŁÓŹ
  EXPECT_EQ(AnsiLowerCase("\xCE\x91\xCE\xA9\xCE\x86"), "\xCE\xB1\xCF\x89\xCE\xAC");  // ΑΩΆ
  EXPECT_EQ(AnsiUpperCase("\xCF\x82"), "\xCE\xA3");                                  // ς -> Σ
  EXPECT_EQ(AnsiLowerCase("\xD0\x81\xD0\x96\xD0\xAF"), "\xD1\x91\xD0\xB6\xD1\x8F");  // ЁЖЯ
  EXPECT_EQ(AnsiLowerCase("\xC4\xB0"), "i");                                         // İ
  EXPECT_EQ(AnsiUpperCase("\xC4\xB1"), "I");                                         // ı
  EXPECT_EQ(AnsiUpperCase("a\xFF"
                          "b\xE2\x82"),
            "A\xFF"
            "B\xE2\x82");  // bad bytes kept
  EXPECT_EQ(AnsiLowerCase(""), "");
  EXPECT_EQ(WideUpperCase(u"\u00E9\xD834\xDD1E\xD800z"), u"\u00C9\xD834\xDD1E\xD800Z");
  EXPECT_EQ(WideLowerCase(u"\u0416"), u"\u0436");
}

TEST(StrUtilsCase, TablesAreConsistentPairs) {
  // Every upper-case letter lowers to a letter that maps back, except the
  // documented one-way mappings.
  const std::vector<char32_t> oneWay = {0x130, 0x1E9E, 0x1C5, 0x1C8, 0x1CB, 0x1F2,  // to lower
                                        0x131, 0x17F,  0xB5,  0x3C2};               // to upper
  auto isOneWay = [&](char32_t c) {
    return std::find(oneWay.begin(), oneWay.end(), c) != oneWay.end();
  };
  for (char32_t c = 0; c < 0x10000; ++c) {
    const char32_t lo = LowerCaseChar(c), up = UpperCaseChar(c);
    if (isOneWay(c)) continue;
    if (lo != c) {
      EXPECT_EQ(UpperCaseChar(lo), c) << std::hex << unsigned(c);
    }
    if (up != c) {
      EXPECT_EQ(LowerCaseChar(up), c) << std::hex << unsigned(c);
    }
    EXPECT_FALSE(lo != c && up != c) << std::hex << unsigned(c);
  }
}

TEST(StrUtilsEdit, TrimPosCopyDeleteInsert) {
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim("\xC2\xA0x"), "\xC2\xA0x");  // only bytes <= ' '

  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("b", "abcb", 3), 4);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("a", "abc", 0), 0);
  EXPECT_EQ(Pos("a", "abc", 4), 0);

  EXPECT_EQ(Copy("abc", 0, 2), "ab");
  EXPECT_EQ(Copy("abc", -5, 2), "ab");
  EXPECT_EQ(Copy("abc", 2, 100), "bc");
  EXPECT_EQ(Copy("abc", 2, INT32_MAX), "bc");
  EXPECT_EQ(Copy("abc", 4, 1), "");
  EXPECT_EQ(Copy("abc", 1, -1), "");
  EXPECT_EQ(Copy("", 1, 1), "");

  String s = "abcdef";
  Delete(s, 2, 2);
  EXPECT_EQ(s, "adef");
  Delete(s, 0, 2);
  EXPECT_EQ(s, "adef");
  Delete(s, 3, INT32_MAX);
  EXPECT_EQ(s, "ad");
  Delete(s, 5, 1);
  EXPECT_EQ(s, "ad");

  Insert("X", s, 2);
  EXPECT_EQ(s, "aXd");
  Insert("<", s, -3);
  Insert(">", s, 100);
  EXPECT_EQ(s, "<aXd>");
}

TEST(StrUtilsEdit, StringReplace) {
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", 0), "a+b-c");
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfReplaceAll), "a+b+c");
  EXPECT_EQ(StringReplace("aaa", "aa", "a", rfReplaceAll), "aa");
  EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");
  EXPECT_EQ(StringReplace("Hello HELLO", "hello", "bye", rfReplaceAll | rfIgnoreCase), "bye bye");
  // İ (two bytes) lower-cases to i: the match spans it and the bytes around
  // it stay intact.
  EXPECT_EQ(StringReplace("\xC4\xB0stanbul ist", "ist", "X", rfReplaceAll | rfIgnoreCase),
            "Xanbul X");
  EXPECT_EQ(StringReplace("\xC3\x89t\xC3\xA9", "\xC3\xA9", "e", rfReplaceAll | rfIgnoreCase),
            "ete");
  // Bad bytes match only themselves.
  EXPECT_EQ(StringReplace("\xFF\xFE", "\xFE", "x", rfIgnoreCase), "\xFFx");
}

TEST(StrUtilsEdit, QuotingAndSplitting) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
  EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
  EXPECT_EQ(AnsiDequotedStr("'it''s'", '\''), "it's");
  EXPECT_EQ(AnsiDequotedStr("''", '\''), "");
  EXPECT_EQ(AnsiDequotedStr("abc", '\''), "abc");
  EXPECT_EQ(AnsiDequotedStr("'abc", '\''), "'abc");
  EXPECT_EQ(AnsiDequotedStr("'a'b'", '\''), "'a'b'");
  EXPECT_EQ(AnsiDequotedStr("'", '\''), "'");

  EXPECT_TRUE(
      StartsText("\xC3\x89"
                 "CO",
                 "\xC3\xA9"
                 "cole"));
  EXPECT_TRUE(EndsText("OLE",
                       "\xC3\xA9"
                       "cole"));
  EXPECT_TRUE(StartsText("", "x"));
  EXPECT_FALSE(StartsText("abc", "ab"));
  EXPECT_FALSE(EndsText("x", ""));

  EXPECT_EQ(SplitString("a;;b", ';'), (std::vector<String>{"a", "", "b"}));
  EXPECT_EQ(SplitString("a;", ';'), (std::vector<String>{"a", ""}));
  EXPECT_TRUE(SplitString("", ';').empty());
  EXPECT_EQ(StringOfChar('x', 3), "xxx");
  EXPECT_EQ(StringOfChar('x', -3), "");
}

TEST(StrUtilsHotkey, StripGetAndMatch) {
  EXPECT_EQ(StripHotkey("&File"), "File");
  EXPECT_EQ(StripHotkey("Save && Exit"), "Save & Exit");
  EXPECT_EQ(StripHotkey("Fish &"), "Fish &");
  EXPECT_EQ(StripHotkey("&&&x"), "&x");
  EXPECT_EQ(StripHotkey(""), "");

  EXPECT_EQ(GetHotkey("&File"), U'f');
  EXPECT_EQ(GetHotkey("Save && &Exit"), U'e');
  EXPECT_EQ(GetHotkey("&\xC3\x84rger"), U'\u00E4');
  EXPECT_EQ(GetHotkey("A && B"), 0u);
  EXPECT_EQ(GetHotkey("Trailing &"), 0u);

  EXPECT_TRUE(IsAccel(U'F', "&File"));
  EXPECT_TRUE(IsAccel(U'\u00C4', "&\xC3\xA4rger"));
  EXPECT_FALSE(IsAccel(U'x', "&&x"));
  EXPECT_FALSE(IsAccel(0, "plain"));
}

TEST(StrUtilsUtf8, DecodingNeverOverruns) {
  EXPECT_EQ(Utf8Length("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"), 4);  // a é € 𝄞
  EXPECT_EQ(Utf8Length("\xE2\x82"), 2);                               // truncated: byte by byte
  EXPECT_EQ(Utf8Length("\xC0\xAF"), 2);                               // overlong
  EXPECT_EQ(Utf8Length("\xED\xA0\x80"), 3);                           // surrogate
  EXPECT_EQ(Utf8Length("\xF4\x90\x80\x80"), 4);                       // above U+10FFFF

  const String s = "\xC3\xA9\xF0\x9F";
  std::size_t i = 0;
  EXPECT_EQ(Utf8Next(s, i), U'\u00E9');
  EXPECT_EQ(i, 2u);
  EXPECT_EQ(Utf8Next(s, i), 0xFFFDu);
  EXPECT_EQ(i, 3u);
  EXPECT_EQ(Utf8Next(s, i), 0xFFFDu);
  EXPECT_EQ(i, 4u);
  EXPECT_EQ(Utf8Next(s, i), 0u);
  EXPECT_EQ(i, 4u);

  EXPECT_EQ(Utf8Offset("a\xC3\xA9z", 2), 3u);
  EXPECT_EQ(Utf8Offset("a\xC3\xA9z", 99), 4u);
  EXPECT_EQ(Utf8Offset("abc", -1), 0u);
}

TEST(StrUtilsUtf8, TruncateAndConvert) {
  const String s =
      "a\xE2\x82\xAC"
      "b";  // a € b
  EXPECT_EQ(Utf8Truncate(s, 0), "");
  EXPECT_EQ(Utf8Truncate(s, 1), "a");
  EXPECT_EQ(Utf8Truncate(s, 3), "a");
  EXPECT_EQ(Utf8Truncate(s, 4), "a\xE2\x82\xAC");
  EXPECT_EQ(Utf8Truncate(s, 10), s);
  EXPECT_EQ(Utf8Truncate("\xE2\x82"
                         "x",
                         1),
            "\xE2");  // invalid bytes may be cut
  EXPECT_EQ(Utf8Truncate("\xF0\x9D\x84\x9E", 3), "");

  String out;
  Utf8Append(out, 0x1D11E);
  Utf8Append(out, 0xD800);
  Utf8Append(out, 0x110000);
  EXPECT_EQ(out, "\xF0\x9D\x84\x9E\xEF\xBF\xBD\xEF\xBF\xBD");

  EXPECT_EQ(Utf8ToWide("a\xF0\x9D\x84\x9E\xFF"), u"a\xD834\xDD1E\xFFFD");
  EXPECT_EQ(WideToUtf8(u"a\xD834\xDD1E"), "a\xF0\x9D\x84\x9E");
  EXPECT_EQ(WideToUtf8(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");  // lone surrogates
  EXPECT_EQ(WideToUtf8(Utf8ToWide("\xC3\xA9\xE2\x82\xAC")), "\xC3\xA9\xE2\x82\xAC");
}
