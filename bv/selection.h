// Record shots and the grid's selection.
//
// A record shot names a record independently of the dataset's cursor: by
// its bookmark, by the values of the grid's UniqueFields (its key values),
// by the values of BookmarkFields and by its record number. The current
// record shot stands for the grid's current record; with an insensitive
// cursor it keeps that record while the dataset moves elsewhere. The
// selection is a set of shots kept in the dataset's bookmark order (so
// membership is a binary search) plus the current shot, which counts as
// the selection while nothing is selected explicitly.
#pragma once

#include <memory>
#include <vector>

#include "bv/bv_fwd.h"
#include "db/db_fwd.h"
#include "rtl/persistent.h"
#include "rtl/variant.h"

namespace brevant {

// Orders two bookmarks through the dataset: -1, 0 or 1. Two empty
// bookmarks are equal; an empty one comes after any other.
Integer CompareBookmarkOrder(TDataSet* dataSet, const TBookmark& a, const TBookmark& b);

class TtlRecShot {
 public:
  explicit TtlRecShot(TDBTabulon* grid) : grid_(grid) {}
  virtual ~TtlRecShot() = default;
  TtlRecShot(const TtlRecShot&) = delete;
  TtlRecShot& operator=(const TtlRecShot&) = delete;

  TDBTabulon* Grid() const { return grid_; }
  const TBookmark& Bookmark() const { return bookmark_; }
  const Variant& KeyValues() const { return keyValues_; }
  const Variant& BookmarkValues() const { return bookmarkValues_; }
  Integer RecNo() const { return recNo_; }
  bool IsSet() const { return isSet_; }

  // Names the record bookmark stands for; with an active link the key
  // values, bookmark values and record number are read from the dataset's
  // current record (the caller stands on it).
  virtual void Capture(const TBookmark& bookmark);
  // Whether the shot names the dataset's current record: by key values
  // when UniqueFields and key values are present, else by bookmark.
  bool IsCurrent() const;
  // Moves the dataset to the record (by key values with gctInsensitiveID,
  // else by a valid bookmark); False when it cannot.
  bool GotoRecord();
  // GotoRecord, and the record reached is still the one captured: its key
  // and bookmark values are those the shot holds. Rows inserted, deleted
  // or re-sorted since the capture can make a bookmark name another record.
  bool GotoCapturedRecord();

 protected:
  TDataSet* DataSet() const;
  bool LinkActive() const;
  // The values of a semicolon list of fields of the current record;
  // Unassigned for an empty list or when a field is missing.
  Variant ReadValues(const String& names) const;

  TDBTabulon* grid_;        // the grid whose dataset the shot refers to
  TBookmark bookmark_;      // the record's bookmark; empty: no record
  Variant keyValues_;       // UniqueFields values at capture time
  Variant bookmarkValues_;  // BookmarkFields values at capture time
  Integer recNo_ = -1;      // record number at capture time, -1 unknown
  bool isSet_ = false;      // the shot names a record
};

class TtlCurrentRecShot : public TtlRecShot {
 public:
  using TtlRecShot::TtlRecShot;

  // Follow := IsSet; the grid's cursor row becomes the link's active
  // record (or -1 when nothing is named in browse state).
  void Capture(const TBookmark& bookmark) override;
  // Takes the dataset's current record, repaints the previous and the new
  // cursor row and, with notify, reports a change of the current record
  // unless the shot already named it.
  void CaptureCursor(bool notify);
  // CaptureCursor when the cursor is sensitive or the grid is navigating.
  void FollowCursor(bool notify);
  // Insensitive cursors only, for a shot bound to a row: forgets the
  // record, repaints the former cursor row, reports with notify.
  void Release(bool notify);
  // Whether keys can name the current record (mode 1: any active link;
  // otherwise UniqueFields must be set); when so, releases first.
  bool CanUseKey(Integer mode);
  // Names the record by a key value (a drop-down picker's value): with
  // locate the dataset moves to it; without, only the key is kept and the
  // grid finds its row among the buffered records.
  void SetKey(const Variant& value, bool locate, bool notify);
  // Empties the shot without repaint or notification.
  void Reset();

  bool Follow() const { return follow_; }
  bool Changed() const { return changed_; }
  void SetChanged(bool value) { changed_ = value; }

 private:
  void RepaintRows(Integer oldRow);
  bool follow_ = false;   // captured while bound to a visible row
  bool changed_ = false;  // a change waits to be reported
};

class TtlSelection : public TPersistent {
  BV_CLASS(TtlSelection, TPersistent)
 public:
  explicit TtlSelection(TDBTabulon* grid = nullptr);
  ~TtlSelection() override;

  TDBTabulon* Grid() const { return grid_; }
  TtlCurrentRecShot* Current() const { return current_.get(); }
  TtlCurrentRecShot* CurrentRecShot() const { return current_.get(); }

  // The selected records; the current record alone counts as 1 while
  // nothing is selected explicitly.
  Integer Count() const;
  Integer SelectedCount() const { return static_cast<Integer>(items_.size()); }
  // Items[i], or the current shot for i = 0 while nothing is selected.
  TtlRecShot* Item(Integer index) const;
  bool IsEmpty() const { return items_.empty(); }
  // The selected shots in the order they were selected.
  const std::vector<TtlRecShot*>& History() const { return history_; }

  // Binary search by the dataset's bookmark order: whether the bookmark is
  // selected, and where it is or would be inserted.
  bool Find(const TBookmark& bookmark, Integer& position) const;
  Integer IndexOf(const TBookmark& bookmark) const;
  bool IsSelected(const TBookmark& bookmark) const;
  bool IsCurrentSelected() const;

  // Selects or deselects the dataset's current record; answers whether the
  // selection changed.
  bool SelectCurrent(bool select, bool repaint);
  // Selects every record from the current one to toBookmark (in either
  // direction); the dataset's current record and window are kept.
  void SelectRange(const TBookmark& toBookmark);
  // Where a range selection starts: the current record while nothing is
  // selected, else the record selected last.
  TBookmark AnchorBookmark() const;
  const String& Anchor() const { return anchor_; }
  void SetAnchor(const String& value) { anchor_ = value; }
  // Deselects every record (and with includeCurrent releases the current
  // shot); nothing when there is nothing to clear.
  void Clear(bool repaint, bool includeCurrent);
  // Deletes the selected records (the current one when none is selected),
  // skipping shots whose record is gone or changed; with reposition the
  // dataset goes to the record number the first of them had.
  void DeleteSelected(bool reposition, bool repaint);

  bool Changed() const { return changed_; }
  void SetChanged(bool value) { changed_ = value; }
  void ClearPendingChange() { changed_ = false; }
  bool PendingChange() const { return changed_; }

 private:
  TDataSet* DataSet() const;
  void FreeShots();
  // Inserts shots (sorted, none selected yet) into Items, keeping the order.
  void MergeSorted(std::vector<std::unique_ptr<TtlRecShot>>& shots);
  void Remove(Integer position);
  // Captures the records from the current one to toBookmark that are not
  // selected yet, in walking order; answers whether it walked forward.
  bool WalkRange(const TBookmark& toBookmark, std::vector<std::unique_ptr<TtlRecShot>>& found);

  TDBTabulon* grid_;                                // owning grid
  std::vector<std::unique_ptr<TtlRecShot>> items_;  // sorted by bookmark order
  std::vector<TtlRecShot*> history_;                // Items in selection order
  std::unique_ptr<TtlCurrentRecShot> current_;      // the grid's current record
  String anchor_;                                   // range anchor, cleared by Clear
  bool changed_ = false;                            // a change waits to be reported
};

}  // namespace brevant
