#include "bv/column_sizer.h"

#include <algorithm>

#include "bv/column.h"
#include "bv/tabulon.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "rtl/scope.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TtlColumnSizer, TPersistent)

TtlColumnSizer* ColumnSizer() {
  static TObjectPtr<TtlColumnSizer> sizer = MakeObject<TtlColumnSizer>();
  return sizer.get();
}

void TtlColumnSizer::Prepare(TtlColumn* column, Integer minX, Integer maxX) {
  column_ = column;
  minX_ = minX;
  maxX_ = std::max(maxX, minX);
}

Integer TtlColumnSizer::Clamp(Integer x) const {
  return std::clamp(x, minX_, maxX_);
}

void TtlColumnSizer::DrawLine(Integer x) const {
  if (!grid_ || !grid_->HandleAllocated()) return;
  const HWND wnd = grid_->Handle();
  TCanvas* dc = GetDC(wnd);
  if (!dc) return;
  TScopeGuard release([wnd, dc] { ReleaseDC(wnd, dc); });
  dc->Pen()->SetColor(clWhite);
  dc->Pen()->SetWidth(2);
  dc->Pen()->SetMode(pmXor);
  dc->MoveTo(x, 0);
  dc->LineTo(x, grid_->ClientHeight());
}

void TtlColumnSizer::Start(TDBTabulon* grid, Integer x) {
  Cancel();
  grid_ = grid;
  lineX_ = Clamp(x);
  DrawLine(lineX_);
}

void TtlColumnSizer::Track(Integer x) {
  if (!grid_) return;
  x = Clamp(x);
  if (x == lineX_) return;
  DrawLine(lineX_);
  lineX_ = x;
  DrawLine(lineX_);
}

Integer TtlColumnSizer::Finish(Integer x) {
  const Integer width = std::max(Clamp(x) - minX_, 0);
  Cancel();
  return width;
}

void TtlColumnSizer::Cancel() {
  if (grid_ && lineX_ >= 0) DrawLine(lineX_);
  grid_ = nullptr;
  lineX_ = -1;
}

void TtlColumnSizer::Forget(const TObject* object) {
  if (!object) return;
  if (object == grid_) {
    grid_ = nullptr;  // its window is gone: nothing to erase
    lineX_ = -1;
    column_ = nullptr;
  }
  if (object == column_) column_ = nullptr;
}

}  // namespace brevant
