#include "bv/selection.h"

#include <algorithm>
#include <exception>

#include "bv/datalink_ex.h"
#include "bv/grid_params.h"
#include "bv/tabulon.h"
#include "bv_db/quick_record_set.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_rtm/tokens.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "rtl/closing_guard.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TtlSelection, TPersistent)

Integer CompareBookmarkOrder(TDataSet* dataSet, const TBookmark& a, const TBookmark& b) {
  if (a.empty() || b.empty()) return a.empty() == b.empty() ? 0 : a.empty() ? 1 : -1;
  const Integer result = dataSet->CompareBookmarks(a, b);
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

// ---- record shot ----

TDataSet* TtlRecShot::DataSet() const {
  return grid_->DataSet();
}

bool TtlRecShot::LinkActive() const {
  TDataSet* dataSet = DataSet();
  return dataSet && dataSet->Active() && grid_->DataLink()->Active();
}

Variant TtlRecShot::ReadValues(const String& names) const {
  if (names.empty()) return Variant();
  TDataSet* dataSet = DataSet();
  for (Integer i = 0, n = TokenCount(names, ';'); i < n; ++i) {
    const String name = GetToken(names, i, ';');
    if (!name.empty() && !dataSet->FindField(name)) return Variant();
  }
  return dataSet->FieldValues(names);
}

void TtlRecShot::Capture(const TBookmark& bookmark) {
  bookmark_ = bookmark;
  keyValues_ = Variant();
  bookmarkValues_ = Variant();
  recNo_ = -1;
  if (LinkActive() && !bookmark.empty()) {
    keyValues_ = ReadValues(grid_->UniqueFields());
    bookmarkValues_ = ReadValues(grid_->BookmarkFields());
    if (grid_->ParamsDB()->EnableRecNo()) recNo_ = DataSet()->RecNo();
  }
  isSet_ = !bookmark_.empty();
}

bool TtlRecShot::IsCurrent() const {
  if (!LinkActive()) return bookmark_.empty() && VarIsEmpty(keyValues_);
  TDataSet* dataSet = DataSet();
  if (!grid_->UniqueFields().empty() && !VarIsEmpty(keyValues_))
    return ReadValues(grid_->UniqueFields()) == keyValues_;
  if (bookmark_.empty()) return false;
  const TBookmark here = dataSet->Bookmark();
  return !here.empty() && CompareBookmarkOrder(dataSet, here, bookmark_) == 0;
}

bool TtlRecShot::GotoRecord() {
  if (!LinkActive()) return false;
  TDataSet* dataSet = DataSet();
  if (grid_->CursorType() == gctInsensitiveID) {
    const String& fields = grid_->UniqueFields();
    if (fields.empty() || VarIsEmpty(keyValues_) || VarIsEmpty(ReadValues(fields))) return false;
    return dataSet->Locate(fields, keyValues_);
  }
  if (bookmark_.empty() || !dataSet->BookmarkValid(bookmark_)) return false;
  dataSet->GotoBookmark(bookmark_);
  return true;
}

bool TtlRecShot::GotoCapturedRecord() {
  if (!GotoRecord()) return false;
  if (!VarIsEmpty(keyValues_) && ReadValues(grid_->UniqueFields()) != keyValues_) return false;
  if (!VarIsEmpty(bookmarkValues_) && ReadValues(grid_->BookmarkFields()) != bookmarkValues_)
    return false;
  return true;
}

// ---- current record shot ----

void TtlCurrentRecShot::Capture(const TBookmark& bookmark) {
  TtlRecShot::Capture(bookmark);
  follow_ = isSet_;
  TDataSet* dataSet = DataSet();
  const bool bound = LinkActive() && (isSet_ || dataSet->State() != dsBrowse);
  grid_->SetCursorRowDirect(bound ? grid_->DataLink()->ActiveRecord() : -1);
}

void TtlCurrentRecShot::RepaintRows(Integer oldRow) {
  // The scroll handler repaints what a scroll moved itself.
  if (grid_->InScrollHandler()) return;
  if (oldRow != grid_->CursorRow()) grid_->InvalidateRow(oldRow);
  grid_->InvalidateRow(grid_->CursorRow());
}

void TtlCurrentRecShot::CaptureCursor(bool notify) {
  const bool active = LinkActive();
  const TBookmark bookmark = active ? DataSet()->Bookmark() : TBookmark();
  const bool named = bookmark.empty() ? bookmark_.empty() && VarIsEmpty(keyValues_) : IsCurrent();
  const Integer oldRow = grid_->CursorRow();
  Capture(bookmark);
  RepaintRows(oldRow);
  if (notify && !named) grid_->SelectionChanged(true, false);
}

void TtlCurrentRecShot::FollowCursor(bool notify) {
  if (grid_->CursorType() == gctSensitive || grid_->Navigating()) CaptureCursor(notify);
}

void TtlCurrentRecShot::Release(bool notify) {
  if (grid_->CursorType() == gctSensitive || !follow_) return;
  const Integer oldRow = grid_->CursorRow();
  Capture(TBookmark());
  if (!grid_->InScrollHandler()) grid_->InvalidateRow(oldRow);
  if (notify) grid_->SelectionChanged(true, false);
}

bool TtlCurrentRecShot::CanUseKey(Integer mode) {
  const bool can = LinkActive() && (mode == 1 || !grid_->UniqueFields().empty());
  if (can) Release(false);
  return can;
}

void TtlCurrentRecShot::SetKey(const Variant& value, bool locate, bool notify) {
  if (!CanUseKey(2) || VarIsNull(value) || VarIsEmpty(value)) return;
  TDataSet* dataSet = DataSet();
  if (locate) {
    const bool found = !VarIsEmpty(ReadValues(grid_->UniqueFields())) &&
                       dataSet->Locate(grid_->UniqueFields(), value);
    Capture(found ? dataSet->Bookmark() : TBookmark());
  } else {
    bookmark_.clear();
    bookmarkValues_ = Variant();
    recNo_ = -1;
    keyValues_ = value;
    isSet_ = !VarIsEmpty(keyValues_);
    follow_ = false;
    grid_->UpdateCursorRow(0);
  }
  grid_->InvalidateRow(grid_->CursorRow());
  if (notify) grid_->SelectionChanged(true, false);
}

void TtlCurrentRecShot::Reset() {
  bookmark_.clear();
  keyValues_ = Variant();
  bookmarkValues_ = Variant();
  recNo_ = -1;
  isSet_ = false;
  follow_ = false;
}

// ---- selection ----

TtlSelection::TtlSelection(TDBTabulon* grid)
    : grid_(grid), current_(std::make_unique<TtlCurrentRecShot>(grid)) {}

TtlSelection::~TtlSelection() = default;

TDataSet* TtlSelection::DataSet() const {
  return grid_->DataSet();
}

Integer TtlSelection::Count() const {
  if (items_.empty()) return current_->IsSet() ? 1 : 0;
  return SelectedCount();
}

TtlRecShot* TtlSelection::Item(Integer index) const {
  if (items_.empty() && current_->IsSet() && index == 0) return current_.get();
  if (index < 0 || index >= SelectedCount())
    throw EBVError(bvres::SIndexOutOfRange, {index, SelectedCount()});
  return items_[static_cast<std::size_t>(index)].get();
}

bool TtlSelection::Find(const TBookmark& bookmark, Integer& position) const {
  Integer low = 0, high = SelectedCount() - 1;
  TDataSet* dataSet = DataSet();
  while (low <= high) {
    const Integer mid = low + (high - low) / 2;
    const Integer c =
        CompareBookmarkOrder(dataSet, items_[static_cast<std::size_t>(mid)]->Bookmark(), bookmark);
    if (c == 0) {
      position = mid;
      return true;
    }
    if (c < 0)
      low = mid + 1;
    else
      high = mid - 1;
  }
  position = low;
  return false;
}

Integer TtlSelection::IndexOf(const TBookmark& bookmark) const {
  Integer position = -1;
  return Find(bookmark, position) ? position : -1;
}

bool TtlSelection::IsSelected(const TBookmark& bookmark) const {
  Integer position = 0;
  return !bookmark.empty() && !items_.empty() && Find(bookmark, position);
}

bool TtlSelection::IsCurrentSelected() const {
  TDataSet* dataSet = DataSet();
  if (items_.empty() || !dataSet || !dataSet->Active()) return false;
  return IsSelected(dataSet->Bookmark());
}

void TtlSelection::Remove(Integer position) {
  TtlRecShot* shot = items_[static_cast<std::size_t>(position)].get();
  std::erase(history_, shot);
  items_.erase(items_.begin() + position);
}

bool TtlSelection::SelectCurrent(bool select, bool repaint) {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataSet->Active()) return false;
  const TBookmark bookmark = dataSet->Bookmark();
  if (bookmark.empty()) return false;
  Integer position = 0;
  if (Find(bookmark, position) == select) return false;
  bool released = false;
  if (select) {
    auto shot = std::make_unique<TtlRecShot>(grid_);
    shot->Capture(bookmark);
    history_.push_back(shot.get());
    items_.insert(items_.begin() + position, std::move(shot));
  } else {
    Remove(position);
    if (grid_->CursorType() != gctSensitive && current_->IsSet() &&
        CompareBookmarkOrder(dataSet, bookmark, current_->Bookmark()) == 0) {
      current_->Release(false);
      released = true;
    }
  }
  if (repaint) grid_->InvalidateRow(grid_->CursorRow());
  grid_->SelectionChanged(released, true);
  return true;
}

bool TtlSelection::WalkRange(const TBookmark& toBookmark,
                             std::vector<std::unique_ptr<TtlRecShot>>& found) {
  TDataSet* dataSet = DataSet();
  const bool forward = CompareBookmarkOrder(dataSet, dataSet->Bookmark(), toBookmark) < 0;
  for (;;) {
    const TBookmark here = dataSet->Bookmark();
    Integer position = 0;
    if (!here.empty() && !Find(here, position)) {
      auto shot = std::make_unique<TtlRecShot>(grid_);
      shot->Capture(here);
      found.push_back(std::move(shot));
    }
    if (here == toBookmark) break;
    if (dataSet->MoveBy(forward ? 1 : -1) == 0) break;
  }
  return forward;
}

void TtlSelection::MergeSorted(std::vector<std::unique_ptr<TtlRecShot>>& shots) {
  TDataSet* dataSet = DataSet();
  std::vector<std::unique_ptr<TtlRecShot>> merged;
  merged.reserve(items_.size() + shots.size());
  auto a = items_.begin(), b = shots.begin();
  while (a != items_.end() || b != shots.end()) {
    const bool takeA =
        b == shots.end() || (a != items_.end() &&
                             CompareBookmarkOrder(dataSet, (*a)->Bookmark(), (*b)->Bookmark()) < 0);
    merged.push_back(std::move(takeA ? *a++ : *b++));
  }
  items_ = std::move(merged);
}

void TtlSelection::SelectRange(const TBookmark& toBookmark) {
  TDataSet* dataSet = DataSet();
  if (toBookmark.empty() || !dataSet || !dataSet->Active()) return;
  // A range towards a record that is gone would run to an end of the dataset.
  if (!dataSet->BookmarkValid(toBookmark)) return;
  std::vector<std::unique_ptr<TtlRecShot>> found;
  bool forward = true;
  {
    TGridFreeze freeze(grid_, true);
    TDisableControls controls(dataSet);
    TznCurrentRecordKeeper keeper(dataSet);
    forward = WalkRange(toBookmark, found);
  }
  if (found.empty()) return;
  // History follows the walk (the record reached last was selected last);
  // Items take the shots in ascending order.
  for (auto& shot : found) history_.push_back(shot.get());
  if (!forward) std::reverse(found.begin(), found.end());
  MergeSorted(found);
  grid_->SelectionChanged(false, true);
}

TBookmark TtlSelection::AnchorBookmark() const {
  if (items_.empty()) return current_->Bookmark();
  return history_.back()->Bookmark();
}

void TtlSelection::FreeShots() {
  history_.clear();
  items_.clear();
}

void TtlSelection::Clear(bool repaint, bool includeCurrent) {
  if ((includeCurrent ? Count() : SelectedCount()) == 0) return;
  const bool hadCurrent = current_->IsSet();
  anchor_.clear();
  FreeShots();
  if (includeCurrent) current_->Release(false);
  if (repaint) grid_->InvalidateRows();
  grid_->SelectionChanged(includeCurrent && hadCurrent, true);
}

void TtlSelection::DeleteSelected(bool reposition, bool repaint) {
  TDataSet* dataSet = DataSet();
  if (Count() == 0 || !dataSet || !dataSet->Active()) return;
  Integer recNo = reposition ? Item(0)->RecNo() : -1;
  {
    TGridFreeze freeze(grid_, repaint);
    TDisableControls controls(dataSet);
    for (Integer i = Count() - 1; i >= 0; --i) {
      // A shot whose record is gone or is another record now is skipped:
      // only records that are selected are deleted.
      if (Item(i)->GotoCapturedRecord()) dataSet->Delete();
    }
    // A refused delete leaves the selection as it was: shots of records
    // already deleted are skipped by the next attempt.
    Clear(false, true);
  }
  if (recNo < 0) return;
  recNo = std::min(recNo, dataSet->RecordCount());
  if (recNo <= 0) {
    current_->Release(true);
    return;
  }
  dataSet->SetRecNo(recNo);
  current_->CaptureCursor(true);
}

}  // namespace brevant
