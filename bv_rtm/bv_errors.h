// The suite's exception classes and argument checks.
#pragma once

#include "rtl/exceptions.h"

namespace brevant {

// The suite's error: argument and state checks of every component.
BV_DECLARE_EXCEPTION(EBVError, Exception);
// Errors of the grid and its model.
BV_DECLARE_EXCEPTION(EDBTabulon, EBVError);

// Each raises EBVError with its message when the check fails.
void CheckNotNegative(Integer value);
void CheckPositive(Integer value);
void CheckIndex(Integer index, Integer count);

}  // namespace brevant
