// Record-level check constraints as a dataset publishes them. They are
// stored and streamed with the dataset; the platform does not evaluate
// their expressions.
#pragma once

#include "classes/collection.h"

namespace brevant {

class TCheckConstraint : public TCollectionItem {
  BV_CLASS(TCheckConstraint, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& CustomConstraint() const { return customConstraint_; }
  void SetCustomConstraint(const String& value);
  const String& ErrorMessage() const { return errorMessage_; }
  void SetErrorMessage(const String& value);
  bool FromDictionary() const { return fromDictionary_; }
  void SetFromDictionary(bool value) { fromDictionary_ = value; }
  const String& ImportedConstraint() const { return importedConstraint_; }
  void SetImportedConstraint(const String& value);
  String DisplayName() const override { return customConstraint_; }
  void Assign(const TPersistent* source) override;

 private:
  String customConstraint_;
  String errorMessage_;
  String importedConstraint_;
  bool fromDictionary_ = true;
};

class TCheckConstraints : public TOwnedCollection {
  BV_CLASS(TCheckConstraints, TOwnedCollection)
 public:
  explicit TCheckConstraints(TPersistent* owner = nullptr)
      : TOwnedCollection(owner, TCheckConstraint::StaticClass()) {}
  TCheckConstraint* Items(Integer index) const {
    return static_cast<TCheckConstraint*>(TCollection::Items(index));
  }
  TCheckConstraint* Add() { return static_cast<TCheckConstraint*>(TCollection::Add()); }
};

}  // namespace brevant
