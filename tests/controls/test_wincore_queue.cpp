// The message queue, window life cycle, timers, focus and activation.
#include <cstring>

#include "wincore_test_util.h"

namespace brevant::test {
namespace {

using Queue = WinCoreTest;

TEST_F(Queue, SendPostPeekFilteringAndRemoval) {
  TRecorder a, b;
  HWND ha = TopLevel(a, Bounds(0, 0, 100, 100), WS_OVERLAPPED);
  HWND hb = TopLevel(b, Bounds(0, 0, 100, 100), WS_OVERLAPPED);
  a.Handler = [](TMessage& m) {
    if (m.Msg != WM_USER) return false;
    m.Result = LRESULT(m.WParam * 2);
    return true;
  };
  EXPECT_EQ(SendMessage(ha, WM_USER, 21), 42);
  EXPECT_EQ(SendMessage(9999, WM_USER, 1), 0);
  EXPECT_FALSE(PostMessage(9999, WM_USER));

  backend->Advance(5);
  ASSERT_TRUE(PostMessage(ha, WM_USER + 1, 1));
  ASSERT_TRUE(PostMessage(hb, WM_USER + 2, 2));
  ASSERT_TRUE(PostMessage(ha, WM_USER + 3, 3));
  TMsg m;
  // Filter by window: the first message of b, left in place.
  ASSERT_TRUE(PeekMessage(m, hb, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_USER + 2));
  ASSERT_TRUE(PeekMessage(m, hb, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_USER + 2));
  // Filter by range, removing from the middle of the queue.
  ASSERT_TRUE(PeekMessage(m, 0, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(m.WParam, 3u);
  EXPECT_EQ(m.Time, TOffscreenBackend::kStartTick + 5);
  EXPECT_EQ(GetMessageTime(), TOffscreenBackend::kStartTick + 5);
  EXPECT_FALSE(PeekMessage(m, 0, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_FALSE(PeekMessage(m, ha, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  // What is left comes in posting order.
  ASSERT_TRUE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_USER + 1));
  EXPECT_EQ(DispatchMessage(m), 0);
  ASSERT_TRUE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_USER + 2));
  EXPECT_FALSE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(a.Count(WM_USER + 1), 1);

  // The off-screen GetMessage answers WM_NULL when idle and false for WM_QUIT,
  // which ProcessPendingMessages leaves for the loop.
  ASSERT_TRUE(GetMessage(m));
  EXPECT_EQ(m.Message, Cardinal(WM_NULL));
  PostMessage(ha, WM_USER + 4);
  PostQuitMessage(3);
  Pump();
  EXPECT_EQ(a.Count(WM_USER + 4), 1);
  EXPECT_FALSE(GetMessage(m));
  EXPECT_EQ(m.Message, Cardinal(WM_QUIT));
  EXPECT_EQ(m.WParam, 3u);
}

TEST_F(Queue, CreationAndDestructionOrder) {
  TRecorder top, child, grandChild;
  HWND seenDuringCreate = 0;
  top.Handler = [&](TMessage& m) {
    if (m.Msg == WM_NCCREATE) seenDuringCreate = GetMessageWindow();
    return false;
  };
  HWND ht = TopLevel(top, Bounds(10, 10, 200, 100));
  ASSERT_NE(ht, 0);
  EXPECT_EQ(seenDuringCreate, ht);
  EXPECT_EQ(top.Seen({WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
            (std::vector<Cardinal>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  HWND hc = Child(child, ht, Bounds(5, 5, 50, 50));
  HWND hg = Child(grandChild, hc, Bounds(1, 1, 10, 10));
  EXPECT_TRUE(IsChild(ht, hg));
  EXPECT_EQ(GetTopLevel(hg), ht);
  EXPECT_EQ(GetParent(hg), hc);

  // A child without a valid parent is refused.
  TRecorder orphan;
  TCreateParams p;
  p.Style = WS_CHILD;
  p.WndParent = 12345;
  EXPECT_EQ(CreateWindowHandle(p, &orphan), 0);

  std::vector<std::pair<HWND, Cardinal>> order;
  auto log = [&](TRecorder& r) {
    r.Handler = [&order, &r](TMessage& m) {
      if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) order.push_back({r.Handle, m.Msg});
      return false;
    };
  };
  log(top);
  log(child);
  log(grandChild);
  PostMessage(hc, WM_USER);
  SetTimer(hg, 1, 10);
  DestroyWindow(ht);
  EXPECT_EQ(order, (std::vector<std::pair<HWND, Cardinal>>{{ht, WM_DESTROY},
                                                           {hc, WM_DESTROY},
                                                           {hg, WM_DESTROY},
                                                           {hg, WM_NCDESTROY},
                                                           {hc, WM_NCDESTROY},
                                                           {ht, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(ht));
  EXPECT_FALSE(IsWindow(hg));
  // Its queued messages and timers went with it; handles are not reused.
  backend->Advance(100);
  TMsg m;
  EXPECT_FALSE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  TRecorder next;
  EXPECT_GT(TopLevel(next, Bounds(0, 0, 10, 10)), hg);
}

TEST_F(Queue, WindowTextIsCopiedInWholeCharacters) {
  TRecorder r;
  HWND h = TopLevel(r, Bounds(0, 0, 50, 50));
  SetWindowText(h, "Chlo\xC3\xAB");  // the last character takes two bytes
  struct Row {
    const char* name;
    WPARAM size;
    const char* expected;
  };
  for (const Row& row : {Row{"room for all", 16, "Chlo\xC3\xAB"},
                         Row{"exactly enough", 7, "Chlo\xC3\xAB"}, Row{"one byte short", 6, "Chlo"},
                         Row{"half a character", 5, "Chlo"}, Row{"only the terminator", 1, ""}}) {
    char buf[16];
    std::memset(buf, 'x', sizeof buf);
    LRESULT n = SendMessage(h, WM_GETTEXT, row.size, reinterpret_cast<LPARAM>(buf));
    EXPECT_EQ(String(buf), row.expected) << row.name;
    EXPECT_EQ(n, LRESULT(std::strlen(row.expected))) << row.name;
  }
  EXPECT_EQ(SendMessage(h, WM_GETTEXT, 0, 0), 0);
}

// What the default window procedure answers, one row per case it handles.
TEST_F(Queue, DefaultProcedureAnswers) {
  TRecorder top, child;
  HWND t = TopLevel(top, Bounds(0, 0, 100, 80));
  HWND c = Child(child, t, Bounds(10, 10, 40, 30));
  struct TRow {
    const char* Name;  // what the row shows
    HWND Window;       // the window asked
    Cardinal Msg;      // the message
    WPARAM WParam;     // its parameters
    LPARAM LParam;
    LRESULT Expected;  // the answer
  };
  const TRow rows[] = {
      {"creation goes on", t, WM_NCCREATE, 0, 0, 1},
      {"the frame takes the activation", t, WM_NCACTIVATE, 1, 0, 1},
      {"a click activates a top-level window", t, WM_MOUSEACTIVATE, 0, 0, MA_ACTIVATE},
      {"a child asks its parent", c, WM_MOUSEACTIVATE, 0, 0, MA_ACTIVATE},
      {"nothing to erase without a canvas", t, WM_ERASEBKGND, 0, 0, 0},
      {"the arrow over the client area", t, WM_SETCURSOR, WPARAM(t),
       MakeLParam(HTCLIENT, WM_MOUSEMOVE), 1},
      {"the arrow over the frame is not taken", t, WM_SETCURSOR, WPARAM(t),
       MakeLParam(HTCAPTION, WM_MOUSEMOVE), 0},
      {"a parent does not decide a child's cursor", t, WM_SETCURSOR, WPARAM(c),
       MakeLParam(HTCLIENT, WM_MOUSEMOVE), 0},
      {"the wheel goes up to a parent that ignores it", c, WM_MOUSEWHEEL, 0, 0, 0},
      {"the caption is set", t, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Title"), 1},
      {"the caption's length", t, WM_GETTEXTLENGTH, 0, 0, 5},
      {"a message of the application answers 0", t, WM_USER + 1, 0, 0, 0},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(SendMessage(row.Window, row.Msg, row.WParam, row.LParam), row.Expected) << row.Name;

  // A press where no window answers beeps; the close command destroys the window.
  const Integer beeps = backend->BeepCount();
  SendMessage(t, WM_SETCURSOR, WPARAM(t), MakeLParam(HTERROR, WM_LBUTTONDOWN));
  EXPECT_EQ(backend->BeepCount(), beeps + 1);
  SendMessage(t, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(t));
  EXPECT_FALSE(IsWindow(c));
}

TEST_F(Queue, TimersFireInDueOrderOnVirtualTime) {
  TRecorder a;
  HWND h = TopLevel(a, Bounds(0, 0, 50, 50), WS_OVERLAPPED);
  std::vector<WPARAM> fired;
  a.Handler = [&](TMessage& m) {
    if (m.Msg == WM_TIMER) fired.push_back(m.WParam);
    return false;
  };
  SetTimer(h, 1, 30);
  SetTimer(h, 2, 20);
  SetTimer(h, 3, 25);
  Pump();
  EXPECT_TRUE(fired.empty());
  backend->Advance(19);
  Pump();
  EXPECT_TRUE(fired.empty());
  backend->Advance(11);  // all three due: earliest first
  Pump();
  EXPECT_EQ(fired, (std::vector<WPARAM>{2, 3, 1}));
  fired.clear();
  // A late timer fires once, not once per missed period.
  backend->Advance(500);
  Pump();
  EXPECT_EQ(fired.size(), 3u);
  fired.clear();
  EXPECT_TRUE(KillTimer(h, 2));
  EXPECT_FALSE(KillTimer(h, 2));
  SetTimer(h, 3, 100);  // restarts with the new period
  backend->Advance(30);
  Pump();
  EXPECT_EQ(fired, (std::vector<WPARAM>{1}));

  // WM_TIMER comes after posted messages and paints.
  fired.clear();
  backend->Advance(30);
  PostMessage(h, WM_USER);
  TMsg m;
  ASSERT_TRUE(PeekMessage(m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_USER));
  ASSERT_TRUE(PeekMessage(m, 0, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.Message, Cardinal(WM_TIMER));
  EXPECT_EQ(GetTickCount(), TOffscreenBackend::kStartTick + 19 + 11 + 500 + 30 + 30);
}

TEST_F(Queue, FocusOrderAndRefusals) {
  TRecorder top, a, b, hidden;
  HWND ht = TopLevel(top, Bounds(0, 0, 200, 200));
  HWND ha = Child(a, ht, Bounds(0, 0, 50, 50));
  HWND hb = Child(b, ht, Bounds(60, 0, 50, 50));
  HWND hh = Child(hidden, ht, Bounds(0, 60, 50, 50), WS_CHILD);
  EXPECT_EQ(GetActiveWindow(), ht);
  EXPECT_EQ(GetFocus(), ht);

  std::vector<std::tuple<HWND, Cardinal, WPARAM, HWND>> seq;
  auto log = [&](TRecorder& r) {
    r.Handler = [&seq, &r](TMessage& m) {
      if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS)
        seq.push_back({r.Handle, m.Msg, m.WParam, GetFocus()});
      return false;
    };
  };
  log(top);
  log(a);
  log(b);
  EXPECT_EQ(SetFocus(ha), ht);
  EXPECT_EQ(SetFocus(hb), ha);
  using E = std::tuple<HWND, Cardinal, WPARAM, HWND>;
  EXPECT_EQ(seq, (std::vector<E>{
                     E{ht, WM_KILLFOCUS, WPARAM(ha), ha}, E{ha, WM_SETFOCUS, WPARAM(ht), ha},
                     E{ha, WM_KILLFOCUS, WPARAM(hb), hb}, E{hb, WM_SETFOCUS, WPARAM(ha), hb}}));
  seq.clear();
  EXPECT_EQ(SetFocus(hb), hb);  // no messages for the same window
  EXPECT_TRUE(seq.empty());
  EXPECT_EQ(SetFocus(hh), 0);  // hidden
  EnableWindow(ha, false);
  EXPECT_EQ(SetFocus(ha), 0);  // disabled
  EXPECT_EQ(GetFocus(), hb);

  // A failing exit (an exception from WM_KILLFOCUS) keeps the focus.
  EnableWindow(ha, true);
  b.Handler = [](TMessage& m) {
    if (m.Msg == WM_KILLFOCUS) throw Exception("cannot leave");
    return false;
  };
  EXPECT_THROW(SetFocus(ha), Exception);
  EXPECT_EQ(GetFocus(), hb);
  b.Handler = nullptr;

  // Destroying the focused window hands the focus to its parent.
  DestroyWindow(hb);
  EXPECT_EQ(GetFocus(), ht);
  // Hiding moves it up as well.
  SetFocus(ha);
  ShowWindow(ha, SW_HIDE);
  EXPECT_EQ(GetFocus(), ht);
}

TEST_F(Queue, ActivationOfTopLevelWindows) {
  TRecorder one, two, popup, child2;
  HWND h1 = TopLevel(one, Bounds(0, 0, 100, 100));
  HWND h2 = TopLevel(two, Bounds(200, 0, 100, 100));
  HWND c2 = Child(child2, h2, Bounds(0, 0, 20, 20));
  EXPECT_EQ(GetActiveWindow(), h2);
  one.Clear();
  two.Clear();
  // SetFocus on a window of an inactive top-level activates it first.
  SetFocus(h1);
  EXPECT_EQ(GetActiveWindow(), h1);
  auto acts = two.Of(WM_ACTIVATE);
  ASSERT_EQ(acts.size(), 1u);
  EXPECT_EQ(LoWord(acts[0].WParam), WA_INACTIVE);
  EXPECT_EQ(acts[0].LParam, h1);
  acts = one.Of(WM_ACTIVATE);
  ASSERT_EQ(acts.size(), 1u);
  EXPECT_EQ(LoWord(acts[0].WParam), WA_ACTIVE);
  EXPECT_EQ(acts[0].LParam, h2);
  EXPECT_EQ(backend->FocusedWindow(), GetNativeWindow(h1));

  // A click activates (WA_CLICKACTIVE) after WM_MOUSEACTIVATE; the default
  // activation then focuses the window.
  one.Clear();
  backend->Click(Screen(c2, 5, 5));
  Pump();
  EXPECT_EQ(GetActiveWindow(), h2);
  EXPECT_EQ(child2.Count(WM_MOUSEACTIVATE), 1);
  EXPECT_EQ(LoWord(two.Of(WM_ACTIVATE).back().WParam), WA_CLICKACTIVE);
  EXPECT_EQ(child2.Count(WM_LBUTTONDOWN), 1);

  // A no-activate pop-up takes clicks without activation.
  HWND hp = TopLevel(popup, Bounds(400, 0, 50, 50), WS_POPUP | WS_VISIBLE,
                     WS_EX_NOACTIVATE | WS_EX_TOPMOST);
  EXPECT_EQ(GetActiveWindow(), h2);
  backend->Click(Screen(hp, 5, 5));
  Pump();
  EXPECT_EQ(GetActiveWindow(), h2);
  EXPECT_EQ(popup.Count(WM_MOUSEACTIVATE), 0);
  EXPECT_EQ(popup.Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(backend->Params(GetNativeWindow(hp)).Kind, nwkTooltip);

  // MA_NOACTIVATEANDEAT: no activation and the press is dropped.
  one.Handler = [](TMessage& m) {
    if (m.Msg != WM_MOUSEACTIVATE) return false;
    m.Result = MA_NOACTIVATEANDEAT;
    return true;
  };
  backend->Click(Screen(h1, 5, 5));
  Pump();
  EXPECT_EQ(GetActiveWindow(), h2);
  EXPECT_EQ(one.Count(WM_LBUTTONDOWN), 0);
  EXPECT_EQ(one.Count(WM_LBUTTONUP), 1);

  // Closing the active window activates another one.
  backend->RequestClose(GetNativeWindow(h2));
  Pump();
  EXPECT_FALSE(IsWindow(h2));
  EXPECT_EQ(GetActiveWindow(), h1);
}

TEST_F(Queue, OwnedWindowsStayAboveTheirOwner) {
  TRecorder formRec, popupRec, otherRec;
  HWND form = TopLevel(formRec, TRect(100, 100, 500, 400));
  TCreateParams p;
  p.Style = WS_POPUP | WS_VISIBLE;
  p.ExStyle = WS_EX_NOACTIVATE;
  p.X = 150;
  p.Y = 150;
  p.Width = 100;
  p.Height = 100;
  p.WndParent = form;  // the owner of a pop-up
  HWND popup = CreateWindowHandle(p, &popupRec);
  HWND other = TopLevel(otherRec, TRect(120, 120, 600, 600));
  Pump();
  ASSERT_EQ(WindowFromPoint({160, 160}), other) << "the newest window is on top";
  // Raising the owner brings its pop-up along, still above it.
  SetWindowPos(form, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(WindowFromPoint({160, 160}), popup);
  EXPECT_EQ(WindowFromPoint({400, 300}), form);
  // So does activating it with a click on the part the other window leaves.
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_EQ(WindowFromPoint({160, 160}), other);
  backend->Click({110, 300});
  Pump();
  EXPECT_EQ(WindowFromPoint({450, 350}), form);
  EXPECT_EQ(WindowFromPoint({160, 160}), popup);
}

}  // namespace
}  // namespace brevant::test
