// Run-time type information for published properties and methods.
//
// Every class declares its published properties once, in a table in its
// source file (see rtti_builder.h); streaming, the property accessor, the
// object dataset and property panels all read these tables through the
// routines below.
#pragma once

#include <functional>
#include <typeinfo>
#include <vector>

#include "classes/classes_fwd.h"
#include "rtl/method.h"
#include "rtl/object.h"
#include "rtl/types.h"
#include "rtl/variant.h"

namespace brevant {

enum TTypeKind : Byte {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray
};
// The kinds read and written as ordinals (GetOrdProp/SetOrdProp).
inline bool IsOrdinalKind(TTypeKind k) {
  return k == tkInteger || k == tkChar || k == tkEnumeration || k == tkSet || k == tkWChar ||
         k == tkInt64;
}
enum TOrdType : Byte { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType : Byte { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// Describes one type: its kind and name, and what the kind needs.
struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  String Name;
  // Ordinal kinds (integer, character, enumeration, set).
  TOrdType OrdType = otSLong;
  Int64 MinValue = 0;
  Int64 MaxValue = 0;
  // Enumerations: the value names from MinValue to MaxValue.
  std::vector<String> EnumNames;
  // Sets: the element type.
  const TTypeInfo* CompType = nullptr;
  TFloatType FloatType = ftDouble;
  // Short strings: the maximum length in bytes.
  Byte MaxLength = 255;
  // Classes: the class of the property's objects, looked up lazily so that a
  // class may publish properties of its own class.
  TClass (*ClassRef)() = nullptr;
  TClass ClassType() const { return ClassRef ? ClassRef() : nullptr; }
  // Methods: the event signature, for checking handlers bound by name.
  const std::type_info* MethodType = nullptr;
};

// The type information of a C++ type (TypeInfoOf, declared in
// classes_fwd.h). Built-in types are defined by the platform; enumerations,
// sets and named aliases declare theirs with BV_DECLARE_ENUM_INFO
// (classes_fwd.h) and define it with the macros below.
template <>
const TTypeInfo* TypeInfoOf<bool>();
template <>
const TTypeInfo* TypeInfoOf<char>();
template <>
const TTypeInfo* TypeInfoOf<char16_t>();
template <>
const TTypeInfo* TypeInfoOf<ShortInt>();
template <>
const TTypeInfo* TypeInfoOf<Byte>();
template <>
const TTypeInfo* TypeInfoOf<SmallInt>();
template <>
const TTypeInfo* TypeInfoOf<Word>();
template <>
const TTypeInfo* TypeInfoOf<Integer>();
template <>
const TTypeInfo* TypeInfoOf<Cardinal>();
template <>
const TTypeInfo* TypeInfoOf<Int64>();
template <>
const TTypeInfo* TypeInfoOf<float>();
template <>
const TTypeInfo* TypeInfoOf<double>();
template <>
const TTypeInfo* TypeInfoOf<Extended>();
template <>
const TTypeInfo* TypeInfoOf<Currency>();
template <>
const TTypeInfo* TypeInfoOf<String>();
template <>
const TTypeInfo* TypeInfoOf<WideString>();
template <>
const TTypeInfo* TypeInfoOf<Variant>();

// Named types that share a C++ type with another: date-times are doubles.
const TTypeInfo* TypeInfoTDateTime();
const TTypeInfo* TypeInfoTDate();
const TTypeInfo* TypeInfoTTime();

// Builds a type of another name on the model of an existing one (TColor is an
// integer named "TColor"). The result lives for the whole process.
const TTypeInfo* NamedType(const TTypeInfo* model, const char* name);

// An enumeration's type, from its value names in ordinal order.
const TTypeInfo* MakeEnumType(const char* name, std::initializer_list<const char*> names);
// "a, b, c" as written in a macro argument list.
const TTypeInfo* MakeEnumTypeFromList(const char* name, const char* commaList);
const TTypeInfo* MakeSetType(const char* name, const TTypeInfo* element);
// A short string type: a String property of at most maxLength bytes, cut to
// that length (never inside a UTF-8 sequence) when written.
const TTypeInfo* MakeShortStringType(const char* name, Byte maxLength);
const TTypeInfo* MakeClassType(TClass (*classRef)());
const TTypeInfo* MakeMethodType(const char* name, const std::type_info& signature);

// In the enumeration's source file:
//   BV_ENUM_INFO(TAlignment, taLeftJustify, taRightJustify, taCenter)
#define BV_ENUM_INFO(E, ...)                                                                     \
  template <>                                                                                    \
  const ::brevant::TTypeInfo* TypeInfoOf<E>() {                                                  \
    static const ::brevant::TTypeInfo* info = ::brevant::MakeEnumTypeFromList(#E, #__VA_ARGS__); \
    return info;                                                                                 \
  }
// A set type: BV_SET_INFO(TFontStyles, TFontStyle) with TFontStyles = TSet<TFontStyle>.
#define BV_SET_INFO(S, E)                                                                  \
  template <>                                                                              \
  const ::brevant::TTypeInfo* TypeInfoOf<S>() {                                            \
    static const ::brevant::TTypeInfo* info = ::brevant::MakeSetType(#S, TypeInfoOf<E>()); \
    return info;                                                                           \
  }

// One published property. The accessors are those of its kind; a property
// without a getter cannot be read, one without a setter is read-only.
struct TPropInfo {
  String Name;
  TClass Declaring = nullptr;  // the class whose table declared it
  const TTypeInfo* PropType = nullptr;
  // Position in the declaring class's table (declaration order).
  Integer Index = 0;
  // Ordinal, set and 64-bit properties: the declared default. A property
  // without one ("nodefault") is always written.
  bool HasDefault = false;
  Int64 Default = 0;
  // Whether the property is written: a constant, or a predicate.
  bool StoredConst = true;
  std::function<bool(const TObject*)> StoredFn;

  std::function<Int64(const TObject*)> GetOrd;  // integer, char, enum, set, int64, wchar
  std::function<void(TObject*, Int64)> SetOrd;
  std::function<Extended(const TObject*)> GetFloat;
  std::function<void(TObject*, Extended)> SetFloat;
  std::function<String(const TObject*)> GetStr;  // string kinds and characters as text
  std::function<void(TObject*, const String&)> SetStr;
  std::function<Variant(const TObject*)> GetVariant;
  std::function<void(TObject*, const Variant&)> SetVariant;
  std::function<TObject*(const TObject*)> GetObject;
  std::function<void(TObject*, TObject*)> SetObject;
  std::function<TMethod(const TObject*)> GetMethod;
  std::function<const char*(const TObject*)> GetMethodName;
  std::function<void(TObject*, const TMethod&, const char*)> SetMethod;

  TTypeKind Kind() const { return PropType ? PropType->Kind : tkUnknown; }
  bool HasGetter() const;
  bool HasSetter() const;
  bool IsStored(const TObject* obj) const { return StoredFn ? StoredFn(obj) : StoredConst; }
};

// ---- lookup -----------------------------------------------------------------
// Case-insensitive; the most derived declaration wins. nullptr when absent.
const TPropInfo* GetPropInfo(TClass c, const String& name);
const TPropInfo* GetPropInfo(const TObject* obj, const String& name);
// Every published property, inherited ones first, each class's in
// declaration order; a redeclared property appears once, at the place of its
// first declaration, with the most derived accessors.
std::vector<const TPropInfo*> GetPropList(TClass c);
// The same without method properties and properties of unknown kind, sorted
// by name ignoring case.
std::vector<const TPropInfo*> GetSortedPropList(TClass c);
bool IsPublishedProp(const TObject* obj, const String& name);
// Raises EPropertyError naming the property when it is absent.
const TPropInfo* GetPropInfoOrRaise(const TObject* obj, const String& name);

// The published method of a class (or a parent) by name, ignoring case.
const TPublishedMethod* FindPublishedMethod(TClass c, const String& name);
// The name of a method of obj's class that matches m, or empty.
String MethodName(const TObject* obj, const TMethod& m);

// ---- typed access -------------------------------------------------------------
// Each raises EPropertyError when the property is of another kind or lacks
// the accessor.
Int64 GetOrdProp(const TObject* obj, const TPropInfo* p);
void SetOrdProp(TObject* obj, const TPropInfo* p, Int64 value);
Extended GetFloatProp(const TObject* obj, const TPropInfo* p);
void SetFloatProp(TObject* obj, const TPropInfo* p, Extended value);
String GetStrProp(const TObject* obj, const TPropInfo* p);
void SetStrProp(TObject* obj, const TPropInfo* p, const String& value);
Int64 GetInt64Prop(const TObject* obj, const TPropInfo* p);
void SetInt64Prop(TObject* obj, const TPropInfo* p, Int64 value);
Variant GetVariantProp(const TObject* obj, const TPropInfo* p);
void SetVariantProp(TObject* obj, const TPropInfo* p, const Variant& value);
TObject* GetObjectProp(const TObject* obj, const TPropInfo* p);
void SetObjectProp(TObject* obj, const TPropInfo* p, TObject* value);
TMethod GetMethodProp(const TObject* obj, const TPropInfo* p);
void SetMethodProp(TObject* obj, const TPropInfo* p, const TMethod& value,
                   const char* name = nullptr);
// Enumeration values by name; sets as "[a,b]" text.
String GetEnumName(const TTypeInfo* t, Int64 value);
// -1 when the name is not a value of the type (ignoring case).
Int64 GetEnumValue(const TTypeInfo* t, const String& name);
String GetEnumProp(const TObject* obj, const TPropInfo* p);
void SetEnumProp(TObject* obj, const TPropInfo* p, const String& name);
String SetToString(const TTypeInfo* setType, Cardinal bits, bool brackets = true);
Cardinal StringToSet(const TTypeInfo* setType, const String& text);
// The property's value as text / from text, by kind (what property panels show).
String GetPropValueText(const TObject* obj, const TPropInfo* p);
// Whether the value equals the property's default (what the writer skips).
bool IsDefaultPropValue(const TObject* obj, const TPropInfo* p);

BV_DECLARE_EXCEPTION(EPropertyError, Exception);

}  // namespace brevant
