// The application: its loop on the virtual clock, idle processing,
// termination, exceptions shown and survived, hints, activation.

#include <gtest/gtest.h>

#include "framework/controls/GraphicControl.h"
#include "framework/core/Exceptions.h"
#include "framework/forms/Form.h"
#include "tests/framework/forms/FormsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class ApplicationTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    main = app->CreateForm<TForm>();
    main->SetPosition(poDesigned);
    main->SetBounds(100, 100, 400, 300);
  }
  // Ends the loop after ms of virtual time.
  void CloseAfter(UINT ms) {
    SetTimer(nullptr, 0, ms, [this](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      main->Close();
    });
  }
  TForm* main = nullptr;
};

TEST_F(ApplicationTest, RunShowsTheMainFormAndEndsWhenItCloses) {
  const uint64_t start = GetTickCount64();
  CloseAfter(750);
  app->Run();
  EXPECT_TRUE(app->Terminated());
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  EXPECT_EQ(GetTickCount64() - start, 750u); // the loop waited on the clock, not the wall
}

TEST_F(ApplicationTest, IdleProcessingRunsWhenTheQueueIsEmpty) {
  int idle = 0, hook = 0, removed = 0;
  app->OnIdle = [&](TObject*, bool& done) {
    ++idle;
    done = true;
  };
  app->AddIdleHook([&] { ++hook; });
  const int id = app->AddIdleHook([&] { ++removed; });
  app->RemoveIdleHook(id);
  // A timer every 100 ms gives the loop something to wait for between idle passes.
  int ticks = 0;
  SetTimer(nullptr, 0, 100, [&](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  CloseAfter(1000);
  app->Run();
  EXPECT_GE(ticks, 9);
  EXPECT_GE(idle, ticks); // at least once after each message burst
  EXPECT_EQ(hook, idle);
  EXPECT_EQ(removed, 0);
}

TEST_F(ApplicationTest, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
  auto* c = new TGraphicControl(main);
  c->SetBounds(10, 10, 50, 50);
  c->SetParent(main);
  int clicks = 0;
  c->OnClick = [&](TObject*) {
    ++clicks;
    throw Exception("Нельзя");
  };
  main->Show();
  Pump();
  const POINT p = At(c, 5, 5);
  screen->Click(p.x, p.y);
  ASSERT_EQ(shownMessages.size(), 1u) << clicks << shownMessages[0] << shownMessages.back();
  EXPECT_EQ(shownMessages[0], "Нельзя.");
  clock.Advance(1000);
  screen->Click(p.x, p.y);
  EXPECT_EQ(clicks, 2);
  // OnException takes over when assigned.
  std::string seen;
  app->OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
  clock.Advance(1000);
  screen->Click(p.x, p.y);
  EXPECT_EQ(seen, "Нельзя");
  EXPECT_EQ(shownMessages.size(), 2u); // the second click was shown, the third not
}

TEST_F(ApplicationTest, HintsShowAfterThePauseAndGoOnLeaveClickOrTime) {
  auto* c = new TGraphicControl(main);
  c->SetBounds(10, 10, 50, 50);
  c->SetHint("Выход|Завершить работу приложения");
  c->SetShowHint(true);
  c->SetParent(main);
  auto* plain = new TGraphicControl(main);
  plain->SetBounds(100, 10, 50, 50);
  plain->SetParent(main);
  std::vector<std::string> hints;
  app->OnHint = [&](TObject*) { hints.push_back(app->Hint()); };
  main->Show();
  Pump();
  POINT p = At(c, 5, 5);
  screen->MoveTo(p.x, p.y);
  EXPECT_EQ(app->Hint(), "Завершить работу приложения");
  AdvanceTime(app->HintPause() - 10);
  EXPECT_FALSE(app->HintShowing());
  AdvanceTime(20);
  ASSERT_TRUE(app->HintShowing());
  EXPECT_EQ(app->HintWindow()->Text(), "Выход");
  EXPECT_TRUE(IsWindowVisible(app->HintWindow()->Handle()));
  RECT hr;
  GetWindowRect(app->HintWindow()->Handle(), &hr);
  EXPECT_GT(hr.top, p.y); // below the cursor
  const std::string shot = OutPath("forms_hint.png");
  screen->SaveScreenshot(shot);
  // It goes by itself after the hide pause.
  AdvanceTime(app->HintHidePause() + 10);
  EXPECT_FALSE(app->HintShowing());
  // Leaving the control hides it and clears the long hint.
  p = At(plain, 5, 5);
  screen->MoveTo(p.x, p.y);
  EXPECT_EQ(app->Hint(), "");
  p = At(c, 6, 6);
  screen->MoveTo(p.x, p.y);
  AdvanceTime(app->HintPause() + 10);
  ASSERT_TRUE(app->HintShowing());
  screen->Click(p.x, p.y);
  EXPECT_FALSE(app->HintShowing());
  EXPECT_EQ(hints.front(), "Завершить работу приложения");
  // A control without ShowHint never shows one.
  p = At(plain, 6, 6);
  plain->SetHint("Ничего");
  screen->MoveTo(p.x, p.y);
  AdvanceTime(app->HintPause() * 2);
  EXPECT_FALSE(app->HintShowing());
}

TEST_F(ApplicationTest, ActivationOfTheProgramIsReported) {
  int activated = 0, deactivated = 0;
  app->OnActivate = [&](TObject*) { ++activated; };
  app->OnDeactivate = [&](TObject*) { ++deactivated; };
  main->Show();
  Pump();
  InputAppActive(false);
  Pump();
  EXPECT_FALSE(app->Active());
  InputAppActive(true);
  Pump();
  EXPECT_TRUE(app->Active());
  EXPECT_GE(activated, 1);
  EXPECT_EQ(deactivated, 1);
}

} // namespace
} // namespace zel::test
