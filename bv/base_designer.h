// TtlBaseDesigner: the designer that paints a grid band by band. Its Paint
// narrows nothing itself (the grid's paint state says which rows, groups
// and bands to paint) and draws, relative to the clip origin: the rows band
// (row and cell backgrounds, focus frames, cell and row separators), each
// painted group's cells through the columns' visions, the title band with
// each group's titles, the inverted pressed title when the designer does not
// draw pressed titles, and the footer band with each group's footer cells.
// Grid paints go through the grid's off-screen bitmap, kept between paints
// (the clip's part of it is drawn and copied in one operation). Concrete designers override single
// bands and add lines.
#pragma once

#include "bv/designer.h"

namespace brevant {

// The soft form of a colour, as ultra-soft selections show it: three
// quarters of the colour and one quarter of the highlight colour.
TColor SoftColor(TColor color);

// The bands a group's separators are drawn in.
enum TtlSeparatorBand : Byte { sbTitle, sbRows, sbFooter };

// What one paint works with; exists only during Paint. Coordinates are
// relative to the clip origin.
struct TtlPaintContext {
  TDBTabulon* Grid = nullptr;    // the grid painted
  TtlPaintInfo* Info = nullptr;  // its paint state
  TCanvas* Canvas = nullptr;     // target: the bitmap's canvas while off-screen
  TCanvas* OffScreen = nullptr;  // canvas over the kept off-screen pixels, nil otherwise
  Integer DX = 0;                // the clip rectangle's left
  Integer DY = 0;                // the clip rectangle's top
  Integer PaintedWidth = 0;      // from the first painted group's left to the last's right
  Integer TitleHeight = 0;       // painted title height, 0 without titles
  Integer DataHeight = 0;        // painted rows × RowHeight, 0 without rows
  Integer FooterHeight = 0;      // painted footer height, 0 without footers
  Integer FooterTop = 0;         // top of the footer band
};

class TtlBaseDesigner : public TtlDesigner {
  BV_CLASS(TtlBaseDesigner, TtlDesigner)
 public:
  explicit TtlBaseDesigner(TComponent* owner = nullptr);

  // Line and surface colours; clNone draws nothing.
  TColor VertLines() const { return vertLines_; }
  void SetVertLines(TColor value);
  TColor HorizLines() const { return horizLines_; }
  // Turning row lines on or off (from or to clNone) asks the line widths
  // again, so each designer's own rule decides the row line width.
  void SetHorizLines(TColor value);
  TColor CellSeparator() const { return cellSeparator_; }
  void SetCellSeparator(TColor value);
  TColor RowSeparator() const { return rowSeparator_; }
  void SetRowSeparator(TColor value);
  TColor FooterSurfaceColor() const { return footerSurfaceColor_; }
  void SetFooterSurfaceColor(TColor value);
  TColor FooterLines() const { return footerLines_; }
  void SetFooterLines(TColor value);
  bool FlatFooter() const { return flatFooter_; }
  void SetFlatFooter(bool value);

  void Paint(TDBTabulon* grid, TtlPaintInfo* info) override;

 protected:
  void GetFooterLineWidths(Integer& inner, Integer& outer) override;
  void AssignFrom(const TtlDesigner* source) override;

  // The bands, in the order Paint calls them.
  virtual void PaintTitleBand();
  virtual void PaintRowsBand();
  virtual void PaintFooterBand();
  // x: the group's left relative to the clip origin; dx: the clip's left.
  virtual void PaintGroupTitle(const TtlGroupInfo& group, Integer x, Integer dx);
  virtual void PaintGroupFooter(const TtlGroupInfo& group, Integer x, Integer dx);

  // The paint in progress (only valid inside Paint).
  const TtlPaintContext& Context() const { return ctx_; }
  // Whether group is painted and in view.
  bool GroupPainted(Integer group) const;
  // The lines between the group's columns in a band (row: window row for
  // sbRows) in colour: above a column not on the first line, left of a
  // column not first in its line.
  void DrawGroupSeparators(const TtlGroupInfo& group, TtlSeparatorBand band, Integer row,
                           TColor colour);

 private:
  // One row of the rows band: backgrounds, focus frame, separators.
  void PaintRow(Integer row, Integer top);
  TColor CellColor(const TtlColumn* column, Integer row, TColor rowColor) const;
  void PaintCellFocus(const TtlColumn* column, Integer row);
  void PaintRowFocus(Integer row, Integer top);
  void PaintGroups(bool titles);
  void InvertPressedTitle();
  // A canvas over the top-left width x height pixels of the grid's kept
  // off-screen bitmap.
  static TObjectPtr<TCanvas> OffScreenCanvas(TtlPaintInfo* info, Integer width, Integer height);
  // Fills rect (clip-relative) in colour.
  void Fill(const TRect& rect, TColor colour);

  TColor vertLines_;           // 0 at creation
  TColor horizLines_;          // 0 at creation
  TColor cellSeparator_;       // 0 at creation
  TColor rowSeparator_;        // clNone at creation
  TColor footerSurfaceColor_;  // clBtnFace at creation
  TColor footerLines_;         // clGray at creation
  bool flatFooter_ = false;    // footers without 3D edges
  TtlPaintContext ctx_;        // the paint in progress
};

}  // namespace brevant
