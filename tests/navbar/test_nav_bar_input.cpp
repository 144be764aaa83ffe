// The navigation bar driven with the mouse and the keyboard: groups, items,
// OnChanging vetoes, disabled and invisible items, scrolling, sliding on the
// virtual clock, caption editing and action links.
#include <utility>

#include "controls/actions.h"
#include "navbar/navbar_test_util.h"

namespace brevant::test {

TEST_F(NavBarTest, HeaderClickOpensGroupAndIconClickSelectsAndClicks) {
  Fill(3);
  Integer changes = 0, itemClicks = 0, clicked = 0;
  bar->OnChange = Counter(changes);
  bar->OnItemClick = Counter(itemClicks);
  ShowForm();
  EXPECT_EQ(bar->SelectedButton(), 0) << "the first group opens with the window";

  Item(1)->OnClick = Counter(clicked);
  ClickIcon(1);
  EXPECT_EQ(bar->SelectedItem(), 1);
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(itemClicks, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(bar->PressedPart(), TNavBarPart{});

  ClickHeader(1);
  EXPECT_EQ(bar->SelectedButton(), 1);
  EXPECT_EQ(bar->SelectedItem(), -1) << "opening a group clears the selection";
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Item(0)->Caption(), "Alpha");
  // The header of the open group sits above its items, the other one at the top.
  EXPECT_LT(bar->Groups(0)->HeaderRect().Bottom, bar->Groups(1)->HeaderRect().Bottom);
  EXPECT_EQ(bar->ItemArea().Top, bar->Groups(1)->HeaderRect().Bottom);
}

TEST_F(NavBarTest, DisabledItemIsNotSelectedButReportsTheClick) {
  Fill(3);
  Integer itemClicks = 0, clicked = 0;
  bar->OnItemClick = Counter(itemClicks);
  ShowForm();
  Item(1)->SetEnabled(false);
  Item(1)->OnClick = Counter(clicked);
  ClickIcon(1);
  EXPECT_EQ(bar->SelectedItem(), -1);
  EXPECT_EQ(clicked, 0) << "a disabled item runs nothing";
  EXPECT_EQ(itemClicks, 1);
  ClickCaption(1);
  EXPECT_EQ(bar->SelectedItem(), -1);
}

TEST_F(NavBarTest, InvisibleItemsTakeNoRoomAndCannotBeSelected) {
  Fill(3);
  ShowForm();
  TRect second = Item(1)->IconRect();
  Item(1)->SetVisible(false);
  Pump();
  EXPECT_EQ(Item(2)->IconRect(), second) << "the next item moves up";
  bar->SetSelectedItem(2);
  bar->SetSelectedItem(1);
  EXPECT_EQ(bar->SelectedItem(), -1);
  EXPECT_EQ(bar->HitTest(Centre(second).X, Centre(second).Y), (TNavBarPart{npIconBox, 2}));
}

struct TVetoRow {
  const char* Name;  // which part is clicked
  Integer Part;      // 0 header of group 1, 1 icon of item 1, 2 caption of item 1
};

TEST_F(NavBarTest, OnChangingVetoLeavesGroupAndSelection) {
  Fill(3);
  ShowForm();
  Integer asked = 0, textClicks = 0;
  for (const TVetoRow& row :
       {TVetoRow{"header", 0}, TVetoRow{"icon box", 1}, TVetoRow{"caption box", 2}}) {
    bar->SetSelectedItem(0);
    asked = textClicks = 0;
    bar->OnChanging = TNavBarChangingEvent::FromCallable([&](TObject*, bool& can) {
      ++asked;
      can = false;
    });
    bar->OnItemTextClick = Counter(textClicks);
    TPoint p = row.Part == 0   ? Centre(bar->Groups(1)->HeaderRect())
               : row.Part == 1 ? Centre(Item(1)->IconRect())
                               : Centre(Item(1)->CaptionRect());
    Down(p);
    EXPECT_NE(bar->PressedPart(), TNavBarPart{}) << row.Name;
    Up(p);
    EXPECT_EQ(asked, 1) << row.Name;
    EXPECT_EQ(bar->SelectedButton(), 0) << row.Name;
    EXPECT_EQ(bar->SelectedItem(), 0) << row.Name;
    EXPECT_EQ(textClicks, 0) << row.Name;
    EXPECT_EQ(bar->PressedPart(), TNavBarPart{}) << row.Name << ": feedback cleared";
  }
  bar->OnChanging = {};
  ClickCaption(1);
  EXPECT_EQ(bar->SelectedItem(), 1) << "a caption click selects once allowed";
}

TEST_F(NavBarTest, ArrowsScrollWhenItemsDoNotFit) {
  Fill(8);
  ShowForm();
  TRect area = bar->ItemArea();
  EXPECT_TRUE(bar->ArrowRect(true).Width() == 0) << "no up arrow at the top";
  TRect down = bar->ArrowRect(false);
  ASSERT_GT(down.Width(), 0);
  // The down arrow shows exactly because the next item would reach the bottom.
  Integer cap = bar->Capacity();
  ASSERT_LT(cap, 8);
  TRect lastShown = Item(cap - 1)->IconRect();
  Integer pitch = Item(1)->IconRect().Top - Item(0)->IconRect().Top;
  EXPECT_LT(lastShown.Top + pitch, area.Bottom);
  EXPECT_GE(lastShown.Top + 2 * pitch, area.Bottom);
  EXPECT_TRUE(Item(cap)->IconRect().Width() == 0) << "the next item is not drawn";

  ClickPoint(Centre(down));
  EXPECT_EQ(bar->FirstItem(), 1);
  EXPECT_EQ(Item(1)->IconRect().Top, area.Top + bar->TopSpacing());
  ClickPoint(Centre(bar->ArrowRect(true)));
  EXPECT_EQ(bar->FirstItem(), 0);

  bar->SetSelectedItem(7);
  Pump();
  EXPECT_EQ(bar->FirstItem(), 8 - cap) << "the selection scrolls into view at the bottom";
  EXPECT_GT(Item(7)->IconRect().Width(), 0);
  bar->SetSelectedItem(0);
  EXPECT_EQ(bar->FirstItem(), 0);
}

TEST_F(NavBarTest, ShortBarStillShowsTheSelectedItem) {
  Fill(4);
  bar->Font()->SetSize(28);
  bar->SetHeight(90);
  ShowForm();
  ASSERT_LT(bar->ItemArea().Height(), 32 + 4 + 10 + bar->Font()->Size()) << "no item fits entirely";
  EXPECT_EQ(bar->Capacity(), 1);
  bar->SetSelectedItem(3);
  Pump();
  EXPECT_EQ(bar->FirstItem(), 3);
  EXPECT_GT(Item(3)->IconRect().Width(), 0) << "the selected item is painted";
  bar->SetSelectedItem(1);
  EXPECT_EQ(bar->FirstItem(), 1);
}

TEST_F(NavBarTest, SmoothScrollingSlidesOnTheTimer) {
  Fill(3);
  bar->SetSmoothScrolling(true);
  bar->SetScrollDelay(10);
  Integer changes = 0;
  bar->OnChange = Counter(changes);
  ShowForm();
  TPoint probe{60, bar->ItemArea().Bottom - 3};
  TColor before = Px(bar, probe.X, probe.Y);
  ClickHeader(1);
  EXPECT_TRUE(bar->Sliding());
  EXPECT_EQ(bar->SelectedButton(), 0) << "the new group shows once the slide ends";
  EXPECT_EQ(changes, 0);
  Offscreen().Advance(10);
  Pump();
  EXPECT_TRUE(bar->Sliding()) << "one 20-pixel step per tick";
  TColor during = Px(bar, probe.X, probe.Y);
  EXPECT_NE(during, before) << "the second header slides up into view";
  Advance(200);
  EXPECT_FALSE(bar->Sliding());
  EXPECT_EQ(bar->SelectedButton(), 1);
  EXPECT_EQ(changes, 1);

  // Back up: the same slide the other way.
  ClickHeader(0);
  EXPECT_TRUE(bar->Sliding());
  Advance(200);
  EXPECT_EQ(bar->SelectedButton(), 0);
  EXPECT_EQ(changes, 2);
}

TEST_F(NavBarTest, CaptionEditRenamesTheItemItWasOpenedFor) {
  Fill(3);
  bar->SetAllowEditing(true);
  Integer textChanges = 0;
  bar->OnItemTextChange = Counter(textChanges);
  ShowForm();
  bar->SetSelectedItem(0);
  // Item 1 is disabled: its caption can be edited, but it never becomes selected.
  Item(1)->SetEnabled(false);
  ClickCaption(1);
  ClickCaption(1);
  ASSERT_EQ(bar->EditingItem(), Item(1));
  EXPECT_EQ(bar->SelectedItem(), 0);
  EXPECT_TRUE(bar->CaptionEdit()->Visible());
  EXPECT_EQ(bar->CaptionEdit()->Left(), Item(1)->CaptionRect().Left);
  EXPECT_EQ(bar->CaptionEdit()->SelLength(), 5) << "all text selected";
  Offscreen().TypeText("Ärger & Co");
  Press(VK_RETURN);
  EXPECT_EQ(Item(1)->Caption(), "Ärger & Co");
  EXPECT_EQ(Item(0)->Caption(), "Item0") << "the selected item keeps its caption";
  EXPECT_EQ(textChanges, 1);
  EXPECT_EQ(bar->EditingItem(), nullptr);
  EXPECT_FALSE(bar->CaptionEdit()->Visible());
  EXPECT_TRUE(bar->Focused());

  // Escape closes without a change.
  ClickCaption(0);
  ClickCaption(0);
  ASSERT_EQ(bar->EditingItem(), Item(0));
  Offscreen().TypeText("Zzz");
  Press(VK_ESCAPE);
  EXPECT_EQ(Item(0)->Caption(), "Item0");
  EXPECT_EQ(textChanges, 1);

  // A press elsewhere commits an open edit.
  ClickCaption(0);
  ClickCaption(0);
  Offscreen().TypeText("New");
  ClickIcon(0);
  EXPECT_EQ(Item(0)->Caption(), "New");
  EXPECT_EQ(textChanges, 2);
}

TEST_F(NavBarTest, CaptionEditOfADeletedItemIsDropped) {
  Fill(3);
  bar->SetAllowEditing(true);
  ShowForm();
  ClickCaption(1);
  ClickCaption(1);
  ASSERT_NE(bar->EditingItem(), nullptr);
  bar->OpenGroup()->Delete(1);
  EXPECT_EQ(bar->EditingItem(), nullptr);
  Press(VK_RETURN);
  EXPECT_EQ(Item(1)->Caption(), "Item2");
}

TEST_F(NavBarTest, SecondPressWithoutEditingStartsNothing) {
  Fill(3);
  ShowForm();
  ClickCaption(1);
  ClickCaption(1);
  EXPECT_EQ(bar->EditingItem(), nullptr);
  EXPECT_EQ(bar->SelectedItem(), 1);
}

TEST_F(NavBarTest, KeysMoveTheSelectionAndOpenGroups) {
  Fill(4);
  Integer clicked = 0;
  ShowForm();
  bar->SetFocus();
  Item(1)->SetEnabled(false);
  Item(2)->OnClick = Counter(clicked);
  Press(VK_DOWN);
  EXPECT_EQ(bar->SelectedItem(), 0);
  Press(VK_DOWN);
  EXPECT_EQ(bar->SelectedItem(), 2) << "a disabled item is skipped";
  Press(VK_RETURN);
  EXPECT_EQ(clicked, 1);
  Press(VK_UP);
  EXPECT_EQ(bar->SelectedItem(), 0);
  bar->OnChanging = TNavBarChangingEvent::FromCallable([](TObject*, bool& can) { can = false; });
  Press(VK_NEXT);
  EXPECT_EQ(bar->SelectedButton(), 0) << "vetoed";
  bar->OnChanging = {};
  Press(VK_NEXT);
  EXPECT_EQ(bar->SelectedButton(), 1);
  Press(VK_PRIOR);
  EXPECT_EQ(bar->SelectedButton(), 0);

  // F2 edits the selected item's caption, only with AllowEditing.
  Press(VK_DOWN);
  Press(VK_F2);
  EXPECT_EQ(bar->EditingItem(), nullptr);
  bar->SetAllowEditing(true);
  Press(VK_F2);
  ASSERT_EQ(bar->EditingItem(), Item(0));
  Offscreen().TypeText("Keyed");
  Press(VK_RETURN);
  EXPECT_EQ(Item(0)->Caption(), "Keyed");
  EXPECT_EQ(clicked, 1) << "the Return went to the edit, not to the item";
}

TEST_F(NavBarTest, GroupsOwnTheirImagesThroughOnGetImages) {
  Fill(2);
  TImageList* big = IconList(form, 48, {clRed, clFuchsia});
  bar->OnGetImages =
      TNavBarGetImagesEvent::FromCallable([&](TObject*, const String& caption, TImageList*& list) {
        if (caption == "Two") list = big;
      });
  bar->Groups(1)->Items(0)->SetImageIndex(0);
  bar->Groups(1)->Items(1)->SetImageIndex(1);
  ShowForm();
  TRect first = Item(0)->IconRect();
  EXPECT_EQ(first.Width(), 32 + 8);
  EXPECT_EQ(Px(bar, first.Left + 10, first.Top + 10), Rgb(clLime));
  ClickHeader(1);
  TRect other = Item(0)->IconRect();
  EXPECT_EQ(other.Width(), 48 + 8);
  EXPECT_EQ(Px(bar, other.Left + 10, other.Top + 10), Rgb(clRed));
  bar->SetSelectedItem(1);
  Pump();
  EXPECT_EQ(Px(bar, Item(1)->IconRect().Left + 10, Item(1)->IconRect().Top + 10), Rgb(clFuchsia));
}

TEST_F(NavBarTest, ActionLinkMirrorsTheActionWhileTheItemFollowsIt) {
  Fill(2);
  ShowForm();
  auto* action = Create<TAction>(form);
  Integer executed = 0, own = 0;
  action->OnExecute = Counter(executed);
  action->SetCaption("Run");
  action->SetEnabled(true);
  Item(0)->SetAction(action);
  EXPECT_EQ(Item(0)->Caption(), "Run");
  action->SetCaption("Go");
  EXPECT_EQ(Item(0)->Caption(), "Go");
  action->SetVisible(false);
  EXPECT_FALSE(Item(0)->Visible());
  action->SetVisible(true);
  ClickIcon(0);
  EXPECT_EQ(executed, 1) << "the click runs the action";

  // A caption changed by hand stops following; a handler of its own wins.
  Item(0)->SetCaption("Mine");
  action->SetCaption("Later");
  EXPECT_EQ(Item(0)->Caption(), "Mine");
  Item(0)->OnClick = Counter(own);
  ClickIcon(0);
  EXPECT_EQ(own, 1);
  EXPECT_EQ(executed, 1);

  action->Free();
  EXPECT_EQ(Item(0)->Action(), nullptr) << "the item drops a freed action";
  ClickIcon(0);
  EXPECT_EQ(own, 2);
}

TEST_F(NavBarTest, DeletingTheOpenGroupOpensTheFirst) {
  Fill(2);
  ShowForm();
  ClickHeader(1);
  bar->SetSelectedItem(1);
  bar->DeleteGroup(1);
  EXPECT_EQ(bar->SelectedButton(), 0);
  EXPECT_EQ(bar->SelectedItem(), -1);
  bar->ClearGroups();
  EXPECT_EQ(bar->SelectedButton(), -1);
  EXPECT_THROW(bar->Groups(0), EListError);
}

}  // namespace brevant::test

namespace brevant::test {

// A handler that frees the form the bar is on.
struct TFreeRow {
  const char* Name;                      // which handler frees
  void (*Wire)(TNavBar*, TNotifyEvent);  // assigns it
};

TEST_F(NavBarTest, HandlersMayFreeTheForm) {
  const TFreeRow rows[] = {
      {"OnChange", [](TNavBar* b, TNotifyEvent e) { b->OnChange = e; }},
      {"OnItemClick", [](TNavBar* b, TNotifyEvent e) { b->OnItemClick = e; }},
      {"item OnClick", [](TNavBar* b, TNotifyEvent e) { b->OpenGroup()->Items(0)->OnClick = e; }},
      {"OnChanging",
       [](TNavBar* b, TNotifyEvent e) {
         b->OnChanging = TNavBarChangingEvent::FromCallable([e](TObject* s, bool&) { e(s); });
       }},
  };
  for (const TFreeRow& row : rows) {
    if (!form) {
      form = Create<TForm>(nullptr);
      form->SetCaption("Form1");
      form->SetBounds(100, 100, 300, 200);
      bar = Add<TNavBar>(form, "Bar", Bounds(10, 10, 120, 180));
      bar->SetSmoothScrolling(false);
      images = IconList(form, 32, {clLime});
    }
    Fill(2);
    ShowForm();
    // The handler's closure goes with the form: nothing of it is read after Free.
    row.Wire(bar, TNotifyEvent::FromCallable([this](TObject*) {
               TForm* victim = std::exchange(form, nullptr);
               victim->Free();
             }));
    ClickIcon(0);
    EXPECT_EQ(form, nullptr) << row.Name;
  }
}

}  // namespace brevant::test

namespace brevant::test {

TEST_F(NavBarTest, ManyItemsScrollInViewInOneWalk) {
  Fill(2);
  TNavBarItems* one = bar->Groups(0);
  one->BeginUpdate();
  for (Integer i = 0; i < 20000; ++i) one->Add()->SetCaption("Many");
  one->EndUpdate();
  ShowForm();
  Integer last = one->Count() - 1;
  bar->SetSelectedItem(last);
  Pump();
  Integer cap = bar->Capacity();
  EXPECT_EQ(bar->FirstItem(), last - cap + 1);
  EXPECT_GT(Item(last)->IconRect().Width(), 0);
  ClickPoint(Centre(Item(last)->IconRect()));
  EXPECT_EQ(bar->HitTest(0, 0), TNavBarPart{});
  EXPECT_EQ(bar->SelectedItem(), last);
}

}  // namespace brevant::test
