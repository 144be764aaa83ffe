// The check-box vision and the owner-draw vision.
#include "bv_std/state_visions.h"

#include <algorithm>

#include "backend/codes.h"
#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_rtm/draw_helpers.h"
#include "bv_rtm/tokens.h"
#include "bv_std/state_visions_paint.h"
#include "bv_std/state_visions_xstate.h"
#include "classes/rtti_builder.h"
#include "controls/menus.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"
#include "rtl/scope.h"
#include "rtl/store_changed.h"

namespace brevant {

BV_ENUM_INFO(TcbvBoxStyle, cbv3D, cbv3DSoft, cbvMono, cbvFlat)
BV_ENUM_INFO(TcbvState, cbvChecked, cbvUnChecked, cbvGrayed)

namespace {

// The caption as it shows: a single "&" disappears, "&&" stands for one.
String CaptionShown(const String& caption) {
  String shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      shown += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      shown += '&';
      ++i;
    }
  }
  return shown;
}

// Frames rect in color, the brush colour restored afterwards.
void FrameInColor(TCanvas* canvas, const TRect& rect, TColor color) {
  TBrush* brush = canvas->Brush();
  const TColor saved = brush->Color();
  const TBrushStyle style = brush->Style();
  TScopeGuard restore([&] {
    brush->SetColor(saved);
    brush->SetStyle(style);
  });
  brush->SetStyle(bsSolid);
  brush->SetColor(color);
  canvas->FrameRect(rect);
}

Integer VerticalCode(TTextLayout layout) {
  return layout == tlCenter ? 1 : layout == tlBottom ? 2 : 0;
}

Cardinal FrameFlags(TcbvState state, TcbvBoxStyle style, bool pressed) {
  Cardinal flags = DFCS_BUTTONCHECK;
  if (state == cbvChecked) flags |= DFCS_CHECKED;
  if (state == cbvGrayed) flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (style == cbvMono || style == cbvFlat) flags |= DFCS_FLAT;
  if (pressed) flags |= DFCS_PUSHED;
  return flags;
}

}  // namespace

// ---- TCheckBoxVision ----

BV_PUBLISH(TCheckBoxVision, TznFieldVision) {
  p.Property("Alignment", &TCheckBoxVision::Alignment, &TCheckBoxVision::SetAlignment)
      .Default(talDefault);
  p.Property("OptionsSwitch", &TCheckBoxVision::OptionsSwitch, &TCheckBoxVision::SetOptionsSwitch)
      .Default(TfvSwitchOptions{vsoEditDataSet});
  p.Property("FullFocusRect", &TCheckBoxVision::FullFocusRect, &TCheckBoxVision::SetFullFocusRect)
      .Default(0);
  p.Property("BoxStyle", &TCheckBoxVision::BoxStyle, &TCheckBoxVision::SetBoxStyle)
      .Default(cbvFlat);
  p.Property("ValueChecked", &TCheckBoxVision::ValueChecked, &TCheckBoxVision::SetValueChecked);
  p.Property("ValueUnChecked", &TCheckBoxVision::ValueUnChecked,
             &TCheckBoxVision::SetValueUnChecked);
  p.Property("ValueGrayed", &TCheckBoxVision::ValueGrayed, &TCheckBoxVision::SetValueGrayed);
  p.Property("AllowGrayed", &TCheckBoxVision::AllowGrayed, &TCheckBoxVision::SetAllowGrayed)
      .Default(0);
  p.Property("ShowNullAs", &TCheckBoxVision::ShowNullAs, &TCheckBoxVision::SetShowNullAs)
      .Default(cbvGrayed);
  p.Event("OnGetState", &TCheckBoxVision::OnGetState, "TcbvGetStateEvent");
  p.Event("OnSetState", &TCheckBoxVision::OnSetState, "TcbvSetStateEvent");
}

TCheckBoxVision::TCheckBoxVision(TComponent* owner) : TznFieldVision(owner) {
  SetSurfaceKind(vskCustom);
  SetEnableSwitches(true);
}

TcbvState TCheckBoxVision::GetState(TtlFieldList* fields) {
  TcbvState state = cbvUnChecked;
  if (TField* f = fields->MainField()) {
    if (f->IsNull()) {
      state = showNullAs_;
    } else if (f->DataType() == ftBoolean) {
      state = f->AsBoolean() ? cbvChecked : cbvUnChecked;
    } else {
      const String text = f->EditText();
      state = cbvGrayed;
      if (!valueChecked_.empty() && ContainsToken(valueChecked_, text, ';'))
        state = cbvChecked;
      else if (!valueUnChecked_.empty() && ContainsToken(valueUnChecked_, text, ';'))
        state = cbvUnChecked;
    }
  }
  if (OnGetState) OnGetState(this, fields, state);
  return state;
}

TcbvState TCheckBoxVision::NextState(TcbvState state) const {
  if (state == cbvChecked) return cbvUnChecked;
  if (state == cbvUnChecked && allowGrayed_) return cbvGrayed;
  return cbvChecked;
}

void TCheckBoxVision::DrawContent(TtlFieldList* fields, TfvPainter* painter) {
  DrawBox(fields, painter, GetState(fields));
}

void TCheckBoxVision::DrawInactive(TtlFieldList* fields, TfvPainter* painter) {
  DrawBox(fields, painter, cbvGrayed);
}

void TCheckBoxVision::DrawBox(TtlFieldList* fields, TfvPainter* painter, TcbvState state) {
  painter->SetDefaultDraw(false);
  TCanvas* canvas = painter->Canvas();
  const TRect& cell = painter->OuterRect();
  const TRect& content = painter->ContentRect();
  TAlignment align = fields->Alignment();
  if (align == taCenter && fields->OwnerKind() != fokColumn) align = taLeftJustify;
  const Integer top = cell.Top + (cell.Height() - kBoxSize) / 2;
  Integer left = content.Left + 1;
  if (align == taRightJustify) left = content.Right - 14;
  if (align == taCenter) left = content.Left + (content.Width() - kBoxSize) / 2;
  const TRect box(left, top, left + kBoxSize, top + kBoxSize);
  canvas->DrawFrameControl(box, DFC_BUTTON,
                           FrameFlags(state, boxStyle_, IsCellPressed(fields, painter)));
  if (boxStyle_ == cbvFlat) FrameInColor(canvas, box, clBtnShadow);
  if (boxStyle_ != cbv3D)
    FrameInColor(canvas, TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1),
                 boxStyle_ == cbv3DSoft ? cl3DLight : clWindow);
  if (!IsStandaloneEditor(fields)) return;
  const bool right = align == taRightJustify;
  const Integer leftIndent = right ? 0 : kCaptionIndent;
  const Integer rightIndent = right ? kCaptionIndent : 0;
  DrawTextAligned(canvas, content, fields->Caption(), right ? 1 : 0, VerticalCode(fields->Layout()),
                  leftIndent, rightIndent, false, false, false);
  if (!IsFocusedStandalone(fields)) return;
  TRect focus(cell.Left + 1 + leftIndent, cell.Top + 1, cell.Right - 1 - rightIndent,
              cell.Bottom - 1);
  if (!fullFocusRect_) {
    const Integer width = canvas->TextWidth(CaptionShown(fields->Caption())) + 3;
    if (right)
      focus.Left = focus.Right - width;
    else
      focus.Right = focus.Left + width;
  }
  focus.Right = std::min(focus.Right, content.Right);
  DrawFocusRectBW(canvas, focus);
}

void TCheckBoxVision::CheckFields(TtlFieldList* fields, bool& active) {
  TField* main = fields->MainField();
  active = !fields->FieldNames().empty() && main && !main->IsBlob();
}

void TCheckBoxVision::LoadCurrentValue(IznVisionEditor* editor) {
  TtlFieldList* fields = editor->EditorFieldList();
  TfvCurrentValue* value = editor->CurrentValue();
  value->Clear();
  if (TField* f = fields->MainField()) {
    value->SetDataType(f->DataType());
    value->Assign(f);
  } else {
    value->SetDataType(ftBoolean);
    const TcbvState state = GetState(fields);
    if (state != cbvGrayed) value->SetAsBoolean(state == cbvChecked);
  }
  value->SetModified(false);
  value->SetTextModified(false);
}

void TCheckBoxVision::Toggle(IznVisionEditor* editor, bool& posted) {
  posted = false;
  TtlFieldList* fields = editor->EditorFieldList();
  const std::weak_ptr<const bool> alive = fields->LifeToken();
  TcbvState state = NextState(GetState(fields));
  bool doPost = true;
  if (OnSetState) OnSetState(this, fields, state, doPost);
  // A cancelled switch (or a handler that freed the editor) posts nothing.
  if (!doPost || alive.expired()) return;
  TfvCurrentValue* value = editor->CurrentValue();
  if (value->DataType() == ftBoolean) {
    if (state == cbvGrayed)
      value->Clear();
    else
      value->SetAsBoolean(state == cbvChecked);
  } else {
    const String& texts = state == cbvChecked     ? valueChecked_
                          : state == cbvUnChecked ? valueUnChecked_
                                                  : valueGrayed_;
    const String text = texts.empty() ? String() : GetToken(texts, 0, ';');
    if (text.empty())
      value->Clear();
    else
      value->SetAsString(text);
  }
  value->SetModified(true);
  posted = PostEdit(editor, false);
}

void TCheckBoxVision::SwitchByKey(IznVisionEditor* editor, bool& posted) {
  Toggle(editor, posted);
}

void TCheckBoxVision::SwitchByMouse(IznVisionEditor* editor, bool& posted) {
  Toggle(editor, posted);
}

void TCheckBoxVision::CanSwitchByKey(IznVisionEditor*, Word key, bool& allow, TShiftState shift) {
  allow = key == VK_SPACE && !shift.Contains(ssShift) && !shift.Contains(ssCtrl) &&
          !shift.Contains(ssAlt);
}

void TCheckBoxVision::CanSwitchAt(IznVisionEditor*, Integer, Integer, bool& allow, TShiftState) {
  allow = true;
}

TAlignment TCheckBoxVision::GetAlignment(TtlFieldList*) {
  return taCenter;
}

TznDefLayout TCheckBoxVision::GetLayout(TtlFieldList* fields) {
  return fields->OwnerKind() == fokEdit ? tlaCenter : tlaDefault;
}

bool TCheckBoxVision::WantArrows() {
  return false;
}

void TCheckBoxVision::SetFullFocusRect(bool value) {
  if (StoreChanged(fullFocusRect_, value)) NotifyRepaint();
}

void TCheckBoxVision::SetBoxStyle(TcbvBoxStyle value) {
  if (StoreChanged(boxStyle_, value)) NotifyRepaint();
}

void TCheckBoxVision::SetValueChecked(const String& value) {
  if (StoreChanged(valueChecked_, value)) NotifyRepaint();
}

void TCheckBoxVision::SetValueUnChecked(const String& value) {
  if (StoreChanged(valueUnChecked_, value)) NotifyRepaint();
}

void TCheckBoxVision::SetValueGrayed(const String& value) {
  if (StoreChanged(valueGrayed_, value)) NotifyRepaint();
}

void TCheckBoxVision::SetShowNullAs(TcbvState value) {
  if (StoreChanged(showNullAs_, value)) NotifyRepaint();
}

void TCheckBoxVision::Assign(const TPersistent* source) {
  inherited::Assign(source);
  const auto* other = dynamic_cast<const TCheckBoxVision*>(source);
  if (!other) return;
  SetFullFocusRect(other->fullFocusRect_);
  SetBoxStyle(other->boxStyle_);
  SetValueChecked(other->valueChecked_);
  SetValueUnChecked(other->valueUnChecked_);
  SetValueGrayed(other->valueGrayed_);
  SetAllowGrayed(other->allowGrayed_);
  SetShowNullAs(other->showNullAs_);
}

// ---- TOwnerDrawVision ----

BV_PUBLISH(TOwnerDrawVision, TznFieldVision) {
  p.Property("Alignment", &TOwnerDrawVision::Alignment, &TOwnerDrawVision::SetAlignment)
      .Default(talDefault);
  p.Property("Images", &TOwnerDrawVision::Images, &TOwnerDrawVision::SetImages);
  p.Property("AlignImage", &TOwnerDrawVision::AlignImage, &TOwnerDrawVision::SetAlignImage)
      .Default(aiDefault);
  p.Property("DrawImages", &TOwnerDrawVision::DrawImages, &TOwnerDrawVision::SetDrawImages)
      .Default(1);
  p.Property("DrawText", &TOwnerDrawVision::DrawText, &TOwnerDrawVision::SetDrawText).Default(1);
  p.Property("PopupMenu", &TOwnerDrawVision::PopupMenu, &TOwnerDrawVision::SetPopupMenu);
  p.Event("OnEditAction", &TOwnerDrawVision::OnEditAction, "TfvEditActionEvent");
}

TOwnerDrawVision::TOwnerDrawVision(TComponent* owner) : TznFieldVision(owner) {
  SetSurfaceKind(vskCustom);
  SetReadOnly(true);
}

TOwnerDrawVision::~TOwnerDrawVision() {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
}

void TOwnerDrawVision::CheckFields(TtlFieldList*, bool& active) {
  active = true;
}

TPopupMenu* TOwnerDrawVision::GetPopupMenu() {
  return popupMenu_;
}

void TOwnerDrawVision::EditAction(IznVisionEditor* editor, TznEditAction action) {
  inherited::EditAction(editor, action);
  if (OnEditAction) OnEditAction(this, editor->EditorFieldList(), action);
}

void TOwnerDrawVision::SetPopupMenu(TPopupMenu* value) {
  if (popupMenu_ == value) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_) popupMenu_->FreeNotification(this);
  NotifyPopupMenu();
}

void TOwnerDrawVision::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) SetPopupMenu(nullptr);
}

void RegisterStateVisionClasses() {
  RegisterClass(TCheckBoxVision::StaticClass());
  RegisterClass(TXStateVision::StaticClass());
  RegisterClass(TOwnerDrawVision::StaticClass());
}

}  // namespace brevant
