#pragma once
// Reading and writing published properties by name, through the tables that
// classes declare with DeclareProperties (see Object.h).  Names are compared
// ignoring case.  An unknown property raises EPropertyError; a value of the
// wrong kind raises EPropertyConvertError.

#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Object.h"

namespace zel {

// The property of that name, or nullptr.
const TPropInfo* GetPropInfo(const TClassInfo& cls, std::string_view name);
const TPropInfo* GetPropInfo(const TObject& obj, std::string_view name);
// Every published property, base classes first, in declaration order.
const std::vector<const TPropInfo*>& GetPropList(const TClassInfo& cls);
const std::vector<const TPropInfo*>& GetPropList(const TObject& obj);
// The published properties of the given kinds or type name.
std::vector<const TPropInfo*> GetPropsOfType(const TClassInfo& cls, std::string_view typeName);
bool IsPublishedProp(const TObject& obj, std::string_view name);
// The type name compared ignoring case ("TColor").
bool PropIsType(const TObject& obj, std::string_view name, std::string_view typeName);

TPropValue GetPropValue(const TObject& obj, const TPropInfo& prop);
TPropValue GetPropValue(const TObject& obj, std::string_view name);
// Raises EPropertyError for a read-only property.
void SetPropValue(TObject& obj, const TPropInfo& prop, const TPropValue& value);
void SetPropValue(TObject& obj, std::string_view name, const TPropValue& value);

// Ordinal properties: integers, colours, Booleans, enumerations, sets.
int64_t GetOrdProp(const TObject& obj, const TPropInfo& prop);
int64_t GetOrdProp(const TObject& obj, std::string_view name);
void SetOrdProp(TObject& obj, const TPropInfo& prop, int64_t value);
void SetOrdProp(TObject& obj, std::string_view name, int64_t value);
std::string GetStrProp(const TObject& obj, std::string_view name);
void SetStrProp(TObject& obj, std::string_view name, const std::string& value);
TObject* GetObjectProp(const TObject& obj, std::string_view name);
void SetObjectProp(TObject& obj, std::string_view name, TObject* value);
double GetFloatProp(const TObject& obj, std::string_view name);
void SetFloatProp(TObject& obj, std::string_view name, double value);

// The name of an enumeration value of the property, or its number as text
// when the property has no names for it; and back (ignoring case), -1 when
// unknown.
std::string GetEnumName(const TPropInfo& prop, int64_t value);
int64_t GetEnumValue(const TPropInfo& prop, std::string_view name);

} // namespace zel
