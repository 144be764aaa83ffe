#include "tool_form_test_util.h"

#include "bv_rtm/bv_errors.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"

namespace brevant {

BV_IMPLEMENT_CLASS(test::TDropVision, TznFieldVision)
BV_IMPLEMENT_CLASS(test::TDropEdit, TCustomControl)

namespace test {

namespace {
void Note(const std::string& what) {
  Log().push_back(what);
}
}  // namespace

// ---- TDropVision ----

void TDropVision::ShowDropDown(IznVisionEditor* editor, TVisionToolForm* toolForm) {
  toolForm->Show(this, editor);
}

void TDropVision::SetToolForm(IVisionToolForm* toolForm) {
  Note(std::string("vision SetToolForm ") + (toolForm ? "on" : "nil"));
  if (toolForm && failSetToolForm) throw EBVError("refused");
  open = toolForm;
}

bool TDropVision::PostEdit(IznVisionEditor* editor, bool selectAll) {
  Note("vision PostEdit");
  return TznFieldVision::PostEdit(editor, selectAll);
}

bool TDropVision::PostOrMove(IznVisionEditor* editor, bool selectAll) {
  Note("vision PostOrMove");
  return TznFieldVision::PostOrMove(editor, selectAll);
}

// ---- TDropEdit ----

TDropEdit::TDropEdit(TComponent* owner)
    : TCustomControl(owner),
      fields_(std::make_unique<TtlFieldList>(this, this, fokEdit, nullptr)),
      current_(this) {
  fields_->SetEditor(this);
  SetTabStop(true);
}

TDropEdit::~TDropEdit() = default;

void TDropEdit::Paint() {
  Canvas()->Brush()->SetColor(clWhite);
  Canvas()->FillRect(ClientRect());
}

TRect TDropEdit::EditButtonRect() {
  const TRect c = ClientRect();
  return Rect(c.Right - 16, c.Top, c.Right, c.Bottom);
}

void TDropEdit::SetOpenToolForm(IznToolFormHost* toolForm) {
  Note(std::string("edit open ") + (toolForm ? "on" : "nil"));
  toolForm_ = toolForm;
}

void TDropEdit::OpenDropDown() {
  if (toolForm_) return;
  TznFieldVision* v = fields_->Vision();
  if (TVisionToolForm* toolForm = v->GetDropDown()) v->ShowDropDown(this, toolForm);
}

void TDropEdit::CloseDropDown(bool accept) {
  if (toolForm_) toolForm_->Close(accept, false);
}

bool TDropEdit::PostThroughGrid(bool) {
  Note("edit grid post");
  CloseDropDown(false);
  return true;
}

// Every key but Return and Escape goes to the open drop-down first; Tab and
// Return close it accepting, Escape discarding; Alt+Down toggles it.
void TDropEdit::KeyDown(Word& key, TShiftState shift) {
  Note("edit key " + std::to_string(key));
  if (toolForm_ && key != VK_RETURN && key != VK_ESCAPE) {
    toolForm_->KeyDown(key, shift);
    if (key == 0) return;
  }
  TznFieldVision* v = fields_->Vision();
  if (key == VK_TAB && toolForm_) {
    toolForm_->Close(true, false);
  } else if (key == VK_RETURN && toolForm_) {
    key = 0;
    toolForm_->Close(true, false);
  } else if (key == VK_ESCAPE) {
    key = 0;
    if (toolForm_) toolForm_->Close(false, false);
  } else if (key == VK_DOWN && shift.Contains(ssAlt)) {
    key = 0;
    if (toolForm_ || (v->EnableButton() && v->ButtonStyle() == pbsDropDown))
      v->ButtonAction(this, bkKeyboard);
    else if (v->CanDropDown(2))
      v->ButtonAction(this, bkDropDown);
  }
}

void TDropEdit::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (CanFocus()) SetFocus();
  if (PtInRect(EditButtonRect(), {x, y})) {
    Note("edit button");
    fields_->Vision()->ButtonAction(this, bkMouse);
  } else {
    Note("edit press");
  }
}

void TDropEdit::WndProc(TMessage& m) {
  if (m.Msg == WM_KILLFOCUS && toolForm_)
    toolForm_->FocusChanged(FindControl(static_cast<HWND>(m.WParam)));
  if (m.Msg == WM_GETDLGCODE && toolForm_) {
    m.Result = DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTARROWS;
    return;
  }
  TCustomControl::WndProc(m);
}

// ---- fixture ----

void ToolFormTest::SetUp() {
  FormsTest::SetUp();
  Offscreen().SetWorkArea(Offscreen().ScreenRect());
  edit = Create<TDropEdit>(form);
  edit->SetName("Edit");
  edit->SetBounds(20, 20, 120, 21);
  edit->SetParent(form);
  other = Create<TEdit>(form);
  other->SetName("Other");
  other->SetBounds(150, 170, 100, 21);  // clear of the drop-down
  other->SetParent(form);
  pack = Create<TPanel>(form);
  pack->SetName("Pack");
  pack->SetBounds(200, 20, 90, 150);
  pack->SetParent(form);
  tf = Create<TVisionToolForm>(form);
  tf->SetName("ToolForm");
  tf->SetBounds(5, 6, 150, 100);
  tf->SetParent(pack);
  inner = AddProbe(tf, "Inner", Rect(10, 10, 60, 30));
  vision = Create<TDropVision>(form);
  vision->SetName("Vision");
  vision->DropDown = tf;
  vision->SetEnableButton(true);
  vision->SetEnableDropDown(true);
  edit->Fields().SetVision(vision);
  form->Show();
  edit->SetFocus();
  Pump();
  ClearLog();
}

void ToolFormTest::TearDown() {
  FormsTest::TearDown();
  Offscreen().SetWorkArea(Offscreen().ScreenRect());
}

void ToolFormTest::Open() {
  edit->SetFocus();
  edit->OpenDropDown();
  Pump();
}

void ToolFormTest::LogEvents() {
  auto note = [](const char* what) {
    return TNotifyEvent::FromCallable([what](TObject*) { Note(std::string("tf ") + what); });
  };
  tf->OnShow = note("show");
  tf->OnActivate = note("activate");
  tf->OnPostChanges = note("post changes");
  tf->OnClose = note("close");
  tf->OnCurrentChanged = note("current");
  tf->OnTextChanged = note("text");
}

TRect ToolFormTest::BgRect() const {
  TznToolFormBG* bg = tf->Background();
  return bg && bg->HandleAllocated() ? GetWindowRect(bg->WindowHandle()) : TRect();
}

}  // namespace test
}  // namespace brevant
