#include "bv/selection.h"

#include "bv/tabulon.h"
#include "db/dataset.h"

namespace brevant {

TDataSet* TtlCurrentRecShot::DataSet() const {
  return grid_->DataSet();
}

void TtlCurrentRecShot::CaptureCursor(bool notify) {
  TDataSet* dataSet = DataSet();
  TBookmark bookmark;
  if (dataSet && dataSet->Active() && !dataSet->IsEmpty()) bookmark = dataSet->Bookmark();
  if (bookmark == bookmark_) return;
  bookmark_ = bookmark;
  if (notify) grid_->SelectionChanged();
}

void TtlCurrentRecShot::FollowCursor(bool notify) {
  if (grid_->CursorType() == gctSensitive || grid_->Navigating()) CaptureCursor(notify);
}

void TtlCurrentRecShot::Release(bool notify) {
  bool had = HasRecord();
  bookmark_.clear();
  grid_->SetCursorRowDirect(-1);
  if (notify && had) grid_->SelectionChanged();
}

bool TtlCurrentRecShot::MatchesActive() const {
  TDataSet* dataSet = DataSet();
  if (!HasRecord() || !dataSet || !dataSet->Active()) return false;
  TBookmark here = dataSet->Bookmark();
  return !here.empty() && dataSet->CompareBookmarks(here, bookmark_) == 0;
}

}  // namespace brevant
