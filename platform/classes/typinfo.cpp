#include "classes/typinfo.h"

#include <algorithm>
#include <map>
#include <memory>

#include "rtl/numconv.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// Type descriptions live for the whole process.
TTypeInfo* NewType(TTypeKind kind, const char* name) {
  static auto* store = new std::vector<std::unique_ptr<TTypeInfo>>;
  store->push_back(std::make_unique<TTypeInfo>());
  TTypeInfo* t = store->back().get();
  t->Kind = kind;
  t->Name = name;
  return t;
}

const TTypeInfo* Ordinal(TTypeKind kind, const char* name, TOrdType ot, Int64 min, Int64 max) {
  TTypeInfo* t = NewType(kind, name);
  t->OrdType = ot;
  t->MinValue = min;
  t->MaxValue = max;
  return t;
}

const TTypeInfo* Float(const char* name, TFloatType ft) {
  TTypeInfo* t = NewType(tkFloat, name);
  t->FloatType = ft;
  return t;
}

[[noreturn]] void WrongKind(const TPropInfo* p, const char* what) {
  throw EPropertyError("Property %s is not %s", {p ? p->Name : String("(none)"), what});
}

[[noreturn]] void NoAccess(const TPropInfo* p, const char* what) {
  throw EPropertyError("Property %s cannot be %s", {p->Name, what});
}

}  // namespace

#define BV_BUILTIN(T, expr)              \
  template <>                            \
  const TTypeInfo* TypeInfoOf<T>() {     \
    static const TTypeInfo* info = expr; \
    return info;                         \
  }

BV_BUILTIN(bool, MakeEnumType("Boolean", {"False", "True"}))
BV_BUILTIN(char, Ordinal(tkChar, "Char", otUByte, 0, 255))
BV_BUILTIN(char16_t, Ordinal(tkWChar, "WideChar", otUWord, 0, 65535))
BV_BUILTIN(ShortInt, Ordinal(tkInteger, "ShortInt", otSByte, -128, 127))
BV_BUILTIN(Byte, Ordinal(tkInteger, "Byte", otUByte, 0, 255))
BV_BUILTIN(SmallInt, Ordinal(tkInteger, "SmallInt", otSWord, -32768, 32767))
BV_BUILTIN(Word, Ordinal(tkInteger, "Word", otUWord, 0, 65535))
BV_BUILTIN(Integer, Ordinal(tkInteger, "Integer", otSLong, INT32_MIN, INT32_MAX))
BV_BUILTIN(Cardinal, Ordinal(tkInteger, "Cardinal", otULong, 0, UINT32_MAX))
BV_BUILTIN(Int64, Ordinal(tkInt64, "Int64", otSLong, INT64_MIN, INT64_MAX))
BV_BUILTIN(float, Float("Single", ftSingle))
BV_BUILTIN(double, Float("Double", ftDouble))
BV_BUILTIN(Extended, Float("Extended", ftExtended))
BV_BUILTIN(Currency, Float("Currency", ftCurr))
BV_BUILTIN(String, NewType(tkLString, "String"))
BV_BUILTIN(WideString, NewType(tkWString, "WideString"))
BV_BUILTIN(Variant, NewType(tkVariant, "Variant"))

#undef BV_BUILTIN

const TTypeInfo* TypeInfoTDateTime() {
  static const TTypeInfo* t = Float("TDateTime", ftDouble);
  return t;
}
const TTypeInfo* TypeInfoTDate() {
  static const TTypeInfo* t = Float("TDate", ftDouble);
  return t;
}
const TTypeInfo* TypeInfoTTime() {
  static const TTypeInfo* t = Float("TTime", ftDouble);
  return t;
}

const TTypeInfo* NamedType(const TTypeInfo* model, const char* name) {
  TTypeInfo* t = NewType(model->Kind, name);
  String keep = t->Name;
  *t = *model;
  t->Name = keep;
  return t;
}

const TTypeInfo* MakeEnumType(const char* name, std::initializer_list<const char*> names) {
  TTypeInfo* t = NewType(tkEnumeration, name);
  for (const char* n : names) t->EnumNames.emplace_back(n);
  t->MinValue = 0;
  t->MaxValue = static_cast<Int64>(t->EnumNames.size()) - 1;
  t->OrdType = t->EnumNames.size() <= 256 ? otUByte : otUWord;
  return t;
}

const TTypeInfo* MakeEnumTypeFromList(const char* name, const char* commaList) {
  TTypeInfo* t = NewType(tkEnumeration, name);
  for (const String& part : SplitString(commaList, ',')) {
    String n = Trim(part);
    // "ftUnknown = 0" style lists name the value before an '='.
    std::size_t eq = n.find('=');
    if (eq != String::npos) n = Trim(n.substr(0, eq));
    if (!n.empty()) t->EnumNames.push_back(n);
  }
  t->MinValue = 0;
  t->MaxValue = static_cast<Int64>(t->EnumNames.size()) - 1;
  t->OrdType = t->EnumNames.size() <= 256 ? otUByte : otUWord;
  return t;
}

const TTypeInfo* MakeSetType(const char* name, const TTypeInfo* element) {
  TTypeInfo* t = NewType(tkSet, name);
  t->CompType = element;
  t->OrdType = otULong;
  return t;
}

const TTypeInfo* MakeShortStringType(const char* name, Byte maxLength) {
  TTypeInfo* t = NewType(tkString, name);
  t->MaxLength = maxLength;
  return t;
}

const TTypeInfo* MakeClassType(TClass (*classRef)()) {
  static auto* cache = new std::map<TClass (*)(), const TTypeInfo*>;
  auto it = cache->find(classRef);
  if (it != cache->end()) return it->second;
  // The name is filled on first use of ClassType(); the kind is enough here.
  TTypeInfo* t = NewType(tkClass, "");
  t->ClassRef = classRef;
  (*cache)[classRef] = t;
  return t;
}

const TTypeInfo* MakeMethodType(const char* name, const std::type_info& signature) {
  static auto* cache = new std::map<const std::type_info*, const TTypeInfo*>;
  auto it = cache->find(&signature);
  if (it != cache->end()) return it->second;
  TTypeInfo* t = NewType(tkMethod, name);
  t->MethodType = &signature;
  (*cache)[&signature] = t;
  return t;
}

bool TPropInfo::HasGetter() const {
  return GetOrd || GetFloat || GetStr || GetVariant || GetObject || GetMethod;
}
bool TPropInfo::HasSetter() const {
  return SetOrd || SetFloat || SetStr || SetVariant || SetObject || SetMethod;
}

// ---- lookup -----------------------------------------------------------------

const TPropInfo* GetPropInfo(TClass c, const String& name) {
  for (; c; c = c->ClassParent())
    for (const TPropInfo* p : c->OwnProperties())
      if (SameText(p->Name, name)) return p;
  return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* obj, const String& name) {
  return obj ? GetPropInfo(obj->ClassType(), name) : nullptr;
}

std::vector<const TPropInfo*> GetPropList(TClass c) {
  std::vector<TClass> chain;
  for (; c; c = c->ClassParent()) chain.push_back(c);
  std::vector<const TPropInfo*> list;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo* p : (*it)->OwnProperties()) {
      auto same = std::find_if(list.begin(), list.end(),
                               [p](const TPropInfo* q) { return SameText(q->Name, p->Name); });
      if (same != list.end())
        *same = p;  // a redeclaration keeps the place, takes the new accessors
      else
        list.push_back(p);
    }
  }
  return list;
}

std::vector<const TPropInfo*> GetSortedPropList(TClass c) {
  std::vector<const TPropInfo*> list = GetPropList(c);
  std::erase_if(list,
                [](const TPropInfo* p) { return p->Kind() == tkMethod || p->Kind() == tkUnknown; });
  std::stable_sort(list.begin(), list.end(), [](const TPropInfo* a, const TPropInfo* b) {
    return CompareText(a->Name, b->Name) < 0;
  });
  return list;
}

bool IsPublishedProp(const TObject* obj, const String& name) {
  return GetPropInfo(obj, name) != nullptr;
}

const TPropInfo* GetPropInfoOrRaise(const TObject* obj, const String& name) {
  const TPropInfo* p = GetPropInfo(obj, name);
  if (!p) throw EPropertyError("Property %s does not exist", {name});
  return p;
}

const TPublishedMethod* FindPublishedMethod(TClass c, const String& name) {
  for (; c; c = c->ClassParent())
    for (const TPublishedMethod& m : c->OwnMethods())
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

String MethodName(const TObject* obj, const TMethod& m) {
  if (!obj || !m.Code) return String();
  for (TClass c = obj->ClassType(); c; c = c->ClassParent())
    for (const TPublishedMethod& pm : c->OwnMethods())
      if (pm.Code == m.Code && pm.Adjust(const_cast<TObject*>(obj)) == m.Data) return pm.Name;
  return String();
}

// ---- typed access -------------------------------------------------------------

Int64 GetOrdProp(const TObject* obj, const TPropInfo* p) {
  if (!p || !IsOrdinalKind(p->Kind())) WrongKind(p, "ordinal");
  if (p->Kind() == tkClass) return 0;
  if (!p->GetOrd) NoAccess(p, "read");
  return p->GetOrd(obj);
}

void SetOrdProp(TObject* obj, const TPropInfo* p, Int64 value) {
  if (!p || !IsOrdinalKind(p->Kind())) WrongKind(p, "ordinal");
  if (!p->SetOrd) NoAccess(p, "written");
  const TTypeInfo* t = p->PropType;
  if (t->Kind != tkSet && t->Kind != tkInt64 && (value < t->MinValue || value > t->MaxValue))
    throw EPropertyError("Value %d is out of range for property %s", {value, p->Name});
  p->SetOrd(obj, value);
}

Extended GetFloatProp(const TObject* obj, const TPropInfo* p) {
  if (!p || p->Kind() != tkFloat) WrongKind(p, "a float");
  if (!p->GetFloat) NoAccess(p, "read");
  return p->GetFloat(obj);
}

void SetFloatProp(TObject* obj, const TPropInfo* p, Extended value) {
  if (!p || p->Kind() != tkFloat) WrongKind(p, "a float");
  if (!p->SetFloat) NoAccess(p, "written");
  p->SetFloat(obj, value);
}

String GetStrProp(const TObject* obj, const TPropInfo* p) {
  if (!p) WrongKind(p, "a string");
  switch (p->Kind()) {
    case tkString:
    case tkLString:
    case tkWString:
      if (!p->GetStr) NoAccess(p, "read");
      return p->GetStr(obj);
    case tkChar: {
      Int64 v = GetOrdProp(obj, p);
      return v ? String(1, static_cast<char>(v)) : String();
    }
    case tkWChar: {
      Int64 v = GetOrdProp(obj, p);
      return v ? WideToUtf8(WideString(1, static_cast<char16_t>(v))) : String();
    }
    default:
      WrongKind(p, "a string");
  }
}

void SetStrProp(TObject* obj, const TPropInfo* p, const String& value) {
  if (!p) WrongKind(p, "a string");
  switch (p->Kind()) {
    case tkString:
    case tkLString:
    case tkWString:
      if (!p->SetStr) NoAccess(p, "written");
      if (p->Kind() == tkString && value.size() > p->PropType->MaxLength)
        p->SetStr(obj, Utf8Truncate(value, p->PropType->MaxLength));
      else
        p->SetStr(obj, value);
      return;
    case tkChar:
      SetOrdProp(obj, p, value.empty() ? 0 : static_cast<unsigned char>(value[0]));
      return;
    case tkWChar: {
      WideString w = Utf8ToWide(value);
      SetOrdProp(obj, p, w.empty() ? 0 : w[0]);
      return;
    }
    default:
      WrongKind(p, "a string");
  }
}

Int64 GetInt64Prop(const TObject* obj, const TPropInfo* p) {
  return GetOrdProp(obj, p);
}
void SetInt64Prop(TObject* obj, const TPropInfo* p, Int64 value) {
  SetOrdProp(obj, p, value);
}

Variant GetVariantProp(const TObject* obj, const TPropInfo* p) {
  if (!p || p->Kind() != tkVariant) WrongKind(p, "a variant");
  if (!p->GetVariant) NoAccess(p, "read");
  return p->GetVariant(obj);
}

void SetVariantProp(TObject* obj, const TPropInfo* p, const Variant& value) {
  if (!p || p->Kind() != tkVariant) WrongKind(p, "a variant");
  if (!p->SetVariant) NoAccess(p, "written");
  p->SetVariant(obj, value);
}

TObject* GetObjectProp(const TObject* obj, const TPropInfo* p) {
  if (!p || p->Kind() != tkClass) WrongKind(p, "an object");
  if (!p->GetObject) NoAccess(p, "read");
  return p->GetObject(obj);
}

void SetObjectProp(TObject* obj, const TPropInfo* p, TObject* value) {
  if (!p || p->Kind() != tkClass) WrongKind(p, "an object");
  if (!p->SetObject) NoAccess(p, "written");
  p->SetObject(obj, value);
}

TMethod GetMethodProp(const TObject* obj, const TPropInfo* p) {
  if (!p || p->Kind() != tkMethod) WrongKind(p, "an event");
  if (!p->GetMethod) NoAccess(p, "read");
  return p->GetMethod(obj);
}

void SetMethodProp(TObject* obj, const TPropInfo* p, const TMethod& value, const char* name) {
  if (!p || p->Kind() != tkMethod) WrongKind(p, "an event");
  if (!p->SetMethod) NoAccess(p, "written");
  p->SetMethod(obj, value, name);
}

String GetEnumName(const TTypeInfo* t, Int64 value) {
  if (!t) return String();
  if (t->Kind == tkEnumeration && value >= t->MinValue && value <= t->MaxValue &&
      static_cast<std::size_t>(value - t->MinValue) < t->EnumNames.size())
    return t->EnumNames[static_cast<std::size_t>(value - t->MinValue)];
  return IntToStr(value);
}

Int64 GetEnumValue(const TTypeInfo* t, const String& name) {
  if (!t || t->Kind != tkEnumeration) return -1;
  for (std::size_t i = 0; i < t->EnumNames.size(); ++i)
    if (SameText(t->EnumNames[i], name)) return t->MinValue + static_cast<Int64>(i);
  return -1;
}

String GetEnumProp(const TObject* obj, const TPropInfo* p) {
  return GetEnumName(p->PropType, GetOrdProp(obj, p));
}

void SetEnumProp(TObject* obj, const TPropInfo* p, const String& name) {
  Int64 v = GetEnumValue(p->PropType, name);
  if (v < 0) throw EPropertyError("Invalid property value %s for %s", {name, p->Name});
  SetOrdProp(obj, p, v);
}

String SetToString(const TTypeInfo* setType, Cardinal bits, bool brackets) {
  String s;
  const TTypeInfo* el = setType ? setType->CompType : nullptr;
  for (unsigned i = 0; i < 32; ++i) {
    if (!(bits & (Cardinal(1) << i))) continue;
    if (!s.empty()) s += ',';
    s += el ? GetEnumName(el, i) : IntToStr(i);
  }
  return brackets ? "[" + s + "]" : s;
}

Cardinal StringToSet(const TTypeInfo* setType, const String& text) {
  String body = Trim(text);
  if (!body.empty() && body.front() == '[') body.erase(0, 1);
  if (!body.empty() && body.back() == ']') body.pop_back();
  Cardinal bits = 0;
  const TTypeInfo* el = setType ? setType->CompType : nullptr;
  for (const String& part : SplitString(body, ',')) {
    String n = Trim(part);
    if (n.empty()) continue;
    Int64 v = el ? GetEnumValue(el, n) : -1;
    if (v < 0 || v > 31) throw EPropertyError("Invalid property element: %s", {n});
    bits |= Cardinal(1) << v;
  }
  return bits;
}

String GetPropValueText(const TObject* obj, const TPropInfo* p) {
  switch (p->Kind()) {
    case tkInteger:
    case tkInt64:
      return IntToStr(GetOrdProp(obj, p));
    case tkEnumeration:
      return GetEnumProp(obj, p);
    case tkSet:
      return SetToString(p->PropType, static_cast<Cardinal>(GetOrdProp(obj, p)));
    case tkFloat:
      return FloatToStr(GetFloatProp(obj, p));
    case tkChar:
    case tkWChar:
    case tkString:
    case tkLString:
    case tkWString:
      return GetStrProp(obj, p);
    case tkVariant:
      return VarToStr(GetVariantProp(obj, p));
    case tkClass: {
      TObject* o = GetObjectProp(obj, p);
      return o ? String("(") + o->ClassName() + ")" : String();
    }
    case tkMethod: {
      const char* n = p->GetMethodName ? p->GetMethodName(obj) : nullptr;
      return n ? String(n) : MethodName(obj, GetMethodProp(obj, p));
    }
    default:
      return String();
  }
}

bool IsDefaultPropValue(const TObject* obj, const TPropInfo* p) {
  switch (p->Kind()) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet:
      return p->HasDefault && GetOrdProp(obj, p) == p->Default;
    case tkInt64:
      return GetOrdProp(obj, p) == (p->HasDefault ? p->Default : 0);
    case tkFloat:
      return GetFloatProp(obj, p) == 0;
    case tkString:
    case tkLString:
    case tkWString:
      return GetStrProp(obj, p).empty();
    case tkVariant:
      return VarIsEmpty(GetVariantProp(obj, p));
    case tkClass:
      return GetObjectProp(obj, p) == nullptr;
    case tkMethod:
      return !GetMethodProp(obj, p).Code;
    default:
      return true;
  }
}

}  // namespace brevant
