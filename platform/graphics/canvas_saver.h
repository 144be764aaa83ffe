// Canvas settings restored by scope: a drawing step may change them, and
// they are back on every exit.
#pragma once

#include "graphics/canvas.h"

namespace brevant {

// Keeps a canvas's text and background colours for a scope.
class TCanvasColorsSaver {
 public:
  explicit TCanvasColorsSaver(TCanvas& canvas)
      : canvas_(canvas), textColor_(canvas.TextColor()), bkColor_(canvas.BkColor()) {}
  ~TCanvasColorsSaver() {
    canvas_.SetBkColor(bkColor_);
    canvas_.SetTextColor(textColor_);
  }
  TCanvasColorsSaver(const TCanvasColorsSaver&) = delete;
  TCanvasColorsSaver& operator=(const TCanvasColorsSaver&) = delete;

 private:
  TCanvas& canvas_;   // the canvas whose colours come back
  TColor textColor_;  // its text colour at the start
  TColor bkColor_;    // its background colour at the start
};

}  // namespace brevant
