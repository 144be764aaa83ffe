// Column sizing and column, group and record dragging in the grid.
#include "bv/tabulon.h"

namespace brevant {

bool TDBTabulon::SizingEdgeAt(Integer /*x*/, Integer /*y*/) { return false; }

void TDBTabulon::StartSizing(Integer /*x*/) {}

void TDBTabulon::TrackSizing(Integer /*x*/) {}

void TDBTabulon::EndSizing(Integer /*x*/) {}

}  // namespace brevant
