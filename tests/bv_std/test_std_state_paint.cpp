// Pixels of the state visions: box styles, states, places and the pressed
// look of check boxes in grid cells, the caption and focus of a standalone
// check-box editor, x-state images, and owner-drawn cells.
#include <gtest/gtest.h>

#include "bv/field_list.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "controls/menus.h"
#include "db/dataset.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "std_vision_test_util.h"

namespace stdtest {
namespace {

constexpr Integer kWidth = 60, kRow = 20;

// The last x in row y whose pixel is not white, -1 when none.
Integer LastInkOf(const TBitmapPainter& p, Integer y) {
  for (Integer x = p.Bitmap.Width() - 1; x >= 0; --x)
    if (p.At(x, y) != clWhite) return x;
  return -1;
}

// Pixels in rect that are not white.
Integer Ink(const TBitmapPainter& p, const TRect& rect) {
  Integer n = 0;
  for (Integer y = rect.Top; y < rect.Bottom; ++y)
    for (Integer x = rect.Left; x < rect.Right; ++x) n += p.At(x, y) != clWhite;
  return n;
}

class StatePaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cell->Fields().SetVision(box.get());
    cell->Attach(data.source.get(), "Flag");
    cell->Fields().SetAlignment(taCenter);
  }
  // Paints record 1 (row 0) holding value.
  void PaintFlag(const Variant& value) {
    data.Set(1, "Flag", value);
    painter.Paint(box.get(), cell->Fields(), 0, 0);
  }
  // Pixels of colour color in rect.
  Integer Count(const TRect& rect, TColor color) const {
    Integer n = 0;
    for (Integer y = rect.Top; y < rect.Bottom; ++y)
      for (Integer x = rect.Left; x < rect.Right; ++x) n += painter.At(x, y) == ColorToRGB(color);
    return n;
  }

  TStdData data{1};
  TObjectPtr<TCheckBoxVision> box{Create<TCheckBoxVision>(nullptr)};
  TObjectPtr<TCellConsumer> cell{Create<TCellConsumer>(nullptr)};
  TBitmapPainter painter{kWidth, kRow, 1};
  // A centred box in a grid cell: content 2..58, so the box is 23..36 x 3..16.
  const TRect boxRect{23, 3, 36, 16};
  const TRect inside{25, 5, 34, 14};
};

TEST_F(StatePaintTest, BoxStylesDrawTheirFrames) {
  struct Row {
    const char* name;
    TcbvBoxStyle style;
    TColor outerBottomRight;
    TColor ring;
  };
  const Row rows[] = {
      {"3-D", cbv3D, clBtnHighlight, cl3DDkShadow},
      {"soft 3-D", cbv3DSoft, clBtnHighlight, cl3DLight},
      {"mono", cbvMono, clBtnShadow, clWindow},
      {"flat", cbvFlat, clBtnShadow, clWindow},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    box->SetBoxStyle(row.style);
    PaintFlag(false);
    EXPECT_EQ(painter.At(boxRect.Left, boxRect.Top), ColorToRGB(clBtnShadow));
    EXPECT_EQ(painter.At(boxRect.Right - 1, boxRect.Bottom - 1), ColorToRGB(row.outerBottomRight));
    EXPECT_EQ(painter.At(boxRect.Left + 1, boxRect.Top + 1), ColorToRGB(row.ring));
    EXPECT_EQ(painter.At(boxRect.Left - 1, boxRect.Top), clWhite);
  }
}

TEST_F(StatePaintTest, StatesDrawMarkOrHalftone) {
  PaintFlag(true);
  EXPECT_GT(Count(inside, clWindowText), 0);
  PaintFlag(false);
  EXPECT_EQ(Count(inside, clWindowText), 0);
  EXPECT_EQ(Count(inside, clWindow), inside.Width() * inside.Height());
  PaintFlag(Null());  // grayed: the halftone, a grey mark
  EXPECT_EQ(Count(inside, clWindowText), 0);
  EXPECT_GT(Count(inside, clBtnFace), 0);
  EXPECT_GT(Count(inside, clBtnShadow), 0);
}

TEST_F(StatePaintTest, PressedCellDrawsThePushedBox) {
  painter.PressedRow = 0;
  PaintFlag(false);
  EXPECT_EQ(Count(inside, clBtnFace), inside.Width() * inside.Height());
}

TEST_F(StatePaintTest, AlignmentPlacesTheBox) {
  struct Row {
    const char* name;
    TAlignment alignment;
    Integer left;
  };
  const Row rows[] = {
      {"left: content left + 1", taLeftJustify, 3},
      {"right: content right - 14", taRightJustify, 44},
      {"centre", taCenter, 23},
  };
  box->SetBoxStyle(cbv3D);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    cell->Fields().SetAlignment(row.alignment);
    PaintFlag(false);
    EXPECT_EQ(painter.At(row.left, 3), ColorToRGB(clBtnShadow));
    EXPECT_EQ(painter.At(row.left - 1, 3), clWhite);
  }
}

TEST_F(StatePaintTest, InactiveListDrawsGrayedBox) {
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  TPaintEditor editor(*consumer);
  consumer->Fields().SetVision(box.get());
  consumer->Attach(data.source.get(), "Notes");  // a blob: not active
  ASSERT_FALSE(consumer->Fields().Active());
  painter.PaintEditor(box.get(), &editor);
  // Centre counts as left outside grid columns: the box starts at 1 + 1 + 1.
  const TRect grayed{5, 5, 14, 14};
  EXPECT_GT(Count(grayed, clBtnFace), 0);
  EXPECT_GT(Count(grayed, clBtnShadow), 0);
}

class CheckEditorTest : public StatePaintTest {
 protected:
  void SetUp() override {
    consumer->Fields().SetVision(box.get());
    consumer->Attach(data.source.get(), "Flag");
    consumer->Fields().SetLayout(tlCenter);
    editor.inEditState = true;
  }
  TObjectPtr<TStubConsumer> consumer{Create<TStubConsumer>(nullptr)};
  TPaintEditor editor{*consumer};
};

TEST_F(CheckEditorTest, FocusRectIsAsWideAsTheCaptionShows) {
  TBitmapPainter wide(200, kRow, 1);
  consumer->Fields().SetCaption("A&&B");
  wide.PaintEditor(box.get(), &editor);
  const Integer right = 1 + 16 + wide.Bitmap.Canvas()->TextWidth("A&B") + 3;
  EXPECT_GE(LastInkOf(wide, 1), right - 2);
  EXPECT_LE(LastInkOf(wide, 1), right - 1);
  // The caption is written beside the box.
  EXPECT_GT(Ink(wide, TRect(17, 2, right, kRow - 2)), 0);
}

TEST_F(CheckEditorTest, FocusFollowsEditStateAndFullFocusRect) {
  TBitmapPainter wide(200, kRow, 1);
  consumer->Fields().SetCaption("Ok");
  editor.inEditState = false;
  wide.PaintEditor(box.get(), &editor);
  EXPECT_EQ(LastInkOf(wide, 1), -1);
  editor.inEditState = true;
  editor.surfacePressed = true;  // a press on the surface hides the focus
  wide.PaintEditor(box.get(), &editor);
  EXPECT_EQ(LastInkOf(wide, 1), -1);
  editor.surfacePressed = false;
  box->SetFullFocusRect(true);
  wide.PaintEditor(box.get(), &editor);
  // Up to the content rectangle's right edge (the face's content is 1..199).
  EXPECT_GE(LastInkOf(wide, 1), 197);
}

TEST_F(CheckEditorTest, FocusNeverPassesTheContentRight) {
  consumer->Fields().SetCaption("A caption far wider than the editor");
  painter.PaintEditor(box.get(), &editor);
  EXPECT_LE(LastInkOf(painter, 1), kWidth - 2);
}

// ---- x-state images ----

TEST_F(StatePaintTest, XStateDrawsStateImageAndPushedImage) {
  TObjectPtr<TXStateVision> xs(Create<TXStateVision>(nullptr));
  TImageList* images = MakeImages(8, {clRed, clBlue}, xs.get());
  xs->SetImages(images);
  TXState* a = xs->States()->Add();
  a->SetFieldValue("A");
  a->SetDisplayText("Alpha");
  a->SetImageIndex(0);
  a->SetPushedImageIndex(1);
  data.Set(1, "State", "A");
  cell->Fields().SetVision(xs.get());
  cell->Attach(data.source.get(), "State");
  painter.Paint(xs.get(), cell->Fields(), 0, 0);
  EXPECT_EQ(painter.At(3, 1), clRed);
  EXPECT_FALSE(painter.Bitmap.Canvas()->Font()->Style().Contains(fsUnderline));
  painter.PressedRow = 0;
  painter.Paint(xs.get(), cell->Fields(), 0, 0);
  EXPECT_EQ(painter.At(3, 1), clBlue);
  EXPECT_TRUE(painter.Bitmap.Canvas()->Font()->Style().Contains(fsUnderline));
  a->SetPushedImageIndex(-1);  // pressed falls back on the image
  painter.Paint(xs.get(), cell->Fields(), 0, 0);
  EXPECT_EQ(painter.At(3, 1), clRed);
}

// ---- owner draw ----

struct TOwnerLog {
  void Draw(TObject*, TtlFieldList*, TtlPainter* p) {
    p->Canvas()->Brush()->SetStyle(bsSolid);
    p->Canvas()->Brush()->SetColor(clLime);
    p->Canvas()->FillRect(p->OuterRect());
    p->SetDefaultDraw(false);
  }
  void Action(TObject*, TtlFieldList* fields, TznEditAction action) {
    lastFields = fields;
    lastAction = action;
  }
  TtlFieldList* lastFields = nullptr;
  TznEditAction lastAction = 0;
};

TEST_F(StatePaintTest, OwnerDrawCellsAreDrawnByTheHandler) {
  TObjectPtr<TOwnerDrawVision> owner(Create<TOwnerDrawVision>(nullptr));
  TOwnerLog log;
  owner->OnDraw = TfvDrawEvent::Of<&TOwnerLog::Draw>(&log);
  TObjectPtr<TCellConsumer> any(Create<TCellConsumer>(nullptr));
  any->Fields().SetVision(owner.get());
  any->Attach(data.source.get(), "");  // active without fields
  ASSERT_TRUE(any->Fields().Active());
  EXPECT_TRUE(owner->ReadOnly());
  painter.Paint(owner.get(), any->Fields(), 0, 0);
  EXPECT_EQ(painter.At(kWidth / 2, kRow / 2), clLime);
}

TEST_F(StatePaintTest, OwnerDrawMenuAndEditAction) {
  TObjectPtr<TOwnerDrawVision> owner(Create<TOwnerDrawVision>(nullptr));
  TOwnerLog log;
  owner->OnEditAction = TfvEditActionEvent::Of<&TOwnerLog::Action>(&log);
  TObjectPtr<TStubConsumer> consumer(Create<TStubConsumer>(nullptr));
  TPaintEditor editor(*consumer);
  consumer->Fields().SetVision(owner.get());
  owner->EditAction(&editor, eaCopy);
  EXPECT_EQ(log.lastFields, &consumer->Fields());
  EXPECT_EQ(log.lastAction, eaCopy);
  auto* menu = Create<TPopupMenu>(nullptr);
  consumer->log.clear();
  owner->SetPopupMenu(menu);
  EXPECT_EQ(owner->GetPopupMenu(), menu);
  EXPECT_EQ(consumer->Take(), "popup");
  TObject::Free(menu);
  EXPECT_EQ(owner->GetPopupMenu(), nullptr);
}

}  // namespace
}  // namespace stdtest
