#include "demo/modules/demo_images.h"

#include <algorithm>
#include <vector>

#include "bv_rtm/picture_kit.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"

namespace brevant {

namespace {

constexpr TColor kLightGrey = 0xE8E8E8;
constexpr TColor kSteel = 0xB48246;

// A table of cols x rows cells inside r, the title row filled.
void Table(TCanvas* c, const TRect& r, Integer cols, Integer rows, TColor lines, TColor title) {
  UsePenAndFill(c, lines, clWhite);
  c->Rectangle(r);
  const Integer h = (r.Bottom - r.Top) / rows;
  c->Brush()->SetColor(title);
  c->FillRect(TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Top + h));
  for (Integer i = 1; i < rows; ++i) DrawLine(c, r.Left, r.Top + i * h, r.Right - 1, r.Top + i * h);
  const Integer w = (r.Right - r.Left) / cols;
  for (Integer i = 1; i < cols; ++i)
    DrawLine(c, r.Left + i * w, r.Top, r.Left + i * w, r.Bottom - 1);
}

const TRect kGridRect(2, 3, 22, 21);

void PlainGrid(TCanvas* c) {
  Table(c, kGridRect, 3, 4, clNavy, clSilver);
}
void ThinGrid(TCanvas* c) {
  Table(c, kGridRect, 3, 4, clSilver, kLightGrey);
}

void RaisedGrid(TCanvas* c) {
  Table(c, kGridRect, 3, 4, clGray, clBtnFace);
  c->Pen()->SetColor(clWhite);
  for (Integer x : {3, 9, 15}) DrawLine(c, x, 4, x, 7);
  DrawLine(c, 3, 4, 21, 4);
}

void TwoGrids(TCanvas* c) {
  Table(c, TRect(1, 2, 10, 22), 1, 5, clNavy, clSilver);
  Table(c, TRect(14, 2, 23, 22), 1, 5, clNavy, clSilver);
  UsePenAndFill(c, clMaroon, clRed);
  c->Polygon({{9, 10}, {13, 10}, {13, 8}, {16, 12}, {13, 16}, {13, 14}, {9, 14}});
}

void MagnifiedGrid(TCanvas* c) {
  ThinGrid(c);
  UsePenAndFill(c, clBlack, clAqua);
  c->Pen()->SetWidth(2);
  c->Ellipse(8, 7, 18, 17);
  DrawLine(c, 16, 16, 22, 22);
  c->Pen()->SetWidth(1);
}

void PinnedGrid(TCanvas* c) {
  PlainGrid(c);
  UsePenAndFill(c, clNavy, clYellow);
  c->Rectangle(3, 8, 8, 20);
  UsePenAndFill(c, clMaroon, clRed);
  c->Ellipse(2, 0, 8, 6);
}

// A small edit box with a button at its right edge.
void EditBox(TCanvas* c, TColor button) {
  UsePenAndFill(c, clGray, clWhite);
  c->Rectangle(1, 7, 23, 17);
  UsePenAndFill(c, clGray, button);
  c->Rectangle(16, 8, 22, 16);
}

// Lines of "text" in colour inside r.
void TextLines(TCanvas* c, const TRect& r, TColor colour) {
  c->Pen()->SetColor(colour);
  for (Integer y = r.Top; y < r.Bottom; y += 3) DrawLine(c, r.Left, y, r.Right, y);
}

void DropArrow(TCanvas* c, Integer x, Integer y) {
  UsePenAndFill(c, clBlack, clBlack);
  c->Polygon({{x, y}, {x + 4, y}, {x + 2, y + 2}});
}

void CalendarPage(TCanvas* c) {
  UsePenAndFill(c, clNavy, clWhite);
  c->Rectangle(3, 3, 21, 21);
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect(4, 4, 20, 8));
  c->Pen()->SetColor(clGray);
  for (Integer y = 11; y < 20; y += 3)
    for (Integer x = 6; x < 19; x += 4) c->Rectangle(x, y, x + 2, y + 2);
}

void Clock(TCanvas* c) {
  UsePenAndFill(c, clNavy, clWhite);
  c->Ellipse(2, 2, 22, 22);
  c->Pen()->SetWidth(2);
  DrawLine(c, 12, 12, 12, 6);
  DrawLine(c, 12, 12, 17, 14);
  c->Pen()->SetWidth(1);
}

void Digits(TCanvas* c) {
  EditBox(c, clBtnFace);
  UsePenAndFill(c, clNavy, clNavy);
  for (Integer x : {4, 8, 12}) c->Rectangle(x, 9, x + 2, 15);
}

void CheckMark(TCanvas* c) {
  UsePenAndFill(c, clGray, clWhite);
  c->Rectangle(4, 4, 20, 20);
  c->Pen()->SetColor(clGreen);
  c->Pen()->SetWidth(2);
  c->Polyline({{7, 12}, {10, 16}, {17, 7}});
  c->Pen()->SetWidth(1);
}

void States(TCanvas* c) {
  UsePenAndFill(c, clGreen, clLime);
  c->Ellipse(2, 3, 11, 12);
  UsePenAndFill(c, clMaroon, clRed);
  c->Ellipse(13, 3, 22, 12);
  UsePenAndFill(c, clOlive, clYellow);
  c->Ellipse(7, 13, 16, 22);
}

void Brush(TCanvas* c) {
  UsePenAndFill(c, clNavy, kLightGrey);
  c->Rectangle(2, 2, 22, 22);
  UsePenAndFill(c, clMaroon, clRed);
  c->Ellipse(5, 5, 13, 13);
  UsePenAndFill(c, clGreen, clLime);
  c->Rectangle(11, 11, 19, 19);
}

void MemoPage(TCanvas* c) {
  UsePenAndFill(c, clGray, clWhite);
  c->Rectangle(4, 2, 20, 22);
  TextLines(c, TRect(6, 5, 18, 20), clNavy);
}

void TextPage(TCanvas* c) {
  MemoPage(c);
  UsePenAndFill(c, clGray, clBtnFace);
  c->Rectangle(14, 16, 22, 23);
  DropArrow(c, 16, 19);
}

void Landscape(TCanvas* c, const TRect& r) {
  UsePenAndFill(c, clNavy, clSkyBlue);
  c->Rectangle(r);
  UsePenAndFill(c, clGreen, clGreen);
  c->Polygon({{r.Left + 1, r.Bottom - 2}, {r.Left + 7, r.Top + 8}, {r.Right - 2, r.Bottom - 2}});
  UsePenAndFill(c, clOlive, clYellow);
  c->Ellipse(r.Right - 8, r.Top + 2, r.Right - 3, r.Top + 7);
}

void Picture(TCanvas* c) {
  Landscape(c, TRect(2, 3, 22, 21));
}

void PictureDropDown(TCanvas* c) {
  Landscape(c, TRect(1, 1, 18, 17));
  EditBox(c, clBtnFace);
  DropArrow(c, 17, 11);
}

void ToolForm(TCanvas* c) {
  EditBox(c, clBtnFace);
  DropArrow(c, 17, 11);
  UsePenAndFill(c, clNavy, clWhite);
  c->Rectangle(5, 16, 23, 24);
}

void ObjectCube(TCanvas* c) {
  UsePenAndFill(c, clNavy, clSkyBlue);
  c->Polygon({{12, 2}, {22, 7}, {12, 12}, {2, 7}});
  c->Brush()->SetColor(kSteel);
  c->Polygon({{2, 7}, {12, 12}, {12, 22}, {2, 17}});
  c->Brush()->SetColor(clNavy);
  c->Polygon({{12, 12}, {22, 7}, {22, 17}, {12, 22}});
}

}  // namespace

void AddGridIcons(TImageList* list) {
  AddDrawnPicture(list, PlainGrid);
  AddDrawnPicture(list, ThinGrid);
  AddDrawnPicture(list, RaisedGrid);
  AddDrawnPicture(list, TwoGrids);
  AddDrawnPicture(list, MagnifiedGrid);
  AddDrawnPicture(list, PinnedGrid);
}

void AddFieldVisionIcons(TImageList* list) {
  // Lite, standard, date, time, numeric, lookup by value, lookup, x-state,
  // check box, owner-draw, memo, text, image, picture.
  AddDrawnPicture(list, [](TCanvas* c) { EditBox(c, clWhite); });
  AddDrawnPicture(list, [](TCanvas* c) {
    EditBox(c, clBtnFace);
    DropArrow(c, 17, 11);
  });
  AddDrawnPicture(list, CalendarPage);
  AddDrawnPicture(list, Clock);
  AddDrawnPicture(list, Digits);
  AddDrawnPicture(list, [](TCanvas* c) {
    EditBox(c, clBtnFace);
    DropArrow(c, 17, 11);
    UsePenAndFill(c, clGreen, clLime);
    c->Ellipse(3, 9, 9, 15);
  });
  AddDrawnPicture(list, [](TCanvas* c) {
    EditBox(c, clBtnFace);
    DropArrow(c, 17, 11);
    TextLines(c, TRect(3, 10, 13, 14), clNavy);
  });
  AddDrawnPicture(list, States);
  AddDrawnPicture(list, CheckMark);
  AddDrawnPicture(list, Brush);
  AddDrawnPicture(list, MemoPage);
  AddDrawnPicture(list, TextPage);
  AddDrawnPicture(list, Picture);
  AddDrawnPicture(list, PictureDropDown);
}

void AddMiscIcons(TImageList* list) {
  AddDrawnPicture(list, ToolForm);
  AddDrawnPicture(list, ObjectCube);
}

void AddCoolStar(TImageList* list) {
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clOlive, clYellow);
    c->Polygon(
        {{8, 0}, {10, 5}, {15, 6}, {11, 9}, {12, 15}, {8, 12}, {4, 15}, {5, 9}, {1, 6}, {6, 5}});
  });
}

void AddIndustryIcons(TImageList* list) {
  // 0 computer hardware: a monitor.
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clBlack, clTeal);
    c->Rectangle(1, 2, 15, 11);
    UsePenAndFill(c, clBlack, clGray);
    c->Rectangle(5, 12, 11, 14);
  });
  // 1 medical services: a red cross.
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clRed, clRed);
    c->Rectangle(6, 2, 10, 14);
    c->Rectangle(2, 6, 14, 10);
  });
  // 2 auto and truck: a car.
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clNavy, clBlue);
    c->Rectangle(1, 7, 15, 12);
    c->Rectangle(4, 4, 11, 8);
    UsePenAndFill(c, clBlack, clBlack);
    c->Ellipse(2, 10, 6, 14);
    c->Ellipse(10, 10, 14, 14);
  });
  // 3 hotel: a house.
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clMaroon, clRed);
    c->Polygon({{8, 1}, {15, 7}, {1, 7}});
    UsePenAndFill(c, clMaroon, clCream);
    c->Rectangle(3, 7, 13, 15);
  });
  // 4 computer software: a disk.
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clBlack, clNavy);
    c->Rectangle(2, 2, 14, 14);
    UsePenAndFill(c, clBlack, clWhite);
    c->Rectangle(4, 2, 12, 7);
  });
  // 5 telecommunications: a mast with waves.
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clGreen, clGreen);
    DrawLine(c, 8, 4, 8, 15);
    DrawLine(c, 4, 15, 8, 8);
    DrawLine(c, 12, 15, 8, 8);
    c->Brush()->SetStyle(bsClear);
    c->Ellipse(4, 0, 12, 8);
  });
  // 6 aerospace: a plane.
  AddDrawnPicture(list, [](TCanvas* c) {
    UsePenAndFill(c, clGray, clSilver);
    c->Polygon({{8, 0},
                {9, 6},
                {15, 9},
                {9, 9},
                {9, 13},
                {11, 15},
                {5, 15},
                {7, 13},
                {7, 9},
                {1, 9},
                {7, 6}});
  });
}

void DrawMailGlyph(TBitmap* glyph) {
  glyph->SetSize(12, 12);
  TCanvas* c = glyph->Canvas();
  FillPictureGround(c, 12, 12);
  UsePenAndFill(c, clBlack, clWhite);
  c->Rectangle(0, 2, 12, 10);
  c->Polyline({{0, 2}, {6, 7}, {12, 2}});
  glyph->SetTransparentColor(kPictureKey);
}

void DrawPhoneGlyph(TBitmap* glyph) {
  glyph->SetSize(12, 12);
  TCanvas* c = glyph->Canvas();
  FillPictureGround(c, 12, 12);
  UsePenAndFill(c, clBlack, clBlack);
  c->Rectangle(0, 1, 4, 4);
  c->Rectangle(8, 1, 12, 4);
  c->Rectangle(2, 3, 10, 5);
  c->Rectangle(2, 6, 10, 11);
  glyph->SetTransparentColor(kPictureKey);
}

void DrawSplash(TBitmap* picture, Integer width, Integer height) {
  picture->SetSize(width, height);
  TCanvas* c = picture->Canvas();
  c->Brush()->SetStyle(bsSolid);
  for (Integer y = 0; y < height; ++y) {
    const Integer shade = 200 - 140 * y / std::max<Integer>(1, height - 1);
    c->Brush()->SetColor(RGB(shade / 3, shade / 2, shade));
    c->FillRect(TRect(0, y, width, y + 1));
  }
}

void DrawAboutEmblem(TBitmap* picture, Integer size) {
  picture->SetSize(size, size);
  TCanvas* c = picture->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clNavy);
  c->FillRect(TRect(0, 0, size, size));
  const Integer cell = size / 4;
  UsePenAndFill(c, clWhite, clNavy);
  for (Integer i = 0; i < 4; ++i) {
    DrawLine(c, 0, i * cell, size, i * cell);
    DrawLine(c, i * cell, 0, i * cell, size);
  }
  c->Brush()->SetColor(clYellow);
  c->FillRect(TRect(cell + 1, cell + 1, 2 * cell, 2 * cell));
}

}  // namespace brevant
