// Declaring published properties and methods: include this in the source
// file of a class, never in headers.
//
//   BV_PUBLISH(TMyComp, TComponent) {
//     p.Property("Width", &TMyComp::Width, &TMyComp::SetWidth).Default(64);
//     p.Property("Caption", &TMyComp::Caption, &TMyComp::SetCaption);
//     p.Property("Color", &TMyComp::Color,
//     &TMyComp::SetColor).Type(TypeInfoTColor()).Default(clWindow); p.Property("Font",
//     &TMyComp::Font, &TMyComp::SetFont).Stored(&TMyComp::IsFontStored); p.ReadOnly("Count",
//     &TMyComp::Count); p.Event("OnChange", &TMyComp::OnChange, "TNotifyEvent");
//     p.Method<TNotifyEvent, &TMyComp::ButtonClick>("ButtonClick");
//   }
//
// The property kind follows the getter's type: bool is the enumeration
// Boolean; other integers are integers (Int64: 64-bit, char: character,
// char16_t: wide character); enumerations and TSet<E> use their declared
// type information; floating types and Currency are floats; String and
// WideString are long and wide strings; Variant is a variant; pointers to
// TObject descendants are classes. Type(...) names another type of the same
// kind (TDate, TColor). Properties are listed in the order they are declared.
#pragma once

#include <type_traits>

#include "classes/typinfo.h"
#include "rtl/sets.h"
#include "rtl/strutils.h"

namespace brevant {

namespace detail {

template <class T>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {};

template <class M>
struct MemberValue;
template <class C, class R>
struct MemberValue<R (C::*)() const> {
  using type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct MemberValue<R (C::*)()> {
  using type = std::remove_cvref_t<R>;
};
template <class C, class A>
struct MemberValue<void (C::*)(A)> {
  using type = std::remove_cvref_t<A>;
};

template <class T>
const TTypeInfo* DefaultTypeInfo() {
  if constexpr (std::is_pointer_v<T>) {
    using U = std::remove_cv_t<std::remove_pointer_t<T>>;
    static_assert(std::is_base_of_v<TObject, U>, "object properties hold TObject descendants");
    return MakeClassType(&U::StaticClass);
  } else {
    return TypeInfoOf<T>();
  }
}

}  // namespace detail

template <class C>
class TPublisher {
 public:
  explicit TPublisher(TMetaClass& meta) : meta_(meta) {}

  // Chained settings of the property just declared.
  class TBuilder {
   public:
    explicit TBuilder(TPropInfo* p) : p_(p) {}
    TBuilder& Default(Int64 value) {
      p_->HasDefault = true;
      p_->Default = value;
      return *this;
    }
    // For set properties: the default as a set.
    template <class E>
    TBuilder& Default(TSet<E> value) {
      return Default(static_cast<Int64>(value.Bits()));
    }
    TBuilder& NoDefault() {
      p_->HasDefault = false;
      return *this;
    }
    TBuilder& Stored(bool stored) {
      p_->StoredConst = stored;
      p_->StoredFn = nullptr;
      return *this;
    }
    TBuilder& Stored(bool (C::*pred)() const) {
      p_->StoredFn = [pred](const TObject* o) { return (static_cast<const C*>(o)->*pred)(); };
      return *this;
    }
    TBuilder& Type(const TTypeInfo* t) {
      p_->PropType = t;
      return *this;
    }

   private:
    TPropInfo* p_;
  };

  // A property with a getter and a setter (either may be nullptr).
  template <class G, class S>
  TBuilder Property(const char* name, G getter, S setter) {
    using T = typename ValueOf<G, S>::type;
    TPropInfo* p = NewProp(name, detail::DefaultTypeInfo<T>());
    Bind<T>(p, getter, setter);
    // Ordinal properties default to "written unless 0" the way an empty string is.
    return TBuilder(p);
  }
  template <class G>
  TBuilder ReadOnly(const char* name, G getter) {
    return Property(name, getter, nullptr);
  }

  // An event property: a public TEvent member.
  template <class Sig>
  TBuilder Event(const char* name, TEvent<Sig> C::*member, const char* typeName) {
    TPropInfo* p = NewProp(name, MakeMethodType(typeName, typeid(TEvent<Sig>)));
    p->GetMethod = [member](const TObject* o) {
      return (static_cast<const C*>(o)->*member).Method();
    };
    p->GetMethodName = [member](const TObject* o) {
      return (static_cast<const C*>(o)->*member).Name();
    };
    p->SetMethod = [member](TObject* o, const TMethod& m, const char* n) {
      static_cast<C*>(o)->*member = TEvent<Sig>::FromMethod(m, n);
    };
    return TBuilder(p);
  }

  // A published method that streams bind to events of type Ev by name.
  template <class Ev, auto Member>
  void Method(const char* name) {
    TPublishedMethod m;
    m.Name = name;
    m.Signature = &typeid(Ev);
    m.Code = Ev::template MemberCode<C, Member>();
    m.Adjust = [](TObject* o) -> void* { return static_cast<C*>(o); };
    meta_.AddMethod(m);
  }

 private:
  template <class G, class S>
  struct ValueOf {
    using type = typename std::conditional_t<!std::is_null_pointer_v<G>, detail::MemberValue<G>,
                                             detail::MemberValue<S>>::type;
  };

  TPropInfo* NewProp(const char* name, const TTypeInfo* type) {
    auto* p = new TPropInfo;  // lives as long as the class
    p->Name = name;
    p->Declaring = &meta_;
    p->PropType = type;
    p->Index = static_cast<Integer>(meta_.OwnProperties().size());
    meta_.AddProperty(p);
    return p;
  }

  template <class T, class G, class S>
  static void Bind(TPropInfo* p, G getter, S setter) {
    constexpr bool hasGet = !std::is_null_pointer_v<G>;
    constexpr bool hasSet = !std::is_null_pointer_v<S>;
    if constexpr (std::is_same_v<T, bool> || std::is_integral_v<T> || std::is_enum_v<T>) {
      if constexpr (hasGet)
        p->GetOrd = [getter](const TObject* o) { return static_cast<Int64>(Get(o, getter)); };
      if constexpr (hasSet)
        p->SetOrd = [setter](TObject* o, Int64 v) {
          (static_cast<C*>(o)->*setter)(static_cast<T>(v));
        };
    } else if constexpr (detail::IsTSet<T>::value) {
      if constexpr (hasGet)
        p->GetOrd = [getter](const TObject* o) {
          return static_cast<Int64>(Get(o, getter).Bits());
        };
      if constexpr (hasSet)
        p->SetOrd = [setter](TObject* o, Int64 v) {
          (static_cast<C*>(o)->*setter)(T::FromBits(static_cast<Cardinal>(v)));
        };
    } else if constexpr (std::is_floating_point_v<T>) {
      if constexpr (hasGet)
        p->GetFloat = [getter](const TObject* o) { return static_cast<Extended>(Get(o, getter)); };
      if constexpr (hasSet)
        p->SetFloat = [setter](TObject* o, Extended v) {
          (static_cast<C*>(o)->*setter)(static_cast<T>(v));
        };
    } else if constexpr (std::is_same_v<T, Currency>) {
      if constexpr (hasGet)
        p->GetFloat = [getter](const TObject* o) { return Get(o, getter).ToExtended(); };
      if constexpr (hasSet)
        p->SetFloat = [setter](TObject* o, Extended v) {
          (static_cast<C*>(o)->*setter)(Currency::FromDouble(v));
        };
    } else if constexpr (std::is_same_v<T, String>) {
      if constexpr (hasGet)
        p->GetStr = [getter](const TObject* o) { return String(Get(o, getter)); };
      if constexpr (hasSet)
        p->SetStr = [setter](TObject* o, const String& v) { (static_cast<C*>(o)->*setter)(v); };
    } else if constexpr (std::is_same_v<T, WideString>) {
      if constexpr (hasGet)
        p->GetStr = [getter](const TObject* o) { return WideToUtf8(Get(o, getter)); };
      if constexpr (hasSet)
        p->SetStr = [setter](TObject* o, const String& v) {
          (static_cast<C*>(o)->*setter)(Utf8ToWide(v));
        };
    } else if constexpr (std::is_same_v<T, Variant>) {
      if constexpr (hasGet)
        p->GetVariant = [getter](const TObject* o) { return Variant(Get(o, getter)); };
      if constexpr (hasSet)
        p->SetVariant = [setter](TObject* o, const Variant& v) {
          (static_cast<C*>(o)->*setter)(v);
        };
    } else if constexpr (std::is_pointer_v<T>) {
      using U = std::remove_cv_t<std::remove_pointer_t<T>>;
      if constexpr (hasGet)
        p->GetObject = [getter](const TObject* o) -> TObject* {
          return const_cast<U*>(Get(o, getter));
        };
      if constexpr (hasSet)
        p->SetObject = [setter](TObject* o, TObject* v) {
          (static_cast<C*>(o)->*setter)(As<U>(v));
        };
    } else {
      static_assert(sizeof(T) == 0, "no published property kind for this type");
    }
  }

  // Calls a getter, const or not (some getters create their object lazily).
  template <class G>
  static decltype(auto) Get(const TObject* o, G getter) {
    return (const_cast<C*>(static_cast<const C*>(o))->*getter)();
  }

  TMetaClass& meta_;
};

// Declares a creatable class with its published table; the table's body
// follows the macro, with the publisher named p.
#define BV_PUBLISH(Name, Parent)                                           \
  static void BvPublish_##Name(::brevant::TPublisher<Name>& p);            \
  BV_IMPLEMENT_CLASS_EX(Name, Parent, &::brevant::detail::Construct<Name>, \
                        [](::brevant::TMetaClass& m) {                     \
                          ::brevant::TPublisher<Name> p(m);                \
                          BvPublish_##Name(p);                             \
                        })                                                 \
  static void BvPublish_##Name([[maybe_unused]] ::brevant::TPublisher<Name>& p)

#define BV_PUBLISH_ABSTRACT(Name, Parent)                                     \
  static void BvPublish_##Name(::brevant::TPublisher<Name>& p);               \
  BV_IMPLEMENT_CLASS_EX(Name, Parent, nullptr, [](::brevant::TMetaClass& m) { \
    ::brevant::TPublisher<Name> p(m);                                         \
    BvPublish_##Name(p);                                                      \
  })                                                                          \
  static void BvPublish_##Name([[maybe_unused]] ::brevant::TPublisher<Name>& p)

}  // namespace brevant
