#include <gtest/gtest.h>

#include "classes/typinfo.h"
#include "graphics/imagelist.h"
#include "graphics_test_util.h"

using namespace brevant;
using brevant::test::TSurface;

namespace {

// A strip of three 10 x 9 images on fuchsia: image i has a black square at (i, i).
TObjectPtr<TBitmap> Strip() {
  TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
  b->SetSize(30, 9);
  b->Canvas()->Brush()->SetColor(clFuchsia);
  b->Canvas()->FillRect(Rect(0, 0, 30, 9));
  b->Canvas()->Brush()->SetColor(clBlack);
  for (Integer i = 0; i < 3; ++i) b->Canvas()->FillRect(Rect(10 * i + i, i, 10 * i + i + 3, i + 3));
  return b;
}

}  // namespace

TEST(ImageList, AddMaskedSplitsAStripAndDrawsMasked) {
  TObjectPtr<TImageList> list = MakeObject<TImageList>(nullptr);
  EXPECT_EQ(list->Width(), 16);
  list->SetSize(10, 9);
  auto strip = Strip();
  EXPECT_EQ(list->AddMasked(strip.get(), clFuchsia), 0);
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->AddMasked(strip.get(), clDefault), 3);  // bottom-left pixel: fuchsia
  EXPECT_EQ(list->Count(), 6);
  TSurface s(20, 20);
  list->Draw(s.Canvas(), 5, 5, 1);
  EXPECT_EQ(s.CountNot(Rect(0, 0, 20, 20), clWhite), 9);
  EXPECT_EQ(s.At(6, 6), clBlack);
  EXPECT_EQ(s.At(8, 8), clBlack);
  list->Draw(s.Canvas(), 0, 0, 6);  // out of range: nothing
  list->Draw(s.Canvas(), 0, 0, -1);
  EXPECT_EQ(s.CountNot(Rect(0, 0, 20, 20), clWhite), 9);
  // Unmasked drawing shows the whole cell; a background colour fills masked pixels.
  list->SetMasked(false);
  list->Draw(s.Canvas(), 0, 10, 0);
  EXPECT_EQ(s.At(9, 18), clFuchsia);
  list->SetMasked(true);
  list->SetBkColor(clYellow);
  list->Draw(s.Canvas(), 10, 10, 0);
  EXPECT_EQ(s.At(19, 18), clYellow);
  EXPECT_EQ(s.At(10, 10), clBlack);

  TObjectPtr<TBitmap> out = MakeObject<TBitmap>();
  list->GetBitmap(2, out.get());
  EXPECT_EQ(out->Width(), 10);
  EXPECT_EQ(out->Canvas()->Pixels(2, 2), clBlack);
  EXPECT_EQ(out->Canvas()->Pixels(0, 0), clYellow);
}

TEST(ImageList, AddWithMaskDisabledLookDeleteAndClear) {
  TObjectPtr<TImageList> list = MakeObject<TImageList>(nullptr);
  list->SetSize(4, 4);
  TObjectPtr<TBitmap> image = MakeObject<TBitmap>();
  image->SetSize(4, 4);
  image->Canvas()->Brush()->SetColor(clRed);
  image->Canvas()->FillRect(Rect(0, 0, 4, 4));
  TObjectPtr<TBitmap> mask = MakeObject<TBitmap>();
  mask->SetSize(4, 4);  // white: transparent
  mask->Canvas()->Brush()->SetColor(clBlack);
  mask->Canvas()->FillRect(Rect(0, 0, 2, 2));  // black: opaque
  EXPECT_EQ(list->Add(image.get(), mask.get()), 0);
  EXPECT_EQ(list->Add(image.get(), nullptr), 1);
  TSurface s(12, 12);
  list->Draw(s.Canvas(), 0, 0, 0);
  EXPECT_EQ(s.CountNot(Rect(0, 0, 12, 12), clWhite), 4);
  EXPECT_EQ(s.At(1, 1), clRed);
  // Disabled: the dark shape embossed, never in its own colours.
  list->Draw(s.Canvas(), 6, 6, 1, false);
  EXPECT_EQ(s.At(6, 6), ColorToRGB(clBtnShadow));
  EXPECT_EQ(s.At(10, 10), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(s.CountNot(Rect(6, 6, 11, 11), clRed), 25);

  EXPECT_THROW(list->Delete(2), EInvalidGraphicOperation);
  list->Delete(0);
  EXPECT_EQ(list->Count(), 1);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->Add(nullptr, nullptr), -1);
  list->Add(image.get(), nullptr);
  list->SetWidth(8);  // a new size empties the list
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(GetPropInfo(list.get(), "Width")->Default, 16);
  EXPECT_EQ(GetPropInfo(list.get(), "BkColor")->PropType->Name, "TColor");
}

TEST(ImageList, ChangeLinksNotifyAndDetach) {
  TObjectPtr<TImageList> list = MakeObject<TImageList>(nullptr);
  list->SetSize(10, 9);
  TChangeLink* a = Create<TChangeLink>();
  TChangeLink* b = Create<TChangeLink>();
  int na = 0, nb = 0, own = 0;
  a->OnChange = TNotifyEvent::FromCallable([&](TObject* sender) {
    EXPECT_EQ(sender, list.get());
    ++na;
  });
  b->OnChange = TNotifyEvent::FromCallable([&](TObject*) { ++nb; });
  list->OnChange = TNotifyEvent::FromCallable([&](TObject*) { ++own; });
  list->RegisterChanges(a);
  list->RegisterChanges(b);
  list->RegisterChanges(a);  // once only
  EXPECT_EQ(a->Sender(), list.get());
  auto strip = Strip();
  list->AddMasked(strip.get(), clFuchsia);
  EXPECT_EQ(na, 1);
  EXPECT_EQ(nb, 1);
  EXPECT_EQ(own, 1);
  list->UnRegisterChanges(b);
  EXPECT_EQ(b->Sender(), nullptr);
  list->Delete(0);
  EXPECT_EQ(na, 2);
  EXPECT_EQ(nb, 1);
  a->Free();  // a freed link leaves the list
  list->Clear();
  EXPECT_EQ(own, 3);
  list->RegisterChanges(b);
  list.reset();  // a freed list clears its links' sender
  EXPECT_EQ(b->Sender(), nullptr);
  b->Free();
}
