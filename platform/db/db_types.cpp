#include "db/db_types.h"

#include "classes/rtti_builder.h"

namespace brevant {

BV_ENUM_INFO(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat,
             ftCurrency, ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob,
             ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor,
             ftFixedChar, ftWideString, ftLargeint, ftADT, ftArray, ftReference, ftDataSet,
             ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid, ftTimeStamp,
             ftFMTBcd)
BV_ENUM_INFO(TDataSetState, dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields,
             dsFilter, dsNewValue, dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening)
BV_ENUM_INFO(TFieldKind, fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate)
BV_ENUM_INFO(TUpdateKind, ukModify, ukInsert, ukDelete)
BV_ENUM_INFO(TDataAction, daFail, daAbort, daRetry)
BV_ENUM_INFO(TFieldAttribute, faHiddenCol, faReadonly, faRequired, faLink, faUnNamed, faFixed)
BV_SET_INFO(TFieldAttributes, TFieldAttribute)
BV_ENUM_INFO(TParamType, ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult)

String FieldTypeName(TFieldType t) {
  return GetEnumName(TypeInfoOf<TFieldType>(), t);
}

bool IsWriteState(TDataSetState s) {
  switch (s) {
    case dsEdit:
    case dsInsert:
    case dsSetKey:
    case dsCalcFields:
    case dsFilter:
    case dsNewValue:
    case dsInternalCalc:
      return true;
    default:
      return false;
  }
}

void DatabaseError(const String& message) {
  throw EDatabaseError(message);
}

void DatabaseErrorFmt(const String& format, TVarRecs args) {
  throw EDatabaseError(format, args);
}

}  // namespace brevant
