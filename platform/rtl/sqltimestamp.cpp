#include "rtl/sqltimestamp.h"

#include <cmath>
#include <cstdio>

#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/variant.h"

namespace brevant {

namespace {

// The stored fields as ISO-like text, for messages about invalid stamps.
String FieldsText(const TSQLTimeStamp& ts) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02u:%02u:%02u.%03u", static_cast<int>(ts.Year),
                static_cast<unsigned>(ts.Month), static_cast<unsigned>(ts.Day),
                static_cast<unsigned>(ts.Hour), static_cast<unsigned>(ts.Minute),
                static_cast<unsigned>(ts.Second), static_cast<unsigned>(ts.Fractions));
  return buf;
}

// Whole days run from MinDateTimeDay to MaxDateTimeDay; the integer part of a
// negative date-time is its day, so the open interval is the valid range.
bool InDateTimeRange(TDateTime dt) {
  return std::isfinite(dt) && dt > MinDateTimeDay - 1.0 && dt < MaxDateTimeDay + 1.0;
}

TSQLTimeStamp Decompose(TDateTime dt) {
  Word y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
  DecodeDateTime(dt, y, mo, d, h, mi, s, ms);
  TSQLTimeStamp ts;
  ts.Year = static_cast<SmallInt>(y);
  ts.Month = mo;
  ts.Day = d;
  ts.Hour = h;
  ts.Minute = mi;
  ts.Second = s;
  ts.Fractions = ms;
  return ts;
}

}  // namespace

bool IsValidTimeStamp(const TSQLTimeStamp& ts) {
  if (ts.Year < 1 || ts.Year > 9999 || ts.Month < 1 || ts.Month > 12 || ts.Day < 1) return false;
  if (ts.Day > DaysInAMonth(static_cast<Word>(ts.Year), ts.Month)) return false;
  return ts.Hour < 24 && ts.Minute < 60 && ts.Second < 60 && ts.Fractions < 1000;
}

TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& ts) {
  if (IsSQLTimeStampNull(ts)) return 0;
  if (!IsValidTimeStamp(ts)) throw EConvertError(res::SInvalidSQLTimeStamp, {FieldsText(ts)});
  const TDateTime date = EncodeDate(static_cast<Word>(ts.Year), ts.Month, ts.Day);
  const TDateTime time = EncodeTime(ts.Hour, ts.Minute, ts.Second, static_cast<Word>(ts.Fractions));
  return date >= 0 ? date + time : date - time;
}

TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime dt) {
  if (!InDateTimeRange(dt)) throw EConvertError(res::SInvalidDateTimeValue, {FloatToStr(dt)});
  return Decompose(dt);
}

String SQLTimeStampToStr(const String& format, const TSQLTimeStamp& ts, const TFormatSettings& fs) {
  if (IsSQLTimeStampNull(ts)) return String();
  const TDateTime dt = SQLTimeStampToDateTime(ts);
  if (format.empty()) return FormatDateTime(fs.ShortDateFormat + " " + fs.LongTimeFormat, dt, fs);
  return FormatDateTime(format, dt, fs);
}

bool TryStrToSQLTimeStamp(const String& s, TSQLTimeStamp& ts, const TFormatSettings& fs) {
  TDateTime dt = 0;
  if (!TryStrToDateTime(s, dt, fs) || !InDateTimeRange(dt)) return false;
  ts = Decompose(dt);
  return true;
}

TSQLTimeStamp StrToSQLTimeStamp(const String& s, const TFormatSettings& fs) {
  TSQLTimeStamp ts;
  if (!TryStrToSQLTimeStamp(s, ts, fs)) throw EConvertError(res::SInvalidSQLTimeStamp, {s});
  return ts;
}

Variant VarSQLTimeStampCreate(const TSQLTimeStamp& ts) {
  return Variant(ts);
}

Variant VarSQLTimeStampCreate(TDateTime dt) {
  return Variant(DateTimeToSQLTimeStamp(dt));
}

Variant VarSQLTimeStampCreate(const String& s) {
  return Variant(StrToSQLTimeStamp(s));
}

bool VarIsSQLTimeStamp(const Variant& v) {
  return v.VarType() == varSQLTimeStamp;
}

TSQLTimeStamp VarToSQLTimeStamp(const Variant& v) {
  return v.AsSQLTimeStamp();
}

}  // namespace brevant
