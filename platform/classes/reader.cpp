#include "classes/reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "classes/collection.h"
#include "classes/typinfo.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// A name clash among the components of a stream.
constexpr const char* SComponentNameError = "%s at offset %d";

// The largest stream part a reader takes in.
constexpr Int64 MaxReaderBuffer = Int64(1) << 31;

bool IsIntType(TValueType t) {
  return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64;
}
bool Is8BitString(TValueType t) {
  return t == vaString || t == vaLString || t == vaUTF8String;
}

// ---- property values by kind ---------------------------------------------------------------

[[noreturn]] void InvalidValue() {
  throw EReadError(String(res::SInvalidPropertyValue));
}

// A number, or an identifier the type's integer constants name (clRed).
void ReadIntegerValue(TReader& r, TPersistent* obj, const TPropInfo* p, TValueType t) {
  if (t != vaIdent) {
    SetOrdProp(obj, p, r.ReadInt64());
    return;
  }
  TIdentToInt toInt = nullptr;
  TIntToIdent toIdent = nullptr;
  detail::FindIntegerConsts(p->PropType, toInt, toIdent);
  String ident = r.ReadIdent();
  Int64 v = 0;
  if (!toInt || !toInt(ident, v)) InvalidValue();
  SetOrdProp(obj, p, v);
}

void ReadCharValue(TReader& r, TPersistent* obj, const TPropInfo* p, TValueType t) {
  if (IsIntType(t))
    SetOrdProp(obj, p, r.ReadInt64());
  else
    SetOrdProp(obj, p, static_cast<unsigned char>(r.ReadChar()));
}

// A code, or a string of exactly one UTF-16 unit.
void ReadWideCharValue(TReader& r, TPersistent* obj, const TPropInfo* p, TValueType t) {
  if (IsIntType(t)) {
    SetOrdProp(obj, p, r.ReadInt64());
    return;
  }
  WideString w = r.ReadWideString();
  if (w.size() != 1) InvalidValue();
  SetOrdProp(obj, p, w[0]);
}

void ReadEnumValue(TReader& r, TPersistent* obj, const TPropInfo* p, TValueType t) {
  if (t != vaIdent && t != vaFalse && t != vaTrue && t != vaNil && t != vaNull) InvalidValue();
  Int64 v = GetEnumValue(p->PropType, r.ReadIdent());
  if (v < 0) InvalidValue();
  SetOrdProp(obj, p, v);
}

void ReadSetValue(TReader& r, TPersistent* obj, const TPropInfo* p) {
  r.CheckValue(vaSet);
  const TTypeInfo* type = p->PropType;
  Cardinal bits = 0;
  for (;;) {
    String element = r.ReadStr();
    if (element.empty()) break;
    Int64 v = type->CompType ? GetEnumValue(type->CompType, element) : -1;
    if (v < 0 || v > 31) throw EReadError(res::SInvalidPropertyElement, {element});
    bits |= Cardinal(1) << v;
  }
  SetOrdProp(obj, p, bits);
}

// Narrowed here so that a setter never converts a value out of range.
void ReadFloatValue(TReader& r, TPersistent* obj, const TPropInfo* p) {
  Extended v = r.ReadFloat();
  if (p->PropType->FloatType == ftSingle) v = ExtendedToSingle(v);
  if (p->PropType->FloatType == ftDouble) v = ExtendedToDouble(v);
  SetFloatProp(obj, p, v);
}

void ReadStringValue(TReader& r, TPersistent* obj, const TPropInfo* p, TValueType t) {
  if (!Is8BitString(t) && t != vaWString) InvalidValue();
  SetStrProp(obj, p, r.ReadString());
}

// Cuts the fixup path back to its length at the start of a scope, also on
// exceptions.
struct TPathGuard {
  std::vector<detail::TFixupStep>& path;
  std::size_t size;
  ~TPathGuard() { path.resize(size); }
};

}  // namespace

// Sets the reader's anchor collection for a scope (nullptr: none).
struct TReader::TAnchorScope {
  TReader& r;
  TCollection* saved;
  std::size_t savedDepth;
  TAnchorScope(TReader& reader, TCollection* anchor)
      : r(reader), saved(reader.anchor_), savedDepth(reader.anchorDepth_) {
    r.anchor_ = anchor;
    r.anchorDepth_ = r.path_.size();
  }
  ~TAnchorScope() {
    r.anchor_ = saved;
    r.anchorDepth_ = savedDepth;
  }
  TAnchorScope(const TAnchorScope&) = delete;
  TAnchorScope& operator=(const TAnchorScope&) = delete;
};

TReader::TReader(TStream& stream) : TFiler(stream) {
  base_ = stream.Position();
  Int64 avail = stream.Size() - base_;
  if (avail > MaxReaderBuffer) avail = MaxReaderBuffer;
  if (avail > 0) {
    data_.resize(static_cast<std::size_t>(avail));
    stream.ReadBuffer(data_.data(), avail);
    stream.SetPosition(base_);
  }
}

TReader::~TReader() {
  try {
    FlushBuffer();
  } catch (...) {
    // A destructor must not throw: the stream's position stays where it is.
  }
}

void TReader::FlushBuffer() {
  stream_->SetPosition(Position());
}

TTemporaryChange<Integer> TReader::EnterNesting() {
  if (depth_ >= MaxFilerNesting) Corrupt(res::SStreamNestingTooDeep, Position());
  return TTemporaryChange<Integer>(depth_, depth_ + 1);
}

bool TReader::ReadDefinedProperty(TPersistent* instance, const String& name) {
  TTemporaryChange<String> claimed(propName_, name);
  TTemporaryChange<bool> handled(propHandled_, false);
  if (!name.empty()) instance->DefineProperties(this);
  return propHandled_;
}

// ---- low level ---------------------------------------------------------------------

void TReader::Corrupt(const char* fmt, Int64 arg) const {
  throw EReadError(fmt, {arg});
}

void TReader::Need(std::size_t count) const {
  if (count > data_.size() - pos_) Corrupt(res::SStreamTruncated, Position());
}

Byte TReader::ReadByte() {
  Need(1);
  return data_[pos_++];
}

void TReader::ReadBytes(void* dest, std::size_t count) {
  Need(count);
  if (count) std::memcpy(dest, data_.data() + pos_, count);
  pos_ += count;
}

Cardinal TReader::ReadUInt32() {
  Byte b[4];
  ReadBytes(b, 4);
  return Cardinal(b[0]) | (Cardinal(b[1]) << 8) | (Cardinal(b[2]) << 16) | (Cardinal(b[3]) << 24);
}

std::size_t TReader::ReadLength(std::size_t unit) {
  Int64 at = Position();
  Cardinal len = ReadUInt32();
  if (len > (data_.size() - pos_) / unit)
    throw EReadError(res::SInvalidStreamLength, {Int64(len), at});
  return len;
}

Int64 TReader::ReadIntOf(TValueType type) {
  Byte b[8] = {};
  std::size_t n = type == vaInt8 ? 1 : type == vaInt16 ? 2 : type == vaInt32 ? 4 : 8;
  ReadBytes(b, n);
  UInt64 u = 0;
  for (std::size_t i = 0; i < n; ++i) u |= UInt64(b[i]) << (8 * i);
  switch (type) {
    case vaInt8:
      return static_cast<std::int8_t>(u);
    case vaInt16:
      return static_cast<std::int16_t>(u);
    case vaInt32:
      return static_cast<std::int32_t>(u);
    default:
      return static_cast<Int64>(u);
  }
}

TValueType TReader::NextValue() {
  Need(1);
  Byte b = data_[pos_];
  if (b > vaMaxValueType) throw EReadError(res::SInvalidValueType, {Integer(b), Position()});
  return static_cast<TValueType>(b);
}

bool TReader::EndOfList() {
  Need(1);
  return data_[pos_] == vaNull;
}

TValueType TReader::ReadValue() {
  TValueType t = NextValue();
  ++pos_;
  return t;
}

void TReader::CheckValue(TValueType type) {
  TValueType t = NextValue();
  if (t != type) WrongValue(t);
  ++pos_;
}

void TReader::WrongValue(TValueType type) const {
  throw EReadError(res::SInvalidValueType, {Integer(type), Position()});
}

void TReader::ReadSignature() {
  char sig[4];
  Int64 at = Position();
  if (data_.size() - pos_ < 4) Corrupt(res::SStreamTruncated, at);
  ReadBytes(sig, 4);
  if (std::memcmp(sig, "TPF0", 4) != 0) throw EReadError(String(res::SInvalidStreamFormat));
}

void TReader::ReadPrefix(TFilerFlags& flags, Integer& childPos) {
  flags = TFilerFlags();
  childPos = 0;
  Need(1);
  Byte b = data_[pos_];
  if ((b & 0xF0) != 0xF0) return;
  ++pos_;
  flags = TFilerFlags::FromBits(b & 0x07u);
  if (flags.Contains(ffChildPos)) childPos = ReadInteger();
}

String TReader::ReadStr() {
  std::size_t len = ReadByte();
  Need(len);
  String s(reinterpret_cast<const char*>(data_.data() + pos_), len);
  pos_ += len;
  return s;
}

Integer TReader::ReadInteger() {
  Int64 at = Position();
  TValueType t = NextValue();
  if (!IsIntType(t)) WrongValue(t);
  ++pos_;
  Int64 v = ReadIntOf(t);
  if (v < INT32_MIN || v > INT32_MAX) {
    pos_ = static_cast<std::size_t>(at - base_);
    Corrupt(res::SValueOutOfRange, at);
  }
  return static_cast<Integer>(v);
}

Int64 TReader::ReadInt64() {
  TValueType t = NextValue();
  if (!IsIntType(t)) WrongValue(t);
  ++pos_;
  return ReadIntOf(t);
}

Extended TReader::ReadFloat() {
  TValueType t = NextValue();
  switch (t) {
    case vaExtended:
    case vaSingle:
    case vaCurrency:
    case vaDate:
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      ++pos_;
      break;
    default:
      WrongValue(t);
  }
  switch (t) {
    case vaExtended: {
      Byte b[10];
      ReadBytes(b, 10);
      return BytesToExtended(b);
    }
    case vaSingle: {
      Cardinal bits = ReadUInt32();
      return std::bit_cast<float>(bits);
    }
    case vaCurrency:
      return Currency::FromRaw(ReadIntOf(vaInt64)).ToExtended();
    case vaDate: {
      Int64 bits = ReadIntOf(vaInt64);
      return std::bit_cast<double>(bits);
    }
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      return static_cast<Extended>(ReadIntOf(t));
    default:
      WrongValue(t);
  }
}

float TReader::ReadSingle() {
  return ExtendedToSingle(ReadFloat());
}

Currency TReader::ReadCurrency() {
  if (NextValue() == vaCurrency) {
    ReadValue();
    return Currency::FromRaw(ReadIntOf(vaInt64));
  }
  return Currency::FromDouble(ReadFloat());
}

TDateTime TReader::ReadDate() {
  return ExtendedToDouble(ReadFloat());
}

bool TReader::ReadBoolean() {
  TValueType t = NextValue();
  if (t != vaFalse && t != vaTrue) WrongValue(t);
  ++pos_;
  return t == vaTrue;
}

char TReader::ReadChar() {
  Int64 at = Position();
  String s = ReadString();
  if (s.size() != 1) {
    pos_ = static_cast<std::size_t>(at - base_);
    throw EReadError(String(res::SInvalidPropertyValue));
  }
  return s[0];
}

String TReader::ReadString() {
  TValueType t = NextValue();
  if (!Is8BitString(t) && t != vaWString) WrongValue(t);
  ++pos_;
  switch (t) {
    case vaString:
      return ReadStr();
    case vaLString:
    case vaUTF8String: {
      std::size_t len = ReadLength(1);
      String s(reinterpret_cast<const char*>(data_.data() + pos_), len);
      pos_ += len;
      return s;
    }
    default: {
      --pos_;
      return WideToUtf8(ReadWideString());
    }
  }
}

WideString TReader::ReadWideString() {
  if (NextValue() != vaWString) return Utf8ToWide(ReadString());
  ReadValue();
  std::size_t count = ReadLength(2);
  WideString w(count, u'\0');
  for (std::size_t i = 0; i < count; ++i)
    w[i] = static_cast<char16_t>(data_[pos_ + 2 * i] | (data_[pos_ + 2 * i + 1] << 8));
  pos_ += 2 * count;
  return w;
}

String TReader::ReadIdent() {
  TValueType t = NextValue();
  if (t != vaIdent && t != vaFalse && t != vaTrue && t != vaNil && t != vaNull) WrongValue(t);
  ++pos_;
  switch (t) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    default:
      return "Null";
  }
}

Variant TReader::ReadVariant() {
  TValueType t = NextValue();
  switch (t) {
    case vaNull:
      ReadValue();
      return Variant::Null();
    case vaNil:
      ReadValue();
      return Variant();
    case vaInt8:
    case vaInt16:
    case vaInt32:
      return Variant(ReadInteger());
    case vaInt64:
      return Variant(ReadInt64());
    case vaExtended:
      return Variant(ExtendedToDouble(ReadFloat()));
    case vaSingle:
      return Variant(ReadSingle());
    case vaCurrency:
      return Variant(ReadCurrency());
    case vaDate:
      return Variant::FromDateTime(ReadDate());
    case vaString:
    case vaLString:
    case vaUTF8String:
      return Variant(ReadString());
    case vaWString:
      return Variant(ReadWideString());
    case vaFalse:
    case vaTrue:
      return Variant(ReadBoolean());
    default:
      WrongValue(t);
  }
}

String TReader::ReadBinary() {
  CheckValue(vaBinary);
  std::size_t len = ReadLength(1);
  String s(reinterpret_cast<const char*>(data_.data() + pos_), len);
  pos_ += len;
  return s;
}

void TReader::SkipValue() {
  SkipDepth(0);
}

void TReader::SkipDepth(Integer depth) {
  if (depth > MaxFilerNesting) Corrupt(res::SStreamNestingTooDeep, Position());
  TValueType t = ReadValue();
  switch (t) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      break;
    case vaList:
      while (!EndOfList()) SkipDepth(depth + 1);
      ReadListEnd();
      break;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      ReadIntOf(t);
      break;
    case vaExtended:
      Need(10);
      pos_ += 10;
      break;
    case vaString:
    case vaIdent:
      ReadStr();
      break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
      pos_ += ReadLength(1);
      break;
    case vaWString:
      pos_ += 2 * ReadLength(2);
      break;
    case vaSet:
      while (!ReadStr().empty()) {
      }
      break;
    case vaCollection:
      while (!EndOfList()) {
        TValueType n = NextValue();
        if (n == vaInt8 || n == vaInt16 || n == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipDepth(depth + 1);
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
    case vaSingle:
      Need(4);
      pos_ += 4;
      break;
    case vaCurrency:
    case vaDate:
      Need(8);
      pos_ += 8;
      break;
  }
}

// ---- trees -----------------------------------------------------------------------------

String TReader::InstancePath(const TPersistent* instance, std::size_t steps) const {
  if (!holder_ || !pathKnown_ || instance == holder_)
    return instance ? instance->GetNamePath() : String("nil");
  // "Form1.Items[2].Font": the component being read, then the path to the instance.
  String path = holder_->GetNamePath();
  for (std::size_t i = 0; i < steps && i < path_.size(); ++i)
    path += path_[i].ItemID >= 0 ? "[" + IntToStr(path_[i].Index) + "]" : "." + path_[i].Prop;
  return path;
}

void TReader::PropError(const String& where, const String& prop, const String& msg) const {
  wrapped_ = true;
  throw EReadError(res::SPropertyReadError, {where, prop, msg});
}

TComponent* TReader::ReadRootComponent(TComponent* root, TComponent* newRootOwner) {
  wrapped_ = false;
  ReadSignature();
  TFilerFlags flags;
  Integer childPos = 0;
  ReadPrefix(flags, childPos);
  String className = ReadStr();
  const Int64 namePos = Position();
  String name = ReadStr();
  rootName_ = name;
  bool createdRoot = false;
  if (!root) {
    TClass cls = FindClass(className);
    if (!cls->InheritsFrom(TComponent::StaticClass()))
      throw EReadError(res::SNotAComponentClass, {className});
    root = static_cast<TComponent*>(cls->NewInstance(newRootOwner));
    createdRoot = true;
  }
  root_ = lookupRoot_ = owner_ = root;
  parent_ = nullptr;
  TScopeGuard cancel([&] {
    CancelRead();
    if (createdRoot) root->Free();
  });
  root->BeginLoading();
  loaded_.push_back(root);
  if (createdRoot && !name.empty()) SetComponentName(root, name, namePos);
  ReadData(root);
  FinishRead();
  cancel.Dismiss();
  return root;
}

TComponent* TReader::ReadComponent() {
  auto nesting = EnterNesting();
  TFilerFlags flags;
  Integer childPos = 0;
  ReadPrefix(flags, childPos);
  String className = ReadStr();
  const Int64 namePos = Position();
  String name = ReadStr();
  std::size_t mark = created_.size();
  TScopeGuard freeCreated([&] { FreeCreatedSince(mark); });
  TComponent* c = nullptr;
  if (flags.Contains(ffInherited)) {
    c = owner_ ? owner_->FindComponent(name) : nullptr;
    if (!c) throw EReadError(res::SAncestorNotFound, {name});
  } else {
    TClass cls = FindClass(className);
    if (!cls->InheritsFrom(TComponent::StaticClass()))
      throw EReadError(res::SNotAComponentClass, {className});
    c = static_cast<TComponent*>(cls->NewInstance(owner_));
    created_.push_back(c);
  }
  if (std::find(loaded_.begin(), loaded_.end(), c) == loaded_.end()) {
    c->BeginLoading();
    loaded_.push_back(c);
  }
  if (flags.Contains(ffInline)) c->state_ += csInline;
  if (!flags.Contains(ffInherited)) {
    if (!name.empty()) SetComponentName(c, name, namePos);
    c->SetParentComponent(parent_);
  }
  if (flags.Contains(ffChildPos)) {
    if (TComponent* p = parent_ ? parent_ : root_) p->SetChildOrder(c, childPos);
  }
  ReadData(c);
  freeCreated.Dismiss();
  return c;
}

void TReader::SetComponentName(TComponent* c, const String& name, Int64 at) {
  try {
    c->SetName(name);
  } catch (const EComponentError& e) {
    throw EReadError(SComponentNameError, {e.Message(), at});
  }
}

void TReader::ReadData(TComponent* instance) {
  // Each component starts a fresh path from itself; the reader's context is
  // the caller's again on every exit.
  TTemporaryChange<std::vector<detail::TFixupStep>> path(path_, {});
  TAnchorScope anchorScope(*this, nullptr);
  TTemporaryChange<TComponent*> holder(holder_, instance);
  TTemporaryChange<TComponent*> parent(parent_, parent_);
  TTemporaryChange<TComponent*> owner(owner_, owner_);
  TTemporaryChange<TComponent*> lookupRoot(lookupRoot_, lookupRoot_);
  TTemporaryChange<bool> known(pathKnown_, true);

  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
  parent_ = instance;
  if (instance != root_ && instance->ComponentState().Contains(csInline)) {
    // An inline component (a frame) owns its children, which name their
    // references and handlers within it.
    owner_ = instance;
    lookupRoot_ = instance;
  }
  while (!EndOfList()) ReadComponent();
  ReadListEnd();
}

void TReader::ReadProperties(TPersistent* instance) {
  TAnchorScope anchorScope(*this, nullptr);
  TTemporaryChange<bool> known(pathKnown_, false);
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent* instance) {
  String name = ReadStr();
  TPathGuard pathGuard{path_, path_.size()};
  auto where = [&] { return InstancePath(instance, pathGuard.size); };
  try {
    std::vector<String> parts = SplitString(name, '.');
    TPersistent* obj = instance;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
      const TPropInfo* p = GetPropInfo(obj, parts[i]);
      TObject* next = p && p->Kind() == tkClass && p->GetObject ? p->GetObject(obj) : nullptr;
      auto* nested = dynamic_cast<TPersistent*>(next);
      if (!nested) PropError(where(), name, Format(res::SUnknownProperty, {parts[i]}));
      obj = nested;
      path_.push_back({parts[i]});
    }
    const String last = parts.empty() ? String() : parts.back();
    const TPropInfo* p = last.empty() ? nullptr : GetPropInfo(obj, last);
    if (p && p->Kind() != tkUnknown) {
      ReadPropValue(obj, p);
    } else {
      bool handled = ReadDefinedProperty(obj, last);
      auto* strings = dynamic_cast<TStrings*>(obj);
      if (!handled && strings && SameText(last, "Strings")) {
        // String lists store their lines as the list property "Strings".
        ReadListBegin();
        TStringsUpdate update(*strings);
        strings->Clear();
        while (!EndOfList()) strings->Add(ReadString());
        ReadListEnd();
        handled = true;
      }
      if (!handled) PropError(where(), name, Format(res::SUnknownProperty, {last}));
    }
  } catch (const EClassNotFound&) {
    throw;
  } catch (const Exception& e) {
    if (wrapped_) throw;
    PropError(where(), name, e.Message());
  }
}

void TReader::ReadPropValue(TPersistent* obj, const TPropInfo* p) {
  TTypeKind kind = p->Kind();
  if (kind == tkClass) return ReadObjectValue(obj, p);
  if (kind == tkMethod) return ReadMethodValue(obj, p);
  if (!p->HasSetter()) throw EReadError(res::SReadOnlyProperty, {p->Name});
  TValueType t = NextValue();
  switch (kind) {
    case tkInteger:
      ReadIntegerValue(*this, obj, p, t);
      return;
    case tkInt64:
      SetOrdProp(obj, p, ReadInt64());
      return;
    case tkChar:
      ReadCharValue(*this, obj, p, t);
      return;
    case tkWChar:
      ReadWideCharValue(*this, obj, p, t);
      return;
    case tkEnumeration:
      ReadEnumValue(*this, obj, p, t);
      return;
    case tkSet:
      ReadSetValue(*this, obj, p);
      return;
    case tkFloat:
      ReadFloatValue(*this, obj, p);
      return;
    case tkString:
    case tkLString:
    case tkWString:
      ReadStringValue(*this, obj, p, t);
      return;
    case tkVariant:
      SetVariantProp(obj, p, ReadVariant());
      return;
    default:
      InvalidValue();
  }
}

void TReader::ReadObjectValue(TPersistent* obj, const TPropInfo* p) {
  switch (NextValue()) {
    case vaNil:
      ReadNilObject(obj, p);
      return;
    case vaCollection:
      ReadCollectionValue(obj, p);
      return;
    case vaIdent:
      ReadObjectReference(obj, p);
      return;
    default:
      InvalidValue();
  }
}

void TReader::ReadNilObject(TPersistent* obj, const TPropInfo* p) {
  if (!p->SetObject) throw EReadError(res::SReadOnlyProperty, {p->Name});
  ReadValue();
  SetObjectProp(obj, p, nullptr);
}

void TReader::ReadCollectionValue(TPersistent* obj, const TPropInfo* p) {
  auto* collection = dynamic_cast<TCollection*>(p->GetObject ? p->GetObject(obj) : nullptr);
  if (!collection) InvalidValue();
  ReadValue();
  TPathGuard pathGuard{path_, path_.size()};
  path_.push_back({p->Name});
  ReadCollectionItems(collection);
}

// Queues the reference: it is resolved when the whole stream is read.
void TReader::ReadObjectReference(TPersistent* obj, const TPropInfo* p) {
  if (!p->SetObject) throw EReadError(res::SReadOnlyProperty, {p->Name});
  detail::TFixupRecord f;
  f.Holder = holder_;
  f.Root = lookupRoot_;
  f.Path = path_;
  f.PathKnown = pathKnown_ && holder_;
  if (!f.PathKnown && anchor_) {
    f.Anchor = anchor_;
    f.Path.assign(path_.begin() + static_cast<std::ptrdiff_t>(anchorDepth_), path_.end());
  }
  f.Instance = obj;
  f.StreamRoot = root_;
  f.StreamRootName = rootName_;
  f.Prop = p->Name;
  f.Name = ReadIdent();
  fixups_.push_back(std::move(f));
}

void TReader::ReadMethodValue(TPersistent* obj, const TPropInfo* p) {
  TValueType t = NextValue();
  if (t == vaNil) {
    ReadValue();
    SetMethodProp(obj, p, TMethod{}, nullptr);
    return;
  }
  if (t != vaIdent) throw EReadError(String(res::SInvalidPropertyValue));
  String name = ReadIdent();
  TComponent* root = lookupRoot_ ? lookupRoot_ : root_;
  const TPublishedMethod* m = root ? FindPublishedMethod(root->ClassType(), name) : nullptr;
  if (!m) throw EReadError(res::SMethodNotFound, {name, String(root ? root->ClassName() : "nil")});
  const std::type_info* want = p->PropType->MethodType;
  if (!want || !m->Signature || *want != *m->Signature)
    throw EReadError(res::SMethodSignature, {name, p->PropType->Name});
  SetMethodProp(obj, p, m->Bind(root), m->Name.c_str());
}

void TReader::ReadCollection(TCollection* collection) {
  CheckValue(vaCollection);
  // References inside are found again from this collection by item IDs.
  TAnchorScope anchorScope(*this, collection);
  TTemporaryChange<bool> known(pathKnown_, false);
  ReadCollectionItems(collection);
}

void TReader::ReadCollectionItems(TCollection* collection) {
  auto nesting = EnterNesting();
  TCollectionUpdate update(collection);
  collection->Clear();
  while (!EndOfList()) {
    Integer index = -1;
    TValueType t = NextValue();
    if (t == vaInt8 || t == vaInt16 || t == vaInt32) index = ReadInteger();
    ReadListBegin();
    TCollectionItem* item = collection->Add();
    if (index >= 0 && index < collection->Count() && index != item->Index()) item->SetIndex(index);
    TPathGuard pathGuard{path_, path_.size()};
    path_.push_back({String(), item->ID(), item->Index()});
    while (!EndOfList()) ReadProperty(item);
    ReadListEnd();
  }
  ReadListEnd();
}

void TReader::DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc&,
                             bool) {
  if (propHandled_ || propName_.empty() || !readData || !SameText(name, propName_)) return;
  propHandled_ = true;
  propName_.clear();
  readData(*this);
}

void TReader::DefineBinaryProperty(const String& name, const TStreamProc& readData,
                                   const TStreamProc&, bool) {
  if (propHandled_ || propName_.empty() || !readData || !SameText(name, propName_)) return;
  propHandled_ = true;
  propName_.clear();
  String bytes = ReadBinary();
  TMemoryStream ms;
  ms.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
  ms.SetPosition(0);
  readData(ms);
}

// ---- finishing ------------------------------------------------------------------------------

void TReader::ResolveFixups(bool raise) {
  std::vector<detail::TFixupRecord> list = std::move(fixups_);
  fixups_.clear();
  String error;
  for (detail::TFixupRecord& f : list) {
    String where = f.Holder ? f.Holder->GetNamePath() : String("nil");
    detail::TFixupResult result = detail::frGone;
    try {
      result = detail::ApplyFixup(f);
    } catch (const Exception& e) {
      if (error.empty()) error = Format(res::SPropertyReadError, {where, f.Prop, e.Message()});
      continue;
    }
    if (result == detail::frMissingRoot && f.PathKnown) {
      detail::DeferFixup(f);
    } else if (result == detail::frMissingRoot || result == detail::frUnresolved) {
      if (error.empty()) error = Format(res::SUnresolvedReference, {f.Name, where, f.Prop});
    }
  }
  if (raise && !error.empty()) throw EReadError(error);
}

void TReader::FreeCreatedSince(std::size_t mark) {
  while (created_.size() > mark) {
    TComponent* c = created_.back();
    created_.pop_back();
    std::erase(loaded_, c);
    std::erase_if(fixups_, [c](const detail::TFixupRecord& f) { return f.Holder == c; });
    c->Free();
  }
}

void TReader::FinishRead() {
  ResolveFixups(true);
  for (TComponent* c : loaded_) c->EndReading();
  std::vector<TComponent*> list = std::move(loaded_);
  loaded_.clear();
  created_.clear();
  // A Loaded that fails leaves the components after it loading no more.
  std::size_t i = 0;
  TScopeGuard cancelRest([&] {
    for (std::size_t j = i + 1; j < list.size(); ++j) list[j]->CancelLoading();
  });
  for (; i < list.size(); ++i) list[i]->Loaded();
  cancelRest.Dismiss();
}

void TReader::CancelRead() {
  try {
    ResolveFixups(false);
  } catch (...) {
    // Best effort while the read's own error unwinds: a second exception
    // from here would end the process.
  }
  for (TComponent* c : loaded_) c->CancelLoading();
  loaded_.clear();
  created_.clear();
  fixups_.clear();
}

}  // namespace brevant
