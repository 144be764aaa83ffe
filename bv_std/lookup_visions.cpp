// The lookup base (new keys, clearing shortcut) and TLookupVision over the
// platform's lookup fields.
#include "bv_std/lookup_visions.h"

#include "bv/field_list.h"
#include "bv_rtm/tokens.h"
#include "bv_std/lookup_publish.h"
#include "classes/rtti_builder.h"
#include "controls/menus.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"

namespace brevant {

BV_PUBLISH_ABSTRACT(TznLookupListVision, TDataListVision) {}

BV_PUBLISH(TLookupVision, TznLookupListVision) {
  PublishLookupCommon(p);
  p.Property("ListFields", &TLookupVision::ListFields, &TLookupVision::SetListFields);
}

String DropDownColumns(const String& first, const String& others) {
  if (others.empty()) return first;
  if (TokenIndex(others, first, ';') >= 0) return others;
  return first + ";" + others;
}

// ---- TznLookupListVision ----

TznLookupListVision::TznLookupListVision(TComponent* owner) : TDataListVision(owner) {
  SetEnableButton(true);
}

void TznLookupListVision::LoadKey(IznVisionEditor* editor, const Variant& key) {
  TfvCurrentValue* value = editor->CurrentValue();
  value->Clear();
  value->SetDataType(ftVariant);
  if (!VarIsNull(key)) value->SetAsVariant(key);
  value->SetModified(false);
  value->SetTextModified(false);
}

TDataSource* TznLookupListVision::GetListSource(TtlFieldList* fields) {
  return fields->HasEditListData() ? fields->EditDataSource() : nullptr;
}

void TznLookupListVision::ApplyListChoice(IznVisionEditor* editor, Integer choice) {
  TfvCurrentValue* current = editor->CurrentValue();
  if (choice == lcNull) current->Clear();
  if (choice != lcPickRecord) return;
  TtlFieldList* fields = editor->EditorFieldList();
  TDataSet* ds = OpenListDataSet(fields);
  TField* key = ds ? ds->FindField(ListKeyFields(fields)) : nullptr;
  if (key) current->SetAsVariant(key->AsVariant());
}

void TznLookupListVision::ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) {
  const String text = editor->EditorText();
  if (text.empty()) {
    inherited::ReadEditValue(editor, value, skip);
    return;
  }
  TtlFieldList* fields = editor->EditorFieldList();
  TDataSet* ds = OpenListDataSet(fields);
  String listField;
  GetListFieldName(fields, listField);
  const String keyFields = ListKeyFields(fields);
  if (ds && ds->FindField(listField) && ds->FindField(keyFields)) {
    const Variant key = ds->Lookup(listField, text, keyFields);
    if (!VarIsNull(key)) {
      value.SetAsVariant(key);
      return;
    }
  }
  TtlFieldValue keyValue(false, true);
  keyValue.SetDataType(value.DataType());
  bool doSkip = false;
  if (OnNewKey) OnNewKey(this, fields, text, &keyValue, doSkip);
  // No handler, a skip, or a handler that found no key: the field keeps
  // its value rather than losing its key.
  skip = !OnNewKey || doSkip || keyValue.IsNull();
  if (!skip) value.Assign(&keyValue);
}

void TznLookupListVision::KeyDown(IznVisionEditor* editor, Word& key, TShiftState shift) {
  inherited::KeyDown(editor, key, shift);
  if (clearShortCut_ == 0 || key == 0 || ShortCut(key, shift) != clearShortCut_) return;
  key = 0;
  editor->CurrentValue()->Clear();
  PostOrMove(editor, true);
}

// ---- TLookupVision ----

TLookupVision::TLookupVision(TComponent* owner) : TznLookupListVision(owner) {}

void TLookupVision::CheckFields(TtlFieldList* fields, bool& active) {
  TField* main = fields->MainField();
  active = main && main->Lookup();
}

String TLookupVision::ListKeyFields(TtlFieldList* fields) {
  TField* main = fields->MainField();
  return main ? main->LookupKeyFields() : String();
}

void TLookupVision::GetListFieldName(TtlFieldList* fields, String& name) {
  TField* main = fields->MainField();
  name = main ? main->LookupResultField() : String();
}

void TLookupVision::PostValue(TtlFieldList* fields, const TznUniValue& value) {
  TField* main = fields->MainField();
  if (!main) return;
  // FieldByName refuses a list of several key fields as well as a missing one.
  value.AssignTo(main->DataSet()->FieldByName(main->KeyFields()));
}

void TLookupVision::LoadCurrentValue(IznVisionEditor* editor) {
  TField* main = editor->EditorFieldList()->MainField();
  TField* key = main ? main->DataSet()->FindField(main->KeyFields()) : nullptr;
  LoadKey(editor, key ? key->AsVariant() : Null());
}

void TLookupVision::InitEdit(IznVisionEditor* editor) {
  inherited::InitEdit(editor);
  TField* main = editor->EditorFieldList()->MainField();
  EditDataSource(editor)->SetDataSet(main ? main->LookupDataSet() : nullptr);
}

void RegisterLookupVisionClasses() {
  RegisterClass(TLookupVision::StaticClass());
}

}  // namespace brevant
