// TField: one column of a dataset's current record, with typed views of
// its value, display and edit texts, and the lookup and calculated kinds.
// TFields: a dataset's ordered list of fields.
//
// A field reads and writes the record through its dataset in the record
// format of its data type (GetData/SetData, DataSize bytes; a nil buffer
// means null). The formats:
//   ftString, ftFixedChar, ftGuid  UTF-8 of at most Size characters and a zero byte
//                                  (DataSize = 4 * Size + 1)
//   ftWideString                   UTF-16 code units and a zero unit (Size counts bytes;
//                                  DataSize = Size + 2)
//   ftSmallint, ftWord             16-bit signed / unsigned
//   ftInteger, ftAutoInc           32-bit signed
//   ftLargeint                     64-bit signed
//   ftBoolean                      16-bit word: 0 False, 0xFFFF True (any non-zero reads True)
//   ftFloat, ftCurrency            8-byte double
//   ftBCD, ftFMTBcd                the 34-byte TBcd record
//   ftDate                         32-bit day number: DateTimeToTimeStamp(d).Date
//   ftTime                         32-bit milliseconds since midnight
//   ftDateTime                     8-byte double: TimeStampToMSecs(DateTimeToTimeStamp(dt))
//   ftTimeStamp                    the 16-byte TSQLTimeStamp record
//   ftBytes                        Size bytes (DataSize = Size)
//   ftVarBytes                     16-bit length and Size bytes (DataSize = Size + 2)
//   ftVariant                      a constructed Variant object (DataSize = sizeof(Variant)):
//                                  readers assign to it, writers read from it
//   blob types                     no record bytes (DataSize 0); the content goes through
//                                  the dataset's CreateBlobStream, GetData only tests null
//
// Typed views of a null value give the empty text, 0, False or a Null
// variant. A view a field class does not offer raises EDatabaseError
// "Cannot access field '%s' as type %s". Writing needs an open dataset in
// an edit state (SDataSetClosed, SNotEditing) and a field that is not
// read-only (SFieldReadOnly); calculated fields are written only while the
// dataset calculates them (OnCalcFields).
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "classes/component.h"
#include "db/db_types.h"
#include "rtl/bcd.h"
#include "rtl/sqltimestamp.h"
#include "rtl/variant.h"

namespace brevant {

class TStream;

class TField : public TComponent {
  BV_CLASS(TField, TComponent)
 public:
  explicit TField(TComponent* owner = nullptr);
  ~TField() override;
  void BeforeDestruction() override;

  // ---- binding -------------------------------------------------------------
  TDataSet* DataSet() const { return dataSet_; }
  // Moves the field into dataSet's Fields (both datasets closed). Raises
  // SDataSetOpen, and SDuplicateFieldName when dataSet has a field of the
  // same name.
  void SetDataSet(TDataSet* dataSet);
  const String& FieldName() const { return fieldName_; }
  // Needs a closed dataset; a name another field of the dataset has raises
  // SDuplicateFieldName.
  void SetFieldName(const String& value);
  // The 1-based position of the field definition the field is bound to
  // (data fields of an open dataset); 0 otherwise.
  Integer FieldNo() const { return fieldNo_; }
  // Position in the dataset's Fields (-1 without a dataset).
  Integer Index() const;
  void SetIndex(Integer value);
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind value);
  bool Calculated() const { return fieldKind_ == fkCalculated; }
  bool Lookup() const { return fieldKind_ == fkLookup; }
  TFieldType DataType() const { return dataType_; }
  // Bytes for strings and byte fields, decimals for BCD fields. Needs a
  // closed dataset; an invalid size raises SInvalidFieldSize.
  Integer Size() const { return size_; }
  void SetSize(Integer value);
  // Bytes of the record format (see above).
  virtual Integer DataSize() const { return 0; }
  virtual bool IsBlob() const { return false; }
  // Offset of a calculated or lookup field's value in the framework's
  // calculated-field area (set when the dataset binds its fields).
  Integer Offset() const { return offset_; }

  // ---- presentation --------------------------------------------------------
  // The label set, or the field name.
  String DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const String& value);
  String DisplayName() const { return DisplayLabel(); }
  // Characters a control shows; 0 means the class's default.
  Integer DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultWidth(); }
  void SetDisplayWidth(Integer value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  const String& EditMask() const { return editMask_; }
  void SetEditMask(const String& value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool Required() const { return required_; }
  void SetRequired(bool value) { required_ = value; }
  // Not read-only, a data field (or a calculated one while calculating),
  // and the dataset can modify.
  bool CanModify() const;
  // Whether a control may let the user type ch into this field. Numeric
  // fields take digits, signs, the decimal separator and exponent letters;
  // the others take everything.
  virtual bool IsValidChar(char32_t ch) const;
  // The text a control shows (OnGetText, else the class's display text).
  String DisplayText() const;
  // The text a control edits (OnGetText with DisplayText False, else the
  // class's edit text).
  String Text() const;
  String EditText() const { return Text(); }
  // Sets the value from edited text: OnSetText when assigned, else
  // SetAsString.
  void SetText(const String& value);
  void SetEditText(const String& value) { SetText(value); }

  // ---- values ----------------------------------------------------------------
  bool IsNull() const;
  void Clear() { SetData(nullptr); }
  virtual String AsString() const;
  virtual void SetAsString(const String& value);
  virtual WideString AsWideString() const;
  virtual void SetAsWideString(const WideString& value);
  virtual Integer AsInteger() const;
  virtual void SetAsInteger(Integer value);
  virtual Int64 AsLargeInt() const;
  virtual void SetAsLargeInt(Int64 value);
  virtual double AsFloat() const;
  virtual void SetAsFloat(double value);
  virtual bool AsBoolean() const;
  virtual void SetAsBoolean(bool value);
  virtual TDateTime AsDateTime() const;
  virtual void SetAsDateTime(TDateTime value);
  virtual Currency AsCurrency() const;
  virtual void SetAsCurrency(Currency value);
  virtual TBcd AsBCD() const;
  virtual void SetAsBCD(const TBcd& value);
  virtual TSQLTimeStamp AsSQLTimeStamp() const;
  virtual void SetAsSQLTimeStamp(const TSQLTimeStamp& value);
  // Null for a null value. Setting Null or Unassigned clears the field.
  Variant AsVariant() const;
  void SetAsVariant(const Variant& value);
  Variant Value() const { return AsVariant(); }
  void SetValue(const Variant& value) { SetAsVariant(value); }
  // Copies another field's value (null stays null).
  void AssignValue(const TField* source);

  // Reads the value in the record format into buffer (DataSize bytes; nil
  // only tests). Answers False for null.
  bool GetData(void* buffer) const;
  // Writes the value from buffer in the record format; nil makes it null.
  void SetData(const void* buffer);

  // ---- lookup fields -----------------------------------------------------------
  TDataSet* LookupDataSet() const { return lookupDataSet_; }
  void SetLookupDataSet(TDataSet* value);
  const String& LookupKeyFields() const { return lookupKeyFields_; }
  void SetLookupKeyFields(const String& value);
  const String& LookupResultField() const { return lookupResultField_; }
  void SetLookupResultField(const String& value);
  // This dataset's fields holding the key values (semicolon list).
  const String& KeyFields() const { return keyFields_; }
  void SetKeyFields(const String& value);
  // Keeps the looked-up values in a list built once per opening of the
  // lookup dataset (RefreshLookupList rebuilds it).
  bool LookupCache() const { return lookupCache_; }
  void SetLookupCache(bool value);
  void RefreshLookupList();

  // ---- events --------------------------------------------------------------------
  TFieldNotifyEvent OnChange;
  // Runs before a value is written; the field reads the new value while it
  // runs. Raising rejects the value.
  TFieldNotifyEvent OnValidate;
  TFieldGetTextEvent OnGetText;
  TFieldSetTextEvent OnSetText;

  // Asks the dataset's links to focus the control showing this field.
  void FocusControl();

  // Streaming: fields are children of their dataset.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 protected:
  void SetDataType(TFieldType value) { dataType_ = value; }
  // The class's default size, set by constructors.
  void InitSize(Integer value) { size_ = value; }
  // The text for display or editing; the default is AsString.
  virtual void GetText(String& text, bool displayText) const;
  virtual Integer DefaultWidth() const { return 10; }
  // Raises SInvalidFieldSize for a size the class cannot take.
  virtual void CheckSize(Integer value) const;
  virtual Variant GetAsVariant() const;
  virtual void SetVarValue(const Variant& value);
  // EDatabaseError "Cannot access field '%s' as type %s".
  [[noreturn]] void AccessError(const char* typeName) const;
  // EDatabaseError SFieldRangeError for value outside min..max.
  [[noreturn]] void RangeError(const String& value, const String& min, const String& max) const;
  void CheckInactive() const;
  // Scratch space of DataSize bytes for reading variable-size values.
  static Byte* Scratch(std::size_t size);

  void Notification(TComponent* component, TOperation operation) override;

  friend class TDataSet;
  friend class TFieldDef;
  friend class TFields;

 private:
  void Validate(const void* buffer);
  void Change() { OnChange(this); }
  void CalcLookupValue();
  TField* FirstKeyField() const;

  TDataSet* dataSet_ = nullptr;
  String fieldName_;
  String displayLabel_;
  String editMask_;
  TFieldType dataType_ = ftUnknown;
  TFieldKind fieldKind_ = fkData;
  Integer size_ = 0;
  Integer fieldNo_ = 0;
  Integer offset_ = -1;     // calculated-field area
  Integer calcVarNo_ = -1;  // variant calculated fields: slot in the area's variants
  Integer displayWidth_ = 0;
  TAlignment alignment_ = taLeftJustify;
  bool visible_ = true;
  bool readOnly_ = false;
  bool required_ = false;
  bool lookupCache_ = false;
  // OnValidate: the value being written, read by GetData while it runs.
  bool validating_ = false;
  const void* validateBuffer_ = nullptr;

  TDataSet* lookupDataSet_ = nullptr;
  String lookupKeyFields_;
  String lookupResultField_;
  String keyFields_;
  // The lookup cache: key text -> result; built lazily.
  std::unique_ptr<std::map<String, Variant>> lookupList_;
  bool lookupListValid_ = false;
};

// A dataset's fields in order. Names are unique ignoring case.
class TFields {
 public:
  explicit TFields(TDataSet* dataSet) : dataSet_(dataSet) {}
  TFields(const TFields&) = delete;
  TFields& operator=(const TFields&) = delete;

  TDataSet* DataSet() const { return dataSet_; }
  Integer Count() const { return static_cast<Integer>(list_.size()); }
  // Raises EDatabaseError SFieldIndexError outside 0..Count-1.
  TField* Fields(Integer index) const;
  TField* operator[](Integer index) const { return Fields(index); }
  // nullptr when absent; names compare ignoring case.
  TField* FindField(const String& name) const;
  // Raises EDatabaseError SFieldNotFound when absent.
  TField* FieldByName(const String& name) const;
  // The data field bound to the 1-based field definition number, or nullptr.
  TField* FieldByNumber(Integer fieldNo) const;
  Integer IndexOf(const TField* field) const;
  auto begin() const { return list_.begin(); }
  auto end() const { return list_.end(); }

 private:
  friend class TDataSet;
  friend class TField;
  void Add(TField* field);
  void Remove(TField* field);
  void Move(TField* field, Integer index);
  // Frees every field (they leave the list as they go).
  void Clear();

  TDataSet* dataSet_;
  std::vector<TField*> list_;
};

}  // namespace brevant
