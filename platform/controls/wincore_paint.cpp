// Painting: update regions, WM_PAINT generation, paint and window canvases,
// the default frame and ScrollWindowEx.
#include <algorithm>
#include <cstring>

#include "controls/wincore_internal.h"
#include "graphics/colors.h"

namespace brevant {

using namespace wm;

namespace wm {

void UpdatePending(TWnd* w) {
  bool pending = !w->Update.IsEmpty() || (w->FrameInvalid && HasNonClient(w));
  if (pending == w->PaintPending) return;
  w->PaintPending = pending;
  WindowManager().PendingPaints += pending ? 1 : -1;
}

void InvalidateArea(HWND h, const TRect& area, bool erase) {
  TWnd* w = W(h);
  if (!w || !Visible(w) || IsRectEmpty(area)) return;
  TRect client(0, 0, w->Client.Width(), w->Client.Height());
  TRect r;
  if (IntersectRect(r, area, client)) {
    w->Update.Union(r);
    if (erase) w->Erase = true;
  }
  if (HasNonClient(w) &&
      (area.Left < 0 || area.Top < 0 || area.Right > client.Right || area.Bottom > client.Bottom))
    w->FrameInvalid = true;
  UpdatePending(w);
  for (HWND c : w->Children) {
    TWnd* cw = W(c);
    if (!cw || !(cw->Style & WS_VISIBLE)) continue;
    TRect part;
    if (!IntersectRect(part, area, cw->Rect)) continue;
    OffsetRect(part, -cw->Rect.Left - cw->Client.Left, -cw->Rect.Top - cw->Client.Top);
    InvalidateArea(c, part, erase);
  }
}

void InvalidateTree(HWND h) {
  TWnd* w = W(h);
  if (!w || !Visible(w)) return;
  w->Update = TRegion(TRect(0, 0, w->Client.Width(), w->Client.Height()));
  w->Erase = true;
  w->FrameInvalid = HasNonClient(w);
  UpdatePending(w);
  for (HWND c : w->Children) {
    TWnd* cw = W(c);
    if (cw && (cw->Style & WS_VISIBLE)) InvalidateTree(c);
  }
}

void ClearPaintTree(TWnd* w) {
  w->Update.Clear();
  w->Erase = false;
  w->FrameInvalid = false;
  UpdatePending(w);
  for (HWND c : w->Children)
    if (TWnd* cw = W(c)) ClearPaintTree(cw);
}

TSurface SurfaceOf(const TWnd* w) {
  const TWnd* top = W(TopLevelOf(w->Handle));
  if (!top || !top->Native) return {};
  return Backend().Surface(top->Native);
}

void DetachCanvases(HWND topLevel) {
  TWnd* top = W(topLevel);
  if (!top) return;
  for (auto& dc : WindowManager().DCs)
    if (dc.Native == top->Native || TopLevelOf(dc.Wnd) == topLevel) {
      dc.Canvas->SetSurface(nullptr, 0, 0, 0);
      dc.Native = 0;
    }
  struct TWalk {
    static void Run(TWnd* w) {
      if (w->PaintCanvas) w->PaintCanvas->SetSurface(nullptr, 0, 0, 0);
      for (HWND c : w->Children)
        if (TWnd* cw = W(c)) Run(cw);
    }
  };
  TWalk::Run(top);
}

namespace {

void Target(TCanvas* c, const TSurface& s) {
  if (c->PixelData() != s.Pixels || c->SurfaceWidth() != s.Width ||
      c->SurfaceHeight() != s.Height || (s.Pixels && c->Stride() != s.Stride))
    c->SetSurface(s.Pixels, s.Width, s.Height, s.Stride);
}

// A window without a visible frame or client has nothing to paint; the
// search also skips hidden subtrees.
HWND FindIn(HWND h, HWND filter, bool& frameOnly) {
  TWnd* w = W(h);
  if (!w || !(w->Style & WS_VISIBLE)) return 0;
  if (w->PaintPending && (!filter || filter == h)) {
    frameOnly = w->Update.IsEmpty();
    return h;
  }
  for (HWND c : w->Children)
    if (HWND r = FindIn(c, filter, frameOnly)) return r;
  return 0;
}

}  // namespace

HWND FindPaintWindow(HWND filter) {
  for (;;) {
    HWND found = 0;
    bool frameOnly = false;
    for (HWND t : WindowManager().TopLevels)
      if ((found = FindIn(t, filter, frameOnly))) break;
    if (!found) return 0;
    if (!frameOnly) return found;
    // Only the frame is invalid: repaint it without a WM_PAINT.
    TWnd* w = W(found);
    w->FrameInvalid = false;
    UpdatePending(w);
    SendMessage(found, WM_NCPAINT, 1);
  }
}

void PaintNow(HWND h) {
  TWnd* w = W(h);
  if (!w || !w->PaintPending || !Visible(w)) return;
  if (w->Update.IsEmpty()) {
    w->FrameInvalid = false;
    UpdatePending(w);
    SendMessage(h, WM_NCPAINT, 1);
    return;
  }
  TMsg m{h, WM_PAINT, 0, 0, Backend().TickCount(), Backend().CursorPos()};
  DispatchMessage(m);
}

void DrawFrame(HWND h) {
  TWnd* w = W(h);
  if (!w || !HasNonClient(w)) return;
  TCanvas* dc = GetWindowDC(h);
  if (!dc) return;
  TRect r(0, 0, w->Rect.Width(), w->Rect.Height());
  TBrush* brush = dc->Brush();
  auto ring = [&](TColor color, Integer width) {
    brush->SetColor(color);
    for (Integer i = 0; i < width && !IsRectEmpty(r); ++i) {
      dc->FrameRect(r);
      InflateRect(r, -1, -1);
    }
  };
  if (w->Parent) {
    if (w->Style & WS_BORDER) ring(clWindowFrame, 1);
    if (w->Style & (WS_DLGFRAME | WS_THICKFRAME)) {
      dc->DrawEdge(r, EDGE_RAISED, BF_RECT | BF_ADJUST);
      ring(clBtnFace, (w->Style & WS_DLGFRAME) ? 1 : 2);
    }
  } else if ((w->Style & WS_CAPTION) == WS_BORDER) {
    ring(clWindowFrame, 1);
  }
  if (w->ExStyle & WS_EX_STATICEDGE) dc->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (w->ExStyle & WS_EX_CLIENTEDGE) dc->DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  DrawScrollBars(h, dc);
  ReleaseDC(h, dc);
}

}  // namespace wm

// ---- invalidation ------------------------------------------------------------------

bool InvalidateRect(HWND h, const TRect* rect, bool erase) {
  TWnd* w = W(h);
  if (!w) return false;
  if (!Visible(w)) return true;
  TRect client(0, 0, w->Client.Width(), w->Client.Height());
  TRect r = client;
  if (rect && !IntersectRect(r, *rect, client)) return true;
  if (IsRectEmpty(r)) return true;
  w->Update.Union(r);
  if (erase) w->Erase = true;
  UpdatePending(w);
  return true;
}

bool InvalidateRgn(HWND h, const TRegion& rgn, bool erase) {
  TWnd* w = W(h);
  if (!w) return false;
  if (!Visible(w)) return true;
  TRegion r = rgn;
  r.Intersect(TRect(0, 0, w->Client.Width(), w->Client.Height()));
  if (r.IsEmpty()) return true;
  for (const TRect& x : r.Rects()) w->Update.Union(x);
  if (erase) w->Erase = true;
  UpdatePending(w);
  return true;
}

bool ValidateRect(HWND h, const TRect* rect) {
  TWnd* w = W(h);
  if (!w) return false;
  if (rect) {
    w->Update.Subtract(*rect);
  } else {
    w->Update.Clear();
  }
  if (w->Update.IsEmpty()) w->Erase = false;
  UpdatePending(w);
  return true;
}

bool GetUpdateRect(HWND h, TRect& rect, bool) {
  TWnd* w = W(h);
  rect = w ? w->Update.Bounds() : TRect();
  return w && !w->Update.IsEmpty();
}

bool GetUpdateRgn(HWND h, TRegion& rgn) {
  TWnd* w = W(h);
  rgn = w ? w->Update : TRegion();
  return w && !w->Update.IsEmpty();
}

bool UpdateWindow(HWND h) {
  TWnd* w = W(h);
  if (!w) return false;
  if (!Visible(w)) return true;
  PaintNow(h);
  w = W(h);
  if (!w) return true;
  std::vector<HWND> kids = w->Children;
  // Bottom of the z-order first, so windows above paint last.
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) UpdateWindow(*it);
  return true;
}

bool RedrawWindow(HWND h, const TRect* rect, const TRegion* rgn, Cardinal flags) {
  TWnd* w = W(h);
  if (!w) return false;
  if (!Visible(w)) return true;
  TRect client(0, 0, w->Client.Width(), w->Client.Height());
  TRegion area = rgn ? *rgn : TRegion(rect ? *rect : client);
  area.Intersect(client);
  if (flags & RDW_INVALIDATE) {
    if (flags & RDW_ALLCHILDREN) {
      for (const TRect& r : area.Rects()) InvalidateArea(h, r, (flags & RDW_ERASE) != 0);
    } else {
      InvalidateRgn(h, area, (flags & RDW_ERASE) != 0);
    }
    if ((flags & RDW_FRAME) && HasNonClient(w)) w->FrameInvalid = true;
    UpdatePending(w);
  } else if (flags & RDW_VALIDATE) {
    for (const TRect& r : area.Rects()) w->Update.Subtract(r);
    if (flags & RDW_NOERASE) w->Erase = false;
    if (flags & RDW_NOFRAME) w->FrameInvalid = false;
    if (w->Update.IsEmpty()) w->Erase = false;
    UpdatePending(w);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(h);
  return true;
}

// ---- paint and window canvases ---------------------------------------------------------------

TCanvas* BeginPaint(HWND h, TPaintStruct& ps) {
  ps = TPaintStruct();
  TWnd* w = W(h);
  if (!w) return nullptr;
  if (w->FrameInvalid) {
    w->FrameInvalid = false;
    UpdatePending(w);
    if (HasNonClient(w)) SendMessage(h, WM_NCPAINT, 1);
    w = W(h);
    if (!w) return nullptr;
  }
  bool visible = Visible(w);
  ps.PaintRect = visible ? w->Update.Bounds() : TRect();
  bool erase = w->Erase && visible;
  w->Update.Clear();
  w->Erase = false;
  ++w->PaintSerial;
  UpdatePending(w);
  if (!w->PaintCanvas) w->PaintCanvas = MakeObject<TCanvas>();
  TCanvas* c = w->PaintCanvas.get();
  Target(c, SurfaceOf(w));
  TPoint co = ClientOrigin(w);
  c->SetOrigin(co);
  c->ResetClip();
  c->SetPenPos({0, 0});
  if (c->HasSurface()) {
    TRegion clip;
    if (!IsRectEmpty(ps.PaintRect)) {
      clip = VisibleRegion(w, true);
      TRect box = ps.PaintRect;
      OffsetRect(box, co.X, co.Y);
      clip.Intersect(box);
    }
    c->SetDeviceClip(clip);
    c->MarkDirty();
  }
  ps.Canvas = c;
  if (erase) {
    ps.Erase = SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(c)) == 0;
  }
  return c;
}

void EndPaint(HWND h, const TPaintStruct& ps) {
  TWnd* w = W(h);
  if (!w || !ps.Canvas || !ps.Canvas->HasSurface()) return;
  TWnd* top = W(TopLevelOf(h));
  TRect dirty = ps.PaintRect;
  TPoint co = ClientOrigin(w);
  OffsetRect(dirty, co.X, co.Y);
  if (top && top->Native && !IsRectEmpty(dirty)) Backend().Present(top->Native, dirty);
}

namespace {

TCanvas* MakeDC(HWND h, bool client) {
  TWnd* w = W(h);
  if (!w) return nullptr;
  TDC dc;
  dc.Canvas = MakeObject<TCanvas>();
  dc.Wnd = h;
  TWnd* top = W(TopLevelOf(h));
  dc.Native = top ? top->Native : 0;
  TSurface s = SurfaceOf(w);
  if (s.Pixels) {
    dc.Canvas->SetSurface(s.Pixels, s.Width, s.Height, s.Stride);
    dc.Canvas->SetDeviceClip(Visible(w) ? VisibleRegion(w, client) : TRegion());
  }
  dc.Canvas->SetOrigin(client ? ClientOrigin(w) : WindowOrigin(w));
  TCanvas* c = dc.Canvas.get();
  WindowManager().DCs.push_back(std::move(dc));
  return c;
}

}  // namespace

TCanvas* GetDC(HWND h) {
  return MakeDC(h, true);
}
TCanvas* GetWindowDC(HWND h) {
  return MakeDC(h, false);
}

void ReleaseDC(HWND, TCanvas* dc) {
  auto& dcs = WindowManager().DCs;
  auto it =
      std::find_if(dcs.begin(), dcs.end(), [dc](const TDC& d) { return d.Canvas.get() == dc; });
  if (it == dcs.end()) return;
  if (it->Native && dc->HasSurface()) {
    TRect clip = dc->ClipRect();
    TPoint o = dc->Origin();
    OffsetRect(clip, o.X, o.Y);
    if (!IsRectEmpty(clip)) Backend().Present(it->Native, clip);
  }
  dcs.erase(it);
}

Integer GetWindowPixel(HWND h, Integer x, Integer y) {
  TWnd* w = W(h);
  if (!w || !PtInRect(TRect(0, 0, w->Client.Width(), w->Client.Height()), TPoint(x, y))) return -1;
  TSurface s = SurfaceOf(w);
  TPoint o = ClientOrigin(w);
  Integer px = o.X + x, py = o.Y + y;
  if (!s.Pixels || px < 0 || py < 0 || px >= s.Width || py >= s.Height) return -1;
  std::uint32_t p = s.Pixels[std::size_t(py) * std::size_t(s.Stride / 4) + std::size_t(px)];
  return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

// ---- ScrollWindowEx
// ---------------------------------------------------------------------------------

namespace {

// Moves the pixels that end up in dst (surface coordinates) by (dx, dy).
void MovePixels(const TSurface& s, const TRegion& dst, Integer dx, Integer dy) {
  std::size_t stride = std::size_t(s.Stride / 4);
  const TRect surface(0, 0, s.Width, s.Height);
  auto valid = [&](const TRect& d) {
    TRect src = d;
    OffsetRect(src, -dx, -dy);
    TRect a, b;
    return IntersectRect(a, d, surface) && a == d && IntersectRect(b, src, surface) && b == src;
  };
  if (dst.Rects().size() == 1) {
    const TRect& d = dst.Rects()[0];
    if (!valid(d)) return;
    std::size_t bytes = std::size_t(d.Width()) * 4;
    auto row = [&](Integer y) {
      std::memmove(s.Pixels + std::size_t(y) * stride + std::size_t(d.Left),
                   s.Pixels + std::size_t(y - dy) * stride + std::size_t(d.Left - dx), bytes);
    };
    // Rows move away from where they are read next.
    if (dy > 0)
      for (Integer y = d.Bottom - 1; y >= d.Top; --y) row(y);
    else
      for (Integer y = d.Top; y < d.Bottom; ++y) row(y);
    return;
  }
  // Several rectangles: read every source before writing any destination.
  TRect src = dst.Bounds();
  OffsetRect(src, -dx, -dy);
  TRect clipped;
  if (!IntersectRect(clipped, src, surface)) return;
  src = clipped;
  std::vector<std::uint32_t> copy(std::size_t(src.Width()) * std::size_t(src.Height()));
  for (Integer y = src.Top; y < src.Bottom; ++y)
    std::memcpy(copy.data() + std::size_t(y - src.Top) * std::size_t(src.Width()),
                s.Pixels + std::size_t(y) * stride + std::size_t(src.Left),
                std::size_t(src.Width()) * 4);
  for (const TRect& d : dst.Rects()) {
    TRect from = d;
    OffsetRect(from, -dx, -dy);
    TRect in;
    if (!valid(d) || !IntersectRect(in, from, src) || in != from) continue;
    for (Integer y = d.Top; y < d.Bottom; ++y)
      std::memcpy(s.Pixels + std::size_t(y) * stride + std::size_t(d.Left),
                  copy.data() + std::size_t(y - dy - src.Top) * std::size_t(src.Width()) +
                      std::size_t(d.Left - dx - src.Left),
                  std::size_t(d.Width()) * 4);
  }
}

Integer RegionKind(const TRegion& r) {
  if (r.IsEmpty()) return NULLREGION;
  return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

Integer ScrollWindowEx(HWND h, Integer dx, Integer dy, const TRect* scroll, const TRect* clip,
                       TRegion* updateRgn, TRect* update, Cardinal flags) {
  TWnd* w = W(h);
  if (!w) return 0;
  TRect client(0, 0, w->Client.Width(), w->Client.Height());
  TRect area = client, limit = client;
  if (scroll && !IntersectRect(area, *scroll, client)) area = TRect();
  if (clip && !IntersectRect(limit, *clip, client)) limit = TRect();
  TRegion invalid;
  if (Visible(w) && (dx || dy) && !IsRectEmpty(area) && !IsRectEmpty(limit)) {
    TPoint co = ClientOrigin(w);
    TRegion vis = VisibleRegion(w, true);
    vis.Offset(-co.X, -co.Y);
    TRegion dst = vis;
    dst.Intersect(area);
    dst.Offset(dx, dy);
    dst.Intersect(limit);
    dst.Intersect(vis);
    if (!dst.IsEmpty()) {
      TSurface s = SurfaceOf(w);
      if (s.Pixels) {
        TRegion onSurface = dst;
        onSurface.Offset(co.X, co.Y);
        MovePixels(s, onSurface, dx, dy);
        TWnd* top = W(TopLevelOf(h));
        TRect moved = onSurface.Bounds();
        if (top && top->Native) Backend().Present(top->Native, moved);
      }
    }
    invalid = vis;
    invalid.Intersect(area);
    invalid.Intersect(limit);
    for (const TRect& r : dst.Rects()) invalid.Subtract(r);
    // Pending invalid parts travel with the pixels.
    if (!w->Update.IsEmpty()) {
      TRegion travelling = w->Update;
      travelling.Intersect(area);
      travelling.Offset(dx, dy);
      travelling.Intersect(dst);
      for (const TRect& r : dst.Rects()) w->Update.Subtract(r);
      for (const TRect& r : travelling.Rects()) w->Update.Union(r);
    }
    if (flags & SW_INVALIDATE) {
      for (const TRect& r : invalid.Rects()) w->Update.Union(r);
      if ((flags & SW_ERASE) && !invalid.IsEmpty()) w->Erase = true;
    }
    UpdatePending(w);
  }
  if ((flags & SW_SCROLLCHILDREN) && (dx || dy)) {
    std::vector<HWND> kids = w->Children;
    for (HWND c : kids) {
      TWnd* cw = W(c);
      if (!cw) continue;
      TRect inter;
      if (scroll && !IntersectRect(inter, cw->Rect, area)) continue;
      TRect old = cw->Rect;
      OffsetRect(cw->Rect, dx, dy);
      if (Visible(cw)) {
        InvalidateArea(h, old, true);
        InvalidateTree(c);
      }
      TPoint p{cw->Rect.Left + cw->Client.Left, cw->Rect.Top + cw->Client.Top};
      SendMessage(c, WM_MOVE, 0, PointToLParam(p));
      if (!W(h)) break;
    }
  }
  if (updateRgn) *updateRgn = invalid;
  if (update) *update = invalid.Bounds();
  return RegionKind(invalid);
}

}  // namespace brevant
