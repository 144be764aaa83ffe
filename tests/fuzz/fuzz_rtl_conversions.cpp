// Feeds arbitrary text to every routine that converts user text. Each must
// either convert or raise an Exception; anything else (a crash, another
// exception type, a sanitizer report, a hang) is a fault.
#include <cstddef>
#include <cstdint>

#include "rtl/bcd.h"
#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/numconv.h"
#include "rtl/sqltimestamp.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"
#include "rtl/variant.h"

using namespace brevant;

namespace {

template <class F>
void Try(F f) {
  try {
    f();
  } catch (const Exception&) {
    // A documented failure: fine.
  }
}

TFormatSettings EuropeanSettings() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = ".";
  fs.DateSeparator = '.';
  fs.ShortDateFormat = "dd.mm.yyyy";
  fs.CurrencyString = "EUR";
  fs.CurrencyFormat = 3;
  fs.NegCurrFormat = 8;
  return fs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the settings; the rest is the text.
  const bool european = data[0] & 1;
  const String text(reinterpret_cast<const char*>(data + 1), size - 1);
  TFormatSettingsGuard guard;
  if (european) FormatSettings() = EuropeanSettings();
  const TFormatSettings& fs = FormatSettings();

  Try([&] { StrToInt(text); });
  Try([&] { StrToInt64(text); });
  Try([&] { StrToFloat(text, fs); });
  Try([&] { StrToCurr(text, fs); });
  Try([&] { StrToDate(text, fs); });
  Try([&] { StrToTime(text, fs); });
  Try([&] { StrToDateTime(text, fs); });
  Try([&] { StrToBcd(text); });
  Try([&] { StrToSQLTimeStamp(text); });
  Try([&] { VarToDateTime(Variant(text)); });
  Try([&] { Variant(text).AsInt64(); });
  Try([&] { Variant(text).AsBoolean(); });

  // The text as a format, with a mixed argument list.
  Try([&] { Format(text, {42, "abc", 3.25, Int64(-7), true}); });
  Try([&] { FormatFloat(text, 1234.5678, fs); });
  Try([&] { FormatFloat(text, -0.000123, fs); });
  Try([&] { FormatDateTime(text, 45356.589, fs); });
  Try([&] { FormatDateTime(text, -1.25, fs); });

  // Text helpers must accept any bytes.
  Try([&] {
    (void)Utf8Length(text);
    (void)Utf8ToWide(text);
    (void)AnsiCompareText(text, "Abc");
    (void)AnsiUpperCase(text);
    (void)StripHotkey(text);
    TStringList list;
    list.SetText(text);
    (void)list.Text();
    list.SetCommaText(text);
    (void)list.CommaText();
  });
  return 0;
}
