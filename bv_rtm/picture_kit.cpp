#include "bv_rtm/picture_kit.h"

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"

namespace brevant {

void FillPictureGround(TCanvas* c, Integer width, Integer height) {
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(kPictureKey);
  c->FillRect(TRect(0, 0, width, height));
  c->Pen()->SetWidth(1);
}

void AddDrawnPicture(TImageList* list, const std::function<void(TCanvas*)>& draw) {
  TBitmap picture;
  picture.SetSize(list->Width(), list->Height());
  FillPictureGround(picture.Canvas(), list->Width(), list->Height());
  draw(picture.Canvas());
  list->AddMasked(&picture, kPictureKey);
}

void UsePenAndFill(TCanvas* c, TColor pen, TColor fill) {
  c->Pen()->SetColor(pen);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(fill);
}

void DrawLine(TCanvas* c, Integer x1, Integer y1, Integer x2, Integer y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

}  // namespace brevant
