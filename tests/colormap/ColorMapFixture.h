#pragma once
// A desk for the colour-map editor's tests: the headless screen on the
// virtual clock, the styles registered as the program registers them, and a
// shown window with what the editor works on: a control bar with a gradient
// tool bar, an action manager with a glyph image list, and the editor on
// the right.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "actionbars/ZelStyleActnCtrls.h"
#include "bitop/BitOp.h"
#include "colormap/UnitFrameColorMap.h"
#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/actnbars/XPStyleActnCtrls.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowSystem.h"
#include "speedbutton/SpeedButtonZel.h"

namespace zel::test {

class ColorMapTest : public ::testing::Test {
protected:
  void SetUp() override {
    screen = &sys::UseHeadlessBackend();
    BitOpInitialize();
    InitializeZelStyleActnCtrls();
    RegisterActnBarStyle(XPStyle());
    RegisterActnBarStyle(StandardStyle());
    InitializeImageListZel();
    app = std::make_unique<TApplication>();
    form = app->CreateForm<TForm>();
    form->SetPosition(poDesigned);
    form->SetBounds(20, 20, 660, 700);
    form->SetColor(clBtnFace);
    form->Font()->SetName("Tahoma");
    form->Font()->SetHeight(-11);
    MakeBars();
    frame = new TFrameColorMap(form);
    frame->SetBounds(440, 90, 193, 560); // sized as a dock site sizes it
    frame->SetParent(form);
    form->Show();
    Settle();
  }
  void TearDown() override {
    app.reset();
    FinalizeImageListZel();
    UnRegisterActnBarStyle(StandardStyle());
    UnRegisterActnBarStyle(XPStyle());
    FinalizeZelStyleActnCtrls();
    BitOpFinalize();
    sys::ResetWindowSystem();
  }

  // The glyph list, the manager with one command in "Zel Style", and a
  // gradient tool bar on a gradient control bar.
  void MakeBars() {
    images = new TImageListZel(form);
    images->SetSize(24, 24);
    TResourceName* strip = images->ResourceNames()->Add();
    strip->SetName("STANDARTBTN");
    strip->SetGliphCount(36);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyleName("Zel Style");
    command = new TAction(form);
    command->SetActionList(manager);
    command->SetCaption("Выход");
    command->SetImageIndex(0);
    command->OnExecute = [](TObject*) {};
    controlBar = new TControlBar(form);
    controlBar->SetAlign(alTop);
    controlBar->SetAutoSize(true);
    controlBar->SetColor(clBtnFace);
    controlBar->SetDrawingStyle(dsGradient);
    controlBar->SetGradientStartColor(clWhite);
    controlBar->SetGradientEndColor(clSilver);
    controlBar->SetRowSize(38);
    controlBar->SetParent(form);
    toolBar = new TGradientActionToolBar(form);
    toolBar->SetParent(controlBar);
    toolBar->SetActionManager(manager);
    TActionClientItem* item = manager->FindActionBar(toolBar)->Items()->Add();
    item->SetAction(command);
    item->SetShowCaption(false);
  }

  // Lets the deferred notifications and idle updates run.
  void Settle(int ms = 100) {
    for (int t = 0; t < ms; t += 10) {
      clock.Advance(10);
      app->ProcessMessages();
    }
    app->Idle();
    app->ProcessMessages();
  }
  // A click at a point of a control, far enough from the last one not to
  // make a double click.
  void ClickAt(TControl* c, int x, int y) {
    clock.Advance(1000);
    const sys::POINT p = c->ClientToScreen(sys::POINT{x, y});
    screen->Click(p.x, p.y);
    app->ProcessMessages();
  }
  void ClickOn(TControl* c) { ClickAt(c, c->Width() / 2, c->Height() / 2); }
  // The colour of a pixel of a control's client area on the screen.
  TColor Pixel(TControl* c, int x, int y) {
    const sys::POINT p = c->ClientToScreen(sys::POINT{x, y});
    const sys::COLORREF rgb = screen->ScreenPixel(p.x, p.y);
    return TColor(rgb & 0xFFFFFF);
  }
  void Picture(const std::string& name) {
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(screen->SaveScreenshot((dir / (name + ".png")).string()));
  }
  // The editor working on the window's manager.
  void Connect() {
    frame->SetActionManager(manager);
    Settle();
  }

  sys::ScopedVirtualClock clock;
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TForm* form = nullptr;
  TImageListZel* images = nullptr;
  TActionManager* manager = nullptr;
  TAction* command = nullptr;
  TControlBar* controlBar = nullptr;
  TGradientActionToolBar* toolBar = nullptr;
  TFrameColorMap* frame = nullptr;
};

} // namespace zel::test
