#include "rtl/object.h"

#include <map>

#include "rtl/handles.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

TMetaClass::TMetaClass(const char* name, TClass parent, TObjectFactory factory,
                       const std::type_info& type)
    : name_(name), parent_(parent), factory_(factory), type_(&type) {}

bool TMetaClass::InheritsFrom(TClass other) const {
  for (TClass c = this; c; c = c->parent_)
    if (c == other) return true;
  return false;
}

bool TMetaClass::ClassNameIs(const String& name) const {
  return SameText(name, name_);
}

TObject* TMetaClass::NewInstance(TObject* arg) const {
  if (!factory_)
    throw EInvalidOperation("Cannot create an instance of the abstract class %s", {name_});
  return detail::CompleteConstruction(factory_(arg));
}

TObject* detail::CompleteConstruction(TObject* obj) {
  TScopeGuard destroy([obj] {
    obj->BeforeDestruction();
    delete obj;
  });
  obj->AfterConstruction();
  destroy.Dismiss();
  return obj;
}

const std::vector<TPropInfo*>& TMetaClass::OwnProperties() const {
  return props_;
}
const std::vector<TPublishedMethod>& TMetaClass::OwnMethods() const {
  return methods_;
}
void TMetaClass::AddProperty(TPropInfo* info) {
  props_.push_back(info);
}
void TMetaClass::AddMethod(const TPublishedMethod& m) {
  methods_.push_back(m);
}

TClass TObject::StaticClass() {
  static const TMetaClass* meta = new TMetaClass("TObject", nullptr, nullptr, typeid(TObject));
  return meta;
}

TObject::~TObject() {
  ReleaseObjectHandle(this);
}

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

// ---- exception handler ----------------------------------------------------------

namespace {
TExceptionHandler g_handler = nullptr;
}

void SetExceptionHandler(TExceptionHandler handler) {
  g_handler = handler;
}

void HandleException(TObject* sender, const Exception& e) {
  if (g_handler) g_handler(sender, e);
}

// ---- class registry ---------------------------------------------------------------

namespace {
struct NoCaseLess {
  bool operator()(const String& a, const String& b) const { return CompareText(a, b) < 0; }
};
std::map<String, TClass, NoCaseLess>& Registry() {
  static auto* registry = new std::map<String, TClass, NoCaseLess>;
  return *registry;
}
}  // namespace

void RaiseInvalidCast() {
  throw EInvalidCast(res::SInvalidCast);
}

void RegisterClass(TClass c) {
  if (c) Registry()[c->ClassName()] = c;
}

void RegisterClasses(std::initializer_list<TClass> classes) {
  for (TClass c : classes) RegisterClass(c);
}

void UnRegisterClass(TClass c) {
  if (!c) return;
  auto it = Registry().find(c->ClassName());
  if (it != Registry().end() && it->second == c) Registry().erase(it);
}

TClass GetClass(const String& name) {
  auto it = Registry().find(name);
  return it == Registry().end() ? nullptr : it->second;
}

TClass FindClass(const String& name) {
  TClass c = GetClass(name);
  if (!c) throw EClassNotFound("Class %s not found", {name});
  return c;
}

}  // namespace brevant
