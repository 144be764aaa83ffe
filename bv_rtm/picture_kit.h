// Drawing the suite's own small pictures: each is drawn by code on a
// ground of the key colour, which becomes transparent when the picture is
// added to an image list or used as a glyph.
#pragma once

#include <functional>

#include "graphics/colors.h"
#include "graphics/graphics_fwd.h"
#include "rtl/types.h"

namespace brevant {

// Pixels of this colour are transparent; no picture uses it.
inline constexpr TColor kPictureKey = clFuchsia;

// Fills width x height with the key colour and sets a one-pixel pen.
void FillPictureGround(TCanvas* c, Integer width, Integer height);
// Draws one picture of the list's size on the key ground and appends it
// masked.
void AddDrawnPicture(TImageList* list, const std::function<void(TCanvas*)>& draw);
// A solid brush of colour fill and a pen of colour pen.
void UsePenAndFill(TCanvas* c, TColor pen, TColor fill);
void DrawLine(TCanvas* c, Integer x1, Integer y1, Integer x2, Integer y2);

}  // namespace brevant
