// Posting and cancelling a non-focusable drop-down under each option, by
// each way of closing it, and the hand-over of keys from the edit.
#include <algorithm>

#include "tool_form_test_util.h"

namespace brevant::test {

namespace {

bool Logged(const std::string& what) {
  return std::find(Log().begin(), Log().end(), what) != Log().end();
}

enum TCloseBy { cbEscape, cbReturn, cbTab, cbAltDown, cbButton, cbClickOther };

struct TCloseRow {
  const char* name;     // what the row checks
  TCloseBy by;          // how the user closes it
  TvtfOptions options;  // the tool form's options
  bool changed;         // the content changed the value
  bool postEdit;        // the vision was asked to post
  bool posted;          // OnPostChanges ran
};

}  // namespace

TEST_F(ToolFormTest, PostingAndCancellingByEachWayOfClosing) {
  const TvtfOptions always{tfoAlwaysPostChanges};
  const TCloseRow rows[] = {
      {"Escape discards the change", cbEscape, {}, true, false, false},
      {"Escape posts with AlwaysPostChanges", cbEscape, always, true, false, true},
      {"Return without a change closes only", cbReturn, {}, false, false, false},
      {"Return posts a change through the vision", cbReturn, {}, true, true, true},
      {"Tab accepts", cbTab, {}, true, true, true},
      {"Alt+Down accepts", cbAltDown, {}, true, true, true},
      {"the edit's button discards", cbButton, {}, true, false, false},
      {"a click elsewhere discards", cbClickOther, {}, true, false, false},
      {"a click elsewhere posts with AlwaysPostChanges", cbClickOther, always, true, false, true},
  };
  LogEvents();
  for (const TCloseRow& row : rows) {
    SCOPED_TRACE(row.name);
    tf->SetOptions(row.options);
    Open();
    ASSERT_TRUE(tf->IsOpen());
    tf->SetChanged(row.changed);
    ClearLog();
    switch (row.by) {
      case cbEscape:
        Key(VK_ESCAPE);
        break;
      case cbReturn:
        Key(VK_RETURN);
        break;
      case cbTab:
        Key(VK_TAB);
        break;
      case cbAltDown:
        Key(VK_DOWN, bmAlt);
        break;
      case cbButton:
        Click(edit->ClientToScreen({edit->ClientWidth() - 5, 5}));
        break;
      case cbClickOther:
        Click(At(other, 5, 5));
        break;
    }
    EXPECT_FALSE(tf->IsOpen());
    EXPECT_EQ(tf->Parent(), pack);
    EXPECT_EQ(Logged("vision PostEdit"), row.postEdit);
    EXPECT_EQ(Logged("tf post changes"), row.posted);
    EXPECT_TRUE(Logged("tf close"));
    EXPECT_EQ(vision->open, nullptr);
    edit->SetFocus();
    Pump();
  }
}

// Accepting posts through the vision, whose post closes the drop-down
// through the edit first: the content's changes are taken over before the
// value is written.
TEST_F(ToolFormTest, ReturnPostsThroughTheVisionWhichClosesFirst) {
  LogEvents();
  Open();
  tf->SetChanged(true);
  ClearLog();
  Key(VK_RETURN);
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"edit key 13", "vision PostEdit", "tf post changes",
                                      "tf close", "vision SetToolForm nil", "edit open nil"}));
  EXPECT_TRUE(tf->Changed());
}

TEST_F(ToolFormTest, PostAndMoveGoesThroughTheGrid) {
  LogEvents();
  edit->inGrid = true;
  Open();
  tf->SetChanged(true);
  ClearLog();
  tf->Close(true, true);
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"vision PostOrMove", "edit grid post", "tf post changes",
                                      "tf close", "vision SetToolForm nil", "edit open nil"}));
  EXPECT_FALSE(tf->IsOpen());
}

TEST_F(ToolFormTest, KeysOfTheEditReachTheToolFormFirst) {
  std::vector<Word> keys;
  Word consume = 0;
  tf->OnKeyDown = TKeyEvent::FromCallable([&](TObject*, Word& key, TShiftState) {
    keys.push_back(key);
    if (key == consume) key = 0;
  });
  Open();
  Key(VK_DOWN);
  Key('A');
  EXPECT_EQ(keys, (std::vector<Word>{VK_DOWN, 'A'}));
  // A key the tool form consumes does nothing more in the edit: Alt+Down
  // would otherwise close the drop-down.
  consume = VK_DOWN;
  Key(VK_DOWN, bmAlt);
  EXPECT_TRUE(tf->IsOpen());
  consume = 0;
  Key(VK_DOWN, bmAlt);
  EXPECT_FALSE(tf->IsOpen());
}

TEST_F(ToolFormTest, TheUserSeesTheOpenToolFormAndItsChanges) {
  LogEvents();
  Open();
  ASSERT_NE(vision->open, nullptr);
  EXPECT_EQ(vision->open->GetToolForm(), tf);
  ClearLog();
  vision->open->CurrentChanged();
  vision->open->TextChanged();
  EXPECT_EQ(Log(), (std::vector<std::string>{"tf current", "tf text"}));
  // Focus moving inside the drop-down keeps it open; elsewhere closes it.
  vision->open->FocusChanged(inner);
  EXPECT_TRUE(tf->IsOpen());
  vision->open->FocusChanged(nullptr);
  EXPECT_FALSE(tf->IsOpen());
}

TEST_F(ToolFormTest, ChangedStartsClearAtEveryOpening) {
  Open();
  tf->SetChanged(true);
  tf->SetOptions({tfoAlwaysPostChanges});
  Key(VK_ESCAPE);
  EXPECT_TRUE(tf->Changed());
  Open();
  EXPECT_FALSE(tf->Changed());
  EXPECT_EQ(tf->CloseResult(), 0);
}

}  // namespace brevant::test
