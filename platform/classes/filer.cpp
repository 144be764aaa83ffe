#include "classes/filer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "classes/collection.h"
#include "classes/typinfo.h"
#include "rtl/strutils.h"

namespace brevant {

// ---- 80-bit extended floats -------------------------------------------------

void ExtendedToBytes(Extended value, Byte out[10]) {
  UInt64 mantissa = 0;
  unsigned exponent = 0;
  const bool negative = std::signbit(value);
  if (std::isnan(value)) {
    exponent = 0x7FFF;
    mantissa = UInt64(0xC000000000000000u);  // quiet NaN
  } else if (std::isinf(value)) {
    exponent = 0x7FFF;
    mantissa = UInt64(0x8000000000000000u);
  } else if (value != 0) {
    Extended a = std::fabs(value);
    int e = 0;
    Extended m = std::frexp(a, &e);  // a = m * 2^e, 0.5 <= m < 1
    int biased = e - 1 + 16383;
    if (biased >= 0x7FFF) {
      exponent = 0x7FFF;  // beyond the 80-bit range (wider hosts)
      mantissa = UInt64(0x8000000000000000u);
    } else if (biased <= 0) {
      // Denormal: the mantissa counts units of 2^-16445.
      Extended scaled = std::ldexp(a, 16382 + 63);
      mantissa = scaled < 1 ? 0 : static_cast<UInt64>(scaled);
      exponent = 0;
    } else {
      mantissa = static_cast<UInt64>(std::ldexp(m, 64));
      exponent = static_cast<unsigned>(biased);
    }
  }
  for (int i = 0; i < 8; ++i) out[i] = static_cast<Byte>(mantissa >> (8 * i));
  unsigned se = exponent | (negative ? 0x8000u : 0u);
  out[8] = static_cast<Byte>(se & 0xFF);
  out[9] = static_cast<Byte>(se >> 8);
}

Extended BytesToExtended(const Byte in[10]) {
  UInt64 mantissa = 0;
  for (int i = 0; i < 8; ++i) mantissa |= UInt64(in[i]) << (8 * i);
  unsigned se = unsigned(in[8]) | (unsigned(in[9]) << 8);
  const bool negative = (se & 0x8000u) != 0;
  const int exponent = static_cast<int>(se & 0x7FFFu);
  Extended v;
  if (exponent == 0x7FFF) {
    v = (mantissa & UInt64(0x7FFFFFFFFFFFFFFFu)) == 0 ? HUGE_VALL : std::nanl("");
  } else if (exponent == 0) {
    v = std::ldexp(static_cast<Extended>(mantissa), -16382 - 63);
  } else {
    v = std::ldexp(static_cast<Extended>(mantissa), exponent - 16383 - 63);
  }
  return negative ? -v : v;
}

double ExtendedToDouble(Extended value) {
  if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<double>::max())
    return value > 0 ? HUGE_VAL : -HUGE_VAL;
  return static_cast<double>(value);
}

float ExtendedToSingle(Extended value) {
  if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
    return value > 0 ? HUGE_VALF : -HUGE_VALF;
  return static_cast<float>(value);
}

// ---- integer identifiers ------------------------------------------------------

namespace {
struct TIntConsts {
  TIdentToInt ToInt;
  TIntToIdent ToIdent;
};
std::map<const TTypeInfo*, TIntConsts>& IntConsts() {
  static auto* map = new std::map<const TTypeInfo*, TIntConsts>;
  return *map;
}
}  // namespace

void RegisterIntegerConsts(const TTypeInfo* type, TIdentToInt identToInt, TIntToIdent intToIdent) {
  if (type) IntConsts()[type] = {identToInt, intToIdent};
}

void detail::FindIntegerConsts(const TTypeInfo* type, TIdentToInt& identToInt,
                               TIntToIdent& intToIdent) {
  auto it = IntConsts().find(type);
  identToInt = it == IntConsts().end() ? nullptr : it->second.ToInt;
  intToIdent = it == IntConsts().end() ? nullptr : it->second.ToIdent;
}

// ---- global roots and deferred references -------------------------------------------

namespace {

// Hears of freed roots and of freed components that wait for a reference.
class TFixupGuard : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TComponent*> roots;
  std::vector<detail::TFixupRecord> pending;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    std::erase(roots, component);
    std::erase_if(pending,
                  [component](const detail::TFixupRecord& f) { return f.Holder == component; });
  }
};

TFixupGuard& Guard() {
  // Lives for the whole process.
  static TFixupGuard* guard = Create<TFixupGuard>(nullptr);
  return *guard;
}

TComponent* FindFirst(TComponent* root, const String& name) {
  if (root) {
    if (TComponent* c = root->FindComponent(name)) return c;
    if (!root->Name().empty() && SameText(root->Name(), name)) return root;
  }
  return FindGlobalRoot(name);
}

TObject* FindInstance(const detail::TFixupRecord& f) {
  if (!f.PathKnown && !f.Anchor) return f.Instance;
  TObject* obj = f.Anchor ? static_cast<TObject*>(f.Anchor) : f.Holder;
  for (const detail::TFixupStep& step : f.Path) {
    if (!obj) return nullptr;
    if (step.ItemID >= 0) {
      auto* collection = dynamic_cast<TCollection*>(obj);
      obj = collection ? collection->FindItemID(step.ItemID) : nullptr;
    } else {
      const TPropInfo* p = GetPropInfo(obj, step.Prop);
      if (!p || p->Kind() != tkClass || !p->GetObject) return nullptr;
      obj = p->GetObject(obj);
    }
  }
  return obj;
}

// The first part of a reference: the root being read answers to the name
// the stream gives it, whatever its own name.
TComponent* FindFirstOf(const detail::TFixupRecord& f, const String& name) {
  if (f.Root)
    if (TComponent* c = f.Root->FindComponent(name)) return c;
  if (f.StreamRoot && !f.StreamRootName.empty() && SameText(f.StreamRootName, name))
    return f.StreamRoot;
  return FindFirst(f.Root, name);
}

TComponent* FindReference(const detail::TFixupRecord& f) {
  if (f.Name.empty()) return nullptr;
  std::vector<String> parts = SplitString(f.Name, '.');
  TComponent* c = FindFirstOf(f, parts[0]);
  for (std::size_t i = 1; c && i < parts.size(); ++i) {
    TComponent* next = c->FindComponent(parts[i]);
    c = next ? next : SameText(parts[i], "Owner") ? c : nullptr;
  }
  return c;
}

}  // namespace

void AddGlobalRoot(TComponent* root) {
  if (!root) return;
  TFixupGuard& g = Guard();
  if (std::find(g.roots.begin(), g.roots.end(), root) == g.roots.end()) {
    g.roots.push_back(root);
    g.FreeNotification(root);
  }
  // Retry what waited for a root. A setter's failure goes to the
  // application's handler; a setter may free holders, whose records the
  // guard then drops, so records are looked up again by serial each time.
  UInt64 last = 0;
  for (;;) {
    auto it = std::find_if(g.pending.begin(), g.pending.end(),
                           [last](const detail::TFixupRecord& f) { return f.Serial > last; });
    if (it == g.pending.end()) break;
    detail::TFixupRecord f = *it;
    last = f.Serial;
    detail::TFixupResult result = detail::frGone;
    CallHandlingExceptions(root, [&] { result = detail::ApplyFixup(f); });
    if (result != detail::frMissingRoot)
      std::erase_if(g.pending, [&](const detail::TFixupRecord& r) { return r.Serial == f.Serial; });
  }
}

void RemoveGlobalRoot(TComponent* root) {
  std::erase(Guard().roots, root);
}

TComponent* FindGlobalRoot(const String& name) {
  if (name.empty()) return nullptr;
  for (TComponent* r : Guard().roots)
    if (SameText(r->Name(), name)) return r;
  return nullptr;
}

TComponent* FindNestedComponent(TComponent* root, const String& path) {
  if (path.empty()) return nullptr;
  std::vector<String> parts = SplitString(path, '.');
  TComponent* c = FindFirst(root, parts[0]);
  for (std::size_t i = 1; c && i < parts.size(); ++i) {
    // "Module.Owner" names the root Module itself.
    TComponent* next = c->FindComponent(parts[i]);
    c = next ? next : SameText(parts[i], "Owner") ? c : nullptr;
  }
  return c;
}

String ComponentReferenceName(const TComponent* root, const TComponent* component) {
  if (!component || component->Name().empty()) return String();
  if (component == root) return component->Name();
  // Owned, directly or through named components, by the root: relative path.
  String path = component->Name();
  for (const TComponent* o = component->Owner(); o; o = o->Owner()) {
    if (o == root) return path;
    if (o->Name().empty()) break;
    path = o->Name() + "." + path;
  }
  const TComponent* owner = component->Owner();
  if (!owner) return component->Name() + ".Owner";  // another root
  if (owner->Name().empty()) return String();
  return owner->Name() + "." + component->Name();
}

Integer PendingGlobalFixups() {
  return static_cast<Integer>(Guard().pending.size());
}

detail::TFixupResult detail::ApplyFixup(const TFixupRecord& f) {
  TObject* instance = FindInstance(f);
  if (!instance) return frGone;
  const TPropInfo* p = GetPropInfo(instance, f.Prop);
  if (!p || p->Kind() != tkClass || !p->SetObject) return frGone;
  TComponent* target = FindReference(f);
  if (!target) {
    std::size_t dot = f.Name.find('.');
    if (dot != String::npos && !FindFirstOf(f, f.Name.substr(0, dot))) return frMissingRoot;
    return frUnresolved;
  }
  SetObjectProp(instance, p, target);
  return frDone;
}

void detail::DeferFixup(TFixupRecord fixup) {
  if (!fixup.Holder || !fixup.PathKnown) return;
  TFixupGuard& g = Guard();
  fixup.Root = nullptr;
  fixup.Instance = nullptr;
  fixup.StreamRoot = nullptr;
  static UInt64 serial = 0;
  fixup.Serial = ++serial;
  g.FreeNotification(fixup.Holder);
  g.pending.push_back(std::move(fixup));
}

}  // namespace brevant
