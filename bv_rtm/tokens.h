// Token lists: a string holding tokens separated by one character, as in
// "Name;City;Zip". Tokens may be empty; a separator always ends a token, so
// "a;;b" holds three tokens and "" holds one empty token. Token comparisons
// ignore case (AnsiLowerCase).
#pragma once

#include "rtl/types.h"

namespace brevant {

class TStrings;
class TStringList;

// Clears list and adds every token of s in order.
void SplitTokens(const String& s, char sep, TStrings& list);
// The tokens in a new string list the caller frees.
TStringList* SplitToList(const String& s, char sep);
// The list's strings joined with sep; "" for an empty list.
String JoinTokens(const TStrings& list, char sep);

// Separators in s plus one (1 for an empty s).
Integer TokenCount(const String& s, char sep);
// 0 for an empty s, else TokenCount.
Integer TokenCountOrZero(const String& s, char sep);

// The token at index (0-based). Index outside the tokens raises EListError.
String GetToken(const String& s, Integer index, char sep);
// s with the token at index replaced / removed; EListError as GetToken.
String SetToken(const String& s, Integer index, const String& token, char sep);
String DeleteToken(const String& s, Integer index, char sep);

// Whether token is one of s's tokens; False when s or token is empty.
bool ContainsToken(const String& s, const String& token, char sep);
// The index of the first token equal to token, or -1 (always for a token
// holding sep).
Integer TokenIndex(const String& s, const String& token, char sep);
// s without the first token equal to token (s when there is none).
String RemoveToken(const String& s, const String& token, char sep);
// s + sep + token unless s contains token already; token alone for an
// empty s.
String AddToken(const String& s, const String& token, char sep);
// As AddToken, but an empty token leaves s unchanged.
String AddUniqueToken(const String& s, const String& token, char sep);

}  // namespace brevant
