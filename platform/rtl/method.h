// Method pointers: an event is a handler plus the object it runs on.
//
// TEvent<void(TObject* Sender)> e = TEvent<...>::Of<&TMyForm::ButtonClick>(form, "ButtonClick");
// e(sender);            // calls form->ButtonClick(sender) when assigned
// e == other            // same object and same handler
//
// A handler can also be a free callable (for tests and glue code); such a
// handler equals only copies of itself.
#pragma once

#include <memory>
#include <utility>

#include "rtl/types.h"

namespace brevant {

// The untyped pair every event holds: the object and a thunk that calls the
// member function on it. Published-method tables hand these out by name.
struct TMethod {
  void* Data = nullptr;        // the object (or the callable's storage)
  const void* Code = nullptr;  // the thunk; identifies the handler
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

template <class Signature>
class TEvent;

template <class R, class... Args>
class TEvent<R(Args...)> {
 public:
  using Thunk = R (*)(void*, Args...);

  TEvent() = default;
  TEvent(std::nullptr_t) {}

  // Binds a member function of obj; the name is what a form stream writes.
  template <auto Member, class C>
  static TEvent Of(C* obj, const char* name = nullptr) {
    TEvent e;
    e.data_ = obj;
    e.thunk_ = &CallMember<C, Member>;
    e.name_ = name;
    return e;
  }

  // Binds any callable; the event keeps a shared copy of it.
  template <class F>
  static TEvent FromCallable(F f, const char* name = nullptr) {
    TEvent e;
    auto holder = std::make_shared<F>(std::move(f));
    e.data_ = holder.get();
    e.keep_ = std::move(holder);
    e.thunk_ = &CallCallable<F>;
    e.name_ = name;
    return e;
  }

  // Rebuilds an event from an untyped method whose thunk has this signature
  // (published-method lookup by name).
  static TEvent FromMethod(const TMethod& m, const char* name = nullptr) {
    TEvent e;
    e.data_ = m.Data;
    e.thunk_ = reinterpret_cast<Thunk>(const_cast<void*>(m.Code));
    e.name_ = name;
    return e;
  }

  // The thunk of a member function, for published-method tables.
  template <class C, auto Member>
  static const void* MemberCode() {
    return reinterpret_cast<const void*>(&CallMember<C, Member>);
  }

  bool Assigned() const { return thunk_ != nullptr; }
  explicit operator bool() const { return Assigned(); }
  // The handler's name, when it was bound with one (else nullptr).
  const char* Name() const { return name_; }
  void* Object() const { return data_; }
  TMethod Method() const { return {data_, reinterpret_cast<const void*>(thunk_)}; }
  void Clear() { *this = TEvent(); }

  // Calls the handler; an empty event does nothing and answers R{}.
  R operator()(Args... args) const {
    if (!thunk_) {
      if constexpr (std::is_void_v<R>)
        return;
      else
        return R{};
    }
    return thunk_(data_, std::forward<Args>(args)...);
  }

  friend bool operator==(const TEvent& a, const TEvent& b) {
    return a.data_ == b.data_ && a.thunk_ == b.thunk_;
  }
  friend bool operator==(const TEvent& a, std::nullptr_t) { return !a.thunk_; }

 private:
  template <class C, auto Member>
  static R CallMember(void* obj, Args... args) {
    return (static_cast<C*>(obj)->*Member)(std::forward<Args>(args)...);
  }
  template <class F>
  static R CallCallable(void* f, Args... args) {
    return (*static_cast<F*>(f))(std::forward<Args>(args)...);
  }

  void* data_ = nullptr;
  Thunk thunk_ = nullptr;
  const char* name_ = nullptr;
  std::shared_ptr<void> keep_;
};

class TObject;
// The notify event: only the sender.
using TNotifyEvent = TEvent<void(TObject* Sender)>;

}  // namespace brevant
