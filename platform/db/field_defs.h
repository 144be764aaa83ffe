// Field definitions: the structure a dataset describes to its fields (name,
// type, size, precision, required, read-only). Fields are created from them
// when a dataset uses default fields, and bound to them by name otherwise.
#pragma once

#include "classes/collection.h"
#include "classes/component.h"
#include "db/db_types.h"

namespace brevant {

class TFieldDefs;

class TFieldDef : public TCollectionItem {
  BV_CLASS(TFieldDef, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;

  const String& Name() const { return name_; }
  // Raises EDatabaseError SDuplicateFieldName when another definition of the
  // collection has the name (ignoring case).
  void SetName(const String& value);
  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType value);
  // Bytes for strings and byte fields (wide strings too: two per
  // character), decimals for BCD fields, 0 otherwise. Not negative.
  Integer Size() const { return size_; }
  void SetSize(Integer value);
  Integer Precision() const { return precision_; }
  void SetPrecision(Integer value);
  TFieldAttributes Attributes() const { return attributes_; }
  void SetAttributes(TFieldAttributes value);
  bool Required() const { return attributes_.Contains(faRequired); }
  void SetRequired(bool value);
  bool ReadOnly() const { return attributes_.Contains(faReadonly); }
  // 1-based position in the collection (the field's FieldNo).
  Integer FieldNo() const { return Index() + 1; }

  // The field class made for this definition's type; nullptr for ftUnknown
  // and for types that have no field class.
  TClass FieldClass() const;
  // Makes a field of FieldClass owned by owner, bound to dataSet (fields of
  // ftUnknown are not made: answers nullptr). Raises EDatabaseError for a
  // type without a field class.
  TField* CreateField(TComponent* owner, TDataSet* dataSet);

  String DisplayName() const override { return name_; }
  void Assign(const TPersistent* source) override;

 private:
  friend class TFieldDefs;
  String name_;
  TFieldType dataType_ = ftUnknown;
  Integer size_ = 0;
  Integer precision_ = 0;
  TFieldAttributes attributes_;
};

class TFieldDefs : public TOwnedCollection {
  BV_CLASS(TFieldDefs, TOwnedCollection)
 public:
  explicit TFieldDefs(TPersistent* owner = nullptr);

  TFieldDef* Items(Integer index) const;
  TFieldDef* operator[](Integer index) const { return Items(index); }
  TFieldDef* AddFieldDef() { return static_cast<TFieldDef*>(TCollection::Add()); }
  // Adds a definition; raises SDuplicateFieldName for a name already there
  // and SInvalidFieldSize for a negative size.
  TFieldDef* Add(const String& name, TFieldType dataType, Integer size = 0, bool required = false);
  // -1 / nullptr when absent (names compare ignoring case).
  Integer IndexOf(const String& name) const;
  TFieldDef* Find(const String& name) const;
  // Raises EDatabaseError SFieldNotFound when absent.
  TFieldDef* FieldDefByName(const String& name) const;
  // Set by every change; the dataset clears it when it has read the
  // definitions.
  bool Updated() const { return updated_; }
  void SetUpdated(bool value) { updated_ = value; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  bool updated_ = false;
};

}  // namespace brevant
