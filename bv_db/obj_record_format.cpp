// Universal values to and from the framework's record formats.
#include "bv_db/obj_record_format.h"

#include <algorithm>
#include <cstring>

#include "bv_db/univalue.h"
#include "db/dbconsts.h"
#include "db/field.h"
#include "rtl/bcd.h"
#include "rtl/datetime.h"

namespace brevant {

namespace {

template <class T>
void Put(void* buffer, T v) {
  std::memcpy(buffer, &v, sizeof v);
}

template <class T>
T Get(const void* buffer) {
  T v;
  std::memcpy(&v, buffer, sizeof v);
  return v;
}

// The byte length of the first maxChars UTF-8 characters of s, never
// splitting a multi-byte sequence.
std::size_t Utf8Prefix(const String& s, Integer maxChars) {
  std::size_t i = 0;
  for (Integer n = 0; i < s.size() && n < maxChars; ++n) {
    ++i;
    while (i < s.size() && (static_cast<Byte>(s[i]) & 0xC0) == 0x80) ++i;
  }
  return i;
}

void PutText(const TznUniValue& value, const TField* field, void* buffer) {
  const String s = value.AsString();
  const std::size_t n = Utf8Prefix(s, field->Size());
  std::memcpy(buffer, s.data(), n);
  static_cast<char*>(buffer)[n] = '\0';
}

// Held bytes copied as they are, zero-padded to size.
void PutBytes(const TznUniValue& value, Integer size, void* buffer) {
  const Integer n = std::min(value.DataSize(), size);
  std::memset(buffer, 0, static_cast<std::size_t>(size));
  value.ReadRaw(buffer, n);
}

void PutWide(const TznUniValue& value, const TField* field, void* buffer) {
  // Held form: UTF-16 units and a zero unit; the record form is the same,
  // cut to Size bytes.
  const Integer units = std::max<Integer>(0, value.DataSize() / 2 - 1);
  const Integer n = std::min(units * 2, field->Size() & ~1);
  value.ReadRaw(buffer, n);
  static_cast<Byte*>(buffer)[n] = 0;
  static_cast<Byte*>(buffer)[n + 1] = 0;
}

void PutVarBytes(const TznUniValue& value, const TField* field, void* buffer) {
  const Word n = static_cast<Word>(std::min(value.DataSize(), field->Size()));
  Put(buffer, n);
  value.ReadRaw(static_cast<Byte*>(buffer) + 2, n);
}

TTimeStamp StampOf(const TznUniValue& value) {
  return DateTimeToTimeStamp(value.AsDateTime());
}

String TextFrom(const TField* field, const void* buffer) {
  const char* chars = static_cast<const char*>(buffer);
  return String(chars, strnlen(chars, static_cast<std::size_t>(field->DataSize() - 1)));
}

void SetWide(const TField* field, const void* buffer, TznUniValue& value) {
  const Byte* in = static_cast<const Byte*>(buffer);
  std::size_t n = 0;
  const std::size_t size = static_cast<std::size_t>(field->Size());
  while (n + 2 <= size && (in[n] || in[n + 1])) n += 2;
  String held(reinterpret_cast<const char*>(in), n);
  held.append(2, '\0');
  value.WriteRaw(held.data(), static_cast<Integer>(held.size()));
}

TDateTime DateFrom(Integer day, Integer msecs) {
  TTimeStamp ts;
  ts.Date = day;
  ts.Time = msecs;
  return TimeStampToDateTime(ts);
}

}  // namespace

void ValueToRecord(const TznUniValue& value, const TField* field, void* buffer) {
  switch (field->DataType()) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
      return PutText(value, field, buffer);
    case ftWideString:
      return PutWide(value, field, buffer);
    case ftSmallint:
      return Put(buffer, static_cast<SmallInt>(value.AsInteger()));
    case ftWord:
      return Put(buffer, static_cast<Word>(value.AsInteger()));
    case ftInteger:
    case ftAutoInc:
      return Put(buffer, value.AsInteger());
    case ftLargeint:
      return Put(buffer, value.AsLargeInt());
    case ftBoolean:
      return Put(buffer, static_cast<Word>(value.AsBoolean() ? 0xFFFF : 0));
    case ftFloat:
    case ftCurrency:
      return Put(buffer, value.AsFloat());
    case ftBCD:
    case ftFMTBcd:
      return Put(buffer, value.AsBCD());
    case ftDate:
      return Put(buffer, StampOf(value).Date);
    case ftTime:
      return Put(buffer, StampOf(value).Time);
    case ftDateTime:
      return Put(buffer, TimeStampToMSecs(StampOf(value)));
    case ftTimeStamp:
      return Put(buffer, value.AsSQLTimeStamp());
    case ftVarBytes:
      return PutVarBytes(value, field, buffer);
    case ftVariant:
      *static_cast<Variant*>(buffer) = value.AsVariant();
      return;
    default:
      return PutBytes(value, field->DataSize(), buffer);
  }
}

void RecordToValue(const TField* field, const void* buffer, TznUniValue& value) {
  switch (field->DataType()) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
      return value.SetAsString(TextFrom(field, buffer));
    case ftWideString:
      return SetWide(field, buffer, value);
    case ftSmallint:
      return value.SetAsInteger(Get<SmallInt>(buffer));
    case ftWord:
      return value.SetAsInteger(Get<Word>(buffer));
    case ftInteger:
    case ftAutoInc:
      return value.SetAsInteger(Get<Integer>(buffer));
    case ftLargeint:
      return value.SetAsLargeInt(Get<Int64>(buffer));
    case ftBoolean:
      return value.SetAsBoolean(Get<Word>(buffer) != 0);
    case ftFloat:
    case ftCurrency:
      return value.SetAsFloat(Get<double>(buffer));
    case ftBCD:
    case ftFMTBcd:
      return value.SetAsVariant(VarFMTBcdCreate(Get<TBcd>(buffer)));
    case ftDate:
      return value.SetAsDateTime(DateFrom(Get<Integer>(buffer), 0));
    case ftTime:
      return value.SetAsDateTime(DateFrom(DateDelta, Get<Integer>(buffer)));
    case ftDateTime:
      return value.SetAsDateTime(TimeStampToDateTime(MSecsToTimeStamp(Get<double>(buffer))));
    case ftTimeStamp:
      return value.WriteRaw(buffer, static_cast<Integer>(sizeof(TSQLTimeStamp)));
    case ftBytes:
      return value.WriteRaw(buffer, field->Size());
    case ftVarBytes:
      return value.WriteRaw(static_cast<const Byte*>(buffer) + 2,
                            std::min<Integer>(Get<Word>(buffer), field->Size()));
    case ftVariant:
      return value.SetAsVariant(*static_cast<const Variant*>(buffer));
    default:
      DatabaseErrorFmt(res::SUnknownFieldType,
                       {field->FieldName(), FieldTypeName(field->DataType())});
  }
}

}  // namespace brevant
