// The "Standard" style's controls and the style object.

#include "framework/actnbars/StdStyleActnCtrls.h"

#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnComboControl.h"
#include "framework/actnbars/ActnMan.h"

namespace zel {

using namespace sys;

void TStandardMenuItem::DrawBackground(RECT& r) {
  TCustomActionBarColorMap* m = ColorMap();
  if (!m) return;
  Canvas()->Brush()->SetStyle(bsSolid);
  const bool unused = ActionClient() && ActionClient()->Unused();
  Canvas()->Brush()->SetColor(Selected() && !IsSeparator() ? m->SelectedColor()
                              : unused                     ? m->UnusedColor()
                                                           : m->MenuColor());
  Canvas()->FillRect(r);
}

TCustomActionControlClass TStandardStyleActionBars::ControlClassFor(TCustomActionBar* bar,
                                                                    TActionClientItem* item) {
  if (auto* popup = dynamic_cast<TCustomActionPopupMenu*>(bar)) {
    if (dynamic_cast<TCustomizeActionToolBar*>(popup->ParentMenu()))
      return GetAddRemoveItemClass(bar);
    return TStandardMenuItem::StaticClass();
  }
  if (dynamic_cast<TCustomActionMenuBar*>(bar)) return TStandardMenuButton::StaticClass();
  if (item && item->HasItems() && item->Items()->Count() > 0)
    return TStandardDropDownButton::StaticClass();
  if (IsComboItem(bar, item)) return TStandardComboControl::StaticClass();
  return TStandardButtonControl::StaticClass();
}

TCustomColorMapClass TStandardStyleActionBars::ColorMapClassFor(TCustomActionBar*) {
  return TStandardColorMap::StaticClass();
}

TCustomActionBarClass TStandardStyleActionBars::GetPopupClass(TCustomActionBar* bar) {
  if (dynamic_cast<TCustomActionToolBar*>(bar)) return TCustomizeActionToolBar::StaticClass();
  return TCustomActionPopupMenu::StaticClass();
}

TCustomActionControlClass TStandardStyleActionBars::GetAddRemoveItemClass(TCustomActionBar*) {
  return TStandardMenuItem::StaticClass();
}

TCustomActionControlClass TStandardStyleActionBars::GetScrollBtnClass() {
  return TCustomToolScrollBtn::StaticClass();
}

TStandardStyleActionBars* StandardStyle() {
  static TStandardStyleActionBars style;
  return &style;
}

} // namespace zel
