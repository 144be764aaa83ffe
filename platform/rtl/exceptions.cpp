#include "rtl/exceptions.h"

namespace brevant {

Exception::Exception(const String& fmt, TVarRecs args) {
  // A fault in the format itself must not hide the original failure: keep
  // the format text as the message then.
  try {
    message_ = Format(fmt, args);
  } catch (const Exception&) {
    message_ = fmt;
  }
}

void Abort() {
  throw EAbort("Operation aborted");
}

}  // namespace brevant
