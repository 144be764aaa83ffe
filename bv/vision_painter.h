// The painter through which field visions draw cell contents. TfvPainter
// holds one cell's state (font, rectangles, images, text, attributes, text
// flags) and draws text, images and focus frames into it; Prepare lays the
// cell out for a field list, in grid mode for a grid column or in editors'
// mode for an edit control's face. TtlPainter is the grid's painter, which
// also walks the rows of a column; its row operations come with the grid's
// paint state. One process-wide painter (EditorsPainter) serves every edit
// control's face.
#pragma once

#include <memory>

#include "classes/shared_enums.h"
#include "rtl/object.h"
#include "rtl/types.h"

namespace brevant {

class TCanvas;
class TImageList;
class TFont;
class TtlCellAttrs;
class TtlColumn;
class TtlFieldList;
class IznVisionEditor;

class TfvPainter : public TObject {
  BV_CLASS(TfvPainter, TObject)
 public:
  // gridMode: True for a grid's painter, False for the editors' painter.
  explicit TfvPainter(bool gridMode = false);
  ~TfvPainter() override;

  // The font the cell starts with (owned).
  TFont* Font() const { return font_.get(); }
  TCanvas* Canvas() const { return canvas_; }
  // The cell on the canvas, and the part inside the margins.
  const TRect& OuterRect() const { return outerRect_; }
  const TRect& ContentRect() const { return contentRect_; }
  // Where an image and the text are drawn (laid out by Prepare).
  const TRect& ImageRect() const { return imageRect_; }
  const TRect& TextRect() const { return textRect_; }
  void SetImageRect(const TRect& value) { imageRect_ = value; }
  void SetTextRect(const TRect& value) { textRect_ = value; }
  // Points the painter at a canvas and a cell.
  void SetTarget(TCanvas* canvas, const TRect& outer, const TRect& content) {
    canvas_ = canvas;
    outerRect_ = outer;
    contentRect_ = content;
  }
  // Moves the four rectangles down by dy (the next row of a column).
  void OffsetRects(Integer dy);

  // The vision's image list (set by Prepare).
  TImageList* Images() const { return images_; }
  // The current cell's attributes.
  TtlCellAttrs* CellAttrs() const { return cellAttrs_; }
  void SetCellAttrs(TtlCellAttrs* value) { cellAttrs_ = value; }

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

  // Text flags DrawText passes on; Prepare sets them.
  bool EndEllipsis() const { return endEllipsis_; }
  void SetEndEllipsis(bool value) { endEllipsis_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { wordWrap_ = value; }
  bool NoFocusFrame() const { return noFocusFrame_; }
  void SetNoFocusFrame(bool value) { noFocusFrame_ = value; }
  bool GridMode() const { return gridMode_; }
  // The field list being drawn (set by Prepare).
  TtlFieldList* FieldList() const { return fieldList_; }

  // Starts a cell: default drawing on, no text, no images.
  void ResetCell() {
    defaultDraw_ = true;
    text_.clear();
    imageIndex_ = imageIndex2_ = -1;
  }

  // Takes the field list (and its vision's images), lays out the image and
  // text rectangles inside ContentRect and sets the font and text flags for
  // the mode; answers the word-wrap flag.
  virtual bool Prepare(TtlFieldList* fields);
  // Draws text into TextRect with the alignment and vertical layout and the
  // painter's text flags.
  virtual void DrawText(const String& text, TAlignment alignment, TTextLayout layout);
  // The same with the field list's vertical layout.
  void DrawText(const String& text, TAlignment alignment);
  // Draws image index (-1 draws nothing) of the vision's image list at the
  // top left of ImageRect, unscaled.
  virtual void DrawImage(Integer index);
  // The same from another image list (nullptr: the vision's).
  void DrawImage(Integer index, TImageList* images);
  // A dotted focus rectangle, unless NoFocusFrame.
  void DrawFocusFrame(const TRect& rect);

 protected:
  void SetFieldList(TtlFieldList* value) { fieldList_ = value; }
  // Step 2 of Prepare: the image at its side of the content, the text
  // beside it.
  void LayoutImage(TtlFieldList* fields);
  // The grid mode's font and flags, from the column and its grid.
  void PrepareForGrid(TtlFieldList* fields);
  // The editors' mode: font, shared cell attributes and flags from the
  // edit control.
  void PrepareForEditor(TtlFieldList* fields, IznVisionEditor* editor);

 private:
  std::unique_ptr<TFont> font_;        // the font the cell starts with
  TCanvas* canvas_ = nullptr;          // target canvas
  TRect outerRect_{};                  // the cell on the canvas
  TRect contentRect_{};                // the cell inside its margins
  TRect imageRect_{};                  // where an image goes
  TRect textRect_{};                   // where the text goes
  TImageList* images_ = nullptr;       // the vision's images
  TtlCellAttrs* cellAttrs_ = nullptr;  // the current cell's attributes
  String text_;                        // the text to draw
  bool defaultDraw_ = true;            // drawing continues while True
  Integer imageIndex_ = -1;            // first image, -1 none
  Integer imageIndex2_ = -1;           // second image, -1 none
  bool endEllipsis_ = false;           // lines too wide end with an ellipsis
  bool wordWrap_ = false;              // text wraps at word boundaries
  bool noFocusFrame_ = false;          // DrawFocusFrame draws nothing
  bool gridMode_ = false;              // a grid's painter
  bool editFrame_ = false;             // the edit control draws a frame
  TtlFieldList* fieldList_ = nullptr;  // the field list being drawn
};

// The grid's painter: walks the rows of one column.
class TtlPainter : public TfvPainter {
  BV_CLASS(TtlPainter, TfvPainter)
 public:
  TtlColumn* Column() const { return column_; }
  // The grid mode's Prepare, which also keeps the column.
  bool Prepare(TtlFieldList* fields) override;

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
  TtlPainter() : TfvPainter(true) {}

 private:
  TtlColumn* column_ = nullptr;  // the column being drawn
};

// The painter every edit control's face is drawn through, and the cell
// attributes it shares among them; made on first use, freed at exit.
TfvPainter* EditorsPainter();
TtlCellAttrs* EditorsCellAttrs();

}  // namespace brevant
