#include "edit_test_util.h"

#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"

namespace brevant {

BV_IMPLEMENT_CLASS(test::TLogVision, TznFieldVision)

namespace test {

namespace {
// The stand-in drop-down of the running test.
TToolFormHostStub* gLink = nullptr;
}  // namespace

void TLogVision::ButtonClick(IznVisionEditor* editor) {
  log.push_back("click " + IntToStr(ButtonKind()));
  TznFieldVision::ButtonClick(editor);
}

void TLogVision::ShowDropDown(IznVisionEditor* editor, TVisionToolForm* form) {
  log.push_back("show");
  (void)form;
  // What the tool form host does when it opens the form.
  if (gLink)
    gLink->Open(
        dynamic_cast<TDBQuentaEdit*>(editor->EditorFieldList()->Consumer()->GetComponent()));
}

bool TLogVision::CanDropDown(Integer reason) {
  for (Integer r : dropReasons)
    if (r == reason) return true;
  return false;
}

TVisionToolForm* TLogVision::GetDropDown() {
  return FakeToolForm();
}

void TLogVision::EditAction(IznVisionEditor*, TznEditAction action) {
  log.push_back("action " + IntToStr(action));
}

String TLogVision::Take() {
  String s;
  for (const String& e : log) s += (s.empty() ? "" : ", ") + e;
  log.clear();
  return s;
}

void TToolFormHostStub::Close(bool accept, bool) {
  log.push_back(accept ? "close accept" : "close discard");
  if (edit) edit->SetOpenToolForm(nullptr);
}

void TToolFormHostStub::FocusChanged(TWinControl* control) {
  if (!control) Close(false, false);
}

TVisionToolForm* TToolFormHostStub::GetToolForm() {
  return FakeToolForm();
}

void TToolFormHostStub::Open(TDBQuentaEdit* on) {
  edit = on;
  on->SetOpenToolForm(this);
}

TVisionToolForm* FakeToolForm() {
  static int token = 0;
  return reinterpret_cast<TVisionToolForm*>(&token);
}

void EditTest::SetUp() {
  ControlsTest::SetUp();
  ds = Create<TMemDataSet>(form);
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 10);
  ds->FieldDefs()->Add("Amount", ftFloat);
  ds->FieldDefs()->Add("Debit", ftCurrency);
  ds->FieldDefs()->Add("Born", ftDate);
  for (Integer i = 1; i <= 3; ++i)
    ds->AppendRow({i, "R" + IntToStr(i), i * 1.5, i, VarFromDateTime(EncodeDate(2000, 1, i))});
  ds->Open();
  src = Create<TDataSource>(form);
  src->SetDataSet(ds);
  gLink = &link;
}

void EditTest::TearDown() {
  gLink = nullptr;
  ControlsTest::TearDown();
}

TDBQuentaEdit* EditTest::AddEdit(const String& field, TRect bounds) {
  auto* e = Create<TDBQuentaEdit>(form);
  e->SetBoundsRect(bounds);
  e->SetParent(form);
  e->SetDataSource(src);
  e->SetDataField(field);
  if (!edit) {
    edit = e;
    link.edit = e;
  } else if (!other) {
    other = e;
  }
  return e;
}

void EditTest::Show() {
  form->Show();
  Pump();
}

void EditTest::Type(const String& s) {
  Offscreen().TypeText(s);
  Pump();
}

void EditTest::Key(Word vk, Byte mods) {
  Offscreen().PressKey(vk, mods);
  Pump();
}

void EditTest::Click(TControl* c, Integer x, Integer y) {
  Offscreen().Click(At(c, x, y));
  Pump();
}

String EditTest::Value(const String& field) {
  return ds->FieldByName(field)->AsString();
}

TColor EditTest::Px(TWinControl* c, Integer x, Integer y) {
  return static_cast<TColor>(GetWindowPixel(c->Handle(), x, y));
}

}  // namespace test
}  // namespace brevant
