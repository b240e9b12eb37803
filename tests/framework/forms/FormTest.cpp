// Forms: show and hide with their events, close with each close action and
// CloseQuery, modal showing, keyboard focus through Tab, key preview.

#include <gtest/gtest.h>

#include "framework/core/Exceptions.h"
#include "framework/forms/Form.h"
#include "framework/forms/Frame.h"
#include "tests/framework/forms/FormsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class FormTest : public FormsTest {
protected:
  TForm* NewForm() {
    auto* f = new TForm(app.get());
    f->SetPosition(poDesigned);
    f->SetBounds(50, 50, 300, 200);
    return f;
  }
};

TEST_F(FormTest, ShowAndHideRaiseTheirEventsAndShowTheWindow) {
  TForm* f = NewForm();
  std::vector<std::string> events;
  f->OnShow = [&](TObject*) { events.push_back("show"); };
  f->OnHide = [&](TObject*) { events.push_back("hide"); };
  f->OnActivate = [&](TObject*) { events.push_back("activate"); };
  f->SetCaption("Окно");
  f->Show();
  Pump();
  EXPECT_TRUE(f->Visible());
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_TRUE(f->Active());
  EXPECT_EQ(GetWindowText(f->Handle()), "Окно");
  EXPECT_EQ(Screen->ActiveForm(), f);
  f->Hide();
  EXPECT_FALSE(IsWindowVisible(f->Handle()));
  EXPECT_EQ(events, (std::vector<std::string>{"show", "activate", "hide"}));
  // The caption bar shows the caption: the title pixels differ from a
  // window with none.
  EXPECT_EQ(Screen->FormCount(), 1);
}

TEST_F(FormTest, SizesAreTheWindowsAndClientSizeAccountsForTheFrame) {
  TForm* f = NewForm();
  f->SetClientSize(200, 100);
  const int w = f->Width(), h = f->Height();
  f->Show();
  RECT r, c;
  GetWindowRect(f->Handle(), &r);
  GetClientRect(f->Handle(), &c);
  EXPECT_EQ(r.Width(), w);
  EXPECT_EQ(r.Height(), h);
  EXPECT_EQ(c.Width(), 200);
  EXPECT_EQ(c.Height(), 100);
  // Dragging the frame (the window system moves the window) updates the bounds.
  MoveWindow(f->Handle(), 70, 80, 400, 300, TRUE);
  EXPECT_EQ(f->BoundsRect(), (RECT{70, 80, 470, 380}));
}

TEST_F(FormTest, CloseDoesWhatTheCloseActionSays) {
  TForm* f = NewForm();
  f->Show();
  TCloseAction next = caNone;
  f->OnClose = [&](TObject*, TCloseAction& a) {
    EXPECT_EQ(a, caHide); // a normal form's default
    a = next;
  };
  f->Close();
  EXPECT_TRUE(f->Visible());
  next = caMinimize;
  f->Close();
  EXPECT_EQ(f->WindowState(), wsMinimized);
  f->SetWindowState(wsNormal);
  next = caHide;
  f->Close();
  EXPECT_FALSE(f->Visible());
  f->Show();
  bool destroyed = false;
  f->OnDestroy = [&](TObject*) { destroyed = true; };
  next = caFree;
  f->Close();
  EXPECT_FALSE(destroyed); // freed only after the waiting messages
  Pump();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(FormTest, CloseQueryCanRefuseAndTheCloseButtonAsksToo) {
  TForm* f = NewForm();
  f->Show();
  bool allow = false;
  int asked = 0;
  f->OnCloseQuery = [&](TObject*, bool& can) {
    ++asked;
    can = allow;
  };
  f->Close();
  EXPECT_TRUE(f->Visible());
  InputCloseWindow(f->Handle()); // the desktop's close
  Pump();
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(f->Visible());
  allow = true;
  InputCloseWindow(f->Handle());
  Pump();
  EXPECT_FALSE(f->Visible());
}

TEST_F(FormTest, ClosingTheMainFormEndsTheApplication) {
  TForm* main = app->CreateForm<TForm>();
  main->Show();
  main->Close();
  app->ProcessMessages();
  EXPECT_TRUE(app->Terminated());
  EXPECT_TRUE(main->Visible()); // it stays until the application goes
}

// Dialogs and tool windows belong to the main form: a click on the main
// form leaves them in front of it.  Other forms are windows of their own.
TEST_F(FormTest, DialogsAndToolWindowsStayInFrontOfTheMainForm) {
  TForm* main = app->CreateForm<TForm>();
  main->SetBounds(0, 0, 500, 400);
  main->Show();
  struct Row {
    TFormBorderStyle style;
    bool owned;
  } rows[] = {{bsDialog, true}, {bsToolWindow, true}, {bsSizeToolWin, true}, {bsSizeable, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(int(row.style));
    TForm* f = NewForm();
    f->SetBorderStyle(row.style);
    f->SetBounds(100, 100, 200, 150);
    f->Show();
    EXPECT_EQ(GetWindow(f->Handle(), GW_OWNER), row.owned ? main->Handle() : nullptr);
    screen->Click(20, 300);
    Pump();
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_EQ(WindowFromPoint(POINT{150, 150}) == f->Handle(), row.owned)
        << "the form is in front of the main form";
    delete f;
  }
}

TEST_F(FormTest, ShowModalRunsUntilTheResultIsSetAndDisablesTheRest) {
  TForm* main = app->CreateForm<TForm>();
  main->Show();
  TForm* dialog = NewForm();
  bool mainDisabled = false;
  int hidden = 0;
  dialog->OnHide = [&](TObject*) { ++hidden; };
  SetTimer(nullptr, 0, 100, [&](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    mainDisabled = !IsWindowEnabled(main->Handle());
    dialog->SetModalResult(mrOk);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_EQ(hidden, 1);
  // The window active before takes the activation and the keys back.
  EXPECT_EQ(GetActiveWindow(), main->Handle());
  EXPECT_EQ(GetFocus(), main->Handle());
  // Closing a modal form answers Cancel.
  SetTimer(nullptr, 0, 100, [&](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    dialog->Close();
  });
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_THROW(
      {
        dialog->Show();
        dialog->ShowModal();
      },
      Exception);
}

TEST_F(FormTest, TabMovesTheFocusThroughTheFormAndShiftTabBack) {
  TForm* f = NewForm();
  std::vector<TWinControl*> edits;
  for (int i = 0; i < 3; ++i) {
    auto* e = new TWinControl(f);
    e->SetBounds(10, 10 + 30 * i, 100, 20);
    e->SetTabStop(true);
    e->SetParent(f);
    edits.push_back(e);
  }
  // A frame is a container whose controls join the tab order in its place.
  auto* frame = new TFrame(f);
  frame->SetBounds(150, 10, 100, 100);
  frame->SetTabStop(false);
  frame->SetParent(f);
  auto* inFrame = new TWinControl(f);
  inFrame->SetTabStop(true);
  inFrame->SetBounds(5, 5, 50, 20);
  inFrame->SetParent(frame);
  f->SetActiveControl(edits[0]);
  f->Show();
  Pump();
  EXPECT_TRUE(edits[0]->Focused());
  screen->Key(VK_TAB);
  EXPECT_TRUE(edits[1]->Focused());
  EXPECT_EQ(f->ActiveControl(), edits[1]);
  screen->Key(VK_TAB);
  screen->Key(VK_TAB);
  EXPECT_TRUE(inFrame->Focused());
  screen->Key(VK_TAB);
  EXPECT_TRUE(edits[0]->Focused()); // around again
  screen->KeyDown(VK_SHIFT);
  screen->Key(VK_TAB);
  screen->KeyUp(VK_SHIFT);
  EXPECT_TRUE(inFrame->Focused());
  // The focus comes back to the active control when the form is activated again.
  TForm* other = NewForm();
  other->Show();
  Pump();
  EXPECT_FALSE(inFrame->Focused());
  f->SetFocus();
  Pump();
  EXPECT_TRUE(inFrame->Focused());
  // Deleting the active control leaves no dangling reference.
  delete inFrame;
  EXPECT_EQ(f->ActiveControl(), nullptr);
  // Keys given to the form itself (as a control that held them for a while
  // gives them back) leave no control active: the next activation gives
  // them to the form, not to the control that had them before.
  edits[2]->SetFocus();
  ASSERT_EQ(f->ActiveControl(), edits[2]);
  sys::SetFocus(f->Handle());
  EXPECT_EQ(f->ActiveControl(), nullptr);
  other->SetFocus();
  Pump();
  f->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), f->Handle());
  EXPECT_FALSE(edits[2]->Focused());
}

TEST_F(FormTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  TForm* f = NewForm();
  auto* e = new TWinControl(f);
  e->SetBounds(10, 10, 50, 20);
  e->SetTabStop(true);
  e->SetParent(f);
  std::vector<std::string> seen;
  f->OnKeyDown = [&](TObject*, WORD& k, TShiftState) {
    seen.push_back("form");
    if (k == 'X') k = 0;
  };
  e->OnKeyDown = [&](TObject*, WORD&, TShiftState) { seen.push_back("control"); };
  f->SetActiveControl(e);
  f->Show();
  Pump();
  screen->Key('A');
  EXPECT_EQ(seen, (std::vector<std::string>{"control"}));
  seen.clear();
  f->SetKeyPreview(true);
  screen->Key('A');
  screen->Key('X'); // eaten by the form
  EXPECT_EQ(seen, (std::vector<std::string>{"form", "control", "form"}));
}

} // namespace
} // namespace zel::test
