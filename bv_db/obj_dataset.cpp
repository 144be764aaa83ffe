// TObjDataSet: cursor, record buffers, bookmarks and the edit cycle over a
// data provider. Searching and blob streams are in obj_dataset_search.cpp.
#include "bv_db/obj_dataset.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "bv_db/obj_record_format.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_rtm/tokens.h"
#include "classes/filer.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "db/dbconsts.h"
#include "db/field_types.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TObjDataSet, TDataSet) {
  p.Property("CompRef", &TObjDataSet::CompRef, &TObjDataSet::SetCompRef);
  p.Property("Path", &TObjDataSet::Path, &TObjDataSet::SetPath);
  p.Property("ReadOnly", &TObjDataSet::ReadOnly, &TObjDataSet::SetReadOnly).Default(false);
  p.Property("UseEditBuffer", &TObjDataSet::UseEditBuffer, &TObjDataSet::SetUseEditBuffer)
      .Default(true);
  p.Property("ParamsObject", &TObjDataSet::ParamsObject, &TObjDataSet::SetParamsObject);
  p.Event("OnCursorMove", &TObjDataSet::OnCursorMove, "TCursorMoveEvent");
}

BV_IMPLEMENT_ABSTRACT_CLASS(TodsFieldValue, TznUniValue)

TodsFieldValue::TodsFieldValue(const String& fieldName, TFieldType dataType)
    : fieldName_(LowerCase(fieldName)) {
  SetDataType(dataType);
}

TodsFieldValue* TodsRecordBuffer::ValueByName(const String& name) const {
  const String lower = LowerCase(name);
  for (const auto& v : Values)
    if (v->FieldName() == lower) return v.get();
  return nullptr;
}

namespace {

TodsRecordBuffer& Buf(TRecordBuffer buffer) {
  assert(buffer && "the framework hands out only buffers this dataset allocated");
  return *static_cast<TodsRecordBuffer*>(buffer);
}

bool IsWritableState(TDataSetState state) {
  switch (state) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsCalcFields:
    case dsFilter:
    case dsNewValue:
    case dsInternalCalc:
      return true;
    default:
      return false;
  }
}

Integer RefOf(const void* bookmark) {
  Integer ref;
  std::memcpy(&ref, bookmark, sizeof ref);
  return ref;
}

}  // namespace

TObjDataSet::TObjDataSet(TComponent* owner)
    : TDataSet(owner), params_(MakeObject<TodsObjectParams>(this)) {}

TObjDataSet::~TObjDataSet() = default;

void TObjDataSet::BeforeDestruction() {
  // Streams that outlive the dataset must not hand data back to it.
  for (TodsBlobStream* s : blobStreams_) DetachBlobStream(s);
  blobStreams_.clear();
  TDataSet::BeforeDestruction();
}

// ---- source and provider ----------------------------------------------------

void TObjDataSet::SetCompRef(TComponent* value) {
  if (value == compRef_) return;
  if (compRef_) compRef_->RemoveFreeNotification(this);
  compRef_ = value;
  if (compRef_) compRef_->FreeNotification(this);
  SetObjectRef(value);
}

void TObjDataSet::SetObjectRef(TPersistent* value) {
  const bool wasActive = Active();
  // While loading, closing would forget a streamed Active = True (the
  // source reference is resolved after the properties were read).
  if (!IsLoading()) Close();
  objectRef_ = value;
  // A source set directly replaces the component source.
  if (compRef_ && compRef_ != value) {
    compRef_->RemoveFreeNotification(this);
    compRef_ = nullptr;
  }
  RecreateProvider();
  if (wasActive && value) Open();
}

void TObjDataSet::SetPath(const String& value) {
  CheckInactive();
  path_ = value;
  RecreateProvider();
}

void TObjDataSet::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  if (State() == dsEdit || State() == dsInsert) Cancel();
  readOnly_ = value;
}

void TObjDataSet::RecreateProvider() {
  provider_.reset();
  if (IsDestroying()) return;
  provider_ = CreateDataProvider(objectRef_, path_, this, params_.get());
}

TodsDataProvider& TObjDataSet::CheckedProvider() const {
  if (!provider_) throw EBVError(String(bvres::SNoDataProvider));
  return *provider_;
}

void TObjDataSet::Notification(TComponent* component, TOperation operation) {
  TDataSet::Notification(component, operation);
  if (operation == opRemove && component == compRef_) SetCompRef(nullptr);
}

void TObjDataSet::DefineProperties(TFiler* filer) {
  TDataSet::DefineProperties(filer);
  // Older forms stored three of the parameters on the dataset itself; they
  // are read into ParamsObject and never written.
  filer->DefineProperty(
      "ExpandSetProps", [this](TReader& r) { params_->SetExpandSets(r.ReadBoolean()); }, nullptr,
      false);
  filer->DefineProperty(
      "StrFieldsLength", [this](TReader& r) { params_->SetStringLength(r.ReadInteger()); }, nullptr,
      false);
  filer->DefineProperty(
      "BlobStrTypes", [this](TReader& r) { params_->SetBlobProperties(r.ReadString()); }, nullptr,
      false);
}

// ---- open and close -------------------------------------------------------------

void TObjDataSet::InternalOpen() {
  if (!objectRef_) throw EBVError(String(bvres::SNoDataProvider));
  modifiedFields_.clear();
  cursor_ = -1;
  SetBookmarkSize(sizeof(Integer));
  InternalInitFieldDefs();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  recordSize_ = 0;
  for (Integer i = 0; i < FieldCount(); ++i) recordSize_ += Fields()->Fields(i)->DataSize();
  cursorOpen_ = true;
}

void TObjDataSet::InternalInitFieldDefs() {
  TodsDataProvider& provider = CheckedProvider();
  FieldDefs()->Clear();
  fieldNameList_.clear();
  provider.InitFieldDefs(FieldDefs(), fieldNameList_);
  fieldNames_.clear();
  fieldTypes_.clear();
  for (Integer i = 0, n = TokenCountOrZero(fieldNameList_, ';'); i < n; ++i) {
    const String name = GetToken(fieldNameList_, i, ';');
    const TFieldDef* def = FieldDefs()->Find(name);
    fieldNames_.push_back(LowerCase(name));
    fieldTypes_.push_back(def ? def->DataType() : ftUnknown);
  }
}

void TObjDataSet::InternalClose() {
  cursor_ = -1;
  cursorOpen_ = false;
}

// ---- buffers ---------------------------------------------------------------------------

TRecordBuffer TObjDataSet::AllocRecordBuffer() {
  auto* buffer = new TodsRecordBuffer;
  buffer->Values.reserve(fieldNames_.size());
  for (std::size_t i = 0; i < fieldNames_.size(); ++i)
    buffer->Values.emplace_back(MakeObject<TodsFieldValue>(fieldNames_[i], fieldTypes_[i]));
  return buffer;
}

void TObjDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  delete static_cast<TodsRecordBuffer*>(buffer);
  buffer = nullptr;
}

void TObjDataSet::InternalInitRecord(TRecordBuffer buffer) {
  TodsRecordBuffer& b = Buf(buffer);
  b.RecordRef = 0;
  for (auto& v : b.Values) v->Clear();
}

void TObjDataSet::ReadBuffer(TodsRecordBuffer& buffer, Integer index) {
  for (auto& v : buffer.Values) provider_->GetFieldValue(v->FieldName(), index, v.get());
}

// ---- cursor -------------------------------------------------------------------------------

Integer TObjDataSet::GetRecordCount() {
  return provider_ ? provider_->GetRecordCount() : -1;
}

void TObjDataSet::InternalLast() {
  cursor_ = GetRecordCount();
}

bool TObjDataSet::MoveCursor(Integer delta) {
  const Integer count = GetRecordCount();
  const Integer step = delta < 0 ? -1 : 1;
  for (;;) {
    cursor_ += delta;
    if (cursor_ < 0 && delta < 1) {
      cursor_ = -1;
      return true;
    }
    if (cursor_ >= count && delta >= 0) {
      cursor_ = count;
      return true;
    }
    bool skipped = false;
    if (OnCursorMove) OnCursorMove(this, delta, skipped);
    if (!skipped) return false;
    // Skipped records are passed over one by one in the same direction (a
    // move of 0 goes on forward, so it always ends).
    delta = step;
  }
}

TGetResult TObjDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  const Integer count = GetRecordCount();
  TGetResult result = grOK;
  if (count <= 0) {
    result = mode == gmNext ? grEOF : mode == gmPrior ? grBOF : grError;
    return result;
  }
  switch (mode) {
    case gmNext:
      if (MoveCursor(1)) result = grEOF;
      break;
    case gmPrior:
      if (MoveCursor(-1)) result = grBOF;
      break;
    case gmCurrent:
      if (cursor_ < 0 || cursor_ >= count) result = grError;
      break;
  }
  if (result == grError && doCheck)
    DatabaseErrorFmt(res::SInternalError, {String(bvres::SNoRecords)});
  if (result != grOK) return result;
  TodsRecordBuffer& b = Buf(buffer);
  b.RecordRef = provider_->RecordRef(cursor_);
  b.BookmarkFlag = bfCurrent;
  ReadBuffer(b, RecordIndex());
  return grOK;
}

Integer TObjDataSet::RecordIndex() const {
  if (!provider_->CanInsertDelete()) return 0;
  if (State() != dsInsert) return cursor_;
  if (cursor_ == -1) return 0;
  const Integer count = provider_->GetRecordCount();
  return cursor_ == count ? count - 1 : cursor_;
}

Integer TObjDataSet::PositionOf(Integer ref) const {
  if (!provider_) return -1;
  // The cursor's neighbourhood first: the framework asks mostly for the
  // records next to the cursor, and a search may walk the whole source.
  const Integer count = provider_->GetRecordCount();
  for (Integer i = std::max(0, cursor_ - 1); i <= cursor_ + 1 && i < count; ++i)
    if (provider_->RecordRef(i) == ref) return i;
  return provider_->IndexOfRef(ref);
}

Integer TObjDataSet::GetRecNo() {
  UpdateCursorPos();
  const Integer count = GetRecordCount();
  if (count <= 0) return 0;
  if (cursor_ == -1) return 1;
  if (cursor_ == count) return cursor_;
  return cursor_ + 1;
}

bool TObjDataSet::InternalSetRecNo(Integer value) {
  if (value < 1 || value > GetRecordCount()) return true;
  MoveCursor(value - cursor_ - 1);
  return true;
}

// ---- bookmarks ----------------------------------------------------------------------------

void TObjDataSet::GetBookmarkData(TRecordBuffer buffer, void* data) {
  std::memcpy(data, &Buf(buffer).RecordRef, sizeof(Integer));
}

void TObjDataSet::SetBookmarkData(TRecordBuffer buffer, const void* data) {
  Buf(buffer).RecordRef = RefOf(data);
}

TBookmarkFlag TObjDataSet::GetBookmarkFlag(TRecordBuffer buffer) {
  return Buf(buffer).BookmarkFlag;
}

void TObjDataSet::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag value) {
  Buf(buffer).BookmarkFlag = value;
}

void TObjDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  const Integer position = PositionOf(Buf(buffer).RecordRef);
  if (position >= 0) cursor_ = position;
}

void TObjDataSet::InternalGotoBookmark(const void* bookmark) {
  const Integer position = PositionOf(RefOf(bookmark));
  if (position < 0) throw EBVError(String(bvres::SBookmarkNotFound));
  MoveCursor(position - cursor_);
}

bool TObjDataSet::BookmarkValid(const TBookmark& bookmark) {
  return bookmark.size() == sizeof(Integer) && PositionOf(RefOf(bookmark.data())) >= 0;
}

Integer TObjDataSet::CompareBookmarks(const TBookmark& b1, const TBookmark& b2) {
  const Int64 p1 = b1.size() == sizeof(Integer) ? PositionOf(RefOf(b1.data())) : 2147483647;
  const Int64 p2 = b2.size() == sizeof(Integer) ? PositionOf(RefOf(b2.data())) : 0;
  if (b1.empty() && b2.empty()) return 0;
  return p1 < p2 ? -1 : p1 > p2 ? 1 : 0;
}

// ---- editing ----------------------------------------------------------------------------------

void TObjDataSet::AddModified(const String& name) {
  for (Integer i = 0, n = TokenCountOrZero(modifiedFields_, ';'); i < n; ++i)
    if (SameText(GetToken(modifiedFields_, i, ';'), name)) return;
  modifiedFields_ = modifiedFields_.empty() ? name : modifiedFields_ + ";" + name;
}

Integer TObjDataSet::PrepareTarget() {
  if (State() != dsInsert) return RecordIndex();
  if (!provider_->CanInsertDelete())
    throw EBVError(res::SInternalError, {String(bvres::SUnableToInsert)});
  const Integer count = provider_->GetRecordCount();
  if (cursor_ != -1 && cursor_ != count) {
    provider_->InsertRecord(cursor_);
    return cursor_;
  }
  provider_->InsertRecord(-1);
  return provider_->GetRecordCount() - 1;
}

void TObjDataSet::WriteFields(TodsRecordBuffer& buffer, Integer index) {
  // The source's values before the write, to put back when a field fails.
  std::vector<TObjectPtr<TodsFieldValue>> before;
  std::vector<String> names;
  for (Integer i = 0, n = TokenCountOrZero(modifiedFields_, ';'); i < n; ++i) {
    names.push_back(GetToken(modifiedFields_, i, ';'));
    TodsFieldValue* value = buffer.ValueByName(names.back());
    before.emplace_back(
        MakeObject<TodsFieldValue>(names.back(), value ? value->DataType() : ftUnknown));
    if (value) provider_->GetFieldValue(names.back(), index, before.back().get());
  }
  std::size_t written = 0;
  TScopeGuard restore([&] {
    while (written > 0) {
      --written;
      CallHandlingExceptions(
          this, [&] { provider_->SetFieldValue(names[written], index, before[written].get()); });
    }
  });
  for (; written < names.size(); ++written) {
    if (TodsFieldValue* value = buffer.ValueByName(names[written]))
      provider_->SetFieldValue(names[written], index, value);
  }
  restore.Dismiss();
}

void TObjDataSet::WriteRecord(TodsRecordBuffer& buffer) {
  const bool inserting = State() == dsInsert;
  const Integer index = PrepareTarget();
  TScopeGuard dropNew([&] {
    if (inserting) CallHandlingExceptions(this, [&] { provider_->DeleteRecord(index); });
  });
  if (!modifiedFields_.empty()) WriteFields(buffer, index);
  dropNew.Dismiss();
  const String changed = std::move(modifiedFields_);
  modifiedFields_.clear();
  // An edit that changed nothing is not news; a new record always is.
  if (inserting || !changed.empty())
    provider_->RecordChanged(inserting ? ukInsert : ukModify, changed, index);
  // A source that keeps itself sorted may have moved the record.
  const Integer last = provider_->LastWrittenIndex();
  const Integer target = provider_->CanInsertDelete() && last >= 0 ? last : index;
  if (provider_->CanInsertDelete()) cursor_ = target;
  buffer.RecordRef = provider_->RecordRef(target);
  ReadBuffer(buffer, target);
}

void TObjDataSet::InternalPost() {
  CheckedProvider();
  if (useEditBuffer_ || State() == dsInsert) WriteRecord(Buf(ActiveBuffer()));
}

void TObjDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  CheckedProvider();
  if (append) InternalLast();
  WriteRecord(Buf(buffer));
}

void TObjDataSet::InternalDelete() {
  TodsDataProvider& provider = CheckedProvider();
  if (provider.GetRecordCount() <= 0) return;
  if (!provider.CanInsertDelete())
    throw EBVError(res::SInternalError, {String(bvres::SUnableToDelete)});
  UpdateCursorPos();
  provider.DeleteRecord(cursor_);
  provider.RecordChanged(ukDelete, String(), cursor_);
  MoveCursor(0);
}

void TObjDataSet::CheckEditState() const {
  if (!IsWritableState(State())) DatabaseError(res::SNotEditing);
}

TodsFieldValue* TObjDataSet::ActiveValue(const TField* field) const {
  TRecordBuffer active = ActiveBuffer();
  if (!active) return nullptr;
  const TodsRecordBuffer& b = Buf(active);
  // The definition position names the value directly unless names repeat.
  const Integer at = field->FieldNo() - 1;
  if (at >= 0 && at < static_cast<Integer>(b.Values.size()) &&
      SameText(b.Values[static_cast<std::size_t>(at)]->FieldName(), field->FieldName()))
    return b.Values[static_cast<std::size_t>(at)].get();
  return b.ValueByName(field->FieldName());
}

bool TObjDataSet::GetFieldData(TField* field, void* buffer) {
  if (!provider_ || field->FieldKind() != fkData) return false;
  if (provider_->GetRecordCount() <= 0 && State() != dsInsert) return false;
  const TodsFieldValue* value = ActiveValue(field);
  if (!value || value->IsNull()) return false;
  if (buffer && !field->IsBlob()) ValueToRecord(*value, field, buffer);
  return true;
}

void TObjDataSet::SetFieldData(TField* field, const void* buffer) {
  CheckEditState();
  if (field->ReadOnly()) DatabaseErrorFmt(res::SFieldReadOnly, {field->DisplayName()});
  TodsFieldValue* value = ActiveValue(field);
  if (!value) DatabaseErrorFmt(res::SFieldNotFound, {field->FieldName()});
  if (!buffer) {
    value->Clear();
  } else if (field->IsBlob()) {
    // Blob content arrives only through a blob stream.
    if (!blobWriting_) DatabaseErrorFmt(res::SFieldNotBlob, {field->DisplayName()});
    blobWriting_->SetPosition(0);
    value->LoadFromStream(*blobWriting_);
  } else {
    RecordToValue(field, buffer, *value);
  }
  AddModified(field->FieldName());
  if (!useEditBuffer_ && State() == dsEdit) WriteThrough(field);
  if (auto* blob = TryAs<TBlobField>(field)) blob->SetModified(true);
  DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
}

void TObjDataSet::WriteThrough(TField* field) {
  (void)field;
  TodsRecordBuffer& b = Buf(ActiveBuffer());
  // A value the source refuses is not kept: the buffer shows the source
  // again and the error reaches the caller.
  TScopeGuard reread([&] {
    modifiedFields_.clear();
    CallHandlingExceptions(this, [&] { ReadBuffer(b, RecordIndex()); });
  });
  WriteRecord(b);
  reread.Dismiss();
}

}  // namespace brevant
