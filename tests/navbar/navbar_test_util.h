// Helpers of the navigation bar tests: a shown bar with groups and items,
// an image list of solid icons, and mouse and key steps that pump.
#pragma once

#include "controls/stdctrls_test_util.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "navbar/nav_bar.h"

namespace brevant::test {

class NavBarTest : public StdCtrlsTest {
 protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    RegisterNavBarClasses();
    bar = Add<TNavBar>(form, "Bar", Bounds(10, 10, 120, 180));
    bar->SetSmoothScrolling(false);
    images = IconList(form, 32, {clLime, clBlue, clYellow});
  }

  // A list of icons filled with one colour each.
  static TImageList* IconList(TComponent* owner, Integer size,
                              std::initializer_list<TColor> colors) {
    auto* list = Create<TImageList>(owner);
    list->SetSize(size, size);
    auto bmp = MakeObject<TBitmap>();
    bmp->SetSize(size, size);
    for (TColor c : colors) {
      bmp->Canvas()->Brush()->SetColor(c);
      bmp->Canvas()->FillRect(Rect(0, 0, size, size));
      list->Add(bmp.get(), nullptr);
    }
    return list;
  }

  // Two groups: "One" with `items` items "Item0".. and "Two" with two.
  void Fill(Integer items) {
    bar->SetImages(images);
    TNavBarItems* one = bar->AddGroup("One");
    for (Integer i = 0; i < items; ++i) {
      TNavBarItem* item = one->Add();
      item->SetCaption("Item" + std::to_string(i));
      item->SetImageIndex(i % 3);
    }
    TNavBarItems* two = bar->AddGroup("Two");
    two->Add()->SetCaption("Alpha");
    two->Add()->SetCaption("Beta");
  }

  TNavBarItem* Item(Integer i) const { return bar->OpenGroup()->Items(i); }
  static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

  void Down(TPoint p) {
    Offscreen().MouseMove(At(bar, p.X, p.Y));
    Offscreen().MouseDown(At(bar, p.X, p.Y));
    Pump();
  }
  void Up(TPoint p) {
    Offscreen().MouseUp(At(bar, p.X, p.Y));
    Pump();
  }
  void ClickPoint(TPoint p) {
    Down(p);
    Up(p);
  }
  void ClickHeader(Integer group) { ClickPoint(Centre(bar->Groups(group)->HeaderRect())); }
  void ClickIcon(Integer item) { ClickPoint(Centre(Item(item)->IconRect())); }
  void ClickCaption(Integer item) { ClickPoint(Centre(Item(item)->CaptionRect())); }
  void Hover(TPoint p) {
    Offscreen().MouseMove(At(bar, p.X, p.Y));
    Pump();
  }
  // Advances the virtual clock in small steps so timers fire in between.
  void Advance(Cardinal ms) {
    for (Cardinal t = 0; t < ms; t += 5) {
      Offscreen().Advance(5);
      Pump();
    }
  }

  TNavBar* bar = nullptr;
  TImageList* images = nullptr;
};

}  // namespace brevant::test
