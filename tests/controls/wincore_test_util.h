// Shared pieces of the window-manager tests: a fresh off-screen backend per
// test and a window procedure that records what it receives.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "backend/offscreen_backend.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"

namespace brevant::test {

class TRecorder : public IWindowProc {
 public:
  HWND Handle = 0;
  std::vector<TMsg> Log;
  // Runs first; answering true skips the default handling.
  std::function<bool(TMessage&)> Handler;
  // When not clNone, WM_PAINT fills the paint rectangle with this colour.
  TColor PaintColor = clNone;
  std::vector<TRect> Paints;

  void WndProc(TMessage& m) override {
    if (!Handle) Handle = GetMessageWindow();
    Log.push_back({Handle, m.Msg, m.WParam, m.LParam, 0, {}});
    if (Handler && Handler(m)) return;
    if (m.Msg == WM_PAINT && PaintColor != clNone) {
      TPaintStruct ps;
      TCanvas* c = BeginPaint(Handle, ps);
      Paints.push_back(ps.PaintRect);
      c->Brush()->SetColor(PaintColor);
      c->FillRect(ps.PaintRect);
      EndPaint(Handle, ps);
      return;
    }
    m.Result = DefWindowProc(Handle, m.Msg, m.WParam, m.LParam);
  }

  // The logged messages among those listed, in order.
  std::vector<Cardinal> Seen(std::initializer_list<Cardinal> which) const {
    std::vector<Cardinal> r;
    for (const auto& m : Log)
      if (std::find(which.begin(), which.end(), m.Message) != which.end()) r.push_back(m.Message);
    return r;
  }
  std::vector<TMsg> Of(Cardinal msg) const {
    std::vector<TMsg> r;
    for (const auto& m : Log)
      if (m.Message == msg) r.push_back(m);
    return r;
  }
  int Count(Cardinal msg) const { return int(Of(msg).size()); }
  void Clear() { Log.clear(); }
};

class WinCoreTest : public ::testing::Test {
 protected:
  TOffscreenBackend* backend = nullptr;

  void SetUp() override {
    ResetWindowManager();
    auto b = std::make_unique<TOffscreenBackend>();
    b->SetScreenRect(TRect(0, 0, 1024, 768));
    backend = b.get();
    SetBackend(std::move(b));
  }
  void TearDown() override { ResetWindowManager(); }

  // A top-level window at a screen rectangle.
  HWND TopLevel(TRecorder& rec, const TRect& r, Cardinal style = WS_OVERLAPPED | WS_VISIBLE,
                Cardinal exStyle = 0, Cardinal classStyle = 0) {
    TCreateParams p;
    p.Style = style;
    p.ExStyle = exStyle;
    p.ClassStyle = classStyle;
    p.X = r.Left;
    p.Y = r.Top;
    p.Width = r.Width();
    p.Height = r.Height();
    rec.Handle = 0;
    HWND h = CreateWindowHandle(p, &rec);
    rec.Handle = h;
    return h;
  }
  HWND Child(TRecorder& rec, HWND parent, const TRect& r, Cardinal style = WS_CHILD | WS_VISIBLE,
             Cardinal exStyle = 0, Cardinal classStyle = 0) {
    TCreateParams p;
    p.Style = style | WS_CHILD;
    p.ExStyle = exStyle;
    p.ClassStyle = classStyle;
    p.X = r.Left;
    p.Y = r.Top;
    p.Width = r.Width();
    p.Height = r.Height();
    p.WndParent = parent;
    rec.Handle = 0;
    HWND h = CreateWindowHandle(p, &rec);
    rec.Handle = h;
    return h;
  }
  // Pumps until nothing is pending.
  void Pump() { ProcessPendingMessages(); }
  TPoint Screen(HWND h, Integer x, Integer y) { return ClientToScreen(h, {x, y}); }
};

}  // namespace brevant::test
