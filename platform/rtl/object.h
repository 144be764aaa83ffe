// TObject, class references and the object life cycle.
//
// Life cycle. C++ constructors and destructors do not dispatch virtually, but
// containers (owners, collections) call virtual notifications of the objects
// that join or leave them. So every object of this model is made and freed
// through a two-phase protocol:
//
//   T* obj = Create<T>(args...);   // new T(args...), then obj->AfterConstruction()
//   obj->Free();                   // obj->BeforeDestruction(), then delete
//
// The C++ constructor only initialises members (every member has an
// initialiser, so instances start zero-filled); work that needs the whole
// object, such as joining an owner or a collection, runs in
// AfterConstruction, where virtual calls reach the most derived class.
// BeforeDestruction runs while the object is still whole: components set
// their destroying state and send free notifications there, and classes that
// must write back on destruction do it there and hand failures to
// HandleException instead of throwing from a destructor. Deleting an object
// directly skips BeforeDestruction; use Free or TObjectPtr.
#pragma once

#include <memory>
#include <typeinfo>
#include <utility>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/method.h"
#include "rtl/types.h"

namespace brevant {

class TObject;
class TMetaClass;
struct TPropInfo;
using TClass = const TMetaClass*;

// A published method: a handler that form streams bind to events by name.
struct TPublishedMethod {
  String Name;
  const std::type_info* Signature = nullptr;  // the TEvent type it fits
  const void* Code = nullptr;                 // the TEvent thunk
  void* (*Adjust)(TObject*) = nullptr;        // from TObject* to the class's this
  TMethod Bind(TObject* obj) const { return {Adjust(obj), Code}; }
};

// Makes an instance of a class from its class reference. The argument is the
// owner for components, the collection for collection items, unused otherwise.
using TObjectFactory = TObject* (*)(TObject* arg);

// The class reference: name, parent, virtual constructor, published
// properties and methods.
class TMetaClass {
 public:
  using TInitProc = void (*)(TMetaClass&);
  TMetaClass(const char* name, TClass parent, TObjectFactory factory, const std::type_info& type);
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;

  const char* ClassName() const { return name_; }
  TClass ClassParent() const { return parent_; }
  bool InheritsFrom(TClass other) const;
  bool ClassNameIs(const String& name) const;
  const std::type_info& TypeId() const { return *type_; }

  // Creates an instance and completes it (AfterConstruction). Raises
  // EInvalidOperation for abstract classes.
  TObject* NewInstance(TObject* arg = nullptr) const;
  bool IsAbstract() const { return factory_ == nullptr; }

  // Published properties declared by this class alone, in declaration order.
  const std::vector<TPropInfo*>& OwnProperties() const;
  // Published methods declared by this class alone.
  const std::vector<TPublishedMethod>& OwnMethods() const;
  // Filled once by the class's type-information table.
  void AddProperty(TPropInfo* info);
  void AddMethod(const TPublishedMethod& m);

 private:
  const char* name_;
  TClass parent_;
  TObjectFactory factory_;
  const std::type_info* type_;
  std::vector<TPropInfo*> props_;
  std::vector<TPublishedMethod> methods_;
};

class TObject {
 public:
  // What a class reference hands the constructor (see detail::Construct).
  using TCreateArg = void;

  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  // Drops the object's handle (rtl/handles.h), so that a handle kept after
  // the object is gone finds nothing.
  virtual ~TObject();

  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  const char* ClassName() const { return ClassType()->ClassName(); }
  bool InheritsFrom(TClass c) const { return ClassType()->InheritsFrom(c); }
  bool ClassNameIs(const String& name) const { return ClassType()->ClassNameIs(name); }

  // Second phase of construction: the object is whole, virtual calls reach
  // the most derived class.
  virtual void AfterConstruction() {}
  // First phase of destruction: the object is still whole.
  virtual void BeforeDestruction() {}

  // Runs BeforeDestruction, then deletes the object. Free on nullptr does
  // nothing (call it as FreeAndNil(p) or TObject::Free(p) for that).
  void Free();
  static void Free(TObject* obj) {
    if (obj) obj->Free();
  }
};

// A class reference for T, declared by BV_CLASS.
template <class T>
TClass ClassOf() {
  return T::StaticClass();
}

namespace detail {
// Runs AfterConstruction; on failure frees the object again and rethrows.
TObject* CompleteConstruction(TObject* obj);
}  // namespace detail

// The second phase of construction: new, then AfterConstruction. An
// exception from AfterConstruction frees the object again.
template <class T, class... Args>
T* Create(Args&&... args) {
  return static_cast<T*>(detail::CompleteConstruction(new T(std::forward<Args>(args)...)));
}

template <class T>
void FreeAndNil(T*& obj) {
  TObject* o = obj;
  obj = nullptr;
  if (o) o->Free();
}

// unique_ptr that frees through the two-phase protocol.
struct TObjectDeleter {
  void operator()(TObject* obj) const { TObject::Free(obj); }
};
template <class T>
using TObjectPtr = std::unique_ptr<T, TObjectDeleter>;
template <class T, class... Args>
TObjectPtr<T> MakeObject(Args&&... args) {
  return TObjectPtr<T>(Create<T>(std::forward<Args>(args)...));
}

// Raises EInvalidCast (out of line: the message table stays out of this header).
[[noreturn]] void RaiseInvalidCast();

// Checked cast ("as"): nullptr stays nullptr; an object of another class
// raises EInvalidCast.
template <class T>
T* As(TObject* obj) {
  if (!obj) return nullptr;
  if (!obj->InheritsFrom(ClassOf<T>())) RaiseInvalidCast();
  return static_cast<T*>(obj);
}
template <class T>
const T* As(const TObject* obj) {
  return As<T>(const_cast<TObject*>(obj));
}
// Type test ("is"): false for nullptr.
template <class T>
bool Is(const TObject* obj) {
  return obj && obj->InheritsFrom(ClassOf<T>());
}
// The object as a T when it is one, else nullptr.
template <class T>
T* TryAs(TObject* obj) {
  return Is<T>(obj) ? static_cast<T*>(obj) : nullptr;
}
template <class T>
const T* TryAs(const TObject* obj) {
  return Is<T>(obj) ? static_cast<const T*>(obj) : nullptr;
}

// The application's exception handler: code that must not throw (free
// protocols, message handlers) hands exceptions here. The default handler
// keeps the last message for tests (LastHandledException) and otherwise
// ignores it; the application object installs its own.
using TExceptionHandler = void (*)(TObject* sender, const Exception& e);
void SetExceptionHandler(TExceptionHandler handler);
void HandleException(TObject* sender, const Exception& e);
// Runs f; an Exception is handed to HandleException, anything else too as an
// Exception carrying its what() text.
template <class F>
void CallHandlingExceptions(TObject* sender, F&& f);

// Class registry for reading streams: classes by name.
void RegisterClass(TClass c);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass c);
// nullptr when unknown.
TClass GetClass(const String& name);
// Raises EClassNotFound when unknown.
TClass FindClass(const String& name);

// ---- declaring classes ------------------------------------------------------
// In the class body:   BV_CLASS(TMyClass, TParent)
// In one source file:  BV_IMPLEMENT_CLASS(TMyClass, TParent)          (creatable)
//                      BV_IMPLEMENT_ABSTRACT_CLASS(TMyClass, TParent)  (not creatable)
//                      BV_PUBLISH(TMyClass, TParent) { p.Property(...); }  (classes/rtti_builder.h)
// A creatable class has a constructor taking its family's TCreateArg: the
// owner for components, the collection for collection items, none otherwise.
#define BV_CLASS(Name, Parent)                   \
 public:                                         \
  using inherited = Parent;                      \
  static ::brevant::TClass StaticClass();        \
  ::brevant::TClass ClassType() const override { \
    return StaticClass();                        \
  }                                              \
                                                 \
 private:

namespace detail {
// Families of classes name the argument their constructors take (TComponent:
// the owner; TCollectionItem: the collection) as TCreateArg.
template <class T>
TObject* Construct(TObject* arg) {
  using Arg = typename T::TCreateArg;
  if constexpr (std::is_void_v<Arg>) {
    (void)arg;
    return new T();
  } else {
    return new T(static_cast<Arg>(arg));
  }
}
}  // namespace detail

#define BV_IMPLEMENT_CLASS_EX(Name, Parent, Factory, Init)                                     \
  ::brevant::TClass Name::StaticClass() {                                                      \
    /* Never destroyed: objects freed during exit may still ask for their class. */            \
    static ::brevant::TMetaClass& meta =                                                       \
        *new ::brevant::TMetaClass(#Name, Parent::StaticClass(), Factory, typeid(Name));       \
    static const bool published =                                                              \
        (::brevant::TMetaClass::TInitProc(Init) ? ::brevant::TMetaClass::TInitProc(Init)(meta) \
                                                : void(),                                      \
         true);                                                                                \
    (void)published;                                                                           \
    return &meta;                                                                              \
  }

#define BV_IMPLEMENT_CLASS(Name, Parent) \
  BV_IMPLEMENT_CLASS_EX(Name, Parent, &::brevant::detail::Construct<Name>, nullptr)
#define BV_IMPLEMENT_ABSTRACT_CLASS(Name, Parent) \
  BV_IMPLEMENT_CLASS_EX(Name, Parent, nullptr, nullptr)

template <class F>
void CallHandlingExceptions(TObject* sender, F&& f) {
  try {
    f();
  } catch (const Exception& e) {
    HandleException(sender, e);
  } catch (const std::exception& e) {
    HandleException(sender, Exception(String(e.what())));
  }
}

}  // namespace brevant
