#include "demo/demo_test_util.h"

#include <unistd.h>

#include <filesystem>

#include "bv/db_edit.h"
#include "bv_env/env_unit.h"
#include "bv_std/list_visions.h"
#include "bv_std/lite_designer.h"
#include "bv_std/pack.h"
#include "bv_std/standard_designer.h"
#include "controls/os_services.h"
#include "controls/test_hooks.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "demo/modules/demo_modules.h"
#include "rtl/numconv.h"

namespace brevant::test {

namespace {

// The stock units the program starts before its modules, for the whole
// binary.
class TStockUnits : public ::testing::Environment {
 public:
  void SetUp() override {
    Offscreen();
    InitEnvironment();
    StartListVisionsUnit();
    StartStandardDesignerUnit();
    RegisterLiteDesignerClasses();
    StartDefPackUnit();
    RegisterDemoModuleClasses();
  }
  void TearDown() override {
    StopDefPackUnit();
    DoneEnvironment();
  }
};

[[maybe_unused]] const auto* g_units = ::testing::AddGlobalTestEnvironment(new TStockUnits);

}  // namespace

void DemoModulesTest::SetUp() {
  ControlsTest::SetUp();
  ClearScriptedAnswers();
  ModalLog().clear();
  SetRecordOsRequests(true);
  RecordedOsRequests().clear();
  folder_ = "/tmp/bv_demo_modules_" + IntToStr(getpid());
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_ + "/Data");
  std::filesystem::copy_file(BV_DEMO_DB, DatabaseFile());
  previous_ = CurrentFolder();
  SetCurrentFolder(folder_);
  CreateDataModules();
  CreateLateModules();
}

void DemoModulesTest::TearDown() {
  FreeDemoModules();
  SetCurrentFolder(previous_);
  std::filesystem::remove_all(folder_);
  RecordedOsRequests().clear();
  ClearScriptedAnswers();
  ControlsTest::TearDown();
}

TDBQuentaEdit* DemoModulesTest::AddEdit(TDataSource* source, const String& field,
                                        TznFieldVision* vision, TRect bounds) {
  auto* edit = Create<TDBQuentaEdit>(form);
  edit->SetBoundsRect(bounds);
  edit->SetParent(form);
  edit->SetVision(vision);
  edit->SetDataField(field);
  edit->SetDataSource(source);
  Pump();
  return edit;
}

void DemoModulesTest::Goto(TDataSet* dataSet, const String& field, const String& value) {
  for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
    if (dataSet->FieldByName(field)->AsString() == value) return;
  ADD_FAILURE() << "no record with " << field << " = " << value;
}

}  // namespace brevant::test
