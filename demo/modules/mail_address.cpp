#include "demo/modules/mail_address.h"

#include "rtl/format.h"

namespace brevant {

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// Characters that would make the text a list, a display name or more than
// one token: never part of a plain address.
bool IsForbidden(unsigned char c) {
  return c <= ' ' || c == 0x7F || c == ',' || c == ';' || c == '<' || c == '>' || c == '(' ||
         c == ')' || c == '[' || c == ']' || c == '\\';
}

// Domain labels: letters, digits, "-" and non-ASCII bytes, separated by
// single dots, not starting or ending with a dot.
bool IsPlainDomain(const String& domain) {
  if (domain.empty() || domain.front() == '.' || domain.back() == '.') return false;
  char previous = 0;
  for (char ch : domain) {
    const auto c = static_cast<unsigned char>(ch);
    const bool label = c >= 0x80 || (IsUnreserved(c) && c != '_' && c != '~');
    if (!label || (c == '.' && previous == '.')) return false;
    previous = ch;
  }
  return true;
}

}  // namespace

bool IsPlainMailAddress(const String& text) {
  const std::size_t at = text.rfind('@');
  if (at == String::npos || at == 0 || text.find('@') != at) return false;
  for (char ch : text.substr(0, at))
    if (IsForbidden(static_cast<unsigned char>(ch))) return false;
  return IsPlainDomain(text.substr(at + 1));
}

String PercentEncodeMailPart(const String& text) {
  static const char kHex[] = "0123456789ABCDEF";
  String out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsUnreserved(c) || c == '@') {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

String MailToUrl(const String& address, const String& subject) {
  if (!IsPlainMailAddress(address))
    throw EMailAddressError("'%s' is not a mail address", {address});
  return "mailto:" + PercentEncodeMailPart(address) + "?subject=" + PercentEncodeMailPart(subject);
}

}  // namespace brevant
