// The window manager's hot paths on the off-screen backend: posting and
// dispatching a message, and repainting one narrow row of a large window.
#include <benchmark/benchmark.h>

#include <memory>

#include "backend/offscreen_backend.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"

namespace {

using namespace brevant;

class TBenchWindow : public IWindowProc {
 public:
  HWND Handle = 0;
  Integer Counter = 0;
  void WndProc(TMessage& m) override {
    if (!Handle) Handle = GetMessageWindow();
    switch (m.Msg) {
      case WM_USER:
        ++Counter;
        return;
      case WM_PAINT: {
        TPaintStruct ps;
        TCanvas* c = BeginPaint(Handle, ps);
        c->Brush()->SetColor((Counter++ & 1) ? clNavy : clTeal);
        c->FillRect(ps.PaintRect);
        EndPaint(Handle, ps);
        return;
      }
      case WM_ERASEBKGND:
        m.Result = 1;
        return;
      default:
        m.Result = DefWindowProc(Handle, m.Msg, m.WParam, m.LParam);
    }
  }
};

HWND MakeWindow(TBenchWindow& w, Integer width, Integer height) {
  ResetWindowManager();
  SetBackend(std::make_unique<TOffscreenBackend>());
  TCreateParams p;
  p.Style = WS_OVERLAPPED | WS_VISIBLE;
  p.Width = width;
  p.Height = height;
  HWND h = CreateWindowHandle(p, &w);
  ProcessPendingMessages();
  return h;
}

void BM_PostAndDispatch(benchmark::State& state) {
  TBenchWindow w;
  HWND h = MakeWindow(w, 100, 100);
  TMsg m;
  for (auto _ : state) {
    PostMessage(h, WM_USER);
    PeekMessage(m, 0, 0, 0, PM_REMOVE);
    DispatchMessage(m);
  }
  benchmark::DoNotOptimize(w.Counter);
  ResetWindowManager();
}
BENCHMARK(BM_PostAndDispatch);

// An 800x600 window invalidates one 20-pixel row and updates at once; its
// WM_PAINT fills that row.
void BM_InvalidateUpdate(benchmark::State& state) {
  TBenchWindow w;
  HWND h = MakeWindow(w, 800, 600);
  Integer row = 0;
  for (auto _ : state) {
    TRect r(0, row, 800, row + 20);
    InvalidateRect(h, &r, false);
    UpdateWindow(h);
    row = (row + 20) % 600;
  }
  benchmark::DoNotOptimize(w.Counter);
  ResetWindowManager();
}
BENCHMARK(BM_InvalidateUpdate);

}  // namespace
