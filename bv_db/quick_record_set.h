// The quick record set: an in-memory table of typed fields whose rows are
// universal values, with a sort order given as text; and the routines that
// keep a dataset's current record (and its row in the record window)
// across a scan.
//
// Rows have a physical position (the index into every field's values) and
// a logical one (the position shown, after sorting); the order column maps
// logical positions to physical rows and is kept right after every
// structural change, also inside an update bracket. A new row keeps the
// position it was added at until the set re-sorts: when its values have
// been written (RecordChanged), at the end of an update bracket, or by
// Resort.
#pragma once

#include <memory>
#include <vector>

#include "bv_db/univalue.h"
#include "classes/collection.h"
#include "db/db_types.h"

namespace brevant {

class TDataSet;
class TFieldDefs;
class TznQuickRecordSet;

// One typed field of a quick record set, holding one value per row.
class TznQRSField : public TCollectionItem {
  BV_CLASS(TznQRSField, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;

  const String& Name() const { return name_; }
  // Another field of the collection with the name (ignoring case) raises
  // the database error "Duplicate field name"; a field named in the
  // record set's sort order leaves the sort order.
  void SetName(const String& value);
  TFieldType DataType() const { return dataType_; }
  // Replaces every value by a null one of the new type.
  void SetDataType(TFieldType value);
  // Not negative (EBVError).
  Integer Size() const { return size_; }
  void SetSize(Integer value);
  Integer Precision() const { return precision_; }
  void SetPrecision(Integer value);
  String DisplayName() const override { return name_; }
  // From another field: name, type, size and precision (no values).
  void Assign(const TPersistent* source) override;

  Integer ValueCount() const { return static_cast<Integer>(values_.size()); }
  // The value of the row at a physical position.
  TznUniValue* Values(Integer physicalRow) const {
    return values_[static_cast<std::size_t>(physicalRow)].get();
  }

 private:
  friend class TznQuickRecordSet;
  friend class TznQRSFields;
  TznQuickRecordSet* RecordSet() const;
  TObjectPtr<TznUniValue> NewValue() const;
  void InsertValue(Integer physicalRow);
  void DeleteValue(Integer physicalRow);
  void ResetValues(Integer rows);

  std::vector<TObjectPtr<TznUniValue>> values_;  // one per row, physical order
  String name_;                                  // unique in the collection
  TFieldType dataType_ = ftUnknown;              // the type of every value
  Integer size_ = 0;                             // field size
  Integer precision_ = 0;                        // field precision
};

// The fields of a quick record set. A field added while rows exist gets a
// null value for each of them; the collection becoming empty removes all
// rows.
class TznQRSFields : public TOwnedCollection {
  BV_CLASS(TznQRSFields, TOwnedCollection)
 public:
  explicit TznQRSFields(TznQuickRecordSet* owner = nullptr);
  TznQRSField* Items(Integer index) const;
  // Raises "Duplicate field name" for a name already present.
  TznQRSField* AddField(const String& name, TFieldType dataType, Integer size);
  // The field of that name (ignoring case), or nullptr.
  TznQRSField* Find(const String& name) const;
  TznQuickRecordSet* RecordSet() const { return recordSet_; }

 protected:
  void Update(TCollectionItem* item) override;
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  TznQuickRecordSet* recordSet_;  // the owner; nullptr for a free-standing copy
};

// Sender, the kind of change, the changed fields (semicolon list) and the
// logical row index.
using TznRecordChangedEvent = TEvent<void(TObject* Sender, TUpdateKind UpdateKind,
                                          const String& ChangedFields, Integer Index)>;

class TznQuickRecordSet : public TPersistent {
  BV_CLASS(TznQuickRecordSet, TPersistent)
 public:
  TznQuickRecordSet();
  ~TznQuickRecordSet() override;

  TznQRSFields* Fields() const { return fields_.get(); }
  // Empties the own fields (and so every row) and copies value's.
  void SetFields(TznQRSFields* value);
  Integer RowCount() const { return rowCount_; }
  // "Name desc, Age": comma-separated field names, each optionally ending
  // in " asc" or " desc" (any case). The text is checked before it is
  // stored: a name without a field raises EBVError "Field '%s' not found"
  // and keeps the previous order.
  const String& SortString() const { return sortString_; }
  void SetSortString(const String& value);

  TznQRSField* FindField(const String& name) const { return fields_->Find(name); }
  // Raises EBVError "Field '%s' not found".
  TznQRSField* FieldByName(const String& name) const;
  // The value of the field in the row at logical position index.
  TznUniValue* ValueAt(const String& fieldName, Integer index) const;
  TznUniValue* ValueAt(const TznQRSField* field, Integer index) const;
  // The physical row shown at logical position index (EBVError outside).
  Integer PhysicalRow(Integer index) const;

  // Adds a row at the end and answers its logical position.
  Integer Append();
  // Adds a row at logical position index (0 .. RowCount).
  void Insert(Integer index);
  // Removes the row at logical position index, then re-sorts.
  void Delete(Integer index);
  // Counted; the end call that closes the last bracket re-sorts.
  void BeginUpdate() { ++updateLock_; }
  void EndUpdate();
  Integer UpdateLock() const { return updateLock_; }
  // Puts the rows in sort order now (nothing while an update bracket is
  // open): identity order without a sort.
  void Resort();

  // From another quick record set: its fields and all its rows (in its
  // logical order); other sources as TPersistent.
  void Assign(const TPersistent* source) override;
  // Fills defs (emptied first) with one definition per field and answers
  // the semicolon list of the names.
  String BuildFieldDefs(TFieldDefs* defs) const;
  // A row was posted (its values are written): re-sorts, then raises
  // OnRecordChanged.
  void RecordChanged(TUpdateKind updateKind, const String& changedFields, Integer index);

  TznRecordChangedEvent OnRecordChanged;

 private:
  friend class TznQRSField;
  friend class TznQRSFields;
  // One part of the sort order.
  struct TSortKey {
    TznQRSField* Field;  // the field sorted by
    bool Descending;     // sorts descending
    String Text;         // the part as written (trimmed)
  };
  std::vector<TSortKey> ParseSort(const String& text) const;
  bool RowLess(Integer a, Integer b) const;
  void ClearRows();
  void FieldAdded(TznQRSField* field);
  void FieldLeft(TznQRSField* field);

  std::unique_ptr<TznQRSFields, TObjectDeleter> fields_;  // owned
  std::vector<Integer> order_;                            // physical row per logical position
  std::vector<TSortKey> keys_;                            // the parsed sort order
  String sortString_;                                     // the sort order as stored
  Integer rowCount_ = 0;                                  // number of rows
  Integer updateLock_ = 0;                                // re-sorting waits while above 0
};

// A dataset's current record: its bookmark and the active record's index
// in the dataset's window of record buffers.
struct TznCurrRecInfo {
  TBookmark Bookmark;        // the current record (empty: none)
  Integer ActiveRecord = 0;  // its row in the record window
};

void SaveCurrentRecord(TDataSet* dataSet, TznCurrRecInfo& info);
// Goes back to the saved record (a record that is gone is not looked for)
// and scrolls the window so that it sits in its saved row again, as far as
// the records before and after it allow.
void RestoreCurrentRecord(TDataSet* dataSet, const TznCurrRecInfo& info);

// Saves the current record on construction and restores it on every path.
class TznCurrentRecordKeeper {
 public:
  explicit TznCurrentRecordKeeper(TDataSet* dataSet);
  ~TznCurrentRecordKeeper() noexcept(false);
  TznCurrentRecordKeeper(const TznCurrentRecordKeeper&) = delete;
  TznCurrentRecordKeeper& operator=(const TznCurrentRecordKeeper&) = delete;

 private:
  TDataSet* dataSet_;
  TznCurrRecInfo info_;
  int exceptions_;
};

}  // namespace brevant
