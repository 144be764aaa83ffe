#include "bv_rtm/tokens.h"

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// Byte offsets [begin, end) of the token at index; raises EListError when
// there is no such token.
void TokenBounds(const String& s, Integer index, char sep, std::size_t& begin, std::size_t& end) {
  if (index < 0) throw EListError(res::SListIndexError, {index});
  std::size_t start = 0;
  for (Integer i = 0; i < index; ++i) {
    std::size_t p = s.find(sep, start);
    if (p == String::npos) throw EListError(res::SListIndexError, {index});
    start = p + 1;
  }
  std::size_t p = s.find(sep, start);
  begin = start;
  end = p == String::npos ? s.size() : p;
}

}  // namespace

void SplitTokens(const String& s, char sep, TStrings& list) {
  const TStringsUpdate update(list);
  list.Clear();
  std::size_t start = 0;
  for (;;) {
    std::size_t p = s.find(sep, start);
    if (p == String::npos) {
      list.Add(s.substr(start));
      break;
    }
    list.Add(s.substr(start, p - start));
    start = p + 1;
  }
}

TStringList* SplitToList(const String& s, char sep) {
  TObjectPtr<TStringList> list = MakeObject<TStringList>();
  SplitTokens(s, sep, *list);
  return list.release();
}

String JoinTokens(const TStrings& list, char sep) {
  String result;
  for (Integer i = 0; i < list.Count(); ++i) {
    if (i > 0) result += sep;
    result += list.Strings(i);
  }
  return result;
}

Integer TokenCount(const String& s, char sep) {
  Integer n = 1;
  for (char c : s)
    if (c == sep) ++n;
  return n;
}

Integer TokenCountOrZero(const String& s, char sep) {
  return s.empty() ? 0 : TokenCount(s, sep);
}

String GetToken(const String& s, Integer index, char sep) {
  std::size_t b = 0, e = 0;
  TokenBounds(s, index, sep, b, e);
  return s.substr(b, e - b);
}

String SetToken(const String& s, Integer index, const String& token, char sep) {
  std::size_t b = 0, e = 0;
  TokenBounds(s, index, sep, b, e);
  return s.substr(0, b) + token + s.substr(e);
}

String DeleteToken(const String& s, Integer index, char sep) {
  std::size_t b = 0, e = 0;
  TokenBounds(s, index, sep, b, e);
  if (e < s.size()) return s.substr(0, b) + s.substr(e + 1);  // the separator after it goes
  if (b > 0) return s.substr(0, b - 1);                       // the last: the one before it
  return String();                                            // the only token
}

bool ContainsToken(const String& s, const String& token, char sep) {
  return TokenIndex(s, token, sep) >= 0;
}

Integer TokenIndex(const String& s, const String& token, char sep) {
  // A text holding the separator is several tokens, never one of s's.
  if (s.empty() || token.empty() || token.find(sep) != String::npos) return -1;
  const String hay = AnsiLowerCase(sep + s + sep);
  const String needle = AnsiLowerCase(sep + token + sep);
  const std::size_t p = hay.find(needle);
  if (p == String::npos) return -1;
  // The separator in front of the match belongs to the token, so the
  // separators before it (the leading one added included) count the tokens
  // before the match.
  const char lsep = needle.front();
  Integer n = 0;
  for (std::size_t i = 0; i < p; ++i)
    if (hay[i] == lsep) ++n;
  return n;
}

String RemoveToken(const String& s, const String& token, char sep) {
  const Integer i = TokenIndex(s, token, sep);
  return i < 0 ? s : DeleteToken(s, i, sep);
}

String AddToken(const String& s, const String& token, char sep) {
  if (ContainsToken(s, token, sep)) return s;
  return s.empty() ? token : s + sep + token;
}

String AddUniqueToken(const String& s, const String& token, char sep) {
  return token.empty() ? s : AddToken(s, token, sep);
}

}  // namespace brevant
