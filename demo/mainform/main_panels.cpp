#include "demo/mainform/main_panels.h"

namespace brevant {

void BuildMainFormPanels(TForm*) {}

}  // namespace brevant
