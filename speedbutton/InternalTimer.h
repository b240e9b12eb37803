#pragma once
// TInternalTimer: a system timer without a window that calls one
// notification method when it fires, once or repeatedly.  It is started and
// stopped by single calls that carry the interval and the method, which suits
// owners that start and stop it often (a button's hover poll, an image list's
// deferred change).
//
//   state     call                                   next state
//   stopped   StartOnce / StartRepeating (ms > 0, m)  running
//   stopped   a start with ms <= 0 or no method       stopped
//   running   any start                               the old timer is killed,
//                                                      then as from stopped
//   running   Stop, destruction                       stopped
//   running   tick of a one-shot timer                stopped, then the method
//                                                      runs (it may start again)
//   running   tick of a repeating timer               running, the method runs

#include <cstdint>

#include "framework/core/Component.h"
#include "platform/user/UserTypes.h"

namespace zel {

class TInternalTimer : public TComponent {
  ZEL_CREATABLE_CLASS(TInternalTimer, TComponent)
public:
  explicit TInternalTimer(TComponent* owner) : TComponent(owner) {}
  // Stops the timer.  A failing kill cannot be raised from a destructor, so
  // here it is dropped; the timer is gone either way.
  ~TInternalTimer() override;

  // Stops a running timer, then starts one that fires once after interval
  // milliseconds.  With interval <= 0 or no method the timer stays stopped.
  void StartOnce(int32_t interval, TNotifyEvent callback);
  // The same for a timer that fires every interval milliseconds until Stop.
  void StartRepeating(int32_t interval, TNotifyEvent callback);
  // Kills the system timer when one runs; a failing kill raises EOSError
  // with the system's error, after the timer has been marked stopped.
  void Stop();
  // Stop on a pointer that may be nil.
  static void Stop(TInternalTimer* timer) {
    if (timer) timer->Stop();
  }

  bool Running() const { return FTimerID != 0; }
  // The identifier the system gave the running timer, 0 while stopped.
  uint32_t TimerID() const { return FTimerID; }
  bool OneShot() const { return FOneShot; }

private:
  void Start(int32_t interval, TNotifyEvent callback, bool oneShot);
  // What the system timer calls at each tick; the message itself carries
  // nothing this timer needs.
  void TimerProc();

  // The procedure handed to the system, bound to this object; made at each
  // start and dropped at stop.
  sys::TIMERPROC FTimerProc;
  uint32_t FTimerID = 0;
  TNotifyEvent FCallback;
  bool FOneShot = false;
};

} // namespace zel
