#include "classes/writer.h"

#include <bit>
#include <cstring>

#include "classes/collection.h"
#include "classes/typinfo.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

bool IsAscii(const String& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsDateType(const TTypeInfo* t) {
  return t && (t->Name == "TDateTime" || t->Name == "TDate" || t->Name == "TTime");
}

bool IsBooleanType(const TTypeInfo* t) {
  return t && t->EnumNames.size() == 2 && t->MinValue == 0 && t->EnumNames[0] == "False" &&
         t->EnumNames[1] == "True";
}

// Whether a property holds the same value in two objects of one class.
bool SameValue(const TObject* a, const TObject* b, const TPropInfo* p) {
  if (IsOrdinalKind(p->Kind())) return GetOrdProp(a, p) == GetOrdProp(b, p);
  switch (p->Kind()) {
    case tkFloat: {
      Extended x = GetFloatProp(a, p), y = GetFloatProp(b, p);
      return x == y || (x != x && y != y);
    }
    case tkString:
    case tkLString:
    case tkWString:
      return GetStrProp(a, p) == GetStrProp(b, p);
    case tkVariant: {
      Variant x = GetVariantProp(a, p), y = GetVariantProp(b, p);
      return x.VarType() == y.VarType() && x == y;
    }
    default:
      return false;
  }
}

}  // namespace

TWriter::TWriter(TStream& stream) : TFiler(stream) {}
TWriter::~TWriter() = default;

TTemporaryChange<Integer> TWriter::EnterNesting(const TPersistent* instance) {
  if (depth_ >= MaxFilerNesting)
    throw EWriteError(res::SWriteNestingTooDeep, {instance->GetNamePath()});
  return TTemporaryChange<Integer>(depth_, depth_ + 1);
}

Int64 TWriter::Position() const {
  return stream_->Position();
}

// ---- values ---------------------------------------------------------------------------

void TWriter::WriteBytes(const void* data, std::size_t count) {
  if (count) stream_->WriteBuffer(data, static_cast<Int64>(count));
}

void TWriter::WriteUInt32(Cardinal v) {
  Byte b[4] = {Byte(v), Byte(v >> 8), Byte(v >> 16), Byte(v >> 24)};
  WriteBytes(b, 4);
}

void TWriter::WriteLength(std::size_t size) {
  if (size > static_cast<std::size_t>(INT32_MAX))
    throw EWriteError(res::SStreamValueTooLarge, {static_cast<Int64>(size)});
  WriteUInt32(static_cast<Cardinal>(size));
}

void TWriter::WriteValue(TValueType type) {
  Byte b = type;
  WriteBytes(&b, 1);
}

void TWriter::WriteStr(const String& s) {
  if (s.size() > 255) throw EWriteError(res::SShortStringTooLong, {Utf8Truncate(s, 64)});
  Byte len = static_cast<Byte>(s.size());
  WriteBytes(&len, 1);
  WriteBytes(s.data(), s.size());
}

void TWriter::WriteSignature() {
  WriteBytes("TPF0", 4);
}

void TWriter::WritePrefix(TFilerFlags flags, Integer childPos) {
  if (flags.Empty()) return;
  Byte b = static_cast<Byte>(0xF0 | (flags.Bits() & 0x07));
  WriteBytes(&b, 1);
  if (flags.Contains(ffChildPos)) WriteInteger(childPos);
}

void TWriter::WriteInteger(Int64 value) {
  Byte b[8];
  std::size_t n;
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteValue(vaInt8);
    n = 1;
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteValue(vaInt16);
    n = 2;
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValue(vaInt32);
    n = 4;
  } else {
    WriteValue(vaInt64);
    n = 8;
  }
  UInt64 u = static_cast<UInt64>(value);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<Byte>(u >> (8 * i));
  WriteBytes(b, n);
}

void TWriter::WriteFloat(Extended value) {
  Byte b[10];
  ExtendedToBytes(value, b);
  WriteValue(vaExtended);
  WriteBytes(b, 10);
}

void TWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  WriteUInt32(std::bit_cast<Cardinal>(value));
}

void TWriter::WriteCurrency(Currency value) {
  WriteValue(vaCurrency);
  UInt64 u = static_cast<UInt64>(value.Value);
  Byte b[8];
  for (int i = 0; i < 8; ++i) b[i] = static_cast<Byte>(u >> (8 * i));
  WriteBytes(b, 8);
}

void TWriter::WriteDate(TDateTime value) {
  WriteValue(vaDate);
  UInt64 u = std::bit_cast<UInt64>(value);
  Byte b[8];
  for (int i = 0; i < 8; ++i) b[i] = static_cast<Byte>(u >> (8 * i));
  WriteBytes(b, 8);
}

void TWriter::WriteString(const String& value) {
  if (IsAscii(value)) {
    if (value.size() <= 255) {
      WriteValue(vaString);
      WriteStr(value);
      return;
    }
    WriteValue(vaLString);
  } else {
    WriteValue(vaUTF8String);
  }
  WriteLength(value.size());
  WriteBytes(value.data(), value.size());
}

void TWriter::WriteWideString(const WideString& value) {
  WriteValue(vaWString);
  WriteLength(value.size());
  std::vector<Byte> b(value.size() * 2);
  for (std::size_t i = 0; i < value.size(); ++i) {
    b[2 * i] = static_cast<Byte>(value[i] & 0xFF);
    b[2 * i + 1] = static_cast<Byte>(value[i] >> 8);
  }
  WriteBytes(b.data(), b.size());
}

void TWriter::WriteIdent(const String& ident) {
  if (SameText(ident, "False")) {
    WriteValue(vaFalse);
  } else if (SameText(ident, "True")) {
    WriteValue(vaTrue);
  } else if (SameText(ident, "nil")) {
    WriteValue(vaNil);
  } else if (SameText(ident, "Null")) {
    WriteValue(vaNull);
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TWriter::WriteVariant(const Variant& value) {
  TVarType vt = value.VarType();
  switch (vt) {
    case varEmpty:
      WriteValue(vaNil);
      return;
    case varNull:
      WriteValue(vaNull);
      return;
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64:
      WriteInteger(value.AsInt64());
      return;
    case varUInt64:
      if (value.AsUInt64() <= static_cast<UInt64>(INT64_MAX)) {
        WriteInteger(static_cast<Int64>(value.AsUInt64()));
        return;
      }
      break;
    case varSingle:
      WriteSingle(static_cast<float>(value.AsDouble()));
      return;
    case varDouble:
      WriteFloat(value.AsDouble());
      return;
    case varCurrency:
      WriteCurrency(value.AsCurrency());
      return;
    case varDate:
      WriteDate(value.AsDateTime());
      return;
    case varOleStr:
      WriteWideString(value.AsWideString());
      return;
    case varString:
      WriteString(value.AsString());
      return;
    case varBoolean:
      WriteBoolean(value.AsBoolean());
      return;
    default:
      break;
  }
  throw EWriteError(res::SVariantNotStreamable, {Integer(vt)});
}

void TWriter::WriteBinary(const void* data, Int64 size) {
  if (size < 0) size = 0;
  WriteValue(vaBinary);
  WriteLength(static_cast<std::size_t>(size));
  WriteBytes(data, static_cast<std::size_t>(size));
}

void TWriter::WriteCollection(const TCollection* collection) {
  WriteValue(vaCollection);
  if (collection) {
    for (Integer i = 0; i < collection->Count(); ++i) {
      WriteListBegin();
      WritePropertiesOf(collection->Items(i), nullptr, String());
      WriteListEnd();
    }
  }
  WriteListEnd();
}

void TWriter::WriteProperties(const TPersistent* instance) {
  WritePropertiesOf(instance, nullptr, prefix_);
}

void TWriter::WritePropName(const String& name) {
  WriteStr(prefix_ + name);
}

void TWriter::DefineProperty(const String& name, const TReaderProc&, const TWriterProc& writeData,
                             bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const String& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream ms;
  writeData(ms);
  WritePropName(name);
  WriteBinary(ms.Memory(), ms.Size());
}

// ---- trees ------------------------------------------------------------------------------

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
  root_ = lookupRoot_ = root;
  rootAncestor_ = ancestor;
  WriteSignature();
  TFilerFlags flags;
  if (ancestor) flags += ffInherited;
  WriteComponentAs(root, ancestor, flags, 0);
}

void TWriter::WriteComponent(TComponent* component) {
  WriteComponentAs(component, nullptr, TFilerFlags(), 0);
}

void TWriter::WriteComponentAs(TComponent* component, TComponent* ancestor, TFilerFlags flags,
                               Integer pos) {
  auto nesting = EnterNesting(component);
  const bool wasWriting = component->ComponentState().Contains(csWriting);
  TScopeGuard endWriting([component, wasWriting] {
    if (!wasWriting) component->state_ -= csWriting;
  });
  component->state_ += csWriting;

  if (component->ComponentState().Contains(csInline)) flags += ffInline;
  String className = component->ClassName();
  // A class name of 240 bytes or more would read as a prefix byte.
  if (className.size() >= 0xF0) throw EWriteError(res::SShortStringTooLong, {className});
  WritePrefix(flags, pos);
  WriteStr(className);
  WriteStr(component->Name());
  WritePropertiesOf(component, ancestor, String());
  WriteListEnd();

  std::vector<TComponent*> children;
  component->GetChildren([&children](TComponent* c) { children.push_back(c); }, root_);
  std::vector<TComponent*> ancestorChildren;
  if (ancestor)
    ancestor->GetChildren([&ancestorChildren](TComponent* c) { ancestorChildren.push_back(c); },
                          rootAncestor_);
  // Subcomponents are written through their owner's property.
  std::erase_if(children, [](TComponent* c) { return c->IsSubComponent(); });
  std::erase_if(ancestorChildren, [](TComponent* c) { return c->IsSubComponent(); });
  for (std::size_t i = 0; i < children.size(); ++i) {
    TComponent* child = children[i];
    TComponent* childAncestor = nullptr;
    TFilerFlags childFlags;
    Integer childPos = 0;
    if (!child->Name().empty()) {
      for (std::size_t j = 0; j < ancestorChildren.size(); ++j) {
        if (SameText(ancestorChildren[j]->Name(), child->Name())) {
          childAncestor = ancestorChildren[j];
          childFlags += ffInherited;
          if (j != i) {
            childFlags += ffChildPos;
            childPos = static_cast<Integer>(i);
          }
          break;
        }
      }
    }
    WriteComponentAs(child, childAncestor, childFlags, childPos);
  }
  WriteListEnd();
}

void TWriter::WritePropertiesOf(const TPersistent* instance, const TPersistent* ancestor,
                                const String& prefix) {
  if (!instance) return;
  auto nesting = EnterNesting(instance);
  if (ancestor && ancestor->ClassType() != instance->ClassType()) ancestor = nullptr;
  TTemporaryChange<String> restorePrefix(prefix_, prefix);
  TTemporaryChange<TPersistent*> restoreAncestor(ancestor_, ancestor_);
  for (const TPropInfo* p : GetPropList(instance->ClassType())) {
    WriteProperty(instance, ancestor, p, prefix);
    prefix_ = prefix;
  }
  ancestor_ = const_cast<TPersistent*>(ancestor);
  const_cast<TPersistent*>(instance)->DefineProperties(this);
  // String lists store their lines as the list property "Strings".
  if (auto* strings = dynamic_cast<const TStrings*>(instance)) {
    auto* ancestorStrings = dynamic_cast<const TStrings*>(ancestor);
    if (ancestorStrings ? !strings->Equals(*ancestorStrings) : strings->Count() > 0) {
      WritePropName("Strings");
      WriteListBegin();
      for (Integer i = 0; i < strings->Count(); ++i) WriteString(strings->Strings(i));
      WriteListEnd();
    }
  }
}

String TWriter::MethodNameOf(const TPersistent* instance, const TPropInfo* p) const {
  TMethod m = GetMethodProp(instance, p);
  if (!m.Code) return String();
  String name = MethodName(lookupRoot_, m);
  if (name.empty() && p->GetMethodName) {
    const char* n = p->GetMethodName(instance);
    if (n) name = n;
  }
  return name;
}

void TWriter::WriteProperty(const TPersistent* instance, const TPersistent* ancestor,
                            const TPropInfo* p, const String& prefix) {
  TTypeKind kind = p->Kind();
  if (kind == tkUnknown || !p->HasGetter() || !p->IsStored(instance)) return;
  if (kind == tkClass) {
    WriteObjectProperty(instance, ancestor, p, prefix);
    return;
  }
  if (!p->HasSetter()) return;  // a reader could not set it back
  const TTypeInfo* type = p->PropType;
  if (kind == tkMethod) {
    String name = MethodNameOf(instance, p);
    if (ancestor ? SameText(name, MethodNameOf(ancestor, p)) : name.empty()) return;
    WritePropName(p->Name);
    if (name.empty()) {
      WriteValue(vaNil);
    } else {
      WriteValue(vaIdent);
      WriteStr(name);
    }
    return;
  }
  if (ancestor ? SameValue(instance, ancestor, p) : IsDefaultPropValue(instance, p)) return;
  WritePropName(p->Name);
  switch (kind) {
    case tkInteger: {
      Int64 v = GetOrdProp(instance, p);
      TIdentToInt toInt = nullptr;
      TIntToIdent toIdent = nullptr;
      detail::FindIntegerConsts(type, toInt, toIdent);
      String ident;
      if (toIdent && toIdent(v, ident) && IsValidIdent(ident)) {
        WriteValue(vaIdent);
        WriteStr(ident);
      } else {
        WriteInteger(v);
      }
      return;
    }
    case tkInt64:
      WriteInteger(GetOrdProp(instance, p));
      return;
    case tkChar:
      WriteChar(static_cast<char>(GetOrdProp(instance, p)));
      return;
    case tkWChar:
      WriteWideString(WideString(1, static_cast<char16_t>(GetOrdProp(instance, p))));
      return;
    case tkEnumeration: {
      Int64 v = GetOrdProp(instance, p);
      if (IsBooleanType(type) && (v == 0 || v == 1)) {
        WriteBoolean(v != 0);
        return;
      }
      if (v < type->MinValue || v > type->MaxValue)
        throw EWriteError(res::SPropertyReadError,
                          {instance->GetNamePath(), p->Name, String(res::SInvalidPropertyValue)});
      WriteValue(vaIdent);
      WriteStr(GetEnumName(type, v));
      return;
    }
    case tkSet: {
      Cardinal bits = static_cast<Cardinal>(GetOrdProp(instance, p));
      const TTypeInfo* element = type->CompType;
      WriteValue(vaSet);
      for (Integer i = 0; i < 32; ++i)
        if ((bits & (Cardinal(1) << i)) && element && i >= element->MinValue &&
            i <= element->MaxValue)
          WriteStr(GetEnumName(element, i));
      WriteStr(String());
      return;
    }
    case tkFloat: {
      Extended v = GetFloatProp(instance, p);
      if (type->FloatType == ftSingle)
        WriteSingle(ExtendedToSingle(v));
      else if (type->FloatType == ftCurr)
        WriteCurrency(Currency::FromDouble(v));
      else if (IsDateType(type))
        WriteDate(ExtendedToDouble(v));
      else
        WriteFloat(v);
      return;
    }
    case tkString:
    case tkLString:
      WriteString(GetStrProp(instance, p));
      return;
    case tkWString:
      WriteWideString(Utf8ToWide(GetStrProp(instance, p)));
      return;
    case tkVariant:
      WriteVariant(GetVariantProp(instance, p));
      return;
    default:
      WriteValue(vaNil);
      return;
  }
}

void TWriter::WriteObjectProperty(const TPersistent* instance, const TPersistent* ancestor,
                                  const TPropInfo* p, const String& prefix) {
  TObject* obj = GetObjectProp(instance, p);
  TObject* ancestorObj = ancestor ? GetObjectProp(ancestor, p) : nullptr;
  if (!obj) {
    if (ancestorObj && p->SetObject) {
      WritePropName(p->Name);
      WriteValue(vaNil);
    }
    return;
  }
  auto* component = dynamic_cast<TComponent*>(obj);
  if (component && !(component->IsSubComponent() && component->Owner() == instance)) {
    if (!p->SetObject) return;
    String name = ComponentReferenceName(lookupRoot_, component);
    if (name.empty()) return;
    if (ancestor) {
      auto* ac = dynamic_cast<TComponent*>(ancestorObj);
      if (ac && SameText(ComponentReferenceName(rootAncestor_, ac), name)) return;
    }
    WritePropName(p->Name);
    WriteValue(vaIdent);
    WriteStr(name);
    return;
  }
  if (auto* collection = dynamic_cast<TCollection*>(obj)) {
    if (auto* ac = dynamic_cast<TCollection*>(ancestorObj)) {
      // Equal when both stream to the same bytes.
      TMemoryStream a, b;
      TWriter wa(a), wb(b);
      wa.lookupRoot_ = wb.lookupRoot_ = lookupRoot_;
      wa.WriteCollection(collection);
      wb.WriteCollection(ac);
      if (a.Size() == b.Size() &&
          (a.Size() == 0 ||
           std::memcmp(a.Memory(), b.Memory(), static_cast<std::size_t>(a.Size())) == 0))
        return;
    }
    WritePropName(p->Name);
    WriteCollection(collection);
    return;
  }
  if (auto* nested = dynamic_cast<TPersistent*>(obj))
    WritePropertiesOf(nested, dynamic_cast<TPersistent*>(ancestorObj), prefix + p->Name + ".");
}

}  // namespace brevant
