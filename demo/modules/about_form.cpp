#include "demo/modules/about_form.h"

#include "classes/rtti_builder.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/os_services.h"
#include "controls/stdctrls.h"
#include "demo/modules/demo_images.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "graphics/picture.h"

namespace brevant {

BV_PUBLISH(TAboutForm, TForm) {
  p.Method<TNotifyEvent, &TAboutForm::FormCreate>("FormCreate");
  p.Method<TNotifyEvent, &TAboutForm::FormPaint>("FormPaint");
  p.Method<TNotifyEvent, &TAboutForm::lbWebClick>("lbWebClick");
}

void TAboutForm::Loaded() {
  TForm::Loaded();
  BindComponent(this, "pnBand", pnBand);
  BindComponent(this, "imgEmblem", imgEmblem);
  BindComponent(this, "imgGridPicture", imgGridPicture);
  BindComponent(this, "lbTitle", lbTitle);
  BindComponent(this, "lbText", lbText);
  BindComponent(this, "lbWeb", lbWeb);
  BindComponent(this, "btnOK", btnOK);
}

void TAboutForm::FormCreate(TObject*) {
  DrawAboutEmblem(imgEmblem->Picture()->Bitmap(), imgEmblem->Width());
  DrawAboutEmblem(imgGridPicture->Picture()->Bitmap(), imgGridPicture->Width());
  lbWeb->Font()->SetColor(clNavy);
  lbWeb->Font()->SetStyle(lbWeb->Font()->Style() + fsUnderline);
}

void TAboutForm::FormPaint(TObject*) {
  TCanvas* c = Canvas();
  c->Pen()->SetColor(kLineColor);
  c->Pen()->SetWidth(1);
  const Integer width = ClientWidth();
  for (Integer y = 0; y < ClientHeight(); y += 3) {
    c->MoveTo(0, y);
    c->LineTo(width, y);
  }
}

void TAboutForm::lbWebClick(TObject*) {
  ShellOpen(lbWeb->Caption());
}

}  // namespace brevant
