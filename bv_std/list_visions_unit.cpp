// Start-up of the list visions: their classes become known to form streams
// and LiteVision becomes the default vision of every consumer.
#include "bv_std/list_visions_standard.h"
#include "bv_std/lookup_visions_v.h"

namespace brevant {

void StartListVisionsUnit() {
  RegisterToolFormVisionClasses();
  RegisterListVisionClasses();
  RegisterStandardVisionClasses();
  RegisterLookupVisionClasses();
  RegisterVLookupVisionClasses();
  InstallLiteVision();
}

}  // namespace brevant
