#include "customizer_test_util.h"

#include "bv/columns.h"
#include "bv_db/obj_dataset.h"
#include "controls/wincore.h"
#include "rtl/stringlist.h"

namespace brevant::test {

void CustomizerTest::SetUp() {
  GridTest::SetUp();
  StartCustomizerUnit();
  CustomizerBounds() = Bounds(240, 100, 224, 340);
  drag = {};
  log.clear();
  otherLog.clear();
  SetColumnDragQuery([this](TDBTabulon* g) { return g == grid ? drag : TtlColumnDragInfo{}; });
}

void CustomizerTest::TearDown() {
  SetColumnDragQuery(nullptr);
  StopCustomizerUnit();
  Pump();
  GridTest::TearDown();
}

void CustomizerTest::BuildFour() {
  TObject::Free(grid);
  TObject::Free(src);
  TObject::Free(ds);
  log.clear();
  auto* data = Create<TMemDataSet>(nullptr);
  data->FieldDefs()->Add("ID", ftInteger);
  data->FieldDefs()->Add("Name", ftString, 20);
  data->FieldDefs()->Add("City", ftString, 20);
  data->FieldDefs()->Add("Zip", ftString, 10);
  for (Integer i = 1; i <= 5; ++i)
    data->AppendRow({i, "N" + IntToStr(i), "C" + IntToStr(i), "Z" + IntToStr(i)});
  ds = data;
  src = Create<TDataSource>(nullptr);
  src->SetDataSet(ds);
  grid = Create<TPaintLogGrid>(form);
  grid->SetName("Grid");
  grid->SetDesigner(designer);
  grid->SetBounds(10, 10, 380, 200);
  grid->SetParent(form);
  for (const char* name : {"ID", "Name", "City", "Zip"}) grid->Columns()->Add()->SetFieldName(name);
  grid->SetDataSource(src);
  form->Show();
  ds->Open();
  Pump();
}

TtlColumn* CustomizerTest::Col(const char* fieldName) const {
  return grid->Columns()->FindByFieldName(fieldName);
}

String CustomizerTest::ListText() const {
  String text;
  TStringList* entries = Customizer()->Entries();
  for (Integer i = 0; i < entries->Count(); ++i) text += (i ? " " : "") + entries->Strings(i);
  return text;
}

void CustomizerTest::Select(const String& caption) {
  TStringList* entries = Customizer()->Entries();
  const Integer index = entries->IndexOf(caption);
  ASSERT_GE(index, 0) << caption;
  Customizer()->datFields->SetRecNo(index + 1);
  Pump();
}

String CustomizerTest::Layout() const {
  String text;
  const TtlGroupInfo* group = nullptr;
  Integer level = -1;
  TtlColumns* columns = grid->Columns();
  for (Integer i = 0; i < columns->Count(); ++i) {
    TtlColumn* c = columns->Items(i);
    if (!c->Visible()) continue;
    if (c->GroupInfo() != group)
      text += text.empty() ? "" : "|";
    else
      text += c->LayoutLevel() != level ? "/" : ",";
    group = c->GroupInfo();
    level = c->LayoutLevel();
    text += c->FieldName();
  }
  return text;
}

TNativeWindow CustomizerTest::CustomizerNative() const {
  for (TNativeWindow w : Offscreen().Windows())
    if (Offscreen().IsShown(w) && Offscreen().Caption(w) == "Customize") return w;
  return 0;
}

void CustomizerTest::MouseTo(TPoint p) {
  Offscreen().MouseMove(p);
  Pump();
}

}  // namespace brevant::test
