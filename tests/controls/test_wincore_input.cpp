// Input translation: mouse routing, capture, double clicks, the wheel, keys
// and characters, and the off-screen backend's injection API.
#include "graphics/bitmap.h"
#include "wincore_test_util.h"

namespace brevant::test {
namespace {

using Input = WinCoreTest;

TEST_F(Input, MouseMessagesInClientCoordinatesWithKeyFlags) {
  TRecorder top, child;
  HWND ht = TopLevel(top, Bounds(100, 50, 300, 200));
  HWND hc = Child(child, ht, Bounds(20, 30, 100, 100), WS_CHILD | WS_VISIBLE | WS_BORDER);
  Pump();
  child.Clear();
  backend->MouseMove({100 + 20 + 1 + 5, 50 + 30 + 1 + 6});
  backend->MouseDown({126, 87}, bbLeft, bmShift);
  backend->MouseUp({126, 87}, bbLeft);
  Pump();
  EXPECT_EQ(
      child.Seen({WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}),
      (std::vector<Cardinal>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCHITTEST, WM_SETCURSOR,
                             WM_LBUTTONDOWN, WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONUP}));
  auto down = child.Of(WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(LParamToPoint(down[0].LParam), TPoint(5, 6));
  EXPECT_EQ(down[0].WParam, WPARAM(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(child.Of(WM_LBUTTONUP)[0].WParam, 0u);
  auto setCursor = child.Of(WM_SETCURSOR);
  EXPECT_EQ(setCursor[1].WParam, WPARAM(hc));
  EXPECT_EQ(LoWord(WPARAM(setCursor[1].LParam)), HTCLIENT);
  EXPECT_EQ(HiWord(WPARAM(setCursor[1].LParam)), WM_LBUTTONDOWN);
  EXPECT_EQ(backend->CursorShape(), crArrow);
  EXPECT_EQ(GetCursorPos(), TPoint(126, 87));
  EXPECT_EQ(GetMessagePos(), TPoint(126, 87));

  // On the border: the non-client message with the hit code and screen point.
  child.Clear();
  backend->Click({120, 85});
  Pump();
  auto nc = child.Of(WM_NCLBUTTONDOWN);
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].WParam, WPARAM(HTBORDER));
  EXPECT_EQ(LParamToPoint(nc[0].LParam), TPoint(120, 85));
  EXPECT_EQ(child.Count(WM_LBUTTONDOWN), 0);

  // Disabled windows get nothing; transparent ones let the click through.
  top.Clear();
  child.Clear();
  EnableWindow(hc, false);
  backend->Click({126, 87});
  Pump();
  EXPECT_EQ(child.Count(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(top.Count(WM_LBUTTONDOWN), 0);
  EnableWindow(hc, true);
  child.Handler = [](TMessage& m) {
    if (m.Msg != WM_NCHITTEST) return false;
    m.Result = HTTRANSPARENT;
    return true;
  };
  backend->Click({126, 87});
  Pump();
  EXPECT_EQ(child.Count(WM_LBUTTONDOWN), 0);
  auto topDown = top.Of(WM_LBUTTONDOWN);
  ASSERT_EQ(topDown.size(), 1u);
  EXPECT_EQ(LParamToPoint(topDown[0].LParam), TPoint(26, 37));
}

TEST_F(Input, CaptureRoutesEveryMouseMessage) {
  TRecorder top, a, b;
  HWND ht = TopLevel(top, Bounds(0, 0, 400, 300));
  HWND ha = Child(a, ht, Bounds(10, 10, 50, 50));
  HWND hb = Child(b, ht, Bounds(200, 10, 50, 50));
  a.Handler = [&](TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN) SetCapture(ha);
    if (m.Msg == WM_LBUTTONUP) ReleaseCapture();
    return false;
  };
  Pump();
  // Press, drag over b and beyond the top-level window, release there; all
  // of it is translated only as the previous message is done with.
  backend->MouseDown({20, 20});
  backend->MouseMove({210, 20});
  backend->MouseMove({500, 500});
  backend->MouseUp({500, 500});
  backend->MouseMove({210, 20});
  Pump();
  auto moves = a.Of(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(LParamToPoint(moves[0].LParam), TPoint(200, 10));
  EXPECT_EQ(LParamToPoint(moves[1].LParam), TPoint(490, 490));
  EXPECT_EQ(moves[1].WParam, WPARAM(MK_LBUTTON));
  EXPECT_EQ(a.Count(WM_LBUTTONUP), 1);
  EXPECT_EQ(a.Count(WM_CAPTURECHANGED), 1);
  EXPECT_EQ(GetCapture(), 0);
  EXPECT_EQ(b.Count(WM_MOUSEMOVE), 1);  // the last move, after the release
  EXPECT_FALSE(backend->MouseCaptured());

  // Taking the capture away tells the loser who has it now.
  SetCapture(ha);
  EXPECT_TRUE(backend->MouseCaptured());
  a.Clear();
  EXPECT_EQ(SetCapture(hb), ha);
  auto lost = a.Of(WM_CAPTURECHANGED);
  ASSERT_EQ(lost.size(), 1u);
  EXPECT_EQ(lost[0].LParam, hb);
  DestroyWindow(hb);
  EXPECT_EQ(GetCapture(), 0);
}

TEST_F(Input, DoubleClickTimingDistanceAndClassStyle) {
  TRecorder dbl, plain;
  HWND hd = TopLevel(dbl, Bounds(0, 0, 100, 100), WS_OVERLAPPED | WS_VISIBLE, 0, CS_DBLCLKS);
  HWND hp = TopLevel(plain, Bounds(200, 0, 100, 100));
  Pump();
  auto kinds = [](const TRecorder& r) {
    return r.Seen({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN});
  };
  backend->DoubleClick(Screen(hd, 10, 10));
  Pump();
  EXPECT_EQ(kinds(dbl), (std::vector<Cardinal>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
  // A third press starts over.
  backend->Click(Screen(hd, 10, 10));
  Pump();
  EXPECT_EQ(kinds(dbl).back(), Cardinal(WM_LBUTTONDOWN));
  dbl.Clear();
  // Too late: two single clicks; just in time: a double click.
  backend->Advance(1000);
  backend->Click(Screen(hd, 10, 10));
  backend->Advance(GetDoubleClickTime() + 1);
  backend->Click(Screen(hd, 10, 10));
  backend->Advance(GetDoubleClickTime());
  backend->Click(Screen(hd, 10, 10));
  Pump();
  EXPECT_EQ(kinds(dbl), (std::vector<Cardinal>{WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
  dbl.Clear();
  // Distance: within half the double-click rectangle on each side.
  backend->Advance(1000);
  backend->Click(Screen(hd, 10, 10));
  backend->Click(Screen(hd, 12, 8));
  backend->Advance(1000);
  backend->Click(Screen(hd, 10, 10));
  backend->Click(Screen(hd, 13, 10));
  // Another button does not pair with the first.
  backend->Advance(1000);
  backend->Click(Screen(hd, 10, 10));
  backend->Click(Screen(hd, 10, 10), bbRight);
  Pump();
  EXPECT_EQ(kinds(dbl), (std::vector<Cardinal>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN,
                                               WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN}));
  // Without CS_DBLCLKS there are only presses.
  backend->DoubleClick(Screen(hp, 10, 10));
  Pump();
  EXPECT_EQ(kinds(plain), (std::vector<Cardinal>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(Input, WheelGoesToTheFocusAndUpToTheParent) {
  TRecorder top, child;
  HWND ht = TopLevel(top, Bounds(0, 0, 200, 200));
  HWND hc = Child(child, ht, Bounds(0, 0, 50, 50));
  SetFocus(hc);
  Pump();
  // The pointer is over the top-level window, not the child: the focus wins.
  backend->Wheel({150, 150}, -WHEEL_DELTA, bmCtrl);
  Pump();
  auto w = child.Of(WM_MOUSEWHEEL);
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(HiSmall(LPARAM(w[0].WParam)), -WHEEL_DELTA);
  EXPECT_EQ(LoWord(w[0].WParam), MK_CONTROL);
  EXPECT_EQ(LParamToPoint(w[0].LParam), TPoint(150, 150));
  // The child left it to the default procedure, which passed it up.
  auto up = top.Of(WM_MOUSEWHEEL);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].WParam, w[0].WParam);
  child.Handler = [](TMessage& m) { return m.Msg == WM_MOUSEWHEEL; };
  backend->Wheel({150, 150}, 2 * WHEEL_DELTA);
  Pump();
  EXPECT_EQ(top.Count(WM_MOUSEWHEEL), 1);
  EXPECT_EQ(HiSmall(LPARAM(child.Of(WM_MOUSEWHEEL).back().WParam)), 240);
}

TEST_F(Input, KeysAndCharactersInOrderWithTheirBits) {
  TRecorder w;
  HWND h = TopLevel(w, Bounds(0, 0, 100, 100));
  Pump();
  ASSERT_EQ(GetFocus(), h);
  w.Clear();
  const std::initializer_list<Cardinal> keys = {WM_KEYDOWN,    WM_KEYUP,    WM_CHAR,
                                                WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};
  backend->TypeText("aB");
  Pump();
  EXPECT_EQ(w.Seen(keys),
            (std::vector<Cardinal>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  auto chars = w.Of(WM_CHAR);
  EXPECT_EQ(chars[0].WParam, WPARAM('a'));
  EXPECT_EQ(chars[1].WParam, WPARAM('B'));
  auto downs = w.Of(WM_KEYDOWN);
  EXPECT_EQ(downs[0].WParam, WPARAM('A'));
  EXPECT_EQ(downs[0].LParam, 1);
  auto ups = w.Of(WM_KEYUP);
  EXPECT_EQ(ups[0].LParam, 1 | KF_PREVDOWN_BIT | KF_UP_BIT);

  // Return has no text event: TranslateMessage makes its character, which
  // still comes before the key-up. Ctrl+letters make control characters.
  w.Clear();
  backend->PressKey(VK_RETURN);
  backend->PressKey('C', bmCtrl);
  Pump();
  EXPECT_EQ(w.Seen(keys),
            (std::vector<Cardinal>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  chars = w.Of(WM_CHAR);
  EXPECT_EQ(chars[0].WParam, 13u);
  EXPECT_EQ(chars[1].WParam, 3u);

  // Alt: system keys with the context bit; repeats carry the previous-state bit.
  w.Clear();
  backend->KeyDown(VK_MENU);
  backend->KeyDown('X', 0);
  backend->KeyDown('X', 0, true);
  backend->KeyUp('X');
  backend->KeyUp(VK_MENU);
  backend->KeyDown(VK_DOWN, 0);
  backend->KeyDown(VK_DOWN, 0, true);
  Pump();
  EXPECT_EQ(w.Seen(keys),
            (std::vector<Cardinal>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYDOWN,
                                   WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP, WM_KEYDOWN, WM_KEYDOWN}));
  auto sys = w.Of(WM_SYSKEYDOWN);
  EXPECT_EQ(sys[1].WParam, WPARAM('X'));
  EXPECT_EQ(sys[1].LParam, 1 | KF_ALTDOWN_BIT);
  EXPECT_EQ(sys[2].LParam, 1 | KF_ALTDOWN_BIT | KF_PREVDOWN_BIT);
  EXPECT_EQ(w.Of(WM_SYSCHAR)[0].WParam, WPARAM('x'));
  auto arrows = w.Of(WM_KEYDOWN);
  EXPECT_EQ(arrows[0].LParam, 1);
  EXPECT_EQ(arrows[1].LParam, 1 | KF_PREVDOWN_BIT);
  EXPECT_LT(GetKeyState(VK_DOWN), 0);
  EXPECT_GE(GetKeyState(VK_MENU), 0);

  // A handler can take the pending character of its key-down off the queue;
  // the key state is the one of the message being handled.
  w.Clear();
  bool shiftSeen = false;
  w.Handler = [&](TMessage& m) {
    if (m.Msg != WM_KEYDOWN || m.WParam != 'Q') return false;
    shiftSeen = GetKeyState(VK_SHIFT) < 0;
    TMsg pending;
    EXPECT_TRUE(PeekMessage(pending, h, WM_CHAR, WM_CHAR, PM_REMOVE));
    return true;
  };
  backend->KeyDown(VK_SHIFT);
  backend->PressKey('Q');
  backend->KeyUp(VK_SHIFT);
  Pump();
  EXPECT_TRUE(shiftSeen);
  EXPECT_EQ(w.Count(WM_CHAR), 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(Input, OffscreenBackendTools) {
  TRecorder w;
  HWND h = TopLevel(w, Bounds(10, 20, 64, 32));
  w.PaintColor = clRed;
  Pump();
  TNativeWindow n = GetNativeWindow(h);
  EXPECT_TRUE(backend->IsShown(n));
  EXPECT_EQ(backend->NativeBounds(n), Bounds(10, 20, 64, 32));
  EXPECT_EQ(backend->WindowAt({12, 22}), n);
  EXPECT_EQ(backend->WindowAt({5, 5}), 0);
  EXPECT_EQ(backend->Pixel(n, 0, 0), clRed);
  EXPECT_EQ(backend->Pixel(n, 64, 0), -1);
  String png = ::testing::TempDir() + "wincore_offscreen.png";
  backend->SavePng(n, png);
  TBitmap bmp;
  bmp.LoadFromFile(png);
  EXPECT_EQ(bmp.Width(), 64);
  EXPECT_EQ(bmp.Canvas()->Pixels(3, 3), clRed);

  SetWindowText(h, "Caption");
  EXPECT_EQ(GetWindowText(h), "Caption");
  EXPECT_EQ(backend->Caption(n), "Caption");

  SetClipboardText("clip");
  EXPECT_TRUE(HasClipboardText());
  EXPECT_EQ(GetClipboardText(), "clip");
  SetClipboardBitmap(bmp);
  EXPECT_TRUE(HasClipboardBitmap());
  EXPECT_FALSE(HasClipboardText());
  TBitmap back;
  ASSERT_TRUE(GetClipboardBitmap(back));
  EXPECT_EQ(back.Height(), 32);
  SetClipboardText("again");
  EXPECT_FALSE(HasClipboardBitmap());

  // Moving the pointer makes a move event, as on a real system.
  w.Clear();
  SetCursorPos({20, 30});
  Pump();
  ASSERT_EQ(w.Count(WM_MOUSEMOVE), 1);
  EXPECT_EQ(LParamToPoint(w.Of(WM_MOUSEMOVE)[0].LParam), TPoint(10, 10));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);

  // Characters without a key arrive as text only; the user's resize reaches
  // the window as a size change.
  w.Clear();
  backend->TypeText("é");
  backend->UserSetBounds(n, Bounds(10, 20, 100, 40));
  Pump();
  EXPECT_EQ(w.Seen({WM_KEYDOWN, WM_CHAR}), (std::vector<Cardinal>{WM_CHAR}));
  EXPECT_EQ(w.Of(WM_CHAR)[0].WParam, 0xE9u);
  EXPECT_EQ(GetClientRect(h), Rect(0, 0, 100, 40));
  EXPECT_EQ(w.Of(WM_SIZE).back().LParam, MakeLParam(100, 40));
  EXPECT_EQ(GetWindowPixel(h, 99, 39), clRed);

  // Alt+F4 closes the window through WM_SYSCOMMAND.
  backend->KeyDown(VK_MENU);
  backend->KeyDown(VK_F4);
  Pump();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(backend->IsNativeWindow(n));
}

}  // namespace
}  // namespace brevant::test
