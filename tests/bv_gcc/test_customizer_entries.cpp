// The customizer's lists: names and captions stay paired however the
// semicolon lists look, and Shown works per field of a multi-field name.
#include "bv/columns.h"
#include "bv/grid_messages.h"
#include "bv_rtm/tokens.h"
#include "controls/wincore.h"
#include "customizer_test_util.h"
#include "rtl/stringlist.h"

namespace brevant::test {

using EntriesTest = CustomizerTest;

static String Joined(const std::vector<String>& list) {
  String text;
  for (const String& s : list) text += (text.empty() ? "" : "|") + s;
  return text;
}

TEST_F(EntriesTest, NamesAndCaptionsStayPaired) {
  BuildFour();
  Col("Name")->SetFieldName("Name;City");  // one column over two fields
  Col("Zip")->SetCaption("Post; code");    // a caption holding the separator
  struct Row {
    const char* label;
    const char* names;
    const char* captions;
    const char* pairs;  // name=caption pairs kept
  } rows[] = {
      {"equal captions", "ID;Zip", "Same;Same", "ID=Same|Zip=Same"},
      {"empty first name", ";ID;Zip", "Blank;Number;Code", "ID=Number|Zip=Code"},
      {"multi-field name", "ID;Name;City;City", "Number;Both;Town",
       "ID=Number|Name;City=Both|City=Town"},
      {"caption with separator", "Zip;ID", "Post; code;Number", "Zip=Post; code|ID=Number"},
      {"repeated name", "ID;ID;Zip", "First;Second;Code", "ID=First|Zip=Code"},
      {"fewer captions", "ID;Zip", "Number", "ID=Number|Zip=Zip"},
  };
  for (const Row& row : rows) {
    TbvCustomizerEntries lists;
    lists.Assign(grid, row.names, row.captions, "");
    std::vector<String> pairs;
    ASSERT_EQ(lists.Names().size(), lists.Captions().size()) << row.label;
    for (size_t i = 0; i < lists.Names().size(); ++i)
      pairs.push_back(lists.Names()[i] + "=" + lists.Captions()[i]);
    EXPECT_EQ(Joined(pairs), row.pairs) << row.label;
  }
}

TEST_F(EntriesTest, ShownHidesEveryFieldOfAName) {
  BuildFour();
  Col("Name")->SetFieldName("Name;City");
  TbvCustomizerEntries lists;
  lists.Assign(grid, "ID;Name;City;Zip", "Number;Both;Code", "id;name");
  TStringList entries;
  lists.Rebuild(entries);
  // Shown is compared ignoring case; "Name;City" needs both fields shown.
  EXPECT_EQ(JoinTokens(entries, ';'), "Both;Code");
  EXPECT_EQ(Joined(lists.EntryNames()), "Name;City|Zip");
  lists.AddShown("Name;City");
  lists.Rebuild(entries);
  EXPECT_EQ(JoinTokens(entries, ';'), "Code");
  EXPECT_EQ(lists.EntryName(0), "Zip");
  EXPECT_EQ(lists.EntryName(1), "");
  lists.RemoveShown("ID");
  lists.Rebuild(entries);
  EXPECT_EQ(JoinTokens(entries, ';'), "Number;Code");
}

}  // namespace brevant::test

namespace brevant::test {

// The grid's own lists, with a column over two fields, a column without a
// field name first and two equal captions: each entry still stands for its
// own column when dropped.
TEST_F(EntriesTest, GridListsKeepEntriesOnTheirColumns) {
  BuildFour();
  grid->Columns()->Items(0)->SetFieldName("");  // was ID
  grid->Columns()->Add()->SetFieldName("ID");
  Col("ID")->SetCaption("Same");
  Col("Name")->SetFieldName("Name;City");
  Col("Name;City")->SetCaption("Both");
  Col("Name;City")->SetVisible(false);
  TObject::Free(Col("City"));
  Col("Zip")->SetCaption("Same");
  Col("Zip")->SetVisible(false);
  grid->ShowCustomizer(true, "", "");
  Pump();
  ASSERT_TRUE(Customizer());
  EXPECT_EQ(Joined(Customizer()->Lists().Names()), "Name;City|Zip|ID");
  EXPECT_EQ(Joined(Customizer()->Lists().Captions()), "Both|Same|Same");
  EXPECT_EQ(ListText(), "Both Same");
  // The "Same" listed is Zip's (ID is shown): dropping it shows Zip.
  Select("Same");
  SendMessage(grid->Handle(), WM_TL_CUSTOMIZER, gcaDropped, 0);
  Pump();
  EXPECT_TRUE(Col("Zip")->Visible());
  EXPECT_FALSE(Col("Name;City")->Visible());
  EXPECT_EQ(ListText(), "Both");
  // The two-field column is one entry and comes back as one column.
  Select("Both");
  SendMessage(grid->Handle(), WM_TL_CUSTOMIZER, gcaDropped, 0);
  Pump();
  EXPECT_TRUE(Col("Name;City")->Visible());
  EXPECT_EQ(ListText(), "");
}

}  // namespace brevant::test
