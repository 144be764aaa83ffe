#include "demo/modules/demo_modules.h"

#include "bv/db_edit.h"
#include "bv_db/obj_dataset.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/pack.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "controls/comctrls.h"
#include "controls/edits.h"
#include "controls/stdctrls.h"
#include "db/client_dataset.h"
#include "db/datasource.h"
#include "db/field_types.h"
#include "db/provider.h"
#include "db/sqlite_table.h"
#include "demo/modules/about_form.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm2.h"
#include "demo/modules/dm3.h"
#include "graphics/imagelist.h"

namespace brevant {

// The generated registration of the modules' form texts.
void RegisterDemoModuleFormTexts();

namespace {

// The modules, owned here: created in start-up order, freed in reverse.
struct TModules {
  TDM* dm = nullptr;            // the data
  TDM2* dm2 = nullptr;          // the live property panels' components
  TDM3* dm3 = nullptr;          // the rich-text drop-down
  TAboutForm* about = nullptr;  // the About box
};

TModules& Modules() {
  static TModules modules;
  return modules;
}

void RegisterDataClasses() {
  RegisterClasses({TSqliteTable::StaticClass(), TClientDataSet::StaticClass(),
                   TDataSetProvider::StaticClass(), TDataSource::StaticClass(),
                   TObjDataSet::StaticClass(), TImageList::StaticClass()});
  RegisterClasses({TIntegerField::StaticClass(), TStringField::StaticClass(),
                   TMemoField::StaticClass(), TDateTimeField::StaticClass(),
                   TCurrencyField::StaticClass(), TBooleanField::StaticClass(),
                   TGraphicField::StaticClass()});
}

void RegisterVisionClasses() {
  RegisterListVisionClasses();
  RegisterStandardVisionClasses();
  RegisterNumericVisionClasses();
  RegisterDateTimeVisionClasses();
  RegisterLookupVisionClasses();
  RegisterVLookupVisionClasses();
  RegisterStateVisionClasses();
  RegisterBlobVisionClasses();
  RegisterLiteDesignerClasses();
  RegisterClass(TStandardDesigner::StaticClass());
}

}  // namespace

TDM* DM() {
  return Modules().dm;
}
TDM2* DM2() {
  return Modules().dm2;
}
TDM3* DM3() {
  return Modules().dm3;
}
TAboutForm* AboutForm() {
  return Modules().about;
}

void RegisterDemoModuleClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterControlClasses();
    RegisterStdControlClasses();
    RegisterEditClasses();
    RegisterDBEditClasses();
    RegisterDefPackClasses();
    RegisterDataClasses();
    RegisterVisionClasses();
    RegisterClasses({TDM::StaticClass(), TDM2::StaticClass(), TDM3::StaticClass(),
                     TAboutForm::StaticClass(), TRichEditAttrs::StaticClass()});
    RegisterDemoModuleFormTexts();
    return true;
  }();
}

void CreateDataModules() {
  TModules& m = Modules();
  if (!m.dm) m.dm = Create<TDM>(nullptr);
  if (!m.dm2) m.dm2 = Create<TDM2>(nullptr);
}

void CreateLateModules() {
  TModules& m = Modules();
  if (!m.dm3) m.dm3 = Create<TDM3>(nullptr);
  if (!m.about) m.about = Create<TAboutForm>(nullptr);
}

void FreeLateModules() {
  TModules& m = Modules();
  FreeAndNil(m.about);
  FreeAndNil(m.dm3);
}

void FreeDemoModules() {
  TModules& m = Modules();
  FreeLateModules();
  FreeAndNil(m.dm2);
  FreeAndNil(m.dm);
}

}  // namespace brevant
