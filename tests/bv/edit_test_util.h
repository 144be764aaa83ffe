// Helpers of the data-aware edit tests: a shown form holding edits bound to
// an in-memory table of every field type, real key and mouse input, a
// vision that logs its button actions and answers drop-down requests, and
// an open drop-down that stands in for the tool form host.
#pragma once

#include <vector>

#include "bv/db_edit.h"
#include "bv/field_vision.h"
#include "controls/controls_test_util.h"
#include "db/datasource.h"
#include "db/mem_dataset.h"

namespace brevant::test {

// A vision that logs "click <kind>", "show", "key <vk>" and answers
// CanDropDown from dropReasons; GetDropDown names a stand-in tool form.
class TLogVision : public TznFieldVision {
  BV_CLASS(TLogVision, TznFieldVision)
 public:
  explicit TLogVision(TComponent* owner = nullptr) : TznFieldVision(owner) {}
  void ButtonClick(IznVisionEditor* editor) override;
  void ShowDropDown(IznVisionEditor* editor, TVisionToolForm* form) override;
  bool CanDropDown(Integer reason) override;
  TVisionToolForm* GetDropDown() override;
  void EditAction(IznVisionEditor* editor, TznEditAction action) override;
  std::vector<String> log;
  std::vector<Integer> dropReasons;  // reasons answered True
  // The log joined with ", ", then cleared.
  String Take();
};

// The tool form host's part: an open drop-down that logs closing and text
// changes; closing forgets it in the edit.
class TToolFormHostStub : public IznToolFormHost {
 public:
  void Close(bool accept, bool postAndMove) override;
  void KeyDown(Word&, TShiftState) override {}
  void FocusChanged(TWinControl* control) override;
  void CurrentChanged() override {}
  void TextChanged() override { log.push_back("text"); }
  TVisionToolForm* GetToolForm() override;
  TDBTabulon* DataGrid() const override { return nullptr; }
  TfvCurrentValue* CurrentValue() const override { return nullptr; }
  void SetChanged(bool) override {}
  // Opens the stand-in on edit.
  void Open(TDBQuentaEdit* on);
  TDBQuentaEdit* edit = nullptr;  // the edit the form is open on
  std::vector<String> log;
};

// A stand-in for an open tool form (never dereferenced).
TVisionToolForm* FakeToolForm();

class EditTest : public ControlsTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // An edit on field of the table at (10, 10), 120 x 21, shown.
  TDBQuentaEdit* AddEdit(const String& field, TRect bounds = Bounds(10, 10, 120, 21));
  void Show();
  void Type(const String& s);
  void Key(Word vk, Byte mods = 0);
  void Click(TControl* c, Integer x, Integer y);
  // The record's field as text.
  String Value(const String& field);
  TColor Px(TWinControl* c, Integer x, Integer y);

  TMemDataSet* ds = nullptr;       // ID, Name(10), Amount, Debit, Born; records 1..3
  TDataSource* src = nullptr;      // the edits' source
  TDBQuentaEdit* edit = nullptr;   // the first edit added
  TDBQuentaEdit* other = nullptr;  // a second edit, to move the focus to
  TToolFormHostStub link;
};

// An edit on Name through a logging vision with a button, and a second
// edit on ID to move the focus to.
class ButtonEditTest : public EditTest {
 protected:
  void Build(TznButtonStyle style, bool dropDown = false) {
    vision.reset(Create<TLogVision>(nullptr));
    vision->SetEnableButton(true);
    vision->SetButtonStyle(style);
    vision->SetEnableDropDown(dropDown);
    AddEdit("Name");
    edit->SetVision(vision.get());
    AddEdit("ID", Bounds(10, 40, 120, 21));
    Show();
  }
  void TearDown() override {
    if (edit) edit->SetVision(nullptr);
    EditTest::TearDown();
  }
  TObjectPtr<TLogVision> vision;  // the edit's vision
};

}  // namespace brevant::test
