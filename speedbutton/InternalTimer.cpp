#include "speedbutton/InternalTimer.h"

#include "framework/core/Exceptions.h"
#include "platform/LastError.h"
#include "platform/user/Timers.h"

namespace zel {

TInternalTimer::~TInternalTimer() {
  try {
    Stop();
  } catch (const Exception&) {
    // The system no longer knows the timer; nothing is left to release.
  }
}

void TInternalTimer::StartOnce(int32_t interval, TNotifyEvent callback) {
  Start(interval, std::move(callback), true);
}

void TInternalTimer::StartRepeating(int32_t interval, TNotifyEvent callback) {
  Start(interval, std::move(callback), false);
}

void TInternalTimer::Start(int32_t interval, TNotifyEvent callback, bool oneShot) {
  // One object never holds two system timers: whatever runs goes first.
  Stop();
  if (interval <= 0 || !callback) {
    FOneShot = false;
    FCallback = nullptr;
    return;
  }
  FOneShot = oneShot;
  FCallback = std::move(callback);
  FTimerProc = [this](sys::HWND, sys::UINT, sys::UINT_PTR, sys::DWORD) { TimerProc(); };
  FTimerID = uint32_t(sys::SetTimer(nullptr, 0, sys::UINT(interval), FTimerProc));
  // A timer the system refused leaves this one stopped.
  if (FTimerID == 0) FTimerProc = nullptr;
}

void TInternalTimer::Stop() {
  if (FTimerID != 0) {
    const uint32_t id = FTimerID;
    // Marked stopped before a failure is raised, so that the next start or
    // the destructor does not trip over the same dead identifier again.
    FTimerID = 0;
    FTimerProc = nullptr;
    if (!sys::KillTimer(nullptr, id)) RaiseLastOSError();
  }
  FTimerProc = nullptr;
}

void TInternalTimer::TimerProc() {
  // Stopping first lets the method start the timer again.
  if (FOneShot) Stop();
  // A copy: the method may start the timer again with another method, which
  // replaces FCallback while this call still runs.
  if (TNotifyEvent callback = FCallback) callback(this);
}

} // namespace zel
