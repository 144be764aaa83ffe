// TVLookupVision: looked-up texts and images, keys for the editor, the
// drop-down list over the lookup dataset.
#include "bv_std/lookup_visions_v.h"

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_std/lookup_publish.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"

namespace brevant {

BV_PUBLISH(TVLookupVision, TznLookupListVision) {
  using V = TVLookupVision;
  PublishLookupCommon(p);
  p.Property("LookupParams", &V::LookupParams, &V::SetLookupParams);
  p.Property("AllowNewKeys", &V::AllowNewKeys, &V::SetAllowNewKeys).Default(0);
  p.Event("OnGetValue", &V::OnGetValue, "TfvGetVarValueEvent");
}

TVLookupVision::TVLookupVision(TComponent* owner)
    : TznLookupListVision(owner), params_(Create<TVLookupParams>(this)) {}

TVLookupVision::~TVLookupVision() = default;

void TVLookupVision::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && params_)
    if (auto* source = dynamic_cast<TDataSource*>(component)) params_->SourceRemoved(source);
}

void TVLookupVision::Loaded() {
  inherited::Loaded();
  if (params_->DataSource()) ParamsFieldsChanged();
}

Variant TVLookupVision::KeyOf(TtlFieldList* fields) {
  if (TField* main = fields->MainField()) return main->AsVariant();
  Variant key = Null();
  if (OnGetValue) OnGetValue(this, fields, key);
  return key;
}

void TVLookupVision::GetText(TtlFieldList* fields, bool, String& text) {
  lookedUpImage_ = -1;
  if (!params_->Browsing()) return;
  text.clear();
  if (!fields->MainField() && !OnGetValue) return;
  Variant lookup, image;
  if (!params_->Find(KeyOf(fields), lookup, image)) return;
  const bool imaged = params_->NumericImage() && DrawImages() && Images();
  if (imaged && !VarIsNull(image)) lookedUpImage_ = image.AsInteger();
  text = VarIsNull(lookup) ? String() : VarToStr(lookup);
}

void TVLookupVision::PrepareDraw(TtlFieldList* fields, TfvPainter* painter) {
  inherited::PrepareDraw(fields, painter);
  painter->SetImageIndex(lookedUpImage_);
}

void TVLookupVision::CheckFields(TtlFieldList* fields, bool& active) {
  TField* main = fields->MainField();
  active = !fields->FieldNames().empty() && !(main && main->IsBlob()) && params_->Valid();
}

void TVLookupVision::LoadCurrentValue(IznVisionEditor* editor) {
  LoadKey(editor, KeyOf(editor->EditorFieldList()));
}

void TVLookupVision::GetListFieldName(TtlFieldList*, String& name) {
  name = params_->LookupField();
}

TDataSource* TVLookupVision::GetListSource(TtlFieldList*) {
  return params_->EditDataSource() ? params_->EditDataSource() : params_->DataSource();
}

String TVLookupVision::ListKeyFields(TtlFieldList*) {
  return params_->KeyField();
}

void RegisterVLookupVisionClasses() {
  RegisterClass(TVLookupVision::StaticClass());
}

}  // namespace brevant
