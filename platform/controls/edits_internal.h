// Text helpers shared by the edit control's files (edits*.cpp) only.
#pragma once

#include <cstddef>
#include <string>

#include "controls/wincore.h"
#include "rtl/strutils.h"

namespace brevant::edit_detail {

constexpr WPARAM kCaretTimer = 0xEC01;
constexpr size_t kUndoLimit = 100;

inline std::u32string ToU32(const String& s) {
  std::u32string r;
  r.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) r.push_back(Utf8Next(s, i));
  return r;
}

inline String ToUtf8(const std::u32string& s, std::size_t from, std::size_t to, bool crlf) {
  String r;
  r.reserve(to - from);
  for (std::size_t i = from; i < to; ++i) {
    if (crlf && s[i] == U'\n') r += '\r';
    Utf8Append(r, s[i]);
  }
  return r;
}

inline Integer Utf8Size(char32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// The bytes a character takes in Text: a line break is CR LF there.
inline Integer TextSize(char32_t c) {
  return c == U'\n' ? 2 : Utf8Size(c);
}

inline Integer TextSize(const std::u32string& s, std::size_t from, std::size_t to) {
  Integer n = 0;
  for (std::size_t i = from; i < to; ++i) n += TextSize(s[i]);
  return n;
}

// CR LF and CR become LF.
inline std::u32string NormalizeBreaks(const std::u32string& s) {
  std::u32string r;
  r.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'\r') {
      r.push_back(U'\n');
      if (i + 1 < s.size() && s[i + 1] == U'\n') ++i;
    } else {
      r.push_back(s[i]);
    }
  }
  return r;
}

inline bool IsControlChar(char32_t c) {
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

// Letters, digits and the underscore; any other character above ASCII that
// is not a blank or punctuation of the general block counts as a letter.
inline bool IsWordChar(char32_t c) {
  if (c < 0x80)
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
  if (c == 0xA0 || (c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x3003)) return false;
  return true;
}

inline bool IsBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == 0xA0;
}

inline bool IsKeyHeld(Integer vk) {
  return GetKeyState(vk) < 0;
}

}  // namespace brevant::edit_detail
