// Hints for clipped titles and footers, hovered with the real mouse on the
// off-screen backend and the virtual clock; the scaleable items' sharing.
#include "bv/hints.h"
#include "bv_rtm/bv_errors.h"
#include "controls/application.h"
#include "controls/messages.h"
#include "controls/wincore.h"
#include "graphics/colors.h"
#include "grid_test_util.h"

namespace brevant::test {
namespace {

class GridHintTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Build(20, 5);
    grid->SetShowFooters(true);
    FitRows(5);
    column = grid->Columns()->Items(1);
    Offscreen().MouseMove({0, 0});
    Pump();
  }
  // Rests the mouse at p (grid client coordinates) until a hint may show.
  void Hover(TPoint p) {
    Offscreen().MouseMove(grid->ClientToScreen(p));
    Pump();
    Offscreen().Advance(Application()->HintPause());
    Pump();
  }
  void Leave() {
    Offscreen().MouseMove({0, 0});
    Pump();
    Offscreen().Advance(1000);
    Pump();
  }
  static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  String ShownHint() const {
    THintWindow* w = Application()->HintWindow();
    return w && w->IsHintShown() ? w->Caption() : String("<none>");
  }
  TtlColumn* column = nullptr;
};

TEST_F(GridHintTest, ClippedTitlesShowTheirCaption) {
  const TPoint title = Centre(column->TitleRect(false));
  Hover(title);
  EXPECT_EQ(ShownHint(), "<none>");  // fits, and the grid has no hint
  Leave();

  grid->SetHint("Vendors");
  Hover(title);
  EXPECT_EQ(ShownHint(), "Vendors");  // fits: the grid's own hint
  Leave();

  column->SetCaption("Name of the vendor's contact person");
  Hover(title);
  ASSERT_EQ(ShownHint(), "Name of the vendor's contact person");
  THintWindow* window = Application()->HintWindow();
  ASSERT_NE(TryAs<THintWindowEx>(window), nullptr);
  auto* ex = static_cast<THintWindowEx*>(window);
  EXPECT_EQ(ex->HintData(), grid);
  int other = 0;
  ex->CalcHintRect(200, "x", &other);  // measuring remembers its data too
  EXPECT_EQ(ex->HintData(), &other);
  // The hint goes as soon as the mouse moves out of the 8 by 8 square.
  Offscreen().MouseMove(grid->ClientToScreen({title.X + 5, title.Y}));
  Pump();
  EXPECT_EQ(ShownHint(), "<none>");
}

TEST_F(GridHintTest, ClippedFootersShowStateCaptionAndText) {
  struct {
    const char* name;
    TtlFooterState state;
    const char* text;
    const char* hint;
  } const rows[] = {
      {"Fits", fsNone, "12", "<none>"},
      {"FitsWithMarker", fsSum, "12", "<none>"},
      {"Clipped", fsNone, "12345678901234567890", "12345678901234567890"},
      {"ClippedWithState", fsSum, "1234567890123456", "Sum = 1234567890123456"},
  };
  column->SetWidth(80);
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    column->SetFooterState(r.state);
    column->SetFooterText(r.text);
    Hover(Centre(column->FooterRect(true, false)));
    EXPECT_EQ(ShownHint(), r.hint);
    Leave();
  }
}

TEST_F(GridHintTest, TheHintWindowDrawsItsFrameAndText) {
  column->SetCaption("Name of the vendor's contact person");
  Hover(Centre(column->TitleRect(false)));
  THintWindow* w = Application()->HintWindow();
  ASSERT_TRUE(w && w->IsHintShown());
  const auto native = static_cast<TNativeWindow>(GetNativeWindow(w->WindowHandle()));
  ASSERT_NE(native, TNativeWindow{});
  const Integer width = w->Width(), height = w->Height();
  const TPoint frame[] = {{0, 0},         {width - 1, 0}, {0, height - 1}, {width - 1, height - 1},
                          {width / 2, 0}, {0, height / 2}};
  for (TPoint p : frame)
    EXPECT_EQ(Offscreen().Pixel(native, p.X, p.Y), ColorToRGB(clBlack)) << p.X << "," << p.Y;
  const TColor back = ColorToRGB(w->Color());
  EXPECT_EQ(Offscreen().Pixel(native, 1, 1), back);
  Integer ink = 0;  // pixels of the caption's glyphs
  for (Integer y = 1; y < height - 1; ++y)
    for (Integer x = 1; x < width - 1; ++x) ink += Offscreen().Pixel(native, x, y) != back;
  EXPECT_GT(ink, 50) << "the caption is drawn inside the frame";
}

TEST_F(GridHintTest, NoHintWhileSizingOrDragging) {
  column->SetCaption("Name of the vendor's contact person");
  const TPoint title = Centre(column->TitleRect(false));
  // Mode 1 follows the pointer (each move tests for a sizing edge), so only
  // the modes a press starts hold while hovering.
  for (Integer mode : {2, 3}) {
    grid->SetMouseMode(mode);
    Hover(title);
    EXPECT_EQ(ShownHint(), "<none>") << mode;
    Leave();
  }
  grid->SetMouseMode(0);
  Hover(title);
  EXPECT_NE(ShownHint(), "<none>");
}

TEST_F(GridHintTest, NoHintWhileTheGridIsDragged) {
  const String caption = "Name of the vendor's contact person";
  column->SetCaption(caption);
  // Asks the grid what a hint at the title would say.
  auto ask = [&] {
    THintInfo info;
    info.CursorPos = Centre(column->TitleRect(false));
    info.HintStr = "Vendors";
    grid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    return info.HintStr;
  };
  grid->BeginDrag(true);
  ASSERT_TRUE(grid->Dragging());
  EXPECT_EQ(ask(), "");
  grid->EndDrag(false);
  Pump();
  EXPECT_EQ(ask(), caption);
}

TEST_F(GridHintTest, TheShortPauseOnlyAfterAShownHint) {
  Integer pause = 800;
  grid->Perform(CM_HINTSHOWPAUSE, 0, reinterpret_cast<LPARAM>(&pause));
  EXPECT_EQ(pause, 800);
  grid->Perform(CM_HINTSHOWPAUSE, 1, reinterpret_cast<LPARAM>(&pause));
  EXPECT_EQ(pause, 500);
}

struct ScaleCase {
  const char* name;               // the case
  std::vector<Integer> values;    // entries before
  std::vector<bool> fixed;        // fixed entries (empty: none)
  Integer min0, max0;             // bounds of entry 0 (the others unbounded)
  Integer newValue, index;        // Scale's arguments
  std::vector<Integer> expected;  // entries after
};

TEST(ScaleableItemsTest, ScaleSharesTheChange) {
  constexpr Integer kNoMax = 1000000;
  const ScaleCase cases[] = {
      {"SameTotal", {100, 100, 100}, {}, 0, kNoMax, 300, -1, {100, 100, 100}},
      {"RemainderToTheFirst", {100, 100, 100}, {}, 0, kNoMax, 400, -1, {134, 133, 133}},
      {"Shrinking", {100, 100, 100}, {}, 0, kNoMax, 200, -1, {66, 67, 67}},
      {"Proportional", {10, 20, 30}, {}, 0, kNoMax, 100, -1, {17, 33, 50}},
      {"OneEntry", {100, 100, 100}, {}, 10, 200, 150, 0, {150, 75, 75}},
      {"ClampedToItsBounds", {100, 100, 100}, {}, 10, 200, 500, 0, {200, 50, 50}},
      {"EntriesAfterFirst", {100, 100, 100}, {}, 0, kNoMax, 160, 1, {100, 160, 40}},
      {"ThenEntriesBefore", {100, 100, 10}, {}, 0, kNoMax, 140, 1, {70, 140, 0}},
      {"FixedNeverChange",
       {100, 100, 100},
       {false, true, false},
       0,
       kNoMax,
       150,
       0,
       {150, 100, 50}},
      {"AllOthersFixed", {100, 100, 100}, {false, true, true}, 0, kNoMax, 150, 0, {100, 100, 100}},
      {"NothingToShareBy", {100, 0, 0}, {}, 0, kNoMax, 90, 0, {100, 0, 0}},
      // Nothing to share by: the remainder goes round in units until the
      // whole is reached.
      {"ZeroTotal", {0, 0, 0}, {}, 0, kNoMax, 30, -1, {10, 10, 10}},
      // Shares of a base held mostly by fixed entries round to nothing; the
      // whole is still reached.
      {"MostlyFixed", {1000, 10, 10}, {true, false, false}, 0, kNoMax, 1025, -1, {1000, 13, 12}},
  };
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(c.name);
    TScaleableItems items;
    for (size_t i = 0; i < c.values.size(); ++i) {
      const bool fixed = !c.fixed.empty() && c.fixed[i];
      items.AddItem(c.values[i], fixed, i == 0 ? c.min0 : 0, i == 0 ? c.max0 : kNoMax);
    }
    items.Scale(c.newValue, c.index);
    std::vector<Integer> got;
    for (Integer i = 0; i < items.Count(); ++i) got.push_back(items.Items(i).Value);
    EXPECT_EQ(got, c.expected);
  }
  TScaleableItems items;
  items.AddItem(5, true, 0, 10);
  EXPECT_EQ(items.Items(0).Min, 5);
  EXPECT_EQ(items.Items(0).Max, 5);
  EXPECT_THROW(items.Items(1), EBVError);
  EXPECT_THROW(items.Scale(3, 2), EBVError);
  items.Clear();
  EXPECT_EQ(items.Count(), 0);
}

}  // namespace
}  // namespace brevant::test
