// The default pack's drop-downs opened from grid cells and driven with the
// mouse: the calculator's and the calendar's buttons posted into the cell,
// the picture picker's paste and load, and every drop-down left without
// accepting (Escape, a click outside, Cancel).
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

#include "bv_ctl/calendar.h"
#include "bv_db/univalue.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/blob_visions_graphic.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/numeric_vision.h"
#include "controls/dialogs.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "pack_cells_test_util.h"
#include "rtl/scope.h"
#include "std_vision_test_util.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using stdtest::Solid;

class PackCellsMouseTest : public PackCellsTest {
 protected:
  // The posted picture's size (0 x 0 for null).
  TSize Posted() const {
    TBitmap b;
    TField* f = Field("Pic");
    if (!f->IsNull()) {
      TznUniValue v;
      v.SetAsString(f->AsString());
      LoadGraphic(v, b);
    }
    return TSize(b.Width(), b.Height());
  }
  // Opens the editor again once a row posted.
  void Reopen() {
    if (!cells->EditorShown()) Key(VK_F2);
    ASSERT_TRUE(cells->EditorShown());
  }
  // Sets the date field back to the start (editor closed).
  void ResetDate() {
    ds->Edit();
    Field("At")->SetAsDateTime(kStart);
    ds->Post();
  }
  // Clicks the calendar's day cell showing date.
  void ClickDay(TDateTime date) {
    TQuentaCalendar* cal = pack->calCalendar;
    for (Integer i = 0; i < 42; ++i)
      if (cal->GridDate(i) == date) {
        const TRect r = cal->DayRect(i);
        ClickOn(cal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        return;
      }
    ADD_FAILURE() << "no cell shows the date";
    Offscreen().PressKey(VK_ESCAPE);
  }
  void ClickCalendarButton(TCalendarButton button) {
    const TRect r = pack->calCalendar->ButtonRect(button);
    ClickOn(pack->calCalendar, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Opens the picture menu by a right click on the picture, choosing the
  // item at index.
  void PictureMenu(Integer index) {
    ScriptAnswer("PopupMenu", index);
    const TPoint p = pack->BlobImage()->ClientToScreen({5, 5});
    Offscreen().MouseMove(p);
    Offscreen().Click(p, bbRight);
  }
};

TEST_F(PackCellsMouseTest, CalculatorButtonsClickedInACellPostTheirResult) {
  TbvDefPack& p = *pack;
  TSpeedButton* const* n = p.sbCalcNum;
  struct TRow {
    const char* name;                    // what the row checks
    std::vector<TSpeedButton*> clicked;  // in this order, then Return
    double posted;                       // the field afterwards
  };
  const TRow rows[] = {
      {"digits, plus and equals",
       {p.sbCalcC, n[1], n[2], p.sbCalcPlus, n[3], n[0], p.sbCalcIs},
       42},
      {"sign and decimal buttons",
       {p.sbCalcC, n[7], p.sbCalcSign, n[5], p.sbCalcDecSep, n[2]},
       -75.2},
      {"times then divide",
       {p.sbCalcC, n[9], p.sbCalcMul, n[4], p.sbCalcDiv, n[3], p.sbCalcIs},
       12},
      {"minus", {p.sbCalcC, n[2], p.sbCalcMinus, n[5], p.sbCalcIs}, -3},
      {"clear entry keeps the pending operator",
       {p.sbCalcC, n[8], p.sbCalcPlus, n[5], p.sbCalcCE, n[2], p.sbCalcIs},
       10},
      {"backspace", {p.sbCalcC, n[1], n[2], n[3], p.sbCalcBS}, 12},
      {"square root then reciprocal", {p.sbCalcC, n[1], n[6], p.sbCalcSqrt, p.sbCalc1divX}, 0.25},
      {"memory store, clear and recall",
       {p.sbCalcC, n[6], p.sbCalcMS, p.sbCalcC, p.sbCalcMR, p.sbCalcPlus, n[1], p.sbCalcIs},
       7},
      {"memory add", {p.sbCalcC, n[2], p.sbCalcMS, n[3], p.sbCalcMplus, p.sbCalcMR}, 5},
      {"memory cleared recalls nothing",
       {p.sbCalcC, n[4], p.sbCalcMS, p.sbCalcMC, n[9], p.sbCalcMR},
       9},
  };
  EditCell("Amount", pack->Calculator);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Reopen();
    bool open = false;
    RunDropDown(
        [&] {
          open = pack->vtfCalculator->IsOpen();
          for (TSpeedButton* b : row.clicked) ClickControl(b);
          Offscreen().PressKey(VK_RETURN);
        },
        true);
    EXPECT_TRUE(open);
    EXPECT_FALSE(pack->vtfCalculator->IsOpen());
    ASSERT_TRUE(cells->EditorShown());
    PostCell();
    EXPECT_EQ(int(ds->State()), int(dsBrowse));
    EXPECT_DOUBLE_EQ(Field("Amount")->AsFloat(), row.posted);
  }
}

TEST_F(PackCellsMouseTest, CalendarButtonsAndDaysClickedInACellPostTheirDate) {
  SetNowFunction([] { return ComposeDateTime(EncodeDate(2024, 5, 20), EncodeTime(8, 0, 0, 0)); });
  TScopeGuard clock([] { SetNowFunction(nullptr); });
  struct TRow {
    const char* name;             // what the row checks
    std::function<void()> click;  // inside the open calendar
    TDateTime day;                // the posted day (0: null)
  };
  const TRow rows[] = {
      {"a day", [this] { ClickDay(EncodeDate(2024, 3, 4)); }, EncodeDate(2024, 3, 4)},
      {"next month, then a day",
       [this] {
         ClickCalendarButton(cbNextMonth);
         WhenIdle([this] { ClickDay(EncodeDate(2024, 4, 10)); });
       },
       EncodeDate(2024, 4, 10)},
      {"previous month twice, then a day",
       [this] {
         ClickCalendarButton(cbPrevMonth);
         ClickCalendarButton(cbPrevMonth);
         WhenIdle([this] { ClickDay(EncodeDate(2024, 1, 31)); });
       },
       EncodeDate(2024, 1, 31)},
      {"Today", [this] { ClickCalendarButton(cbToday); }, EncodeDate(2024, 5, 20)},
      {"Clear", [this] { ClickCalendarButton(cbClear); }, 0},
  };
  EditCell("At", Create<TDateVision>(form));
  Key(VK_ESCAPE);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    ResetDate();
    Reopen();
    RunDropDown([&] { row.click(); }, true);
    EXPECT_FALSE(pack->vtfCalendar->IsOpen());
    // A day goes back to the editor; Clear posts the cell and closes it.
    EXPECT_EQ(cells->EditorShown(), row.day != 0);
    if (cells->EditorShown())
      PostCell();
    else
      ds->Post();
    EXPECT_EQ(int(ds->State()), int(dsBrowse));
    if (row.day == 0)
      EXPECT_TRUE(Field("At")->IsNull());
    else
      EXPECT_EQ(Field("At")->AsDateTime(), ComposeDateTime(row.day, EncodeTime(10, 30, 0, 0)));
  }
}

class PackCellsPictureTest : public PackCellsMouseTest {
 protected:
  void SetUp() override {
    PackCellsMouseTest::SetUp();
    dir = fs::temp_directory_path() / ("bv_std_pack_cells_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    SetLastPictureFolder(dir.string());
    Solid(5, 4, clGreen)->SaveToFile((dir / "green.bmp").string());
  }
  void TearDown() override {
    PackCellsMouseTest::TearDown();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    SetLastPictureFolder("");
  }
  // Answers the open picture dialog with name typed and Return.
  static void AnswerOpen(const String& name) {
    ScriptAction("OpenPictureDialog", [name](TObject* subject) {
      TEdit* edit = static_cast<TFileDialogForm*>(subject)->FileNameEdit;
      edit->SetFocus();
      edit->SelectAll();
      Offscreen().TypeText(name);
      Offscreen().PressKey(VK_RETURN);
    });
  }
  fs::path dir;
};

TEST_F(PackCellsPictureTest, PastedOrLoadedPicturesArePostedByOK) {
  struct TRow {
    const char* name;            // what the row checks
    std::function<void()> take;  // inside the open picker
    TSize posted;                // the picture afterwards
  };
  const TRow rows[] = {
      {"Ctrl+V",
       [] {
         SetClipboardBitmap(*Solid(40, 20, clGreen));
         Offscreen().PressKey('V', bmCtrl);
       },
       {40, 20}},
      {"Paste from the menu",
       [this] {
         SetClipboardBitmap(*Solid(30, 10, clRed));
         PictureMenu(2);
       },
       {30, 10}},
      {"Load... from the menu",
       [this] {
         AnswerOpen("green.bmp");
         PictureMenu(5);
       },
       {5, 4}},
  };
  EditCell("Pic", Create<TPictureVision>(form));
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Reopen();
    bool okEnabled = false;
    RunDropDown(
        [&] {
          row.take();
          WhenIdle([&] {
            okEnabled = pack->btnBlobPickerOK->Enabled();

            ClickControl(pack->btnBlobPickerOK);
          });
        },
        true);
    EXPECT_TRUE(okEnabled);
    EXPECT_FALSE(pack->vtfBlobPicker->IsOpen());
    if (cells->EditorShown()) PostCell();
    EXPECT_EQ(int(ds->State()), int(dsBrowse));
    const TSize posted = Posted();
    EXPECT_EQ(posted.cx, row.posted.cx);
    EXPECT_EQ(posted.cy, row.posted.cy);
  }
}

TEST_F(PackCellsPictureTest, PastingTextIntoACellsPickerLeavesTheRecordAlone) {
  EditCell("Pic", Create<TPictureVision>(form));
  SetClipboardText("no picture");
  TDataSetState state = dsInactive;
  bool okEnabled = true;
  RunDropDown(
      [&] {
        Offscreen().PressKey('V', bmCtrl);
        WhenIdle([&] {
          state = ds->State();
          okEnabled = pack->btnBlobPickerOK->Enabled();
          Offscreen().PressKey(VK_ESCAPE);
        });
      },
      true);
  EXPECT_EQ(state, dsBrowse);
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(pack->vtfBlobPicker->IsOpen());
  EXPECT_EQ(int(ds->State()), int(dsBrowse));
  EXPECT_TRUE(Field("Pic")->IsNull());
}

// How a drop-down is left without accepting.
enum TLeave { lvEscape, lvClickOutside, lvCancel };

TEST_F(PackCellsPictureTest, EveryDropDownLeftWithoutAcceptingKeepsTheField) {
  struct TRow {
    const char* name;                         // what the row checks
    const char* field;                        // the cell's field
    std::function<TznFieldVision*()> vision;  // the column's vision
    std::function<void()> change;             // inside the open drop-down
    TLeave leave;                             // then
    TDataSetState state;                      // the dataset afterwards
    const char* text;                         // the cell's text then (nil: as before)
  };
  auto date = [this]() -> TznFieldVision* { return Create<TDateVision>(form); };
  auto calc = [this]() -> TznFieldVision* { return pack->Calculator; };
  auto text = [this]() -> TznFieldVision* { return Create<TTextVision>(form); };
  auto picture = [this]() -> TznFieldVision* { return Create<TPictureVision>(form); };
  auto right = [] { Offscreen().PressKey(VK_RIGHT); };
  auto compute = [] { Offscreen().TypeText("7+1="); };
  auto type = [] { Offscreen().TypeText("x"); };
  auto paste = [] {
    SetClipboardBitmap(*Solid(40, 20, clGreen));
    Offscreen().PressKey('V', bmCtrl);
  };
  const TRow rows[] = {
      {"calendar, Escape", "At", date, right, lvEscape, dsBrowse, nullptr},
      {"calendar, click outside", "At", date, right, lvClickOutside, dsBrowse, nullptr},
      // The calculator's display is the cell's text while it is open.
      {"calculator, Escape", "Amount", calc, compute, lvEscape, dsEdit, "8"},
      {"calculator, click outside", "Amount", calc, compute, lvClickOutside, dsEdit, "8"},
      {"text, Escape", "Notes", text, type, lvEscape, dsBrowse, nullptr},
      // The picker always posts its changes into the cell's value, unless
      // cancelled; the field keeps its text until the record posts.
      {"text, click outside", "Notes", text, type, lvClickOutside, dsEdit, nullptr},
      {"text, Cancel", "Notes", text, type, lvCancel, dsBrowse, nullptr},
      // Pasting starts the record's edit.
      {"picture, Escape", "Pic", picture, paste, lvEscape, dsEdit, nullptr},
      {"picture, click outside", "Pic", picture, paste, lvClickOutside, dsEdit, nullptr},
      {"picture, Cancel", "Pic", picture, paste, lvCancel, dsEdit, nullptr},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    EditCell(row.field, row.vision());
    const String before = Field(row.field)->AsString();
    const String shown = CellText();
    RunDropDown(
        [&] {
          row.change();
          WhenIdle([&] {
            if (row.leave == lvEscape) Offscreen().PressKey(VK_ESCAPE);
            if (row.leave == lvClickOutside) ClickOutside();
            if (row.leave == lvCancel) ClickControl(pack->btnBlobPickerCancel);
          });
        },
        true);
    Pump();
    EXPECT_FALSE(pack->vtfCalendar->IsOpen() || pack->vtfCalculator->IsOpen() ||
                 pack->vtfBlobPicker->IsOpen());
    EXPECT_EQ(Field(row.field)->AsString(), before);
    EXPECT_EQ(int(ds->State()), int(row.state));
    ASSERT_TRUE(cells->EditorShown());
    EXPECT_EQ(CellText(), row.text ? String(row.text) : shown);
    // Escape shows the field again and ends the record's edit.
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_EQ(int(ds->State()), int(dsBrowse));
    EXPECT_EQ(Field(row.field)->AsString(), before);
    TObject::Free(cells);
    cells = nullptr;
  }
}

TEST_F(PackCellsMouseTest, TheColourListLeftWithoutAcceptingKeepsTheCell) {
  struct TRow {
    const char* name;             // what the row checks
    std::function<void()> leave;  // with the list open and moved
  };
  EditCell("Tint", pack->ColorPicker);
  TEdit* aside = Create<TEdit>(form);
  aside->SetBounds(200, 20, 80, 21);
  aside->SetParent(form);
  const TRow rows[] = {
      {"Escape", [] { Key(VK_ESCAPE); }},
      {"a click on another control", [aside] { ClickControl(aside); }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Reopen();
    Key(VK_DOWN, bmAlt);
    ASSERT_TRUE(pack->vtfDataList->IsOpen());
    Key(VK_DOWN);
    row.leave();
    Pump();
    EXPECT_FALSE(pack->vtfDataList->IsOpen());
    EXPECT_EQ(Field("Tint")->AsInteger(), Integer(clRed));
    EXPECT_EQ(int(ds->State()), int(dsBrowse));
    if (cells->EditorShown()) {
      EXPECT_EQ(CellText(), "clRed");
    }
    cells->SetFocus();
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_EQ(int(ds->State()), int(dsBrowse));
  }
}

}  // namespace
}  // namespace brevant::test
