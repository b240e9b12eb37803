#pragma once
// What the "Zel Style" tests share: the unit started with the framework's
// styles after it, a form with a gradient control bar carrying a gradient
// main menu bar and a gradient tool bar of one manager, plain colours that
// tell the painting's parts apart, and pixel probes of the screen.

#include <gtest/gtest.h>

#include "actionbars/ZelStyleActnCtrls.h"
#include "bitop/BitOp.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/CustomizeDlg.h"
#include "framework/stdctrls/ControlBar.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel::zeltest {

using namespace bartest;

// The control bar's gradient: blue on the left (or top), red on the right.
constexpr TColor kStart = TColor(0xFF0000);
constexpr TColor kEnd = TColor(0x0000FF);
// The bars' colour-map colours, chosen to be told apart on screen.
constexpr TColor kFrame = TColor(0x204080);
constexpr TColor kSelected = TColor(0x80E0F0);

class ZelBarsFixture : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override {
    BitOpInitialize();
    InitializeZelStyleActnCtrls();
    StartBars({XPStyle(), StandardStyle()});
    form = MakeForm(20, 20, 600, 300, "Окно");
    images = MakeImages(form, {clGreen, clYellow, clAqua, clLime}, GlyphShape::Square);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyleName("Zel Style");
    controlBar = new TControlBar(form);
    controlBar->SetName("ControlBar1");
    controlBar->SetAlign(alTop);
    controlBar->SetAutoSize(true);
    controlBar->SetDrawingStyle(dsGradient);
    controlBar->SetGradientStartColor(kStart);
    controlBar->SetGradientEndColor(kEnd);
    controlBar->SetGradientDirection(gdHorizontal);
    controlBar->SetRowSize(38);
    controlBar->SetParent(form);
    menuBar = new TGradientActionMainMenuBar(form);
    menuBar->SetName("MenuBar1");
    menuBar->SetParent(controlBar);
    menuBar->SetActionManager(manager);
    toolBar = new TGradientActionToolBar(form);
    toolBar->SetName("ToolBar1");
    toolBar->SetParent(controlBar);
    toolBar->SetActionManager(manager);
    for (TCustomActionBar* bar :
         {static_cast<TCustomActionBar*>(menuBar), static_cast<TCustomActionBar*>(toolBar)}) {
      bar->ColorMap()->SetBtnFrameColor(kFrame);
      bar->ColorMap()->SetSelectedColor(kSelected);
    }
  }
  void TearDown() override {
    StopBars();
    FinalizeZelStyleActnCtrls();
    BitOpFinalize();
  }

  // An action of the manager that runs nothing but stays enabled.
  TAction* Action(const std::string& caption, int image = -1) {
    TAction* a = MakeAction(form, manager, caption, image);
    a->OnExecute = [](TObject*) {};
    return a;
  }
  TActionClients* MenuItems() { return manager->FindActionBar(menuBar)->Items(); }
  TActionClients* ToolItems() { return manager->FindActionBar(toolBar)->Items(); }
  TActionClientItem* AddItem(TActionClients* items, TContainedAction* action, bool caption = true) {
    TActionClientItem* item = items->Add();
    item->SetAction(action);
    item->SetShowCaption(caption);
    return item;
  }
  // Shows the form with the bars' controls made and everything painted.
  void Show() {
    menuBar->RecreateControls();
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  // The colour on screen at a client point of control.
  TColor Pixel(TControl* control, int x, int y) {
    app->ProcessMessages();
    const sys::POINT p = control->ClientToScreen({x, y});
    return TColor(screen->ScreenPixel(p.x, p.y));
  }
  void Picture(const std::string& name) { screen->SaveScreenshot(PicturePath(name)); }

  TForm* form = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TControlBar* controlBar = nullptr;
  TGradientActionMainMenuBar* menuBar = nullptr;
  TGradientActionToolBar* toolBar = nullptr;
};

} // namespace zel::zeltest
