// Right-to-left modes, input-method hints and AutoSize of the edits, driven
// through real input and checked on real pixels and form text.
#include "classes/formstream.h"
#include "controls/controls_test_util.h"
#include "controls/edits.h"
#include "controls/wincore.h"
#include "graphics/font.h"
#include "rtl/streams.h"

namespace brevant::test {

namespace {

class EditBiDiTest : public ControlsTest {
 protected:
  TEdit* AddEdit(const char* name, TRect bounds) {
    auto* e = Create<TEdit>(form);
    e->SetName(name);
    e->SetBoundsRect(bounds);
    e->SetParent(form);
    return e;
  }
  void Show() {
    form->Show();
    Pump();
  }
  // The first and last column of c's client area holding text ink.
  static std::pair<Integer, Integer> InkColumns(TWinControl* c) {
    Integer first = -1, last = -1;
    const TRect r = c->ClientRect();
    for (Integer x = 0; x < r.Right; ++x)
      for (Integer y = 0; y < r.Bottom; ++y)
        if (GetWindowPixel(c->Handle(), x, y) == ColorToRGB(clWindowText)) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    return {first, last};
  }
  static String FormText(TComponent* root) {
    TStringStream out("");
    WriteComponentText(out, root);
    return out.DataString();
  }
};

}  // namespace

TEST_F(EditBiDiTest, ModesMirrorAlignmentAndScrollBarSide) {
  struct Row {
    const char* name;
    TBiDiMode mode;
    bool inkRight;       // a left-justified text stands at the right
    bool leftScrollBar;  // the memo's vertical bar stands at the left
  };
  const Row rows[] = {{"ltr", bdLeftToRight, false, false},
                      {"rtl", bdRightToLeft, true, true},
                      {"noAlign", bdRightToLeftNoAlign, false, true},
                      {"readingOnly", bdRightToLeftReadingOnly, false, false}};
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 21));
  auto* memo = Create<TMemo>(form);
  memo->SetBounds(10, 40, 150, 60);
  memo->SetScrollBars(ssVertical);
  memo->SetParent(form);
  memo->SetText("1\n2\n3\n4\n5\n6\n7\n8");
  e->SetText("Wide");
  Show();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    form->SetBiDiMode(row.mode);
    Pump();
    EXPECT_EQ(row.mode, e->BiDiMode()) << "the edit follows its parent";
    const auto ink = InkColumns(e);
    ASSERT_GE(ink.first, 0);
    if (row.inkRight)
      EXPECT_GT(ink.first, e->ClientWidth() / 2);
    else
      EXPECT_LT(ink.second, e->ClientWidth() / 2);
    const TRect bar = GetScrollBarRect(memo->Handle(), SB_VERT);
    const TRect client = GetClientRectInWindow(memo->Handle());
    EXPECT_EQ(row.leftScrollBar, bar.Right <= client.Left);
  }
  // A mode set on the control itself stops following the parent.
  e->SetBiDiMode(bdRightToLeft);
  form->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(e->ParentBiDiMode());
  EXPECT_EQ(bdRightToLeft, e->BiDiMode());
  EXPECT_EQ(bdLeftToRight, memo->BiDiMode());
  e->SetParentBiDiMode(true);
  EXPECT_EQ(bdLeftToRight, e->BiDiMode());
}

TEST_F(EditBiDiTest, AutoSizeFollowsFontAndBorder) {
  struct Row {
    const char* name;
    Integer size;
    TBorderStyle border;
    Integer frame;  // top plus bottom
  };
  const Row rows[] = {{"8pt 3-D", 8, bsSingle, 4},
                      {"12pt 3-D", 12, bsSingle, 4},
                      {"20pt 3-D", 20, bsSingle, 4},
                      {"12pt none", 12, bsNone, 0}};
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 40));
  TEdit* fixed = AddEdit("F", Bounds(10, 80, 150, 40));
  fixed->SetAutoSize(false);
  fixed->SetHeight(40);
  Show();
  TObjectPtr<TCanvas> measure(Create<TCanvas>());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    e->SetBorderStyle(row.border);
    e->Font()->SetSize(row.size);
    fixed->Font()->SetSize(row.size);
    Pump();
    measure->SetFont(e->Font());
    EXPECT_EQ(measure->TextHeight("Wg") + 3 + row.frame, e->Height());
    EXPECT_EQ(e->Height() - row.frame, e->ClientHeight());
    EXPECT_EQ(40, fixed->Height());
  }
  // Turning it on fits at once; a memo starts without it.
  fixed->SetAutoSize(true);
  EXPECT_EQ(measure->TextHeight("Wg") + 3 + 4, fixed->Height());
  EXPECT_FALSE(Create<TMemo>(form)->AutoSize());
}

TEST_F(EditBiDiTest, FocusTellsTheInputMethodItsHints) {
  TEdit* a = AddEdit("A", Bounds(10, 10, 150, 21));
  TEdit* b = AddEdit("B", Bounds(10, 40, 150, 21));
  b->SetImeMode(imHira);
  b->SetImeName("Kana input");
  Show();
  a->SetFocus();
  Pump();
  EXPECT_EQ(imDontCare, Offscreen().LastTextInputHints().Mode);
  Offscreen().PressKey(VK_TAB);
  Pump();
  ASSERT_TRUE(b->Focused());
  const TTextInputHints& hints = Offscreen().LastTextInputHints();
  EXPECT_EQ(imHira, hints.Mode);
  EXPECT_EQ("Kana input", hints.Name);
  EXPECT_EQ(b->ClientToScreen({0, 0}), hints.Composition);
  EXPECT_EQ(GetNativeWindow(b->Handle()), hints.Window);
  // A change while focused is told at once; the composition moves along.
  b->SetImeCompositionPos({7, 3});
  EXPECT_EQ(b->ClientToScreen({7, 3}), Offscreen().LastTextInputHints().Composition);
  const Integer told = Offscreen().TextInputHintCount();
  a->SetImeMode(imClose);  // not focused: nothing told
  EXPECT_EQ(told, Offscreen().TextInputHintCount());
}

TEST_F(EditBiDiTest, NewPropertiesStreamWithTheForm) {
  RegisterEditClasses();
  TEdit* e = AddEdit("E", Bounds(10, 10, 150, 30));
  TEdit* follower = AddEdit("Follower", Bounds(10, 50, 150, 30));
  e->SetAutoSize(false);
  e->SetHeight(30);
  e->SetBiDiMode(bdRightToLeftNoAlign);
  e->SetImeMode(imSHanguel);
  e->SetImeName("Hangul");
  form->SetBiDiMode(bdRightToLeftReadingOnly);
  follower->SetParentBiDiMode(true);
  const String text = FormText(form);
  for (const char* line :
       {"BiDiMode = bdRightToLeftNoAlign", "ImeMode = imSHanguel", "ImeName = 'Hangul'",
        "AutoSize = False", "BiDiMode = bdRightToLeftReadingOnly"})
    EXPECT_NE(String::npos, text.find(line)) << line;
  const String followerText = text.substr(text.find("object Follower"));
  EXPECT_EQ(String::npos, followerText.find("BiDiMode")) << "a follower writes no mode";

  TStringStream stream(text);
  TObjectPtr<TForm> copy(Create<TForm>(nullptr));
  ReadComponent(stream, copy.get());
  auto* e2 = dynamic_cast<TEdit*>(copy->FindComponent("E"));
  auto* f2 = dynamic_cast<TEdit*>(copy->FindComponent("Follower"));
  ASSERT_TRUE(e2 && f2);
  EXPECT_EQ(bdRightToLeftNoAlign, e2->BiDiMode());
  EXPECT_FALSE(e2->ParentBiDiMode());
  EXPECT_EQ(imSHanguel, e2->ImeMode());
  EXPECT_EQ("Hangul", e2->ImeName());
  EXPECT_FALSE(e2->AutoSize());
  EXPECT_EQ(30, e2->Height());
  EXPECT_TRUE(f2->ParentBiDiMode());
  EXPECT_EQ(bdRightToLeftReadingOnly, f2->BiDiMode());
  const String again = FormText(copy.get());
  EXPECT_EQ(text.substr(text.find("object E:")), again.substr(again.find("object E:")));
}

}  // namespace brevant::test
