// The action manager's model: items and their captions, usage and the
// unused test across sessions, the priority schedule, the configuration
// stream (round trip and damaged data), the style registry and the bars'
// colour maps.

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/forms/Form.h"

namespace zel {
namespace {

// A plain bar for the model: the on-screen bars derive from the same base.
class TTestBar : public TCustomActionBar {
  ZEL_CREATABLE_CLASS(TTestBar, TCustomActionBar)
public:
  explicit TTestBar(TComponent* owner) : TCustomActionBar(owner) {}
  void ActionClientChanged() override { ++Changes; }
  int Changes = 0;
};

// A style with fixed answers, registered under a given name.
class TTestStyle : public TActionBarStyleEx {
  ZEL_CLASS(TTestStyle, TActionBarStyleEx)
public:
  explicit TTestStyle(std::string name, TCustomColorMapClass map = TXPColorMap::StaticClass())
      : FName(std::move(name)), FMap(map) {}
  TCustomActionControlClass ControlClassFor(TCustomActionBar*, TActionClientItem*) override {
    return TCustomActionControl::StaticClass();
  }
  TCustomColorMapClass ColorMapClassFor(TCustomActionBar*) override { return FMap; }
  std::string StyleName() override { return FName; }
  TCustomActionBarClass GetPopupClass(TCustomActionBar*) override {
    return TCustomActionBar::StaticClass();
  }
  TCustomActionControlClass GetAddRemoveItemClass(TCustomActionBar*) override {
    return TCustomActionControl::StaticClass();
  }
  TCustomActionControlClass GetScrollBtnClass() override {
    return TCustomActionControl::StaticClass();
  }

private:
  std::string FName;
  TCustomColorMapClass FMap;
};

// A form that owns a manager with actions and two bars: a menu bar with
// "File" (New, separator, Exit) and "Help", and a tool bar with Exit.
class ManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    manager = new TActionManager(form.get());
    manager->SetName("ActionManager1");
    actFile = MakeAction("ActFile", "Files");
    actNew = MakeAction("actNew", "New");
    actExit = MakeAction("FileExit1", "Exit");
    actExit->SetShortCut(32856);
    actExit->SetImageIndex(0);
    actHelp = MakeAction("actHelp", "Help");
    menuBar = new TTestBar(form.get());
    menuBar->SetName("MenuBar1");
    toolBar = new TTestBar(form.get());
    toolBar->SetName("ToolBar1");
    menuBar->SetActionManager(manager);
    toolBar->SetActionManager(manager);

    TActionClients* menu = MenuItems();
    file = menu->Add();
    file->SetAction(actFile);
    newItem = file->Items()->Add();
    newItem->SetAction(actNew);
    newItem->SetImageIndex(12);
    file->Items()->AddSeparator();
    exitItem = file->Items()->Add();
    exitItem->SetAction(actExit);
    menu->Add()->SetAction(actHelp);
    TActionClientItem* tool = ToolItems()->Add();
    tool->SetAction(actExit);
    tool->SetShowCaption(false);
  }

  TAction* MakeAction(const std::string& name, const std::string& caption) {
    auto* a = new TAction(form.get());
    a->SetName(name);
    a->SetCaption(caption);
    a->SetActionList(manager);
    return a;
  }
  TActionClients* MenuItems() { return manager->FindActionBar(menuBar)->Items(); }
  TActionClients* ToolItems() { return manager->FindActionBar(toolBar)->Items(); }
  std::vector<uint8_t> Saved() {
    TMemoryStream s;
    manager->SaveToStream(s);
    return s.Bytes();
  }

  std::unique_ptr<TForm> form;
  TActionManager* manager = nullptr;
  TAction *actFile = nullptr, *actNew = nullptr, *actExit = nullptr, *actHelp = nullptr;
  TTestBar *menuBar = nullptr, *toolBar = nullptr;
  TActionClientItem *file = nullptr, *newItem = nullptr, *exitItem = nullptr;
};

TEST_F(ManagerTest, ItemsShowTheirOwnValuesOrTheirActions) {
  ASSERT_EQ(manager->ActionBars()->Count(), 2);
  EXPECT_EQ(manager->ActionBars()->ActionBars(0)->ActionBar(), menuBar);
  EXPECT_EQ(menuBar->ActionClient(), manager->ActionBars()->ActionBars(0));
  EXPECT_EQ(exitItem->Caption(), "Exit");
  EXPECT_EQ(exitItem->ShortCut(), 32856);
  EXPECT_EQ(exitItem->ImageIndex(), 0);
  EXPECT_EQ(newItem->ImageIndex(), 12);
  EXPECT_EQ(newItem->ParentItem(), file);
  EXPECT_EQ(file->ParentItem(), manager->ActionBars()->ActionBars(0));
  EXPECT_TRUE(file->Items()->Items(1)->Separator());
  EXPECT_FALSE(file->Separator());
  exitItem->SetCaption("Quit");
  EXPECT_EQ(exitItem->Caption(), "Quit");
  EXPECT_EQ(manager->FindItemByAction(actExit), exitItem);

  // Freeing an action leaves its items without one; freeing a bar leaves
  // its bar item without a bar.
  delete actNew;
  EXPECT_EQ(newItem->Action(), nullptr);
  EXPECT_EQ(newItem->Caption(), "");
  delete toolBar;
  EXPECT_EQ(manager->ActionBars()->ActionBars(1)->ActionBar(), nullptr);
}

TEST_F(ManagerTest, PopUpBarsAndItemsLetGoOfEachOther) {
  // A pop-up showing the children of "File": the item goes first.
  auto* popup = new TTestBar(form.get());
  file->SetChildActionBar(popup);
  popup->SetActionClient(file);
  EXPECT_EQ(popup->ActionManager(), manager);
  MenuItems()->Delete(0);
  EXPECT_EQ(popup->ActionClient(), nullptr);
  delete popup;

  // The bar goes first.
  TActionClientItem* help = MenuItems()->Items(0);
  auto* other = new TTestBar(form.get());
  help->SetChildActionBar(other);
  other->SetActionClient(help);
  delete other;
  EXPECT_EQ(help->ChildActionBar(), nullptr);

  // The manager goes first.
  auto* last = new TTestBar(form.get());
  help->SetChildActionBar(last);
  last->SetActionClient(help);
  delete manager;
  EXPECT_EQ(last->ActionClient(), nullptr);
  EXPECT_EQ(last->ActionManager(), nullptr);
  EXPECT_EQ(menuBar->ActionClient(), nullptr);
}

TEST_F(ManagerTest, AnItemIsUnusedWhenItsLastUseIsFurtherBackThanTheScheduleAllows) {
  // The default schedule: never used -> 3 sessions, used twice -> 6.
  EXPECT_EQ(manager->SessionsAllowed(0), 3);
  EXPECT_EQ(manager->SessionsAllowed(2), 6);
  EXPECT_EQ(manager->SessionsAllowed(5), 12);
  EXPECT_EQ(manager->SessionsAllowed(100), 31);

  TActionBars* bars = manager->ActionBars();
  bars->SetSessionCount(10);
  newItem->SetLastSession(10);
  exitItem->SetLastSession(10);
  int exits = 0;
  actExit->OnExecute = [&](TObject*) { ++exits; };
  EXPECT_TRUE(exitItem->Execute());
  EXPECT_TRUE(exitItem->Execute());
  EXPECT_EQ(exits, 2);
  EXPECT_EQ(exitItem->UsageCount(), 2);

  bars->SetSessionCount(13); // 3 sessions: still in use
  EXPECT_FALSE(newItem->Unused());
  bars->SetSessionCount(14); // 4 sessions: beyond 3 for an unused item
  EXPECT_TRUE(newItem->Unused());
  EXPECT_FALSE(exitItem->Unused()); // used twice: 6 sessions
  bars->SetSessionCount(17);
  EXPECT_TRUE(exitItem->Unused());
  EXPECT_FALSE(file->Items()->Items(1)->Unused()); // separators never are

  // A use in the current session brings the item back.
  exitItem->Execute();
  EXPECT_FALSE(exitItem->Unused());
  EXPECT_EQ(exitItem->LastSession(), 17);

  // A new item counts as used in the current session.
  EXPECT_EQ(file->Items()->Add()->LastSession(), 17);

  manager->ResetUsageData();
  EXPECT_EQ(exitItem->UsageCount(), 0);
  EXPECT_FALSE(newItem->Unused());

  bars->SetHideUnused(true);
  EXPECT_TRUE(newItem->HideUnused());
  EXPECT_TRUE(MenuItems()->HideUnused());

  // Counts read from a configuration may be anything: the distance back to
  // the last use and a further use stay within their range.
  bars->SetSessionCount(std::numeric_limits<int>::max());
  newItem->SetLastSession(std::numeric_limits<int>::min());
  EXPECT_TRUE(newItem->Unused());
  bars->SetSessionCount(0);
  newItem->SetLastSession(std::numeric_limits<int>::max());
  EXPECT_FALSE(newItem->Unused());
  exitItem->SetUsageCount(std::numeric_limits<int>::max());
  exitItem->Execute();
  EXPECT_EQ(exitItem->UsageCount(), std::numeric_limits<int>::max());
}

TEST_F(ManagerTest, AScheduleWithoutAnApplicableEntryNeverHidesItems) {
  manager->PrioritySchedule()->Clear();
  manager->PrioritySchedule()->Add("5=2");
  manager->PrioritySchedule()->Add("x=1");
  manager->ActionBars()->SetSessionCount(100);
  newItem->SetUsageCount(1);
  EXPECT_EQ(manager->SessionsAllowed(1), -1);
  EXPECT_FALSE(newItem->Unused());
  newItem->SetUsageCount(7);
  EXPECT_TRUE(newItem->Unused());
}

TEST_F(ManagerTest, TheConfigurationReadsBackToTheSameBytes) {
  manager->ActionBars()->SetSessionCount(7);
  exitItem->SetUsageCount(4);
  exitItem->SetLastSession(6);
  exitItem->SetShortCut(ShortCut('Q', TShiftState{ssCtrl}));
  newItem->SetVisible(false);
  file->Items()->SetHideUnused(true);
  file->ContextItems()->Add()->SetCaption("Context");
  manager->PrioritySchedule()->Clear();
  manager->PrioritySchedule()->Add("0=2");
  manager->PrioritySchedule()->Add("4=9");
  const std::vector<uint8_t> first = Saved();

  // Change everything, then load the saved configuration.
  MenuItems()->Clear();
  manager->ActionBars()->SetSessionCount(1);
  manager->PrioritySchedule()->Clear();
  const int changesBefore = menuBar->Changes;
  TMemoryStream in;
  in.WriteBuffer(first.data(), int64_t(first.size()));
  in.SetPosition(0);
  manager->LoadFromStream(in);
  EXPECT_EQ(in.Position(), in.Size());
  EXPECT_GT(menuBar->Changes, changesBefore);

  EXPECT_EQ(Saved(), first);
  EXPECT_EQ(manager->ActionBars()->SessionCount(), 7);
  EXPECT_EQ(manager->PrioritySchedule()->Text(), "0=2\n4=9\n");
  TActionClientItem* f = MenuItems()->Items(0);
  EXPECT_EQ(f->Action(), actFile);
  EXPECT_TRUE(f->Items()->HideUnused());
  EXPECT_EQ(f->ContextItems()->Items(0)->Caption(), "Context");
  TActionClientItem* e = f->Items()->Items(2);
  EXPECT_EQ(e->Action(), actExit);
  EXPECT_EQ(e->UsageCount(), 4);
  EXPECT_EQ(e->LastSession(), 6);
  EXPECT_EQ(e->ShortCut(), ShortCut('Q', TShiftState{ssCtrl}));
  EXPECT_FALSE(f->Items()->Items(0)->Visible());
  EXPECT_TRUE(f->Items()->Items(1)->Separator());
  EXPECT_EQ(manager->ActionBars()->ActionBars(0)->ActionBar(), menuBar);
  EXPECT_EQ(menuBar->ActionClient(), manager->ActionBars()->ActionBars(0));
  EXPECT_FALSE(ToolItems()->Items(0)->ShowCaption());
}

TEST_F(ManagerTest, AReferenceToAnActionThatIsGoneLoadsAsAnItemWithoutAction) {
  const std::vector<uint8_t> saved = Saved();
  delete actHelp;
  TMemoryStream in;
  in.WriteBuffer(saved.data(), int64_t(saved.size()));
  in.SetPosition(0);
  manager->LoadFromStream(in);
  EXPECT_EQ(MenuItems()->Count(), 2);
  EXPECT_EQ(MenuItems()->Items(1)->Action(), nullptr);
}

TEST_F(ManagerTest, ADamagedConfigurationLeavesThePreviousBarsAndTheStreamPosition) {
  std::vector<uint8_t> good = Saved();
  manager->ActionBars()->SetSessionCount(3);
  const std::vector<uint8_t> before = Saved();

  auto expectRejected = [&](std::vector<uint8_t> bytes, const char* what) {
    TMemoryStream in;
    in.WriteBuffer("pre", 3);
    if (!bytes.empty()) in.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    in.SetPosition(3);
    EXPECT_THROW(manager->LoadFromStream(in), EReadError) << what;
    EXPECT_EQ(in.Position(), 3) << what;
    EXPECT_EQ(Saved(), before) << what;
    EXPECT_EQ(menuBar->ActionClient(), manager->ActionBars()->ActionBars(0)) << what;
  };

  expectRejected({}, "empty");
  // Every cut of the stream is rejected.
  for (size_t n = 1; n < good.size(); n += 7)
    expectRejected(std::vector<uint8_t>(good.begin(), good.begin() + long(n)), "cut");
  auto bad = good;
  bad[0] = 'X';
  expectRejected(bad, "signature");
  bad = good;
  bad[4] = 2; // version 2
  expectRejected(bad, "version");
  bad = good;
  bad[10] = 0xFF; // a schedule count far beyond the data
  bad[11] = 0xFF;
  bad[12] = 0xFF;
  bad[13] = 0x7F;
  expectRejected(bad, "count");
  bad = good;
  bad.push_back(0);
  expectRejected(bad, "trailing byte");
}

TEST_F(ManagerTest, ItemTreesDeeperThanTheFormatAllowsAreRefusedOnSave) {
  TActionClientItem* item = newItem;
  for (int depth = 0; depth < 29; ++depth)
    item = item->Items()->Add();
  EXPECT_NO_THROW(Saved());
  const std::vector<uint8_t> deepest = Saved();
  for (int depth = 0; depth < 5; ++depth)
    item = item->Items()->Add();
  TMemoryStream out;
  EXPECT_THROW(manager->SaveToStream(out), EWriteError);
  // What could be saved still loads.
  TMemoryStream in;
  in.WriteBuffer(deepest.data(), int64_t(deepest.size()));
  in.SetPosition(0);
  manager->LoadFromStream(in);
  EXPECT_EQ(Saved(), deepest);
}

TEST_F(ManagerTest, ABarResetsToItsDefaultItemsWithFreshUsageAndTheHideOptionKept) {
  EXPECT_FALSE(manager->HasBarDefaults(0));
  EXPECT_FALSE(manager->ResetActionBar(0));
  EXPECT_EQ(MenuItems()->Count(), 2);
  manager->SaveDefaults();
  ASSERT_TRUE(manager->HasBarDefaults(0));
  EXPECT_FALSE(manager->HasBarDefaults(2));
  EXPECT_FALSE(manager->HasBarDefaults(-1));
  EXPECT_FALSE(manager->ResetActionBar(2));

  // A person's changes: a caption, a hidden item, a separator gone, an
  // item added, uses counted and unused items hidden.
  manager->ActionBars()->SetSessionCount(5);
  newItem->SetCaption("Создать");
  exitItem->SetVisible(false);
  exitItem->SetUsageCount(4);
  exitItem->SetLastSession(2);
  file->Items()->Delete(1);
  MenuItems()->Add()->SetCaption("Лишний");
  manager->ActionBars()->SetHideUnused(true);
  ToolItems()->Items(0)->SetUsageCount(3);

  ASSERT_TRUE(manager->ResetActionBar(0));
  ASSERT_EQ(MenuItems()->Count(), 2);
  TActionClientItem* f = MenuItems()->Items(0);
  EXPECT_EQ(f->Action(), actFile);
  ASSERT_EQ(f->Items()->Count(), 3);
  EXPECT_EQ(f->Items()->Items(0)->OwnCaption(), "");
  EXPECT_EQ(f->Items()->Items(0)->OwnImageIndex(), 12);
  EXPECT_TRUE(f->Items()->Items(1)->Separator());
  TActionClientItem* e = f->Items()->Items(2);
  EXPECT_TRUE(e->Visible());
  EXPECT_EQ(e->UsageCount(), 0);
  EXPECT_EQ(e->LastSession(), 5);
  EXPECT_FALSE(e->Unused());
  EXPECT_TRUE(MenuItems()->HideUnused());
  EXPECT_TRUE(f->Items()->HideUnused());
  // The other bar is as it was.
  EXPECT_EQ(ToolItems()->Count(), 1);
  EXPECT_EQ(ToolItems()->Items(0)->UsageCount(), 3);
}

TEST_F(ManagerTest, DefaultsAreTakenWhenLoadingEndsAndOutliveAConfigurationRead) {
  form->BeginLoading();
  form->EndLoading();
  ASSERT_TRUE(manager->HasBarDefaults(0));
  ASSERT_TRUE(manager->HasBarDefaults(1));
  MenuItems()->Delete(0);
  ToolItems()->Add()->SetAction(actHelp);
  TMemoryStream changed;
  manager->SaveToStream(changed);
  ASSERT_TRUE(manager->ResetActionBar(0));
  ASSERT_TRUE(manager->ResetActionBar(1));
  ASSERT_EQ(MenuItems()->Count(), 2);

  // The changed configuration comes back, the defaults stay.
  changed.SetPosition(0);
  manager->LoadFromStream(changed);
  EXPECT_EQ(MenuItems()->Count(), 1);
  EXPECT_EQ(ToolItems()->Count(), 2);
  ASSERT_TRUE(manager->ResetActionBar(1));
  EXPECT_EQ(ToolItems()->Count(), 1);
  EXPECT_EQ(ToolItems()->Items(0)->Action(), actExit);

  // Defaults go with their bar wherever its item stands.
  manager->ActionBars()->ActionBars(1)->SetIndex(0);
  ASSERT_EQ(manager->ActionBars()->ActionBars(0)->ActionBar(), toolBar);
  ToolItems()->Clear();
  ASSERT_TRUE(manager->ResetActionBar(0));
  EXPECT_EQ(ToolItems()->Count(), 1);
  ASSERT_TRUE(manager->ResetActionBar(1));
  EXPECT_EQ(MenuItems()->Count(), 2);
}

TEST_F(ManagerTest, ABarThatGoesTakesItsDefaultsAlong) {
  manager->SaveDefaults();
  delete toolBar;
  toolBar = nullptr;
  EXPECT_FALSE(manager->HasBarDefaults(1));
  // A new bar joining that item starts without defaults of its own.
  auto* fresh = new TTestBar(form.get());
  manager->ActionBars()->ActionBars(1)->SetActionBar(fresh);
  EXPECT_FALSE(manager->HasBarDefaults(1));
  manager->SaveBarDefaults(1);
  EXPECT_TRUE(manager->HasBarDefaults(1));
  EXPECT_TRUE(manager->HasBarDefaults(0));
}

TEST_F(ManagerTest, AnActionThatGoesLeavesItsDefaultItemWithoutOne) {
  manager->SaveDefaults();
  delete actHelp;
  actHelp = nullptr;
  ASSERT_TRUE(manager->ResetActionBar(0));
  ASSERT_EQ(MenuItems()->Count(), 2);
  EXPECT_EQ(MenuItems()->Items(1)->Action(), nullptr);
  EXPECT_EQ(MenuItems()->Items(0)->Items()->Items(2)->Action(), actExit);
}

TEST_F(ManagerTest, TheStyleListKeepsRegistrationOrderAndRefusesListedNames) {
  TTestStyle zel("Zel Style"), xp("XP Style"), standard("Standard"), again("zel style");
  RegisterActnBarStyle(&zel);
  RegisterActnBarStyle(&xp);
  RegisterActnBarStyle(&standard);
  RegisterActnBarStyle(&again);
  RegisterActnBarStyle(nullptr);
  ASSERT_NE(ActionBarStyles(), nullptr);
  EXPECT_EQ(ActionBarStyles()->Text(), "Zel Style\nXP Style\nStandard\n");
  EXPECT_EQ(ActionBarStyles()->Objects(0), &zel);
  EXPECT_EQ(FindActionBarStyle("xp style"), &xp);

  manager->SetStyleName("XP Style");
  EXPECT_EQ(manager->Style(), &xp);
  manager->SetStyleName("Unknown");
  EXPECT_EQ(manager->Style(), &xp);

  UnRegisterActnBarStyle(&xp);
  EXPECT_EQ(manager->Style(), nullptr);
  EXPECT_EQ(manager->StyleName(), "Unknown");
  EXPECT_EQ(ActionBarStyles()->Text(), "Zel Style\nStandard\n");
  UnRegisterActnBarStyle(&zel);
  UnRegisterActnBarStyle(&standard);
  EXPECT_EQ(ActionBarStyles(), nullptr);
  UnRegisterActnBarStyle(&again); // never listed: nothing happens
}

TEST_F(ManagerTest, BarsTakeTheirOwnMapOrTheDefaultMapOfTheirStyle) {
  TTestStyle twilight("Dark", TTwilightColorMap::StaticClass());
  // Without a style a bar draws with a standard map.
  EXPECT_TRUE(menuBar->ColorMap()->Is<TStandardColorMap>());
  manager->SetStyle(&twilight);
  EXPECT_TRUE(menuBar->ColorMap()->Is<TTwilightColorMap>());
  EXPECT_EQ(menuBar->Font()->Color(), clWhite);

  auto* xp = new TXPColorMap(form.get());
  menuBar->SetColorMap(xp);
  toolBar->SetColorMap(xp);
  EXPECT_EQ(menuBar->ColorMap(), xp);
  xp->SetFontColor(clRed);
  EXPECT_EQ(menuBar->Font()->Color(), clRed);
  EXPECT_EQ(toolBar->Font()->Color(), clRed);
  delete xp;
  EXPECT_TRUE(menuBar->ColorMap()->Is<TTwilightColorMap>());
  manager->SetStyle(nullptr);
}

std::vector<std::string> ColorNames(const TClassInfo& cls) {
  std::vector<std::string> names;
  for (const TPropInfo* p : cls.Properties())
    if (p->TypeName == "TColor") names.push_back(p->Name);
  return names;
}

TEST(ColorMapTest, EachClassPublishesItsColoursInItsOwnOrder) {
  const std::vector<std::string> standard = {"HighlightColor",
                                             "UnusedColor",
                                             "BtnFrameColor",
                                             "BtnSelectedColor",
                                             "BtnSelectedFont",
                                             "Color",
                                             "DisabledFontColor",
                                             "DisabledFontShadow",
                                             "FontColor",
                                             "HotColor",
                                             "HotFontColor",
                                             "MenuColor",
                                             "FrameTopLeftInner",
                                             "FrameTopLeftOuter",
                                             "FrameBottomRightInner",
                                             "FrameBottomRightOuter",
                                             "DisabledColor",
                                             "SelectedColor",
                                             "SelectedFontColor",
                                             "ShadowColor"};
  const std::vector<std::string> xp = {"ShadowColor",           "Color",
                                       "DisabledColor",         "DisabledFontColor",
                                       "DisabledFontShadow",    "FontColor",
                                       "HighlightColor",        "HotColor",
                                       "HotFontColor",          "MenuColor",
                                       "FrameTopLeftInner",     "FrameTopLeftOuter",
                                       "FrameBottomRightInner", "FrameBottomRightOuter",
                                       "BtnFrameColor",         "BtnSelectedColor",
                                       "BtnSelectedFont",       "SelectedColor",
                                       "SelectedFontColor",     "UnusedColor"};
  const std::vector<std::string> twilight = {"Color",
                                             "DisabledFontColor",
                                             "DisabledFontShadow",
                                             "FontColor",
                                             "HighlightColor",
                                             "HotColor",
                                             "HotFontColor",
                                             "FrameTopLeftInner",
                                             "FrameTopLeftOuter",
                                             "FrameBottomRightInner",
                                             "FrameBottomRightOuter",
                                             "BtnFrameColor",
                                             "BtnSelectedColor",
                                             "BtnSelectedFont",
                                             "MenuColor",
                                             "DisabledColor",
                                             "SelectedColor",
                                             "SelectedFontColor",
                                             "ShadowColor",
                                             "UnusedColor"};
  EXPECT_EQ(ColorNames(TStandardColorMap::StaticClass()), standard);
  EXPECT_EQ(ColorNames(TXPColorMap::StaticClass()), xp);
  EXPECT_EQ(ColorNames(TTwilightColorMap::StaticClass()), twilight);
  // Name and Tag are properties too, but not colours.
  bool hasName = false;
  for (const TPropInfo* p : TXPColorMap::StaticClass().Properties())
    hasName |= p->Name == "Name";
  EXPECT_TRUE(hasName);
}

TEST(ColorMapTest, ColoursAreReadAndWrittenByNameAndResetToTheClassDefaults) {
  TXPColorMap map(nullptr);
  EXPECT_EQ(map.BtnFrameColor(), 0xC66931);
  TTwilightColorMap dark(nullptr);
  TStandardColorMap standard(nullptr);
  EXPECT_NE(dark.Color(), map.Color());
  EXPECT_NE(standard.MenuColor(), map.MenuColor());

  int changes = 0;
  map.OnColorChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &map);
    ++changes;
  };
  for (const TPropInfo* p : TXPColorMap::StaticClass().Properties())
    if (p->Name == "SelectedColor") p->Set(map, int64_t(clNavy));
  EXPECT_EQ(map.SelectedColor(), clNavy);
  EXPECT_EQ(changes, 0); // only Color raises the event
  map.SetColor(clRed);
  EXPECT_EQ(changes, 1);

  map.UpdateColors();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(map.SelectedColor(), TXPColorMap(nullptr).SelectedColor());
  EXPECT_EQ(map.Color(), clBtnFace);

  map.Assign(&dark);
  EXPECT_EQ(map.Color(), dark.Color());
  EXPECT_EQ(map.UnusedColor(), dark.UnusedColor());
  EXPECT_EQ(changes, 3);
}

} // namespace
} // namespace zel
