// The single-line edit and the memo, driven through real input events.
#include "controls/controls_test_util.h"
#include "controls/edits.h"
#include "controls/wincore.h"
#include "rtl/stringlist.h"

namespace brevant::test {

class EditTest : public ControlsTest {
 protected:
  template <class T = TEdit>
  T* AddEdit(const char* name, TRect bounds) {
    auto* e = Create<T>(form);
    e->SetName(name);
    e->SetBoundsRect(bounds);
    e->SetParent(form);
    e->OnChange = TNotifyEvent::FromCallable([this](TObject*) { ++changes; });
    return e;
  }
  void Show() {
    form->Show();
    Pump();
  }
  void Type(const String& s) {
    Offscreen().TypeText(s);
    Pump();
  }
  void Key(Word vk, Byte mods = 0) {
    Offscreen().PressKey(vk, mods);
    Pump();
  }
  Integer Beeps() const { return Offscreen().BeepCount(); }
  static TColor Px(TWinControl* c, Integer x, Integer y) {
    return static_cast<TColor>(GetWindowPixel(c->Handle(), x, y));
  }
  Integer changes = 0;
};

TEST_F(EditTest, TypesAndDeletesCharactersAsTheUserSeesThem) {
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 21));
  Show();
  ASSERT_TRUE(e->Focused());
  Type("h\xC3\xA9llo \xE6\x97\xA5\xE6\x9C\xAC");  // "héllo 日本"
  EXPECT_EQ(e->Text(), "h\xC3\xA9llo \xE6\x97\xA5\xE6\x9C\xAC");
  EXPECT_EQ(e->TextLength(), 8);
  EXPECT_EQ(e->SelStart(), 8);
  EXPECT_EQ(changes, 8);  // one change per character
  EXPECT_TRUE(e->Modified());

  Key(VK_BACK);  // removes all of 本
  EXPECT_EQ(e->Text(), "h\xC3\xA9llo \xE6\x97\xA5");
  Key(VK_HOME);
  Key(VK_RIGHT);
  Key(VK_DELETE);  // removes all of é
  EXPECT_EQ(e->Text(), "hllo \xE6\x97\xA5");
  Type("\xC3\x9F");  // ß
  EXPECT_EQ(e->Text(), "h\xC3\x9Fllo \xE6\x97\xA5");
  EXPECT_EQ(e->SelStart(), 2);

  // Words: Ctrl+Right, Ctrl+Shift+Left, Ctrl+Backspace.
  e->SetText("one two three");
  EXPECT_FALSE(e->Modified());
  Key(VK_HOME);
  Key(VK_RIGHT, bmCtrl);
  EXPECT_EQ(e->SelStart(), 4);
  Key(VK_END);
  Key(VK_LEFT, bmCtrl | bmShift);
  EXPECT_EQ(e->SelText(), "three");
  Key(VK_RIGHT);  // collapses to the selection's end
  EXPECT_EQ(e->SelLength(), 0);
  EXPECT_EQ(e->SelStart(), 13);
  Key(VK_BACK, bmCtrl);
  EXPECT_EQ(e->Text(), "one two ");
  Key(VK_HOME, bmShift);
  EXPECT_EQ(e->SelLength(), 8);
  Type("x");  // replaces the selection
  EXPECT_EQ(e->Text(), "x");
}

TEST_F(EditTest, ClipboardKeysAndBadInput) {
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 21));
  Show();
  Type("abc def");
  Key('A', bmCtrl);
  EXPECT_EQ(e->SelLength(), 7);
  Key('C', bmCtrl);
  EXPECT_EQ(GetClipboardText(), "abc def");
  Key(VK_END);
  Key(VK_LEFT, bmShift | bmCtrl);
  Key('X', bmCtrl);
  EXPECT_EQ(e->Text(), "abc ");
  EXPECT_EQ(GetClipboardText(), "def");
  Key(VK_HOME);
  Key('V', bmCtrl);
  EXPECT_EQ(e->Text(), "defabc ");
  Key(VK_INSERT, bmShift);
  EXPECT_EQ(e->Text(), "defdefabc ");
  Key(VK_HOME, bmShift);
  Key(VK_INSERT, bmCtrl);
  EXPECT_EQ(GetClipboardText(), "defdef");
  Key(VK_DELETE, bmShift);
  EXPECT_EQ(e->Text(), "abc ");

  // A single line keeps the first line and drops control characters.
  e->SetText("");
  SetClipboardText(String("a\tb") + '\0' + "c\r\nsecond line");
  Key('V', bmCtrl);
  EXPECT_EQ(e->Text(), "abc");

  // MaxLength counts bytes; a paste is cut to fit, and a full edit refuses.
  e->SetText("");
  e->SetMaxLength(5);
  SetClipboardText("\xC3\xA9\xC3\xA9\xC3\xA9");  // three é, six bytes
  Key('V', bmCtrl);
  EXPECT_EQ(e->Text(), "\xC3\xA9\xC3\xA9");
  Integer beeps = Beeps();
  Type("\xC3\xA9");
  EXPECT_EQ(Beeps(), beeps + 1);
  EXPECT_EQ(e->Text(), "\xC3\xA9\xC3\xA9");
  Type("z");  // one byte still fits
  EXPECT_EQ(e->Text(), "\xC3\xA9\xC3\xA9z");
  e->SetMaxLength(0);

  // Read-only: nothing types, cuts, pastes or deletes; copying works.
  e->SetText("fixed");
  e->SetReadOnly(true);
  changes = 0;
  beeps = Beeps();
  Type("x");
  Key(VK_BACK);
  Key('A', bmCtrl);
  Key('X', bmCtrl);
  Key('V', bmCtrl);
  EXPECT_EQ(e->Text(), "fixed");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Beeps(), beeps + 4);
  Key('C', bmCtrl);
  EXPECT_EQ(GetClipboardText(), "fixed");
  e->SetReadOnly(false);

  // A password edit shows no text to the clipboard.
  e->SetPasswordChar(u'*');
  SetClipboardText("keep");
  Key('A', bmCtrl);
  Key('C', bmCtrl);
  Key('X', bmCtrl);
  EXPECT_EQ(GetClipboardText(), "keep");
  EXPECT_EQ(e->Text(), "fixed");
}

TEST_F(EditTest, UndoRestoresTextAndSelection) {
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 21));
  Show();
  EXPECT_FALSE(e->CanUndo());
  Type("abc");
  Type(" def");
  EXPECT_TRUE(e->CanUndo());
  Key(VK_LEFT);
  SetClipboardText("XY");
  Key('V', bmCtrl);
  EXPECT_EQ(e->Text(), "abc deXYf");
  Key('Z', bmCtrl);
  EXPECT_EQ(e->Text(), "abc def");
  EXPECT_EQ(e->SelStart(), 6);
  Offscreen().KeyDown(VK_MENU);
  Key(VK_BACK, bmAlt);  // Alt+Backspace
  Offscreen().KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(e->Text(), "");  // the typing was one step
  EXPECT_FALSE(e->CanUndo());
  EXPECT_EQ(e->Perform(EM_UNDO), 0);
  e->SetText("code");
  EXPECT_FALSE(e->CanUndo());
}

TEST_F(EditTest, MouseClicksDragsAndDoubleClicks) {
  TEdit* other = AddEdit("O", Bounds(10, 50, 150, 21));
  TEdit* e = AddEdit("E", Bounds(10, 10, 200, 21));
  Show();
  e->SetText("alpha beta gamma");
  ASSERT_TRUE(other->Focused());
  // A click focuses without selecting all and puts the caret where it hit.
  Integer xBeta = e->PosFromChar(6).X;
  Offscreen().Click(At(e, xBeta + 1, 8));
  Pump();
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->SelLength(), 0);
  EXPECT_EQ(e->SelStart(), 6);
  EXPECT_EQ(e->CharFromPos(e->PosFromChar(11)), 11);
  // Drag to the end of "beta".
  Offscreen().Advance(1000);
  Offscreen().MouseDown(At(e, xBeta + 1, 8));
  Offscreen().MouseMove(At(e, e->PosFromChar(10).X, 8));
  Offscreen().MouseUp(At(e, e->PosFromChar(10).X, 8));
  Pump();
  EXPECT_EQ(e->SelText(), "beta");
  // Shift+click extends from the anchor.
  Offscreen().Advance(1000);
  Offscreen().Click(At(e, e->PosFromChar(16).X + 10, 8), bbLeft, bmShift);
  Pump();
  EXPECT_EQ(e->SelText(), "beta gamma");
  // A double click selects the word.
  Offscreen().Advance(1000);
  Offscreen().DoubleClick(At(e, e->PosFromChar(2).X, 8));
  Pump();
  EXPECT_EQ(e->SelText(), "alpha");
  // Tabbing in selects all (AutoSelect).
  other->SetFocus();
  e->SetFocus();
  EXPECT_EQ(e->SelLength(), 16);
}

TEST_F(EditTest, LooksLikeAClassicEdit) {
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 21));
  TEdit* flat = AddEdit("F", Bounds(10, 50, 150, 21));
  flat->SetBorderStyle(bsNone);
  Show();
  HWND h = e->Handle();
  // The sunken edge: the client starts 2 pixels in and the frame is drawn.
  EXPECT_EQ(GetClientRectInWindow(h).Left, 2);
  EXPECT_EQ(GetClientRectInWindow(flat->Handle()).Left, 0);
  EXPECT_NE(Offscreen().Pixel(Native(), 10, 10), ColorToRGB(clWindow));
  EXPECT_EQ(Px(e, 50, 5), ColorToRGB(clWindow));

  // The caret: a one-pixel line at the text's start, blinking.
  TRect tr = e->TextRect();
  Integer cx = e->PosFromChar(0).X;
  EXPECT_EQ(cx, tr.Left);
  EXPECT_EQ(Px(e, cx, 6), ColorToRGB(clWindowText));
  EXPECT_EQ(Px(e, cx + 1, 6), ColorToRGB(clWindow));
  Offscreen().Advance(TCustomEdit::kCaretBlinkTime);
  Pump();
  EXPECT_FALSE(e->CaretShowing());
  EXPECT_EQ(Px(e, cx, 6), ColorToRGB(clWindow));
  Offscreen().Advance(TCustomEdit::kCaretBlinkTime);
  Pump();
  EXPECT_EQ(Px(e, cx, 6), ColorToRGB(clWindowText));

  // Selected text: highlight behind, hidden when the edit loses the focus.
  Type("MMMM");
  Key('A', bmCtrl);
  Integer mid = e->PosFromChar(2).X;
  EXPECT_EQ(Px(e, mid, 2), ColorToRGB(clHighlight));
  flat->SetFocus();
  Pump();
  EXPECT_EQ(Px(e, mid, 2), ColorToRGB(clWindow));
  e->SetHideSelection(false);
  Pump();
  EXPECT_EQ(Px(e, mid, 2), ColorToRGB(clHighlight));

  // Disabled text is grey, not black.
  e->SetEnabled(false);
  Pump();
  // No pixel is darker than the grey text colour, and the text shows.
  bool darker = false, ink = false;
  TColor gray = ColorToRGB(clGrayText);
  for (Integer x = tr.Left; x < e->PosFromChar(4).X; ++x)
    for (Integer y = 0; y < 15; ++y) {
      TColor c = Px(e, x, y);
      ink = ink || c != ColorToRGB(clWindow);
      darker = darker || (c & 0xFF) < (gray & 0xFF);
    }
  EXPECT_TRUE(ink);
  EXPECT_FALSE(darker);
}

TEST_F(EditTest, EditMessagesAndTextRectangle) {
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 21));
  Show();
  e->SetText("hello world");
  e->Perform(EM_SETSEL, 6, -1);
  Integer s = -1, t = -1;
  e->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&t));
  EXPECT_EQ(s, 6);
  EXPECT_EQ(t, 11);
  changes = 0;
  e->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("there"));
  EXPECT_EQ(e->Text(), "hello there");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(e->Perform(EM_CANUNDO), 1);
  EXPECT_EQ(e->Perform(EM_GETMODIFY), 1);
  e->Perform(EM_SETMODIFY, 0);
  EXPECT_FALSE(e->Modified());
  EXPECT_EQ(e->Perform(EM_GETLINECOUNT), 1);
  EXPECT_EQ(e->Perform(EM_LINEFROMCHAR, 5), 0);

  // The text rectangle moves the text; margins narrow it.
  TRect r(20, 2, 100, 17);
  e->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
  TRect got;
  e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got, r);
  EXPECT_EQ(LParamToPoint(e->Perform(EM_POSFROMCHAR, 0)).X, 20);
  EXPECT_EQ(LoWord(static_cast<WPARAM>(e->Perform(EM_CHARFROMPOS, 0, PointToLParam({19, 5})))), 0);
  e->Perform(EM_SETRECT, 0, 0);
  e->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MakeLParam(5, 7));
  EXPECT_EQ(e->TextRect().Left, 5);
  EXPECT_EQ(e->TextRect().Right, e->ClientWidth() - 7);

  // Long text scrolls so the caret stays in view.
  e->SetText(String(60, 'w'));
  Key(VK_END);
  TPoint caret = e->PosFromChar(60);
  EXPECT_LT(caret.X, e->TextRect().Right);
  EXPECT_GE(caret.X, e->TextRect().Left);
  EXPECT_LT(e->PosFromChar(0).X, 0);
  Key(VK_HOME);
  EXPECT_EQ(e->PosFromChar(0).X, e->TextRect().Left);

  e->Perform(EM_SETREADONLY, 1);
  EXPECT_TRUE(e->ReadOnly());
  e->Perform(EM_LIMITTEXT, 3);
  EXPECT_EQ(e->MaxLength(), 3);

  // Text set in code raises OnChange; the same text does not.
  changes = 0;
  e->SetText("same");
  e->SetText("same");
  static_cast<TControl*>(e)->SetText("base");
  EXPECT_EQ(e->Text(), "base");
  EXPECT_EQ(changes, 2);
  e->SetCharCase(ecUpperCase);
  EXPECT_EQ(e->Text(), "BASE");
  EXPECT_EQ(GetWindowText(e->Handle()), "BASE");
}

TEST_F(EditTest, MemoLinesKeysAndWrapping) {
  auto* m = AddEdit<TMemo>("M", Bounds(10, 10, 200, 100));
  Show();
  ASSERT_TRUE(m->Focused());
  Type("first");
  Key(VK_RETURN);
  Type("second\n\xE2\x82\xAC third");  // "€ third"
  EXPECT_EQ(m->Text(), "first\r\nsecond\r\n\xE2\x82\xAC third");
  EXPECT_EQ(m->Lines()->Count(), 3);
  EXPECT_EQ(m->Lines()->Strings(2), "\xE2\x82\xAC third");
  EXPECT_EQ(m->SelStart(), 5 + 1 + 6 + 1 + 7);  // a line break is one character
  EXPECT_EQ(m->CaretPoint(), (TPoint{7, 2}));
  Key(VK_UP);
  EXPECT_EQ(m->CaretPoint().Y, 1);
  Key(VK_HOME, bmCtrl);
  EXPECT_EQ(m->SelStart(), 0);
  Key(VK_DOWN, bmShift);
  EXPECT_EQ(m->SelText(), "first\r\n");
  Key(VK_END, bmCtrl);
  EXPECT_EQ(m->SelStart(), m->TextLength());
  EXPECT_EQ(m->Perform(EM_LINEINDEX, 1), 6);
  EXPECT_EQ(m->Perform(EM_LINEFROMCHAR, 7), 1);

  // Lines edits the text.
  m->Lines()->Add("fourth");
  EXPECT_EQ(m->Lines()->Count(), 4);
  m->Lines()->Delete(0);
  EXPECT_EQ(m->Lines()->Strings(0), "second");
  m->Lines()->SetStrings(0, "2nd");
  EXPECT_EQ(m->Text(), "2nd\r\n\xE2\x82\xAC third\r\nfourth\r\n");
  EXPECT_THROW(m->Lines()->Strings(9), EStringListError);

  // Tab moves the focus unless WantTabs; Return is a line break.
  m->SetText("");
  Key(VK_TAB);
  EXPECT_EQ(m->Text(), "");
  m->SetWantTabs(true);
  m->SetFocus();
  Key(VK_TAB);
  EXPECT_EQ(m->Text(), "\t");

  // Word wrap breaks at blanks, and long words between characters.
  m->SetText("the quick brown fox jumps over the lazy dog and keeps running far away");
  Integer wrapped = m->LineCount();
  EXPECT_GT(wrapped, 1);
  EXPECT_EQ(m->Lines()->Count(), 1);
  m->SetWordWrap(false);
  EXPECT_EQ(m->LineCount(), 1);
  m->SetWordWrap(true);
  m->SetText(String(200, 'x'));
  EXPECT_GT(m->LineCount(), 1);
  for (Integer i = 0; i < m->LineCount(); ++i)
    EXPECT_LE(m->PosFromChar(m->LineIndex(i)).X, m->TextRect().Left);

  // A vertical scroll bar follows the caret down a long text.
  m->SetScrollBars(ssVertical);
  String many;
  for (int i = 0; i < 30; ++i) many += "line\r\n";
  m->SetText(many);
  Pump();
  EXPECT_FALSE(IsRectEmpty(GetScrollBarRect(m->Handle(), SB_VERT)));
  Key(VK_END, bmCtrl);
  EXPECT_GT(m->Perform(EM_GETFIRSTVISIBLELINE), 0);
  TPoint caret = m->PosFromChar(m->SelStart());
  EXPECT_LT(caret.Y, m->ClientHeight());
  Key(VK_PRIOR);
  Key(VK_HOME, bmCtrl);
  EXPECT_EQ(m->Perform(EM_GETFIRSTVISIBLELINE), 0);
}

TEST_F(EditTest, MemoMaxLengthCountsWhatTextHolds) {
  auto* m = AddEdit<TMemo>("M", Bounds(10, 10, 200, 100));
  Show();
  m->SetMaxLength(10);
  Type("abcd\nefgh");  // 4 + CR LF + 4 bytes of Text
  EXPECT_EQ(m->Text(), "abcd\r\nefgh");
  const Integer beeps = Beeps();
  Type("x");
  EXPECT_EQ(m->Text(), "abcd\r\nefgh");
  EXPECT_EQ(Beeps(), beeps + 1);
  // A break that would not fit is refused as well.
  Key(VK_BACK);
  Key(VK_BACK);
  Key(VK_RETURN);
  EXPECT_EQ(m->Text(), "abcd\r\nef\r\n");
  Key(VK_RETURN);
  EXPECT_LE(m->Text().size(), 10u);
}

// The EM_ queries of a memo with three lines, one row each.
TEST_F(EditTest, MemoAnswersTheEditQueries) {
  auto* m = AddEdit<TMemo>("M", Bounds(10, 10, 200, 100));
  Show();
  m->SetText("alpha\r\nbe\r\ngamma");  // lines start at characters 0, 6 and 9
  struct TRow {
    const char* Name;  // what the row asks
    Cardinal Msg;      // the message
    WPARAM WParam;     // its parameter
    LRESULT Expected;  // the answer
  };
  const TRow rows[] = {
      {"three lines", EM_GETLINECOUNT, 0, 3},
      {"the second line starts after the first break", EM_LINEINDEX, 1, 6},
      {"the third line starts after the second break", EM_LINEINDEX, 2, 9},
      {"a line past the last has no index", EM_LINEINDEX, 3, -1},
      {"length of the first line", EM_LINELENGTH, 0, 5},
      {"length of the line holding character 7", EM_LINELENGTH, 7, 2},
      {"character 7 is on the second line", EM_LINEFROMCHAR, 7, 1},
      {"character 9 starts the third line", EM_LINEFROMCHAR, 9, 2},
      {"nothing scrolled", EM_GETFIRSTVISIBLELINE, 0, 0},
      {"no limit", EM_GETLIMITTEXT, 0, 0},
      {"default margins", EM_GETMARGINS, 0, MakeLParam(1, 1)},
      {"text set in code leaves no undo", EM_CANUNDO, 0, 0},
      {"text set in code is not modified", EM_GETMODIFY, 0, 0},
      {"an edit message the edit does not know answers 0", 0x00BC, 0, 0},
  };
  for (const TRow& row : rows) EXPECT_EQ(m->Perform(row.Msg, row.WParam), row.Expected) << row.Name;
}

// Drags a window's vertical thumb to the end of its bar.
static void DragThumbToTheEnd(HWND h) {
  TRect bar = GetScrollBarRect(h, SB_VERT);
  const TPoint origin = GetWindowRect(h).TopLeft();
  const Integer x = origin.X + (bar.Left + bar.Right) / 2;
  Offscreen().MouseMove({x, origin.Y + bar.Top + 17 + 3});
  Offscreen().MouseDown({x, origin.Y + bar.Top + 17 + 3});
  PumpMessages();
  Offscreen().MouseMove({x, origin.Y + bar.Bottom - 17 - 1});
  PumpMessages();
  Offscreen().MouseUp({x, origin.Y + bar.Bottom - 17 - 1});
  PumpMessages();
}

TEST_F(EditTest, MemoThumbDragsBeyond65535Pixels) {
  auto* m = AddEdit<TMemo>("M", Bounds(10, 10, 200, 100));
  m->SetScrollBars(ssVertical);
  String many;
  for (int i = 0; i < 6000; ++i) many += "line " + std::to_string(i) + "\r\n";
  m->SetText(many);
  Show();
  TScrollInfo si;
  si.Mask = SIF_RANGE;
  GetScrollInfo(m->Handle(), SB_VERT, si);
  ASSERT_GT(si.Max, 65535) << "the text is taller than 16 bits of pixels";
  DragThumbToTheEnd(m->Handle());
  EXPECT_GT(m->Perform(EM_GETFIRSTVISIBLELINE), 5900);
  EXPECT_GT(GetScrollPos(m->Handle(), SB_VERT), 65535);
}

}  // namespace brevant::test
