#include <gtest/gtest.h>

#include "rtl/types.h"

using namespace brevant;

TEST(Rect, EmptinessAndContainment) {
  EXPECT_TRUE(IsRectEmpty(Rect(0, 0, 0, 10)));
  EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 4, 10)));
  EXPECT_FALSE(IsRectEmpty(Rect(0, 0, 1, 1)));
  TRect r = Bounds(10, 20, 5, 5);
  EXPECT_EQ(r, Rect(10, 20, 15, 25));
  EXPECT_TRUE(PtInRect(r, Point(10, 20)));
  EXPECT_FALSE(PtInRect(r, Point(15, 20))) << "right edge is exclusive";
  EXPECT_FALSE(PtInRect(r, Point(10, 25))) << "bottom edge is exclusive";
}

TEST(Rect, IntersectUnionInflateOffset) {
  TRect d;
  EXPECT_TRUE(IntersectRect(d, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
  EXPECT_EQ(d, Rect(5, 5, 10, 10));
  EXPECT_FALSE(IntersectRect(d, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
  EXPECT_EQ(d, TRect());
  EXPECT_TRUE(UnionRect(d, Rect(0, 0, 0, 0), Rect(1, 2, 3, 4)));
  EXPECT_EQ(d, Rect(1, 2, 3, 4));
  EXPECT_TRUE(UnionRect(d, Rect(0, 0, 2, 2), Rect(5, 5, 6, 6)));
  EXPECT_EQ(d, Rect(0, 0, 6, 6));
  TRect r(10, 10, 20, 20);
  InflateRect(r, -2, 3);
  EXPECT_EQ(r, Rect(12, 7, 18, 23));
  OffsetRect(r, -12, 1);
  EXPECT_EQ(r, Rect(0, 8, 6, 24));
}
