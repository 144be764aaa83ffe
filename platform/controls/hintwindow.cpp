// THintWindow: the hint pop-up.
#include "controls/hintwindow.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"

namespace brevant {

namespace {
constexpr Integer kTextMargin = 2;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  color_ = clInfoBk;
  Brush()->SetColor(color_);
  SetParentFont(false);
  Font()->SetColor(clInfoText);
  Canvas()->SetFont(Font());
}

void THintWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  params.ClassStyle |= CS_SAVEBITS;
  params.WndParent = 0;
}

void THintWindow::WMNCHitTest(TMessage& m) {
  // Clicks go through to what is below.
  m.Result = HTTRANSPARENT;
}

TRect THintWindow::CalcHintRect(Integer maxWidth, const String& hint, void*) {
  Canvas()->SetFont(Font());
  TRect r(0, 0, std::max<Integer>(maxWidth, 1), 0);
  Canvas()->DrawText(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  // Text margins inside, the frame outside.
  r.Right += 2 * kTextMargin + 2 + 4;
  r.Bottom += 2 + 2 + 2;
  return r;
}

void THintWindow::ActivateHint(TRect rect, const String& hint) {
  SetCaption(hint);
  // Keep the window on the screen.
  TRect screen = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (rect.Right > screen.Right) OffsetRect(rect, screen.Right - rect.Right, 0);
  if (rect.Left < screen.Left) OffsetRect(rect, screen.Left - rect.Left, 0);
  if (rect.Bottom > screen.Bottom) OffsetRect(rect, 0, screen.Bottom - rect.Bottom);
  if (rect.Top < screen.Top) OffsetRect(rect, 0, screen.Top - rect.Top);
  SetBoundsRect(rect);
  HandleNeeded();
  brevant::SetWindowPos(Handle(), HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                        SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetVisible(true);
  Invalidate();
  Update();
}

void THintWindow::ActivateHintData(TRect rect, const String& hint, void*) {
  ActivateHint(rect, hint);
}

void THintWindow::ReleaseHandle() {
  SetVisible(false);
  if (HandleAllocated()) DestroyHandle();
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  c->SetFont(Font());
  c->SetBkMode(TRANSPARENT);
  r.Left += kTextMargin;
  r.Top += 1;
  c->DrawText(Caption(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

BV_PUBLISH(THintWindow, TCustomControl) {}

}  // namespace brevant
