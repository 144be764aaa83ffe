// The navigation bar's pixels in each frame style, its headers, arrows,
// background and captions, read from the off-screen backend.
#include "graphics/picture.h"
#include "navbar/navbar_test_util.h"

namespace brevant::test {

namespace {

// What one frame style shows on an item's icon box in one state.
struct TFrameRow {
  const char* Name;         // the style
  TNavBarFrameStyle Style;  // the style set
  TColor HoverCorner;       // box corner, hovered with nothing pressed
  TColor HoverInside;       // inside the box, hovered with nothing pressed
  TColor PressedCorner;     // box corner while the icon box is pressed
  TColor HeaderHeldCorner;  // box corner, hovered while a header is held
  TColor SelectedCorner;    // box corner of the selected item, not hovered
};

constexpr TColor kBack = clTeal;  // the bar's Color
constexpr TColor kFrame = clRed;  // FrameColor
constexpr TColor kFill = clAqua;  // ItemHightlightColor

const TFrameRow kFrameRows[] = {
    {"single", fsSingle, kFrame, kFill, clBtnShadow, kFrame, clBtnShadow},
    {"raised", fsRaised, cl3DLight, kFill, kFrame, kBack, kBack},
    {"lowered", fsLowered, cl3DDkShadow, kFill, kFrame, cl3DDkShadow, kBack},
    {"button", fsButton, cl3DLight, kFill, clBtnShadow, kBack, clBtnShadow},
    {"none", fsNone, kBack, kBack, kFrame, kBack, kBack},
    {"row raised", fsRowRaised, cl3DLight, kFill, kFrame, kBack, kBack},
    {"row lowered", fsRowLowered, cl3DDkShadow, kFill, kFrame, cl3DDkShadow, kBack},
    {"row button", fsRowButton, cl3DLight, kFill, clBtnShadow, kBack, clBtnShadow},
};

}  // namespace

TEST_F(NavBarTest, EachFrameStyleShowsHoverPressAndSelection) {
  Fill(3);
  bar->SetColor(kBack);
  bar->SetFrameColor(kFrame);
  bar->SetItemHightlightColor(kFill);
  ShowForm();
  for (const TFrameRow& row : kFrameRows) {
    bar->SetFrameStyle(row.Style);
    bar->SetSelectedItem(0);
    Pump();
    TRect box = Item(1)->IconRect();
    bool rowStyle = row.Style >= fsRowRaised;
    EXPECT_EQ(box.Left, rowStyle ? 1 : (bar->ItemArea().Width() - 32) / 2 + 1 - 4) << row.Name;
    TRect sel = Item(0)->IconRect();
    EXPECT_EQ(Px(bar, sel.Left, sel.Top), Rgb(row.SelectedCorner)) << row.Name << ": selected";

    Hover(Centre(box));
    EXPECT_EQ(Px(bar, box.Left, box.Top), Rgb(row.HoverCorner)) << row.Name << ": hovered";
    EXPECT_EQ(Px(bar, box.Left + 2, box.Top + 2), Rgb(row.HoverInside)) << row.Name;

    Down(Centre(box));
    EXPECT_EQ(Px(bar, box.Left, box.Top), Rgb(row.PressedCorner)) << row.Name << ": pressed";
    EXPECT_EQ(Px(bar, box.Left + 2, box.Top + 2), Rgb(kFill)) << row.Name;
    // Releasing away from the box clicks nothing and clears the feedback.
    Up({2, bar->Groups(0)->HeaderRect().Bottom + 1});
    EXPECT_EQ(bar->SelectedItem(), 0) << row.Name;

    TPoint header = Centre(bar->Groups(1)->HeaderRect());
    Down(header);
    Hover(Centre(box));
    EXPECT_EQ(Px(bar, box.Left, box.Top), Rgb(row.HeaderHeldCorner)) << row.Name << ": header held";
    Offscreen().MouseUp(At(bar, 2, box.Top - 2));
    Pump();
    Hover({2, 2});
  }
}

TEST_F(NavBarTest, EmptyBarPaintsOnlyBackgroundAndFrame) {
  bar->SetColor(kBack);
  ShowForm();
  EXPECT_EQ(bar->SelectedButton(), -1);
  ExpectPixels({
      {"sunken frame, top left", bar, {0, 0}, clBtnShadow},
      {"sunken frame, bottom right", bar, {119, 179}, clBtnHighlight},
      {"background", bar, {60, 10}, kBack},
      {"background, bottom", bar, {60, 170}, kBack},
  });
}

TEST_F(NavBarTest, HeadersAndBackgroundPicture) {
  Fill(2);
  bar->SetButtonColor(clYellow);
  auto tile = MakeObject<TBitmap>();
  tile->SetSize(8, 8);
  tile->Canvas()->Brush()->SetColor(clPurple);
  tile->Canvas()->FillRect(Rect(0, 0, 8, 8));
  bar->Background()->SetBitmap(tile.get());
  ShowForm();
  TRect one = bar->Groups(0)->HeaderRect();
  TRect two = bar->Groups(1)->HeaderRect();
  EXPECT_EQ(one.Top, 1);
  EXPECT_EQ(two.Bottom, 179) << "the group after the open one stacks at the bottom";
  EXPECT_EQ(one.Height(), bar->ButtonFont()->Size() > 0 ? two.Height() : 0);
  TRect area = bar->ItemArea();
  ExpectPixels({
      {"header face", bar, {one.Left + 3, one.Top + 2}, clYellow},
      {"raised header, top", bar, {one.Left, one.Top}, clBtnHighlight},
      {"raised header, bottom", bar, {one.Right - 1, one.Bottom - 1}, clBtnShadow},
      {"tiled background", bar, {area.Left + 1, area.Bottom - 2}, clPurple},
  });
  EXPECT_TRUE(AnyDark(bar, one)) << "the caption";
}

TEST_F(NavBarTest, ScrollArrowsInBothStyles) {
  Fill(8);
  ShowForm();
  TRect area = bar->ItemArea();
  TRect button = bar->ArrowRect(false);
  Integer s = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(button, Rect(area.Right - 4 - s, area.Bottom - 4 - s, area.Right - 4, area.Bottom - 4));
  EXPECT_EQ(Px(bar, button.Left, button.Top), Rgb(clWhite)) << "raised";
  EXPECT_TRUE(AnyPixel(bar, button, clBlack)) << "the triangle";
  Down(Centre(button));
  EXPECT_EQ(Px(bar, button.Left, button.Top), Rgb(clBlack)) << "sunken while pressed";
  Up(Centre(button));

  bar->SetScrollBtnStyle(sbSlider);
  Pump();
  TRect up = bar->ArrowRect(true);
  TRect down = bar->ArrowRect(false);
  EXPECT_EQ(up, Rect(area.Left, area.Top, area.Right, area.Top + 11));
  EXPECT_EQ(down, Rect(area.Left, area.Bottom - 11, area.Right, area.Bottom));
  EXPECT_EQ(Px(bar, down.Left + 3, down.Top + 3), Rgb(clBtnFace));
  EXPECT_EQ(Px(bar, down.Left, down.Top), Rgb(clBtnHighlight));
  ClickPoint(Centre(up));
  EXPECT_EQ(bar->FirstItem(), 0);
  EXPECT_EQ(bar->ArrowRect(true).Width(), 0);
}

TEST_F(NavBarTest, AcceleratorCharactersAreStripped) {
  Fill(1);
  ShowForm();
  auto captionPixels = [&] {
    std::vector<TColor> px;
    TRect r = Item(0)->CaptionRect();
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) px.push_back(Px(bar, x, y));
    return px;
  };
  Item(0)->SetCaption("File");
  Pump();
  auto plain = captionPixels();
  Item(0)->SetCaption("&File");
  Pump();
  EXPECT_EQ(captionPixels(), plain);
  bar->SetStripAccChar(false);
  Pump();
  EXPECT_NE(captionPixels(), plain) << "the accelerator shows underlined";
}

}  // namespace brevant::test

namespace brevant::test {

TEST_F(NavBarTest, SelectedCaptionUsesSelectedFontAndWrapsWithWordWrap) {
  Fill(2);
  bar->SelectedFont()->SetColor(clRed);
  form->SetClientHeight(250);
  bar->SetHeight(230);
  ShowForm();
  TRect caption = Item(1)->CaptionRect();
  EXPECT_FALSE(AnyPixel(bar, caption, clRed));
  bar->SetSelectedItem(1);
  Pump();
  EXPECT_TRUE(AnyPixel(bar, caption, clRed)) << "the selected caption";
  EXPECT_FALSE(AnyPixel(bar, Item(0)->CaptionRect(), clRed));

  Integer oneLine = caption.Height();
  Integer secondTop = Item(1)->IconRect().Top;
  Item(0)->SetCaption("Vendors and their contracts");
  bar->SetWordWrap(true);
  Pump();
  EXPECT_GT(Item(0)->CaptionRect().Height(), oneLine) << "wrapped onto more lines";
  EXPECT_EQ(Item(1)->IconRect().Top - secondTop, Item(0)->CaptionRect().Height() - oneLine)
      << "the next item moves down by the extra lines";
}

}  // namespace brevant::test
