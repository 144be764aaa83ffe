// TDBQuentaEdit: life cycle, properties, binding to the fields through the
// field list, the data link's slots, edit state, loading the text and what
// a change of the text means.
#include "bv/db_edit.h"

#include "bv/datalink_ex.h"
#include "bv/db_edit_switchers.h"
#include "bv/field_vision.h"
#include "bv/grid_messages.h"
#include "classes/rtti_builder.h"
#include "controls/menus.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/field.h"
#include "rtl/scope.h"

namespace brevant {

// ---- life cycle ----

TDBQuentaEdit::TDBQuentaEdit(TComponent* owner)
    : TCustomMaskEdit(owner), dataLink_(std::make_unique<TDataLinkEx>()) {
  fieldList_ = std::make_unique<TtlFieldList>(this, this, fokEdit, dataLink_.get());
  fieldList_->SetEditor(this);
  current_ = std::make_unique<TfvCurrentValue>(this);
  buttonSwitcher_ = Create<TznEditBtnSwitcher>(this);
  surfaceSwitcher_ = Create<TznEditSwitcher>(this);
  dataLink_->OnActiveChanged = TDataLinkExEvent::Of<&TDBQuentaEdit::LinkActiveChanged>(this);
  dataLink_->OnLayoutChanged = TDataLinkExEvent::Of<&TDBQuentaEdit::LinkActiveChanged>(this);
  dataLink_->OnDataSetChanged = TDataLinkExEvent::Of<&TDBQuentaEdit::LinkDataChanged>(this);
  dataLink_->OnDataSetScrolled = TDataLinkExScrolledEvent::Of<&TDBQuentaEdit::LinkScrolled>(this);
  dataLink_->OnRecordChanged = TDataLinkExFieldEvent::Of<&TDBQuentaEdit::LinkRecordChanged>(this);
  dataLink_->OnUpdateData = TDataLinkExEvent::Of<&TDBQuentaEdit::LinkUpdateData>(this);
  dataLink_->OnFocusControl = TDataLinkExFocusEvent::Of<&TDBQuentaEdit::LinkFocusControl>(this);
  dataLink_->SetVisualControl(true);
  // The text becomes writable only once an edit has started.
  TCustomEdit::SetReadOnly(true);
  SetValidateOnExit(false);  // the vision reports a bad mask on posting
}

void TDBQuentaEdit::BeforeDestruction() {
  // The switchers must not repaint a control that is going.
  buttonSwitcher_->Release();
  surfaceSwitcher_->Release();
  if (mapper_) mapper_->UnregisterConsumer(this);
  mapper_ = nullptr;
  TCustomMaskEdit::BeforeDestruction();
}

TDBQuentaEdit::~TDBQuentaEdit() {
  TObject::Free(buttonSwitcher_);
  TObject::Free(surfaceSwitcher_);
  // The link lets go of its source when it goes; its slots must not call
  // back into a control that is going.
  TDataLinkEx& link = *dataLink_;
  link.OnActiveChanged = link.OnLayoutChanged = link.OnDataSetChanged = TDataLinkExEvent();
  link.OnDataSetScrolled = TDataLinkExScrolledEvent();
  link.OnRecordChanged = TDataLinkExFieldEvent();
  link.OnUpdateData = TDataLinkExEvent();
  link.OnFocusControl = TDataLinkExFocusEvent();
  fieldList_.reset();
}

void TDBQuentaEdit::Notification(TComponent* component, TOperation operation) {
  TCustomMaskEdit::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == mapper_) mapper_ = nullptr;  // going: nothing to unregister from
  if (component == vision_) {
    // Not a choice made by hand: an imported vision keeps the import on.
    TTemporaryChange<bool> freeing(mapping_, true);
    SetVision(nullptr);
  }
  if (component == popupMenu_) SetOwnPopupMenu(nullptr);
  if (dataLink_ && component == DataSource()) SetDataSource(nullptr);
}

// ---- properties ----

void TDBQuentaEdit::SetDisplayFormat(const String& value) {
  if (value == fieldList_->DisplayFormat()) return;
  fieldList_->SetDisplayFormat(value);
  ReloadText();
}

void TDBQuentaEdit::SetCaption(const String& value) {
  if (value == caption_) return;
  caption_ = value;
  if (!mapping_ && mapper_) mappingOptions_.Exclude(eioImportCaption);
  if (UpdateTitle()) Invalidate();
}

void TDBQuentaEdit::SetDataField(const String& value) {
  if (value == fieldList_->FieldNames()) return;
  fieldList_->SetFieldNames(value);
  Rebind();
  if (!mappingOptions_.Empty()) ApplyMapping();
}

void TDBQuentaEdit::SetVision(TznFieldVision* value) {
  if (value == vision_) return;
  if (vision_) vision_->RemoveFreeNotification(this);
  fieldList_->SetVision(value);
}

TDataSource* TDBQuentaEdit::DataSource() const {
  return dataLink_->DataSource();
}

void TDBQuentaEdit::SetDataSource(TDataSource* value) {
  if (value == DataSource()) return;
  if (TDataSource* old = DataSource()) old->RemoveFreeNotification(this);
  dataLink_->SetDataSource(value);
  if (value) value->FreeNotification(this);
  Rebind();
}

bool TDBQuentaEdit::ReadOnly() const {
  return dataLink_->ReadOnly();
}

void TDBQuentaEdit::SetReadOnly(bool value) {
  if (value == ReadOnly()) return;
  dataLink_->SetReadOnly(value);
  ReloadText();
}

void TDBQuentaEdit::SetBorderStyle(TznBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
  AdjustHeight();
}

void TDBQuentaEdit::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  if (value) SetEditMask(String());
  if (HandleAllocated()) RecreateWnd();
}

void TDBQuentaEdit::SetOwnPopupMenu(TComponent* value) {
  if (value == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (value) value->FreeNotification(this);
  UpdatePopupMenu();
}

void TDBQuentaEdit::SetOpenToolForm(IznToolFormHost* toolForm) {
  if (toolForm == toolFormHost_) return;
  toolFormHost_ = toolForm;
  toolForm_ = toolForm ? toolForm->GetToolForm() : nullptr;
  if (CustomSurface()) Invalidate();
}

void TDBQuentaEdit::SelectEditText(Integer start, Integer length) {
  SetSelStart(start);
  SetSelLength(length);
}

bool TDBQuentaEdit::SurfacePressed() {
  return surfaceSwitcher_->Pressed() && surfaceSwitcher_->Down();
}

bool TDBQuentaEdit::CustomSurface() const {
  return EffectiveVision() && EffectiveVision()->SurfaceKind() == vskCustom;
}

bool TDBQuentaEdit::Writable() {
  return !EffectiveVision()->EditReadOnly() && !ReadOnly();
}

// ---- binding ----

void TDBQuentaEdit::Rebind() {
  if (rebindSuppressed_) return;
  fieldList_->Bind(dataLink_->DataSet());
  UpdateActive();
  UpdateTitle();
  ReloadText();
  Invalidate();
}

void TDBQuentaEdit::UpdateActive() {
  const bool was = fieldList_->Active();
  bool active = dataLink_->Active();
  if (active) active = fieldList_->CheckActive();
  fieldList_->SetActive(active);
  if (active != was) ReloadText();
}

bool TDBQuentaEdit::UpdateTitle() {
  TznFieldVision* vision = EffectiveVision();
  TtlFieldList& f = *fieldList_;
  String caption = caption_;
  if (caption.empty()) vision->GetCaption(&f, caption);
  const TAlignment alignment = vision->TextAlignment(&f);
  const TTextLayout layout = ToLayout(vision->GetLayout(&f));
  const bool alignmentChanged = BiDiAlignment(alignment) != f.Alignment();
  const bool changed = alignmentChanged || caption != f.Caption() || layout != f.Layout();
  f.SetCaption(caption);
  // Right-to-left alignment mirrors the face; the native edit mirrors its
  // own lines (see CreateParams).
  f.SetAlignment(BiDiAlignment(alignment));
  f.SetLayout(layout);
  if (alignmentChanged && vision->MultiLine() && HandleAllocated()) RecreateWnd();
  return changed;
}

void TDBQuentaEdit::UpdatePopupMenu() {
  TComponent* menu = popupMenu_;
  if (!menu) menu = EffectiveVision()->GetPopupMenu();
  SetPopupMenu(menu);
}

void TDBQuentaEdit::VisionChanged(TznFieldVision* vision) {
  vision_ = vision;
  // A vision chosen by hand is kept from then on: the mapper no longer
  // imports one.
  if (!mapping_ && mapper_) mappingOptions_.Exclude(eioImportDomain);
  if (vision_) vision_->FreeNotification(this);
  Rebind();
  UpdatePopupMenu();
  ButtonChanged();
  if (HandleAllocated()) RecreateWnd();
}

void TDBQuentaEdit::EditStyleChanged() {
  if (HandleAllocated()) RecreateWnd();
}

bool TDBQuentaEdit::CanStartEdit() {
  return EffectiveVision()->AllowEdit(fieldList_.get()) && CanEditNow();
}

void TDBQuentaEdit::EditStarted() {
  if (Writable()) TCustomEdit::SetReadOnly(false);
}

// ---- the data link's slots ----

void TDBQuentaEdit::LinkActiveChanged(TDataLinkEx*) {
  Rebind();
}

void TDBQuentaEdit::LinkDataChanged(TDataLinkEx*) {
  ReloadText();
}

void TDBQuentaEdit::LinkScrolled(TDataLinkEx*, Integer) {
  ReloadText();
}

void TDBQuentaEdit::LinkRecordChanged(TDataLinkEx*, TField*) {
  ReloadText();
}

void TDBQuentaEdit::LinkUpdateData(TDataLinkEx*) {
  PostIfEditing();
}

void TDBQuentaEdit::LinkFocusControl(TDataLinkEx*, TField*& field) {
  if (!field || field != fieldList_->MainField() || !CanFocus()) return;
  field = nullptr;
  SetFocus();
}

// ---- edit state and text ----

void TDBQuentaEdit::SetEditState(bool on) {
  if (on == editState_) return;
  current_->Clear();
  current_->SetModified(false);
  editState_ = on;
  if (on) {
    fieldList_->SetEditing(false);
    lastKey_ = false;
  } else {
    // The lists built for this edit session are not kept past it.
    fieldList_->FreeEditListData();
  }
  ReloadText();
  if (on && fieldList_->Active()) {
    EffectiveVision()->InitEdit(this);
    EffectiveVision()->AfterInitEdit(this);
  }
  Invalidate();
}

void TDBQuentaEdit::ReloadText() {
  TTemporaryChange<bool> loading(loading_, true);
  TtlFieldList* f = fieldList_.get();
  TznFieldVision* vision = EffectiveVision();
  if (!f->Active()) {
    SetEditMask(String());
    TCustomEdit::SetText(IsDesigning() ? Name() : String());
    Invalidate();
    return;
  }
  const bool reloading = editState_ && !f->Starting();
  if (reloading) ReleaseInput(nullptr);
  TCustomEdit::SetReadOnly(true);
  if (!editState_ || ReadOnly() || vision->ReadOnly()) {
    SetEditMask(String());
    SetMaxLength(0);
    TCustomEdit::SetText(vision->GetFieldText(f, true));
  } else {
    String mask;
    vision->GetEditMask(f, mask);
    if (!wordWrap_) SetEditMask(mask);
    SetMaxLength(vision->GetMaxLength(f));
    const String text = vision->GetFieldText(f, false);
    if (TCustomMaskEdit::Text() != text) TCustomMaskEdit::SetText(text);
    previousText_ = EditText();
  }
  Invalidate();
  if (reloading) {
    f->SetEditing(false);
    vision->LoadCurrentValue(this);
  }
}

void TDBQuentaEdit::ResetText() {
  ReloadText();
  SelectAll();
}

bool TDBQuentaEdit::PostIfEditing() {
  if (!editState_) return true;
  return EffectiveVision()->PostEdit(this, false);
}

bool TDBQuentaEdit::SetEditText(const String& text, bool selectAll) {
  if (!editState_ || !fieldList_->StartEdit(true)) return false;
  {
    TTemporaryChange<bool> loading(loading_, true);
    TCustomMaskEdit::SetText(text);
  }
  current_->SetTextModified(true);
  if (selectAll) SelectAll();
  current_->SetModified(false);
  return true;
}

void TDBQuentaEdit::Change() {
  TCustomMaskEdit::Change();
  if (!HandleAllocated() || loading_ || completing_ || !editState_) return;
  TTemporaryChange<bool> handling(completing_, true);
  const String previous = previousText_;
  if (changeLock_) {
    // Typed or pasted over a selection: no completion, but the text is
    // still what the user typed and must be posted.
    previousText_ = EditText();
    MarkModified(previous);
    return;
  }
  if (!EffectiveVision()->CompletesText() || IsMasked()) {
    previousText_ = EditText();
    MarkModified(previous);
    return;
  }
  CompleteText();
}

void TDBQuentaEdit::CompleteText() {
  const String previous = previousText_;
  String text = EditText();
  Integer selStart = SelStart();
  Integer selEnd = selStart + SelLength();
  const bool wasModified = Modified();
  if (EffectiveVision()->AutoComplete(this, text, selEnd, selStart, previousText_)) {
    previousText_ = text;
    if (EditText() != text) TCustomEdit::SetText(text);
    MarkModified(previous);
  } else {
    TCustomEdit::SetText(previousText_);
    SetModified(wasModified);
  }
  SetSelection(selStart, selEnd);
  ScrollCaret();
  previousText_ = EditText();
  completedText_ = previousText_;
  completedStart_ = SelStart();
  completedLength_ = SelLength();
}

bool TDBQuentaEdit::SelectionIsCompletion() {
  return completedLength_ > 0 && SelStart() == completedStart_ && SelLength() == completedLength_ &&
         EditText() == completedText_;
}

void TDBQuentaEdit::MarkModified(const String& previous) {
  SetModified(true);
  current_->TextChanged(previous);
  if (toolFormHost_) toolFormHost_->TextChanged();
}

// ---- mapping ----

void TDBQuentaEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  ApplyMapping();
}

void TDBQuentaEdit::SetAttrs(const String& value) {
  if (fieldList_->Attrs() == value) return;
  fieldList_->SetAttrs(value);
  if (!mappingOptions_.Empty()) ApplyMapping();
}

void TDBQuentaEdit::SetMappingOptions(TtlMappingOptions value) {
  if (mappingOptions_ == value) return;
  mappingOptions_ = value;
  if (!mappingOptions_.Empty()) ApplyMapping();
}

void TDBQuentaEdit::SetMapper(TznCustomFieldMapper* value) {
  if (mapper_ == value) return;
  if (mapper_) {
    mapper_->UnregisterConsumer(this);
    mapper_->RemoveFreeNotification(this);
  }
  mapper_ = value;
  if (mapper_) {
    mapper_->RegisterConsumer(this);
    mapper_->FreeNotification(this);
  }
  ApplyMapping();
}

void TDBQuentaEdit::ApplyMapping() {
  if (ComponentState().Contains(csLoading)) return;
  if (DataField().empty() || !mapper_ || mappingOptions_.Empty()) return;
  TTemporaryChange<bool> mapping(mapping_, true);
  const TznMappingEntry* entry = mapper_->EntryForFields(fieldList_.get());
  if (mappingOptions_.Contains(eioImportDomain)) SetVision(entry ? entry->Vision : nullptr);
  if (mappingOptions_.Contains(eioImportCaption)) SetCaption(entry ? entry->Caption : String());
}

bool TDBQuentaEdit::IsVisionStored() const {
  return vision_ && !(mapper_ && mappingOptions_.Contains(eioImportDomain));
}

bool TDBQuentaEdit::IsCaptionStored() const {
  return !caption_.empty() && !(mapper_ && mappingOptions_.Contains(eioImportCaption));
}

// ---- published interface ----

void RegisterDBEditClasses() {
  RegisterClass(TDBQuentaEdit::StaticClass());
}

BV_PUBLISH(TDBQuentaEdit, TCustomMaskEdit) {
  p.Property("Attrs", &TDBQuentaEdit::Attrs, &TDBQuentaEdit::SetAttrs);
  p.Property("DisplayFormat", &TDBQuentaEdit::DisplayFormat, &TDBQuentaEdit::SetDisplayFormat);
  p.Property("EditFormat", &TDBQuentaEdit::EditFormat, &TDBQuentaEdit::SetEditFormat);
  p.Property("MappingOptions", &TDBQuentaEdit::MappingOptions, &TDBQuentaEdit::SetMappingOptions)
      .Default(TtlMappingOptions{eioImportDomain});
  p.Property("Mapper", &TDBQuentaEdit::Mapper, &TDBQuentaEdit::SetMapper);
  p.Property("Caption", &TDBQuentaEdit::Caption, &TDBQuentaEdit::SetCaption)
      .Stored(&TDBQuentaEdit::IsCaptionStored);
  p.Property("DataField", &TDBQuentaEdit::DataField, &TDBQuentaEdit::SetDataField);
  p.Property("Vision", &TDBQuentaEdit::Vision, &TDBQuentaEdit::SetVision)
      .Stored(&TDBQuentaEdit::IsVisionStored);
  p.Property("DataSource", &TDBQuentaEdit::DataSource, &TDBQuentaEdit::SetDataSource);
  p.Property("ReadOnly", &TDBQuentaEdit::ReadOnly, &TDBQuentaEdit::SetReadOnly).Default(0);
  p.Property("BorderStyle", &TDBQuentaEdit::BorderStyle, &TDBQuentaEdit::SetBorderStyle)
      .Default(bs3D);
  p.Property("WordWrap", &TDBQuentaEdit::WordWrap, &TDBQuentaEdit::SetWordWrap).Default(0);
  p.Property("WantTabs", &TDBQuentaEdit::WantTabs, &TDBQuentaEdit::SetWantTabs).Default(0);
  p.Property("WantReturns", &TDBQuentaEdit::WantReturns, &TDBQuentaEdit::SetWantReturns).Default(0);
  p.Property("AutoSelect", &TDBQuentaEdit::AutoSelect, &TDBQuentaEdit::SetAutoSelect).Default(1);
  p.Property("AutoSize", &TDBQuentaEdit::AutoSize, &TDBQuentaEdit::SetAutoSize).Default(1);
  p.Property("CharCase", &TDBQuentaEdit::CharCase, &TDBQuentaEdit::SetCharCase).Default(ecNormal);
  p.Property("PasswordChar", &TDBQuentaEdit::PasswordChar, &TDBQuentaEdit::SetPasswordChar)
      .Default(0);
  p.Property("TabStop", &TDBQuentaEdit::TabStop, &TDBQuentaEdit::SetTabStop).Default(1);
  p.Event("OnChange", static_cast<TNotifyEvent TDBQuentaEdit::*>(&TDBQuentaEdit::OnChange),
          "TNotifyEvent");
  p.Event("OnMouseEnter", &TDBQuentaEdit::OnMouseEnter, "TNotifyEvent");
  p.Event("OnMouseLeave", &TDBQuentaEdit::OnMouseLeave, "TNotifyEvent");
  p.Event("OnDraw", &TDBQuentaEdit::OnDraw, "TznDrawEditEvent");
  p.Event("OnAction", &TDBQuentaEdit::OnAction, "TznActionEvent");
}

}  // namespace brevant
