// Tool bars, status bars, and the standard controls in form streams.
#include "classes/formstream.h"
#include "controls/stdctrls_test_util.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "rtl/streams.h"

namespace brevant::test {

class ToolBarTest : public StdCtrlsTest {
 protected:
  TToolButton* AddButton(const char* name, TToolButtonStyle style = tbsButton) {
    auto* b = Create<TToolButton>(form);
    b->SetName(name);
    b->SetStyle(style);
    b->SetParent(bar);
    return b;
  }
  void SetUp() override {
    StdCtrlsTest::SetUp();
    bar = Create<TToolBar>(form);
    bar->SetName("Bar");
    bar->SetParent(form);
  }
  TToolBar* bar = nullptr;
};

TEST_F(ToolBarTest, ButtonsAndHostedControlsFormOneRow) {
  EXPECT_EQ(bar->Align(), alTop);
  TToolButton* a = AddButton("A");
  TToolButton* sep = AddButton("Sep", tbsSeparator);
  TToolButton* c = AddButton("C");
  // A control placed on the bar takes its place by position.
  auto* host = AddProbe(bar, "Host", Bounds(60, 0, 40, 16));
  ShowForm();
  EXPECT_EQ(bar->Width(), 300);
  EXPECT_EQ(bar->Height(), 26);
  EXPECT_EQ(a->BoundsRect(), Bounds(0, 2, 23, 22));
  EXPECT_EQ(sep->BoundsRect(), Bounds(23, 2, 8, 22));
  EXPECT_EQ(c->BoundsRect(), Bounds(31, 2, 23, 22));
  EXPECT_EQ(host->BoundsRect(), Bounds(54, 5, 40, 16)) << "centred on the row";
  EXPECT_EQ(bar->ButtonCount(), 3);
  EXPECT_EQ(bar->Buttons(2), c);
  // A button added at run time goes to the end.
  TToolButton* d = AddButton("D");
  EXPECT_EQ(d->Left(), 94);
  // Hiding a control closes the gap.
  sep->Hide();
  bar->Realign();
  EXPECT_EQ(c->Left(), 23);
  bar->SetButtonWidth(30);
  EXPECT_EQ(c->Left(), 30);
  EXPECT_EQ(c->Width(), 30);

  // Buttons are raised; a click fires OnClick with the pressed look on the way.
  Pump();
  EXPECT_EQ(Px(a, 1, 1), Rgb(clBtnHighlight));
  Integer n = 0;
  a->OnClick = Counter(n);
  Offscreen().MouseDown(At(a, 5, 5));
  Pump();
  EXPECT_TRUE(a->Pressed());
  EXPECT_EQ(Px(a, 0, 0), Rgb(clBtnShadow));
  Offscreen().MouseUp(At(a, 5, 5));
  Pump();
  EXPECT_EQ(n, 1);
  EXPECT_FALSE(a->Down()) << "plain buttons do not stay down";
  // Flat buttons show an edge only under the pointer.
  bar->SetFlat(true);
  Offscreen().MouseMove(At(host, 5, 5));
  Pump();
  EXPECT_EQ(Px(a, 0, 0), Rgb(clBtnFace));
}

TEST_F(ToolBarTest, CheckButtonsToggleAndGroupsAreExclusive) {
  TToolButton* t = AddButton("Toggle", tbsCheck);
  AddButton("Sep", tbsSeparator);
  TToolButton* g1 = AddButton("G1", tbsCheck);
  TToolButton* g2 = AddButton("G2", tbsCheck);
  TToolButton* g3 = AddButton("G3", tbsCheck);
  for (TToolButton* g : {g1, g2, g3}) g->SetGrouped(true);
  TToolButton* after = AddButton("After", tbsCheck);
  after->SetGrouped(true);
  AddButton("Plain");
  Integer n = 0;
  t->OnClick = Counter(n);
  ShowForm();
  ClickAt(t, 5, 5);
  EXPECT_TRUE(t->Down());
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Px(t, 0, 0), Rgb(clBtnShadow)) << "sunken while down";
  ClickAt(t, 5, 5);
  EXPECT_FALSE(t->Down());
  EXPECT_EQ(n, 2);

  EXPECT_EQ(bar->GroupOf(g2), (std::vector<TToolButton*>{g1, g2, g3, after}));
  EXPECT_TRUE(bar->GroupOf(t).empty());
  ClickAt(g1, 5, 5);
  ClickAt(g3, 5, 5);
  EXPECT_FALSE(g1->Down());
  EXPECT_TRUE(g3->Down());
  EXPECT_FALSE(t->Down()) << "a separator ends the group";
  ClickAt(g3, 5, 5);
  EXPECT_TRUE(g3->Down()) << "stays down without AllowAllUp";
  g2->SetDown(true);
  EXPECT_FALSE(g3->Down());
}

TEST_F(ToolBarTest, ButtonsDrawTheirImagesAndCaptions) {
  auto* images = Create<TImageList>(form);
  images->SetSize(8, 8);
  TBitmap bmp;
  bmp.SetSize(16, 8);
  bmp.Canvas()->Brush()->SetColor(clBlue);
  bmp.Canvas()->FillRect(Rect(0, 0, 8, 8));
  bmp.Canvas()->Brush()->SetColor(clGreen);
  bmp.Canvas()->FillRect(Rect(8, 0, 16, 8));
  images->Add(&bmp, nullptr);
  bar->SetImages(images);
  TToolButton* a = AddButton("A");
  a->SetImageIndex(1);
  ShowForm();
  EXPECT_EQ(Px(a, 11, 11), clGreen);
  a->SetEnabled(false);
  Pump();
  EXPECT_NE(Px(a, 11, 11), clGreen);
  a->SetEnabled(true);
  a->SetCaption("Save");
  bar->SetShowCaptions(true);
  Pump();
  EXPECT_GE(bar->Height(), 26);
  EXPECT_GT(a->Height(), 22);
  EXPECT_TRUE(AnyDark(a, Rect(0, 12, a->Width(), a->Height())));
  // A freed image list is forgotten.
  images->Free();
  EXPECT_EQ(bar->Images(), nullptr);
  Pump();
}

TEST_F(StdCtrlsTest, StatusBarShowsSimpleTextOrPanels) {
  form->SetBorderStyle(bsSizeable);
  auto* status = Create<TStatusBar>(form);
  status->SetParent(form);
  ShowForm();
  EXPECT_EQ(status->BoundsRect(), Rect(0, 181, 300, 200)) << "at the bottom";
  EXPECT_TRUE(status->GripShown());
  EXPECT_EQ(Px(status, 298, 18), Rgb(clBtnShadow)) << "the grip";

  status->SetSimplePanel(true);
  status->SetSimpleText("Ready");
  Pump();
  EXPECT_EQ(Px(status, 0, 2), Rgb(clBtnShadow)) << "the lowered panel";
  EXPECT_TRUE(AnyDark(status, Rect(2, 3, 40, 18)));

  status->SetSimplePanel(false);
  TStatusPanel* first = status->Panels()->Add();
  first->SetWidth(100);
  first->SetText("One");
  TStatusPanel* second = status->Panels()->Add();
  second->SetText("Two");
  second->SetAlignment(taRightJustify);
  second->SetBevel(pbRaised);
  Pump();
  EXPECT_EQ(status->PanelRect(0), Rect(0, 2, 98, 19));
  EXPECT_EQ(status->PanelRect(1), Rect(100, 2, 286, 19)) << "the last takes the rest";
  EXPECT_TRUE(AnyDark(status, Rect(2, 3, 40, 18)));
  EXPECT_FALSE(AnyDark(status, Rect(102, 3, 200, 18)));
  EXPECT_TRUE(AnyDark(status, Rect(230, 3, 284, 18)));
  EXPECT_EQ(Px(status, 100, 2), Rgb(clBtnHighlight)) << "the raised panel";

  // Moved onto a panel in the middle of the form, it shows no grip.
  auto* panel = Add<TPanel>(form, "P", Bounds(0, 0, 200, 100));
  status->SetParent(panel);
  EXPECT_FALSE(status->GripShown());
  EXPECT_EQ(status->Top() + status->Height(), panel->InnerRect().Bottom);
}

TEST_F(StdCtrlsTest, StandardControlsStreamThroughFormText) {
  RegisterStdControlClasses();
  auto* panel = Add<TPanel>(form, "Panel1", Bounds(0, 0, 200, 40));
  panel->SetBevelOuter(bvLowered);
  panel->SetCaption("Memory");
  auto* ok = Add<TButton>(panel, "OK", Bounds(5, 5, 60, 22));
  ok->SetCaption("&OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* check = Add<TCheckBox>(form, "Check", Bounds(0, 50, 100, 17));
  check->SetState(cbGrayed);
  auto* book = Add<TNotebook>(form, "Book", Bounds(0, 80, 200, 100));
  TPage* p1 = Add<TPage>(book, "Page1", Bounds(0, 0, 1, 1));
  p1->SetCaption("First");
  TPage* p2 = Add<TPage>(book, "Page2", Bounds(0, 0, 1, 1));
  p2->SetCaption("Second");
  book->SetPageIndex(1);
  auto* status = Add<TStatusBar>(form, "Status", Bounds(0, 0, 10, 10));
  status->Panels()->Add()->SetText("Cell");
  auto* speed = Add<TSpeedButton>(form, "Speed", Bounds(210, 10, 25, 25));
  speed->SetGroupIndex(3);
  speed->SetDown(true);
  speed->SetFlat(true);

  TMemoryStream text;
  WriteComponentText(text, form);
  text.SetPosition(0);
  auto* copy = Create<TForm>(nullptr);
  try {
    ReadComponent(text, copy);
    auto* panel2 = dynamic_cast<TPanel*>(copy->FindComponent("Panel1"));
    auto* ok2 = dynamic_cast<TButton*>(copy->FindComponent("OK"));
    auto* check2 = dynamic_cast<TCheckBox*>(copy->FindComponent("Check"));
    auto* book2 = dynamic_cast<TNotebook*>(copy->FindComponent("Book"));
    auto* status2 = dynamic_cast<TStatusBar*>(copy->FindComponent("Status"));
    auto* speed2 = dynamic_cast<TSpeedButton*>(copy->FindComponent("Speed"));
    ASSERT_TRUE(panel2 && ok2 && check2 && book2 && status2 && speed2);
    EXPECT_EQ(panel2->BevelOuter(), bvLowered);
    EXPECT_EQ(panel2->Caption(), "Memory");
    EXPECT_EQ(ok2->Parent(), panel2);
    EXPECT_TRUE(ok2->Default());
    EXPECT_EQ(ok2->ModalResult(), mrOk);
    EXPECT_EQ(ok2->Caption(), "&OK");
    EXPECT_EQ(check2->State(), cbGrayed);
    EXPECT_EQ(book2->PageCount(), 2);
    EXPECT_EQ(book2->PageIndex(), 1);
    EXPECT_EQ(book2->ActivePage(), "Second");
    EXPECT_FALSE(book2->Pages(0)->Visible());
    EXPECT_EQ(status2->Panels()->Count(), 1);
    EXPECT_EQ(status2->Panels()->Items(0)->Text(), "Cell");
    EXPECT_EQ(status2->Align(), alBottom);
    EXPECT_TRUE(speed2->Down());
    EXPECT_TRUE(speed2->Flat());
  } catch (...) {
    copy->Free();
    throw;
  }
  copy->Free();
}

}  // namespace brevant::test
