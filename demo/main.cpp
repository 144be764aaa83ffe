// brevant-demo: the demonstration application's entry point. The grid and
// its forms are not built yet; until they are, this program shows the
// runtime layer at work: the same values formatted with the fixed default
// settings and with the settings of the user's locale.
#include <cstdio>

#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

void ShowValues(const char* title, const TFormatSettings& fs) {
  std::printf("%s\n", title);
  const TDateTime moment = EncodeDate(2026, 12, 9) + EncodeTime(14, 7, 9, 0);
  std::printf("  %-22s %s\n", "date and time:", DateTimeToStr(moment, fs).c_str());
  std::printf("  %-22s %s\n", "long date:", FormatDateTime("dddddd", moment, fs).c_str());
  std::printf("  %-22s %s\n", "number:", FormatFloat("#,##0.00", 1234567.891, fs).c_str());
  std::printf(
      "  %-22s %s\n", "currency:",
      CurrToStrF(Currency::FromRaw(-12345678), ffCurrency, fs.CurrencyDecimals, fs).c_str());
  std::printf("  %-22s %s\n", "float:", FloatToStr(1.0 / 3.0, fs).c_str());
}

}  // namespace

int main() {
  std::printf(
      "Brevant demonstration: the grid and its forms are not built yet.\n"
      "Showing the most complete part so far, the runtime library.\n\n");
  try {
    ShowValues("Fixed default settings:", DefaultFormatSettings());
    std::printf("\n");
    ShowValues("Settings of your locale:", LocaleFormatSettings());
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  }
  return 0;
}
