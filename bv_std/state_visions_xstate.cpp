// The x-state vision, its states and their collection.
#include "bv_std/state_visions_xstate.h"

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_db/obj_dataset.h"
#include "bv_rtm/draw_helpers.h"
#include "bv_std/state_blob_strings.h"
#include "bv_std/state_visions_paint.h"
#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "controls/menus.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "rtl/format.h"
#include "rtl/store_changed.h"

namespace brevant {

// ---- TXState ----

BV_PUBLISH(TXState, TCollectionItem) {
  p.Property("DisplayText", &TXState::DisplayText, &TXState::SetDisplayText);
  p.Property("ImageIndex", &TXState::ImageIndex, &TXState::SetImageIndex).Default(-1);
  p.Property("PushedImageIndex", &TXState::PushedImageIndex, &TXState::SetPushedImageIndex)
      .Default(-1);
  p.Property("FontColor", &TXState::FontColor, &TXState::SetFontColor)
      .Type(TypeInfoTColor())
      .Default(clNone);
  p.Property("FontStyle", &TXState::FontStyle, &TXState::SetFontStyle).Default(TFontStyles{});
  p.Property("FieldValue", &TXState::FieldValue, &TXState::SetFieldValue);
  p.Property("NullValue", &TXState::NullValue, &TXState::SetNullValue).Default(0);
  p.Property("Switchable", &TXState::Switchable, &TXState::SetSwitchable).Default(1);
  p.Property("InDropDownList", &TXState::InDropDownList, &TXState::SetInDropDownList).Default(1);
}

TXState::TXState(TCollection* collection) : TCollectionItem(collection) {}

String TXState::DisplayName() const {
  if (fieldValue_.empty() && displayText_.empty())
    return Format(bvres::SXStateEmptyName, {bvres::SXStateEmpty});
  if (nullValue_) return Format(bvres::SXStateNullName, {displayText_});
  return Format(bvres::SXStateValueName, {fieldValue_, displayText_});
}

void TXState::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TXState*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  displayText_ = other->displayText_;
  imageIndex_ = other->imageIndex_;
  pushedImageIndex_ = other->pushedImageIndex_;
  fontColor_ = other->fontColor_;
  fontStyle_ = other->fontStyle_;
  fieldValue_ = other->fieldValue_;
  nullValue_ = other->nullValue_;
  switchable_ = other->switchable_;
  inDropDownList_ = other->inDropDownList_;
  Changed(false);
}

void TXState::SetDisplayText(const String& value) {
  if (StoreChanged(displayText_, value)) Changed(false);
}

void TXState::SetImageIndex(Integer value) {
  if (StoreChanged(imageIndex_, value)) Changed(false);
}

void TXState::SetPushedImageIndex(Integer value) {
  if (StoreChanged(pushedImageIndex_, value)) Changed(false);
}

void TXState::SetFontColor(TColor value) {
  if (StoreChanged(fontColor_, value)) Changed(false);
}

void TXState::SetFontStyle(TFontStyles value) {
  if (StoreChanged(fontStyle_, value)) Changed(false);
}

void TXState::SetFieldValue(const String& value) {
  if (fieldValue_ == value) return;
  fieldValue_ = value;
  nullValue_ = false;
  Changed(false);
}

void TXState::SetNullValue(bool value) {
  if (nullValue_ == value) return;
  nullValue_ = value;
  if (value) {
    fieldValue_.clear();
    // Only one state stands for null.
    if (TCollection* states = Collection())
      for (Integer i = 0; i < states->Count(); ++i) {
        auto* other = static_cast<TXState*>(states->Items(i));
        if (other != this && other->nullValue_) {
          other->SetNullValue(false);
          break;
        }
      }
  }
  Changed(false);
}

void TXState::SetSwitchable(bool value) {
  if (StoreChanged(switchable_, value)) Changed(false);
}

void TXState::SetInDropDownList(bool value) {
  if (StoreChanged(inDropDownList_, value)) Changed(false);
}

// ---- TXStates ----

BV_PUBLISH(TXStates, TOwnedCollection) {}

TXStates::TXStates(TXStateVision* vision)
    : TOwnedCollection(vision, TXState::StaticClass()), vision_(vision) {}

TXState* TXStates::Items(Integer index) const {
  return static_cast<TXState*>(TCollection::Items(index));
}

TXState* TXStates::Add() {
  return static_cast<TXState*>(TCollection::Add());
}

void TXStates::Update(TCollectionItem*) {
  if (vision_) vision_->StatesChanged();
}

// ---- TXStateVision ----

BV_PUBLISH(TXStateVision, TDataListVision) {
  p.Property("Alignment", &TXStateVision::Alignment, &TXStateVision::SetAlignment)
      .Default(talDefault);
  p.Property("Images", &TXStateVision::Images, &TXStateVision::SetImages);
  p.Property("AlignImage", &TXStateVision::AlignImage, &TXStateVision::SetAlignImage)
      .Default(aiDefault);
  p.Property("DrawImages", &TXStateVision::DrawImages, &TXStateVision::SetDrawImages).Default(1);
  p.Property("DrawText", &TXStateVision::DrawText, &TXStateVision::SetDrawText).Default(1);
  p.Property("EnableButton", &TXStateVision::EnableButton, &TXStateVision::SetEnableButton)
      .Default(1);
  p.Property("ComboBoxStyle", &TXStateVision::ComboBoxStyle, &TXStateVision::SetComboBoxStyle)
      .Default(0);
  p.Property("Nullable", &TXStateVision::Nullable, &TXStateVision::SetNullable).Default(0);
  p.Property("DropDown", &TXStateVision::DropDown, &TXStateVision::SetDropDown);
  p.Property("DropDownOptions", &TXStateVision::DropDownOptions, &TXStateVision::SetDropDownOptions)
      .Default(TfvDropDownOptions{});
  p.Property("DropDownRows", &TXStateVision::DropDownRows, &TXStateVision::SetDropDownRows)
      .Default(7);
  p.Property("EnableDropDown", &TXStateVision::EnableDropDown, &TXStateVision::SetEnableDropDown)
      .Default(1);
  p.Property("OptionsSwitch", &TXStateVision::OptionsSwitch, &TXStateVision::SetOptionsSwitch)
      .Default(TfvSwitchOptions{vsoEditDataSet});
  p.Property("SwitchKey", &TXStateVision::SwitchKey, &TXStateVision::SetSwitchKey).Default(32);
  p.Property("SurfaceKind", &TXStateVision::SurfaceKind, &TXStateVision::SetSurfaceKind)
      .Default(vskEdit);
  p.Property("EnableSwitches", &TXStateVision::EnableSwitches, &TXStateVision::SetEnableSwitches)
      .Default(0);
  p.Property("States", &TXStateVision::States, &TXStateVision::SetStates);
  p.Property("DropDownImages", &TXStateVision::DropDownImages, &TXStateVision::SetDropDownImages);
  p.Event("OnGetValue", &TXStateVision::OnGetValue, "TfvGetStrValueEvent");
}

TXStateVision::TXStateVision(TComponent* owner)
    : TDataListVision(owner), states_(new TXStates(this)) {
  states_->SetPropName("States");
  SetNullable(false);
  SetEnableButton(true);
  SetButtonStyle(pbsDropDown);
}

TXStateVision::~TXStateVision() {
  if (dropDownImages_) dropDownImages_->RemoveFreeNotification(this);
  TXStates* states = states_;
  states_ = nullptr;
  TObject::Free(states);
}

void TXStateVision::StatesChanged() {
  NotifyRepaint();
}

Integer TXStateVision::FindState(TtlFieldList* fields) {
  String text;
  bool isNull = false;
  if (TField* f = fields->MainField()) {
    text = f->AsString();
  } else if (OnGetValue) {
    OnGetValue(this, fields, text, isNull);
  }
  isNull = isNull || text.empty();
  for (Integer i = 0; i < states_->Count(); ++i) {
    TXState* state = states_->Items(i);
    if (isNull ? state->NullValue() : !state->NullValue() && state->FieldValue() == text) return i;
  }
  return -1;
}

void TXStateVision::GetText(TtlFieldList* fields, bool, String& text) {
  currentState_ = FindState(fields);
  text = currentState_ >= 0 ? states_->Items(currentState_)->DisplayText() : String();
}

void TXStateVision::PrepareDraw(TtlFieldList* fields, TfvPainter* painter) {
  inherited::PrepareDraw(fields, painter);
  if (currentState_ < 0 || currentState_ >= states_->Count()) return;
  const TXState* state = states_->Items(currentState_);
  painter->SetImageIndex(state->ImageIndex());
  if (!IsCellPressed(fields, painter)) return;
  if (state->PushedImageIndex() != -1) painter->SetImageIndex(state->PushedImageIndex());
  if (TCanvas* canvas = painter->Canvas()) {
    TFont* font = canvas->Font();
    font->SetStyle(font->Style() + fsUnderline);
  }
}

void TXStateVision::DrawContent(TtlFieldList* fields, TfvPainter* painter) {
  if (IsFocusedStandalone(fields)) {
    const TRect& cell = painter->OuterRect();
    TRect focus(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1);
    if (DrawText()) {
      TRect text = painter->ContentRect();
      if (ImageWidth() != 0) {
        if (AlignImage() == aiRight)
          text.Right -= ImageWidth();
        else
          text.Left += ImageWidth();
      }
      focus.Left = text.Left - 1;
      focus.Right = text.Right + 1;
    }
    DrawFocusRectBW(painter->Canvas(), focus);
  }
  inherited::DrawContent(fields, painter);
}

void TXStateVision::CheckFields(TtlFieldList* fields, bool& active) {
  TField* main = fields->MainField();
  active = !fields->FieldNames().empty() && main && !main->IsBlob();
}

void TXStateVision::LoadCurrentValue(IznVisionEditor* editor) {
  TfvCurrentValue* value = editor->CurrentValue();
  value->Clear();
  value->SetDataType(ftString);
  TField* f = editor->EditorFieldList()->MainField();
  const String text = f ? f->AsString() : String();
  if (!text.empty()) value->SetAsString(text);
  value->SetModified(false);
  value->SetTextModified(false);
}

Integer TXStateVision::NextSwitchable(Integer from) const {
  for (Integer i = from + 1; i < states_->Count(); ++i)
    if (states_->Items(i)->Switchable()) return i;
  if (from < 0) return -1;
  for (Integer i = 0; i < states_->Count(); ++i)
    if (states_->Items(i)->Switchable()) return i;
  return -1;
}

void TXStateVision::Step(IznVisionEditor* editor, bool& posted) {
  posted = false;
  const Integer next = NextSwitchable(FindState(editor->EditorFieldList()));
  // No switchable state: nothing is written, and nothing is reported.
  if (next < 0) return;
  const TXState* state = states_->Items(next);
  TfvCurrentValue* value = editor->CurrentValue();
  if (state->NullValue())
    value->Clear();
  else
    value->SetAsString(state->FieldValue());
  value->SetModified(true);
  posted = PostEdit(editor, false);
}

void TXStateVision::SwitchByKey(IznVisionEditor* editor, bool& posted) {
  Step(editor, posted);
}

void TXStateVision::SwitchByMouse(IznVisionEditor* editor, bool& posted) {
  Step(editor, posted);
}

void TXStateVision::CanSwitchByKey(IznVisionEditor*, Word key, bool& allow, TShiftState shift) {
  allow = switchKey_ != 0 && ShortCut(key, shift) == switchKey_;
}

TAlignment TXStateVision::GetAlignment(TtlFieldList*) {
  return taLeftJustify;
}

bool TXStateVision::WantArrows() {
  return !EnableSwitches();
}

bool TXStateVision::IsValidChar(TtlFieldList*, char32_t) {
  return true;
}

Integer TXStateVision::GetMaxLength(TtlFieldList*) {
  return 0;
}

void TXStateVision::SetEnableSwitches(bool value) {
  inherited::SetEnableSwitches(value);
  if (value) inherited::SetSurfaceKind(vskCustom);
}

void TXStateVision::SetSurfaceKind(TfvSurfaceKind value) {
  inherited::SetSurfaceKind(value);
  if (value == vskEdit) inherited::SetEnableSwitches(false);
}

void TXStateVision::SetStates(TXStates* value) {
  if (value != states_) states_->Assign(value);
}

void TXStateVision::InitEdit(IznVisionEditor* editor) {
  inherited::InitEdit(editor);
  TObjDataSet* ds = EditObjDataSet(editor);
  ds->Close();
  ds->SetObjectRef(states_);
  ds->Open();
}

void TXStateVision::GetListFieldName(TtlFieldList*, String& name) {
  name = ListFieldName();
}

TDataSource* TXStateVision::GetListSource(TtlFieldList* fields) {
  return fields->HasEditListData() ? fields->EditDataSource() : nullptr;
}

void TXStateVision::ApplyListChoice(IznVisionEditor* editor, Integer choice) {
  TfvCurrentValue* current = editor->CurrentValue();
  if (choice == lcNull) current->Clear();
  if (choice != lcPickRecord) return;
  TDataSet* ds = OpenListDataSet(editor->EditorFieldList());
  TField* field = ds ? ds->FindField("FieldValue") : nullptr;
  if (!field) return;
  // A null state posts null, any other its field text.
  TField* isNull = ds->FindField("NullValue");
  if (isNull && isNull->AsBoolean())
    current->Clear();
  else
    current->SetAsString(field->AsString());
}

void TXStateVision::SetDropDownImages(TImageList* value) {
  if (dropDownImages_ == value) return;
  if (dropDownImages_) dropDownImages_->RemoveFreeNotification(this);
  dropDownImages_ = value;
  if (dropDownImages_) dropDownImages_->FreeNotification(this);
}

void TXStateVision::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == dropDownImages_) dropDownImages_ = nullptr;
}

void TXStateVision::Assign(const TPersistent* source) {
  inherited::Assign(source);
  const auto* other = dynamic_cast<const TXStateVision*>(source);
  if (!other) return;
  SetSwitchKey(other->switchKey_);
  SetNullable(other->Nullable());
  SetDropDownRows(other->DropDownRows());
  SetStates(other->states_);
}

}  // namespace brevant
