#include "db/constraints.h"

#include "classes/rtti_builder.h"

namespace brevant {

BV_PUBLISH(TCheckConstraint, TCollectionItem) {
  p.Property("CustomConstraint", &TCheckConstraint::CustomConstraint,
             &TCheckConstraint::SetCustomConstraint);
  p.Property("ErrorMessage", &TCheckConstraint::ErrorMessage, &TCheckConstraint::SetErrorMessage);
  p.Property("FromDictionary", &TCheckConstraint::FromDictionary,
             &TCheckConstraint::SetFromDictionary)
      .Default(true);
  p.Property("ImportedConstraint", &TCheckConstraint::ImportedConstraint,
             &TCheckConstraint::SetImportedConstraint);
}

BV_IMPLEMENT_CLASS(TCheckConstraints, TOwnedCollection)

void TCheckConstraint::SetCustomConstraint(const String& value) {
  if (value == customConstraint_) return;
  customConstraint_ = value;
  Changed(false);
}

void TCheckConstraint::SetErrorMessage(const String& value) {
  if (value == errorMessage_) return;
  errorMessage_ = value;
  Changed(false);
}

void TCheckConstraint::SetImportedConstraint(const String& value) {
  if (value == importedConstraint_) return;
  importedConstraint_ = value;
  Changed(false);
}

void TCheckConstraint::Assign(const TPersistent* source) {
  if (auto* c = dynamic_cast<const TCheckConstraint*>(source)) {
    customConstraint_ = c->customConstraint_;
    errorMessage_ = c->errorMessage_;
    importedConstraint_ = c->importedConstraint_;
    fromDictionary_ = c->fromDictionary_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

}  // namespace brevant
