// A left-button press on a button drawn by a graphic control: the button
// looks pressed while the button is held and the pointer stays over it, and
// clicks when it is released over it.
#pragma once

namespace brevant {

struct TPressTracker {
  bool Tracking = false;  // the left button went down on the control
  bool Pressed = false;   // ... and the pointer is over it now

  void Begin() { Tracking = Pressed = true; }
  // The pointer moved; answers whether the pressed look changed.
  bool Move(bool inside) {
    if (!Tracking || inside == Pressed) return false;
    Pressed = inside;
    return true;
  }
  // Ends the press (release, disabling); answers whether one was tracked.
  bool End() {
    const bool was = Tracking;
    Tracking = Pressed = false;
    return was;
  }
};

}  // namespace brevant
