// The edit with an edit mask: parsing, typing, saved text and validation.
#include "controls/maskedit.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

std::u32string ToU32(const String& s) {
  std::u32string r;
  std::size_t i = 0;
  while (i < s.size()) r.push_back(Utf8Next(s, i));
  return r;
}

String ToUtf8(const std::u32string& s) {
  String r;
  for (char32_t c : s) Utf8Append(r, c);
  return r;
}

bool IsDigit(char32_t c) {
  return c >= U'0' && c <= U'9';
}

// ASCII letters and the letters above Latin-1's symbols; blanks and the
// general punctuation block are not letters.
bool IsLetter(char32_t c) {
  if (c < 0x80) return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
  if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
  return !(c >= 0x2000 && c <= 0x206F) && !(c >= 0x3000 && c <= 0x3003);
}

bool IsControl(char32_t c) {
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

// ---- the mask --------------------------------------------------------------------------------

void TCustomMaskEdit::ParseMask(const String& mask) {
  positions_.clear();
  saveLiterals_ = true;
  blank_ = U'_';
  leadingBlanks_ = false;
  std::u32string m = ToU32(mask);
  // The fields are split at the last two semicolons that are not escaped.
  std::vector<size_t> semis;
  for (size_t i = 0; i < m.size(); ++i) {
    if (m[i] == U'\\') {
      ++i;
      continue;
    }
    if (m[i] == U';') semis.push_back(i);
  }
  std::u32string body = m;
  if (semis.size() >= 2) {
    size_t a = semis[semis.size() - 2], b = semis.back();
    body = m.substr(0, a);
    std::u32string save = m.substr(a + 1, b - a - 1);
    std::u32string blank = m.substr(b + 1);
    saveLiterals_ = !(save.size() == 1 && save[0] == U'0');
    if (!blank.empty()) blank_ = blank[0];
  } else if (semis.size() == 1) {
    body = m.substr(0, semis[0]);
    std::u32string save = m.substr(semis[0] + 1);
    saveLiterals_ = !(save.size() == 1 && save[0] == U'0');
  }
  TCaseMode mode = cmNone;
  for (size_t i = 0; i < body.size(); ++i) {
    char32_t c = body[i];
    TMaskPos p;
    p.Case = mode;
    switch (c) {
      case U'!':
        leadingBlanks_ = true;
        continue;
      case U'>':
        if (i + 1 < body.size() && body[i + 1] == U'<') {
          ++i;
          mode = cmNone;
        } else {
          mode = cmUpper;
        }
        continue;
      case U'<':
        mode = cmLower;
        continue;
      case U'\\':
        if (i + 1 >= body.size()) continue;
        p.Literal = body[++i];
        break;
      case U'0':
      case U'9':
      case U'#':
      case U'L':
      case U'l':
      case U'A':
      case U'a':
      case U'C':
      case U'c':
        p.Kind = c;
        break;
      default:
        p.Literal = c;
        break;
    }
    positions_.push_back(p);
  }
  // A mask of literals only takes no input: treat it as no mask.
  if (std::none_of(positions_.begin(), positions_.end(), [](const TMaskPos& p) { return p.Kind; }))
    positions_.clear();
}

char32_t TCustomMaskEdit::Convert(char32_t c, const TMaskPos& p) const {
  if (p.Case == cmUpper) return UpperCaseChar(c);
  if (p.Case == cmLower) return LowerCaseChar(c);
  return c;
}

bool TCustomMaskEdit::Fits(char32_t c, const TMaskPos& p) const {
  c = Convert(c, p);
  switch (p.Kind) {
    case U'0':
    case U'9':
      return IsDigit(c);
    case U'#':
      return IsDigit(c) || c == U'+' || c == U'-';
    case U'L':
    case U'l':
      return IsLetter(c);
    case U'A':
    case U'a':
      return IsLetter(c) || IsDigit(c);
    case U'C':
    case U'c':
      return !IsControl(c);
    default:
      return false;
  }
}

bool TCustomMaskEdit::Required(const TMaskPos& p) const {
  return p.Kind == U'0' || p.Kind == U'L' || p.Kind == U'A' || p.Kind == U'C';
}

bool TCustomMaskEdit::Filled(char32_t c, const TMaskPos& p) const {
  if (c == U' ' && p.Kind != U'C' && p.Kind != U'c') return false;
  if (c == blank_ && !Fits(blank_, p)) return false;
  return Fits(c, p);
}

Integer TCustomMaskEdit::NextEditable(Integer pos) const {
  for (Integer i = std::max<Integer>(pos, 0); i < static_cast<Integer>(positions_.size()); ++i)
    if (positions_[static_cast<size_t>(i)].Kind) return i;
  return -1;
}

Integer TCustomMaskEdit::PrevEditable(Integer pos) const {
  for (Integer i = std::min<Integer>(pos, static_cast<Integer>(positions_.size())) - 1; i >= 0; --i)
    if (positions_[static_cast<size_t>(i)].Kind) return i;
  return -1;
}

// The buffer with [from, to) emptied (literals stay).
std::u32string TCustomMaskEdit::Blanked(Integer from, Integer to) const {
  std::u32string b = Buffer();
  for (Integer i = from; i < to && i < static_cast<Integer>(b.size()); ++i) {
    const TMaskPos& p = positions_[static_cast<size_t>(i)];
    b[static_cast<size_t>(i)] = p.Kind ? blank_ : p.Literal;
  }
  return b;
}

// Places characters into the positions: with literals, characters equal to
// a literal at its place are taken as that literal; without, characters go
// to the input positions in order (right-aligned with '!').
std::u32string TCustomMaskEdit::FillFrom(const std::u32string& chars, bool withLiterals) const {
  std::u32string r;
  for (const TMaskPos& p : positions_) r.push_back(p.Kind ? blank_ : p.Literal);
  auto put = [&](size_t j, char32_t c) {
    const TMaskPos& p = positions_[j];
    r[j] = (c != U' ' && c != blank_ && Fits(c, p)) ? Convert(c, p) : blank_;
  };
  if (withLiterals) {
    size_t i = 0;
    for (size_t j = 0; j < positions_.size() && i < chars.size(); ++j) {
      if (!positions_[j].Kind) {
        // The literal itself, or a separator written another way.
        if (chars[i] == positions_[j].Literal ||
            (!IsLetter(chars[i]) && !IsDigit(chars[i]) && chars[i] != U' '))
          ++i;
        continue;
      }
      put(j, chars[i++]);
    }
    return r;
  }
  std::vector<size_t> inputs;
  for (size_t j = 0; j < positions_.size(); ++j)
    if (positions_[j].Kind) inputs.push_back(j);
  size_t offset = 0;
  if (leadingBlanks_ && chars.size() < inputs.size()) offset = inputs.size() - chars.size();
  for (size_t k = 0; k < chars.size() && k + offset < inputs.size(); ++k)
    put(inputs[k + offset], chars[k]);
  return r;
}

void TCustomMaskEdit::SetEditMask(const String& value) {
  if (value == editMask_) return;
  bool wasMasked = IsMasked();
  std::u32string old;
  if (wasMasked) {
    const std::u32string& b = Buffer();
    for (size_t i = 0; i < positions_.size() && i < b.size(); ++i) {
      if (!positions_[i].Kind) continue;
      old.push_back(Filled(b[i], positions_[i]) ? b[i] : U' ');
    }
  }
  String oldText = Text();
  editMask_ = value;
  ParseMask(value);
  if (!IsMasked()) {
    SetBufferText(ToU32(oldText));
  } else if (wasMasked) {
    SetBufferText(FillFrom(old, false));
  } else {
    SetBufferText(FillFrom(ToU32(oldText), true));
  }
}

void TCustomMaskEdit::SetBufferText(const std::u32string& text) {
  TCustomEdit::SetText(ToUtf8(text));
}

// ---- text ------------------------------------------------------------------------------------

String TCustomMaskEdit::Text() const {
  if (!IsMasked()) return TControl::Text();
  const std::u32string& b = Buffer();
  std::u32string out;
  for (size_t i = 0; i < positions_.size() && i < b.size(); ++i) {
    const TMaskPos& p = positions_[i];
    if (!p.Kind) {
      if (saveLiterals_) out.push_back(b[i]);
      continue;
    }
    char32_t c = b[i];
    out.push_back(c == blank_ && !Fits(c, p) ? U' ' : c);
  }
  if (leadingBlanks_) {
    size_t k = 0;
    while (k < out.size() && out[k] == U' ') ++k;
    out.erase(0, k);
  } else {
    while (!out.empty() && out.back() == U' ') out.pop_back();
  }
  return ToUtf8(out);
}

void TCustomMaskEdit::SetText(const String& value) {
  if (!IsMasked()) {
    TCustomEdit::SetText(value);
    return;
  }
  SetBufferText(FillFrom(ToU32(value), saveLiterals_));
}

void TCustomMaskEdit::SetEditText(const String& value) {
  if (!IsMasked()) {
    TCustomEdit::SetText(value);
    return;
  }
  std::u32string chars = ToU32(value);
  std::u32string r;
  for (size_t j = 0; j < positions_.size(); ++j) {
    const TMaskPos& p = positions_[j];
    if (!p.Kind) {
      r.push_back(p.Literal);
      continue;
    }
    char32_t c = j < chars.size() ? chars[j] : blank_;
    r.push_back(c == blank_ || !Fits(c, p) ? blank_ : Convert(c, p));
  }
  SetBufferText(r);
}

bool TCustomMaskEdit::IsValidText() const {
  if (!IsMasked()) return true;
  const std::u32string& b = Buffer();
  if (b.size() != positions_.size()) return false;
  for (size_t i = 0; i < b.size(); ++i) {
    const TMaskPos& p = positions_[i];
    if (!p.Kind) continue;
    char32_t c = b[i];
    bool empty = c == blank_ || c == U' ';
    if (Required(p) ? !Filled(c, p) : (!empty && !Fits(c, p))) return false;
  }
  return true;
}

void TCustomMaskEdit::ValidateEdit() {
  if (IsValidText()) return;
  const std::u32string& b = Buffer();
  Integer bad = 0;
  for (size_t i = 0; i < b.size() && i < positions_.size(); ++i) {
    const TMaskPos& p = positions_[i];
    if (p.Kind &&
        (Required(p) ? !Filled(b[i], p) : (b[i] != blank_ && b[i] != U' ' && !Fits(b[i], p)))) {
      bad = static_cast<Integer>(i);
      break;
    }
  }
  SetSelection(bad, bad);
  throw EDBEditError(res::SMaskEditErr, {EditText()});
}

// ---- typing ----------------------------------------------------------------------------------

Integer TCustomMaskEdit::TypeInto(std::u32string& buffer, Integer pos, char32_t c) const {
  auto n = static_cast<Integer>(positions_.size());
  // The character of a literal right at the caret jumps past it.
  for (Integer q = pos; q < n && !positions_[static_cast<size_t>(q)].Kind; ++q)
    if (positions_[static_cast<size_t>(q)].Literal == c) return q + 1;
  Integer p = NextEditable(pos);
  if (p < 0 || !Fits(c, positions_[static_cast<size_t>(p)])) return -1;
  buffer[static_cast<size_t>(p)] = Convert(c, positions_[static_cast<size_t>(p)]);
  Integer next = p + 1;
  while (next < n && !positions_[static_cast<size_t>(next)].Kind) ++next;
  return next;
}

namespace {

// Applies a new buffer as one edit of the changed range.
void ApplyDiff(const std::u32string& oldB, const std::u32string& newB, size_t& from,
               size_t& count) {
  size_t a = 0;
  while (a < oldB.size() && a < newB.size() && oldB[a] == newB[a]) ++a;
  size_t e = oldB.size();
  while (e > a && oldB[e - 1] == newB[e - 1]) --e;
  from = a;
  count = e - a;
}

}  // namespace

void TCustomMaskEdit::BlankSelection() {
  if (SelLength() == 0) return;
  if (ReadOnly()) {
    Beep();
    return;
  }
  Integer s = SelStart();
  std::u32string b = Blanked(s, s + SelLength());
  size_t from = 0, count = 0;
  ApplyDiff(Buffer(), b, from, count);
  if (count > 0)
    ReplaceRange(static_cast<Integer>(from), static_cast<Integer>(count), b.substr(from, count));
  SetSelection(s, s);
}

void TCustomMaskEdit::KeyDown(Word& key, TShiftState shift) {
  TCustomEdit::KeyDown(key, shift);
  if (!IsMasked() || key != VK_DELETE || shift.Contains(ssShift)) return;
  key = 0;
  if (ReadOnly()) {
    Beep();
    return;
  }
  if (SelLength() > 0) {
    BlankSelection();
    return;
  }
  Integer p = NextEditable(CaretPos());
  if (p < 0) return;
  std::u32string b = Buffer();
  b[static_cast<size_t>(p)] = blank_;
  Integer caret = CaretPos();
  if (b != Buffer()) ReplaceRange(p, 1, b.substr(static_cast<size_t>(p), 1));
  SetSelection(caret, caret);
}

void TCustomMaskEdit::KeyPress(char32_t& key) {
  TCustomEdit::KeyPress(key);
  if (!IsMasked() || key == 0) return;
  if (key == 8) {
    key = 0;
    if (ReadOnly()) {
      Beep();
      return;
    }
    if (SelLength() > 0) {
      BlankSelection();
      return;
    }
    Integer p = PrevEditable(CaretPos());
    if (p < 0) {
      SetSelection(0, 0);
      return;
    }
    std::u32string b = Buffer();
    b[static_cast<size_t>(p)] = blank_;
    if (b != Buffer()) ReplaceRange(p, 1, b.substr(static_cast<size_t>(p), 1));
    SetSelection(p, p);
    return;
  }
  if (IsControl(key)) return;  // Ctrl+C, Return ... reach the edit
  char32_t c = key;
  key = 0;
  if (ReadOnly()) {
    Beep();
    return;
  }
  std::u32string b = SelLength() > 0 ? Blanked(SelStart(), SelStart() + SelLength()) : Buffer();
  Integer next = TypeInto(b, SelStart(), c);
  if (next < 0) {
    Beep();
    return;
  }
  size_t from = 0, count = 0;
  ApplyDiff(Buffer(), b, from, count);
  if (count > 0)
    ReplaceRange(static_cast<Integer>(from), static_cast<Integer>(count), b.substr(from, count),
                 true);
  SetSelection(next, next);
}

void TCustomMaskEdit::WMCut(TMessage& m) {
  if (!IsMasked()) {
    TCustomEdit::WMCut(m);
    return;
  }
  if (SelLength() == 0) return;
  if (ReadOnly() || PasswordChar()) {
    Beep();
    return;
  }
  SetClipboardText(SelText());
  BlankSelection();
}

void TCustomMaskEdit::WMClear(TMessage& m) {
  if (!IsMasked()) {
    TCustomEdit::WMClear(m);
    return;
  }
  BlankSelection();
}

void TCustomMaskEdit::WMPaste(TMessage& m) {
  if (!IsMasked()) {
    TCustomEdit::WMPaste(m);
    return;
  }
  if (!HasClipboardText()) return;
  std::u32string t = ToU32(GetClipboardText());
  size_t cut = t.find_first_of(U"\r\n");
  if (cut != std::u32string::npos) t.resize(cut);
  if (t.empty()) return;
  if (ReadOnly()) {
    Beep();
    return;
  }
  std::u32string b = SelLength() > 0 ? Blanked(SelStart(), SelStart() + SelLength()) : Buffer();
  Integer pos = SelStart();
  for (char32_t c : t) {
    pos = TypeInto(b, pos, c);
    if (pos < 0) {  // refused whole: the text stays as it was
      Beep();
      return;
    }
  }
  size_t from = 0, count = 0;
  ApplyDiff(Buffer(), b, from, count);
  if (count > 0)
    ReplaceRange(static_cast<Integer>(from), static_cast<Integer>(count), b.substr(from, count));
  SetSelection(pos, pos);
}

void TCustomMaskEdit::CMExit(TMessage& m) {
  if (validateOnExit_ && IsMasked()) ValidateEdit();
  TCustomEdit::CMExit(m);
}

// ---- published tables ------------------------------------------------------------------------

BV_PUBLISH_ABSTRACT(TCustomMaskEdit, TCustomEdit) {}

BV_PUBLISH(TMaskEdit, TCustomMaskEdit) {
  p.Property("AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect).Default(1);
  p.Property("AutoSize", &TMaskEdit::AutoSize, &TMaskEdit::SetAutoSize).Default(1);
  p.Property("BorderStyle", &TMaskEdit::BorderStyle, &TMaskEdit::SetBorderStyle).Default(bsSingle);
  p.Property("CharCase", &TMaskEdit::CharCase, &TMaskEdit::SetCharCase).Default(ecNormal);
  p.Property("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask);
  p.Property("MaxLength", &TMaskEdit::MaxLength, &TMaskEdit::SetMaxLength).Default(0);
  p.Property("PasswordChar", &TMaskEdit::PasswordChar, &TMaskEdit::SetPasswordChar).Default(0);
  p.Property("ReadOnly", &TMaskEdit::ReadOnly, &TMaskEdit::SetReadOnly).Default(0);
  p.Property("TabStop", &TMaskEdit::TabStop, &TMaskEdit::SetTabStop).Default(1);
  p.Property("Text", &TMaskEdit::Text, &TMaskEdit::SetText);
  p.Event("OnChange", static_cast<TNotifyEvent TMaskEdit::*>(&TMaskEdit::OnChange), "TNotifyEvent");
}

}  // namespace brevant
