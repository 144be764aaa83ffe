// The default pack's drop-down test fixture.
#include "pack_test_util.h"

#include "controls/application.h"
#include "controls/wincore.h"

namespace brevant::test {

void PackTest::SetUp() {
  FormsTest::SetUp();
  Offscreen().SetWorkArea(Offscreen().ScreenRect());
  StartDefPackUnit();
  pack = DefPack();
  ASSERT_NE(pack, nullptr);
}

void PackTest::TearDown() {
  StopDefPackUnit();
  FormsTest::TearDown();
  Offscreen().SetWorkArea(Offscreen().ScreenRect());
}

TDBQuentaEdit* PackTest::Edit(TDataSource* source, const String& field, TznFieldVision* vision) {
  other = Create<TDBQuentaEdit>(form);
  other->SetBounds(10, 170, 100, 21);
  other->SetParent(form);
  edit = Create<TDBQuentaEdit>(form);
  edit->SetBounds(10, 10, 120, 21);
  edit->SetParent(form);
  edit->SetVision(vision);
  edit->SetDataSource(source);
  edit->SetDataField(field);
  form->Show();
  edit->SetFocus();
  Pump();
  return edit;
}

void PackTest::RunFocusable(std::function<void()> act, bool byButton) {
  ScriptAction("VisionToolForm", [act](TObject*) { act(); });
  if (byButton)
    ClickEditButton();
  else
    Key(VK_DOWN, bmAlt);
}

void PackTest::ClickEditButton() {
  const TRect b = edit->EditButtonRect();
  ClickOn(edit, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
  Pump();
}

void PackTest::WhenIdle(std::function<void()> act) {
  Application()->OnIdle = TIdleEvent::FromCallable([act](TObject*, bool&) {
    const std::function<void()> run = act;  // outlives the handler
    Application()->OnIdle = nullptr;
    run();
  });
}

void PackTest::ClickOn(TControl* control, Integer x, Integer y) {
  ClickAt(control->ClientToScreen({x, y}));
}

TColor PackTest::PixelOn(TVisionToolForm* tf, TControl* control, Integer x, Integer y) {
  TznToolFormBG* bg = tf->Background();
  const TNativeWindow w = GetNativeWindow(bg->WindowHandle());
  const TPoint origin = bg->BoundsRect().TopLeft();
  const TPoint s = control->ClientToScreen({x, y});
  return Offscreen().Pixel(w, s.X - origin.X, s.Y - origin.Y);
}

}  // namespace brevant::test
