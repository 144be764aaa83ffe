// The customizer window: opening from a grid in both modes, replacing,
// closing by the close box, by the grid and by freeing the grid's form,
// placement, remembered bounds and whole-row heights.
#include <algorithm>

#include "bv/columns.h"
#include "bv/grid_messages.h"
#include "bv_db/obj_dataset.h"
#include "controls/application.h"
#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "customizer_test_util.h"

namespace brevant::test {

// The actions a grid reports through OnCustomizerAction, as "0 1 ...".
static void LogActions(TDBTabulon* g, String& log) {
  g->OnCustomizerAction = TtlCustomizerActionEvent::FromCallable(
      [&log](TObject*, TtlCustomizerAction action, TtlColumn*) {
        log += (log.empty() ? "" : " ") + IntToStr(action);
      });
}

static Integer ShownCustomizers() {
  Integer n = 0;
  for (TNativeWindow w : Offscreen().Windows())
    if (Offscreen().IsShown(w) && Offscreen().Caption(w) == "Customize") ++n;
  return n;
}

TEST_F(CustomizerTest, OpensInHiddenColumnsMode) {
  BuildFour();
  Col("City")->SetVisible(false);
  Col("Zip")->SetCaption("Post code");
  Col("Zip")->SetVisible(false);
  Col("ID")->SetOptionsBehavior(TtlColumnOptionsBehavior{cboNoCustomizing});
  LogActions(grid, log);
  grid->ShowCustomizer(true, "", "");
  Pump();
  TbvTabulonCustomizer* c = Customizer();
  ASSERT_TRUE(c);
  EXPECT_EQ(ListText(), "City Post code");
  EXPECT_EQ(c->Caption(), "Customize");
  EXPECT_EQ(c->btnClose->Caption(), "[Close]");
  EXPECT_EQ(c->FormStyle(), fsStayOnTop);
  EXPECT_TRUE(c->ShowHidden());
  EXPECT_EQ(ShownCustomizers(), 1);
  // Attached: the grid holds the customizer object and lists its window.
  EXPECT_EQ(log, "0");
  EXPECT_EQ(grid->Customizer(), c);
  EXPECT_EQ(CustomizerWindows(), std::vector<HWND>{c->Handle()});
  // Placed 8 pixels right and down of the remembered bounds, height in
  // whole rows.
  EXPECT_EQ(c->Left(), 248);
  EXPECT_EQ(c->Top(), 108);
  EXPECT_EQ(c->Width(), 224);
  EXPECT_EQ(c->Height(), c->FitHeight(340));
  EXPECT_LE(c->Height(), 340);
  EXPECT_GT(c->Height(), 340 - c->tlList->RowHeight());
  // The list is the object dataset over the entries.
  EXPECT_EQ(c->datFields->RecordCount(), 2);
  EXPECT_EQ(c->tlList->DataSource(), c->dsFields);
}

TEST_F(CustomizerTest, OpensInFieldChooserMode) {
  BuildFour();
  TObject::Free(Col("Zip"));
  Col("City")->SetVisible(false);
  ds->FieldByName("City")->SetDisplayLabel("Town");
  grid->ShowCustomizer(false, "ID", "");
  Pump();
  ASSERT_TRUE(Customizer());
  EXPECT_FALSE(Customizer()->ShowHidden());
  // ID is excluded, Name has a visible column.
  EXPECT_EQ(ListText(), "Town Zip");
}

TEST_F(CustomizerTest, OpeningTwiceShowsOneWindow) {
  BuildFour();
  Col("City")->SetVisible(false);
  auto* other = Create<TPaintLogGrid>(form);
  other->SetBounds(10, 220, 380, 120);
  other->SetParent(form);
  other->Columns()->Add()->SetFieldName("ID");
  other->Columns()->Add()->SetFieldName("Zip");
  other->Columns()->Items(1)->SetVisible(false);
  other->SetDataSource(src);
  LogActions(grid, log);
  LogActions(other, otherLog);
  grid->ShowCustomizer(true, "", "");
  Pump();
  TbvTabulonCustomizer* first = Customizer();
  other->ShowCustomizer(true, "", "");
  Pump();
  ASSERT_TRUE(Customizer());
  EXPECT_NE(Customizer(), first);
  EXPECT_EQ(ShownCustomizers(), 1);
  EXPECT_EQ(ListText(), "Zip");
  EXPECT_EQ(log, "0 1");
  EXPECT_EQ(otherLog, "0");
  EXPECT_EQ(grid->Customizer(), nullptr);
  EXPECT_EQ(CustomizerWindows(), std::vector<HWND>{Customizer()->Handle()});
  // A replaced window leaves the remembered bounds alone.
  EXPECT_EQ(Customizer()->Left(), 248);
  EXPECT_EQ(CustomizerBounds(), Bounds(240, 100, 224, 340));
  TObject::Free(other);
}

TEST_F(CustomizerTest, CloseBoxDetachesAndRemembersBounds) {
  BuildFour();
  Col("City")->SetVisible(false);
  LogActions(grid, log);
  grid->ShowCustomizer(true, "", "");
  Pump();
  const TRect bounds = Customizer()->BoundsRect();
  Offscreen().RequestClose(CustomizerNative());
  Pump();
  EXPECT_EQ(Customizer(), nullptr);
  EXPECT_EQ(ShownCustomizers(), 0);
  EXPECT_EQ(log, "0 1");
  EXPECT_EQ(grid->Customizer(), nullptr);
  EXPECT_TRUE(CustomizerWindows().empty());
  EXPECT_EQ(CustomizerBounds(), bounds);
  // The next one opens 8 pixels further.
  grid->ShowCustomizer(true, "", "");
  Pump();
  EXPECT_EQ(Customizer()->Left(), bounds.Left + 8);
  EXPECT_EQ(Customizer()->Top(), bounds.Top + 8);
}

TEST_F(CustomizerTest, CloseButtonCloses) {
  BuildFour();
  grid->ShowCustomizer(true, "", "");
  Pump();
  Customizer()->pnBottom->SetVisible(true);
  Pump();
  TButton* button = Customizer()->btnClose;
  Offscreen().Click(ScreenAt(button, 5, 5));
  Pump();
  EXPECT_EQ(Customizer(), nullptr);
  EXPECT_EQ(grid->Customizer(), nullptr);
}

// Freeing the grid closes the customizer, which sends nothing to the
// grid being destroyed and leaves the list of windows.
TEST_F(CustomizerTest, FreeingTheGridClosesWithoutMessages) {
  BuildFour();
  LogActions(grid, log);
  grid->ShowCustomizer(true, "", "");
  Pump();
  ASSERT_TRUE(Customizer());
  TObject::Free(grid);
  grid = nullptr;
  EXPECT_EQ(log, "0");
  Pump();
  EXPECT_EQ(Customizer(), nullptr);
  EXPECT_EQ(ShownCustomizers(), 0);
  EXPECT_TRUE(CustomizerWindows().empty());
}

TEST_F(CustomizerTest, FreeingTheGridsFormClosesWithoutMessages) {
  BuildFour();
  auto* other = Create<TForm>(nullptr);
  other->SetBounds(500, 100, 300, 200);
  auto* g = Create<TDBTabulon>(other);
  g->SetParent(other);
  g->Columns()->Add()->SetFieldName("ID");
  g->Columns()->Add()->SetFieldName("Zip");
  g->Columns()->Items(1)->SetVisible(false);
  g->SetDataSource(src);
  other->Show();
  Pump();
  LogActions(g, log);
  g->ShowCustomizer(true, "", "");
  Pump();
  ASSERT_TRUE(Customizer());
  TObject::Free(other);
  EXPECT_EQ(log, "0");
  Pump();
  EXPECT_EQ(Customizer(), nullptr);
  EXPECT_TRUE(CustomizerWindows().empty());
}

TEST_F(CustomizerTest, HeightKeepsWholeRows) {
  BuildFour();
  grid->ShowCustomizer(true, "", "");
  Pump();
  TbvTabulonCustomizer* c = Customizer();
  const Integer row = c->tlList->RowHeight();
  const Integer overhead = c->FitHeight(0) - 2 * row;
  ASSERT_GT(row, 0);
  // Requests below two rows give two rows.
  EXPECT_EQ(c->FitHeight(overhead + row), overhead + 2 * row);
  EXPECT_EQ(c->FitHeight(overhead + 5 * row + row - 1), overhead + 5 * row);
  // The user drags the bottom edge: the top stays.
  const TRect start = c->BoundsRect();
  TRect client = Bounds(start.Left, start.Top, start.Width(), start.Height() + row / 2 + 40);
  Offscreen().UserSetBounds(CustomizerNative(), client);
  Pump();
  EXPECT_EQ(c->Top(), start.Top);
  EXPECT_EQ((c->Height() - overhead) % row, 0);
  EXPECT_EQ(c->Height(), c->FitHeight(c->Height()));
  // The user drags the top edge: the bottom stays.
  const TRect mid = c->BoundsRect();
  client = Bounds(mid.Left, mid.Top - 3 * row - 1, mid.Width(), mid.Height() + 3 * row + 1);
  Offscreen().UserSetBounds(CustomizerNative(), client);
  Pump();
  EXPECT_EQ(c->BoundsRect().Bottom, mid.Bottom);
  EXPECT_EQ(c->Height(), mid.Height() + 3 * row);
}

}  // namespace brevant::test

namespace brevant::test {

// Dark pixels in window row `row` of the customizer's list.
static Integer TextPixels(TbvTabulonCustomizer* c, TNativeWindow w, Integer row) {
  const TPoint origin = c->tlList->ClientToScreen({0, 0});
  const TRect native = Offscreen().NativeBounds(w);
  const Integer rowHeight = c->tlList->RowHeight();
  Integer dark = 0;
  for (Integer y = row * rowHeight; y < (row + 1) * rowHeight; ++y)
    for (Integer x = 0; x < c->tlList->ClientWidth(); ++x) {
      const TColor p = Offscreen().Pixel(w, origin.X - native.Left + x, origin.Y - native.Top + y);
      if ((p & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && ((p >> 16) & 0xFF) < 0x60) ++dark;
    }
  return dark;
}

TEST_F(CustomizerTest, ListPaintsOneRowPerEntry) {
  BuildFour();
  Col("City")->SetVisible(false);
  Col("Zip")->SetVisible(false);
  grid->ShowCustomizer(true, "", "");
  Pump();
  TbvTabulonCustomizer* c = Customizer();
  const TNativeWindow w = CustomizerNative();
  ASSERT_NE(w, 0);
  EXPECT_GT(TextPixels(c, w, 0), 10);
  EXPECT_GT(TextPixels(c, w, 1), 10);
  EXPECT_EQ(TextPixels(c, w, 2), 0);
  // Below the entries the list shows its button-face colour.
  const TPoint origin = c->tlList->ClientToScreen({0, 0});
  const TRect native = Offscreen().NativeBounds(w);
  EXPECT_EQ(Offscreen().Pixel(w, origin.X - native.Left + 20,
                              origin.Y - native.Top + 3 * c->tlList->RowHeight() + 2),
            TColor(0xF0F0F0));
  // An entry hidden again by showing its column leaves the list.
  Select("Zip");
  SendMessage(grid->Handle(), WM_TL_CUSTOMIZER, gcaDropped, 0);
  Pump();
  EXPECT_GT(TextPixels(c, w, 0), 10);
  EXPECT_EQ(TextPixels(c, w, 1), 0);
}

}  // namespace brevant::test
