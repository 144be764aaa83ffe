#include "bv_gcc/customizer_unit.h"

#include "bv/tabulon.h"
#include "bv_gcc/customizer.h"
#include "controls/application.h"

namespace brevant {

static TbvTabulonCustomizer*& OpenOne() {
  static TbvTabulonCustomizer* open = nullptr;
  return open;
}

TbvTabulonCustomizer* OpenedCustomizer() {
  return OpenOne();
}

void ForgetCustomizer(TbvTabulonCustomizer* customizer) {
  if (OpenOne() == customizer) OpenOne() = nullptr;
}

TRect& CustomizerBounds() {
  static TRect bounds = Bounds(240, 100, 224, 340);
  return bounds;
}

void OpenCustomizer(TDBTabulon* grid, const String& names, const String& captions,
                    const String& shown, bool showHidden) {
  if (TbvTabulonCustomizer* open = OpenOne()) {
    open->SetReplaced(true);
    OpenOne() = nullptr;
    open->Close();
  }
  RegisterCustomizerClasses();
  auto* customizer = Create<TbvTabulonCustomizer>(Application());
  OpenOne() = customizer;
  customizer->Setup(grid, names, captions, shown, showHidden);
  customizer->Show();
}

void StartCustomizerUnit() {
  RegisterCustomizerClasses();
  CustomizerHook = OpenCustomizer;
}

void StopCustomizerUnit() {
  CustomizerHook = nullptr;
  TObject::Free(OpenOne());
  OpenOne() = nullptr;
}

}  // namespace brevant
