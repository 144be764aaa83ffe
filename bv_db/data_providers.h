// Data providers: what adapts one kind of source to the object dataset.
// A provider makes the field definitions, counts the records, names each
// record with a 32-bit reference (kept as its bookmark), reads and writes
// one field of one record through a TznUniValue, inserts and deletes
// records and hears about every completed change. Four kinds exist: a
// single object (its published properties are the fields), a collection
// (one record per item), a quick record set and a string list.
//
// Also here: TodsObjectParams, which steers how published properties
// become fields (sets expanded into Boolean fields, memo properties,
// string length, properties whose empty value reads as null), the field
// information an object may publish about itself, and the choice of
// provider by the class of the source.
#pragma once

#include "db/db_types.h"
#include "rtl/object.h"
#include "rtl/persistent.h"

namespace brevant {

class TCollection;
class TDataSet;
class TObjDataSet;
class TFieldDefs;
class TStrings;
class TStringList;
class TznQuickRecordSet;
class TznUniValue;

// How the object dataset derives fields from published properties. Every
// setter requires the owning dataset (if any) to be closed.
class TodsObjectParams : public TPersistent {
  BV_CLASS(TodsObjectParams, TPersistent)
 public:
  explicit TodsObjectParams(TDataSet* dataSet = nullptr);

  TDataSet* DataSet() const { return dataSet_; }
  // A set property becomes one Boolean field per element.
  bool ExpandSets() const { return expandSets_; }
  void SetExpandSets(bool value);
  // ';'-separated names of string properties shown as memo fields.
  const String& BlobProperties() const { return blobProperties_; }
  void SetBlobProperties(const String& value);
  // Field size of long-string properties (twice this for wide strings);
  // must be positive.
  Integer StringLength() const { return stringLength_; }
  void SetStringLength(Integer value);
  // ';'-separated property names whose empty value reads as null.
  const String& NullableProperties() const { return nullableProperties_; }
  void SetNullableProperties(const String& value);
  // ';'-separated property type names whose empty value reads as null.
  const String& NullableTypes() const { return nullableTypes_; }
  void SetNullableTypes(const String& value);

  // From other parameters: all five values (the dataset must be closed).
  void Assign(const TPersistent* source) override;

 private:
  void CheckInactive() const;

  TDataSet* dataSet_;            // the owning dataset (not owned); may be nil
  bool expandSets_ = false;      // sets as one Boolean field per element
  String blobProperties_;        // string properties shown as memos
  Integer stringLength_ = 1024;  // long-string field size
  String nullableProperties_;    // properties whose empty value is null
  String nullableTypes_;         // property types whose empty value is null
};

// Field information a class may publish about its objects through a
// published method "_GetObjFieldsInfo" of type TGetObjFieldsInfoMethod.
// Each member is a ';'-separated list, compared ignoring case.
struct TObjFieldsInfo {
  String Reserved;        // not read by the providers
  String NullProperties;  // properties whose empty value reads as null
  String AliasedProps;    // properties shown under another field name...
  String AliasNames;      // ...and those field names, position by position
};
using TGetObjFieldsInfoMethod = TEvent<void(TObjFieldsInfo& Info)>;
// Asks obj for its field information; false (and info empty) when its
// class publishes no such method.
bool GetObjFieldsInfo(TObject* obj, TObjFieldsInfo& info);

// The base of every provider. Record indexes count from 0.
class TodsDataProvider : public TObject {
  BV_CLASS(TodsDataProvider, TObject)
 public:
  // params steers field derivation; nil means the defaults.
  TodsDataProvider(TObjDataSet* dataSet, const TodsObjectParams* params);
  ~TodsDataProvider() override;

  TObjDataSet* DataSet() const { return dataSet_; }
  const TodsObjectParams& Params() const { return *params_; }

  // Fills the (already cleared) definitions and answers, in fieldNames,
  // the ';'-separated field names in definition order.
  virtual void InitFieldDefs(TFieldDefs* fieldDefs, String& fieldNames) = 0;
  virtual bool CanInsertDelete() const = 0;
  virtual Integer GetRecordCount() const = 0;
  // The reference kept as bookmark of record index.
  virtual Integer RecordRef(Integer index) const = 0;
  // The record index of a reference; -1 when no record has it.
  virtual Integer IndexOfRef(Integer ref) const = 0;
  // Puts the field's value of record index into value (a field the source
  // does not have leaves value as it is).
  virtual void GetFieldValue(const String& fieldName, Integer index, TznUniValue* value) = 0;
  virtual void SetFieldValue(const String& fieldName, Integer index, const TznUniValue* value) = 0;
  // Inserts an empty record before index; -1 appends.
  virtual void InsertRecord(Integer index) = 0;
  virtual void DeleteRecord(Integer index) = 0;
  // A record was written (ukModify, ukInsert with the changed fields) or
  // deleted (ukDelete).
  virtual void RecordChanged(TUpdateKind updateKind, const String& changedFields,
                             Integer index) = 0;
  // Where the record last written now lies: a source that keeps itself
  // sorted may move it when it is written or told of the change. -1 before
  // any write.
  Integer LastWrittenIndex() const { return lastWritten_; }

 protected:
  Integer lastWritten_ = -1;  // the index LastWrittenIndex answers

 private:
  TObjDataSet* dataSet_;                   // the owning dataset (not owned); may be nil
  const TodsObjectParams* params_;         // the dataset's parameters, or defaults_
  TObjectPtr<TodsObjectParams> defaults_;  // owned defaults when none are given
};

// Providers whose records are objects and whose fields are the published
// properties of those objects' class.
class TCustomObjectDataProvider : public TodsDataProvider {
  BV_CLASS(TCustomObjectDataProvider, TodsDataProvider)
 public:
  TCustomObjectDataProvider(TObjDataSet* dataSet, const TodsObjectParams* params);
  ~TCustomObjectDataProvider() override;

  // For every field made from one element of a set: the set property's
  // field name and the element field's name, position by position.
  TStringList* PropNames() const { return propNames_.get(); }
  TStringList* ExpandedFieldNames() const { return expandedFieldNames_.get(); }
  // The object shown as record index (nil here).
  virtual TObject* GetObject(Integer index) const;

  void InitFieldDefs(TFieldDefs* fieldDefs, String& fieldNames) override;
  void GetFieldValue(const String& fieldName, Integer index, TznUniValue* value) override;
  void SetFieldValue(const String& fieldName, Integer index, const TznUniValue* value) override;

 protected:
  // The class whose properties are the fields, and the object that may
  // publish field information (aliases, null properties) for them.
  virtual TClass PropClass() const = 0;
  virtual TObject* InfoObject() const = 0;

 private:
  // A field name resolved to its property.
  struct TFieldTarget {
    String PropName;  // the property's name
    String Element;   // a set element's name; empty for an ordinary field
  };
  TFieldTarget ResolveField(const String& fieldName);
  const TObjFieldsInfo& FieldsInfo();
  bool ReadsAsNull(TObject* obj, const String& propName);
  void AddPropertyFields(TFieldDefs* defs, const TPropInfo* prop, const String& fieldName,
                         String& fieldNames);

  TObjectPtr<TStringList> propNames_;           // set fields: the property's field name
  TObjectPtr<TStringList> expandedFieldNames_;  // set fields: the element field's name
  TObjFieldsInfo info_;                         // the info object's field information
  bool infoRead_ = false;                       // info_ has been asked for
};

// One record: the published properties of one object.
class TObjectDataProvider : public TCustomObjectDataProvider {
  BV_CLASS(TObjectDataProvider, TCustomObjectDataProvider)
 public:
  TObjectDataProvider(TPersistent* source, TObjDataSet* dataSet, const TodsObjectParams* params);
  TPersistent* Source() const { return source_; }

  TObject* GetObject(Integer index) const override;
  bool CanInsertDelete() const override { return false; }
  Integer GetRecordCount() const override { return 1; }
  Integer RecordRef(Integer index) const override;
  Integer IndexOfRef(Integer ref) const override;
  void InsertRecord(Integer index) override;
  void DeleteRecord(Integer index) override;
  void RecordChanged(TUpdateKind updateKind, const String& changedFields, Integer index) override;

 protected:
  TClass PropClass() const override;
  TObject* InfoObject() const override { return source_; }

 private:
  TPersistent* source_;  // the object (not owned)
};

// One record per collection item; the item class's properties are the fields.
class TCollectionDataProvider : public TCustomObjectDataProvider {
  BV_CLASS(TCollectionDataProvider, TCustomObjectDataProvider)
 public:
  // Raises EInvalidCast when source is not a collection.
  TCollectionDataProvider(TPersistent* source, TObjDataSet* dataSet,
                          const TodsObjectParams* params);
  TCollection* Collection() const { return collection_; }

  TObject* GetObject(Integer index) const override;
  bool CanInsertDelete() const override { return true; }
  Integer GetRecordCount() const override;
  Integer RecordRef(Integer index) const override;
  Integer IndexOfRef(Integer ref) const override;
  void InsertRecord(Integer index) override;
  // Frees the item (which leaves the collection).
  void DeleteRecord(Integer index) override;
  void RecordChanged(TUpdateKind updateKind, const String& changedFields, Integer index) override;

 protected:
  TClass PropClass() const override;
  TObject* InfoObject() const override;

 private:
  TCollection* collection_;  // the source (not owned)
};

// One record per row of a quick record set, one field per record set field.
class TRecordSetDataProvider : public TodsDataProvider {
  BV_CLASS(TRecordSetDataProvider, TodsDataProvider)
 public:
  // Raises EInvalidCast when source is not a quick record set.
  TRecordSetDataProvider(TPersistent* source, TObjDataSet* dataSet, const TodsObjectParams* params);
  TznQuickRecordSet* RecordSet() const { return recordSet_; }

  void InitFieldDefs(TFieldDefs* fieldDefs, String& fieldNames) override;
  bool CanInsertDelete() const override { return true; }
  Integer GetRecordCount() const override;
  Integer RecordRef(Integer index) const override { return index; }
  Integer IndexOfRef(Integer ref) const override;
  void GetFieldValue(const String& fieldName, Integer index, TznUniValue* value) override;
  void SetFieldValue(const String& fieldName, Integer index, const TznUniValue* value) override;
  void InsertRecord(Integer index) override;
  void DeleteRecord(Integer index) override;
  // Re-sorts the set and forwards the change to its notification.
  void RecordChanged(TUpdateKind updateKind, const String& changedFields, Integer index) override;

 private:
  TznQuickRecordSet* recordSet_;  // the source (not owned)
};

// One record per line: the fields "no" (the line's index, read-only) and
// "value" (its text). On a sorted list a written line moves to its sorted
// place; the record keeps being found at the index it was written at until
// the change is reported.
class TStringsDataProvider : public TodsDataProvider {
  BV_CLASS(TStringsDataProvider, TodsDataProvider)
 public:
  // Raises EInvalidCast when source is not a string list.
  TStringsDataProvider(TPersistent* source, TObjDataSet* dataSet, const TodsObjectParams* params);
  TStrings* Strings() const { return strings_; }

  void InitFieldDefs(TFieldDefs* fieldDefs, String& fieldNames) override;
  bool CanInsertDelete() const override { return true; }
  Integer GetRecordCount() const override;
  Integer RecordRef(Integer index) const override { return index; }
  Integer IndexOfRef(Integer ref) const override;
  void GetFieldValue(const String& fieldName, Integer index, TznUniValue* value) override;
  void SetFieldValue(const String& fieldName, Integer index, const TznUniValue* value) override;
  void InsertRecord(Integer index) override;
  void DeleteRecord(Integer index) override;
  void RecordChanged(TUpdateKind updateKind, const String& changedFields, Integer index) override;

 private:
  // The line that record index stands for now.
  Integer LineOf(Integer index) const;
  bool IsSorted() const;

  TStrings* strings_;       // the source (not owned)
  Integer movedFrom_ = -1;  // a record written but not yet reported: its index...
  Integer movedTo_ = -1;    // ...and the line it lies on now
};

// The provider classes by the class of the shown object: a collection, a
// quick record set, a string list, any other object; nil for nil.
TClass DataProviderClassFor(const TObject* shown);
// The object a dataset shows: path followed from objectRef, or objectRef
// itself when the path cannot be followed.
TPersistent* ShownObject(TPersistent* objectRef, const String& path);
// The provider for the object shown from objectRef along path; nil when
// there is no object.
TObjectPtr<TodsDataProvider> CreateDataProvider(TPersistent* objectRef, const String& path,
                                                TObjDataSet* dataSet,
                                                const TodsObjectParams* params);

}  // namespace brevant
