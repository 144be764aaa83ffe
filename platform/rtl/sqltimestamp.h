// TSQLTimeStamp: a date and time as separate fields, and its conversions.
//
// The 16-byte record is stored as is in value buffers. Fractions counts
// milliseconds (0..999). The all-zero record is the null time stamp.
#pragma once

#include "rtl/format_settings.h"
#include "rtl/types.h"

namespace brevant {

class Variant;

struct TSQLTimeStamp {
  SmallInt Year = 0;
  Word Month = 0;
  Word Day = 0;
  Word Hour = 0;
  Word Minute = 0;
  Word Second = 0;
  Cardinal Fractions = 0;

  friend constexpr bool operator==(const TSQLTimeStamp&, const TSQLTimeStamp&) = default;
};
static_assert(sizeof(TSQLTimeStamp) == 16, "TSQLTimeStamp is stored as a 16-byte record");

inline constexpr TSQLTimeStamp NullSQLTimeStamp{};

inline bool IsSQLTimeStampNull(const TSQLTimeStamp& ts) {
  return ts == NullSQLTimeStamp;
}

// True for an existing moment: year 1..9999, a day the month has, hour
// 0..23, minute and second 0..59, fractions 0..999. The null stamp is not
// valid.
bool IsValidTimeStamp(const TSQLTimeStamp& ts);

// The null stamp gives 0; any other invalid stamp raises EConvertError
// quoting its fields. Dates before 30 Dec 1899 follow the date-time sign
// convention (the time of day is subtracted).
TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& ts);
// Milliseconds are rounded to the nearest. Raises EConvertError for NaN,
// infinities and values outside 1 Jan 0001 .. 31 Dec 9999. 0 gives
// 30 Dec 1899 00:00, not the null stamp.
TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime dt);

// FormatDateTime with the stamp's date-time. An empty format means the short
// date format, a blank and the long time format (the time is always shown).
// The null stamp gives the empty text; other invalid stamps raise
// EConvertError.
String SQLTimeStampToStr(const String& format, const TSQLTimeStamp& ts,
                         const TFormatSettings& fs = FormatSettings());
// Parses as StrToDateTime does. Raises EConvertError quoting the text for
// anything else, including the empty text.
TSQLTimeStamp StrToSQLTimeStamp(const String& s, const TFormatSettings& fs = FormatSettings());
bool TryStrToSQLTimeStamp(const String& s, TSQLTimeStamp& ts,
                          const TFormatSettings& fs = FormatSettings());

// The SQL time stamp custom variant (type code varSQLTimeStamp, see
// rtl/variant.h).
Variant VarSQLTimeStampCreate(const TSQLTimeStamp& ts);
Variant VarSQLTimeStampCreate(TDateTime dt);
Variant VarSQLTimeStampCreate(const String& s);
bool VarIsSQLTimeStamp(const Variant& v);
// Null and Unassigned give the null stamp; texts are parsed, numbers and
// dates converted as date-times; other kinds raise EVariantError.
TSQLTimeStamp VarToSQLTimeStamp(const Variant& v);

}  // namespace brevant
