#include "value_test_util.h"

#include "classes/formstream.h"
#include "db/dataset.h"
#include "db/field_defs.h"
#include "rtl/streams.h"

namespace valuetest {

TValueData::TValueData() : ds(Create<TMemDataSet>(nullptr)), source(Create<TDataSource>(nullptr)) {
  ds->FieldDefs()->Add("Stamp", ftDateTime);
  ds->FieldDefs()->Add("Day", ftDate);
  ds->FieldDefs()->Add("Clock", ftTime);
  ds->FieldDefs()->Add("Count", ftInteger);
  ds->FieldDefs()->Add("Ratio", ftFloat);
  ds->FieldDefs()->Add("Price", ftCurrency);
  ds->FieldDefs()->Add("Name", ftString, 10);
  ds->AppendRow({Variant(), Variant(), Variant(), Variant(), Variant(), Variant(), Variant()});
  ds->Open();
  source->SetDataSet(ds.get());
}

void TValueData::Set(const String& name, const Variant& value) {
  ds->Edit();
  Field(name)->SetValue(value);
  ds->Post();
}

bool TTextEditor::SetEditText(const String& value, bool selectAll) {
  if (!EditorFieldList()->StartEdit(true)) return false;
  Type(value);
  CurrentValue()->SetModified(false);
  selStart = 0;
  selLength = selectAll ? static_cast<Integer>(value.size()) : 0;
  return true;
}

String ToFormText(TComponent* component) {
  TMemoryStream s;
  WriteComponentText(s, component);
  return String(static_cast<const char*>(s.Memory()), size_t(s.Size()));
}

TComponent* FromFormText(const String& text) {
  TMemoryStream s;
  s.Write(text.data(), static_cast<Integer>(text.size()));
  s.SetPosition(0);
  return ReadNewComponent(s, nullptr);
}

}  // namespace valuetest
