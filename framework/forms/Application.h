#pragma once
// TApplication: the program's message loop with idle processing, the main
// form, activation of the program, hints and the handling of exceptions
// that escape message handlers.  One instance exists while the program runs;
// the global Application points to it (nullptr when there is none).

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/HintWindow.h"
#include "framework/core/Component.h"
#include "framework/forms/Form.h"
#include "framework/forms/Screen.h"

namespace zel {

using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;

class TApplication : public TComponent {
  ZEL_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* owner = nullptr);
  // Frees the forms it owns, the hint window and the screen object.
  ~TApplication() override;

  // Installs a backend when none is installed yet: ZEL_BACKEND=headless
  // forces the headless one, otherwise the sdl one when there is a display.
  // Raises Exception ("no display available ...") when there is none.
  void Initialize();
  // Creates a form owned by the application; the first one becomes the
  // main form.
  template <class T> T* CreateForm(T** reference = nullptr) {
    T* form = new T(this);
    if (reference) *reference = form;
    if (!FMainForm) SetMainForm(form);
    return form;
  }
  // Shows the main form (when it is visible) and handles messages until
  // Terminate or the main form is gone.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles every waiting message without waiting.
  void ProcessMessages();
  // Handles one message; when there is none, runs the idle processing and
  // waits for the next.
  void HandleMessage();
  // Runs the idle processing once (OnIdle, the idle hooks, the hint check).
  // Returns whether the program may wait for the next message.
  bool Idle();

  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form);
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  int ExitCode() const { return FExitCode; }

  // ---- Hints ------------------------------------------------------------------
  // The long hint of the control under the mouse; OnHint is raised on change.
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int ms) { FHintPause = ms; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int ms) { FHintHidePause = ms; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor c) { FHintColor = c; }
  void CancelHint();
  // The hint window while a hint is shown, else nullptr.
  THintWindow* HintWindow() const;
  bool HintShowing() const;

  // ---- Activation ----------------------------------------------------------------
  bool Active() const { return FActive; }

  // ---- Exceptions --------------------------------------------------------------
  // Called for an exception that escaped a message handler: OnException when
  // assigned, otherwise ShowException.  The program goes on.
  void HandleException(TObject* sender);
  void HandleException(TObject* sender, const std::exception& e);
  void ShowException(const std::exception& e);

  // ---- Idle hooks --------------------------------------------------------------
  // Functions called at every idle pass after OnIdle (the action updates
  // plug in here).  Returns an identifier for RemoveIdleHook.
  int AddIdleHook(std::function<void()> hook);
  void RemoveIdleHook(int id);

  TNotifyEvent OnHint;
  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TCustomForm;
  bool ProcessMessage(sys::MSG& msg);
  bool IsHintMsg(const sys::MSG& msg);
  void MouseControlChanged(TControl* previous, TControl* current);
  void HintTimerFired();
  void StartHintTimer(int ms);
  void StopHintTimer();
  void SetActive(bool active);
  void MainFormClosed();

  TCustomForm* FMainForm = nullptr;
  std::unique_ptr<TScreen> FScreen;
  std::string FTitle;
  std::string FHint;
  bool FShowHint = true;
  bool FTerminated = false;
  bool FActive = false;
  bool FHandlingException = false;
  int FExitCode = 0;
  int FHintPause = 500;
  int FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  bool FHintShown = false;
  sys::UINT_PTR FHintTimer = 0;
  struct IdleHook {
    int id;
    std::function<void()> fn;
  };
  std::vector<IdleHook> FIdleHooks;
  int FNextHookId = 1;
};

// The application object, or nullptr when none exists.
extern TApplication* Application;

} // namespace zel
