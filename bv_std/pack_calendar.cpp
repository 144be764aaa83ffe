// The calendar tool form of the default pack: a calendar set up from the
// date vision that opened it, picking closes it accepting, and the picked
// date (or null) becomes the edit's value.
#include <cmath>

#include "bv/field_list.h"
#include "bv_ctl/calendar.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/pack.h"
#include "bv_vtf/tool_form.h"
#include "rtl/datetime.h"

namespace brevant {

void TbvDefPack::vtfCalendarShow(TObject*) {
  auto* vision = dynamic_cast<TDateVision*>(vtfCalendar->Vision());
  TQuentaCalendar* cal = calCalendar;
  if (vision) {
    const TznCalendarButtons buttons = vision->Buttons();
    cal->SetShowTodayButton(buttons.Contains(clbToday));
    cal->SetShowClearButton(buttons.Contains(clbClear));
    cal->SetShowYearNavigator(!buttons.Contains(clbNoYearNavigator));
    cal->SetDisableClearButton(!vision->Nullable());
    // Both limits go first, so no new limit is clipped by an old one.
    cal->SetMinDate(0);
    cal->SetMaxDate(0);
    cal->SetMinDate(vision->MinDate());
    cal->SetMaxDate(vision->MaxDate());
  }
  TfvCurrentValue* value = vtfCalendar->CurrentValue();
  if (!value || value->IsNull()) {
    cal->SetDate(Date());
    cal->SetNullDate(true);
  } else {
    cal->SetNullDate(false);
    cal->SetDate(std::trunc(value->AsDateTime()));
  }
  const TSize size = cal->ContentSize();
  cal->SetBounds(0, 0, size.cx, size.cy);
  vtfCalendar->SetUseWidth(cal->Width());
  vtfCalendar->SetHeight(cal->Height());
}

void TbvDefPack::calCalendarChange(TObject*) {
  vtfCalendar->SetChanged(true);
}

void TbvDefPack::calCalendarPickup(TObject*) {
  vtfCalendar->Close(true, calCalendar->NullDate());
}

void TbvDefPack::vtfCalendarPostChanges(TObject*) {
  TfvCurrentValue* value = vtfCalendar->CurrentValue();
  if (!value) return;
  if (calCalendar->NullDate())
    value->Clear();
  else
    value->SetAsDateTime(calCalendar->Date());
  value->SetModified(true);
}

}  // namespace brevant
