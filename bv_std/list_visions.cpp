// TLiteVision, the process-wide LiteVision, and TDataListVision with its
// completion of typed text.
#include "bv_std/list_visions.h"

#include "bv/completion_intf.h"
#include "bv/field_list.h"
#include "bv_rtm/bv_errors.h"
#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TLiteVision, TznFieldVision) {
  using V = TLiteVision;
  p.Property("Alignment", &V::Alignment, &V::SetAlignment).Default(talDefault);
  p.Property("MaxLength", &V::MaxLength, &V::SetMaxLength).Default(0);
  p.Property("Images", &V::Images, &V::SetImages);
  p.Property("AlignImage", &V::AlignImage, &V::SetAlignImage).Default(aiDefault);
  p.Property("DrawImages", &V::DrawImages, &V::SetDrawImages).Default(1);
  p.Property("EditMask", &V::EditMask, &V::SetEditMask);
  p.Property("EditWordWrap", &V::EditWordWrap, &V::SetEditWordWrap).Default(0);
  p.Property("EditReadOnly", &V::EditReadOnly, &V::SetEditReadOnly).Default(0);
  p.Property("EnableButton", &V::EnableButton, &V::SetEnableButton).Default(0);
  p.Property("ButtonStyle", &V::ButtonStyle, &V::SetButtonStyle).Default(pbsEllipsis);
  p.Property("ButtonGlyph", &V::ButtonGlyph, &V::SetButtonGlyph).Stored(&V::IsButtonGlyphStored);
  p.Event("OnGetValue", &V::OnGetValue, "TfvGetStrValueEvent");
}

BV_PUBLISH_ABSTRACT(TDataListVision, TToolFormVision) {}

// ---- TLiteVision ----

TLiteVision::TLiteVision(TComponent* owner) : TznFieldVision(owner) {
  SetButtonStyle(pbsEllipsis);
}

void LiteGetText(TznFieldVision* vision, const TfvGetStrValueEvent& onGetValue,
                 TtlFieldList* fields, bool displayText, String& text) {
  if (fields->MainField()) {
    vision->TznFieldVision::GetText(fields, displayText, text);
    return;
  }
  text.clear();
  bool isNull = false;
  if (onGetValue) onGetValue(vision, fields, text, isNull);
  if (isNull) text.clear();
}

bool LiteFieldsActive(TtlFieldList* fields) {
  TField* main = fields->MainField();
  return !fields->FieldNames().empty() && !(main && main->IsBlob());
}

void LiteEditMask(TznFieldVision* vision, TtlFieldList* fields, String& mask) {
  if (mask.empty()) mask = fields->EditFormat();
  vision->TznFieldVision::GetEditMask(fields, mask);
}

void TLiteVision::GetText(TtlFieldList* fields, bool displayText, String& text) {
  LiteGetText(this, OnGetValue, fields, displayText, text);
}

void TLiteVision::CheckFields(TtlFieldList* fields, bool& active) {
  active = LiteFieldsActive(fields);
}

void TLiteVision::GetEditMask(TtlFieldList* fields, String& mask) {
  LiteEditMask(this, fields, mask);
}

TLiteVision* LiteVision() {
  // The default vision's holder is made first, so it outlives this one.
  DefaultVision();
  static TObjectPtr<TLiteVision> vision(Create<TLiteVision>(nullptr));
  return vision.get();
}

void InstallLiteVision() {
  SetDefaultVision(LiteVision());
}

// ---- TDataListVision ----

TDataListVision::TDataListVision(TComponent* owner) : TToolFormVision(owner) {
  SetCompletesText(true);
}

void TDataListVision::SetDropDownRows(Integer value) {
  CheckPositive(value);
  dropDownRows_ = value;
}

TVisionToolForm* TDataListVision::DefaultDropDown() {
  return StockToolForm(stfDataList);
}

TDataSet* TDataListVision::OpenListDataSet(TtlFieldList* fields) {
  TDataSource* source = GetListSource(fields);
  TDataSet* ds = source ? source->DataSet() : nullptr;
  return ds && ds->Active() ? ds : nullptr;
}

String TDataListVision::ListText(TtlFieldList* fields) {
  TDataSet* ds = OpenListDataSet(fields);
  String name;
  GetListFieldName(fields, name);
  TField* field = ds ? ds->FindField(name) : nullptr;
  return field ? field->AsString() : String();
}

bool TDataListVision::AutoComplete(IznVisionEditor* editor, String& text, Integer& selEnd,
                                   Integer& selStart, const String& previousText) {
  if (text.empty()) {
    CompleteEmpty(editor);
    return true;
  }
  return CompleteText(editor, text, selEnd, selStart, previousText);
}

bool TDataListVision::CompleteText(IznVisionEditor* editor, String& text, Integer& selEnd,
                                   Integer& selStart, const String& previousText) {
  TtlFieldList* fields = editor->EditorFieldList();
  const bool extends = LastKeyExtends(editor);
  TDataSet* ds = OpenListDataSet(fields);
  String name;
  GetListFieldName(fields, name);
  const bool found =
      ds && ds->FindField(name) && ds->Locate(name, text, {loPartialKey, loCaseInsensitive});
  const String listText = found ? ListText(fields) : String();
  if (found && (extends || AnsiSameText(text, listText))) {
    selStart = Utf8Length(listText);
    selEnd = Utf8Length(text);
    text = listText;
    ApplyListChoice(editor, lcPickRecord);
    TellCurrentChanged(editor);
    return true;
  }
  if (!pickListValuesOnly_) {
    TfvCurrentValue* current = editor->CurrentValue();
    current->Clear();
    current->SetModified(false);
    ApplyListChoice(editor, lcNewText);
    TellCurrentChanged(editor);
    return true;
  }
  if (!extends) return true;  // a deletion inside the list's values is accepted
  selEnd = selStart - 1;
  selStart = Utf8Length(previousText);
  return false;
}

void TDataListVision::CompleteEmpty(IznVisionEditor* editor) {
  if (!nullable_) return;
  editor->CurrentValue()->Clear();
  ApplyListChoice(editor, lcNull);
  TellCurrentChanged(editor);
}

void TDataListVision::ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) {
  if (!editor->EditorText().empty()) {
    inherited::ReadEditValue(editor, value, skip);
    return;
  }
  // Cleared text: null for a nullable vision; otherwise the field keeps
  // its value instead of receiving an empty text.
  if (nullable_)
    value.Clear();
  else
    skip = true;
}

void RegisterListVisionClasses() {
  RegisterClass(TLiteVision::StaticClass());
}

}  // namespace brevant
