// The painter as field visions see it: the per-cell state a vision reads and
// writes (text, images, whether default drawing goes on) and the drawing and
// row-stepping operations. TfvPainter serves edit controls, TtlPainter a
// grid column's rows. The concrete painters (fonts, rectangles, the shared
// text routine) implement the abstract operations.
#pragma once

#include "classes/shared_enums.h"
#include "rtl/object.h"
#include "rtl/types.h"

namespace brevant {

class TCanvas;
class TtlColumn;
class TtlFieldList;

class TfvPainter : public TObject {
  BV_CLASS(TfvPainter, TObject)
 public:
  TCanvas* Canvas() const { return canvas_; }
  // The cell's rectangle and the part inside the margins.
  const TRect& OuterRect() const { return outerRect_; }
  const TRect& ContentRect() const { return contentRect_; }
  // Points the painter at a canvas and a cell.
  void SetTarget(TCanvas* canvas, const TRect& outer, const TRect& content) {
    canvas_ = canvas;
    outerRect_ = outer;
    contentRect_ = content;
  }

  const String& Text() const { return text_; }
  void SetText(const String& value) { text_ = value; }
  // Drawing of the current cell goes on while True.
  bool DefaultDraw() const { return defaultDraw_; }
  void SetDefaultDraw(bool value) { defaultDraw_ = value; }
  // Images to draw, -1 for none.
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer value) { imageIndex_ = value; }
  Integer ImageIndex2() const { return imageIndex2_; }
  void SetImageIndex2(Integer value) { imageIndex2_ = value; }
  // The field list being drawn (set by Prepare).
  TtlFieldList* FieldList() const { return fieldList_; }

  // Starts a cell: default drawing on, no text, no images.
  void ResetCell() {
    defaultDraw_ = true;
    text_.clear();
    imageIndex_ = imageIndex2_ = -1;
  }

  // Takes the field list (and its vision's images) and lays out the image
  // and text rectangles; answers the word-wrap flag.
  virtual bool Prepare(TtlFieldList* fields) = 0;
  // Draws text with the alignment and vertical layout into the text
  // rectangle.
  virtual void DrawText(const String& text, TAlignment alignment, TTextLayout layout) = 0;
  // Draws image index (-1 draws nothing) of the vision's image list.
  virtual void DrawImage(Integer index) = 0;

 protected:
  TfvPainter() = default;
  void SetFieldList(TtlFieldList* value) { fieldList_ = value; }

 private:
  TCanvas* canvas_ = nullptr;          // target canvas
  TRect outerRect_{};                  // the cell on the canvas
  TRect contentRect_{};                // the cell inside its margins
  String text_;                        // the text to draw
  bool defaultDraw_ = true;            // drawing continues while True
  Integer imageIndex_ = -1;            // first image, -1 none
  Integer imageIndex2_ = -1;           // second image, -1 none
  TtlFieldList* fieldList_ = nullptr;  // the field list being drawn
};

// The grid's painter: walks the rows of one column.
class TtlPainter : public TfvPainter {
  BV_CLASS(TtlPainter, TfvPainter)
 public:
  // Takes the canvas and the column's cell of firstRow (moved by dx, dy) and
  // the row range.
  virtual void BeginColumn(TtlColumn* column, TCanvas* canvas, Integer dx, Integer dy,
                           Integer firstRow, Integer lastRow) = 0;
  // Positions the dataset on the next row and resets the cell (fonts,
  // attributes, ResetCell); False past the last row.
  virtual bool NextRow() = 0;
  // Moves the rectangles one row down.
  virtual void Advance() = 0;
  // Fires the grid's OnDrawCell when the column is owner-drawn.
  virtual void DrawOwnerCell() = 0;

 protected:
  TtlPainter() = default;
};

}  // namespace brevant
