// Date and time field classes: date, time, date-time and SQL time stamp, in
// their record formats and texts.
#include <cmath>
#include <cstring>
#include <limits>

#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_buffer_util.h"
#include "db/field_types.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

using field_util::IsDigit;
using field_util::Load;
using field_util::Nines;

// ==== dates and times =================================================================

TDateTimeField::TDateTimeField(TComponent* owner) : TField(owner) {
  SetDataType(ftDateTime);
}

TDateField::TDateField(TComponent* owner) : TDateTimeField(owner) {
  SetDataType(ftDate);
}

TTimeField::TTimeField(TComponent* owner) : TDateTimeField(owner) {
  SetDataType(ftTime);
}

Integer TDateTimeField::DataSize() const {
  return DataType() == ftDateTime ? 8 : 4;
}

Integer TDateTimeField::DefaultWidth() const {
  return DataType() == ftDateTime ? 18 : 10;
}

void TDateTimeField::SetDisplayFormat(const String& value) {
  if (value == displayFormat_) return;
  displayFormat_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

bool TDateTimeField::GetValue(TDateTime& value) const {
  Byte b[8] = {};
  value = 0;
  if (!GetData(b)) return false;
  switch (DataType()) {
    case ftDate: {
      TTimeStamp ts;
      ts.Date = Load<Integer>(b);
      value = TimeStampToDateTime(ts);
      break;
    }
    case ftTime: {
      Integer ms = Load<Integer>(b);
      if (ms < 0 || ms >= MSecsPerDay) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
      value = static_cast<double>(ms) / MSecsPerDay;
      break;
    }
    default: {
      double ms = Load<double>(b);
      if (!std::isfinite(ms)) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
      value = TimeStampToDateTime(MSecsToTimeStamp(ms));
    }
  }
  return true;
}

String TDateTimeField::DefaultFormat() const {
  switch (DataType()) {
    case ftDate:
      return FormatSettings().ShortDateFormat;
    case ftTime:
      return FormatSettings().LongTimeFormat;
    default:
      return "c";
  }
}

String TDateTimeField::AsString() const {
  TDateTime v;
  if (!GetValue(v)) return String();
  switch (DataType()) {
    case ftDate:
      return DateToStr(v);
    case ftTime:
      return TimeToStr(v);
    default:
      return DateTimeToStr(v);
  }
}
void TDateTimeField::SetAsString(const String& value) {
  if (Trim(value).empty()) {
    Clear();
    return;
  }
  switch (DataType()) {
    case ftDate:
      SetAsDateTime(StrToDate(value));
      break;
    case ftTime:
      SetAsDateTime(StrToTime(value));
      break;
    default:
      SetAsDateTime(StrToDateTime(value));
  }
}
double TDateTimeField::AsFloat() const {
  TDateTime v;
  GetValue(v);
  return v;
}
void TDateTimeField::SetAsFloat(double value) {
  SetAsDateTime(value);
}
TDateTime TDateTimeField::AsDateTime() const {
  TDateTime v;
  GetValue(v);
  return v;
}
void TDateTimeField::SetAsDateTime(TDateTime value) {
  TTimeStamp ts = DateTimeToTimeStamp(value);
  Byte b[8] = {};
  switch (DataType()) {
    case ftDate:
      std::memcpy(b, &ts.Date, 4);
      break;
    case ftTime:
      std::memcpy(b, &ts.Time, 4);
      break;
    default: {
      double ms = TimeStampToMSecs(ts);
      std::memcpy(b, &ms, 8);
    }
  }
  SetData(b);
}
TSQLTimeStamp TDateTimeField::AsSQLTimeStamp() const {
  TDateTime v;
  return GetValue(v) ? DateTimeToSQLTimeStamp(v) : NullSQLTimeStamp;
}
void TDateTimeField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  if (IsSQLTimeStampNull(value))
    Clear();
  else
    SetAsDateTime(SQLTimeStampToDateTime(value));
}
void TDateTimeField::GetText(String& text, bool displayText) const {
  TDateTime v;
  if (!GetValue(v)) {
    text.clear();
    return;
  }
  text =
      FormatDateTime(displayText && !displayFormat_.empty() ? displayFormat_ : DefaultFormat(), v);
}
Variant TDateTimeField::GetAsVariant() const {
  TDateTime v;
  if (!GetValue(v)) return Null();
  return VarFromDateTime(v);
}
void TDateTimeField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else if (VarIsSQLTimeStamp(value))
    SetAsSQLTimeStamp(VarToSQLTimeStamp(value));
  else
    SetAsDateTime(value.AsDateTime());
}

TSQLTimeStampField::TSQLTimeStampField(TComponent* owner) : TField(owner) {
  SetDataType(ftTimeStamp);
}

void TSQLTimeStampField::SetDisplayFormat(const String& value) {
  if (value == displayFormat_) return;
  displayFormat_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

bool TSQLTimeStampField::GetValue(TSQLTimeStamp& value) const {
  if (!GetData(&value)) {
    value = NullSQLTimeStamp;
    return false;
  }
  return true;
}

String TSQLTimeStampField::AsString() const {
  TSQLTimeStamp ts;
  return GetValue(ts) ? SQLTimeStampToStr(String(), ts) : String();
}
void TSQLTimeStampField::SetAsString(const String& value) {
  if (Trim(value).empty())
    Clear();
  else
    SetAsSQLTimeStamp(StrToSQLTimeStamp(value));
}
double TSQLTimeStampField::AsFloat() const {
  return AsDateTime();
}
void TSQLTimeStampField::SetAsFloat(double value) {
  SetAsDateTime(value);
}
TDateTime TSQLTimeStampField::AsDateTime() const {
  TSQLTimeStamp ts;
  return GetValue(ts) ? SQLTimeStampToDateTime(ts) : 0.0;
}
void TSQLTimeStampField::SetAsDateTime(TDateTime value) {
  SetAsSQLTimeStamp(DateTimeToSQLTimeStamp(value));
}
TSQLTimeStamp TSQLTimeStampField::AsSQLTimeStamp() const {
  TSQLTimeStamp ts;
  GetValue(ts);
  return ts;
}
void TSQLTimeStampField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  if (IsSQLTimeStampNull(value)) {
    Clear();
    return;
  }
  if (!IsValidTimeStamp(value)) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
  SetData(&value);
}
void TSQLTimeStampField::GetText(String& text, bool displayText) const {
  TSQLTimeStamp ts;
  if (!GetValue(ts)) {
    text.clear();
    return;
  }
  text = SQLTimeStampToStr(displayText ? displayFormat_ : String(), ts);
}
Variant TSQLTimeStampField::GetAsVariant() const {
  TSQLTimeStamp ts;
  if (!GetValue(ts)) return Null();
  return VarSQLTimeStampCreate(ts);
}
void TSQLTimeStampField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsSQLTimeStamp(VarToSQLTimeStamp(value));
}

}  // namespace brevant
