// TApplication: start-up, the message loop with idle processing, hints,
// activation and exception handling.

#include "framework/forms/Application.h"

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/forms/Dialogs.h"
#include "platform/backend/Backend.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

TApplication* Application = nullptr;

TApplication::TApplication(TComponent* owner)
    : TComponent(owner), FScreen(std::make_unique<TScreen>(nullptr)) {
  if (!Application) Application = this;
  if (!Screen) Screen = FScreen.get();
  SetMouseControlHook(
      [this](TControl* previous, TControl* current) { MouseControlChanged(previous, current); });
  SetControlExceptionHook([this](TObject* sender) { HandleException(sender); });
  SetInputHook([this](UINT) {
    if (FHintShown) CancelHint();
  });
}

TApplication::~TApplication() {
  StopHintTimer();
  Destroying();
  // No event of the application runs while it goes away.
  OnHint = nullptr;
  OnIdle = nullptr;
  OnException = nullptr;
  OnActivate = nullptr;
  OnDeactivate = nullptr;
  if (Application == this) {
    SetMouseControlHook(nullptr);
    SetControlExceptionHook(nullptr);
    SetInputHook(nullptr);
  }
  // The forms go first, while the application and the screen still exist.
  DestroyComponents();
  FHintWindow = nullptr;
  FHintControl = nullptr;
  if (Application == this) Application = nullptr;
  if (Screen == FScreen.get()) Screen = nullptr;
}

void TApplication::Initialize() {
  if (GetBackend()) return;
  std::string why;
  auto backend = CreateBackendFromEnvironment(&why);
  if (!backend) {
    std::string msg = why.empty() ? std::string("no display available") : why;
    if (msg.find("display") == std::string::npos) msg = "no display available: " + msg;
    throw Exception(msg);
  }
  SetBackend(std::move(backend));
}

void TApplication::SetMainForm(TCustomForm* form) {
  FMainForm = form;
  if (form && form->Owner() != this) form->FreeNotification(this);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FMainForm) FMainForm = nullptr;
  if (component == FHintWindow) FHintWindow = nullptr;
  if (component == FHintControl) FHintControl = nullptr;
}

// ---- The loop --------------------------------------------------------------------

void TApplication::Run() {
  if (FMainForm && !FMainForm->Visible()) FMainForm->Show();
  while (!FTerminated && FMainForm)
    HandleMessage();
  CancelHint();
}

void TApplication::Terminate() {
  if (FTerminated) return;
  PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    FExitCode = int(msg.wParam);
    return true;
  }
  if (!IsHintMsg(msg)) {
    try {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    } catch (...) {
      HandleException(this);
    }
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (!FTerminated && ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (ProcessMessage(msg)) return;
  if (Idle() && !FTerminated) WaitMessage();
}

bool TApplication::Idle() {
  bool done = true;
  try {
    if (OnIdle) OnIdle(this, done);
    // Hooks may add or remove hooks while they run; work on a copy.
    const auto hooks = FIdleHooks;
    for (const auto& h : hooks)
      if (std::any_of(FIdleHooks.begin(), FIdleHooks.end(),
                      [&](const IdleHook& x) { return x.id == h.id; }))
        h.fn();
  } catch (...) {
    HandleException(this);
  }
  return done;
}

int TApplication::AddIdleHook(std::function<void()> hook) {
  const int id = FNextHookId++;
  FIdleHooks.push_back(IdleHook{id, std::move(hook)});
  return id;
}

void TApplication::RemoveIdleHook(int id) {
  std::erase_if(FIdleHooks, [id](const IdleHook& h) { return h.id == id; });
}

// ---- Activation -----------------------------------------------------------------

void TApplication::SetActive(bool active) {
  if (active == FActive) return;
  FActive = active;
  if (!active) CancelHint();
  if (active && OnActivate) OnActivate(this);
  if (!active && OnDeactivate) OnDeactivate(this);
}

// ---- Exceptions -----------------------------------------------------------------

void TApplication::HandleException(TObject* sender) {
  try {
    throw;
  } catch (const std::exception& e) {
    HandleException(sender, e);
  } catch (...) {
    HandleException(sender, Exception("An unknown error occurred"));
  }
}

void TApplication::HandleException(TObject* sender, const std::exception& e) {
  // An error while an error is being shown is not shown again.
  if (FHandlingException) return;
  FHandlingException = true;
  try {
    if (OnException)
      OnException(sender, e);
    else
      ShowException(e);
  } catch (...) {
  }
  FHandlingException = false;
}

void TApplication::ShowException(const std::exception& e) {
  std::string msg = e.what();
  if (!msg.empty() && msg.back() != '.') msg += '.';
  MessageDlg(msg, mtError, {mbOK});
}

// ---- Hints ---------------------------------------------------------------------------

void TApplication::SetHint(const std::string& v) {
  if (v == FHint) return;
  FHint = v;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool v) {
  FShowHint = v;
  if (!v) CancelHint();
}

THintWindow* TApplication::HintWindow() const {
  return FHintShown ? FHintWindow : nullptr;
}
bool TApplication::HintShowing() const {
  return FHintShown;
}

void TApplication::MouseControlChanged(TControl* previous, TControl* current) {
  SetHint(current ? GetLongHint(current->Hint()) : std::string());
  if (current == FHintControl) return;
  const bool wasShown = FHintShown;
  if (FHintShown) {
    FHintShown = false;
    if (FHintWindow) FHintWindow->ReleaseHandle();
  }
  StopHintTimer();
  if (FHintControl) FHintControl->RemoveFreeNotification(this);
  FHintControl = current;
  if (current) current->FreeNotification(this);
  if (current && FShowHint && current->ShowHint() && !GetShortHint(current->Hint()).empty())
    // Moving from one hinted control to the next shows the next hint quickly.
    StartHintTimer(wasShown ? 50 : FHintPause);
}

void TApplication::StartHintTimer(int ms) {
  StopHintTimer();
  FHintTimer = SetTimer(nullptr, 0, UINT(std::max(ms, 1)),
                        [this](HWND, UINT, UINT_PTR, DWORD) { HintTimerFired(); });
}

void TApplication::StopHintTimer() {
  if (FHintTimer) KillTimer(nullptr, FHintTimer);
  FHintTimer = 0;
}

// First firing: the pause has passed, the hint shows under the cursor.
// Second firing: it has been shown long enough and goes.
void TApplication::HintTimerFired() {
  StopHintTimer();
  if (FHintShown) {
    CancelHint();
    return;
  }
  if (!FHintControl || FHintControl != GetMouseControl()) return;
  const std::string text = GetShortHint(FHintControl->Hint());
  if (text.empty()) return;
  if (!FHintWindow) {
    FHintWindow = new THintWindow(this);
    FHintWindow->SetColor(FHintColor);
  }
  POINT p;
  GetCursorPos(&p);
  const RECT r = FHintWindow->CalcHintRect(text, POINT{p.x, p.y + 20});
  FHintWindow->ActivateHint(r, text);
  FHintShown = true;
  StartHintTimer(FHintHidePause);
}

void TApplication::CancelHint() {
  StopHintTimer();
  if (FHintShown && FHintWindow) FHintWindow->ReleaseHandle();
  FHintShown = false;
}

bool TApplication::IsHintMsg(const MSG& msg) {
  if (!FHintShown) return false;
  switch (msg.message) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_NCLBUTTONDOWN:
  case WM_NCRBUTTONDOWN:
  case WM_NCMBUTTONDOWN:
    CancelHint();
    break;
  default:
    break;
  }
  return false;
}

} // namespace zel
