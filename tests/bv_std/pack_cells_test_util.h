// The fixture of the default pack's tests on grid cells: a dataset of one
// record (date, number, colour, memo and picture fields), a focused grid
// with one column whose in-place editor is shown, and its drop-down driven
// inside its modal loop.
#pragma once

#include <functional>
#include <vector>

#include "bv/columns.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "controls/application.h"
#include "graphics/colors.h"
#include "pack_test_util.h"
#include "rtl/datetime.h"

namespace brevant::test {

class PackCellsTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("At", ftDateTime);
    ds->FieldDefs()->Add("Amount", ftFloat);
    ds->FieldDefs()->Add("Tint", ftInteger);
    ds->FieldDefs()->Add("Notes", ftMemo);
    ds->FieldDefs()->Add("Pic", ftGraphic);
    ds->AppendRow({VarFromDateTime(kStart), Variant(5.0), Integer(clRed), "first line", Null()});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
  }
  // A focused grid with one column on field through vision, its editor
  // shown on the first record.
  void EditCell(const String& field, TznFieldVision* vision) {
    cells = Create<TDBTabulon>(form);
    cells->SetBounds(10, 80, 300, 150);
    cells->SetParent(form);
    TtlColumn* column = cells->Columns()->Add();
    column->SetFieldName(field);
    column->SetVision(vision);
    cells->SetDataSource(src);
    form->Show();
    Pump();
    cells->SetFocus();
    Key(VK_HOME);
    Key(VK_F2);
    ASSERT_TRUE(cells->EditorShown());
  }
  // Drops the cell's drop-down with Alt+Down; act gives the input inside
  // its modal loop once it is idle.
  // (byButton: a click on the editor's button).
  void RunDropDown(std::function<void()> act, bool byButton = false) {
    ScriptAction("VisionToolForm", [act](TObject*) { WhenIdle(act); });
    if (!byButton) return Key(VK_DOWN, bmAlt);
    TtlInplaceEdit* editor = cells->InplaceEditor();
    const TRect b = editor->EditButtonRect();
    ClickOn(editor, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    Pump();
  }
  // Return closes the cell's editor, then posts the record.
  void PostCell() {
    Key(VK_RETURN);
    Key(VK_RETURN);
  }
  // Clicks the middle of a control.
  static void ClickControl(TControl* c) { ClickOn(c, c->Width() / 2, c->Height() / 2); }
  // Clicks the form beside the grid, outside any drop-down.
  void ClickOutside() { ClickOn(form, 200, 30); }
  TField* Field(const char* name) const { return ds->FieldByName(name); }
  String CellText() const { return cells->InplaceEditor()->EditText(); }
  // Replaces the cell editor's text by typed text.
  static void Retype(const String& text) {
    Key(VK_HOME);
    Key(VK_END, bmShift);
    Type(text);
  }
  // Messages of the errors the application handled.
  void CatchErrors() {
    Application()->OnException = TExceptionEvent::FromCallable(
        [this](TObject*, const Exception& e) { errors.push_back(e.Message()); });
  }
  void TearDown() override {
    Application()->OnException = {};
    PackTest::TearDown();
  }

  // 15 March 2024, 10:30.
  const TDateTime kStart = ComposeDateTime(EncodeDate(2024, 3, 15), EncodeTime(10, 30, 0, 0));
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TDBTabulon* cells = nullptr;
  std::vector<String> errors;  // messages of handled errors
};

}  // namespace brevant::test
