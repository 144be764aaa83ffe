// Field classes of text and raw bytes: strings, wide strings, GUIDs, fixed and
// variable byte fields, and the blob family (blob, memo, graphic).
#include <cmath>
#include <cstring>
#include <limits>

#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_buffer_util.h"
#include "db/field_types.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

using field_util::IsDigit;
using field_util::Load;
using field_util::Nines;

// ==== text =========================================================================

TStringField::TStringField(TComponent* owner) : TField(owner) {
  SetDataType(ftString);
  InitSize(20);
}

void TStringField::SetFixedChar(bool value) {
  CheckInactive();
  SetDataType(value ? ftFixedChar : ftString);
}

void TStringField::CheckSize(Integer value) const {
  // The record holds up to four bytes per character.
  if (value < 1 || value > 0x1FFFFFFF)
    DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

bool TStringField::GetValue(String& value) const {
  Byte* b = Scratch(static_cast<std::size_t>(DataSize()));
  if (!GetData(b)) {
    value.clear();
    return false;
  }
  const char* c = reinterpret_cast<const char*>(b);
  value.assign(c, strnlen(c, static_cast<std::size_t>(DataSize() - 1)));
  return true;
}

String TStringField::AsString() const {
  String s;
  GetValue(s);
  return s;
}

void TStringField::SetAsString(const String& value) {
  Integer length = Utf8Length(value);
  if (length > Size()) DatabaseErrorFmt(res::SFieldValueTooLong, {length, DisplayName(), Size()});
  String buffer = value;
  buffer.resize(static_cast<std::size_t>(DataSize() - 1));  // zero bytes up to DataSize
  SetData(buffer.data());
}

WideString TStringField::AsWideString() const {
  return Utf8ToWide(AsString());
}
void TStringField::SetAsWideString(const WideString& value) {
  SetAsString(WideToUtf8(value));
}
Integer TStringField::AsInteger() const {
  String s;
  return GetValue(s) ? StrToInt(s) : 0;
}
void TStringField::SetAsInteger(Integer value) {
  SetAsString(IntToStr(value));
}
Int64 TStringField::AsLargeInt() const {
  String s;
  return GetValue(s) ? StrToInt64(s) : 0;
}
void TStringField::SetAsLargeInt(Int64 value) {
  SetAsString(IntToStr(value));
}
double TStringField::AsFloat() const {
  String s;
  return GetValue(s) ? static_cast<double>(StrToFloat(s)) : 0.0;
}
void TStringField::SetAsFloat(double value) {
  SetAsString(FloatToStr(value));
}
bool TStringField::AsBoolean() const {
  String s;
  if (!GetValue(s)) return false;
  String t = Trim(s);
  for (const char* yes : {"True", "T", "Yes", "Y", "1"})
    if (SameText(t, yes)) return true;
  for (const char* no : {"False", "F", "No", "N", "0", ""})
    if (SameText(t, no)) return false;
  DatabaseErrorFmt(res::SInvalidBoolean, {s});
}
void TStringField::SetAsBoolean(bool value) {
  if (Size() >= 5)
    SetAsString(value ? "True" : "False");
  else
    SetAsString(value ? "T" : "F");
}
TDateTime TStringField::AsDateTime() const {
  String s;
  return GetValue(s) ? StrToDateTime(s) : 0.0;
}
void TStringField::SetAsDateTime(TDateTime value) {
  SetAsString(DateTimeToStr(value));
}
Currency TStringField::AsCurrency() const {
  String s;
  return GetValue(s) ? StrToCurr(s) : Currency();
}
void TStringField::SetAsCurrency(Currency value) {
  SetAsString(CurrToStr(value));
}
TBcd TStringField::AsBCD() const {
  String s;
  return GetValue(s) ? StrToBcd(s) : NullBcd;
}
void TStringField::SetAsBCD(const TBcd& value) {
  SetAsString(BcdToStr(value));
}
TSQLTimeStamp TStringField::AsSQLTimeStamp() const {
  String s;
  return GetValue(s) ? StrToSQLTimeStamp(s) : NullSQLTimeStamp;
}
void TStringField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  SetAsString(SQLTimeStampToStr(String(), value));
}
Variant TStringField::GetAsVariant() const {
  String s;
  if (!GetValue(s)) return Null();
  return Variant(std::move(s));
}
void TStringField::SetVarValue(const Variant& value) {
  if (VarIsArray(value)) DatabaseError(res::SInvalidVarType);
  SetAsString(VarToStr(value));
}

TGuidField::TGuidField(TComponent* owner) : TStringField(owner) {
  SetDataType(ftGuid);
  InitSize(38);
}

void TGuidField::CheckSize(Integer value) const {
  if (value != 38) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

TWideStringField::TWideStringField(TComponent* owner) : TField(owner) {
  SetDataType(ftWideString);
  InitSize(40);
}

void TWideStringField::CheckSize(Integer value) const {
  if (value < 2 || value % 2 != 0) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

WideString TWideStringField::AsWideString() const {
  Byte* b = Scratch(static_cast<std::size_t>(DataSize()));
  if (!GetData(b)) return WideString();
  WideString s;
  std::size_t units = static_cast<std::size_t>(Size()) / 2;
  for (std::size_t i = 0; i < units; ++i) {
    char16_t c = Load<char16_t>(b + 2 * i);
    if (c == 0) break;
    s += c;
  }
  return s;
}

void TWideStringField::SetAsWideString(const WideString& value) {
  if (value.size() * 2 > static_cast<std::size_t>(Size()))
    DatabaseErrorFmt(res::SFieldValueTooLong,
                     {static_cast<Integer>(value.size() * 2), DisplayName(), Size()});
  WideString buffer = value;
  buffer.resize(static_cast<std::size_t>(Size()) / 2);
  SetData(buffer.data());
}

String TWideStringField::AsString() const {
  return WideToUtf8(AsWideString());
}
void TWideStringField::SetAsString(const String& value) {
  SetAsWideString(Utf8ToWide(value));
}
Variant TWideStringField::GetAsVariant() const {
  if (IsNull()) return Null();
  return Variant(AsWideString());
}
void TWideStringField::SetVarValue(const Variant& value) {
  if (VarIsArray(value)) DatabaseError(res::SInvalidVarType);
  SetAsWideString(VarToWideStr(value));
}

// ==== bytes ===========================================================================

TBinaryField::TBinaryField(TComponent* owner) : TField(owner) {
  InitSize(16);
}

TBytesField::TBytesField(TComponent* owner) : TBinaryField(owner) {
  SetDataType(ftBytes);
}

TVarBytesField::TVarBytesField(TComponent* owner) : TBinaryField(owner) {
  SetDataType(ftVarBytes);
}

void TBinaryField::CheckSize(Integer value) const {
  if (value < 1 || value > 65535) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

bool TBinaryField::GetValue(String& value) const {
  Byte* b = Scratch(static_cast<std::size_t>(DataSize()));
  value.clear();
  if (!GetData(b)) return false;
  if (DataType() == ftVarBytes) {
    Word len = std::min<Word>(Load<Word>(b), static_cast<Word>(Size()));
    value.assign(reinterpret_cast<const char*>(b + 2), len);
  } else {
    value.assign(reinterpret_cast<const char*>(b), static_cast<std::size_t>(Size()));
  }
  return true;
}

String TBinaryField::AsString() const {
  String s;
  GetValue(s);
  return s;
}

void TBinaryField::SetAsString(const String& value) {
  if (value.size() > static_cast<std::size_t>(Size()))
    DatabaseErrorFmt(res::SFieldValueTooLong,
                     {static_cast<Integer>(value.size()), DisplayName(), Size()});
  std::vector<Byte> b(static_cast<std::size_t>(DataSize()), 0);
  if (DataType() == ftVarBytes) {
    Word len = static_cast<Word>(value.size());
    std::memcpy(b.data(), &len, 2);
    if (len) std::memcpy(b.data() + 2, value.data(), len);
  } else if (!value.empty()) {
    std::memcpy(b.data(), value.data(), value.size());
  }
  SetData(b.data());
}

void TBinaryField::GetText(String& text, bool displayText) const {
  (void)displayText;
  text = DataType() == ftVarBytes ? "(VarBytes)" : "(Bytes)";
}

Variant TBinaryField::GetAsVariant() const {
  String s;
  if (!GetValue(s)) return Null();
  return VarArrayFromBytes(
      std::span<const Byte>(reinterpret_cast<const Byte*>(s.data()), s.size()));
}

// The bytes of a byte array, an array of small integers, or a text.
String VariantBytes(const Variant& value) {
  if (VarIsStr(value)) return VarToStr(value);
  if (!VarIsArray(value)) DatabaseError(res::SInvalidVarType);
  if ((value.VarType() & varTypeMask) == varByte) {
    auto bytes = VarArrayBytes(value);
    return String(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  String s;
  for (Integer i = VarArrayLowBound(value); i <= VarArrayHighBound(value); ++i) {
    Variant e = value.GetElement(i);
    if (!VarIsOrdinal(e)) DatabaseError(res::SInvalidVarType);
    Int64 b = e.AsInt64();
    if (b < 0 || b > 255) DatabaseError(res::SInvalidVarType);
    s += static_cast<char>(b);
  }
  return s;
}

void TBinaryField::SetVarValue(const Variant& value) {
  SetAsString(VariantBytes(value));
}

// ==== blobs ============================================================================

TBlobField::TBlobField(TComponent* owner) : TField(owner) {
  SetDataType(ftBlob);
}

TMemoField::TMemoField(TComponent* owner) : TBlobField(owner) {
  SetDataType(ftMemo);
}

TGraphicField::TGraphicField(TComponent* owner) : TBlobField(owner) {
  SetDataType(ftGraphic);
}

void TBlobField::SetBlobType(TFieldType value) {
  if (!IsBlobFieldType(value)) DatabaseErrorFmt(res::SInvalidFieldKind, {DisplayName()});
  CheckInactive();
  SetDataType(value);
}

Int64 TBlobField::BlobSize() const {
  if (!DataSet() || IsNull()) return 0;
  auto s = DataSet()->CreateBlobStream(const_cast<TBlobField*>(this), bmRead);
  return s ? s->Size() : 0;
}

String TBlobField::AsString() const {
  if (!DataSet() || IsNull()) return String();
  auto s = DataSet()->CreateBlobStream(const_cast<TBlobField*>(this), bmRead);
  if (!s) return String();
  String data(static_cast<std::size_t>(s->Size()), '\0');
  s->SetPosition(0);
  if (!data.empty()) s->ReadBuffer(data.data(), static_cast<Int64>(data.size()));
  return data;
}

void TBlobField::SetAsString(const String& value) {
  if (!DataSet()) DatabaseErrorFmt(res::SNoDataSet, {DisplayName()});
  DataSet()->CheckFieldWrite(this);
  auto s = DataSet()->CreateBlobStream(this, bmWrite);
  if (!value.empty()) s->WriteBuffer(value.data(), static_cast<Int64>(value.size()));
}

WideString TBlobField::AsWideString() const {
  return Utf8ToWide(AsString());
}

void TBlobField::SetAsWideString(const WideString& value) {
  SetAsString(WideToUtf8(value));
}

void TBlobField::LoadFromStream(TStream& stream) {
  Int64 n = stream.Size() - stream.Position();
  String data(static_cast<std::size_t>(std::max<Int64>(n, 0)), '\0');
  if (!data.empty()) stream.ReadBuffer(data.data(), static_cast<Int64>(data.size()));
  SetAsString(data);
}

void TBlobField::SaveToStream(TStream& stream) const {
  String data = AsString();
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TBlobField::LoadFromFile(const String& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TBlobField::SaveToFile(const String& fileName) const {
  String data = AsString();
  TFileStream f(fileName, fmCreate);
  if (!data.empty()) f.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TBlobField::GetText(String& text, bool displayText) const {
  (void)displayText;
  const char* tag = "BLOB";
  if (DataType() == ftGraphic) tag = "GRAPHIC";
  if (DataType() == ftMemo || DataType() == ftFmtMemo || DataType() == ftOraClob) tag = "MEMO";
  String t = tag;
  // "(MEMO)" when there is content, "(Memo)" when there is none.
  if (IsNull()) t = t.substr(0, 1) + LowerCase(t.substr(1));
  text = "(" + t + ")";
}

void TMemoField::GetText(String& text, bool displayText) const {
  if (displayText)
    TBlobField::GetText(text, true);
  else
    text = AsString();
}

Variant TBlobField::GetAsVariant() const {
  if (IsNull()) return Null();
  return Variant(AsString());
}

void TBlobField::SetVarValue(const Variant& value) {
  SetAsString(VariantBytes(value));
}

}  // namespace brevant
