// TTimeVision: time texts, the edit mask by edit format, checked entry,
// posting with the date kept, and spinning the part under the caret.
#include <algorithm>
#include <cmath>

#include "bv/field_list.h"
#include "bv_std/datetime_visions.h"
#include "bv/vision_editor_ext.h"
#include "classes/rtti_builder.h"
#include "db/field.h"
#include "graphics/imagelist.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"

namespace brevant {

BV_PUBLISH(TTimeVision, TDateTimeVision) {
  p.Property("Alignment", &TTimeVision::Alignment, &TTimeVision::SetAlignment).Default(talDefault);
  p.Property("Images", &TTimeVision::Images, &TTimeVision::SetImages);
  p.Property("AlignImage", &TTimeVision::AlignImage, &TTimeVision::SetAlignImage)
      .Default(aiDefault);
  p.Property("DrawImages", &TTimeVision::DrawImages, &TTimeVision::SetDrawImages).Default(1);
  p.Property("EnableButton", &TTimeVision::EnableButton, &TTimeVision::SetEnableButton).Default(1);
  p.Property("ButtonStyle", &TTimeVision::ButtonStyle, &TTimeVision::SetButtonStyle)
      .Default(pbsSpin);
  p.Property("ComboBoxStyle", &TTimeVision::ComboBoxStyle, &TTimeVision::SetComboBoxStyle)
      .Default(0);
  p.Property("EditMask", &TTimeVision::EditMask, &TTimeVision::SetEditMask);
  p.Property("EnableDropDown", &TTimeVision::EnableDropDown, &TTimeVision::SetEnableDropDown)
      .Default(1);
  p.Property("DisplayFormat", &TTimeVision::DisplayFormat, &TTimeVision::SetDisplayFormat);
  p.Property("DisplayFormatKind", &TTimeVision::DisplayFormatKind,
             &TTimeVision::SetDisplayFormatKind)
      .Default(dfkDefault);
  p.Property("Nullable", &TTimeVision::Nullable, &TTimeVision::SetNullable).Default(1);
  p.Property("EditFormatKind", &TTimeVision::EditFormatKind, &TTimeVision::SetEditFormatKind)
      .Default(tefHhMm);
  p.Property("MinTime", &TTimeVision::MinTime, &TTimeVision::SetMinTime)
      .Type(TypeInfoTTime())
      .Stored(&TTimeVision::IsLowLimitStored);
  p.Property("MaxTime", &TTimeVision::MaxTime, &TTimeVision::SetMaxTime)
      .Type(TypeInfoTTime())
      .Stored(&TTimeVision::IsHighLimitStored);
  p.Property("SaveDate", &TTimeVision::SaveDate, &TTimeVision::SetSaveDate).Default(1);
  p.Event("OnGetValue", static_cast<TfvGetDateValueEvent TTimeVision::*>(&TTimeVision::OnGetValue),
          "TfvGetDateValueEvent");
}

namespace {

constexpr Integer SecsPerDay = 86400;
constexpr Integer LastSecond = SecsPerDay - 1;  // 23:59:59

// A time of day in whole seconds, and back.
Integer ToSeconds(TDateTime t) {
  return static_cast<Integer>(std::lround(TimeOf(t) * SecsPerDay));
}
TDateTime FromSeconds(Integer secs) {
  return static_cast<TDateTime>(secs) / SecsPerDay;
}

// The time of day of t to the millisecond: a limit taken from a date-time
// keeps no rounding noise of the date part.
TDateTime TimeOfDay(TDateTime t) {
  const double ms = std::min(std::round(TimeOf(t) * MSecsPerDay), MSecsPerDay - 1.0);
  return ms / MSecsPerDay;
}

// Text with nothing typed: only blanks and time separators (a masked time
// left empty).
bool IsBlankTime(const String& text) {
  const char sep = FormatSettings().TimeSeparator;
  return std::all_of(text.begin(), text.end(), [sep](char c) { return c == ' ' || c == sep; });
}

String TimeText(TDateTime value) {
  return TimeToStr(value);
}

}  // namespace

TTimeVision::TTimeVision(TComponent* owner) : TDateTimeVision(owner) {
  SetButtonStyle(pbsSpin);
}

String TTimeVision::EditFormat() const {
  switch (editFormatKind_) {
    case tefHhMmSs:
      return "hh:mm:ss";
    case tefHhMm:
      return "hh:mm";
    case tefHh:
      return "hh";
    default:
      return String();
  }
}

void TTimeVision::GetText(TtlFieldList* fields, bool displayText, String& text) {
  const TFormatSettings& fs = FormatSettings();
  const String format =
      displayText ? DisplayFormatOf(fields, fs.ShortTimeFormat, fs.LongTimeFormat) : EditFormat();
  TField* main = fields->MainField();
  if (!main) {
    text = ValueWithoutField(fields, format.empty() ? fs.ShortTimeFormat : format);
  } else if (!format.empty()) {
    const TDateTime v = main->IsNull() ? 0 : main->AsDateTime();
    text = v == 0 ? String() : FormatDateTime(format, v);
  } else if (displayText) {
    text = main->DisplayText();
  } else {
    text = main->IsNull() ? String() : FormatDateTime("tt", TimeOf(main->AsDateTime()));
  }
}

void TTimeVision::GetEditMask(TtlFieldList* fields, String& mask) {
  switch (editFormatKind_) {
    case tefHhMmSs:
      mask = "!99:99:99;1;0";
      break;
    case tefHhMm:
      mask = "!99:99;1;0";
      break;
    case tefHh:
      mask = "!99;1;0";
      break;
    default:
      break;
  }
  TDateTimeVision::GetEditMask(fields, mask);
}

void TTimeVision::ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool&) {
  const String text = editor->EditorText();
  TDateTime v = 0;
  if (!ReadDateTime(editor, IsBlankTime(text), v)) {
    value.Clear();
    return;
  }
  // The time of day is what gets posted, so that is what the limits judge.
  CheckLimits(text, TimeOf(v), &TimeText);
  value.SetAsDateTime(v);
}

void TTimeVision::PostValue(TtlFieldList* fields, const TznUniValue& value) {
  TField* main = fields->MainField();
  if (!main) return;
  if (value.IsNull()) {
    main->Clear();
    return;
  }
  TDateTime t = TimeOf(value.AsDateTime());
  // The old day with the time on its side of day 0: a midnight keeps the
  // date and days before 1899 stay where they are.
  if (saveDate_ && !main->IsNull()) t = ComposeDateTime(DateOf(main->AsDateTime()), t);
  main->SetAsDateTime(t);
}

void TTimeVision::ButtonClick(IznVisionEditor* editor) {
  TDateTimeVision::ButtonClick(editor);
  if (ButtonStyle() != pbsSpin) return;
  const Integer kind = ButtonKind();
  if (kind == bkMouse || kind == bkKeyboard) Spin(editor, true);
  if (kind == bkMouseDown || kind == bkKeyDown) Spin(editor, false);
}

void TTimeVision::Spin(IznVisionEditor* editor, bool up) {
  IznVisionTextEditor* textEditor = TextEditorOf(editor);
  if (!textEditor || editFormatKind_ == tefDefault) return;
  const Integer caret = textEditor->EditCaret();
  const Integer step = caret <= 2 ? 3600 : caret <= 5 ? 60 : 1;
  const Integer part = caret <= 2 ? 0 : caret <= 5 ? 3 : 6;
  const String text = editor->EditorText();
  const Integer v = IsBlankTime(text) ? 0 : ToSeconds(StrToTime(text));
  const Integer low = ToSeconds(MinTime());
  const Integer high = MaxTime() != 0 ? ToSeconds(MaxTime()) : LastSecond;
  Integer next = v;
  if (up)
    next = v >= low ? std::min(v + step, high) : low;
  else
    next = v > high ? high : std::max(v - step, low);
  if (next == v) return;
  if (textEditor->SetEditText(FormatDateTime(EditFormat(), FromSeconds(next)), false))
    textEditor->SelectEditText(part, 2);
}

void TTimeVision::SetMinTime(TDateTime value) {
  SetLowLimit(TimeOfDay(value));
}

void TTimeVision::SetMaxTime(TDateTime value) {
  SetHighLimit(TimeOfDay(value));
}

}  // namespace brevant
