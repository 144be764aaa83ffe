// Painting: lazy WM_PAINT, the paint clip, narrow invalidation, child
// clipping, ScrollWindowEx and the non-client frame.
#include "graphics/region.h"
#include "wincore_test_util.h"

namespace brevant::test {
namespace {

using Paint = WinCoreTest;

TEST_F(Paint, PaintComesWhenIdleWithTheBoundingBoxAsClip) {
  TRecorder w;
  w.PaintColor = clBlue;
  HWND h = TopLevel(w, Bounds(0, 0, 200, 100));
  Pump();
  ASSERT_EQ(w.Paints.size(), 1u);
  EXPECT_EQ(w.Paints[0], TRect(0, 0, 200, 100));
  EXPECT_EQ(GetWindowPixel(h, 199, 99), clBlue);

  w.Paints.clear();
  w.PaintColor = clRed;
  TRect a = Rect(10, 10, 20, 20), b = Rect(50, 40, 60, 50);
  InvalidateRect(h, &a, false);
  InvalidateRect(h, &b, false);
  PostMessage(h, WM_USER);
  TRect upd;
  EXPECT_TRUE(GetUpdateRect(h, upd, false));
  EXPECT_EQ(upd, Rect(10, 10, 60, 50));
  // The posted message first; the paint only once the queue is empty.
  TMsg m;
  ASSERT_TRUE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_USER));
  ASSERT_TRUE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_PAINT));
  DispatchMessage(m);
  ASSERT_EQ(w.Paints.size(), 1u);
  EXPECT_EQ(w.Paints[0], Rect(10, 10, 60, 50));
  EXPECT_FALSE(GetUpdateRect(h, upd, false));
  EXPECT_FALSE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  // Inside the box (even between the two rectangles) painted, outside not.
  EXPECT_EQ(GetWindowPixel(h, 10, 10), clRed);
  EXPECT_EQ(GetWindowPixel(h, 35, 30), clRed);
  EXPECT_EQ(GetWindowPixel(h, 59, 49), clRed);
  EXPECT_EQ(GetWindowPixel(h, 60, 49), clBlue);
  EXPECT_EQ(GetWindowPixel(h, 9, 10), clBlue);
  // The painted box was presented.
  EXPECT_EQ(backend->LastPresented(GetNativeWindow(h)), Rect(10, 10, 60, 50));

  // A WM_PAINT handler that never validates does not paint forever.
  w.PaintColor = clNone;
  w.Handler = [](TMessage& m2) { return m2.Msg == WM_PAINT; };
  InvalidateRect(h, nullptr, false);
  Pump();
  EXPECT_FALSE(GetUpdateRect(h, upd, false));
  // Hidden windows keep no invalid area.
  ShowWindow(h, SW_HIDE);
  InvalidateRect(h, nullptr, true);
  EXPECT_FALSE(GetUpdateRect(h, upd, false));
}

TEST_F(Paint, NarrowInvalidationRepaintsOnlyThatRow) {
  TRecorder w;
  w.PaintColor = clBlue;
  HWND h = TopLevel(w, Bounds(0, 0, 800, 600));
  Pump();
  w.PaintColor = clLime;
  w.Paints.clear();
  TRect row = Rect(0, 100, 800, 120);
  InvalidateRect(h, &row, false);
  UpdateWindow(h);  // at once, without the queue
  ASSERT_EQ(w.Paints.size(), 1u);
  EXPECT_EQ(w.Paints[0], row);
  for (Integer x : {0, 400, 799}) {
    EXPECT_EQ(GetWindowPixel(h, x, 99), clBlue);
    EXPECT_EQ(GetWindowPixel(h, x, 100), clLime);
    EXPECT_EQ(GetWindowPixel(h, x, 119), clLime);
    EXPECT_EQ(GetWindowPixel(h, x, 120), clBlue);
  }
  EXPECT_EQ(backend->Pixel(GetNativeWindow(h), 5, 110), clLime);
}

TEST_F(Paint, ChildrenAreNotOverpaintedByTheirParent) {
  TRecorder parent, child, sibling;
  parent.PaintColor = clRed;
  child.PaintColor = clBlue;
  sibling.PaintColor = clYellow;
  HWND hp = TopLevel(parent, Bounds(0, 0, 200, 200));
  HWND hc = Child(child, hp, Bounds(50, 50, 40, 40));
  // A sibling above the child, overlapping it.
  HWND hs = Child(sibling, hp, Bounds(80, 80, 40, 40));
  Pump();
  EXPECT_EQ(GetWindowPixel(hp, 10, 10), clRed);
  EXPECT_EQ(GetWindowPixel(hp, 55, 55), clBlue);
  EXPECT_EQ(GetWindowPixel(hp, 85, 85), clYellow);  // the sibling above wins
  EXPECT_EQ(GetWindowPixel(hc, 35, 35), clYellow);

  parent.PaintColor = clGreen;
  child.Paints.clear();
  InvalidateRect(hp, nullptr, false);
  Pump();
  EXPECT_EQ(GetWindowPixel(hp, 10, 10), clGreen);
  EXPECT_EQ(GetWindowPixel(hp, 55, 55), clBlue);
  EXPECT_EQ(GetWindowPixel(hp, 100, 100), clYellow);
  EXPECT_TRUE(child.Paints.empty());

  // Moving the sibling away uncovers parts of the child and the parent.
  MoveWindow(hs, 150, 150, 40, 40);
  Pump();
  EXPECT_EQ(GetWindowPixel(hc, 35, 35), clBlue);
  EXPECT_EQ(GetWindowPixel(hp, 110, 110), clGreen);
  EXPECT_EQ(GetWindowPixel(hp, 160, 160), clYellow);
  // Hiding a child repaints the parent beneath it.
  ShowWindow(hc, SW_HIDE);
  Pump();
  EXPECT_EQ(GetWindowPixel(hp, 55, 55), clGreen);

  // A window region limits painting; GetDC is clipped to the visible part.
  ShowWindow(hc, SW_SHOW);
  Pump();
  TCanvas* dc = GetDC(hp);
  dc->Brush()->SetColor(clBlack);
  dc->FillRect(Rect(0, 0, 200, 200));
  ReleaseDC(hp, dc);
  EXPECT_EQ(GetWindowPixel(hp, 55, 55), clBlue);
  EXPECT_EQ(GetWindowPixel(hp, 10, 10), clBlack);
  TRegion shape(Rect(0, 0, 10, 10));
  SetWindowRgn(hc, &shape, true);
  Pump();
  EXPECT_EQ(GetWindowPixel(hc, 5, 5), clBlue);
  EXPECT_EQ(GetWindowPixel(hc, 20, 20), clGreen);
  EXPECT_EQ(WindowFromPoint(Screen(hp, 55, 55)), hc);
  EXPECT_EQ(WindowFromPoint(Screen(hp, 70, 70)), hp);
}

TEST_F(Paint, EraseUsesTheWindowBackground) {
  TRecorder w;
  HWND h = TopLevel(w, Bounds(0, 0, 50, 50));
  SetWindowBackground(h, clFuchsia);
  EXPECT_EQ(GetWindowBackground(h), clFuchsia);
  InvalidateRect(h, nullptr, true);
  Pump();
  EXPECT_EQ(GetWindowPixel(h, 25, 25), clFuchsia);
  EXPECT_GE(w.Count(WM_ERASEBKGND), 1);
  w.Clear();
  InvalidateRect(h, nullptr, false);
  Pump();
  EXPECT_EQ(w.Count(WM_ERASEBKGND), 0);
  EXPECT_EQ(w.Count(WM_PAINT), 1);
}

// Each row of the client painted with its own colour.
TColor RowColor(Integer y) {
  return RGB(Byte(y), Byte(255 - y), 7);
}

class RowPainter : public TRecorder {
 public:
  RowPainter() {
    Handler = [this](TMessage& m) {
      if (m.Msg != WM_PAINT) return false;
      TPaintStruct ps;
      TCanvas* c = BeginPaint(Handle, ps);
      Paints.push_back(ps.PaintRect);
      for (Integer y = ps.PaintRect.Top; y < ps.PaintRect.Bottom; ++y) {
        c->Brush()->SetColor(RowColor(y));
        c->FillRect(Rect(ps.PaintRect.Left, y, ps.PaintRect.Right, y + 1));
      }
      EndPaint(Handle, ps);
      return true;
    };
  }
};

TEST_F(Paint, ScrollWindowExMovesPixelsAndInvalidatesTheUncoveredStrip) {
  RowPainter w;
  HWND h = TopLevel(w, Bounds(0, 0, 100, 200));
  Pump();
  ASSERT_EQ(GetWindowPixel(h, 50, 30), RowColor(30));
  w.Paints.clear();

  // Up by 10 rows: row 30 now shows what row 40 showed.
  TRect upd;
  TRegion rgn;
  EXPECT_EQ(ScrollWindowEx(h, 0, -10, nullptr, nullptr, &rgn, &upd, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(upd, Rect(0, 190, 100, 200));
  EXPECT_EQ(GetWindowPixel(h, 50, 30), RowColor(40));
  EXPECT_EQ(GetWindowPixel(h, 0, 0), RowColor(10));
  EXPECT_EQ(GetWindowPixel(h, 99, 189), RowColor(199));
  TRect pending;
  ASSERT_TRUE(GetUpdateRect(h, pending, false));
  EXPECT_EQ(pending, Rect(0, 190, 100, 200));
  Pump();
  ASSERT_EQ(w.Paints.size(), 1u);
  EXPECT_EQ(w.Paints[0], Rect(0, 190, 100, 200));

  // Down by 15 inside a scroll rectangle: only that part moves.
  Pump();
  InvalidateRect(h, nullptr, false);
  Pump();
  w.Paints.clear();
  TRect part = Rect(0, 50, 100, 150);
  ScrollWindowEx(h, 0, 15, &part, &part, nullptr, &upd, SW_INVALIDATE);
  EXPECT_EQ(upd, Rect(0, 50, 100, 65));
  EXPECT_EQ(GetWindowPixel(h, 10, 49), RowColor(49));
  EXPECT_EQ(GetWindowPixel(h, 10, 65), RowColor(50));
  EXPECT_EQ(GetWindowPixel(h, 10, 149), RowColor(134));
  EXPECT_EQ(GetWindowPixel(h, 10, 150), RowColor(150));

  // A pending invalid part travels with the pixels; without SW_INVALIDATE
  // the uncovered strip is only reported.
  Pump();
  TRect bad = Rect(0, 100, 100, 110);
  InvalidateRect(h, &bad, false);
  ScrollWindowEx(h, 0, -20, nullptr, nullptr, nullptr, &upd, 0);
  EXPECT_EQ(upd, Rect(0, 180, 100, 200));
  ASSERT_TRUE(GetUpdateRect(h, pending, false));
  EXPECT_EQ(pending, Rect(0, 80, 100, 90));

  // Sideways, overlapping: columns move right.
  Pump();
  TCanvas* dc = GetDC(h);
  for (Integer x = 0; x < 100; ++x) {
    dc->Brush()->SetColor(RGB(Byte(x), 1, 2));
    dc->FillRect(Rect(x, 0, x + 1, 200));
  }
  ReleaseDC(h, dc);
  ScrollWindowEx(h, 7, 0, nullptr, nullptr, nullptr, &upd, SW_INVALIDATE);
  EXPECT_EQ(upd, Rect(0, 0, 7, 200));
  EXPECT_EQ(GetWindowPixel(h, 7, 5), RGB(0, 1, 2));
  EXPECT_EQ(GetWindowPixel(h, 99, 5), RGB(92, 1, 2));
}

// A scroll moves only the pixels of the rectangle asked: a child scrolling
// a strip of its own client leaves its parent, its sibling and its other
// pixels alone, and presents only the moved rectangle.
TEST_F(Paint, ScrollWindowExMovesOnlyTheRectangleAsked) {
  TRecorder parent, sibling;
  RowPainter child;
  parent.PaintColor = clRed;
  sibling.PaintColor = clBlue;
  HWND hp = TopLevel(parent, Bounds(0, 0, 200, 200));
  HWND hc = Child(child, hp, Bounds(20, 30, 100, 120));
  HWND hs = Child(sibling, hp, Bounds(130, 30, 40, 120));
  Pump();
  const TRect strip = Rect(10, 20, 60, 80);
  TRect upd;
  ScrollWindowEx(hc, 0, -5, &strip, &strip, nullptr, &upd, 0);
  EXPECT_EQ(upd, Rect(10, 75, 60, 80));
  // Inside the strip: moved up by 5 rows.
  EXPECT_EQ(GetWindowPixel(hc, 10, 20), RowColor(25));
  EXPECT_EQ(GetWindowPixel(hc, 59, 74), RowColor(79));
  // Beside, above and below it: as painted.
  for (TPoint p : {TPoint{9, 40}, TPoint{60, 40}, TPoint{30, 19}, TPoint{30, 80}, TPoint{99, 0}})
    EXPECT_EQ(GetWindowPixel(hc, p.X, p.Y), RowColor(p.Y)) << p.X << "," << p.Y;
  EXPECT_EQ(GetWindowPixel(hp, 5, 50), clRed);
  EXPECT_EQ(GetWindowPixel(hp, 125, 50), clRed);
  EXPECT_EQ(GetWindowPixel(hs, 5, 50), clBlue);
  // The moved rectangle, in the top-level window's coordinates.
  const TPoint origin = MapWindowPoint(hc, hp, {0, 0});
  EXPECT_EQ(backend->LastPresented(GetNativeWindow(hp)),
            Rect(origin.X + 10, origin.Y + 20, origin.X + 60, origin.Y + 75));
}

TEST_F(Paint, ScrollWindowExLeavesChildrenAloneOrMovesThem) {
  TRecorder parent, child;
  parent.PaintColor = clRed;
  child.PaintColor = clBlue;
  HWND hp = TopLevel(parent, Bounds(0, 0, 100, 100));
  HWND hc = Child(child, hp, Bounds(10, 10, 20, 20));
  Pump();
  TRect upd;
  // Without SW_SCROLLCHILDREN the child's pixels stay and its area does not
  // become a source: what would have come from under it is invalid.
  ScrollWindowEx(hp, 0, 20, nullptr, nullptr, nullptr, &upd, SW_INVALIDATE);
  EXPECT_EQ(GetWindowPixel(hc, 5, 5), clBlue);
  TRegion pending;
  ASSERT_TRUE(GetUpdateRgn(hp, pending));
  EXPECT_TRUE(pending.Contains({15, 35}));   // under where the child was
  EXPECT_TRUE(pending.Contains({50, 5}));    // the uncovered strip
  EXPECT_FALSE(pending.Contains({50, 50}));  // moved pixels stay valid
  Pump();
  // With it, the child moves along.
  ScrollWindowEx(hp, 5, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_SCROLLCHILDREN);
  Pump();
  EXPECT_EQ(GetWindowRect(hc), Bounds(15, 10, 20, 20));
  EXPECT_EQ(GetWindowPixel(hp, 12, 15), clRed);
  EXPECT_EQ(GetWindowPixel(hp, 16, 15), clBlue);
}

TEST_F(Paint, NonClientFrameAndHitTest) {
  TRecorder w, edged;
  HWND hp = TopLevel(w, Bounds(100, 100, 300, 200));
  HWND h = Child(edged, hp, Bounds(10, 10, 100, 80), WS_CHILD | WS_VISIBLE | WS_BORDER,
                 WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetClientRect(h), Rect(0, 0, 94, 74));
  EXPECT_EQ(GetClientRectInWindow(h), Rect(3, 3, 97, 77));
  EXPECT_EQ(ClientToScreen(h, {0, 0}), TPoint(113, 113));
  EXPECT_EQ(ScreenToClient(h, {113, 113}), TPoint(0, 0));
  EXPECT_EQ(MapWindowPoint(h, hp, {0, 0}), TPoint(13, 13));
  EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam({113, 113})), HTCLIENT);
  EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam({111, 111})), HTBORDER);
  EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam({109, 111})), HTNOWHERE);
  Pump();
  EXPECT_GE(edged.Count(WM_NCPAINT), 1);
  TNativeWindow n = GetNativeWindow(h);
  // The border is the window frame colour, then the sunken edge's shadow
  // (surface coordinates: the child's frame starts at 10, 10).
  EXPECT_EQ(backend->Pixel(n, 10, 40), ColorToRGB(clWindowFrame));
  EXPECT_EQ(backend->Pixel(n, 11, 40), ColorToRGB(clBtnShadow));
  EXPECT_EQ(backend->Pixel(n, 12, 40), ColorToRGB(cl3DDkShadow));

  // Style changes apply on SWP_FRAMECHANGED and report the new client size.
  edged.Clear();
  SetWindowLong(h, GWL_EXSTYLE, 0);
  EXPECT_EQ(GetClientRect(h), Rect(0, 0, 94, 74));
  SetWindowPos(h, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(GetClientRect(h), Rect(0, 0, 98, 78));
  auto sizes = edged.Of(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].LParam, MakeLParam(98, 78));
}

TEST_F(Paint, ReparentingAndZOrder) {
  TRecorder one, two, a, b;
  one.PaintColor = clRed;
  two.PaintColor = clGreen;
  a.PaintColor = clBlue;
  b.PaintColor = clYellow;
  HWND h1 = TopLevel(one, Bounds(0, 0, 100, 100));
  HWND h2 = TopLevel(two, Bounds(200, 0, 100, 100));
  HWND ha = Child(a, h1, Bounds(10, 10, 30, 30));
  HWND hb = Child(b, h1, Bounds(20, 20, 30, 30));
  Pump();
  EXPECT_EQ(GetChildWindows(h1), (std::vector<HWND>{hb, ha}));
  EXPECT_EQ(GetWindowPixel(h1, 25, 25), clYellow);
  // Raising a sibling repaints it over the other.
  SetWindowPos(ha, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  EXPECT_EQ(GetChildWindows(h1), (std::vector<HWND>{ha, hb}));
  EXPECT_EQ(GetWindowPixel(h1, 25, 25), clBlue);
  SetWindowPos(ha, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  EXPECT_EQ(GetWindowPixel(h1, 25, 25), clYellow);

  // Moving a child to another top-level keeps its position in the new
  // parent's client coordinates, repaints the old place and paints the new.
  EXPECT_EQ(SetParent(hb, h2), h1);
  Pump();
  EXPECT_EQ(GetParent(hb), h2);
  EXPECT_EQ(GetTopLevel(hb), h2);
  EXPECT_EQ(GetWindowRect(hb), Bounds(220, 20, 30, 30));
  EXPECT_EQ(GetWindowPixel(h1, 45, 45), clRed);
  EXPECT_EQ(GetWindowPixel(h2, 25, 25), clYellow);
  EXPECT_EQ(SetParent(h2, hb), 0);  // no cycles
  // A child becomes a top-level window of its own and back.
  SetParent(ha, 0);
  EXPECT_NE(GetNativeWindow(ha), GetNativeWindow(h1));
  EXPECT_FALSE(GetWindowLong(ha, GWL_STYLE) & WS_CHILD);
  Pump();
  EXPECT_EQ(GetWindowPixel(ha, 5, 5), clBlue);
  TNativeWindow own = GetNativeWindow(ha);
  SetParent(ha, h1);
  EXPECT_FALSE(backend->IsNativeWindow(own));
  Pump();
  EXPECT_EQ(GetWindowPixel(h1, 15, 15), clBlue);
}

}  // namespace
}  // namespace brevant::test
