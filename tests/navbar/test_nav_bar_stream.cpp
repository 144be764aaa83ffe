// The navigation bar in form text: published defaults and the groups stored
// under List, written and read back.
#include "classes/formstream.h"
#include "classes/typinfo.h"
#include "navbar/navbar_test_util.h"
#include "rtl/streams.h"

namespace brevant::test {

TEST_F(NavBarTest, StartValues) {
  EXPECT_EQ(bar->Color(), clBtnShadow);
  EXPECT_EQ(bar->ButtonColor(), clBtnFace);
  EXPECT_EQ(bar->FrameColor(), clBtnFace);
  EXPECT_EQ(bar->ItemHightlightColor(), clNone);
  EXPECT_EQ(bar->FrameStyle(), fsButton);
  EXPECT_EQ(bar->ScrollBtnStyle(), sbButton);
  EXPECT_EQ(bar->ScrollDelay(), 5);
  EXPECT_EQ(bar->Spacing(), 10);
  EXPECT_EQ(bar->TopSpacing(), 4);
  EXPECT_TRUE(bar->StripAccChar());
  EXPECT_FALSE(bar->AllowEditing());
  EXPECT_EQ(bar->SelectedButton(), -1);
  EXPECT_EQ(bar->SelectedItem(), -1);
  auto* fresh = Create<TNavBar>(form);
  EXPECT_TRUE(fresh->SmoothScrolling());
  EXPECT_EQ(fresh->Width(), 100);
  EXPECT_EQ(fresh->Height(), 300);
}

TEST_F(NavBarTest, GroupsRoundTripThroughFormText) {
  Fill(2);
  bar->Groups(0)->Items(1)->SetEnabled(false);
  bar->Groups(0)->Items(1)->SetTag(7);
  bar->Groups(1)->Items(0)->SetCaption("Ünïcode \"quoted\"");
  bar->SetFrameStyle(fsRowLowered);
  bar->SetAllowEditing(true);
  bar->SetSelectedButton(1);
  RegisterClass(TImageList::StaticClass());
  images->SetName("Icons");
  TStringStream text;
  WriteComponentText(text, form);
  const String& written = text.DataString();
  EXPECT_NE(written.find("List = ("), String::npos) << written;
  EXPECT_NE(written.find("FrameStyle = fsRowLowered"), String::npos) << written;

  auto copy = MakeObject<TForm>(nullptr);
  text.Seek(0, soBeginning);
  ReadComponent(text, copy.get());
  auto* read = dynamic_cast<TNavBar*>(copy->FindComponent("Bar"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->GroupCount(), 2);
  EXPECT_EQ(read->Groups(0)->Caption(), "One");
  EXPECT_EQ(read->Groups(1)->Caption(), "Two");
  ASSERT_EQ(read->Groups(0)->Count(), 2);
  EXPECT_FALSE(read->Groups(0)->Items(1)->Enabled());
  EXPECT_EQ(read->Groups(0)->Items(1)->Tag(), 7);
  EXPECT_EQ(read->Groups(0)->Items(1)->ImageIndex(), 1);
  EXPECT_EQ(read->Groups(1)->Items(0)->Caption(), "Ünïcode \"quoted\"");
  EXPECT_EQ(read->FrameStyle(), fsRowLowered);
  EXPECT_TRUE(read->AllowEditing());
  EXPECT_EQ(read->SelectedButton(), 1);
  EXPECT_EQ(read->Images(), copy->FindComponent("Icons"));
  EXPECT_NE(read->Images(), nullptr);
}

TEST_F(NavBarTest, NoListWithoutGroupsAndNoChangeWhileLoading) {
  TStringStream text;
  WriteComponentText(text, form);
  EXPECT_EQ(text.DataString().find("List = ("), String::npos) << text.DataString();

  Integer changes = 0;
  bar->OnChange = Counter(changes);
  bar->AddGroup("A")->Add();
  bar->BeginLoading();
  bar->SetSelectedItem(0);
  bar->SetSelectedButton(0);
  EXPECT_EQ(changes, 0);
  static_cast<TComponent*>(bar)->Loaded();
  EXPECT_EQ(bar->SelectedItem(), 0);
  EXPECT_EQ(changes, 0);
}

TEST_F(NavBarTest, AssigningAGroupCopiesCaptionAndItems) {
  Fill(2);
  bar->Groups(1)->Assign(bar->Groups(0));
  EXPECT_EQ(bar->Groups(1)->Caption(), "One");
  ASSERT_EQ(bar->Groups(1)->Count(), 2);
  EXPECT_EQ(bar->Groups(1)->Items(1)->Caption(), "Item1");
}

}  // namespace brevant::test
