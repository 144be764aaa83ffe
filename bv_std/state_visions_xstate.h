// TXStateVision shows a field as one of any number of states (TXState
// items of its TXStates collection), each with a text and images, and steps
// through the switchable ones by click or key, or picks one from the
// default pack's drop-down list of the states.
#pragma once

#include "bv_std/list_visions.h"
#include "bv_std/state_visions_types.h"
#include "classes/collection.h"
#include "graphics/colors.h"
#include "graphics/font.h"

namespace brevant {

class TXStateVision;

// One state: the field text that selects it, its text and images.
class TXState : public TCollectionItem {
  BV_CLASS(TXState, TCollectionItem)
 public:
  explicit TXState(TCollection* collection = nullptr);

  // "(Empty)", "NULL: text" or "value: text".
  String DisplayName() const override;
  // Copies all nine properties.
  void Assign(const TPersistent* source) override;

  const String& DisplayText() const { return displayText_; }
  void SetDisplayText(const String& value);
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer value);
  Integer PushedImageIndex() const { return pushedImageIndex_; }
  void SetPushedImageIndex(Integer value);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor value);
  TFontStyles FontStyle() const { return fontStyle_; }
  void SetFontStyle(TFontStyles value);
  // Setting it clears NullValue.
  const String& FieldValue() const { return fieldValue_; }
  void SetFieldValue(const String& value);
  // Setting it True clears FieldValue and the first other null state.
  bool NullValue() const { return nullValue_; }
  void SetNullValue(bool value);
  bool Switchable() const { return switchable_; }
  void SetSwitchable(bool value);
  bool InDropDownList() const { return inDropDownList_; }
  void SetInDropDownList(bool value);

 private:
  String displayText_;             // text shown for the state
  Integer imageIndex_ = -1;        // image in the vision's Images
  Integer pushedImageIndex_ = -1;  // image while pressed, -1: ImageIndex
  TColor fontColor_ = clNone;      // stored only
  TFontStyles fontStyle_;          // stored only
  String fieldValue_;              // field text selecting the state
  bool nullValue_ = false;         // the state stands for null
  bool switchable_ = true;         // switching may land here
  bool inDropDownList_ = true;     // stored only
};

// The states of one TXStateVision; every change repaints its consumers.
class TXStates : public TOwnedCollection {
  BV_CLASS(TXStates, TOwnedCollection)
 public:
  explicit TXStates(TXStateVision* vision = nullptr);
  TXState* Items(Integer index) const;
  TXState* Add();
  TXStateVision* Vision() const { return vision_; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TXStateVision* vision_;  // the owning vision
};

class TXStateVision : public TDataListVision {
  BV_CLASS(TXStateVision, TDataListVision)
 public:
  explicit TXStateVision(TComponent* owner = nullptr);
  ~TXStateVision() override;

  // The state matching the fields (first null state for null, else the
  // first with the exact field text), -1 when none.
  Integer FindState(TtlFieldList* fields);
  // The state found by the last GetText, -1 for none.
  Integer CurrentState() const { return currentState_; }

  void GetText(TtlFieldList* fields, bool displayText, String& text) override;
  void PrepareDraw(TtlFieldList* fields, TfvPainter* painter) override;
  void DrawContent(TtlFieldList* fields, TfvPainter* painter) override;
  void CheckFields(TtlFieldList* fields, bool& active) override;
  void LoadCurrentValue(IznVisionEditor* editor) override;
  void SwitchByKey(IznVisionEditor* editor, bool& posted) override;
  void SwitchByMouse(IznVisionEditor* editor, bool& posted) override;
  void CanSwitchByKey(IznVisionEditor* editor, Word key, bool& allow, TShiftState shift) override;
  TAlignment GetAlignment(TtlFieldList* fields) override;
  bool WantArrows() override;
  bool IsValidChar(TtlFieldList* fields, char32_t key) override;
  Integer GetMaxLength(TtlFieldList* fields) override;
  // The field of the drop-down list's object dataset the list shows.
  static String ListFieldName() { return "DisplayText"; }
  // The editor's object dataset shows the states.
  void InitEdit(IznVisionEditor* editor) override;
  void GetListFieldName(TtlFieldList* fields, String& name) override;
  TDataSource* GetListSource(TtlFieldList* fields) override;
  // lcPickRecord: the list's FieldValue; lcNull: null.
  void ApplyListChoice(IznVisionEditor* editor, Integer choice) override;
  using TDataListVision::GetListSource;

  // Key (with shift state) that switches; 0 none.
  Word SwitchKey() const { return switchKey_; }
  void SetSwitchKey(Word value) { switchKey_ = value; }
  // True also makes the surface custom.
  void SetEnableSwitches(bool value);
  // vskEdit also turns switching off.
  void SetSurfaceKind(TfvSurfaceKind value);
  TXStates* States() const { return states_; }
  // Copies the states.
  void SetStates(TXStates* value);
  // Images of the drop-down list (else Images); not owned.
  TImageList* DropDownImages() const { return dropDownImages_; }
  void SetDropDownImages(TImageList* value);

  // Copies the x-state properties and the states too.
  void Assign(const TPersistent* source) override;
  // The states changed: the consumers repaint.
  void StatesChanged();

  TfvGetStrValueEvent OnGetValue;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Steps to the next switchable state and posts it.
  void Step(IznVisionEditor* editor, bool& posted);
  // The next switchable state after from (wrapping when from matched).
  Integer NextSwitchable(Integer from) const;

  TXStates* states_;                      // the states (owned)
  Word switchKey_ = 32;                   // Space
  TImageList* dropDownImages_ = nullptr;  // drop-down list images (not owned)
  Integer currentState_ = -1;             // state of the last GetText
};

}  // namespace brevant
