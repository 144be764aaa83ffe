// TDBTabulon: the consistency check of the row window, the rules written
// atop tabulon.h in code. Debug builds run it after every recomputation of
// the window; the grid's randomised tests run it after every step.
#include <cassert>

#include "bv/bv_fwd.h"
#include "bv/datalink_ex.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "db/dataset.h"
#include "rtl/format.h"

namespace brevant {

namespace {

// Appends one rule to the report when it does not hold.
void Require(String& faults, bool holds, const char* rule) {
  if (holds) return;
  if (!faults.empty()) faults += "; ";
  faults += rule;
}

}  // namespace

String TDBTabulon::RowWindowFault() const {
  String faults;
  const bool linked = dataSet_ && dataSet_->Active() && dataLink_->Active();
  const bool filled = linked && dataLink_->RecordCount() > 0;
  const Integer paintRows = static_cast<Integer>(paintInfo_->Rows.size());

  Require(faults, freezeCount_ >= 0, "FreezeCount is not negative");
  Require(faults, paintingEnabled_ == (freezeCount_ == 0), "painting is off exactly while frozen");
  Require(faults, fitRowCount_ >= 1, "at least one row fits");
  Require(faults, rowCount_ >= 1 && rowCount_ <= fitRowCount_,
          "RowCount is between 1 and FitRowCount");
  Require(faults, paintRows == rowCount_, "one paint entry per window row");
  Require(faults, dataAreaBottom_ == TitleAreaHeight() + rowHeight_ * (showsRows_ ? rowCount_ : 0),
          "the data area ends below the shown rows");
  Require(faults, emptyAreaHeight_ >= 0, "the empty area is not negative");
  Require(faults, !moreRecords_ || showsRows_, "records follow only a window that shows rows");
  Require(faults, cursorRow_ >= -1 && cursorRow_ < rowCount_, "CursorRow is a window row or -1");
  if (filled) {
    Require(faults, rowCount_ == dataLink_->RecordCount(), "RowCount is the link's record count");
    Require(faults, dataLink_->BufferCount() == fitRowCount_,
            "the link buffers as many records as rows fit");
    Require(faults, activeRow_ >= 0 && activeRow_ < rowCount_, "ActiveRow is a window row");
    if (!inScrollHandler_)
      Require(faults, activeRow_ == dataLink_->ActiveRecord(),
              "ActiveRow is the link's active record");
    if (cursorType_ == gctSensitive)
      Require(faults, cursorRow_ == dataLink_->ActiveRecord(),
              "a sensitive cursor shows the active record");
  } else {
    Require(faults, rowCount_ == 1, "a window without records has one row");
    Require(faults, !moreRecords_, "no records follow a window without records");
  }
  if (faults.empty()) return faults;
  return Format("row window (rows %d of %d fit, active %d, cursor %d): %s",
                {rowCount_, fitRowCount_, activeRow_, cursorRow_, faults});
}

void TDBTabulon::CheckRowWindowInvariants() const {
  const String fault = RowWindowFault();
  if (!fault.empty()) throw EInvalidOperation(fault);
}

void TDBTabulon::DebugCheckRowWindow() const {
#ifndef NDEBUG
  assert(RowWindowFault().empty() &&
         "every recomputation of the row window leaves it keeping its rules");
#endif
}

}  // namespace brevant
