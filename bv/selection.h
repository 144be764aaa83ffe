// Record shots and the grid's selection, in the form the record window
// needs: the current record shot names the grid's current record by its
// bookmark, so that an insensitive cursor can keep it while the window
// scrolls; the selection owns that shot. Unique-field keys, record numbers,
// explicit selections and ranges extend these classes.
#pragma once

#include "db/db_types.h"

namespace brevant {

class TDBTabulon;
class TDataSet;

class TtlCurrentRecShot {
 public:
  explicit TtlCurrentRecShot(TDBTabulon* grid) : grid_(grid) {}

  // Whether the shot names a record.
  bool HasRecord() const { return !bookmark_.empty(); }
  const TBookmark& Bookmark() const { return bookmark_; }
  void ClearBookmark() { bookmark_.clear(); }
  // Takes the dataset's current record (the active row of its buffers);
  // with notify, a changed record raises the grid's selection change.
  void CaptureCursor(bool notify);
  // CaptureCursor when the grid's cursor is sensitive or it is navigating.
  void FollowCursor(bool notify);
  // Forgets the record; the grid's cursor row becomes -1.
  void Release(bool notify);
  // Whether the record under the dataset's active buffer is the shot's.
  bool MatchesActive() const;

 private:
  TDataSet* DataSet() const;
  TDBTabulon* grid_;
  TBookmark bookmark_;
};

class TtlSelection {
 public:
  explicit TtlSelection(TDBTabulon* grid) : grid_(grid), current_(grid) {}
  TtlCurrentRecShot* CurrentRecShot() { return &current_; }
  // Explicitly selected records (none yet: the multi-select model plugs in here).
  Integer Count() const { return 0; }
  void Clear() {}
  void ClearPendingChange() { pendingChange_ = false; }
  bool PendingChange() const { return pendingChange_; }

 private:
  TDBTabulon* grid_;
  TtlCurrentRecShot current_;
  bool pendingChange_ = false;
};

}  // namespace brevant
