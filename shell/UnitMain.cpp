// The main window's behaviour.

#include "shell/UnitMain.h"

#include <string>

#include "platform/user/User.h"

namespace zel {

using namespace sys;

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
  BuildMainForm(*this);
  DoCreate();
}

void TMainForm::actNewFormExecute(TObject*) {
  auto* child = new TForm(this);
  child->SetFormStyle(fsMDIChild);
  child->SetParent(this);
  child->SetVisible(true);
  child->SetCaption("Форма " + std::to_string(MDIChildCount()));
}

void TMainForm::WndProc(TMessage& m) {
  // TEMPORARY: Ctrl+N opens a child until the action bars give the short cut.
  if (m.Msg == CM_DIALOGKEY && m.WParam == 'N' && (GetKeyState(VK_CONTROL) & 0x8000) &&
      !(GetKeyState(VK_MENU) & 0x8000)) {
    actNewFormExecute(this);
    m.Result = 1;
    return;
  }
  TForm::WndProc(m);
}

} // namespace zel
