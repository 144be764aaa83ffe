#include "list_test_util.h"

#include "db/field_defs.h"
#include "db/field_types.h"
#include "rtl/strutils.h"

namespace listtest {

bool TCompletingEditor::Edit(const String& typed, bool forward) {
  extends = forward;
  const String previous = text;
  String completed = typed;
  selEnd = selStart = Utf8Length(typed);
  Type(typed);
  const bool accepted =
      EditorFieldList()->Vision()->AutoComplete(this, completed, selEnd, selStart, previous);
  text = accepted ? completed : previous;
  return accepted;
}

TListData::TListData()
    : colors(Create<TMemDataSet>(nullptr)),
      colorSource(Create<TDataSource>(nullptr)),
      people(Create<TMemDataSet>(nullptr)),
      peopleSource(Create<TDataSource>(nullptr)) {
  colors->FieldDefs()->Add("ID", ftInteger);
  colors->FieldDefs()->Add("Name", ftString, 20);
  colors->FieldDefs()->Add("Image", ftInteger);
  colors->FieldDefs()->Add("Note", ftString, 20);
  AddColor(1, "Red", 4);
  AddColor(2, "Green", 5);
  AddColor(3, "Blue", 6);
  colors->Open();
  colorSource->SetDataSet(colors.get());

  people->FieldDefs()->Add("ID", ftInteger);
  people->FieldDefs()->Add("Name", ftString, 20);
  people->FieldDefs()->Add("ColorID", ftInteger);
  people->AppendRow({1, "Ann", 2});
  people->AppendRow({2, "Bob", Null()});
  for (Integer i = 0; i < 3; ++i)
    people->FieldDefs()->Items(i)->CreateField(people.get(), people.get());
  auto* color = Create<TStringField>(people.get());
  color->SetFieldName("Color");
  color->SetSize(20);
  color->SetFieldKind(fkLookup);
  color->SetLookupDataSet(colors.get());
  color->SetLookupKeyFields("ID");
  color->SetLookupResultField("Name");
  color->SetKeyFields("ColorID");
  color->SetDataSet(people.get());
  people->Open();
  peopleSource->SetDataSet(people.get());
}

void TListData::AddColor(Integer id, const String& name, Integer image) {
  if (!colors->Active()) {
    colors->AppendRow({id, name, image, name + " note"});
    return;
  }
  colors->Append();
  colors->FieldByName("ID")->SetAsVariant(id);
  colors->FieldByName("Name")->SetAsVariant(name);
  colors->FieldByName("Image")->SetAsVariant(image);
  colors->Post();
}

}  // namespace listtest
