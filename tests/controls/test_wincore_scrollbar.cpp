// Window scroll bars: state, visibility, and the mouse on arrows, track and
// thumb (with auto-repeat on the virtual clock).
#include "wincore_test_util.h"

namespace brevant::test {
namespace {

// A 300x200 window at (100, 100) with a vertical bar: the bar is x 283..300,
// arrows y 0..17 and 183..200, the track 17..183 (166 pixels).
class ScrollBar : public WinCoreTest {
 protected:
  TRecorder rec;
  HWND h = 0;
  std::vector<std::pair<Word, Integer>> codes;  // WM_VSCROLL code, position word

  void Make(Cardinal extraStyle = WS_VSCROLL) {
    h = TopLevel(rec, Bounds(100, 100, 300, 200), WS_OVERLAPPED | WS_VISIBLE | extraStyle);
    rec.Handler = [this](TMessage& m) {
      if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL)
        codes.push_back({LoWord(m.WParam), HiWord(m.WParam)});
      return false;
    };
    TScrollInfo si;
    si.Mask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.Min = 0;
    si.Max = 99;
    si.Page = 10;
    si.Pos = 0;
    SetScrollInfo(h, SB_VERT, si, true);
    Pump();
    codes.clear();
  }
  TPoint Bar(Integer y) { return {100 + 283 + 8, 100 + y}; }
};

TEST_F(ScrollBar, RangePagePositionAndVisibility) {
  TRecorder w;
  HWND hw = TopLevel(w, Bounds(0, 0, 200, 100));
  EXPECT_EQ(GetClientRect(hw), Rect(0, 0, 200, 100));
  w.Clear();
  TScrollInfo si;
  si.Mask = SIF_ALL;
  si.Min = 0;
  si.Max = 99;
  si.Page = 10;
  si.Pos = 500;
  EXPECT_EQ(SetScrollInfo(hw, SB_VERT, si, true), 90);  // Max - Page + 1
  EXPECT_TRUE(GetWindowLong(hw, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(GetClientRect(hw), Rect(0, 0, 183, 100));
  EXPECT_EQ(w.Of(WM_SIZE).back().LParam, MakeLParam(183, 100));
  EXPECT_EQ(GetScrollBarRect(hw, SB_VERT), Rect(183, 0, 200, 100));
  EXPECT_EQ(SendMessage(hw, WM_NCHITTEST, 0, PointToLParam({190, 50})), HTVSCROLL);
  TScrollInfo got;
  got.Mask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(hw, SB_VERT, got));
  EXPECT_EQ(got.Min, 0);
  EXPECT_EQ(got.Max, 99);
  EXPECT_EQ(got.Page, 10u);
  EXPECT_EQ(got.Pos, 90);
  EXPECT_EQ(got.TrackPos, 90);
  EXPECT_EQ(SetScrollPos(hw, SB_VERT, -5, true), 90);
  EXPECT_EQ(GetScrollPos(hw, SB_VERT), 0);
  // Without a page the position may reach Max.
  si.Mask = SIF_PAGE | SIF_POS;
  si.Page = 0;
  si.Pos = 99;
  EXPECT_EQ(SetScrollInfo(hw, SB_VERT, si, false), 99);
  // A page covering the whole range, or an empty range, hides the bar and
  // gives the client area back (and repaints the whole window).
  Pump();
  w.Clear();
  si.Mask = SIF_PAGE;
  si.Page = 100;
  SetScrollInfo(hw, SB_VERT, si, true);
  EXPECT_FALSE(GetWindowLong(hw, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(GetClientRect(hw), Rect(0, 0, 200, 100));
  EXPECT_EQ(GetScrollPos(hw, SB_VERT), 0);
  EXPECT_TRUE(IsRectEmpty(GetScrollBarRect(hw, SB_VERT)));
  TRect upd;
  EXPECT_TRUE(GetUpdateRect(hw, upd, false));
  EXPECT_EQ(upd, Rect(0, 0, 200, 100));
  // Unless asked to stay (disabled).
  si.Mask = SIF_RANGE | SIF_DISABLENOSCROLL;
  si.Min = 0;
  si.Max = 0;
  SetScrollInfo(hw, SB_VERT, si, true);
  EXPECT_TRUE(GetWindowLong(hw, GWL_STYLE) & WS_VSCROLL);
  // The horizontal bar takes the bottom, leaving a size box in the corner.
  SetScrollRange(hw, SB_HORZ, 0, 500, true);
  EXPECT_EQ(GetClientRect(hw), Rect(0, 0, 183, 83));
  EXPECT_EQ(GetScrollBarRect(hw, SB_HORZ), Rect(0, 83, 183, 100));
  EXPECT_EQ(GetScrollBarRect(hw, SB_VERT), Rect(183, 0, 200, 83));
  ShowScrollBar(hw, SB_BOTH, false);
  EXPECT_EQ(GetClientRect(hw), Rect(0, 0, 200, 100));
  Pump();
}

TEST_F(ScrollBar, ArrowsAndTrackSendTheirCodes) {
  Make();
  TNativeWindow n = GetNativeWindow(h);
  // The bar is drawn: arrow face and thumb differ from the track.
  EXPECT_EQ(backend->Pixel(n, 286, 3), ColorToRGB(clBtnFace));
  EXPECT_EQ(backend->Pixel(n, 290, 100), ColorToRGB(cl3DLight));
  backend->Click(Bar(5));
  backend->Click(Bar(195));
  backend->Click(Bar(120));  // below the thumb
  Pump();
  EXPECT_EQ(codes, (std::vector<std::pair<Word, Integer>>{{SB_LINEUP, 0},
                                                          {SB_ENDSCROLL, 0},
                                                          {SB_LINEDOWN, 0},
                                                          {SB_ENDSCROLL, 0},
                                                          {SB_PAGEDOWN, 0},
                                                          {SB_ENDSCROLL, 0}}));
  // The window never sees the presses as mouse messages of its own.
  EXPECT_EQ(rec.Count(WM_NCLBUTTONUP), 0);
  codes.clear();
  SetScrollPos(h, SB_VERT, 90, true);
  backend->Click(Bar(20));  // above the thumb
  Pump();
  EXPECT_EQ(codes, (std::vector<std::pair<Word, Integer>>{{SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}));
  // A horizontal bar sends WM_HSCROLL.
  TRecorder hw;
  HWND hh = TopLevel(hw, Bounds(500, 100, 200, 100), WS_OVERLAPPED | WS_VISIBLE | WS_HSCROLL);
  SetScrollRange(hh, SB_HORZ, 0, 50, true);
  Pump();
  backend->Click({500 + 195, 100 + 90});
  Pump();
  auto hs = hw.Of(WM_HSCROLL);
  ASSERT_EQ(hs.size(), 2u);
  EXPECT_EQ(LoWord(hs[0].WParam), SB_LINERIGHT);
  EXPECT_EQ(hs[0].LParam, 0);
}

TEST_F(ScrollBar, ThumbDragTracksAndReportsThePosition) {
  Make();
  TScrollInfo si;
  si.Mask = SIF_POS | SIF_TRACKPOS;
  // The thumb is 16 pixels (166 * 10 / 100) at 17..33; grab it at 25.
  backend->MouseDown(Bar(25));
  Pump();
  EXPECT_TRUE(codes.empty());
  EXPECT_TRUE(backend->MouseCaptured());
  // Thumb top at 92: 75 of 150 pixels of room, so 45 of 90.
  backend->MouseMove(Bar(100));
  Pump();
  ASSERT_EQ(codes.size(), 1u);
  EXPECT_EQ(codes[0], std::make_pair(Word(SB_THUMBTRACK), 45));
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, si));
  EXPECT_EQ(si.TrackPos, 45);
  EXPECT_EQ(si.Pos, 0);  // the position is the window's to set
  // Dragging far past the end and outside the bar clamps to the last position.
  backend->MouseMove({900, 700});
  Pump();
  EXPECT_EQ(codes.back(), std::make_pair(Word(SB_THUMBTRACK), 90));
  backend->MouseMove(Bar(60));  // thumb top at 52: 35 * 90 / 150 = 21
  backend->MouseUp(Bar(60));
  Pump();
  ASSERT_GE(codes.size(), 4u);
  EXPECT_EQ(codes[codes.size() - 3], std::make_pair(Word(SB_THUMBTRACK), 21));
  EXPECT_EQ(codes[codes.size() - 2], std::make_pair(Word(SB_THUMBPOSITION), 21));
  EXPECT_EQ(codes.back(), std::make_pair(Word(SB_ENDSCROLL), 0));
  EXPECT_FALSE(backend->MouseCaptured());
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, si));
  EXPECT_EQ(si.TrackPos, si.Pos);
  // Moves after the release are ordinary mouse messages again.
  rec.Clear();
  backend->MouseMove({150, 150});
  Pump();
  EXPECT_EQ(rec.Count(WM_MOUSEMOVE), 1);
}

// A changed position draws only the part of the bar the thumb left and
// reached, an unchanged look draws nothing, and the pixels always equal a
// full redraw of the frame.
TEST_F(ScrollBar, PositionChangesRedrawOnlyWhatMoved) {
  Make();
  auto bar = [&] {
    TCanvas* dc = GetWindowDC(h);
    std::vector<TColor> v;
    for (Integer y = 0; y < 200; ++y)
      for (Integer x = 283; x < 300; ++x) v.push_back(dc->Pixels(x, y));
    ReleaseDC(h, dc);
    return v;
  };
  struct TStep {
    const char* name;  // what changes
    Cardinal mask;     // the SIF_ bits set
    Integer max;       // new range end (with SIF_RANGE)
    Integer pos;       // new position
    bool drawn;        // whether anything is presented
  };
  // With 1,000 positions the thumb moves one pixel every six or so.
  const TStep steps[] = {
      {"a longer range", SIF_RANGE | SIF_POS, 999, 500, true},
      {"the same position", SIF_POS, 999, 500, false},
      {"a step inside one pixel", SIF_POS, 999, 501, false},
      {"a step the thumb follows", SIF_POS, 999, 520, true},
      {"a jump to the end", SIF_POS, 999, 990, true},
      {"a shorter range", SIF_RANGE | SIF_POS, 99, 0, true},
  };
  TNativeWindow native = GetNativeWindow(h);
  for (const TStep& step : steps) {
    TScrollInfo si;
    si.Mask = step.mask;
    si.Min = 0;
    si.Max = step.max;
    si.Pos = step.pos;
    const Integer presents = backend->PresentCount(native);
    SetScrollInfo(h, SB_VERT, si, true);
    EXPECT_EQ(backend->PresentCount(native) > presents, step.drawn) << step.name;
    if (step.drawn && step.mask == SIF_POS) {
      const TRect presented = backend->LastPresented(native);
      EXPECT_LT(presented.Height(), 183 - 17) << step.name << ": only the thumb's way";
    }
    const std::vector<TColor> drawn = bar();
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(bar(), drawn) << step.name;
  }
}

TEST_F(ScrollBar, HeldArrowRepeatsOnTheClock) {
  Make();
  auto lineDowns = [&] {
    return std::count(codes.begin(), codes.end(), std::make_pair(Word(SB_LINEDOWN), 0));
  };
  backend->MouseDown(Bar(190));
  Pump();
  EXPECT_EQ(lineDowns(), 1);
  backend->Advance(349);
  Pump();
  EXPECT_EQ(lineDowns(), 1);
  backend->Advance(1);
  Pump();
  EXPECT_EQ(lineDowns(), 2);
  backend->Advance(50);
  Pump();
  EXPECT_EQ(lineDowns(), 3);
  backend->Advance(49);
  Pump();
  EXPECT_EQ(lineDowns(), 3);
  // Off the arrow the repeat pauses; back on it, it goes on.
  backend->MouseMove(Bar(100));
  backend->Advance(51);
  Pump();
  EXPECT_EQ(lineDowns(), 3);
  backend->MouseMove(Bar(190));
  backend->Advance(50);
  Pump();
  EXPECT_EQ(lineDowns(), 4);
  backend->MouseUp(Bar(190));
  Pump();
  EXPECT_EQ(codes.back(), std::make_pair(Word(SB_ENDSCROLL), 0));
  backend->Advance(1000);
  Pump();
  EXPECT_EQ(lineDowns(), 4);
}

TEST_F(ScrollBar, HeldPageStopsWhenTheThumbReachesThePointer) {
  Make();
  rec.Handler = [this](TMessage& m) {
    if (m.Msg != WM_VSCROLL) return false;
    codes.push_back({LoWord(m.WParam), HiWord(m.WParam)});
    if (LoWord(m.WParam) == SB_PAGEDOWN)
      SetScrollPos(h, SB_VERT, GetScrollPos(h, SB_VERT) + 10, true);
    return true;
  };
  // The thumb starts at 17 + 150 * pos / 90; it covers y 158 once pos is 80.
  backend->MouseDown(Bar(158));
  Pump();
  for (int i = 0; i < 20; ++i) {
    backend->Advance(i == 0 ? 350 : 50);
    Pump();
  }
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 80);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), std::make_pair(Word(SB_PAGEDOWN), 0)), 8);
  backend->MouseUp(Bar(158));
  Pump();
  EXPECT_EQ(codes.back(), std::make_pair(Word(SB_ENDSCROLL), 0));
}

}  // namespace
}  // namespace brevant::test
