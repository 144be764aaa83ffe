#include "classes/text_to_binary.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "classes/form_text_internal.h"
#include "classes/writer.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant::detail {

namespace {

// The value of a hexadecimal digit (either case), or -1.
int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  char lower = static_cast<char>(c | 0x20);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The value of a digit of a #code: decimal, or hexadecimal after '$'.
int CodeDigitValue(char c, bool hex) {
  if (hex) return HexDigitValue(c);
  return c >= '0' && c <= '9' ? c - '0' : -1;
}

bool IsObjectKeyword(const String& word) {
  return SameText(word, "object") || SameText(word, "inherited") || SameText(word, "inline");
}

void AppendUtf16(WideString& w, UInt64 code) {
  if (code <= 0xFFFF) {
    w += static_cast<char16_t>(code);
    return;
  }
  UInt64 v = code - 0x10000;
  w += static_cast<char16_t>(0xD800 + (v >> 10));
  w += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
}

}  // namespace

void TTextToBinary::Convert() {
  if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) p_ = 3;
  SkipBlanks();
  w_.WriteSignature();
  Object();
  SkipBlanks();
  if (!AtEnd()) Error(res::SParTrailingText);
}

// ---- errors ----------------------------------------------------------------------------------

void TTextToBinary::Error(const String& msg) const {
  throw EParserError(Format(res::SParseError, {msg, line_}), line_);
}

void TTextToBinary::Expected(const char* what) const {
  Error(Format(res::SParExpected, {what}));
}

void TTextToBinary::BadNumber(std::size_t start) const {
  std::size_t end = p_;
  while (end < s_.size() && (IsIdentChar(s_[end]) || s_[end] == '.')) ++end;
  Error(Format(res::SParInvalidNumber, {s_.substr(start, std::max<std::size_t>(end - start, 1))}));
}

// ---- scanning --------------------------------------------------------------------------------

void TTextToBinary::Rewind(TMark mark) {
  p_ = mark.pos;
  line_ = mark.line;
}

void TTextToBinary::SkipBlanks() {
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

bool TTextToBinary::AcceptAfterBlanks(char c) {
  TMark mark = Mark();
  SkipBlanks();
  if (Peek() == c) {
    ++p_;
    return true;
  }
  Rewind(mark);
  return false;
}

void TTextToBinary::Expect(char c) {
  SkipBlanks();
  if (Peek() != c) Expected(String(1, '\'').append(1, c).append(1, '\'').c_str());
  ++p_;
}

void TTextToBinary::Enter() {
  if (++depth_ > MaxFilerNesting) Error(res::SParNestingTooDeep);
}

String TTextToBinary::ReadName() {
  if (!IsIdentStart(Peek())) Expected("Identifier");
  std::size_t start = p_;
  while (!AtEnd() && IsIdentChar(s_[p_])) ++p_;
  return s_.substr(start, p_ - start);
}

// Names joined by dots, blanks allowed around the dots.
String TTextToBinary::ReadDottedName() {
  String name = ReadName();
  while (AcceptAfterBlanks('.')) {
    SkipBlanks();
    name += "." + ReadName();
  }
  if (name.size() > 255) Error(Format(res::SShortStringTooLong, {Utf8Truncate(name, 64)}));
  return name;
}

Int64 TTextToBinary::ReadIndex() {
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
bool TTextToBinary::AtPropertyStart() {
  TMark mark = Mark();
  ReadName();
  SkipBlanks();
  bool result = Peek() == '=' || Peek() == '.';
  Rewind(mark);
  return result;
}

bool TTextToBinary::PropertyAhead() {
  SkipBlanks();
  if (AtEnd()) Expected("'end'");
  if (!IsIdentStart(Peek())) Expected("Identifier");
  return AtPropertyStart();
}

// ---- structure -------------------------------------------------------------------------------

void TTextToBinary::Object() {
  Enter();
  SkipBlanks();
  TFilerFlags flags = ObjectKeyword();
  SkipBlanks();
  String first = ReadName();
  String name, className = first;
  if (AcceptAfterBlanks(':')) {
    SkipBlanks();
    name = first;
    className = ReadName();
  }
  if (className.size() >= 0xF0 || name.size() > 255)
    Error(Format(res::SShortStringTooLong,
                 {Utf8Truncate(className.size() >= 0xF0 ? className : name, 64)}));
  Integer pos = 0;
  if (AcceptAfterBlanks('[')) {
    pos = static_cast<Integer>(ReadIndex());
    Expect(']');
    flags += ffChildPos;
  }
  w_.WritePrefix(flags, pos);
  w_.WriteStr(className);
  w_.WriteStr(name);
  ObjectBody();
  Leave();
}

TFilerFlags TTextToBinary::ObjectKeyword() {
  String keyword = ReadName();
  TFilerFlags flags;
  if (SameText(keyword, "inherited"))
    flags += ffInherited;
  else if (SameText(keyword, "inline"))
    flags += ffInline;
  else if (!SameText(keyword, "object"))
    Expected("'object'");
  return flags;
}

// The properties, then the children, up to "end".
void TTextToBinary::ObjectBody() {
  bool children = false;
  for (;;) {
    if (PropertyAhead()) {
      if (children) Expected("'end'");
      Property();
      continue;
    }
    TMark at = Mark();
    String word = ReadName();
    if (SameText(word, "end")) break;
    if (!IsObjectKeyword(word)) Expected("'='");
    if (!children) w_.WriteListEnd();
    children = true;
    Rewind(at);
    Object();
  }
  if (!children) w_.WriteListEnd();
  w_.WriteListEnd();
}

void TTextToBinary::Property() {
  String name = ReadDottedName();
  Expect('=');
  w_.WriteStr(name);
  Value();
}

void TTextToBinary::Value(bool inList) {
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
    IdentValue(inList);
  } else {
    Error(res::SParInvalidValue);
  }
}

void TTextToBinary::IdentValue(bool inList) {
  String ident = ReadDottedName();
  if (inList && SameText(ident, "Null")) {
    // vaNull would end the list.
    w_.WriteValue(vaIdent);
    w_.WriteStr(ident);
  } else {
    w_.WriteIdent(ident);
  }
}

void TTextToBinary::SetValue() {
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

void TTextToBinary::ListValue() {
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
  Leave();
}

void TTextToBinary::BinaryValue() {
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
    int v = HexDigitValue(c);
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

void TTextToBinary::CollectionValue() {
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
    CollectionItem();
  }
  w_.WriteListEnd();
  Leave();
}

// "item", an optional "[index]", the properties and "end".
void TTextToBinary::CollectionItem() {
  if (!IsIdentStart(Peek()) || !SameText(ReadName(), "item")) Expected("'item'");
  if (AcceptAfterBlanks('[')) {
    w_.WriteInteger(ReadIndex());
    Expect(']');
  }
  w_.WriteListBegin();
  while (PropertyAhead()) Property();
  if (!SameText(ReadName(), "end")) Expected("'='");
  w_.WriteListEnd();
}

// ---- strings ---------------------------------------------------------------------------------

void TTextToBinary::StringValue() {
  std::vector<TPiece> pieces;
  bool wide = false;
  do {
    if (Peek() == '\'') {
      pieces.push_back(QuotedRun());
    } else {
      pieces.push_back(CharCode());
      if (pieces.back().code >= 128) wide = true;
    }
  } while (LiteralGoesOn());
  WriteLiteral(pieces, wide);
}

TTextToBinary::TPiece TTextToBinary::QuotedRun() {
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
      return piece;
    }
    piece.run += s_[p_++];
  }
}

TTextToBinary::TPiece TTextToBinary::CharCode() {
  ++p_;
  std::size_t start = p_;
  UInt64 code = 0;
  bool hex = Peek() == '$';
  if (hex) ++p_;
  std::size_t digitsStart = p_;
  while (!AtEnd()) {
    int v = CodeDigitValue(s_[p_], hex);
    if (v < 0) break;
    code = code * (hex ? 16 : 10) + static_cast<unsigned>(v);
    if (code > 0x10FFFF) Error(Format(res::SParInvalidString, {s_.substr(start, p_ - start + 1)}));
    ++p_;
  }
  if (p_ == digitsStart || IsIdentChar(Peek()))
    Error(Format(res::SParInvalidString, {s_.substr(start, p_ - start + (AtEnd() ? 0 : 1))}));
  TPiece piece;
  piece.code = code;
  piece.isCode = true;
  return piece;
}

// The literal goes on with a directly adjacent piece, or with "+" and a
// piece after blanks and line breaks.
bool TTextToBinary::LiteralGoesOn() {
  if (Peek() == '\'' || Peek() == '#') return true;
  TMark mark = Mark();
  if (AcceptAfterBlanks('+')) {
    SkipBlanks();
    if (Peek() == '\'' || Peek() == '#') return true;
  }
  Rewind(mark);
  return false;
}

void TTextToBinary::WriteLiteral(const std::vector<TPiece>& pieces, bool wide) {
  if (wide) {
    WideString w;
    for (const TPiece& piece : pieces) {
      if (piece.isCode)
        AppendUtf16(w, piece.code);
      else
        w += Utf8ToWide(piece.run);
    }
    w_.WriteWideString(w);
  } else {
    String s;
    for (const TPiece& piece : pieces)
      s += piece.isCode ? String(1, static_cast<char>(piece.code)) : piece.run;
    w_.WriteString(s);
  }
}

// ---- numbers ---------------------------------------------------------------------------------

void TTextToBinary::Number() {
  const std::size_t start = p_;
  bool neg = false;
  if (Peek() == '+' || Peek() == '-') {
    neg = Peek() == '-';
    ++p_;
  }
  if (IsIdentStart(Peek()))
    NonFiniteNumber(start, neg);
  else if (Peek() == '$')
    HexNumber(start, neg);
  else
    DecimalNumber(start);
}

// +INF, -INF, +NAN with an optional kind suffix.
void TTextToBinary::NonFiniteNumber(std::size_t start, bool neg) {
  String word = UpperCase(ReadName());
  if (word.size() < 3) BadNumber(start);
  String base = word.substr(0, 3);
  String suffix = word.substr(3);
  if ((base != "INF" && base != "NAN") || suffix.size() > 1 ||
      (suffix.size() == 1 && suffix != "S" && suffix != "D"))
    BadNumber(start);
  long double v = base == "NAN" ? std::nanl("") : HUGE_VALL;
  if (neg) v = -v;
  if (suffix == "S")
    w_.WriteSingle(ExtendedToSingle(v));
  else if (suffix == "D")
    w_.WriteDate(ExtendedToDouble(v));
  else
    w_.WriteFloat(v);
}

// "$" and up to 16 hexadecimal digits.
void TTextToBinary::HexNumber(std::size_t start, bool neg) {
  ++p_;
  std::size_t digits = p_;
  UInt64 v = 0;
  while (!AtEnd() && HexDigitValue(s_[p_]) >= 0) {
    if (p_ - digits >= 16) BadNumber(start);
    v = v * 16 + static_cast<unsigned>(HexDigitValue(s_[p_++]));
  }
  if (p_ == digits || IsIdentChar(Peek()) || v > static_cast<UInt64>(INT64_MAX)) BadNumber(start);
  Int64 value = static_cast<Int64>(v);
  w_.WriteInteger(neg ? -value : value);
}

std::size_t TTextToBinary::Digits() {
  std::size_t d = p_;
  while (!AtEnd() && s_[p_] >= '0' && s_[p_] <= '9') ++p_;
  return p_ - d;
}

template <class T>
T TTextToBinary::Parse(const String& text, std::size_t start) const {
  const char* e = text.data() + text.size();
  T v = 0;
  auto r = std::from_chars(text.data(), e, v);
  if (r.ec != std::errc() || r.ptr != e) BadNumber(start);
  return v;
}

// Digits with an optional fraction and exponent, then an optional kind
// suffix: s single, d date, c currency.
void TTextToBinary::DecimalNumber(std::size_t start) {
  if (Digits() == 0) BadNumber(start);
  bool isFloat = false;
  if (Peek() == '.') {
    ++p_;
    isFloat = true;
    if (Digits() == 0) BadNumber(start);
  }
  if (Peek() == 'e' || Peek() == 'E') {
    ++p_;
    isFloat = true;
    if (Peek() == '+' || Peek() == '-') ++p_;
    if (Digits() == 0) BadNumber(start);
  }
  const std::size_t numberEnd = p_;
  char suffix = 0;
  char k = static_cast<char>(Peek() | 0x20);
  if ((k == 's' || k == 'c' || k == 'd') &&
      !(p_ + 1 < s_.size() && (IsIdentChar(s_[p_ + 1]) || s_[p_ + 1] == '.'))) {
    suffix = k;
    ++p_;
  }
  if (IsIdentChar(Peek()) || Peek() == '.' || Peek() == '$') BadNumber(start);
  // from_chars takes no '+'.
  String text = s_.substr(start, numberEnd - start);
  if (!text.empty() && text[0] == '+') text.erase(0, 1);
  if (!isFloat && !suffix) {
    w_.WriteInteger(Parse<Int64>(text, start));
    return;
  }
  switch (suffix) {
    case 's':
      SingleNumber(text, start);
      return;
    case 'd':
      DateNumber(text, start);
      return;
    case 'c':
      CurrencyNumber(text, start);
      return;
    default:
      FloatNumber(text, start);
      return;
  }
}

void TTextToBinary::SingleNumber(const String& text, std::size_t start) {
  w_.WriteSingle(Parse<float>(text, start));
}

void TTextToBinary::DateNumber(const String& text, std::size_t start) {
  w_.WriteDate(Parse<double>(text, start));
}

void TTextToBinary::CurrencyNumber(const String& text, std::size_t start) {
  Currency c;
  if (!TryStrToCurr(text, c, DefaultFormatSettings())) BadNumber(start);
  w_.WriteCurrency(c);
}

// Up to 17 significant digits read as a double, more as an extended.
void TTextToBinary::FloatNumber(const String& text, std::size_t start) {
  if (SignificantDigits(text) <= 17) {
    double d = 0;
    const char* e = text.data() + text.size();
    auto r = std::from_chars(text.data(), e, d);
    if (r.ec == std::errc() && r.ptr == e) {
      w_.WriteFloat(static_cast<Extended>(d));
      return;
    }
  }
  long double x = 0;
  if (!ParseExtended(text, x)) BadNumber(start);
  w_.WriteFloat(x);
}

}  // namespace brevant::detail
