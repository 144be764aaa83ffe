// TStandardVision: the pick list, its dataset while editing, typed values
// and the most-recently-used order.
#include "bv_std/list_visions_standard.h"

#include "bv/field_list.h"
#include "bv_db/obj_dataset.h"
#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "db/datasource.h"
#include "db/field.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"

namespace brevant {

BV_PUBLISH(TStandardVision, TDataListVision) {
  using V = TStandardVision;
  p.Property("ComboBoxStyle", &V::ComboBoxStyle, &V::SetComboBoxStyle).Default(0);
  p.Property("Alignment", &V::Alignment, &V::SetAlignment).Default(talDefault);
  p.Property("MaxLength", &V::MaxLength, &V::SetMaxLength).Default(0);
  p.Property("EditMask", &V::EditMask, &V::SetEditMask);
  p.Property("EnableButton", &V::EnableButton, &V::SetEnableButton).Default(1);
  p.Property("EditReadOnly", &V::EditReadOnly, &V::SetEditReadOnly).Default(0);
  p.Property("Images", &V::Images, &V::SetImages);
  p.Property("AlignImage", &V::AlignImage, &V::SetAlignImage).Default(aiDefault);
  p.Property("DrawImages", &V::DrawImages, &V::SetDrawImages).Default(1);
  p.Property("Nullable", &V::Nullable, &V::SetNullable).Default(1);
  p.Property("DropDown", &V::DropDown, &V::SetDropDown);
  p.Property("DropDownOptions", &V::DropDownOptions, &V::SetDropDownOptions)
      .Default(TfvDropDownOptions{});
  p.Property("DropDownRows", &V::DropDownRows, &V::SetDropDownRows).Default(7);
  p.Property("EnableDropDown", &V::EnableDropDown, &V::SetEnableDropDown).Default(1);
  p.Property("PickList", &V::PickList, &V::SetPickList);
  p.Property("PickListValuesOnly", &V::PickListValuesOnly, &V::SetPickListValuesOnly).Default(0);
  p.Property("PickListType", &V::PickListType, &V::SetPickListType).Default(pltDefault);
  p.Property("SkipCharValidation", &V::SkipCharValidation, &V::SetSkipCharValidation).Default(0);
  p.Event("OnGetValue", &V::OnGetValue, "TfvGetStrValueEvent");
  p.Event("OnNewValue", &V::OnNewValue, "TfvStdNewValueEvent");
}

namespace {

bool IsMRU(TfvPickListType type) {
  return type == pltMRU || type == pltSortedMRU;
}

}  // namespace

TStandardVision::TStandardVision(TComponent* owner)
    : TDataListVision(owner), pickList_(Create<TtlPickList>(this)) {
  SetEnableButton(true);
  SetPickListValuesOnly(false);
}

TStandardVision::~TStandardVision() = default;

void TStandardVision::SetPickList(TStrings* value) {
  if (value == pickList_.get()) return;
  pickList_->Assign(value);
}

void TStandardVision::SetPickListType(TfvPickListType value) {
  if (pickListType_ == value) return;
  pickListType_ = value;
  pickList_->SetSorted(value == pltSorted || value == pltSortedMRU);
}

void TStandardVision::GetText(TtlFieldList* fields, bool displayText, String& text) {
  LiteGetText(this, OnGetValue, fields, displayText, text);
}

void TStandardVision::CheckFields(TtlFieldList* fields, bool& active) {
  active = LiteFieldsActive(fields);
}

void TStandardVision::GetEditMask(TtlFieldList* fields, String& mask) {
  LiteEditMask(this, fields, mask);
}

bool TStandardVision::IsValidChar(TtlFieldList* fields, char32_t key) {
  return skipCharValidation_ || inherited::IsValidChar(fields, key);
}

void TStandardVision::InitEdit(IznVisionEditor* editor) {
  inherited::InitEdit(editor);
  skippedPending_ = false;
  TObjDataSet* ds = EditObjDataSet(editor);
  ds->Close();
  ds->SetObjectRef(pickList_.get());
  ds->Open();
}

void TStandardVision::ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) {
  inherited::ReadEditValue(editor, value, skip);
  skippedPending_ = false;
  String text = editor->EditorText();
  if (skip || text.empty()) return;
  TtlFieldList* fields = editor->EditorFieldList();
  bool doSkip = false;
  if (OnNewValue) OnNewValue(this, fields, text, doSkip);
  value.SetAsString(text);
  if (doSkip) {
    skippedText_ = text;
    skippedPending_ = true;
    return;
  }
  if (IsMRU(pickListType_) && pickList_->AddMissing(text)) RefreshLists(fields);
}

void TStandardVision::PostValue(TtlFieldList* fields, const TznUniValue& value) {
  inherited::PostValue(fields, value);
  const bool skipped = skippedPending_;
  skippedPending_ = false;
  if (pickListType_ != pltMRU || value.IsNull()) return;
  const String text = value.AsString();
  if (text.empty() || (skipped && text == skippedText_)) return;
  pickList_->MoveToFront(text);
  RefreshLists(fields);
}

void TStandardVision::RefreshLists(TtlFieldList* fields) {
  if (!fields->HasEditListData()) return;
  TObjDataSet* ds = fields->EditObjDataSet();
  if (ds->Active() && ds->ObjectRef() == pickList_.get()) ds->Refresh();
}

void TStandardVision::GetListFieldName(TtlFieldList*, String& name) {
  name = "Value";
}

TDataSource* TStandardVision::GetListSource(TtlFieldList* fields) {
  return fields->HasEditListData() ? fields->EditDataSource() : nullptr;
}

void TStandardVision::ApplyListChoice(IznVisionEditor* editor, Integer choice) {
  TfvCurrentValue* current = editor->CurrentValue();
  if (choice == lcNull) current->Clear();
  if (choice != lcPickRecord) return;
  TDataSet* ds = OpenListDataSet(editor->EditorFieldList());
  TField* field = ds ? ds->FindField("value") : nullptr;
  if (field) current->SetAsString(field->AsString());
}

void TStandardVision::Assign(const TPersistent* source) {
  inherited::Assign(source);
  auto* other = dynamic_cast<const TStandardVision*>(source);
  if (!other || other == this) return;
  SetComboBoxStyle(other->ComboBoxStyle());
  SetMaxLength(other->MaxLength());
  SetEditMask(other->EditMask());
  SetEnableButton(other->EnableButton());
  SetEditReadOnly(other->EditReadOnly());
  SetImages(other->Images());
  SetAlignImage(other->AlignImage());
  SetDrawImages(other->DrawImages());
  SetNullable(other->Nullable());
  SetDropDown(other->DropDown());
  SetDropDownOptions(other->DropDownOptions());
  SetDropDownRows(other->DropDownRows());
  SetEnableDropDown(other->EnableDropDown());
  SetPickListType(other->PickListType());
  SetPickList(other->PickList());
  SetPickListValuesOnly(other->PickListValuesOnly());
  SetSkipCharValidation(other->SkipCharValidation());
}

void RegisterStandardVisionClasses() {
  RegisterClass(TStandardVision::StaticClass());
}

}  // namespace brevant
