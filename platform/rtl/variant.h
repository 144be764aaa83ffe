// Variant: one value of any of the classic variant kinds, with value semantics.
//
// Type codes are the classic variant type numbers, so they can be stored and
// streamed; the two custom kinds use the first user codes:
//   varFMTBcd       0x010F  a TBcd (rtl/bcd.h)
//   varSQLTimeStamp 0x0110  a TSQLTimeStamp (rtl/sqltimestamp.h)
// An array's code is varArray | element type. Arrays are one-dimensional,
// with any Integer bounds; copying a variant copies its array.
//
// Storage: scalars, BCDs and time stamps live inside the variant (no heap);
// strings are held directly (std::string / std::u16string); arrays are on the
// heap. long double values are stored as double.
//
// Conversions are the members AsInteger(), AsInt64(), AsDouble(),
// AsExtended(), AsCurrency(), AsBoolean(), AsDateTime(), AsString(),
// AsWideString(), AsBcd() and AsSQLTimeStamp(); the classic free functions
// VarToStr, VarToWideStr, VarToDateTime, VarToBcd and VarToSQLTimeStamp are
// the same conversions. Rules:
// - Unassigned converts to 0, False, 0.0, the empty text, the null BCD and
//   the null time stamp.
// - Null converts to the empty text (VarToStr, AsString), the null BCD and
//   the null time stamp; to a number, a boolean or a date it raises
//   EVariantError.
// - Booleans convert to 0/1 and to the texts "True"/"False". Texts convert to
//   booleans when they read "true" or "false" (any case, blanks around
//   ignored) or are numbers (0 is False, anything else True).
// - Floats, dates and currencies convert to integers rounded half to even.
// - Numbers convert to text with IntToStr, FloatToStr (singles with 7
//   significant digits), CurrToStr, BcdToStr; dates with DateTimeToStr; time
//   stamps with SQLTimeStampToStr (empty format). Texts are parsed with
//   StrToInt64 (then StrToFloat), StrToFloat, StrToCurr, StrToDateTime
//   (a date alone or a time alone too), StrToBcd and StrToSQLTimeStamp, all
//   with the process-wide format settings.
// - A conversion that is not possible raises EVariantError with
//   res::SVarTypeCastError naming both types; for a text source the message
//   also quotes the text (res::SVarTypeCastErrorText). A value outside the
//   target's range raises EVariantError with res::SVarOverflow (texts again
//   quote themselves). An invalid time stamp held in a variant raises
//   SQLTimeStampToDateTime's EConvertError.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>
#include <type_traits>

#include "rtl/bcd.h"
#include "rtl/currency.h"
#include "rtl/sqltimestamp.h"
#include "rtl/types.h"

namespace brevant {

using TVarType = Word;

enum : TVarType {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,  // WideString
  varBoolean = 0x000B,
  varVariant = 0x000C,  // element type of arrays of variants only
  varShortInt = 0x0010,
  varByte = 0x0011,
  varWord = 0x0012,
  varLongWord = 0x0013,
  varInt64 = 0x0014,
  varUInt64 = 0x0015,
  varString = 0x0100,  // UTF-8 String
  varFMTBcd = 0x010F,
  varSQLTimeStamp = 0x0110,
  varTypeMask = 0x0FFF,
  varArray = 0x2000,
};

struct VarArrayData;

namespace detail {
template <class T>
inline constexpr bool IsVarCharType =
    std::is_same_v<T, char> || std::is_same_v<T, wchar_t> || std::is_same_v<T, char8_t> ||
    std::is_same_v<T, char16_t> || std::is_same_v<T, char32_t>;

template <class T>
constexpr TVarType VarIntCode() {
  if constexpr (std::is_signed_v<T>) {
    return sizeof(T) == 1   ? varShortInt
           : sizeof(T) == 2 ? varSmallint
           : sizeof(T) == 4 ? varInteger
                            : varInt64;
  } else {
    return sizeof(T) == 1   ? varByte
           : sizeof(T) == 2 ? varWord
           : sizeof(T) == 4 ? varLongWord
                            : varUInt64;
  }
}
}  // namespace detail

class Variant {
 public:
  // Unassigned.
  Variant() noexcept : type_(varEmpty), int_(0) {}
  Variant(bool v) noexcept : type_(varBoolean), int_(v ? 1 : 0) {}
  // Each integer type gets the code of its size and signedness: int8
  // varShortInt, uint8 varByte, int16 varSmallint, uint16 varWord, int32
  // varInteger, uint32 varLongWord, int64 varInt64, uint64 varUInt64.
  template <class T>
  requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !detail::IsVarCharType<T>)
      Variant(T v)
  noexcept : type_(detail::VarIntCode<T>()) {
    if constexpr (detail::VarIntCode<T>() == varUInt64)
      uint_ = v;
    else
      int_ = v;
  }
  Variant(float v) noexcept : type_(varSingle), single_(v) {}
  Variant(double v) noexcept : type_(varDouble), double_(v) {}
  Variant(long double v) noexcept : type_(varDouble), double_(static_cast<double>(v)) {}
  Variant(Currency v) noexcept : type_(varCurrency), int_(v.Value) {}
  Variant(const char* s) : type_(varString), str_(s ? s : "") {}
  Variant(std::string_view s) : type_(varString), str_(s) {}
  Variant(String s) noexcept : type_(varString), str_(std::move(s)) {}
  Variant(const char16_t* s) : type_(varOleStr), wstr_(s ? s : u"") {}
  Variant(WideString s) noexcept : type_(varOleStr), wstr_(std::move(s)) {}
  Variant(const TBcd& v) noexcept : type_(varFMTBcd), bcd_(v) {}
  Variant(const TSQLTimeStamp& v) noexcept : type_(varSQLTimeStamp), stamp_(v) {}
  // Characters and pointers are not values: say which kind is meant.
  Variant(char) = delete;
  Variant(wchar_t) = delete;
  Variant(char8_t) = delete;
  Variant(char16_t) = delete;
  Variant(char32_t) = delete;
  Variant(std::nullptr_t) = delete;
  template <class T>
  requires(!detail::IsVarCharType<std::remove_cv_t<T>>) Variant(T*)
  = delete;

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant() {
    if (OwnsResource()) Release();
  }

  static Variant Null() noexcept {
    Variant v;
    v.type_ = varNull;
    return v;
  }
  static Variant Unassigned() noexcept { return Variant(); }
  // A date variant (TDateTime is a double, so it needs its own maker).
  static Variant FromDateTime(TDateTime dt) noexcept {
    Variant v(dt);
    v.type_ = varDate;
    return v;
  }

  TVarType VarType() const noexcept { return type_; }

  // Conversions; see the rules at the top of this file.
  Integer AsInteger() const;
  Int64 AsInt64() const;
  UInt64 AsUInt64() const;
  double AsDouble() const;
  Extended AsExtended() const;
  Currency AsCurrency() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  String AsString() const;
  WideString AsWideString() const;
  TBcd AsBcd() const;
  TSQLTimeStamp AsSQLTimeStamp() const;

  // Array elements by index within the bounds. EVariantError when the
  // variant is not an array (res::SVarNotArray) or the index is outside the
  // bounds (res::SVarBadIndex). PutElement converts the value to the
  // array's element type (a byte array takes 0..255 only).
  Variant GetElement(Integer index) const;
  void PutElement(Integer index, const Variant& value);

  // Equality, defined across kinds:
  // - Unassigned equals only Unassigned, Null only Null.
  // - Texts (String and WideString) equal texts with the same characters;
  //   a text never equals a number.
  // - Booleans equal only booleans.
  // - Integers of any code compare exactly with each other; floats and
  //   dates compare as doubles with each other; an integer equals a float
  //   that is exactly that whole number (5 == Int64 5 == 5.0).
  // - A currency or FMTBcd compares as a decimal with any number; a double
  //   (or date) is read as its 15-significant-digit decimal, a single as its
  //   shortest decimal (so currency 1.1 equals double 1.1).
  // - Time stamps equal time stamps with the same fields, and dates that
  //   convert to those fields.
  // - Arrays equal arrays with the same bounds whose elements are equal in
  //   order (by these rules, so a byte array can equal an array of variants).
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  friend struct VariantAccess;

  bool OwnsResource() const noexcept {
    return type_ == varString || type_ == varOleStr || (type_ & varArray) != 0;
  }
  void Release() noexcept;
  void CopyFrom(const Variant& other);
  void MoveFrom(Variant& other) noexcept;
  // The integer conversion, with errors naming `to` as the target type.
  Int64 ToInt64(TVarType to) const;

  TVarType type_;
  union {
    Int64 int_;  // signed and 8- to 32-bit unsigned integers, booleans (0/1), currency (raw)
    UInt64 uint_;
    float single_;
    double double_;  // doubles and dates
    String str_;
    WideString wstr_;
    TBcd bcd_;
    TSQLTimeStamp stamp_;
    VarArrayData* array_;
  };
};

inline Variant Null() noexcept {
  return Variant::Null();
}
inline Variant Unassigned() noexcept {
  return Variant();
}
inline Variant VarFromDateTime(TDateTime dt) noexcept {
  return Variant::FromDateTime(dt);
}

inline TVarType VarType(const Variant& v) noexcept {
  return v.VarType();
}
inline bool VarIsEmpty(const Variant& v) noexcept {
  return v.VarType() == varEmpty;
}
inline bool VarIsNull(const Variant& v) noexcept {
  return v.VarType() == varNull;
}
// Unassigned is the only clear state.
inline bool VarIsClear(const Variant& v) noexcept {
  return v.VarType() == varEmpty;
}
inline bool VarIsArray(const Variant& v) noexcept {
  return (v.VarType() & varArray) != 0;
}
// String or WideString.
bool VarIsStr(const Variant& v) noexcept;
// The integer codes and Boolean (as classically).
bool VarIsOrdinal(const Variant& v) noexcept;
// Ordinals, Single, Double, Currency and FMTBcd (dates are not numbers here).
bool VarIsNumeric(const Variant& v) noexcept;

// "Integer", "String", "FMTBcd", "Array Byte", ...; unknown codes give
// "Unknown ($XXXX)".
String VarTypeName(TVarType code);

// Converts to the given type code (a scalar code, varVariant for a copy, or
// the array code the variant already has). Raises as the conversions do.
Variant VarAsType(const Variant& v, TVarType type);

String VarToStr(const Variant& v);
WideString VarToWideStr(const Variant& v);
TDateTime VarToDateTime(const Variant& v);

// ---- arrays ----------------------------------------------------------------
// An array with bounds low..high (high = low - 1 gives an empty array) whose
// elements start as the element type's zero (Unassigned for varVariant).
// Element types: any scalar code and varVariant. Raises EVariantError
// (res::SVarArrayCreate) for other codes or high < low - 1.
Variant VarArrayCreate(Integer low, Integer high, TVarType elementType);
// An array of variants with bounds 0..n-1.
Variant VarArrayOf(std::initializer_list<Variant> items);
Variant VarArrayOf(std::span<const Variant> items);
// A byte array with bounds 0..n-1 holding a copy of the bytes.
Variant VarArrayFromBytes(std::span<const Byte> bytes);

// 1 for an array, 0 otherwise.
Integer VarArrayDimCount(const Variant& v) noexcept;
// Bounds of dimension 1 (the only one); EVariantError for a variant that is
// not an array or another dimension.
Integer VarArrayLowBound(const Variant& v, Integer dim = 1);
Integer VarArrayHighBound(const Variant& v, Integer dim = 1);
// The element bytes of a byte array, in index order; EVariantError for any
// other variant. The span is valid until the variant is changed.
std::span<Byte> VarArrayBytes(Variant& v);
std::span<const Byte> VarArrayBytes(const Variant& v);
// The elements of an array of variants (varArray | varVariant).
std::span<Variant> VarArrayItems(Variant& v);
std::span<const Variant> VarArrayItems(const Variant& v);

}  // namespace brevant
