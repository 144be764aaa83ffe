#include "drag_test_util.h"

#include "backend/codes.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "controls/application.h"
#include "controls/dragdrop.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"

namespace brevant::test {

TColor ArrowColor(bool secondSet, Integer index) {
  return secondSet ? RGB(0, 200, Byte(40 + 50 * index)) : RGB(250, 240, Byte(10 + 50 * index));
}

namespace {

TObjectPtr<TImageList> MakeArrows(bool secondSet) {
  auto list = MakeObject<TImageList>();
  list->SetSize(15, 15);
  auto strip = MakeObject<TBitmap>();
  strip->SetSize(60, 15);
  for (Integer i = 0; i < 4; ++i) {
    strip->Canvas()->Brush()->SetColor(ArrowColor(secondSet, i));
    strip->Canvas()->FillRect(TRect(15 * i, 0, 15 * i + 15, 15));
  }
  list->Add(strip.get(), nullptr);
  return list;
}

}  // namespace

TArrowsEnvironment::TArrowsEnvironment() : first_(MakeArrows(false)), second_(MakeArrows(true)) {}
TArrowsEnvironment::~TArrowsEnvironment() = default;

void DragGridTest::SetUp() {
  // The application exists before the fixture installs its exception
  // recorder (creating it installs the application's own handler).
  Application();
  GridTest::SetUp();
  Screen()->SetHeight(768);
  ComputeDragDistances(768);
  env = std::make_unique<TArrowsEnvironment>();
  SetEnvironment(env.get());
  form->SetBounds(100, 100, 520, 400);
  Build(20, 5);
  grid->SetBounds(20, 30, 460, 200);
  FitRows(5);
  cols = grid->Columns();
}

void DragGridTest::TearDown() {
  CancelDrag();
  GridTest::TearDown();
  SetEnvironment(nullptr);
  env.reset();
  Screen()->SetHeight(0);
  ComputeDragDistances(Screen()->Height());
}

void DragGridTest::Make(std::initializer_list<DragColumn> columns) {
  cols->BeginUpdate();
  cols->Clear();
  for (const DragColumn& s : columns) {
    TtlColumn* c = cols->Add();
    c->SetFieldName("Name");
    c->SetCaption(s.name);
    c->SetLayoutLevel(s.level);
    c->SetLayoutIndex(s.index);
    c->SetWidth(s.width);
    if (s.fixed) c->SetFixed(cfLeft);
  }
  cols->EndUpdate();
  cols->ApplyFixedColumns();
  FitRows(5);
  Pump();
}

void DragGridTest::MakeStandard() {
  Make({{"A", 0, 0, 60},
        {"B", 0, 1, 60},
        {"C", 1, 0, 120},
        {"D", 0, 0, 80},
        {"E", 0, 0, 60},
        {"F", 0, 1, 60}});
}

TtlColumn* DragGridTest::Col(const char* name) {
  for (Integer i = 0; i < cols->Count(); ++i)
    if (cols->Items(i)->Caption() == name) return cols->Items(i);
  ADD_FAILURE() << "no column " << name;
  return nullptr;
}

String DragGridTest::Shape() {
  String text;
  for (Integer g = 0; g < cols->GroupCount(); ++g) {
    const TtlGroupInfo* group = cols->Groups(g);
    if (g > 0) text += "|";
    Integer line = 0;
    for (Integer i = group->FirstColumn; i <= group->LastColumn; ++i) {
      const TtlColumn* c = cols->Items(i);
      if (!c->Visible()) continue;
      if (c->Line() != line) text += "/";
      line = c->Line();
      text += c->Caption();
    }
  }
  return text;
}

TPoint DragGridTest::TitleCentre(const char* name) {
  const TRect r = Col(name)->TitleRect(false);
  return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

void DragGridTest::BeginTitleDrag(const char* name) {
  const TPoint start = TitleCentre(name);
  Offscreen().MouseMove(ToScreen(start));
  Offscreen().MouseDown(ToScreen(start));
  Pump();
  // Leaving the pressed title with the button held starts the drag.
  MoveTo(TPoint(start.X, Col(name)->TitleRect(true).Bottom + 2));
}

void DragGridTest::MoveTo(TPoint client, Byte modifiers) {
  Offscreen().MouseMove(ToScreen(client), modifiers);
  Pump();
}

void DragGridTest::Release(TPoint client, Byte modifiers) {
  Offscreen().MouseUp(ToScreen(client), bbLeft, modifiers);
  Pump();
}

void DragGridTest::DragTitle(const char* name, TPoint to, Byte modifiers) {
  BeginTitleDrag(name);
  MoveTo(to, modifiers);
  Release(to, modifiers);
}

std::vector<std::uint32_t> DragGridTest::Snapshot() const {
  const TSurface s = Backend().Surface(Native());
  std::vector<std::uint32_t> pixels;
  for (Integer y = 0; y < s.Height; ++y) {
    const std::uint32_t* row = s.Pixels + std::size_t(y) * std::size_t(s.Stride / 4);
    pixels.insert(pixels.end(), row, row + s.Width);
  }
  return pixels;
}

TColor DragGridTest::ScreenPixel(TPoint screen) const {
  const TRect frame = GetWindowRect(form->Handle());
  const TSurface s = Backend().Surface(Native());
  const Integer x = screen.X - frame.Left, y = screen.Y - frame.Top;
  if (x < 0 || y < 0 || x >= s.Width || y >= s.Height) return clNone;
  const std::uint32_t p = s.Pixels[std::size_t(y) * std::size_t(s.Stride / 4) + std::size_t(x)];
  return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

}  // namespace brevant::test
