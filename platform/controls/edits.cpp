// The edit controls themselves: life cycle, properties, message handling
// (keyboard, mouse, focus, the EM_ messages), the memo and the published tables.
#include "controls/edits.h"

#include <algorithm>

#include "backend/backend.h"
#include "classes/rtti_builder.h"
#include "controls/edits_internal.h"
#include "controls/maskedit.h"
#include "controls/richedit.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

using namespace edit_detail;

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
  AdjustHeight();
}

void TCustomEdit::Loaded() {
  TWinControl::Loaded();
  AdjustHeight();
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

// ---- properties -----------------------------------------------------------------------------

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (value == borderStyle_) return;
  borderStyle_ = value;
  UpdateStyle();
  AdjustHeight();
}

void TCustomEdit::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustHeight();
}

// The line and a margin of 3 pixels (a default font gives the classic 21).
Integer TCustomEdit::AutoSizeClientHeight() {
  return measure_->TextHeight("Wg") + 3;
}

// The window's own frame once it exists, else the client edge's.
Integer TCustomEdit::AutoSizeFrameHeight() {
  if (handle_) return Height() - ClientHeight();
  return borderStyle_ == bsSingle ? 4 : 0;
}

void TCustomEdit::AdjustHeight() {
  if (!autoSize_ || IsLoading() || IsDestroying()) return;
  if (Align() == alLeft || Align() == alRight || Align() == alClient) return;
  const Integer height = AutoSizeClientHeight() + AutoSizeFrameHeight();
  if (height != Height()) SetHeight(height);
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

// The editing itself: what the control's handlers pass on. EM_ messages and
// window messages have a router each.
void TCustomEdit::DefaultHandler(TMessage& m) {
  const bool isEditMessage = m.Msg >= EM_GETSEL && m.Msg <= EM_CHARFROMPOS;
  if (isEditMessage ? HandleEditMessage(m) : HandleWindowMessage(m)) return;
  TWinControl::DefaultHandler(m);
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
  AdjustHeight();
}

void TCustomEdit::CMBiDiModeChanged(TMessage& m) {
  TWinControl::CMBiDiModeChanged(m);
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

// ---- the window messages' editing ------------------------------------------------------------

// The window messages the edit answers as a native edit window does;
// false passes the message on to the window's default procedure.
bool TCustomEdit::HandleWindowMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      return EditKeyDown(m);
    case WM_SYSKEYDOWN:
      return EditSysKeyDown(m);
    case WM_CHAR:
      return EditChar(m);
    case WM_LBUTTONDOWN:
      return EditLButtonDown(m);
    case WM_LBUTTONDBLCLK:
      return EditLButtonDblClk(m);
    case WM_LBUTTONUP:
      return EditLButtonUp(m);
    case WM_MOUSEMOVE:
      return EditMouseMove(m);
    case WM_CANCELMODE:
      return EditCancelMode(m);
    case WM_DESTROY:
      return EditDestroy(m);
    case WM_SETFOCUS:
      return EditSetFocus(m);
    case WM_KILLFOCUS:
      return EditKillFocus(m);
    case WM_TIMER:
      return EditTimer(m);
    case WM_SETTEXT:
      return EditSetText(m);
    case WM_GETTEXTLENGTH:
      return EditGetTextLength(m);
    case WM_GETTEXT:
      return EditGetText(m);
    case WM_GETDLGCODE:
      return EditGetDlgCode(m);
    case WM_SETCURSOR:
      return EditSetCursor(m);
    case WM_VSCROLL:
    case WM_HSCROLL:
      return EditScroll(m);
    case WM_MOUSEWHEEL:
      return EditMouseWheel(m);
    case WM_CUT:
      return EditCut(m);
    case WM_COPY:
      return EditCopy(m);
    case WM_PASTE:
      return EditPaste(m);
    case WM_CLEAR:
      return EditClear(m);
    case WM_UNDO:
      return EditUndo(m);
    default:
      return false;
  }
}

bool TCustomEdit::EditSysKeyDown(TMessage& m) {
  // Alt+Backspace undoes.
  if (LoWord(m.WParam) != VK_BACK || !(m.LParam & KF_ALTDOWN_BIT)) return false;
  Perform(WM_UNDO);
  return true;
}

bool TCustomEdit::EditCancelMode(TMessage&) {
  dragging_ = false;
  return false;
}

bool TCustomEdit::EditDestroy(TMessage&) {
  // A re-created window starts without the focus.
  focused_ = false;
  dragging_ = false;
  return false;
}

bool TCustomEdit::EditSetFocus(TMessage&) {
  focused_ = true;
  if (handle_) SetTimer(handle_, kCaretTimer, kCaretBlinkTime);
  caretOn_ = true;
  ScrollCaret();
  InvalidateText();
  return false;
}

bool TCustomEdit::EditKillFocus(TMessage&) {
  focused_ = false;
  dragging_ = false;
  if (handle_) KillTimer(handle_, kCaretTimer);
  InvalidateText();
  return false;
}

// The caret's blink; other timers are the control's.
bool TCustomEdit::EditTimer(TMessage& m) {
  if (m.WParam != kCaretTimer) return false;
  caretOn_ = !caretOn_;
  if (handle_) {
    TRect r = CaretRect();
    InvalidateRect(handle_, &r, false);
  }
  return true;
}

bool TCustomEdit::EditSetText(TMessage& m) {
  AssignText(m.LParam ? String(reinterpret_cast<const char*>(m.LParam)) : String());
  m.Result = 1;
  return true;
}

bool TCustomEdit::EditGetTextLength(TMessage& m) {
  m.Result = static_cast<LRESULT>(text_.size());
  return true;
}

bool TCustomEdit::EditGetText(TMessage& m) {
  m.Result = CopyWindowText(text_, m.WParam, m.LParam);
  return true;
}

// A memo that wants returns keeps every key but Tab and Escape, which the
// form then uses to move on or cancel.
bool TCustomEdit::EditGetDlgCode(TMessage& m) {
  LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
  if (multiLine_ && WantsReturns() && dlgKey_ != VK_TAB && dlgKey_ != VK_ESCAPE)
    code |= DLGC_WANTALLKEYS;
  if (multiLine_ && WantsTabs()) code |= DLGC_WANTTAB;
  m.Result = code;
  return true;
}

bool TCustomEdit::EditSetCursor(TMessage& m) {
  if (static_cast<HWND>(m.WParam) != handle_ || LoSmall(m.LParam) != HTCLIENT) return false;
  brevant::SetCursor(crIBeam);
  m.Result = 1;
  return true;
}

bool TCustomEdit::EditScroll(TMessage& m) {
  ScrollMessage(m, m.Msg == WM_VSCROLL);
  return true;
}

// Only a multi-line edit scrolls with the wheel, three lines a notch.
bool TCustomEdit::EditMouseWheel(TMessage& m) {
  if (!multiLine_) return false;
  ScrollLines(-(HiSmall(static_cast<LPARAM>(m.WParam)) / WHEEL_DELTA) * 3);
  m.Result = 1;
  return true;
}

bool TCustomEdit::EditCut(TMessage&) {
  DoCut();
  return true;
}

bool TCustomEdit::EditCopy(TMessage&) {
  DoCopy();
  return true;
}

bool TCustomEdit::EditPaste(TMessage&) {
  DoPaste();
  return true;
}

bool TCustomEdit::EditClear(TMessage&) {
  DoClear();
  return true;
}

bool TCustomEdit::EditUndo(TMessage& m) {
  m.Result = DoUndo() ? 1 : 0;
  return true;
}

// ---- the EM_ messages ----------------------------------------------------------------------

// The edit messages; each answers 0 unless it says otherwise. False for an
// EM_ message the edit does not know.
bool TCustomEdit::HandleEditMessage(TMessage& m) {
  m.Result = 0;
  switch (m.Msg) {
    case EM_UNDO:
      EditUndo(m);
      break;
    case EM_GETSEL:
      EMGetSel(m);
      break;
    case EM_SETSEL:
      EMSetSel(m);
      break;
    case EM_GETRECT:
      EMGetRect(m);
      break;
    case EM_SETRECT:
    case EM_SETRECTNP:
      EMSetRect(m);
      break;
    case EM_SCROLL:
      ScrollMessage(m, true);
      break;
    case EM_LINESCROLL:
      EMLineScroll(m);
      break;
    case EM_SCROLLCARET:
      EMScrollCaret(m);
      break;
    case EM_GETMODIFY:
      EMGetModify(m);
      break;
    case EM_SETMODIFY:
      EMSetModify(m);
      break;
    case EM_GETLINECOUNT:
      EMGetLineCount(m);
      break;
    case EM_LINEINDEX:
      EMLineIndex(m);
      break;
    case EM_LINELENGTH:
      EMLineLength(m);
      break;
    case EM_GETLINE:
      EMGetLine(m);
      break;
    case EM_REPLACESEL:
      EMReplaceSel(m);
      break;
    case EM_LIMITTEXT:
      EMLimitText(m);
      break;
    case EM_GETLIMITTEXT:
      EMGetLimitText(m);
      break;
    case EM_CANUNDO:
      EMCanUndo(m);
      break;
    case EM_EMPTYUNDOBUFFER:
      EMEmptyUndoBuffer(m);
      break;
    case EM_LINEFROMCHAR:
      EMLineFromChar(m);
      break;
    case EM_SETPASSWORDCHAR:
      EMSetPasswordChar(m);
      break;
    case EM_GETFIRSTVISIBLELINE:
      EMGetFirstVisibleLine(m);
      break;
    case EM_SETREADONLY:
      EMSetReadOnly(m);
      break;
    case EM_SETMARGINS:
      EMSetMargins(m);
      break;
    case EM_GETMARGINS:
      EMGetMargins(m);
      break;
    case EM_POSFROMCHAR:
      EMPosFromChar(m);
      break;
    case EM_CHARFROMPOS:
      EMCharFromPos(m);
      break;
    default:
      return false;
  }
  return true;
}

// WParam and LParam, when given, receive the start and the end.
void TCustomEdit::EMGetSel(TMessage& m) {
  if (m.WParam) *reinterpret_cast<Integer*>(m.WParam) = SelStart();
  if (m.LParam) *reinterpret_cast<Integer*>(m.LParam) = SelStart() + SelLength();
  m.Result = MakeLParam(SelStart(), SelStart() + SelLength());
}

// A negative start removes the selection; a negative end selects to the end.
void TCustomEdit::EMSetSel(TMessage& m) {
  auto start = static_cast<Integer>(static_cast<LPARAM>(m.WParam));
  auto end = static_cast<Integer>(m.LParam);
  if (start < 0) {
    SetSelection(caret_, caret_);
    return;
  }
  if (end < 0) end = TextLength();
  SetSelection(start, end);
}

void TCustomEdit::EMGetRect(TMessage& m) {
  if (m.LParam) *reinterpret_cast<TRect*>(m.LParam) = TextRect();
}

// No rectangle goes back to the client area less the margins; EM_SETRECTNP
// does not repaint.
void TCustomEdit::EMSetRect(TMessage& m) {
  if (m.LParam) {
    fmtRect_ = *reinterpret_cast<const TRect*>(m.LParam);
    fmtRectSet_ = true;
  } else {
    fmtRectSet_ = false;
  }
  InvalidateLayout();
  ClampScroll();
  if (m.Msg == EM_SETRECT) InvalidateText();
}

// WParam: characters to the right (an x's width each); LParam: lines down.
void TCustomEdit::EMLineScroll(TMessage& m) {
  scrollX_ += static_cast<Integer>(static_cast<LPARAM>(m.WParam)) * measure_->TextWidth("x");
  ScrollLines(static_cast<Integer>(m.LParam));
  m.Result = 1;
}

void TCustomEdit::EMScrollCaret(TMessage& m) {
  ScrollCaret();
  m.Result = 1;
}

void TCustomEdit::EMGetModify(TMessage& m) {
  m.Result = modified_ ? 1 : 0;
}

void TCustomEdit::EMSetModify(TMessage& m) {
  modified_ = m.WParam != 0;
}

void TCustomEdit::EMGetLineCount(TMessage& m) {
  m.Result = LineCount();
}

void TCustomEdit::EMLineIndex(TMessage& m) {
  m.Result = LineIndex(static_cast<Integer>(static_cast<LPARAM>(m.WParam)));
}

// The length of the screen line holding the character (the caret's for -1).
void TCustomEdit::EMLineLength(TMessage& m) {
  auto pos = static_cast<Integer>(static_cast<LPARAM>(m.WParam));
  Integer line = LineFromChar(pos < 0 ? caret_ : pos);
  m.Result = lines_[static_cast<size_t>(line)].End - lines_[static_cast<size_t>(line)].Start;
}

// LParam: a buffer whose first Word holds its size in bytes; the line's
// UTF-8 bytes are copied without a terminating NUL, never cutting a character.
void TCustomEdit::EMGetLine(TMessage& m) {
  auto line = static_cast<Integer>(m.WParam);
  char* out = reinterpret_cast<char*>(m.LParam);
  EnsureLayout();
  if (!out || line < 0 || line >= static_cast<Integer>(lines_.size())) return;
  Word size = 0;
  std::copy_n(out, sizeof(Word), reinterpret_cast<char*>(&size));
  const TVisLine& l = lines_[static_cast<size_t>(line)];
  String s = Utf8Truncate(
      ToUtf8(buf_, static_cast<size_t>(l.Start), static_cast<size_t>(l.End), false), size);
  std::copy(s.begin(), s.end(), out);
  m.Result = static_cast<LRESULT>(s.size());
}

void TCustomEdit::EMReplaceSel(TMessage& m) {
  SetSelText(m.LParam ? String(reinterpret_cast<const char*>(m.LParam)) : String());
}

void TCustomEdit::EMLimitText(TMessage& m) {
  SetMaxLength(static_cast<Integer>(m.WParam));
}

void TCustomEdit::EMGetLimitText(TMessage& m) {
  m.Result = maxLength_;
}

void TCustomEdit::EMCanUndo(TMessage& m) {
  m.Result = CanUndo() ? 1 : 0;
}

void TCustomEdit::EMEmptyUndoBuffer(TMessage&) {
  ClearUndo();
}

// The screen line of the character (the caret's for -1).
void TCustomEdit::EMLineFromChar(TMessage& m) {
  auto pos = static_cast<Integer>(static_cast<LPARAM>(m.WParam));
  m.Result = LineFromChar(pos < 0 ? caret_ : pos);
}

void TCustomEdit::EMSetPasswordChar(TMessage& m) {
  SetPasswordChar(static_cast<char16_t>(m.WParam));
}

void TCustomEdit::EMGetFirstVisibleLine(TMessage& m) {
  m.Result = topLine_;
}

void TCustomEdit::EMSetReadOnly(TMessage& m) {
  SetReadOnly(m.WParam != 0);
  m.Result = 1;
}

// EC_USEFONTINFO goes back to the default margins; otherwise the flags in
// WParam say which of LParam's words (left, right) apply.
void TCustomEdit::EMSetMargins(TMessage& m) {
  if (m.WParam == EC_USEFONTINFO) {
    leftMargin_ = rightMargin_ = 1;
  } else {
    if (m.WParam & EC_LEFTMARGIN) leftMargin_ = LoWord(static_cast<WPARAM>(m.LParam));
    if (m.WParam & EC_RIGHTMARGIN) rightMargin_ = HiWord(static_cast<WPARAM>(m.LParam));
  }
  InvalidateLayout();
  InvalidateText();
}

void TCustomEdit::EMGetMargins(TMessage& m) {
  m.Result = MakeLParam(leftMargin_, rightMargin_);
}

void TCustomEdit::EMPosFromChar(TMessage& m) {
  m.Result = PointToLParam(PosFromChar(static_cast<Integer>(m.WParam)));
}

// Answers the character in the low word and its line in the high word.
void TCustomEdit::EMCharFromPos(TMessage& m) {
  Integer pos = CharFromPos(LParamToPoint(m.LParam));
  m.Result = MakeLParam(pos, LineFromChar(pos));
}

// ---- keyboard -------------------------------------------------------------------------------

bool TCustomEdit::EditKeyDown(TMessage& m) {
  Word key = LoWord(m.WParam);
  bool shift = IsKeyHeld(VK_SHIFT), ctrl = IsKeyHeld(VK_CONTROL);
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
      MoveHorizontal(key == VK_LEFT ? -1 : 1, shift, ctrl);
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
      if (multiLine_) MovePage(key == VK_PRIOR ? -1 : 1, shift);
      break;
    case VK_HOME:
      MoveHome(shift, ctrl);
      break;
    case VK_END:
      MoveEnd(shift, ctrl);
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
  return true;
}

// Left or Right: a selection collapses to its side; Ctrl moves by words.
void TCustomEdit::MoveHorizontal(Integer direction, bool shift, bool ctrl) {
  if (SelLength() > 0 && !shift && !ctrl) {
    MoveCaret(direction < 0 ? SelStart() : SelStart() + SelLength(), false);
    return;
  }
  if (direction < 0)
    MoveCaret(ctrl ? WordLeft(caret_) : caret_ - 1, shift);
  else
    MoveCaret(ctrl ? WordRight(caret_) : caret_ + 1, shift);
}

// Page Up or Page Down: as many lines as the first line's height fits.
void TCustomEdit::MovePage(Integer direction, bool shift) {
  EnsureLayout();
  Integer page = std::max<Integer>(1, VisibleHeight() / std::max<Integer>(1, lines_[0].Height));
  MoveVertical(direction * page, shift);
}

// Home: the screen line's start; Ctrl+Home in a memo the text's.
void TCustomEdit::MoveHome(bool shift, bool ctrl) {
  if (ctrl && multiLine_) {
    MoveCaret(0, shift);
    return;
  }
  EnsureLayout();
  MoveCaret(lines_[static_cast<size_t>(LineFromChar(caret_))].Start, shift);
}

// End: the screen line's end; Ctrl+End in a memo the text's.
void TCustomEdit::MoveEnd(bool shift, bool ctrl) {
  if (ctrl && multiLine_) {
    MoveCaret(TextLength(), shift);
    return;
  }
  EnsureLayout();
  auto line = static_cast<size_t>(LineFromChar(caret_));
  Integer end = lines_[line].End;
  // A wrapped line ends before its trailing blank, so the caret stays on it.
  if (line + 1 < lines_.size() && lines_[line + 1].Start == end && end > lines_[line].Start) --end;
  MoveCaret(end, shift);
}

// Control characters edit (Ctrl+A, C, V, X, Z, Backspace); a memo takes
// Return and Tab as text; other characters are typed.
bool TCustomEdit::EditChar(TMessage& m) {
  auto ch = static_cast<char32_t>(m.WParam);
  switch (ch) {
    case 1:  // Ctrl+A
      SelectAll();
      break;
    case 3:  // Ctrl+C
      Perform(WM_COPY);
      break;
    case 22:  // Ctrl+V
      Perform(WM_PASTE);
      break;
    case 24:  // Ctrl+X
      Perform(WM_CUT);
      break;
    case 26:  // Ctrl+Z
      Perform(WM_UNDO);
      break;
    case 8:
      DeleteBackward(IsKeyHeld(VK_CONTROL));
      break;
    case 127:  // Ctrl+Backspace on some keyboards
      DeleteBackward(true);
      break;
    case U'\r':
    case U'\n':
      if (multiLine_) InsertTyped(U"\n", false);
      break;
    case U'\t':
      if (multiLine_) InsertTyped(U"\t", true);
      break;
    default:
      TypeCharacter(ch);
      break;
  }
  return true;
}

void TCustomEdit::TypeCharacter(char32_t ch) {
  if (IsControlChar(ch)) return;
  InsertTyped(FilterInput(std::u32string(1, ch)), true);
}

// ---- mouse ----------------------------------------------------------------------------------

// A press focuses the edit and places the caret (Shift extends the
// selection); dragging selects. A handler of the focus change may free the
// edit or keep the focus elsewhere: then nothing more happens.
bool TCustomEdit::EditLButtonDown(TMessage& m) {
  TAliveGuard alive(this);
  if (!focused_ && CanFocus()) SetFocus();
  if (!alive.Alive() || (!focused_ && handle_ && GetFocus() != handle_)) return true;
  MoveCaret(CharFromPos(LParamToPoint(m.LParam)), (m.WParam & MK_SHIFT) != 0);
  dragging_ = true;
  dragWordAnchor_ = -1;
  return true;
}

// A double click selects the word under the pointer.
bool TCustomEdit::EditLButtonDblClk(TMessage& m) {
  TAliveGuard alive(this);
  if (!focused_ && CanFocus()) SetFocus();
  if (!alive.Alive()) return true;
  SelectWordAt(CharFromPos(LParamToPoint(m.LParam)));
  dragging_ = false;
  return true;
}

bool TCustomEdit::EditMouseMove(TMessage& m) {
  if (dragging_ && (m.WParam & MK_LBUTTON)) {
    desiredX_ = -1;
    SetSelection(anchor_, CharFromPos(LParamToPoint(m.LParam)));
  }
  return true;
}

bool TCustomEdit::EditLButtonUp(TMessage&) {
  dragging_ = false;
  return true;
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
  SetAutoSize(false);
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
  p.Property("AutoSize", &TEdit::AutoSize, &TEdit::SetAutoSize).Default(1);
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
