// The fixture of the default pack's drop-down tests: the pack started, a
// shown form holding a data-aware edit (and a second one to take the
// focus) over a small dataset, real keys and clicks, and the open tool
// form's window.
#pragma once

#include <functional>

#include "bv/db_edit.h"
#include "bv_std/pack.h"
#include "bv_vtf/tool_form.h"
#include "bv_vtf/tool_form_bg.h"
#include "controls/forms_test_util.h"
#include "controls/test_hooks.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/mem_dataset.h"

namespace brevant::test {

class PackTest : public FormsTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A focused edit on field of source through vision.
  TDBQuentaEdit* Edit(TDataSource* source, const String& field, TznFieldVision* vision);
  static void Key(Word vk, Byte mods = 0) {
    Offscreen().PressKey(vk, mods);
    Pump();
  }
  static void Type(const String& s) {
    Offscreen().TypeText(s);
    Pump();
  }
  // Opens a focusable drop-down with Alt+Down (byButton: a click on the
  // edit's button); inside its modal loop act gives the input, which is
  // handled before the loop ends.
  void RunFocusable(std::function<void()> act, bool byButton = false);
  // Clicks the edit's button.
  void ClickEditButton();
  // Runs act once the modal loop has handled all input so far (act must
  // give more input or close the drop-down).
  static void WhenIdle(std::function<void()> act);
  // Clicks control's client point (x, y) on the screen.
  static void ClickOn(TControl* control, Integer x, Integer y);
  // The colour at a client point of a control lying on an open tool form.
  static TColor PixelOn(TVisionToolForm* tf, TControl* control, Integer x, Integer y);

  TbvDefPack* pack = nullptr;      // the started pack
  TDBQuentaEdit* edit = nullptr;   // the edit under test
  TDBQuentaEdit* other = nullptr;  // takes the focus away (created by Edit)
};

}  // namespace brevant::test
