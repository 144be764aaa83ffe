#include "bv_rtm/draw_helpers.h"

#include "controls/forms.h"
#include "controls/wincore.h"
#include "graphics/canvas_saver.h"
#include "rtl/scope.h"

namespace brevant {

BV_ENUM_INFO(TznBorderStyle, bsNoBorder, bs3D, bsSoft, bsSoftExt, bsFlat, bsFlatExt, bsMono,
             bsMonoExt)

void AlignRectVert(const TRect& outer, TRect& inner, Integer mode) {
  Integer h = inner.Height();
  if (h > outer.Height()) h = outer.Height();
  if (h < 0) h = 0;
  Integer top = outer.Top;
  if (mode == 1)
    top = outer.Top + (outer.Height() - h) / 2;
  else if (mode == 2)
    top = outer.Bottom - h;
  inner.Top = top;
  inner.Bottom = top + h;
}

void DrawTextAligned(TCanvas* dc, const TRect& rect, const String& text, Integer hAlign,
                     Integer vAlign, Integer leftIndent, Integer rightIndent, bool wordWrap,
                     bool endEllipsis, bool editControl, Cardinal removeFlags) {
  if (!dc) return;
  TRect r = rect;
  r.Left += leftIndent;
  r.Right -= rightIndent;
  Cardinal fmt = DT_NOPREFIX;
  if (hAlign == 1)
    fmt |= DT_RIGHT;
  else if (hAlign == 2)
    fmt |= DT_CENTER;
  if (endEllipsis) fmt |= DT_END_ELLIPSIS;
  if (wordWrap) {
    fmt |= DT_WORDBREAK;
    if (editControl) fmt |= DT_EDITCONTROL;
    TRect box = r;
    dc->DrawText(text, box, (fmt | DT_CALCRECT) & ~removeFlags);
    box.Left = r.Left;
    box.Right = r.Right;
    AlignRectVert(r, box, vAlign);
    dc->DrawText(text, box, fmt & ~removeFlags);
  } else {
    fmt |= DT_SINGLELINE;
    if (vAlign == 1)
      fmt |= DT_VCENTER;
    else if (vAlign == 2)
      fmt |= DT_BOTTOM;
    dc->DrawText(text, r, fmt & ~removeFlags);
  }
}

void DrawGraphicKeepColors(TCanvas* canvas, Integer x, Integer y, TGraphic* graphic) {
  if (!canvas || !graphic) return;
  TCanvasColorsSaver colors(*canvas);
  canvas->Draw(x, y, graphic);
}

void DrawFocusRectBW(TCanvas* dc, const TRect& rect) {
  if (!dc) return;
  TCanvasColorsSaver colors(*dc);
  dc->SetBkColor(clBlack);
  dc->SetTextColor(clWhite);
  dc->DrawFocusRect(rect);
}

void DrawSoftEdge(TCanvas* canvas, const TRect& rect, bool pressed, bool soft) {
  if (!canvas) return;
  TRect r = rect;
  if (soft && !pressed) {
    canvas->DrawEdge(r, BDR_RAISEDINNER, BF_TOP);
    canvas->DrawEdge(r, EDGE_RAISED, BF_LEFT);
    canvas->DrawEdge(r, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
  } else {
    canvas->DrawEdge(r, EDGE_RAISED, BF_RECT | (pressed ? BF_FLAT : 0));
  }
}

void DrawButtonFrame(TCanvas* canvas, const TRect& rect, bool pressed, Cardinal flags) {
  if (!canvas) return;
  if (flags & (ebfFlat | ebfFrameless)) {
    if (!(flags & ebfFrameless)) {
      canvas->Brush()->SetColor(clWindow);
      canvas->FrameRect(rect);
    }
    if (pressed) {
      TRect inside = rect;
      InflateRect(inside, -1, -1);
      canvas->InvertRect(inside);
    }
  } else {
    DrawSoftEdge(canvas, rect, pressed, (flags & ebfSoft) != 0);
  }
}

void DrawArrow(TCanvas* canvas, const TRect& rect, bool up, bool fullWidth, bool soft, bool pressed,
               bool disabled) {
  if (!canvas) return;
  TRect r = rect;
  if (!fullWidth) InflateRect(r, -2, 0);
  const Integer w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return;
  TObjectPtr<TBitmap> bmp = MakeObject<TBitmap>();
  bmp->SetSize(w, h);
  // The control's frame lies outside the bitmap: only face and glyph stay.
  Cardinal state = (up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | (disabled ? DFCS_INACTIVE : 0);
  bmp->Canvas()->DrawFrameControl(Rect(-2, -2, w + 2, h + 2), DFC_SCROLL, state);
  const Integer dx = (fullWidth || soft) ? 1 : 0, dy = pressed ? 1 : 0;
  TRect dest = Bounds(r.Left + dx, r.Top + dy, w, h);
  canvas->CopyRect(dest, bmp->Canvas(), Rect(0, 0, w, h));
}

namespace {

void DrawEllipsisDots(TCanvas* canvas, const TRect& r, Cardinal flags) {
  const Integer gap = r.Width() < 17 ? 1 : 2;
  const Integer total = 3 * 2 + 2 * gap;
  Integer x = r.Left + (r.Width() - total) / 2;
  Integer y = r.Top + (r.Height() - 2) / 2;
  if ((flags & ebfPressed) && !(flags & ebfFlat)) ++y;
  canvas->Brush()->SetColor((flags & ebfDisabled) ? clGrayText : clBtnText);
  for (int i = 0; i < 3; ++i, x += 2 + gap) canvas->FillRect(Bounds(x, y, 2, 2));
}

// One framed button with an arrow: a drop-down, or one half of a spin.
void DrawArrowButton(TCanvas* canvas, const TRect& r, bool up, bool pressed, Cardinal flags) {
  DrawArrow(canvas, r, up, false, flags & ebfSoft, pressed, flags & ebfDisabled);
  DrawButtonFrame(canvas, r, pressed, flags);
}

void DrawEllipsisButton(TCanvas* canvas, const TRect& r, Cardinal flags) {
  DrawEllipsisDots(canvas, r, flags);
  DrawButtonFrame(canvas, r, flags & ebfPressed, flags);
}

// Two arrow buttons, up above down; each half shows its own pressed state.
void DrawSpinButtons(TCanvas* canvas, const TRect& r, Cardinal flags) {
  TRect upper = r, lower = r;
  upper.Bottom = r.Top + r.Height() / 2;
  lower.Top = upper.Bottom;
  DrawArrowButton(canvas, upper, true, flags & ebfPressed, flags);
  DrawArrowButton(canvas, lower, false, flags & ebfLowPressed, flags);
}

// A framed button with the glyph centred, one pixel lower while pressed.
void DrawGlyphButton(TCanvas* canvas, const TRect& r, Cardinal flags, TGraphic* glyph) {
  const bool pressed = flags & ebfPressed;
  DrawButtonFrame(canvas, r, pressed, flags);
  if (!glyph || glyph->Empty()) return;
  Integer x = r.Left + (r.Width() - glyph->Width()) / 2;
  Integer y = r.Top + (r.Height() - glyph->Height()) / 2;
  if (pressed && !(flags & ebfFlat)) ++y;
  DrawGraphicKeepColors(canvas, x, y, glyph);
}

}  // namespace

void DrawEditButton(Integer kind, Cardinal flags, TCanvas* canvas, TGraphic* glyph,
                    const TRect& rect) {
  if (!canvas) return;
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(rect);
  switch (kind) {
    case ebkDropDown:
      DrawArrowButton(canvas, rect, false, flags & ebfPressed, flags);
      break;
    case ebkEllipsis:
      DrawEllipsisButton(canvas, rect, flags);
      break;
    case ebkSpin:
      DrawSpinButtons(canvas, rect, flags);
      break;
    case ebkCustom:
      DrawGlyphButton(canvas, rect, flags, glyph);
      break;
    default:
      break;
  }
}

namespace {

bool IsExtBorder(TznBorderStyle kind) {
  return kind == bsSoftExt || kind == bsFlatExt || kind == bsMonoExt;
}

}  // namespace

void BorderCalcSize(TznBorderStyle kind, TRect& clientRect) {
  if (kind < bsSoft) return;
  const Integer d = IsExtBorder(kind) ? 2 : 1;
  InflateRect(clientRect, -d, -d);
}

Integer BorderInset(TznBorderStyle kind) {
  switch (kind) {
    case bsNoBorder:
      return 2;
    case bsSoft:
    case bsFlat:
    case bsMono:
      return 1;
    default:
      return 0;
  }
}

void BorderPaint(TznBorderStyle kind, TWinControl* control, bool inset) {
  if (kind < bsSoft || !control || !control->HandleAllocated()) return;
  const HWND wnd = control->WindowHandle();
  TCanvas* dc = GetWindowDC(wnd);
  if (!dc) return;
  TScopeGuard release([wnd, dc] { ReleaseDC(wnd, dc); });
  const TRect wr = GetWindowRect(wnd);
  TRect r = Rect(0, 0, wr.Width(), wr.Height());
  dc->ExcludeClipRect(GetClientRectInWindow(wnd));
  if (inset) {
    const Integer d = BorderInset(kind);
    InflateRect(r, -d, -d);
  }
  Cardinal flags = BF_RECT;
  if (kind == bsFlat || kind == bsFlatExt) flags |= BF_FLAT;
  if (kind == bsMono || kind == bsMonoExt) flags |= BF_MONO;
  dc->DrawEdge(r, BDR_SUNKENOUTER, flags);
  if (IsExtBorder(kind)) {
    InflateRect(r, -1, -1);
    dc->Brush()->SetColor(kind == bsSoftExt ? cl3DLight : control->Color());
    dc->FrameRect(r);
  }
}

Integer ScrollButtonWidth(bool makeOdd) {
  Integer w = GetSystemMetrics(SM_CXHSCROLL);
  if (makeOdd && w % 2 == 0) --w;
  return w;
}

TBitmap* ControlScreenshot(TControl* control) {
  TObjectPtr<TBitmap> bmp = MakeObject<TBitmap>();
  TCustomForm* form = control ? GetParentForm(control) : nullptr;
  if (!form || form == control) return bmp.release();
  // The control's position in the form's client area, letting pending
  // messages (moves, paints) run at each step.
  TPoint p(0, 0);
  for (TControl* c = control; c && c != form; c = c->Parent()) {
    ProcessPendingMessages();
    p.X += c->Left();
    p.Y += c->Top();
  }
  ProcessPendingMessages();
  const HWND wnd = form->Handle();
  UpdateWindow(wnd);
  const Integer w = control->Width(), h = control->Height();
  bmp->SetSize(w, h);
  TCanvas* dst = bmp->Canvas();
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      const Integer px = GetWindowPixel(wnd, p.X + x, p.Y + y);
      dst->SetPixels(x, y, px < 0 ? clBlack : static_cast<TColor>(px));
    }
  return bmp.release();
}

}  // namespace brevant
