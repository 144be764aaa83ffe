#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "bv_rtm/draw_helpers.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "rtm_test_util.h"

using namespace brevant;

namespace {

constexpr TColor kFace = 0xF0F0F0, kHighlight = 0xFFFFFF, kLight = 0xE3E3E3, kDark = 0x696969,
                 kShadow = 0xA0A0A0;

TObjectPtr<TBitmap> Surface(Integer w, Integer h, TColor fill) {
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

using TPixels = std::set<std::pair<int, int>>;

TPixels PixelsOf(TCanvas* c, const TRect& r, TColor color) {
  TPixels s;
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left; x < r.Right; ++x)
      if (c->Pixels(x, y) == color) s.insert({x, y});
  return s;
}

TPixels InkOf(TCanvas* c, const TRect& r) {
  TPixels s;
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left; x < r.Right; ++x)
      if (c->Pixels(x, y) != clWhite) s.insert({x, y});
  return s;
}

TPixels Shifted(const TPixels& s, int dx, int dy) {
  TPixels r;
  for (auto [x, y] : s) r.insert({x + dx, y + dy});
  return r;
}

}  // namespace

TEST(DrawHelpers, AlignRectVertAndScrollButtonWidth) {
  TRect inner(0, 0, 5, 4);
  AlignRectVert(Rect(0, 10, 5, 21), inner, 1);
  EXPECT_EQ(inner, Rect(0, 13, 5, 17)) << "(11 - 4) / 2 = 3";
  AlignRectVert(Rect(0, 10, 5, 21), inner, 2);
  EXPECT_EQ(inner, Rect(0, 17, 5, 21));
  inner = Rect(0, 0, 5, 40);
  AlignRectVert(Rect(0, 10, 5, 21), inner, 0);
  EXPECT_EQ(inner, Rect(0, 10, 5, 21)) << "capped to the outer height";
  rtmtest::Offscreen();
  const Integer w = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(ScrollButtonWidth(false), w);
  EXPECT_EQ(ScrollButtonWidth(true) % 2, 1);
  EXPECT_EQ(ScrollButtonWidth(true), w % 2 ? w : w - 1);
}

TEST(DrawHelpers, SoftEdgesAndButtonFrames) {
  auto b = Surface(10, 10, clRed);
  TCanvas* c = b->Canvas();
  DrawSoftEdge(c, Rect(0, 0, 10, 10), false, true);
  EXPECT_EQ(c->Pixels(5, 0), kHighlight);  // raised inner on top: one row
  EXPECT_EQ(c->Pixels(5, 1), clRed);
  EXPECT_EQ(c->Pixels(0, 5), kLight);  // raised edge on the left: two columns
  EXPECT_EQ(c->Pixels(1, 5), kHighlight);
  EXPECT_EQ(c->Pixels(9, 5), kShadow);  // raised inner right and bottom
  EXPECT_EQ(c->Pixels(8, 5), clRed);
  EXPECT_EQ(c->Pixels(5, 9), kShadow);

  b = Surface(10, 10, clRed);
  c = b->Canvas();
  DrawButtonFrame(c, Rect(0, 0, 10, 10), false, 0);
  EXPECT_EQ(c->Pixels(5, 0), kLight);
  EXPECT_EQ(c->Pixels(5, 1), kHighlight);
  EXPECT_EQ(c->Pixels(9, 5), kDark);
  EXPECT_EQ(c->Pixels(8, 5), kShadow);
  EXPECT_EQ(c->Pixels(5, 5), clRed);
  DrawButtonFrame(c, Rect(0, 0, 10, 10), true, ebfSoft);  // pressed: flat whatever soft says
  EXPECT_EQ(c->Pixels(0, 5), kShadow);
  EXPECT_EQ(c->Pixels(9, 5), kShadow);
  EXPECT_EQ(c->Pixels(1, 5), kFace);

  b = Surface(10, 10, clRed);
  c = b->Canvas();
  DrawButtonFrame(c, Rect(0, 0, 10, 10), true, ebfFlat);
  EXPECT_EQ(c->Pixels(0, 0), clWhite);  // clWindow
  EXPECT_EQ(c->Pixels(9, 9), clWhite);
  EXPECT_EQ(c->Pixels(1, 1), TColor(0xFFFF00)) << "the inside is inverted";
  EXPECT_EQ(c->Pixels(5, 5), TColor(0xFFFF00));
}

// A graphic whose drawing changes the canvas's colours, then fails.
class TFailingGraphic : public TGraphic {
 public:
  bool Empty() const override { return false; }
  Integer Width() const override { return 4; }
  void SetWidth(Integer) override {}
  Integer Height() const override { return 4; }
  void SetHeight(Integer) override {}
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) const override {}
  void Draw(TCanvas* canvas, const TRect&) override {
    canvas->SetTextColor(clLime);
    canvas->SetBkColor(clYellow);
    throw EInvalidGraphicOperation("drawing failed");
  }
};

TEST(DrawHelpers, GraphicThatFailsStillLeavesTheColours) {
  auto b = Surface(8, 8, clBlack);
  TCanvas* c = b->Canvas();
  c->SetBkColor(clRed);
  c->SetTextColor(clBlue);
  TFailingGraphic graphic;
  EXPECT_THROW(DrawGraphicKeepColors(c, 0, 0, &graphic), EInvalidGraphicOperation);
  EXPECT_EQ(c->BkColor(), clRed);
  EXPECT_EQ(c->TextColor(), clBlue);
}

TEST(DrawHelpers, FocusRectIsBlackAndWhiteAndRestoresColours) {
  auto b = Surface(8, 8, clBlack);
  TCanvas* c = b->Canvas();
  c->SetBkColor(clRed);
  c->SetTextColor(clBlue);
  DrawFocusRectBW(c, Rect(0, 0, 8, 8));
  EXPECT_EQ(c->BkColor(), clRed);
  EXPECT_EQ(c->TextColor(), clBlue);
  // On black the dots alternate between black ^ black and black ^ white.
  std::set<TColor> seen{c->Pixels(0, 0), c->Pixels(1, 0)};
  EXPECT_EQ(seen, (std::set<TColor>{clBlack, clWhite}));
  EXPECT_EQ(c->Pixels(3, 3), clBlack);
}

TEST(DrawHelpers, EllipsisButtonDots) {
  auto b = Surface(16, 20, clRed);
  TCanvas* c = b->Canvas();
  DrawEditButton(ebkEllipsis, 0, c, nullptr, Rect(0, 0, 16, 20));
  // Gap 1 below 17 pixels: 8 pixels of dots from x 4, rows 9 and 10.
  EXPECT_EQ(PixelsOf(c, Rect(2, 2, 14, 18), clBlack), (TPixels{{4, 9},
                                                               {5, 9},
                                                               {4, 10},
                                                               {5, 10},
                                                               {7, 9},
                                                               {8, 9},
                                                               {7, 10},
                                                               {8, 10},
                                                               {10, 9},
                                                               {11, 9},
                                                               {10, 10},
                                                               {11, 10}}));
  EXPECT_EQ(c->Pixels(6, 9), kFace);
  DrawEditButton(ebkEllipsis, ebfPressed, c, nullptr, Rect(0, 0, 16, 20));
  EXPECT_EQ(c->Pixels(4, 9), kFace) << "one pixel lower when pressed";
  EXPECT_EQ(c->Pixels(4, 11), clBlack);
  DrawEditButton(ebkEllipsis, ebfPressed | ebfFlat, c, nullptr, Rect(0, 0, 16, 20));
  EXPECT_EQ(c->Pixels(4, 9), TColor(0xFFFFFF - 0x000000)) << "flat: not lower, inverted";

  b = Surface(20, 20, clRed);
  c = b->Canvas();
  DrawEditButton(ebkEllipsis, ebfDisabled, c, nullptr, Rect(0, 0, 20, 20));
  // Gap 2 from 17 pixels on: 10 pixels from x 5; grey when disabled.
  EXPECT_EQ(PixelsOf(c, Rect(2, 2, 18, 18), TColor(0x6D6D6D)).size(), 12u);
  EXPECT_EQ(c->Pixels(5, 9), TColor(0x6D6D6D));
  EXPECT_EQ(c->Pixels(9, 9), TColor(0x6D6D6D));
  EXPECT_EQ(c->Pixels(13, 9), TColor(0x6D6D6D));
  EXPECT_EQ(c->Pixels(7, 9), kFace);
}

TEST(DrawHelpers, ArrowButtonsMoveTheirGlyphWhenPressed) {
  auto b = Surface(17, 20, clRed);
  TCanvas* c = b->Canvas();
  const TRect inside(2, 2, 15, 18);
  DrawEditButton(ebkDropDown, 0, c, nullptr, Rect(0, 0, 17, 20));
  const TPixels glyph = PixelsOf(c, inside, clBlack);
  ASSERT_GT(glyph.size(), 3u);
  EXPECT_EQ(PixelsOf(c, Rect(0, 0, 17, 20), clRed).size(), 0u) << "the face is filled";
  // A down arrow: its widest row is on top.
  int top = 99, bottom = -1;
  for (auto [x, y] : glyph) top = std::min(top, y), bottom = std::max(bottom, y);
  int topWidth = 0, bottomWidth = 0;
  for (auto [x, y] : glyph) topWidth += y == top, bottomWidth += y == bottom;
  EXPECT_GT(topWidth, bottomWidth);
  DrawEditButton(ebkDropDown, ebfPressed, c, nullptr, Rect(0, 0, 17, 20));
  EXPECT_EQ(PixelsOf(c, inside, clBlack), Shifted(glyph, 0, 1));
  DrawEditButton(ebkDropDown, ebfSoft, c, nullptr, Rect(0, 0, 17, 20));
  EXPECT_EQ(PixelsOf(c, inside, clBlack), Shifted(glyph, 1, 0)) << "soft: one pixel right";
  DrawEditButton(ebkDropDown, ebfDisabled, c, nullptr, Rect(0, 0, 17, 20));
  EXPECT_TRUE(PixelsOf(c, inside, clBlack).empty()) << "the inactive glyph is not black";

  // Spin: the halves press separately.
  b = Surface(17, 30, clRed);
  c = b->Canvas();
  DrawEditButton(ebkSpin, 0, c, nullptr, Rect(0, 0, 17, 30));
  const TPixels upper = PixelsOf(c, Rect(2, 2, 15, 13), clBlack);
  const TPixels lower = PixelsOf(c, Rect(2, 17, 15, 28), clBlack);
  ASSERT_FALSE(upper.empty());
  ASSERT_FALSE(lower.empty());
  DrawEditButton(ebkSpin, ebfLowPressed, c, nullptr, Rect(0, 0, 17, 30));
  EXPECT_EQ(PixelsOf(c, Rect(2, 2, 15, 13), clBlack), upper);
  EXPECT_EQ(PixelsOf(c, Rect(2, 17, 15, 29), clBlack), Shifted(lower, 0, 1));
  EXPECT_EQ(c->Pixels(0, 20), kShadow) << "the lower frame is pressed (flat)";
  EXPECT_EQ(c->Pixels(0, 5), kLight);
}

TEST(DrawHelpers, CustomGlyphIsCentredAndKeepsColours) {
  auto glyph = Surface(4, 4, clLime);
  auto b = Surface(16, 16, clRed);
  TCanvas* c = b->Canvas();
  c->SetTextColor(clBlue);
  DrawEditButton(ebkCustom, 0, c, glyph.get(), Rect(0, 0, 16, 16));
  EXPECT_EQ(PixelsOf(c, Rect(0, 0, 16, 16), clLime).size(), 16u);
  EXPECT_EQ(c->Pixels(6, 6), clLime);
  EXPECT_EQ(c->Pixels(9, 9), clLime);
  EXPECT_EQ(c->TextColor(), clBlue);
  DrawEditButton(ebkCustom, ebfPressed, c, glyph.get(), Rect(0, 0, 16, 16));
  EXPECT_EQ(c->Pixels(6, 6), kFace);
  EXPECT_EQ(c->Pixels(6, 7), clLime);
  DrawEditButton(ebkCustom, ebfPressed | ebfFlat, c, glyph.get(), Rect(0, 0, 16, 16));
  EXPECT_EQ(c->Pixels(6, 6), clLime);
}

TEST(DrawHelpers, TextAlignment) {
  auto b = Surface(100, 40, clWhite);
  TCanvas* c = b->Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(clBlack);
  DrawTextAligned(c, Rect(0, 0, 100, 40), "&&", 1, 2, 0, 10, false, false, false);
  const TPixels ink = InkOf(c, Rect(0, 0, 100, 40));
  ASSERT_FALSE(ink.empty());
  int maxX = 0, minX = 100, maxY = 0;
  for (auto [x, y] : ink)
    maxX = std::max(maxX, x), minX = std::min(minX, x), maxY = std::max(maxY, y);
  EXPECT_LT(maxX, 90) << "right aligned inside the right indent";
  EXPECT_GT(minX, 50);
  EXPECT_GT(maxY, 25) << "at the bottom";
  b = Surface(100, 40, clWhite);
  c = b->Canvas();
  c->Brush()->SetStyle(bsClear);
  DrawTextAligned(c, Rect(0, 0, 100, 40), "ab", 0, 0, 20, 0, true, false, false);
  const TPixels wrapped = InkOf(c, Rect(0, 0, 100, 40));
  ASSERT_FALSE(wrapped.empty());
  for (auto [x, y] : wrapped) EXPECT_GE(x, 20);
}
