// TSqliteTable: one table of an SQLite database file, held in memory.
//
// Opening reads the whole table in primary-key order (rowid order without a
// declared key) into the in-memory store, so browsing, bookmarks, RecNo,
// Locate/Lookup, blob streams and lookup fields are those of TMemDataSet.
// Field definitions come from the declared column types:
//
//   INT, INTEGER, MEDIUMINT          ftInteger      (BIGINT, INT8, LARGEINT: ftLargeint;
//                                                    SMALLINT, TINYINT: ftSmallint)
//   VARCHAR(n), CHAR(n), NVARCHAR(n) ftString n      (no length: 255)
//   TEXT, CLOB, MEMO                 ftMemo
//   BOOLEAN, BOOL, BIT, LOGICAL      ftBoolean      (stored 0/1)
//   CURRENCY, MONEY                  ftCurrency     (stored REAL)
//   REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL  ftFloat
//   DATETIME, TIMESTAMP              ftDateTime     (ISO text "YYYY-MM-DD HH:MM:SS[.zzz]")
//   DATE / TIME                      ftDate / ftTime ("YYYY-MM-DD" / "HH:MM:SS")
//   GRAPHIC, IMAGE, PICTURE          ftGraphic      (a BMP stream)
//   BLOB, BINARY, anything else      ftBlob; no declared type: ftMemo
//
// Values convert by the declared type, never by SQLite's storage class: a
// text "12" in an INTEGER column reads 12. A value that does not convert (a
// text "abc" there, a malformed date, a text longer than its VARCHAR) reads
// as null; each reading lists such values in BadValues and fires
// OnBadValues once.
//
// Writes go straight to the file, each in its own transaction: Post in edit
// state is an UPDATE, by the record's original primary key, of the fields
// the edit changed; it raises, writing nothing, when another connection
// changed one of those fields in the file or removed the row. Post of an
// inserted record an INSERT (an INTEGER PRIMARY KEY left null is assigned by
// SQLite and read back into the record), Delete a DELETE (raising when the
// row is gone). The file is written only when the in-memory post cannot
// fail. Every identifier is quoted. A statement that fails rolls back and raises EDatabaseError
// with SQLite's message; the record keeps its state and values and the file is unchanged. Tables
// without a declared primary key are read-only.
//
// Refresh re-reads the table and keeps the cursor on the record with the same
// key when it still exists; when a row cannot be read it raises and keeps
// the old records. Bookmarks are stable across edits, inserts and
// deletes, not across Refresh or reopening.
#pragma once

#include <vector>

#include "db/mem_dataset.h"

struct sqlite3;
struct sqlite3_stmt;

namespace brevant {

class TSqliteTable : public TMemDataSet {
  BV_CLASS(TSqliteTable, TMemDataSet)
 public:
  explicit TSqliteTable(TComponent* owner = nullptr);
  ~TSqliteTable() override;

  // The database file; needs a closed table.
  String DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const String& value);
  String TableName() const { return tableName_; }
  void SetTableName(const String& value);
  // Milliseconds a statement waits for a lock held by another connection
  // before failing (default 2000).
  Integer BusyTimeout() const { return busyTimeout_; }
  void SetBusyTimeout(Integer value);
  // The primary key's columns as a semicolon list (empty without a declared
  // key); known once open.
  String KeyFields() const;
  // Reads the field definitions from the file without opening, so that
  // persistent fields (and lookup fields beside them) can be made first.
  void UpdateFieldDefs();

  // While editing: takes the column's value when the edit began to be value,
  // so that Post writes the column unless it holds value and raises unless
  // the file still holds value (or the field's). A provider resolving a
  // client's change passes the value the client's change started from.
  void SetEditOrigin(const String& fieldName, const Variant& value);

  // A value the last reading (Open or Refresh) could not convert.
  struct TBadValue {
    String column;    // the column's name
    Integer row = 0;  // the row's number in key order, from 1
    String message;   // why, quoting the value
  };
  // The first 1,000 of them, and how many there were in all.
  const std::vector<TBadValue>& BadValues() const { return badValues_; }
  Integer BadValueCount() const { return badValueCount_; }
  // Fired once by a reading that met values it could not convert, while the
  // table opens or refreshes: handlers read BadValues, not the records.
  TNotifyEvent OnBadValues;

  // Doubles embedded quotes and encloses the name in double quotes.
  static String QuoteIdentifier(const String& name);

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  void InternalRefresh() override;
  void InternalEdit() override;
  void InternalPost() override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalDelete() override;
  bool GetCanModify() override;

 private:
  struct TColumnInfo {
    String name;
    String declType;
    TFieldType type = ftUnknown;
    Integer size = 0;
    Integer pk = 0;  // position in the primary key (1-based), 0 when not a key column
    bool notNull = false;
  };

  void Connect();
  void Disconnect();
  void ReadSchema();
  void LoadRows();
  std::size_t CountRows();
  void LoadColumn(sqlite3_stmt* st, int i, Integer storeRow, Integer row);
  [[noreturn]] void SqlError(const String& what) const;
  void Exec(const char* sql);
  std::vector<Variant> CurrentKey() const;
  // The load position of the row with the key (tried at hint first), -1 when none.
  Integer FindKey(const std::vector<Variant>& key, Integer hint) const;
  // One column an UPDATE or INSERT writes.
  struct TChange {
    std::size_t column = 0;  // index into columns_
    Variant value;           // the value written
  };
  // The values of the columns' fields in the active record (unassigned
  // where a column has no field).
  std::vector<Variant> ColumnValues() const;
  String KeyCondition() const;
  void BindKey(sqlite3_stmt* st, int first, const std::vector<Variant>& key) const;
  void CheckNotChanged(const std::vector<TChange>& changes) const;
  void WriteRecord(bool inserting);

  String databaseName_;
  String tableName_;
  Integer busyTimeout_ = 2000;
  sqlite3* db_ = nullptr;
  std::vector<TColumnInfo> columns_;
  std::vector<Integer> keyColumns_;  // indexes into columns_, in key order
  bool rowidKey_ = false;            // the key is a single INTEGER PRIMARY KEY (rowid alias)
  bool schemaRead_ = false;
  static constexpr std::size_t kMaxBadValues = 1000;
  std::vector<TBadValue> badValues_;  // as BadValues
  Integer badValueCount_ = 0;         // as BadValueCount
  // The original key of the record being edited.
  std::vector<Variant> editKey_;
  // The record's column values when the edit began: an UPDATE writes only
  // the columns that differ, and only where the file still holds these.
  std::vector<Variant> editOld_;
};

}  // namespace brevant
