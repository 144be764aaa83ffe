#include "bv_env/env_images.h"

#include <vector>

#include "bv_rtm/picture_kit.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"

namespace brevant {

namespace {

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
  UsePenAndFill(c, edge, clWhite);
  c->Rectangle(3, 1, 13, 15);
  if (!lines) return;
  c->Pen()->SetColor(clNavy);
  for (Integer y = 4; y <= 10; y += 3) DrawLine(c, 5, y, 11, y);
}

// A picture frame, with a landscape when it holds one.
void Frame(TCanvas* c, TColor edge, bool landscape) {
  UsePenAndFill(c, edge, clWhite);
  c->Rectangle(1, 2, 15, 14);
  if (!landscape) return;
  UsePenAndFill(c, clGreen, clGreen);
  c->Polygon({{2, 12}, {6, 7}, {9, 10}, {11, 8}, {13, 12}});
  UsePenAndFill(c, clOlive, clYellow);
  c->Ellipse(10, 3, 14, 7);
}

}  // namespace

void AddDragArrows(TImageList* list, TColor face, TColor edge) {
  for (Integer turns = 0; turns < 4; ++turns)
    AddDrawnPicture(list, [&](TCanvas* c) {
      UsePenAndFill(c, edge, face);
      const std::vector<TPoint> points = Arrow(turns);
      c->Polygon(points);
    });
}

void AddTitleStateImages(TImageList* list) {
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clGray, clGray);
    c->Polygon({{1, 7}, {9, 7}, {5, 1}});
  });
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clGray, clGray);
    c->Polygon({{1, 1}, {9, 1}, {5, 7}});
  });
}

void AddFooterStateImages(TImageList* list) {
  AddDrawnPicture(list, [](TCanvas* c) {  // average: a barred x
    UsePenAndFill(c, clNavy, clNavy);
    DrawLine(c, 3, 3, 14, 3);
    DrawLine(c, 4, 6, 12, 14);
    DrawLine(c, 11, 6, 3, 14);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // count: a number sign
    UsePenAndFill(c, clNavy, clNavy);
    DrawLine(c, 6, 2, 5, 15);
    DrawLine(c, 10, 2, 9, 15);
    DrawLine(c, 2, 6, 15, 6);
    DrawLine(c, 2, 10, 15, 10);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // maximum: up to a bar
    UsePenAndFill(c, clGreen, clGreen);
    DrawLine(c, 2, 2, 15, 2);
    c->Polygon({{3, 13}, {13, 13}, {8, 5}});
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // minimum: down to a bar
    UsePenAndFill(c, clMaroon, clMaroon);
    DrawLine(c, 2, 14, 15, 14);
    c->Polygon({{3, 3}, {13, 3}, {8, 11}});
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // sum: a sigma
    UsePenAndFill(c, clNavy, clNavy);
    c->Polyline({{12, 3}, {3, 3}, {8, 8}, {3, 13}, {13, 13}});
  });
}

void AddDesigntimeImages(TImageList* list) {
  AddDrawnPicture(list, [](TCanvas* c) {  // grid
    UsePenAndFill(c, clNavy, clWhite);
    c->Rectangle(1, 2, 15, 14);
    DrawLine(c, 1, 6, 15, 6);
    DrawLine(c, 1, 10, 15, 10);
    DrawLine(c, 6, 2, 6, 14);
    DrawLine(c, 10, 2, 10, 14);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // field vision: an eye
    UsePenAndFill(c, clBlack, clWhite);
    c->Ellipse(1, 4, 15, 12);
    UsePenAndFill(c, clNavy, clNavy);
    c->Ellipse(5, 5, 11, 11);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // designer: a palette
    UsePenAndFill(c, clOlive, clYellow);
    c->Ellipse(1, 2, 15, 14);
    UsePenAndFill(c, clRed, clRed);
    c->Rectangle(4, 5, 7, 8);
    UsePenAndFill(c, clBlue, clBlue);
    c->Rectangle(9, 5, 12, 8);
    UsePenAndFill(c, clGreen, clGreen);
    c->Rectangle(6, 9, 9, 12);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // text display
    UsePenAndFill(c, clGray, clSilver);
    c->Rectangle(1, 3, 15, 13);
    c->Pen()->SetColor(clBlack);
    DrawLine(c, 3, 6, 13, 6);
    DrawLine(c, 3, 9, 10, 9);
  });
}

void AddToolbarImages(TImageList* list) {
  AddDrawnPicture(list, [](TCanvas* c) {  // cut
    UsePenAndFill(c, clNavy, clWhite);
    DrawLine(c, 5, 10, 11, 1);
    DrawLine(c, 11, 10, 5, 1);
    c->Ellipse(2, 10, 7, 15);
    c->Ellipse(9, 10, 14, 15);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // copy
    UsePenAndFill(c, clNavy, clWhite);
    c->Rectangle(1, 1, 10, 11);
    c->Rectangle(6, 5, 15, 15);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // paste
    UsePenAndFill(c, clMaroon, clOlive);
    c->Rectangle(2, 2, 14, 15);
    UsePenAndFill(c, clBlack, clGray);
    c->Rectangle(5, 1, 11, 4);
    UsePenAndFill(c, clNavy, clWhite);
    c->Rectangle(6, 6, 14, 15);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // clear
    UsePenAndFill(c, clRed, clRed);
    c->Pen()->SetWidth(2);
    DrawLine(c, 3, 3, 13, 13);
    DrawLine(c, 13, 3, 3, 13);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // load: a folder
    UsePenAndFill(c, clOlive, clYellow);
    c->Polygon({{1, 4}, {6, 4}, {7, 6}, {14, 6}, {14, 13}, {1, 13}});
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // save: a disk
    UsePenAndFill(c, clBlack, clNavy);
    c->Rectangle(1, 1, 15, 15);
    UsePenAndFill(c, clBlack, clWhite);
    c->Rectangle(4, 1, 12, 6);
    UsePenAndFill(c, clBlack, clSilver);
    c->Rectangle(4, 9, 12, 15);
  });
  AddDrawnPicture(list, [](TCanvas* c) {  // preview: a magnifier
    UsePenAndFill(c, clNavy, clWhite);
    c->Ellipse(1, 1, 11, 11);
    c->Pen()->SetWidth(2);
    DrawLine(c, 9, 9, 14, 14);
  });
}

void AddBlobMarkers(TImageList* list) {
  AddDrawnPicture(list, [](TCanvas* c) { Page(c, clBlack, true); });
  AddDrawnPicture(list, [](TCanvas* c) { Page(c, clGray, false); });
  AddDrawnPicture(list, [](TCanvas* c) { Frame(c, clBlack, true); });
  AddDrawnPicture(list, [](TCanvas* c) { Frame(c, clGray, false); });
}

}  // namespace brevant
