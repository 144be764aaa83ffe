// Forward declarations of the component model: its classes, the type
// information every published enumeration declares (with the macro that
// declares it), and the shared enumerations as opaque declarations, so a
// header can hold such values without the full type-information tables.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TComponent;
class TCollection;
class TCollectionItem;
class TOwnedCollection;
struct TTypeInfo;
struct TPropInfo;

// The type information of a C++ type (classes/typinfo.h defines the
// built-in ones and the routines that read them).
template <class T>
const TTypeInfo* TypeInfoOf();

// In a header, after the enumeration:   BV_DECLARE_ENUM_INFO(TAlignment)
// In its source file:                   BV_ENUM_INFO(TAlignment, taLeftJustify, taRightJustify,
// taCenter)
#define BV_DECLARE_ENUM_INFO(E) \
  template <>                   \
  const ::brevant::TTypeInfo* TypeInfoOf<E>();

// The shared enumerations of classes/shared_enums.h.
enum TAlignment : Byte;
enum TScrollStyle : Byte;
enum TTextLayout : Byte;

}  // namespace brevant
