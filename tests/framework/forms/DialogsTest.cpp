// The message box form itself: shown modally, answered by the keyboard or a
// click on its button.

#include <gtest/gtest.h>

#include "framework/forms/Dialogs.h"
#include "framework/forms/Form.h"
#include "tests/framework/forms/FormsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class DialogsTest : public FormsTest {
protected:
  void SetUp() override {
    FormsTest::SetUp();
    SetMessageDlgHook(nullptr); // the real form
  }
  // Runs fn inside the modal loop once ms have passed.
  void Later(UINT ms, std::function<void()> fn) {
    SetTimer(nullptr, 0, ms, [fn](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      fn();
    });
  }
};

TEST_F(DialogsTest, EnterAnswersTheFocusedButtonAndEscapeCancels) {
  Later(100, [this] {
    screen->SaveScreenshot(OutPath("forms_message_dialog.png"));
    screen->Key(VK_RETURN);
  });
  EXPECT_EQ(MessageDlg("Сохранить изменения?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrYes);
  Later(100, [this] { screen->Key(VK_ESCAPE); });
  EXPECT_EQ(MessageDlg("Сохранить изменения?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrCancel);
}

TEST_F(DialogsTest, AClickOnAButtonAnswersIt) {
  Later(100, [this] {
    // The second button of the row: find the dialog, the only form shown.
    HWND dlg = GetActiveWindow();
    RECT r;
    GetWindowRect(dlg, &r);
    TWinControl* form = FindControl(dlg);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->ControlCount(), 2);
    TControl* no = form->Controls(1);
    const POINT p = no->ClientToScreen(POINT{10, 10});
    screen->Click(p.x, p.y);
  });
  EXPECT_EQ(MessageDlg("Удалить?", mtWarning, {mbYes, mbNo}), mrNo);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

} // namespace
} // namespace zel::test
