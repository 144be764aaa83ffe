// The edit controls: TCustomEdit (one line of text), TCustomMemo (several
// lines, Lines as a string list) and their published forms TEdit and TMemo.
//
// The control is its own edit window. Messages reach the control's handlers
// first (KeyDown, KeyPress, the WM_CUT ... handlers), and what they pass on
// reaches DefaultHandler, where the editing itself runs as a native edit
// window's procedure would: keys, characters, mouse, focus and caret, the
// clipboard messages and the EM_ messages. A descendant that wants the
// editing without a handler's default calls the inherited handler; one that
// wants none of it does not.
//
// Window styles decide the kind of edit, as with a native edit: ES_MULTILINE
// makes several lines, ES_AUTOHSCROLL scrolls horizontally (a multi-line
// edit without it wraps words), ES_CENTER / ES_RIGHT align, ES_READONLY,
// ES_UPPERCASE / ES_LOWERCASE and ES_PASSWORD as their names say. The
// published properties set them in CreateParams; a descendant may add
// ES_MULTILINE there and gets a multi-line edit.
//
// Positions. SelStart, SelLength, the caret and every EM_ position count
// characters as the user sees them (UTF-8 code points), from 0; a line
// break counts as one character. Text answers line breaks as CR LF; text
// set with CR LF, LF or CR breaks lines. MaxLength counts bytes of the UTF-8
// Text (a line break as its two bytes CR LF), as every size of the platform
// does, so the text always fits a field of that size.
//
// Bad input. Typing or pasting into a read-only edit, or text that exceeds
// MaxLength with nothing left to take, beeps and changes nothing; a paste
// that fits in part is cut to fit. Text pasted into a single-line edit
// keeps only its first line, and control characters (tabs, NUL ...) are
// dropped; a multi-line edit keeps line breaks and tabs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classes/shared_enums.h"
#include "controls/controls.h"
#include "controls/forms.h"

namespace brevant {

class TStrings;

enum TEditCharCase : Byte { ecNormal, ecUpperCase, ecLowerCase };
// The edit's border: bsSingle is the sunken 3-D client edge, bsNone none.
// (TScrollStyle comes from classes/shared_enums.h.)
using TBorderStyle = TFormBorderStyle;

BV_DECLARE_ENUM_INFO(TEditCharCase)

// ---- TCustomEdit ------------------------------------------------------------------------
class TCustomEdit : public TWinControl {
  BV_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);
  ~TCustomEdit() override;
  void AfterConstruction() override;

  // ---- text ----
  // Text() (TControl's) answers line breaks as CR LF. SetText replaces the whole text: no undo,
  // Modified false, caret at the start, OnChange. MaxLength does not apply.
  void SetText(const String& value);
  // Number of characters (code points).
  Integer TextLength() const { return static_cast<Integer>(buf_.size()); }
  void Clear() { SetText(String()); }

  // ---- selection (characters) ----
  Integer SelStart() const;
  void SetSelStart(Integer value);
  Integer SelLength() const;
  void SetSelLength(Integer value);
  String SelText() const;
  // Replaces the selection as typing would (undo, Modified, OnChange), but
  // read-only and MaxLength do not refuse code.
  void SetSelText(const String& value);
  void SelectAll();
  void ClearSelection();
  // The caret: the moving end of the selection.
  Integer CaretPos() const { return caret_; }

  // ---- clipboard and undo ----
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  bool CanUndo() const { return !undo_.empty(); }
  void Undo();
  void ClearUndo();

  // ---- properties ----
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TEditCharCase CharCase() const { return charCase_; }
  // Converts the present text.
  void SetCharCase(TEditCharCase value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  // 0: no limit. Counts bytes of the UTF-8 text.
  Integer MaxLength() const { return maxLength_; }
  void SetMaxLength(Integer value);
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }
  // 0: none. A password edit refuses to copy or cut its text.
  char16_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char16_t value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool IsMultiLine() const { return multiLine_; }
  // The height follows the font and the frame: one line, a margin and the
  // window's frame. Re-adjusted when the window is made, the font or the
  // border changes, and after loading. Memos start with it off.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  // Sets the height AutoSize asks for (nothing while loading, with AutoSize
  // off, or when Align sizes the height).
  void AdjustHeight();

  // ---- geometry of the text (client coordinates) ----
  // The rectangle the text is laid out in (EM_GETRECT).
  TRect TextRect() const;
  // The top-left corner of the character at pos (pos = TextLength: after
  // the last one).
  TPoint PosFromChar(Integer pos);
  // The character boundary nearest to a point.
  Integer CharFromPos(TPoint p);
  Integer LineCount();
  Integer LineFromChar(Integer pos);
  Integer LineIndex(Integer line);
  void ScrollCaret();
  // Whether the caret is drawn at this moment (it blinks while focused).
  bool CaretShowing() const { return focused_ && caretOn_; }
  // Blink period of the caret in milliseconds.
  static constexpr Cardinal kCaretBlinkTime = 530;

  TNotifyEvent OnChange;

  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void PaintWindow(TCanvas* canvas) override;
  void DoEnter() override;
  // After every change of the text.
  virtual void Change();
  // After every change of the selection or caret.
  virtual void SelectionChanged() {}

  // The clipboard and undo messages; the defaults run the edit's action.
  virtual void WMCut(TMessage& message) { DefaultHandler(message); }
  virtual void WMCopy(TMessage& message) { DefaultHandler(message); }
  virtual void WMPaste(TMessage& message) { DefaultHandler(message); }
  virtual void WMClear(TMessage& message) { DefaultHandler(message); }
  virtual void WMUndo(TMessage& message) { DefaultHandler(message); }
  void WMSize(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  // Lines are laid out again by the mirrored alignment.
  void CMBiDiModeChanged(TMessage& message) override;
  void Loaded() override;
  // What AutoSize gives: the client height (one line and a margin) and the
  // frame the window adds around it (top plus bottom).
  virtual Integer AutoSizeClientHeight();
  virtual Integer AutoSizeFrameHeight();
  void CMTextChanged(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  void CNKeyDown(TMessage& message) override;
  void WMContextMenu(TMessage& message) override;

  // ---- editing primitives for descendants ----
  // Replaces [start, start + count) with text (code points), records undo
  // unless the step continues typing, marks Modified, places the caret
  // after the new text and raises Change.
  void ReplaceRange(Integer start, Integer count, const std::u32string& text, bool typing = false);
  // Sets the selection without scrolling rules of the keyboard.
  void SetSelection(Integer anchor, Integer caret, bool scroll = true);
  const std::u32string& Buffer() const { return buf_; }
  // Refuses input audibly.
  virtual void Beep();
  // What the user may type (printable characters after CharCase); answers
  // text to insert, which may be empty (refused).
  std::u32string FilterInput(const std::u32string& text) const;
  // Whether DLGC_WANTALLKEYS / DLGC_WANTTAB are answered (memos).
  virtual bool WantsReturns() const { return false; }
  virtual bool WantsTabs() const { return false; }
  void InvalidateText();
  // Ends the typing that undo takes back as one step.
  void BreakUndoGroup() { typingStep_ = false; }
  // Takes the edit kind from CreateParams again: re-creates the window when
  // the kind of window changes, else updates the style bits.
  void UpdateStyle();

  // ---- layout hooks (the rich edit draws runs in several fonts) ----
  struct TVisLine {
    Integer Start = 0;  // first character
    Integer End = 0;    // after the last, excluding a line break
    Integer Top = 0;    // from the top of the text
    Integer Height = 0;
    mutable std::vector<Integer> Xs;  // x of each boundary, lazily measured
  };
  // Width of characters [from, to) of one line.
  virtual Integer RangeWidth(Integer from, Integer to);
  // Height of a line holding [from, to).
  virtual Integer LineHeightOf(Integer from, Integer to);
  // Draws the characters of a line at (x, y); color: clNone for the text's
  // own colours, else one colour for all (selected or disabled text).
  virtual void DrawLine(TCanvas* canvas, const TVisLine& line, Integer x, Integer y, TColor color);
  // The characters of [from, to) as drawn (password characters ...).
  String DisplayText(Integer from, Integer to) const;
  TCanvas* MeasureCanvas() const { return measure_; }
  void InvalidateLayout();
  // Per-character format indexes kept along the text when TrackAttrs is on.
  std::vector<Word> attrs_;
  bool trackAttrs_ = false;
  // The format index new text takes.
  virtual Word InsertAttr(Integer pos) const;

  bool wordWrap_ = false;
  TScrollStyle scrollBars_ = ssNone;

 private:
  struct TUndoStep {
    std::u32string Text;
    std::vector<Word> Attrs;
    Integer Anchor = 0;
    Integer Caret = 0;
  };
  void AssignText(const String& value);
  void SyncText();
  void ApplyStyle(Cardinal style);
  void PushUndo(bool typing);
  void EnsureLayout();
  void BuildLayout();
  const std::vector<Integer>& LineXs(Integer line);
  Integer LineWidth(Integer line);
  Integer LineOffsetX(Integer line);
  Integer VisibleHeight();
  TRect CaretRect();
  void UpdateScrollBars();
  void SetVerticalBar();
  void SetHorizontalBar();
  void ClampScroll();
  void ResetCaretBlink();
  void MoveCaret(Integer pos, bool extend);
  void MoveVertical(Integer lines, bool extend);
  Integer WordLeft(Integer pos) const;
  Integer WordRight(Integer pos) const;
  void SelectWordAt(Integer pos);
  void InsertTyped(const std::u32string& text, bool typing);
  void DeleteBackward(bool word);
  void DeleteForward(bool word);
  void DoCut();
  void DoCopy();
  void DoPaste();
  void DoClear();
  bool DoUndo();
  void ScrollMessage(TMessage& m, bool vertical);
  void ScrollLines(Integer lines);
  void MoveHorizontal(Integer direction, bool shift, bool ctrl);
  void MovePage(Integer direction, bool shift);
  void MoveHome(bool shift, bool ctrl);
  void MoveEnd(bool shift, bool ctrl);
  void TypeCharacter(char32_t ch);

  // The window messages' editing (DefaultHandler): each answers whether it
  // took the message; false passes it on to the default window procedure.
  bool HandleWindowMessage(TMessage& m);
  bool EditKeyDown(TMessage& m);
  bool EditSysKeyDown(TMessage& m);
  bool EditChar(TMessage& m);
  bool EditLButtonDown(TMessage& m);
  bool EditLButtonDblClk(TMessage& m);
  bool EditLButtonUp(TMessage& m);
  bool EditMouseMove(TMessage& m);
  bool EditCancelMode(TMessage& m);
  bool EditDestroy(TMessage& m);
  bool EditSetFocus(TMessage& m);
  bool EditKillFocus(TMessage& m);
  bool EditTimer(TMessage& m);
  bool EditSetText(TMessage& m);
  bool EditGetTextLength(TMessage& m);
  bool EditGetText(TMessage& m);
  bool EditGetDlgCode(TMessage& m);
  bool EditSetCursor(TMessage& m);
  bool EditScroll(TMessage& m);
  bool EditMouseWheel(TMessage& m);
  bool EditCut(TMessage& m);
  bool EditCopy(TMessage& m);
  bool EditPaste(TMessage& m);
  bool EditClear(TMessage& m);
  bool EditUndo(TMessage& m);

  // The EM_ messages (DefaultHandler): false for one the edit does not know.
  bool HandleEditMessage(TMessage& m);
  void EMGetSel(TMessage& m);
  void EMSetSel(TMessage& m);
  void EMGetRect(TMessage& m);
  void EMSetRect(TMessage& m);
  void EMLineScroll(TMessage& m);
  void EMScrollCaret(TMessage& m);
  void EMGetModify(TMessage& m);
  void EMSetModify(TMessage& m);
  void EMGetLineCount(TMessage& m);
  void EMLineIndex(TMessage& m);
  void EMLineLength(TMessage& m);
  void EMGetLine(TMessage& m);
  void EMReplaceSel(TMessage& m);
  void EMLimitText(TMessage& m);
  void EMGetLimitText(TMessage& m);
  void EMCanUndo(TMessage& m);
  void EMEmptyUndoBuffer(TMessage& m);
  void EMLineFromChar(TMessage& m);
  void EMSetPasswordChar(TMessage& m);
  void EMGetFirstVisibleLine(TMessage& m);
  void EMSetReadOnly(TMessage& m);
  void EMSetMargins(TMessage& m);
  void EMGetMargins(TMessage& m);
  void EMPosFromChar(TMessage& m);
  void EMCharFromPos(TMessage& m);

  std::u32string buf_;
  Integer anchor_ = 0;
  Integer caret_ = 0;
  std::vector<TUndoStep> undo_;
  bool typingStep_ = false;  // the last undo step was typing that may continue
  bool modified_ = false;
  bool autoSelect_ = true;
  bool autoSize_ = true;  // the height follows font and frame
  TBorderStyle borderStyle_ = bsSingle;
  TEditCharCase charCase_ = ecNormal;
  bool hideSelection_ = true;
  Integer maxLength_ = 0;
  char16_t passwordChar_ = 0;
  bool readOnly_ = false;
  TAlignment alignment_ = taLeftJustify;
  bool multiLine_ = false;
  bool autoHScroll_ = true;
  bool changing_ = false;

  // layout and view
  TCanvas* measure_ = nullptr;
  std::vector<TVisLine> lines_;
  bool layoutValid_ = false;
  Integer layoutWidth_ = -1;
  bool fmtRectSet_ = false;
  TRect fmtRect_;
  Integer leftMargin_ = 1;
  Integer rightMargin_ = 1;
  Integer topLine_ = 0;
  Integer scrollX_ = 0;
  Integer desiredX_ = -1;  // the x Up and Down keep
  bool updatingBars_ = false;
  bool focused_ = false;
  bool caretOn_ = false;
  bool dragging_ = false;
  Integer dragWordAnchor_ = -1;
  Word dlgKey_ = 0;  // the key CN_KEYDOWN asks the dialog code for
};

// ---- TEdit ------------------------------------------------------------------------------
class TEdit : public TCustomEdit {
  BV_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

// ---- TCustomMemo ------------------------------------------------------------------------
class TCustomMemo : public TCustomEdit {
  BV_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  // The hard lines of the text (not the wrapped screen lines); a final
  // line break adds no empty line. Changing them changes the text.
  TStrings* Lines() const { return lines_; }
  void SetLines(TStrings* value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  // The caret as (character in line, line), hard lines counted.
  TPoint CaretPoint() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void KeyPress(char32_t& key) override;
  bool WantsReturns() const override { return wantReturns_; }
  bool WantsTabs() const override { return wantTabs_; }

 private:
  TStrings* lines_ = nullptr;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
  BV_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// Registers the edit classes (TEdit, TMemo, TMaskEdit, TRichEdit) for streaming.
void RegisterEditClasses();

}  // namespace brevant
