#include "framework/core/Object.h"

#include <algorithm>
#include <map>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"

namespace zel {

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info("TObject", nullptr, nullptr, &detail::FillOwnProps<TObject>);
  return info;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == &other) return true;
  return false;
}

TObject* TClassInfo::Create(TObject* arg) const {
  if (!FFactory) throw EInvalidOperation::CreateFmt(SNoFactory, FName);
  return FFactory(arg);
}

const std::vector<TPropInfo>& TClassInfo::OwnProperties() const {
  if (!FOwnBuilt) {
    FOwnBuilt = true;
    if (FFillProps) FFillProps(FOwn);
  }
  return FOwn;
}

const std::vector<const TPropInfo*>& TClassInfo::Properties() const {
  if (FAllBuilt) return FAll;
  std::vector<const TPropInfo*> all;
  if (FParent) all = FParent->Properties();
  for (const TPropInfo& p : OwnProperties()) {
    // A redeclared property replaces the inherited one in its place.
    auto same = std::find_if(all.begin(), all.end(),
                             [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
    if (same != all.end())
      *same = &p;
    else
      all.push_back(&p);
  }
  FAll = std::move(all);
  FAllBuilt = true;
  return FAll;
}

void RaiseInvalidCast(const TClassInfo& from, const TClassInfo& to) {
  RaiseInvalidCast(from.ClassName(), to.ClassName());
}

void RaiseInvalidCast(const std::string& from, const std::string& to) {
  throw EInvalidCast::CreateFmt(SInvalidCast, from, to);
}

namespace detail {
void RaisePropertyConvert(const std::string& prop) {
  throw EPropertyConvertError::CreateFmt(SInvalidPropertyValue, prop);
}
} // namespace detail

// ---- class registry ------------------------------------------------------------

namespace {

// Keyed by the upper-cased class name.
std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> registry;
  return registry;
}

} // namespace

void RegisterClass(const TClassInfo& c) {
  Registry()[AnsiUpperCase(c.ClassName())] = &c;
}

void UnRegisterClass(const TClassInfo& c) {
  auto it = Registry().find(AnsiUpperCase(c.ClassName()));
  if (it != Registry().end() && it->second == &c) Registry().erase(it);
}

const TClassInfo* GetClass(std::string_view name) {
  auto it = Registry().find(AnsiUpperCase(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo& FindClass(std::string_view name) {
  if (const TClassInfo* c = GetClass(name)) return *c;
  throw EClassNotFound::CreateFmt(SClassNotFound, name);
}

} // namespace zel
