#include "rtl/persistent.h"

#include "rtl/resstrings.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* source) {
  if (source)
    source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const {
  dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  String sourceName = source ? source->ClassName() : "nil";
  throw EConvertError(res::SAssignError, {sourceName, String(ClassName())});
}

String TPersistent::GetNamePath() const {
  return ClassName();
}

}  // namespace brevant
