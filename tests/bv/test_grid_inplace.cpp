// The in-place editor over grid cells: where it sits and what it shows
// (against the cells the grid paints), the keys that end an edit and the
// codes the grid receives, and opening and closing with the grid's rules.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/designer.h"
#include "bv/field_list.h"
#include "bv_rtm/child_font.h"
#include "controls/messages.h"
#include "db/field.h"
#include "inplace_test_util.h"

namespace brevant::test {
namespace {

using GridInplaceTest = InplaceTest;

// ---- placement and pixels ----

TEST_F(GridInplaceTest, SitsOnTheCellOfEachLineAndSize) {
  Build();
  grid->SetRowLines(2);
  Col(2)->Font()->SetStyle(TFontStyles{fsBold});
  Pump();
  for (Integer c : {0, 1, 2, 3}) {
    SCOPED_TRACE(c);
    ASSERT_TRUE(Open(c));
    EXPECT_EQ(Editor()->BoundsRect(), Col(c)->CellRect(grid->ActiveRow(), false, false));
    EXPECT_TRUE(Editor()->Visible());
    EXPECT_EQ(grid->EditedColumn(), Col(c));
  }
  // The second line of a two-line group lies below the first.
  ASSERT_TRUE(Open(2));
  EXPECT_GT(Editor()->Top(), Col(1)->CellRect(grid->ActiveRow(), false, false).Bottom);
}

TEST_F(GridInplaceTest, IsCutToTheGridsClientArea) {
  Build();
  Col(1)->SetWidth(600);
  Pump();
  ASSERT_TRUE(Open(1));
  const TRect cell = Col(1)->CellRect(grid->ActiveRow(), false, false);
  ASSERT_GT(cell.Right, grid->ClientWidth());
  EXPECT_EQ(Editor()->Left(), cell.Left);
  EXPECT_EQ(Editor()->BoundsRect().Right, grid->ClientWidth());
}

TEST_F(GridInplaceTest, TakesTheColumnsFontAndColour) {
  Build();
  grid->SetColor(clYellow);
  Col(1)->SetColor(clAqua);
  Col(1)->Font()->SetColor(clBlue);
  Col(1)->Font()->SetStyle(TFontStyles{fsItalic});
  ASSERT_TRUE(Open(1));
  EXPECT_EQ(Editor()->Color(), clAqua);
  EXPECT_EQ(Editor()->Font()->Color(), clBlue);
  EXPECT_TRUE(Editor()->Font()->Style().Contains(fsItalic));
  EXPECT_EQ(Editor()->Font()->Name(), grid->Font()->Name());
  // A column without a colour of its own gives the editor the grid's.
  ASSERT_TRUE(Open(0));
  EXPECT_EQ(Editor()->Color(), clYellow);
  EXPECT_EQ(Editor()->Font()->Color(), grid->Font()->Color());
}

// The editor's text lies exactly where the grid draws the same text: its
// pixels (up to the caret at the end of the text) equal a cell of the same
// column in the row below, which holds the same value and is not current.
TEST_F(GridInplaceTest, TextPixelsMatchTheGridsCell) {
  struct Case {
    const char* name;
    Integer column;
    Integer rowLines;
    TTextLayout layout;
  };
  const Case cases[] = {
      {"plain", 1, 1, tlCenter},
      {"tall centred", 1, 3, tlCenter},
      {"tall top", 1, 3, tlTop},
      {"tall bottom", 1, 3, tlBottom},
      {"second line bold", 2, 2, tlCenter},
  };
  Build();
  Col(2)->Font()->SetStyle(TFontStyles{fsBold});
  Col(2)->Font()->SetColor(clMaroon);
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("Same");
  ds->FieldByName("Note")->SetAsString("Same");
  ds->Post();
  ds->Next();
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("Same");
  ds->FieldByName("Note")->SetAsString("Same");
  ds->Post();
  ds->First();
  Pump();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid->SetRowLines(c.rowLines);
    grid->SetVertAlignment(c.layout);
    Pump();
    ASSERT_TRUE(Open(c.column));
    TtlInplaceEdit* e = Editor();
    ASSERT_EQ(e->Text(), "Same");
    e->SetSelStart(4);
    Pump();
    const Integer caretX = e->PosFromChar(4).X;
    const TRect cell = e->BoundsRect();
    const Integer dy = grid->RowHeight();
    Integer differing = 0, ink = 0;
    for (Integer y = 0; y < cell.Height(); ++y)
      for (Integer x = 0; x < caretX - 1; ++x) {
        const TColor below = GridPixel(cell.Left + x, cell.Top + y + dy);
        if (EditorPixel(x, y) != below) ++differing;
        if (below != grid->Color()) ++ink;
      }
    EXPECT_GT(ink, 10);  // the text was there to compare
    EXPECT_EQ(differing, 0);
    grid->CloseEditor(feaClose, false);
    Pump();
  }
}

// ---- ending keys and the codes the grid receives ----

// The record stays in edit state after a field post, so Tab and Shift+Tab
// edit the cell they reach (quick edit); the other keys leave the grid
// focused with the editor closed.
TEST_F(GridInplaceTest, EveryEndingKeyPostsWithItsCodeAndAction) {
  struct Case {
    const char* name;
    Word key;
    Byte mods;
    TtlFieldPostCode code;
    TtlFieldEditAction action;
    Integer current;  // the current column afterwards
    bool editing;     // the editor is open on it
  };
  const Case cases[] = {
      {"Return", VK_RETURN, 0, fpcReturn, feaNone, 1, false},
      {"Up", VK_UP, 0, fpcArrow, feaUp, 1, false},
      {"Down", VK_DOWN, 0, fpcArrow, feaDown, 2, false},
      {"Tab", VK_TAB, 0, fpcTab, feaNext, 2, true},
      // Shift is still held when the grid steps: an extending step, which
      // starts no quick edit.
      {"Shift+Tab", VK_TAB, bmShift, fpcTab, feaPrior, 0, false},
  };
  Build();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    posts.clear();
    ASSERT_TRUE(Open(1));
    Type("Zed");
    Key(c.key, c.mods);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].Column, Col(1));
    EXPECT_EQ(posts[0].Code, c.code);
    EXPECT_EQ(posts[0].Action, c.action);
    EXPECT_EQ(posts[0].Value, "Zed");
    EXPECT_EQ(grid->CurrentColumnObject(), Col(c.current));
    EXPECT_EQ(grid->EditorShown(), c.editing);
    EXPECT_EQ(Editor()->Visible(), c.editing);
    EXPECT_EQ(grid->Focused(), !c.editing);
    if (c.editing) {
      EXPECT_EQ(grid->EditedColumn(), Col(c.current));
      EXPECT_TRUE(Editor()->Focused());
    } else {
      EXPECT_EQ(Editor()->ActionCode(), c.action);
    }
    EXPECT_EQ(Editor()->ExitReason(), fpcNone);  // reset once handled
    grid->CloseEditor(feaClose, false);
    ds->Cancel();
    Pump();
  }
}

TEST_F(GridInplaceTest, EscapeClosesWithoutPosting) {
  Build();
  ASSERT_TRUE(Open(1));
  Type("Zed");
  Key(VK_ESCAPE);
  EXPECT_TRUE(posts.empty());
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(Name(), "R1");  // nothing written into the field
}

TEST_F(GridInplaceTest, AnUnchangedValueClosesWithTheActionButPostsNothing) {
  Build();
  ASSERT_TRUE(Open(1));
  Key(VK_TAB);
  EXPECT_TRUE(posts.empty());
  EXPECT_EQ(Editor()->ActionCode(), feaNext);
  EXPECT_FALSE(grid->EditorShown());
}

TEST_F(GridInplaceTest, AfterFieldPostMayChangeTheAction) {
  Build();
  grid->AfterFieldPost = TtlAfterFieldPostEvent::FromCallable(
      [](TObject*, TtlColumn*, TtlFieldPostCode, TtlFieldEditAction& action) { action = feaNone; });
  ASSERT_TRUE(Open(1));
  Type("Zed");
  Key(VK_TAB);
  EXPECT_EQ(Editor()->ActionCode(), feaNone);
}

TEST_F(GridInplaceTest, CtrlArrowsStepASpinInsteadOfLeaving) {
  Build();
  TObjectPtr<TClickVision> spin(Create<TClickVision>(nullptr));
  spin->SetEnableButton(true);
  spin->SetButtonStyle(pbsSpin);
  Col(1)->SetVision(spin.get());
  ASSERT_TRUE(Open(1));
  Key(VK_UP, bmCtrl);
  Key(VK_DOWN, bmCtrl);
  EXPECT_EQ(spin->Clicks, (std::vector<Integer>{bkKeyboard, bkKeyDown}));
  EXPECT_TRUE(grid->EditorShown());
  Key(VK_DOWN);
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_EQ(Editor()->ActionCode(), feaDown);
  Col(1)->SetVision(nullptr);
}

TEST_F(GridInplaceTest, AMultiLineVisionKeepsReturnTabAndArrows) {
  Build();
  TObjectPtr<TMemoVision> memo(Create<TMemoVision>(nullptr));
  memo->SetWantReturns(true);
  Col(1)->SetVision(memo.get());
  ASSERT_TRUE(Open(1));
  Key(VK_END);
  Key(VK_RETURN);  // a new line
  Key(VK_UP);      // the caret moves up
  EXPECT_TRUE(grid->EditorShown());
  EXPECT_EQ(Editor()->Text(), "R1\r\n");
  Key(VK_RETURN, bmCtrl);  // wanted returns: Ctrl+Return ends the edit
  EXPECT_FALSE(grid->EditorShown());
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Code, fpcReturn);
  // Not wanting returns: Ctrl+Return is the new line.
  memo->SetWantReturns(false);
  ASSERT_TRUE(Open(1));
  Key(VK_END);
  Key(VK_RETURN, bmCtrl);
  EXPECT_TRUE(grid->EditorShown());
  Key(VK_RETURN);
  EXPECT_FALSE(grid->EditorShown());
  Col(1)->SetVision(nullptr);
}

TEST_F(GridInplaceTest, AKeyActionFromOnEditKeyPressClosesOnRelease) {
  Build();
  std::vector<char32_t> seen;
  grid->OnEditKeyPress = TtlEditKeyPressEvent::FromCallable(
      [&](TObject*, TtlColumn* column, char32_t& key, TtlFieldEditAction& action, bool&) {
        EXPECT_EQ(column, Col(1));
        seen.push_back(key);
        if (key == U'q') action = feaNext;
      });
  ASSERT_TRUE(Open(1));
  Type("ab");
  Offscreen().KeyDown('Q');
  Offscreen().TextInput("q");
  Pump();
  EXPECT_TRUE(grid->EditorShown());  // not before the key is released
  EXPECT_EQ(Editor()->ExitReason(), fpcKeyAction);
  Offscreen().KeyUp('Q');
  Pump();
  // Posted, moved to the next cell and, the record being edited, opened
  // there.
  EXPECT_EQ(grid->EditedColumn(), Col(2));
  EXPECT_EQ(Editor()->Text(), "N1");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Code, fpcKeyAction);
  EXPECT_EQ(posts[0].Action, feaNext);
  EXPECT_EQ(posts[0].Value, "ab");  // the key itself was not typed
  EXPECT_EQ(seen, (std::vector<char32_t>{U'a', U'b', U'q'}));
}

TEST_F(GridInplaceTest, OnEditKeyPressMayChangeTheKey) {
  Build();
  grid->OnEditKeyPress = TtlEditKeyPressEvent::FromCallable(
      [](TObject*, TtlColumn*, char32_t& key, TtlFieldEditAction&, bool&) {
        if (key == U'a') key = U'b';
      });
  ASSERT_TRUE(Open(1));
  Type("aa");
  EXPECT_EQ(Editor()->Text(), "bb");
}

// ---- opening and closing ----

TEST_F(GridInplaceTest, OpeningAsksTheVisionAndBeforeFieldEdit) {
  Build();
  Integer inits = 0;
  grid->OnInitEdit = TNotifyEvent::FromCallable([&](TObject*) { ++inits; });
  bool allow = false;
  grid->BeforeFieldEdit = TtlBeforeFieldEditEvent::FromCallable(
      [&](TObject*, TtlColumn*, bool& doEdit) { doEdit = allow; });
  EXPECT_FALSE(Open(1));
  EXPECT_FALSE(grid->EditorShown());
  allow = true;
  EXPECT_TRUE(Open(1));
  EXPECT_EQ(inits, 1);
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(Editor()->SelLength(), 2);  // all of "R1" selected
  // A read-only column, or a read-only grid, opens nothing.
  grid->CloseEditor(feaClose, false);
  Col(1)->SetReadOnly(true);
  EXPECT_FALSE(Open(1));
  Col(1)->SetReadOnly(false);
  grid->SetReadOnly(true);
  EXPECT_FALSE(Col(1)->RequestEdit());
}

TEST_F(GridInplaceTest, RequestEditMakesTheColumnCurrentAndOpens) {
  Build();
  grid->SelectColumn(0);
  EXPECT_TRUE(Col(1)->RequestEdit());
  EXPECT_EQ(grid->CurrentColumnObject(), Col(1));
  EXPECT_EQ(grid->EditedColumn(), Col(1));
  Col(3)->SetOptionsBehavior(TtlColumnOptionsBehavior{cboNoSelecting});
  EXPECT_FALSE(Col(3)->RequestEdit());
}

TEST_F(GridInplaceTest, AFailingPostKeepsTheEditorOpenWithItsTextSelected) {
  Build();
  TObjectPtr<TznFieldVision> strict(Create<TznFieldVision>(nullptr));
  strict->BeforePost = TfvBeforePostEvent::FromCallable(
      [](TObject*, TtlFieldList*, TtlFieldValue*, bool&) { throw EDatabaseError("refused"); });
  Col(1)->SetVision(strict.get());
  ASSERT_TRUE(Open(1));
  Type("Zed");
  Key(VK_RETURN);
  EXPECT_EQ(HandledMessage(), "refused");
  EXPECT_TRUE(grid->EditorShown());
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(Editor()->Text(), "Zed");
  EXPECT_EQ(Editor()->SelStart(), 0);
  EXPECT_EQ(Editor()->SelLength(), 3);
  EXPECT_TRUE(posts.empty());
  EXPECT_EQ(Name(), "R1");
  // Once the value is accepted the same key posts it.
  strict->BeforePost = TfvBeforePostEvent();
  Key(VK_RETURN);
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Value, "Zed");
  Col(1)->SetVision(nullptr);
}

TEST_F(GridInplaceTest, LeavingTheGridPostsTheRecordAndClosesTheEditor) {
  Build();
  ASSERT_TRUE(Open(1));
  Type("Zed");
  probe->SetFocus();
  Pump();
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_TRUE(probe->Focused());
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Name(), "Zed");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Code, fpcNone);
}

TEST_F(GridInplaceTest, LeavingWithCancelOptionsDropsTheEdit) {
  Build();
  grid->SetOptionsEdit(TtlOptionsEdit{geoCancelRecordOnExit});
  ASSERT_TRUE(Open(1));
  Type("Zed");
  probe->SetFocus();
  Pump();
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Name(), "R1");
  // Finishing only the field keeps the record in edit state.
  grid->SetOptionsEdit(TtlOptionsEdit{geoNoEditActionOnExit});
  grid->SetFocus();
  Pump();
  ASSERT_TRUE(Open(1));
  Type("Yo");
  probe->SetFocus();
  Pump();
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_EQ(Name(), "Yo");
  ds->Cancel();
}

TEST_F(GridInplaceTest, AnOutsidePostTakesTheEditorsValueAndKeepsItOpen) {
  Build();
  ASSERT_TRUE(Open(1));
  Type("Zed");
  ds->Post();
  Pump();
  EXPECT_EQ(Name(), "Zed");
  EXPECT_TRUE(grid->EditorShown());
  EXPECT_EQ(Editor()->Text(), "Zed");
}

TEST_F(GridInplaceTest, PostAndCancelRecord) {
  Build();
  ASSERT_TRUE(Open(1));
  Type("Zed");
  grid->CancelRecord();
  Pump();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Name(), "R1");
  // Without an edit in progress both close the editor.
  EXPECT_TRUE(grid->EditorShown());
  grid->PostRecord();
  EXPECT_FALSE(grid->EditorShown());
  ASSERT_TRUE(Open(1));
  Type("Yo");
  grid->PostRecord();
  Pump();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Name(), "Yo");
}

TEST_F(GridInplaceTest, QuickEditRunsOnlyWhileEditingAndNotForbidden) {
  Build();
  EXPECT_FALSE(grid->QuickEdit(Col(1), geoNoQuickEditByTabKey));
  ds->Edit();
  grid->SetOptionsEdit(TtlOptionsEdit{geoNoQuickEditByTabKey});
  EXPECT_FALSE(grid->QuickEdit(Col(1), geoNoQuickEditByTabKey));
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_TRUE(grid->QuickEdit(Col(1), geoNoQuickEditByClick));
  EXPECT_TRUE(grid->EditorShown());
  ds->Cancel();
}

TEST_F(GridInplaceTest, AlwaysEditingNeedsTheOptionASensitiveCursorAndRows) {
  Build();
  EXPECT_FALSE(grid->AlwaysEditing());
  grid->SetOptionsEdit(TtlOptionsEdit{geoAlwaysShowEditor});
  EXPECT_TRUE(grid->AlwaysEditing());
  grid->SetCursorType(gctInsensitiveBmrk);
  EXPECT_FALSE(grid->AlwaysEditing());
  grid->SetCursorType(gctSensitive);
  ds->Close();
  EXPECT_FALSE(grid->AlwaysEditing());
}

TEST_F(GridInplaceTest, AnAlwaysShownEditorHandsPagingKeysToTheGrid) {
  Build();
  grid->SetOptionsEdit(TtlOptionsEdit{geoAlwaysShowEditor});
  probe->SetFocus();
  Pump();
  grid->SelectColumn(1);
  grid->SetFocus();  // entering opens the editor
  Pump();
  ASSERT_TRUE(grid->EditorShown());
  ASSERT_TRUE(Editor()->Focused());
  grid->Keys.clear();
  for (Word k : {VK_PRIOR, VK_NEXT, VK_HOME, VK_END, VK_INSERT}) Key(k);
  Key(VK_RETURN);
  EXPECT_EQ(grid->Keys.size(), 6u);
  // They moved the grid: End went to the last column, Insert's empty
  // record was dropped by Return, PgDn reached the last record.
  EXPECT_EQ(grid->CurrentColumn(), 3);
  EXPECT_EQ(ds->RecNo(), 5);
  EXPECT_EQ(ds->State(), dsBrowse);
  Key(VK_HOME);
  Key(VK_RIGHT);
  ASSERT_EQ(grid->EditedColumn(), Col(1));
  ASSERT_TRUE(Editor()->Focused());
  // Once something is typed they stay in the editor.
  Type("x");
  grid->Keys.clear();
  Key(VK_HOME);
  EXPECT_TRUE(grid->Keys.empty());
  EXPECT_EQ(Editor()->SelStart(), 0);
  // Return posts and the editor stays.
  Key(VK_RETURN);
  EXPECT_TRUE(grid->EditorShown());
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Code, fpcReturn);
}

// Left and Right move the grid (not the caret) while nothing is typed in
// an always-shown editor; once typing started they move the caret.
TEST_F(GridInplaceTest, HorizontalArrowsBelongToTheGridUntilTyping) {
  Build();
  grid->SetOptionsEdit(TtlOptionsEdit{geoAlwaysShowEditor});
  ASSERT_TRUE(Open(1));
  ASSERT_EQ(Editor()->SelLength(), 2);
  // The grid moves and the editor reopens on the cell reached.
  Key(VK_LEFT);
  EXPECT_EQ(grid->CurrentColumnObject(), Col(0));
  EXPECT_EQ(grid->EditedColumn(), Col(0));
  EXPECT_TRUE(Editor()->Focused());
  Key(VK_RIGHT);
  EXPECT_EQ(grid->EditedColumn(), Col(1));
  EXPECT_EQ(Editor()->SelLength(), 2);
  Type("ab");
  Key(VK_LEFT);
  EXPECT_EQ(Editor()->SelStart(), 1);
  EXPECT_EQ(Editor()->SelLength(), 0);
}

TEST_F(GridInplaceTest, AColumnThatGoesClosesTheEditor) {
  Build();
  ASSERT_TRUE(Open(1));
  TObject::Free(Col(1));
  Pump();
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_EQ(grid->EditedColumn(), nullptr);
  EXPECT_FALSE(Editor()->Visible());
}

TEST_F(GridInplaceTest, HorizontalScrollingPostsAndCloses) {
  Build();
  ASSERT_TRUE(Open(1));
  Type("Zed");
  grid->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
  Pump();
  EXPECT_FALSE(grid->EditorShown());
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Value, "Zed");
}

}  // namespace
}  // namespace brevant::test
