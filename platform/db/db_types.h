// The vocabulary of the dataset framework: field types, dataset states,
// fetch modes, bookmarks, events and the database error helpers.
#pragma once

#include "classes/shared_enums.h"
#include "classes/typinfo.h"
#include "db/db_fwd.h"
#include "rtl/exceptions.h"
#include "rtl/method.h"
#include "rtl/sets.h"
#include "rtl/types.h"

namespace brevant {

class TComponent;
class TDataSet;
class TField;

// Field data types. The ordinals are stored (one byte) and streamed by name;
// the blob types sit at 15..21, 30 and 31.
enum TFieldType : Byte {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd
};
static_assert(ftAutoInc == 14 && ftBlob == 15 && ftTypedBinary == 21 && ftDataSet == 29 &&
                  ftOraBlob == 30 && ftOraClob == 31 && ftFMTBcd == 37,
              "field type ordinals are stored");
BV_DECLARE_ENUM_INFO(TFieldType)

// The nine blob types (ordinals 15..21, 30, 31).
constexpr bool IsBlobFieldType(TFieldType t) {
  return (t >= ftBlob && t <= ftTypedBinary) || t == ftOraBlob || t == ftOraClob;
}
// The type's name as streamed ("ftString").
String FieldTypeName(TFieldType t);

enum TDataSetState : Byte {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening
};
BV_DECLARE_ENUM_INFO(TDataSetState)
// States in which a field may be written (edit, insert, set-key, calc-fields,
// filter, new-value, internal-calc).
bool IsWriteState(TDataSetState s);
// Edit, insert and set-key: a record is being edited.
inline bool IsEditState(TDataSetState s) {
  return s == dsEdit || s == dsInsert || s == dsSetKey;
}

enum TFieldKind : Byte { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
BV_DECLARE_ENUM_INFO(TFieldKind)

// The descendant protocol's fetch modes and answers.
enum TGetMode : Byte { gmCurrent, gmNext, gmPrior };
enum TGetResult : Byte { grOK, grBOF, grEOF, grError };
enum TBookmarkFlag : Byte { bfCurrent, bfBOF, bfEOF, bfInserted };
enum TUpdateKind : Byte { ukModify, ukInsert, ukDelete };
BV_DECLARE_ENUM_INFO(TUpdateKind)

enum TLocateOption : Byte { loCaseInsensitive, loPartialKey };
using TLocateOptions = TSet<TLocateOption>;

enum TBlobStreamMode : Byte { bmRead, bmWrite, bmReadWrite };

enum TResyncModeEnum : Byte { rmExact, rmCenter };
using TResyncMode = TSet<TResyncModeEnum>;

// What a dataset tells its data sources and links.
enum TDataEvent : Byte {
  deFieldChange,      // info: the field
  deRecordChange,     // info: the field or 0
  deDataSetChange,    // info: a TDataChangeHint
  deDataSetScroll,    // info: how far the dataset's buffers shifted
  deLayoutChange,     // fields added, removed or rebound
  deUpdateRecord,     // links hand pending edits to their fields
  deUpdateState,      // the state changed
  deCheckBrowseMode,  // before leaving an edit state
  dePropertyChange,
  deFieldListChange,
  deFocusControl,  // info: a TField** the control may clear
  deParentScroll,
  deConnectChange,
  deReconcileError,
  deDisabledStateChange
};
// Info of deDataSetChange: how links place their windows afterwards.
enum TDataChangeHint : Byte {
  dchKeep,   // each window keeps its place, moving only to keep the active record
  dchCenter  // each window centres on the active record
};

enum TDataAction : Byte { daFail, daAbort, daRetry };
BV_DECLARE_ENUM_INFO(TDataAction)

enum TFieldAttribute : Byte { faHiddenCol, faReadonly, faRequired, faLink, faUnNamed, faFixed };
using TFieldAttributes = TSet<TFieldAttribute>;
BV_DECLARE_ENUM_INFO(TFieldAttribute)
template <>
const TTypeInfo* TypeInfoOf<TFieldAttributes>();

enum TParamType : Byte { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };
BV_DECLARE_ENUM_INFO(TParamType)

// TBookmark, a record's bookmark, is declared in db_fwd.h.
// A record buffer of the descendant protocol: opaque to the framework.
using TRecordBuffer = void*;

// Events. Every dataset event names the dataset first.
using TDataSetNotifyEvent = TEvent<void(TDataSet* DataSet)>;
// An error during Post, Edit or Delete. Action starts as daFail (raise the
// error); daAbort ends silently (EAbort); daRetry runs the operation again.
using TDataSetErrorEvent = TEvent<void(TDataSet* DataSet, const Exception& E, TDataAction& Action)>;
using TFieldNotifyEvent = TEvent<void(TField* Sender)>;
// Text of a field for display (DisplayText true) or editing.
using TFieldGetTextEvent = TEvent<void(TField* Sender, String& Text, bool DisplayText)>;
using TFieldSetTextEvent = TEvent<void(TField* Sender, const String& Text)>;
using TDataChangeEvent = TEvent<void(TObject* Sender, TField* Field)>;

// Raise EDatabaseError with the message (formatted with args).
[[noreturn]] void DatabaseError(const String& message);
[[noreturn]] void DatabaseErrorFmt(const String& format, TVarRecs args);

// The bytes of a byte array, an array of small integers, or a text (what
// binary and blob fields accept as a variant); anything else raises the
// invalid variant error.
String VariantBytes(const Variant& value);

}  // namespace brevant
