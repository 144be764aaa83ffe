// TznToolFormBG: window style, frame, sizing by the edges, key hand-over,
// activation and system commands of the drop-down's background window.
#include "bv_vtf/tool_form_bg.h"

#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"

namespace brevant {

namespace {

bool IsLeftEdge(Integer ht) {
  return ht == HTLEFT || ht == HTTOPLEFT || ht == HTBOTTOMLEFT;
}
bool IsTopEdge(Integer ht) {
  return ht == HTTOP || ht == HTTOPLEFT || ht == HTTOPRIGHT;
}
bool IsSizingEdge(Integer ht) {
  return ht >= HTLEFT && ht <= HTBOTTOMRIGHT;
}

// With a fixed height the top and bottom edges are client area and the
// corners their left or right edge; with a fixed width likewise.
Integer ApplyFixed(Integer ht, TvtfOptions options) {
  if (options.Contains(tfoFixedHeight)) {
    if (ht == HTTOP || ht == HTBOTTOM) return HTCLIENT;
    if (ht == HTTOPLEFT || ht == HTBOTTOMLEFT) return HTLEFT;
    if (ht == HTTOPRIGHT || ht == HTBOTTOMRIGHT) return HTRIGHT;
  }
  if (options.Contains(tfoFixedWidth)) {
    if (ht == HTLEFT || ht == HTRIGHT) return HTCLIENT;
    if (ht == HTTOPLEFT || ht == HTTOPRIGHT) return HTTOP;
    if (ht == HTBOTTOMLEFT || ht == HTBOTTOMRIGHT) return HTBOTTOM;
  }
  return ht;
}

// The edge facing the edit cannot be dragged; its corners become the
// edges beside it.
Integer ApplyFacing(Integer ht, bool beside, bool opposite) {
  struct TFacing {
    Integer Edge, Corner1, Edge1, Corner2, Edge2;
  };
  static constexpr TFacing kFacing[4] = {
      {HTTOP, HTTOPLEFT, HTLEFT, HTTOPRIGHT, HTRIGHT},           // below the edit
      {HTBOTTOM, HTBOTTOMLEFT, HTLEFT, HTBOTTOMRIGHT, HTRIGHT},  // above it
      {HTLEFT, HTTOPLEFT, HTTOP, HTBOTTOMLEFT, HTBOTTOM},        // right of it
      {HTRIGHT, HTTOPRIGHT, HTTOP, HTBOTTOMRIGHT, HTBOTTOM}};    // left of it
  const TFacing& f = kFacing[(beside ? 2 : 0) + (opposite ? 1 : 0)];
  if (ht == f.Edge) return HTCLIENT;
  if (ht == f.Corner1) return f.Edge1;
  if (ht == f.Corner2) return f.Edge2;
  return ht;
}

}  // namespace

TznToolFormBG::TznToolFormBG(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
}

bool TznToolFormBG::Focusable() const {
  return toolForm_ && toolForm_->Options().Contains(tfoFocusable);
}

TvtfOptions TznToolFormBG::ToolFormOptions() const {
  return toolForm_ ? toolForm_->Options() : TvtfOptions{};
}

bool TznToolFormBG::Sizable() const {
  const TvtfOptions o = ToolFormOptions();
  return !(o.Contains(tfoFixedWidth) && o.Contains(tfoFixedHeight));
}

Integer TznToolFormBG::FrameWidth() const {
  return Sizable() ? 2 : 1;
}

// A top-level tool window above the others that saves what it covers; a
// non-focusable one never becomes the active window.
void TznToolFormBG::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.Style = WS_POPUP | WS_CLIPCHILDREN | (Visible() ? Cardinal(WS_VISIBLE) : 0u);
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  if (!Focusable()) params.ExStyle |= WS_EX_NOACTIVATE;
  params.ClassStyle |= CS_SAVEBITS;
  params.WndParent = 0;
}

void TznToolFormBG::DoClose(TCloseAction& action) {
  TForm::DoClose(action);
  action = caFree;
}

void TznToolFormBG::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_NCLBUTTONDOWN:
      if (StartSizing(m)) return;
      break;
    case WM_MOUSEMOVE:
      if (sizingEdge_) return TrackSizing(m);
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (sizingEdge_) return EndSizing(m);
      break;
    default:
      break;
  }
  TForm::WndProc(m);
}

// ---- frame ----

void TznToolFormBG::WMNCCalcSize(TMessage& m) {
  if (auto* r = reinterpret_cast<TRect*>(m.LParam)) InflateRect(*r, -FrameWidth(), -FrameWidth());
  m.Result = 0;
}

void TznToolFormBG::WMNCPaint(TMessage& m) {
  m.Result = 0;
  if (!HandleAllocated()) return;
  TCanvas* dc = GetWindowDC(WindowHandle());
  if (!dc) return;
  const TRect wr = GetWindowRect(WindowHandle());
  TRect r(0, 0, wr.Width(), wr.Height());
  dc->Brush()->SetColor(Color());
  for (Integer i = 1; i < FrameWidth(); ++i) dc->FrameRect(Rect(i, i, r.Right - i, r.Bottom - i));
  switch (frameStyle_) {
    case 1:
      dc->Brush()->SetColor(clWindowFrame);
      dc->FrameRect(r);
      break;
    case 2:
      dc->DrawEdge(r, BDR_RAISEDOUTER, BF_RECT | BF_FLAT);
      break;
    default:
      dc->DrawEdge(r, BDR_RAISEDOUTER, BF_RECT);
      break;
  }
  ReleaseDC(WindowHandle(), dc);
}

// ---- sizing ----

Integer TznToolFormBG::RawHitTest(TPoint p) const {
  if (!HandleAllocated()) return HTNOWHERE;
  const TRect wr = GetWindowRect(WindowHandle());
  if (!PtInRect(wr, p)) return HTNOWHERE;
  const Integer fw = FrameWidth();
  const bool left = p.X < wr.Left + fw, right = p.X >= wr.Right - fw;
  const bool top = p.Y < wr.Top + fw, bottom = p.Y >= wr.Bottom - fw;
  if (!left && !right && !top && !bottom) return HTCLIENT;
  if (!Sizable()) return HTBORDER;
  if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : HTRIGHT;
}

Integer TznToolFormBG::SizingHitTest(TPoint screenPos) const {
  Integer ht = RawHitTest(screenPos);
  if (!IsSizingEdge(ht)) return ht;
  ht = ApplyFixed(ht, ToolFormOptions());
  const bool beside = toolForm_ && toolForm_->Side() == tfpRightCenter;
  return ApplyFacing(ht, beside, opposite_);
}

void TznToolFormBG::WMNCHitTest(TMessage& m) {
  m.Result = SizingHitTest(LParamToPoint(m.LParam));
}

bool TznToolFormBG::StartSizing(TMessage& m) {
  const Integer ht = static_cast<Integer>(m.WParam);
  if (!IsSizingEdge(ht) || !HandleAllocated()) return false;
  sizingEdge_ = ht;
  sizingStart_ = LParamToPoint(m.LParam);
  sizingRect_ = GetWindowRect(WindowHandle());
  SetCapture(WindowHandle());
  m.Result = 0;
  return true;
}

// The dragged edges follow the pointer; OnSizing sees the proposed size and
// the rectangle takes the size it returns, on the dragged sides.
void TznToolFormBG::TrackSizing(TMessage& m) {
  const TPoint p = ClientToScreen(LParamToPoint(m.LParam));
  const Integer dx = p.X - sizingStart_.X, dy = p.Y - sizingStart_.Y;
  TRect r = sizingRect_;
  const Integer ht = sizingEdge_;
  const bool left = IsLeftEdge(ht), top = IsTopEdge(ht);
  const bool horz = ht != HTTOP && ht != HTBOTTOM, vert = ht != HTLEFT && ht != HTRIGHT;
  if (horz) (left ? r.Left : r.Right) += dx;
  if (vert) (top ? r.Top : r.Bottom) += dy;
  TznSizingInfo info{r.Width(), r.Height()};
  if (toolForm_) toolForm_->OnSizing(toolForm_, info);
  // The constraints apply here, so the side not dragged stays put.
  Constraints()->Constrain(info.Width, info.Height);
  if (left)
    r.Left = r.Right - info.Width;
  else
    r.Right = r.Left + info.Width;
  if (top)
    r.Top = r.Bottom - info.Height;
  else
    r.Bottom = r.Top + info.Height;
  SetBoundsRect(r);
  m.Result = 0;
}

void TznToolFormBG::EndSizing(TMessage& m) {
  const bool captured = m.Msg != WM_CAPTURECHANGED;
  sizingEdge_ = 0;
  if (captured) ReleaseCapture();
  m.Result = 0;
}

// ---- keys ----

void TznToolFormBG::KeyDown(Word& key, TShiftState shift) {
  TForm::KeyDown(key, shift);
  if (key == 0 || !Focusable()) return;
  toolForm_->KeyDown(key, shift);
  if (key == 0 || !toolForm_) return;
  const TvtfOptions o = toolForm_->Options();
  const bool altDown = key == VK_DOWN && shift.Contains(ssAlt);
  if (altDown || (key == VK_RETURN && !o.Contains(tfoNoAutoPost)) ||
      (key == VK_ESCAPE && !o.Contains(tfoNoAutoCancel))) {
    const Word handed = key;
    key = 0;
    HandToEdit(handed, altDown);
    return;
  }
  if (EditShortCut(key, shift)) key = 0;
}

// The served edit receives the key as if typed there, so it closes the
// drop-down accepting or discarding as it would for its own key.
void TznToolFormBG::HandToEdit(Word key, bool alt) {
  TWinControl* edit = toolForm_->EditControl();
  if (!edit || !edit->HandleAllocated()) return;
  SendMessage(edit->WindowHandle(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key,
              1 | (alt ? KF_ALTDOWN_BIT : 0));
}

// Shift+Delete / Ctrl+X cut, Ctrl+Insert / Ctrl+C copy, Shift+Insert /
// Ctrl+V paste; true when OnEditAction took it.
bool TznToolFormBG::EditShortCut(Word key, TShiftState shift) {
  const TShiftState mods = shift * TShiftState{ssShift, ssCtrl, ssAlt};
  const bool shiftOnly = mods == TShiftState{ssShift}, ctrlOnly = mods == TShiftState{ssCtrl};
  TznEditAction action = 0;
  if ((shiftOnly && key == VK_DELETE) || (ctrlOnly && key == 'X'))
    action = eaCut;
  else if ((ctrlOnly && key == VK_INSERT) || (ctrlOnly && key == 'C'))
    action = eaCopy;
  else if ((shiftOnly && key == VK_INSERT) || (ctrlOnly && key == 'V'))
    action = eaPaste;
  if (action == 0 || !toolForm_->OnEditAction) return false;
  toolForm_->OnEditAction(toolForm_, action);
  return true;
}

void TznToolFormBG::KeyPress(char32_t& key) {
  TForm::KeyPress(key);
  if (key != 0 && Focusable()) toolForm_->OnKeyPress(toolForm_, key);
}

// Accelerators: OnShortCut first; what remains goes (focusable) to the
// edit's form; an Alt accelerator counts as handled either way.
void TznToolFormBG::CMDialogChar(TMessage& m) {
  const bool alt = (m.LParam & KF_ALTDOWN_BIT) != 0;
  Word key = static_cast<Word>(m.WParam);
  if (toolForm_) toolForm_->OnShortCut(toolForm_, key);
  m.Result = key == 0 ? 1 : 0;
  if (key != 0 && Focusable())
    if (TCustomForm* form = toolForm_->EditForm())
      m.Result = form->Perform(CM_DIALOGCHAR, key, m.LParam);
  if (alt) m.Result = 1;
}

// ---- activation and system commands ----

// A focusable drop-down keeps the edit's form caption in its own state and
// closes (discarding) when it loses the activation, except to a modal
// dialog (one its content opened, such as a file dialog), which gives the
// activation back when it closes.
void TznToolFormBG::WMActivate(TMessage& m) {
  TForm::WMActivate(m);
  if (!Focusable()) return;
  const bool active = LoWord(m.WParam) != WA_INACTIVE;
  if (TCustomForm* form = toolForm_->EditForm(); form && form->HandleAllocated())
    SendMessage(form->WindowHandle(), WM_NCACTIVATE, active ? 1 : 0, 0);
  auto* next = dynamic_cast<TCustomForm*>(FindControl(static_cast<HWND>(m.LParam)));
  if (!active && next && next->Modal()) return;
  if (!active)
    CallHandlingExceptions(this, [this] {
      if (toolForm_) toolForm_->Close(false, false);
    });
}

void TznToolFormBG::WMSysCommand(TMessage& m) {
  switch (m.WParam & 0xFFF0) {
    case SC_KEYMENU:
      return;
    case SC_CLOSE:
      return PassSysCommand(m);
    default:
      TForm::WMSysCommand(m);
  }
}

// The close command belongs to the edit's form (Alt+F4 closes it, not just
// the drop-down).
void TznToolFormBG::PassSysCommand(TMessage& m) {
  TCustomForm* form = toolForm_ ? toolForm_->EditForm() : nullptr;
  if (form && form->HandleAllocated())
    SendMessage(form->WindowHandle(), WM_SYSCOMMAND, m.WParam, m.LParam);
}

BV_IMPLEMENT_CLASS(TznToolFormBG, TForm)

}  // namespace brevant
