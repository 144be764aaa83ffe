// String routines: comparison in the platform's collation, case conversion,
// trimming, searching and editing, accelerator characters, UTF-8 helpers.
//
// Positions: Pos, Copy, Delete and Insert take and answer 1-based byte
// positions (0 = not found), as the classic routines do. Everything else in
// the platform counts from 0; caret and selection positions of controls count
// characters (code points), not bytes.
#pragma once

#include <vector>

#include "rtl/types.h"

namespace brevant {

// ---- comparison -----------------------------------------------------------
// Byte-order comparisons; CompareText folds ASCII letters only.
Integer CompareStr(const String& a, const String& b);
Integer CompareText(const String& a, const String& b);
bool SameStr(const String& a, const String& b);
bool SameText(const String& a, const String& b);

// The platform's collation: one fixed, locale-independent order (not byte
// order, not the C library's locale). Text compares level by level:
//  1. base characters, ignoring case and accents: punctuation, blanks and
//     symbols < digits < letters. Latin letters with diacritics (Latin-1
//     Supplement, Latin Extended-A), Greek letters with tonos/dialytika, final
//     sigma and Cyrillic "ё" fold to their base letter ("é" ~ "e"); every other
//     letter (including "æ", "ß", "þ", which follow "z") compares by the code
//     point of its lower-case form. Only ASCII digits are digits.
//  2. accents, character by character: plain before accented; a combining
//     accent (U+0300..U+036F) counts like the precomposed letter.
//  3. AnsiCompareStr/WideCompareStr only: case, lower case before upper case.
// Text equal on every level is ordered by code point (AnsiCompareText: of
// the lower-cased text), so AnsiCompareText answers 0 exactly when the texts
// differ only in case, and AnsiCompareStr only for equal text. Examples:
//   "a" < "b" < "B" < "c";  "apple" < "Apple" < "apples";
//   "resume" < "Resume" < "résumé" < "Résumé" (accents outrank case);
//   " x" < "1" < "a";  "e" < "é" < "f".
// Invalid UTF-8 bytes read as U+FFFD; where that is all that tells two texts
// apart, they compare by the invalid bytes' values, so distinct texts are
// never equal but for case. Wide and 8-bit forms of the same
// well-formed text give the same sign. Pure ASCII text takes a fast path that
// allocates nothing. Answers <0, 0, >0 (-1, 0, 1).
Integer AnsiCompareStr(const String& a, const String& b);
Integer AnsiCompareText(const String& a, const String& b);
// The same over bytes held elsewhere (record stores), without copying ASCII text.
Integer AnsiCompareText(const char* a, std::size_t na, const char* b, std::size_t nb);
bool AnsiSameText(const String& a, const String& b);
Integer WideCompareStr(const WideString& a, const WideString& b);
Integer WideCompareText(const WideString& a, const WideString& b);

// ---- case -----------------------------------------------------------------
// ASCII only.
String LowerCase(const String& s);
String UpperCase(const String& s);
// Simple one-to-one case mapping of Latin (Basic, Latin-1 Supplement,
// Extended-A, the regular pairs of Extended-B and Extended Additional),
// Greek, Cyrillic, Armenian and full-width Latin. Letters whose mapping needs
// several characters ("ß" to "SS") stay as they are, as do all other scripts.
// Invalid UTF-8 bytes are copied unchanged.
char32_t LowerCaseChar(char32_t c);
char32_t UpperCaseChar(char32_t c);
String AnsiLowerCase(const String& s);
String AnsiUpperCase(const String& s);
WideString WideLowerCase(const WideString& s);
WideString WideUpperCase(const WideString& s);

// ---- trimming, searching, editing -----------------------------------------
// Remove characters <= ' ' (bytes 0..32) from either or both ends.
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
// 0 when sub is empty, not found, or offset lies outside 1..Length(s).
Integer Pos(const String& sub, const String& s, Integer offset = 1);
// An index below 1 counts as 1; a count <= 0 or an index past the end gives
// "", a count past the end stops there. Copy("abc", 0, 2) = "ab".
String Copy(const String& s, Integer index, Integer count);
// Does nothing when index is outside 1..Length(s) or count <= 0.
void Delete(String& s, Integer index, Integer count);
// An index below 1 inserts at the front, past the end appends.
void Insert(const String& sub, String& s, Integer index);
enum TReplaceFlag : Byte { rfReplaceAll = 1, rfIgnoreCase = 2 };
String StringReplace(const String& s, const String& oldPattern, const String& newPattern,
                     Integer flags);
String StringOfChar(char c, Integer count);
String QuotedStr(const String& s);
String AnsiQuotedStr(const String& s, char quote);
// Removes a leading and trailing quote, turning doubled inner quotes into one.
// Text that is not exactly one quoted string comes back unchanged.
String AnsiDequotedStr(const String& s, char quote);
// Case-insensitive (AnsiLowerCase) prefix and suffix tests.
bool StartsText(const String& sub, const String& s);
bool EndsText(const String& sub, const String& s);
// Splits at every delimiter byte; "a;;b" gives "a", "", "b", "a;" gives "a",
// "" and the empty text gives no part at all.
std::vector<String> SplitString(const String& s, char delimiter);

// ---- accelerators ---------------------------------------------------------
// "&&" stands for one "&"; a single "&" marks the next character as the
// accelerator. A trailing lone "&" marks nothing and is shown as it is:
// "&File" -> "File", "Save && Exit" -> "Save & Exit", "Fish &" -> "Fish &".
String StripHotkey(const String& caption);
// The accelerator character of a caption (the first single "&"), lower-cased
// (0 when none).
char32_t GetHotkey(const String& caption);
// True when the caption's accelerator is the character ch (ignoring case).
bool IsAccel(char32_t ch, const String& caption);

// ---- UTF-8 ----------------------------------------------------------------
// Invalid sequences count and decode as U+FFFD, one byte each; nothing reads
// past the end.
Integer Utf8Length(const String& s);
// The byte offset of code point index cp (clamped to the length).
std::size_t Utf8Offset(const String& s, Integer cp);
// Decodes the code point at byte offset i and advances i past it; at or past
// the end answers 0 and leaves i alone.
char32_t Utf8Next(const String& s, std::size_t& i);
void Utf8Append(String& s, char32_t cp);
// Truncates to at most maxBytes without splitting a sequence.
String Utf8Truncate(const String& s, std::size_t maxBytes);
// Code points above U+FFFF become surrogate pairs; lone surrogates of a wide
// string become U+FFFD.
WideString Utf8ToWide(const String& s);
String WideToUtf8(const WideString& s);

}  // namespace brevant
