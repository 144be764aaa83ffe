#include "rtl/variant.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

// One-dimensional array storage: bytes for byte arrays (so they can be
// handed out as one block), variants for every other element type.
struct VarArrayData {
  Integer low = 0;
  Integer count = 0;
  TVarType elemType = varVariant;
  std::vector<Byte> bytes;
  std::vector<Variant> items;
};

// The free functions' way to the variant's storage.
struct VariantAccess {
  static VarArrayData* Array(const Variant& v) {
    return (v.type_ & varArray) != 0 ? v.array_ : nullptr;
  }
  static Variant MakeArray(VarArrayData* data) {
    Variant v;
    v.type_ = static_cast<TVarType>(varArray | data->elemType);
    v.array_ = data;
    return v;
  }
};

namespace {

constexpr long double kTwo63 = 9223372036854775808.0L;
constexpr long double kTwo64 = 18446744073709551616.0L;

bool IsStrType(TVarType t) {
  return t == varString || t == varOleStr;
}

// The integer types whose value is held in int_: all but varUInt64.
bool IsSignedIntType(TVarType t) {
  switch (t) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
      return true;
    default:
      return false;
  }
}

bool IsIntType(TVarType t) {
  return IsSignedIntType(t) || t == varUInt64;
}

// Whether the value is held in int_: the signed integers and Booleans (1/0).
bool HoldsInt(TVarType t) {
  return IsSignedIntType(t) || t == varBoolean;
}

bool IsFloatType(TVarType t) {
  return t == varSingle || t == varDouble || t == varDate;
}

bool IsScalarElementType(TVarType t) {
  return IsIntType(t) || IsFloatType(t) || IsStrType(t) || t == varCurrency || t == varBoolean ||
         t == varFMTBcd || t == varSQLTimeStamp;
}

// Rounds half to even into [lo, hi); false for NaN, infinities and values
// outside the range.
bool RoundHalfEven(long double x, long double lo, long double hi, long double& out) {
  if (!std::isfinite(x)) return false;
  long double r = std::floor(x);
  const long double diff = x - r;
  if (diff > 0.5L || (diff == 0.5L && std::fmod(r, 2.0L) != 0)) r += 1;
  if (r < lo || r >= hi) return false;
  out = r;
  return true;
}

bool FloatToInt64(long double x, Int64& out) {
  long double r = 0;
  if (!RoundHalfEven(x, -kTwo63, kTwo63, r)) return false;
  out = static_cast<Int64>(r);
  return true;
}

bool FloatToUInt64(long double x, UInt64& out) {
  long double r = 0;
  if (!RoundHalfEven(x, 0, kTwo64, r)) return false;
  out = static_cast<UInt64>(r);
  return true;
}

// A currency's scaled value rounded half to even to whole units.
Int64 CurrencyToInt64(Int64 raw) {
  Int64 q = raw / Currency::Scale;
  const Int64 r = raw % Currency::Scale;
  if (r > 5000 || (r == 5000 && (q & 1) != 0)) ++q;
  if (r < -5000 || (r == -5000 && (q & 1) != 0)) --q;
  return q;
}

// Format settings with '.' as separator, for machine-made number texts.
const TFormatSettings& DotSettings() {
  static const TFormatSettings fs = [] {
    TFormatSettings s = DefaultFormatSettings();
    s.DecimalSeparator = '.';
    return s;
  }();
  return fs;
}

String UInt64Text(UInt64 v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return String(buf, r.ptr);
}

String SingleText(float v) {
  char buf[48];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return String(buf, r.ptr);
}

}  // namespace

// ---- lifetime --------------------------------------------------------------

void Variant::Release() noexcept {
  if (type_ == varString) {
    str_.~String();
  } else if (type_ == varOleStr) {
    wstr_.~WideString();
  } else if ((type_ & varArray) != 0) {
    delete array_;
  }
  type_ = varEmpty;
  int_ = 0;
}

void Variant::CopyFrom(const Variant& o) {
  if ((o.type_ & varArray) != 0) {
    array_ = new VarArrayData(*o.array_);
  } else {
    switch (o.type_) {
      case varString:
        new (&str_) String(o.str_);
        break;
      case varOleStr:
        new (&wstr_) WideString(o.wstr_);
        break;
      case varFMTBcd:
        new (&bcd_) TBcd(o.bcd_);
        break;
      case varSQLTimeStamp:
        new (&stamp_) TSQLTimeStamp(o.stamp_);
        break;
      case varUInt64:
        uint_ = o.uint_;
        break;
      case varSingle:
        single_ = o.single_;
        break;
      case varDouble:
      case varDate:
        double_ = o.double_;
        break;
      default:
        int_ = o.int_;
        break;
    }
  }
  type_ = o.type_;
}

void Variant::MoveFrom(Variant& o) noexcept {
  if (o.type_ == varString) {
    new (&str_) String(std::move(o.str_));
    type_ = varString;
    o.Release();
  } else if (o.type_ == varOleStr) {
    new (&wstr_) WideString(std::move(o.wstr_));
    type_ = varOleStr;
    o.Release();
  } else if ((o.type_ & varArray) != 0) {
    array_ = o.array_;
    type_ = o.type_;
    o.type_ = varEmpty;
    o.int_ = 0;
  } else {
    CopyFrom(o);  // nothing to allocate for these kinds
  }
}

Variant::Variant(const Variant& other) : type_(varEmpty), int_(0) {
  CopyFrom(other);
}

Variant::Variant(Variant&& other) noexcept : type_(varEmpty), int_(0) {
  MoveFrom(other);
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    // other may live inside this variant's array: take it out first.
    Variant taken(std::move(other));
    if (OwnsResource()) Release();
    MoveFrom(taken);
  }
  return *this;
}

// ---- errors ----------------------------------------------------------------

namespace {

[[noreturn]] void CastError(const Variant& v, TVarType to) {
  if (v.VarType() == varString || v.VarType() == varOleStr) {
    throw EVariantError(res::SVarTypeCastErrorText,
                        {VarTypeName(v.VarType()), VarTypeName(to), VarToStr(v)});
  }
  throw EVariantError(res::SVarTypeCastError, {VarTypeName(v.VarType()), VarTypeName(to)});
}

// A value outside the target's range; texts quote themselves.
[[noreturn]] void RangeError(const Variant& v, TVarType to) {
  if (IsStrType(v.VarType())) CastError(v, to);
  throw EVariantError(res::SVarOverflow, {VarTypeName(v.VarType()), VarTypeName(to)});
}

String TextOf(const Variant& v) {
  return VarToStr(v);
}

}  // namespace

// ---- conversions -------------------------------------------------------------

Int64 Variant::ToInt64(TVarType to) const {
  Int64 r = 0;
  if (HoldsInt(type_)) return int_;
  switch (type_) {
    case varEmpty:
      return 0;
    case varUInt64:
      if (uint_ > static_cast<UInt64>(INT64_MAX)) RangeError(*this, to);
      return static_cast<Int64>(uint_);
    case varSingle:
    case varDouble:
    case varDate: {
      const double x = type_ == varSingle ? single_ : double_;
      if (std::isnan(x)) CastError(*this, to);
      if (!FloatToInt64(x, r)) RangeError(*this, to);
      return r;
    }
    case varCurrency:
      return CurrencyToInt64(int_);
    case varString:
    case varOleStr: {
      const String s = TextOf(*this);
      if (TryStrToInt64(s, r)) return r;
      double x = 0;
      if (!TryStrToFloat(s, x) || !FloatToInt64(x, r)) CastError(*this, to);
      return r;
    }
    case varFMTBcd:
      if (IsBcdZero(bcd_)) return 0;  // also rejects a malformed record
      if (!TryBcdToInt64(bcd_, r)) RangeError(*this, to);
      return r;
    case varSQLTimeStamp:
      if (!FloatToInt64(SQLTimeStampToDateTime(stamp_), r)) RangeError(*this, to);
      return r;
    default:
      CastError(*this, to);
  }
}

Int64 Variant::AsInt64() const {
  return ToInt64(varInt64);
}

Integer Variant::AsInteger() const {
  const Int64 v = ToInt64(varInteger);
  if (v < INT32_MIN || v > INT32_MAX) RangeError(*this, varInteger);
  return static_cast<Integer>(v);
}

UInt64 Variant::AsUInt64() const {
  switch (type_) {
    case varUInt64:
      return uint_;
    case varSingle:
    case varDouble:
    case varDate: {
      const double x = type_ == varSingle ? single_ : double_;
      UInt64 r = 0;
      if (std::isnan(x)) CastError(*this, varUInt64);
      if (!FloatToUInt64(x, r)) RangeError(*this, varUInt64);
      return r;
    }
    case varString:
    case varOleStr: {
      const String s = Trim(TextOf(*this));
      UInt64 r = 0;
      const auto res = std::from_chars(s.data(), s.data() + s.size(), r);
      if (res.ec == std::errc() && res.ptr == s.data() + s.size()) return r;
      break;
    }
    default:
      break;
  }
  const Int64 v = ToInt64(varUInt64);
  if (v < 0) RangeError(*this, varUInt64);
  return static_cast<UInt64>(v);
}

double Variant::AsDouble() const {
  if (HoldsInt(type_)) return static_cast<double>(int_);
  switch (type_) {
    case varEmpty:
      return 0;
    case varUInt64:
      return static_cast<double>(uint_);
    case varSingle:
      return single_;
    case varDouble:
    case varDate:
      return double_;
    case varCurrency:
      return static_cast<double>(static_cast<long double>(int_) / Currency::Scale);
    case varString:
    case varOleStr: {
      double x = 0;
      if (!TryStrToFloat(TextOf(*this), x)) CastError(*this, varDouble);
      return x;
    }
    case varFMTBcd:
      return BcdToDouble(bcd_);
    case varSQLTimeStamp:
      return SQLTimeStampToDateTime(stamp_);
    default:
      CastError(*this, varDouble);
  }
}

Extended Variant::AsExtended() const {
  if (HoldsInt(type_)) return static_cast<Extended>(int_);
  switch (type_) {
    case varUInt64:
      return static_cast<Extended>(uint_);
    case varCurrency:
      return static_cast<Extended>(int_) / Currency::Scale;
    case varString:
    case varOleStr: {
      Extended x = 0;
      if (!TryStrToFloat(TextOf(*this), x)) CastError(*this, varDouble);
      return x;
    }
    default:
      return AsDouble();
  }
}

Currency Variant::AsCurrency() const {
  if (HoldsInt(type_)) {
    Int64 raw = 0;
    if (__builtin_mul_overflow(int_, Currency::Scale, &raw)) RangeError(*this, varCurrency);
    return Currency::FromRaw(raw);
  }
  switch (type_) {
    case varEmpty:
      return Currency();
    case varCurrency:
      return Currency::FromRaw(int_);
    case varUInt64:
      if (uint_ > static_cast<UInt64>(INT64_MAX / Currency::Scale)) RangeError(*this, varCurrency);
      return Currency::FromRaw(static_cast<Int64>(uint_) * Currency::Scale);
    case varSingle:
    case varDouble:
    case varDate:
    case varSQLTimeStamp: {
      const double x = AsDouble();
      if (std::isnan(x)) CastError(*this, varCurrency);
      Currency c;
      try {
        c = Currency::FromDouble(x);  // exact binary value, rounded half to even
      } catch (const EMathError&) {
        RangeError(*this, varCurrency);
      }
      return c;
    }
    case varString:
    case varOleStr: {
      Currency c;
      if (!TryStrToCurr(TextOf(*this), c)) CastError(*this, varCurrency);
      return c;
    }
    case varFMTBcd: {
      Currency c;
      if (IsBcdZero(bcd_)) return c;  // also rejects a malformed record
      if (!TryBCDToCurr(bcd_, c)) RangeError(*this, varCurrency);
      return c;
    }
    default:
      CastError(*this, varCurrency);
  }
}

bool Variant::AsBoolean() const {
  if (HoldsInt(type_) || type_ == varCurrency) return int_ != 0;
  switch (type_) {
    case varEmpty:
      return false;
    case varUInt64:
      return uint_ != 0;
    case varSingle:
      return single_ != 0;
    case varDouble:
    case varDate:
      return double_ != 0;
    case varFMTBcd:
      return !IsBcdZero(bcd_);
    case varString:
    case varOleStr: {
      const String s = Trim(TextOf(*this));
      if (SameText(s, "true")) return true;
      if (SameText(s, "false")) return false;
      Int64 i = 0;
      if (TryStrToInt64(s, i)) return i != 0;
      double x = 0;
      if (TryStrToFloat(s, x)) return x != 0;
      CastError(*this, varBoolean);
    }
    default:
      CastError(*this, varBoolean);
  }
}

TDateTime Variant::AsDateTime() const {
  switch (type_) {
    case varBoolean:
    case varNull:
      CastError(*this, varDate);
    case varString:
    case varOleStr: {
      const String s = TextOf(*this);
      TDateTime dt = 0;
      if (TryStrToDateTime(s, dt)) return dt;  // also a date alone or a time alone
      CastError(*this, varDate);
    }
    default:
      if ((type_ & varArray) != 0 ||
          !(IsIntType(type_) || IsFloatType(type_) || type_ == varEmpty || type_ == varCurrency ||
            type_ == varFMTBcd || type_ == varSQLTimeStamp)) {
        CastError(*this, varDate);
      }
      return AsDouble();
  }
}

String Variant::AsString() const {
  if (IsSignedIntType(type_)) return IntToStr(int_);
  switch (type_) {
    case varEmpty:
    case varNull:
      return String();
    case varBoolean:
      return int_ != 0 ? "True" : "False";
    case varUInt64:
      return UInt64Text(uint_);
    case varSingle:
      return FloatToStrF(single_, ffGeneral, 7, 0);
    case varDouble:
      return FloatToStr(double_);
    case varDate:
      return DateTimeToStr(double_);
    case varCurrency:
      return CurrToStr(Currency::FromRaw(int_));
    case varString:
      return str_;
    case varOleStr:
      return WideToUtf8(wstr_);
    case varFMTBcd:
      return BcdToStr(bcd_);
    case varSQLTimeStamp:
      return SQLTimeStampToStr(String(), stamp_);
    default:
      CastError(*this, varString);
  }
}

WideString Variant::AsWideString() const {
  if (type_ == varOleStr) return wstr_;
  if ((type_ & varArray) != 0) CastError(*this, varOleStr);
  return Utf8ToWide(AsString());
}

TBcd Variant::AsBcd() const {
  if (HoldsInt(type_)) return IntegerToBcd(int_);
  switch (type_) {
    case varEmpty:
    case varNull:
      return NullBcd;
    case varFMTBcd:
      return bcd_;
    case varUInt64:
      return StrToBcd(UInt64Text(uint_), DotSettings());
    case varCurrency: {
      TBcd b;
      CurrToBCD(Currency::FromRaw(int_), b, 32, 4);
      return b;
    }
    case varSingle:
      if (!std::isfinite(single_)) CastError(*this, varFMTBcd);
      return StrToBcd(SingleText(single_), DotSettings());
    case varDouble:
    case varDate:
    case varSQLTimeStamp: {
      const double x = AsDouble();
      if (std::isnan(x)) CastError(*this, varFMTBcd);
      if (!std::isfinite(x)) RangeError(*this, varFMTBcd);
      TBcd b;
      try {
        b = DoubleToBcd(x);
      } catch (const EOverflow&) {  // 1E64 and beyond
        RangeError(*this, varFMTBcd);
      }
      return b;
    }
    case varString:
    case varOleStr: {
      TBcd b;
      if (!TryStrToBcd(TextOf(*this), b)) CastError(*this, varFMTBcd);
      return b;
    }
    default:
      CastError(*this, varFMTBcd);
  }
}

TSQLTimeStamp Variant::AsSQLTimeStamp() const {
  switch (type_) {
    case varEmpty:
    case varNull:
      return NullSQLTimeStamp;
    case varSQLTimeStamp:
      return stamp_;
    case varString:
    case varOleStr: {
      TSQLTimeStamp ts;
      if (!TryStrToSQLTimeStamp(TextOf(*this), ts)) CastError(*this, varSQLTimeStamp);
      return ts;
    }
    case varBoolean:
      CastError(*this, varSQLTimeStamp);
    default:
      break;
  }
  if ((type_ & varArray) != 0) CastError(*this, varSQLTimeStamp);
  const TDateTime dt = AsDateTime();
  TSQLTimeStamp ts;
  try {
    ts = DateTimeToSQLTimeStamp(dt);
  } catch (const EConvertError&) {
    RangeError(*this, varSQLTimeStamp);
  }
  return ts;
}

String VarToStr(const Variant& v) {
  return v.AsString();
}

WideString VarToWideStr(const Variant& v) {
  return v.AsWideString();
}

TDateTime VarToDateTime(const Variant& v) {
  return v.AsDateTime();
}

Variant VarAsType(const Variant& v, TVarType type) {
  if ((type & varArray) != 0) {
    if (v.VarType() == type) return v;
    CastError(v, type);
  }
  auto ranged = [&v, type](Int64 lo, Int64 hi) {
    const Int64 x = v.AsInt64();
    if (x < lo || x > hi) RangeError(v, type);
    return x;
  };
  switch (type) {
    case varEmpty:
      return Variant();
    case varNull:
      return Variant::Null();
    case varVariant:
      return v;
    case varSmallint:
      return Variant(static_cast<SmallInt>(ranged(INT16_MIN, INT16_MAX)));
    case varInteger:
      return Variant(v.AsInteger());
    case varShortInt:
      return Variant(static_cast<ShortInt>(ranged(INT8_MIN, INT8_MAX)));
    case varByte:
      return Variant(static_cast<Byte>(ranged(0, UINT8_MAX)));
    case varWord:
      return Variant(static_cast<Word>(ranged(0, UINT16_MAX)));
    case varLongWord:
      return Variant(static_cast<Cardinal>(ranged(0, UINT32_MAX)));
    case varInt64:
      return Variant(v.AsInt64());
    case varUInt64:
      return Variant(v.AsUInt64());
    case varSingle: {
      const double x = v.AsDouble();
      if (std::isfinite(x) && std::fabs(x) > FLT_MAX) RangeError(v, type);
      return Variant(static_cast<float>(x));
    }
    case varDouble:
      return Variant(v.AsDouble());
    case varCurrency:
      return Variant(v.AsCurrency());
    case varDate:
      return Variant::FromDateTime(v.AsDateTime());
    case varBoolean:
      return Variant(v.AsBoolean());
    case varString:
      return Variant(v.AsString());
    case varOleStr:
      return Variant(v.AsWideString());
    case varFMTBcd:
      return Variant(v.AsBcd());
    case varSQLTimeStamp:
      return Variant(v.AsSQLTimeStamp());
    default:
      CastError(v, type);
  }
}

// ---- type queries ------------------------------------------------------------

bool VarIsStr(const Variant& v) noexcept {
  return IsStrType(v.VarType());
}

bool VarIsOrdinal(const Variant& v) noexcept {
  return IsIntType(v.VarType()) || v.VarType() == varBoolean;
}

bool VarIsNumeric(const Variant& v) noexcept {
  const TVarType t = v.VarType();
  return VarIsOrdinal(v) || t == varSingle || t == varDouble || t == varCurrency || t == varFMTBcd;
}

namespace {

String ElementTypeName(TVarType t) {
  switch (t) {
    case varEmpty:
      return "Empty";
    case varNull:
      return "Null";
    case varSmallint:
      return "Smallint";
    case varInteger:
      return "Integer";
    case varSingle:
      return "Single";
    case varDouble:
      return "Double";
    case varCurrency:
      return "Currency";
    case varDate:
      return "Date";
    case varOleStr:
      return "OleStr";
    case varBoolean:
      return "Boolean";
    case varVariant:
      return "Variant";
    case varShortInt:
      return "ShortInt";
    case varByte:
      return "Byte";
    case varWord:
      return "Word";
    case varLongWord:
      return "LongWord";
    case varInt64:
      return "Int64";
    case varUInt64:
      return "UInt64";
    case varString:
      return "String";
    case varFMTBcd:
      return "FMTBcd";
    case varSQLTimeStamp:
      return "SQLTimeStamp";
    default: {
      static const char hex[] = "0123456789ABCDEF";
      String s = "Unknown ($0000)";
      for (int i = 0; i < 4; ++i) s[13 - i] = hex[(t >> (4 * i)) & 0xF];
      return s;
    }
  }
}

}  // namespace

String VarTypeName(TVarType code) {
  if ((code & varArray) != 0 && (code & ~(varArray | varTypeMask)) == 0) {
    return "Array " + ElementTypeName(code & varTypeMask);
  }
  return ElementTypeName(code);
}

// ---- arrays ------------------------------------------------------------------

namespace {

VarArrayData& ArrayOrRaise(const Variant& v) {
  VarArrayData* a = VariantAccess::Array(v);
  if (a == nullptr) throw EVariantError(res::SVarNotArray);
  return *a;
}

std::size_t IndexOrRaise(const VarArrayData& a, Integer index) {
  const Int64 i = static_cast<Int64>(index) - a.low;
  if (i < 0 || i >= a.count) throw EVariantError(res::SVarBadIndex);
  return static_cast<std::size_t>(i);
}

Variant MakeItemsArray(const Variant* items, std::size_t n) {
  if (n > static_cast<std::size_t>(INT32_MAX)) {
    throw EVariantError(res::SVarArrayCreate, {"Variant", 0, -1});
  }
  auto data = std::make_unique<VarArrayData>();
  data->count = static_cast<Integer>(n);
  data->items.assign(items, items + n);
  return VariantAccess::MakeArray(data.release());
}

}  // namespace

Variant VarArrayCreate(Integer low, Integer high, TVarType elementType) {
  const Int64 count = static_cast<Int64>(high) - low + 1;
  if (count < 0 || count > INT32_MAX ||
      !(elementType == varVariant || IsScalarElementType(elementType))) {
    throw EVariantError(res::SVarArrayCreate, {VarTypeName(elementType), low, high});
  }
  auto data = std::make_unique<VarArrayData>();
  data->low = low;
  data->count = static_cast<Integer>(count);
  data->elemType = elementType;
  if (elementType == varByte) {
    data->bytes.assign(static_cast<std::size_t>(count), 0);
  } else {
    const Variant zero = elementType == varVariant ? Variant() : VarAsType(Variant(), elementType);
    data->items.assign(static_cast<std::size_t>(count), zero);
  }
  return VariantAccess::MakeArray(data.release());
}

Variant VarArrayOf(std::initializer_list<Variant> items) {
  return MakeItemsArray(items.begin(), items.size());
}

Variant VarArrayOf(std::span<const Variant> items) {
  return MakeItemsArray(items.data(), items.size());
}

Variant VarArrayFromBytes(std::span<const Byte> bytes) {
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
    throw EVariantError(res::SVarArrayCreate, {"Byte", 0, -1});
  }
  Variant v = VarArrayCreate(0, static_cast<Integer>(bytes.size()) - 1, varByte);
  if (!bytes.empty()) std::memcpy(VarArrayBytes(v).data(), bytes.data(), bytes.size());
  return v;
}

Integer VarArrayDimCount(const Variant& v) noexcept {
  return VarIsArray(v) ? 1 : 0;
}

Integer VarArrayLowBound(const Variant& v, Integer dim) {
  const VarArrayData& a = ArrayOrRaise(v);
  if (dim != 1) throw EVariantError(res::SVarBadIndex);
  return a.low;
}

Integer VarArrayHighBound(const Variant& v, Integer dim) {
  const VarArrayData& a = ArrayOrRaise(v);
  if (dim != 1) throw EVariantError(res::SVarBadIndex);
  return static_cast<Integer>(static_cast<Int64>(a.low) + a.count - 1);
}

namespace {

// The array data of v (const or not) when its elements are of elemType.
template <class V>
auto& ArrayOfElements(V& v, TVarType elemType) {
  auto& a = ArrayOrRaise(v);
  if (a.elemType != elemType) throw EVariantError(res::SInvalidVarType);
  return a;
}

}  // namespace

std::span<Byte> VarArrayBytes(Variant& v) {
  return ArrayOfElements(v, varByte).bytes;
}

std::span<const Byte> VarArrayBytes(const Variant& v) {
  return ArrayOfElements(v, varByte).bytes;
}

std::span<Variant> VarArrayItems(Variant& v) {
  return ArrayOfElements(v, varVariant).items;
}

std::span<const Variant> VarArrayItems(const Variant& v) {
  return ArrayOfElements(v, varVariant).items;
}

Variant Variant::GetElement(Integer index) const {
  const VarArrayData& a = ArrayOrRaise(*this);
  const std::size_t i = IndexOrRaise(a, index);
  if (a.elemType == varByte) return Variant(a.bytes[i]);
  return a.items[i];
}

void Variant::PutElement(Integer index, const Variant& value) {
  VarArrayData& a = ArrayOrRaise(*this);
  const std::size_t i = IndexOrRaise(a, index);
  if (a.elemType == varByte) {
    a.bytes[i] = static_cast<Byte>(VarAsType(value, varByte).AsInt64());
  } else if (a.elemType == varVariant) {
    if (&value == &a.items[i]) return;
    a.items[i] = value;
  } else {
    a.items[i] = VarAsType(value, a.elemType);
  }
}

// ---- equality ----------------------------------------------------------------

namespace {

// An integer variant as sign and magnitude.
void IntParts(const Variant& v, bool& neg, UInt64& mag) {
  if (v.VarType() == varUInt64) {
    neg = false;
    mag = v.AsUInt64();
    return;
  }
  const Int64 i = v.AsInt64();
  neg = i < 0;
  mag = neg ? UInt64(0) - static_cast<UInt64>(i) : static_cast<UInt64>(i);
}

bool IntEqualsFloat(const Variant& iv, double x) {
  if (!std::isfinite(x) || x != std::floor(x)) return false;
  bool neg = false;
  UInt64 mag = 0;
  IntParts(iv, neg, mag);
  if (x < 0) {
    if (!neg || -static_cast<long double>(x) > kTwo63) return false;
    return static_cast<UInt64>(-static_cast<long double>(x)) == mag;
  }
  if (neg || static_cast<long double>(x) >= kTwo64) return false;
  return static_cast<UInt64>(x) == mag;
}

bool NumericEqual(const Variant& a, const Variant& b) {
  const TVarType ta = a.VarType();
  const TVarType tb = b.VarType();
  if (ta == varCurrency && tb == varCurrency) return a.AsCurrency() == b.AsCurrency();
  if (ta == varCurrency || tb == varCurrency || ta == varFMTBcd || tb == varFMTBcd) {
    try {
      return BcdCompare(a.AsBcd(), b.AsBcd()) == 0;
    } catch (const Exception&) {
      return false;  // NaN, infinities, malformed records: equal to nothing
    }
  }
  if (IsIntType(ta) && IsIntType(tb)) {
    bool na = false, nb = false;
    UInt64 ma = 0, mb = 0;
    IntParts(a, na, ma);
    IntParts(b, nb, mb);
    return na == nb && ma == mb;
  }
  if (IsIntType(ta)) return IntEqualsFloat(a, b.AsDouble());
  if (IsIntType(tb)) return IntEqualsFloat(b, a.AsDouble());
  return a.AsDouble() == b.AsDouble();
}

bool IsNumberForEquality(TVarType t) {
  return IsIntType(t) || IsFloatType(t) || t == varCurrency || t == varFMTBcd;
}

bool StampEqualsDate(const TSQLTimeStamp& ts, double dt) {
  TSQLTimeStamp other;
  try {
    other = DateTimeToSQLTimeStamp(dt);
  } catch (const Exception&) {
    return false;
  }
  return other == ts;
}

}  // namespace

bool operator==(const Variant& a, const Variant& b) {
  const TVarType ta = a.type_;
  const TVarType tb = b.type_;
  const bool arrA = (ta & varArray) != 0;
  const bool arrB = (tb & varArray) != 0;
  if (arrA || arrB) {
    if (!arrA || !arrB) return false;
    const VarArrayData& x = *a.array_;
    const VarArrayData& y = *b.array_;
    if (x.low != y.low || x.count != y.count) return false;
    if (x.elemType == varByte && y.elemType == varByte) return x.bytes == y.bytes;
    if (x.elemType != varByte && y.elemType != varByte) return x.items == y.items;
    for (Integer i = 0; i < x.count; ++i) {
      if (!(a.GetElement(x.low + i) == b.GetElement(y.low + i))) return false;
    }
    return true;
  }
  if (ta == varEmpty || ta == varNull || tb == varEmpty || tb == varNull) return ta == tb;
  if (IsStrType(ta) || IsStrType(tb)) {
    if (!IsStrType(ta) || !IsStrType(tb)) return false;
    if (ta == varString && tb == varString) return a.str_ == b.str_;
    if (ta == varOleStr && tb == varOleStr) return a.wstr_ == b.wstr_;
    return a.AsString() == b.AsString();
  }
  if (ta == varBoolean || tb == varBoolean) return ta == tb && a.int_ == b.int_;
  if (ta == varSQLTimeStamp || tb == varSQLTimeStamp) {
    if (ta == tb) return a.stamp_ == b.stamp_;
    if (ta == varDate) return StampEqualsDate(b.stamp_, a.double_);
    if (tb == varDate) return StampEqualsDate(a.stamp_, b.double_);
    return false;
  }
  if (ta == varFMTBcd && tb == varFMTBcd && std::memcmp(&a.bcd_, &b.bcd_, sizeof(TBcd)) == 0) {
    return true;
  }
  if (IsNumberForEquality(ta) && IsNumberForEquality(tb)) return NumericEqual(a, b);
  return false;
}

}  // namespace brevant
