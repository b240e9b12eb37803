#pragma once
// What the user-level tests of the action bars share: the headless screen
// with the application on the virtual clock, the bar styles registered for
// the test, forms, glyphs, actions, bars, mouse and keyboard input in screen
// coordinates, and pictures of what is on screen.
//
// A fixture derives from its GoogleTest base and from BarTestSupport, calls
// StartBars in SetUp and StopBars in TearDown.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/ActnStyles.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/actnbars/XPStyleActnCtrls.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Messages.h"
#include "platform/user/WindowSystem.h"

namespace zel::bartest {

// How a test glyph is drawn on its fuchsia (transparent) ground.
enum class GlyphShape {
  Square, // a framed square inset by 2
  Disc,   // a framed disc inset by 2
  BigDisc // a framed disc inset by 1
};

// A 16 by 16 glyph of one colour added to list with fuchsia as its mask.
inline void AddGlyph(TCustomImageList* list, TColor color, GlyphShape shape) {
  TBitmap bmp;
  bmp.SetSize(16, 16);
  bmp.Canvas()->Brush()->SetColor(clFuchsia);
  bmp.Canvas()->FillRect(sys::RECT{0, 0, 16, 16});
  bmp.Canvas()->Brush()->SetColor(color);
  bmp.Canvas()->Pen()->SetColor(clBlack);
  switch (shape) {
  case GlyphShape::Square:
    bmp.Canvas()->Rectangle(2, 2, 14, 14);
    break;
  case GlyphShape::Disc:
    bmp.Canvas()->Ellipse(2, 2, 14, 14);
    break;
  case GlyphShape::BigDisc:
    bmp.Canvas()->Ellipse(1, 1, 15, 15);
    break;
  }
  list->AddMasked(&bmp, clFuchsia);
}

// A 16-pixel image list owned by owner with one glyph per colour.
inline TCustomImageList* MakeImages(TComponent* owner, std::initializer_list<TColor> colors,
                                    GlyphShape shape) {
  auto* images = new TCustomImageList(owner);
  images->SetSize(16, 16);
  for (TColor c : colors)
    AddGlyph(images, c, shape);
  return images;
}

// An action of list with a caption and an image, owned by owner.
inline TAction* MakeAction(TComponent* owner, TCustomActionList* list, const std::string& caption,
                           int image = -1) {
  auto* a = new TAction(owner);
  a->SetActionList(list);
  a->SetCaption(caption);
  a->SetImageIndex(image);
  return a;
}

// A bar of the manager on form, aligned to the form's top.
template <class Bar> Bar* MakeBar(TForm* form, TCustomActionManager* manager) {
  auto* bar = new Bar(form);
  bar->SetParent(form);
  bar->SetAlign(alTop);
  bar->SetActionManager(manager);
  return bar;
}

// Adds one glyph-only button for each action to a tool bar's items.
inline void AddButtons(TActionClients* items, std::initializer_list<TCustomAction*> actions) {
  for (TCustomAction* a : actions) {
    TActionClientItem* i = items->Add();
    i->SetAction(a);
    i->SetShowCaption(false);
  }
}

// The actions of a list of items, in order (nil for items without one).
inline std::vector<TContainedAction*> ActionsOf(TActionClients* items) {
  std::vector<TContainedAction*> out;
  for (int i = 0; i < items->Count(); ++i)
    out.push_back(items->Items(i)->Action());
  return out;
}

inline TActionBarStyle* StyleOf(bool xp) {
  return xp ? static_cast<TActionBarStyle*>(XPStyle()) : StandardStyle();
}

// The centre of a control on the screen.
inline sys::POINT Center(TControl* c) {
  return c->ClientToScreen({c->Width() / 2, c->Height() / 2});
}

// A path for a picture file named name in the build's pictures folder.
inline std::string PicturePath(const std::string& name) {
  const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::filesystem::create_directories(dir);
  return (dir / (name + ".png")).string();
}

class BarTestSupport {
protected:
  // The headless screen and a fresh application, with styles registered.
  void StartBars(std::initializer_list<TActionBarStyle*> styles) {
    screen = &sys::UseHeadlessBackend();
    app = std::make_unique<TApplication>();
    registered.assign(styles.begin(), styles.end());
    for (TActionBarStyle* s : registered)
      RegisterActnBarStyle(s);
  }
  // Everything the application owns goes, then the styles, then the windows.
  void StopBars() {
    app.reset();
    for (auto s = registered.rbegin(); s != registered.rend(); ++s)
      UnRegisterActnBarStyle(*s);
    registered.clear();
    sys::ResetWindowSystem();
  }

  TForm* MakeForm(int left, int top, int width, int height, const std::string& caption = {}) {
    TForm* form = app->CreateForm<TForm>();
    form->SetBounds(left, top, width, height);
    if (!caption.empty()) form->SetCaption(caption);
    return form;
  }

  // Far enough apart that two clicks never make a double click; timers
  // due meanwhile run, as they would while a person waits.
  void Pause() { sys::AdvanceTime(1000); }
  void ClickAt(sys::POINT p, sys::MouseButton button = sys::MouseButton::Left) {
    Pause();
    screen->Click(p.x, p.y, button);
    app->ProcessMessages();
  }
  void ClickOn(TControl* c) { ClickAt(Center(c)); }
  void Press(sys::POINT p) {
    Pause();
    screen->Press(p.x, p.y);
    app->ProcessMessages();
  }
  void MoveTo(sys::POINT p) {
    screen->MoveTo(p.x, p.y);
    app->ProcessMessages();
  }
  void Release(sys::POINT p) {
    screen->Release(p.x, p.y);
    app->ProcessMessages();
  }
  // The mouse moves onto the control and rests there past the menu show
  // delay, so a sub-menu under it opens.
  void HoverOn(TControl* c) {
    MoveTo(Center(c));
    Wait(500);
  }
  void Wait(int ms) {
    sys::AdvanceTime(sys::DWORD(ms));
    app->ProcessMessages();
  }
  // Presses at from, moves there in steps and releases at to.
  void DragFromTo(sys::POINT from, sys::POINT to) {
    Press(from);
    for (int step = 1; step <= 4; ++step)
      MoveTo(sys::POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    Release(to);
  }
  void Key(sys::UINT vk) {
    screen->Key(vk);
    app->ProcessMessages();
  }

  sys::ScopedVirtualClock clock{10000};
  sys::HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;

private:
  std::vector<TActionBarStyle*> registered;
};

} // namespace zel::bartest
