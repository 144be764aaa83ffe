#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bv_rtm/switcher.h"
#include "controls/wincore.h"
#include "rtm_test_util.h"

using namespace brevant;

namespace {

class TLogSwitcher : public TznSwitcher {
 public:
  using TznSwitcher::TznSwitcher;
  std::vector<std::string> log;
  bool refuse = false;
  bool CanPress(Integer part, Integer, Cardinal, Word, Integer) override {
    return !refuse && part >= 0;
  }
  void PressedChanged(Integer part) override {
    log.push_back("changed " + std::to_string(part) + (Down() ? " down" : " up"));
  }
  void Execute(Integer part, Integer x, Word key, Integer y) override {
    log.push_back("exec " + std::to_string(part) + " " + std::to_string(x) + "," +
                  std::to_string(y) + " key " + std::to_string(key));
  }
};

void Pump() {
  TMsg m;
  while (PeekMessage(m, 0, 0, 0, PM_REMOVE)) DispatchMessage(m);
}

// Advances the virtual clock by one repeat interval and runs the timer.
void Tick() {
  rtmtest::Offscreen().Advance(TznSwitcher::RepeatInterval);
  Pump();
}

const TRect kPart(10, 10, 30, 20);

}  // namespace

TEST(Switcher, MousePressRunsActionOnlyWhenReleasedInside) {
  rtmtest::Offscreen();
  TObjectPtr<TLogSwitcher> s(Create<TLogSwitcher>(nullptr));
  s->MouseDown(2, 15, false, false, kPart, 0, 12);
  EXPECT_TRUE(s->Pressed());
  EXPECT_TRUE(s->Down());
  s->MouseMove(50, 50);
  EXPECT_FALSE(s->Down());
  s->MouseUp(50, 50);
  EXPECT_FALSE(s->Pressed());
  EXPECT_EQ(s->Part(), -1);
  EXPECT_EQ(s->log, (std::vector<std::string>{"changed 2 down", "changed 2 up"}))
      << "released outside: no action";
  s->log.clear();
  s->MouseDown(2, 15, false, false, kPart, 0, 12);
  s->MouseUp(16, 13);
  EXPECT_EQ(s->log,
            (std::vector<std::string>{"changed 2 down", "changed 2 up", "exec 2 16,13 key 0"}));
  s->log.clear();
  s->MouseDown(1, 15, false, true, kPart, 0, 12);
  EXPECT_TRUE(s->Fired());
  s->MouseUp(15, 12);
  EXPECT_EQ(s->log,
            (std::vector<std::string>{"changed 1 down", "exec 1 15,12 key 0", "changed 1 up"}))
      << "a fire-on-press part runs once";
  s->log.clear();
  s->refuse = true;
  s->MouseDown(1, 15, false, true, kPart, 0, 12);
  EXPECT_FALSE(s->Pressed());
  EXPECT_TRUE(s->log.empty());
}

TEST(Switcher, KeyPressRunsActionWithItsPart) {
  TObjectPtr<TLogSwitcher> s(Create<TLogSwitcher>(nullptr));
  EXPECT_TRUE(s->KeyDown(3, VK_F4, 0));
  EXPECT_FALSE(s->KeyDown(3, VK_F4, 0)) << "the same key again is ignored";
  EXPECT_FALSE(s->KeyUp(VK_DOWN));
  EXPECT_TRUE(s->Pressed());
  s->MouseUp(15, 12);  // not a mouse press: ignored
  EXPECT_TRUE(s->Pressed());
  EXPECT_TRUE(s->KeyUp(VK_F4));
  EXPECT_EQ(s->log, (std::vector<std::string>{"changed 3 down", "changed 3 up",
                                              "exec 3 -1,-1 key " + std::to_string(VK_F4)}));
  s->log.clear();
  s->KeyDown(1, VK_F4, 0);
  s->KeyDown(2, VK_SPACE, 0);  // another key takes over
  EXPECT_EQ(s->Part(), 2);
  EXPECT_EQ(s->log, (std::vector<std::string>{"changed 1 down", "changed 1 up", "changed 2 down"}));
}

TEST(Switcher, RepeatTicksFireOnTheScheduleAndOnlyInside) {
  rtmtest::Offscreen();
  TObjectPtr<TLogSwitcher> s(Create<TLogSwitcher>(nullptr));
  s->MouseDown(0, 12, true, true, kPart, 0, 12);
  EXPECT_EQ(TznSwitcher::ActiveRepeater(), s.get());
  s->log.clear();
  std::vector<int> fired;
  for (int tick = 0; tick < 100; ++tick) {
    const std::size_t before = s->log.size();
    Tick();
    ASSERT_LE(s->log.size(), before + 1) << "one tick fires at most once";
    if (s->log.size() > before) fired.push_back(tick);
  }
  std::vector<int> expected;
  for (int c = 0; c < 100; ++c)
    if ((c >= 9 && c <= 24 && c % 3 == 0) || (c >= 26 && c <= 66 && c % 2 == 0) || c >= 67)
      expected.push_back(c);
  EXPECT_EQ(fired, expected);

  // Outside the part the ticks neither fire nor count.
  s->MouseDown(0, 12, true, false, kPart, 0, 12);
  for (int i = 0; i < 5; ++i) Tick();
  EXPECT_EQ(s->RepeatCount(), 5);
  s->MouseMove(100, 100);
  s->log.clear();
  for (int i = 0; i < 20; ++i) Tick();
  EXPECT_EQ(s->RepeatCount(), 5);
  EXPECT_TRUE(s->log.empty());
  s->MouseMove(12, 12);
  s->log.clear();
  for (int i = 0; i < 5; ++i) Tick();  // counts 5..9: fires at 9 only
  EXPECT_EQ(s->log, (std::vector<std::string>{"exec 0 12,12 key 0"}));
  s->MouseUp(12, 12);
  EXPECT_EQ(TznSwitcher::ActiveRepeater(), nullptr);
  s->log.clear();
  for (int i = 0; i < 20; ++i) Tick();
  EXPECT_TRUE(s->log.empty()) << "the timer stops with the press";
}

TEST(Switcher, OneRepeaterAtATimeAndFreeStopsIt) {
  rtmtest::Offscreen();
  TObjectPtr<TLogSwitcher> a(Create<TLogSwitcher>(nullptr));
  auto* b = Create<TLogSwitcher>(nullptr);
  a->MouseDown(0, 12, true, false, kPart, 0, 12);
  b->MouseDown(0, 12, true, false, kPart, 0, 12);
  EXPECT_EQ(TznSwitcher::ActiveRepeater(), b);
  EXPECT_FALSE(a->Repeating());
  for (int i = 0; i < 10; ++i) Tick();
  EXPECT_EQ(a->RepeatCount(), 0);
  EXPECT_EQ(b->RepeatCount(), 10);
  b->Free();
  EXPECT_EQ(TznSwitcher::ActiveRepeater(), nullptr);
  Tick();  // nothing dangling is called
  EXPECT_TRUE(a->Pressed());
}
