#pragma once
// The bases the action manager's model needs of the bars that show it: an
// action bar shows the items of one TActionBarItem of a manager, drawn with
// a colour map; an action control shows one item.  Layout, painting and the
// control classes of the styles build on these.

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"

namespace zel {

class TActionClient;
class TActionClientItem;
class TActionBarItem;
class TCustomActionManager;
class TCustomActionBarColorMap;
class TActionBarStyle;

class TCustomActionBar : public TCustomControl {
  ZEL_CLASS(TCustomActionBar, TCustomControl)
public:
  explicit TCustomActionBar(TComponent* owner);
  ~TCustomActionBar() override;

  // The manager item the bar shows (set by TActionBarItem::SetActionBar).
  TActionClient* ActionClient() const { return FActionClient; }
  virtual void SetActionClient(TActionClient* value);
  // The manager joined through SetActionManager, else the manager of the
  // bar's item (a pop-up showing an item's children has only that one).
  TCustomActionManager* ActionManager() const;
  // Joins the bar to a manager: the manager's first bar item without a bar,
  // or a new one, takes this bar.
  virtual void SetActionManager(TCustomActionManager* value);

  // The colour map the bar is drawn with: the one assigned, otherwise a map
  // of the class its manager's style names (ColorMapClassFor), made and
  // owned by the bar.  Never nil.
  TCustomActionBarColorMap* ColorMap();
  // Assigns a map (nil: back to the style's default map).
  virtual void SetColorMap(TCustomActionBarColorMap* value);
  // The style of the bar's manager, or nil.
  TActionBarStyle* Style() const;

  // Called when the manager's style changed: a default colour map is made
  // again for the new style.
  virtual void StyleChanged();
  // Called when the items of the bar's client changed (after a load of the
  // manager's configuration, for example); the controls are remade here.
  virtual void ActionClientChanged() {}
  // Called by the colour map when its FontColor changes.
  virtual void ColorMapFontChanged(TColor color);

  void Notification(TComponent* component, TOperation operation) override;

private:
  void DropDefaultColorMap();

  TActionClient* FActionClient = nullptr;
  TCustomActionManager* FActionManager = nullptr;
  TCustomActionManager* FClientManager = nullptr;       // the manager of FActionClient
  TCustomActionBarColorMap* FColorMap = nullptr;        // assigned, not owned
  TCustomActionBarColorMap* FDefaultColorMap = nullptr; // owned by the bar
};

// A control that shows one item of a bar.
class TCustomActionControl : public TGraphicControl {
  ZEL_CLASS(TCustomActionControl, TGraphicControl)
public:
  explicit TCustomActionControl(TComponent* owner);
  ~TCustomActionControl() override;
  TActionClientItem* ActionClient() const { return FActionClient; }
  virtual void SetActionClient(TActionClientItem* value);
  // The bar the control sits on, or nil.
  TCustomActionBar* ActionBar() const;

private:
  TActionClientItem* FActionClient = nullptr;
};

} // namespace zel
