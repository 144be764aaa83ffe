// The customizer's start-up and shut-down, and its module state: the one
// open customizer and the window bounds remembered between openings.
// Start-up sets the grid's CustomizerHook to OpenCustomizer, so a grid's
// ShowCustomizer opens the window; shut-down frees an open customizer and
// clears the hook.
#pragma once

#include "bv/bv_fwd.h"
#include "rtl/types.h"

namespace brevant {

class TbvTabulonCustomizer;

// The open customizer, nil when none.
TbvTabulonCustomizer* OpenedCustomizer();
// Forgets customizer when it is the open one.
void ForgetCustomizer(TbvTabulonCustomizer* customizer);
// The bounds the next customizer starts from (moved by 8 pixels right and
// down when it opens): at first left 240, top 100, width 224, height 340.
TRect& CustomizerBounds();

// The opening routine: closes an open customizer (marked replaced), then
// creates one owned by the application for grid and shows it (not
// modally).
void OpenCustomizer(TDBTabulon* grid, const String& names, const String& captions,
                    const String& shown, bool showHidden);

// Registers the classes and sets the grid's CustomizerHook.
void StartCustomizerUnit();
// Frees an open customizer and clears the hook.
void StopCustomizerUnit();

// Start-up for the length of a scope (a program's main, a test binary).
class TCustomizerUnit {
 public:
  TCustomizerUnit() { StartCustomizerUnit(); }
  ~TCustomizerUnit() { StopCustomizerUnit(); }
  TCustomizerUnit(const TCustomizerUnit&) = delete;
  TCustomizerUnit& operator=(const TCustomizerUnit&) = delete;
};

}  // namespace brevant
