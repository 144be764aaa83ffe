// TtlDesigner: the visual style object that grids paint through. This is the
// base the concrete designers build on: the list of grids it serves, the
// fonts laid over a grid's font for titles, cells and footers, the cell
// margins, the line widths that the grid's measuring needs, and whether all
// rows look alike (so a grid may move its window contents on a one-row
// scroll). A grid without a designer of its own uses DefaultDesigner().
#pragma once

#include <vector>

#include "bv/bv_fwd.h"
#include "bv_rtm/bv_rtm_fwd.h"
#include "classes/component.h"

namespace brevant {

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
  TtlDesigner* designer_ = nullptr;
  Integer left_ = 2, top_ = 2, right_ = 2, bottom_ = 2;
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

  // Created on first read; nil-safe accessors for measuring are below.
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
  void RequeryLineWidths();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  virtual Integer GetVertLineWidth() { return 0; }
  virtual Integer GetRowLineWidth() { return 0; }
  virtual void GetTitleLineWidths(Integer& inner, Integer& outer) { inner = outer = 0; }
  virtual void GetFooterLineWidths(Integer& inner, Integer& outer) { inner = outer = 0; }
  void SetUniformRows(bool value) { uniformRows_ = value; }
  bool Assigning() const { return assigning_; }

 private:
  void SetChildFont(TChildFont*& font, TChildFont* value);
  TChildFont* EnsureFont(TChildFont*& font);
  void FontChanged(TChildFont* font);

  std::vector<TDBTabulon*> grids_;
  bool assigning_ = false;
  bool uniformRows_ = false;
  TChildFont* titleFont_ = nullptr;
  TChildFont* cellFont_ = nullptr;
  TChildFont* footerFont_ = nullptr;
  TtlCellMargins* titleMargins_ = nullptr;
  TtlCellMargins* cellMargins_ = nullptr;
  TtlCellMargins* footerMargins_ = nullptr;
  Integer vertLineWidth_ = 0, rowLineWidth_ = 0;
  Integer innerTitleLine_ = 0, outerTitleLine_ = 0;
  Integer innerFooterLine_ = 0, outerFooterLine_ = 0;
};

// The process-wide designer of grids without one of their own; created on
// first use, freed at exit.
TtlDesigner* DefaultDesigner();
}  // namespace brevant
