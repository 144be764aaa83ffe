#include <gtest/gtest.h>

#include "rtl/handles.h"
#include "rtl/object.h"

using namespace brevant;

TEST(ObjectHandles, RoundTripAndRelease) {
  int a = 0, b = 0;
  std::size_t before = ObjectHandleCount();
  Integer ha = ObjectToHandle(&a);
  Integer hb = ObjectToHandle(&b);
  EXPECT_NE(ha, 0);
  EXPECT_NE(ha, hb);
  EXPECT_EQ(ObjectToHandle(&a), ha) << "a registered object keeps its handle";
  EXPECT_EQ(HandleToObject(ha), &a);
  EXPECT_EQ(HandleToObject(hb), &b);
  EXPECT_EQ(ObjectHandleCount(), before + 2);

  ReleaseObjectHandle(&a);
  EXPECT_EQ(HandleToObject(ha), nullptr) << "a released handle finds nothing";
  Integer ha2 = ObjectToHandle(&a);
  EXPECT_NE(ha2, ha) << "handles are not reused";
  ReleaseObjectHandle(&a);
  ReleaseObjectHandle(&b);
  ReleaseObjectHandle(&b);  // releasing twice is harmless
  EXPECT_EQ(ObjectHandleCount(), before);
}

TEST(ObjectHandles, NullAndUnknown) {
  EXPECT_EQ(ObjectToHandle(nullptr), 0);
  EXPECT_EQ(HandleToObject(0), nullptr);
  EXPECT_EQ(HandleToObject(-5), nullptr);
}

TEST(ObjectHandles, FreedObjectLeavesNoHandle) {
  TObject* obj = Create<TObject>();
  const Integer h = ObjectToHandle(obj);
  ASSERT_EQ(HandleToObject(h), obj);
  obj->Free();
  EXPECT_EQ(HandleToObject(h), nullptr) << "a freed object's handle must not find freed memory";
}
