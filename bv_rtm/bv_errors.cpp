#include "bv_rtm/bv_errors.h"

#include "bv_rtm/bv_strings.h"
#include "rtl/resstrings.h"

namespace brevant {

void CheckNotNegative(Integer value) {
  if (value < 0) throw EBVError(bvres::SValueNegative, {value});
}

void CheckPositive(Integer value) {
  if (value <= 0) throw EBVError(bvres::SValueNotPositive, {value});
}

void CheckIndex(Integer index, Integer count) {
  if (index < 0 || index >= count) throw EBVError(bvres::SIndexOutOfRange, {index, count});
}

}  // namespace brevant
