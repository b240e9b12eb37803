#pragma once
// The root of the class framework: TObject with run-time class information,
// class references with factories, checked casts, and the tables of published
// properties that let code read and write a property by its name.
//
// Every class declares its class information in one line, first in its body:
//
//   class TMyPanel : public TCustomControl {
//     ZEL_CREATABLE_CLASS(TMyPanel, TCustomControl)
//   public:
//     explicit TMyPanel(TComponent* owner);
//     static void DeclareProperties(TPropertyTable<TMyPanel>& t) {
//       t.Add("Caption", &TMyPanel::Caption, &TMyPanel::SetCaption);
//       t.AddColor("Color", &TMyPanel::Color, &TMyPanel::SetColor);
//     }
//   };
//
// ZEL_CLASS gives StaticClass(), ClassType(), ClassName() and the alias
// `inherited`; ZEL_CREATABLE_CLASS also registers a factory `new T(owner)` so
// that a class reference can create instances (ZEL_CREATABLE_CLASS_ARG names
// another constructor argument type, such as a collection for its items).
// The macro leaves the access at private, like the start of a class body.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace zel {

class TObject;
class TComponent;
class TClassInfo;
template <class C> class TPropertyTable;

// A class reference: the class information of a class, or nullptr for nil.
using TClass = const TClassInfo*;

// The plain event: the sender only.
using TNotifyEvent = std::function<void(TObject*)>;

// The kinds of published property.  Booleans and enumerations are ordinal
// "enumeration" properties, colours are integer properties named "TColor".
enum class TTypeKind { tkInteger, tkInt64, tkEnumeration, tkSet, tkString, tkClass, tkFloat };

// A property's value as it travels through the by-name interface.  Ordinal
// values (integers, Booleans, enumerations, sets) travel as int64_t.
using TPropValue = std::variant<std::monostate, int64_t, std::string, TObject*, double>;

// One published property of a class.
struct TPropInfo {
  std::string Name;
  std::string TypeName; // "Integer", "Boolean", "string", "TColor", a class name...
  TTypeKind Kind = TTypeKind::tkInteger;
  const TClassInfo* PropClass = nullptr; // the declared class of a tkClass property
  std::vector<std::string> EnumNames;    // the names of an enumeration's values
  std::optional<int64_t> Default;        // the default of an ordinal property
  std::function<TPropValue(const TObject&)> Get;
  std::function<void(TObject&, const TPropValue&)> Set; // empty for a read-only property

  bool IsWritable() const { return static_cast<bool>(Set); }
  bool IsOrdinal() const {
    return Kind == TTypeKind::tkInteger || Kind == TTypeKind::tkInt64 ||
           Kind == TTypeKind::tkEnumeration || Kind == TTypeKind::tkSet;
  }
};

// The class information of one class.  There is exactly one instance per
// class, so classes are compared by address.
class TClassInfo {
public:
  // Creates an instance; the argument is the owner of a component class, or
  // whatever the class's factory declares (a collection for its items).
  using TFactory = TObject* (*)(TObject* arg);
  using TPropFiller = void (*)(std::vector<TPropInfo>& out);

  TClassInfo(const char* name, const TClassInfo* parent, TFactory factory, TPropFiller props)
      : FName(name), FParent(parent), FFactory(factory), FFillProps(props) {}
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& ClassName() const { return FName; }
  const TClassInfo* ClassParent() const { return FParent; }
  bool InheritsFrom(const TClassInfo& other) const;
  bool HasFactory() const { return FFactory != nullptr; }
  // Raises an exception when the class has no factory.
  TObject* Create(TObject* arg = nullptr) const;

  // The properties this class itself declares, in declaration order.
  const std::vector<TPropInfo>& OwnProperties() const;
  // All published properties, base classes first, each in declaration order.
  // A property redeclared by a descendant keeps the place of the original.
  const std::vector<const TPropInfo*>& Properties() const;

private:
  std::string FName;
  const TClassInfo* FParent;
  TFactory FFactory;
  TPropFiller FFillProps;
  mutable bool FOwnBuilt = false;
  mutable bool FAllBuilt = false;
  mutable std::vector<TPropInfo> FOwn;
  mutable std::vector<const TPropInfo*> FAll;
};

// Raises EInvalidCast; kept out of line so this header does not need the
// exception classes.
[[noreturn]] void RaiseInvalidCast(const TClassInfo& from, const TClassInfo& to);
[[noreturn]] void RaiseInvalidCast(const std::string& from, const std::string& to);

class TObject {
public:
  using TThisClass = TObject;
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;
  // Runs before the destructors when the object is freed through Free or
  // FreeAndNil (and for components, by their owner), while the object is
  // still whole.  A plain delete skips it.
  virtual void BeforeDestruction() {}

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().ClassName(); }
  const TClassInfo* ClassParent() const { return ClassType().ClassParent(); }
  bool InheritsFrom(const TClassInfo& c) const { return ClassType().InheritsFrom(c); }

  // The class test and the checked cast.  A failed As raises EInvalidCast.
  template <class T> bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }
  template <class T> T* As() {
    if (auto* p = dynamic_cast<T*>(this)) return p;
    RaiseInvalidCast(ClassType(), T::StaticClass());
  }
  template <class T> const T* As() const { return const_cast<TObject*>(this)->As<T>(); }
  // The same tests of another object that may be nil, callable without
  // qualification inside every class (where these members hide the free
  // functions below): Is gives false for nil, As passes nil through.
  template <class T> static bool Is(const TObject* obj) { return obj && obj->Is<T>(); }
  template <class T> static T* As(TObject* obj) { return obj ? obj->As<T>() : nullptr; }
  template <class T> static const T* As(const TObject* obj) { return obj ? obj->As<T>() : nullptr; }

  static void DeclareProperties(TPropertyTable<TObject>&) {}
};

// Class test and checked cast of a pointer that may be nil: Is gives false
// for nil, As gives nil for nil.
template <class T> bool Is(const TObject* obj) {
  return obj != nullptr && obj->Is<T>();
}
template <class T> T* As(TObject* obj) {
  return obj ? obj->As<T>() : nullptr;
}
template <class T> const T* As(const TObject* obj) {
  return obj ? obj->As<T>() : nullptr;
}

// Frees an object: BeforeDestruction, then delete.  Nil is allowed.
inline void Free(TObject* obj) {
  if (obj) {
    obj->BeforeDestruction();
    delete obj;
  }
}
// Frees the object and sets the pointer to nil first, so that nothing
// reached from the destructors sees a dangling pointer.
template <class T> void FreeAndNil(T*& obj) {
  T* p = obj;
  obj = nullptr;
  Free(p);
}

// A class reference restricted to T and its descendants (`class of T`).
template <class T> class TClassRef {
public:
  TClassRef() = default;
  TClassRef(std::nullptr_t) {}
  // Raises EInvalidCast when the class does not descend from T.
  TClassRef(const TClassInfo& c) : FInfo(&c) {
    if (!c.InheritsFrom(T::StaticClass())) RaiseInvalidCast(c, T::StaticClass());
  }
  TClassRef(const TClassInfo* c) : TClassRef() {
    if (c) *this = TClassRef(*c);
  }
  // A reference to a descendant's family converts to its base's.
  template <class U>
  requires std::is_base_of_v<T, U> TClassRef(const TClassRef<U>& other) : FInfo(other.Info()) {}

  const TClassInfo* Info() const { return FInfo; }
  explicit operator bool() const { return FInfo != nullptr; }
  std::string ClassName() const { return FInfo ? FInfo->ClassName() : std::string("nil"); }
  bool InheritsFrom(const TClassInfo& c) const { return FInfo && FInfo->InheritsFrom(c); }

  // Creates an instance through the class's factory (see ZEL_CREATABLE_CLASS).
  T* Create(TObject* arg = nullptr) const;

  friend bool operator==(const TClassRef& a, const TClassRef& b) { return a.FInfo == b.FInfo; }
  friend bool operator==(const TClassRef& a, const TClassInfo* b) { return a.FInfo == b; }

private:
  const TClassInfo* FInfo = nullptr;
};

// The class registry, for classes whose names are read back from files.
// Registration is explicit (unit start-up), never done by static initialisers.
void RegisterClass(const TClassInfo& c);
void UnRegisterClass(const TClassInfo& c);
// nullptr when no class of that name (compared ignoring case) is registered.
const TClassInfo* GetClass(std::string_view name);
// Raises EClassNotFound when the class is not registered.
const TClassInfo& FindClass(std::string_view name);

// ---------------------------------------------------------------------------
// Published-property tables.

namespace detail {

template <class T> struct PropTraits;

// Maps a C++ property type to its kind and default type name.
template <class V> constexpr TTypeKind KindOf() {
  using T = std::remove_cvref_t<V>;
  if constexpr (std::is_same_v<T, bool> || std::is_enum_v<T>)
    return TTypeKind::tkEnumeration;
  else if constexpr (std::is_integral_v<T> && sizeof(T) > 4)
    return TTypeKind::tkInt64;
  else if constexpr (std::is_integral_v<T>)
    return TTypeKind::tkInteger;
  else if constexpr (std::is_floating_point_v<T>)
    return TTypeKind::tkFloat;
  else if constexpr (std::is_convertible_v<T, std::string>)
    return TTypeKind::tkString;
  else if constexpr (std::is_pointer_v<T> &&
                     std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<T>>>)
    return TTypeKind::tkClass;
  else
    return TTypeKind::tkSet; // a TSet<E>; anything else fails to convert below
}

template <class V> std::string DefaultTypeName() {
  using T = std::remove_cvref_t<V>;
  if constexpr (std::is_same_v<T, bool>)
    return "Boolean";
  else if constexpr (std::is_integral_v<T> && sizeof(T) > 4)
    return "Int64";
  else if constexpr (std::is_integral_v<T>)
    return "Integer";
  else if constexpr (std::is_floating_point_v<T>)
    return "Double";
  else if constexpr (std::is_convertible_v<T, std::string>)
    return "string";
  else if constexpr (std::is_pointer_v<T>)
    return std::remove_cv_t<std::remove_pointer_t<T>>::StaticClass().ClassName();
  else
    return "";
}

[[noreturn]] void RaisePropertyConvert(const std::string& prop);

template <class V> TPropValue ToValue(const V& v) {
  using T = std::remove_cvref_t<V>;
  if constexpr (std::is_same_v<T, bool>)
    return int64_t(v ? 1 : 0);
  else if constexpr (std::is_enum_v<T>)
    return int64_t(static_cast<std::underlying_type_t<T>>(v));
  else if constexpr (std::is_integral_v<T>)
    return int64_t(v);
  else if constexpr (std::is_floating_point_v<T>)
    return double(v);
  else if constexpr (std::is_convertible_v<T, std::string>)
    return std::string(v);
  else if constexpr (std::is_pointer_v<T>)
    return const_cast<TObject*>(static_cast<const TObject*>(v));
  else
    return int64_t(v.Bits());
}

template <class V>
std::remove_cvref_t<V> FromValue(const TPropValue& value, const std::string& prop) {
  using T = std::remove_cvref_t<V>;
  if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
    if (auto* i = std::get_if<int64_t>(&value)) {
      if constexpr (std::is_same_v<T, bool>)
        return *i != 0;
      else
        return static_cast<T>(*i);
    }
    if constexpr (std::is_floating_point_v<T>)
      if (auto* d = std::get_if<double>(&value)) return static_cast<T>(*d);
    RaisePropertyConvert(prop);
  } else if constexpr (std::is_convertible_v<T, std::string>) {
    if (auto* s = std::get_if<std::string>(&value)) return *s;
    RaisePropertyConvert(prop);
  } else if constexpr (std::is_pointer_v<T>) {
    using O = std::remove_cv_t<std::remove_pointer_t<T>>;
    if (std::holds_alternative<std::monostate>(value)) return nullptr;
    if (auto* o = std::get_if<TObject*>(&value)) return As<O>(*o);
    RaisePropertyConvert(prop);
  } else {
    if (auto* i = std::get_if<int64_t>(&value)) return T::FromBits(uint64_t(*i));
    RaisePropertyConvert(prop);
  }
}

} // namespace detail

// The builder a class's DeclareProperties receives: each Add appends one
// published property in declaration order.  The returned reference may be
// used to set a default; it is valid until the next Add.
template <class C> class TPropertyTable {
  // Accessors may be members of C or of any of its bases (a descendant
  // republishing what its base implements).
  template <class B> static constexpr bool kOwn = std::is_base_of_v<B, C>;

public:
  explicit TPropertyTable(std::vector<TPropInfo>& out) : FOut(out) {}

  template <class B, class R, class BS, class S>
  requires(kOwn<B>&& kOwn<BS>) TPropInfo& Add(std::string name, R (B::*get)() const,
                                              void (BS::*set)(S)) {
    return Add(std::move(name), detail::DefaultTypeName<R>(), get, set);
  }
  template <class B, class R, class BS, class S>
  requires(kOwn<B>&& kOwn<BS>) TPropInfo& Add(std::string name, std::string typeName,
                                              R (B::*get)() const, void (BS::*set)(S)) {
    TPropInfo& p = AddReadOnly(std::move(name), std::move(typeName), get);
    std::string propName = p.Name;
    p.Set = [set, propName](TObject& obj, const TPropValue& v) {
      (Self(obj).*set)(detail::FromValue<S>(v, propName));
    };
    return p;
  }
  template <class B, class R>
  requires kOwn<B> TPropInfo& AddReadOnly(std::string name, R (B::*get)() const) {
    return AddReadOnly(std::move(name), detail::DefaultTypeName<R>(), get);
  }
  template <class B, class R>
  requires kOwn<B> TPropInfo& AddReadOnly(std::string name, std::string typeName,
                                          R (B::*get)() const) {
    TPropInfo p;
    p.Name = std::move(name);
    p.TypeName = std::move(typeName);
    p.Kind = detail::KindOf<R>();
    if constexpr (std::is_pointer_v<std::remove_cvref_t<R>>)
      p.PropClass = &std::remove_cv_t<std::remove_pointer_t<std::remove_cvref_t<R>>>::StaticClass();
    p.Get = [get](const TObject& obj) -> TPropValue { return detail::ToValue((Self(obj).*get)()); };
    FOut.push_back(std::move(p));
    return FOut.back();
  }
  // A colour: an integer property whose type is named "TColor".
  template <class B, class R, class BS, class S>
  requires(kOwn<B>&& kOwn<BS>) TPropInfo& AddColor(std::string name, R (B::*get)() const,
                                                   void (BS::*set)(S)) {
    return Add(std::move(name), "TColor", get, set);
  }
  // An enumeration with the names of its values, in value order.  Declare
  // enumerations this way: a value outside the names is then refused rather
  // than stored into the C++ enumeration.
  // (Add also accepts enumerations, without that check.)
  template <class B, class R, class BS, class S>
  requires(kOwn<B>&& kOwn<BS>) TPropInfo& AddEnum(std::string name, std::string typeName,
                                                  R (B::*get)() const, void (BS::*set)(S),
                                                  std::vector<std::string> valueNames) {
    TPropInfo& p = Add(std::move(name), std::move(typeName), get, set);
    p.EnumNames = std::move(valueNames);
    return p;
  }
  // A property with hand-written accessors.
  TPropInfo& AddCustom(TPropInfo info) {
    FOut.push_back(std::move(info));
    return FOut.back();
  }

private:
  static C& Self(TObject& obj) { return *obj.As<C>(); }
  static const C& Self(const TObject& obj) { return *obj.As<C>(); }
  std::vector<TPropInfo>& FOut;
};

namespace detail {

// Fills the properties that C itself declares.  A class that declares none
// inherits its base's DeclareProperties, whose parameter type differs, so it
// is not called a second time.
template <class C> void FillOwnProps(std::vector<TPropInfo>& out) {
  if constexpr (std::is_same_v<decltype(&C::DeclareProperties), void (*)(TPropertyTable<C>&)>) {
    TPropertyTable<C> table(out);
    C::DeclareProperties(table);
  }
}

// Converts a factory argument to the constructor's declared type.
template <class A> A* FactoryArg(TObject* arg) {
  return As<A>(arg);
}

} // namespace detail

template <class T> T* TClassRef<T>::Create(TObject* arg) const {
  if (!FInfo) RaiseInvalidCast(std::string("nil"), T::StaticClass().ClassName());
  TObject* obj = FInfo->Create(arg);
  return obj->As<T>();
}

} // namespace zel

#define ZEL_CLASS_IMPL_(Cls, Base, FactoryExpr)                                                    \
public:                                                                                            \
  using inherited = Base;                                                                          \
  using TThisClass = Cls;                                                                          \
  static const ::zel::TClassInfo& StaticClass() {                                                  \
    static const ::zel::TClassInfo info(#Cls, &Base::StaticClass(), FactoryExpr,                   \
                                        &::zel::detail::FillOwnProps<Cls>);                        \
    return info;                                                                                   \
  }                                                                                                \
  const ::zel::TClassInfo& ClassType() const override {                                            \
    return StaticClass();                                                                          \
  }                                                                                                \
                                                                                                   \
private:

// Class information without a factory.
#define ZEL_CLASS(Cls, Base) ZEL_CLASS_IMPL_(Cls, Base, nullptr)

// Class information with a factory that calls `new Cls(owner)`, the owner
// being a TComponent (or nil).
#define ZEL_CREATABLE_CLASS(Cls, Base)                                                             \
  ZEL_CLASS_IMPL_(Cls, Base, [](::zel::TObject* arg) -> ::zel::TObject* {                          \
    return new Cls(::zel::detail::FactoryArg<::zel::TComponent>(arg));                             \
  })

// Class information with a factory that calls `new Cls(arg)` with arg of
// type ArgType* (checked).
#define ZEL_CREATABLE_CLASS_ARG(Cls, Base, ArgType)                                                \
  ZEL_CLASS_IMPL_(Cls, Base, [](::zel::TObject* arg) -> ::zel::TObject* {                          \
    return new Cls(::zel::detail::FactoryArg<ArgType>(arg));                                       \
  })
