// Hiding, moving and resizing every kind of control: what the partial
// repaints leave on screen equals a full repaint of the form.
#include <functional>

#include "controls/edits.h"
#include "controls/stdctrls_test_util.h"
#include "controls/wincore.h"

namespace brevant::test {

namespace {

// A control kind: makes one on the form at the given bounds.
struct TControlKind {
  const char* Name;                                          // for the test name
  std::function<TControl*(TForm* form, TRect bounds)> Make;  // creates and places it
};

template <class T>
T* Place(TForm* form, TRect bounds) {
  auto* c = Create<T>(form);
  c->SetBoundsRect(bounds);
  c->SetParent(form);
  return c;
}

TLabel* MakeLabel(TForm* form, TRect bounds, bool transparent) {
  auto* l = Place<TLabel>(form, bounds);
  l->SetAutoSize(false);
  l->SetCaption("Label text");
  l->SetColor(clYellow);
  l->SetTransparent(transparent);
  l->SetBoundsRect(bounds);
  return l;
}

const TControlKind kKinds[] = {
    {"OpaqueLabel", [](TForm* f, TRect r) -> TControl* { return MakeLabel(f, r, false); }},
    {"TransparentLabel", [](TForm* f, TRect r) -> TControl* { return MakeLabel(f, r, true); }},
    {"Bevel", [](TForm* f, TRect r) -> TControl* { return Place<TBevel>(f, r); }},
    {"Image", [](TForm* f, TRect r) -> TControl* { return Place<TImage>(f, r); }},
    {"SpeedButton",
     [](TForm* f, TRect r) -> TControl* {
       auto* b = Place<TSpeedButton>(f, r);
       b->SetCaption("Go");
       return b;
     }},
    {"PaintedShape",
     [](TForm* f, TRect r) -> TControl* {
       auto* s = Place<TProbeShape>(f, r);
       s->SetName("Shape");
       return s;
     }},
    {"Panel",
     [](TForm* f, TRect r) -> TControl* {
       auto* p = Place<TPanel>(f, r);
       p->SetCaption("Panel");
       return p;
     }},
    {"Button",
     [](TForm* f, TRect r) -> TControl* {
       auto* b = Place<TButton>(f, r);
       b->SetCaption("OK");
       return b;
     }},
    {"CheckBox",
     [](TForm* f, TRect r) -> TControl* {
       auto* c = Place<TCheckBox>(f, r);
       c->SetCaption("Check");
       c->SetColor(clAqua);
       return c;
     }},
    {"GroupBox", [](TForm* f, TRect r) -> TControl* { return Place<TGroupBox>(f, r); }},
    {"Edit",
     [](TForm* f, TRect r) -> TControl* {
       auto* e = Place<TEdit>(f, r);
       e->SetText("text");
       return e;
     }},
    {"Memo",
     [](TForm* f, TRect r) -> TControl* {
       auto* m = Place<TMemo>(f, r);
       m->SetText("one\r\ntwo");
       return m;
     }},
    {"ScrollBox", [](TForm* f, TRect r) -> TControl* { return Place<TScrollBox>(f, r); }},
};

// A change of the control after it was painted.
struct TPaintChange {
  const char* Name;                      // for the test name
  std::function<void(TControl*)> Apply;  // changes it
};

const TPaintChange kChanges[] = {
    {"Hide", [](TControl* c) { c->Hide(); }},
    {"Move",
     [](TControl* c) { c->SetBounds(c->Left() + 37, c->Top() + 23, c->Width(), c->Height()); }},
    {"Shrink",
     [](TControl* c) { c->SetBounds(c->Left(), c->Top(), c->Width() / 2, c->Height() / 2); }},
    {"Grow",
     [](TControl* c) { c->SetBounds(c->Left(), c->Top(), c->Width() + 40, c->Height() + 30); }},
};

using TPaintParam = std::tuple<TControlKind, TPaintChange>;

}  // namespace

class PaintChangeTest : public StdCtrlsTest, public ::testing::WithParamInterface<TPaintParam> {
 protected:
  // Every pixel of the form's client area.
  std::vector<TColor> Pixels() const {
    std::vector<TColor> px;
    for (Integer y = 0; y < form->ClientHeight(); ++y)
      for (Integer x = 0; x < form->ClientWidth(); ++x)
        px.push_back(GetWindowPixel(form->WindowHandle(), x, y));
    return px;
  }
  // "x,y" of the first pixels that differ (up to five).
  String Differences(const std::vector<TColor>& a, const std::vector<TColor>& b) const {
    String out;
    Integer n = 0;
    for (size_t i = 0; i < a.size() && n < 5; ++i)
      if (a[i] != b[i]) {
        out += " " + std::to_string(Integer(i) % form->ClientWidth()) + "," +
               std::to_string(Integer(i) / form->ClientWidth());
        ++n;
      }
    return out;
  }
};

TEST_P(PaintChangeTest, LeavesWhatAFullRepaintShows) {
  const auto& [kind, change] = GetParam();
  form->SetColor(clTeal);
  TControl* c = kind.Make(form, Rect(40, 30, 160, 110));
  ShowForm();
  change.Apply(c);
  Pump();
  const auto shown = Pixels();
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Pump();
  const auto full = Pixels();
  EXPECT_EQ(Differences(shown, full), "");
}

INSTANTIATE_TEST_SUITE_P(EveryControlKind, PaintChangeTest,
                         ::testing::Combine(::testing::ValuesIn(kKinds),
                                            ::testing::ValuesIn(kChanges)),
                         [](const ::testing::TestParamInfo<TPaintParam>& info) {
                           return std::string(std::get<0>(info.param).Name) +
                                  std::get<1>(info.param).Name;
                         });

}  // namespace brevant::test
