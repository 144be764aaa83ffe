// String routines. The collation and the case tables are this platform's
// own, fixed and locale-independent, so sorting gives the same order on
// every machine.
#include "rtl/strutils.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace brevant {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

inline bool IsCont(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

// Decodes one code point at p (n >= 1 bytes available). Invalid or truncated
// sequences, overlong forms, surrogates and values above U+10FFFF answer
// U+FFFD with length 1 and ok = false.
struct Decoded {
  char32_t cp;
  unsigned len;
  bool ok;
};

inline Decoded DecodeUtf8(const unsigned char* p, std::size_t n) {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) return {b0, 1, true};
  constexpr Decoded bad{kReplacement, 1, false};
  if (b0 < 0xC2) return bad;
  if (b0 < 0xE0) {
    if (n < 2 || !IsCont(p[1])) return bad;
    return {static_cast<char32_t>(((b0 & 0x1F) << 6) | (p[1] & 0x3F)), 2, true};
  }
  if (b0 < 0xF0) {
    if (n < 3 || !IsCont(p[1]) || !IsCont(p[2])) return bad;
    const char32_t cp = ((b0 & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return bad;
    return {cp, 3, true};
  }
  if (b0 < 0xF5) {
    if (n < 4 || !IsCont(p[1]) || !IsCont(p[2]) || !IsCont(p[3])) return bad;
    const char32_t cp =
        ((b0 & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F);
    if (cp < 0x10000 || cp > 0x10FFFF) return bad;
    return {cp, 4, true};
  }
  return bad;
}

inline bool IsSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

// ---- simple case mapping ----------------------------------------------------
// One code point to one code point, for Latin (Basic, Latin-1 Supplement,
// Extended-A, the regular pairs of Extended-B and Extended Additional), Greek,
// Cyrillic, Armenian and the full-width Latin letters. Special cases that map
// to several characters (German sharp s to "SS", and so on) keep the letter.

inline bool InRange(char32_t c, char32_t lo, char32_t hi) {
  return c >= lo && c <= hi;
}

// Ranges where the upper-case letter sits at an even code point and the
// lower-case letter right after it.
inline bool EvenUpperPair(char32_t c) {
  return InRange(c, 0x100, 0x12F) || InRange(c, 0x132, 0x137) || InRange(c, 0x14A, 0x177) ||
         InRange(c, 0x1DE, 0x1EF) || InRange(c, 0x1F4, 0x1F5) || InRange(c, 0x1F8, 0x21F) ||
         InRange(c, 0x222, 0x233) || InRange(c, 0x246, 0x24F) || InRange(c, 0x370, 0x373) ||
         InRange(c, 0x376, 0x377) || InRange(c, 0x3D8, 0x3EF) || InRange(c, 0x460, 0x481) ||
         InRange(c, 0x48A, 0x4BF) || InRange(c, 0x4D0, 0x52F) || InRange(c, 0x1E00, 0x1E95) ||
         InRange(c, 0x1EA0, 0x1EFF);
}

// Ranges where the upper-case letter sits at an odd code point.
inline bool OddUpperPair(char32_t c) {
  return InRange(c, 0x139, 0x148) || InRange(c, 0x179, 0x17E) || InRange(c, 0x1CD, 0x1DC) ||
         InRange(c, 0x4C1, 0x4CE);
}

char32_t LowerSlow(char32_t c) {
  if (c < 0x100) {
    if (InRange(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
    return c;
  }
  if (EvenUpperPair(c)) return c | 1;
  if (OddUpperPair(c)) return (c & 1) ? c + 1 : c;
  switch (c) {
    case 0x130:
      return 'i';
    case 0x178:
      return 0xFF;
    case 0x1C4:
    case 0x1C5:
      return 0x1C6;
    case 0x1C7:
    case 0x1C8:
      return 0x1C9;
    case 0x1CA:
    case 0x1CB:
      return 0x1CC;
    case 0x1F1:
    case 0x1F2:
      return 0x1F3;
    case 0x386:
      return 0x3AC;
    case 0x38C:
      return 0x3CC;
    case 0x38E:
    case 0x38F:
      return c + 0x3F;
    case 0x4C0:
      return 0x4CF;
    case 0x1E9E:
      return 0xDF;
    default:
      break;
  }
  if (InRange(c, 0x388, 0x38A)) return c + 0x25;
  if (InRange(c, 0x391, 0x3AB) && c != 0x3A2) return c + 0x20;
  if (InRange(c, 0x400, 0x40F)) return c + 0x50;
  if (InRange(c, 0x410, 0x42F)) return c + 0x20;
  if (InRange(c, 0x531, 0x556)) return c + 0x30;
  if (InRange(c, 0xFF21, 0xFF3A)) return c + 0x20;
  return c;
}

char32_t UpperSlow(char32_t c) {
  if (c < 0x100) {
    if (InRange(c, 0xE0, 0xFE) && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c == 0xB5) return 0x39C;
    return c;
  }
  if (EvenUpperPair(c)) return c & ~char32_t(1);
  if (OddUpperPair(c)) return (c & 1) ? c : c - 1;
  switch (c) {
    case 0x131:
      return 'I';
    case 0x17F:
      return 'S';
    case 0x1C5:
    case 0x1C6:
      return 0x1C4;
    case 0x1C8:
    case 0x1C9:
      return 0x1C7;
    case 0x1CB:
    case 0x1CC:
      return 0x1CA;
    case 0x1F2:
    case 0x1F3:
      return 0x1F1;
    case 0x3AC:
      return 0x386;
    case 0x3C2:
      return 0x3A3;
    case 0x3CC:
      return 0x38C;
    case 0x3CD:
    case 0x3CE:
      return c - 0x3F;
    case 0x4CF:
      return 0x4C0;
    default:
      break;
  }
  if (InRange(c, 0x3AD, 0x3AF)) return c - 0x25;
  if (InRange(c, 0x3B1, 0x3CB)) return c - 0x20;
  if (InRange(c, 0x430, 0x44F)) return c - 0x20;
  if (InRange(c, 0x450, 0x45F)) return c - 0x50;
  if (InRange(c, 0x561, 0x586)) return c - 0x30;
  if (InRange(c, 0xFF41, 0xFF5A)) return c - 0x20;
  return c;
}

inline char32_t Lower(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  return LowerSlow(c);
}

inline char32_t Upper(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
  return UpperSlow(c);
}

// ---- collation ----------------------------------------------------------------
// Every character becomes one or more collation elements (primary,
// secondary, tertiary), as in the common multi-level scheme:
//   primary   the base letter: groups punctuation/blanks/symbols < digits <
//             letters; within a group by code point (letters by the code point
//             of the lower-case base letter). Combining marks have none.
//   secondary 1 for a plain character; an accent adds an element of its own
//             whose secondary is the code point of the combining accent, so a
//             precomposed "é" and "e" + U+0301 collate alike.
//   tertiary  0 for lower case and uncased characters, 1 for upper case.
// Strings compare by their primary sequences, then (if equal) their secondary
// sequences, then (AnsiCompareStr only) their tertiary sequences, and finally
// by code point (AnsiCompareText: of the lower-cased text) so that only equal
// text compares equal.

struct Elem {
  std::uint32_t p;
  std::uint32_t s;
  std::uint32_t t;
};

constexpr std::uint32_t kGroupOther = 1u << 21;
constexpr std::uint32_t kGroupDigit = 2u << 21;
constexpr std::uint32_t kGroupLetter = 3u << 21;

// Accent codes used by the decomposition tables below.
char32_t AccentWeight(char code) {
  switch (code) {
    case 'g':
      return 0x300;  // grave
    case 'a':
      return 0x301;  // acute
    case 'c':
      return 0x302;  // circumflex
    case 't':
      return 0x303;  // tilde
    case 'm':
      return 0x304;  // macron
    case 'b':
      return 0x306;  // breve
    case 'd':
      return 0x307;  // dot above
    case 'u':
      return 0x308;  // diaeresis
    case 'r':
      return 0x30A;  // ring
    case 'h':
      return 0x30B;  // double acute
    case 'v':
      return 0x30C;  // caron
    case 's':
      return 0x335;  // short stroke (đ, ħ, ł, ŧ)
    case 'l':
      return 0x338;  // long stroke (ø)
    case 'e':
      return 0x327;  // cedilla
    case 'o':
      return 0x328;  // ogonek
    case 'p':
      return 0xB7;  // middle dot (ŀ)
    case 'i':
      return 0x131;  // dotless i
    case 'f':
      return 0x17F;  // long s
    default:
      return 0;
  }
}

// Base letter and accent of the lower-case letters U+00E0..U+00FF; "--" is a
// letter (or symbol) of its own.
constexpr std::string_view kLatin1Fold =
    "agaaacatauar--ceegeaeceuigiaiciu"   // U+00E0
    "--ntogoaocotou--oluguaucuuya--yu";  // U+00F0
// The same for U+0100..U+017F (both cases listed).
constexpr std::string_view kLatinAFold =
    "amamababaoaocacacccccdcdcvcvdvdv"   // U+0100
    "dsdsememebebededeoeoevevgcgcgbgb"   // U+0110
    "gdgdgegehchchshsititimimibibioio"   // U+0120
    "idii----jcjckeke--lalalelelvlvlp"   // U+0130
    "lplslsnananenenvnv------omomobob"   // U+0140
    "ohoh----rarererervrvsasascscsese"   // U+0150
    "svsvtetetvtvtstsututumumububurur"   // U+0160
    "uhuhuouowcwcycycyuzazazdzdzvzvsf";  // U+0170
static_assert(kLatin1Fold.size() == 64 && kLatinAFold.size() == 256);

// Returns the code point of the base letter and up to two accents.
struct Folded {
  char32_t base;
  char32_t acc1;
  char32_t acc2;
};

Folded FoldAccents(char32_t lc) {
  if (lc < 0xE0) return {lc, 0, 0};
  if (lc <= 0xFF) {
    const std::size_t i = (lc - 0xE0) * 2;
    if (kLatin1Fold[i] == '-') return {lc, 0, 0};
    return {static_cast<char32_t>(kLatin1Fold[i]), AccentWeight(kLatin1Fold[i + 1]), 0};
  }
  if (lc <= 0x17F) {
    const std::size_t i = (lc - 0x100) * 2;
    if (kLatinAFold[i] == '-') return {lc, 0, 0};
    return {static_cast<char32_t>(kLatinAFold[i]), AccentWeight(kLatinAFold[i + 1]), 0};
  }
  switch (lc) {
    case 0x3AC:
      return {0x3B1, 0x301, 0};  // ά
    case 0x3AD:
      return {0x3B5, 0x301, 0};  // έ
    case 0x3AE:
      return {0x3B7, 0x301, 0};  // ή
    case 0x3AF:
      return {0x3B9, 0x301, 0};  // ί
    case 0x3CC:
      return {0x3BF, 0x301, 0};  // ό
    case 0x3CD:
      return {0x3C5, 0x301, 0};  // ύ
    case 0x3CE:
      return {0x3C9, 0x301, 0};  // ώ
    case 0x3CA:
      return {0x3B9, 0x308, 0};  // ϊ
    case 0x3CB:
      return {0x3C5, 0x308, 0};  // ϋ
    case 0x390:
      return {0x3B9, 0x308, 0x301};  // ΐ
    case 0x3B0:
      return {0x3C5, 0x308, 0x301};  // ΰ
    case 0x3C2:
      return {0x3C3, 0x3C2, 0};  // final sigma: sigma, told apart at level 2
    case 0x451:
      return {0x435, 0x308, 0};  // ё
    default:
      return {lc, 0, 0};
  }
}

// Punctuation, symbols and other non-letters outside ASCII.
inline bool IsOtherChar(char32_t c) {
  return (c >= 0x80 && c <= 0xBF && c != 0xAA && c != 0xB5 && c != 0xBA) || c == 0xD7 ||
         c == 0xF7 || InRange(c, 0x2000, 0x2BFF) || InRange(c, 0x2E00, 0x2E7F) ||
         InRange(c, 0x3000, 0x303F) || InRange(c, 0xFE10, 0xFE6F) || InRange(c, 0xFF01, 0xFF0F) ||
         InRange(c, 0xFF1A, 0xFF20) || InRange(c, 0xFF3B, 0xFF40) || InRange(c, 0xFF5B, 0xFF65) ||
         InRange(c, 0xFFF0, 0xFFFF);
}

inline std::uint32_t PrimaryOf(char32_t base) {
  if (base < 0x80) {
    if (base >= 'a' && base <= 'z') return kGroupLetter | base;
    if (base >= '0' && base <= '9') return kGroupDigit | base;
    return kGroupOther | base;
  }
  if (IsOtherChar(base)) return kGroupOther | base;
  return kGroupLetter | base;
}

inline bool IsCombiningMark(char32_t c) {
  return InRange(c, 0x300, 0x36F);
}

// Primary weights and upper-case flags of the ASCII characters.
struct AsciiTable {
  std::uint32_t primary[128];
  bool upper[128];
  constexpr AsciiTable() : primary(), upper() {
    for (char32_t c = 0; c < 128; ++c) {
      const char32_t lc = (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
      upper[c] = lc != c;
      if (lc >= 'a' && lc <= 'z')
        primary[c] = kGroupLetter | lc;
      else if (lc >= '0' && lc <= '9')
        primary[c] = kGroupDigit | lc;
      else
        primary[c] = kGroupOther | lc;
    }
  }
};
constexpr AsciiTable kAscii;

// Code point sources over UTF-8 and UTF-16 text.
struct Utf8Source {
  const unsigned char* p;
  const unsigned char* end;
  explicit Utf8Source(const String& s)
      : p(reinterpret_cast<const unsigned char*>(s.data())), end(p + s.size()) {}
  bool More() const { return p < end; }
  char32_t Next() {
    const Decoded d = DecodeUtf8(p, static_cast<std::size_t>(end - p));
    p += d.len;
    return d.cp;
  }
};

struct Utf16Source {
  const char16_t* p;
  const char16_t* end;
  explicit Utf16Source(const WideString& s) : p(s.data()), end(p + s.size()) {}
  bool More() const { return p < end; }
  char32_t Next() {
    const char32_t u = *p++;
    if (u >= 0xD800 && u <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
      const char32_t lo = *p++;
      return 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
    }
    if (IsSurrogate(u)) return kReplacement;
    return u;
  }
};

template <class Source>
class ElemStream {
 public:
  explicit ElemStream(Source src) : src_(src) {}

  bool Next(Elem& e) {
    if (at_ == count_) {
      if (!src_.More()) return false;
      Expand(src_.Next());
    }
    e = buf_[at_++];
    return true;
  }

 private:
  void Expand(char32_t c) {
    at_ = 0;
    count_ = 0;
    const char32_t lc = Lower(c);
    if (IsCombiningMark(lc)) {
      buf_[count_++] = {0, lc, 0};
      return;
    }
    const Folded f = FoldAccents(lc);
    buf_[count_++] = {PrimaryOf(f.base), 1, lc != c ? 1u : 0u};
    if (f.acc1) buf_[count_++] = {0, f.acc1, 0};
    if (f.acc2) buf_[count_++] = {0, f.acc2, 0};
  }

  Source src_;
  Elem buf_[3] = {};
  int at_ = 0;
  int count_ = 0;
};

enum Level { lvPrimary, lvSecondary, lvTertiary };

template <class Source>
bool NextAt(ElemStream<Source>& st, Level level, std::uint32_t& w) {
  Elem e;
  while (st.Next(e)) {
    switch (level) {
      case lvPrimary:
        if (e.p == 0) continue;
        w = e.p;
        return true;
      case lvSecondary:
        w = e.s;
        return true;
      case lvTertiary:
        if (e.p == 0) continue;
        w = e.t;
        return true;
    }
  }
  return false;
}

template <class Source>
Integer CompareLevel(const Source& a, const Source& b, Level level) {
  ElemStream<Source> sa(a), sb(b);
  for (;;) {
    std::uint32_t wa = 0, wb = 0;
    const bool ha = NextAt(sa, level, wa);
    const bool hb = NextAt(sb, level, wb);
    if (!ha || !hb) return ha ? 1 : (hb ? -1 : 0);
    if (wa != wb) return wa < wb ? -1 : 1;
  }
}

// Code point by code point, lower-cased when fold is set.
template <class Source>
Integer CompareCodePoints(Source a, Source b, bool fold) {
  while (a.More() && b.More()) {
    char32_t ca = a.Next(), cb = b.Next();
    if (fold) {
      ca = Lower(ca);
      cb = Lower(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.More() ? 1 : (b.More() ? -1 : 0);
}

template <class Source>
Integer CollateSlow(const Source& a, const Source& b, bool caseSensitive) {
  if (Integer r = CompareLevel(a, b, lvPrimary)) return r;
  if (Integer r = CompareLevel(a, b, lvSecondary)) return r;
  if (caseSensitive) {
    if (Integer r = CompareLevel(a, b, lvTertiary)) return r;
  }
  return CompareCodePoints(a, b, !caseSensitive);
}

// Answers 2 when the text is not plain ASCII up to the decisive point and the
// full comparison must run; otherwise the result.
template <class Ch>
Integer CollateAscii(const Ch* a, std::size_t na, const Ch* b, std::size_t nb, bool caseSensitive) {
  const std::size_t n = std::min(na, nb);
  Integer tertiary = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<std::make_unsigned_t<Ch>>(a[i]);
    const auto cb = static_cast<std::make_unsigned_t<Ch>>(b[i]);
    if (ca >= 0x80 || cb >= 0x80) return 2;
    if (ca == cb) continue;
    const std::uint32_t pa = kAscii.primary[ca], pb = kAscii.primary[cb];
    // Every ASCII character has a primary weight and nothing combines with
    // it, so the first primary difference decides whatever follows.
    if (pa != pb) return pa < pb ? -1 : 1;
    if (tertiary == 0) tertiary = kAscii.upper[ca] ? 1 : -1;
  }
  if (na != nb) {
    // A following combining mark would add no primary weight.
    const auto next = static_cast<std::make_unsigned_t<Ch>>(na > nb ? a[n] : b[n]);
    if (next >= 0x80) return 2;
    return na < nb ? -1 : 1;
  }
  return caseSensitive ? tertiary : 0;
}

Integer Sign(int v) {
  return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

inline unsigned char AsciiUpper(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
}

}  // namespace

// ---- comparison -----------------------------------------------------------

Integer CompareStr(const String& a, const String& b) {
  return Sign(a.compare(b));
}

Integer CompareText(const String& a, const String& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = AsciiUpper(static_cast<unsigned char>(a[i]));
    const unsigned char cb = AsciiUpper(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameStr(const String& a, const String& b) {
  return a == b;
}

bool SameText(const String& a, const String& b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

Integer AnsiCompareStr(const String& a, const String& b) {
  const Integer r = CollateAscii(a.data(), a.size(), b.data(), b.size(), true);
  if (r != 2) return r;
  const Integer slow = CollateSlow(Utf8Source(a), Utf8Source(b), true);
  // Different invalid bytes all read as U+FFFD; only equal bytes are equal.
  return slow != 0 ? slow : CompareStr(a, b);
}

namespace {
// Breaks a tie of AnsiCompareText: the texts read the same code points but
// for case, so they are walked side by side; an invalid byte (read as
// U+FFFD) compares by its value, after a real U+FFFD.
Integer CompareInvalidBytes(const String& a, const String& b) {
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  const auto* ea = pa + a.size();
  const auto* eb = pb + b.size();
  while (pa < ea && pb < eb) {
    const Decoded da = DecodeUtf8(pa, static_cast<std::size_t>(ea - pa));
    const Decoded db = DecodeUtf8(pb, static_cast<std::size_t>(eb - pb));
    const int ka = da.ok ? -1 : *pa, kb = db.ok ? -1 : *pb;
    if (ka != kb) return ka < kb ? -1 : 1;
    pa += da.len;
    pb += db.len;
  }
  return 0;
}
}  // namespace

Integer AnsiCompareText(const String& a, const String& b) {
  const Integer r = CollateAscii(a.data(), a.size(), b.data(), b.size(), false);
  if (r != 2) return r;
  const Integer slow = CollateSlow(Utf8Source(a), Utf8Source(b), false);
  return slow != 0 ? slow : CompareInvalidBytes(a, b);
}

Integer AnsiCompareText(const char* a, std::size_t na, const char* b, std::size_t nb) {
  const Integer r = CollateAscii(a, na, b, nb, false);
  if (r != 2) return r;
  return AnsiCompareText(String(a, na), String(b, nb));
}

bool AnsiSameText(const String& a, const String& b) {
  return AnsiCompareText(a, b) == 0;
}

Integer WideCompareStr(const WideString& a, const WideString& b) {
  const Integer r = CollateAscii(a.data(), a.size(), b.data(), b.size(), true);
  if (r != 2) return r;
  const Integer slow = CollateSlow(Utf16Source(a), Utf16Source(b), true);
  return slow != 0 ? slow : Sign(a.compare(b));
}

Integer WideCompareText(const WideString& a, const WideString& b) {
  const Integer r = CollateAscii(a.data(), a.size(), b.data(), b.size(), false);
  if (r != 2) return r;
  return CollateSlow(Utf16Source(a), Utf16Source(b), false);
}

// ---- case -----------------------------------------------------------------

char32_t LowerCaseChar(char32_t c) {
  return Lower(c);
}
char32_t UpperCaseChar(char32_t c) {
  return Upper(c);
}

String LowerCase(const String& s) {
  String r = s;
  for (char& c : r) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
  }
  return r;
}

String UpperCase(const String& s) {
  String r = s;
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return r;
}

namespace {

// Maps every well-formed code point; invalid bytes are copied unchanged so
// that case conversion never alters data it does not understand.
template <class Map>
String MapUtf8(const String& s, Map map) {
  String r;
  r.reserve(s.size());
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      r.push_back(static_cast<char>(map(p[i])));
      ++i;
      continue;
    }
    const Decoded d = DecodeUtf8(p + i, n - i);
    if (d.ok)
      Utf8Append(r, map(d.cp));
    else
      r.push_back(static_cast<char>(p[i]));
    i += d.len;
  }
  return r;
}

template <class Map>
WideString MapUtf16(const WideString& s, Map map) {
  WideString r = s;
  // Every mapped letter lies in the Basic Multilingual Plane and maps into
  // it, so surrogates (paired or not) are left alone.
  for (char16_t& u : r) {
    if (!IsSurrogate(u)) u = static_cast<char16_t>(map(u));
  }
  return r;
}

}  // namespace

String AnsiLowerCase(const String& s) {
  return MapUtf8(s, Lower);
}
String AnsiUpperCase(const String& s) {
  return MapUtf8(s, Upper);
}
WideString WideLowerCase(const WideString& s) {
  return MapUtf16(s, Lower);
}
WideString WideUpperCase(const WideString& s) {
  return MapUtf16(s, Upper);
}

// ---- trimming, searching, editing -----------------------------------------

namespace {
inline bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// Clamps a size to Integer for the 1-based position routines.
inline Int64 Len(const String& s) {
  return static_cast<Int64>(s.size());
}
}  // namespace

String Trim(const String& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

String TrimLeft(const String& s) {
  std::size_t b = 0;
  while (b < s.size() && IsBlank(s[b])) ++b;
  return s.substr(b);
}

String TrimRight(const String& s) {
  std::size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) --e;
  return s.substr(0, e);
}

Integer Pos(const String& sub, const String& s, Integer offset) {
  if (sub.empty() || offset < 1 || offset > Len(s)) return 0;
  const std::size_t at = s.find(sub, static_cast<std::size_t>(offset) - 1);
  if (at == String::npos || at >= static_cast<std::size_t>(INT32_MAX)) return 0;
  return static_cast<Integer>(at) + 1;
}

String Copy(const String& s, Integer index, Integer count) {
  if (count <= 0) return String();
  const Int64 start = std::max<Int64>(index, 1) - 1;
  if (start >= Len(s)) return String();
  return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
}

void Delete(String& s, Integer index, Integer count) {
  if (index < 1 || count <= 0 || index > Len(s)) return;
  s.erase(static_cast<std::size_t>(index) - 1, static_cast<std::size_t>(count));
}

void Insert(const String& sub, String& s, Integer index) {
  const Int64 at = std::clamp<Int64>(index, 1, Len(s) + 1) - 1;
  s.insert(static_cast<std::size_t>(at), sub);
}

namespace {

// The text as lower-cased code points with their byte offsets; an invalid
// byte becomes a value above U+10FFFF so it matches only the same byte.
struct FoldedText {
  std::vector<char32_t> cps;
  std::vector<std::size_t> offsets;  // one more than cps: the end
};

FoldedText FoldForSearch(const String& s) {
  FoldedText f;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t i = 0;
  while (i < s.size()) {
    const Decoded d = DecodeUtf8(p + i, s.size() - i);
    f.cps.push_back(d.ok ? Lower(d.cp) : 0x110000 + p[i]);
    f.offsets.push_back(i);
    i += d.len;
  }
  f.offsets.push_back(s.size());
  return f;
}

}  // namespace

String StringReplace(const String& s, const String& oldPattern, const String& newPattern,
                     Integer flags) {
  if (oldPattern.empty() || s.empty()) return s;
  const bool all = (flags & rfReplaceAll) != 0;
  String r;
  if (!(flags & rfIgnoreCase)) {
    std::size_t from = 0;
    for (;;) {
      const std::size_t at = s.find(oldPattern, from);
      if (at == String::npos) break;
      r.append(s, from, at - from);
      r += newPattern;
      from = at + oldPattern.size();
      if (!all) break;
    }
    r.append(s, from, String::npos);
    return r;
  }
  const FoldedText text = FoldForSearch(s);
  const FoldedText pat = FoldForSearch(oldPattern);
  const std::size_t n = text.cps.size(), m = pat.cps.size();
  std::size_t copied = 0;  // byte offset copied so far
  std::size_t i = 0;
  while (m <= n && i + m <= n) {
    if (std::equal(pat.cps.begin(), pat.cps.end(), text.cps.begin() + static_cast<long>(i))) {
      r.append(s, copied, text.offsets[i] - copied);
      r += newPattern;
      copied = text.offsets[i + m];
      i += m;
      if (!all) break;
    } else {
      ++i;
    }
  }
  r.append(s, copied, String::npos);
  return r;
}

String StringOfChar(char c, Integer count) {
  return count > 0 ? String(static_cast<std::size_t>(count), c) : String();
}

String QuotedStr(const String& s) {
  return AnsiQuotedStr(s, '\'');
}

String AnsiQuotedStr(const String& s, char quote) {
  String r;
  r.reserve(s.size() + 2);
  r.push_back(quote);
  for (char c : s) {
    r.push_back(c);
    if (c == quote) r.push_back(quote);
  }
  r.push_back(quote);
  return r;
}

String AnsiDequotedStr(const String& s, char quote) {
  if (s.size() < 2 || s.front() != quote) return s;
  String r;
  std::size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        r.push_back(quote);
        i += 2;
        continue;
      }
      // The closing quote must end the text; otherwise it is not quoted text.
      return i + 1 == s.size() ? r : s;
    }
    r.push_back(s[i++]);
  }
  return s;  // no closing quote
}

bool StartsText(const String& sub, const String& s) {
  if (sub.empty()) return true;
  const String ls = AnsiLowerCase(s), lsub = AnsiLowerCase(sub);
  return ls.size() >= lsub.size() && ls.compare(0, lsub.size(), lsub) == 0;
}

bool EndsText(const String& sub, const String& s) {
  if (sub.empty()) return true;
  const String ls = AnsiLowerCase(s), lsub = AnsiLowerCase(sub);
  return ls.size() >= lsub.size() && ls.compare(ls.size() - lsub.size(), lsub.size(), lsub) == 0;
}

std::vector<String> SplitString(const String& s, char delimiter) {
  std::vector<String> parts;
  if (s.empty()) return parts;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = s.find(delimiter, from);
    if (at == String::npos) {
      parts.push_back(s.substr(from));
      return parts;
    }
    parts.push_back(s.substr(from, at - from));
    from = at + 1;
  }
}

// ---- accelerators ---------------------------------------------------------

String StripHotkey(const String& caption) {
  String r;
  r.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 == caption.size()) {
        r.push_back('&');  // a trailing "&" marks nothing and stays visible
      } else if (caption[i + 1] == '&') {
        r.push_back('&');
        ++i;
      }
      continue;  // a single "&" before a character disappears
    }
    r.push_back(caption[i]);
  }
  return r;
}

char32_t GetHotkey(const String& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    std::size_t at = i + 1;
    return Lower(Utf8Next(caption, at));
  }
  return 0;
}

bool IsAccel(char32_t ch, const String& caption) {
  const char32_t key = GetHotkey(caption);
  return key != 0 && key == Lower(ch);
}

// ---- UTF-8 ----------------------------------------------------------------

Integer Utf8Length(const String& s) {
  Int64 n = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t i = 0;
  while (i < s.size()) {
    if (p[i] < 0x80) {
      ++i;
    } else {
      i += DecodeUtf8(p + i, s.size() - i).len;
    }
    ++n;
  }
  return static_cast<Integer>(std::min<Int64>(n, INT32_MAX));
}

std::size_t Utf8Offset(const String& s, Integer cp) {
  std::size_t i = 0;
  for (Integer k = 0; k < cp && i < s.size(); ++k) Utf8Next(s, i);
  return i;
}

char32_t Utf8Next(const String& s, std::size_t& i) {
  if (i >= s.size()) return 0;
  const Decoded d = DecodeUtf8(reinterpret_cast<const unsigned char*>(s.data()) + i, s.size() - i);
  i += d.len;
  return d.cp;
}

void Utf8Append(String& s, char32_t cp) {
  if (cp > 0x10FFFF || IsSurrogate(cp)) cp = kReplacement;
  if (cp < 0x80) {
    s.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    s.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    s.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    s.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    s.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

String Utf8Truncate(const String& s, std::size_t maxBytes) {
  if (s.size() <= maxBytes) return s;
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t cut = maxBytes;
  // Find the start of the sequence the cut falls into (at most 3 bytes back);
  // cut before it when it is a well-formed sequence reaching past the cut.
  const std::size_t lowest = maxBytes >= 3 ? maxBytes - 3 : 0;
  for (std::size_t j = maxBytes; j-- > lowest;) {
    if (IsCont(p[j])) continue;
    const Decoded d = DecodeUtf8(p + j, s.size() - j);
    if (d.ok && j + d.len > maxBytes) cut = j;
    break;
  }
  return s.substr(0, cut);
}

WideString Utf8ToWide(const String& s) {
  WideString r;
  r.reserve(s.size());
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  std::size_t i = 0;
  while (i < s.size()) {
    const Decoded d = DecodeUtf8(p + i, s.size() - i);
    i += d.len;
    if (d.cp >= 0x10000) {
      const char32_t v = d.cp - 0x10000;
      r.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      r.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      r.push_back(static_cast<char16_t>(d.cp));
    }
  }
  return r;
}

String WideToUtf8(const WideString& s) {
  String r;
  r.reserve(s.size());
  Utf16Source src(s);
  while (src.More()) Utf8Append(r, src.Next());
  return r;
}

}  // namespace brevant
