// Event handlers that free their form, or the control that raised them:
// nothing may touch the freed objects once the handler returns (these run
// under the address sanitizer in the sanitizer build).
#include <functional>

#include "controls/edits.h"
#include "controls/messages.h"
#include "controls/stdctrls_test_util.h"

namespace brevant::test {

class HandlerFreeTest;

namespace {

// What a handler frees: the whole form or the control whose input raised it.
enum TVictim { vForm, vControl };

using TFreeProc = std::function<void(TControl* control)>;
// Builds the controls, makes `kill(control)` the handler under test and
// drives the input; answers the control whose input raised the handler.
using TFreeScenario = std::function<TControl*(HandlerFreeTest& t, const TFreeProc& kill)>;

struct TFreeCase {
  const char* Name;        // the handler kind, for the test name
  TFreeScenario Scenario;  // builds and drives it
};

}  // namespace

class HandlerFreeTest : public StdCtrlsTest,
                        public ::testing::WithParamInterface<std::tuple<TFreeCase, TVictim>> {
 public:
  using StdCtrlsTest::Add;
  using StdCtrlsTest::ClickAt;
  using StdCtrlsTest::Press;
  using StdCtrlsTest::ShowForm;
  TForm* Form() const { return form; }
  TNotifyEvent Kill(const TFreeProc& kill, TControl* c) {
    return TNotifyEvent::FromCallable([kill, c](TObject*) { kill(c); });
  }
  // Frees the form (the fixture then has none) or the control itself.
  void FreeVictim(TControl* control) {
    if (std::get<1>(GetParam()) == vControl) {
      control->Free();
      return;
    }
    TForm* f = form;
    form = nullptr;
    f->Free();
  }
};

TEST_P(HandlerFreeTest, NothingFreedIsTouchedAfterTheHandler) {
  TControl* raisedBy = nullptr;
  std::unique_ptr<TAliveGuard> guard;
  TFreeProc kill = [&](TControl* c) {
    if (guard) return;  // a handler left on the form may run again
    guard = std::make_unique<TAliveGuard>(std::get<1>(GetParam()) == vControl
                                              ? static_cast<const TControl*>(c)
                                              : static_cast<const TControl*>(form));
    FreeVictim(c);
  };
  raisedBy = std::get<0>(GetParam()).Scenario(*this, kill);
  ASSERT_NE(raisedBy, nullptr);
  ASSERT_TRUE(guard) << "the handler ran";
  EXPECT_FALSE(guard->Alive());
  // The window manager and the form (if any) go on working.
  Offscreen().Click({5, 5});
  Offscreen().TypeText("x");
  Pump();
  if (form) {
    ClickAt(form, 5, 5);
    EXPECT_TRUE(form->Visible());
  }
}

namespace {

TButton* AddButton(HandlerFreeTest& t, const TFreeProc& kill) {
  auto* b = t.Add<TButton>(t.Form(), "Button", Rect(10, 10, 85, 35));
  b->OnClick = t.Kill(kill, b);
  t.ShowForm();
  return b;
}

TEdit* AddEdit(HandlerFreeTest& t, const char* name, TRect bounds) {
  auto* e = t.Add<TEdit>(t.Form(), name, bounds);
  return e;
}

const TFreeCase kFreeCases[] = {
    {"ButtonClickByMouse",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TButton* b = AddButton(t, kill);
       t.ClickAt(b, 20, 10);
       return b;
     }},
    {"ButtonClickBySpace",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TButton* b = AddButton(t, kill);
       b->SetFocus();
       t.Press(VK_SPACE);
       return b;
     }},
    {"ButtonClickByReturn",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TButton* b = AddButton(t, kill);
       b->SetFocus();
       t.Press(VK_RETURN);
       return b;
     }},
    {"SpeedButtonClick",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       auto* b = t.Add<TSpeedButton>(t.Form(), "Speed", Rect(10, 10, 40, 40));
       b->SetGroupIndex(1);
       b->SetAllowAllUp(true);
       b->OnClick = t.Kill(kill, b);
       t.ShowForm();
       t.ClickAt(b, 5, 5);
       return b;
     }},
    {"ToolButtonClick",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       auto* bar = t.Add<TToolBar>(t.Form(), "Bar", Rect(0, 0, 300, 30));
       auto* b = t.Add<TToolButton>(t.Form(), "Tool", Rect(0, 0, 23, 22));
       b->SetParent(bar);
       b->SetStyle(tbsCheck);
       b->OnClick = t.Kill(kill, b);
       t.ShowForm();
       t.ClickAt(b, 5, 5);
       return b;
     }},
    {"CheckBoxClickByMouse",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       auto* c = t.Add<TCheckBox>(t.Form(), "Check", Rect(10, 10, 110, 27));
       c->OnClick = t.Kill(kill, c);
       t.ShowForm();
       t.ClickAt(c, 5, 8);
       return c;
     }},
    {"CheckBoxClickBySpace",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       auto* c = t.Add<TCheckBox>(t.Form(), "Check", Rect(10, 10, 110, 27));
       c->OnClick = t.Kill(kill, c);
       t.ShowForm();
       c->SetFocus();
       t.Press(VK_SPACE);
       return c;
     }},
    {"EditKeyDown",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       e->OnKeyDown = TKeyEvent::FromCallable([kill, e](TObject*, Word&, TShiftState) { kill(e); });
       t.ShowForm();
       e->SetFocus();
       t.Press('A');
       return e;
     }},
    {"EditKeyPress",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       e->OnKeyPress = TKeyPressEvent::FromCallable([kill, e](TObject*, char32_t&) { kill(e); });
       t.ShowForm();
       e->SetFocus();
       t.Press('A');
       return e;
     }},
    {"EditExitByClick",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       TEdit* next = AddEdit(t, "Next", Rect(10, 50, 110, 71));
       e->OnExit = t.Kill(kill, e);
       t.ShowForm();
       e->SetFocus();
       t.ClickAt(next, 5, 5);
       return e;
     }},
    {"EditExitByClickOnAButton",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       auto* b = t.Add<TButton>(t.Form(), "Button", Rect(10, 50, 85, 75));
       e->OnExit = t.Kill(kill, e);
       t.ShowForm();
       e->SetFocus();
       t.ClickAt(b, 5, 5);
       return e;
     }},
    {"EditExitByTab",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       AddEdit(t, "Next", Rect(10, 50, 110, 71));
       e->OnExit = t.Kill(kill, e);
       t.ShowForm();
       e->SetFocus();
       t.Press(VK_TAB);
       return e;
     }},
    {"EscapeInAnEditFiresCancel",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       auto* cancel = t.Add<TButton>(t.Form(), "Cancel", Rect(10, 50, 85, 75));
       cancel->SetCancel(true);
       cancel->OnClick = t.Kill(kill, e);
       t.ShowForm();
       e->SetFocus();
       t.Press(VK_ESCAPE);
       return e;
     }},
    {"KeyPreviewFormKeyPress",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       t.Form()->SetKeyPreview(true);
       t.Form()->OnKeyPress =
           TKeyPressEvent::FromCallable([kill, e](TObject*, char32_t&) { kill(e); });
       t.ShowForm();
       e->SetFocus();
       t.Press('A');
       return e;
     }},
    {"KeyPreviewFormKeyDown",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       TEdit* e = AddEdit(t, "Edit", Rect(10, 10, 110, 31));
       t.Form()->SetKeyPreview(true);
       t.Form()->OnKeyDown =
           TKeyEvent::FromCallable([kill, e](TObject*, Word&, TShiftState) { kill(e); });
       t.ShowForm();
       e->SetFocus();
       t.Press('A');
       return e;
     }},
    {"ControlMouseDown",
     [](HandlerFreeTest& t, const TFreeProc& kill) -> TControl* {
       auto* l = t.Add<TProbeShape>(t.Form(), "Shape", Rect(10, 10, 110, 31));
       l->SetDragMode(dmAutomatic);
       l->OnMouseDown = TMouseEvent::FromCallable(
           [kill, l](TObject*, TMouseButton, TShiftState, Integer, Integer) { kill(l); });
       t.ShowForm();
       t.ClickAt(l, 3, 3);
       return l;
     }},
};

std::string CaseName(const ::testing::TestParamInfo<std::tuple<TFreeCase, TVictim>>& info) {
  return std::string(std::get<0>(info.param).Name) +
         (std::get<1>(info.param) == vForm ? "FreesTheForm" : "FreesTheControl");
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(EveryHandlerKind, HandlerFreeTest,
                         ::testing::Combine(::testing::ValuesIn(kFreeCases),
                                            ::testing::Values(vForm, vControl)),
                         CaseName);

}  // namespace brevant::test
