// The demonstration's modules as a unit: registering their classes and
// form texts, creating them in the program's start-up order (DM, DM2, then,
// after the main form, DM3 and the About form) and freeing them in reverse.
// The modules open Data/data.db under the working folder.
#pragma once

namespace brevant {

class TAboutForm;
class TDM;
class TDM2;
class TDM3;

// The live modules, nil before creation and after freeing.
TDM* DM();
TDM2* DM2();
TDM3* DM3();
TAboutForm* AboutForm();

// Makes the modules' classes, the classes their form texts use and the
// form texts themselves known (idempotent).
void RegisterDemoModuleClasses();
// DM then DM2: the data the main form's grids find open.
void CreateDataModules();
// DM3 then the About form, created after the main form.
void CreateLateModules();
// Frees the About form, then DM3 (before the main form goes).
void FreeLateModules();
// Frees whatever exists, the About form first and DM last.
void FreeDemoModules();

// The four modules for the length of a scope.
class TDemoModulesUnit {
 public:
  TDemoModulesUnit() {
    RegisterDemoModuleClasses();
    CreateDataModules();
    CreateLateModules();
  }
  ~TDemoModulesUnit() { FreeDemoModules(); }
  TDemoModulesUnit(const TDemoModulesUnit&) = delete;
  TDemoModulesUnit& operator=(const TDemoModulesUnit&) = delete;
};

}  // namespace brevant
