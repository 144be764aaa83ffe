// TDateTimeVision (formats, limits, loading the current value) and
// TDateVision (date texts, checked entry, posting with the time kept).
#include "bv_std/datetime_visions.h"

#include <cmath>

#include "bv/field_list.h"
#include "bv_rtm/bv_errors.h"
#include "bv_std/value_vision_strings.h"
#include "classes/rtti_builder.h"
#include "db/field.h"
#include "db/field_types.h"
#include "graphics/imagelist.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_ENUM_INFO(TznDisplayFormatKind, dfkDefault, dfkShort, dfkLong, dfkCustom)
BV_ENUM_INFO(TznTimeEditFormatKind, tefDefault, tefHhMmSs, tefHhMm, tefHh)
BV_ENUM_INFO(TznCalendarButton, clbToday, clbClear, clbNoYearNavigator)
BV_SET_INFO(TznCalendarButtons, TznCalendarButton)

// The properties every date-time kind publishes.
template <class V>
static void PublishDateTimeCommon(TPublisher<V>& p) {
  p.Property("Alignment", &V::Alignment, &V::SetAlignment).Default(talDefault);
  p.Property("Images", &V::Images, &V::SetImages);
  p.Property("AlignImage", &V::AlignImage, &V::SetAlignImage).Default(aiDefault);
  p.Property("DrawImages", &V::DrawImages, &V::SetDrawImages).Default(1);
  p.Property("EnableButton", &V::EnableButton, &V::SetEnableButton).Default(1);
  p.Property("ComboBoxStyle", &V::ComboBoxStyle, &V::SetComboBoxStyle).Default(0);
  p.Property("EditMask", &V::EditMask, &V::SetEditMask);
  p.Property("EnableDropDown", &V::EnableDropDown, &V::SetEnableDropDown).Default(1);
  p.Property("DisplayFormat", &V::DisplayFormat, &V::SetDisplayFormat);
  p.Property("DisplayFormatKind", &V::DisplayFormatKind, &V::SetDisplayFormatKind)
      .Default(dfkDefault);
  p.Property("Nullable", &V::Nullable, &V::SetNullable).Default(1);
  p.Event("OnGetValue", static_cast<TfvGetDateValueEvent V::*>(&V::OnGetValue),
          "TfvGetDateValueEvent");
}

BV_PUBLISH(TDateTimeVision, TToolFormVision) {
  PublishDateTimeCommon(p);
}

BV_PUBLISH(TDateVision, TDateTimeVision) {
  PublishDateTimeCommon(p);
  p.Property("DropDownOptions", &TDateVision::DropDownOptions, &TDateVision::SetDropDownOptions)
      .Default(TfvDropDownOptions{});
  p.Property("MinDate", &TDateVision::MinDate, &TDateVision::SetMinDate)
      .Type(TypeInfoTDate())
      .Stored(&TDateVision::IsLowLimitStored);
  p.Property("MaxDate", &TDateVision::MaxDate, &TDateVision::SetMaxDate)
      .Type(TypeInfoTDate())
      .Stored(&TDateVision::IsHighLimitStored);
  p.Property("Buttons", &TDateVision::Buttons, &TDateVision::SetButtons)
      .Default(TznCalendarButtons{clbToday, clbClear});
  p.Property("SaveTime", &TDateVision::SaveTime, &TDateVision::SetSaveTime).Default(1);
}

// ---- TDateTimeVision ----

TDateTimeVision::TDateTimeVision(TComponent* owner) : TToolFormVision(owner) {
  SetEnableButton(true);
}

void TDateTimeVision::CheckFields(TtlFieldList* fields, bool& active) {
  TField* main = fields->MainField();
  if (main && main->DataType() == ftTimeStamp) {
    active = true;
    return;
  }
  active = !fields->FieldNames().empty() && (!main || dynamic_cast<TDateTimeField*>(main));
}

void TDateTimeVision::LoadCurrentValue(IznVisionEditor* editor) {
  TfvCurrentValue* value = editor->CurrentValue();
  TtlFieldList* fields = editor->EditorFieldList();
  value->Clear();
  value->SetDataType(ftDateTime);
  if (TField* main = fields->MainField()) {
    if (!main->IsNull()) value->SetAsDateTime(main->AsDateTime());
  } else if (OnGetValue) {
    TDateTime v = 0;
    bool isNull = false;
    OnGetValue(this, fields, v, isNull);
    if (!isNull) value->SetAsDateTime(v);
  }
  value->SetModified(false);
  value->SetTextModified(false);
}

void TDateTimeVision::SetDisplayFormat(const String& value) {
  if (displayFormat_ == value && displayFormatKind_ == dfkCustom) return;
  displayFormat_ = value;
  displayFormatKind_ = dfkCustom;
  NotifyRepaint();
}

void TDateTimeVision::SetDisplayFormatKind(TznDisplayFormatKind value) {
  if (displayFormatKind_ == value) return;
  displayFormatKind_ = value;
  NotifyRepaint();
}

void TDateTimeVision::SetLowLimit(TDateTime value) {
  if (value != 0 && highLimit_ != 0 && value > highLimit_) highLimit_ = value + LimitGap();
  lowLimit_ = value;
}

void TDateTimeVision::SetHighLimit(TDateTime value) {
  if (value != 0 && lowLimit_ != 0 && value < lowLimit_) lowLimit_ = value - LimitGap();
  highLimit_ = value;
}

String TDateTimeVision::DisplayFormatOf(TtlFieldList* fields, const String& shortFormat,
                                        const String& longFormat) const {
  if (!fields->DisplayFormat().empty()) return fields->DisplayFormat();
  switch (displayFormatKind_) {
    case dfkShort:
      return shortFormat;
    case dfkLong:
      return longFormat;
    case dfkCustom:
      return displayFormat_;
    default:
      return String();
  }
}

String TDateTimeVision::ValueWithoutField(TtlFieldList* fields, const String& format) {
  TDateTime v = 0;
  bool isNull = false;
  if (OnGetValue) OnGetValue(this, fields, v, isNull);
  return isNull ? String() : FormatDateTime(format, v);
}

bool TDateTimeVision::ReadDateTime(IznVisionEditor* editor, bool blank, TDateTime& value) {
  if (blank) {
    if (!nullable_) throw EBVError(bvres::SBlankDateValue);
    return false;
  }
  value = StrToDateTime(editor->EditorText());
  return true;
}

void TDateTimeVision::CheckLimits(const String& text, TDateTime checked,
                                  String (*limitText)(TDateTime)) {
  if (lowLimit_ != 0 && lowLimit_ > checked)
    throw EBVError(bvres::SValueMustBeMore, {text, limitText(lowLimit_)});
  if (highLimit_ != 0 && highLimit_ < checked)
    throw EBVError(bvres::SValueMustBeLess, {text, limitText(highLimit_)});
}

// ---- TDateVision ----

namespace {

String DateText(TDateTime value) {
  return DateToStr(value);
}

}  // namespace

TDateVision::TDateVision(TComponent* owner) : TDateTimeVision(owner) {}

void TDateVision::GetText(TtlFieldList* fields, bool displayText, String& text) {
  const TFormatSettings& fs = FormatSettings();
  const String format =
      displayText ? DisplayFormatOf(fields, fs.ShortDateFormat, fs.LongDateFormat) : String();
  TField* main = fields->MainField();
  if (!main) {
    text = ValueWithoutField(fields, format.empty() ? fs.ShortDateFormat : format);
  } else if (!format.empty()) {
    const TDateTime v = main->IsNull() ? 0 : main->AsDateTime();
    text = v == 0 ? String() : FormatDateTime(format, v);
  } else if (displayText) {
    text = main->DisplayText();
  } else {
    text = main->IsNull() ? String() : FormatDateTime("c", DateOf(main->AsDateTime()));
  }
}

void TDateVision::ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool&) {
  const String text = editor->EditorText();
  TDateTime v = 0;
  if (!ReadDateTime(editor, Trim(text).empty(), v)) {
    value.Clear();
    return;
  }
  // The date part is what gets posted, so that is what the limits judge.
  CheckLimits(text, DateOf(v), &DateText);
  value.SetAsDateTime(v);
}

void TDateVision::PostValue(TtlFieldList* fields, const TznUniValue& value) {
  TField* main = fields->MainField();
  if (!main) return;
  if (value.IsNull()) {
    main->Clear();
    return;
  }
  TDateTime d = DateOf(value.AsDateTime());
  if (saveTime_ && !main->IsNull()) d = ComposeDateTime(d, TimeOf(main->AsDateTime()));
  main->SetAsDateTime(d);
}

TVisionToolForm* TDateVision::DefaultDropDown() {
  return StockToolForm(stfCalendar);
}

void TDateVision::SetMinDate(TDateTime value) {
  SetLowLimit(DateOf(value));
}

void TDateVision::SetMaxDate(TDateTime value) {
  SetHighLimit(DateOf(value));
}

void RegisterDateTimeVisionClasses() {
  RegisterClasses(
      {TDateTimeVision::StaticClass(), TDateVision::StaticClass(), TTimeVision::StaticClass()});
}

}  // namespace brevant
