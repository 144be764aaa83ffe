// TPersistent: objects that can be assigned and streamed.
#pragma once

#include "rtl/object.h"

namespace brevant {

class TFiler;

class TPersistent : public TObject {
  BV_CLASS(TPersistent, TObject)
 public:
  // Copies source's state. The default asks source to AssignTo this and
  // raises EConvertError "Cannot assign a X to a Y" when neither knows how.
  virtual void Assign(const TPersistent* source);
  // The object that owns this one in a name path (a collection's owner ...).
  virtual TPersistent* GetOwner() const { return nullptr; }
  // "Owner.Name" style path of this object, for messages.
  virtual String GetNamePath() const;
  // Properties the object streams itself beside its published ones.
  virtual void DefineProperties(TFiler* filer) { (void)filer; }

 protected:
  // Copies this into dest; the default raises the assignment error.
  virtual void AssignTo(TPersistent* dest) const;
  // Raises EConvertError "Cannot assign a <source> to a <this>".
  [[noreturn]] void AssignError(const TPersistent* source) const;

  friend class TReader;
  friend class TWriter;
};

}  // namespace brevant
