#include "classes/form_text.h"

#include <locale.h>
#include <stdlib.h>
#include <charconv>
#include <cmath>
#include <cstring>

#include "classes/reader.h"
#include "classes/writer.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// ---- numbers ------------------------------------------------------------------------

// Significant digits of a number's mantissa as written (trailing zeros
// count, leading ones do not); zero counts as one digit.
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

// Reads a whole text as a long double. The standard parser refuses results
// below the normal range, which extended values may hold; those go through
// the C library in the "C" locale.
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

// "1.5e+07" -> "1.5E7", "1e-05" -> "1E-5".
String NormalizeExponent(String s) {
  std::size_t e = s.find('e');
  if (e == String::npos) return s;
  String mantissa = s.substr(0, e);
  std::size_t i = e + 1;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  while (i + 1 < s.size() && s[i] == '0') ++i;
  return mantissa + (neg ? "E-" : "E") + s.substr(i);
}

String NonFinite(long double v) {
  if (std::isnan(v)) return "+NAN";
  return v > 0 ? "+INF" : "-INF";
}

template <class T, class... Args>
String ToChars(T v, Args... args) {
  char buf[128];
  auto r = std::to_chars(buf, buf + sizeof buf, v, args...);
  return NormalizeExponent(String(buf, r.ptr));
}

// Extended values: see the float rule in form_text.h.
String ExtendedText(Extended x) {
  if (!std::isfinite(x)) return NonFinite(x);
  String s;
  double d = ExtendedToDouble(x);
  if (std::isfinite(d) && static_cast<Extended>(d) == x) {
    s = ToChars(d);
  } else {
    // The fewest digits (18 to 21) that read back to x; 21 always do, but
    // the general form drops trailing zeros, so keep them when needed.
    s = ToChars(x);
    for (int precision = 18; SignificantDigits(s) <= 17 && precision <= 21; ++precision) {
      String t = ToChars(x, std::chars_format::general, precision);
      Extended back = 0;
      if (SignificantDigits(t) >= 18 && ParseExtended(t, back) && back == x) s = t;
    }
    if (SignificantDigits(s) <= 17) s = ToChars(x, std::chars_format::scientific, 20);
  }
  if (s.find_first_of(".E") == String::npos) s += ".0";
  return s;
}

String SingleText(float x) {
  return std::isfinite(x) ? ToChars(x) : NonFinite(x);
}
String DoubleText(double x) {
  return std::isfinite(x) ? ToChars(x) : NonFinite(x);
}

String CurrencyText(Int64 raw) {
  UInt64 a = raw < 0 ? 0 - static_cast<UInt64>(raw) : static_cast<UInt64>(raw);
  String s = (raw < 0 ? "-" : "") + std::to_string(a / 10000);
  unsigned frac = static_cast<unsigned>(a % 10000);
  if (frac) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", frac);
    String f = buf;
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return s;
}

bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}

bool IsDottedIdent(const String& s) {
  if (s.empty()) return false;
  for (const String& part : SplitString(s, '.'))
    if (!IsValidIdent(part)) return false;
  return true;
}

// The bytes of one UTF-8 sequence starting at i, or 1 for a byte that does
// not start a complete sequence.
std::size_t Utf8Unit(const String& s, std::size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t n = c >= 0xF0 && c <= 0xF7 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  if (c >= 0xF8) n = 1;
  if (n == 1 || i + n > s.size()) return 1;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

constexpr std::size_t LineLength = 64;
constexpr std::size_t BytesPerLine = 32;

// ---- binary to text ---------------------------------------------------------------------

class TBinaryToText {
 public:
  explicit TBinaryToText(TReader& reader) : r_(reader) {}

  String Convert() {
    r_.ReadSignature();
    Object(0);
    return std::move(out_);
  }

 private:
  void Indent(int level) { out_.append(static_cast<std::size_t>(2 * level), ' '); }
  void NewLine(int level) {
    out_ += "\r\n";
    Indent(level);
  }
  void Enter() {
    if (++depth_ > MaxFilerNesting) throw EReadError(res::SStreamNestingTooDeep, {r_.Position()});
  }
  String Name(bool dotted, bool allowEmpty) {
    Int64 at = r_.Position();
    String s = r_.ReadStr();
    if (s.empty() && allowEmpty) return s;
    if (dotted ? !IsDottedIdent(s) : !IsValidIdent(s))
      throw EReadError(res::SInvalidStreamName, {Utf8Truncate(s, 64), at});
    return s;
  }

  void Object(int level) {
    Enter();
    TFilerFlags flags;
    Integer pos = 0;
    r_.ReadPrefix(flags, pos);
    Int64 at = r_.Position();
    String className = Name(false, false);
    if (className.size() >= 0xF0) throw EReadError(res::SInvalidStreamName, {className, at});
    String name = Name(false, true);
    Indent(level);
    out_ += flags.Contains(ffInherited) ? "inherited "
            : flags.Contains(ffInline)  ? "inline "
                                        : "object ";
    if (!name.empty()) out_ += name + ": ";
    out_ += className;
    if (flags.Contains(ffChildPos)) out_ += " [" + IntToStr(pos) + "]";
    out_ += "\r\n";
    while (!r_.EndOfList()) Property(level + 1);
    r_.ReadListEnd();
    while (!r_.EndOfList()) Object(level + 1);
    r_.ReadListEnd();
    Indent(level);
    out_ += "end\r\n";
    --depth_;
  }

  void Property(int level) {
    String name = Name(true, false);
    Indent(level);
    out_ += name + " = ";
    Value(level);
    out_ += "\r\n";
  }

  void Value(int level) {
    TValueType t = r_.NextValue();
    switch (t) {
      case vaNull:
        r_.ReadValue();
        out_ += "Null";
        return;
      case vaList:
        Enter();
        r_.ReadValue();
        out_ += '(';
        while (!r_.EndOfList()) {
          NewLine(level + 1);
          Value(level + 1);
        }
        r_.ReadListEnd();
        out_ += ')';
        --depth_;
        return;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        out_ += IntToStr(r_.ReadInt64());
        return;
      case vaExtended:
        out_ += ExtendedText(r_.ReadFloat());
        return;
      case vaSingle:
        out_ += SingleText(r_.ReadSingle()) + "s";
        return;
      case vaCurrency:
        out_ += CurrencyText(r_.ReadCurrency().Value) + "c";
        return;
      case vaDate:
        out_ += DoubleText(r_.ReadDate()) + "d";
        return;
      case vaString:
      case vaLString:
      case vaUTF8String:
        String8(r_.ReadString(), level);
        return;
      case vaWString:
        Wide(r_.ReadWideString(), level);
        return;
      case vaIdent: {
        Int64 at = r_.Position();
        String ident = r_.ReadIdent();
        if (!IsDottedIdent(ident))
          throw EReadError(res::SInvalidStreamName, {Utf8Truncate(ident, 64), at});
        out_ += ident;
        return;
      }
      case vaFalse:
      case vaTrue:
      case vaNil:
        out_ += r_.ReadIdent();
        return;
      case vaBinary:
        Binary(r_.ReadBinary(), level);
        return;
      case vaSet: {
        r_.ReadValue();
        out_ += '[';
        bool first = true;
        for (;;) {
          Int64 at = r_.Position();
          String element = r_.ReadStr();
          if (element.empty()) break;
          if (!IsValidIdent(element)) throw EReadError(res::SInvalidStreamName, {element, at});
          if (!first) out_ += ", ";
          out_ += element;
          first = false;
        }
        out_ += ']';
        return;
      }
      case vaCollection:
        Enter();
        r_.ReadValue();
        out_ += '<';
        while (!r_.EndOfList()) {
          NewLine(level + 1);
          out_ += "item";
          TValueType n = r_.NextValue();
          if (n == vaInt8 || n == vaInt16 || n == vaInt32)
            out_ += " [" + IntToStr(r_.ReadInteger()) + "]";
          out_ += "\r\n";
          r_.ReadListBegin();
          while (!r_.EndOfList()) Property(level + 2);
          r_.ReadListEnd();
          Indent(level + 1);
          out_ += "end";
        }
        r_.ReadListEnd();
        out_ += '>';
        --depth_;
        return;
    }
  }

  // 8-bit (UTF-8) strings: multi-byte sequences and other bytes from 32 up
  // go inside the quoted runs as they are.
  void String8(const String& s, int level) {
    const std::size_t len = s.size();
    if (len == 0) {
      out_ += "''";
      return;
    }
    if (len > LineLength) NewLine(level + 1);
    std::size_t i = 0, lineStart = 0;
    while (i < len) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      if (c >= 32 && c != '\'') {
        std::size_t j = i;
        while (i < len && static_cast<unsigned char>(s[i]) >= 32 && s[i] != '\'' &&
               i - lineStart < LineLength)
          i += Utf8Unit(s, i);
        out_ += '\'';
        out_.append(s, j, i - j);
        out_ += '\'';
      } else {
        out_ += '#' + IntToStr(c);
        ++i;
      }
      if (i - lineStart >= LineLength && i < len) {
        out_ += " +";
        NewLine(level + 1);
        lineStart = i;
      }
    }
  }

  // Wide strings: characters 32 to 127 inside quoted runs, others as #code;
  // a surrogate pair stays on one line.
  void Wide(const WideString& w, int level) {
    const std::size_t len = w.size();
    if (len == 0) {
      out_ += "''";
      return;
    }
    if (len > LineLength) NewLine(level + 1);
    std::size_t i = 0, lineStart = 0;
    while (i < len) {
      char16_t c = w[i];
      if (c >= 32 && c <= 127 && c != u'\'') {
        out_ += '\'';
        while (i < len && w[i] >= 32 && w[i] <= 127 && w[i] != u'\'' && i - lineStart < LineLength)
          out_ += static_cast<char>(w[i++]);
        out_ += '\'';
      } else {
        out_ += '#' + IntToStr(c);
        ++i;
        if (c >= 0xD800 && c <= 0xDBFF && i < len && w[i] >= 0xDC00 && w[i] <= 0xDFFF)
          out_ += '#' + IntToStr(w[i++]);
      }
      if (i - lineStart >= LineLength && i < len) {
        out_ += " +";
        NewLine(level + 1);
        lineStart = i;
      }
    }
  }

  void Binary(const String& bytes, int level) {
    static const char hex[] = "0123456789ABCDEF";
    out_ += '{';
    const bool multiLine = bytes.size() >= BytesPerLine;
    for (std::size_t i = 0; i < bytes.size(); i += BytesPerLine) {
      if (multiLine) NewLine(level + 1);
      std::size_t end = std::min(bytes.size(), i + BytesPerLine);
      for (std::size_t k = i; k < end; ++k) {
        unsigned char b = static_cast<unsigned char>(bytes[k]);
        out_ += hex[b >> 4];
        out_ += hex[b & 15];
      }
    }
    out_ += '}';
  }

  TReader& r_;
  String out_;
  Integer depth_ = 0;
};

// ---- text to binary ----------------------------------------------------------------------

class TTextToBinary {
 public:
  TTextToBinary(const String& text, TWriter& writer) : s_(text), w_(writer) {}

  void Convert() {
    if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) p_ = 3;
    SkipBlanks();
    w_.WriteSignature();
    Object();
    SkipBlanks();
    if (!AtEnd()) Error(res::SParTrailingText);
  }

 private:
  [[noreturn]] void Error(const String& msg) const {
    throw EParserError(Format(res::SParseError, {msg, line_}), line_);
  }
  [[noreturn]] void Expected(const char* what) const { Error(Format(res::SParExpected, {what})); }

  bool AtEnd() const { return p_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[p_]; }

  void SkipBlanks() {
    while (!AtEnd()) {
      char c = s_[p_];
      if (c == '\n') {
        ++line_;
        ++p_;
      } else if (c == '\r') {
        ++line_;
        ++p_;
        if (Peek() == '\n') ++p_;
      } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
        ++p_;
      } else {
        break;
      }
    }
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Expected(String(1, '\'').append(1, c).append(1, '\'').c_str());
    ++p_;
  }

  void Enter() {
    if (++depth_ > MaxFilerNesting) Error(res::SParNestingTooDeep);
  }

  String ReadName() {
    if (!IsIdentStart(Peek())) Expected("Identifier");
    std::size_t start = p_;
    while (!AtEnd() && IsIdentChar(s_[p_])) ++p_;
    return s_.substr(start, p_ - start);
  }

  // Names joined by dots, blanks allowed around the dots.
  String ReadDottedName() {
    String name = ReadName();
    for (;;) {
      std::size_t save = p_;
      Integer saveLine = line_;
      SkipBlanks();
      if (Peek() != '.') {
        p_ = save;
        line_ = saveLine;
        break;
      }
      ++p_;
      SkipBlanks();
      name += "." + ReadName();
    }
    if (name.size() > 255) Error(Format(res::SShortStringTooLong, {Utf8Truncate(name, 64)}));
    return name;
  }

  Int64 ReadIndex() {
    SkipBlanks();
    std::size_t start = p_;
    if (Peek() == '-') ++p_;
    while (!AtEnd() && s_[p_] >= '0' && s_[p_] <= '9') ++p_;
    Integer v = 0;
    auto r = std::from_chars(s_.data() + start, s_.data() + p_, v);
    if (r.ec != std::errc() || r.ptr != s_.data() + p_ || IsIdentChar(Peek()))
      Error(Format(res::SParInvalidNumber, {s_.substr(start, p_ - start + (AtEnd() ? 0 : 1))}));
    return v;
  }

  // Whether the identifier just ahead starts a property ("Name =" or
  // "Name.Sub ="), so that properties may be called "end" or "object".
  bool AtPropertyStart() {
    std::size_t save = p_;
    Integer saveLine = line_;
    ReadName();
    SkipBlanks();
    bool result = Peek() == '=' || Peek() == '.';
    p_ = save;
    line_ = saveLine;
    return result;
  }

  void Object() {
    Enter();
    SkipBlanks();
    String keyword = ReadName();
    TFilerFlags flags;
    if (SameText(keyword, "inherited"))
      flags += ffInherited;
    else if (SameText(keyword, "inline"))
      flags += ffInline;
    else if (!SameText(keyword, "object"))
      Expected("'object'");
    SkipBlanks();
    String first = ReadName();
    String name, className = first;
    SkipBlanks();
    if (Peek() == ':') {
      ++p_;
      SkipBlanks();
      name = first;
      className = ReadName();
    }
    if (className.size() >= 0xF0 || name.size() > 255)
      Error(Format(res::SShortStringTooLong,
                   {Utf8Truncate(className.size() >= 0xF0 ? className : name, 64)}));
    Integer pos = 0;
    std::size_t save = p_;
    Integer saveLine = line_;
    SkipBlanks();
    if (Peek() == '[') {
      ++p_;
      pos = static_cast<Integer>(ReadIndex());
      Expect(']');
      flags += ffChildPos;
    } else {
      p_ = save;
      line_ = saveLine;
    }
    w_.WritePrefix(flags, pos);
    w_.WriteStr(className);
    w_.WriteStr(name);

    bool children = false;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Expected("'end'");
      if (!IsIdentStart(Peek())) Expected("Identifier");
      if (AtPropertyStart()) {
        if (children) Expected("'end'");
        Property();
        continue;
      }
      std::size_t at = p_;
      Integer atLine = line_;
      String word = ReadName();
      if (SameText(word, "end")) break;
      if (SameText(word, "object") || SameText(word, "inherited") || SameText(word, "inline")) {
        if (!children) w_.WriteListEnd();
        children = true;
        p_ = at;
        line_ = atLine;
        Object();
        continue;
      }
      Expected("'='");
    }
    if (!children) w_.WriteListEnd();
    w_.WriteListEnd();
    --depth_;
  }

  void Property() {
    String name = ReadDottedName();
    Expect('=');
    w_.WriteStr(name);
    Value();
  }

  void Value(bool inList = false) {
    SkipBlanks();
    if (AtEnd()) Error(res::SParUnexpectedEnd);
    char c = Peek();
    if (c == '\'' || c == '#') {
      StringValue();
    } else if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '$') {
      Number();
    } else if (c == '[') {
      SetValue();
    } else if (c == '(') {
      ListValue();
    } else if (c == '{') {
      BinaryValue();
    } else if (c == '<') {
      CollectionValue();
    } else if (IsIdentStart(c)) {
      String ident = ReadDottedName();
      if (inList && SameText(ident, "Null")) {
        // vaNull would end the list.
        w_.WriteValue(vaIdent);
        w_.WriteStr(ident);
      } else {
        w_.WriteIdent(ident);
      }
    } else {
      Error(res::SParInvalidValue);
    }
  }

  void StringValue() {
    struct TPiece {
      String run;
      UInt64 code = 0;
      bool isCode = false;
    };
    std::vector<TPiece> pieces;
    bool wide = false;
    for (;;) {
      char c = Peek();
      if (c == '\'') {
        ++p_;
        TPiece piece;
        for (;;) {
          if (AtEnd() || s_[p_] == '\r' || s_[p_] == '\n') Error(res::SParUnterminatedString);
          if (s_[p_] == '\'') {
            if (p_ + 1 < s_.size() && s_[p_ + 1] == '\'') {
              piece.run += '\'';
              p_ += 2;
              continue;
            }
            ++p_;
            break;
          }
          piece.run += s_[p_++];
        }
        pieces.push_back(std::move(piece));
      } else if (c == '#') {
        ++p_;
        std::size_t start = p_;
        UInt64 code = 0;
        bool hex = Peek() == '$';
        if (hex) ++p_;
        std::size_t digitsStart = p_;
        while (!AtEnd()) {
          char d = s_[p_];
          int v = d >= '0' && d <= '9'          ? d - '0'
                  : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                  : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                : -1;
          if (v < 0) break;
          code = code * (hex ? 16 : 10) + static_cast<unsigned>(v);
          if (code > 0x10FFFF)
            Error(Format(res::SParInvalidString, {s_.substr(start, p_ - start + 1)}));
          ++p_;
        }
        if (p_ == digitsStart || IsIdentChar(Peek()))
          Error(Format(res::SParInvalidString, {s_.substr(start, p_ - start + (AtEnd() ? 0 : 1))}));
        if (code >= 128) wide = true;
        TPiece piece;
        piece.code = code;
        piece.isCode = true;
        pieces.push_back(std::move(piece));
      } else {
        break;
      }
      // The literal goes on with a directly adjacent piece, or with "+" and a
      // piece after blanks and line breaks.
      if (Peek() == '\'' || Peek() == '#') continue;
      std::size_t save = p_;
      Integer saveLine = line_;
      SkipBlanks();
      if (Peek() == '+') {
        ++p_;
        SkipBlanks();
        if (Peek() == '\'' || Peek() == '#') continue;
      }
      p_ = save;
      line_ = saveLine;
      break;
    }
    if (wide) {
      WideString w;
      for (const TPiece& piece : pieces) {
        if (!piece.isCode) {
          w += Utf8ToWide(piece.run);
        } else if (piece.code <= 0xFFFF) {
          w += static_cast<char16_t>(piece.code);
        } else {
          UInt64 v = piece.code - 0x10000;
          w += static_cast<char16_t>(0xD800 + (v >> 10));
          w += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        }
      }
      w_.WriteWideString(w);
    } else {
      String s;
      for (const TPiece& piece : pieces)
        s += piece.isCode ? String(1, static_cast<char>(piece.code)) : piece.run;
      w_.WriteString(s);
    }
  }

  void Number() {
    const std::size_t start = p_;
    bool neg = false;
    if (Peek() == '+' || Peek() == '-') {
      neg = Peek() == '-';
      ++p_;
    }
    auto bad = [&]() {
      std::size_t end = p_;
      while (end < s_.size() && (IsIdentChar(s_[end]) || s_[end] == '.')) ++end;
      Error(Format(res::SParInvalidNumber,
                   {s_.substr(start, std::max<std::size_t>(end - start, 1))}));
    };
    if (IsIdentStart(Peek())) {
      // +INF, -INF, +NAN with an optional kind suffix.
      String word = UpperCase(ReadName());
      if (word.size() < 3) bad();
      String base = word.substr(0, 3);
      String suffix = word.substr(3);
      if ((base != "INF" && base != "NAN") || suffix.size() > 1 ||
          (suffix.size() == 1 && suffix != "S" && suffix != "D"))
        bad();
      long double v = base == "NAN" ? std::nanl("") : HUGE_VALL;
      if (neg) v = -v;
      if (suffix == "S")
        w_.WriteSingle(ExtendedToSingle(v));
      else if (suffix == "D")
        w_.WriteDate(ExtendedToDouble(v));
      else
        w_.WriteFloat(v);
      return;
    }
    if (Peek() == '$') {
      ++p_;
      std::size_t digits = p_;
      UInt64 v = 0;
      while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(s_[p_]))) {
        if (p_ - digits >= 16) bad();
        char d = s_[p_++];
        v = v * 16 + static_cast<unsigned>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
      }
      if (p_ == digits || IsIdentChar(Peek()) || v > static_cast<UInt64>(INT64_MAX)) bad();
      Int64 value = static_cast<Int64>(v);
      w_.WriteInteger(neg ? -value : value);
      return;
    }
    auto digits = [&]() {
      std::size_t d = p_;
      while (!AtEnd() && s_[p_] >= '0' && s_[p_] <= '9') ++p_;
      return p_ - d;
    };
    std::size_t intDigits = digits();
    if (intDigits == 0) bad();
    bool isFloat = false;
    if (Peek() == '.') {
      ++p_;
      isFloat = true;
      if (digits() == 0) bad();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++p_;
      isFloat = true;
      if (Peek() == '+' || Peek() == '-') ++p_;
      if (digits() == 0) bad();
    }
    const std::size_t numberEnd = p_;
    char suffix = 0;
    char k = static_cast<char>(Peek() | 0x20);
    if ((k == 's' || k == 'c' || k == 'd') &&
        !(p_ + 1 < s_.size() && (IsIdentChar(s_[p_ + 1]) || s_[p_ + 1] == '.'))) {
      suffix = k;
      ++p_;
    }
    if (IsIdentChar(Peek()) || Peek() == '.' || Peek() == '$') bad();
    // from_chars takes no '+'.
    String text = s_.substr(start, numberEnd - start);
    if (!text.empty() && text[0] == '+') text.erase(0, 1);
    const char* b = text.data();
    const char* e = text.data() + text.size();
    if (!isFloat && !suffix) {
      Int64 v = 0;
      auto r = std::from_chars(b, e, v);
      if (r.ec != std::errc() || r.ptr != e) bad();
      w_.WriteInteger(v);
      return;
    }
    switch (suffix) {
      case 's': {
        float f = 0;
        auto r = std::from_chars(b, e, f);
        if (r.ec != std::errc() || r.ptr != e) bad();
        w_.WriteSingle(f);
        return;
      }
      case 'd': {
        double d = 0;
        auto r = std::from_chars(b, e, d);
        if (r.ec != std::errc() || r.ptr != e) bad();
        w_.WriteDate(d);
        return;
      }
      case 'c': {
        Currency c;
        if (!TryStrToCurr(text, c, DefaultFormatSettings())) bad();
        w_.WriteCurrency(c);
        return;
      }
      default:
        break;
    }
    if (SignificantDigits(text) <= 17) {
      double d = 0;
      auto r = std::from_chars(b, e, d);
      if (r.ec == std::errc() && r.ptr == e) {
        w_.WriteFloat(static_cast<Extended>(d));
        return;
      }
    }
    long double x = 0;
    if (!ParseExtended(text, x)) bad();
    w_.WriteFloat(x);
  }

  void SetValue() {
    ++p_;
    w_.WriteValue(vaSet);
    SkipBlanks();
    if (Peek() == ']') {
      ++p_;
    } else {
      for (;;) {
        SkipBlanks();
        String element = ReadName();
        if (element.size() > 255)
          Error(Format(res::SShortStringTooLong, {Utf8Truncate(element, 64)}));
        w_.WriteStr(element);
        SkipBlanks();
        if (Peek() == ',') {
          ++p_;
          continue;
        }
        if (Peek() == ']') {
          ++p_;
          break;
        }
        Expected("']'");
      }
    }
    w_.WriteStr(String());
  }

  void ListValue() {
    Enter();
    ++p_;
    w_.WriteListBegin();
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Expected("')'");
      if (Peek() == ')') {
        ++p_;
        break;
      }
      Value(true);
    }
    w_.WriteListEnd();
    --depth_;
  }

  void BinaryValue() {
    ++p_;
    String bytes;
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Expected("'}'");
      char c = s_[p_];
      if (c == '}') {
        ++p_;
        break;
      }
      int v = c >= '0' && c <= '9'                     ? c - '0'
              : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                       : -1;
      if (v < 0) Error(res::SParInvalidBinary);
      ++p_;
      if (high < 0) {
        high = v;
      } else {
        bytes += static_cast<char>(high * 16 + v);
        high = -1;
      }
    }
    if (high >= 0) Error(res::SParInvalidBinary);
    w_.WriteBinary(bytes.data(), static_cast<Int64>(bytes.size()));
  }

  void CollectionValue() {
    Enter();
    ++p_;
    w_.WriteValue(vaCollection);
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Expected("'>'");
      if (Peek() == '>') {
        ++p_;
        break;
      }
      if (!IsIdentStart(Peek()) || !SameText(ReadName(), "item")) Expected("'item'");
      std::size_t save = p_;
      Integer saveLine = line_;
      SkipBlanks();
      if (Peek() == '[') {
        ++p_;
        w_.WriteInteger(ReadIndex());
        Expect(']');
      } else {
        p_ = save;
        line_ = saveLine;
      }
      w_.WriteListBegin();
      for (;;) {
        SkipBlanks();
        if (AtEnd()) Expected("'end'");
        if (!IsIdentStart(Peek())) Expected("Identifier");
        if (AtPropertyStart()) {
          Property();
          continue;
        }
        if (!SameText(ReadName(), "end")) Expected("'='");
        break;
      }
      w_.WriteListEnd();
    }
    w_.WriteListEnd();
    --depth_;
  }

  const String& s_;
  TWriter& w_;
  std::size_t p_ = 0;
  Integer line_ = 1;
  Integer depth_ = 0;
};

String ReadRest(TStream& input) {
  Int64 size = input.Size() - input.Position();
  if (size <= 0) return String();
  if (size > (Int64(1) << 31)) throw EReadError(res::SStreamValueTooLarge, {size});
  String s(static_cast<std::size_t>(size), '\0');
  input.ReadBuffer(s.data(), size);
  return s;
}

}  // namespace

TStreamOriginalFormat TestStreamFormat(TStream& stream) {
  Int64 pos = stream.Position();
  char buf[64];
  Int64 n = stream.Read(buf, sizeof buf);
  stream.SetPosition(pos);
  if (n <= 0) return sofUnknown;
  std::string_view s(buf, static_cast<std::size_t>(n));
  if (s.substr(0, 4) == "TPF0") return sofBinary;
  std::size_t i = s.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
  std::size_t start = i;
  while (i < s.size() && IsIdentChar(s[i])) ++i;
  String word(s.substr(start, i - start));
  if (i < s.size() && IsIdentChar(s[i])) return sofUnknown;
  if (SameText(word, "object") || SameText(word, "inherited") || SameText(word, "inline"))
    return sofText;
  return sofUnknown;
}

void ObjectBinaryToText(TStream& input, TStream& output) {
  String text;
  {
    TReader reader(input);
    TBinaryToText converter(reader);
    text = converter.Convert();
  }
  output.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

void ObjectTextToBinary(TStream& input, TStream& output) {
  String text = ReadRest(input);
  TMemoryStream binary;
  {
    TWriter writer(binary);
    TTextToBinary parser(text, writer);
    parser.Convert();
  }
  output.WriteBuffer(binary.Memory(), binary.Size());
}

}  // namespace brevant
