#include "classes/form_text_internal.h"

#include <locale.h>
#include <stdlib.h>
#include <charconv>
#include <cmath>

namespace brevant::detail {

int SignificantDigits(std::string_view s) {
  int count = 0;
  bool started = false;
  for (char c : s) {
    if (c == 'e' || c == 'E') break;
    if (c < '0' || c > '9') continue;
    if (c != '0') started = true;
    if (started) ++count;
  }
  return count ? count : 1;
}

bool ParseExtended(const String& text, long double& value) {
  const char* b = text.data();
  const char* e = b + text.size();
  auto r = std::from_chars(b, e, value);
  if (r.ptr != e) return false;
  if (r.ec == std::errc()) return true;
  if (r.ec != std::errc::result_out_of_range) return false;
  static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  if (!c) return false;
  char* end = nullptr;
  long double v = strtold_l(text.c_str(), &end, c);
  if (end != text.c_str() + text.size() || v == 0 || !std::isfinite(v)) return false;
  value = v;
  return true;
}

}  // namespace brevant::detail
