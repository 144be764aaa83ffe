#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

using namespace brevant;

namespace {

std::vector<String> Items(const TStrings& l) {
  std::vector<String> r;
  for (Integer i = 0; i < l.Count(); ++i) r.push_back(l.Strings(i));
  return r;
}

using V = std::vector<String>;

struct EventLog {
  int changing = 0;
  int changed = 0;
  void Attach(TStringList& l) {
    l.OnChanging = TNotifyEvent::FromCallable([this](TObject*) { ++changing; });
    l.OnChange = TNotifyEvent::FromCallable([this](TObject*) { ++changed; });
  }
};

}  // namespace

TEST(StringList, EditingAndObjects) {
  TStringList l;
  int a = 0, b = 0;
  EXPECT_EQ(l.Add("one"), 0);
  EXPECT_EQ(l.AddObject("two", &a), 1);
  l.Insert(0, "zero");
  l.InsertObject(3, "three", &b);
  EXPECT_EQ(Items(l), (V{"zero", "one", "two", "three"}));
  EXPECT_EQ(l.Objects(2), &a);
  EXPECT_EQ(l.IndexOfObject(&b), 3);
  l.Move(3, 0);
  EXPECT_EQ(Items(l), (V{"three", "zero", "one", "two"}));
  EXPECT_EQ(l.Objects(0), &b);  // objects travel with their strings
  l.Exchange(0, 3);
  EXPECT_EQ(l.Objects(0), &a);
  l.SetStrings(1, "nil");
  l.Delete(2);
  EXPECT_EQ(Items(l), (V{"two", "nil", "three"}));
  EXPECT_EQ(l.IndexOf("THREE"), 2);  // case-insensitive by default
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf("THREE"), -1);
  EXPECT_THROW(l.Strings(3), EStringListError);
  EXPECT_THROW(l.Insert(5, "x"), EStringListError);
  EXPECT_THROW(l.Delete(-1), EStringListError);
  EXPECT_THROW(l.SetObjects(3, nullptr), EStringListError);
}

TEST(StringList, AssignAddStringsEquals) {
  TStringList a, b;
  int obj = 0;
  a.SetText("x\r\ny");
  a.SetObjects(1, &obj);
  b.Add("old");
  b.Assign(a);
  EXPECT_TRUE(b.Equals(a));
  EXPECT_EQ(b.Objects(1), &obj);
  b.AddStrings(b);  // adding a list to itself doubles it once
  EXPECT_EQ(Items(b), (V{"x", "y", "x", "y"}));
  EXPECT_FALSE(b.Equals(a));
  b.Assign(b);
  EXPECT_EQ(b.Count(), 4);
}

TEST(StringList, SortedInsertAndDuplicates) {
  TStringList l;
  l.SetSorted(true);
  for (const char* s : {"banana", "Apple", "cherry", "apple", "Banana", "\xC3\xA4pfel"}) l.Add(s);
  // dupIgnore: case-insensitive duplicates are dropped; äpfel sorts as
  // apfel, before apple.
  EXPECT_EQ(Items(l), (V{"\xC3\xA4pfel", "Apple", "banana", "cherry"}));
  EXPECT_EQ(l.Add("APPLE"), 1);  // answers the string already there
  EXPECT_THROW(l.Insert(0, "x"), EStringListError);
  EXPECT_THROW(l.SetStrings(0, "x"), EStringListError);
  EXPECT_THROW(l.Exchange(0, 1), EStringListError);

  Integer index = -1;
  EXPECT_TRUE(l.Find("CHERRY", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(l.Find("b", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(l.IndexOf("Banana"), 2);

  l.SetDuplicates(dupError);
  EXPECT_THROW(l.Add("cherry"), EStringListError);
  l.SetDuplicates(dupAccept);
  l.Add("apple");  // after the equal string already there
  l.Add("APPLE");
  EXPECT_EQ(Items(l), (V{"\xC3\xA4pfel", "Apple", "apple", "APPLE", "banana", "cherry"}));

  // Case-sensitive: lower case before upper case of the same letters.
  TStringList cs;
  cs.SetCaseSensitive(true);
  cs.SetDuplicates(dupAccept);
  cs.SetSorted(true);
  for (const char* s : {"B", "b", "a", "A", "apple", "Apple"}) cs.Add(s);
  EXPECT_EQ(Items(cs), (V{"a", "A", "apple", "Apple", "b", "B"}));
}

TEST(StringList, SortedCaseInsensitiveListKeepsDistinctInvalidBytes) {
  TStringList l;
  l.SetSorted(true);
  for (const char* s : {"caf\xE9", "caf\xE8", "CAF\xE9", "caf\xEF\xBF\xBD"}) l.Add(s);
  // Latin-1 bytes are not UTF-8: the two differ by byte value, and a real
  // U+FFFD differs from both; case still does not count.
  EXPECT_EQ(Items(l), (V{"caf\xEF\xBF\xBD", "caf\xE8", "caf\xE9"}));
  EXPECT_EQ(l.IndexOf("caf\xE8"), 1);
  EXPECT_EQ(l.IndexOf("CAF\xE9"), 2);
  EXPECT_LT(AnsiCompareText("caf\xE8", "caf\xE9"), 0);
  EXPECT_GT(AnsiCompareText("caf\xE9", "caf\xE8"), 0);
  EXPECT_EQ(AnsiCompareText("X\xE9y", "x\xE9Y"), 0);
  EXPECT_NE(AnsiCompareText("\xFF\xFE", "\xFE\xFF"), 0);
}

TEST(StringList, SortAndCustomSort) {
  TStringList l;
  l.SetText("pear\nApple\nbanana\napple");
  l.Sort();
  EXPECT_EQ(Items(l), (V{"Apple", "apple", "banana", "pear"}));  // stable among equals
  l.CustomSort([](TStringList& list, Integer a, Integer b) -> Integer {
    const auto la = list.Strings(a).size(), lb = list.Strings(b).size();
    return la < lb ? -1 : (la > lb ? 1 : 0);
  });
  EXPECT_EQ(Items(l), (V{"pear", "Apple", "apple", "banana"}));
  l.SetSorted(true);  // sorts again
  EXPECT_EQ(Items(l), (V{"Apple", "apple", "banana", "pear"}));
}

TEST(StringList, UpdateBracketFiresOnce) {
  TStringList l;
  EventLog log;
  log.Attach(l);
  l.Add("a");
  EXPECT_EQ(log.changing, 1);
  EXPECT_EQ(log.changed, 1);

  l.BeginUpdate();
  l.BeginUpdate();
  l.Add("b");
  l.Add("c");
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(log.changed, 1);  // still inside the outer bracket
  l.EndUpdate();
  EXPECT_EQ(log.changing, 2);
  EXPECT_EQ(log.changed, 2);

  l.BeginUpdate();  // nothing changed: no events
  l.EndUpdate();
  l.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(log.changed, 2);

  l.SetText("x\ny\nz");  // one bracket inside
  EXPECT_EQ(log.changed, 3);
  l.Clear();
  l.Clear();  // already empty: no change
  EXPECT_EQ(log.changed, 4);

  // The guard closes the bracket when an exception leaves the block.
  try {
    TStringsUpdate guard(l);
    l.Add("q");
    throw EListError("stop");
  } catch (const EListError&) {
  }
  EXPECT_EQ(l.UpdateCount(), 0);
  EXPECT_EQ(log.changed, 5);
}

TEST(StringList, TextLineEnds) {
  TStringList l;
  l.SetText("a\r\nb\nc\rd\r\n");
  EXPECT_EQ(Items(l), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
  l.SetText("\r\n\r\nx");
  EXPECT_EQ(Items(l), (V{"", "", "x"}));
  l.SetText("\n\r");  // LF then a lone CR: two empty lines
  EXPECT_EQ(Items(l), (V{"", ""}));
  l.SetText("");
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Text(), "");
  l.SetText("caf\xC3\xA9\r\n\xE2\x82\xAC");
  EXPECT_EQ(Items(l), (V{"caf\xC3\xA9", "\xE2\x82\xAC"}));
}

TEST(StringList, CommaAndDelimitedText) {
  TStringList l;
  l.SetCommaText("a, b ,\"c d\",\"say \"\"hi\"\"\",,e f");
  EXPECT_EQ(Items(l), (V{"a", "b", "c d", "say \"hi\"", "", "e", "f"}));
  EXPECT_EQ(l.CommaText(), "a,b,\"c d\",\"say \"\"hi\"\"\",,e,f");
  l.SetCommaText("x,");
  EXPECT_EQ(Items(l), (V{"x", ""}));
  l.SetCommaText("");
  EXPECT_EQ(l.Count(), 0);
  l.Add("");
  EXPECT_EQ(l.CommaText(), "\"\"");  // one empty string is not an empty list
  l.SetCommaText("\"\"");
  EXPECT_EQ(Items(l), (V{""}));
  l.SetCommaText("\"unterminated");
  EXPECT_EQ(Items(l), (V{"unterminated"}));

  l.SetDelimiter(';');
  l.SetQuoteChar('\'');
  l.SetStrictDelimiter(true);
  l.SetDelimitedText(" a b ;'x;y';");
  EXPECT_EQ(Items(l), (V{" a b ", "x;y", ""}));
  EXPECT_EQ(l.DelimitedText(), "' a b ';'x;y';");
  EXPECT_EQ(l.CommaText(), "\" a b \",x;y,");  // CommaText keeps its own settings

  // Whatever the strings, the text reads back to the same list.
  std::mt19937 rng(7);
  const char alphabet[] = {'a', ' ', ',', '"', '\t', '\n', 'Z', '\0', '\xC3', '\xA9'};
  for (int round = 0; round < 300; ++round) {
    TStringList src, dst;
    const int n = static_cast<int>(rng() % 5);
    for (int i = 0; i < n; ++i) {
      String s;
      const int len = static_cast<int>(rng() % 5);
      for (int k = 0; k < len; ++k) s.push_back(alphabet[rng() % sizeof alphabet]);
      src.Add(s);
    }
    dst.SetCommaText(src.CommaText());
    EXPECT_EQ(Items(dst), Items(src)) << src.CommaText();
    dst.SetStrictDelimiter(true);
    dst.SetDelimitedText(src.DelimitedText());
    EXPECT_EQ(Items(dst), Items(src)) << src.DelimitedText();
  }
}

TEST(StringList, StreamsAndFiles) {
  TStringList l;
  l.SetText("one\ntw\xC3\xB6");
  TMemoryStream ms;
  l.SaveToStream(ms);
  EXPECT_EQ(ms.Size(), 11);
  EXPECT_EQ(String(static_cast<const char*>(ms.Memory()), 11), "one\r\ntw\xC3\xB6\r\n");

  // Loading reads from the position on, skips a byte order mark and takes
  // any line end.
  TStringStream src(
      "skip\xEF\xBB\xBF"
      "a\rb\nc");
  src.SetPosition(4);
  TStringList in;
  in.LoadFromStream(src);
  EXPECT_EQ(Items(in), (V{"a", "b", "c"}));

  const String path = testing::TempDir() + "bv_stringlist_test.txt";
  l.SaveToFile(path);
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Equals(l));
  std::remove(path.c_str());

  try {
    back.LoadFromFile(path);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(path), String::npos) << e.Message();
  }
  EXPECT_THROW(l.SaveToFile(testing::TempDir() + "no/such/dir/x.txt"), EFCreateError);
  EXPECT_EQ(back.Count(), 2);  // a failed load leaves the list alone
}

TEST(StringList, IsAPersistentThatSendsItself) {
  TStringList a, b;
  TObject* sender = nullptr;
  a.OnChange = TNotifyEvent::FromCallable([&sender](TObject* s) { sender = s; });
  a.Add("x");
  EXPECT_EQ(sender, &a) << "events pass the list as Sender";
  b.Add("one");
  b.Add("two");
  a.Assign(static_cast<const TPersistent*>(&b));
  EXPECT_EQ(Items(a), (V{"one", "two"}));
  EXPECT_THROW(a.TPersistent::Assign(nullptr), EConvertError);
  EXPECT_TRUE(a.InheritsFrom(TStrings::StaticClass()));
  EXPECT_STREQ(a.ClassName(), "TStringList");
}
