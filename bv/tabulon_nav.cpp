// Keyboard navigation of the grid: GotoCell, StepCell and the key map.
#include "bv/tabulon.h"

namespace brevant {

Integer TDBTabulon::HitTest(Integer /*x*/, Integer /*y*/, Integer& row, Integer& column) const {
  row = column = -1;
  return 0;
}

void TDBTabulon::GotoCell(Cardinal /*flags*/, Integer /*distance*/, Integer /*column*/) {}

void TDBTabulon::StepCell(TtlFieldEditAction /*direction*/, bool /*extend*/) {}

bool TDBTabulon::SyncCursor(bool /*force*/) { return true; }

bool TDBTabulon::InsertRecord(bool /*append*/) { return false; }

bool TDBTabulon::Pickup(Integer /*kind*/, bool /*withRecord*/) { return false; }

void TDBTabulon::ShowColumnMenu(TtlColumn* /*column*/, Integer /*x*/, Integer /*y*/) {}

void TDBTabulon::ShowFooterMenu(TtlColumn* /*column*/, Integer /*x*/, Integer /*y*/) {}

bool TDBTabulon::TitleStatesAllowed(bool /*multi*/, const TtlColumn* /*column*/) const {
  return false;
}

bool TDBTabulon::ColumnDragAllowed(const TtlColumn* /*column*/) const { return false; }

}  // namespace brevant
