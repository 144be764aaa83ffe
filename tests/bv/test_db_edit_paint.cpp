// The edit's face in real pixels: the same as a grid cell painted by the
// same vision through a grid-mode painter, the disabled look, the
// control's own drawing, the native edit in edit state, and the button.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "edit_test_util.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"

namespace brevant::test {
namespace {

// A grid-mode painter over one row of a link, the cell at a given place:
// the row walking a grid's painter does, without a grid.
class TOneRowPainter : public TtlPainter {
 public:
  TRect outer, content;  // the cell
  void BeginColumn(TtlColumn*, TCanvas* canvas, Integer, Integer, Integer, Integer) override {
    SetTarget(canvas, outer, content);
    done_ = false;
  }
  bool NextRow() override {
    if (done_) return false;
    Canvas()->Font()->Assign(Font());
    ResetCell();
    return true;
  }
  void Advance() override { done_ = true; }
  void DrawOwnerCell() override {}

 private:
  bool done_ = false;
};

class EditFaceTest : public EditTest {
 protected:
  // The edit's client area as shown on the form.
  std::vector<TColor> FacePixels() {
    std::vector<TColor> px;
    const TPoint o = form->ScreenToClient(edit->ClientToScreen({0, 0}));
    for (Integer y = 0; y < edit->ClientHeight(); ++y)
      for (Integer x = 0; x < edit->ClientWidth(); ++x) px.push_back(Px(form, o.X + x, o.Y + y));
    return px;
  }
  static std::vector<TColor> BitmapPixels(TBitmap* b) {
    std::vector<TColor> px;
    for (Integer y = 0; y < b->Height(); ++y)
      for (Integer x = 0; x < b->Width(); ++x) px.push_back(b->Canvas()->Pixels(x, y));
    return px;
  }
  static Integer Count(const std::vector<TColor>& px, TColor c) {
    return static_cast<Integer>(std::count(px.begin(), px.end(), ColorToRGB(c)));
  }
  void ShowUnfocused() {
    AddEdit("Name", Bounds(10, 40, 120, 21));  // takes the focus
    Show();
    other->SetFocus();
    Pump();
    ASSERT_FALSE(edit->EditState());
  }
};

TEST_F(EditFaceTest, FaceMatchesACellOfTheSameVisionPixelForPixel) {
  AddEdit("Name");
  edit->Font()->SetName("Arial");
  edit->Font()->SetColor(clNavy);
  ShowUnfocused();
  const std::vector<TColor> face = FacePixels();

  // The same field list drawn as a grid cell whose text rectangle is the
  // face's: inside the one-pixel face margin and the frame's pixel.
  const Integer w = edit->ClientWidth(), h = edit->ClientHeight();
  TObjectPtr<TBitmap> cell(Create<TBitmap>());
  cell->SetSize(w, h);
  cell->Canvas()->Brush()->SetColor(edit->Color());
  cell->Canvas()->FillRect(TRect(0, 0, w, h));
  TOneRowPainter painter;
  painter.Font()->Assign(edit->Font());
  painter.outer = TRect(0, 0, w, h);
  painter.content = TRect(2, 1, w - 2, h - 1);
  edit->EffectiveVision()->DrawCells(&painter, edit->FieldList(), cell->Canvas(), 0, 0, 0, 0);

  EXPECT_GT(Count(face, clNavy) + Count(face, edit->Color()), 0);
  EXPECT_LT(Count(face, edit->Color()), w * h);  // the text is there
  EXPECT_EQ(face, BitmapPixels(cell.get()));
}

TEST_F(EditFaceTest, DisabledFaceIsGreyOnButtonFace) {
  AddEdit("Name");
  ShowUnfocused();
  edit->SetEnabled(false);
  Pump();
  const std::vector<TColor> face = FacePixels();
  EXPECT_EQ(face.front(), ColorToRGB(clBtnFace));
  EXPECT_EQ(Count(face, clWindow), 0);
  EXPECT_EQ(Count(face, clWindowText), 0);
}

TEST_F(EditFaceTest, OwnDrawingCanTakeOverTheFace) {
  AddEdit("Name");
  edit->OnDraw = TznDrawEditEvent::FromCallable([](TObject*, TfvPainter* p) {
    p->Canvas()->Brush()->SetStyle(bsSolid);
    p->Canvas()->Brush()->SetColor(clLime);
    p->Canvas()->FillRect(p->ContentRect());
    p->SetDefaultDraw(false);
  });
  ShowUnfocused();
  const std::vector<TColor> face = FacePixels();
  const Integer w = edit->ClientWidth(), h = edit->ClientHeight();
  EXPECT_EQ(Count(face, clLime), (w - 2) * (h - 1));  // the content rectangle only
  EXPECT_EQ(Count(face, clWindowText), 0);
}

TEST_F(EditFaceTest, EditStateShowsTheNativeEditWithItsSelection) {
  AddEdit("Name");
  ShowUnfocused();
  EXPECT_EQ(Count(FacePixels(), clHighlight), 0);
  edit->SetFocus();
  Pump();
  EXPECT_TRUE(edit->EditState());
  EXPECT_GT(Count(FacePixels(), clHighlight), 0);  // the selected text
}

TEST_F(EditFaceTest, TheButtonIsDrawnInTheStrip) {
  TObjectPtr<TLogVision> vision(Create<TLogVision>(nullptr));
  vision->SetEnableButton(true);
  vision->SetButtonStyle(pbsEllipsis);
  AddEdit("Name");
  edit->SetVision(vision.get());
  ShowUnfocused();
  const TRect strip = edit->ButtonRect();
  const TPoint o = form->ScreenToClient(edit->ClientToScreen({strip.Left, strip.Top}));
  Integer face = 0, dark = 0;
  for (Integer y = 0; y < strip.Height(); ++y)
    for (Integer x = 0; x < strip.Width(); ++x) {
      const TColor c = Px(form, o.X + x, o.Y + y);
      face += c == ColorToRGB(clBtnFace);
      dark += c == clBlack || c == ColorToRGB(clWindowText);
    }
  EXPECT_GT(face, strip.Width() * strip.Height() / 2);
  EXPECT_GE(dark, 6);  // the three dots at least
  edit->SetVision(nullptr);
}

}  // namespace
}  // namespace brevant::test
