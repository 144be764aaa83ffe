// Enumerations, option sets and event types of the grid and its model.
#pragma once

#include "bv/bv_fwd.h"
#include "classes/classes_fwd.h"
#include "controls/controls.h"
#include "rtl/method.h"
#include "rtl/sets.h"

namespace brevant {

// How the grid's current record relates to the dataset's cursor.
enum TtlCursorType : Byte { gctSensitive, gctInsensitiveBmrk, gctInsensitiveID };
BV_DECLARE_ENUM_INFO(TtlCursorType)

enum TtlOptionVisual : Byte { gvoNoEndEllipsis };
using TtlOptionsVisual = TSet<TtlOptionVisual>;
BV_DECLARE_ENUM_INFO(TtlOptionVisual)
BV_DECLARE_ENUM_INFO(TtlOptionsVisual)

enum TtlOptionBehavior : Byte {
  gboNoColumnSizing,
  gboNoGroupSizing,
  gboFullHeightSizing,
  gboSmartSizing,
  gboNoColumnMoving,
  gboNoColumnGrouping,
  gboNoTitleStates,
  gboNoMultiTitleStates,
  gboNoFooterStates,
  gboNoIncomingDragTrack,
  gboNoInsideDragTrack
};
using TtlOptionsBehavior = TSet<TtlOptionBehavior>;
BV_DECLARE_ENUM_INFO(TtlOptionBehavior)
BV_DECLARE_ENUM_INFO(TtlOptionsBehavior)

enum TtlOptionEdit : Byte {
  geoNoInserts,
  geoNoAppends,
  geoNoQuickEditByTabKey,
  geoNoQuickEditByClick,
  geoNoEditActionOnExit,
  geoCancelFieldOnExit,
  geoCancelRecordOnExit,
  geoAlwaysShowEditor
};
using TtlOptionsEdit = TSet<TtlOptionEdit>;
BV_DECLARE_ENUM_INFO(TtlOptionEdit)
BV_DECLARE_ENUM_INFO(TtlOptionsEdit)

enum TtlOptionPickup : Byte {
  gpoReturnKey,
  gpoDblClick,
  gpoClick,
  gpoMouseTrack,
  gpoCaptureRecord
};
using TtlOptionsPickup = TSet<TtlOptionPickup>;
BV_DECLARE_ENUM_INFO(TtlOptionPickup)
BV_DECLARE_ENUM_INFO(TtlOptionsPickup)

// The editor-to-grid protocol.
enum TtlFieldEditAction : Byte {
  feaPost,
  feaClose,
  feaLeft,
  feaRight,
  feaUp,
  feaDown,
  feaPrior,
  feaNext,
  feaNone
};
BV_DECLARE_ENUM_INFO(TtlFieldEditAction)
enum TtlFieldPostCode : Byte { fpcNone, fpcReturn, fpcArrow, fpcTab, fpcKeyAction };
BV_DECLARE_ENUM_INFO(TtlFieldPostCode)

// Customizer protocol codes (the low byte of WM_TL_CUSTOMIZER's WParam); the
// customizer defines the codes beyond these.
using TtlCustomizerAction = Byte;
constexpr TtlCustomizerAction gcaAttach = 0, gcaDetach = 1, gcaDragQuery = 7, gcaDropped = 8;

// Selection actions of a navigation step (the grid's PendingSelection):
// movement, then what happens to the record left and the record reached.
constexpr Cardinal gsaFirst = 1, gsaLast = 2, gsaMove = 4;
constexpr Cardinal gsaSelectLeft = 32, gsaUnselectLeft = 64;
constexpr Cardinal gsaSelectReached = 128, gsaToggleReached = 256;
constexpr Cardinal gsaRange = 512, gsaClear = 1024;
constexpr Cardinal gsaMovement = gsaFirst | gsaLast | gsaMove;

// Flags of TDBTabulon::Relayout.
constexpr Integer rlMeasure = 1, rlRowWindow = 2, rlAutoFit = 4, rlScrollWindow = 8,
                  rlInvalidate = 16;

// ---- events ----
using TtlActionEvent =
    TEvent<void(TObject* Sender, TtlColumn* Column, const String& Action, Integer Param)>;
using TtlColEvent = TEvent<void(TObject* Sender, Integer ACol)>;
using TtlColMovedEvent = TEvent<void(TObject* Sender, Integer FromIndex, Integer ToIndex)>;
using TtlClickEvent = TEvent<void(TObject* Sender, Integer X, Integer Y, TShiftState Shift,
                                  bool ButtonReleased, bool& Handled)>;
using TtlDrawCellEvent = TEvent<void(TObject* Sender, TtlColumn* Column, TtlPainter* Painter)>;
using TtlGetRowAttrsEvent = TEvent<void(TObject* Sender, TtlRowAttrs* RowAttrs)>;
using TtlCustomizerActionEvent =
    TEvent<void(TObject* Sender, TtlCustomizerAction Action, TtlColumn* Column)>;
using TtlBeforeInsertEvent = TEvent<void(TObject* Sender, bool& DoInsert)>;
using TtlBeforeFieldEditEvent = TEvent<void(TObject* Sender, TtlColumn* Column, bool& DoEdit)>;
using TtlEditKeyPressEvent = TEvent<void(TObject* Sender, TtlColumn* Column, char32_t& Key,
                                         TtlFieldEditAction& Action, bool& HandleKey)>;
using TtlAfterFieldPostEvent = TEvent<void(TObject* Sender, TtlColumn* Column,
                                           TtlFieldPostCode PostCode, TtlFieldEditAction& Action)>;
using TtlColumnEvent = TEvent<void(TObject* Sender, TtlColumn* Column)>;
using TtlFooterMenuPopupEvent = TEvent<void(TObject* Sender, Integer X, Integer Y, bool& DoPopup)>;

}  // namespace brevant
