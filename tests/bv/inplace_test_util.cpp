#include "inplace_test_util.h"

#include "backend/codes.h"
#include "bv/field_list.h"
#include "bv_rtm/border_style.h"
#include "classes/rtti_builder.h"
#include "db/field.h"
#include "rtl/numconv.h"

namespace brevant::test {

BV_IMPLEMENT_CLASS_EX(TKeyLogGrid, TDBTabulon, nullptr, nullptr)
BV_IMPLEMENT_CLASS(TClickVision, TznFieldVision)
BV_IMPLEMENT_CLASS(TMemoVision, TznFieldVision)
BV_IMPLEMENT_CLASS(TToggleVision, TznFieldVision)

void TKeyLogGrid::KeyDown(Word& key, TShiftState shift) {
  Keys.push_back("key " + IntToStr(key));
  TDBTabulon::KeyDown(key, shift);
}

void TClickVision::ButtonClick(IznVisionEditor* editor) {
  Clicks.push_back(ButtonKind());
  TznFieldVision::ButtonClick(editor);
}

TToggleVision::TToggleVision(TComponent* owner) : TznFieldVision(owner) {
  SetEnableSwitches(true);
  SetSurfaceKind(vskCustom);
}

void TToggleVision::Toggle(IznVisionEditor* editor, bool& posted) {
  TtlFieldList* fields = editor->EditorFieldList();
  TfvCurrentValue* value = editor->CurrentValue();
  value->SetAsBoolean(!fields->MainField()->AsBoolean());
  value->SetModified(true);
  posted = PostEdit(editor, false);
}

void TToggleVision::SwitchByKey(IznVisionEditor* editor, bool& posted) {
  Toggle(editor, posted);
}

void TToggleVision::SwitchByMouse(IznVisionEditor* editor, bool& posted) {
  Toggle(editor, posted);
}

void TToggleVision::CanSwitchByKey(IznVisionEditor*, Word key, bool& allow, TShiftState) {
  allow = key == VK_SPACE;
}

void TToggleVision::CanSwitchAt(IznVisionEditor*, Integer, Integer, bool& allow, TShiftState) {
  allow = true;
}

void InplaceTest::SetUp() {
  ControlsTest::SetUp();
  form->SetBounds(100, 100, 460, 360);
  ds = Create<TMemDataSet>(form);
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 20);
  ds->FieldDefs()->Add("Note", ftString, 20);
  ds->FieldDefs()->Add("Flag", ftBoolean);
  for (Integer i = 1; i <= 5; ++i)
    ds->AppendRow(
        {Variant(i), Variant("R" + IntToStr(i)), Variant("N" + IntToStr(i)), Variant(false)});
  src = Create<TDataSource>(form);
  src->SetDataSet(ds);
  designer = Create<TtlBaseDesigner>(form);
}

void InplaceTest::TearDown() {
  TObject::Free(grid);
  grid = nullptr;
  ControlsTest::TearDown();
}

void InplaceTest::Build() {
  grid = Create<TKeyLogGrid>(form);
  grid->SetName("Grid");
  grid->SetDesigner(designer);
  grid->SetBorderStyle(bsNoBorder);
  grid->SetScrollBars(ssNone);
  grid->SetBounds(10, 10, 400, 260);
  grid->SetParent(form);
  const char* names[] = {"ID", "Name", "Note", "Flag"};
  for (const char* name : names) grid->Columns()->Add()->SetFieldName(name);
  Col(0)->SetWidth(50);
  Col(1)->SetWidth(120);
  grid->Columns()->MoveColumn(Col(2), Col(1)->GroupInfo(), 1, 0);  // under Name
  Col(3)->SetWidth(60);
  grid->SetDataSource(src);
  grid->AfterFieldPost = TtlAfterFieldPostEvent::FromCallable(
      [this](TObject*, TtlColumn* column, TtlFieldPostCode code, TtlFieldEditAction& action) {
        posts.push_back({column, code, action, Name()});
      });
  probe = AddProbe(form, "Probe", Bounds(10, 290, 60, 20));
  form->Show();
  ds->Open();
  Pump();
  grid->SetFocus();
  Pump();
}

bool InplaceTest::Open(Integer column) {
  grid->SelectColumn(column);
  const bool opened = grid->OpenEditor(Col(column));
  Pump();
  return opened;
}

void InplaceTest::Key(Word vk, Byte mods) {
  Offscreen().PressKey(vk, mods);
  Pump();
}

void InplaceTest::Type(const String& s) {
  Offscreen().TypeText(s);
  Pump();
}

String InplaceTest::Name() const {
  return ds->FieldByName("Name")->AsString();
}

TColor InplaceTest::GridPixel(Integer x, Integer y) {
  const TPoint p = form->ScreenToClient(grid->ClientToScreen({x, y}));
  return Offscreen().Pixel(Native(), p.X, p.Y);
}

TColor InplaceTest::EditorPixel(Integer x, Integer y) {
  const TPoint p = form->ScreenToClient(Editor()->ClientToScreen({x, y}));
  return Offscreen().Pixel(Native(), p.X, p.Y);
}

}  // namespace brevant::test
