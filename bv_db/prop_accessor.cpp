#include "bv_db/prop_accessor.h"

#include <cfloat>
#include <cmath>

#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_rtm/tokens.h"
#include "classes/component.h"
#include "classes/typinfo.h"
#include "graphics/bitmap.h"
#include "rtl/handles.h"
#include "rtl/numconv.h"
#include "rtl/scope.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

bool IsBooleanType(const TTypeInfo* t) {
  return t && SameText(t->Name, "Boolean");
}

// The field of a float property: the three date-time names, else a float.
TFieldType FloatFieldType(const TTypeInfo* t) {
  if (SameText(t->Name, "TDate")) return ftDate;
  if (SameText(t->Name, "TTime")) return ftTime;
  if (SameText(t->Name, "TDateTime")) return ftDateTime;
  return ftFloat;
}

// The element names of a set type, from its element type's minimum to its
// maximum.
String SetElementNames(const TTypeInfo* setType) {
  const TTypeInfo* el = setType->CompType;
  String names;
  if (!el) return names;
  for (Int64 v = el->MinValue; v <= el->MaxValue; ++v) {
    if (v > el->MinValue) names += ';';
    names += GetEnumName(el, v);
  }
  return names;
}

void MapClass(const TTypeInfo* t, TznPropInfo& info) {
  const TClass c = t->ClassType();
  if (!c) return;
  if (c->InheritsFrom(TStrings::StaticClass())) {
    info.DataType = ftMemo;
    info.ClassKind = pckStrings;
  } else if (c->InheritsFrom(TBitmap::StaticClass())) {
    info.DataType = ftBlob;
    info.ClassKind = pckBitmap;
  } else if (c->InheritsFrom(TComponent::StaticClass())) {
    info.DataType = ftInteger;
    info.ClassKind = pckComponent;
  }
}

// A string property: a memo when named in blobProperties.
void MapString(const TPropInfo* prop, Integer length, const String& blobProperties, TFieldType type,
               TznPropInfo& info) {
  if (ContainsToken(blobProperties, prop->Name, ';')) {
    info.DataType = ftMemo;
  } else {
    info.DataType = type;
    info.Size = length;
  }
}

// The bits a set type's elements can occupy.
Cardinal SetMask(const TTypeInfo* setType) {
  const TTypeInfo* el = setType->CompType;
  if (!el || el->MaxValue < 0) return 0;
  const Int64 top = std::min<Int64>(el->MaxValue, 31);
  return top == 31 ? ~Cardinal(0) : (Cardinal(1) << (top + 1)) - 1;
}

// The class name of an object-typed property, for messages and type names.
String ClassTypeName(const TTypeInfo* t) {
  const TClass c = t->ClassType();
  return c ? String(c->ClassName()) : t->Name;
}

}  // namespace

TznPropInfo MapPropType(const TPropInfo* prop, Integer stringLength, const String& blobProperties) {
  TznPropInfo info;
  if (!prop || !prop->PropType) return info;
  const TTypeInfo* t = prop->PropType;
  info.ReadOnly = !prop->HasSetter();
  switch (t->Kind) {
    case tkInteger:
      info.DataType = ftInteger;
      break;
    case tkChar:
      info.DataType = ftString;
      info.Size = 1;
      break;
    case tkEnumeration:
      info.DataType = IsBooleanType(t) ? ftBoolean : ftInteger;
      break;
    case tkFloat:
      info.DataType = FloatFieldType(t);
      break;
    case tkString:
      info.DataType = ftString;
      info.Size = t->MaxLength;
      break;
    case tkSet:
      info.DataType = ftInteger;
      info.ClassKind = pckSet;
      info.ElementNames = SetElementNames(t);
      break;
    case tkClass:
      MapClass(t, info);
      break;
    case tkWChar:
      info.DataType = ftWideString;
      info.Size = 2;
      break;
    case tkLString:
      MapString(prop, stringLength, blobProperties, ftString, info);
      break;
    case tkWString:
      MapString(prop, 2 * stringLength, blobProperties, ftWideString, info);
      break;
    case tkVariant:
      info.DataType = ftVariant;
      break;
    case tkInt64:
      info.DataType = ftLargeint;
      break;
    default:
      break;
  }
  return info;
}

// ---- TznPropAccessor ----------------------------------------------------------

// Made only with an instance and a name, never from its class reference.
BV_IMPLEMENT_CLASS_EX(TznPropAccessor, TPersistent, nullptr, nullptr)

TznPropAccessor::TznPropAccessor(TObject* instance, const String& propName)
    : instance_(instance),
      propInfo_(GetPropInfo(instance, propName)),
      propName_(propName),
      info_(MapPropType(propInfo_)),
      buffer_(MakeObject<TznUniValue>(false, true)) {
  buffer_->SetDataType(info_.DataType);
}

TznPropAccessor::~TznPropAccessor() = default;

void TznPropAccessor::CheckValid() const {
  if (!Valid()) throw EBVError(String(bvres::SValueNotAvailable));
}

void TznPropAccessor::ReadProperty() const {
  const TPropInfo* p = propInfo_;
  if (!p->HasGetter()) return;
  TznUniValue& b = *buffer_;
  switch (p->Kind()) {
    case tkInteger:
      // Cardinal properties keep their 32 bits; WriteOrdinal undoes this.
      b.SetAsInteger(static_cast<Integer>(static_cast<Cardinal>(GetOrdProp(instance_, p))));
      return;
    case tkChar:
    case tkString:
    case tkWChar:
    case tkLString:
    case tkWString:
      b.SetAsString(GetStrProp(instance_, p));
      return;
    case tkEnumeration:
    case tkSet:
      if (IsBooleanType(p->PropType))
        b.SetAsBoolean(GetOrdProp(instance_, p) != 0);
      else
        b.SetAsInteger(static_cast<Integer>(static_cast<Cardinal>(GetOrdProp(instance_, p))));
      return;
    case tkFloat:
      b.SetAsFloat(static_cast<double>(GetFloatProp(instance_, p)));
      return;
    case tkClass:
      ReadObject();
      return;
    case tkVariant:
      b.SetAsVariant(GetVariantProp(instance_, p));
      return;
    case tkInt64:
      b.SetAsLargeInt(GetInt64Prop(instance_, p));
      return;
    default:
      return;
  }
}

void TznPropAccessor::ReadObject() const {
  TObject* obj = GetObjectProp(instance_, propInfo_);
  if (!obj) return;
  TMemoryStream stream;
  switch (info_.ClassKind) {
    case pckStrings:
      static_cast<TStrings*>(obj)->SaveToStream(stream);
      break;
    case pckBitmap:
      static_cast<TBitmap*>(obj)->SaveToStream(stream);
      break;
    case pckComponent:
      buffer_->SetAsInteger(ObjectToHandle(obj));
      return;
    default:
      return;
  }
  stream.SetPosition(0);
  buffer_->LoadFromStream(stream);
}

template <class Get>
auto TznPropAccessor::ReadAs(Get get) const {
  CheckValid();
  TScopeGuard empty([this] { buffer_->Clear(); });
  ReadProperty();
  return get(*buffer_);
}

template <class Put>
void TznPropAccessor::WriteFrom(Put put) {
  CheckValid();
  TScopeGuard empty([this] { buffer_->Clear(); });
  if (info_.ReadOnly) throw EBVError(bvres::SReadOnlyProperty, {propName_});
  put(*buffer_);
  WriteProperty();
}

void TznPropAccessor::WriteProperty() {
  TScopeGuard empty([this] { buffer_->Clear(); });
  CheckValid();
  if (info_.ReadOnly) throw EBVError(bvres::SReadOnlyProperty, {propName_});
  const TPropInfo* p = propInfo_;
  const TznUniValue& b = *buffer_;
  switch (p->Kind()) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
      WriteOrdinal();
      return;
    case tkChar:
    case tkString:
    case tkWChar:
    case tkLString:
    case tkWString:
      SetStrProp(instance_, p, b.AsString());
      return;
    case tkFloat: {
      const double v = b.AsFloat();
      // A setter of a single must not be handed a value a float cannot hold.
      if (p->PropType->FloatType == ftSingle && std::isfinite(v) && std::fabs(v) > FLT_MAX)
        throw EBVError(bvres::SUniValueOutOfRange, {FloatToStr(v), p->PropType->Name});
      SetFloatProp(instance_, p, v);
      return;
    }
    case tkClass:
      WriteObject();
      return;
    case tkVariant:
      SetVariantProp(instance_, p, b.AsVariant());
      return;
    case tkInt64:
      SetInt64Prop(instance_, p, b.AsLargeInt());
      return;
    default:
      return;
  }
}

void TznPropAccessor::WriteOrdinal() {
  const TPropInfo* p = propInfo_;
  const TTypeInfo* t = p->PropType;
  if (IsBooleanType(t)) {
    SetOrdProp(instance_, p, buffer_->AsBoolean() ? 1 : 0);
    return;
  }
  const Integer v = buffer_->AsInteger();
  if (t->Kind == tkSet) {
    // Bits beyond the element type would give the set values it has no names for.
    const Cardinal bits = static_cast<Cardinal>(v);
    if (bits & ~SetMask(t)) throw EBVError(bvres::SSetOutOfRange, {v, t->Name});
    SetOrdProp(instance_, p, bits);
  } else if (t->Kind == tkInteger && t->OrdType == otULong) {
    SetOrdProp(instance_, p, static_cast<Cardinal>(v));
  } else {
    SetOrdProp(instance_, p, v);
  }
}

void TznPropAccessor::WriteObject() {
  if (info_.ClassKind == pckComponent) {
    WriteComponent();
    return;
  }
  if (info_.ClassKind != pckStrings && info_.ClassKind != pckBitmap) return;
  TObject* obj = GetObjectProp(instance_, propInfo_);
  if (!obj) return;
  TMemoryStream stream;
  buffer_->SaveToStream(stream);
  stream.SetPosition(0);
  if (info_.ClassKind == pckStrings) {
    static_cast<TStrings*>(obj)->LoadFromStream(stream);
  } else if (stream.Size() == 0) {
    static_cast<TBitmap*>(obj)->SetSize(0, 0);  // a null picture empties the bitmap
  } else {
    static_cast<TBitmap*>(obj)->LoadFromStream(stream);
  }
}

// A component property takes nil, or the handle of a live component of its
// class: any other number would be stored as an object reference and crash
// its next use. Handles are released when their object is freed, and only
// model objects are registered, so a found handle names a whole TObject.
void TznPropAccessor::WriteComponent() {
  const Integer handle = buffer_->AsInteger();
  TObject* target = nullptr;
  if (handle != 0) {
    target = static_cast<TObject*>(HandleToObject(handle));
    const TClass wanted = propInfo_->PropType->ClassType();
    const auto* component = TryAs<TComponent>(target);
    if (!component || !target->InheritsFrom(wanted) ||
        component->ComponentState().Contains(csDestroying))
      throw EBVError(bvres::SNotAComponent, {handle, ClassTypeName(propInfo_->PropType)});
  }
  SetObjectProp(instance_, propInfo_, target);
}

void TznPropAccessor::AssignTo(TPersistent* dest) const {
  ReadAs([dest](const TznUniValue& v) { dest->Assign(&v); });
}

void TznPropAccessor::Assign(const TPersistent* source) {
  if (const auto* other = TryAs<TznPropAccessor>(source)) {
    CheckValid();
    other->CheckValid();
    // The source's buffer is empty between operations: read its property first.
    TScopeGuard emptySource([other] { other->buffer_->Clear(); });
    TScopeGuard empty([this] { buffer_->Clear(); });
    other->ReadProperty();
    if (other != this) buffer_->Assign(other->buffer_.get());
    WriteProperty();
  } else if (const auto* value = TryAs<TznUniValue>(source)) {
    WriteFrom([value](TznUniValue& v) { v.Assign(value); });
  } else {
    TPersistent::Assign(source);
  }
}

Integer TznPropAccessor::AsInteger() const {
  return ReadAs([](const TznUniValue& v) { return v.AsInteger(); });
}

String TznPropAccessor::AsString() const {
  return ReadAs([](const TznUniValue& v) { return v.AsString(); });
}

double TznPropAccessor::AsFloat() const {
  return ReadAs([](const TznUniValue& v) { return v.AsFloat(); });
}

Variant TznPropAccessor::AsVariant() const {
  return ReadAs([](const TznUniValue& v) { return v.AsVariant(); });
}

Int64 TznPropAccessor::AsLargeInt() const {
  return ReadAs([](const TznUniValue& v) { return v.AsLargeInt(); });
}

void TznPropAccessor::SetAsInteger(Integer value) {
  WriteFrom([&](TznUniValue& v) { v.SetAsInteger(value); });
}

void TznPropAccessor::SetAsString(const String& value) {
  WriteFrom([&](TznUniValue& v) { v.SetAsString(value); });
}

bool TznPropAccessor::IsTypeName(const String& name) const {
  CheckValid();
  const TTypeInfo* t = propInfo_->PropType;
  return SameText(t->Kind == tkClass ? ClassTypeName(t) : t->Name, name);
}

bool TznPropAccessor::IsEmptyValue() const {
  CheckValid();
  const TPropInfo* p = propInfo_;
  if (!p->HasGetter()) return false;
  switch (p->Kind()) {
    case tkInteger:
    case tkEnumeration:
    case tkSet:
    case tkInt64:
      return GetOrdProp(instance_, p) == 0;
    case tkChar:
    case tkString:
    case tkWChar:
    case tkLString:
    case tkWString:
      return GetStrProp(instance_, p).empty();
    case tkFloat:
      return GetFloatProp(instance_, p) == 0;
    case tkVariant: {
      const Variant v = GetVariantProp(instance_, p);
      return VarIsNull(v) || VarIsEmpty(v);
    }
    default:
      return false;
  }
}

// ---- by-name helpers ------------------------------------------------------------

TObject* ResolvePropPath(TObject* object, const String& path) {
  if (!object || path.empty()) return object;
  TObject* current = object;
  for (const String& part : SplitString(path, '.')) {
    const TPropInfo* p = GetPropInfo(current, Trim(part));
    if (!p || p->Kind() != tkClass || !p->GetObject) return nullptr;
    current = GetObjectProp(current, p);
    if (!current) return nullptr;
  }
  return current;
}

Integer GetPropAsInteger(TObject* object, const String& name) {
  TznPropAccessor accessor(object, name);
  return accessor.Valid() ? accessor.AsInteger() : 0;
}

void SetPropAsInteger(TObject* object, const String& name, Integer value) {
  TznPropAccessor accessor(object, name);
  if (accessor.Valid()) accessor.SetAsInteger(value);
}

void SetPropAsString(TObject* object, const String& name, const String& value) {
  TznPropAccessor accessor(object, name);
  if (accessor.Valid()) accessor.SetAsString(value);
}

}  // namespace brevant
