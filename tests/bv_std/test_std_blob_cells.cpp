// Memo and picture cells of a real grid driven by keys, clicks, the
// off-screen clipboard and scripted dialog answers: memos edited across
// lines and painted line by line; pictures pasted, cut, cleared and loaded
// into the cell's editor drawn before they are posted; content that is no
// picture and text on the clipboard.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "backend/codes.h"
#include "bv/columns.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_graphic.h"
#include "controls/application.h"
#include "controls/dialogs.h"
#include "controls/edits.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "pack_test_util.h"
#include "rtl/streams.h"
#include "std_vision_test_util.h"

namespace brevant::test {
namespace {

namespace fs = std::filesystem;
using stdtest::BmpBytes;
using stdtest::Solid;
using stdtest::TStdData;

class BlobCellsTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    SetClipboardText("");
    Application()->OnException = TExceptionEvent::FromCallable(
        [this](TObject*, const Exception& e) { problems.push_back(e.Message()); });
  }
  void TearDown() override {
    Application()->OnException = {};
    EXPECT_EQ(ScriptedAnswerCount(), 0) << "an answer was not used";
    PackTest::TearDown();
  }
  // A focused grid of RowLines-line rows showing ID and field through
  // vision, the cursor on field's cell of the first record.
  void ShowGrid(const String& field, TznFieldVision* vision, Integer width = 150) {
    cells = Create<TDBTabulon>(form);
    cells->SetBounds(10, 10, 300, 200);
    cells->SetParent(form);
    cells->SetRowLines(3);
    cells->Columns()->Add()->SetFieldName("ID");
    column = cells->Columns()->Add();
    column->SetFieldName(field);
    column->SetVision(vision);
    column->SetWidth(width);
    cells->SetDataSource(data.source.get());
    data.ds->First();
    form->Show();
    Pump();
    cells->SetFocus();
    Key(VK_HOME);
    Key(VK_RIGHT);
  }
  TtlInplaceEdit* Editor() const { return cells->InplaceEditor(); }
  // The cell of the record in window row, in form client coordinates.
  TRect CellOnForm(Integer row) const {
    const TRect r = column->CellRect(row, false, false);
    const TPoint tl = form->ScreenToClient(cells->ClientToScreen(r.TopLeft()));
    return TRect(tl.X, tl.Y, tl.X + r.Width(), tl.Y + r.Height());
  }
  TColor PixelOnForm(Integer x, Integer y) const {
    return Offscreen().Pixel(GetNativeWindow(form->WindowHandle()), x, y);
  }
  // The colour at the centre of the cell in window row.
  TColor CellCentre(Integer row = 0) const {
    const TRect r = CellOnForm(row);
    return PixelOnForm((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Runs of pixel rows of the cell holding colours other than its most
  // common one: the text lines drawn in it.
  Integer InkLines(Integer row = 0) const {
    const TRect r = CellOnForm(row);
    std::map<TColor, Integer> counts;
    for (Integer y = r.Top + 1; y < r.Bottom - 1; ++y)
      for (Integer x = r.Left + 1; x < r.Right - 1; ++x) ++counts[PixelOnForm(x, y)];
    TColor back = clNone;
    Integer most = 0;
    for (const auto& [color, n] : counts)
      if (n > most) most = n, back = color;
    Integer lines = 0;
    bool inLine = false;
    for (Integer y = r.Top + 1; y < r.Bottom - 1; ++y) {
      bool ink = false;
      for (Integer x = r.Left + 1; x < r.Right - 1 && !ink; ++x) ink = PixelOnForm(x, y) != back;
      if (ink && !inLine) ++lines;
      inLine = ink;
    }
    return lines;
  }
  TCustomEdit* NativeEdit() const { return Editor(); }
  // The line of the editor's caret.
  Integer CaretLine() const { return NativeEdit()->LineFromChar(NativeEdit()->CaretPos()); }
  // Right-clicks the open editor and picks item index of its menu.
  void PickFromMenu(Integer index) {
    ScriptAnswer("PopupMenu", index);
    const TPoint p = Editor()->ClientToScreen({5, 5});
    Offscreen().MouseMove(p);
    Offscreen().Click(p, bbRight);
    Pump();
  }
  // The picture in the current record's buffer.
  std::unique_ptr<TBitmap> FieldPicture() {
    auto b = std::make_unique<TBitmap>();
    if (!data.Field("Pic")->IsNull()) {
      TStringStream bytes(data.Field("Pic")->AsString());
      b->LoadFromStream(bytes);
    }
    return b;
  }

  TStdData data{3};
  TDBTabulon* cells = nullptr;
  TtlColumn* column = nullptr;
  std::vector<String> problems;  // messages of the errors the application handled
};

// ---- memo cells ----

TEST_F(BlobCellsTest, AMemoCellEditsAcrossLinesAndPaintsThem) {
  data.Set(1, "Notes", "first");
  ShowGrid("Notes", Create<TMemoVision>(form));
  EXPECT_EQ(InkLines(), 1);
  Key(VK_F2);
  ASSERT_TRUE(cells->EditorShown());
  EXPECT_TRUE(NativeEdit()->IsMultiLine());
  Key(VK_END, bmCtrl);
  Key(VK_RETURN);  // a new line, the cell stays open
  Type("second");
  Key(VK_RETURN);
  Type("third");
  ASSERT_TRUE(cells->EditorShown());
  EXPECT_EQ(NativeEdit()->LineCount(), 3);
  // Arrows move between the lines inside the editor, not between records.
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(CaretLine(), 0);
  Key(VK_UP);
  EXPECT_TRUE(cells->EditorShown());
  EXPECT_EQ(data.ds->RecNo(), 1);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_EQ(data.ds->RecNo(), 1);
  // Tab is text too; Ctrl+Return posts the cell.
  Key(VK_TAB);
  EXPECT_TRUE(cells->EditorShown());
  Key(VK_RETURN, bmCtrl);
  EXPECT_FALSE(cells->EditorShown());
  Key(VK_RETURN);  // posts the record
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(data.Field("Notes")->AsString(), "first\r\nsecond\r\nthird\t");
  Pump();
  EXPECT_EQ(InkLines(), 3);
}

TEST_F(BlobCellsTest, AMemoThatWantsNoReturnsPostsByReturnAndBreaksByCtrlReturn) {
  auto* memo = Create<TMemoVision>(form);
  memo->SetWantReturns(false);
  ShowGrid("Notes", memo);
  Key(VK_F2);
  Type("one");
  Key(VK_RETURN, bmCtrl);
  Type("two");
  ASSERT_TRUE(cells->EditorShown());
  EXPECT_EQ(NativeEdit()->LineCount(), 2);
  Key(VK_RETURN);
  EXPECT_FALSE(cells->EditorShown());
  EXPECT_EQ(data.Field("Notes")->AsString(), "one\r\ntwo");
  // Escape drops what was typed since.
  Key(VK_F2);
  Key(VK_END, bmCtrl);
  Type("three");
  Key(VK_ESCAPE);
  EXPECT_FALSE(cells->EditorShown());
  EXPECT_EQ(data.Field("Notes")->AsString(), "one\r\ntwo");
  Key(VK_RETURN);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(InkLines(), 2);
}

TEST_F(BlobCellsTest, LongMemoTextWrapsInTheEditorAndTheCell) {
  const String words = "alpha beta gamma delta epsilon zeta eta theta";
  data.Set(1, "Notes", words);
  auto* memo = Create<TMemoVision>(form);
  ShowGrid("Notes", memo, 90);
  EXPECT_GT(InkLines(), 1);
  Key(VK_F2);
  EXPECT_GT(NativeEdit()->LineCount(), 1);
  Key(VK_ESCAPE);
  memo->SetEditWordWrap(false);
  Key(VK_F2);
  EXPECT_EQ(NativeEdit()->LineCount(), 1);
  Key(VK_ESCAPE);
}

// ---- picture cells ----

class PictureCellsTest : public BlobCellsTest {
 protected:
  void SetUp() override {
    BlobCellsTest::SetUp();
    data.SetBytes(1, "Pic", BmpBytes(*Solid(4, 4, clRed)));
    image = Create<TImageVision>(form);
    image->SetStretch(true);
    ShowGrid("Pic", image);
    ASSERT_EQ(CellCentre(), clRed);
    background = CellCentre(1);  // record 2 has no picture
    Key(VK_F2);
    ASSERT_TRUE(cells->EditorShown());
  }
  // The open editor's own background (its corner, outside the picture).
  TColor EditorBack() const {
    const TPoint p = form->ScreenToClient(Editor()->ClientToScreen({0, 0}));
    return PixelOnForm(p.X, p.Y);
  }
  TImageVision* image = nullptr;
  TColor background = clNone;  // an empty picture cell
};

TEST_F(PictureCellsTest, APastedPictureShowsInTheCellBeforeItIsPosted) {
  SetClipboardBitmap(*Solid(3, 3, clBlue));
  Key(VK_INSERT, bmShift);
  EXPECT_EQ(data.ds->State(), dsEdit);
  EXPECT_EQ(FieldPicture()->Canvas()->Pixels(0, 0), clRed) << "not posted yet";
  EXPECT_EQ(CellCentre(), clBlue);
  Key(VK_RETURN);
  Key(VK_RETURN);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(FieldPicture()->Canvas()->Pixels(0, 0), clBlue);
  EXPECT_EQ(CellCentre(), clBlue);
  EXPECT_TRUE(problems.empty());
}

TEST_F(PictureCellsTest, CutAndClearEmptyTheCellAtOnceAndEscapeBringsThePictureBack) {
  Key(VK_DELETE, bmShift);  // cut
  EXPECT_TRUE(HasClipboardBitmap());
  EXPECT_EQ(CellCentre(), EditorBack());
  Key(VK_ESCAPE);
  EXPECT_FALSE(cells->EditorShown());
  EXPECT_EQ(CellCentre(), clRed);
  Key(VK_ESCAPE);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  Key(VK_F2);
  EXPECT_NE(CellCentre(), EditorBack());
  PickFromMenu(3);  // Clear
  EXPECT_EQ(data.ds->State(), dsEdit);
  EXPECT_EQ(CellCentre(), EditorBack());
  Key(VK_RETURN);
  Key(VK_RETURN);
  EXPECT_TRUE(data.Field("Pic")->IsNull());
  Key(VK_DOWN);
  EXPECT_EQ(CellCentre(), background);
}

TEST_F(PictureCellsTest, ALoadedPictureShowsInTheCellBeforeItIsPosted) {
  const fs::path dir = fs::temp_directory_path() / ("bv_std_cells_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  Solid(5, 4, clGreen)->SaveToFile((dir / "green.bmp").string());
  SetLastPictureFolder(dir.string());
  ScriptAction("OpenPictureDialog", [](TObject* subject) {
    TEdit* name = static_cast<TFileDialogForm*>(subject)->FileNameEdit;
    name->SetFocus();
    name->SelectAll();
    Offscreen().TypeText("green.bmp");
    PumpMessages();
    Offscreen().PressKey(VK_RETURN);
  });
  PickFromMenu(5);  // Load...
  SetLastPictureFolder("");
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  EXPECT_EQ(CellCentre(), clGreen);
  EXPECT_EQ(FieldPicture()->Canvas()->Pixels(0, 0), clRed);
  Key(VK_RETURN);
  Key(VK_RETURN);
  EXPECT_EQ(FieldPicture()->Canvas()->Pixels(0, 0), clGreen);
}

TEST_F(PictureCellsTest, APastedPictureIsPostedByMovingToTheNextRecord) {
  SetClipboardBitmap(*Solid(3, 3, clBlue));
  Key('V', bmCtrl);
  EXPECT_EQ(CellCentre(), clBlue);
  Key(VK_DOWN);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(data.ds->RecNo(), 2);
  EXPECT_EQ(CellCentre(0), clBlue);
  data.ds->First();
  EXPECT_EQ(FieldPicture()->Canvas()->Pixels(0, 0), clBlue);
}

TEST_F(PictureCellsTest, AReadOnlyGridTakesNoPicture) {
  Key(VK_ESCAPE);
  cells->SetReadOnly(true);
  SetClipboardBitmap(*Solid(3, 3, clBlue));
  Key(VK_F2);
  Key(VK_INSERT, bmShift);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(CellCentre(), clRed);
}

TEST_F(PictureCellsTest, PastingTextChangesNothing) {
  SetClipboardText("no picture");
  Key(VK_INSERT, bmShift);
  Key('V', bmCtrl);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(CellCentre(), clRed);
  Key(VK_RETURN);
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(FieldPicture()->Canvas()->Pixels(0, 0), clRed);
}

TEST_F(PictureCellsTest, ContentThatIsNoPictureIsMarkedAndReportedOnce) {
  Key(VK_ESCAPE);
  data.SetBytes(2, "Pic", "GIF89a, but not really");
  data.ds->First();
  Pump();
  cells->Invalidate();
  Pump();
  EXPECT_EQ(problems.size(), 1u);
  const TRect r = CellOnForm(1);
  EXPECT_EQ(PixelOnForm(r.Left + 1, r.Top + 1), clRed) << "the marking cross";
  EXPECT_EQ(PixelOnForm(r.Left + 1, (r.Top + r.Bottom) / 2), background);
  // The cell's editor reads it without a second report and without a crash.
  Key(VK_DOWN);
  Key(VK_F2);
  EXPECT_TRUE(cells->EditorShown());
  Key(VK_ESCAPE);
  EXPECT_EQ(problems.size(), 1u);
  EXPECT_EQ(data.ds->State(), dsBrowse);
}

}  // namespace
}  // namespace brevant::test
