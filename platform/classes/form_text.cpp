#include "classes/form_text.h"

#include <locale.h>
#include <stdlib.h>
#include <charconv>
#include <cmath>
#include <cstring>

#include "classes/form_text_internal.h"
#include "classes/reader.h"
#include "classes/text_to_binary.h"
#include "classes/writer.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

using detail::IsIdentChar;
using detail::ParseExtended;
using detail::SignificantDigits;

// ---- numbers ------------------------------------------------------------------------

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
    switch (r_.NextValue()) {
      case vaNull:
        Null();
        return;
      case vaList:
        List(level);
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
      case vaIdent:
        Ident();
        return;
      case vaFalse:
      case vaTrue:
      case vaNil:
        out_ += r_.ReadIdent();
        return;
      case vaBinary:
        Binary(r_.ReadBinary(), level);
        return;
      case vaSet:
        Set();
        return;
      case vaCollection:
        Collection(level);
        return;
    }
  }

  void Null() {
    r_.ReadValue();
    out_ += "Null";
  }

  void List(int level) {
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
  }

  void Ident() {
    Int64 at = r_.Position();
    String ident = r_.ReadIdent();
    if (!IsDottedIdent(ident))
      throw EReadError(res::SInvalidStreamName, {Utf8Truncate(ident, 64), at});
    out_ += ident;
  }

  void Set() {
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
  }

  void Collection(int level) {
    Enter();
    r_.ReadValue();
    out_ += '<';
    while (!r_.EndOfList()) CollectionItem(level + 1);
    r_.ReadListEnd();
    out_ += '>';
    --depth_;
  }

  void CollectionItem(int level) {
    NewLine(level);
    out_ += "item";
    TValueType n = r_.NextValue();
    if (n == vaInt8 || n == vaInt16 || n == vaInt32)
      out_ += " [" + IntToStr(r_.ReadInteger()) + "]";
    out_ += "\r\n";
    r_.ReadListBegin();
    while (!r_.EndOfList()) Property(level + 1);
    r_.ReadListEnd();
    Indent(level);
    out_ += "end";
  }

  // Starts a string literal of len characters: "''" when empty (and
  // answers false), a new deeper line when it will not fit on this one.
  bool BeginLiteral(std::size_t len, int level) {
    if (len == 0) {
      out_ += "''";
      return false;
    }
    if (len > LineLength) NewLine(level + 1);
    return true;
  }

  // Breaks a long literal with " +" after each full line of it.
  void BreakLiteral(std::size_t i, std::size_t len, std::size_t& lineStart, int level) {
    if (i - lineStart < LineLength || i >= len) return;
    out_ += " +";
    NewLine(level + 1);
    lineStart = i;
  }

  // 8-bit (UTF-8) strings: multi-byte sequences and other bytes from 32 up
  // go inside the quoted runs as they are.
  void String8(const String& s, int level) {
    const std::size_t len = s.size();
    if (!BeginLiteral(len, level)) return;
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
      BreakLiteral(i, len, lineStart, level);
    }
  }

  // Wide strings: characters 32 to 127 inside quoted runs, others as #code;
  // a surrogate pair stays on one line.
  void Wide(const WideString& w, int level) {
    const std::size_t len = w.size();
    if (!BeginLiteral(len, level)) return;
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
      BreakLiteral(i, len, lineStart, level);
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
    detail::TTextToBinary parser(text, writer);
    parser.Convert();
  }
  output.WriteBuffer(binary.Memory(), binary.Size());
}

}  // namespace brevant
