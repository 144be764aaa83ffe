#include <gtest/gtest.h>

#include "bv_rtm/tokens.h"
#include "rtl/exceptions.h"
#include "rtl/stringlist.h"

using namespace brevant;

TEST(Tokens, SplitKeepsEmptyTokensAndJoinRestores) {
  TStringList list;
  list.Add("stale");
  SplitTokens("a;;b", ';', list);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Strings(1), "");
  EXPECT_EQ(JoinTokens(list, ';'), "a;;b");
  SplitTokens("", ';', list);
  ASSERT_EQ(list.Count(), 1) << "an empty string is one empty token";
  EXPECT_EQ(list.Strings(0), "");
  SplitTokens("a;", ';', list);
  EXPECT_EQ(list.Count(), 2);
  TStringList empty;
  EXPECT_EQ(JoinTokens(empty, ','), "");
  TObjectPtr<TStringList> owned(SplitToList("x,y", ','));
  ASSERT_EQ(owned->Count(), 2);
  EXPECT_EQ(owned->Strings(1), "y");
}

TEST(Tokens, CountsAndIndexedAccess) {
  EXPECT_EQ(TokenCount("", ';'), 1);
  EXPECT_EQ(TokenCountOrZero("", ';'), 0);
  EXPECT_EQ(TokenCount(";", ';'), 2);
  EXPECT_EQ(TokenCountOrZero("a;b", ';'), 2);
  EXPECT_EQ(GetToken("a;b;c", 2, ';'), "c");
  EXPECT_EQ(GetToken("a;;c", 1, ';'), "");
  EXPECT_EQ(GetToken("", 0, ';'), "");
  EXPECT_THROW(GetToken("a;b", 2, ';'), EListError);
  EXPECT_THROW(GetToken("a;b", -1, ';'), EListError);
  EXPECT_EQ(SetToken("a;b;c", 1, "X", ';'), "a;X;c");
  EXPECT_EQ(SetToken("a;b;c", 2, "", ';'), "a;b;");
  EXPECT_THROW(SetToken("a", 1, "X", ';'), EListError);
  EXPECT_EQ(DeleteToken("a;b;c", 0, ';'), "b;c");
  EXPECT_EQ(DeleteToken("a;b;c", 1, ';'), "a;c");
  EXPECT_EQ(DeleteToken("a;b;c", 2, ';'), "a;b");
  EXPECT_EQ(DeleteToken("a", 0, ';'), "");
  EXPECT_EQ(DeleteToken(";", 1, ';'), "");
  EXPECT_THROW(DeleteToken("a;b", 5, ';'), EListError);
}

TEST(Tokens, SearchIgnoresCaseAndMatchesWholeTokens) {
  EXPECT_EQ(TokenIndex("a;B;c", "b", ';'), 1);
  EXPECT_EQ(TokenIndex("a;B;c", "A", ';'), 0);
  EXPECT_EQ(TokenIndex("a;B;c", "c", ';'), 2);
  EXPECT_EQ(TokenIndex("", "a", ';'), -1);
  EXPECT_EQ(TokenIndex("ab;c", "b", ';'), -1);
  EXPECT_EQ(TokenIndex("x;;y", "y", ';'), 2);
  EXPECT_FALSE(ContainsToken("ab;c", "b", ';'));
  EXPECT_FALSE(ContainsToken("a;;b", "", ';')) << "an empty token is never contained";
  EXPECT_FALSE(ContainsToken("", "", ';'));
  EXPECT_TRUE(ContainsToken("Name;City", "CITY", ';'));
  EXPECT_EQ(TokenIndex("Ärger;ärger", "ÄRGER", ';'), 0);
  EXPECT_EQ(RemoveToken("a;b;B;c", "b", ';'), "a;B;c");
  EXPECT_EQ(RemoveToken("a;b", "z", ';'), "a;b");
  EXPECT_EQ(RemoveToken("a", "A", ';'), "");
  // A text holding the separator is no single token, even where it matches
  // a run of tokens.
  EXPECT_EQ(RemoveToken("a;b;c", "a;b", ';'), "a;b;c");
  EXPECT_EQ(RemoveToken("a;b;c", "b;c", ';'), "a;b;c");
  EXPECT_EQ(TokenIndex("a;b;c", "b;c", ';'), -1);
  EXPECT_FALSE(ContainsToken("a;;b", ";", ';'));
  EXPECT_EQ(AddToken("", "x", ';'), "x");
  EXPECT_EQ(AddToken("a", "b", ';'), "a;b");
  EXPECT_EQ(AddToken("a;B", "b", ';'), "a;B");
  EXPECT_EQ(AddToken("a", "", ';'), "a;") << "AddToken appends an empty token";
  EXPECT_EQ(AddUniqueToken("a;b", "B", ';'), "a;b");
  EXPECT_EQ(AddUniqueToken("a", "", ';'), "a");
  EXPECT_EQ(AddUniqueToken("", "q", ','), "q");
}
