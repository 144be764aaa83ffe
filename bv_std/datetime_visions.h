// The date and time visions. TDateTimeVision formats and checks date-time
// values and keeps a lower and an upper limit; TDateVision adds the calendar
// drop-down, date limits and keeps the time of day when it posts;
// TTimeVision adds masked entry with spin buttons, time limits and keeps
// the date when it posts.
#pragma once

#include "bv_std/tool_form_vision.h"

namespace brevant {

// How a date or time is shown when no display format is given.
enum TznDisplayFormatKind : Byte { dfkDefault, dfkShort, dfkLong, dfkCustom };
BV_DECLARE_ENUM_INFO(TznDisplayFormatKind)
// The parts a time is edited in: tefDefault the field's own edit text.
enum TznTimeEditFormatKind : Byte { tefDefault, tefHhMmSs, tefHhMm, tefHh };
BV_DECLARE_ENUM_INFO(TznTimeEditFormatKind)
// The buttons of the calendar drop-down.
enum TznCalendarButton : Byte { clbToday, clbClear, clbNoYearNavigator };
using TznCalendarButtons = TSet<TznCalendarButton>;
BV_DECLARE_ENUM_INFO(TznCalendarButton)
BV_DECLARE_ENUM_INFO(TznCalendarButtons)

// A date-time value for consumers without a main field.
using TfvGetDateValueEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, TDateTime& Value, bool& IsNull)>;

class TDateTimeVision : public TToolFormVision {
  BV_CLASS(TDateTimeVision, TToolFormVision)
 public:
  explicit TDateTimeVision(TComponent* owner = nullptr);

  void CheckFields(TtlFieldList* fields, bool& active) override;
  void LoadCurrentValue(IznVisionEditor* editor) override;

  // Setting it also makes DisplayFormatKind dfkCustom.
  const String& DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const String& value);
  TznDisplayFormatKind DisplayFormatKind() const { return displayFormatKind_; }
  void SetDisplayFormatKind(TznDisplayFormatKind value);
  bool Nullable() const { return nullable_; }
  void SetNullable(bool value) { nullable_ = value; }

  // The limits, 0 meaning none.
  TDateTime LowLimit() const { return lowLimit_; }
  TDateTime HighLimit() const { return highLimit_; }
  bool IsLowLimitStored() const { return lowLimit_ != 0; }
  bool IsHighLimitStored() const { return highLimit_ != 0; }

  TfvGetDateValueEvent OnGetValue;

 protected:
  // A non-zero lower limit above a non-zero upper one moves the upper limit
  // to value + LimitGap() first; the upper limit likewise.
  void SetLowLimit(TDateTime value);
  void SetHighLimit(TDateTime value);
  // The distance kept between limits when one pushes the other.
  virtual TDateTime LimitGap() const { return 1; }

  // The display format of fields: the field list's, else by kind (short and
  // long from the settings given as shortFormat and longFormat).
  String DisplayFormatOf(TtlFieldList* fields, const String& shortFormat,
                         const String& longFormat) const;
  // Text of the value without a main field: OnGetValue, formatted with
  // format (empty when it reports null).
  String ValueWithoutField(TtlFieldList* fields, const String& format);
  // The editor's text as a date-time: null when blank and Nullable, an
  // EBVError when blank otherwise, the conversion's error when it does not
  // parse. blank tells whether the text holds nothing to convert.
  bool ReadDateTime(IznVisionEditor* editor, bool blank, TDateTime& value);
  // Raises the out-of-range errors for text when checked lies outside the
  // limits; limitText turns a limit into text.
  void CheckLimits(const String& text, TDateTime checked, String (*limitText)(TDateTime));

 private:
  String displayFormat_;                                 // custom display format
  TznDisplayFormatKind displayFormatKind_ = dfkDefault;  // format by kind
  bool nullable_ = true;                                 // blank text posts null
  TDateTime lowLimit_ = 0;                               // lowest value, 0: none
  TDateTime highLimit_ = 0;                              // highest value, 0: none
};

class TDateVision : public TDateTimeVision {
  BV_CLASS(TDateVision, TDateTimeVision)
 public:
  explicit TDateVision(TComponent* owner = nullptr);

  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) override;
  void PostValue(TtlFieldList* fields, const TznUniValue& value) override;
  // The default pack's calendar.
  TVisionToolForm* DefaultDropDown() override;

  // The limits as dates; assigned values lose their time of day.
  TDateTime MinDate() const { return LowLimit(); }
  void SetMinDate(TDateTime value);
  TDateTime MaxDate() const { return HighLimit(); }
  void SetMaxDate(TDateTime value);
  TznCalendarButtons Buttons() const { return buttons_; }
  void SetButtons(TznCalendarButtons value) { buttons_ = value; }
  // Posting keeps the field's time of day.
  bool SaveTime() const { return saveTime_; }
  void SetSaveTime(bool value) { saveTime_ = value; }

 private:
  friend void RegisterDateTimeVisionClasses();
  TznCalendarButtons buttons_{clbToday, clbClear};  // calendar buttons
  bool saveTime_ = true;                            // keep the field's time
};

class TTimeVision : public TDateTimeVision {
  BV_CLASS(TTimeVision, TDateTimeVision)
 public:
  explicit TTimeVision(TComponent* owner = nullptr);

  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void GetEditMask(TtlFieldList* fields, String& mask) override;
  void ReadEditValue(IznVisionEditor* editor, TznUniValue& value, bool& skip) override;
  void PostValue(TtlFieldList* fields, const TznUniValue& value) override;
  // The base, then a spin step with pbsSpin.
  void ButtonClick(IznVisionEditor* editor) override;

  TznTimeEditFormatKind EditFormatKind() const { return editFormatKind_; }
  void SetEditFormatKind(TznTimeEditFormatKind value) { editFormatKind_ = value; }
  // The limits as times of day; assigned values lose their date.
  TDateTime MinTime() const { return LowLimit(); }
  void SetMinTime(TDateTime value);
  TDateTime MaxTime() const { return HighLimit(); }
  void SetMaxTime(TDateTime value);
  // Posting keeps the field's date.
  bool SaveDate() const { return saveDate_; }
  void SetSaveDate(bool value) { saveDate_ = value; }

  // The edit format of EditFormatKind ("hh:mm" ...), empty for tefDefault.
  String EditFormat() const;

 protected:
  // A time limit pushes the other one to its own value: a day apart would
  // leave the time of day.
  TDateTime LimitGap() const override { return 0; }

 private:
  // One spin step up or down on the part under the caret.
  void Spin(IznVisionEditor* editor, bool up);

  TznTimeEditFormatKind editFormatKind_ = tefHhMm;  // parts edited
  bool saveDate_ = true;                            // keep the field's date
};

void RegisterDateTimeVisionClasses();

}  // namespace brevant
