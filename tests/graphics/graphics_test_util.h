// Helpers shared by the graphics tests: a bitmap to draw on and pixel
// snapshots.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"

namespace brevant::test {

// A bitmap of the given size filled with one colour, freed with the object.
class TSurface {
 public:
  TSurface(Integer width, Integer height, TColor fill = clWhite) : bitmap_(MakeObject<TBitmap>()) {
    bitmap_->SetSize(width, height);
    Canvas()->Brush()->SetColor(fill);
    Canvas()->FillRect(Rect(0, 0, width, height));
    Canvas()->Brush()->SetColor(clWhite);
  }
  TBitmap* Bitmap() const { return bitmap_.get(); }
  TCanvas* Canvas() const { return bitmap_->Canvas(); }
  // The pixel as $00BBGGRR, read from the bitmap (no clipping).
  TColor At(Integer x, Integer y) const {
    std::uint32_t p = bitmap_->ScanLine(y)[x];
    return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
  }
  std::vector<std::uint32_t> Snapshot() const {
    std::vector<std::uint32_t> v;
    for (Integer y = 0; y < bitmap_->Height(); ++y)
      for (Integer x = 0; x < bitmap_->Width(); ++x)
        v.push_back(bitmap_->ScanLine(y)[x] & 0xFFFFFF);
    return v;
  }
  // Number of pixels that differ from colour inside r.
  Integer CountNot(const TRect& r, TColor colour) const {
    Integer n = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) n += At(x, y) != colour;
    return n;
  }
  // The bounding box of pixels that are not colour (empty when none).
  TRect InkBounds(TColor colour) const {
    TRect b(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (Integer y = 0; y < bitmap_->Height(); ++y)
      for (Integer x = 0; x < bitmap_->Width(); ++x)
        if (At(x, y) != colour) {
          b.Left = Min(b.Left, x);
          b.Top = Min(b.Top, y);
          b.Right = Max(b.Right, x + 1);
          b.Bottom = Max(b.Bottom, y + 1);
        }
    return b.Left == INT32_MAX ? TRect() : b;
  }

 private:
  TObjectPtr<TBitmap> bitmap_;
};

// One pixel a drawing must leave in a given colour.
struct TPixelRow {
  const char* name;  // why the pixel has that colour
  Integer x;         // column
  Integer y;         // row
  TColor color;      // the colour wanted
};

inline void ExpectPixels(const TSurface& s, std::initializer_list<TPixelRow> rows) {
  for (const TPixelRow& row : rows)
    EXPECT_EQ(s.At(row.x, row.y), row.color) << row.name << " (" << row.x << ", " << row.y << ")";
}

// Fills the bitmap with a fixed pattern of many colours.
inline void FillPattern(TBitmap* b, std::uint32_t seed = 12345) {
  for (Integer y = 0; y < b->Height(); ++y)
    for (Integer x = 0; x < b->Width(); ++x) {
      seed = seed * 1103515245u + 12345u;
      b->ScanLine(y)[x] = (seed >> 8) & 0xFFFFFF;
    }
  b->Canvas()->MarkDirty();
}

}  // namespace brevant::test
