#include "framework/actnbars/ActnStyles.h"

#include <memory>

#include "framework/actnbars/ActnMan.h"
#include "framework/core/Strings.h"

namespace zel {

namespace {

// The list exists only while styles are registered, as the shut-down order
// of the program's units expects.
std::unique_ptr<TStringList>& StyleList() {
  static std::unique_ptr<TStringList> list;
  return list;
}

} // namespace

void RegisterActnBarStyle(TActionBarStyle* style) {
  if (!style) return;
  auto& list = StyleList();
  if (!list) list = std::make_unique<TStringList>();
  const std::string name = style->StyleName();
  if (list->IndexOf(name) >= 0) return;
  list->AddObject(name, style);
}

void UnRegisterActnBarStyle(TActionBarStyle* style) {
  auto& list = StyleList();
  if (!list || !style) return;
  const int i = list->IndexOfObject(style);
  if (i < 0) return;
  list->Delete(i);
  TCustomActionManager::StyleUnregistered(style);
  if (list->Count() == 0) list.reset();
}

TStringList* ActionBarStyles() {
  return StyleList().get();
}

TActionBarStyle* FindActionBarStyle(const std::string& name) {
  TStringList* list = ActionBarStyles();
  if (!list) return nullptr;
  const int i = list->IndexOf(name);
  return i < 0 ? nullptr : static_cast<TActionBarStyle*>(list->Objects(i));
}

TActionBarStyle* DefaultActionBarStyle() {
  TStringList* list = ActionBarStyles();
  if (!list || list->Count() == 0) return nullptr;
  return static_cast<TActionBarStyle*>(list->Objects(0));
}

} // namespace zel
