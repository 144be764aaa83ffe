// The interfaces between a drop-down tool form, the vision that opens it
// and the edit control it serves. They live with the edits so that an edit
// can talk to an open drop-down without knowing the tool form host's layer.
#pragma once

#include "bv/field_vision_types.h"

namespace brevant {

class TDataSource;
class TDBTabulon;
class TVisionToolForm;
class TWinControl;

// An open drop-down as the served edit and the opening vision see it; the
// five operations in this order.
class IVisionToolForm {
 public:
  // A key went down in the served edit (every key but none, Return and Escape).
  virtual void KeyDown(Word& key, TShiftState shift) = 0;
  // The focus moves to control (nil: away from the application's controls).
  virtual void FocusChanged(TWinControl* control) = 0;
  // The served current value changed: the list follows it.
  virtual void CurrentChanged() = 0;
  // The text of the served edit changed.
  virtual void TextChanged() = 0;
  virtual TVisionToolForm* GetToolForm() = 0;

 protected:
  ~IVisionToolForm() = default;
};

// The vision that opens a drop-down, as the tool form host sees it; the four
// operations in this order.
class IVisionToolFormUser {
 public:
  // The source of the list shown for the editor now served (nil: no list).
  virtual TDataSource* GetListSource() = 0;
  // The host reports the open tool form, and nil when it closes.
  virtual void SetToolForm(IVisionToolForm* toolForm) = 0;
  virtual bool PostEdit(IznVisionEditor* editor, bool selectAll) = 0;
  virtual bool PostOrMove(IznVisionEditor* editor, bool selectAll) = 0;

 protected:
  ~IVisionToolFormUser() = default;
};

// The open drop-down as an edit or its list grid holds it: the five
// operations plus closing (accepting or discarding), the list grid inside
// it, the served current value, and the mark that the user changed it.
class IznToolFormHost : public IVisionToolForm {
 public:
  virtual void Close(bool accept, bool postAndMove) = 0;
  virtual TDBTabulon* DataGrid() const = 0;
  virtual TfvCurrentValue* CurrentValue() const = 0;
  virtual void SetChanged(bool value) = 0;
  // Whether the drop-down takes the focus; the controls of one that does
  // not (its list grid) leave the focus in the edit when clicked.
  virtual bool TakesFocus() const { return true; }

 protected:
  ~IznToolFormHost() = default;
};

// What the tool form host needs of the edit it serves besides
// IznVisionEditor; the edit controls implement both.
class IznToolFormEdit {
 public:
  // The edit as a control (its window, bounds, font and form).
  virtual TWinControl* EditControl() = 0;
  // The host sets the open drop-down, and nil when it closes.
  virtual void SetOpenToolForm(IznToolFormHost* toolForm) = 0;
  // The edit's button strip in client coordinates (empty without a button).
  virtual TRect EditButtonRect() = 0;

 protected:
  ~IznToolFormEdit() = default;
};

}  // namespace brevant
