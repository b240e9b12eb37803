#pragma once
// What the customize tests share on top of the action bar tests' support: a
// form with an action manager, its menu bar and tool bar, the customize
// action with the dialog installed, named actions that record their runs,
// and the dialog opened clear of the bars.
//
// A fixture derives from its GoogleTest base and from CustomizeTestSupport.
// Its SetUp calls StartBars, builds form, manager and the bars, then calls
// StartCustomize once the form shows; its TearDown calls StopCustomize.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/actnbars/CustomizeActionBars.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/stdctrls/PageControl.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel::bartest {

class CustomizeTestSupport : protected BarTestSupport {
protected:
  // Installs the dialog and makes the customize action for manager on form.
  // The dialog opens with its top-left corner at dialogAt, which each
  // fixture chooses so that the dialog covers none of its drop places.
  void StartCustomize(sys::POINT dialogAt) {
    dialogPlace = dialogAt;
    InstallCustomizeDialog();
    customize = new TCustomizeActionBars(form);
    customize->SetActionList(manager);
  }
  // The dialog hooks are process-wide: they are cleared so that the next
  // test starts without them.
  void StopCustomize() {
    TCustomizeActionBars::SetDialogRunner(nullptr);
    TCustomizeActionBars::SetDialogFactory(nullptr);
    TCustomizeActionBars::SetDialogManagerOf(nullptr);
    StopBars();
  }

  // A named action of manager whose runs are recorded in executed; a
  // configuration refers to actions by name.
  TAction* Action(const std::string& caption, const std::string& category, int image) {
    TAction* a = MakeAction(form, manager, caption, image);
    a->SetName("act" + std::to_string(++actionCount));
    a->SetCategory(category);
    a->OnExecute = [this, a](TObject*) { executed.push_back(a); };
    return a;
  }
  // A bar of manager at the top of form, named so that a configuration read
  // finds it again, with the caption the dialog's bar list shows.
  template <class Bar> Bar* MakeNamedBar(const std::string& name, const std::string& caption = {}) {
    Bar* bar = MakeBar<Bar>(form, manager);
    bar->SetName(name);
    if (!caption.empty()) bar->SetCaption(caption);
    return bar;
  }
  TActionClients* MenuItems() { return manager->ActionBars()->ActionBars(0)->Items(); }
  TActionClients* ToolItems() { return manager->ActionBars()->ActionBars(1)->Items(); }

  TCustomizeDlg* OpenDialog() {
    EXPECT_TRUE(customize->Execute());
    app->ProcessMessages();
    auto* dlg = dynamic_cast<TCustomizeDlg*>(customize->CustomizeDlg());
    if (dlg) dlg->Form()->SetBounds(dialogPlace.x, dialogPlace.y, 400, 380);
    app->ProcessMessages();
    return dlg;
  }
  // A click on the sheet's tab, which must bring the sheet to the front.
  void ShowTab(TCustomizeDlg* dlg, TTabSheet* sheet) {
    const sys::RECT r = dlg->Pages()->TabRect(sheet->PageIndex());
    ClickAt(dlg->Pages()->ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
    ASSERT_EQ(dlg->Pages()->ActivePage(), sheet);
  }
  // A point on a control, dx pixels from its left (negative: from its right).
  static sys::POINT On(TControl* c, int dx) {
    return c->ClientToScreen({dx >= 0 ? dx : c->Width() + dx, c->Height() / 2});
  }

  TForm* form = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  TActionToolBar* toolBar = nullptr;
  TCustomizeActionBars* customize = nullptr;
  std::vector<TBasicAction*> executed;

private:
  sys::POINT dialogPlace{};
  int actionCount = 0;
};

} // namespace zel::bartest
