// TDBQuentaEdit: a data-aware edit that shows and edits one field of a data
// source's current record through a field vision. Without the focus it
// paints its face through the vision, as a grid cell of the same vision
// looks; with the focus it is the platform's mask edit, with the vision's
// mask, length limit and keys, a button strip at its right edge and
// drop-down tool forms. A vision with a custom surface keeps the painted
// face and takes input through keys, switches and buttons only.
#pragma once

#include <memory>

#include "bv/completion_intf.h"
#include "bv/field_list.h"
#include "bv/field_mapper.h"
#include "bv/field_vision_types.h"
#include "bv/tool_form_intf.h"
#include "bv/vision_editor_ext.h"
#include "bv_rtm/border_style.h"
#include "controls/maskedit.h"

namespace brevant {

class TDataLinkEx;
class TDataSource;
class TVisionToolForm;
class TznEditBtnSwitcher;
class TznEditSwitcher;

// The private request the control posts to itself to open its drop-down
// after the current message completes.
inline constexpr Cardinal WM_ZN_DROPDOWN = 0x0400 + 610;

class TDBQuentaEdit : public TCustomMaskEdit,
                      public IznFieldVisionConsumer,
                      public IznVisionEditor,
                      public IznVisionTextEditor,
                      public IznEditorPaintState,
                      public IznCompletingEditor,
                      public IznToolFormEdit {
  BV_CLASS(TDBQuentaEdit, TCustomMaskEdit)
 public:
  explicit TDBQuentaEdit(TComponent* owner);
  ~TDBQuentaEdit() override;
  void BeforeDestruction() override;

  // ---- published ----
  // Kept in the field list for the field mapper.
  const String& Attrs() const { return fieldList_->Attrs(); }
  // Re-applies the mapping when MappingOptions is not empty.
  void SetAttrs(const String& value);
  // What the Mapper may set: the vision (domain) and the caption.
  TtlMappingOptions MappingOptions() const { return mappingOptions_; }
  void SetMappingOptions(TtlMappingOptions value);
  // The field mapper the edit registers with (not owned).
  TznCustomFieldMapper* Mapper() const { return mapper_; }
  void SetMapper(TznCustomFieldMapper* value);
  // Imports the vision (and the caption) from the Mapper for DataField;
  // nothing while loading.
  void ApplyMapping();
  const String& DisplayFormat() const { return fieldList_->DisplayFormat(); }
  // Reloads the text and repaints.
  void SetDisplayFormat(const String& value);
  const String& EditFormat() const { return fieldList_->EditFormat(); }
  void SetEditFormat(const String& value) { fieldList_->SetEditFormat(value); }
  // Empty: the vision's caption. Set by hand while a Mapper is assigned,
  // it is no longer imported.
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  // The field list's FieldNames; a change rebinds.
  const String& DataField() const { return fieldList_->FieldNames(); }
  void SetDataField(const String& value);
  // The assigned vision (nil: the default vision serves).
  TznFieldVision* Vision() const { return vision_; }
  void SetVision(TznFieldVision* value);
  // Not stored when the mapper imports it.
  bool IsVisionStored() const;
  bool IsCaptionStored() const;
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* value);
  // The data link's ReadOnly (the native edit's read-only state follows
  // editing).
  bool ReadOnly() const;
  void SetReadOnly(bool value);
  TznBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TznBorderStyle value);
  // True also clears the edit mask; any change re-creates the window.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  // The context menu; nil: the vision's.
  TComponent* OwnPopupMenu() const { return popupMenu_; }
  void SetOwnPopupMenu(TComponent* value);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TznDrawEditEvent OnDraw;
  TznActionEvent OnAction;  // published for designers; not raised

  // ---- state ----
  TtlFieldList* FieldList() const { return fieldList_.get(); }
  // The vision in use (the assigned one or the default).
  TznFieldVision* EffectiveVision() const { return fieldList_->Vision(); }
  TfvCurrentValue* Value() const { return current_.get(); }
  TDataLinkEx* DataLink() const { return dataLink_.get(); }
  // Has the focus and shows the native edit.
  bool EditState() const { return editState_; }
  // The open tool form, set and cleared by the tool form host.
  TVisionToolForm* ToolForm() const { return toolForm_; }
  // The open drop-down as the edit talks to it (nil when none is open).
  IznToolFormHost* OpenToolForm() const { return toolFormHost_; }
  // 0 without a button.
  Integer ButtonWidth() const { return buttonWidth_; }
  // The button strip in client coordinates (empty without a button): at
  // the right edge, at the left in right-to-left reading.
  TRect ButtonRect() const;
  // Pixels of the control's edge cut off by the window region on each side
  // (the border kind's inset for a standalone control, else 0).
  Integer RegionInset() const;
  const String& PreviousText() const { return previousText_; }
  TznEditBtnSwitcher* ButtonSwitcher() const { return buttonSwitcher_; }
  TznEditSwitcher* SurfaceSwitcher() const { return surfaceSwitcher_; }
  bool InPlace() const { return inPlace_; }

  // ---- operations ----
  // PostEdit of the vision when in EditState, else True.
  bool PostIfEditing();
  // Reloads the text from the fields and selects it all.
  void ResetText();
  // Replaces the text as a set value (spin buttons, calculator); False
  // when not in EditState or no edit could start.
  using TCustomMaskEdit::SetEditText;
  bool SetEditText(const String& text, bool selectAll) override;
  // Opens the vision's drop-down unless a tool form is open.
  void DropDown();
  // Releases the switchers and tells an open tool form which control gets
  // the focus (nil closes it).
  void ReleaseInput(TWinControl* focusTarget);
  void Rebind();
  void Relayout();
  // The writable state: neither the vision's EditReadOnly nor ReadOnly.
  bool Writable();

  // ---- IznFieldVisionConsumer ----
  TComponent* GetComponent() override { return this; }
  bool CanModify() override { return !ReadOnly(); }
  bool CanStartEdit() override;
  void EditStarted() override;
  void ValuePosted() override {}
  bool UpdateTitle() override;
  void UpdatePopupMenu() override;
  void VisionChanged(TznFieldVision* vision) override;
  void FieldsChanged() override { Rebind(); }
  void UpdateActive() override;
  void Invalidate() override { TCustomMaskEdit::Invalidate(); }
  void LayoutChanged() override { Invalidate(); }
  // The strip's width, and the height AutoSize gives a taller glyph.
  void ButtonChanged() override {
    Relayout();
    AdjustHeight();
  }
  void EditStyleChanged() override;

  // ---- IznVisionEditor ----
  TtlFieldList* EditorFieldList() override { return fieldList_.get(); }
  TfvCurrentValue* CurrentValue() override { return current_.get(); }
  String EditorText() override { return EditText(); }
  bool HasEditMask() override { return IsMasked(); }
  bool EditTextValid() override { return IsValidText(); }
  void DiscardPendingKeys() override;
  void ReleaseSwitches() override;
  bool DroppedDown() override { return toolForm_ != nullptr; }
  void OpenDropDown() override { DropDown(); }
  void CloseDropDown(bool accept) override;
  void SelectAllText() override { SelectAll(); }
  void RepaintEditor() override { Invalidate(); }
  bool InGrid() override { return false; }
  bool PostThroughGrid(bool) override { return false; }
  TRect FaceContentRect(const TRect& rect) override;
  TEditCharCase EditCharCase() override { return CharCase(); }
  char32_t EditPasswordChar() override { return PasswordChar(); }
  void DrawFace(TfvPainter* painter) override;
  TfvEditorFace EditorFace() override;

  // ---- IznVisionTextEditor ----
  Integer EditCaret() override { return CaretPos(); }
  void SelectEditText(Integer start, Integer length) override;

  // ---- IznEditorPaintState ----
  bool InEditState() override { return editState_; }
  bool SurfacePressed() override;

  // ---- IznCompletingEditor ----
  bool LastKeyExtends() override { return lastKey_; }

  // ---- IznToolFormEdit ----
  TWinControl* EditControl() override { return this; }
  void SetOpenToolForm(IznToolFormHost* toolForm) override;
  TRect EditButtonRect() override { return ButtonRect(); }

  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

 protected:
  // ---- the overridable key operations ----
  virtual bool CanEditNow() { return true; }
  virtual void EscapePressed();
  virtual bool ReturnPressed(TShiftState shift);
  virtual bool VerticalArrow(bool up, TShiftState shift);
  virtual bool HorizontalArrow(bool) { return false; }
  virtual bool TabPressed(TShiftState shift);
  virtual void ForwardWheel(TMessage&) {}

  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void PaintWindow(TCanvas* canvas) override;
  void Change() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyUp(Word& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void WMCut(TMessage& message) override;
  void WMCopy(TMessage& message) override;
  void WMPaste(TMessage& message) override;
  void WMClear(TMessage& message) override;
  void WMUndo(TMessage& message) override;
  void WMChar(TMessage& message) override;
  void WMSize(TMessage& message) override;
  void WMLButtonDown(TMessage& message) override;
  void WMLButtonDblClk(TMessage& message) override;
  void WMLButtonUp(TMessage& message) override;
  void WMRButtonDown(TMessage& message) override;
  void WMMouseMove(TMessage& message) override;
  void WMMouseWheel(TMessage& message) override;
  void WMSetCursor(TMessage& message) override;
  void WMEraseBkgnd(TMessage& message) override;
  void WMGetDlgCode(TMessage& message) override;
  void WMKillFocus(TMessage& message) override;
  void WMNCCalcSize(TMessage& message) override;
  void WMNCHitTest(TMessage& message) override;
  void WMNCPaint(TMessage& message) override;
  void CNKeyDown(TMessage& message) override;
  void CMDialogChar(TMessage& message) override;
  void CMWantSpecialKey(TMessage& message) override;
  void CMEnter(TMessage& message) override;
  void CMExit(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;
  void CMBiDiModeChanged(TMessage& message) override;
  Integer AutoSizeClientHeight() override;
  Integer AutoSizeFrameHeight() override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;
  void WMDropDownRequest(TMessage& message);

  // ---- for the in-place editor ----
  // Marks the control as a grid's cell editor: no frame, arrows wanted.
  void SetInPlace(bool value) { inPlace_ = value; }
  // A mouse button is being released / the text is being loaded.
  bool ReleasingMouse() const { return releasing_; }
  bool LoadingText() const { return loading_; }
  // Entering edit state loads the edit text and lets the vision set up.
  void SetEditState(bool on);
  void ReloadText();
  // The face without the focus: a bitmap of the client size drawn through
  // the vision and copied in one step.
  virtual void PaintFace(TCanvas* canvas);
  bool CustomSurface() const;
  // While True, Rebind does nothing (a set-up that changes several bindings
  // rebinds once at its end).
  bool rebindSuppressed_ = false;

 private:
  friend class TznEditCustomSwitcher;
  // Marks the value typed into (previous: the text before the change).
  void MarkModified(const String& previous);
  // Step 2 of a text change: the vision completes the typed text.
  void CompleteText();
  // The selection is the tail the last completion added (typing over it
  // goes on completing).
  bool SelectionIsCompletion();
  // The key operations of a key down; True consumes the key.
  bool DispatchKey(Word key, TShiftState shift);
  bool ReturnKey(TShiftState shift);
  bool DownKey(TShiftState shift);
  bool AltDown();
  // Step 2 and 3 of a key down: switches and the custom surface's
  // clipboard keys; True consumes the key.
  bool SwitchOrClipboardKey(Word key, TShiftState shift);
  // A press in the button strip; False when the point is outside it.
  bool ButtonMouseDown(TMessage& message);
  void PostDropDownRequest();
  void PaintButton();
  // The strip in window coordinates, beside the client rectangle.
  TRect ButtonStripInWindow() const;
  Integer ComputeButtonWidth();
  // Starts the edit before a clipboard or undo message when writable.
  void StartEditForMessage();
  // Runs a clipboard action on a drawn surface through the vision alone;
  // False for a text surface.
  bool SurfaceAction(TznEditAction action);
  void LinkActiveChanged(TDataLinkEx* link);
  void LinkDataChanged(TDataLinkEx* link);
  void LinkScrolled(TDataLinkEx* link, Integer distance);
  void LinkRecordChanged(TDataLinkEx* link, TField* field);
  void LinkUpdateData(TDataLinkEx* link);
  void LinkFocusControl(TDataLinkEx* link, TField*& field);

  std::unique_ptr<TDataLinkEx> dataLink_;              // the link to DataSource
  std::unique_ptr<TtlFieldList> fieldList_;            // fields and vision served
  std::unique_ptr<TfvCurrentValue> current_;           // the value being edited
  TznEditBtnSwitcher* buttonSwitcher_ = nullptr;       // presses of the button (owned)
  TznEditSwitcher* surfaceSwitcher_ = nullptr;         // presses of the surface (owned)
  TznFieldVision* vision_ = nullptr;                   // the assigned vision
  TComponent* popupMenu_ = nullptr;                    // the assigned context menu
  TVisionToolForm* toolForm_ = nullptr;                // the open tool form
  IznToolFormHost* toolFormHost_ = nullptr;            // the same form, as the edit talks to it
  String caption_;                                     // the assigned caption
  TtlMappingOptions mappingOptions_{eioImportDomain};  // what the mapper may import
  TznCustomFieldMapper* mapper_ = nullptr;             // not owned; cleared when freed
  bool mapping_ = false;                               // ApplyMapping runs
  TznBorderStyle borderStyle_ = bs3D;                  // border kind
  bool wordWrap_ = false;                              // lines wrap
  bool wantTabs_ = false;                              // Tab stays in the control
  bool wantReturns_ = false;                           // Return is a new line
  bool editState_ = false;                             // focused, native edit shown
  Integer buttonWidth_ = 0;                            // width of the button strip
  String previousText_;                                // the text after the last accepted change
  bool loading_ = false;                               // the text is being loaded
  bool changeLock_ = false;                            // typed or pasted over a selection
  String completedText_;                               // the text the last completion left
  Integer completedStart_ = 0;                         // where its added tail starts
  Integer completedLength_ = 0;                        // the length of that tail
  bool completing_ = false;                            // a text change is being handled
  bool lastKey_ = false;                               // the last key was no deletion
  bool dropping_ = false;                              // a drop-down is being opened
  bool releasing_ = false;                             // a mouse button is being released
  bool pressedByMouse_ = false;                        // the button took the focus by mouse
  bool inPlace_ = false;                               // the grid's in-place editor
};

// Makes the edit class known to form streams.
void RegisterDBEditClasses();

}  // namespace brevant
