#include <gtest/gtest.h>

#include <chrono>

#include "graphics/canvas.h"
#include "graphics/canvas_saver.h"
#include "graphics_test_util.h"

using namespace brevant;
using brevant::test::FillPattern;
using brevant::test::TSurface;

TEST(Canvas, LineToExcludesTheEndPoint) {
  TSurface s(20, 20);
  TCanvas* c = s.Canvas();
  c->MoveTo(2, 2);
  c->LineTo(10, 2);
  EXPECT_EQ(s.At(2, 2), clBlack);
  EXPECT_EQ(s.At(9, 2), clBlack);
  EXPECT_EQ(s.At(10, 2), clWhite);
  EXPECT_EQ(c->PenPos(), Point(10, 2));
  c->LineTo(10, 8);  // continues from the excluded point, which it draws
  EXPECT_EQ(s.At(10, 2), clBlack);
  EXPECT_EQ(s.At(10, 7), clBlack);
  EXPECT_EQ(s.At(10, 8), clWhite);
  c->MoveTo(15, 15);
  c->LineTo(11, 11);  // diagonal, backwards
  for (Integer i = 12; i <= 15; ++i) EXPECT_EQ(s.At(i, i), clBlack) << i;
  EXPECT_EQ(s.At(11, 11), clWhite);
  c->MoveTo(1, 18);
  c->LineTo(1, 18);  // no length, no pixel
  EXPECT_EQ(s.At(1, 18), clWhite);
  // A shallow line steps one row once in the middle.
  c->MoveTo(0, 12);
  c->LineTo(8, 13);
  EXPECT_EQ(s.At(0, 12), clBlack);
  EXPECT_EQ(s.At(3, 12), clBlack);
  EXPECT_EQ(s.At(4, 13), clBlack);
  EXPECT_EQ(s.At(7, 13), clBlack);
  EXPECT_EQ(s.CountNot(Rect(0, 12, 9, 14), clWhite), 8);
}

TEST(Canvas, FillAndFrameCoverExactlyTheirPixels) {
  TSurface s(20, 20);
  TCanvas* c = s.Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(5, 5, 10, 8));
  EXPECT_EQ(s.CountNot(Rect(5, 5, 10, 8), clRed), 0);
  EXPECT_EQ(s.CountNot(Rect(0, 0, 20, 20), clWhite), 15);
  c->FillRect(Rect(12, 12, 10, 15));  // inverted: nothing
  c->FillRect(Rect(12, 12, 12, 15));  // empty: nothing
  EXPECT_EQ(s.CountNot(Rect(0, 0, 20, 20), clWhite), 15);

  TSurface f(20, 20);
  f.Canvas()->Brush()->SetColor(clBlue);
  f.Canvas()->FrameRect(Rect(2, 3, 8, 9));
  EXPECT_EQ(f.At(2, 3), clBlue);
  EXPECT_EQ(f.At(7, 8), clBlue);
  EXPECT_EQ(f.At(7, 3), clBlue);
  EXPECT_EQ(f.At(8, 3), clWhite);
  EXPECT_EQ(f.At(2, 9), clWhite);
  EXPECT_EQ(f.CountNot(Rect(3, 4, 7, 8), clWhite), 0);  // inside untouched
  EXPECT_EQ(f.CountNot(Rect(0, 0, 20, 20), clWhite), 2 * 6 + 2 * 4);
  f.Canvas()->FrameRect(Rect(12, 2, 13, 6));  // one pixel wide: a single column
  EXPECT_EQ(f.CountNot(Rect(12, 0, 13, 20), clWhite), 4);
}

TEST(Canvas, RectangleFramesWithPenAndFillsWithBrush) {
  TSurface s(20, 20);
  TCanvas* c = s.Canvas();
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clLime);
  c->Rectangle(2, 2, 8, 7);
  EXPECT_EQ(s.At(2, 2), clRed);
  EXPECT_EQ(s.At(7, 6), clRed);
  EXPECT_EQ(s.At(8, 6), clWhite);
  EXPECT_EQ(s.CountNot(Rect(3, 3, 7, 6), clLime), 0);
  // Without a pen the fill stops where the frame would be.
  c->Pen()->SetStyle(psClear);
  c->Rectangle(10, 10, 15, 15);
  EXPECT_EQ(s.CountNot(Rect(10, 10, 14, 14), clLime), 0);
  EXPECT_EQ(s.At(14, 14), clWhite);
  EXPECT_EQ(s.At(14, 10), clWhite);
}

TEST(Canvas, XorPenIsBitwiseAndDrawingTwiceRestores) {
  TSurface s(40, 30);
  FillPattern(s.Bitmap());
  auto before = s.Snapshot();
  TCanvas* c = s.Canvas();
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  std::uint32_t p = s.Bitmap()->ScanLine(5)[3] & 0xFFFFFF;
  c->MoveTo(3, 5);
  c->LineTo(3, 6);
  EXPECT_EQ(s.Bitmap()->ScanLine(5)[3] & 0xFFFFFF, ~p & 0xFFFFFF);
  c->MoveTo(3, 5);
  c->LineTo(3, 6);
  EXPECT_EQ(s.Snapshot(), before);
  // A two-pixel sizing line, shapes and dotted lines: twice is nothing.
  for (int round = 0; round < 2; ++round) {
    c->Pen()->SetWidth(2);
    c->MoveTo(20, 0);
    c->LineTo(20, 30);
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(clYellow);
    c->Rectangle(2, 2, 15, 12);
    c->Ellipse(16, 4, 36, 20);
    c->Polygon({Point(5, 25), Point(30, 15), Point(35, 29), Point(18, 27)});
    c->Pen()->SetStyle(psDot);
    c->MoveTo(0, 1);
    c->LineTo(39, 28);
    c->Pen()->SetStyle(psSolid);
    c->MoveTo(0, 28);
    c->LineTo(39, 3);
  }
  EXPECT_EQ(s.Snapshot(), before);
}

TEST(Canvas, PenModesAndDottedStyles) {
  TSurface s(30, 10, 0x0F0F0F);
  TCanvas* c = s.Canvas();
  c->Pen()->SetColor(0x00FF00);
  c->Pen()->SetMode(pmMerge);
  c->MoveTo(0, 0);
  c->LineTo(5, 0);
  EXPECT_EQ(s.At(0, 0), 0x0FFF0F);
  c->Pen()->SetMode(pmNot);
  c->MoveTo(0, 1);
  c->LineTo(5, 1);
  EXPECT_EQ(s.At(0, 1), 0xF0F0F0);
  c->Pen()->SetMode(pmNop);
  c->MoveTo(0, 2);
  c->LineTo(5, 2);
  EXPECT_EQ(s.At(0, 2), 0x0F0F0F);
  // Dots are three on, three off; gaps take the background colour when opaque.
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetStyle(psDot);
  c->SetBkMode(TRANSPARENT);
  c->MoveTo(0, 4);
  c->LineTo(12, 4);
  EXPECT_EQ(s.At(2, 4), clBlack);
  EXPECT_EQ(s.At(3, 4), 0x0F0F0F);
  EXPECT_EQ(s.At(6, 4), clBlack);
  c->SetBkMode(OPAQUE);
  c->SetBkColor(clRed);
  c->MoveTo(0, 6);
  c->LineTo(12, 6);
  EXPECT_EQ(s.At(4, 6), clRed);
  EXPECT_EQ(s.At(7, 6), clBlack);
  EXPECT_EQ(s.At(11, 6), clRed);
  // A clear pen draws nothing.
  c->Pen()->SetStyle(psClear);
  c->MoveTo(0, 8);
  c->LineTo(12, 8);
  EXPECT_EQ(s.CountNot(Rect(0, 8, 30, 9), 0x0F0F0F), 0);
}

TEST(Canvas, FocusRectIsDottedXorAndErasesItself) {
  TSurface s(20, 20);
  TCanvas* c = s.Canvas();
  auto before = s.Snapshot();
  c->DrawFocusRect(Rect(2, 2, 9, 7));
  // Default colours: text black, background white: even pixels inverted.
  ExpectPixels(s, {
                      {"top left corner", 2, 2, clBlack},
                      {"odd pixel on the top", 3, 2, clWhite},
                      {"even pixel on the top", 4, 2, clBlack},
                      {"top right corner", 8, 2, clBlack},
                      {"odd pixel on the left", 2, 3, clWhite},
                      {"even pixel on the left", 2, 4, clBlack},
                      {"bottom right corner", 8, 6, clBlack},
                      {"inside untouched", 5, 4, clWhite},
                  });
  EXPECT_EQ(s.CountNot(Rect(0, 0, 20, 20), clWhite), 10);
  c->DrawFocusRect(Rect(2, 2, 9, 7));
  EXPECT_EQ(s.Snapshot(), before);
  // Black background, white text (the suite's focus helper): the other parity.
  c->SetBkColor(clBlack);
  c->SetTextColor(clWhite);
  c->DrawFocusRect(Rect(2, 2, 9, 7));
  EXPECT_EQ(s.At(2, 2), clWhite);
  EXPECT_EQ(s.At(3, 2), clBlack);
  c->DrawFocusRect(Rect(2, 2, 9, 7));
  EXPECT_EQ(s.Snapshot(), before);
  c->DrawFocusRect(Rect(9, 9, 2, 2));  // inverted: nothing
  EXPECT_EQ(s.Snapshot(), before);
}

TEST(Canvas, ColorsSaverBringsBothColoursBackOnEveryExit) {
  TSurface s(4, 4);
  TCanvas* c = s.Canvas();
  c->SetTextColor(clRed);
  c->SetBkColor(clBlue);
  {
    TCanvasColorsSaver colors(*c);
    c->SetTextColor(clLime);
    c->SetBkColor(clYellow);
  }
  EXPECT_EQ(c->TextColor(), clRed);
  EXPECT_EQ(c->BkColor(), clBlue);
  auto failingDraw = [c] {
    TCanvasColorsSaver colors(*c);
    c->SetTextColor(clLime);
    c->SetBkColor(clYellow);
    throw EInvalidGraphicOperation("drawing failed");
  };
  EXPECT_THROW(failingDraw(), EInvalidGraphicOperation);
  EXPECT_EQ(c->TextColor(), clRed);
  EXPECT_EQ(c->BkColor(), clBlue);
}

TEST(Canvas, InvertRectIsBitwiseNot) {
  TSurface s(10, 10, 0x123456);
  s.Canvas()->InvertRect(Rect(1, 1, 4, 4));
  EXPECT_EQ(s.At(1, 1), 0xEDCBA9);
  EXPECT_EQ(s.At(4, 4), 0x123456);
  s.Canvas()->InvertRect(Rect(1, 1, 4, 4));
  EXPECT_EQ(s.CountNot(Rect(0, 0, 10, 10), 0x123456), 0);
}

TEST(Canvas, ClippingIntersectExcludeResetAndOrigin) {
  TSurface s(20, 20);
  TCanvas* c = s.Canvas();
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 20, 20));
  EXPECT_EQ(c->IntersectClipRect(Rect(5, 5, 15, 15)), SIMPLEREGION);
  EXPECT_EQ(c->ExcludeClipRect(Rect(8, 8, 10, 10)), COMPLEXREGION);
  EXPECT_EQ(c->ClipRect(), Rect(5, 5, 15, 15));
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 20, 20));
  ExpectPixels(s, {
                      {"first pixel of the clip", 5, 5, clRed},
                      {"last pixel of the clip", 14, 14, clRed},
                      {"left of the clip", 4, 5, clWhite},
                      {"right of the clip", 15, 14, clWhite},
                      {"excluded hole, first pixel", 8, 8, clWhite},
                      {"excluded hole, last pixel", 9, 9, clWhite},
                  });
  EXPECT_EQ(s.CountNot(Rect(0, 0, 20, 20), clWhite), 100 - 4);
  EXPECT_EQ(c->Pixels(4, 4), -1);  // outside the clip
  EXPECT_EQ(c->Pixels(5, 5), clRed);
  EXPECT_FALSE(c->PtVisible(Point(9, 9)));
  EXPECT_TRUE(c->RectVisible(Rect(0, 0, 6, 6)));
  c->ResetClip();
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 20, 20));
  EXPECT_EQ(c->Pixels(4, 4), clWhite);

  // The origin moves logical (0,0); clips are kept in device pixels.
  c->SetOrigin(Point(10, 10));
  EXPECT_EQ(c->ClipRect(), Rect(-10, -10, 10, 10));
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(s.At(10, 10), clBlue);
  EXPECT_EQ(s.At(11, 11), clBlue);
  EXPECT_EQ(s.At(12, 12), clRed);
  // A device clip survives ResetClip; SaveDC/RestoreDC bring back the user clip.
  c->SetOrigin(Point(0, 0));
  c->SetDeviceClip(TRegion(Rect(0, 0, 10, 20)));
  Integer level = c->SaveDC();
  c->IntersectClipRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 5, 5));
  c->ResetClip();
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 10, 20));
  c->IntersectClipRect(Rect(0, 0, 3, 3));
  EXPECT_TRUE(c->RestoreDC(level));
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 10, 20));
  EXPECT_FALSE(c->RestoreDC(level));
  EXPECT_EQ(c->IntersectClipRect(Rect(15, 0, 20, 5)), NULLREGION);
  EXPECT_EQ(c->ClipRect(), TRect());
}

TEST(Canvas, PixelsAndExternalBuffers) {
  // A caller-owned buffer with padding at the end of each row.
  std::vector<std::uint32_t> buf(8 * 4, 0xDEADBEEF);
  TObjectPtr<TCanvas> c(Create<TCanvas>(buf.data(), 6, 4, 8 * 4));
  c->SetPixels(0, 0, clRed);
  c->SetPixels(5, 3, 0x123456);
  EXPECT_EQ(buf[0] & 0xFFFFFF, 0xFF0000u);  // 0x00RRGGBB
  EXPECT_EQ(c->Pixels(5, 3), 0x123456);
  EXPECT_EQ(c->Pixels(6, 0), -1);
  EXPECT_EQ(c->Pixels(-1, 0), -1);
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(-100, -100, 100, 100));
  EXPECT_EQ(buf[6], 0xDEADBEEFu);  // padding untouched
  EXPECT_EQ(buf[7], 0xDEADBEEFu);
  EXPECT_THROW(c->SetSurface(buf.data(), 6, 4, 10), EInvalidGraphicOperation);
  EXPECT_THROW(c->SetSurface(buf.data(), 6, 4, 22), EInvalidGraphicOperation);
  EXPECT_THROW(c->SetSurface(buf.data(), 40000, 1, 160000), EInvalidGraphicOperation);
  // Without a surface nothing is drawn and nothing is read.
  c->SetSurface(nullptr, 0, 0, 0);
  EXPECT_FALSE(c->HasSurface());
  c->FillRect(Rect(0, 0, 5, 5));
  c->LineTo(5, 5);
  c->DrawFocusRect(Rect(0, 0, 5, 5));
  EXPECT_EQ(c->Pixels(0, 0), -1);
  EXPECT_EQ(c->ClipRect(), TRect());
  EXPECT_GT(c->TextWidth("abc"), 0);
}

TEST(Canvas, CopyRectStretchesMirrorsAndScrolls) {
  TSurface src(4, 4);
  FillPattern(src.Bitmap());
  TSurface dst(10, 10);
  dst.Canvas()->CopyRect(Rect(1, 1, 9, 9), src.Canvas(), Rect(0, 0, 4, 4));
  for (Integer y = 0; y < 8; ++y)
    for (Integer x = 0; x < 8; ++x) EXPECT_EQ(dst.At(1 + x, 1 + y), src.At(x / 2, y / 2));
  EXPECT_EQ(dst.At(0, 0), clWhite);
  EXPECT_EQ(dst.At(9, 9), clWhite);
  // Mirrored horizontally.
  dst.Canvas()->CopyRect(Rect(4, 0, 0, 4), src.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(dst.At(0, 0), src.At(3, 0));
  EXPECT_EQ(dst.At(3, 2), src.At(0, 2));
  // Xor copy mode twice restores.
  auto before = dst.Snapshot();
  dst.Canvas()->SetCopyMode(cmSrcInvert);
  dst.Canvas()->CopyRect(Rect(2, 2, 6, 6), src.Canvas(), Rect(0, 0, 4, 4));
  dst.Canvas()->CopyRect(Rect(2, 2, 6, 6), src.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(dst.Snapshot(), before);

  // Scrolling within one surface moves pixels, overlapping or not.
  TSurface s(6, 6);
  FillPattern(s.Bitmap(), 7);
  auto orig = s.Snapshot();
  s.Canvas()->ScrollRect(0, 2, Rect(0, 0, 6, 6), Rect(0, 0, 6, 6));
  for (Integer y = 2; y < 6; ++y)
    for (Integer x = 0; x < 6; ++x)
      EXPECT_EQ(s.Snapshot()[size_t(y * 6 + x)], orig[size_t((y - 2) * 6 + x)]);
  EXPECT_EQ(s.Snapshot()[0], orig[0]);  // uncovered rows keep their pixels
}

TEST(Canvas, OneToOneCopyKeepsOffsetsAndEdges) {
  TSurface src(6, 5);
  FillPattern(src.Bitmap(), 3);
  TSurface dst(10, 10);
  // The source rectangle runs past the source's right edge: those pixels
  // are left alone, the others land shifted by the offsets.
  dst.Canvas()->CopyRect(Rect(2, 3, 8, 6), src.Canvas(), Rect(3, 1, 9, 4));
  for (Integer y = 0; y < 3; ++y) {
    for (Integer x = 0; x < 3; ++x) EXPECT_EQ(dst.At(2 + x, 3 + y), src.At(3 + x, 1 + y));
    for (Integer x = 3; x < 6; ++x) EXPECT_EQ(dst.At(2 + x, 3 + y), clWhite);
  }
  EXPECT_EQ(dst.At(1, 3), clWhite);
  EXPECT_EQ(dst.At(2, 2), clWhite);
  EXPECT_EQ(dst.At(2, 6), clWhite);
  // A clip rectangle on the destination cuts the copy.
  TSurface clipped(10, 10);
  clipped.Canvas()->IntersectClipRect(Rect(0, 0, 4, 10));
  clipped.Canvas()->CopyRect(Rect(2, 0, 6, 4), src.Canvas(), Rect(0, 0, 4, 4));
  EXPECT_EQ(clipped.At(3, 1), src.At(1, 1));
  EXPECT_EQ(clipped.At(4, 1), clWhite);
}

// Fills and one-to-one copies run four pixels at a time: every run length
// and start around that step must cover exactly its pixels.
TEST(Canvas, FillsAndCopiesCoverEveryRunLengthExactly) {
  for (Integer left = 0; left < 4; ++left)
    for (Integer width = 1; width <= 11; ++width) {
      SCOPED_TRACE(testing::Message() << "left " << left << " width " << width);
      TSurface s(16, 3);
      s.Canvas()->Brush()->SetColor(clRed);
      s.Canvas()->FillRect(Rect(left, 1, left + width, 2));
      EXPECT_EQ(s.CountNot(Rect(left, 1, left + width, 2), clRed), 0);
      EXPECT_EQ(s.CountNot(Rect(0, 0, 16, 3), clWhite), width);

      TSurface src(16, 1);
      FillPattern(src.Bitmap(), 9);
      TSurface dst(16, 1);
      dst.Canvas()->CopyRect(Rect(left, 0, left + width, 1), src.Canvas(),
                             Rect(3, 0, 3 + width, 1));
      for (Integer x = 0; x < 16; ++x) {
        const bool inside = x >= left && x < left + width;
        EXPECT_EQ(dst.At(x, 0), inside ? src.At(x - left + 3, 0) : clWhite) << x;
      }
    }
}

// The unused top byte of a source pixel never reaches the destination,
// whether the copy comes from another surface or moves within one.
TEST(Canvas, CopiesClearTheUnusedTopByte) {
  std::vector<std::uint32_t> buf(9 * 3, 0xAB123456);
  TObjectPtr<TCanvas> src(Create<TCanvas>(buf.data(), 9, 3, 9 * 4));
  TSurface dst(9, 3);
  dst.Canvas()->CopyRect(Rect(0, 0, 9, 3), src.get(), Rect(0, 0, 9, 3));
  for (Integer x = 0; x < 9; ++x) EXPECT_EQ(dst.Bitmap()->ScanLine(1)[x], 0x123456u) << x;
  src->ScrollRect(2, 0, Rect(0, 0, 9, 3), Rect(0, 0, 9, 3));
  for (Integer x = 2; x < 9; ++x) EXPECT_EQ(buf[size_t(9 + x)], 0x123456u) << x;
  EXPECT_EQ(buf[9], 0xAB123456u);  // uncovered: left as it was
  src->ScrollRect(0, 1, Rect(0, 0, 9, 3), Rect(0, 0, 9, 3));
  for (Integer x = 0; x < 9; ++x) EXPECT_EQ(buf[size_t(18 + x)], 0x123456u) << x;
}

TEST(Canvas, ScrollInPlaceUpAndSideways) {
  struct TCase {
    const char* name;
    Integer dx, dy;
  };
  for (const TCase& c : {TCase{"up", 0, -2}, TCase{"right", 2, 0}, TCase{"left", -3, 0},
                         TCase{"down-left", -1, 1}}) {
    SCOPED_TRACE(c.name);
    TSurface s(7, 6);
    FillPattern(s.Bitmap(), 5);
    const auto orig = s.Snapshot();
    s.Canvas()->ScrollRect(c.dx, c.dy, Rect(0, 0, 7, 6), Rect(0, 0, 7, 6));
    const auto now = s.Snapshot();
    for (Integer y = 0; y < 6; ++y)
      for (Integer x = 0; x < 7; ++x) {
        const Integer sx = x - c.dx, sy = y - c.dy;
        const bool moved = sx >= 0 && sx < 7 && sy >= 0 && sy < 6;
        EXPECT_EQ(now[size_t(y * 7 + x)], orig[size_t(moved ? sy * 7 + sx : y * 7 + x)])
            << x << "," << y;
      }
  }
}

TEST(Canvas, EllipseAndPolygonStayInsideTheirBounds) {
  TSurface s(30, 30);
  TCanvas* c = s.Canvas();
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clLime);
  c->Ellipse(5, 5, 16, 12);
  EXPECT_EQ(s.InkBounds(clWhite), Rect(5, 5, 16, 12));
  EXPECT_EQ(s.At(10, 8), clLime);
  EXPECT_EQ(s.At(10, 5), clRed);
  EXPECT_EQ(s.At(5, 8), clRed);

  TSurface t(30, 30);
  t.Canvas()->Pen()->SetColor(clBlack);
  t.Canvas()->Brush()->SetColor(clBlack);
  t.Canvas()->Polygon({Point(2, 20), Point(12, 10), Point(22, 20)});
  EXPECT_EQ(t.InkBounds(clWhite), Rect(2, 10, 23, 21));
  EXPECT_EQ(t.At(12, 10), clBlack);
  EXPECT_EQ(t.At(12, 15), clBlack);
  EXPECT_EQ(t.At(12, 9), clWhite);
  EXPECT_EQ(t.At(3, 12), clWhite);
  t.Canvas()->Polygon({Point(1, 1)});  // too few points: nothing
  EXPECT_EQ(t.At(1, 1), clWhite);
}

TEST(Canvas, DrawEdgeColoursCornersAndAdjust) {
  TSurface s(30, 30, clBtnFace);
  TCanvas* c = s.Canvas();
  TRect r = Rect(2, 2, 12, 12);
  EXPECT_TRUE(c->DrawEdge(r, EDGE_RAISED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(r, Rect(4, 4, 10, 10));
  EXPECT_EQ(s.At(2, 2), ColorToRGB(cl3DLight));
  EXPECT_EQ(s.At(11, 2), ColorToRGB(cl3DDkShadow));  // top right belongs to the dark side
  EXPECT_EQ(s.At(2, 11), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(s.At(3, 3), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.At(10, 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(5, 5), ColorToRGB(clBtnFace));

  TRect sunk = Rect(14, 2, 20, 8);
  c->DrawEdge(sunk, BDR_SUNKENOUTER, BF_RECT);
  EXPECT_EQ(s.At(14, 2), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(19, 7), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(sunk, Rect(14, 2, 20, 8));  // no BF_ADJUST

  TRect flat = Rect(2, 14, 8, 20);
  c->DrawEdge(flat, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
  EXPECT_EQ(s.At(2, 14), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(7, 19), ColorToRGB(clBtnShadow));
  TRect mono = Rect(10, 14, 16, 20);
  c->DrawEdge(mono, BDR_SUNKENOUTER, BF_RECT | BF_MONO | BF_MIDDLE);
  EXPECT_EQ(s.At(15, 19), ColorToRGB(clWindowFrame));
  EXPECT_EQ(s.At(12, 16), ColorToRGB(clWindow));

  TSurface t(10, 10, clBtnFace);
  TRect top = Rect(0, 0, 10, 10);
  t.Canvas()->DrawEdge(top, BDR_RAISEDINNER, BF_TOP);  // inner alone sits on the rectangle
  EXPECT_EQ(t.CountNot(Rect(0, 0, 10, 1), ColorToRGB(clBtnHighlight)), 0);
  EXPECT_EQ(t.CountNot(Rect(0, 1, 10, 10), ColorToRGB(clBtnFace)), 0);
}

TEST(Canvas, FrameControlsCheckBoxAndArrow) {
  TSurface s(40, 20, clBtnFace);
  TCanvas* c = s.Canvas();
  EXPECT_TRUE(c->DrawFrameControl(Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
  EXPECT_TRUE(c->DrawFrameControl(Rect(15, 0, 28, 13), DFC_BUTTON, DFCS_BUTTONCHECK));
  EXPECT_EQ(s.At(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(12, 12), ColorToRGB(clBtnHighlight));
  // The seven-by-seven check mark has 21 black pixels on white.
  EXPECT_EQ(s.CountNot(Rect(2, 2, 11, 11), clWhite), 21);
  EXPECT_EQ(s.CountNot(Rect(2, 2, 11, 11), clBlack), 81 - 21);
  EXPECT_EQ(s.CountNot(Rect(17, 2, 26, 11), clWhite), 0);  // unchecked: empty white box
  // Three-state: grey mark on a halftone.
  TSurface g(13, 13, clBtnFace);
  g.Canvas()->DrawFrameControl(Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED);
  EXPECT_EQ(g.CountNot(Rect(2, 2, 11, 11), clBlack), 81);
  // A scroll arrow: a triangle in the button text colour, pointing up.
  TSurface a(17, 17, clWhite);
  a.Canvas()->DrawFrameControl(Rect(0, 0, 17, 17), DFC_SCROLL, DFCS_SCROLLUP);
  EXPECT_EQ(a.At(8, 6), clBlack);
  EXPECT_EQ(a.At(7, 6), ColorToRGB(clBtnFace));
  EXPECT_EQ(a.CountNot(Rect(4, 6, 13, 10), ColorToRGB(clBtnFace)), 1 + 3 + 5 + 7);
  EXPECT_FALSE(a.Canvas()->DrawFrameControl(Rect(0, 0, 5, 5), DFC_CAPTION, 0));
}

TEST(Canvas, HugeCoordinatesAreCheap) {
  TSurface s(20, 20);
  TCanvas* c = s.Canvas();
  auto start = std::chrono::steady_clock::now();
  c->MoveTo(-2000000000, 5);
  c->LineTo(2000000000, 5);
  c->MoveTo(-2000000000, -1999999990);
  c->LineTo(2000000000, 2000000010);
  c->Pen()->SetStyle(psDash);
  c->MoveTo(2000000000, 7);
  c->LineTo(-2000000000, 8);
  c->Pen()->SetStyle(psSolid);
  c->Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  c->Polygon({Point(INT32_MIN, INT32_MIN), Point(INT32_MAX, 0), Point(0, INT32_MAX)});
  c->Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  c->DrawFrameControl(Rect(-2000000000, -2000000000, 2000000000, 2000000000), DFC_BUTTON,
                      DFCS_BUTTONRADIO);
  c->DrawFrameControl(Rect(-2000000000, -2000000000, 2000000000, 2000000000), DFC_SCROLL, 0);
  c->SetOrigin(Point(INT32_MAX, INT32_MIN));
  c->FillRect(Rect(INT32_MIN, 0, INT32_MAX, 10));
  c->TextOut(INT32_MAX, INT32_MAX, "x");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 2.0);
  c->SetOrigin(Point(0, 0));
  EXPECT_EQ(s.At(0, 5), clBlack);
  EXPECT_EQ(s.At(19, 5), clBlack);
}

TEST(Region, StaysDisjointThroughUnionSubtractAndOffset) {
  TRegion r(Rect(0, 0, 10, 10));
  r.Union(Rect(5, 5, 15, 15));
  Integer area = 0;
  for (const TRect& a : r.Rects()) area += a.Width() * a.Height();
  EXPECT_EQ(area, 100 + 100 - 25);
  EXPECT_EQ(r.Bounds(), Rect(0, 0, 15, 15));
  EXPECT_EQ(r.Kind(), COMPLEXREGION);
  r.Subtract(Rect(2, 2, 4, 4));
  EXPECT_FALSE(r.Contains(Point(3, 3)));
  EXPECT_TRUE(r.Contains(Point(14, 14)));
  EXPECT_FALSE(r.Contains(Point(14, 0)));
  r.Intersect(Rect(0, 0, 3, 3));
  area = 0;
  for (const TRect& a : r.Rects()) area += a.Width() * a.Height();
  EXPECT_EQ(area, 9 - 1);
  r.Offset(INT32_MAX, 0);  // saturates: pushed off the coordinate range, nothing is left
  EXPECT_TRUE(r.IsEmpty());
  EXPECT_EQ(r.Kind(), NULLREGION);
  EXPECT_EQ(r.Bounds(), TRect());
}
