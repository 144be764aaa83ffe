// The demonstration's own pictures, drawn by code when a module is created:
// the navigation icons (24 x 24), the star of busy vendors and the industry
// icons (16 x 16), the glyphs of the mail and phone buttons, the owner-draw
// vision's splash picture and the About form's pictures.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TBitmap;
class TImageList;

// Six grid pictures: grid, thin-lined grid, 3-D grid, two grids with an
// arrow, magnifier on a grid, grid with a pinned column.
void AddGridIcons(TImageList* list);
// Fourteen pictures, one per vision kind, in the order of the vision pages.
void AddFieldVisionIcons(TImageList* list);
// Two pictures for the miscellaneous pages (drop-down form, object dataset).
void AddMiscIcons(TImageList* list);
// A yellow star.
void AddCoolStar(TImageList* list);
// Seven industry pictures, by image index: computer hardware, medical
// services, auto and truck, hotel, computer software, telecommunications,
// aerospace.
void AddIndustryIcons(TImageList* list);
// Button glyphs (12 x 12, transparent ground): an envelope, a handset.
void DrawMailGlyph(TBitmap* glyph);
void DrawPhoneGlyph(TBitmap* glyph);
// The owner-draw vision's splash picture: a blue gradient card.
void DrawSplash(TBitmap* picture, Integer width, Integer height);
// The About form's picture: the grid emblem on the navy band.
void DrawAboutEmblem(TBitmap* picture, Integer size);

}  // namespace brevant
