#include "db/mem_dataset.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "classes/rtti_builder.h"
#include "db/dbconsts.h"
#include "db/field_types.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TMemDataSet, TDataSet) {
  p.Property("FieldDefs", &TMemDataSet::FieldDefs, &TMemDataSet::SetFieldDefs);
  p.Property("ReadOnly", &TMemDataSet::ReadOnly, &TMemDataSet::SetReadOnly).Default(false);
}

namespace {

Integer FixedWidth(TFieldType t) {
  switch (t) {
    case ftSmallint:
    case ftWord:
    case ftBoolean:
      return 2;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
      return 4;
    case ftLargeint:
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
      return 8;
    case ftBCD:
    case ftFMTBcd:
      return static_cast<Integer>(sizeof(TBcd));
    case ftTimeStamp:
      return static_cast<Integer>(sizeof(TSQLTimeStamp));
    default:
      return 0;
  }
}

bool IsTextType(TFieldType t) {
  switch (t) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
    case ftWideString:
    case ftBytes:
    case ftVarBytes:
      return true;
    default:
      return IsBlobFieldType(t);
  }
}

// The size a field of the type gets when its definition gives none.
Integer DefaultSize(TFieldType t) {
  switch (t) {
    case ftString:
    case ftFixedChar:
      return 20;
    case ftGuid:
      return 38;
    case ftWideString:
      return 40;
    case ftBytes:
    case ftVarBytes:
      return 16;
    case ftBCD:
      return 4;
    case ftFMTBcd:
      return 8;
    default:
      return 0;
  }
}

}  // namespace

// A blob stream over the active record: reads a copy of the content and
// writes it back when destroyed, if it was written.
class TMemDataSet::TBlobStream : public TMemoryStream {
 public:
  TBlobStream(TMemDataSet* ds, TField* field, TRecBuf* buf, bool modified)
      : ds_(ds), field_(field), buf_(buf), modified_(modified) {}
  ~TBlobStream() override {
    if (!modified_) return;
    CallHandlingExceptions(ds_, [this] {
      String data(static_cast<std::size_t>(Size()), '\0');
      if (!data.empty()) std::memcpy(data.data(), Memory(), data.size());
      ds_->WriteBlob(field_, buf_, data);
    });
  }
  Int64 Write(const void* buffer, Int64 count) override {
    if (count > 0) modified_ = true;
    return TMemoryStream::Write(buffer, count);
  }
  void SetSize(Int64 size) override {
    if (size != Size()) modified_ = true;
    TMemoryStream::SetSize(size);
  }
  void ResetModified() { modified_ = false; }

 private:
  TMemDataSet* ds_;
  TField* field_;
  TRecBuf* buf_;
  bool modified_;
};

TMemDataSet::TMemDataSet(TComponent* owner) : TDataSet(owner) {}

TMemDataSet::~TMemDataSet() = default;

void TMemDataSet::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  if (value && (State() == dsEdit || State() == dsInsert)) Cancel();
  readOnly_ = value;
}

// ==== the store ==========================================================================

void TMemDataSet::BuildLayout(std::vector<TColumn>& cols) const {
  cols.clear();
  Integer fixed = 0, texts = 0, vars = 0;
  for (Integer i = 0; i < FieldDefs()->Count(); ++i) {
    TFieldDef* def = FieldDefs()->Items(i);
    TColumn c;
    c.name = def->Name();
    c.type = def->DataType();
    c.size = def->Size() > 0 || c.type == ftBCD ? def->Size() : DefaultSize(c.type);
    c.precision = def->Precision() > 0 ? def->Precision() : 32;
    if (Integer w = FixedWidth(c.type)) {
      c.kind = ckFixed;
      c.width = w;
      c.index = fixed;
      fixed += w;
    } else if (IsTextType(c.type)) {
      c.kind = ckText;
      c.index = texts++;
    } else {
      // ftVariant, and types without a field class (never bound to a field).
      c.kind = ckVariant;
      c.index = vars++;
    }
    cols.push_back(c);
  }
}

void TMemDataSet::EnsureStore() {
  // The definitions mark themselves updated on every change.
  if (haveStore_ && !FieldDefs()->Updated()) return;
  std::vector<TColumn> cols;
  BuildLayout(cols);
  auto same = [&] {
    if (cols.size() != cols_.size()) return false;
    for (std::size_t i = 0; i < cols.size(); ++i)
      if (cols[i].type != cols_[i].type || cols[i].size != cols_[i].size ||
          cols[i].precision != cols_[i].precision || !SameText(cols[i].name, cols_[i].name))
        return false;
    return true;
  };
  if (haveStore_ && same()) {
    FieldDefs()->SetUpdated(false);
    return;
  }
  if (haveStore_ && !order_.empty()) DatabaseError(res::SStoreLayoutChanged);
  ClearStore();
  cols_ = std::move(cols);
  fixedSize_ = textCount_ = varCount_ = 0;
  for (const TColumn& c : cols_) {
    if (c.kind == ckFixed) fixedSize_ += c.width;
    if (c.kind == ckText) ++textCount_;
    if (c.kind == ckVariant) ++varCount_;
  }
  autoInc_.assign(cols_.size(), 1);
  haveStore_ = true;
  FieldDefs()->SetUpdated(false);
}

void TMemDataSet::ClearStore() {
  if (rowCount_ > std::numeric_limits<Integer>::max() - idBase_)
    idBase_ = 0;
  else
    idBase_ += rowCount_;
  fixedData_.clear();
  nullData_.clear();
  textRefs_.clear();
  texts_.Clear();
  varData_.clear();
  alive_.clear();
  order_.clear();
  posOf_.clear();
  rowCount_ = 0;
  validUpTo_ = 0;
  cursor_ = -1;
  autoInc_.assign(cols_.size(), 1);
}

Integer TMemDataSet::NewRow() {
  if (rowCount_ >= std::numeric_limits<Integer>::max() - idBase_ - 1)
    DatabaseError(res::SStoreFull);
  Integer row = rowCount_;
  std::size_t r = static_cast<std::size_t>(row);
  fixedData_.resize((r + 1) * static_cast<std::size_t>(fixedSize_), 0);
  nullData_.resize((r + 1) * cols_.size(), 1);
  textRefs_.resize((r + 1) * static_cast<std::size_t>(textCount_), 0);
  varData_.resize((r + 1) * static_cast<std::size_t>(varCount_));
  alive_.push_back(1);
  posOf_.push_back(-1);
  ++rowCount_;
  return row;
}

void TMemDataSet::SetText(std::size_t row, Integer index, std::string_view bytes) {
  TTextArena::TRef& ref = TextRef(row, index);
  TTextArena::TRef added = texts_.Add(bytes);
  texts_.Release(ref);
  ref = added;
  // Edits leave old values behind: reclaim them once they outweigh the rest.
  constexpr std::size_t kMinGarbage = std::size_t(1) << 20;
  if (texts_.GarbageBytes() > kMinGarbage && texts_.GarbageBytes() * 2 > texts_.UsedBytes())
    CompactTexts();
}

void TMemDataSet::CompactTexts() {
  TTextArena fresh;
  fresh.Reserve(texts_.UsedBytes() - texts_.GarbageBytes());
  std::vector<TTextArena::TRef> refs(textRefs_.size(), 0);
  for (std::size_t i = 0; i < textRefs_.size(); ++i) refs[i] = fresh.Add(texts_.View(textRefs_[i]));
  texts_.Swap(fresh);
  textRefs_.swap(refs);
}

void TMemDataSet::ReadRow(Integer row, TRecBuf& buf) const {
  std::size_t r = static_cast<std::size_t>(row);
  std::size_t fs = static_cast<std::size_t>(fixedSize_);
  if (fs) std::memcpy(buf.fixed.data(), fixedData_.data() + r * fs, fs);
  if (!cols_.empty())
    std::memcpy(buf.nulls.data(), nullData_.data() + r * cols_.size(), cols_.size());
  std::size_t tc = static_cast<std::size_t>(textCount_);
  for (std::size_t i = 0; i < tc; ++i) buf.texts[i].assign(texts_.View(textRefs_[r * tc + i]));
  std::size_t vc = static_cast<std::size_t>(varCount_);
  for (std::size_t i = 0; i < vc; ++i) buf.vars[i] = varData_[r * vc + i];
  buf.row = row;
}

void TMemDataSet::WriteRow(Integer row, const TRecBuf& buf) {
  std::size_t r = static_cast<std::size_t>(row);
  std::size_t fs = static_cast<std::size_t>(fixedSize_);
  if (fs) std::memcpy(fixedData_.data() + r * fs, buf.fixed.data(), fs);
  if (!cols_.empty())
    std::memcpy(nullData_.data() + r * cols_.size(), buf.nulls.data(), cols_.size());
  for (Integer i = 0; i < textCount_; ++i) {
    const String& s = buf.texts[static_cast<std::size_t>(i)];
    if (texts_.View(TextRef(r, i)) != s) SetText(r, i, s);
  }
  std::size_t vc = static_cast<std::size_t>(varCount_);
  for (std::size_t i = 0; i < vc; ++i) varData_[r * vc + i] = buf.vars[i];
  // Auto-increment values written by hand move the counter past them.
  for (std::size_t c = 0; c < cols_.size(); ++c) {
    if (cols_[c].type != ftAutoInc || buf.nulls[c]) continue;
    Integer v;
    std::memcpy(&v, buf.fixed.data() + cols_[c].index, 4);
    autoInc_[c] = std::max<Int64>(autoInc_[c], Int64(v) + 1);
  }
}

void TMemDataSet::FillAutoInc(TRecBuf& buf) {
  for (std::size_t c = 0; c < cols_.size(); ++c) {
    if (cols_[c].type != ftAutoInc || !buf.nulls[c]) continue;
    if (autoInc_[c] > std::numeric_limits<Integer>::max()) DatabaseError(res::SStoreFull);
    Integer v = static_cast<Integer>(autoInc_[c]);
    std::memcpy(buf.fixed.data() + cols_[c].index, &v, 4);
    buf.nulls[c] = 0;
  }
}

void TMemDataSet::InsertRow(TRecBuf& buf, Integer position) {
  position = std::clamp(position, 0, StoredRecordCount());
  // Everything that can fail happens before the store changes.
  order_.reserve(order_.size() + 1);
  Integer row = NewRow();
  FillAutoInc(buf);
  WriteRow(row, buf);
  order_.insert(order_.begin() + position, row);
  validUpTo_ = std::min(validUpTo_, position);
  cursor_ = position;
  buf.row = row;
}

Integer TMemDataSet::PositionOf(Integer row) {
  if (row < 0 || row >= rowCount_ || !alive_[static_cast<std::size_t>(row)]) return -1;
  Integer q = posOf_[static_cast<std::size_t>(row)];
  if (q >= 0 && q < validUpTo_ && order_[static_cast<std::size_t>(q)] == row) return q;
  Integer n = StoredRecordCount();
  for (Integer i = validUpTo_; i < n; ++i)
    posOf_[static_cast<std::size_t>(order_[static_cast<std::size_t>(i)])] = i;
  validUpTo_ = n;
  q = posOf_[static_cast<std::size_t>(row)];
  return q >= 0 && q < n && order_[static_cast<std::size_t>(q)] == row ? q : -1;
}

Integer TMemDataSet::RowOfBookmark(const void* bookmark) const {
  Integer id;
  std::memcpy(&id, bookmark, 4);
  Int64 row = Int64(id) - idBase_;
  if (row < 0 || row >= rowCount_ || !alive_[static_cast<std::size_t>(row)]) return -1;
  return static_cast<Integer>(row);
}

const TMemDataSet::TColumn* TMemDataSet::ColumnOf(const TField* field) const {
  Integer c = field->FieldNo() - 1;
  if (c < 0 || c >= static_cast<Integer>(cols_.size())) return nullptr;
  return &cols_[static_cast<std::size_t>(c)];
}

void TMemDataSet::EmptyDataSet() {
  if (Active()) CheckBrowseMode();
  ClearStore();
  if (Active()) Resync({});
}

void TMemDataSet::CreateDataSet() {
  CheckInactive();
  InternalInitFieldDefs();
  ClearStore();
  haveStore_ = false;
  EnsureStore();
  Open();
}

// ---- bulk loading -----------------------------------------------------------------------

void TMemDataSet::AppendRow(std::initializer_list<Variant> values) {
  AppendRow(std::span<const Variant>(values.begin(), values.size()));
}

void TMemDataSet::AppendRow(std::span<const Variant> values) {
  CheckInactive();
  InternalInitFieldDefs();
  EnsureStore();
  if (values.size() > cols_.size())
    DatabaseErrorFmt(res::SRowValueCount,
                     {static_cast<Integer>(values.size()), static_cast<Integer>(cols_.size())});
  Integer row = NewRow();
  // Take the half-filled row back out when a value does not fit.
  TScopeGuard takeBack([&] { DropLastRow(row); });
  for (std::size_t i = 0; i < values.size(); ++i) StoreValue(row, cols_[i], values[i]);
  order_.push_back(row);
  takeBack.Dismiss();
}

void TMemDataSet::SwapStore(TStore& other) {
  std::swap(fixedData_, other.fixedData);
  std::swap(nullData_, other.nullData);
  std::swap(textRefs_, other.textRefs);
  texts_.Swap(other.texts);
  std::swap(varData_, other.varData);
  std::swap(alive_, other.alive);
  std::swap(autoInc_, other.autoInc);
  std::swap(order_, other.order);
  std::swap(posOf_, other.posOf);
  std::swap(rowCount_, other.rowCount);
  std::swap(idBase_, other.idBase);
  std::swap(validUpTo_, other.validUpTo);
  std::swap(cursor_, other.cursor);
}

void TMemDataSet::ReplaceRows(const std::vector<std::vector<Variant>>& rows, Integer* failedRow) {
  std::size_t next = 0;
  ReplaceRows(
      [&](std::vector<Variant>& row) {
        if (next >= rows.size()) return false;
        row = rows[next++];
        return true;
      },
      failedRow, rows.size());
}

void TMemDataSet::ReplaceRows(const std::function<bool(std::vector<Variant>&)>& next,
                              Integer* failedRow, std::size_t expected) {
  std::vector<Variant> values;
  ReplaceRowsWith(
      [&](Integer row) {
        if (!next(values)) return false;
        if (values.size() > cols_.size())
          DatabaseErrorFmt(res::SRowValueCount, {static_cast<Integer>(values.size()),
                                                 static_cast<Integer>(cols_.size())});
        for (std::size_t c = 0; c < values.size(); ++c) StoreValue(row, cols_[c], values[c]);
        return true;
      },
      failedRow, expected);
}

void TMemDataSet::DropLastRow(Integer row) {
  --rowCount_;
  std::size_t r = static_cast<std::size_t>(row);
  fixedData_.resize(r * static_cast<std::size_t>(fixedSize_));
  nullData_.resize(r * cols_.size());
  for (Integer i = 0; i < textCount_; ++i) texts_.Release(TextRef(r, i));
  textRefs_.resize(r * static_cast<std::size_t>(textCount_));
  varData_.resize(r * static_cast<std::size_t>(varCount_));
  alive_.pop_back();
  posOf_.pop_back();
}

void TMemDataSet::ReplaceRowsWith(const std::function<bool(Integer row)>& fill, Integer* failedRow,
                                  std::size_t expected) {
  TDataSetState saved = SetTempState(dsInactive);
  TScopeGuard restoreState([this, saved] { RestoreState(saved); });
  InternalInitFieldDefs();
  std::size_t i = 0;
  auto appendAll = [&] {
    for (;; ++i) {
      Integer row = NewRow();
      TScopeGuard takeBack([&] { DropLastRow(row); });
      if (!fill(row)) break;
      order_.push_back(row);
      takeBack.Dismiss();
    }
  };
  if (!haveStore_ || FieldDefs()->Updated() || order_.empty()) {
    // New definitions (the old rows do not fit them) or nothing to keep: the
    // store is emptied in place, keeping its capacity.
    ClearStore();
    EnsureStore();
    ReserveRows(expected);
    TScopeGuard empty([&] {
      ClearStore();
      if (failedRow) *failedRow = static_cast<Integer>(i) + 1;
    });
    appendAll();
    empty.Dismiss();
    return;
  }
  // The old rows wait aside until every new one is stored.
  TStore old;
  old.idBase = idBase_;
  SwapStore(old);
  ClearStore();
  idBase_ = old.rowCount > std::numeric_limits<Integer>::max() - old.idBase
                ? 0
                : old.idBase + old.rowCount;
  ReserveRows(expected);
  TScopeGuard putBack([&] {
    SwapStore(old);
    if (failedRow) *failedRow = static_cast<Integer>(i) + 1;
  });
  appendAll();
  putBack.Dismiss();
}

void TMemDataSet::ReserveRows(std::size_t n) {
  fixedData_.reserve(n * static_cast<std::size_t>(fixedSize_));
  nullData_.reserve(n * cols_.size());
  textRefs_.reserve(n * static_cast<std::size_t>(textCount_));
  varData_.reserve(n * static_cast<std::size_t>(varCount_));
  alive_.reserve(n);
  posOf_.reserve(n);
  order_.reserve(n);
}

void TMemDataSet::CheckCanPost() {
  auto* buf = static_cast<TRecBuf*>(ActiveBuffer());
  if (!buf) DatabaseError(res::SRecordNotFound);
  if (State() == dsInsert) {
    if (rowCount_ >= std::numeric_limits<Integer>::max() - idBase_ - 1)
      DatabaseError(res::SStoreFull);
  } else if (PositionOf(buf->row) < 0) {
    DatabaseError(res::SRecordNotFound);
  }
}

void TMemDataSet::StoreFieldValue(Integer bookmarkId, Integer column, const Variant& value) {
  Integer row = RowOfBookmark(&bookmarkId);
  if (row < 0 || PositionOf(row) < 0 || column < 0 || column >= static_cast<Integer>(cols_.size()))
    DatabaseError(res::SRecordNotFound);
  StoreValue(row, cols_[static_cast<std::size_t>(column)], value);
}

void TMemDataSet::StoreValue(Integer row, const TColumn& col, const Variant& value) {
  std::size_t r = static_cast<std::size_t>(row);
  std::size_t ci = static_cast<std::size_t>(&col - cols_.data());
  Byte& isNull = nullData_[r * cols_.size() + ci];
  if (VarIsNull(value) || VarIsEmpty(value)) {
    isNull = 1;
    return;
  }
  Byte* fixed = fixedData_.data() + r * static_cast<std::size_t>(fixedSize_) +
                static_cast<std::size_t>(col.kind == ckFixed ? col.index : 0);
  auto put = [&](const auto& v) { std::memcpy(fixed, &v, sizeof(v)); };
  auto range = [&](Int64 v, Int64 lo, Int64 hi) {
    if (v < lo || v > hi)
      DatabaseErrorFmt(res::SFieldRangeError, {IntToStr(v), col.name, IntToStr(lo), IntToStr(hi)});
  };
  auto tooLong = [&](std::size_t n, Integer max) {
    if (n > static_cast<std::size_t>(max))
      DatabaseErrorFmt(res::SFieldValueTooLong, {static_cast<Integer>(n), col.name, max});
  };
  switch (col.type) {
    case ftSmallint: {
      Int64 v = value.AsInt64();
      range(v, -32768, 32767);
      put(static_cast<SmallInt>(v));
      break;
    }
    case ftWord: {
      Int64 v = value.AsInt64();
      range(v, 0, 65535);
      put(static_cast<Word>(v));
      break;
    }
    case ftInteger:
    case ftAutoInc: {
      Int64 v = value.AsInt64();
      range(v, INT32_MIN, INT32_MAX);
      put(static_cast<Integer>(v));
      if (col.type == ftAutoInc) autoInc_[ci] = std::max<Int64>(autoInc_[ci], v + 1);
      break;
    }
    case ftLargeint:
      put(value.AsInt64());
      break;
    case ftBoolean:
      put(static_cast<Word>(value.AsBoolean() ? 0xFFFF : 0));
      break;
    case ftFloat:
    case ftCurrency: {
      double v = value.AsDouble();
      if (!std::isfinite(v)) DatabaseErrorFmt(res::SFieldValueError, {col.name});
      put(v);
      break;
    }
    case ftBCD: {
      TBcd b;
      if (!CurrToBCD(value.AsCurrency(), b, 32, std::clamp(col.size, 0, 4)))
        DatabaseErrorFmt(res::SFieldValueError, {col.name});
      put(b);
      break;
    }
    case ftFMTBcd: {
      TBcd b;
      if (!NormalizeBcd(VarToBcd(value), b, col.precision, std::min(col.size, col.precision)))
        DatabaseErrorFmt(res::SFieldValueError, {col.name});
      put(b);
      break;
    }
    case ftDate:
      put(DateTimeToTimeStamp(value.AsDateTime()).Date);
      break;
    case ftTime:
      put(DateTimeToTimeStamp(value.AsDateTime()).Time);
      break;
    case ftDateTime:
      put(TimeStampToMSecs(DateTimeToTimeStamp(value.AsDateTime())));
      break;
    case ftTimeStamp: {
      TSQLTimeStamp ts = VarToSQLTimeStamp(value);
      if (!IsValidTimeStamp(ts)) DatabaseErrorFmt(res::SFieldValueError, {col.name});
      put(ts);
      break;
    }
    case ftString:
    case ftFixedChar:
    case ftGuid: {
      String s = VarToStr(value);
      tooLong(static_cast<std::size_t>(Utf8Length(s)), col.size);
      SetText(r, col.index, s);
      break;
    }
    case ftWideString: {
      WideString w = VarToWideStr(value);
      tooLong(w.size() * 2, col.size);
      String bytes(w.size() * 2, '\0');
      if (!w.empty()) std::memcpy(bytes.data(), w.data(), bytes.size());
      SetText(r, col.index, bytes);
      break;
    }
    case ftVariant:
      varData_[r * static_cast<std::size_t>(varCount_) + static_cast<std::size_t>(col.index)] =
          value;
      break;
    default: {
      if (col.kind == ckVariant)
        DatabaseErrorFmt(res::SUnknownFieldType, {col.name, FieldTypeName(col.type)});
      // Bytes and blobs.
      String bytes = VariantBytes(value);
      if (col.type == ftBytes || col.type == ftVarBytes) tooLong(bytes.size(), col.size);
      if (IsBlobFieldType(col.type) && bytes.empty()) {
        isNull = 1;
        return;
      }
      SetText(r, col.index, bytes);
    }
  }
  isNull = 0;
}

// ---- typed writers for bulk loading ---------------------------------------------------

// Each writes a value of its kind straight into a column of its type and
// goes through the variant conversion for any other column type.

void TMemDataSet::StoreInteger(Integer row, Integer column, Int64 value) {
  const TColumn& col = cols_[static_cast<std::size_t>(column)];
  switch (col.type) {
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc:
      StoreValue(row, col, Variant(value));  // range-checked there
      return;
    case ftLargeint:
      std::memcpy(fixedData_.data() + static_cast<std::size_t>(row) * fixedSize_ + col.index,
                  &value, sizeof value);
      nullData_[static_cast<std::size_t>(row) * cols_.size() + static_cast<std::size_t>(column)] =
          0;
      return;
    default:
      StoreValue(row, col, Variant(value));
  }
}

void TMemDataSet::StoreFloat(Integer row, Integer column, double value) {
  const TColumn& col = cols_[static_cast<std::size_t>(column)];
  if ((col.type != ftFloat && col.type != ftCurrency) || !std::isfinite(value)) {
    StoreValue(row, col, Variant(value));
    return;
  }
  std::memcpy(fixedData_.data() + static_cast<std::size_t>(row) * fixedSize_ + col.index, &value,
              sizeof value);
  nullData_[static_cast<std::size_t>(row) * cols_.size() + static_cast<std::size_t>(column)] = 0;
}

void TMemDataSet::StoreText(Integer row, Integer column, std::string_view value) {
  const TColumn& col = cols_[static_cast<std::size_t>(column)];
  std::size_t r = static_cast<std::size_t>(row);
  Byte& isNull = nullData_[r * cols_.size() + static_cast<std::size_t>(column)];
  switch (col.type) {
    case ftString:
    case ftFixedChar:
    case ftGuid: {
      // Bytes bound the characters: count them only when they might be too many.
      if (value.size() > static_cast<std::size_t>(col.size)) {
        Integer length = Utf8Length(String(value));
        if (length > col.size)
          DatabaseErrorFmt(res::SFieldValueTooLong, {length, col.name, col.size});
      }
      SetText(r, col.index, value);
      isNull = 0;
      return;
    }
    default:
      if (IsBlobFieldType(col.type)) {
        SetText(r, col.index, value);
        isNull = value.empty() ? 1 : 0;
        return;
      }
      StoreValue(row, col, Variant(String(value)));
  }
}

void TMemDataSet::StoreVariant(Integer row, Integer column, const Variant& value) {
  StoreValue(row, cols_[static_cast<std::size_t>(column)], value);
}

// ==== reading in place ===================================================================

Variant TMemDataSet::StoredValue(Integer row, Integer column) const {
  if (StoredIsNull(row, column)) return Variant::Null();
  const TColumn& col = cols_[static_cast<std::size_t>(column)];
  const Byte* p = col.kind == ckFixed ? StoredFixed(row, column) : nullptr;
  auto load = [p](auto v) {
    std::memcpy(&v, p, sizeof(v));
    return v;
  };
  switch (col.type) {
    case ftSmallint:
      return Variant(load(SmallInt()));
    case ftWord:
      return Variant(load(Word()));
    case ftInteger:
    case ftAutoInc:
      return Variant(load(Integer()));
    case ftLargeint:
      return Variant(load(Int64()));
    case ftBoolean:
      return Variant(load(Word()) != 0);
    case ftFloat:
    case ftCurrency:
      return Variant(load(double()));
    case ftBCD:
      return Variant(BCDToCurr(load(TBcd())));
    case ftFMTBcd:
      return VarFMTBcdCreate(load(TBcd()));
    case ftDate: {
      TTimeStamp ts;
      ts.Date = load(Integer());
      ts.Time = 0;
      return VarFromDateTime(TimeStampToDateTime(ts));
    }
    case ftTime:
      return VarFromDateTime(static_cast<double>(load(Integer())) / MSecsPerDay);
    case ftDateTime:
      return VarFromDateTime(TimeStampToDateTime(MSecsToTimeStamp(load(double()))));
    case ftTimeStamp:
      return VarSQLTimeStampCreate(load(TSQLTimeStamp()));
    case ftWideString: {
      std::string_view bytes = StoredText(row, column);
      WideString w(bytes.size() / 2, u'\0');
      if (!w.empty()) std::memcpy(w.data(), bytes.data(), w.size() * 2);
      return Variant(w);
    }
    case ftBytes:
    case ftVarBytes: {
      std::string_view bytes = StoredText(row, column);
      return VarArrayFromBytes(
          std::span<const Byte>(reinterpret_cast<const Byte*>(bytes.data()), bytes.size()));
    }
    default:
      if (col.kind == ckVariant) return StoredVariant(row, column);
      return Variant(String(StoredText(row, column)));
  }
}

bool TMemDataSet::CopyStoreFrom(const TMemDataSet& source) {
  InternalInitFieldDefs();
  if (!haveStore_ || FieldDefs()->Updated()) {
    // New definitions: the old rows do not fit them.
    ClearStore();
    EnsureStore();
  }
  if (source.cols_.size() != cols_.size() || source.fixedSize_ != fixedSize_) return false;
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    const TColumn &a = cols_[i], &b = source.cols_[i];
    if (a.type != b.type || a.size != b.size || a.precision != b.precision || a.kind != b.kind ||
        a.index != b.index)
      return false;
  }
  // Built aside, so that running out of memory leaves the old store.
  TStore fresh;
  fresh.idBase =
      rowCount_ > std::numeric_limits<Integer>::max() - idBase_ ? 0 : idBase_ + rowCount_;
  std::size_t n = source.order_.size(), fs = static_cast<std::size_t>(fixedSize_);
  std::size_t nc = cols_.size(), tc = static_cast<std::size_t>(textCount_),
              vc = static_cast<std::size_t>(varCount_);
  fresh.fixedData.resize(n * fs);
  fresh.nullData.resize(n * nc);
  fresh.textRefs.resize(n * tc);
  fresh.varData.resize(n * vc);
  fresh.alive.assign(n, 1);
  fresh.posOf.resize(n);
  fresh.order.resize(n);
  fresh.texts.Reserve(source.texts_.UsedBytes() - source.texts_.GarbageBytes());
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t r = static_cast<std::size_t>(source.order_[i]);
    if (fs) std::memcpy(fresh.fixedData.data() + i * fs, source.fixedData_.data() + r * fs, fs);
    if (nc) std::memcpy(fresh.nullData.data() + i * nc, source.nullData_.data() + r * nc, nc);
    for (std::size_t t = 0; t < tc; ++t)
      fresh.textRefs[i * tc + t] =
          fresh.texts.Add(source.texts_.View(source.textRefs_[r * tc + t]));
    for (std::size_t v = 0; v < vc; ++v) fresh.varData[i * vc + v] = source.varData_[r * vc + v];
    fresh.order[i] = static_cast<Integer>(i);
    fresh.posOf[i] = static_cast<Integer>(i);
  }
  fresh.rowCount = static_cast<Integer>(n);
  fresh.validUpTo = static_cast<Integer>(n);
  fresh.autoInc = source.autoInc_;
  fresh.cursor = -1;
  SwapStore(fresh);
  return true;
}

// ==== the descendant protocol ================================================================

void TMemDataSet::InternalInitFieldDefs() {
  if (FieldDefs()->Count() > 0 || FieldCount() == 0) return;
  // Definitions from the persistent data fields.
  TCollectionUpdate update(FieldDefs());
  for (TField* f : *Fields()) {
    if (f->FieldKind() != fkData) continue;
    TFieldDef* def =
        FieldDefs()->Add(f->FieldName(), f->DataType(),
                         f->DataType() == ftBCD || f->Size() > 0 ? f->Size() : 0, f->Required());
    if (auto* b = dynamic_cast<TFMTBCDField*>(f)) def->SetPrecision(b->Precision());
  }
}

void TMemDataSet::InternalOpen() {
  InternalInitFieldDefs();
  EnsureStore();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  SetBookmarkSize(4);
  cursor_ = -1;
  open_ = true;
}

void TMemDataSet::InternalClose() {
  open_ = false;
  cursor_ = -1;
}

TRecordBuffer TMemDataSet::AllocRecordBuffer() {
  auto* b = new TRecBuf;
  b->fixed.assign(static_cast<std::size_t>(fixedSize_), 0);
  b->nulls.assign(cols_.size(), 1);
  b->texts.resize(static_cast<std::size_t>(textCount_));
  b->vars.resize(static_cast<std::size_t>(varCount_));
  return b;
}

void TMemDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  delete static_cast<TRecBuf*>(buffer);
  buffer = nullptr;
}

TGetResult TMemDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  Integer n = StoredRecordCount();
  switch (mode) {
    case gmNext:
      if (cursor_ >= n - 1) {
        cursor_ = n;
        return grEOF;
      }
      ++cursor_;
      break;
    case gmPrior:
      if (cursor_ <= 0) {
        cursor_ = -1;
        return grBOF;
      }
      --cursor_;
      break;
    case gmCurrent:
      if (cursor_ < 0 || cursor_ >= n) {
        if (doCheck && n > 0) DatabaseErrorFmt(res::SInternalError, {res::SNoCurrentRecord});
        return grError;
      }
      break;
  }
  auto* buf = static_cast<TRecBuf*>(buffer);
  ReadRow(order_[static_cast<std::size_t>(cursor_)], *buf);
  buf->flag = bfCurrent;
  return grOK;
}

void TMemDataSet::InternalInitRecord(TRecordBuffer buffer) {
  auto* buf = static_cast<TRecBuf*>(buffer);
  std::fill(buf->fixed.begin(), buf->fixed.end(), Byte(0));
  std::fill(buf->nulls.begin(), buf->nulls.end(), Byte(1));
  for (String& s : buf->texts) s.clear();
  for (Variant& v : buf->vars) v = Variant();
  buf->row = -1;
}

void TMemDataSet::InternalPost() {
  auto* buf = static_cast<TRecBuf*>(ActiveBuffer());
  if (State() == dsInsert) {
    InsertRow(*buf, buf->flag == bfEOF ? StoredRecordCount() : cursor_);
  } else {
    Integer pos = PositionOf(buf->row);
    if (pos < 0) DatabaseError(res::SRecordNotFound);
    WriteRow(buf->row, *buf);
    cursor_ = pos;
  }
}

void TMemDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  auto* buf = static_cast<TRecBuf*>(buffer);
  InsertRow(*buf, append || buf->flag == bfEOF ? StoredRecordCount() : cursor_);
}

void TMemDataSet::InternalDelete() {
  Integer n = StoredRecordCount();
  if (cursor_ < 0 || cursor_ >= n) DatabaseError(res::SRecordNotFound);
  Integer row = order_[static_cast<std::size_t>(cursor_)];
  order_.erase(order_.begin() + cursor_);
  validUpTo_ = std::min(validUpTo_, cursor_);
  std::size_t r = static_cast<std::size_t>(row);
  alive_[r] = 0;
  posOf_[r] = -1;
  for (Integer i = 0; i < textCount_; ++i) SetText(r, i, {});
  for (Integer i = 0; i < varCount_; ++i)
    varData_[r * static_cast<std::size_t>(varCount_) + static_cast<std::size_t>(i)] = Variant();
}

void TMemDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  Integer pos = PositionOf(static_cast<TRecBuf*>(buffer)->row);
  if (pos < 0) DatabaseError(res::SRecordNotFound);
  cursor_ = pos;
}

void TMemDataSet::InternalGotoBookmark(const void* bookmark) {
  Integer row = RowOfBookmark(bookmark);
  Integer pos = row < 0 ? -1 : PositionOf(row);
  if (pos < 0) DatabaseError(res::SRecordNotFound);
  cursor_ = pos;
}

void TMemDataSet::GetBookmarkData(TRecordBuffer buffer, void* data) {
  Integer id = idBase_ + static_cast<TRecBuf*>(buffer)->row;
  std::memcpy(data, &id, 4);
}

void TMemDataSet::SetBookmarkData(TRecordBuffer buffer, const void* data) {
  Integer id;
  std::memcpy(&id, data, 4);
  static_cast<TRecBuf*>(buffer)->row = static_cast<Integer>(Int64(id) - idBase_);
}

TBookmarkFlag TMemDataSet::GetBookmarkFlag(TRecordBuffer buffer) {
  return static_cast<TRecBuf*>(buffer)->flag;
}

void TMemDataSet::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value) {
  static_cast<TRecBuf*>(buffer)->flag = value;
}

Integer TMemDataSet::GetRecNo() {
  auto* buf = static_cast<TRecBuf*>(ActiveBuffer());
  if (!buf) return 0;
  if (buf->flag != bfCurrent) return -1;
  Integer pos = PositionOf(buf->row);
  return pos < 0 ? -1 : pos + 1;
}

bool TMemDataSet::InternalSetRecNo(Integer value) {
  if (value < 1 || value > StoredRecordCount()) return false;
  cursor_ = value - 1;
  return true;
}

bool TMemDataSet::BookmarkValid(const TBookmark& bookmark) {
  if (bookmark.size() != 4 || !haveStore_) return false;
  Integer row = RowOfBookmark(bookmark.data());
  return row >= 0 && PositionOf(row) >= 0;
}

Integer TMemDataSet::CompareBookmarks(const TBookmark& b1, const TBookmark& b2) {
  auto position = [this](const TBookmark& b, Int64 empty) -> Int64 {
    if (b.empty()) return empty;
    if (b.size() != 4) return -1;
    Integer row = RowOfBookmark(b.data());
    return row < 0 ? -1 : PositionOf(row);
  };
  if (b1.empty() && b2.empty()) return 0;
  // Positions are compared, not subtracted: only the sign is answered.
  const Int64 p1 = position(b1, 2147483647), p2 = position(b2, 0);
  return p1 < p2 ? -1 : p1 > p2 ? 1 : 0;
}

// ==== field data
// ===================================================================================

bool TMemDataSet::GetFieldData(TField* field, void* buffer) {
  auto* buf = static_cast<TRecBuf*>(ActiveBuffer());
  const TColumn* col = ColumnOf(field);
  if (!buf || !col) return false;
  std::size_t c = static_cast<std::size_t>(col - cols_.data());
  if (buf->nulls[c]) return false;
  if (!buffer) return true;
  Byte* out = static_cast<Byte*>(buffer);
  switch (col->kind) {
    case ckFixed:
      std::memcpy(out, buf->fixed.data() + col->index, static_cast<std::size_t>(col->width));
      break;
    case ckVariant:
      *static_cast<Variant*>(buffer) = buf->vars[static_cast<std::size_t>(col->index)];
      break;
    case ckText: {
      const String& s = buf->texts[static_cast<std::size_t>(col->index)];
      std::size_t size = static_cast<std::size_t>(field->Size());
      switch (col->type) {
        case ftWideString: {
          std::size_t n = std::min(s.size(), size) & ~std::size_t(1);
          if (n) std::memcpy(out, s.data(), n);
          out[n] = 0;
          out[n + 1] = 0;
          break;
        }
        case ftBytes: {
          std::size_t n = std::min(s.size(), size);
          if (n) std::memcpy(out, s.data(), n);
          std::memset(out + n, 0, size - n);
          break;
        }
        case ftVarBytes: {
          Word n = static_cast<Word>(std::min(s.size(), size));
          std::memcpy(out, &n, 2);
          if (n) std::memcpy(out + 2, s.data(), n);
          break;
        }
        default:
          if (IsBlobFieldType(col->type)) break;  // content goes through blob streams
          {
            size = static_cast<std::size_t>(field->DataSize() - 1);
            String cut = s.size() > size ? Utf8Truncate(s, size) : String();
            const String& v = s.size() > size ? cut : s;
            if (!v.empty()) std::memcpy(out, v.data(), v.size());
            out[v.size()] = 0;
          }
      }
      break;
    }
  }
  return true;
}

void TMemDataSet::SetFieldData(TField* field, const void* buffer) {
  auto* buf = static_cast<TRecBuf*>(ActiveBuffer());
  const TColumn* col = ColumnOf(field);
  if (!buf || !col) DatabaseErrorFmt(res::SFieldNotFound, {field->FieldName()});
  std::size_t c = static_cast<std::size_t>(col - cols_.data());
  const Byte* in = static_cast<const Byte*>(buffer);
  if (!in) {
    buf->nulls[c] = 1;
    if (col->kind == ckText) buf->texts[static_cast<std::size_t>(col->index)].clear();
    if (col->kind == ckVariant) buf->vars[static_cast<std::size_t>(col->index)] = Variant();
  } else {
    switch (col->kind) {
      case ckFixed:
        std::memcpy(buf->fixed.data() + col->index, in, static_cast<std::size_t>(col->width));
        break;
      case ckVariant:
        buf->vars[static_cast<std::size_t>(col->index)] = *static_cast<const Variant*>(buffer);
        break;
      case ckText: {
        String& s = buf->texts[static_cast<std::size_t>(col->index)];
        std::size_t size = static_cast<std::size_t>(field->Size());
        const char* chars = reinterpret_cast<const char*>(in);
        switch (col->type) {
          case ftWideString: {
            std::size_t n = 0;
            while (n + 2 <= size && (in[n] || in[n + 1])) n += 2;
            s.assign(chars, n);
            break;
          }
          case ftBytes:
            s.assign(chars, size);
            break;
          case ftVarBytes: {
            Word n;
            std::memcpy(&n, in, 2);
            s.assign(chars + 2, std::min<std::size_t>(n, size));
            break;
          }
          default:
            s.assign(chars, strnlen(chars, static_cast<std::size_t>(field->DataSize() - 1)));
        }
        break;
      }
    }
    buf->nulls[c] = 0;
  }
  DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
}

std::unique_ptr<TStream> TMemDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  const TColumn* col = ColumnOf(field);
  if (!field->IsBlob() || !col || col->kind != ckText)
    DatabaseErrorFmt(res::SFieldNotBlob, {field->DisplayName()});
  if (mode != bmRead) CheckFieldWrite(field);
  auto* buf = static_cast<TRecBuf*>(ActiveBuffer());
  auto stream = std::make_unique<TBlobStream>(this, field, buf, mode == bmWrite);
  if (mode != bmWrite && buf) {
    std::size_t c = static_cast<std::size_t>(col - cols_.data());
    const String& s = buf->texts[static_cast<std::size_t>(col->index)];
    if (!buf->nulls[c] && !s.empty()) {
      stream->WriteBuffer(s.data(), static_cast<Int64>(s.size()));
      stream->SetPosition(0);
      stream->ResetModified();
    }
  }
  return stream;
}

void TMemDataSet::WriteBlob(TField* field, TRecBuf* buf, const String& data) {
  if ((State() != dsEdit && State() != dsInsert) || ActiveBuffer() != buf)
    DatabaseError(res::SNotEditing);
  const TColumn* col = ColumnOf(field);
  if (!col) return;
  std::size_t c = static_cast<std::size_t>(col - cols_.data());
  buf->texts[static_cast<std::size_t>(col->index)] = data;
  buf->nulls[c] = data.empty() ? 1 : 0;
  if (auto* b = dynamic_cast<TBlobField*>(field)) b->SetModified(true);
  DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
}

}  // namespace brevant
