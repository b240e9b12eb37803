#pragma once
// TTimer: raises OnTimer every Interval milliseconds while it is enabled.  It runs on a window
// timer of a small hidden window of its own, so the ticks arrive through the message loop like
// every other event.

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"
#include "platform/Types.h"

namespace zel {

class TTimer : public TComponent {
  ZEL_CREATABLE_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  static void DeclareProperties(TPropertyTable<TTimer>& t);

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // Milliseconds; 0 stops the timer.  Changing it restarts the count.
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned value);
  // Sets the handler and starts the count afresh.
  void SetOnTimer(TNotifyEvent handler);
  TNotifyEvent OnTimer;

  // True while a platform timer is running for this object.
  bool Running() const { return FRunning; }

protected:
  virtual void Timer();

private:
  static sys::LRESULT WndProc(sys::HWND h, sys::UINT msg, sys::WPARAM w, sys::LPARAM l);
  void UpdateTimer();

  sys::HWND FWindow = nullptr;
  bool FEnabled = true;
  bool FRunning = false;
  unsigned FInterval = 1000;
};

} // namespace zel
