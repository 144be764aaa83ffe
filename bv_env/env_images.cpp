#include "bv_env/env_images.h"

#include <vector>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"

namespace brevant {

namespace {

// Pixels of this colour are transparent; no picture uses it.
constexpr TColor kKey = clFuchsia;

// Draws one picture of the list's size on a transparent ground and
// appends it.
template <class F>
void AddPicture(TImageList* list, F&& draw) {
  TBitmap picture;
  picture.SetSize(list->Width(), list->Height());
  TCanvas* c = picture.Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(kKey);
  c->FillRect(TRect(0, 0, list->Width(), list->Height()));
  c->Pen()->SetWidth(1);
  draw(c);
  list->AddMasked(&picture, kKey);
}

void UseColors(TCanvas* c, TColor pen, TColor fill) {
  c->Pen()->SetColor(pen);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(fill);
}

void Line(TCanvas* c, Integer x1, Integer y1, Integer x2, Integer y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

// The arrow pointing right, turned a quarter clockwise `turns` times
// inside a 15 x 15 square.
std::vector<TPoint> Arrow(Integer turns) {
  std::vector<TPoint> points{{1, 5}, {7, 5}, {7, 1}, {13, 7}, {7, 13}, {7, 9}, {1, 9}};
  for (TPoint& p : points) {
    for (Integer i = 0; i < turns; ++i) p = TPoint{14 - p.Y, p.X};
  }
  return points;
}

// A page with or without lines of text.
void Page(TCanvas* c, TColor edge, bool lines) {
  UseColors(c, edge, clWhite);
  c->Rectangle(3, 1, 13, 15);
  if (!lines) return;
  c->Pen()->SetColor(clNavy);
  for (Integer y = 4; y <= 10; y += 3) Line(c, 5, y, 11, y);
}

// A picture frame, with a landscape when it holds one.
void Frame(TCanvas* c, TColor edge, bool landscape) {
  UseColors(c, edge, clWhite);
  c->Rectangle(1, 2, 15, 14);
  if (!landscape) return;
  UseColors(c, clGreen, clGreen);
  c->Polygon({{2, 12}, {6, 7}, {9, 10}, {11, 8}, {13, 12}});
  UseColors(c, clOlive, clYellow);
  c->Ellipse(10, 3, 14, 7);
}

}  // namespace

void AddDragArrows(TImageList* list, TColor face, TColor edge) {
  for (Integer turns = 0; turns < 4; ++turns)
    AddPicture(list, [&](TCanvas* c) {
      UseColors(c, edge, face);
      const std::vector<TPoint> points = Arrow(turns);
      c->Polygon(points);
    });
}

void AddTitleStateImages(TImageList* list) {
  AddPicture(list, [](TCanvas* c) {
    UseColors(c, clGray, clGray);
    c->Polygon({{1, 7}, {9, 7}, {5, 1}});
  });
  AddPicture(list, [](TCanvas* c) {
    UseColors(c, clGray, clGray);
    c->Polygon({{1, 1}, {9, 1}, {5, 7}});
  });
}

void AddFooterStateImages(TImageList* list) {
  AddPicture(list, [](TCanvas* c) {  // average: a barred x
    UseColors(c, clNavy, clNavy);
    Line(c, 3, 3, 14, 3);
    Line(c, 4, 6, 12, 14);
    Line(c, 11, 6, 3, 14);
  });
  AddPicture(list, [](TCanvas* c) {  // count: a number sign
    UseColors(c, clNavy, clNavy);
    Line(c, 6, 2, 5, 15);
    Line(c, 10, 2, 9, 15);
    Line(c, 2, 6, 15, 6);
    Line(c, 2, 10, 15, 10);
  });
  AddPicture(list, [](TCanvas* c) {  // maximum: up to a bar
    UseColors(c, clGreen, clGreen);
    Line(c, 2, 2, 15, 2);
    c->Polygon({{3, 13}, {13, 13}, {8, 5}});
  });
  AddPicture(list, [](TCanvas* c) {  // minimum: down to a bar
    UseColors(c, clMaroon, clMaroon);
    Line(c, 2, 14, 15, 14);
    c->Polygon({{3, 3}, {13, 3}, {8, 11}});
  });
  AddPicture(list, [](TCanvas* c) {  // sum: a sigma
    UseColors(c, clNavy, clNavy);
    c->Polyline({{12, 3}, {3, 3}, {8, 8}, {3, 13}, {13, 13}});
  });
}

void AddDesigntimeImages(TImageList* list) {
  AddPicture(list, [](TCanvas* c) {  // grid
    UseColors(c, clNavy, clWhite);
    c->Rectangle(1, 2, 15, 14);
    Line(c, 1, 6, 15, 6);
    Line(c, 1, 10, 15, 10);
    Line(c, 6, 2, 6, 14);
    Line(c, 10, 2, 10, 14);
  });
  AddPicture(list, [](TCanvas* c) {  // field vision: an eye
    UseColors(c, clBlack, clWhite);
    c->Ellipse(1, 4, 15, 12);
    UseColors(c, clNavy, clNavy);
    c->Ellipse(5, 5, 11, 11);
  });
  AddPicture(list, [](TCanvas* c) {  // designer: a palette
    UseColors(c, clOlive, clYellow);
    c->Ellipse(1, 2, 15, 14);
    UseColors(c, clRed, clRed);
    c->Rectangle(4, 5, 7, 8);
    UseColors(c, clBlue, clBlue);
    c->Rectangle(9, 5, 12, 8);
    UseColors(c, clGreen, clGreen);
    c->Rectangle(6, 9, 9, 12);
  });
  AddPicture(list, [](TCanvas* c) {  // text display
    UseColors(c, clGray, clSilver);
    c->Rectangle(1, 3, 15, 13);
    c->Pen()->SetColor(clBlack);
    Line(c, 3, 6, 13, 6);
    Line(c, 3, 9, 10, 9);
  });
}

void AddToolbarImages(TImageList* list) {
  AddPicture(list, [](TCanvas* c) {  // cut
    UseColors(c, clNavy, clWhite);
    Line(c, 5, 10, 11, 1);
    Line(c, 11, 10, 5, 1);
    c->Ellipse(2, 10, 7, 15);
    c->Ellipse(9, 10, 14, 15);
  });
  AddPicture(list, [](TCanvas* c) {  // copy
    UseColors(c, clNavy, clWhite);
    c->Rectangle(1, 1, 10, 11);
    c->Rectangle(6, 5, 15, 15);
  });
  AddPicture(list, [](TCanvas* c) {  // paste
    UseColors(c, clMaroon, clOlive);
    c->Rectangle(2, 2, 14, 15);
    UseColors(c, clBlack, clGray);
    c->Rectangle(5, 1, 11, 4);
    UseColors(c, clNavy, clWhite);
    c->Rectangle(6, 6, 14, 15);
  });
  AddPicture(list, [](TCanvas* c) {  // clear
    UseColors(c, clRed, clRed);
    c->Pen()->SetWidth(2);
    Line(c, 3, 3, 13, 13);
    Line(c, 13, 3, 3, 13);
  });
  AddPicture(list, [](TCanvas* c) {  // load: a folder
    UseColors(c, clOlive, clYellow);
    c->Polygon({{1, 4}, {6, 4}, {7, 6}, {14, 6}, {14, 13}, {1, 13}});
  });
  AddPicture(list, [](TCanvas* c) {  // save: a disk
    UseColors(c, clBlack, clNavy);
    c->Rectangle(1, 1, 15, 15);
    UseColors(c, clBlack, clWhite);
    c->Rectangle(4, 1, 12, 6);
    UseColors(c, clBlack, clSilver);
    c->Rectangle(4, 9, 12, 15);
  });
  AddPicture(list, [](TCanvas* c) {  // preview: a magnifier
    UseColors(c, clNavy, clWhite);
    c->Ellipse(1, 1, 11, 11);
    c->Pen()->SetWidth(2);
    Line(c, 9, 9, 14, 14);
  });
}

void AddBlobMarkers(TImageList* list) {
  AddPicture(list, [](TCanvas* c) { Page(c, clBlack, true); });
  AddPicture(list, [](TCanvas* c) { Page(c, clGray, false); });
  AddPicture(list, [](TCanvas* c) { Frame(c, clBlack, true); });
  AddPicture(list, [](TCanvas* c) { Frame(c, clGray, false); });
}

}  // namespace brevant
