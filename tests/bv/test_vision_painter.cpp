// The painter: where Prepare puts the image and the text, what the editors'
// mode takes from the edit control, the grid mode's fonts and flags, the
// pixels of text, images and focus frames, and that a cell painted again
// allocates nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "bv/cell_attrs.h"
#include "bv/vision_painter.h"
#include "bv_rtm/child_font.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"
#include "grid_test_util.h"
#include "vision_test_util.h"

// Counts heap allocations, so a test can tell that repeated work allocates
// nothing.
namespace {
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace visiontest {
namespace {

// A painter over a cell of the accounts' Name field, drawn onto a bitmap.
class PainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    consumer.reset(Create<TStubConsumer>(nullptr));
    vision.reset(Create<TznFieldVision>(nullptr));
    consumer->Fields().SetVision(vision.get());
    consumer->Attach(data.source.get(), "Name");
    editor = std::make_unique<TStubEditor>(*consumer);
    face.Font = font.get();
    face.Color = clWindow;
    editor->face = face;
    bitmap->SetSize(120, 30);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect(0, 0, 120, 30));
    painter->SetTarget(bitmap->Canvas(), kOuter, kContent);
  }
  // Gives the vision 16 x 10 images (one red image).
  void UseImages() {
    images->SetSize(16, 10);
    TObjectPtr<TBitmap> red(Create<TBitmap>());
    red->SetSize(16, 10);
    red->Canvas()->Brush()->SetColor(clRed);
    red->Canvas()->FillRect(TRect(0, 0, 16, 10));
    images->Add(red.get(), nullptr);
    vision->SetImages(images.get());
  }
  // Columns of the bitmap holding a dark pixel in row range [top, bottom).
  std::pair<Integer, Integer> InkColumns(Integer top, Integer bottom) {
    Integer first = -1, last = -1;
    for (Integer x = 0; x < 120; ++x)
      for (Integer y = top; y < bottom; ++y)
        if ((bitmap->Canvas()->Pixels(x, y) & 0xFF) < 0x80) {
          if (first < 0) first = x;
          last = x;
        }
    return {first, last};
  }

  const TRect kOuter{0, 0, 100, 24};
  const TRect kContent{2, 2, 98, 22};
  TAccounts data;
  TObjectPtr<TStubConsumer> consumer;
  TObjectPtr<TznFieldVision> vision;
  std::unique_ptr<TStubEditor> editor;
  std::unique_ptr<TFont> font = std::make_unique<TFont>();
  TfvEditorFace face;
  TObjectPtr<TImageList> images{Create<TImageList>(nullptr)};
  TObjectPtr<TBitmap> bitmap{Create<TBitmap>()};
  TObjectPtr<TfvPainter> painter{Create<TfvPainter>(false)};
};

struct ImageCase {
  const char* name;
  TTextLayout layout;
  TznAlignImage align;
  bool drawText;
  TRect image;  // expected ImageRect
  TRect text;   // expected TextRect (editors' mode: top one lower)
};

TEST_F(PainterTest, PrepareLaysOutImageAndText) {
  UseImages();
  editor->inGrid = true;  // no editor shift: the rectangles as laid out
  const ImageCase cases[] = {
      {"left top", tlTop, aiDefault, true, {2, 2, 18, 12}, {20, 2, 98, 22}},
      {"right top", tlTop, aiRight, true, {82, 2, 98, 12}, {2, 2, 80, 22}},
      {"left centre", tlCenter, aiLeft, true, {2, 7, 18, 17}, {20, 2, 98, 22}},
      {"left bottom", tlBottom, aiDefault, true, {2, 12, 18, 22}, {20, 2, 98, 22}},
      {"no text: centred", tlTop, aiRight, false, {42, 2, 58, 12}, {2, 2, 98, 22}},
  };
  for (const ImageCase& c : cases) {
    SCOPED_TRACE(c.name);
    consumer->Fields().SetLayout(c.layout);
    vision->SetAlignImage(c.align);
    vision->SetDrawText(c.drawText);
    painter->Prepare(&consumer->Fields());
    EXPECT_EQ(painter->ImageRect(), c.image);
    EXPECT_EQ(painter->TextRect(), c.text);
    EXPECT_EQ(painter->Images(), images.get());
  }
}

TEST_F(PainterTest, WithoutImagesTextTakesTheContent) {
  editor->inGrid = true;
  painter->Prepare(&consumer->Fields());
  EXPECT_EQ(painter->TextRect(), kContent);
  EXPECT_EQ(painter->ImageRect(), kContent);
}

TEST_F(PainterTest, EditorsModeTakesTheControlsState) {
  struct Case {
    const char* name;
    bool focused, droppedDown, enabled, frame, wordWrap, inGrid;
    bool attrsFocused;
    TColor fontColor;
    TRect text;
  };
  const Case cases[] = {
      {"focused standalone",
       true,
       false,
       true,
       false,
       false,
       false,
       true,
       clWindowText,
       {2, 3, 98, 22}},
      {"drop-down open",
       true,
       true,
       true,
       false,
       false,
       false,
       false,
       clWindowText,
       {2, 3, 98, 22}},
      {"disabled with frame",
       false,
       false,
       false,
       true,
       true,
       false,
       false,
       clGrayText,
       {3, 3, 97, 22}},
      {"in a grid", true, false, true, true, false, true, true, clWindowText, {2, 2, 98, 22}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    face.Focused = c.focused;
    face.Enabled = c.enabled;
    face.HasFrame = c.frame;
    face.WordWrap = c.wordWrap;
    face.Switched = c.focused;
    face.Color = clAqua;
    editor->face = face;
    editor->droppedDown = c.droppedDown;
    editor->inGrid = c.inGrid;
    painter->SetText("stale");
    painter->SetDefaultDraw(false);
    painter->SetImageIndex(3);
    EXPECT_EQ(painter->Prepare(&consumer->Fields()), c.wordWrap);
    EXPECT_EQ(painter->CellAttrs(), EditorsCellAttrs());
    EXPECT_EQ(painter->CellAttrs()->Focused, c.attrsFocused);
    EXPECT_EQ(painter->CellAttrs()->Switched, c.focused);
    EXPECT_EQ(painter->CellAttrs()->Color, clAqua);
    EXPECT_EQ(painter->Font()->Color(), c.fontColor);
    EXPECT_EQ(bitmap->Canvas()->Font()->Color(), c.fontColor);
    EXPECT_EQ(painter->TextRect(), c.text);
    EXPECT_TRUE(painter->DefaultDraw());
    EXPECT_EQ(painter->Text(), "");
    EXPECT_EQ(painter->ImageIndex(), -1);
    EXPECT_FALSE(painter->EndEllipsis());
  }
}

TEST_F(PainterTest, MultiLineVisionWrapsWords) {
  class TMultiLineVision : public TznFieldVision {
   public:
    TMultiLineVision() : TznFieldVision(nullptr) { SetMultiLine(true); }
  };
  TObjectPtr<TMultiLineVision> memo(Create<TMultiLineVision>());
  consumer->Fields().SetVision(memo.get());
  EXPECT_TRUE(painter->Prepare(&consumer->Fields()));
  EXPECT_TRUE(painter->WordWrap());
  consumer->Fields().SetVision(vision.get());
}

TEST_F(PainterTest, TextIsAlignedInTheTextRect) {
  painter->Prepare(&consumer->Fields());
  painter->DrawText("WWW", taLeftJustify, tlTop);
  auto left = InkColumns(0, 30);
  EXPECT_GE(left.first, painter->TextRect().Left);
  EXPECT_LT(left.first, painter->TextRect().Left + 3);
  bitmap->Canvas()->FillRect(TRect(0, 0, 120, 30));
  painter->DrawText("WWW", taRightJustify, tlTop);
  auto right = InkColumns(0, 30);
  EXPECT_LT(right.second, painter->TextRect().Right);
  EXPECT_GT(right.second, painter->TextRect().Right - 3);
  // Nothing outside the text rectangle.
  EXPECT_EQ(InkColumns(0, painter->TextRect().Top).first, -1);
}

TEST_F(PainterTest, DrawImageAtTheImageRectsCorner) {
  UseImages();
  painter->Prepare(&consumer->Fields());
  painter->DrawImage(-1);
  EXPECT_EQ(bitmap->Canvas()->Pixels(2, 2), clWhite);
  painter->DrawImage(0);
  EXPECT_EQ(bitmap->Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(bitmap->Canvas()->Pixels(17, 11), clRed);
  EXPECT_EQ(bitmap->Canvas()->Pixels(18, 11), clWhite);
  EXPECT_EQ(bitmap->Canvas()->Pixels(17, 12), clWhite);
}

TEST_F(PainterTest, FocusFrameUnlessSwitchedOff) {
  const TRect r(10, 5, 30, 15);
  painter->SetNoFocusFrame(true);
  painter->DrawFocusFrame(r);
  EXPECT_EQ(bitmap->Canvas()->Pixels(10, 5), clWhite);
  painter->SetNoFocusFrame(false);
  painter->DrawFocusFrame(r);
  Integer dark = 0;
  for (Integer x = 10; x < 30; ++x) dark += bitmap->Canvas()->Pixels(x, 5) != clWhite;
  EXPECT_GE(dark, 8);
  EXPECT_LE(dark, 12);
}

TEST_F(PainterTest, RepaintingACellAllocatesNothing) {
  const String text = "0123456789";
  auto cell = [&] {
    painter->SetTarget(bitmap->Canvas(), kOuter, kContent);
    painter->Prepare(&consumer->Fields());
    painter->DrawText(text, taLeftJustify, tlCenter);
  };
  cell();  // shapes the text and resolves the font once
  const long before = gAllocations.load();
  for (int i = 0; i < 10; ++i) cell();
  EXPECT_EQ(gAllocations.load() - before, 0);
}

TEST_F(PainterTest, EditorsPainterIsOneObjectNotInGridMode) {
  EXPECT_EQ(EditorsPainter(), EditorsPainter());
  EXPECT_FALSE(EditorsPainter()->GridMode());
  EditorsCellAttrs()->Hot = true;
  EditorsCellAttrs()->FontName = "Arial";
  EditorsCellAttrs()->Reset();
  EXPECT_FALSE(EditorsCellAttrs()->Hot);
  EXPECT_EQ(EditorsCellAttrs()->FontName, "");
  EXPECT_EQ(EditorsCellAttrs()->Color, clNone);
}

// A grid painter stand-in whose rows are not walked.
class TRowlessPainter : public TtlPainter {
 public:
  void BeginColumn(TtlColumn*, TCanvas*, Integer, Integer, Integer, Integer) override {}
  bool NextRow() override { return false; }
  void Advance() override {}
  void DrawOwnerCell() override {}
};

class GridPainterTest : public brevant::test::GridTest {};

TEST_F(GridPainterTest, GridModeLaysFontsOverTheGridsFont) {
  Build(3);
  grid->Font()->SetName("Courier New");
  grid->Font()->SetColor(clMaroon);
  TtlColumn* column = grid->Columns()->Items(1);
  TObjectPtr<TRowlessPainter> p(Create<TRowlessPainter>());
  EXPECT_TRUE(p->GridMode());
  p->Prepare(column->FieldList());
  EXPECT_EQ(p->Column(), column);
  EXPECT_EQ(p->Font()->Name(), "Courier New");
  EXPECT_EQ(p->Font()->Color(), clMaroon);
  EXPECT_TRUE(p->EndEllipsis());
  EXPECT_FALSE(p->WordWrap());

  grid->EffectiveDesigner()->CellFont()->SetColor(clNavy);
  grid->EffectiveDesigner()->CellFont()->SetStyle(TFontStyles{fsBold});
  column->Font()->SetName("Arial");
  column->SetOptionsVisual(TtlColumnOptionsVisual{cvoWordWrap});
  grid->SetOptionsVisual(TtlOptionsVisual{gvoNoEndEllipsis});
  p->Prepare(column->FieldList());
  EXPECT_EQ(p->Font()->Name(), "Arial");
  EXPECT_EQ(p->Font()->Color(), clNavy);
  EXPECT_TRUE(p->Font()->Style().Contains(fsBold));
  EXPECT_FALSE(p->EndEllipsis());
  EXPECT_TRUE(p->WordWrap());
  grid->EffectiveDesigner()->SetCellFont(nullptr);
}

}  // namespace
}  // namespace visiontest
