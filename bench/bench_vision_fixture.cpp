#include "bench_vision_fixture.h"

#include "classes/rtti_builder.h"

namespace brevant::bench {

BV_IMPLEMENT_CLASS(TCountingPainter, TtlPainter)

bool TCountingPainter::Prepare(TtlFieldList* fields) {
  SetFieldList(fields);
  return false;
}

void TCountingPainter::BeginColumn(TtlColumn*, TCanvas* canvas, Integer, Integer, Integer first,
                                   Integer last) {
  SetTarget(canvas, TRect{}, TRect{});
  row_ = first;
  last_ = last;
}

bool TCountingPainter::NextRow() {
  if (row_ > last_) return false;
  ResetCell();
  FieldList()->DataLink()->SetActiveRecord(row_);
  return true;
}

}  // namespace brevant::bench
