// TtlDropMarkers: two small images drawn straight onto the screen pixels of
// a window's top-level surface (above child windows and outside the
// window's own client area), with the pixels under them saved first and
// put back exactly when they are hidden. The column drag shows its drop
// position with them while the pointer moves; nothing is invalidated, so
// showing and hiding costs two small copies and no repaint.
//
// Positions are in the client coordinates of the window the markers were
// acquired for. The markers live between Acquire and Release; Release
// hides them first.
#pragma once

#include "controls/controls_fwd.h"
#include "graphics/graphics_fwd.h"
#include "rtl/object.h"
#include "rtl/types.h"

namespace brevant {

class TtlDropMarkers {
 public:
  TtlDropMarkers();
  ~TtlDropMarkers();
  TtlDropMarkers(const TtlDropMarkers&) = delete;
  TtlDropMarkers& operator=(const TtlDropMarkers&) = delete;

  // Takes the screen of wnd's top-level window and a memory canvas for the
  // saved background. Acquiring again for another window releases first.
  void Acquire(HWND wnd);
  // Hides the markers and lets the screen go.
  void Release();
  bool Acquired() const { return wnd_ != 0; }

  // Shows image index1 of images with its top-left corner at p1 and
  // index2 at p2. Markers already shown with the same images at the same
  // places are left alone; others are hidden first. Nothing happens before
  // Acquire or without images.
  void Show(TImageList* images, Integer index1, TPoint p1, Integer index2, TPoint p2);
  // Puts the saved pixels back and frees the saved background (also when
  // putting them back fails).
  void Hide();
  bool Shown() const { return shown_; }
  TPoint Position(Integer marker) const { return marker == 0 ? pos1_ : pos2_; }
  Integer ImageIndex(Integer marker) const { return marker == 0 ? index1_ : index2_; }
  TImageList* Images() const { return images_; }

 private:
  // Points the screen canvas at the top-level surface as it is now (a
  // resize may have moved it); false when there is none.
  bool TargetScreen();
  // The marker rectangles in client coordinates.
  TRect MarkerRect(TPoint p) const;
  // Presents the two marker rectangles on the backend's screen.
  void Present();

  HWND wnd_ = 0;                  // the window whose coordinates positions use
  TObjectPtr<TCanvas> screen_;    // the top-level surface, unclipped
  TObjectPtr<TBitmap> memory_;    // saved background: marker 1 left, marker 2 right
  bool shown_ = false;            // the markers are on the screen
  TImageList* images_ = nullptr;  // the images shown
  Integer index1_ = -1;           // image of the first marker
  Integer index2_ = -1;           // image of the second marker
  TPoint pos1_;                   // top-left of the first marker
  TPoint pos2_;                   // top-left of the second marker
};

}  // namespace brevant
