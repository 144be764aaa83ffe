// The text of the exception a call raises, for tests that check messages:
// ErrorOf gives "EClass: message", ErrorMessageOf the message alone; both
// answer "no error" when the call returns normally.
#pragma once

#include "rtl/exceptions.h"

namespace brevant::test {

template <class F>
String ErrorOf(F&& f) {
  try {
    f();
  } catch (const Exception& e) {
    return String(e.ClassName()) + ": " + e.Message();
  }
  return "no error";
}

template <class F>
String ErrorMessageOf(F&& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "no error";
}

}  // namespace brevant::test
