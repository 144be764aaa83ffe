#include "env_page.h"

#include "bv_env/env.h"
#include "bv_env/env_unit.h"
#include "controls/controls.h"
#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"

namespace brevant {

namespace {

// Paints one row per image list: its name, then its pictures at twice the
// spacing of their width.
class TImageListsView : public TGraphicControl {
 public:
  explicit TImageListsView(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    TbvEnv* env = BvEnv();
    if (!env) return;
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clWindow);
    c->FillRect(TRect(0, 0, Width(), Height()));
    Integer y = 8;
    for (TImageList* list :
         {env->ArrowsYwImgs, env->ArrowsGrImgs, env->TitleStateImgs, env->FooterStateImgs,
          env->DesigntimeImgs, env->ToolbarImages, env->BlobMarkers}) {
      c->Font()->SetColor(clWindowText);
      c->TextOut(8, y, list->Name());
      for (Integer i = 0; i < list->Count(); ++i)
        list->Draw(c, 140 + i * (list->Width() + 10), y, i);
      y += 26;
    }
  }
};

}  // namespace

void BuildEnvironmentPage(TForm* gallery, TWinControl* page) {
  auto* view = Create<TImageListsView>(gallery);
  view->SetName("EnvironmentImages");
  view->SetBounds(12, 12, 360, 200);
  view->SetParent(page);
}

}  // namespace brevant
