// TMemDataSet: a dataset over records held in memory, for every field type.
// It is the test dataset of the data-aware controls and the base of the
// client dataset.
//
// The store is built from FieldDefs (or, without definitions, from the
// persistent data fields) and outlives Close, like a table: reopening shows
// the same records. EmptyDataSet removes them; CreateDataSet starts a new,
// empty store and opens. Changing the definitions of a store that holds
// records raises at the next Open (SStoreLayoutChanged).
//
// Records keep a stable physical row; the bookmark (4 bytes) is the row's
// id, never reused, so a bookmark of a deleted record stays invalid.
// Bookmarks, RecNo and SetRecNo resolve in O(1) (amortised after inserts
// and deletes), Next/Prior copy one record, and record buffers are reused.
#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "db/dataset.h"
#include "db/text_arena.h"

namespace brevant {

class TMemDataSet : public TDataSet {
  BV_CLASS(TMemDataSet, TDataSet)
 public:
  explicit TMemDataSet(TComponent* owner = nullptr);
  ~TMemDataSet() override;

  bool ReadOnly() const { return readOnly_; }
  // Cancels a pending edit when it turns read-only.
  void SetReadOnly(bool value);
  // A new, empty store from the definitions (or the persistent fields),
  // then Open. Needs a closed dataset.
  void CreateDataSet();
  // Removes every record, open or closed (posting or cancelling first).
  void EmptyDataSet();
  // Bulk loading: appends a record straight to the store of a closed
  // dataset, one value per field definition in order (fewer values leave
  // the rest null; Null and Unassigned are null). Values are converted as
  // the field classes would and checked against sizes and ranges; a value
  // that does not fit raises and adds nothing. No events, no fields.
  void AppendRow(std::initializer_list<Variant> values);
  void AppendRow(std::span<const Variant> values);
  // Records in the store (also while closed).
  Integer StoredRecordCount() const { return static_cast<Integer>(order_.size()); }
  // Whether a scan visits the store in its own order (false for descendants
  // showing a view of it), so that a copy of the store is what a scan reads.
  virtual bool ScansStoreOrder() const { return true; }

  bool IsSequenced() override { return true; }
  bool BookmarkValid(const TBookmark& bookmark) override;
  Integer CompareBookmarks(const TBookmark& b1, const TBookmark& b2) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  bool GetFieldData(TField* field, void* buffer) override;
  void SetFieldData(TField* field, const void* buffer) override;

 protected:
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  Integer GetRecordSize() override { return fixedSize_; }
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return open_; }
  void InternalInitFieldDefs() override;
  void InternalFirst() override { cursor_ = -1; }
  void InternalLast() override { cursor_ = StoredRecordCount(); }
  void InternalInitRecord(TRecordBuffer buffer) override;
  void InternalPost() override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalDelete() override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  void InternalGotoBookmark(const void* bookmark) override;
  void GetBookmarkData(TRecordBuffer buffer, void* data) override;
  void SetBookmarkData(TRecordBuffer buffer, const void* data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value) override;
  bool GetCanModify() override { return !readOnly_; }
  Integer GetRecordCount() override { return StoredRecordCount(); }
  Integer GetRecNo() override;
  bool InternalSetRecNo(Integer value) override;
  // Replaces every stored record by rows (each as for AppendRow); when one
  // does not fit, raises with the old records, bookmarks and cursor intact
  // (failedRow, when given, receives its 1-based number). New records get
  // new bookmarks. Changed definitions drop the old records first.
  void ReplaceRows(const std::vector<std::vector<Variant>>& rows, Integer* failedRow = nullptr);
  // The same for the rows next produces one by one (it fills row and
  // answers false after the last; what it raises is raised the same way);
  // expected is the number of rows to make room for, when known.
  void ReplaceRows(const std::function<bool(std::vector<Variant>& row)>& next,
                   Integer* failedRow = nullptr, std::size_t expected = 0);
  // The same for rows fill writes itself: it is handed each new row (all
  // null) and writes its values with the Store* writers below, answering
  // false, having written nothing, after the last row.
  void ReplaceRowsWith(const std::function<bool(Integer row)>& fill, Integer* failedRow = nullptr,
                       std::size_t expected = 0);
  // Writers of one value of a row being filled, converted and checked like
  // AppendRow does (a value that does not fit raises EDatabaseError naming
  // the column); numbers and text go in without a variant.
  void StoreInteger(Integer row, Integer column, Int64 value);
  void StoreFloat(Integer row, Integer column, double value);
  void StoreText(Integer row, Integer column, std::string_view value);
  void StoreVariant(Integer row, Integer column, const Variant& value);
  // Raises what InternalPost would for the active buffer (a record that is
  // gone, a full store) without changing anything, so that a descendant can
  // write elsewhere first only when the in-memory post cannot fail.
  void CheckCanPost();
  // Writes one value (as AppendRow converts it) into the stored record with
  // the bookmark; no events, record buffers keep their copies.
  void StoreFieldValue(Integer bookmarkId, Integer column, const Variant& value);

  // ---- reading the store in place, for views over it ----------------------------------
  // The physical row of a bookmark id (-1 when unknown or deleted) and back.
  Integer RowOfId(Integer id) const { return RowOfBookmark(&id); }
  Integer IdOfRow(Integer row) const { return idBase_ + row; }
  // Physical rows ever made (deleted ones included): row numbers lie below.
  Integer PhysicalRowCount() const { return rowCount_; }
  // The bookmark id of the record at a 0-based position of the store order.
  Integer StoredIdAt(Integer position) const {
    return idBase_ + order_[static_cast<std::size_t>(position)];
  }
  // The stored value of a column in its record format, without conversion.
  bool StoredIsNull(Integer row, Integer column) const {
    return nullData_[static_cast<std::size_t>(row) * cols_.size() +
                     static_cast<std::size_t>(column)] != 0;
  }
  const Byte* StoredFixed(Integer row, Integer column) const {
    return fixedData_.data() +
           static_cast<std::size_t>(row) * static_cast<std::size_t>(fixedSize_) +
           static_cast<std::size_t>(cols_[static_cast<std::size_t>(column)].index);
  }
  std::string_view StoredText(Integer row, Integer column) const {
    return texts_.View(
        textRefs_[static_cast<std::size_t>(row) * static_cast<std::size_t>(textCount_) +
                  static_cast<std::size_t>(cols_[static_cast<std::size_t>(column)].index)]);
  }
  const Variant& StoredVariant(Integer row, Integer column) const {
    return varData_[static_cast<std::size_t>(row) * static_cast<std::size_t>(varCount_) +
                    static_cast<std::size_t>(cols_[static_cast<std::size_t>(column)].index)];
  }
  // The value as the column's field class answers Value() (blobs: their
  // bytes as text); Null for a null value.
  Variant StoredValue(Integer row, Integer column) const;
  // Replaces the store by a copy of source's records in its logical order,
  // when both stores have the same columns (answers false otherwise and
  // changes nothing). Values are copied in their record format.
  bool CopyStoreFrom(const TMemDataSet& source);

 private:
  class TBlobStream;
  friend class TBlobStream;

  enum TColumnKind : Byte { ckFixed, ckText, ckVariant };
  struct TColumn {
    String name;
    TFieldType type = ftUnknown;
    Integer size = 0;       // as defined, or the field class's default
    Integer precision = 0;  // FMTBcd digits
    TColumnKind kind = ckFixed;
    Integer width = 0;  // fixed bytes
    Integer index = 0;  // offset in the fixed part, or index among texts / variants
  };
  // One record buffer: the record's fixed bytes, null flags, texts and
  // variants, laid out like a stored row.
  struct TRecBuf {
    Integer row = -1;  // physical row (bookmark target for inserted records)
    TBookmarkFlag flag = bfCurrent;
    std::vector<Byte> fixed;
    std::vector<Byte> nulls;
    std::vector<String> texts;
    std::vector<Variant> vars;
  };

  // The store's contents, for swapping a whole store aside.
  struct TStore {
    std::vector<Byte> fixedData;  // as the members of the same names
    std::vector<Byte> nullData;
    std::vector<TTextArena::TRef> textRefs;
    TTextArena texts;
    std::vector<Variant> varData;
    std::vector<Byte> alive;
    std::vector<Int64> autoInc;
    std::vector<Integer> order;
    std::vector<Integer> posOf;
    Integer rowCount = 0;
    Integer idBase = 0;
    Integer validUpTo = 0;
    Integer cursor = -1;
  };

  void SwapStore(TStore& other);
  // Room for n rows in the empty store.
  void ReserveRows(std::size_t n);
  void BuildLayout(std::vector<TColumn>& cols) const;
  void EnsureStore();
  void ClearStore();
  Integer NewRow();
  // Removes the last physical row (just made by NewRow).
  void DropLastRow(Integer row);
  void ReadRow(Integer row, TRecBuf& buf) const;
  void WriteRow(Integer row, const TRecBuf& buf);
  void InsertRow(TRecBuf& buf, Integer position);
  void FillAutoInc(TRecBuf& buf);
  // Logical position of a physical row; -1 for a deleted or unknown row.
  Integer PositionOf(Integer row);
  Integer RowOfBookmark(const void* bookmark) const;
  void StoreValue(Integer row, const TColumn& col, const Variant& value);
  // The text slot of a row's text column, and replacing its value.
  TTextArena::TRef& TextRef(std::size_t row, Integer index) {
    return textRefs_[row * static_cast<std::size_t>(textCount_) + static_cast<std::size_t>(index)];
  }
  void SetText(std::size_t row, Integer index, std::string_view bytes);
  // Copies the live values into a fresh arena once garbage outweighs them.
  void CompactTexts();
  const TColumn* ColumnOf(const TField* field) const;
  void WriteBlob(TField* field, TRecBuf* buf, const String& data);

  bool readOnly_ = false;
  bool open_ = false;
  bool haveStore_ = false;
  std::vector<TColumn> cols_;
  Integer fixedSize_ = 0;
  Integer textCount_ = 0;
  Integer varCount_ = 0;
  // The store, row-major by physical row.
  std::vector<Byte> fixedData_;
  std::vector<Byte> nullData_;
  std::vector<TTextArena::TRef> textRefs_;  // per row and text column, into texts_
  TTextArena texts_;                        // the bytes of text, byte and blob values
  std::vector<Variant> varData_;
  std::vector<Byte> alive_;
  std::vector<Int64> autoInc_;  // next value per column
  Integer rowCount_ = 0;        // physical rows, deleted ones included
  Integer idBase_ = 0;          // bookmark id of physical row 0
  // Logical order: position -> physical row; and back, valid below validUpTo_.
  std::vector<Integer> order_;
  std::vector<Integer> posOf_;
  Integer validUpTo_ = 0;
  Integer cursor_ = -1;
};

}  // namespace brevant
