#include "controls/controls_test_util.h"

#include <memory>

#include "classes/rtti_builder.h"
#include "controls/wincore.h"

namespace brevant {

BV_IMPLEMENT_CLASS(test::TProbe, TCustomControl)
BV_IMPLEMENT_CLASS(test::TProbeShape, TGraphicControl)

namespace test {

namespace {
TOffscreenBackend* g_backend = nullptr;

void RecordException(TObject*, const Exception& e) {
  HandledMessage() = e.Message();
}
}  // namespace

TOffscreenBackend& Offscreen() {
  if (!g_backend) {
    auto b = std::make_unique<TOffscreenBackend>();
    g_backend = b.get();
    SetBackend(std::move(b));
  }
  return *g_backend;
}

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

std::string& HandledMessage() {
  static std::string message;
  return message;
}

void ClearLog() {
  Log().clear();
  HandledMessage().clear();
}

static void Add(const TComponent* c, const std::string& what) {
  Log().push_back(c->Name() + " " + what);
}

// ---- TProbe ----------------------------------------------------------------------

TProbe::TProbe(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(true);
}

void TProbe::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (ClientEdge) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TProbe::Paint() {
  ++Paints;
  Canvas()->Brush()->SetColor(FillColor);
  Canvas()->FillRect(ClientRect());
  Canvas()->Brush()->SetColor(clBlue);
  Canvas()->FillRect(Rect(2, 2, 6, 6));
}

void TProbe::KeyDown(Word& key, TShiftState shift) {
  Add(this, "KeyDown " + std::to_string(key) + (shift.Contains(ssShift) ? " shift" : ""));
  if (key == ConsumeKey) key = 0;
  TCustomControl::KeyDown(key, shift);
}

void TProbe::KeyUp(Word& key, TShiftState shift) {
  Add(this, "KeyUp " + std::to_string(key));
  TCustomControl::KeyUp(key, shift);
}

void TProbe::KeyPress(char32_t& key) {
  Add(this, "KeyPress " + std::to_string(static_cast<unsigned>(key)));
  TCustomControl::KeyPress(key);
}

void TProbe::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  Add(this, "MouseDown " + std::to_string(button) + " " + std::to_string(x) + "," +
                std::to_string(y) + (shift.Contains(ssDouble) ? " double" : ""));
  TCustomControl::MouseDown(button, shift, x, y);
}

void TProbe::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  Add(this,
      "MouseUp " + std::to_string(button) + " " + std::to_string(x) + "," + std::to_string(y));
  TCustomControl::MouseUp(button, shift, x, y);
}

void TProbe::Click() {
  Add(this, "Click");
  TCustomControl::Click();
}

void TProbe::DblClick() {
  Add(this, "DblClick");
  TCustomControl::DblClick();
}

void TProbe::WMGetDlgCode(TMessage& m) {
  m.Result = DlgCode;
}

void TProbe::CNKeyDown(TMessage& m) {
  Add(this, "CN_KEYDOWN " + std::to_string(m.WParam));
  TCustomControl::CNKeyDown(m);
}

void TProbe::CMEnter(TMessage& m) {
  Add(this, "Enter");
  TCustomControl::CMEnter(m);
}

void TProbe::CMExit(TMessage& m) {
  Add(this, "Exit");
  if (FailExit) throw EConvertError("invalid value in " + Name());
  TCustomControl::CMExit(m);
}

void TProbe::CMCancelMode(TMessage& m) {
  auto* sender = reinterpret_cast<TControl*>(m.LParam);
  Add(this, "CancelMode from " + (sender ? sender->Name() : std::string("?")));
}

void TProbe::CMMouseEnter(TMessage& m) {
  Add(this, "MouseEnter");
  TCustomControl::CMMouseEnter(m);
}

void TProbe::CMMouseLeave(TMessage& m) {
  Add(this, "MouseLeave");
  TCustomControl::CMMouseLeave(m);
}

// ---- TProbeShape -----------------------------------------------------------------

TProbeShape::TProbeShape(TComponent* owner) : TGraphicControl(owner) {}

void TProbeShape::Paint() {
  Canvas()->Brush()->SetColor(FillColor);
  Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}

void TProbeShape::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  Add(this, "MouseDown " + std::to_string(x) + "," + std::to_string(y));
  TGraphicControl::MouseDown(button, shift, x, y);
}

void TProbeShape::Click() {
  Add(this, "Click");
  TGraphicControl::Click();
}

void TProbeShape::CMMouseEnter(TMessage& m) {
  Add(this, "MouseEnter");
  TGraphicControl::CMMouseEnter(m);
}

void TProbeShape::CMMouseLeave(TMessage& m) {
  Add(this, "MouseLeave");
  TGraphicControl::CMMouseLeave(m);
}

// ---- fixture ------------------------------------------------------------------------

void ControlsTest::SetUp() {
  Offscreen();
  SetExceptionHandler(&RecordException);
  ClearLog();
  form = Create<TForm>(nullptr);
  form->SetName("Form1");
  form->SetCaption("Form1");
  form->SetBounds(100, 100, 300, 200);
}

void ControlsTest::TearDown() {
  TObject::Free(form);
  Pump();
  SetExceptionHandler(nullptr);
  ClearLog();
}

TProbe* ControlsTest::AddProbe(TWinControl* parent, const char* name, TRect bounds) {
  auto* p = Create<TProbe>(form);
  p->SetName(name);
  p->SetBoundsRect(bounds);
  p->SetParent(parent);
  return p;
}

TNativeWindow ControlsTest::Native() const {
  for (TNativeWindow w : Offscreen().Windows())
    if (Offscreen().Caption(w) == form->Caption()) return w;
  return 0;
}

}  // namespace test
}  // namespace brevant
