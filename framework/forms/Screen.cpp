// TScreen: the list of forms and what is active.

#include "framework/forms/Screen.h"

#include <algorithm>

#include "framework/forms/Form.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

TScreen* Screen = nullptr;

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() {
  if (Screen == this) Screen = nullptr;
}

int TScreen::Width() const {
  return GetSystemMetrics(SM_CXSCREEN);
}
int TScreen::Height() const {
  return GetSystemMetrics(SM_CYSCREEN);
}

RECT TScreen::WorkAreaRect() const {
  RECT r{0, 0, Width(), Height()};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= int(FForms.size())) return nullptr;
  return FForms[size_t(index)];
}

TCustomForm* TScreen::ActiveForm() const {
  const HWND active = GetActiveWindow();
  for (TCustomForm* f : FForms)
    if (f->HandleAllocated() && f->Handle() == active) return f;
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  return FindControl(GetFocus());
}

void TScreen::SetCursor(TCursor c) {
  FCursor = c;
  if (c != crDefault) sys::SetCursor(LoadCursor(nullptr, CursorToIdc(c)));
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(FForms, form);
}

} // namespace zel
