// TObjDataSet: a dataset whose records are live objects: the published
// properties of one object, the items of a collection, the rows of a quick
// record set or the lines of a string list. Data-aware controls bound to it
// through a TDataSource edit those objects directly. The dataset keeps the
// cursor, record buffers of universal values, bookmarks and the edit cycle,
// and asks a data provider (data_providers.h), chosen by the class of the
// shown object, everything about the source.
#pragma once

#include <memory>
#include <vector>

#include "bv_db/data_providers.h"
#include "bv_db/univalue.h"
#include "db/dataset.h"

namespace brevant {

class TodsBlobStream;

// Asked for every record the cursor steps onto; setting skipped passes the
// record over.
using TCursorMoveEvent = TEvent<void(TObject* Sender, Integer Offset, bool& Skipped)>;

// A buffer's value of one field: a universal value of the field's type
// with the field's name in lower case.
class TodsFieldValue : public TznUniValue {
  BV_CLASS(TodsFieldValue, TznUniValue)
 public:
  TodsFieldValue(const String& fieldName, TFieldType dataType);
  const String& FieldName() const { return fieldName_; }

 private:
  String fieldName_;  // the field's name, lower case
};

// One record buffer of the dataset (the framework's buffer pointer is this
// object).
struct TodsRecordBuffer {
  Integer RecordRef = 0;                           // the provider's reference of the record
  TBookmarkFlag BookmarkFlag = bfCurrent;          // as set by the framework
  std::vector<TObjectPtr<TodsFieldValue>> Values;  // one per name of FieldNameList
  // The value of a field by name (case ignored); nil when absent.
  TodsFieldValue* ValueByName(const String& name) const;
};

class TObjDataSet : public TDataSet {
  BV_CLASS(TObjDataSet, TDataSet)
 public:
  explicit TObjDataSet(TComponent* owner = nullptr);
  ~TObjDataSet() override;
  void BeforeDestruction() override;

  // The source component; setting it sets ObjectRef to it. The dataset
  // closes when the component goes.
  TComponent* CompRef() const { return compRef_; }
  void SetCompRef(TComponent* value);
  // The source object (any persistent object). Setting it closes the
  // dataset, re-creates the provider and reopens when it was open and the
  // new object is not nil.
  TPersistent* ObjectRef() const { return objectRef_; }
  void SetObjectRef(TPersistent* value);
  // Dotted path of object properties from the source to the object shown;
  // one that cannot be followed shows the source itself. Needs a closed
  // dataset.
  const String& Path() const { return path_; }
  void SetPath(const String& value);
  // Refuses every modification; turning it on cancels a pending edit.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // False: every field change in edit state is written to the object at
  // once instead of at Post.
  bool UseEditBuffer() const { return useEditBuffer_; }
  void SetUseEditBuffer(bool value) { useEditBuffer_ = value; }
  // How fields are derived from properties; setting copies.
  TodsObjectParams* ParamsObject() const { return params_.get(); }
  void SetParamsObject(TodsObjectParams* value) { params_->Assign(value); }
  TCursorMoveEvent OnCursorMove;

  // The provider of the shown object (nil without a source).
  TodsDataProvider* Provider() const { return provider_.get(); }
  // The field names the provider produced, in definition order.
  const String& FieldNameList() const { return fieldNameList_; }
  // The cursor: a record index, -1 before the first record and the record
  // count after the last (what OnCursorMove handlers look at).
  Integer CurrentIndex() const { return cursor_; }
  // Names of the fields changed since the record was last written.
  const String& ModifiedFields() const { return modifiedFields_; }

  bool IsSequenced() override { return true; }
  bool BookmarkValid(const TBookmark& bookmark) override;
  Integer CompareBookmarks(const TBookmark& b1, const TBookmark& b2) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  bool GetFieldData(TField* field, void* buffer) override;
  void SetFieldData(TField* field, const void* buffer) override;
  bool Locate(const String& keyFields, const Variant& keyValues,
              TLocateOptions options = {}) override;
  Variant Lookup(const String& keyFields, const Variant& keyValues,
                 const String& resultFields) override;

 protected:
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  Integer GetRecordSize() override { return recordSize_; }
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return cursorOpen_; }
  void InternalInitFieldDefs() override;
  void InternalFirst() override { cursor_ = -1; }
  void InternalLast() override;
  void InternalInitRecord(TRecordBuffer buffer) override;
  void InternalInsert() override { modifiedFields_.clear(); }
  void InternalEdit() override { modifiedFields_.clear(); }
  void InternalCancel() override { modifiedFields_.clear(); }
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
  Integer GetRecordCount() override;
  Integer GetRecNo() override;
  bool InternalSetRecNo(Integer value) override;
  void DefineProperties(TFiler* filer) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TodsBlobStream;

  void RecreateProvider();
  TodsDataProvider& CheckedProvider() const;
  // Moves the cursor by delta, firing OnCursorMove for every record it
  // steps onto; true when the move hit an end.
  bool MoveCursor(Integer delta);
  // The record index buffers are read from and written to.
  Integer RecordIndex() const;
  // The record index of a reference; -1 when no record has it.
  Integer PositionOf(Integer ref) const;
  void ReadBuffer(TodsRecordBuffer& buffer, Integer index);
  // Writes the buffer's modified fields to the source (a new record in
  // insert state); on failure the source is put back as it was and the
  // buffer keeps the user's values.
  void WriteRecord(TodsRecordBuffer& buffer);
  Integer PrepareTarget();
  void WriteFields(TodsRecordBuffer& buffer, Integer index);
  // UseEditBuffer False: writes the record being edited at once.
  void WriteThrough(TField* field);
  void AddModified(const String& name);
  TodsFieldValue* ActiveValue(const TField* field) const;
  // A blob stream's content into the field (called as the stream goes).
  void WriteBlob(TField* field, TodsBlobStream* stream);
  static void DetachBlobStream(TodsBlobStream* stream);
  void CheckEditState() const;
  // Search: the first record index matching the keys, or -1.
  Integer FindRecord(const String& keyFields, const Variant& keyValues, TLocateOptions options);
  Variant ProviderValue(const String& fieldName, Integer index);

  TComponent* compRef_ = nullptr;             // the source component (free-notified)
  TPersistent* objectRef_ = nullptr;          // the source object (not owned)
  String path_;                               // path to the shown object
  bool readOnly_ = false;                     // refuses modification
  bool useEditBuffer_ = true;                 // writes at Post, not per field
  TObjectPtr<TodsObjectParams> params_;       // field derivation parameters (owned)
  TObjectPtr<TodsDataProvider> provider_;     // the shown object's provider (owned)
  String fieldNameList_;                      // provider's field names, ';'-separated
  std::vector<String> fieldNames_;            // the same names, lower case, in order
  std::vector<TFieldType> fieldTypes_;        // each name's field definition type
  String modifiedFields_;                     // fields changed since the last write
  Integer cursor_ = -1;                       // record index; -1 before the first
  Integer recordSize_ = 0;                    // sum of the fields' data sizes
  bool cursorOpen_ = false;                   // between InternalOpen and InternalClose
  TStream* blobWriting_ = nullptr;            // the blob stream handing its data back
  std::vector<TodsBlobStream*> blobStreams_;  // live blob streams, detached at destruction
};

}  // namespace brevant
