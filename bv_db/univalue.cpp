#include "bv_db/univalue.h"

#include <cstring>

#include "bv_db/value_accessors.h"
#include "bv_rtm/bv_strings.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "classes/writer.h"
#include "db/field.h"
#include "db/params.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TznVariantHolder, TPersistent)

BV_PUBLISH(TznUniValue, TPersistent) {
  p.Property("DataType", &TznUniValue::DataType, &TznUniValue::SetDataType)
      .Stored(&TznUniValue::IsDataTypeStored);
  p.Property("IsNull", &TznUniValue::IsNull, &TznUniValue::SetIsNull).Stored(false);
  p.Property("AsString", &TznUniValue::AsString, &TznUniValue::SetAsString).Stored(false);
}

bool IsBlobDataType(TFieldType dataType) {
  return IsBlobFieldType(dataType);
}

TznUniValue::TznUniValue(bool autoDataType, bool convertOnTypeChange)
    : autoDataType_(autoDataType),
      convertOnTypeChange_(convertOnTypeChange),
      accessor_(new TznValueAccessor(this)) {}

TznUniValue::~TznUniValue() {
  ReleaseData();
  delete accessor_;
}

void TznUniValue::ReleaseData() {
  if (!data_) return;
  // A variant-typed value owns the holder its bytes refer to.
  if (holdsVariant_ && dataSize_ == static_cast<Integer>(sizeof(TznVariantHolder*))) {
    TznVariantHolder* holder = nullptr;
    std::memcpy(&holder, data_, sizeof holder);
    TObject::Free(holder);
  }
  delete[] data_;
  data_ = nullptr;
  dataSize_ = 0;
  capacity_ = 0;
}

void TznUniValue::CheckRawAccess() const {
  if (holdsVariant_) throw EDatabaseError(String(bvres::SUniValueVariantRaw));
}

void TznUniValue::ReadRaw(void* buffer, Integer count) const {
  CheckRawAccess();
  CopyBytes(buffer, count);
}

void TznUniValue::WriteRaw(const void* buffer, Integer count) {
  CheckRawAccess();
  StoreBytes(buffer, count);
}

void TznUniValue::CopyBytes(void* buffer, Integer count) const {
  if (count <= 0 || !buffer || !data_) return;
  if (count > dataSize_) count = dataSize_;
  std::memcpy(buffer, data_, static_cast<std::size_t>(count));
}

void TznUniValue::StoreBytes(const void* buffer, Integer count) {
  // A held variant is never overwritten in place: its holder goes first.
  if (holdsVariant_) ReleaseData();
  if (!buffer || count <= 0) {
    ReleaseData();
  } else if (count <= capacity_) {
    std::memmove(data_, buffer, static_cast<std::size_t>(count));
    dataSize_ = count;
  } else {
    Byte* block = new Byte[static_cast<std::size_t>(count)];
    std::memcpy(block, buffer, static_cast<std::size_t>(count));
    delete[] data_;
    data_ = block;
    dataSize_ = count;
    capacity_ = count;
  }
  modified_ = true;
}

void TznUniValue::Clear() {
  ReleaseData();
  modified_ = true;
}

void TznUniValue::SetIsNull(bool value) {
  if (value) Clear();
}

void TznUniValue::SetDataType(TFieldType value) {
  if (value == dataType_) return;
  if (!autoDataType_ && !convertOnTypeChange_ && dataType_ != ftUnknown) return;
  TObjectPtr<TznUniValue> old;
  if (convertOnTypeChange_ && !inTypedAssign_ && !IsNull()) {
    old = MakeObject<TznUniValue>(autoDataType_, convertOnTypeChange_);
    old->Assign(this);
  }
  Clear();
  TznValueAccessor* next = CreateAccessor(value, this);
  delete accessor_;
  accessor_ = next;
  dataType_ = value;
  holdsVariant_ = Is<TznVariantAccessor>(accessor_);
  if (old && !old->IsNull()) accessor_->AssignFromValue(*old);
}

template <class F>
void TznUniValue::TypedAssign(TFieldType type, F&& write) {
  struct TRestoreFlag {
    bool& flag;
    bool saved;
    ~TRestoreFlag() { flag = saved; }
  } restore{inTypedAssign_, inTypedAssign_};
  inTypedAssign_ = true;
  if (autoDataType_ || dataType_ == ftUnknown) SetDataType(type);
  write(*accessor_);
}

String TznUniValue::AsString() const {
  return IsNull() ? String() : accessor_->GetAsString();
}
void TznUniValue::SetAsString(const String& value) {
  TypedAssign(ftString, [&](TznValueAccessor& a) { a.SetAsString(value); });
}
bool TznUniValue::AsBoolean() const {
  return accessor_->GetAsBoolean();
}
void TznUniValue::SetAsBoolean(bool value) {
  TypedAssign(ftBoolean, [&](TznValueAccessor& a) { a.SetAsBoolean(value); });
}
TDateTime TznUniValue::AsDateTime() const {
  return accessor_->GetAsDateTime();
}
void TznUniValue::SetAsDateTime(TDateTime value) {
  TypedAssign(ftDateTime, [&](TznValueAccessor& a) { a.SetAsDateTime(value); });
}
double TznUniValue::AsFloat() const {
  return accessor_->GetAsFloat();
}
void TznUniValue::SetAsFloat(double value) {
  TypedAssign(ftFloat, [&](TznValueAccessor& a) { a.SetAsFloat(value); });
}
Integer TznUniValue::AsInteger() const {
  return accessor_->GetAsInteger();
}
void TznUniValue::SetAsInteger(Integer value) {
  TypedAssign(ftInteger, [&](TznValueAccessor& a) { a.SetAsInteger(value); });
}
Int64 TznUniValue::AsLargeInt() const {
  return accessor_->GetAsLargeInt();
}
void TznUniValue::SetAsLargeInt(Int64 value) {
  TypedAssign(ftLargeint, [&](TznValueAccessor& a) { a.SetAsLargeInt(value); });
}
Variant TznUniValue::AsVariant() const {
  return IsNull() ? Null() : accessor_->GetAsVariant();
}
void TznUniValue::SetAsVariant(const Variant& value) {
  TypedAssign(ftVariant, [&](TznValueAccessor& a) {
    if (VarIsNull(value))
      Clear();
    else
      a.SetAsVariant(value);
  });
}
TBcd TznUniValue::AsBCD() const {
  return accessor_->GetAsBCD();
}
TSQLTimeStamp TznUniValue::AsSQLTimeStamp() const {
  return accessor_->GetAsSQLTimeStamp();
}
Variant TznUniValue::AsByteArray() const {
  return accessor_->GetAsByteArray();
}

void TznUniValue::Assign(const TPersistent* source) {
  if (auto* v = dynamic_cast<const TznUniValue*>(source)) {
    if (v == this) return;
    if (v->IsNull())
      Clear();
    else
      TypedAssign(v->DataType(), [&](TznValueAccessor& a) { a.AssignFromValue(*v); });
  } else if (auto* f = dynamic_cast<const TField*>(source)) {
    if (f->IsNull())
      Clear();
    else
      TypedAssign(f->DataType(), [&](TznValueAccessor& a) { a.AssignFromField(*f); });
  } else if (auto* prm = dynamic_cast<const TParam*>(source)) {
    if (prm->IsNull())
      Clear();
    else
      TypedAssign(prm->DataType(), [&](TznValueAccessor& a) { a.AssignFromParam(*prm); });
  } else {
    inherited::Assign(source);
  }
}

void TznUniValue::AssignTo(TPersistent* dest) const {
  if (auto* v = dynamic_cast<TznUniValue*>(dest)) {
    v->Assign(this);
  } else if (auto* f = dynamic_cast<TField*>(dest)) {
    if (IsNull())
      f->Clear();
    else
      accessor_->AssignToField(*f);
  } else if (auto* prm = dynamic_cast<TParam*>(dest)) {
    if (IsNull())
      prm->Clear();
    else
      accessor_->AssignToParam(*prm);
  } else {
    inherited::AssignTo(dest);
  }
}

Integer TznUniValue::Compare(const TznUniValue& other, bool caseSensitive, bool nullsFirst) const {
  if (IsNull()) {
    if (other.IsNull()) return 0;
    return nullsFirst ? -1 : 1;
  }
  if (other.IsNull()) return nullsFirst ? 1 : -1;
  return accessor_->Compare(*other.accessor_, caseSensitive);
}

void TznUniValue::LoadFromStream(TStream& stream) {
  if (!IsBlobDataType(dataType_)) return;
  Int64 count = stream.Size() - stream.Position();
  if (count <= 0) {
    Clear();
    return;
  }
  if (count > INT32_MAX) throw EReadError(res::SReadError);
  const auto n = static_cast<Integer>(count);
  // Read into a separate buffer so that a short read keeps the value.
  std::unique_ptr<Byte[]> block(new Byte[static_cast<std::size_t>(n)]);
  stream.ReadBuffer(block.get(), n);
  StoreBytes(block.get(), n);
}

void TznUniValue::SaveToStream(TStream& stream) const {
  if (dataSize_ > 0 && !holdsVariant_) stream.WriteBuffer(data_, dataSize_);
}

void TznUniValue::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty(
      "Data",
      [this](TReader& r) {
        // An accessor without a stream form (an untyped value reading data
        // written with StoreDataType off) leaves the value null.
        const Int64 start = r.Position();
        accessor_->ReadWriteData(&r, nullptr);
        if (r.Position() == start) r.SkipValue();
      },
      [this](TWriter& w) { accessor_->ReadWriteData(nullptr, &w); },
      !IsNull() && accessor_->HasStreamData());
}

}  // namespace brevant
