// TDBQuentaEdit: the window style, the face painted through the vision, the
// frame and button painted outside the client area, the cursor, and the
// routing of the control's own messages.
#include "bv/db_edit.h"
#include "bv/db_edit_switchers.h"
#include "bv/field_vision.h"
#include "bv/vision_painter.h"
#include "bv_rtm/draw_helpers.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/pen_brush.h"
#include "rtl/scope.h"

namespace brevant {

namespace {

// The input messages a custom surface keeps from the native edit.
bool IsEditingInput(Cardinal msg) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_SETCURSOR:
      return true;
    default:
      return false;
  }
}

Integer EditButtonKind(TznButtonStyle style) {
  switch (style) {
    case pbsEllipsis:
      return ebkEllipsis;
    case pbsSpin:
      return ebkSpin;
    case pbsCustom:
      return ebkCustom;
    default:
      return ebkDropDown;
  }
}

}  // namespace

// ---- messages ----

void TDBQuentaEdit::Dispatch(TMessage& message) {
  if (message.Msg == WM_ZN_DROPDOWN)
    WMDropDownRequest(message);
  else
    TCustomMaskEdit::Dispatch(message);
}

// A custom surface gets no native editing at all.
void TDBQuentaEdit::DefaultHandler(TMessage& message) {
  if (CustomSurface() && IsEditingInput(message.Msg))
    TWinControl::DefaultHandler(message);
  else
    TCustomMaskEdit::DefaultHandler(message);
}

// ---- window ----

void TDBQuentaEdit::CreateParams(TCreateParams& params) {
  TCustomMaskEdit::CreateParams(params);
  params.ExStyle &= ~Cardinal(WS_EX_CLIENTEDGE);
  params.Style &= ~Cardinal(WS_BORDER);
  if (!inPlace_ && borderStyle_ == bs3D) params.ExStyle |= WS_EX_CLIENTEDGE;
  if (CustomSurface()) return;
  TznFieldVision* vision = EffectiveVision();
  if (wordWrap_ || vision->EditWordWrap()) params.Style &= ~Cardinal(ES_AUTOHSCROLL);
  if (vision->MultiLine()) {
    // The list holds the mirrored alignment; the edit mirrors it itself.
    const TAlignment alignment = BiDiAlignment(fieldList_->Alignment());
    params.Style &= ~Cardinal(ES_CENTER | ES_RIGHT);
    if (alignment == taRightJustify) params.Style |= ES_RIGHT;
    if (alignment == taCenter) params.Style |= ES_CENTER;
  }
  params.Style |= ES_MULTILINE;
  const TScrollStyle bars = vision->EditScrollBars();
  if (bars == ssHorizontal || bars == ssBoth) params.Style |= WS_HSCROLL;
  if (bars == ssVertical || bars == ssBoth) params.Style |= WS_VSCROLL;
}

void TDBQuentaEdit::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  buttonWidth_ = -1;  // the strip is computed afresh for the new window
  Relayout();
}

void TDBQuentaEdit::WMSize(TMessage& message) {
  TCustomMaskEdit::WMSize(message);
  Relayout();
}

void TDBQuentaEdit::CMFontChanged(TMessage& message) {
  TCustomMaskEdit::CMFontChanged(message);
  Relayout();
}

void TDBQuentaEdit::CMEnabledChanged(TMessage& message) {
  TCustomMaskEdit::CMEnabledChanged(message);
  Relayout();
}

// The face's alignment and the button's side follow the new mode.
void TDBQuentaEdit::CMBiDiModeChanged(TMessage& message) {
  UpdateTitle();
  TCustomMaskEdit::CMBiDiModeChanged(message);
  Relayout();
}

// A custom glyph taller than the line makes room for itself.
Integer TDBQuentaEdit::AutoSizeClientHeight() {
  Integer height = TCustomMaskEdit::AutoSizeClientHeight();
  TznFieldVision* vision = EffectiveVision();
  if (vision && vision->EnableButton() && vision->ButtonStyle() == pbsCustom)
    if (const TBitmap* glyph = vision->ButtonGlyphIfAny())
      height = std::max(height, glyph->Height() + 4);
  return height;
}

// Before the window exists: the frame its border kind reserves.
Integer TDBQuentaEdit::AutoSizeFrameHeight() {
  if (HandleAllocated()) return TCustomMaskEdit::AutoSizeFrameHeight();
  if (inPlace_) return 0;
  if (borderStyle_ == bs3D) return 4;
  TRect r(0, 0, 100, 100);
  BorderCalcSize(borderStyle_, r);
  return 100 - r.Height() + 2 * BorderInset(borderStyle_);
}

// ---- the face ----

// A multi-line vision keeps the native look also without the focus.
void TDBQuentaEdit::PaintWindow(TCanvas* canvas) {
  if ((CustomSurface() || !editState_) && !EffectiveVision()->MultiLine())
    PaintFace(canvas);
  else
    TCustomMaskEdit::PaintWindow(canvas);
}

// Off-screen into one bitmap, copied in one step: no flicker.
void TDBQuentaEdit::PaintFace(TCanvas* canvas) {
  const TRect client = ClientRect();
  if (client.Width() <= 0 || client.Height() <= 0) return;
  TObjectPtr<TBitmap> face(Create<TBitmap>());
  face->SetSize(client.Width(), client.Height());
  TCanvas* target = face->Canvas();
  target->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  target->FillRect(client);
  target->Font()->Assign(Font());
  EffectiveVision()->DrawEditor(EditorsPainter(), this, target, client);
  canvas->CopyRect(client, target, client);
}

void TDBQuentaEdit::WMEraseBkgnd(TMessage& message) {
  if ((editState_ && !CustomSurface()) || EffectiveVision()->MultiLine())
    TCustomMaskEdit::WMEraseBkgnd(message);
  else
    message.Result = 1;
}

TRect TDBQuentaEdit::FaceContentRect(const TRect& rect) {
  return TRect(rect.Left + 1, rect.Top, rect.Right - 1, rect.Bottom - 1);
}

void TDBQuentaEdit::DrawFace(TfvPainter* painter) {
  if (OnDraw) OnDraw(this, painter);
}

TfvEditorFace TDBQuentaEdit::EditorFace() {
  TfvEditorFace face;
  face.Font = Font();
  face.Color = Color();
  face.Focused = Focused();
  face.Switched = surfaceSwitcher_->Pressed() && surfaceSwitcher_->Down();
  face.Enabled = Enabled();
  face.WordWrap = wordWrap_;
  face.HasFrame = !inPlace_ && borderStyle_ != bsNoBorder;
  return face;
}

// ---- frame and button ----

void TDBQuentaEdit::WMNCPaint(TMessage& message) {
  TCustomMaskEdit::WMNCPaint(message);
  // The frame stands inside the edge the window region cuts off.
  if (!inPlace_ && borderStyle_ > bs3D) BorderPaint(borderStyle_, this, true);
  PaintButton();
}

void TDBQuentaEdit::PaintButton() {
  if (buttonWidth_ <= 0 || !HandleAllocated()) return;
  const HWND wnd = WindowHandle();
  TCanvas* dc = GetWindowDC(wnd);
  if (!dc) return;
  TScopeGuard release([wnd, dc] { ReleaseDC(wnd, dc); });
  const TRect strip = ButtonStripInWindow();
  TznFieldVision* vision = EffectiveVision();
  Cardinal flags = 0;
  if (!inPlace_ && borderStyle_ != bs3D) flags |= ebfFlat;
  if (!inPlace_ && (borderStyle_ == bsNoBorder || borderStyle_ >= bsFlat)) flags |= ebfFrameless;
  if (!Enabled()) flags |= ebfDisabled;
  const TznEditBtnSwitcher& s = *buttonSwitcher_;
  if (s.Pressed() && s.Down() && (s.Part() == epButton || s.Part() == epSpinUp))
    flags |= ebfPressed;
  if (s.Pressed() && s.Down() && s.Part() == epSpinDown) flags |= ebfLowPressed;
  TBitmap* glyph = nullptr;
  if (vision->ButtonStyle() == pbsCustom) glyph = vision->ButtonGlyph();
  DrawEditButton(EditButtonKind(vision->ButtonStyle()), flags, dc, glyph, strip);
}

void TDBQuentaEdit::WMSetCursor(TMessage& message) {
  const TPoint p = ScreenToClient(GetCursorPos());
  const bool arrow =
      PtInRect(ButtonRect(), p) || EffectiveVision()->ComboBoxStyle() || CustomSurface();
  if (static_cast<HWND>(message.WParam) == WindowHandle() && arrow) {
    SetCursor(crArrow);
    message.Result = 1;
    return;
  }
  TCustomMaskEdit::WMSetCursor(message);
}

}  // namespace brevant
