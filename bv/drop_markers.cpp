#include "bv/drop_markers.h"

#include "backend/backend.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "rtl/scope.h"

namespace brevant {

TtlDropMarkers::TtlDropMarkers() = default;

TtlDropMarkers::~TtlDropMarkers() {
  Release();
}

void TtlDropMarkers::Acquire(HWND wnd) {
  if (wnd_ == wnd && screen_) return;
  Release();
  if (!wnd || !IsWindow(wnd)) return;
  wnd_ = wnd;
  screen_ = MakeObject<TCanvas>();
  memory_ = MakeObject<TBitmap>();
}

void TtlDropMarkers::Release() {
  Hide();
  screen_.reset();
  memory_.reset();
  wnd_ = 0;
}

bool TtlDropMarkers::TargetScreen() {
  if (!wnd_ || !IsWindow(wnd_) || !HasBackend()) return false;
  const HWND top = GetTopLevel(wnd_);
  const std::intptr_t native = GetNativeWindow(wnd_);
  if (!native) return false;
  const TSurface s = Backend().Surface(native);
  if (!s.Pixels) return false;
  screen_->SetSurface(s.Pixels, s.Width, s.Height, s.Stride);
  screen_->ResetDeviceClip();
  screen_->ResetClip();
  // The surface covers the top-level window's rectangle; the window's
  // client origin sits where its screen position says.
  const TPoint client = ClientToScreen(wnd_, TPoint(0, 0));
  const TRect frame = GetWindowRect(top);
  screen_->SetOrigin(TPoint(client.X - frame.Left, client.Y - frame.Top));
  return true;
}

TRect TtlDropMarkers::MarkerRect(TPoint p) const {
  const Integer w = images_ ? images_->Width() : 0, h = images_ ? images_->Height() : 0;
  return TRect(p.X, p.Y, p.X + w, p.Y + h);
}

void TtlDropMarkers::Show(TImageList* images, Integer index1, TPoint p1, Integer index2,
                          TPoint p2) {
  if (!screen_ || !images) return;
  if (shown_ && images == images_ && index1 == index1_ && index2 == index2_ && p1 == pos1_ &&
      p2 == pos2_)
    return;
  Hide();
  if (!TargetScreen()) return;
  images_ = images;
  index1_ = index1;
  index2_ = index2;
  pos1_ = p1;
  pos2_ = p2;
  const Integer w = images->Width(), h = images->Height();
  // The background of both places is saved before either marker is drawn,
  // so overlapping markers still restore to the original pixels.
  memory_->SetSize(2 * w, h);
  TCanvas* memory = memory_->Canvas();
  memory->CopyRect(TRect(0, 0, w, h), screen_.get(), MarkerRect(p1));
  memory->CopyRect(TRect(w, 0, 2 * w, h), screen_.get(), MarkerRect(p2));
  shown_ = true;
  images->Draw(screen_.get(), p1.X, p1.Y, index1);
  images->Draw(screen_.get(), p2.X, p2.Y, index2);
  Present();
}

void TtlDropMarkers::Hide() {
  if (!shown_) return;
  // The saved background goes whatever happens while putting it back.
  TScopeGuard forget([this] {
    shown_ = false;
    images_ = nullptr;
    index1_ = index2_ = -1;
    if (memory_) memory_->SetSize(0, 0);
  });
  if (!TargetScreen() || !images_) return;
  const Integer w = images_->Width(), h = images_->Height();
  // Drawn back in reverse order: where the markers overlap, the first
  // marker's saved pixels are the original ones.
  TCanvas* memory = memory_->Canvas();
  screen_->CopyRect(MarkerRect(pos2_), memory, TRect(w, 0, 2 * w, h));
  screen_->CopyRect(MarkerRect(pos1_), memory, TRect(0, 0, w, h));
  Present();
}

void TtlDropMarkers::Present() {
  const std::intptr_t native = GetNativeWindow(wnd_);
  if (!native) return;
  const TPoint origin = screen_->Origin();
  for (const TPoint& p : {pos1_, pos2_}) {
    TRect r = MarkerRect(p);
    OffsetRect(r, origin.X, origin.Y);
    Backend().Present(native, r);
  }
}

}  // namespace brevant
