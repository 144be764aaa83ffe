// The calendar's year editor: one shared navigation object that reads and
// writes the year of the calendar it serves, and one shared editor that
// shows that year with a spin button over the year label of whichever
// calendar asks for it. Both exist while any calendar exists.
#pragma once

#include "bv_rtm/draw_helpers.h"
#include "controls/controls.h"

namespace brevant {

class TQuentaCalendar;
class TYearSpinSwitcher;

// The year of the served calendar as a published property.
class TznYearNaviObj : public TPersistent {
  BV_CLASS(TznYearNaviObj, TPersistent)
 public:
  TQuentaCalendar* Calendar() const { return calendar_; }
  void SetCalendar(TQuentaCalendar* value) { calendar_ = value; }
  // The served calendar's year; 0 without one.
  Integer Year() const;
  // Moves the served calendar to year value keeping month and day: the day
  // is clipped to the target month (29 February becomes 28) and the date
  // clamped into the calendar's range; fires the calendar's OnChange.
  void SetYear(Integer value);

 private:
  TQuentaCalendar* calendar_ = nullptr;  // the calendar served, or none
};

// Shows the navigation object's year, not editable as text; the spin
// button's upper half (or Up) adds a year, the lower half (or Down) takes
// one away, repeating while held. Escape or Return closes it; so does a
// press on any other control (cancel mode) and leaving it with Tab.
class TznYearEditor : public TCustomControl {
  BV_CLASS(TznYearEditor, TCustomControl)
 public:
  explicit TznYearEditor(TComponent* owner);
  ~TznYearEditor() override;

  TznYearNaviObj* Navigator() const { return navigator_; }
  void SetNavigator(TznYearNaviObj* value) { navigator_ = value; }
  // Steps the year by delta and shows the new year selected.
  void Step(Integer delta);
  // The spin button's halves (0 upper, 1 lower), in client coordinates.
  TRect SpinRect(Integer half) const;
  // Unbinds the navigator and takes the editor off its calendar.
  void CloseEditor();
  // CloseEditor, then the calendar takes the focus back.
  void CloseToCalendar();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMGetDlgCode(TMessage& message) override;
  void WMNCCalcSize(TMessage& message) override;
  void WMNCPaint(TMessage& message) override;
  void CMCancelMode(TMessage& message) override;
  void CMWantSpecialKey(TMessage& message) override;
  void CMExit(TMessage& message) override;

 private:
  friend class TYearSpinSwitcher;

  TznYearNaviObj* navigator_ = nullptr;  // the shared navigation object
  TObjectPtr<TYearSpinSwitcher> spin_;   // presses of the spin halves
};

// The shared navigation object and editor, created on first use.
TznYearNaviObj* YearNaviObj();
TznYearEditor* YearEditor();
// Whether the shared editor exists (it is freed with the last calendar).
bool YearEditorExists();
// Frees the shared objects (the last calendar does; also at program end).
void FreeYearEditor();

}  // namespace brevant
