// How the client dataset compares values: the comparison class of each
// field type and the comparison of two values of a class, shared by the
// dataset (change log, posting) and its view (filter, index).
#pragma once

#include <cmath>

#include "db/db_types.h"
#include "rtl/strutils.h"
#include "rtl/variant.h"

namespace brevant::client_values {

constexpr const char* SIndexNotFound = "Index '%s' not found";

// How values of a field type compare.
enum TCmpClass : Byte { ccNumber, ccBoolean, ccDate, ccText };

inline TCmpClass ClassOf(TFieldType t) {
  switch (t) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return ccNumber;
    case ftBoolean:
      return ccBoolean;
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      return ccDate;
    default:
      return ccText;
  }
}

inline Integer Sign(double d) {
  return d < 0 ? -1 : d > 0 ? 1 : 0;
}

// A date-time as one number that grows with time also before 1899-12-30,
// where the day counts down but the time of day still counts up (-1.25 is
// 06:00 and -1.75 18:00 of the same day): the day plus the time of day.
inline double DateOrder(double d) {
  double day = std::trunc(d);
  return day + std::fabs(d - day);
}

// Text compared ignoring case: the platform's collation, whose case folding
// (Latin, Greek, Cyrillic and more) is the one Locate uses.
inline Integer CompareTextIgnoringCase(const String& a, const String& b) {
  return AnsiCompareText(a, b);
}

// Compares two non-null values by class.
inline Integer CompareValues(const Variant& a, const Variant& b, TCmpClass cls, bool caseIns) {
  switch (cls) {
    case ccNumber:
      return Sign(a.AsDouble() - b.AsDouble());
    case ccDate:
      return Sign(DateOrder(a.AsDouble()) - DateOrder(b.AsDouble()));
    case ccBoolean:
      return Integer(a.AsBoolean()) - Integer(b.AsBoolean());
    default: {
      String x = VarToStr(a), y = VarToStr(b);
      return Sign(caseIns ? CompareTextIgnoringCase(x, y) : CompareStr(x, y));
    }
  }
}

}  // namespace brevant::client_values
