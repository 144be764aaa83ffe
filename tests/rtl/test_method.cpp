#include <gtest/gtest.h>

#include "rtl/method.h"

using namespace brevant;

namespace {
struct Form {
  int clicks = 0;
  int lastArg = 0;
  void ButtonClick(TObject*) { ++clicks; }
  void OtherClick(TObject*) { clicks += 100; }
  int Twice(int x) {
    lastArg = x;
    return 2 * x;
  }
};
}  // namespace

TEST(Event, EmptyEventDoesNothing) {
  TNotifyEvent e;
  EXPECT_FALSE(e.Assigned());
  EXPECT_TRUE(e == nullptr);
  e(nullptr);  // no crash
  TEvent<int(int)> f;
  EXPECT_EQ(f(3), 0);
}

TEST(Event, MemberHandlerCallsObject) {
  Form form;
  auto e = TNotifyEvent::Of<&Form::ButtonClick>(&form, "ButtonClick");
  e(nullptr);
  e(nullptr);
  EXPECT_EQ(form.clicks, 2);
  EXPECT_STREQ(e.Name(), "ButtonClick");
  auto g = TEvent<int(int)>::Of<&Form::Twice>(&form);
  EXPECT_EQ(g(21), 42);
  EXPECT_EQ(form.lastArg, 21);
}

TEST(Event, EqualityIsObjectAndHandler) {
  Form a, b;
  auto e1 = TNotifyEvent::Of<&Form::ButtonClick>(&a);
  auto e2 = TNotifyEvent::Of<&Form::ButtonClick>(&a, "named");
  auto e3 = TNotifyEvent::Of<&Form::ButtonClick>(&b);
  auto e4 = TNotifyEvent::Of<&Form::OtherClick>(&a);
  EXPECT_TRUE(e1 == e2) << "the name does not take part in equality";
  EXPECT_FALSE(e1 == e3);
  EXPECT_FALSE(e1 == e4);
  e1.Clear();
  EXPECT_FALSE(e1.Assigned());
}

TEST(Event, UntypedMethodRoundTrip) {
  Form form;
  auto e = TNotifyEvent::Of<&Form::OtherClick>(&form);
  TMethod m = e.Method();
  auto back = TNotifyEvent::FromMethod(m, "OtherClick");
  EXPECT_TRUE(back == e);
  back(nullptr);
  EXPECT_EQ(form.clicks, 100);
}

TEST(Event, CallableHandler) {
  int count = 0;
  auto e = TNotifyEvent::FromCallable([&count](TObject*) { ++count; });
  auto copy = e;
  copy(nullptr);
  e(nullptr);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(copy == e);
  auto other = TNotifyEvent::FromCallable([&count](TObject*) { ++count; });
  EXPECT_FALSE(other == e);
}
