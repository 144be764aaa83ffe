// The fixture of the tool form tests: a shown form with an edit control
// that plays the data-aware edit's part towards a drop-down (key hand-over,
// Escape, Return, Tab, Alt+Down, its button, focus loss), a vision that
// opens the tool form as the drop-down visions do and logs what the host
// asks of it, and a tool form designed on a panel of the form.
#pragma once

#include <set>
#include <string>

#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/tool_form_intf.h"
#include "bv_vtf/tool_form.h"
#include "bv_vtf/tool_form_bg.h"
#include "controls/edits.h"
#include "controls/forms_test_util.h"

namespace brevant::test {

// Opens vision->DropDown for the edit; logs "vision SetToolForm <on|nil>",
// "vision PostEdit", "vision PostOrMove".
class TDropVision : public TznFieldVision, public IVisionToolFormUser {
  BV_CLASS(TDropVision, TznFieldVision)
 public:
  explicit TDropVision(TComponent* owner) : TznFieldVision(owner) {}
  TVisionToolForm* DropDown = nullptr;  // the tool form it opens
  std::set<Integer> dropReasons;        // CanDropDown answers True for these
  IVisionToolForm* open = nullptr;      // what SetToolForm reported last
  bool failSetToolForm = false;         // SetToolForm(non-nil) raises

  TVisionToolForm* GetDropDown() override { return DropDown; }
  bool CanDropDown(Integer reason) override { return dropReasons.count(reason) != 0; }
  void ShowDropDown(IznVisionEditor* editor, TVisionToolForm* toolForm) override;

  TDataSource* GetListSource() override { return nullptr; }
  void SetToolForm(IVisionToolForm* toolForm) override;
  bool PostEdit(IznVisionEditor* editor, bool selectAll) override;
  bool PostOrMove(IznVisionEditor* editor, bool selectAll) override;
};

// An edit control over a field list: its text is its caption, a 16-pixel
// button strip sits at its right edge. Logs "edit key <vk>", "edit press",
// "edit button", "edit open <on|nil>", "edit grid post".
class TDropEdit : public TCustomControl,
                  public IznFieldVisionConsumer,
                  public IznVisionEditor,
                  public IznToolFormEdit {
  BV_CLASS(TDropEdit, TCustomControl)
 public:
  explicit TDropEdit(TComponent* owner);
  ~TDropEdit() override;

  TtlFieldList& Fields() { return *fields_; }
  IznToolFormHost* OpenToolForm() const { return toolForm_; }
  bool inGrid = false;  // plays the in-place editor

  // IznFieldVisionConsumer
  TComponent* GetComponent() override { return this; }
  bool CanModify() override { return true; }
  bool CanStartEdit() override { return true; }
  void EditStarted() override {}
  void ValuePosted() override {}
  bool UpdateTitle() override { return false; }
  void UpdatePopupMenu() override {}
  void VisionChanged(TznFieldVision*) override {}
  void FieldsChanged() override {}
  void UpdateActive() override {}
  void Invalidate() override { TCustomControl::Invalidate(); }
  void LayoutChanged() override {}
  void ButtonChanged() override {}
  void EditStyleChanged() override {}

  // IznVisionEditor
  TtlFieldList* EditorFieldList() override { return fields_.get(); }
  TfvCurrentValue* CurrentValue() override { return &current_; }
  String EditorText() override { return Text(); }
  bool HasEditMask() override { return false; }
  bool EditTextValid() override { return true; }
  void DiscardPendingKeys() override {}
  void ReleaseSwitches() override {}
  bool DroppedDown() override { return toolForm_ != nullptr; }
  void OpenDropDown() override;
  void CloseDropDown(bool accept) override;
  void SelectAllText() override {}
  void RepaintEditor() override {}
  bool InGrid() override { return inGrid; }
  bool PostThroughGrid(bool selectAll) override;
  TRect FaceContentRect(const TRect& rect) override { return rect; }
  TEditCharCase EditCharCase() override { return ecNormal; }
  char32_t EditPasswordChar() override { return 0; }
  void DrawFace(TfvPainter*) override {}
  TfvEditorFace EditorFace() override { return {Font(), clWhite, Focused(), false, Enabled()}; }

  // IznToolFormEdit
  TWinControl* EditControl() override { return this; }
  void SetOpenToolForm(IznToolFormHost* toolForm) override;
  TRect EditButtonRect() override;

 protected:
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WndProc(TMessage& message) override;

 private:
  std::unique_ptr<TtlFieldList> fields_;
  TfvCurrentValue current_;
  IznToolFormHost* toolForm_ = nullptr;  // the open drop-down
};

class ToolFormTest : public FormsTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Focuses the edit and opens the drop-down through the vision (Alt+Down
  // would do the same).
  void Open();
  // Keys and clicks as a user gives them, then everything they caused.
  static void Key(Word vk, Byte modifiers = 0) {
    Offscreen().PressKey(vk, modifiers);
    Pump();
  }
  static void Click(TPoint p) {
    ClickAt(p);
    Pump();
  }
  // Logs every event of the tool form as "tf <event>".
  void LogEvents();
  // The background form's outer rectangle on the screen.
  TRect BgRect() const;

  TDropEdit* edit = nullptr;
  TDropVision* vision = nullptr;
  TPanel* pack = nullptr;  // where the tool form is designed
  TVisionToolForm* tf = nullptr;
  TProbe* inner = nullptr;  // a control on the tool form
  TEdit* other = nullptr;   // another control of the form (takes focus on a click)
};

}  // namespace brevant::test
