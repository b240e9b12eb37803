// Menu keys pressed anywhere in a form with a main menu bar: Alt alone and
// F10 enter the menu loop, Alt+letter opens a menu or, when no menu has
// that accelerator, reaches a label's accelerator.  A press outside the
// open menus closes them.

#include <gtest/gtest.h>

#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"
#include "platform/user/Paint.h"
#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

class MenuKeysTest : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override {
    StartBars({StandardStyle()});
    form = MakeForm(40, 40, 400, 300);
    manager = new TActionManager(form);
    manager->SetStyle(StandardStyle());
    TAction* open = MakeAction(form, manager, "&Открыть");
    open->OnExecute = [this](TObject*) { ++executed; };

    menuBar = MakeBar<TActionMainMenuBar>(form, manager);
    TActionClients* top = manager->ActionBars()->ActionBars(0)->Items();
    file = top->Add();
    file->SetCaption("&Файл");
    file->Items()->Add()->SetAction(open);
    edit = top->Add();
    edit->SetCaption("&Правка");
    edit->Items()->Add()->SetAction(open);
    menuBar->RecreateControls();

    first = Panel(20, 100);
    second = Panel(20, 180);
    label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(200, 100, 60, 16);
    label->SetCaption("&Color");
    label->SetFocusControl(second);
    form->Show();
    app->ProcessMessages();
    first->SetFocus();
    app->ProcessMessages();
  }
  void TearDown() override { StopBars(); }
  TPanel* Panel(int x, int y) {
    auto* p = new TPanel(form);
    p->SetParent(form);
    p->SetBounds(x, y, 80, 40);
    p->SetTabStop(true);
    return p;
  }
  void AltWith(const char* letter) {
    screen->KeyDown(sys::VK_MENU);
    screen->Type(letter);
    screen->KeyUp(sys::VK_MENU);
    app->ProcessMessages();
  }
  // Alt held over a key of the keyboard, as a person presses it.
  void AltWithKey(sys::UINT vk) {
    screen->KeyDown(sys::VK_MENU);
    screen->Key(vk);
    screen->KeyUp(sys::VK_MENU);
    app->ProcessMessages();
  }

  TForm* form = nullptr;
  TActionManager* manager = nullptr;
  TActionMainMenuBar* menuBar = nullptr;
  TActionClientItem* file = nullptr;
  TActionClientItem* edit = nullptr;
  TPanel* first = nullptr;
  TPanel* second = nullptr;
  TLabel* label = nullptr;
  int executed = 0;
};

TEST_F(MenuKeysTest, AltAloneAndF10EnterTheMenuLoopFromAnotherControl) {
  ASSERT_TRUE(first->Focused());
  screen->Key(sys::VK_MENU);
  app->ProcessMessages();
  EXPECT_TRUE(menuBar->InMenuLoop());
  EXPECT_TRUE(menuBar->ActionControls(0)->Selected());
  EXPECT_EQ(menuBar->Popup(), nullptr);
  // The arrows now walk the bar, which has the keyboard.
  screen->Key(sys::VK_DOWN);
  app->ProcessMessages();
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionClient(), file);
  screen->Key(sys::VK_ESCAPE);
  screen->Key(sys::VK_ESCAPE);
  app->ProcessMessages();
  EXPECT_FALSE(menuBar->InMenuLoop());

  first->SetFocus();
  app->ProcessMessages();
  screen->Key(sys::VK_F10);
  app->ProcessMessages();
  EXPECT_TRUE(menuBar->InMenuLoop());
  EXPECT_TRUE(menuBar->ActionControls(0)->Selected());
}

TEST_F(MenuKeysTest, AltLetterOpensTheMenuOrReachesALabelAccelerator) {
  AltWith("п");
  ASSERT_NE(menuBar->Popup(), nullptr);
  EXPECT_EQ(menuBar->Popup()->ActionClient(), edit);
  // Alt released after a letter does not start the loop over again.
  EXPECT_TRUE(menuBar->InMenuLoop());
  screen->Key(sys::VK_RETURN);
  app->ProcessMessages();
  EXPECT_EQ(executed, 1);
  EXPECT_FALSE(menuBar->InMenuLoop());

  // No menu has C: the label's accelerator focuses its control.
  first->SetFocus();
  app->ProcessMessages();
  AltWithKey('C');
  EXPECT_FALSE(menuBar->InMenuLoop());
  EXPECT_TRUE(second->Focused());

  // A letter nobody uses changes nothing, and Alt pressed with it does not
  // enter the menu loop on its release.
  AltWithKey('Q');
  EXPECT_FALSE(menuBar->InMenuLoop());
  EXPECT_TRUE(second->Focused());
}

// Captions without a marked letter answer to their first letter no other
// item of the bar has taken (marked letters first, then in bar order); a
// disabled item does not open.
TEST_F(MenuKeysTest, UnmarkedCaptionsAnswerToTheirFirstFreeLetter) {
  TActionClients* top = manager->ActionBars()->ActionBars(0)->Items();
  auto add = [&](const char* caption) {
    TActionClientItem* item = top->Add();
    item->SetCaption(caption);
    item->Items()->Add()->SetAction(file->Items()->Items(0)->Action());
    return item;
  };
  TActionClientItem* format = add("Формат"); // Ф is "&Файл"'s: О
  TActionClientItem* view = add("Вид");      // В
  TActionClientItem* window = add("Окно");   // О is taken: К
  TActionClientItem* help = add("Помощь");   // П is "&Правка"'s: О, К taken: М
  menuBar->RecreateControls();
  app->ProcessMessages();
  const struct {
    const char* letter;
    TActionClientItem* opens;
  } cases[] = {{"ф", file},   {"п", edit}, {"о", format}, {"в", view},
               {"к", window}, {"м", help}, {"щ", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letter);
    first->SetFocus();
    app->ProcessMessages();
    AltWith(c.letter);
    if (!c.opens) {
      EXPECT_FALSE(menuBar->InMenuLoop());
      continue;
    }
    ASSERT_NE(menuBar->Popup(), nullptr);
    EXPECT_EQ(menuBar->Popup()->ActionClient(), c.opens);
    // Its first item is chosen, ready for Enter.
    EXPECT_NE(menuBar->Popup()->SelectedControl(), nullptr);
    screen->Key(sys::VK_ESCAPE);
    screen->Key(sys::VK_ESCAPE);
    app->ProcessMessages();
    EXPECT_FALSE(menuBar->InMenuLoop());
  }
  // The letter that works is the one underlined: each caption as drawn
  // marks it, as a caption that marks it itself does.
  const std::vector<std::string> shown = {"&Файл", "&Правка", "Ф&ормат",
                                          "&Вид",  "О&кно",   "По&мощь"};
  ASSERT_EQ(menuBar->ActionControlCount(), int(shown.size()));
  for (int i = 0; i < menuBar->ActionControlCount(); ++i)
    EXPECT_EQ(menuBar->ActionControls(i)->DisplayCaption(), shown[size_t(i)]);
  // On the screen: the automatic mark looks exactly like the written one
  // on the same letter, and unlike one on another letter.
  TCustomActionControl* button = menuBar->ActionControls(4);
  auto pixels = [&](const char* caption) {
    window->SetCaption(caption);
    menuBar->Invalidate();
    app->ProcessMessages();
    sys::UpdateWindow(form->Handle());
    std::vector<sys::COLORREF> out;
    const sys::POINT o = button->ClientToScreen(sys::POINT{0, 0});
    for (int y = 0; y < button->Height(); ++y)
      for (int x = 0; x < button->Width(); ++x)
        out.push_back(screen->ScreenPixel(o.x + x, o.y + y));
    return out;
  };
  const auto automatic = pixels("Окно");
  EXPECT_EQ(automatic, pixels("О&кно"));
  EXPECT_NE(automatic, pixels("Ок&но"));
}

TEST_F(MenuKeysTest, AHiddenMenuBarLeavesTheKeysAlone) {
  menuBar->SetVisible(false);
  app->ProcessMessages();
  screen->Key(sys::VK_MENU);
  screen->Key(sys::VK_F10);
  AltWith("ф");
  EXPECT_FALSE(menuBar->InMenuLoop());
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_TRUE(first->Focused());
}

TEST_F(MenuKeysTest, APressOutsideTheOpenMenusClosesThem) {
  // The bare form background, which takes no focus.
  ClickAt(Center(menuBar->ActionControls(0)));
  ASSERT_NE(menuBar->Popup(), nullptr);
  ClickAt(form->ClientToScreen({300, 250}));
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_FALSE(menuBar->InMenuLoop());
  EXPECT_EQ(executed, 0);

  // Another window of the program; a right press counts as well.
  auto* other = app->CreateForm<TForm>();
  other->Show();
  other->SetBounds(500, 400, 120, 80);
  app->ProcessMessages();
  ClickAt(Center(first));
  AltWith("ф");
  ASSERT_NE(menuBar->Popup(), nullptr);
  clock.Advance(1000);
  const sys::POINT p = Center(other);
  screen->Click(p.x, p.y, sys::MouseButton::Right);
  app->ProcessMessages();
  EXPECT_EQ(menuBar->Popup(), nullptr);
  EXPECT_FALSE(menuBar->InMenuLoop());

  // The keyboard loop without a pop-up ends too.
  first->SetFocus();
  screen->Key(sys::VK_F10);
  app->ProcessMessages();
  ASSERT_TRUE(menuBar->InMenuLoop());
  ClickAt(form->ClientToScreen({300, 250}));
  EXPECT_FALSE(menuBar->InMenuLoop());

  // A press inside the open pop-up keeps it: its item runs and then closes.
  ClickAt(Center(menuBar->ActionControls(0)));
  ASSERT_NE(menuBar->Popup(), nullptr);
  ClickAt(Center(menuBar->Popup()->ActionControls(0)));
  EXPECT_EQ(executed, 1);
  EXPECT_FALSE(menuBar->InMenuLoop());
}

} // namespace
} // namespace zel
