#include "bv/db_text.h"

#include <algorithm>

#include "bv/datalink_ex.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/grid_messages.h"
#include "bv_rtm/border_style.h"
#include "bv_rtm/draw_helpers.h"
#include "classes/rtti_builder.h"
#include "controls/messages.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/scope.h"

namespace brevant {

BV_PUBLISH(TDBQuentaText, TCustomControl) {
  p.Property("Color", &TDBQuentaText::Color, &TDBQuentaText::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TDBQuentaText::IsColorStored)
      .Default(clBtnFace);
  p.Property("BorderStyle", &TDBQuentaText::BorderStyle, &TDBQuentaText::SetBorderStyle)
      .Default(bs3D);
  p.Property("Attrs", &TDBQuentaText::Attrs, &TDBQuentaText::SetAttrs);
  p.Property("MappingOptions", &TDBQuentaText::MappingOptions, &TDBQuentaText::SetMappingOptions)
      .Default(TtlMappingOptions{eioImportDomain});
  p.Property("Mapper", &TDBQuentaText::Mapper, &TDBQuentaText::SetMapper);
  p.Property("DataField", &TDBQuentaText::DataField, &TDBQuentaText::SetDataField);
  p.Property("Vision", &TDBQuentaText::Vision, &TDBQuentaText::SetVision)
      .Stored(&TDBQuentaText::IsVisionStored);
  p.Property("DataSource", &TDBQuentaText::DataSource, &TDBQuentaText::SetDataSource);
  p.Event("OnAction", &TDBQuentaText::OnAction, "TfvActionEvent");
}

void RegisterTextDisplayClasses() {
  RegisterClass(TDBQuentaText::StaticClass());
}

// ---- life cycle ----

TDBQuentaText::TDBQuentaText(TComponent* owner)
    : TCustomControl(owner), dataLink_(std::make_unique<TDataLinkEx>()), borderStyle_(bs3D) {
  dataLink_->SetVisualControl(true);
  dataLink_->OnActiveChanged = TDataLinkExEvent::Of<&TDBQuentaText::LinkRebind>(this);
  dataLink_->OnLayoutChanged = TDataLinkExEvent::Of<&TDBQuentaText::LinkRebind>(this);
  dataLink_->OnDataSetChanged = TDataLinkExEvent::Of<&TDBQuentaText::LinkChanged>(this);
  dataLink_->OnDataSetScrolled = TDataLinkExScrolledEvent::Of<&TDBQuentaText::LinkScrolled>(this);
  dataLink_->OnRecordChanged = TDataLinkExFieldEvent::Of<&TDBQuentaText::LinkRecordChanged>(this);
  dataLink_->OnFocusControl = TDataLinkExFocusEvent::Of<&TDBQuentaText::LinkFocusControl>(this);
  fieldList_ = std::make_unique<TtlFieldList>(this, this, fokText, dataLink_.get());
  fieldList_->SetTextControl(this);
  effectiveVision_ = fieldList_->Vision();
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(Left(), Top(), 64, 32);
}

TDBQuentaText::~TDBQuentaText() {
  fieldList_.reset();
  dataLink_.reset();
}

void TDBQuentaText::BeforeDestruction() {
  // Stop hearing the dataset before anything the handlers use goes.
  dataLink_->OnActiveChanged = {};
  dataLink_->OnLayoutChanged = {};
  dataLink_->OnDataSetChanged = {};
  dataLink_->OnDataSetScrolled = {};
  dataLink_->OnRecordChanged = {};
  dataLink_->OnFocusControl = {};
  dataLink_->SetDataSource(nullptr);
  fieldList_->SetActive(false);
  if (mapper_) mapper_->UnregisterConsumer(this);
  mapper_ = nullptr;
  TCustomControl::BeforeDestruction();
}

void TDBQuentaText::Loaded() {
  TCustomControl::Loaded();
  Rebind();
  RequestMapping();
}

void TDBQuentaText::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove || !component) return;
  if (dataLink_ && component == dataLink_->DataSource()) {
    SetDataSource(nullptr);
  } else if (component == mapper_) {
    // The mapper is going: nothing to unregister from.
    mapper_ = nullptr;
  } else if (fieldList_ && component == vision_) {
    // Not a choice made by hand: an imported vision keeps the import on.
    TTemporaryChange freeing(mapping_, true);
    SetVision(nullptr);
  }
}

// ---- properties ----

void TDBQuentaText::SetBorderStyle(TznBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
}

const String& TDBQuentaText::Attrs() const {
  return fieldList_->Attrs();
}

void TDBQuentaText::SetAttrs(const String& value) {
  if (fieldList_->Attrs() == value) return;
  fieldList_->SetAttrs(value);
  if (!mappingOptions_.Empty()) RequestMapping();
}

void TDBQuentaText::SetMappingOptions(TtlMappingOptions value) {
  if (mappingOptions_ == value) return;
  mappingOptions_ = value;
  if (!mappingOptions_.Empty()) RequestMapping();
}

void TDBQuentaText::SetMapper(TznCustomFieldMapper* value) {
  if (mapper_ == value) return;
  if (mapper_) mapper_->UnregisterConsumer(this);
  mapper_ = value;
  if (mapper_) {
    mapper_->RegisterConsumer(this);
    mapper_->FreeNotification(this);
  }
  RequestMapping();
}

const String& TDBQuentaText::DataField() const {
  return fieldList_->FieldNames();
}

void TDBQuentaText::SetDataField(const String& value) {
  if (fieldList_->FieldNames() == value) return;
  fieldList_->SetFieldNames(value);
  Rebind();
  if (!mappingOptions_.Empty()) RequestMapping();
}

void TDBQuentaText::SetVision(TznFieldVision* value) {
  if (vision_ == value) return;
  TznFieldVision* inUse = fieldList_->Vision();
  fieldList_->SetVision(value);
  // The list reports only a change of the vision in use; assigning the one
  // in use (the default vision) is a change of Vision all the same.
  if (fieldList_->Vision() == inUse) VisionChanged(value);
}

bool TDBQuentaText::IsVisionStored() const {
  const bool imported = mappingOptions_.Contains(eioImportDomain) && mapper_;
  return vision_ && !imported;
}

TDataSource* TDBQuentaText::DataSource() const {
  return dataLink_->DataSource();
}

void TDBQuentaText::SetDataSource(TDataSource* value) {
  if (value == dataLink_->DataSource()) return;
  dataLink_->SetDataSource(value);
  if (value) value->FreeNotification(this);
}

bool TDBQuentaText::IsColorStored() const {
  return !ParentColor();
}

// ---- binding and text ----

void TDBQuentaText::Rebind() {
  if (Loading()) return;
  fieldList_->Bind(dataLink_->DataSet());
  field_ = fieldList_->MainField();
  UpdateActive();
  RefreshText();
}

void TDBQuentaText::UpdateActive() {
  bool active = dataLink_->Active();
  if (active) effectiveVision_->CheckFields(fieldList_.get(), active);
  fieldList_->SetActive(active);
}

void TDBQuentaText::Invalidate() {
  // The effective vision's display text while the list is active, else
  // nothing (also before the list exists and while loading).
  const bool usable = fieldList_ && !Loading() && fieldList_->Active();
  text_ = usable ? effectiveVision_->GetFieldText(fieldList_.get(), true) : String();
  TCustomControl::Invalidate();
}

void TDBQuentaText::VisionChanged(TznFieldVision* vision) {
  vision_ = vision;
  effectiveVision_ = fieldList_->Vision();
  // A vision chosen by hand is kept from then on: the mapper no longer
  // imports one.
  if (!mapping_ && mapper_) mappingOptions_.Exclude(eioImportDomain);
  Rebind();
}

void TDBQuentaText::LinkChanged(TDataLinkEx*) {
  RefreshText();
}

void TDBQuentaText::LinkScrolled(TDataLinkEx*, Integer) {
  RefreshText();
}

void TDBQuentaText::LinkRecordChanged(TDataLinkEx*, TField*) {
  RefreshText();
}

void TDBQuentaText::LinkRebind(TDataLinkEx*) {
  Rebind();
}

void TDBQuentaText::LinkFocusControl(TDataLinkEx*, TField*& field) {
  if (!field || field != field_ || !CanFocus()) return;
  field = nullptr;  // handled
  SetFocus();
}

// ---- mapping ----

void TDBQuentaText::RequestMapping() {
  Perform(WM_TL_APPLYMAPPING);
}

void TDBQuentaText::ApplyMapping() {
  if (Loading()) return;
  TTemporaryChange mapping(mapping_, true);
  if (DataField().empty() || !mapper_ || mappingOptions_.Empty()) return;
  const TznMappingEntry* entry = mapper_->EntryForFields(fieldList_.get());
  if (mappingOptions_.Contains(eioImportDomain)) SetVision(entry ? entry->Vision : nullptr);
}

// ---- messages and painting ----

void TDBQuentaText::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_TL_APPLYMAPPING:
      ApplyMapping();
      return;
    case CM_GETDATALINK:
      message.Result = reinterpret_cast<LRESULT>(static_cast<TDataLink*>(dataLink_.get()));
      return;
    default:
      TCustomControl::Dispatch(message);
  }
}

void TDBQuentaText::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (borderStyle_ == bs3D) {
    params.Style &= ~WS_BORDER;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TDBQuentaText::WMNCCalcSize(TMessage& message) {
  TCustomControl::WMNCCalcSize(message);
  if (borderStyle_ <= bs3D) return;
  if (auto* rect = reinterpret_cast<TRect*>(message.LParam)) BorderCalcSize(borderStyle_, *rect);
}

void TDBQuentaText::WMNCPaint(TMessage& message) {
  TCustomControl::WMNCPaint(message);
  if (borderStyle_ > bs3D) BorderPaint(borderStyle_, this, false);
}

void TDBQuentaText::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetStyle(bsClear);
  TRect r = ClientRect();
  r.Right -= 1;
  r.Bottom -= 1;
  InflateRect(r, -2, -2);
  TRect measured = r;
  canvas->DrawText(text_, measured, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  r.Bottom = std::min(r.Bottom, r.Top + measured.Height());
  canvas->DrawText(text_, r,
                   DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_END_ELLIPSIS |
                       (UseRightToLeftAlignment() ? DT_RIGHT : DT_LEFT));
}

}  // namespace brevant
