// Enumerations, option sets, event types and the two interfaces that field
// visions talk through: IznFieldVisionConsumer (what a vision asks of the
// column, edit or text display it serves) and IznVisionEditor (what a vision
// asks of the edit control that edits through it).
#pragma once

#include "classes/shared_enums.h"
#include "classes/typinfo.h"
#include "controls/edits.h"
#include "rtl/method.h"
#include "rtl/sets.h"
#include "rtl/types.h"

namespace brevant {

class TFont;
class TtlFieldList;
class TtlFieldValue;
class TfvCurrentValue;
class TfvPainter;
class TtlPainter;
class TznFieldVision;

// Horizontal alignment of a vision; talDefault lets the consumer decide.
enum TznDefAlignment : Byte { talDefault, talLeftJustify, talRightJustify, talCenter };
BV_DECLARE_ENUM_INFO(TznDefAlignment)
// Vertical alignment; tlaDefault maps to the top.
enum TznDefLayout : Byte { tlaDefault, tlaTop, tlaCenter, tlaBottom };
BV_DECLARE_ENUM_INFO(TznDefLayout)
// The platform's alignment of a vision alignment (talDefault as left) and
// layout (tlaDefault as top).
TAlignment ToAlignment(TznDefAlignment value);
TTextLayout ToLayout(TznDefLayout value);
// Side of the image in a cell.
enum TznAlignImage : Byte { aiDefault, aiLeft, aiRight };
BV_DECLARE_ENUM_INFO(TznAlignImage)
// The editor button's look.
enum TznButtonStyle : Byte { pbsDropDown, pbsEllipsis, pbsSpin, pbsCustom };
BV_DECLARE_ENUM_INFO(TznButtonStyle)

// How a vision writes and switches values.
enum TfvSwitchOption : Byte { vsoEditDataSet, vsoNeedCurrent, vsoNeedEditing };
using TfvSwitchOptions = TSet<TfvSwitchOption>;
BV_DECLARE_ENUM_INFO(TfvSwitchOption)
BV_DECLARE_ENUM_INFO(TfvSwitchOptions)

// vskEdit: a text edit; vskCustom: the vision paints the whole editor.
enum TfvSurfaceKind : Byte { vskEdit, vskCustom };
BV_DECLARE_ENUM_INFO(TfvSurfaceKind)

enum TfvDropDownOption : Byte {
  ddoShowOnEnter,
  ddoShowOnTyping,
  ddoAlwaysEnableAltDown,
  ddoNoFocusRect
};
using TfvDropDownOptions = TSet<TfvDropDownOption>;
BV_DECLARE_ENUM_INFO(TfvDropDownOption)
BV_DECLARE_ENUM_INFO(TfvDropDownOptions)

// The edit actions of editors and blob tool forms.
using TznEditAction = Byte;
constexpr TznEditAction eaCut = 1, eaCopy = 2, eaPaste = 3, eaClear = 4, eaLoad = 5, eaSave = 6,
                        eaPreview = 7;

// Kinds of a button action (TznFieldVision::ButtonKind).
constexpr Integer bkMouse = 1;       // the button, or the upper spin half
constexpr Integer bkKeyboard = 2;    // Ctrl+Return, Alt+Down, Up on a spin
constexpr Integer bkMouseDown = 3;   // the lower spin half
constexpr Integer bkKeyDown = 4;     // Down arrow on a spin
constexpr Integer bkComboClick = 5;  // a click on a combo-box style editor's text
constexpr Integer bkDropDown = 6;    // a drop-down request

// What owns a field list.
constexpr Byte fokColumn = 0, fokEdit = 1, fokText = 2;

// ---- events ----
using TfvNotifyEvent = TEvent<void(TObject* Sender, TtlFieldList* Fields)>;
using TfvGetTextEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, bool DisplayText, String& Value)>;
using TfvBeforeEditEvent = TEvent<void(TObject* Sender, TtlFieldList* Fields, bool& DoEdit)>;
using TfvBeforePostEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, TtlFieldValue* FieldValue, bool& Posted)>;
using TfvDrawEvent = TEvent<void(TObject* Sender, TtlFieldList* Fields, TtlPainter* Painter)>;
using TfvDrawEditEvent = TEvent<void(TObject* Sender, TtlFieldList* Fields, TfvPainter* Painter)>;
using TfvGetEditFontEvent = TEvent<void(TObject* Sender, TtlFieldList* Fields, TFont* Font)>;
using TfvActionEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, const String& Action, Integer Param)>;
using TfvEditActionEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, TznEditAction EditAction)>;
using TznActionEvent = TEvent<void(TObject* Sender, const String& Action, Integer Param)>;
using TznDrawEditEvent = TEvent<void(TObject* Sender, TfvPainter* Painter)>;

// The user of a field list: a column, an edit control or a text display.
// The vision calls these, in this order of declaration; lifetimes are owned,
// so there is no reference counting.
class IznFieldVisionConsumer {
 public:
  // The component told (by free notification) when the vision goes.
  virtual TComponent* GetComponent() = 0;
  // The consumer is not read-only.
  virtual bool CanModify() = 0;
  // The vision's BeforeEdit allowed editing; the consumer agrees too.
  virtual bool CanStartEdit() = 0;
  // The dataset entered edit state for this consumer.
  virtual void EditStarted() = 0;
  // A value was posted through this consumer.
  virtual void ValuePosted() = 0;
  // Recomputes the list's Caption, Alignment and Layout; True on a change.
  virtual bool UpdateTitle() = 0;
  virtual void UpdatePopupMenu() = 0;
  // The list's vision was replaced by vision (nil when nil was assigned).
  virtual void VisionChanged(TznFieldVision* vision) = 0;
  // Binds the field list again.
  virtual void FieldsChanged() = 0;
  // Recomputes the list's Active.
  virtual void UpdateActive() = 0;
  virtual void Invalidate() = 0;
  // Sizes may have changed.
  virtual void LayoutChanged() = 0;
  virtual void ButtonChanged() = 0;
  virtual void EditStyleChanged() = 0;

 protected:
  ~IznFieldVisionConsumer() = default;
};

// What the editors' painter takes from an edit control before its face is
// drawn.
struct TfvEditorFace {
  TFont* Font = nullptr;  // the control's font
  TColor Color = 0;       // the control's background colour
  bool Focused = false;   // the control has the focus
  bool Switched = false;  // the control's surface switch is pressed
  bool Enabled = true;    // the control is enabled
  bool WordWrap = false;  // the control wraps its text
  bool HasFrame = false;  // the control draws a frame around its face
};

// What a vision needs of the edit control (standalone or in place) that
// edits through it. The edit controls implement it.
class IznVisionEditor {
 public:
  // The editor's field list and current value (both owned by the editor).
  virtual TtlFieldList* EditorFieldList() = 0;
  virtual TfvCurrentValue* CurrentValue() = 0;
  // The text as typed (mask literals included).
  virtual String EditorText() = 0;
  virtual bool HasEditMask() = 0;
  // Whether the typed text satisfies the edit mask.
  virtual bool EditTextValid() = 0;
  // Drops one pending character, key-down and key-up message each.
  virtual void DiscardPendingKeys() = 0;
  virtual void ReleaseSwitches() = 0;
  virtual bool DroppedDown() = 0;
  virtual void OpenDropDown() = 0;
  // Closes the open drop-down, taking over its changes when accept.
  virtual void CloseDropDown(bool accept) = 0;
  virtual void SelectAllText() = 0;
  virtual void RepaintEditor() = 0;
  // An in-place editor asks its grid to finish editing with the post action
  // (answering whether the editor closed); a standalone edit answers False
  // for "not in a grid" through InGrid.
  virtual bool InGrid() = 0;
  virtual bool PostThroughGrid(bool selectAll) = 0;
  // Face drawing: the rectangle inside the frame, the case conversion, the
  // password character (0 for none) and the control's own OnDraw.
  virtual TRect FaceContentRect(const TRect& rect) = 0;
  virtual TEditCharCase EditCharCase() = 0;
  virtual char32_t EditPasswordChar() = 0;
  virtual void DrawFace(TfvPainter* painter) = 0;
  virtual TfvEditorFace EditorFace() = 0;

 protected:
  ~IznVisionEditor() = default;
};

}  // namespace brevant
