// The edit control's text buffer: the characters, the selection and caret,
// editing steps, the clipboard and undo.
#include "controls/edits.h"

#include <algorithm>

#include "backend/backend.h"
#include "controls/edits_internal.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

using namespace edit_detail;

// ---- text -----------------------------------------------------------------------------------

void TCustomEdit::SyncText() {
  text_ = ToUtf8(buf_, 0, buf_.size(), multiLine_);
}

void TCustomEdit::SetText(const String& value) {
  if (value == text_) return;
  AssignText(value);
}

void TCustomEdit::AssignText(const String& value) {
  std::u32string t = ToU32(value);
  if (multiLine_) t = NormalizeBreaks(t);
  if (charCase_ != ecNormal)
    for (char32_t& c : t) c = charCase_ == ecUpperCase ? UpperCaseChar(c) : LowerCaseChar(c);
  buf_ = std::move(t);
  if (trackAttrs_) attrs_.assign(buf_.size(), InsertAttr(0));
  anchor_ = caret_ = 0;
  topLine_ = 0;
  scrollX_ = 0;
  undo_.clear();
  typingStep_ = false;
  modified_ = false;
  changing_ = true;
  SyncText();
  changing_ = false;
  InvalidateLayout();
  UpdateScrollBars();
  InvalidateText();
  SelectionChanged();
  Change();
}

void TCustomEdit::CMTextChanged(TMessage& m) {
  // TControl::SetText through a base pointer: take its text.
  if (!changing_ && text_ != ToUtf8(buf_, 0, buf_.size(), multiLine_)) AssignText(String(text_));
  TWinControl::CMTextChanged(m);
}

void TCustomEdit::Change() {
  OnChange(this);
}

Word TCustomEdit::InsertAttr(Integer pos) const {
  if (attrs_.empty()) return 0;
  if (pos > 0) return attrs_[static_cast<size_t>(pos - 1)];
  return attrs_[0];
}

void TCustomEdit::PushUndo(bool typing) {
  if (typing && typingStep_) return;
  undo_.push_back({buf_, attrs_, anchor_, caret_});
  if (undo_.size() > kUndoLimit) undo_.erase(undo_.begin());
  typingStep_ = typing;
}

void TCustomEdit::ReplaceRange(Integer start, Integer count, const std::u32string& text,
                               bool typing) {
  start = std::clamp<Integer>(start, 0, TextLength());
  count = std::clamp<Integer>(count, 0, TextLength() - start);
  PushUndo(typing);
  auto s = static_cast<size_t>(start);
  if (trackAttrs_) {
    Word a = InsertAttr(start);
    attrs_.erase(attrs_.begin() + static_cast<std::ptrdiff_t>(s),
                 attrs_.begin() + static_cast<std::ptrdiff_t>(s + static_cast<size_t>(count)));
    attrs_.insert(attrs_.begin() + static_cast<std::ptrdiff_t>(s), text.size(), a);
  }
  buf_.replace(s, static_cast<size_t>(count), text);
  anchor_ = caret_ = start + static_cast<Integer>(text.size());
  modified_ = true;
  desiredX_ = -1;
  changing_ = true;
  SyncText();
  changing_ = false;
  InvalidateLayout();
  ScrollCaret();
  ResetCaretBlink();
  InvalidateText();
  SelectionChanged();
  Change();
}

std::u32string TCustomEdit::FilterInput(const std::u32string& text) const {
  std::u32string t = multiLine_ ? NormalizeBreaks(text) : text;
  std::u32string r;
  r.reserve(t.size());
  for (char32_t c : t) {
    if (c == U'\r' || c == U'\n') {
      if (!multiLine_) break;  // a single line takes the first line only
      r.push_back(U'\n');
    } else if (c == U'\t' && multiLine_) {
      r.push_back(c);
    } else if (!IsControlChar(c)) {
      r.push_back(charCase_ == ecUpperCase   ? UpperCaseChar(c)
                  : charCase_ == ecLowerCase ? LowerCaseChar(c)
                                             : c);
    }
  }
  return r;
}

void TCustomEdit::Beep() {
  if (HasBackend()) Backend().Beep();
}

void TCustomEdit::InsertTyped(const std::u32string& text, bool typing) {
  if (readOnly_) {
    Beep();
    return;
  }
  std::u32string t = text;
  if (maxLength_ > 0) {
    // MaxLength counts the bytes of Text.
    Integer room = maxLength_ - TextSize(buf_, 0, buf_.size()) +
                   TextSize(buf_, static_cast<size_t>(SelStart()),
                            static_cast<size_t>(SelStart() + SelLength()));
    size_t n = 0;
    for (; n < t.size(); ++n) {
      room -= TextSize(t[n]);
      if (room < 0) break;
    }
    t.resize(n);
  }
  if (t.empty() && !text.empty()) {
    Beep();
    return;
  }
  if (t.empty() && SelLength() == 0) return;
  ReplaceRange(SelStart(), SelLength(), t, typing);
}

// ---- selection ------------------------------------------------------------------------------

Integer TCustomEdit::SelStart() const {
  return std::min(anchor_, caret_);
}

Integer TCustomEdit::SelLength() const {
  return std::abs(caret_ - anchor_);
}

void TCustomEdit::SetSelStart(Integer value) {
  value = std::clamp<Integer>(value, 0, TextLength());
  SetSelection(value, value);
}

void TCustomEdit::SetSelLength(Integer value) {
  Integer s = SelStart();
  SetSelection(s, std::clamp<Integer>(s + std::max<Integer>(value, 0), 0, TextLength()));
}

String TCustomEdit::SelText() const {
  return ToUtf8(buf_, static_cast<size_t>(SelStart()),
                static_cast<size_t>(SelStart() + SelLength()), multiLine_);
}

void TCustomEdit::SetSelText(const String& value) {
  std::u32string t = ToU32(value);
  if (multiLine_) t = NormalizeBreaks(t);
  if (charCase_ != ecNormal)
    for (char32_t& c : t) c = charCase_ == ecUpperCase ? UpperCaseChar(c) : LowerCaseChar(c);
  ReplaceRange(SelStart(), SelLength(), t);
}

void TCustomEdit::SelectAll() {
  SetSelection(0, TextLength());
}

void TCustomEdit::ClearSelection() {
  Perform(WM_CLEAR);
}

void TCustomEdit::SetSelection(Integer anchor, Integer caret, bool scroll) {
  anchor = std::clamp<Integer>(anchor, 0, TextLength());
  caret = std::clamp<Integer>(caret, 0, TextLength());
  typingStep_ = false;
  if (anchor == anchor_ && caret == caret_) return;
  anchor_ = anchor;
  caret_ = caret;
  if (scroll) ScrollCaret();
  ResetCaretBlink();
  InvalidateText();
  SelectionChanged();
}

void TCustomEdit::MoveCaret(Integer pos, bool extend) {
  pos = std::clamp<Integer>(pos, 0, TextLength());
  desiredX_ = -1;
  SetSelection(extend ? anchor_ : pos, pos);
  ScrollCaret();
  ResetCaretBlink();
}

Integer TCustomEdit::WordLeft(Integer pos) const {
  Integer p = pos;
  while (p > 0 && !IsWordChar(buf_[static_cast<size_t>(p - 1)])) --p;
  while (p > 0 && IsWordChar(buf_[static_cast<size_t>(p - 1)])) --p;
  return p;
}

Integer TCustomEdit::WordRight(Integer pos) const {
  Integer n = TextLength(), p = pos;
  if (p < n && !IsWordChar(buf_[static_cast<size_t>(p)]) &&
      !IsBlank(buf_[static_cast<size_t>(p)])) {
    ++p;  // punctuation or a line break is a stop of its own
  } else {
    while (p < n && IsWordChar(buf_[static_cast<size_t>(p)])) ++p;
  }
  while (p < n && IsBlank(buf_[static_cast<size_t>(p)])) ++p;
  return p;
}

void TCustomEdit::SelectWordAt(Integer pos) {
  Integer n = TextLength();
  if (n == 0) return;
  pos = std::clamp<Integer>(pos, 0, n);
  if (pos == n || buf_[static_cast<size_t>(pos)] == U'\n') {
    if (pos == 0) return;
    --pos;
  }
  auto cls = [this](Integer i) {
    char32_t c = buf_[static_cast<size_t>(i)];
    return IsWordChar(c) ? 0 : IsBlank(c) ? 1 : c == U'\n' ? 3 : 2;
  };
  Integer k = cls(pos), a = pos, b = pos + 1;
  if (k == 3) return;
  while (a > 0 && cls(a - 1) == k) --a;
  while (b < n && cls(b) == k) ++b;
  desiredX_ = -1;
  SetSelection(a, b);
}

// ---- clipboard and undo ---------------------------------------------------------------------

void TCustomEdit::CutToClipboard() {
  Perform(WM_CUT);
}
void TCustomEdit::CopyToClipboard() {
  Perform(WM_COPY);
}
void TCustomEdit::PasteFromClipboard() {
  Perform(WM_PASTE);
}
void TCustomEdit::Undo() {
  Perform(WM_UNDO);
}
void TCustomEdit::ClearUndo() {
  undo_.clear();
  typingStep_ = false;
}

void TCustomEdit::DoCopy() {
  if (SelLength() == 0) return;
  if (passwordChar_) {
    Beep();
    return;
  }
  SetClipboardText(SelText());
}

void TCustomEdit::DoCut() {
  if (SelLength() == 0) return;
  if (readOnly_ || passwordChar_) {
    Beep();
    return;
  }
  SetClipboardText(SelText());
  ReplaceRange(SelStart(), SelLength(), {});
}

void TCustomEdit::DoPaste() {
  if (!HasClipboardText()) return;
  std::u32string raw = ToU32(GetClipboardText());
  if (raw.empty()) return;
  if (readOnly_) {
    Beep();
    return;
  }
  std::u32string t = FilterInput(raw);
  if (t.empty()) {
    Beep();
    return;
  }
  InsertTyped(t, false);
}

void TCustomEdit::DoClear() {
  if (SelLength() == 0) return;
  if (readOnly_) {
    Beep();
    return;
  }
  ReplaceRange(SelStart(), SelLength(), {});
}

bool TCustomEdit::DoUndo() {
  if (undo_.empty()) return false;
  if (readOnly_) {
    Beep();
    return false;
  }
  TUndoStep step = std::move(undo_.back());
  undo_.pop_back();
  buf_ = std::move(step.Text);
  attrs_ = std::move(step.Attrs);
  anchor_ = std::min<Integer>(step.Anchor, TextLength());
  caret_ = std::min<Integer>(step.Caret, TextLength());
  typingStep_ = false;
  modified_ = true;
  changing_ = true;
  SyncText();
  changing_ = false;
  InvalidateLayout();
  ScrollCaret();
  InvalidateText();
  SelectionChanged();
  Change();
  return true;
}

void TCustomEdit::DeleteBackward(bool word) {
  if (readOnly_) {
    Beep();
    return;
  }
  if (SelLength() > 0) {
    ReplaceRange(SelStart(), SelLength(), {});
  } else if (caret_ > 0) {
    Integer from = word ? WordLeft(caret_) : caret_ - 1;
    ReplaceRange(from, caret_ - from, {});
  }
}

void TCustomEdit::DeleteForward(bool word) {
  if (readOnly_) {
    Beep();
    return;
  }
  if (SelLength() > 0) {
    ReplaceRange(SelStart(), SelLength(), {});
  } else if (caret_ < TextLength()) {
    Integer to = word ? WordRight(caret_) : caret_ + 1;
    ReplaceRange(caret_, to - caret_, {});
  }
}

}  // namespace brevant
