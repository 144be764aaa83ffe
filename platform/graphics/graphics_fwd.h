// Forward declarations of the graphics layer's classes and its colour type,
// for headers that only name them; sources include the full headers.
#pragma once

#include "rtl/types.h"

namespace brevant {

// $00BBGGRR, or a system colour (graphics/colors.h).
using TColor = Integer;
class TCanvas;
class TFont;
class TPen;
class TBrush;
class TGraphic;
class TBitmap;
class TIcon;
class TPicture;
class TImageList;
class TChangeLink;
class TRegion;

}  // namespace brevant
