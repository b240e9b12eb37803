#pragma once
// The action manager: an action list that also describes the bars showing
// its actions.  ActionBars holds one TActionBarItem per bar; each has a tree
// of TActionClientItem (the menu items and buttons) with their own captions,
// images and short cuts or their action's, and their usage: how often an item
// was executed and in which session last.  An item whose last use lies more
// sessions back than the priority schedule allows for its usage count is
// unused, and bars that hide unused items leave it out.
//
// The whole configuration (bars, item trees, usage, session count, schedule)
// is written to and read from a stream in a versioned format of its own.
//
// The bars' items as the program defined them (the defaults) are kept apart
// from the configuration: taken when loading ends, or when the program asks,
// and never replaced by a configuration read later, so a person can always
// reset a bar to what it was at design time.

#include <memory>
#include <string>
#include <vector>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActionBar.h"
#include "framework/core/Collection.h"
#include "framework/core/Strings.h"
#include "framework/graphics/ImageList.h"

namespace zel {

class TActionBarStyle;
class TActionClients;
class TActionBars;
class TActionClientItem;
class TCustomActionManager;

// The common base of a bar item and an item of a bar: child items, context
// items (a pop-up of the item), visibility and the bar it opens.
class TActionClient : public TCollectionItem {
  ZEL_CLASS(TActionClient, TCollectionItem)
public:
  explicit TActionClient(TCollection* collection);
  ~TActionClient() override;

  // The child items (made on first use).
  TActionClients* Items();
  bool HasItems() const;
  // The items of the item's context pop-up (made on first use).
  TActionClients* ContextItems();
  bool HasContextItems() const;

  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  // The bar that shows this item's children (a pop-up menu, a drop-down),
  // or the bar of a TActionBarItem.
  TCustomActionBar* ChildActionBar() const { return FChildActionBar; }
  // The manager forgets the bar when it goes; a bar that shows this item
  // lets go of it when the item goes.
  void SetChildActionBar(TCustomActionBar* bar);
  // Every bar whose ActionClient is this item, open or closed (a closed
  // pop-up is kept until the next one opens), is told when the item goes,
  // so none keeps a reference to it.  Kept by TCustomActionBar.
  void AddShowingBar(TCustomActionBar* bar);
  void RemoveShowingBar(TCustomActionBar* bar);

  // The manager the item belongs to, or nil.
  virtual TCustomActionManager* ActionManager() const;
  // The TActionBars collection the item's tree hangs from, or nil.
  TActionBars* ActionBars() const;

  void Assign(TPersistent* source) override;

private:
  std::unique_ptr<TActionClients> FItems;
  std::unique_ptr<TActionClients> FContextItems;
  bool FVisible = true;
  TCustomActionBar* FChildActionBar = nullptr;
  std::vector<TCustomActionBar*> FShowingBars;
};

// One item of a bar: a menu item, a button, a separator.
class TActionClientItem : public TActionClient {
  ZEL_CREATABLE_CLASS_ARG(TActionClientItem, TActionClient, TCollection)
public:
  explicit TActionClientItem(TCollection* collection);
  ~TActionClientItem() override;

  TContainedAction* Action() const;
  void SetAction(TContainedAction* action);
  // The item's own caption, or its action's when it has none.
  std::string Caption() const;
  const std::string& OwnCaption() const { return FCaption; }
  void SetCaption(const std::string& value);
  // The item's own image, or its action's when it has none (-1).
  int ImageIndex() const;
  int OwnImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value) { FImageIndex = value; }
  // The item's own short cut, or its action's when it has none.
  TShortCut ShortCut() const;
  TShortCut OwnShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value) { FShortCut = value; }
  // Whether a tool-bar button shows its caption beside its glyph.
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool value) { FShowCaption = value; }
  // A separator: the caption "-" and no action.
  bool Separator() const;

  // How often the item was used; a negative count (-1) marks an item that
  // is always in use (a bar's own additions), which a use leaves as it is.
  int UsageCount() const { return FUsageCount; }
  void SetUsageCount(int value) { FUsageCount = value; }
  int LastSession() const { return FLastSession; }
  void SetLastSession(int value) { FLastSession = value; }
  // True when the sessions since the last use exceed what the manager's
  // schedule allows for the usage count.  Separators and items outside a
  // manager are never unused.
  bool Unused() const;
  // Whether the list holding this item hides unused items.
  bool HideUnused() const;
  // Counts a use (usage count + 1, last session = the current session)
  // and executes the action; false without an action or when it did not run.
  bool Execute();
  // Counts a use without executing (a choice made in a list action's
  // combo or sub-menu).  A use of an item is a use of every item above it
  // too: the menu it sits in was opened to reach it.
  void CountUse();

  // The item whose child list holds this one, or nil for a bar's top level.
  TActionClient* ParentItem() const;
  // The control showing the item that was made last, or nil.  Several
  // controls may show it at once (one in a closed pop-up kept for later,
  // another in a menu opened since); each one that still shows the item is
  // told when the item goes.  Kept by TCustomActionControl.
  TCustomActionControl* Control() const { return FControls.empty() ? nullptr : FControls.back(); }
  void AddShowingControl(TCustomActionControl* control);
  void RemoveShowingControl(TCustomActionControl* control);

  std::string GetDisplayName() const override;
  void Assign(TPersistent* source) override;

private:
  class TClientLink;
  std::unique_ptr<TClientLink> FLink;
  std::string FCaption;
  int FImageIndex = -1;
  TShortCut FShortCut = scNone;
  bool FShowCaption = true;
  int FUsageCount = 0;
  int FLastSession = 0;
  std::vector<TCustomActionControl*> FControls;
};

// The items of one bar or of one item's child list.
class TActionClients : public TCollection {
  ZEL_CLASS(TActionClients, TCollection)
public:
  explicit TActionClients(TActionClient* parentItem);
  TActionClient* ParentItem() const { return FParentItem; }
  TActionClientItem* Items(int index) const { return ItemsAs<TActionClientItem>(index); }
  TActionClientItem* Add() { return TCollection::Add()->As<TActionClientItem>(); }
  TActionClientItem* AddSeparator();
  // Whether bars leave out the unused items of this list.
  bool HideUnused() const { return FHideUnused; }
  void SetHideUnused(bool value) { FHideUnused = value; }
  TPersistent* GetOwner() const override { return FParentItem; }
  void Assign(TPersistent* source) override;

private:
  TActionClient* FParentItem;
  bool FHideUnused = false;
};

// One bar of the manager.
class TActionBarItem : public TActionClient {
  ZEL_CREATABLE_CLASS_ARG(TActionBarItem, TActionClient, TCollection)
public:
  explicit TActionBarItem(TCollection* collection);
  ~TActionBarItem() override;

  TCustomActionBar* ActionBar() const { return FActionBar; }
  // Joins the bar to this item (the bar's ActionClient becomes this item).
  void SetActionBar(TCustomActionBar* bar);
  // Whether the bar takes the height its controls need (its BarAutoSize).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

  std::string GetDisplayName() const override;
  void Assign(TPersistent* source) override;

private:
  friend class TCustomActionManager;
  TCustomActionBar* FActionBar = nullptr;
  bool FAutoSize = true;
};

class TActionBars : public TCollection {
  ZEL_CLASS(TActionBars, TCollection)
public:
  explicit TActionBars(TCustomActionManager* manager);
  TCustomActionManager* ActionManager() const { return FManager; }
  TActionBarItem* ActionBars(int index) const { return ItemsAs<TActionBarItem>(index); }
  TActionBarItem* Add() { return TCollection::Add()->As<TActionBarItem>(); }
  // The number of sessions so far; the program counts one up per run.
  int SessionCount() const { return FSessionCount; }
  void SetSessionCount(int value) { FSessionCount = value < 0 ? 0 : value; }
  // Whether the bars hide unused items: any bar's items do (the person's
  // one setting, which the editor and the customize dialog both switch).
  bool HideUnused() const;
  // Sets HideUnused in every bar's item lists, recursively; the bars whose
  // lists changed rebuild their controls at once (closing open menus).
  void SetHideUnused(bool value);
  TPersistent* GetOwner() const override;

private:
  TCustomActionManager* FManager;
  int FSessionCount = 0;
};

class TCustomActionManager : public TCustomActionList {
  ZEL_CLASS(TCustomActionManager, TCustomActionList)
public:
  explicit TCustomActionManager(TComponent* owner);
  ~TCustomActionManager() override;

  TActionBars* ActionBars() const { return FActionBars.get(); }
  // Copies another collection of bars.
  void SetActionBars(TActionBars* value);

  // "usage count=sessions" entries: an item used n times stays in use for the
  // sessions the entry of the largest count not above n gives.
  TStringList* PrioritySchedule() const { return FPrioritySchedule.get(); }
  void SetPrioritySchedule(TStrings* value);
  // The sessions an item with that usage count stays in use; -1 when the
  // schedule has no entry that applies.
  int SessionsAllowed(int usageCount) const;

  TActionBarStyle* Style() const { return FStyle; }
  void SetStyle(TActionBarStyle* value);
  // The registered style's name; setting a name selects that style when it
  // is registered (otherwise the name is kept and the style unchanged).
  std::string StyleName() const;
  void SetStyleName(const std::string& value);

  // Every item: usage count 0, last session the current session.
  void ResetUsageData();

  // Takes every bar's items as its defaults, replacing those taken before;
  // for programs that build their bars without a loading phase.
  void SaveDefaults();
  // Takes the items of the bar at index as its defaults.
  void SaveBarDefaults(int index);
  // Whether the bar at index has defaults to go back to.
  bool HasBarDefaults(int index) const;
  // Puts the bar at index back to its default items (usage data fresh) and
  // has it make its controls again; false when it has no defaults.
  bool ResetActionBar(int index);
  // The bar item showing bar, or nil.
  TActionBarItem* FindActionBar(const TCustomActionBar* bar) const;
  // The first item (any depth) whose action is action, or nil.
  TActionClientItem* FindItemByAction(const TBasicAction* action) const;

  // The configuration in the manager's own format (see ActnManConfig.cpp).
  void SaveToStream(TStream& stream) const;
  // Reads exactly what SaveToStream wrote, the stream running to its end.
  // Any error leaves the previous configuration in place, sets the stream
  // back to where it began and raises again.
  void LoadFromStream(TStream& stream);

  void Notification(TComponent* component, TOperation operation) override;
  // The bars follow their images: when the list changes (its cell size, its
  // glyphs), every bar lays its controls out again and repaints.
  void SetImages(TCustomImageList* value) override;

  // Called when a style leaves the registry: managers using it lose it.
  static void StyleUnregistered(TActionBarStyle* style);

protected:
  // Tells every bar that the items changed.
  void BarsChanged();
  // The bars' items as described are their defaults.
  void Loaded() override;

private:
  // One bar's default items.  The bar is found by the bar control it shows,
  // which survives a configuration read, or by its place when it shows none.
  struct TBarDefaults {
    int Index = -1;
    TCustomActionBar* Bar = nullptr;
    std::unique_ptr<TActionClients> Items;
  };
  TBarDefaults* FindBarDefaults(int index);
  const TBarDefaults* FindBarDefaults(int index) const;

  void ForgetBar(const TComponent* bar);

  void ImagesChanged();

  std::unique_ptr<TActionBars> FActionBars;
  std::unique_ptr<TStringList> FPrioritySchedule;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TActionBarStyle* FStyle = nullptr;
  std::string FStyleName;
  std::vector<TBarDefaults> FDefaults;
};

class TActionManager : public TCustomActionManager {
  ZEL_CREATABLE_CLASS(TActionManager, TCustomActionManager)
public:
  explicit TActionManager(TComponent* owner) : TCustomActionManager(owner) {}
};

// The default priority schedule: "0=3", "1=3", "2=6", "3=9", "4=12",
// "6=17", "9=23", "13=31".
void DefaultPrioritySchedule(TStrings& schedule);

} // namespace zel
