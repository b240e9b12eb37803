// The pop-ups a tool bar opens: the hidden items behind its scroll button
// and the customize pop-up that shows and hides its items.

#include <algorithm>
#include <vector>

#include "framework/actions/ActnList.h"
#include "framework/actions/ListActns.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/graphics/GraphUtil.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

// ---- Items of a pop-up's own ---------------------------------------------------------------

TActionClients* TCustomActionPopupMenu::OwnItems() {
  if (!FOwnHolder) {
    FOwnHolder = std::make_unique<TActionClients>(nullptr);
    FOwnHolder->Add();
  }
  return FOwnHolder->Items(0)->Items();
}

void TCustomActionPopupMenu::ShowOwnItems(TCustomActionManager* manager, POINT screen) {
  SetFallbackManager(manager);
  TActionClient* root = FOwnHolder ? FOwnHolder->Items(0) : nullptr;
  if (ActionClient() == root)
    RecreateControls();
  else
    SetActionClient(root);
  PopupAt(screen);
}

TActionClientItem* TCustomActionPopupMenu::ItemToExecute(TActionClientItem* item) {
  // The sub-menus of a pop-up of copies show copies as well, unless they
  // show items of their own (a list action's choices).
  TCustomActionMenuBar* root = RootMenu();
  if (root != this) return FOwnHolder ? item : root->ItemToExecute(item);
  if (OnFindOriginal)
    if (TActionClientItem* original = OnFindOriginal(item)) return original;
  return item;
}

// ---- A list action's choices ---------------------------------------------------------------

void TCustomActionPopupMenu::ShowListItems(TCustomActionControl* control, POINT screen) {
  TActionClientItem* source = control ? control->ActionClient() : nullptr;
  auto* list = source ? dynamic_cast<TCustomListAction*>(source->Action()) : nullptr;
  if (!list) return;
  FSourceItem = source;
  FListAction = list;
  list->FreeNotification(this);
  TActionClients* items = OwnItems();
  items->Clear();
  // One action of the pop-up's own per choice; they go with the pop-up.
  for (int i = 0; i < list->Count(); ++i) {
    std::string caption;
    int image = -1;
    list->GetItem(i, caption, image);
    auto* choice = new TAction(this);
    choice->SetCaption(caption);
    choice->SetImageIndex(image);
    choice->SetChecked(i == list->ItemIndex());
    choice->OnExecute = [this, i](TObject*) { ListItemChosen(i); };
    items->Add()->SetAction(choice);
  }
  TCustomActionBar* bar = control->ActionBar();
  ShowOwnItems(bar ? bar->ActionManager() : nullptr, screen);
}

void TCustomActionPopupMenu::ListItemChosen(int index) {
  TCustomListAction* list = FListAction;
  if (!list) return;
  // The use counts on the item whose sub-menu this is, while the menu that
  // opened it still shows it (an item that went took its control's
  // reference along, so a stale one is never followed).
  if (TCustomActionMenuBar* parent = FParentMenu; parent && FSourceItem)
    for (int i = 0; i < parent->ActionControlCount(); ++i)
      if (parent->ActionControls(i)->ActionClient() == FSourceItem) {
        if (TActionClientItem* counted = parent->ItemToExecute(FSourceItem)) counted->CountUse();
        break;
      }
  list->SelectItem(index);
}

void TCustomActionPopupMenu::Notification(TComponent* component, TOperation operation) {
  TCustomActionMenuBar::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FListAction) FListAction = nullptr;
}

// ---- TCustomActionToolBar ------------------------------------------------------------------

namespace {
// A pop-up of plain items in the style's pop-up class.  Asked without a bar
// the style names no customize pop-up, and a customize pop-up would be no
// place for plain items anyway, so that class falls back to the plain one.
TCustomActionPopupMenu* CreatePlainPopup(TActionBarStyle* style, TComponent* owner) {
  TClassRef<TCustomActionBar> cls;
  if (auto* ex = dynamic_cast<TActionBarStyleEx*>(style)) cls = ex->GetPopupClass(nullptr);
  if (!cls || !cls.InheritsFrom(TCustomActionPopupMenu::StaticClass()) ||
      cls.InheritsFrom(TCustomizeActionToolBar::StaticClass()))
    cls = TCustomActionPopupMenu::StaticClass();
  return static_cast<TCustomActionPopupMenu*>(cls.Create(owner));
}

// The item of bar that a copy in its hidden-items pop-up stands for.  The
// copy's place under the pop-up's own root gives the path; sources maps the
// top-level copies to the indexes of the bar's items.  The path is followed
// through the bar's items as they are now, and every step must show the
// same action, so an item removed meanwhile is never touched.
TActionClientItem* OriginalOfCopy(TCustomActionToolBar* bar, const std::vector<int>& sources,
                                  TActionClientItem* copy) {
  std::vector<int> path;
  for (TActionClientItem* i = copy; i; i = dynamic_cast<TActionClientItem*>(i->ParentItem()))
    if (i->ParentItem()) path.insert(path.begin(), i->Index());
  TActionClient* client = bar->ActionClient();
  if (path.empty() || path[0] >= int(sources.size()) || !client || !client->HasItems())
    return nullptr;
  path[0] = sources[size_t(path[0])];
  TActionClient* original = client;
  TActionClientItem* found = nullptr;
  for (int index : path) {
    if (!original->HasItems() || index < 0 || index >= original->Items()->Count()) return nullptr;
    found = original->Items()->Items(index);
    original = found;
  }
  return found->Action() == copy->Action() ? found : nullptr;
}
} // namespace

TCustomActionToolBar::~TCustomActionToolBar() = default;

void TCustomActionToolBar::LayoutControls() {
  FReserveRight = 0;
  TCustomActionDockBar::LayoutControls();
  if (HiddenCount() == 0 || WrapsControls()) {
    if (FScrollBtn) FScrollBtn->SetVisible(false);
    return;
  }
  // Room for the scroll button at the end of the row, then lay out again.
  if (!FScrollBtn) CreateScrollButton();
  const SIZE s = FScrollBtn->CalcSize();
  FReserveRight = s.cx;
  TCustomActionDockBar::LayoutControls();
  // Aligned to the right, the button takes the height inside the margins.
  FScrollBtn->SetWidth(s.cx);
  FScrollBtn->SetAlign(alRight);
  FScrollBtn->SetVisible(true);
  Realign();
}

// The style's scroll button class is used as it is.  A class that is no
// TCustomToolScrollBtn does not know the tool bar, so its clicks are wired
// to the pop-up of hidden items here; without a class the plain button
// serves.
void TCustomActionToolBar::CreateScrollButton() {
  TClassRef<TCustomActionControl> cls;
  if (auto* ex = dynamic_cast<TActionBarStyleEx*>(Style())) cls = ex->GetScrollBtnClass();
  if (!cls) cls = TCustomToolScrollBtn::StaticClass();
  FScrollBtn = cls.Create(this);
  if (!FScrollBtn->Is<TCustomToolScrollBtn>())
    FScrollBtn->OnClick = [this](TObject*) { ShowHiddenItems(); };
  FScrollBtn->SetVisible(false);
  FScrollBtn->SetParent(this);
}

void TCustomActionToolBar::StyleChanged() {
  if (FScrollBtn && !ComponentState().Contains(csDestroying)) {
    TCustomActionControl* old = FScrollBtn;
    FScrollBtn = nullptr;
    delete old;
  }
  TCustomActionDockBar::StyleChanged();
}

void TCustomActionToolBar::DropPopup() {
  delete FPopupMenu;
  FPopupMenu = nullptr;
}

TCustomActionPopupMenu* TCustomActionToolBar::ActivePopup() const {
  return FPopupMenu && FPopupMenu->Visible() ? FPopupMenu : nullptr;
}

TCustomActionPopupMenu* TCustomActionToolBar::ShowHiddenItems() {
  DropPopup();
  if (!FScrollBtn || !FScrollBtn->Visible() || !ActionManager()) return nullptr;
  auto* popup = CreatePlainPopup(Style(), this);
  FPopupMenu = popup;
  // In design mode a click on a copy chooses nothing.
  popup->SetDesignMode(DesignMode());
  TActionClients* items = popup->OwnItems();
  std::vector<int> sources;
  for (int i = 0; i < ActionControlCount(); ++i) {
    TCustomActionControl* c = ActionControls(i);
    if (c->Visible() || !c->ActionClient()) continue;
    items->Add()->Assign(c->ActionClient());
    sources.push_back(c->ActionClient()->Index());
  }
  // A copy chosen in the pop-up executes the bar's own item, which counts
  // the use.  The pop-up is the bar's, so the bar outlives the handler.
  popup->OnFindOriginal = [this, sources](TActionClientItem* copy) {
    return OriginalOfCopy(this, sources, copy);
  };
  popup->ShowOwnItems(ActionManager(), FScrollBtn->ClientToScreen({0, FScrollBtn->Height()}));
  return popup;
}

TCustomActionPopupMenu* TCustomActionToolBar::ShowDropDown(TCustomActionControl* button) {
  DropPopup();
  TActionClientItem* item = button ? button->ActionClient() : nullptr;
  if (!item || !item->HasItems() || item->Items()->Count() == 0) return nullptr;
  auto* popup = CreatePlainPopup(Style(), this);
  FPopupMenu = popup;
  popup->SetDesignMode(DesignMode());
  popup->SetActionClient(item);
  item->SetChildActionBar(popup);
  popup->PopupAt(button->ClientToScreen({0, button->Height()}));
  return popup;
}

TCustomActionPopupMenu* TCustomActionToolBar::ShowCustomizePopup(POINT screen) {
  DropPopup();
  if (!ActionManager() || DesignMode()) return nullptr;
  TClassRef<TCustomActionBar> cls;
  if (auto* ex = dynamic_cast<TActionBarStyleEx*>(Style())) cls = ex->GetPopupClass(this);
  if (!cls || !cls.InheritsFrom(TCustomizeActionToolBar::StaticClass()))
    cls = TCustomizeActionToolBar::StaticClass();
  auto* popup = static_cast<TCustomizeActionToolBar*>(cls.Create(this));
  FPopupMenu = popup;
  popup->Build(this);
  popup->ShowOwnItems(ActionManager(), screen);
  return popup;
}

void TCustomActionToolBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomActionDockBar::MouseUp(button, shift, x, y);
  if (button == mbRight) ShowCustomizePopup(ClientToScreen({x, y}));
}

// ---- TCustomToolScrollBtn ------------------------------------------------------------------

void TCustomToolScrollBtn::Click() {
  if (auto* bar = dynamic_cast<TCustomActionToolBar*>(ActionBar())) bar->ShowHiddenItems();
}

void TCustomToolScrollBtn::SetAlign(TAlign value) {
  if (value == Align()) return;
  switch (value) {
  case alLeft:
    FDirection = sdLeft;
    break;
  case alTop:
    FDirection = sdUp;
    break;
  case alBottom:
    FDirection = sdDown;
    break;
  default:
    FDirection = sdRight;
    break;
  }
  TCustomActionControl::SetAlign(value);
  Invalidate();
}

void TCustomToolScrollBtn::Paint() {
  RECT r = ClientRect();
  DrawBackground(r);
  DrawFrame(ClientRect(), FrameDown());
  DrawArrows();
}

void TCustomToolScrollBtn::DrawArrows() {
  Canvas()->Pen()->SetColor(Font()->Color());
  const bool across = FDirection == sdLeft || FDirection == sdRight;
  // The chevron's strokes span 7 pixels along the direction, 9 across.
  const POINT at = across ? POINT{(Width() - 7) / 2, Height() / 2 - 4}
                          : POINT{Width() / 2 - 4, (Height() - 7) / 2};
  DrawChevron(Canvas(), FDirection, at, 3);
}

// ---- TCustomizeActionToolBar ---------------------------------------------------------------

void TCustomizeActionToolBar::Build(TCustomActionToolBar* bar) {
  if (FToolBar) FToolBar->RemoveFreeNotification(this);
  FToolBar = bar;
  if (bar) bar->FreeNotification(this);
  FEntryTargets.clear();
  TActionClients* items = OwnItems();
  items->Clear();
  FAddRemoveItem = nullptr;
  if (!bar) return;
  TActionClient* client = bar->ActionClient();
  TActionClientItem* addRemove = items->Add();
  addRemove->SetCaption("&Добавить или удалить кнопки");
  FAddRemoveItem = addRemove;
  // One entry per item of the bar, showing it as the bar does.
  if (client && client->HasItems()) {
    TActionClients* source = client->Items();
    for (int i = 0; i < source->Count(); ++i) {
      TActionClientItem* target = source->Items(i);
      if (target->Separator()) continue;
      TActionClientItem* entry = addRemove->Items()->Add();
      entry->SetAction(target->Action());
      entry->SetCaption(target->OwnCaption());
      entry->SetImageIndex(target->OwnImageIndex());
      FEntryTargets.push_back(i);
    }
  }
  auto* reset = new TAction(this);
  reset->SetCaption("&Сбросить панель");
  reset->OnExecute = [bar](TObject*) {
    // Back to the items the program defined; a bar without defaults can
    // only show again what was switched off.
    TCustomActionManager* m = bar->ActionManager();
    if (TActionBarItem* item = m ? m->FindActionBar(bar) : nullptr)
      if (m->ResetActionBar(item->Index())) return;
    TActionClient* c = bar->ActionClient();
    if (!c || !c->HasItems()) return;
    for (int i = 0; i < c->Items()->Count(); ++i)
      c->Items()->Items(i)->SetVisible(true);
    bar->RecreateControls();
  };
  items->Add()->SetAction(reset);
}

TActionClientItem* TCustomizeActionToolBar::EntryTarget(const TActionClientItem* entry) const {
  if (!entry || !FAddRemoveItem || !FToolBar || entry->ParentItem() != FAddRemoveItem)
    return nullptr;
  const auto at = size_t(entry->Index());
  TActionClient* client = FToolBar->ActionClient();
  if (at >= FEntryTargets.size() || !client || !client->HasItems()) return nullptr;
  const int index = FEntryTargets[at];
  if (index >= client->Items()->Count()) return nullptr;
  TActionClientItem* target = client->Items()->Items(index);
  return target->Action() == entry->Action() && !target->Separator() ? target : nullptr;
}

TActionClientItem* TCustomizeActionToolBar::TargetOf(const TActionClientItem* item) {
  auto* root = dynamic_cast<TCustomizeActionToolBar*>(RootMenu());
  return root ? root->EntryTarget(item) : nullptr;
}

bool TCustomizeActionToolBar::ItemChecked(const TActionClientItem* item) {
  if (TActionClientItem* target = TargetOf(item)) return target->Visible();
  return TCustomActionPopupMenu::ItemChecked(item);
}

bool TCustomizeActionToolBar::ItemEnabled(const TActionClientItem* item) {
  return TargetOf(item) || TCustomActionPopupMenu::ItemEnabled(item);
}

bool TCustomizeActionToolBar::ItemShown(TActionClientItem* item) const {
  // An entry shows even when its action is hidden or its item unused.
  if (const_cast<TCustomizeActionToolBar*>(this)->TargetOf(item)) return item->Visible();
  return TCustomActionPopupMenu::ItemShown(item);
}

bool TCustomizeActionToolBar::ControlClicked(TCustomActionControl* control) {
  TActionClientItem* target = control ? TargetOf(control->ActionClient()) : nullptr;
  auto* root = dynamic_cast<TCustomizeActionToolBar*>(RootMenu());
  if (!target || !root || !root->FToolBar) return TCustomActionPopupMenu::ControlClicked(control);
  TCustomActionToolBar* bar = root->FToolBar;
  CloseMenu();
  target->SetVisible(!target->Visible());
  bar->RecreateControls();
  return true;
}

TCustomActionPopupMenu* TCustomizeActionToolBar::CreatePopup() {
  // The add-or-remove sub-menu is a customize pop-up too, so that a style
  // tells its entries from other items by the root's AddRemoveItem.
  const TClassRef<TCustomActionPopupMenu> cls(ClassType());
  return cls.Create(RootMenu());
}

void TCustomizeActionToolBar::Notification(TComponent* component, TOperation operation) {
  TCustomActionPopupMenu::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FToolBar) FToolBar = nullptr;
}

} // namespace zel
