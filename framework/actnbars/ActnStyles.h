#pragma once
// Action-bar styles: an object that tells the bars of an action manager
// which control class shows each item, which colour map to use by default,
// which pop-up menu, add-or-remove item and scroll button classes to open.
// Styles are registered by name in one ordered list that the program fills
// explicitly at start-up; a name that is listed already is not added again.

#include <string>

#include "framework/actnbars/ActionBar.h"
#include "framework/actnbars/ActnColorMaps.h"

namespace zel {

class TStringList;

using TCustomActionControlClass = TClassRef<TCustomActionControl>;
using TCustomActionBarClass = TClassRef<TCustomActionBar>;

class TActionBarStyle : public TObject {
  ZEL_CLASS(TActionBarStyle, TObject)
public:
  // The class of control that shows item on bar.
  virtual TCustomActionControlClass ControlClassFor(TCustomActionBar* bar,
                                                    TActionClientItem* item) = 0;
  // The class of the colour map a bar of this style uses by default.
  virtual TCustomColorMapClass ColorMapClassFor(TCustomActionBar* bar) = 0;
  // The name the style is registered and chosen by.
  virtual std::string StyleName() = 0;
};

class TActionBarStyleEx : public TActionBarStyle {
  ZEL_CLASS(TActionBarStyleEx, TActionBarStyle)
public:
  // The pop-up menu class a bar opens (for a tool bar, its customize pop-up).
  virtual TCustomActionBarClass GetPopupClass(TCustomActionBar* bar) = 0;
  // The control class of the items of a customize pop-up's add-or-remove menu.
  virtual TCustomActionControlClass GetAddRemoveItemClass(TCustomActionBar* bar) = 0;
  // The control class of a tool bar's scroll button.
  virtual TCustomActionControlClass GetScrollBtnClass() = 0;
};

// Appends the style under its StyleName unless a style of that name (any
// case) is listed; nil is ignored.  The list does not own the style.
void RegisterActnBarStyle(TActionBarStyle* style);
// Removes the style from the list; the list itself goes once it is empty.
// Managers that use the style are left without one.
void UnRegisterActnBarStyle(TActionBarStyle* style);
// The registered styles: names with the style objects, in registration
// order; nil while no style is registered.
TStringList* ActionBarStyles();
// The registered style of that name (ignoring case), or nil.
TActionBarStyle* FindActionBarStyle(const std::string& name);
// The first registered style, or nil: what bars are drawn with while their
// manager names a style that is not registered.
TActionBarStyle* DefaultActionBarStyle();

} // namespace zel
