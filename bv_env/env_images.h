// The environment's pictures, drawn with the canvas into its image lists
// (our own artwork; nothing is loaded from files). Each routine appends its
// images to a list of the matching size, in the order the users index them.
#pragma once

#include "graphics/graphics_fwd.h"

namespace brevant {

class TImageList;

// Four drop-position arrows pointing right, down, left and up, filled with
// face and outlined with edge (15 x 15).
void AddDragArrows(TImageList* list, TColor face, TColor edge);
// The sort markers: 0 sorted up, 1 sorted down (10 x 9).
void AddTitleStateImages(TImageList* list);
// Average, count, maximum, minimum and sum (16 x 16).
void AddFooterStateImages(TImageList* list);
// A grid, a field vision, a designer and a text display (16 x 16).
void AddDesigntimeImages(TImageList* list);
// Cut, copy, paste, clear, load, save and preview (16 x 16).
void AddToolbarImages(TImageList* list);
// Text present, text null, picture present, picture null (16 x 16).
void AddBlobMarkers(TImageList* list);

}  // namespace brevant
