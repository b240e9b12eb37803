// Actions, action lists and links; short cuts typed into a form; idle
// updates; the standard window actions and the list actions.

#include <gtest/gtest.h>

#include <memory>

#include "framework/actions/ActnList.h"
#include "framework/actions/ListActns.h"
#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/stdctrls/Panel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"

namespace zel {
namespace {

// A clean window system, an application object and a main form.
class ActionsTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    form = app->CreateForm<TForm>();
    form->SetBounds(50, 50, 400, 300);
    list = new TActionList(form);
  }
  void TearDown() override { app.reset(); }

  TAction* MakeAction(const std::string& caption, int group = 0) {
    auto* a = new TAction(form);
    a->SetCaption(caption);
    a->SetGroupIndex(group);
    a->SetActionList(list);
    return a;
  }
  void AltKey(sys::UINT vk) {
    screen->KeyDown(sys::VK_MENU);
    screen->Key(vk);
    screen->KeyUp(sys::VK_MENU);
  }

  sys::ScopedVirtualClock clock{10000};
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TForm* form = nullptr;
  TActionList* list = nullptr;
};

TEST_F(ActionsTest, CheckingOneActionOfAGroupUnchecksTheOthersOfItsList) {
  TAction* a = MakeAction("A", 1);
  TAction* b = MakeAction("B", 1);
  TAction* c = MakeAction("C", 2);
  TAction* free = MakeAction("D", 0);
  // An action of the same group in another list is not touched.
  auto* other = new TActionList(form);
  auto* elsewhere = new TAction(form);
  elsewhere->SetGroupIndex(1);
  elsewhere->SetActionList(other);
  elsewhere->SetChecked(true);
  c->SetChecked(true);
  free->SetChecked(true);

  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(c->Checked());
  EXPECT_TRUE(free->Checked());
  EXPECT_TRUE(elsewhere->Checked());

  // Joining a group while checked unchecks the group's other member.
  c->SetGroupIndex(1);
  EXPECT_TRUE(c->Checked());
  EXPECT_FALSE(b->Checked());
}

TEST_F(ActionsTest, AutoCheckTogglesAFreeActionAndOnlyChecksAGroupedOne) {
  int runs = 0;
  TAction* toggle = MakeAction("T");
  toggle->SetAutoCheck(true);
  toggle->OnExecute = [&](TObject*) { ++runs; };
  EXPECT_TRUE(toggle->Execute());
  EXPECT_TRUE(toggle->Checked());
  toggle->Execute();
  EXPECT_FALSE(toggle->Checked());

  TAction* radio1 = MakeAction("R1", 3);
  TAction* radio2 = MakeAction("R2", 3);
  for (TAction* r : {radio1, radio2}) {
    r->SetAutoCheck(true);
    r->OnExecute = [&](TObject*) { ++runs; };
  }
  radio1->Execute();
  radio1->Execute();
  EXPECT_TRUE(radio1->Checked());
  radio2->Execute();
  EXPECT_FALSE(radio1->Checked());
  EXPECT_TRUE(radio2->Checked());
  EXPECT_EQ(runs, 5);
}

TEST_F(ActionsTest, ListHandlersComeFirstAndADisabledActionDoesNotRun) {
  int listRuns = 0, ownRuns = 0;
  TAction* a = MakeAction("A");
  a->OnExecute = [&](TObject*) { ++ownRuns; };
  list->OnExecute = [&](TBasicAction* action, bool& handled) {
    ++listRuns;
    handled = action->Name() == "Handled";
  };
  a->Execute();
  EXPECT_EQ(listRuns, 1);
  EXPECT_EQ(ownRuns, 1);
  a->SetName("Handled");
  a->Execute();
  EXPECT_EQ(ownRuns, 1);
  a->SetEnabled(false);
  a->OnUpdate = [](TObject*) {}; // keeps the state as it is
  EXPECT_FALSE(a->Execute());
  EXPECT_EQ(listRuns, 2);
}

TEST_F(ActionsTest, ShortCutsUseThePlatformEncodingAndReadBack) {
  EXPECT_EQ(ShortCut('X', TShiftState{ssAlt}), 32856);
  EXPECT_EQ(ShortCutToText(32856), "Alt+X");
  EXPECT_EQ(TextToShortCut("alt+x"), 32856);
  const TShortCut ctrlShiftF5 = ShortCut(sys::WORD(sys::VK_F5), TShiftState{ssCtrl, ssShift});
  EXPECT_EQ(ShortCutToText(ctrlShiftF5), "Ctrl+Shift+F5");
  EXPECT_EQ(TextToShortCut("Ctrl+Shift+F5"), ctrlShiftF5);
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), scNone);
  EXPECT_EQ(ShortCutToText(scNone), "");
  sys::WORD key = 0;
  TShiftState shift;
  ShortCutToKey(32856, key, shift);
  EXPECT_EQ(key, 'X');
  EXPECT_EQ(shift, TShiftState{ssAlt});
}

TEST_F(ActionsTest, AShortCutTypedInTheFormOrInAnMdiChildExecutesItsAction) {
  form->SetFormStyle(fsMDIForm);
  int runs = 0;
  TAction* exit = MakeAction("Exit");
  exit->SetShortCut(32856);
  exit->OnExecute = [&](TObject*) { ++runs; };
  form->Show();
  screen->Click(200, 200);
  AltKey('X');
  EXPECT_EQ(runs, 1);

  auto* child = new TForm(form);
  child->SetFormStyle(fsMDIChild);
  child->SetParent(form);
  child->Show();
  child->SetFocus();
  AltKey('X');
  EXPECT_EQ(runs, 2);

  // A disabled action's short cut does nothing; another key does nothing.
  exit->SetEnabled(false);
  exit->OnUpdate = [](TObject*) {};
  AltKey('X');
  AltKey('Y');
  EXPECT_EQ(runs, 2);
}

TEST_F(ActionsTest, IdleUpdatesDisableActionsWithoutHandlersButNotStandardOnes) {
  TAction* noHandler = MakeAction("Help");
  TAction* withHandler = MakeAction("File");
  withHandler->OnExecute = [](TObject*) {};
  TAction* kept = MakeAction("Kept");
  kept->SetDisableIfNoHandler(false);
  auto* exit = new TFileExit(form);
  exit->SetActionList(list);
  int updates = 0;
  TAction* updated = MakeAction("Updated");
  updated->OnUpdate = [&](TObject*) { ++updates; };

  // A hidden form's actions are left alone.
  app->Idle();
  EXPECT_TRUE(noHandler->Enabled());
  EXPECT_EQ(updates, 0);

  form->Show();
  app->Idle();
  EXPECT_FALSE(noHandler->Enabled());
  EXPECT_TRUE(withHandler->Enabled());
  EXPECT_TRUE(kept->Enabled());
  EXPECT_TRUE(exit->Enabled());
  EXPECT_TRUE(updated->Enabled()); // its own OnUpdate decides
  EXPECT_EQ(updates, 1);
}

TEST_F(ActionsTest, WindowActionsAreEnabledOnlyForAnMdiFormWithChildren) {
  auto* cascade = new TWindowCascade(form);
  auto* tileH = new TWindowTileHorizontal(form);
  auto* tileV = new TWindowTileVertical(form);
  auto* minimize = new TWindowMinimizeAll(form);
  TWindowAction* all[] = {cascade, tileH, tileV, minimize};
  for (TCustomAction* a : all)
    a->SetActionList(list);
  form->SetFormStyle(fsMDIForm);
  form->Show();

  app->Idle();
  for (TCustomAction* a : all)
    EXPECT_FALSE(a->Enabled()) << a->ClassName() << " (no child)";

  auto* child = new TForm(form);
  child->SetFormStyle(fsMDIChild);
  child->SetParent(form);
  child->Show();
  app->Idle();
  for (TCustomAction* a : all)
    EXPECT_TRUE(a->Enabled()) << a->ClassName();

  // A form given to the action wins over the active one: a plain form
  // has no MDI children to arrange.
  auto* plain = new TForm(app.get());
  cascade->SetForm(plain);
  app->Idle();
  EXPECT_FALSE(cascade->Enabled());
  delete plain;
  EXPECT_EQ(cascade->Form(), nullptr);
  app->Idle();
  EXPECT_TRUE(cascade->Enabled());

  EXPECT_TRUE(minimize->Execute());
  EXPECT_EQ(child->WindowState(), wsMinimized);

  delete child;
  app->Idle();
  for (TCustomAction* a : all)
    EXPECT_FALSE(a->Enabled()) << a->ClassName() << " (child gone)";
  EXPECT_FALSE(cascade->Execute());
}

TEST_F(ActionsTest, FileExitClosesTheMainForm) {
  auto* exit = new TFileExit(form);
  exit->SetActionList(list);
  form->Show();
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(exit->Execute());
  app->ProcessMessages();
  EXPECT_TRUE(app->Terminated());
}

TEST_F(ActionsTest, ControlLinksFollowTheActionWhileTheControlKeepsItsValue) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  TAction* a = MakeAction("Open");
  a->SetHint("Open|Opens a file");
  int clicks = 0;
  a->OnExecute = [&](TObject*) { ++clicks; };
  ApplyActionToControl(panel, a, false);
  EXPECT_EQ(panel->Caption(), "Open");
  EXPECT_EQ(GetShortHint(panel->Hint()), "Open");
  ASSERT_TRUE(panel->OnClick);

  TControlActionLink link(panel);
  link.SetAction(a);
  a->SetCaption("Open...");
  a->SetEnabled(false);
  EXPECT_EQ(panel->Caption(), "Open...");
  EXPECT_FALSE(panel->Enabled());

  // A caption set on the control itself is no longer linked.
  panel->SetCaption("Mine");
  a->SetCaption("Other");
  EXPECT_EQ(panel->Caption(), "Mine");
  EXPECT_FALSE(link.IsCaptionLinked());

  // With the check-defaults rule only default values are replaced.
  auto* fresh = new TPanel(form);
  fresh->SetCaption("Keep");
  ApplyActionToControl(fresh, a, true);
  EXPECT_EQ(fresh->Caption(), "Keep");
  EXPECT_FALSE(fresh->Enabled());

  // An action that goes away leaves the link empty, not dangling.
  delete a;
  EXPECT_EQ(link.Action(), nullptr);
}

TEST_F(ActionsTest, FreeingAListFreesItsActionsAndFreeingAnActionLeavesItsList) {
  TAction* a = MakeAction("A");
  TAction* b = MakeAction("B");
  EXPECT_EQ(list->ActionCount(), 2);
  delete a;
  EXPECT_EQ(list->ActionCount(), 1);
  EXPECT_EQ(list->Actions(0), b);
  EXPECT_EQ(list->FindAction(""), nullptr);
  b->SetName("actB");
  EXPECT_EQ(list->FindAction("ACTB"), b);
  const int before = form->ComponentCount();
  delete list;
  list = nullptr;
  EXPECT_EQ(form->ComponentCount(), before - 2);
}

TEST_F(ActionsTest, ListActionsKeepAValidSelectedIndex) {
  auto* s = new TStaticListAction(form);
  s->AddItem("One", 1);
  s->AddItem("Two", 2);
  int selected = -2;
  s->OnItemSelected = [&](TCustomListAction*, int i) { selected = i; };
  s->SelectItem(1);
  EXPECT_EQ(s->ItemIndex(), 1);
  EXPECT_EQ(selected, 1);
  s->SetItemIndex(5);
  EXPECT_EQ(s->ItemIndex(), -1);
  std::string caption;
  int image = 0;
  EXPECT_TRUE(s->GetItem(0, caption, image));
  EXPECT_EQ(caption, "One");
  EXPECT_FALSE(s->GetItem(2, caption, image));

  auto* v = new TVirtualListAction(form);
  v->OnGetItem = [](TObject*, int i, std::string& c, int& img) {
    c = "Item " + std::to_string(i);
    img = i;
  };
  v->SetCount(3);
  v->SetItemIndex(2);
  EXPECT_TRUE(v->GetItem(2, caption, image));
  EXPECT_EQ(caption, "Item 2");
  v->SetCount(2);
  EXPECT_EQ(v->ItemIndex(), -1);
  // A list action has no execute handler and still stays enabled.
  s->SetActionList(list);
  form->Show();
  app->Idle();
  EXPECT_TRUE(s->Enabled());
}

TEST_F(ActionsTest, TheCustomizeActionIsEnabledWithAManagerAndRunsTheInstalledDialog) {
  auto* manager = new TActionManager(form);
  auto* customize = new TCustomizeActionBars(form);
  customize->SetActionList(list);
  form->Show();
  app->Idle();
  EXPECT_FALSE(customize->Enabled());
  customize->SetActionManager(manager);
  app->Idle();
  EXPECT_TRUE(customize->Enabled());

  int shown = 0;
  TCustomizeActionBars::SetDialogRunner([&](TCustomizeActionBars& a) {
    ++shown;
    EXPECT_EQ(a.ActionManager(), manager);
  });
  EXPECT_TRUE(customize->Execute());
  EXPECT_EQ(shown, 1);
  TCustomizeActionBars::SetDialogRunner(nullptr);

  delete manager;
  EXPECT_EQ(customize->ActionManager(), nullptr);
}

} // namespace
} // namespace zel
