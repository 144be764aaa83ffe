#include "bv_db/data_providers.h"

#include <typeinfo>

#include "bv_db/prop_accessor.h"
#include "bv_db/quick_record_set.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_rtm/tokens.h"
#include "classes/collection.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_defs.h"
#include "rtl/handles.h"
#include "rtl/scope.h"
#include "rtl/stringlist.h"

namespace brevant {

// ---- TodsObjectParams -------------------------------------------------------------

TodsObjectParams::TodsObjectParams(TDataSet* dataSet) : dataSet_(dataSet) {}

void TodsObjectParams::CheckInactive() const {
  if (dataSet_ && dataSet_->Active()) DatabaseError(res::SDataSetOpen);
}

void TodsObjectParams::SetExpandSets(bool value) {
  CheckInactive();
  expandSets_ = value;
}

void TodsObjectParams::SetBlobProperties(const String& value) {
  CheckInactive();
  blobProperties_ = value;
}

void TodsObjectParams::SetStringLength(Integer value) {
  CheckInactive();
  CheckPositive(value);
  stringLength_ = value;
}

void TodsObjectParams::SetNullableProperties(const String& value) {
  CheckInactive();
  nullableProperties_ = value;
}

void TodsObjectParams::SetNullableTypes(const String& value) {
  CheckInactive();
  nullableTypes_ = value;
}

void TodsObjectParams::Assign(const TPersistent* source) {
  const auto* other = TryAs<TodsObjectParams>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  CheckInactive();
  expandSets_ = other->expandSets_;
  blobProperties_ = other->blobProperties_;
  stringLength_ = other->stringLength_;
  nullableProperties_ = other->nullableProperties_;
  nullableTypes_ = other->nullableTypes_;
}

BV_PUBLISH(TodsObjectParams, TPersistent) {
  p.Property("ExpandSets", &TodsObjectParams::ExpandSets, &TodsObjectParams::SetExpandSets)
      .Default(0);
  p.Property("BlobProperties", &TodsObjectParams::BlobProperties,
             &TodsObjectParams::SetBlobProperties);
  p.Property("StringLength", &TodsObjectParams::StringLength, &TodsObjectParams::SetStringLength)
      .Default(1024);
  p.Property("NullableProperties", &TodsObjectParams::NullableProperties,
             &TodsObjectParams::SetNullableProperties);
  p.Property("NullableTypes", &TodsObjectParams::NullableTypes,
             &TodsObjectParams::SetNullableTypes);
}

bool GetObjFieldsInfo(TObject* obj, TObjFieldsInfo& info) {
  info = TObjFieldsInfo();
  if (!obj) return false;
  const TPublishedMethod* m = FindPublishedMethod(obj->ClassType(), "_GetObjFieldsInfo");
  if (!m || !m->Signature || *m->Signature != typeid(TGetObjFieldsInfoMethod)) return false;
  TGetObjFieldsInfoMethod::FromMethod(m->Bind(obj))(info);
  return true;
}

// ---- TodsDataProvider ---------------------------------------------------------------

BV_IMPLEMENT_ABSTRACT_CLASS(TodsDataProvider, TObject)

TodsDataProvider::TodsDataProvider(TObjDataSet* dataSet, const TodsObjectParams* params)
    : dataSet_(dataSet), params_(params) {
  if (!params_) {
    defaults_ = MakeObject<TodsObjectParams>();
    params_ = defaults_.get();
  }
}

TodsDataProvider::~TodsDataProvider() = default;

// ---- TCustomObjectDataProvider --------------------------------------------------------

BV_IMPLEMENT_ABSTRACT_CLASS(TCustomObjectDataProvider, TodsDataProvider)

namespace {

// The type name the nullable-types list is matched against.
String PropTypeName(const TPropInfo* p) {
  const TTypeInfo* t = p->PropType;
  if (t->Kind == tkClass && t->ClassType()) return t->ClassType()->ClassName();
  return t->Name;
}

// The empty value of the field-information null list: as IsEmptyValue, but
// a variant only when Null, and never a 64-bit integer.
bool IsInfoEmpty(TObject* obj, const TznPropAccessor& accessor) {
  const TPropInfo* p = accessor.PropInfo();
  if (p->Kind() == tkInt64) return false;
  if (p->Kind() == tkVariant) return p->GetVariant && VarIsNull(GetVariantProp(obj, p));
  return accessor.IsEmptyValue();
}

// The bit of a set element, by its position among the element names; -1
// for a name that is not an element.
Integer ElementBit(const TznPropAccessor& accessor, const String& element) {
  const Integer pos = TokenIndex(accessor.ElementNames(), element, ';');
  return pos >= 0 && pos <= 31 ? pos : -1;
}

// The item of list b at the position of name in list a, when both exist.
bool MapToken(const String& a, const String& b, const String& name, String& result) {
  if (a.empty() || b.empty()) return false;
  const Integer pos = TokenIndex(a, name, ';');
  if (pos < 0 || pos >= TokenCount(b, ';')) return false;
  const String mapped = GetToken(b, pos, ';');
  if (mapped.empty()) return false;
  result = mapped;
  return true;
}

// One definition, unless one of that name exists (two properties aliased
// to the same field name give one field).
void AddDef(TFieldDefs* defs, const String& name, TFieldType type, Integer size, bool readOnly,
            String& fieldNames) {
  fieldNames = AddToken(fieldNames, name, ';');
  if (defs->Find(name)) return;
  TFieldDef* def = defs->Add(name, type, size);
  if (readOnly) def->SetAttributes(def->Attributes() + TFieldAttributes{faReadonly});
}

}  // namespace

TCustomObjectDataProvider::TCustomObjectDataProvider(TObjDataSet* dataSet,
                                                     const TodsObjectParams* params)
    : TodsDataProvider(dataSet, params),
      propNames_(MakeObject<TStringList>()),
      expandedFieldNames_(MakeObject<TStringList>()) {}

TCustomObjectDataProvider::~TCustomObjectDataProvider() = default;

TObject* TCustomObjectDataProvider::GetObject(Integer index) const {
  (void)index;
  return nullptr;
}

const TObjFieldsInfo& TCustomObjectDataProvider::FieldsInfo() {
  if (!infoRead_) {
    GetObjFieldsInfo(InfoObject(), info_);
    infoRead_ = true;
  }
  return info_;
}

void TCustomObjectDataProvider::InitFieldDefs(TFieldDefs* fieldDefs, String& fieldNames) {
  propNames_->Clear();
  expandedFieldNames_->Clear();
  infoRead_ = false;  // the field information is asked for again
  const TObjFieldsInfo& info = FieldsInfo();
  TCollectionUpdate update(fieldDefs);
  fieldDefs->Clear();
  fieldNames.clear();
  for (const TPropInfo* prop : GetSortedPropList(PropClass())) {
    String fieldName = prop->Name;
    MapToken(info.AliasedProps, info.AliasNames, prop->Name, fieldName);
    AddPropertyFields(fieldDefs, prop, fieldName, fieldNames);
  }
}

void TCustomObjectDataProvider::AddPropertyFields(TFieldDefs* defs, const TPropInfo* prop,
                                                  const String& fieldName, String& fieldNames) {
  const TodsObjectParams& params = Params();
  const TznPropInfo map = MapPropType(prop, params.StringLength(), params.BlobProperties());
  if (map.ClassKind != pckSet || !params.ExpandSets()) {
    AddDef(defs, fieldName, map.DataType, map.Size, map.ReadOnly, fieldNames);
    return;
  }
  const Integer count = TokenCountOrZero(map.ElementNames, ';');
  for (Integer i = 0; i < count; ++i) {
    const String name = fieldName + "_" + GetToken(map.ElementNames, i, ';');
    AddDef(defs, name, ftBoolean, 0, map.ReadOnly, fieldNames);
    propNames_->Add(fieldName);
    expandedFieldNames_->Add(name);
  }
}

// An element field is named prefix + "_" + element, where prefix is the
// set's field name as made (an alias, if one was given): the element is cut
// after that prefix, whatever the property's own name is.
TCustomObjectDataProvider::TFieldTarget TCustomObjectDataProvider::ResolveField(
    const String& fieldName) {
  TFieldTarget target;
  String name = fieldName;
  const Integer k = expandedFieldNames_->IndexOf(fieldName);
  if (k >= 0) {
    name = propNames_->Strings(k);
    target.Element = fieldName.substr(std::min(name.size() + 1, fieldName.size()));
  }
  const TObjFieldsInfo& info = FieldsInfo();
  MapToken(info.AliasNames, info.AliasedProps, name, name);
  target.PropName = name;
  return target;
}

bool TCustomObjectDataProvider::ReadsAsNull(TObject* obj, const String& propName) {
  TznPropAccessor accessor(obj, propName);
  const TodsObjectParams& params = Params();
  if (ContainsToken(FieldsInfo().NullProperties, propName, ';') && IsInfoEmpty(obj, accessor))
    return true;
  const bool nullable =
      ContainsToken(params.NullableTypes(), PropTypeName(accessor.PropInfo()), ';') ||
      ContainsToken(params.NullableProperties(), propName, ';');
  return nullable && accessor.IsEmptyValue();
}

void TCustomObjectDataProvider::GetFieldValue(const String& fieldName, Integer index,
                                              TznUniValue* value) {
  TObject* obj = GetObject(index);
  if (!obj) return;
  const TFieldTarget target = ResolveField(fieldName);
  TznPropAccessor accessor(obj, target.PropName);
  if (!accessor.Valid()) return;
  if (ReadsAsNull(obj, target.PropName)) {
    value->Clear();
  } else if (target.Element.empty()) {
    accessor.AssignTo(value);
  } else {
    const Integer bit = ElementBit(accessor, target.Element);
    const auto bits = static_cast<Cardinal>(accessor.AsInteger());
    value->SetAsBoolean(bit >= 0 && (bits & (Cardinal(1) << bit)) != 0);
  }
}

void TCustomObjectDataProvider::SetFieldValue(const String& fieldName, Integer index,
                                              const TznUniValue* value) {
  TObject* obj = GetObject(index);
  if (!obj) return;
  const TFieldTarget target = ResolveField(fieldName);
  TznPropAccessor accessor(obj, target.PropName);
  if (!accessor.Valid()) return;
  if (target.Element.empty()) {
    accessor.Assign(value);
  } else {
    const Integer bit = ElementBit(accessor, target.Element);
    if (bit < 0) return;  // not an element of the set: nothing to set
    auto bits = static_cast<Cardinal>(accessor.AsInteger());
    const Cardinal mask = Cardinal(1) << bit;
    bits = value->AsBoolean() ? bits | mask : bits & ~mask;
    accessor.SetAsInteger(static_cast<Integer>(bits));
  }
  lastWritten_ = index;
}

// ---- TObjectDataProvider ---------------------------------------------------------------

BV_IMPLEMENT_CLASS_EX(TObjectDataProvider, TCustomObjectDataProvider, nullptr, nullptr)

TObjectDataProvider::TObjectDataProvider(TPersistent* source, TObjDataSet* dataSet,
                                         const TodsObjectParams* params)
    : TCustomObjectDataProvider(dataSet, params), source_(source) {}

TObject* TObjectDataProvider::GetObject(Integer index) const {
  (void)index;
  return source_;
}

Integer TObjectDataProvider::RecordRef(Integer index) const {
  (void)index;
  return ObjectToHandle(source_);
}

Integer TObjectDataProvider::IndexOfRef(Integer ref) const {
  (void)ref;
  return 0;  // the one record
}

void TObjectDataProvider::InsertRecord(Integer index) {
  (void)index;
}

void TObjectDataProvider::DeleteRecord(Integer index) {
  (void)index;
}

void TObjectDataProvider::RecordChanged(TUpdateKind updateKind, const String& changedFields,
                                        Integer index) {
  (void)updateKind;
  (void)changedFields;
  (void)index;
}

TClass TObjectDataProvider::PropClass() const {
  return source_ ? source_->ClassType() : nullptr;
}

// ---- TCollectionDataProvider -------------------------------------------------------------

BV_IMPLEMENT_CLASS_EX(TCollectionDataProvider, TCustomObjectDataProvider, nullptr, nullptr)

TCollectionDataProvider::TCollectionDataProvider(TPersistent* source, TObjDataSet* dataSet,
                                                 const TodsObjectParams* params)
    : TCustomObjectDataProvider(dataSet, params), collection_(As<TCollection>(source)) {}

TObject* TCollectionDataProvider::GetObject(Integer index) const {
  return collection_->Items(index);
}

Integer TCollectionDataProvider::GetRecordCount() const {
  return collection_->Count();
}

Integer TCollectionDataProvider::RecordRef(Integer index) const {
  return ObjectToHandle(collection_->Items(index));
}

Integer TCollectionDataProvider::IndexOfRef(Integer ref) const {
  const void* obj = HandleToObject(ref);
  if (!obj) return -1;
  for (Integer i = 0; i < collection_->Count(); ++i)
    if (static_cast<const void*>(collection_->Items(i)) == obj) return i;
  return -1;
}

void TCollectionDataProvider::InsertRecord(Integer index) {
  if (index < 0)
    lastWritten_ = collection_->Add()->Index();
  else
    lastWritten_ = collection_->Insert(index)->Index();
}

void TCollectionDataProvider::DeleteRecord(Integer index) {
  collection_->Items(index)->Free();
}

void TCollectionDataProvider::RecordChanged(TUpdateKind updateKind, const String& changedFields,
                                            Integer index) {
  (void)updateKind;
  (void)changedFields;
  (void)index;
}

TClass TCollectionDataProvider::PropClass() const {
  return collection_->ItemClass();
}

TObject* TCollectionDataProvider::InfoObject() const {
  return collection_;
}

// ---- TRecordSetDataProvider --------------------------------------------------------------

BV_IMPLEMENT_CLASS_EX(TRecordSetDataProvider, TodsDataProvider, nullptr, nullptr)

TRecordSetDataProvider::TRecordSetDataProvider(TPersistent* source, TObjDataSet* dataSet,
                                               const TodsObjectParams* params)
    : TodsDataProvider(dataSet, params), recordSet_(As<TznQuickRecordSet>(source)) {}

void TRecordSetDataProvider::InitFieldDefs(TFieldDefs* fieldDefs, String& fieldNames) {
  fieldNames = recordSet_->BuildFieldDefs(fieldDefs);
}

Integer TRecordSetDataProvider::GetRecordCount() const {
  return recordSet_->RowCount();
}

Integer TRecordSetDataProvider::IndexOfRef(Integer ref) const {
  return ref >= 0 && ref < recordSet_->RowCount() ? ref : -1;
}

void TRecordSetDataProvider::GetFieldValue(const String& fieldName, Integer index,
                                           TznUniValue* value) {
  value->Assign(recordSet_->ValueAt(fieldName, index));
}

// The set re-sorts only when told of the change, so until then the row at
// index is the one being written, also a freshly inserted one.
void TRecordSetDataProvider::SetFieldValue(const String& fieldName, Integer index,
                                           const TznUniValue* value) {
  recordSet_->ValueAt(fieldName, index)->Assign(value);
  lastWritten_ = index;
}

void TRecordSetDataProvider::InsertRecord(Integer index) {
  if (index < 0) {
    lastWritten_ = recordSet_->Append();
  } else {
    recordSet_->Insert(index);
    lastWritten_ = index;
  }
}

void TRecordSetDataProvider::DeleteRecord(Integer index) {
  recordSet_->Delete(index);
}

void TRecordSetDataProvider::RecordChanged(TUpdateKind updateKind, const String& changedFields,
                                           Integer index) {
  if (updateKind == ukDelete || index < 0 || index >= recordSet_->RowCount()) {
    recordSet_->RecordChanged(updateKind, changedFields, index);
    return;
  }
  // Re-sorting may move the written row: follow it by its physical row.
  const Integer physical = recordSet_->PhysicalRow(index);
  recordSet_->RecordChanged(updateKind, changedFields, index);
  for (Integer i = 0; i < recordSet_->RowCount(); ++i)
    if (recordSet_->PhysicalRow(i) == physical) lastWritten_ = i;
}

// ---- TStringsDataProvider ----------------------------------------------------------------

BV_IMPLEMENT_CLASS_EX(TStringsDataProvider, TodsDataProvider, nullptr, nullptr)

namespace {
constexpr const char* kNoField = "no";
constexpr const char* kValueField = "value";
constexpr Integer kStringsValueSize = 4096;
}  // namespace

TStringsDataProvider::TStringsDataProvider(TPersistent* source, TObjDataSet* dataSet,
                                           const TodsObjectParams* params)
    : TodsDataProvider(dataSet, params), strings_(As<TStrings>(source)) {}

void TStringsDataProvider::InitFieldDefs(TFieldDefs* fieldDefs, String& fieldNames) {
  TCollectionUpdate update(fieldDefs);
  fieldDefs->Clear();
  TFieldDef* no = fieldDefs->Add(kNoField, ftInteger);
  no->SetAttributes(no->Attributes() + TFieldAttributes{faReadonly});
  fieldDefs->Add(kValueField, ftString, kStringsValueSize);
  fieldNames = String(kNoField) + ";" + kValueField;
}

Integer TStringsDataProvider::GetRecordCount() const {
  return strings_->Count();
}

Integer TStringsDataProvider::IndexOfRef(Integer ref) const {
  return ref >= 0 && ref < strings_->Count() ? ref : -1;
}

bool TStringsDataProvider::IsSorted() const {
  const auto* list = TryAs<TStringList>(strings_);
  return list && list->Sorted();
}

Integer TStringsDataProvider::LineOf(Integer index) const {
  return index == movedFrom_ ? movedTo_ : index;
}

void TStringsDataProvider::GetFieldValue(const String& fieldName, Integer index,
                                         TznUniValue* value) {
  if (SameText(fieldName, kNoField))
    value->SetAsInteger(LineOf(index));
  else if (SameText(fieldName, kValueField))
    value->SetAsString(strings_->Strings(LineOf(index)));
}

// A sorted list cannot take a line in place: the old line is removed and
// the new text added at its sorted place (a refused duplicate puts the old
// line back, so nothing is lost); the record is found there until the
// change is reported.
void TStringsDataProvider::SetFieldValue(const String& fieldName, Integer index,
                                         const TznUniValue* value) {
  if (!SameText(fieldName, kValueField)) return;
  const Integer line = LineOf(index);
  const String text = value->AsString();
  if (!IsSorted()) {
    strings_->SetStrings(line, text);
    lastWritten_ = line;
    return;
  }
  const String oldText = strings_->Strings(line);
  void* const object = strings_->Objects(line);
  strings_->Delete(line);
  // Re-adding the old text cannot be refused: it was in the list a moment ago.
  TScopeGuard restore([&] { strings_->AddObject(oldText, object); });
  const Integer newLine = strings_->AddObject(text, object);
  restore.Dismiss();
  movedFrom_ = index;
  movedTo_ = newLine;
  lastWritten_ = newLine;
}

void TStringsDataProvider::InsertRecord(Integer index) {
  if (IsSorted()) {
    // The new line goes to its sorted place; the dataset still writes it at
    // the index it asked for (the last one when appending).
    const Integer line = strings_->Add(String());
    movedFrom_ = index < 0 ? strings_->Count() - 1 : index;
    movedTo_ = line;
    lastWritten_ = line;
  } else if (index < 0) {
    lastWritten_ = strings_->Add(String());
  } else {
    strings_->Insert(index, String());
    lastWritten_ = index;
  }
}

void TStringsDataProvider::DeleteRecord(Integer index) {
  const Integer line = LineOf(index);
  movedFrom_ = movedTo_ = -1;
  strings_->Delete(line);
}

void TStringsDataProvider::RecordChanged(TUpdateKind updateKind, const String& changedFields,
                                         Integer index) {
  (void)changedFields;
  if (updateKind != ukDelete) lastWritten_ = LineOf(index);
  movedFrom_ = movedTo_ = -1;
}

// ---- provider choice ---------------------------------------------------------------------

TClass DataProviderClassFor(const TObject* shown) {
  if (!shown) return nullptr;
  if (Is<TCollection>(shown)) return TCollectionDataProvider::StaticClass();
  if (Is<TznQuickRecordSet>(shown)) return TRecordSetDataProvider::StaticClass();
  if (Is<TStrings>(shown)) return TStringsDataProvider::StaticClass();
  return TObjectDataProvider::StaticClass();
}

TPersistent* ShownObject(TPersistent* objectRef, const String& path) {
  auto* shown = TryAs<TPersistent>(ResolvePropPath(objectRef, path));
  return shown ? shown : objectRef;
}

namespace {

template <class P>
TObjectPtr<TodsDataProvider> MakeProvider(TPersistent* source, TObjDataSet* dataSet,
                                          const TodsObjectParams* params) {
  return TObjectPtr<TodsDataProvider>(Create<P>(source, dataSet, params));
}

// Each provider class with the routine that constructs it.
struct TProviderFactory {
  TClass (*ClassRef)();  // the provider class
  TObjectPtr<TodsDataProvider> (*Make)(TPersistent*, TObjDataSet*, const TodsObjectParams*);
};

constexpr TProviderFactory kFactories[] = {
    {&TCollectionDataProvider::StaticClass, &MakeProvider<TCollectionDataProvider>},
    {&TRecordSetDataProvider::StaticClass, &MakeProvider<TRecordSetDataProvider>},
    {&TStringsDataProvider::StaticClass, &MakeProvider<TStringsDataProvider>},
    {&TObjectDataProvider::StaticClass, &MakeProvider<TObjectDataProvider>},
};

}  // namespace

TObjectPtr<TodsDataProvider> CreateDataProvider(TPersistent* objectRef, const String& path,
                                                TObjDataSet* dataSet,
                                                const TodsObjectParams* params) {
  TPersistent* shown = ShownObject(objectRef, path);
  const TClass providerClass = DataProviderClassFor(shown);
  for (const TProviderFactory& f : kFactories)
    if (f.ClassRef() == providerClass) return f.Make(shown, dataSet, params);
  return nullptr;
}

}  // namespace brevant
