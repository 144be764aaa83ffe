// The vision's life cycle, registration, notifications, properties and the
// text side of its operations. Editing and drawing are in
// field_vision_edit.cpp.
#include "bv/field_vision.h"

#include <algorithm>
#include <cassert>

#include "bv/columns.h"
#include "bv/designer.h"
#include "bv/field_list.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/child_font.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/field.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "rtl/scope.h"

namespace brevant {

BV_ENUM_INFO(TznDefAlignment, talDefault, talLeftJustify, talRightJustify, talCenter)
BV_ENUM_INFO(TznDefLayout, tlaDefault, tlaTop, tlaCenter, tlaBottom)
BV_ENUM_INFO(TznAlignImage, aiDefault, aiLeft, aiRight)
BV_ENUM_INFO(TznButtonStyle, pbsDropDown, pbsEllipsis, pbsSpin, pbsCustom)
BV_ENUM_INFO(TfvSwitchOption, vsoEditDataSet, vsoNeedCurrent, vsoNeedEditing)
BV_SET_INFO(TfvSwitchOptions, TfvSwitchOption)
BV_ENUM_INFO(TfvSurfaceKind, vskEdit, vskCustom)
BV_ENUM_INFO(TfvDropDownOption, ddoShowOnEnter, ddoShowOnTyping, ddoAlwaysEnableAltDown,
             ddoNoFocusRect)
BV_SET_INFO(TfvDropDownOptions, TfvDropDownOption)

TAlignment ToAlignment(TznDefAlignment value) {
  switch (value) {
    case talRightJustify:
      return taRightJustify;
    case talCenter:
      return taCenter;
    default:
      return taLeftJustify;
  }
}

TTextLayout ToLayout(TznDefLayout value) {
  switch (value) {
    case tlaCenter:
      return tlCenter;
    case tlaBottom:
      return tlBottom;
    default:
      return tlTop;
  }
}

BV_PUBLISH(TznFieldVision, TComponent) {
  p.Property("Caption", &TznFieldVision::Caption, &TznFieldVision::SetCaption);
  p.Property("Description", &TznFieldVision::Description, &TznFieldVision::SetDescription);
  p.Property("RelatedFields", &TznFieldVision::RelatedFields, &TznFieldVision::SetRelatedFields);
  p.Property("ReadOnly", &TznFieldVision::ReadOnly, &TznFieldVision::SetReadOnly).Default(0);
  p.Event("OnAction", &TznFieldVision::OnAction, "TfvActionEvent");
  p.Event("OnButtonClick", &TznFieldVision::OnButtonClick, "TfvNotifyEvent");
  p.Event("OnDblClick", &TznFieldVision::OnDblClick, "TfvNotifyEvent");
  p.Event("OnGetText", &TznFieldVision::OnGetText, "TfvGetTextEvent");
  p.Event("BeforeEdit", &TznFieldVision::BeforeEdit, "TfvBeforeEditEvent");
  p.Event("BeforePost", &TznFieldVision::BeforePost, "TfvBeforePostEvent");
  p.Event("AfterPost", &TznFieldVision::AfterPost, "TfvNotifyEvent");
  p.Event("OnInitEdit", &TznFieldVision::OnInitEdit, "TfvNotifyEvent");
  p.Event("OnDraw", &TznFieldVision::OnDraw, "TfvDrawEvent");
  p.Event("OnDrawEdit", &TznFieldVision::OnDrawEdit, "TfvDrawEditEvent");
  p.Event("OnGetEditFont", &TznFieldVision::OnGetEditFont, "TfvGetEditFontEvent");
}

TznFieldVision::TznFieldVision(TComponent* owner) : TComponent(owner) {
  imageLink_ = Create<TChangeLink>();
  imageLink_->OnChange = TNotifyEvent::Of<&TznFieldVision::ImagesChanged>(this);
}

TznFieldVision::~TznFieldVision() {
  lists_.clear();
  TObject::Free(imageLink_);
  TObject::Free(buttonGlyph_);
}

void TznFieldVision::BeforeDestruction() {
  if (IsInstalledDefault(this)) SetDefaultVision(nullptr);
  if (images_) images_->UnRegisterChanges(imageLink_);
  inherited::BeforeDestruction();
  // Consumers that did not react to the free notification still must not
  // keep a vision that is gone.
  while (!lists_.empty()) lists_.back()->VisionGone(this);
}

void TznFieldVision::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == images_) SetImages(nullptr);
}

void TznFieldVision::Loaded() {
  inherited::Loaded();
  UpdateImageSize();
}

// ---- registration ----

bool TznFieldVision::IsRegistered(const TtlFieldList* fields) const {
  return std::find(lists_.begin(), lists_.end(), fields) != lists_.end();
}

void TznFieldVision::RegisterFieldList(TtlFieldList* fields) {
  if (IsDestroying() || IsRegistered(fields)) return;
  lists_.push_back(fields);
}

void TznFieldVision::UnregisterFieldList(TtlFieldList* fields) {
  lists_.erase(std::remove(lists_.begin(), lists_.end(), fields), lists_.end());
}

template <class F>
void TznFieldVision::ForEachConsumer(bool quietWhileLoading, F&& call) {
  if (quietWhileLoading && IsLoading()) return;
  const std::vector<TtlFieldList*> snapshot = lists_;
  for (TtlFieldList* list : snapshot)
    if (IsRegistered(list)) call(*list->Consumer());
}

void TznFieldVision::NotifyRepaint() {
  ForEachConsumer(true, [](IznFieldVisionConsumer& c) { c.Invalidate(); });
}
void TznFieldVision::NotifyLayout() {
  ForEachConsumer(true, [](IznFieldVisionConsumer& c) { c.LayoutChanged(); });
}
void TznFieldVision::NotifyFieldsActive() {
  ForEachConsumer(true, [](IznFieldVisionConsumer& c) { c.UpdateActive(); });
}
void TznFieldVision::NotifyTitle() {
  ForEachConsumer(false, [](IznFieldVisionConsumer& c) {
    if (c.UpdateTitle()) c.Invalidate();
  });
}
void TznFieldVision::NotifyButton() {
  ForEachConsumer(false, [](IznFieldVisionConsumer& c) { c.ButtonChanged(); });
}
void TznFieldVision::NotifyEditStyle() {
  ForEachConsumer(false, [](IznFieldVisionConsumer& c) { c.EditStyleChanged(); });
}
void TznFieldVision::NotifyPopupMenu() {
  ForEachConsumer(false, [](IznFieldVisionConsumer& c) { c.UpdatePopupMenu(); });
}
void TznFieldVision::NotifyFields() {
  ForEachConsumer(false, [](IznFieldVisionConsumer& c) { c.FieldsChanged(); });
}

// ---- the text operations ----

namespace {

bool IsNumericType(TFieldType t) {
  switch (t) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
    case ftFMTBcd:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TznFieldVision::GetText(TtlFieldList* fields, bool displayText, String& text) {
  if (TField* f = fields->MainField()) text = displayText ? f->DisplayText() : f->EditText();
}

Integer TznFieldVision::GetRowHeight(TtlColumn* column, Integer lines, Integer margins) {
  Integer textHeight = 13;  // what a grid without a window measures
  TDBTabulon* grid = column ? column->Grid() : nullptr;
  if (grid && grid->HandleAllocated()) {
    TCanvas* canvas = grid->Canvas();
    canvas->Font()->Assign(grid->Font());
    if (TtlDesigner* designer = grid->EffectiveDesigner())
      if (const TChildFont* cellFont = designer->CellFontIfAny())
        cellFont->ApplyTo(*canvas->Font());
    TFontStyles style = canvas->Font()->Style();
    style.Include(fsBold);
    style.Include(fsUnderline);
    canvas->Font()->SetStyle(style);
    textHeight = canvas->TextHeight("Wg");
  }
  return std::max(imageHeight_, margins + lines * textHeight);
}

void TznFieldVision::CheckFields(TtlFieldList* fields, bool& active) {
  active = !fields->FieldNames().empty() && fields->MainField() != nullptr;
}

void TznFieldVision::ValueToText(TtlFieldList*, const TznUniValue& value, String& text) {
  text = value.AsString();
}

void TznFieldVision::CanModifyFields(TtlFieldList* fields, bool& result) {
  if (writesWithoutEdit_) {
    result = true;
    return;
  }
  TField* f = fields->MainField();
  TDataSet* ds = fields->DataSet();
  result = (!f || !f->ReadOnly()) && ds && ds->CanModify();
}

void TznFieldVision::GetEditMask(TtlFieldList* fields, String& mask) {
  if (!mask.empty()) return;
  if (!editMask_.empty())
    mask = editMask_;
  else if (TField* f = fields->MainField())
    mask = f->EditMask();
}

TAlignment TznFieldVision::GetAlignment(TtlFieldList* fields) {
  TField* f = fields->MainField();
  return f ? f->Alignment() : taLeftJustify;
}

TznDefLayout TznFieldVision::GetLayout(TtlFieldList*) {
  return tlaDefault;
}

void TznFieldVision::GetCaption(TtlFieldList* fields, String& caption) {
  if (!caption_.empty())
    caption = caption_;
  else if (TField* f = fields->MainField())
    caption = f->DisplayLabel();
  else
    caption.clear();
}

Integer TznFieldVision::GetMaxLength(TtlFieldList* fields) {
  if (maxLength_ != 0) return maxLength_;
  TField* f = fields->MainField();
  if (f && (f->DataType() == ftString || f->DataType() == ftWideString)) return f->Size();
  return 0;
}

TPopupMenu* TznFieldVision::GetPopupMenu() {
  return nullptr;
}

bool TznFieldVision::IsValidChar(TtlFieldList* fields, char32_t key) {
  TField* f = fields->MainField();
  return f ? f->IsValidChar(key) : true;
}

bool TznFieldVision::WantArrows() {
  return true;
}

void TznFieldVision::GetSearchText(TtlFieldList* fields, String& text) {
  TField* f = fields->MainField();
  const bool numeric = f && IsNumericType(f->DataType());
  text = GetFieldText(fields, !numeric);
}

bool TznFieldVision::CanDropDown(Integer) {
  return false;
}
TVisionToolForm* TznFieldVision::GetDropDown() {
  return nullptr;
}

String TznFieldVision::GetFieldText(TtlFieldList* fields, bool displayText) {
  String text;
  GetText(fields, displayText, text);
  if (OnGetText) OnGetText(this, fields, displayText, text);
  return text;
}

String TznFieldVision::FormatValue(TtlFieldList* fields, const TznUniValue& value) {
  String text;
  if (!value.IsNull()) ValueToText(fields, value, text);
  return text;
}

bool TznFieldVision::CanModify(TtlFieldList* fields) {
  if (readOnly_) return false;
  bool result = false;
  CanModifyFields(fields, result);
  return result;
}

TAlignment TznFieldVision::TextAlignment(TtlFieldList* fields) {
  return alignment_ != talDefault ? ToAlignment(alignment_) : GetAlignment(fields);
}

bool TznFieldVision::AllowEdit(TtlFieldList* fields) {
  bool doEdit = true;
  if (BeforeEdit) BeforeEdit(this, fields, doEdit);
  return doEdit;
}

// ---- properties ----

void TznFieldVision::SetCaption(const String& value) {
  if (caption_ == value) return;
  caption_ = value;
  NotifyTitle();
}

void TznFieldVision::SetRelatedFields(const String& value) {
  if (relatedFields_ == value) return;
  relatedFields_ = value;
  NotifyFields();
}

void TznFieldVision::SetAlignment(TznDefAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  NotifyTitle();
}

void TznFieldVision::SetImages(TImageList* value) {
  if (images_ == value) return;
  if (images_) images_->UnRegisterChanges(imageLink_);
  images_ = value;
  if (images_) {
    images_->RegisterChanges(imageLink_);
    images_->FreeNotification(this);
  }
  ImagesChanged(nullptr);
}

void TznFieldVision::UpdateImageSize() {
  const bool drawn = drawImages_ && images_;
  imageWidth_ = drawn ? images_->Width() : 0;
  imageHeight_ = drawn ? images_->Height() : 0;
}

void TznFieldVision::ImagesChanged(TObject*) {
  UpdateImageSize();
  NotifyLayout();
}

void TznFieldVision::SetAlignImage(TznAlignImage value) {
  if (alignImage_ == value) return;
  alignImage_ = value;
  NotifyRepaint();
}

void TznFieldVision::SetDrawText(bool value) {
  if (drawText_ == value) return;
  drawText_ = value;
  NotifyRepaint();
}

void TznFieldVision::SetDrawImages(bool value) {
  if (drawImages_ == value) return;
  drawImages_ = value;
  ImagesChanged(nullptr);
}

void TznFieldVision::SetMaxLength(Integer value) {
  CheckNotNegative(value);
  maxLength_ = value;
}

void TznFieldVision::SetEditWordWrap(bool value) {
  if (editWordWrap_ == value) return;
  editWordWrap_ = value;
  NotifyEditStyle();
}

void TznFieldVision::SetEditScrollBars(TScrollStyle value) {
  if (editScrollBars_ == value) return;
  editScrollBars_ = value;
  NotifyEditStyle();
}

void TznFieldVision::SetEnableButton(bool value) {
  if (enableButton_ == value) return;
  enableButton_ = value;
  NotifyButton();
}

void TznFieldVision::SetButtonStyle(TznButtonStyle value) {
  if (buttonStyle_ == value) return;
  buttonStyle_ = value;
  NotifyButton();
}

TBitmap* TznFieldVision::ButtonGlyph() {
  if (!buttonGlyph_) {
    buttonGlyph_ = Create<TBitmap>();
    buttonGlyph_->SetTransparent(true);
    buttonGlyph_->OnChange = TNotifyEvent::Of<&TznFieldVision::GlyphChanged>(this);
  }
  return buttonGlyph_;
}

void TznFieldVision::SetButtonGlyph(TBitmap* value) {
  // The copy's own change events would each tell the consumers; once is enough.
  TTemporaryChange<bool> quiet(settingGlyph_, true);
  if (value) {
    ButtonGlyph()->Assign(value);
    buttonGlyph_->SetTransparent(true);
  } else {
    FreeAndNil(buttonGlyph_);
  }
  buttonStyle_ = pbsCustom;
  NotifyButton();
}

void TznFieldVision::GlyphChanged(TObject*) {
  if (!settingGlyph_) NotifyButton();
}

void TznFieldVision::SetOptionsSwitch(TfvSwitchOptions value) {
  optionsSwitch_ = value;
  writesWithoutEdit_ = !value.Contains(vsoEditDataSet);
}

void TznFieldVision::SetSurfaceKind(TfvSurfaceKind value) {
  if (surfaceKind_ == value) return;
  surfaceKind_ = value;
  NotifyEditStyle();
}

void TznFieldVision::SetEnableSwitches(bool value) {
  if (enableSwitches_ == value) return;
  enableSwitches_ = value;
  NotifyEditStyle();
}

void TznFieldVision::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TznFieldVision*>(source);
  if (!other || !SameText(other->ClassName(), ClassName())) {
    inherited::Assign(source);
    return;
  }
  SetCaption(other->caption_);
  SetDescription(other->description_);
  SetAlignment(other->alignment_);
  SetRelatedFields(other->relatedFields_);
  SetReadOnly(other->readOnly_);
  SetTag(other->Tag());
}

void RegisterFieldVisionClasses() {
  RegisterClass(TznFieldVision::StaticClass());
}

// ---- the default vision ----

namespace {

// The plain base vision made on first use, and the installed default.
struct TDefaultVisionHolder {
  TznFieldVision* plain = nullptr;      // owned, freed at exit
  TznFieldVision* installed = nullptr;  // not owned
  bool closed = false;                  // set at exit: no vision is made any more
  ~TDefaultVisionHolder() {
    closed = true;
    TznFieldVision* doomed = plain;
    plain = nullptr;
    TObject::Free(doomed);
  }
};

TDefaultVisionHolder& Holder() {
  static TDefaultVisionHolder holder;
  return holder;
}

}  // namespace

bool TznFieldVision::IsInstalledDefault(const TznFieldVision* vision) {
  return Holder().installed == vision;
}

TznFieldVision* DefaultVision() {
  TDefaultVisionHolder& h = Holder();
  if (h.installed) return h.installed;
  if (!h.plain && !h.closed) h.plain = Create<TznFieldVision>(nullptr);
  return h.plain;
}

void SetDefaultVision(TznFieldVision* vision) {
  TznFieldVision* previous = DefaultVision();
  Holder().installed = vision;
  TznFieldVision* next = DefaultVision();
  if (previous == next || !previous) return;
  // Lists that fell back on the previous default move; lists that chose it
  // keep it.
  const std::vector<TtlFieldList*> snapshot = previous->lists_;
  for (TtlFieldList* list : snapshot)
    if (!list->VisionAssigned() && previous->IsRegistered(list)) list->VisionGone(previous);
}

}  // namespace brevant
