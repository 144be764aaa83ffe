// The drop-down blob visions and their markers.
#include "bv_std/blob_visions_dropdown.h"

#include "bv/env_hook.h"

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/draw_helpers.h"
#include "bv_std/state_visions_paint.h"
#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "rtl/store_changed.h"

namespace brevant {

BV_ENUM_INFO(TfvTextBlobMarker, tbmDefault, tbmIcon, tbmText)
BV_ENUM_INFO(TfvDropDownTextOption, dtoNoHideScrollBars, dtoNoWantReturns, dtoNoWantTabs,
             dtoNoWordWrap, dtoNoSizing, dtoNoAutoPost)
BV_SET_INFO(TfvDropDownTextOptions, TfvDropDownTextOption)
BV_ENUM_INFO(TfvDropDownPictureOption, dpoNoCenterPicture, dpoNoAutoSize, dpoNoSizing,
             dpoNoAutoPost)
BV_SET_INFO(TfvDropDownPictureOptions, TfvDropDownPictureOption)

namespace {

TBlobMarkersQuery markersQuery = nullptr;

bool HasValue(TtlFieldList* fields) {
  TField* f = fields->MainField();
  return f && !f->IsNull();
}

}  // namespace

void SetBlobMarkersQuery(TBlobMarkersQuery query) {
  markersQuery = query;
}

TImageList* BlobMarkers() {
  if (markersQuery) return markersQuery();
  IbvEnvironment* env = Environment();
  return env ? env->BlobMarkerImages() : nullptr;
}

// ---- TDropDownBlobVision ----

BV_PUBLISH(TDropDownBlobVision, TToolFormVision) {
  p.Property("DropDown", &TDropDownBlobVision::DropDown, &TDropDownBlobVision::SetDropDown);
  p.Property("ComboBoxStyle", &TDropDownBlobVision::ComboBoxStyle,
             &TDropDownBlobVision::SetComboBoxStyle)
      .Default(1);
  p.Property("DropDownWidth", &TDropDownBlobVision::DropDownWidth,
             &TDropDownBlobVision::SetDropDownWidth)
      .Default(0);
  p.Property("DropDownHeight", &TDropDownBlobVision::DropDownHeight,
             &TDropDownBlobVision::SetDropDownHeight)
      .Default(0);
  p.Property("DropDownOptions", &TDropDownBlobVision::DropDownOptions,
             &TDropDownBlobVision::SetDropDownOptions)
      .Default(TfvDropDownOptions{});
  p.Property("EnableDropDown", &TDropDownBlobVision::EnableDropDown,
             &TDropDownBlobVision::SetEnableDropDown)
      .Default(1);
  p.Property("EnableButton", &TDropDownBlobVision::EnableButton,
             &TDropDownBlobVision::SetEnableButton)
      .Default(1);
}

TDropDownBlobVision::TDropDownBlobVision(TComponent* owner) : TToolFormVision(owner) {
  SetSurfaceKind(vskCustom);
  SetComboBoxStyle(true);
  SetEnableButton(true);
}

TVisionToolForm* TDropDownBlobVision::DefaultDropDown() {
  return StockToolForm(stfBlobPicker);
}

void TDropDownBlobVision::DrawContent(TtlFieldList* fields, TfvPainter* painter) {
  painter->SetDefaultDraw(false);
  if (!IsFocusedStandalone(fields)) return;
  TRect focus = painter->OuterRect();
  InflateRect(focus, -1, -1);
  DrawFocusRectBW(painter->Canvas(), focus);
}

bool TDropDownBlobVision::WantArrows() {
  return false;
}

void TDropDownBlobVision::SetDropDownWidth(Integer value) {
  CheckNotNegative(value);
  dropDownWidth_ = value;
}

void TDropDownBlobVision::SetDropDownHeight(Integer value) {
  CheckNotNegative(value);
  dropDownHeight_ = value;
}

void TDropDownBlobVision::DrawMarker(TfvPainter* painter, Integer index) {
  TImageList* markers = BlobMarkers();
  if (!markers || index >= markers->Count()) return;
  const TRect& cell = painter->OuterRect();
  markers->Draw(painter->Canvas(), cell.Left + (cell.Width() - kBlobMarkerSize) / 2,
                cell.Top + (cell.Height() - kBlobMarkerSize) / 2, index);
}

// ---- TTextVision ----

BV_PUBLISH(TTextVision, TDropDownBlobVision) {
  p.Property("Alignment", &TTextVision::Alignment, &TTextVision::SetAlignment).Default(talDefault);
  p.Property("DropDownOptionsEx", &TTextVision::DropDownOptionsEx,
             &TTextVision::SetDropDownOptionsEx)
      .Default(TfvDropDownTextOptions{});
  p.Property("DropDownScrollBars", &TTextVision::DropDownScrollBars,
             &TTextVision::SetDropDownScrollBars)
      .Default(ssBoth);
  p.Property("MaxLength", &TTextVision::MaxLength, &TTextVision::SetMaxLength).Default(0);
  p.Property("DisplayAs", &TTextVision::DisplayAs, &TTextVision::SetDisplayAs).Default(tbmIcon);
}

TTextVision::TTextVision(TComponent* owner) : TDropDownBlobVision(owner) {}

void TTextVision::DrawContent(TtlFieldList* fields, TfvPainter* painter) {
  TField* f = fields->MainField();
  if (displayAs_ == tbmIcon)
    DrawMarker(painter, HasValue(fields) ? bmkText : bmkNullText);
  else if (f)
    painter->DrawText(displayAs_ == tbmText ? f->AsString() : f->DisplayText(), fields->Alignment(),
                      fields->Layout());
  inherited::DrawContent(fields, painter);
}

void TTextVision::LoadCurrentValue(IznVisionEditor* editor) {
  TfvCurrentValue* value = editor->CurrentValue();
  value->Clear();
  value->SetDataType(ftString);
  if (TField* f = editor->EditorFieldList()->MainField(); f && !f->IsNull())
    value->SetAsString(f->IsBlob() ? f->AsString() : f->EditText());
  value->SetModified(false);
  value->SetTextModified(false);
}

void TTextVision::SetDisplayAs(TfvTextBlobMarker value) {
  if (StoreChanged(displayAs_, value)) NotifyRepaint();
}

// ---- TPictureVision ----

BV_PUBLISH(TPictureVision, TDropDownBlobVision) {
  p.Property("DropDownOptionsEx", &TPictureVision::DropDownOptionsEx,
             &TPictureVision::SetDropDownOptionsEx)
      .Default(TfvDropDownPictureOptions{});
  p.Property("DisabledActions", &TPictureVision::DisabledActions,
             &TPictureVision::SetDisabledActions)
      .Default(TfvImgDisabledActions{});
}

TPictureVision::TPictureVision(TComponent* owner) : TDropDownBlobVision(owner) {}

void TPictureVision::DrawContent(TtlFieldList* fields, TfvPainter* painter) {
  DrawMarker(painter, HasValue(fields) ? bmkPicture : bmkNullPicture);
  inherited::DrawContent(fields, painter);
}

void TPictureVision::LoadCurrentValue(IznVisionEditor* editor) {
  LoadPictureValue(reader_, this, editor);
}

void RegisterBlobVisionClasses() {
  RegisterClass(TMemoVision::StaticClass());
  RegisterClass(TImageVision::StaticClass());
  RegisterClass(TDropDownBlobVision::StaticClass());
  RegisterClass(TTextVision::StaticClass());
  RegisterClass(TPictureVision::StaticClass());
}

}  // namespace brevant
