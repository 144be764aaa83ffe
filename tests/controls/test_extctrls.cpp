// Panels, images, notebooks, splitters, scroll boxes and speed buttons.
#include "controls/stdctrls_test_util.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/picture.h"

namespace brevant::test {

TEST_F(StdCtrlsTest, PanelDrawsBevelsAndAlignsChildrenInside) {
  auto* panel = Add<TPanel>(form, "P", Bounds(10, 10, 120, 80));
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  panel->SetColor(clAqua);
  auto* child = AddProbe(panel, "C", Bounds(0, 0, 10, 10));
  child->SetAlign(alClient);
  ShowForm();
  EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 113, 73)) << "inside 2 + 3 + 2 pixels";
  EXPECT_EQ(panel->InnerRect(), Rect(7, 7, 113, 73));
  ExpectPixels({
      {"raised outer bevel", panel, {0, 0}, clBtnHighlight},
      {"raised outer bevel, second pixel", panel, {1, 1}, clBtnHighlight},
      {"raised outer bevel, bottom-right", panel, {119, 79}, clBtnShadow},
      {"the border in the panel's colour", panel, {3, 3}, clAqua},
      {"lowered inner bevel", panel, {5, 5}, clBtnShadow},
      {"lowered inner bevel, right side", panel, {113, 40}, clBtnHighlight},
  });

  // The caption, left aligned, in the font's colour; disabled: embossed.
  child->Free();
  panel->SetBevelInner(bvNone);
  panel->SetBorderWidth(0);
  panel->SetCaption("Memory");
  panel->SetAlignment(taLeftJustify);
  panel->Font()->SetColor(clGray);
  Pump();
  EXPECT_TRUE(AnyPixel(panel, Rect(2, 20, 20, 60), clGray));
  EXPECT_FALSE(AnyPixel(panel, Rect(80, 20, 118, 60), clGray));
  panel->SetEnabled(false);
  Pump();
  EXPECT_FALSE(AnyPixel(panel, Rect(2, 20, 60, 60), clGray));
  EXPECT_TRUE(AnyPixel(panel, Rect(2, 20, 60, 60), clBtnShadow));

  // ParentBackground paints the parent's colour; a single border is a
  // sunken client edge.
  form->SetColor(clYellow);
  panel->SetBevelOuter(bvNone);
  panel->SetParentBackground(true);
  Pump();
  EXPECT_EQ(Px(panel, 60, 2), clYellow);
  panel->SetBorderStyle(bsSingle);
  Pump();
  EXPECT_EQ(panel->ClientWidth(), 116);
}

TEST_F(StdCtrlsTest, ImagePlacesItsPicture) {
  auto* image = Add<TImage>(form, "I", Bounds(10, 10, 100, 60));
  TBitmap bmp;
  bmp.SetSize(20, 10);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(Rect(0, 0, 20, 10));
  bmp.Canvas()->SetPixels(0, 9, clLime);  // the transparent colour
  image->Picture()->SetBitmap(&bmp);
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 20, 10));
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), Rect(40, 25, 60, 35));
  image->SetStretch(true);
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 60));
  image->SetProportional(true);
  EXPECT_EQ(image->DestRect(), Rect(0, 5, 100, 55));
  image->SetStretch(false);
  EXPECT_EQ(image->DestRect(), Rect(40, 25, 60, 35)) << "smaller pictures do not grow";
  image->SetCenter(false);
  form->SetColor(clYellow);
  ShowForm();
  EXPECT_EQ(Px(image, 5, 5), clRed);
  EXPECT_EQ(Px(image, 0, 9), clLime);
  EXPECT_EQ(Px(image, 30, 30), clYellow);
  image->SetTransparent(true);
  Pump();
  EXPECT_EQ(Px(image, 0, 9), clYellow);
  EXPECT_EQ(Px(image, 5, 5), clRed);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 20);
  EXPECT_EQ(image->Height(), 10);
}

TEST_F(StdCtrlsTest, NotebookShowsOnePageAtATime) {
  auto* book = Add<TNotebook>(form, "N", Bounds(10, 10, 200, 150));
  Integer changes = 0;
  book->OnPageChanged = Counter(changes);
  EXPECT_EQ(book->PageIndex(), -1);
  TPage* one = book->AddPage("One");
  TPage* two = book->AddPage("Two");
  TPage* three = book->AddPage("Three");
  auto* onTwo = AddProbe(two, "OnTwo", Bounds(5, 5, 30, 20));
  ShowForm();
  EXPECT_EQ(book->PageCount(), 3);
  EXPECT_EQ(book->PageIndex(), 0);
  EXPECT_EQ(book->ActivePage(), "One");
  EXPECT_TRUE(one->Visible());
  EXPECT_FALSE(two->Visible());
  EXPECT_EQ(one->BoundsRect(), Rect(0, 0, 200, 150));
  EXPECT_EQ(three->PageIndex(), 2);

  book->SetActivePage("two");
  EXPECT_EQ(book->PageIndex(), 1);
  EXPECT_TRUE(two->Visible());
  EXPECT_FALSE(one->Visible());
  EXPECT_EQ(changes, 1);
  Pump();
  EXPECT_EQ(Px(onTwo, 10, 10), clRed);
  onTwo->SetFocus();
  book->SetPageIndex(2);
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(onTwo->Focused()) << "a hidden page gives up the focus";
  book->SetPageIndex(2);
  EXPECT_EQ(changes, 2);

  EXPECT_THROW(book->SetActivePage("Four"), EListError);
  EXPECT_THROW(book->SetPageIndex(3), EListError);
  EXPECT_THROW(book->SetPageIndex(-1), EListError);
  EXPECT_EQ(book->PageIndex(), 2);

  // Removing pages keeps the index on the same page or the nearest one.
  one->Free();
  EXPECT_EQ(book->PageIndex(), 1);
  EXPECT_EQ(book->ActivePage(), "Three");
  three->Free();
  EXPECT_EQ(book->PageIndex(), 0);
  EXPECT_TRUE(two->Visible());
}

TEST_F(StdCtrlsTest, SplitterDragResizesItsNeighbour) {
  auto* left = AddProbe(form, "Left", Bounds(0, 0, 100, 10));
  left->SetAlign(alLeft);
  auto* split = Add<TSplitter>(form, "S", Bounds(100, 0, 3, 10));
  split->SetResizeStyle(rsUpdate);
  auto* rest = AddProbe(form, "Rest", Bounds(200, 0, 10, 10));
  rest->SetAlign(alClient);
  Integer moved = 0;
  split->OnMoved = Counter(moved);
  ShowForm();
  ASSERT_EQ(split->Left(), 100);
  EXPECT_EQ(split->Height(), 200);
  EXPECT_EQ(split->ResizeControl(), left);

  auto& b = Offscreen();
  b.MouseDown(At(split, 1, 50));
  b.MouseMove(At(split, 41, 50));
  Pump();
  EXPECT_EQ(left->Width(), 140) << "rsUpdate resizes while dragging";
  EXPECT_EQ(split->Left(), 140);
  EXPECT_EQ(rest->Left(), 143);
  b.MouseMove({form->ClientOrigin().X + 1000, 0});
  Pump();
  EXPECT_EQ(left->Width(), 300 - 3 - 30) << "MinSize left for the rest";
  b.MouseMove({form->ClientOrigin().X - 100, 0});
  Pump();
  EXPECT_EQ(left->Width(), 30);
  b.MouseUp({form->ClientOrigin().X - 100, 0});
  Pump();
  EXPECT_EQ(moved, 1);

  // rsLine shows an inverted line and resizes on release.
  split->SetResizeStyle(rsLine);
  const TColor before = Px(rest, 20, 50);
  b.MouseDown(At(split, 1, 50));
  b.MouseMove(At(split, 21, 50));
  Pump();
  EXPECT_EQ(left->Width(), 30);
  EXPECT_NE(Px(rest, 20 - 3 + 1, 50), before) << "the line over the neighbour";
  b.MouseUp(At(split, 21, 50));
  Pump();
  EXPECT_EQ(left->Width(), 50);
  EXPECT_EQ(moved, 2);
  Pump();
  EXPECT_EQ(Px(rest, 20, 50), before) << "the line is gone";
}

TEST_F(StdCtrlsTest, ScrollBoxScrollsItsChildren) {
  auto* box = Add<TScrollBox>(form, "Box", Bounds(10, 10, 200, 150));
  box->SetBorderStyle(bsNone);
  auto* top = AddProbe(box, "Top", Bounds(0, 0, 50, 20));
  auto* far = AddProbe(box, "Far", Bounds(20, 400, 50, 20));
  ShowForm();
  EXPECT_EQ(box->ContentSize().cy, 420);
  EXPECT_FALSE(IsRectEmpty(GetScrollBarRect(box->Handle(), SB_VERT)));
  EXPECT_TRUE(IsRectEmpty(GetScrollBarRect(box->Handle(), SB_HORZ)));
  const Integer clientH = box->ClientHeight();
  EXPECT_EQ(box->ClientWidth(), 200 - GetSystemMetrics(SM_CXVSCROLL));

  // The wheel, with the focus inside.
  top->SetFocus();
  Offscreen().Wheel(At(box, 50, 50), -WHEEL_DELTA);
  Pump();
  EXPECT_EQ(box->VertPosition(), 24);
  EXPECT_EQ(top->Top(), -24);
  EXPECT_EQ(far->Top(), 400 - 24);
  // Keys when the box has the focus; the end stops at the content.
  ClickAt(box, 150, 100);
  EXPECT_TRUE(box->Focused());
  Press(VK_DOWN);
  EXPECT_EQ(box->VertPosition(), 32);
  Press(VK_END);
  EXPECT_EQ(box->VertPosition(), 420 - clientH);
  EXPECT_EQ(far->Top() + far->Height(), clientH);
  Press(VK_HOME);
  EXPECT_EQ(box->VertPosition(), 0);
  EXPECT_EQ(top->Top(), 0);
  // A click on the bar's lower arrow.
  TRect bar = GetScrollBarRect(box->Handle(), SB_VERT);
  TPoint arrow = brevant::ClientToScreen(box->Handle(), {0, 0});
  TRect inWindow = GetClientRectInWindow(box->Handle());
  arrow.X += bar.Left - inWindow.Left + 2;
  arrow.Y += bar.Bottom - inWindow.Top - 3;
  Offscreen().Click(arrow);
  Pump();
  EXPECT_EQ(box->VertPosition(), 8);
  // A child that gets the focus is scrolled into view.
  far->SetFocus();
  EXPECT_EQ(far->Top() + far->Height(), clientH);
  Pump();
  EXPECT_EQ(Px(far, 10, 10), clRed);
  // Children that shrink back leave no scrolled-off space.
  far->SetTop(far->Top() - 300);
  box->UpdateScrollBars();
  EXPECT_EQ(box->VertPosition(), 0);
  EXPECT_TRUE(IsRectEmpty(GetScrollBarRect(box->Handle(), SB_VERT)));
}

class SpeedButtonTest : public StdCtrlsTest {
 protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    for (int i = 0; i < 3; ++i) {
      b[i] = Add<TSpeedButton>(form, ("B" + std::to_string(i)).c_str(),
                               Bounds(10 + 30 * i, 10, 25, 25));
      b[i]->SetGroupIndex(1);
      b[i]->OnClick = Counter(n[i]);
    }
  }
  TSpeedButton* b[3] = {};
  Integer n[3] = {};
};

TEST_F(SpeedButtonTest, GroupedButtonsStayDownExclusively) {
  ShowForm();
  ClickAt(b[0], 5, 5);
  EXPECT_TRUE(b[0]->Down());
  EXPECT_EQ(b[0]->State(), bsExclusive);
  EXPECT_EQ(n[0], 1);
  ClickAt(b[1], 5, 5);
  EXPECT_TRUE(b[1]->Down());
  EXPECT_FALSE(b[0]->Down());
  // Without AllowAllUp the down button stays down, and still clicks.
  ClickAt(b[1], 5, 5);
  EXPECT_TRUE(b[1]->Down());
  EXPECT_EQ(n[1], 2);
  b[1]->SetDown(false);
  EXPECT_TRUE(b[1]->Down());
  // AllowAllUp is shared by the group.
  b[2]->SetAllowAllUp(true);
  EXPECT_TRUE(b[0]->AllowAllUp());
  ClickAt(b[1], 5, 5);
  EXPECT_FALSE(b[1]->Down());
  // Pressed look while held; a release outside does not click.
  Offscreen().MouseDown(At(b[2], 5, 5));
  Pump();
  EXPECT_EQ(b[2]->State(), bsDown);
  EXPECT_EQ(Px(b[2], 0, 0), Rgb(clBtnShadow)) << "sunken";
  Offscreen().MouseMove(At(b[2], 5, 50));
  Pump();
  EXPECT_EQ(b[2]->State(), bsUp);
  Offscreen().MouseUp(At(b[2], 5, 50));
  Pump();
  EXPECT_EQ(n[2], 0);
  EXPECT_FALSE(b[2]->Down());
  EXPECT_EQ(Px(b[2], 0, 0), Rgb(cl3DLight)) << "raised";
  // Buttons without a group never stay down.
  b[0]->SetGroupIndex(0);
  b[0]->SetDown(true);
  EXPECT_FALSE(b[0]->Down());
  ClickAt(b[0], 5, 5);
  EXPECT_FALSE(b[0]->Down());
  EXPECT_EQ(n[0], 2);
  // Disabled buttons do not click.
  b[0]->SetEnabled(false);
  ClickAt(b[0], 5, 5);
  EXPECT_EQ(n[0], 2);
}

TEST_F(SpeedButtonTest, FlatButtonsShowAnEdgeOnlyUnderThePointer) {
  form->SetColor(clYellow);
  b[0]->SetFlat(true);
  ShowForm();
  EXPECT_EQ(Px(b[0], 0, 0), clYellow);
  Offscreen().MouseMove(At(b[0], 5, 5));
  Pump();
  EXPECT_TRUE(b[0]->MouseInControl());
  EXPECT_EQ(Px(b[0], 0, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(b[0], 24, 24), Rgb(clBtnShadow));
  Offscreen().MouseMove(At(b[2], 5, 5));
  Pump();
  EXPECT_EQ(Px(b[0], 0, 0), clYellow);
  b[0]->SetDown(true);
  Pump();
  EXPECT_EQ(Px(b[0], 0, 0), Rgb(clBtnShadow));
}

TEST_F(SpeedButtonTest, GlyphsDrawTransparentAndEmbossedWhenDisabled) {
  TBitmap glyph;
  glyph.SetSize(8, 8);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(Rect(0, 0, 8, 8));
  glyph.Canvas()->Brush()->SetColor(clNavy);
  glyph.Canvas()->FillRect(Rect(2, 2, 6, 6));
  b[0]->SetGlyph(&glyph);
  EXPECT_EQ(b[0]->NumGlyphs(), 1);
  ShowForm();
  // 25 x 25, glyph centred in the 23 x 23 inside: at (8, 8).
  EXPECT_EQ(Px(b[0], 8 + 3, 8 + 3), clNavy);
  EXPECT_EQ(Px(b[0], 8, 8), Rgb(clBtnFace)) << "bottom-left colour is transparent";
  EXPECT_FALSE(AnyPixel(b[0], b[0]->ClientRect(), clFuchsia));
  b[0]->SetEnabled(false);
  Pump();
  EXPECT_EQ(Px(b[0], 8 + 3, 8 + 3), Rgb(clBtnShadow));
  EXPECT_EQ(Px(b[0], 8 + 6, 8 + 6), Rgb(clBtnHighlight)) << "the embossed edge";
  EXPECT_FALSE(AnyPixel(b[0], b[0]->ClientRect(), clNavy));

  // A caption beside the glyph; a two-image strip gives its own disabled image.
  TBitmap strip;
  strip.SetSize(16, 8);
  strip.Canvas()->Brush()->SetColor(clLime);
  strip.Canvas()->FillRect(Rect(0, 0, 16, 8));
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(Rect(10, 2, 14, 6));
  b[1]->SetBounds(10, 50, 80, 25);
  b[1]->SetGlyph(&strip);
  EXPECT_EQ(b[1]->NumGlyphs(), 2);
  b[1]->SetCaption("Go");
  b[1]->SetEnabled(false);
  Pump();
  EXPECT_TRUE(AnyPixel(b[1], Rect(0, 0, 40, 25), clRed));
  EXPECT_TRUE(AnyPixel(b[1], Rect(40, 0, 80, 25), clBtnShadow));
}

}  // namespace brevant::test
