#include "db/sqlite_table.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "classes/rtti_builder.h"
#include "db/dbconsts.h"
#include "db/field_types.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TSqliteTable, TMemDataSet) {
  p.Property("DatabaseName", &TSqliteTable::DatabaseName, &TSqliteTable::SetDatabaseName);
  p.Property("TableName", &TSqliteTable::TableName, &TSqliteTable::SetTableName);
  p.Property("BusyTimeout", &TSqliteTable::BusyTimeout, &TSqliteTable::SetBusyTimeout)
      .Default(2000);
  p.Event("OnBadValues", &TSqliteTable::OnBadValues, "TNotifyEvent");
}

namespace {

constexpr const char* SSqlOpenFailed = "Cannot open database '%s': %s";
constexpr const char* SSqlNoTableName = "No table name given for database '%s'";
constexpr const char* SSqlTableNotFound = "Table '%s' not found in database '%s'";
constexpr const char* SSqlError = "Table '%s' in database '%s': %s";
constexpr const char* SSqlBadValue = "Table '%s', column '%s', row %d: %s";
constexpr const char* SSqlNoKey = "Table '%s' has no primary key and cannot be modified";
constexpr const char* SSqlKeyFieldMissing = "Key field '%s' of table '%s' has no field";
constexpr const char* SSqlRecordChanged =
    "Record not found in table '%s': it was changed or deleted by another user";
constexpr const char* SSqlFieldChanged =
    "Field '%s' of the record in table '%s' was changed by another user";
constexpr const char* SSqlNotValue = "'%s' is not a valid %s value";

// RAII over a prepared statement.
class TStmt {
 public:
  TStmt(sqlite3* db, const String& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~TStmt() { sqlite3_finalize(stmt_); }
  TStmt(const TStmt&) = delete;
  TStmt& operator=(const TStmt&) = delete;
  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

String ColumnText(sqlite3_stmt* st, int i) {
  const unsigned char* t = sqlite3_column_text(st, i);
  int n = sqlite3_column_bytes(st, i);
  return t ? String(reinterpret_cast<const char*>(t), static_cast<std::size_t>(n)) : String();
}

// The size in "NAME(n)" or "NAME(n, m)"; -1 when none.
Integer DeclaredSize(const String& decl) {
  auto open = decl.find('(');
  if (open == String::npos) return -1;
  std::size_t i = open + 1;
  while (i < decl.size() && decl[i] == ' ') ++i;
  Int64 v = 0;
  bool digits = false;
  while (i < decl.size() && decl[i] >= '0' && decl[i] <= '9') {
    v = v * 10 + (decl[i] - '0');
    if (v > 100000000) return -1;
    digits = true;
    ++i;
  }
  return digits ? static_cast<Integer>(v) : -1;
}

}  // namespace

// ==== shared conversions ===============================================================

namespace {
namespace sqlutil {

TFieldType MapDeclaredType(const String& declType, Integer& size) {
  String u = UpperCase(Trim(declType));
  String base = Trim(u.substr(0, u.find('(')));
  Integer n = DeclaredSize(u);
  size = 0;
  auto has = [&](const char* s) { return base.find(s) != String::npos; };
  if (base.empty()) return ftMemo;
  if (has("BOOL") || base == "BIT" || base == "LOGICAL") return ftBoolean;
  if (has("CURRENCY") || has("MONEY")) return ftCurrency;
  if (has("DATETIME") || has("TIMESTAMP")) return ftDateTime;
  if (base == "DATE") return ftDate;
  if (base == "TIME") return ftTime;
  if (has("GRAPHIC") || has("IMAGE") || has("PICTURE")) return ftGraphic;
  if (has("MEMO") || has("CLOB")) return ftMemo;
  if (has("CHAR") || (has("TEXT") && n > 0)) {
    if (n > 65535) return ftMemo;
    size = n > 0 ? n : 255;
    return ftString;
  }
  if (has("TEXT")) return ftMemo;
  if (has("BIGINT") || has("INT8") || has("LARGEINT") || has("INT64")) return ftLargeint;
  if (has("SMALLINT") || has("TINYINT") || has("INT2")) return ftSmallint;
  if (has("INT")) return ftInteger;
  if (has("REAL") || has("FLOA") || has("DOUB") || has("NUMERIC") || has("DECIMAL")) return ftFloat;
  if (has("BLOB") || has("BINARY")) return ftBlob;
  return ftBlob;
}

namespace {

bool ParseDigits(std::string_view s, std::size_t& i, std::size_t count, Integer& value) {
  value = 0;
  for (std::size_t k = 0; k < count; ++k, ++i) {
    if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

bool ParseTime(std::string_view s, std::size_t& i, TDateTime& t) {
  Integer h, m, sec = 0, ms = 0;
  if (!ParseDigits(s, i, 2, h) || i >= s.size() || s[i++] != ':' || !ParseDigits(s, i, 2, m))
    return false;
  if (i < s.size() && s[i] == ':') {
    ++i;
    if (!ParseDigits(s, i, 2, sec)) return false;
    if (i < s.size() && s[i] == '.') {
      ++i;
      Integer scale = 100, digits = 0;
      while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        ms += (s[i] - '0') * scale;
        scale /= 10;
        ++digits;
        ++i;
      }
      if (digits == 0) return false;
    }
  }
  return TryEncodeTime(static_cast<Word>(h), static_cast<Word>(m), static_cast<Word>(sec),
                       static_cast<Word>(ms), t);
}

}  // namespace

// Without the blanks around.
std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

bool TryParseIsoDateTime(std::string_view text, TDateTime& value) {
  std::string_view s = TrimView(text);
  std::size_t i = 0;
  TDateTime date = 0, time = 0;
  if (s.size() >= 5 && s[2] == ':') {
    // A time alone.
    if (!ParseTime(s, i, time)) return false;
  } else {
    Integer y, mo, d;
    if (!ParseDigits(s, i, 4, y) || i >= s.size() || s[i++] != '-' || !ParseDigits(s, i, 2, mo) ||
        i >= s.size() || s[i++] != '-' || !ParseDigits(s, i, 2, d))
      return false;
    if (!TryEncodeDate(static_cast<Word>(y), static_cast<Word>(mo), static_cast<Word>(d), date))
      return false;
    if (i < s.size() && (s[i] == ' ' || s[i] == 'T')) {
      ++i;
      if (!ParseTime(s, i, time)) return false;
    }
  }
  if (i < s.size() && s[i] == 'Z') ++i;
  if (i != s.size()) return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

String IsoDateTime(TDateTime value, TFieldType type) {
  Word y, mo, d, h, mi, sec, ms;
  DecodeDateTime(value, y, mo, d, h, mi, sec, ms);
  char buf[40];
  if (type == ftDate) {
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", unsigned(y), unsigned(mo), unsigned(d));
  } else if (type == ftTime) {
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", unsigned(h), unsigned(mi), unsigned(sec));
  } else {
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", unsigned(y), unsigned(mo),
                  unsigned(d), unsigned(h), unsigned(mi), unsigned(sec));
  }
  String r = buf;
  if (ms && type != ftDate) {
    std::snprintf(buf, sizeof buf, ".%03u", unsigned(ms));
    r += buf;
  }
  return r;
}

// The value of column i of a result row, converted by the declared type.
// Raises a plain Exception message (the caller adds table and column).
Variant ReadColumn(sqlite3_stmt* st, int i, TFieldType type) {
  int storage = sqlite3_column_type(st, i);
  if (storage == SQLITE_NULL) return Variant::Null();
  auto bad = [&](const char* what) -> Variant {
    DatabaseErrorFmt(SSqlNotValue, {ColumnText(st, i), what});
  };
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftLargeint:
    case ftAutoInc:
    case ftWord: {
      if (storage == SQLITE_INTEGER)
        return Variant(static_cast<Int64>(sqlite3_column_int64(st, i)));
      if (storage == SQLITE_FLOAT) {
        double d = sqlite3_column_double(st, i);
        if (std::trunc(d) == d && d >= -9.2e18 && d <= 9.2e18)
          return Variant(static_cast<Int64>(d));
        return bad("integer");
      }
      Int64 v;
      if (storage == SQLITE_TEXT && TryStrToInt64(Trim(ColumnText(st, i)), v)) return Variant(v);
      return bad("integer");
    }
    case ftFloat:
    case ftCurrency: {
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
        return Variant(sqlite3_column_double(st, i));
      String s = Trim(ColumnText(st, i));
      double d = 0;
      auto r = std::from_chars(s.data(), s.data() + s.size(), d);
      if (storage == SQLITE_TEXT && !s.empty() && r.ec == std::errc() &&
          r.ptr == s.data() + s.size() && std::isfinite(d))
        return Variant(d);
      return bad("numeric");
    }
    case ftBoolean: {
      if (storage == SQLITE_INTEGER) return Variant(sqlite3_column_int64(st, i) != 0);
      if (storage == SQLITE_FLOAT) return Variant(sqlite3_column_double(st, i) != 0);
      String s = UpperCase(Trim(ColumnText(st, i)));
      if (s == "1" || s == "TRUE" || s == "T" || s == "YES" || s == "Y") return Variant(true);
      if (s == "0" || s == "FALSE" || s == "F" || s == "NO" || s == "N") return Variant(false);
      return bad("boolean");
    }
    case ftDate:
    case ftTime:
    case ftDateTime: {
      TDateTime dt;
      if (storage == SQLITE_TEXT && TryParseIsoDateTime(ColumnText(st, i), dt))
        return VarFromDateTime(dt);
      return bad("date-time");
    }
    case ftString:
    case ftFixedChar:
    case ftMemo:
    case ftWideString:
      return Variant(ColumnText(st, i));
    default: {
      // Blobs: the raw bytes.
      const void* p = sqlite3_column_blob(st, i);
      int n = sqlite3_column_bytes(st, i);
      return Variant(p ? String(static_cast<const char*>(p), static_cast<std::size_t>(n))
                       : String());
    }
  }
}

int BindValue(sqlite3_stmt* st, int index, TFieldType type, const Variant& value) {
  if (VarIsNull(value) || VarIsEmpty(value)) return sqlite3_bind_null(st, index);
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftLargeint:
    case ftAutoInc:
    case ftWord:
      return sqlite3_bind_int64(st, index, value.AsInt64());
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return sqlite3_bind_double(st, index, value.AsDouble());
    case ftBoolean:
      return sqlite3_bind_int(st, index, value.AsBoolean() ? 1 : 0);
    case ftDate:
    case ftTime:
    case ftDateTime: {
      String s = IsoDateTime(value.AsDateTime(), type);
      return sqlite3_bind_text(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    default: {
      String s = VarToStr(value);
      if (IsBlobFieldType(type) && type != ftMemo) {
        if (s.empty()) return sqlite3_bind_null(st, index);
        return sqlite3_bind_blob(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
      }
      return sqlite3_bind_text(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
  }
}

// Equal values (not their display texts); null equals only null.
bool SameValue(const Variant& a, const Variant& b) {
  bool an = VarIsNull(a) || VarIsEmpty(a), bn = VarIsNull(b) || VarIsEmpty(b);
  if (an || bn) return an == bn;
  return a == b;
}

Variant FieldValue(const TField* field) {
  if (field->IsNull()) return Variant::Null();
  if (field->IsBlob()) return Variant(field->AsString());
  return field->Value();
}

}  // namespace sqlutil
}  // namespace

// ==== the table =========================================================================

TSqliteTable::TSqliteTable(TComponent* owner) : TMemDataSet(owner) {}

TSqliteTable::~TSqliteTable() {
  Close();
  Disconnect();
}

void TSqliteTable::SetDatabaseName(const String& value) {
  if (value == databaseName_) return;
  CheckInactive();
  databaseName_ = value;
  schemaRead_ = false;
}

void TSqliteTable::SetTableName(const String& value) {
  if (value == tableName_) return;
  CheckInactive();
  tableName_ = value;
  schemaRead_ = false;
}

void TSqliteTable::SetBusyTimeout(Integer value) {
  busyTimeout_ = std::max(0, value);
  if (db_) sqlite3_busy_timeout(db_, busyTimeout_);
}

String TSqliteTable::KeyFields() const {
  String r;
  for (Integer k : keyColumns_) {
    if (!r.empty()) r += ';';
    r += columns_[static_cast<std::size_t>(k)].name;
  }
  return r;
}

String TSqliteTable::QuoteIdentifier(const String& name) {
  String r = "\"";
  for (char c : name) {
    if (c == '"') r += '"';
    r += c;
  }
  r += '"';
  return r;
}

void TSqliteTable::SqlError(const String& what) const {
  DatabaseErrorFmt(SSqlError, {tableName_, databaseName_, what});
}

void TSqliteTable::Connect() {
  if (db_) return;
  if (tableName_.empty()) DatabaseErrorFmt(SSqlNoTableName, {databaseName_});
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(databaseName_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    String msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    DatabaseErrorFmt(SSqlOpenFailed, {databaseName_, msg});
  }
  db_ = db;
  sqlite3_busy_timeout(db_, busyTimeout_);
  sqlite3_extended_result_codes(db_, 1);
}

void TSqliteTable::Disconnect() {
  if (!db_) return;
  sqlite3_close_v2(db_);
  db_ = nullptr;
  schemaRead_ = false;
}

void TSqliteTable::ReadSchema() {
  TStmt st(db_, "SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)");
  if (!st) SqlError(sqlite3_errmsg(db_));
  sqlite3_bind_text(st.get(), 1, tableName_.data(), static_cast<int>(tableName_.size()),
                    SQLITE_TRANSIENT);
  std::vector<TColumnInfo> cols;
  int rc;
  while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    TColumnInfo c;
    c.name = ColumnText(st.get(), 0);
    c.declType = ColumnText(st.get(), 1);
    c.notNull = sqlite3_column_int(st.get(), 2) != 0;
    c.pk = sqlite3_column_int(st.get(), 3);
    c.type = sqlutil::MapDeclaredType(c.declType, c.size);
    cols.push_back(std::move(c));
  }
  if (rc != SQLITE_DONE) SqlError(sqlite3_errmsg(db_));
  if (cols.empty()) DatabaseErrorFmt(SSqlTableNotFound, {tableName_, databaseName_});
  columns_ = std::move(cols);
  keyColumns_.clear();
  for (Integer pos = 1;; ++pos) {
    bool found = false;
    for (std::size_t i = 0; i < columns_.size(); ++i)
      if (columns_[i].pk == pos) {
        keyColumns_.push_back(static_cast<Integer>(i));
        found = true;
      }
    if (!found) break;
  }
  rowidKey_ =
      keyColumns_.size() == 1 &&
      SameText(Trim(columns_[static_cast<std::size_t>(keyColumns_[0])].declType), "INTEGER");
  schemaRead_ = true;
}

void TSqliteTable::InternalInitFieldDefs() {
  // AppendRow asks for the definitions on every row; they are built once
  // per opening.
  if (schemaRead_ && FieldDefs()->Count() == static_cast<Integer>(columns_.size())) return;
  Connect();
  ReadSchema();
  TCollectionUpdate update(FieldDefs());
  FieldDefs()->Clear();
  for (const TColumnInfo& c : columns_) {
    bool autoKey = rowidKey_ && c.pk == 1;
    FieldDefs()->Add(c.name, c.type, c.size, c.notNull && !autoKey);
  }
}

void TSqliteTable::UpdateFieldDefs() {
  if (Active()) return;
  schemaRead_ = false;
  TScopeGuard disconnect([this] { Disconnect(); });
  InternalInitFieldDefs();
}

// The rows the query will read, to make room for them at once (0 when the
// count cannot be had: the store then grows as it reads).
std::size_t TSqliteTable::CountRows() {
  TStmt st(db_, "SELECT count(*) FROM " + QuoteIdentifier(tableName_));
  if (!st) SqlError(sqlite3_errmsg(db_));
  int rc = sqlite3_step(st.get());
  if (rc != SQLITE_ROW) SqlError(sqlite3_errmsg(db_));
  return static_cast<std::size_t>(std::max<sqlite3_int64>(0, sqlite3_column_int64(st.get(), 0)));
}

// Converts column i of the result row by its declared type straight into
// the store's row; a value that does not convert stays null and is noted.
void TSqliteTable::LoadColumn(sqlite3_stmt* st, int i, Integer storeRow, Integer row) {
  int storage = sqlite3_column_type(st, i);
  if (storage == SQLITE_NULL) return;
  const TColumnInfo& c = columns_[static_cast<std::size_t>(i)];
  auto text = [&] {
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return std::string_view(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(st, i)));
  };
  auto bad = [&](const char* what) {
    DatabaseErrorFmt(SSqlNotValue, {String(text()), String(what)});
  };
  try {
    switch (c.type) {
      case ftSmallint:
      case ftInteger:
      case ftLargeint:
      case ftAutoInc:
      case ftWord: {
        if (storage == SQLITE_INTEGER) {
          StoreInteger(storeRow, i, sqlite3_column_int64(st, i));
        } else if (storage == SQLITE_FLOAT) {
          double d = sqlite3_column_double(st, i);
          if (std::trunc(d) != d || d < -9.2e18 || d > 9.2e18) bad("integer");
          StoreInteger(storeRow, i, static_cast<Int64>(d));
        } else {
          std::string_view s = sqlutil::TrimView(text());
          Int64 v = 0;
          auto r = std::from_chars(s.data(), s.data() + s.size(), v);
          bool read = !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
          // Signs and hexadecimal forms as the platform's conversion reads them.
          if (storage != SQLITE_TEXT || (!read && !TryStrToInt64(String(s), v))) bad("integer");
          StoreInteger(storeRow, i, v);
        }
        break;
      }
      case ftFloat:
      case ftCurrency: {
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
          StoreFloat(storeRow, i, sqlite3_column_double(st, i));
          break;
        }
        std::string_view s = sqlutil::TrimView(text());
        double d = 0;
        auto r = std::from_chars(s.data(), s.data() + s.size(), d);
        if (storage != SQLITE_TEXT || s.empty() || r.ec != std::errc() ||
            r.ptr != s.data() + s.size() || !std::isfinite(d))
          bad("numeric");
        StoreFloat(storeRow, i, d);
        break;
      }
      case ftBoolean: {
        bool v = false;
        if (storage == SQLITE_INTEGER) {
          v = sqlite3_column_int64(st, i) != 0;
        } else if (storage == SQLITE_FLOAT) {
          v = sqlite3_column_double(st, i) != 0;
        } else {
          String u = UpperCase(String(sqlutil::TrimView(text())));
          if (u == "1" || u == "TRUE" || u == "T" || u == "YES" || u == "Y")
            v = true;
          else if (!(u == "0" || u == "FALSE" || u == "F" || u == "NO" || u == "N"))
            bad("boolean");
        }
        StoreVariant(storeRow, i, Variant(v));
        break;
      }
      case ftDate:
      case ftTime:
      case ftDateTime: {
        TDateTime dt = 0;  // bad() raises before a failed parse is stored
        if (storage != SQLITE_TEXT || !sqlutil::TryParseIsoDateTime(text(), dt)) bad("date-time");
        StoreVariant(storeRow, i, VarFromDateTime(dt));
        break;
      }
      case ftString:
      case ftFixedChar:
      case ftMemo:
      case ftWideString:
        StoreText(storeRow, i, text());
        break;
      default: {
        // Blobs: the raw bytes.
        const void* p = sqlite3_column_blob(st, i);
        std::size_t n = static_cast<std::size_t>(sqlite3_column_bytes(st, i));
        StoreText(storeRow, i, std::string_view(p ? static_cast<const char*>(p) : "", n));
      }
    }
  } catch (const Exception& e) {
    ++badValueCount_;
    if (badValues_.size() < kMaxBadValues) badValues_.push_back({c.name, row, e.Message()});
  }
}

void TSqliteTable::LoadRows() {
  String sql = "SELECT ";
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (i) sql += ", ";
    sql += QuoteIdentifier(columns_[i].name);
  }
  sql += " FROM " + QuoteIdentifier(tableName_) + " ORDER BY ";
  if (keyColumns_.empty()) {
    sql += "rowid";
  } else {
    for (std::size_t k = 0; k < keyColumns_.size(); ++k) {
      if (k) sql += ", ";
      sql += QuoteIdentifier(columns_[static_cast<std::size_t>(keyColumns_[k])].name);
    }
  }
  TStmt st(db_, sql);
  if (!st) SqlError(sqlite3_errmsg(db_));
  std::size_t expected = CountRows();
  // The rows go into a new store; one that cannot be read or stored leaves
  // the old records as they were.
  std::vector<TBadValue> oldBad;
  oldBad.swap(badValues_);
  Integer oldCount = badValueCount_;
  badValueCount_ = 0;
  TScopeGuard keepOld([&] {
    badValues_.swap(oldBad);
    badValueCount_ = oldCount;
  });
  Integer row = 0;
  bool reading = false;  // a failure while reading already names the table
  auto fill = [&](Integer storeRow) {
    reading = true;
    int rc = sqlite3_step(st.get());
    if (rc == SQLITE_DONE) {
      reading = false;
      return false;
    }
    if (rc != SQLITE_ROW) SqlError(sqlite3_errmsg(db_));
    ++row;
    for (std::size_t i = 0; i < columns_.size(); ++i)
      LoadColumn(st.get(), static_cast<int>(i), storeRow, row);
    reading = false;
    return true;
  };
  Integer failed = 0;
  try {
    ReplaceRowsWith(fill, &failed, expected);
  } catch (const Exception& e) {
    if (reading) throw;
    DatabaseErrorFmt(SSqlBadValue, {tableName_, String("*"), failed, e.Message()});
  }
  keepOld.Dismiss();
  if (badValueCount_ > 0) OnBadValues(this);
}

void TSqliteTable::InternalOpen() {
  Connect();
  TScopeGuard disconnect([this] { Disconnect(); });
  schemaRead_ = false;
  InternalInitFieldDefs();
  LoadRows();
  TMemDataSet::InternalOpen();
  disconnect.Dismiss();
}

void TSqliteTable::InternalClose() {
  TMemDataSet::InternalClose();
  Disconnect();
}

bool TSqliteTable::GetCanModify() {
  return TMemDataSet::GetCanModify() && !keyColumns_.empty();
}

std::vector<Variant> TSqliteTable::CurrentKey() const {
  std::vector<Variant> key;
  for (Integer k : keyColumns_) {
    const String& name = columns_[static_cast<std::size_t>(k)].name;
    TField* f = FindField(name);
    if (!f || f->FieldKind() != fkData) DatabaseErrorFmt(SSqlKeyFieldMissing, {name, tableName_});
    key.push_back(f->IsNull() ? Variant::Null() : f->Value());
  }
  return key;
}

Integer TSqliteTable::FindKey(const std::vector<Variant>& key, Integer hint) const {
  if (key.size() != keyColumns_.size()) return -1;
  auto same = [&](Integer position) {
    Integer row = RowOfId(StoredIdAt(position));
    for (std::size_t j = 0; j < key.size(); ++j)
      if (!sqlutil::SameValue(StoredValue(row, keyColumns_[j]), key[j])) return false;
    return true;
  };
  // Usually the record kept its number.
  Integer n = StoredRecordCount();
  if (hint >= 0 && hint < n && same(hint)) return hint;
  for (Integer i = 0; i < n; ++i)
    if (same(i)) return i;
  return -1;
}

void TSqliteTable::InternalRefresh() {
  std::vector<Variant> key;
  Integer oldRecNo = -1;
  if (ActiveBuffer()) {
    oldRecNo = RecNo();
    try {
      if (!keyColumns_.empty()) key = CurrentKey();
    } catch (const EDatabaseError&) {
      key.clear();  // persistent fields without the key: keep the record number
    }
  }
  LoadRows();
  Integer pos = key.empty() ? -1 : FindKey(key, oldRecNo - 1);
  Integer n = StoredRecordCount();
  if (pos >= 0)
    InternalSetRecNo(pos + 1);
  else if (n > 0 && oldRecNo > 0)
    InternalSetRecNo(std::min(oldRecNo, n));
}

void TSqliteTable::InternalEdit() {
  if (keyColumns_.empty()) DatabaseErrorFmt(SSqlNoKey, {tableName_});
  editKey_ = CurrentKey();
  editOld_ = ColumnValues();
}

void TSqliteTable::SetEditOrigin(const String& fieldName, const Variant& value) {
  if (State() != dsEdit || editOld_.size() != columns_.size()) DatabaseError(res::SNotEditing);
  for (std::size_t i = 0; i < columns_.size(); ++i)
    if (SameText(columns_[i].name, fieldName)) {
      editOld_[i] = value;
      return;
    }
  DatabaseErrorFmt(res::SFieldNotFound, {fieldName});
}

std::vector<Variant> TSqliteTable::ColumnValues() const {
  std::vector<Variant> values(columns_.size());
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    TField* f = FindField(columns_[i].name);
    if (f && f->FieldKind() == fkData) values[i] = sqlutil::FieldValue(f);
  }
  return values;
}

void TSqliteTable::Exec(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) SqlError(sqlite3_errmsg(db_));
}

String TSqliteTable::KeyCondition() const {
  String sql;
  for (std::size_t k = 0; k < keyColumns_.size(); ++k) {
    if (k) sql += " AND ";
    sql += QuoteIdentifier(columns_[static_cast<std::size_t>(keyColumns_[k])].name) + " IS ?";
  }
  return sql;
}

void TSqliteTable::BindKey(sqlite3_stmt* st, int first, const std::vector<Variant>& key) const {
  for (std::size_t k = 0; k < keyColumns_.size(); ++k)
    sqlutil::BindValue(st, first + static_cast<int>(k),
                       columns_[static_cast<std::size_t>(keyColumns_[k])].type, key[k]);
}

// Inside the write transaction: the file's row (by the edit's original key)
// must still hold, in every column the edit changes, the value the edit
// started from or already the new one; otherwise another writer changed it
// and the edit raises instead of overwriting that change.
void TSqliteTable::CheckNotChanged(const std::vector<TChange>& changes) const {
  String sql = "SELECT ";
  for (std::size_t i = 0; i < changes.size(); ++i) {
    if (i) sql += ", ";
    sql += QuoteIdentifier(columns_[changes[i].column].name);
  }
  sql += " FROM " + QuoteIdentifier(tableName_) + " WHERE " + KeyCondition();
  TStmt st(db_, sql);
  if (!st) SqlError(sqlite3_errmsg(db_));
  BindKey(st.get(), 1, editKey_);
  int rc = sqlite3_step(st.get());
  if (rc == SQLITE_DONE) DatabaseErrorFmt(SSqlRecordChanged, {tableName_});
  if (rc != SQLITE_ROW) SqlError(sqlite3_errmsg(db_));
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const TColumnInfo& c = columns_[changes[i].column];
    bool same = false;
    try {
      Variant now = sqlutil::ReadColumn(st.get(), static_cast<int>(i), c.type);
      same = sqlutil::SameValue(now, editOld_[changes[i].column]) ||
             sqlutil::SameValue(now, changes[i].value);
    } catch (const Exception&) {
      same = false;  // a value this table cannot read was written by someone else
    }
    if (!same) DatabaseErrorFmt(SSqlFieldChanged, {c.name, tableName_});
  }
}

// Writes the active buffer to the file in one transaction: an INSERT of
// every field, or an UPDATE of the fields the edit changed.
void TSqliteTable::WriteRecord(bool inserting) {
  if (!db_) DatabaseError(res::SDataSetClosed);
  if (keyColumns_.empty()) DatabaseErrorFmt(SSqlNoKey, {tableName_});
  std::vector<TChange> bound;
  TField* autoKeyField = nullptr;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const TColumnInfo& c = columns_[i];
    TField* f = FindField(c.name);
    if (!f || f->FieldKind() != fkData) continue;
    if (inserting && rowidKey_ && c.pk == 1 && f->IsNull()) {
      autoKeyField = f;
      continue;
    }
    Variant v = sqlutil::FieldValue(f);
    if (!inserting && i < editOld_.size() && sqlutil::SameValue(v, editOld_[i])) continue;
    bound.push_back({i, std::move(v)});
  }
  String sql;
  if (inserting) {
    sql = "INSERT INTO " + QuoteIdentifier(tableName_);
    if (bound.empty()) {
      sql += " DEFAULT VALUES";
    } else {
      String names, marks;
      for (std::size_t i = 0; i < bound.size(); ++i) {
        if (i) {
          names += ", ";
          marks += ", ";
        }
        names += QuoteIdentifier(columns_[bound[i].column].name);
        marks += "?";
      }
      sql += " (" + names + ") VALUES (" + marks + ")";
    }
  } else {
    if (editKey_.size() != keyColumns_.size() || editOld_.size() != columns_.size())
      DatabaseErrorFmt(SSqlNoKey, {tableName_});
    if (bound.empty()) return;
    sql = "UPDATE " + QuoteIdentifier(tableName_) + " SET ";
    for (std::size_t i = 0; i < bound.size(); ++i) {
      if (i) sql += ", ";
      sql += QuoteIdentifier(columns_[bound[i].column].name) + " = ?";
    }
    sql += " WHERE " + KeyCondition();
  }
  Exec("BEGIN IMMEDIATE");
  try {
    if (!inserting) CheckNotChanged(bound);
    TStmt st(db_, sql);
    if (!st) SqlError(sqlite3_errmsg(db_));
    int index = 1;
    for (const TChange& b : bound)
      sqlutil::BindValue(st.get(), index++, columns_[b.column].type, b.value);
    if (!inserting) BindKey(st.get(), index, editKey_);
    if (sqlite3_step(st.get()) != SQLITE_DONE) SqlError(sqlite3_errmsg(db_));
    if (!inserting && sqlite3_changes(db_) == 0) DatabaseErrorFmt(SSqlRecordChanged, {tableName_});
    if (autoKeyField) {
      Int64 id = sqlite3_last_insert_rowid(db_);
      if (autoKeyField->DataType() == ftLargeint) {
        SetFieldData(autoKeyField, &id);
      } else {
        if (id > std::numeric_limits<Integer>::max())
          DatabaseErrorFmt(res::SFieldRangeError, {IntToStr(id), autoKeyField->FieldName(),
                                                   IntToStr(INT32_MIN), IntToStr(INT32_MAX)});
        Integer v = static_cast<Integer>(id);
        SetFieldData(autoKeyField, &v);
      }
    }
    Exec("COMMIT");
  } catch (...) {
    // Not a scope guard: clearing the key field notifies links, whose
    // handlers may raise, and a destructor must not let that through.
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    if (autoKeyField && !autoKeyField->IsNull()) SetFieldData(autoKeyField, nullptr);
    throw;
  }
}

void TSqliteTable::InternalPost() {
  // The file is written only once the in-memory post cannot fail.
  CheckCanPost();
  WriteRecord(State() == dsInsert);
  TMemDataSet::InternalPost();
  editKey_.clear();
  editOld_.clear();
}

void TSqliteTable::InternalAddRecord(TRecordBuffer buffer, bool append) {
  WriteRecord(true);
  TMemDataSet::InternalAddRecord(buffer, append);
}

void TSqliteTable::InternalDelete() {
  if (!db_) DatabaseError(res::SDataSetClosed);
  if (keyColumns_.empty()) DatabaseErrorFmt(SSqlNoKey, {tableName_});
  // In edit state the buffer holds the edited values: delete by the original key.
  std::vector<Variant> key = State() == dsEdit && !editKey_.empty() ? editKey_ : CurrentKey();
  String sql = "DELETE FROM " + QuoteIdentifier(tableName_) + " WHERE " + KeyCondition();
  Exec("BEGIN IMMEDIATE");
  {
    TScopeGuard rollback([this] { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); });
    TStmt st(db_, sql);
    if (!st) SqlError(sqlite3_errmsg(db_));
    BindKey(st.get(), 1, key);
    if (sqlite3_step(st.get()) != SQLITE_DONE) SqlError(sqlite3_errmsg(db_));
    // Another connection deleted the row already.
    if (sqlite3_changes(db_) == 0) DatabaseErrorFmt(SSqlRecordChanged, {tableName_});
    Exec("COMMIT");
    rollback.Dismiss();
  }
  TMemDataSet::InternalDelete();
}

}  // namespace brevant
