// TtlDesigner: the visual style object that grids paint through. This is the
// base every designer builds on: the list of grids it serves, the colours of
// titles, footers, fixed columns and the selection, the focus rectangle kind,
// the fonts laid over a grid's font for titles, cells and footers, the cell
// margins, the line widths that the grid's measuring needs, and whether all
// rows look alike (so a grid may move its window contents on a one-row
// scroll). Every change reaches exactly the grids that use the designer,
// with the narrowest answer (repaint, re-measure or relayout); nothing is
// told while the designer loads or copies another one, and one relayout
// follows at the end of either. A grid without a designer of its own uses
// DefaultDesigner().
#pragma once

#include <vector>

#include "bv/bv_fwd.h"
#include "bv_rtm/bv_rtm_fwd.h"
#include "classes/classes_fwd.h"
#include "classes/component.h"
#include "graphics/colors.h"

namespace brevant {

class TCanvas;
class TtlPaintInfo;

// Where the focus rectangle is drawn.
enum TtlFocusRectKind : Byte {
  frcNone,           // never
  frcCell,           // around the current cell while the grid has the focus
  frcRow,            // around the current row while the grid has the focus
  frcPersistentRow,  // around the current row, always
  frcPersistentCell  // around the current cell, always
};
BV_DECLARE_ENUM_INFO(TtlFocusRectKind)

class TtlCellMargins : public TPersistent {
  BV_CLASS(TtlCellMargins, TPersistent)
 public:
  TtlCellMargins() = default;
  explicit TtlCellMargins(TtlDesigner* designer) : designer_(designer) {}
  Integer LeftMargin() const { return left_; }
  Integer TopMargin() const { return top_; }
  Integer RightMargin() const { return right_; }
  Integer BottomMargin() const { return bottom_; }
  // Negative values raise EBVError; a change re-measures the designer's grids.
  void SetLeftMargin(Integer value) { Set(left_, value); }
  void SetTopMargin(Integer value) { Set(top_, value); }
  void SetRightMargin(Integer value) { Set(right_, value); }
  void SetBottomMargin(Integer value) { Set(bottom_, value); }
  // Copies the four values of another margins object without notification.
  void Assign(const TPersistent* source) override;

 private:
  void Set(Integer& field, Integer value);
  TtlDesigner* designer_ = nullptr;  // told of changes; nil for a loose copy
  Integer left_ = 2;                 // pixels left of the content
  Integer top_ = 2;                  // pixels above the content
  Integer right_ = 2;                // pixels right of the content
  Integer bottom_ = 2;               // pixels below the content
};

class TtlDesigner : public TComponent {
  BV_CLASS(TtlDesigner, TComponent)
 public:
  explicit TtlDesigner(TComponent* owner = nullptr);
  ~TtlDesigner() override;
  // Tells every registered grid that the designer goes (also when an
  // owner's teardown frees it before a grid it shares the owner with).
  void BeforeDestruction() override;

  // The grids that use this designer (not owned).
  void RegisterGrid(TDBTabulon* grid);
  void UnregisterGrid(TDBTabulon* grid);
  Integer GridCount() const { return static_cast<Integer>(grids_.size()); }
  TDBTabulon* Grids(Integer index) const { return grids_.at(static_cast<size_t>(index)); }

  bool UniformRows() const { return uniformRows_; }
  // Whether the designer draws a pressed title itself; when not, the base
  // paint inverts it.
  bool DrawsPressedTitle() const { return drawsPressedTitle_; }

  // ---- colours and selection look ----
  TColor TitleColor() const { return titleColor_; }
  void SetTitleColor(TColor value);
  TColor FooterColor() const { return footerColor_; }
  void SetFooterColor(TColor value);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor value);
  TtlFocusRectKind FocusRectKind() const { return focusRectKind_; }
  void SetFocusRectKind(TtlFocusRectKind value);
  TColor SelectedCell() const { return selectedCell_; }
  void SetSelectedCell(TColor value);
  TColor SelectedRow() const { return selectedRow_; }
  void SetSelectedRow(TColor value);
  TColor SelectedCellText() const { return selectedCellText_; }
  void SetSelectedCellText(TColor value);
  TColor SelectedRowText() const { return selectedRowText_; }
  void SetSelectedRowText(TColor value);
  TColor HiddenSelection() const { return hiddenSelection_; }
  void SetHiddenSelection(TColor value);
  bool SelectedCellFill() const { return selectedCellFill_; }
  void SetSelectedCellFill(bool value);
  bool SelectedRowFill() const { return selectedRowFill_; }
  void SetSelectedRowFill(bool value);
  bool UltraSoftSelectedCell() const { return ultraSoftSelectedCell_; }
  void SetUltraSoftSelectedCell(bool value);
  bool UltraSoftSelectedRow() const { return ultraSoftSelectedRow_; }
  void SetUltraSoftSelectedRow(bool value);

  // ---- fonts: created on first read; nil-safe accessors for measuring ----
  TChildFont* TitleFont();
  TChildFont* CellFont();
  TChildFont* FooterFont();
  void SetTitleFont(TChildFont* value) { SetChildFont(titleFont_, value); }
  void SetCellFont(TChildFont* value) { SetChildFont(cellFont_, value); }
  void SetFooterFont(TChildFont* value) { SetChildFont(footerFont_, value); }
  // The font objects as they are, nil when never read.
  const TChildFont* TitleFontIfAny() const { return titleFont_; }
  const TChildFont* CellFontIfAny() const { return cellFont_; }
  const TChildFont* FooterFontIfAny() const { return footerFont_; }
  bool IsTitleFontStored() const { return titleFont_ != nullptr; }
  bool IsCellFontStored() const { return cellFont_ != nullptr; }
  bool IsFooterFontStored() const { return footerFont_ != nullptr; }

  TtlCellMargins* TitleMargins() const { return titleMargins_; }
  TtlCellMargins* CellMargins() const { return cellMargins_; }
  TtlCellMargins* FooterMargins() const { return footerMargins_; }
  void SetTitleMargins(TtlCellMargins* value);
  void SetCellMargins(TtlCellMargins* value);
  void SetFooterMargins(TtlCellMargins* value);

  // Cached line widths (RequeryLineWidths refreshes them).
  Integer VertLineWidth() const { return vertLineWidth_; }
  Integer RowLineWidth() const { return rowLineWidth_; }
  Integer InnerTitleLineWidth() const { return innerTitleLine_; }
  Integer OuterTitleLineWidth() const { return outerTitleLine_; }
  Integer InnerFooterLineWidth() const { return innerFooterLine_; }
  Integer OuterFooterLineWidth() const { return outerFooterLine_; }

  // Every grid lays out again / re-measures and repaints. Nothing while
  // loading or assigning.
  void NotifyLayout();
  void NotifyMeasure();
  // Asks the five line widths again and stores them, always (measuring
  // reads them even while the designer loads or copies); then the grids lay
  // out again, which waits for the end of loading or copying.
  void RequeryLineWidths();

  // A designer of exactly this class: every property is copied through the
  // setters, then the line widths are asked again and the grids relay out
  // once (also when the copy failed half-way). Other sources raise the
  // platform's assignment error.
  void Assign(const TPersistent* source) override;

  // Paints the grid's clip area as info describes; the base fills the
  // grid's client rectangle with the paint's background colour.
  virtual void Paint(TDBTabulon* grid, TtlPaintInfo* info);

  // Column paint helpers, with the offsets of the painted area:
  // every visible column of the group draws its title / its cells of the
  // rows (through its vision and the grid's painter, only while the grid
  // shows rows) / its footer.
  void DrawTitles(TDBTabulon* grid, TCanvas* canvas, const TtlGroupInfo& group, Integer dx,
                  Integer dy);
  void DrawCells(TDBTabulon* grid, TCanvas* canvas, const TtlGroupInfo& group, Integer firstRow,
                 Integer lastRow, Integer dx, Integer dy);
  void DrawFooters(TDBTabulon* grid, TCanvas* canvas, const TtlGroupInfo& group, Integer dx,
                   Integer dy);

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Asks the line widths again and relays out every grid once.
  void Loaded() override;
  virtual Integer GetVertLineWidth() { return 0; }
  virtual Integer GetRowLineWidth() { return 0; }
  virtual void GetTitleLineWidths(Integer& inner, Integer& outer) { inner = outer = 0; }
  virtual void GetFooterLineWidths(Integer& inner, Integer& outer) { inner = outer = 0; }
  // Copies source's properties through the setters (source is of this
  // class); the base copies its own.
  virtual void AssignFrom(const TtlDesigner* source);
  void SetUniformRows(bool value) { uniformRows_ = value; }
  void SetDrawsPressedTitle(bool value) { drawsPressedTitle_ = value; }
  bool Assigning() const { return assigning_; }
  // Whether the grids are told now (not while loading or assigning).
  bool Notifies() const;

  // Repaints in every registered grid (nothing while loading or
  // assigning): titles and footers are updated at once, the cursor rows
  // too; "all" invalidates the whole grid.
  void RepaintTitles();
  void RepaintFooters();
  void RepaintCursorRows();
  void RepaintAll();

 private:
  void SetChildFont(TChildFont*& font, TChildFont* value);
  TChildFont* EnsureFont(TChildFont*& font);
  void FontChanged(TChildFont* font);
  // Runs fn for every registered grid, on a copy of the list (a grid may
  // leave it meanwhile).
  template <class F>
  void ForEachGrid(F fn);

  std::vector<TDBTabulon*> grids_;           // grids that use the designer, not owned
  bool assigning_ = false;                   // Assign copies another designer
  bool uniformRows_ = false;                 // every row looks alike
  bool drawsPressedTitle_ = true;            // a pressed title is drawn by the designer
  TColor titleColor_;                        // title band (clBtnFace)
  TColor footerColor_;                       // footer cells without their own colour (clBtnFace)
  TColor fixedColor_;                        // cells of columns fixed at the left (clBtnFace)
  TtlFocusRectKind focusRectKind_;           // frcCell
  TColor selectedCell_;                      // the current cell's fill (clHighlight)
  TColor selectedRow_;                       // a selected row's fill (clHighlight)
  TColor selectedCellText_;                  // the current cell's text (clHighlightText)
  TColor selectedRowText_;                   // a selected row's text (clHighlightText)
  TColor hiddenSelection_;                   // the selection of an unfocused grid (clBtnFace)
  bool selectedCellFill_ = true;             // the current cell shows the selection
  bool selectedRowFill_ = false;             // the current row shows the selection
  bool ultraSoftSelectedCell_ = false;       // the current cell keeps its colour, softened
  bool ultraSoftSelectedRow_ = false;        // selected rows keep their colour, softened
  TChildFont* titleFont_ = nullptr;          // overlay of title text, nil until read
  TChildFont* cellFont_ = nullptr;           // overlay of cell text, nil until read
  TChildFont* footerFont_ = nullptr;         // overlay of footer text, nil until read
  TtlCellMargins* titleMargins_ = nullptr;   // owned
  TtlCellMargins* cellMargins_ = nullptr;    // owned
  TtlCellMargins* footerMargins_ = nullptr;  // owned
  Integer vertLineWidth_ = 0;                // the line that ends each group
  Integer rowLineWidth_ = 0;                 // the line under each row
  Integer innerTitleLine_ = 0;               // above the first title line
  Integer outerTitleLine_ = 0;               // below the last title line
  Integer innerFooterLine_ = 0;              // above the first footer line
  Integer outerFooterLine_ = 0;              // below the last footer line
};

// The process-wide designer of grids without one of their own: the one
// registered with SetDefaultDesigner, else the grid unit's own base designer
// (made on first use, freed at exit).
TtlDesigner* DefaultDesigner();
// The registration hook for the unit that owns the default designer (not
// owned here; nil goes back to the base designer). Grids that fell back on
// the previous default move to the new one and lay out again. A registered
// designer being freed unregisters itself first.
void SetDefaultDesigner(TtlDesigner* designer);

}  // namespace brevant
