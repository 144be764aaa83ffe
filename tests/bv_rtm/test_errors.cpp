#include <gtest/gtest.h>

#include "bv_rtm/bv_errors.h"

using namespace brevant;

TEST(Checks, PassOrRaiseWithTheirMessages) {
  EXPECT_NO_THROW(CheckNotNegative(0));
  EXPECT_NO_THROW(CheckPositive(1));
  EXPECT_NO_THROW(CheckIndex(2, 3));
  try {
    CheckIndex(3, 3);
    FAIL();
  } catch (const EBVError& e) {
    EXPECT_EQ(e.Message(), "Index is out of range (3/3)");
  }
  try {
    CheckPositive(0);
    FAIL();
  } catch (const EBVError& e) {
    EXPECT_EQ(e.Message(), "Value must be positive (0)");
  }
  try {
    CheckNotNegative(-4);
    FAIL();
  } catch (const EBVError& e) {
    EXPECT_EQ(e.Message(), "Value can not be negative (-4)");
  }
  EXPECT_THROW(CheckIndex(-1, 5), EBVError);
  EXPECT_THROW(throw EDBTabulon("grid"), EBVError) << "grid errors are suite errors";
}
