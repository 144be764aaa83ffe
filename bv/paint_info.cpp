#include "bv/paint_info.h"

#include <algorithm>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "classes/rtti_builder.h"
#include "graphics/bitmap.h"
#include "rtl/strutils.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TtlRowAttrs, TObject)
BV_IMPLEMENT_CLASS(TtlPaintInfo, TObject)

TtlRowAttrs::~TtlRowAttrs() = default;

void TtlRowAttrs::Reset(Integer row, Integer columnCount) {
  Color = clNone;
  FontColor = clNone;
  FontStyle = {};
  FontName.clear();
  Fill = false;
  UltraSoft = false;
  RowIndex = row;
  StripNo = 0;
  IsCurrent = false;
  Focused = false;
  Selected = false;
  Hot = false;
  if (columnCount < 0) columnCount = 0;
  while (static_cast<Integer>(cells_.size()) > columnCount) cells_.pop_back();
  while (static_cast<Integer>(cells_.size()) < columnCount)
    cells_.push_back(std::make_unique<TtlCellAttrs>());
  for (auto& cell : cells_) cell->Reset();
}

TtlCellAttrs* TtlRowAttrs::Cells(Integer columnIndex) const {
  if (columnIndex < 0 || columnIndex >= static_cast<Integer>(cells_.size())) return nullptr;
  return cells_[static_cast<size_t>(columnIndex)].get();
}

TtlCellAttrs* TtlRowAttrs::CellsByName(const String& fieldName) const {
  TDBTabulon* grid = PaintInfo ? PaintInfo->Grid : nullptr;
  if (!grid) return nullptr;
  TtlColumns* columns = grid->Columns();
  for (Integer i = 0; i < columns->Count(); ++i)
    if (SameText(columns->Items(i)->FieldName(), fieldName)) return Cells(i);
  return nullptr;
}

TtlPaintInfo::TtlPaintInfo(TDBTabulon* grid) : Grid(grid) {}

TtlPaintInfo::~TtlPaintInfo() = default;

void TtlPaintInfo::ResizeRows(Integer count) {
  if (count < 0) count = 0;
  const auto n = static_cast<size_t>(count);
  if (Rows.size() > n) Rows.erase(Rows.begin(), Rows.begin() + static_cast<long>(Rows.size() - n));
  while (Rows.size() < n) Rows.push_back(std::make_unique<TtlRowAttrs>(this));
}

TBitmap* TtlPaintInfo::OffScreenBitmap(Integer width, Integer height) {
  const Integer w = std::max(width, Grid ? Grid->ClientWidth() + 1 : 0);
  const Integer h = std::max(height, Grid ? Grid->ClientHeight() : 0);
  if (!offScreen_ || offScreen_->Width() != w || offScreen_->Height() != h) {
    // A new size keeps nothing worth copying: make the bitmap afresh.
    offScreen_.reset(Create<TBitmap>());
    offScreen_->SetSize(w, h);
  }
  return offScreen_.get();
}

void TtlPaintInfo::ReleaseOffScreen() {
  offScreen_.reset();
}

}  // namespace brevant
