// Helpers of the demonstration module tests: the stock units started once
// for the binary, and a fixture that runs each test in a fresh folder
// holding a copy of the generated database (Data/data.db), with the four
// modules created as the program creates them.
#pragma once

#include "controls/controls_test_util.h"
#include "rtl/types.h"

namespace brevant {
class TDataSet;
class TDBQuentaEdit;
class TDataSource;
class TznFieldVision;
}  // namespace brevant

namespace brevant::test {

class DemoModulesTest : public ControlsTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A shown data-aware edit on the form over field of source with vision.
  TDBQuentaEdit* AddEdit(TDataSource* source, const String& field, TznFieldVision* vision,
                         TRect bounds = TRect(10, 10, 210, 31));
  // Moves dataSet to the first record whose field has the value's text.
  static void Goto(TDataSet* dataSet, const String& field, const String& value);
  // The database file the modules opened.
  String DatabaseFile() const { return folder_ + "/Data/data.db"; }

 private:
  String folder_;    // the test's working folder
  String previous_;  // the working folder before the test
};

}  // namespace brevant::test
