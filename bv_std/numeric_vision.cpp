// TNumericVision: number texts by format, checked entry, spin steps inside
// the limits and the calculator drop-down.
#include "bv_std/numeric_vision.h"

#include <algorithm>

#include "bv/field_list.h"
#include "bv/vision_editor_ext.h"
#include "bv_rtm/bv_errors.h"
#include "bv_std/value_vision_strings.h"
#include "classes/rtti_builder.h"
#include "db/field.h"
#include "db/field_types.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "rtl/currency.h"
#include "rtl/format_settings.h"
#include "rtl/numconv.h"
#include "rtl/strutils.h"

namespace brevant {

BV_ENUM_INFO(TvfNumericDropDownKind, ndkCustom, ndkCalculator)

BV_PUBLISH(TNumericVision, TToolFormVision) {
  using V = TNumericVision;
  p.Property("Alignment", &V::Alignment, &V::SetAlignment).Default(talDefault);
  p.Property("Images", &V::Images, &V::SetImages);
  p.Property("AlignImage", &V::AlignImage, &V::SetAlignImage).Default(aiDefault);
  p.Property("DrawImages", &V::DrawImages, &V::SetDrawImages).Default(1);
  p.Property("ButtonStyle", &V::ButtonStyle, &V::SetButtonStyle).Default(pbsEllipsis);
  p.Property("ButtonGlyph", &V::ButtonGlyph, &V::SetButtonGlyph).Stored(&V::IsButtonGlyphStored);
  p.Property("EnableButton", &V::EnableButton, &V::SetEnableButton).Default(0);
  p.Property("EditMask", &V::EditMask, &V::SetEditMask);
  p.Property("ComboBoxStyle", &V::ComboBoxStyle, &V::SetComboBoxStyle).Default(0);
  p.Property("DropDownOptions", &V::DropDownOptions, &V::SetDropDownOptions)
      .Default(TfvDropDownOptions{});
  p.Property("EnableDropDown", &V::EnableDropDown, &V::SetEnableDropDown).Default(1);
  p.Property("DisplayFormat", &V::DisplayFormat, &V::SetDisplayFormat);
  p.Property("EditFormat", &V::EditFormat, &V::SetEditFormat);
  p.Property("Nullable", &V::Nullable, &V::SetNullable).Default(1);
  p.Property("MinValue", &V::MinValue, &V::SetMinValue).Stored(&V::IsMinValueStored);
  p.Property("MaxValue", &V::MaxValue, &V::SetMaxValue).Stored(&V::IsMaxValueStored);
  p.Property("Step", &V::Step, &V::SetStep).Stored(&V::IsStepStored);
  p.Property("DropDownKind", &V::DropDownKind, &V::SetDropDownKind).Stored(true).NoDefault();
  p.Event("OnGetValue", &V::OnGetValue, "TfvGetExtValueEvent");
}

TNumericVision::TNumericVision(TComponent* owner) : TToolFormVision(owner) {
  SetButtonStyle(pbsEllipsis);
}

void TNumericVision::CheckFields(TtlFieldList* fields, bool& active) {
  TField* main = fields->MainField();
  active = !fields->FieldNames().empty() && (!main || dynamic_cast<TNumericField*>(main));
}

const String& TNumericVision::FormatFor(TtlFieldList* fields, bool displayText) const {
  if (displayText)
    return fields->DisplayFormat().empty() ? displayFormat_ : fields->DisplayFormat();
  return fields->EditFormat().empty() ? editFormat_ : fields->EditFormat();
}

bool TNumericVision::ValueOf(TtlFieldList* fields, Extended& value) {
  if (TField* main = fields->MainField()) {
    if (main->IsNull()) return false;
    value = main->AsFloat();
    return true;
  }
  if (!OnGetValue) return false;
  bool isNull = false;
  value = 0;
  OnGetValue(this, fields, value, isNull);
  return !isNull;
}

void TNumericVision::GetText(TtlFieldList* fields, bool displayText, String& text) {
  Extended value = 0;
  if (!ValueOf(fields, value)) {
    text.clear();
    return;
  }
  const String& format = FormatFor(fields, displayText);
  TField* main = fields->MainField();
  if (!format.empty())
    text = FormatFloat(format, value);
  else if (!main)
    text = FloatToStr(value);
  else
    text = displayText ? main->DisplayText() : main->EditText();
}

namespace {

// A money field: a currency field, or a float or BCD field shown as money.
bool IsMoneyField(TField* field) {
  if (auto* f = dynamic_cast<TFloatField*>(field)) return f->IsCurrency();
  if (auto* f = dynamic_cast<TBCDField*>(field)) return f->IsCurrency();
  return false;
}

// Reads an edit text as a number. A format such as "#,##0.00" writes
// thousand separators, so the text is also read without them: the vision
// takes back every text it writes.
bool ReadNumber(const String& text, Extended& value) {
  const String trimmed = Trim(text);
  if (TryStrToFloat(trimmed, value)) return true;
  const TFormatSettings& fs = FormatSettings();
  const String& group = fs.ThousandSeparator;
  if (group.empty() || group == String(1, fs.DecimalSeparator)) return false;
  const String plain = StringReplace(trimmed, group, "", {rfReplaceAll});
  return plain != trimmed && TryStrToFloat(plain, value);
}

Integer PrecisionOf(TField* field) {
  if (auto* f = dynamic_cast<TFloatField*>(field)) return f->Precision();
  return 15;
}

}  // namespace

String TNumericVision::NumberText(TtlFieldList* fields, Extended value, bool displayText) const {
  const String& format = FormatFor(fields, displayText);
  if (!format.empty()) return FormatFloat(format, value);
  TField* main = fields->MainField();
  const Integer decimals = FormatSettings().CurrencyDecimals;
  if (main && IsMoneyField(main))
    return FloatToStrF(value, displayText ? ffCurrency : ffFixed, 18, decimals);
  return FloatToStrF(value, ffGeneral, main ? PrecisionOf(main) : 15, 0);
}

void TNumericVision::ValueToText(TtlFieldList* fields, const TznUniValue& value, String& text) {
  text = NumberText(fields, value.AsFloat(), true);
}

void TNumericVision::ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool&) {
  const String text = editor->EditorText();
  if (Trim(text).empty()) {
    if (!nullable_) throw EBVError(bvres::SBlankNumericValue);
    value.Clear();
    return;
  }
  Extended v = 0;
  if (!ReadNumber(text, v)) throw EBVError(bvres::SInvalidNumericValue, {text});
  if (HasLimits() && (v < minValue_ || v > maxValue_))
    throw EBVError(bvres::SNumericOutOfRange, {text, minValue_, maxValue_});
  value.SetAsFloat(static_cast<double>(v));
}

void TNumericVision::LoadCurrentValue(IznVisionEditor* editor) {
  TfvCurrentValue* current = editor->CurrentValue();
  current->Clear();
  current->SetDataType(ftFloat);
  Extended value = 0;
  if (ValueOf(editor->EditorFieldList(), value)) current->SetAsFloat(static_cast<double>(value));
  current->SetModified(false);
  current->SetTextModified(false);
}

void TNumericVision::ButtonClick(IznVisionEditor* editor) {
  TToolFormVision::ButtonClick(editor);
  if (ButtonStyle() != pbsSpin) return;
  const Integer kind = ButtonKind();
  if (kind == bkMouse || kind == bkKeyboard) Spin(editor, true);
  if (kind == bkMouseDown || kind == bkKeyDown) Spin(editor, false);
}

void TNumericVision::Spin(IznVisionEditor* editor, bool up) {
  IznVisionTextEditor* textEditor = TextEditorOf(editor);
  if (!textEditor) return;
  const String text = Trim(editor->EditorText());
  Extended v = 0;
  if (!text.empty() && !ReadNumber(text, v)) throw EBVError(bvres::SInvalidNumericValue, {text});
  Extended next = v;
  if (!HasLimits())
    next = up ? v + step_ : v - step_;
  else if (up && v < maxValue_)
    next = v < minValue_ ? minValue_ : std::min(v + step_, maxValue_);
  else if (!up && v > minValue_)
    next = v > maxValue_ ? maxValue_ : std::max(v - step_, minValue_);
  if (next == v) return;
  textEditor->SetEditText(NumberText(editor->EditorFieldList(), next, false), true);
}

TAlignment TNumericVision::GetAlignment(TtlFieldList*) {
  return taRightJustify;
}

void TNumericVision::GetSearchText(TtlFieldList* fields, String& text) {
  text = GetFieldText(fields, false);
}

TVisionToolForm* TNumericVision::GetDropDown() {
  if (dropDownKind_ == ndkCalculator) return StockToolForm(stfCalculator);
  return TToolFormVision::GetDropDown();
}

void TNumericVision::SetDropDown(TVisionToolForm* value) {
  if (value != DropDown()) dropDownKind_ = ndkCustom;
  TToolFormVision::SetDropDown(value);
}

void TNumericVision::SetDisplayFormat(const String& value) {
  if (displayFormat_ == value) return;
  displayFormat_ = value;
  NotifyRepaint();
}

void RegisterNumericVisionClasses() {
  RegisterClass(TNumericVision::StaticClass());
}

}  // namespace brevant
