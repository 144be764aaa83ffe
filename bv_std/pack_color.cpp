// The colour picker vision of the default pack: a pick list of the colour
// names the platform knows, each drawn with a swatch of its colour; typed
// names or numbers post as colours, a double click opens the colour dialog.
#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_std/pack.h"
#include "controls/dialogs.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "rtl/numconv.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// The colour a text names: a colour identifier, else an integer.
bool TextToColor(const String& text, TColor& color) {
  if (IdentToColor(text, color)) return true;
  Integer value = 0;
  if (!TryStrToInt(text, value)) return false;
  color = TColor(value);
  return true;
}

// A swatch of the colour the painter's text names, outlined in black,
// inside the image rectangle less one pixel; nothing for text naming no
// colour or a colour not set.
void DrawSwatch(TfvPainter* painter) {
  TColor color = clNone;
  if (!TextToColor(painter->Text(), color) || color == clNone) return;
  TRect r = painter->ImageRect();
  InflateRect(r, -1, -1);
  if (IsRectEmpty(r)) return;
  TCanvas* canvas = painter->Canvas();
  const TColor pen = canvas->Pen()->Color(), brush = canvas->Brush()->Color();
  const TBrushStyle style = canvas->Brush()->Style();
  const TScopeGuard restore([&] {
    canvas->Pen()->SetColor(pen);
    canvas->Brush()->SetColor(brush);
    canvas->Brush()->SetStyle(style);
  });
  canvas->Pen()->SetColor(clBlack);
  canvas->Brush()->SetColor(color);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Rectangle(r);
}

}  // namespace

void TbvDefPack::ColorPickerGetText(TObject*, TtlFieldList* fields, bool, String& value) {
  TField* main = fields->MainField();
  value = main && !main->IsNull() ? ColorToString(TColor(main->AsInteger())) : String();
}

void TbvDefPack::ColorPickerBeforePost(TObject*, TtlFieldList* fields, TtlFieldValue* value,
                                       bool& posted) {
  TField* main = fields->MainField();
  if (!main) return;
  const String text = Trim(value->AsString());
  TColor color = clNone;
  if (!text.empty() && !IdentToColor(text, color)) color = TColor(StrToInt(text));
  main->SetAsInteger(Integer(color));
  posted = true;
}

void TbvDefPack::ColorPickerDraw(TObject*, TtlFieldList*, TtlPainter* painter) {
  DrawSwatch(painter);
}

void TbvDefPack::ColorPickerDrawEdit(TObject*, TtlFieldList*, TfvPainter* painter) {
  DrawSwatch(painter);
}

void TbvDefPack::ColorPickerDblClick(TObject*, TtlFieldList* fields) {
  TField* main = fields->MainField();
  if (!main) return;
  TObjectPtr<TColorDialog> dialog(Create<TColorDialog>(nullptr));
  dialog->SetColor(main->IsNull() ? clBlack : TColor(main->AsInteger()));
  if (dialog->Execute() && fields->Edit()) main->SetAsInteger(Integer(dialog->Color()));
}

}  // namespace brevant
