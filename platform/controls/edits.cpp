// The edit controls: text buffer, layout, painting, keyboard, mouse,
// clipboard, undo and the EM_ messages.
#include "controls/edits.h"

#include <algorithm>

#include "backend/backend.h"
#include "classes/rtti_builder.h"
#include "controls/maskedit.h"
#include "controls/richedit.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

constexpr WPARAM kCaretTimer = 0xEC01;
constexpr size_t kUndoLimit = 100;

std::u32string ToU32(const String& s) {
  std::u32string r;
  r.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) r.push_back(Utf8Next(s, i));
  return r;
}

String ToUtf8(const std::u32string& s, std::size_t from, std::size_t to, bool crlf) {
  String r;
  r.reserve(to - from);
  for (std::size_t i = from; i < to; ++i) {
    if (crlf && s[i] == U'\n') r += '\r';
    Utf8Append(r, s[i]);
  }
  return r;
}

Integer Utf8Size(char32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// The bytes a character takes in Text: a line break is CR LF there.
Integer TextSize(char32_t c) {
  return c == U'\n' ? 2 : Utf8Size(c);
}

Integer TextSize(const std::u32string& s, std::size_t from, std::size_t to) {
  Integer n = 0;
  for (std::size_t i = from; i < to; ++i) n += TextSize(s[i]);
  return n;
}

// CR LF and CR become LF.
std::u32string NormalizeBreaks(const std::u32string& s) {
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

bool IsControlChar(char32_t c) {
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

// Letters, digits and the underscore; any other character above ASCII that
// is not a blank or punctuation of the general block counts as a letter.
bool IsWordChar(char32_t c) {
  if (c < 0x80)
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
  if (c == 0xA0 || (c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x3003)) return false;
  return true;
}

bool IsBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == 0xA0;
}

bool IsKeyHeld(Integer vk) {
  return GetKeyState(vk) < 0;
}

}  // namespace

// ---- life cycle ---------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  controlStyle_ = {csClickEvents, csSetCaption, csDoubleClicks, csCaptureMouse, csOpaque};
  measure_ = Create<TCanvas>();
  measure_->SetFont(Font());
  width_ = 121;
  height_ = 21;
  SetTabStop(true);
}

TCustomEdit::~TCustomEdit() {
  TObject::Free(measure_);
}

void TCustomEdit::AfterConstruction() {
  TWinControl::AfterConstruction();
  UpdateStyle();
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (alignment_ == taRightJustify) params.Style |= ES_RIGHT;
  if (alignment_ == taCenter) params.Style |= ES_CENTER;
  if (readOnly_) params.Style |= ES_READONLY;
  if (!hideSelection_) params.Style |= ES_NOHIDESEL;
  if (passwordChar_) params.Style |= ES_PASSWORD;
  if (charCase_ == ecUpperCase) params.Style |= ES_UPPERCASE;
  if (charCase_ == ecLowerCase) params.Style |= ES_LOWERCASE;
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.ClassStyle |= CS_DBLCLKS;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyStyle(GetWindowLong(handle_, GWL_STYLE));
  InvalidateLayout();
  UpdateScrollBars();
}

void TCustomEdit::UpdateStyle() {
  TCreateParams params;
  CreateParams(params);
  if (!handle_) {
    ApplyStyle(params.Style);
    return;
  }
  constexpr Cardinal kind = ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL;
  Cardinal old = GetWindowLong(handle_, GWL_STYLE);
  if (((old ^ params.Style) & kind) != 0 || GetWindowLong(handle_, GWL_EXSTYLE) != params.ExStyle) {
    RecreateWnd();
    return;
  }
  Cardinal style = (old & ~Cardinal(0xFFFF)) | (params.Style & 0xFFFF);
  SetWindowLong(handle_, GWL_STYLE, style);
  ApplyStyle(style);
}

void TCustomEdit::ApplyStyle(Cardinal style) {
  bool multi = (style & ES_MULTILINE) != 0;
  if (multi && !multiLine_) {
    buf_ = NormalizeBreaks(buf_);
    if (trackAttrs_) attrs_.resize(buf_.size(), InsertAttr(0));
    anchor_ = std::min<Integer>(anchor_, TextLength());
    caret_ = std::min<Integer>(caret_, TextLength());
  }
  multiLine_ = multi;
  autoHScroll_ = !multi || (style & ES_AUTOHSCROLL) != 0;
  alignment_ = (style & ES_RIGHT) ? taRightJustify : (style & ES_CENTER) ? taCenter : taLeftJustify;
  readOnly_ = (style & ES_READONLY) != 0;
  hideSelection_ = (style & ES_NOHIDESEL) == 0;
  SyncText();
  InvalidateLayout();
  InvalidateText();
}

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

// ---- properties -----------------------------------------------------------------------------

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (value == borderStyle_) return;
  borderStyle_ = value;
  UpdateStyle();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == charCase_) return;
  charCase_ = value;
  UpdateStyle();
  if (value == ecNormal || buf_.empty()) return;
  std::u32string t = buf_;
  for (char32_t& c : t) c = value == ecUpperCase ? UpperCaseChar(c) : LowerCaseChar(c);
  if (t == buf_) return;
  buf_ = std::move(t);
  changing_ = true;
  SyncText();
  changing_ = false;
  InvalidateLayout();
  InvalidateText();
  Change();
}

void TCustomEdit::SetHideSelection(bool value) {
  if (value == hideSelection_) return;
  hideSelection_ = value;
  UpdateStyle();
  InvalidateText();
}

void TCustomEdit::SetMaxLength(Integer value) {
  maxLength_ = std::max<Integer>(value, 0);
}

void TCustomEdit::SetPasswordChar(char16_t value) {
  if (value == passwordChar_) return;
  passwordChar_ = value;
  UpdateStyle();
  InvalidateLayout();
  InvalidateText();
}

void TCustomEdit::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  UpdateStyle();
}

void TCustomEdit::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  UpdateStyle();
}

// ---- messages -------------------------------------------------------------------------------

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CUT:
      WMCut(m);
      break;
    case WM_COPY:
      WMCopy(m);
      break;
    case WM_PASTE:
      WMPaste(m);
      break;
    case WM_CLEAR:
      WMClear(m);
      break;
    case WM_UNDO:
    case EM_UNDO:
      WMUndo(m);
      break;
    default:
      TWinControl::Dispatch(m);
      break;
  }
}

void TCustomEdit::DefaultHandler(TMessage& m) {
  if (!HandleEditMessage(m)) TWinControl::DefaultHandler(m);
}

void TCustomEdit::DoEnter() {
  if (autoSelect_ && !multiLine_ && !IsKeyHeld(VK_LBUTTON)) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::CNKeyDown(TMessage& m) {
  // The key is known while the form's dialog keys run; a button they click
  // may free this edit.
  struct TRestore {
    TCustomEdit* Edit;
    TAliveGuard Alive;
    Word Saved;
    ~TRestore() {
      if (Alive.Alive()) Edit->dlgKey_ = Saved;
    }
  } restore{this, TAliveGuard(this), dlgKey_};
  dlgKey_ = LoWord(m.WParam);
  TWinControl::CNKeyDown(m);
}

// The keyboard's context menu opens at the caret.
void TCustomEdit::WMContextMenu(TMessage& m) {
  if (LParamToPoint(m.LParam) == TPoint{-1, -1} && handle_) {
    const TRect caret = CaretRect();
    m.LParam = PointToLParam(ClientToScreen({caret.Left, caret.Bottom}));
  }
  TWinControl::WMContextMenu(m);
}

void TCustomEdit::WMSize(TMessage& m) {
  TWinControl::WMSize(m);
  InvalidateLayout();
  if (handle_ && !updatingBars_) {
    ClampScroll();
    UpdateScrollBars();
  }
  InvalidateText();
}

void TCustomEdit::CMFontChanged(TMessage& m) {
  TWinControl::CMFontChanged(m);
  measure_->SetFont(Font());
  InvalidateLayout();
  InvalidateText();
}

void TCustomEdit::CMEnabledChanged(TMessage& m) {
  TWinControl::CMEnabledChanged(m);
  InvalidateText();
}

void TCustomEdit::CMColorChanged(TMessage& m) {
  TWinControl::CMColorChanged(m);
  InvalidateText();
}

bool TCustomEdit::HandleEditMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      KeyDownEdit(m);
      return true;
    case WM_SYSKEYDOWN:
      if (LoWord(m.WParam) == VK_BACK && (m.LParam & KF_ALTDOWN_BIT)) {
        Perform(WM_UNDO);
        return true;
      }
      return false;
    case WM_CHAR:
      CharEdit(m);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      MouseEdit(m);
      return true;
    case WM_CANCELMODE:
      dragging_ = false;
      return false;
    case WM_DESTROY:
      // A re-created window starts without the focus.
      focused_ = false;
      dragging_ = false;
      return false;
    case WM_SETFOCUS:
      focused_ = true;
      if (handle_) SetTimer(handle_, kCaretTimer, kCaretBlinkTime);
      caretOn_ = true;
      ScrollCaret();
      InvalidateText();
      return false;
    case WM_KILLFOCUS:
      focused_ = false;
      dragging_ = false;
      if (handle_) KillTimer(handle_, kCaretTimer);
      InvalidateText();
      return false;
    case WM_TIMER:
      if (m.WParam != kCaretTimer) return false;
      caretOn_ = !caretOn_;
      if (handle_) {
        TRect r = CaretRect();
        InvalidateRect(handle_, &r, false);
      }
      return true;
    case WM_SETTEXT:
      AssignText(m.LParam ? String(reinterpret_cast<const char*>(m.LParam)) : String());
      m.Result = 1;
      return true;
    case WM_GETTEXTLENGTH:
      m.Result = static_cast<LRESULT>(text_.size());
      return true;
    case WM_GETTEXT:
      m.Result = CopyWindowText(text_, m.WParam, m.LParam);
      return true;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
      if (multiLine_ && WantsReturns() && dlgKey_ != VK_TAB && dlgKey_ != VK_ESCAPE)
        code |= DLGC_WANTALLKEYS;
      if (multiLine_ && WantsTabs()) code |= DLGC_WANTTAB;
      m.Result = code;
      return true;
    }
    case WM_SETCURSOR:
      if (static_cast<HWND>(m.WParam) == handle_ && LoSmall(m.LParam) == HTCLIENT) {
        brevant::SetCursor(crIBeam);
        m.Result = 1;
        return true;
      }
      return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
      ScrollMessage(m, m.Msg == WM_VSCROLL);
      return true;
    case WM_MOUSEWHEEL:
      if (!multiLine_) return false;
      ScrollLines(-(HiSmall(static_cast<LPARAM>(m.WParam)) / WHEEL_DELTA) * 3);
      m.Result = 1;
      return true;
    case WM_CUT:
      DoCut();
      return true;
    case WM_COPY:
      DoCopy();
      return true;
    case WM_PASTE:
      DoPaste();
      return true;
    case WM_CLEAR:
      DoClear();
      return true;
    case WM_UNDO:
    case EM_UNDO:
      m.Result = DoUndo() ? 1 : 0;
      return true;
    default:
      break;
  }
  if (m.Msg < EM_GETSEL || m.Msg > EM_CHARFROMPOS) return false;
  m.Result = 0;
  switch (m.Msg) {
    case EM_GETSEL:
      if (m.WParam) *reinterpret_cast<Integer*>(m.WParam) = SelStart();
      if (m.LParam) *reinterpret_cast<Integer*>(m.LParam) = SelStart() + SelLength();
      m.Result = MakeLParam(SelStart(), SelStart() + SelLength());
      break;
    case EM_SETSEL: {
      auto start = static_cast<Integer>(static_cast<LPARAM>(m.WParam));
      auto end = static_cast<Integer>(m.LParam);
      if (start < 0) {
        SetSelection(caret_, caret_);
      } else {
        if (end < 0) end = TextLength();
        SetSelection(start, end);
      }
      break;
    }
    case EM_GETRECT:
      if (m.LParam) *reinterpret_cast<TRect*>(m.LParam) = TextRect();
      break;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (m.LParam) {
        fmtRect_ = *reinterpret_cast<const TRect*>(m.LParam);
        fmtRectSet_ = true;
      } else {
        fmtRectSet_ = false;
      }
      InvalidateLayout();
      ClampScroll();
      if (m.Msg == EM_SETRECT) InvalidateText();
      break;
    case EM_SCROLL:
      ScrollMessage(m, true);
      break;
    case EM_LINESCROLL:
      scrollX_ += static_cast<Integer>(static_cast<LPARAM>(m.WParam)) * measure_->TextWidth("x");
      ScrollLines(static_cast<Integer>(m.LParam));
      m.Result = 1;
      break;
    case EM_SCROLLCARET:
      ScrollCaret();
      m.Result = 1;
      break;
    case EM_GETMODIFY:
      m.Result = modified_ ? 1 : 0;
      break;
    case EM_SETMODIFY:
      modified_ = m.WParam != 0;
      break;
    case EM_GETLINECOUNT:
      m.Result = LineCount();
      break;
    case EM_LINEINDEX:
      m.Result = LineIndex(static_cast<Integer>(static_cast<LPARAM>(m.WParam)));
      break;
    case EM_LINELENGTH: {
      auto pos = static_cast<Integer>(static_cast<LPARAM>(m.WParam));
      Integer line = LineFromChar(pos < 0 ? caret_ : pos);
      m.Result = lines_[static_cast<size_t>(line)].End - lines_[static_cast<size_t>(line)].Start;
      break;
    }
    case EM_GETLINE: {
      // LParam: a buffer whose first Word holds its size in bytes; the line's
      // UTF-8 bytes are copied without a terminating NUL.
      auto line = static_cast<Integer>(m.WParam);
      char* out = reinterpret_cast<char*>(m.LParam);
      EnsureLayout();
      if (!out || line < 0 || line >= static_cast<Integer>(lines_.size())) break;
      Word size = 0;
      std::copy_n(out, sizeof(Word), reinterpret_cast<char*>(&size));
      const TVisLine& l = lines_[static_cast<size_t>(line)];
      String s = Utf8Truncate(
          ToUtf8(buf_, static_cast<size_t>(l.Start), static_cast<size_t>(l.End), false), size);
      std::copy(s.begin(), s.end(), out);
      m.Result = static_cast<LRESULT>(s.size());
      break;
    }
    case EM_REPLACESEL: {
      String s = m.LParam ? String(reinterpret_cast<const char*>(m.LParam)) : String();
      SetSelText(s);
      break;
    }
    case EM_LIMITTEXT:
      SetMaxLength(static_cast<Integer>(m.WParam));
      break;
    case EM_GETLIMITTEXT:
      m.Result = maxLength_;
      break;
    case EM_CANUNDO:
      m.Result = CanUndo() ? 1 : 0;
      break;
    case EM_EMPTYUNDOBUFFER:
      ClearUndo();
      break;
    case EM_LINEFROMCHAR: {
      auto pos = static_cast<Integer>(static_cast<LPARAM>(m.WParam));
      m.Result = LineFromChar(pos < 0 ? caret_ : pos);
      break;
    }
    case EM_SETPASSWORDCHAR:
      SetPasswordChar(static_cast<char16_t>(m.WParam));
      break;
    case EM_GETFIRSTVISIBLELINE:
      m.Result = topLine_;
      break;
    case EM_SETREADONLY:
      SetReadOnly(m.WParam != 0);
      m.Result = 1;
      break;
    case EM_SETMARGINS:
      if (m.WParam == EC_USEFONTINFO) {
        leftMargin_ = rightMargin_ = 1;
      } else {
        if (m.WParam & EC_LEFTMARGIN) leftMargin_ = LoWord(static_cast<WPARAM>(m.LParam));
        if (m.WParam & EC_RIGHTMARGIN) rightMargin_ = HiWord(static_cast<WPARAM>(m.LParam));
      }
      InvalidateLayout();
      InvalidateText();
      break;
    case EM_GETMARGINS:
      m.Result = MakeLParam(leftMargin_, rightMargin_);
      break;
    case EM_POSFROMCHAR:
      m.Result = PointToLParam(PosFromChar(static_cast<Integer>(m.WParam)));
      break;
    case EM_CHARFROMPOS: {
      Integer pos = CharFromPos(LParamToPoint(m.LParam));
      m.Result = MakeLParam(pos, LineFromChar(pos));
      break;
    }
    default:
      return false;
  }
  return true;
}

// ---- keyboard -------------------------------------------------------------------------------

void TCustomEdit::KeyDownEdit(TMessage& m) {
  Word key = LoWord(m.WParam);
  bool shift = IsKeyHeld(VK_SHIFT), ctrl = IsKeyHeld(VK_CONTROL);
  switch (key) {
    case VK_LEFT:
      if (SelLength() > 0 && !shift && !ctrl)
        MoveCaret(SelStart(), false);
      else
        MoveCaret(ctrl ? WordLeft(caret_) : caret_ - 1, shift);
      break;
    case VK_RIGHT:
      if (SelLength() > 0 && !shift && !ctrl)
        MoveCaret(SelStart() + SelLength(), false);
      else
        MoveCaret(ctrl ? WordRight(caret_) : caret_ + 1, shift);
      break;
    case VK_UP:
    case VK_DOWN:
      if (multiLine_)
        MoveVertical(key == VK_UP ? -1 : 1, shift);
      else
        MoveCaret(key == VK_UP ? caret_ - 1 : caret_ + 1, shift);
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (multiLine_) {
        EnsureLayout();
        Integer page =
            std::max<Integer>(1, VisibleHeight() / std::max<Integer>(1, lines_[0].Height));
        MoveVertical(key == VK_PRIOR ? -page : page, shift);
      }
      break;
    case VK_HOME:
      if (ctrl && multiLine_) {
        MoveCaret(0, shift);
      } else {
        EnsureLayout();
        MoveCaret(lines_[static_cast<size_t>(LineFromChar(caret_))].Start, shift);
      }
      break;
    case VK_END:
      if (ctrl && multiLine_) {
        MoveCaret(TextLength(), shift);
      } else {
        EnsureLayout();
        auto line = static_cast<size_t>(LineFromChar(caret_));
        Integer end = lines_[line].End;
        // A wrapped line ends before its trailing blank, so the caret stays on it.
        if (line + 1 < lines_.size() && lines_[line + 1].Start == end && end > lines_[line].Start)
          --end;
        MoveCaret(end, shift);
      }
      break;
    case VK_DELETE:
      if (shift && !ctrl)
        Perform(WM_CUT);
      else
        DeleteForward(ctrl);
      break;
    case VK_INSERT:
      if (shift && !ctrl)
        Perform(WM_PASTE);
      else if (ctrl && !shift)
        Perform(WM_COPY);
      break;
    default:
      break;
  }
}

void TCustomEdit::CharEdit(TMessage& m) {
  auto ch = static_cast<char32_t>(m.WParam);
  switch (ch) {
    case 1:  // Ctrl+A
      SelectAll();
      return;
    case 3:  // Ctrl+C
      Perform(WM_COPY);
      return;
    case 22:  // Ctrl+V
      Perform(WM_PASTE);
      return;
    case 24:  // Ctrl+X
      Perform(WM_CUT);
      return;
    case 26:  // Ctrl+Z
      Perform(WM_UNDO);
      return;
    case 8:
      DeleteBackward(IsKeyHeld(VK_CONTROL));
      return;
    case 127:  // Ctrl+Backspace on some keyboards
      DeleteBackward(true);
      return;
    case U'\r':
    case U'\n':
      if (multiLine_) InsertTyped(U"\n", false);
      return;
    case U'\t':
      if (multiLine_) InsertTyped(U"\t", true);
      return;
    default:
      break;
  }
  if (IsControlChar(ch)) return;
  InsertTyped(FilterInput(std::u32string(1, ch)), true);
}

// ---- mouse ----------------------------------------------------------------------------------

void TCustomEdit::MouseEdit(TMessage& m) {
  TPoint p = LParamToPoint(m.LParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      TAliveGuard alive(this);
      if (!focused_ && CanFocus()) SetFocus();
      if (!alive.Alive() || (!focused_ && handle_ && GetFocus() != handle_)) return;
      MoveCaret(CharFromPos(p), (m.WParam & MK_SHIFT) != 0);
      dragging_ = true;
      dragWordAnchor_ = -1;
      break;
    }
    case WM_LBUTTONDBLCLK: {
      TAliveGuard alive(this);
      if (!focused_ && CanFocus()) SetFocus();
      if (!alive.Alive()) return;
      SelectWordAt(CharFromPos(p));
      dragging_ = false;
      break;
    }
    case WM_MOUSEMOVE:
      if (dragging_ && (m.WParam & MK_LBUTTON)) {
        desiredX_ = -1;
        SetSelection(anchor_, CharFromPos(p));
      }
      break;
    case WM_LBUTTONUP:
      dragging_ = false;
      break;
    default:
      break;
  }
}

// ---- layout ---------------------------------------------------------------------------------

void TCustomEdit::InvalidateLayout() {
  layoutValid_ = false;
}

void TCustomEdit::InvalidateText() {
  if (handle_) InvalidateRect(handle_, nullptr, false);
}

TRect TCustomEdit::TextRect() const {
  if (fmtRectSet_) return fmtRect_;
  TRect r = GetClientRect();
  r.Left += leftMargin_;
  r.Right -= rightMargin_;
  if (r.Right < r.Left) r.Right = r.Left;
  return r;
}

String TCustomEdit::DisplayText(Integer from, Integer to) const {
  if (passwordChar_) {
    String one;
    Utf8Append(one, passwordChar_);
    String r;
    for (Integer i = from; i < to; ++i) r += one;
    return r;
  }
  return ToUtf8(buf_, static_cast<size_t>(from), static_cast<size_t>(to), false);
}

Integer TCustomEdit::RangeWidth(Integer from, Integer to) {
  if (to <= from) return 0;
  return measure_->TextWidth(DisplayText(from, to));
}

Integer TCustomEdit::LineHeightOf(Integer, Integer) {
  return measure_->TextHeight("Wg");
}

void TCustomEdit::DrawLine(TCanvas* canvas, const TVisLine& line, Integer x, Integer y,
                           TColor color) {
  if (line.End <= line.Start) return;
  canvas->SetFont(Font());
  if (color != clNone) canvas->Font()->SetColor(color);
  canvas->SetBkMode(TRANSPARENT);
  canvas->TextOut(x, y, DisplayText(line.Start, line.End));
}

void TCustomEdit::EnsureLayout() {
  if (!layoutValid_) BuildLayout();
}

void TCustomEdit::BuildLayout() {
  fmtRect_ = TextRect();
  lines_.clear();
  Integer width = fmtRect_.Width();
  bool wrap = multiLine_ && !autoHScroll_ && width > 0;
  Integer n = TextLength();
  auto push = [this](Integer s, Integer e) {
    TVisLine l;
    l.Start = s;
    l.End = e;
    lines_.push_back(std::move(l));
  };
  Integer ps = 0;
  while (true) {
    Integer pe = ps;
    if (multiLine_)
      while (pe < n && buf_[static_cast<size_t>(pe)] != U'\n') ++pe;
    else
      pe = n;
    if (!wrap || pe == ps || RangeWidth(ps, pe) <= width) {
      push(ps, pe);
    } else {
      Integer pos = ps;
      while (pos < pe) {
        if (RangeWidth(pos, pe) <= width) {
          push(pos, pe);
          break;
        }
        Integer lo = pos + 1, hi = pe;
        while (lo < hi) {
          Integer mid = (lo + hi + 1) / 2;
          if (RangeWidth(pos, mid) <= width)
            lo = mid;
          else
            hi = mid - 1;
        }
        Integer brk = lo;
        if (brk < pe && !IsBlank(buf_[static_cast<size_t>(brk)])) {
          Integer k = brk;
          while (k > pos && !IsBlank(buf_[static_cast<size_t>(k - 1)])) --k;
          if (k > pos) brk = k;
        }
        while (brk < pe && IsBlank(buf_[static_cast<size_t>(brk)])) ++brk;
        push(pos, brk);
        pos = brk;
      }
    }
    if (pe >= n) break;
    ps = pe + 1;
  }
  Integer top = 0;
  for (TVisLine& l : lines_) {
    l.Top = top;
    l.Height = LineHeightOf(l.Start, l.End);
    top += l.Height;
  }
  layoutWidth_ = width;
  layoutValid_ = true;
  topLine_ = std::clamp<Integer>(topLine_, 0, static_cast<Integer>(lines_.size()) - 1);
}

const std::vector<Integer>& TCustomEdit::LineXs(Integer line) {
  EnsureLayout();
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  if (l.Xs.empty()) {
    l.Xs.reserve(static_cast<size_t>(l.End - l.Start + 1));
    for (Integer k = l.Start; k <= l.End; ++k) l.Xs.push_back(RangeWidth(l.Start, k));
  }
  return l.Xs;
}

Integer TCustomEdit::LineWidth(Integer line) {
  return LineXs(line).back();
}

Integer TCustomEdit::LineOffsetX(Integer line) {
  if (alignment_ == taLeftJustify) return 0;
  Integer free = fmtRect_.Width() - LineWidth(line) - 1;
  if (free <= 0) return 0;
  return alignment_ == taRightJustify ? free : free / 2;
}

Integer TCustomEdit::VisibleHeight() {
  EnsureLayout();
  return std::max<Integer>(fmtRect_.Height(), lines_[0].Height);
}

Integer TCustomEdit::LineCount() {
  EnsureLayout();
  return static_cast<Integer>(lines_.size());
}

Integer TCustomEdit::LineFromChar(Integer pos) {
  EnsureLayout();
  pos = std::clamp<Integer>(pos, 0, TextLength());
  auto it = std::upper_bound(lines_.begin(), lines_.end(), pos,
                             [](Integer p, const TVisLine& l) { return p < l.Start; });
  return std::max<Integer>(0, static_cast<Integer>(it - lines_.begin()) - 1);
}

Integer TCustomEdit::LineIndex(Integer line) {
  EnsureLayout();
  if (line < 0) line = LineFromChar(caret_);
  if (line >= static_cast<Integer>(lines_.size())) return -1;
  return lines_[static_cast<size_t>(line)].Start;
}

TPoint TCustomEdit::PosFromChar(Integer pos) {
  EnsureLayout();
  pos = std::clamp<Integer>(pos, 0, TextLength());
  Integer line = LineFromChar(pos);
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  Integer x = fmtRect_.Left + LineOffsetX(line) - scrollX_ +
              LineXs(line)[static_cast<size_t>(std::min(pos, l.End) - l.Start)];
  Integer y = fmtRect_.Top + l.Top - lines_[static_cast<size_t>(topLine_)].Top;
  return {x, y};
}

Integer TCustomEdit::CharFromPos(TPoint p) {
  EnsureLayout();
  Integer y = p.Y - fmtRect_.Top + lines_[static_cast<size_t>(topLine_)].Top;
  Integer line = 0;
  if (y >= 0) {
    auto it = std::upper_bound(lines_.begin(), lines_.end(), y,
                               [](Integer v, const TVisLine& l) { return v < l.Top; });
    line = std::max<Integer>(0, static_cast<Integer>(it - lines_.begin()) - 1);
  } else {
    line = std::max<Integer>(0, topLine_ - 1);  // above: the line before the first visible
  }
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  const std::vector<Integer>& xs = LineXs(line);
  Integer x = p.X - fmtRect_.Left - LineOffsetX(line) + scrollX_;
  size_t best = 0;
  for (size_t k = 1; k < xs.size(); ++k)
    if (std::abs(xs[k] - x) < std::abs(xs[best] - x)) best = k;
  Integer pos = l.Start + static_cast<Integer>(best);
  // A wrapped line's end belongs to the next line; stay on this one.
  if (pos == l.End && static_cast<size_t>(line) + 1 < lines_.size() &&
      lines_[static_cast<size_t>(line) + 1].Start == pos && pos > l.Start)
    --pos;
  return pos;
}

TRect TCustomEdit::CaretRect() {
  TPoint p = PosFromChar(caret_);
  Integer h = lines_[static_cast<size_t>(LineFromChar(caret_))].Height;
  Integer x = std::clamp<Integer>(p.X, fmtRect_.Left, std::max(fmtRect_.Left, fmtRect_.Right - 1));
  return {x, p.Y, x + 1, p.Y + h};
}

void TCustomEdit::ClampScroll() {
  EnsureLayout();
  Integer count = static_cast<Integer>(lines_.size());
  topLine_ = std::clamp<Integer>(topLine_, 0, count - 1);
  if (multiLine_) {
    // Do not leave empty space below the last line when the text fits.
    Integer total = lines_.back().Top + lines_.back().Height;
    while (topLine_ > 0 && total - lines_[static_cast<size_t>(topLine_ - 1)].Top <= VisibleHeight())
      --topLine_;
  }
  if (autoHScroll_) {
    Integer widest = 0;
    if (multiLine_) {
      for (Integer i = 0; i < count; ++i) widest = std::max(widest, LineWidth(i));
    } else {
      widest = LineWidth(0);
    }
    scrollX_ =
        std::clamp<Integer>(scrollX_, 0, std::max<Integer>(0, widest + 1 - fmtRect_.Width()));
  } else {
    scrollX_ = 0;
  }
}

void TCustomEdit::ScrollCaret() {
  EnsureLayout();
  Integer line = LineFromChar(caret_);
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  if (line < topLine_) topLine_ = line;
  Integer visible = VisibleHeight();
  while (topLine_ < line && l.Top + l.Height - lines_[static_cast<size_t>(topLine_)].Top > visible)
    ++topLine_;
  if (autoHScroll_) {
    Integer width = fmtRect_.Width();
    Integer cx = LineOffsetX(line) + LineXs(line)[static_cast<size_t>(caret_ - l.Start)];
    if (cx < scrollX_)
      scrollX_ = std::max<Integer>(0, cx - width / 3);
    else if (cx > scrollX_ + width - 1)
      scrollX_ = cx - width + 1 + width / 3;
  }
  ClampScroll();
  // Keep the caret itself in view after clamping.
  if (autoHScroll_) {
    Integer cx = LineOffsetX(line) + LineXs(line)[static_cast<size_t>(caret_ - l.Start)];
    if (cx > scrollX_ + fmtRect_.Width() - 1) scrollX_ = cx - fmtRect_.Width() + 1;
  }
  UpdateScrollBars();
  InvalidateText();
}

void TCustomEdit::UpdateScrollBars() {
  if (!handle_ || updatingBars_) return;
  Cardinal style = GetWindowLong(handle_, GWL_STYLE);
  if (!(style & (WS_VSCROLL | WS_HSCROLL))) return;
  updatingBars_ = true;
  try {
    for (int pass = 0; pass < 2; ++pass) {
      EnsureLayout();
      if (style & WS_VSCROLL) {
        TScrollInfo si;
        si.Mask = SIF_ALL;
        si.Min = 0;
        si.Max = lines_.back().Top + lines_.back().Height - 1;
        si.Page = static_cast<Cardinal>(std::max<Integer>(0, fmtRect_.Height()));
        si.Pos = lines_[static_cast<size_t>(topLine_)].Top;
        SetScrollInfo(handle_, SB_VERT, si, true);
      }
      if (style & WS_HSCROLL) {
        Integer widest = 0;
        for (Integer i = 0; i < static_cast<Integer>(lines_.size()); ++i)
          widest = std::max(widest, LineWidth(i));
        TScrollInfo si;
        si.Mask = SIF_ALL;
        si.Min = 0;
        si.Max = widest;
        si.Page = static_cast<Cardinal>(std::max<Integer>(0, fmtRect_.Width()));
        si.Pos = scrollX_;
        SetScrollInfo(handle_, SB_HORZ, si, true);
      }
      if (layoutValid_) break;  // the client size did not change
      ClampScroll();
    }
  } catch (...) {
    updatingBars_ = false;
    throw;
  }
  updatingBars_ = false;
}

void TCustomEdit::ScrollLines(Integer lines) {
  EnsureLayout();
  topLine_ += lines;
  ClampScroll();
  UpdateScrollBars();
  InvalidateText();
}

void TCustomEdit::ScrollMessage(TMessage& m, bool vertical) {
  EnsureLayout();
  Word code = LoWord(m.WParam);
  if (vertical) {
    Integer page = std::max<Integer>(1, VisibleHeight() / std::max<Integer>(1, lines_[0].Height));
    switch (code) {
      case SB_LINEUP:
        ScrollLines(-1);
        break;
      case SB_LINEDOWN:
        ScrollLines(1);
        break;
      case SB_PAGEUP:
        ScrollLines(-page);
        break;
      case SB_PAGEDOWN:
        ScrollLines(page);
        break;
      case SB_TOP:
        ScrollLines(-topLine_);
        break;
      case SB_BOTTOM:
        ScrollLines(static_cast<Integer>(lines_.size()));
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        Integer y = ScrollThumbPos(handle_, SB_VERT, m.WParam);
        auto it = std::upper_bound(lines_.begin(), lines_.end(), y,
                                   [](Integer v, const TVisLine& l) { return v < l.Top; });
        topLine_ = std::max<Integer>(0, static_cast<Integer>(it - lines_.begin()) - 1);
        ScrollLines(0);
        break;
      }
      default:
        break;
    }
  } else {
    Integer step = std::max<Integer>(1, measure_->TextWidth("x"));
    switch (code) {
      case SB_LINELEFT:
        scrollX_ -= step;
        break;
      case SB_LINERIGHT:
        scrollX_ += step;
        break;
      case SB_PAGELEFT:
        scrollX_ -= fmtRect_.Width();
        break;
      case SB_PAGERIGHT:
        scrollX_ += fmtRect_.Width();
        break;
      case SB_LEFT:
        scrollX_ = 0;
        break;
      case SB_RIGHT:
        scrollX_ = 1 << 20;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        scrollX_ = ScrollThumbPos(handle_, SB_HORZ, m.WParam);
        break;
      default:
        break;
    }
    ScrollLines(0);
  }
  m.Result = 0;
}

void TCustomEdit::MoveVertical(Integer delta, bool extend) {
  EnsureLayout();
  Integer line = LineFromChar(caret_);
  const TVisLine& cur = lines_[static_cast<size_t>(line)];
  Integer x = desiredX_ >= 0
                  ? desiredX_
                  : LineOffsetX(line) + LineXs(line)[static_cast<size_t>(caret_ - cur.Start)];
  Integer target = std::clamp<Integer>(line + delta, 0, static_cast<Integer>(lines_.size()) - 1);
  Integer pos;
  if (target == line) {
    pos = delta < 0 ? 0 : TextLength();
    if (lines_.size() > 1 || !multiLine_) pos = delta < 0 ? cur.Start : cur.End;
  } else {
    const TVisLine& l = lines_[static_cast<size_t>(target)];
    const std::vector<Integer>& xs = LineXs(target);
    Integer rel = x - LineOffsetX(target);
    size_t best = 0;
    for (size_t k = 1; k < xs.size(); ++k)
      if (std::abs(xs[k] - rel) < std::abs(xs[best] - rel)) best = k;
    pos = l.Start + static_cast<Integer>(best);
    if (pos == l.End && static_cast<size_t>(target) + 1 < lines_.size() &&
        lines_[static_cast<size_t>(target) + 1].Start == pos && pos > l.Start)
      --pos;
  }
  SetSelection(extend ? anchor_ : pos, pos);
  desiredX_ = x;
  ScrollCaret();
  ResetCaretBlink();
}

void TCustomEdit::ResetCaretBlink() {
  if (!focused_) return;
  caretOn_ = true;
  if (handle_) SetTimer(handle_, kCaretTimer, kCaretBlinkTime);
}

// ---- painting -------------------------------------------------------------------------------

void TCustomEdit::PaintWindow(TCanvas* canvas) {
  EnsureLayout();
  if (layoutWidth_ != TextRect().Width()) BuildLayout();
  TRect client = GetClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  Integer saved = canvas->SaveDC();
  canvas->IntersectClipRect(fmtRect_);
  bool enabled = Enabled();
  Integer selFrom = SelStart(), selTo = SelStart() + SelLength();
  bool showSel = enabled && selTo > selFrom && (focused_ || !hideSelection_);
  Integer origin = fmtRect_.Top - lines_[static_cast<size_t>(topLine_)].Top;
  for (Integer i = topLine_; i < static_cast<Integer>(lines_.size()); ++i) {
    const TVisLine& l = lines_[static_cast<size_t>(i)];
    Integer y = origin + l.Top;
    if (y >= fmtRect_.Bottom) break;
    Integer x = fmtRect_.Left + LineOffsetX(i) - scrollX_;
    DrawLine(canvas, l, x, y, enabled ? clNone : clGrayText);
    if (!showSel || selTo < l.Start || selFrom > l.End) continue;
    const std::vector<Integer>& xs = LineXs(i);
    Integer s = std::max(selFrom, l.Start), e = std::min(selTo, l.End);
    Integer x1 = x + xs[static_cast<size_t>(s - l.Start)];
    Integer x2 = x + xs[static_cast<size_t>(e - l.Start)];
    // A selected line break shows as a little space after the line.
    if (multiLine_ && selTo > l.End && l.End < TextLength() &&
        buf_[static_cast<size_t>(l.End)] == U'\n')
      x2 += 4;
    if (x2 <= x1) continue;
    TRect r(x1, y, x2, y + l.Height);
    canvas->Brush()->SetColor(clHighlight);
    canvas->FillRect(r);
    Integer inner = canvas->SaveDC();
    canvas->IntersectClipRect(r);
    DrawLine(canvas, l, x, y, clHighlightText);
    canvas->RestoreDC(inner);
  }
  if (CaretShowing()) {
    canvas->Brush()->SetColor(enabled ? Font()->Color() : clGrayText);
    canvas->FillRect(CaretRect());
  }
  canvas->RestoreDC(saved);
}

// ---- TMemoStrings ----------------------------------------------------------------------------

namespace {

// The hard lines of a memo's text.
class TMemoStrings : public TStrings {
  BV_CLASS(TMemoStrings, TStrings)
 public:
  explicit TMemoStrings(TCustomMemo* memo = nullptr) : memo_(memo) {}

  Integer Count() const override { return static_cast<Integer>(Split().size()); }
  String Strings(Integer index) const override {
    std::vector<String> lines = Split();
    if (index < 0 || index >= static_cast<Integer>(lines.size()))
      Error(res::SListIndexError, index);
    return lines[static_cast<size_t>(index)];
  }
  void SetStrings(Integer index, const String& s) override {
    std::vector<String> lines = Split();
    if (index < 0 || index >= static_cast<Integer>(lines.size()))
      Error(res::SListIndexError, index);
    lines[static_cast<size_t>(index)] = s;
    Join(lines);
  }
  void Insert(Integer index, const String& s) override {
    std::vector<String> lines = Split();
    if (index < 0 || index > static_cast<Integer>(lines.size())) Error(res::SListIndexError, index);
    lines.insert(lines.begin() + index, s);
    Join(lines);
  }
  void Delete(Integer index) override {
    std::vector<String> lines = Split();
    if (index < 0 || index >= static_cast<Integer>(lines.size()))
      Error(res::SListIndexError, index);
    lines.erase(lines.begin() + index);
    Join(lines);
  }
  void Clear() override { memo_->SetText(String()); }

 private:
  std::vector<String> Split() const {
    std::vector<String> r;
    const String& t = memo_->Text();
    size_t i = 0;
    while (i < t.size()) {
      size_t j = t.find("\r\n", i);
      if (j == String::npos) {
        r.push_back(t.substr(i));
        break;
      }
      r.push_back(t.substr(i, j - i));
      i = j + 2;
    }
    return r;
  }
  void Join(const std::vector<String>& lines) {
    String t;
    for (const String& s : lines) t += s + "\r\n";
    memo_->SetText(t);
  }
  TCustomMemo* memo_;
};

BV_IMPLEMENT_ABSTRACT_CLASS(TMemoStrings, TStrings)

}  // namespace

// ---- TCustomMemo ------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  width_ = 185;
  height_ = 89;
  wordWrap_ = true;
  SetAutoSelect(false);
  lines_ = Create<TMemoStrings>(this);
}

TCustomMemo::~TCustomMemo() {
  TObject::Free(lines_);
}

void TCustomMemo::SetLines(TStrings* value) {
  if (value != lines_) lines_->Assign(value);
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (wordWrap_) params.Style &= ~Cardinal(ES_AUTOHSCROLL);
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
}

void TCustomMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  UpdateStyle();
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  UpdateStyle();
}

void TCustomMemo::KeyPress(char32_t& key) {
  TCustomEdit::KeyPress(key);
  if ((key == U'\r' && !wantReturns_) || (key == U'\t' && !wantTabs_)) key = 0;
}

TPoint TCustomMemo::CaretPoint() const {
  const std::u32string& b = Buffer();
  Integer line = 0, start = 0;
  for (Integer i = 0; i < CaretPos(); ++i)
    if (b[static_cast<size_t>(i)] == U'\n') {
      ++line;
      start = i + 1;
    }
  return {CaretPos() - start, line};
}

// ---- published tables -----------------------------------------------------------------------

BV_ENUM_INFO(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)

BV_PUBLISH_ABSTRACT(TCustomEdit, TWinControl) {}

BV_PUBLISH(TEdit, TCustomEdit) {
  p.Property("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect).Default(1);
  p.Property("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle).Default(bsSingle);
  p.Property("CharCase", &TEdit::CharCase, &TEdit::SetCharCase).Default(ecNormal);
  p.Property("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection).Default(1);
  p.Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
  p.Property("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default(0);
  p.Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(0);
  p.Property("TabStop", &TEdit::TabStop, &TEdit::SetTabStop).Default(1);
  p.Property("Text", &TEdit::Text, &TEdit::SetText);
  p.Event("OnChange", static_cast<TNotifyEvent TEdit::*>(&TEdit::OnChange), "TNotifyEvent");
}

BV_PUBLISH_ABSTRACT(TCustomMemo, TCustomEdit) {}

BV_PUBLISH(TMemo, TCustomMemo) {
  p.Property("Alignment", &TMemo::Alignment, &TMemo::SetAlignment).Default(taLeftJustify);
  p.Property("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
  p.Property("HideSelection", &TMemo::HideSelection, &TMemo::SetHideSelection).Default(1);
  p.Property("Lines", &TMemo::Lines, &TMemo::SetLines);
  p.Property("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
  p.Property("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(0);
  p.Property("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
  p.Property("TabStop", &TMemo::TabStop, &TMemo::SetTabStop).Default(1);
  p.Property("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(1);
  p.Property("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(0);
  p.Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(1);
  p.Event("OnChange", static_cast<TNotifyEvent TMemo::*>(&TMemo::OnChange), "TNotifyEvent");
}

void RegisterEditClasses() {
  RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass(), TMaskEdit::StaticClass(),
                   TRichEdit::StaticClass()});
}

}  // namespace brevant
