// TTimer over a window timer of a hidden message window.

#include "framework/stdctrls/Timer.h"

#include "platform/user/Timers.h"
#include "platform/user/Window.h"

namespace zel {

using namespace sys;

namespace {
constexpr const char* kTimerClass = "ZelTimerWindow";
constexpr UINT_PTR kTimerId = 1;
} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  UpdateTimer();
}

TTimer::~TTimer() {
  if (FWindow) {
    if (FRunning) KillTimer(FWindow, kTimerId);
    SetWindowLongPtr(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
  }
}

LRESULT TTimer::WndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_TIMER) {
    auto* self = reinterpret_cast<TTimer*>(GetWindowLongPtr(h, GWLP_USERDATA));
    if (self && self->FRunning) self->Timer();
    return 0;
  }
  return DefWindowProc(h, msg, w, l);
}

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  OnTimer = std::move(handler);
  UpdateTimer();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

// The timer is stopped and, when everything asks for it, started afresh, so
// a change of the interval counts from now.
void TTimer::UpdateTimer() {
  if (FRunning && FWindow) KillTimer(FWindow, kTimerId);
  FRunning = false;
  if (!FEnabled || FInterval == 0) return;
  if (!FWindow) {
    WNDCLASS existing;
    if (!GetClassInfo(kTimerClass, &existing)) {
      WNDCLASS wc;
      wc.lpfnWndProc = &TTimer::WndProc;
      wc.lpszClassName = kTimerClass;
      RegisterClass(wc);
    }
    FWindow = CreateWindowEx(0, kTimerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
    if (!FWindow) return;
    SetWindowLongPtr(FWindow, GWLP_USERDATA, LONG_PTR(this));
  }
  FRunning = SetTimer(FWindow, kTimerId, FInterval) != 0;
}

} // namespace zel
