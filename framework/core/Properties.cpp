#include "framework/core/Properties.h"

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"

namespace zel {

namespace {

const TPropInfo& Require(const TObject& obj, std::string_view name) {
  if (const TPropInfo* p = GetPropInfo(obj, name)) return *p;
  throw EPropertyError::CreateFmt(SUnknownProperty, name);
}

} // namespace

const TPropInfo* GetPropInfo(const TClassInfo& cls, std::string_view name) {
  for (const TPropInfo* p : cls.Properties())
    if (AnsiSameText(p->Name, name)) return p;
  return nullptr;
}

const TPropInfo* GetPropInfo(const TObject& obj, std::string_view name) {
  return GetPropInfo(obj.ClassType(), name);
}

const std::vector<const TPropInfo*>& GetPropList(const TClassInfo& cls) {
  return cls.Properties();
}

const std::vector<const TPropInfo*>& GetPropList(const TObject& obj) {
  return obj.ClassType().Properties();
}

std::vector<const TPropInfo*> GetPropsOfType(const TClassInfo& cls, std::string_view typeName) {
  std::vector<const TPropInfo*> out;
  for (const TPropInfo* p : cls.Properties())
    if (AnsiSameText(p->TypeName, typeName)) out.push_back(p);
  return out;
}

bool IsPublishedProp(const TObject& obj, std::string_view name) {
  return GetPropInfo(obj, name) != nullptr;
}

bool PropIsType(const TObject& obj, std::string_view name, std::string_view typeName) {
  const TPropInfo* p = GetPropInfo(obj, name);
  return p && AnsiSameText(p->TypeName, typeName);
}

TPropValue GetPropValue(const TObject& obj, const TPropInfo& prop) {
  return prop.Get(obj);
}

TPropValue GetPropValue(const TObject& obj, std::string_view name) {
  return GetPropValue(obj, Require(obj, name));
}

void SetPropValue(TObject& obj, const TPropInfo& prop, const TPropValue& value) {
  if (!prop.Set) throw EPropertyError::CreateFmt(SReadOnlyProperty, prop.Name);
  // An enumeration takes only the values it names: anything else (from a
  // damaged stream, say) would not be a value of the C++ enumeration.
  if (auto* i = std::get_if<int64_t>(&value); i && prop.Kind == TTypeKind::tkEnumeration &&
                                              !prop.EnumNames.empty() &&
                                              (*i < 0 || *i >= int64_t(prop.EnumNames.size())))
    throw EPropertyConvertError::CreateFmt(SInvalidPropertyValue, prop.Name);
  prop.Set(obj, value);
}

void SetPropValue(TObject& obj, std::string_view name, const TPropValue& value) {
  SetPropValue(obj, Require(obj, name), value);
}

int64_t GetOrdProp(const TObject& obj, const TPropInfo& prop) {
  TPropValue v = prop.Get(obj);
  if (auto* i = std::get_if<int64_t>(&v)) return *i;
  throw EPropertyConvertError::CreateFmt(SInvalidPropertyType, prop.Name);
}

int64_t GetOrdProp(const TObject& obj, std::string_view name) {
  return GetOrdProp(obj, Require(obj, name));
}

void SetOrdProp(TObject& obj, const TPropInfo& prop, int64_t value) {
  SetPropValue(obj, prop, TPropValue(value));
}

void SetOrdProp(TObject& obj, std::string_view name, int64_t value) {
  SetOrdProp(obj, Require(obj, name), value);
}

std::string GetStrProp(const TObject& obj, std::string_view name) {
  const TPropInfo& prop = Require(obj, name);
  TPropValue v = prop.Get(obj);
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  throw EPropertyConvertError::CreateFmt(SInvalidPropertyType, prop.Name);
}

void SetStrProp(TObject& obj, std::string_view name, const std::string& value) {
  SetPropValue(obj, name, TPropValue(value));
}

TObject* GetObjectProp(const TObject& obj, std::string_view name) {
  const TPropInfo& prop = Require(obj, name);
  TPropValue v = prop.Get(obj);
  if (auto* o = std::get_if<TObject*>(&v)) return *o;
  if (std::holds_alternative<std::monostate>(v)) return nullptr;
  throw EPropertyConvertError::CreateFmt(SInvalidPropertyType, prop.Name);
}

void SetObjectProp(TObject& obj, std::string_view name, TObject* value) {
  SetPropValue(obj, name, TPropValue(value));
}

double GetFloatProp(const TObject& obj, std::string_view name) {
  const TPropInfo& prop = Require(obj, name);
  TPropValue v = prop.Get(obj);
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* i = std::get_if<int64_t>(&v)) return double(*i);
  throw EPropertyConvertError::CreateFmt(SInvalidPropertyType, prop.Name);
}

void SetFloatProp(TObject& obj, std::string_view name, double value) {
  SetPropValue(obj, name, TPropValue(value));
}

std::string GetEnumName(const TPropInfo& prop, int64_t value) {
  if (value >= 0 && value < int64_t(prop.EnumNames.size())) return prop.EnumNames[size_t(value)];
  if (prop.TypeName == "Boolean" && (value == 0 || value == 1)) return value ? "True" : "False";
  return IntToStr(value);
}

int64_t GetEnumValue(const TPropInfo& prop, std::string_view name) {
  for (size_t i = 0; i < prop.EnumNames.size(); ++i)
    if (AnsiSameText(prop.EnumNames[i], name)) return int64_t(i);
  if (prop.TypeName == "Boolean") {
    if (AnsiSameText(name, "True")) return 1;
    if (AnsiSameText(name, "False")) return 0;
  }
  return -1;
}

} // namespace zel
