#include "platform/backend/SdlBackend.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/backend/SdlKeys.h"
#include "platform/backend/X11Errors.h"
#include "platform/backend/X11Popups.h"
#include "platform/backend/X11TopLevels.h"
#include "platform/backend/X11WindowKinds.h"
#include "platform/clock/Clock.h"
#include "platform/user/Window.h"

namespace zel::sys {

namespace {

// What is kept for one top-level window shown through SDL.
struct SdlWindow {
  SDL_Window* window = nullptr;
  Uint32 id = 0;
  RECT rect{};        // the screen rectangle last given to SDL
  bool popup = false; // override-redirect: no focus of its own wanted
  bool shown = false;
  bool mappedDirectly = false;      // a pop-up shown past SDL, without the focus
  bool iconified = false;           // minimised through the window manager
  X11WindowHints hints;             // what the window manager was told of it
  SDL_Window* ownerNamed = nullptr; // the owner's window named as its owner
  RECT dirty{};                     // window coordinates still to be presented
};

bool IsPopupStyle(DWORD style) {
  return (style & WS_POPUP) != 0 && (style & WS_CAPTION) != WS_CAPTION;
}

// A driver that draws nowhere: SDL picks one of these by itself when there
// is no display.
bool IsOffscreenDriver(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

constexpr const char* kNoDisplay =
    "no display available: no X11 or Wayland display could be opened (is DISPLAY set?).";

bool EnvironmentNames(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// SDL's video, tried again a few times over about a second before giving
// up: a display that is named but refuses the connection for a moment (a
// session still starting, a server busy with its clients) should not cost
// the person their start.  A display that is truly not there costs only the
// wait.
bool InitVideo() {
  constexpr int kWaitsMs[] = {100, 300, 600};
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  for (int wait : kWaitsMs) {
    SDL_Delay(Uint32(wait));
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  }
  return false;
}

// A hang-up (the terminal the program was started from went away) ends the
// session as SIGTERM does, through SDL's handler, unless the program was
// started to ignore it (nohup) or to ignore SIGTERM, which SDL then leaves
// alone.
void ForwardHangUpAsTerminate() {
  struct sigaction old {}, term {};
  if (sigaction(SIGHUP, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) return;
  if (sigaction(SIGTERM, nullptr, &term) != 0 || term.sa_handler == SIG_IGN) return;
  struct sigaction hangUp {};
  hangUp.sa_handler = [](int) { raise(SIGTERM); };
  sigemptyset(&hangUp.sa_mask);
  sigaction(SIGHUP, &hangUp, nullptr);
}

// Without a Wayland display SDL is asked for X11 alone: its Wayland attempt
// would otherwise have the Wayland library write its own complaint (about
// XDG_RUNTIME_DIR, say) to stderr ahead of the program's one line.  A
// driver asked for by name is left to SDL.
void ChooseVideoDriver() {
  if (!EnvironmentNames("SDL_VIDEODRIVER") && !EnvironmentNames("WAYLAND_DISPLAY"))
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
}

SDL_SystemCursor SdlCursorFor(int idc) {
  switch (idc) {
  case IDC_IBEAM:
    return SDL_SYSTEM_CURSOR_IBEAM;
  case IDC_WAIT:
    return SDL_SYSTEM_CURSOR_WAIT;
  case IDC_CROSS:
    return SDL_SYSTEM_CURSOR_CROSSHAIR;
  case IDC_SIZENWSE:
    return SDL_SYSTEM_CURSOR_SIZENWSE;
  case IDC_SIZENESW:
    return SDL_SYSTEM_CURSOR_SIZENESW;
  case IDC_SIZEWE:
    return SDL_SYSTEM_CURSOR_SIZEWE;
  case IDC_SIZENS:
    return SDL_SYSTEM_CURSOR_SIZENS;
  case IDC_SIZEALL:
    return SDL_SYSTEM_CURSOR_SIZEALL;
  case IDC_NO:
    return SDL_SYSTEM_CURSOR_NO;
  case IDC_HAND:
    return SDL_SYSTEM_CURSOR_HAND;
  default:
    return SDL_SYSTEM_CURSOR_ARROW;
  }
}

class SdlBackend final : public Backend {
public:
  ~SdlBackend() override;
  bool Init(std::string* error);

  const char* Name() const override { return "sdl"; }
  SIZE ScreenSize() const override;
  RECT WorkArea() const override;

  void WindowShown(HWND hwnd) override;
  void WindowHidden(HWND hwnd) override;
  bool CanIconify() const override;
  void WindowMoved(HWND hwnd) override;
  void WindowDestroyed(HWND hwnd) override;
  void ZOrderChanged() override { stackDirty_ = true; }
  void SurfaceChanged(HWND hwnd, const RECT& dirty) override;
  void Present() override;
  void WindowActivated(HWND hwnd) override;
  void CaptureChanged(HWND hwnd) override;
  void WindowTextChanged(HWND hwnd) override;
  void CursorShapeChanged(int cursorId) override;
  void CursorMoved(POINT screen) override;
  bool WaitForInput(DWORD timeoutMs) override;

private:
  SdlWindow* Find(HWND hwnd);
  HWND FromSdlId(Uint32 id) const;
  SdlWindow& Ensure(HWND hwnd);
  void Show(SdlWindow& w);
  void Hide(SdlWindow& w);
  void LeaveScreen(HWND hwnd, SdlWindow& w);
  void Place(HWND hwnd, SdlWindow& w);
  void NameOwner(HWND hwnd, SdlWindow& w);
  void Destroy(HWND hwnd);
  void Sync();
  void Restack(const std::vector<HWND>& frontFirst);
  void Blit(HWND hwnd, SdlWindow& w);
  void MarkAllDirty(SdlWindow& w);
  void FocusActive();
  void RequestFocus(SdlWindow& w);

  bool Dispatch(const SDL_Event& e);
  void OnWindowEvent(const SDL_WindowEvent& e);
  void OnButton(const SDL_MouseButtonEvent& e);
  void OnX11Button(const XButtonEvent& e);
  void LoseButtons();
  void KeepGrab();
  SdlWindow* FindX11(unsigned long xwindow);
  void OnFocusGained(Uint32 id);
  void AfterEvents();
  void ExpectFocus(Uint32 id) { focusExpected_[id] = SDL_GetTicks64() + kFocusWaitMs; }
  bool FocusExpected(Uint32 id) const;
  bool AnyFocusExpected() const;
  static constexpr Uint64 kFocusWaitMs = 500;
  POINT ToScreen(Uint32 windowId, int x, int y) const;
  POINT PointerOnScreen(Uint32 windowId, int x, int y);
  bool OnX11Event(const SDL_SysWMmsg* msg);

  std::unordered_map<HWND, SdlWindow> windows_;
  std::vector<HWND> stack_; // front first, as last given to SDL
  bool stackDirty_ = true;
  HWND active_ = nullptr;
  // Focus changes this backend caused, by SDL window id, with the tick
  // after which the change is no longer waited for: a window that already
  // had the focus gets no new focus event, so expectations must run out.
  std::unordered_map<Uint32, Uint64> focusExpected_;
  Uint32 captureWhenFocused_ = 0; // a clicked window waiting for focus to capture
  bool captured_ = false;
  // On X11 the buttons come from the X events and a press grabs the pointer
  // until the last release (see OnX11Button): the buttons held as the
  // program knows them, and the display of the grab held, or nullptr.
  unsigned buttonsDown_ = 0;
  Display* grabDisplay_ = nullptr;
  Window grabWindow_ = 0;
  bool buttonDelivered_ = false;
  bool appActive_ = false;
  bool focusLost_ = false; // a focus loss not yet explained
  std::map<SDL_SystemCursor, SDL_Cursor*> cursors_;
  bool initialized_ = false;
  bool x11_ = false;
  X11TopLevels x11Windows_;
  // Where the X server said the pointer was on the screen for the mouse
  // event SDL is about to report (SDL keeps only the window's coordinates,
  // which are stale while a move of the window is on its way), and whether
  // the X event was a motion already delivered from it.
  bool rootPointValid_ = false;
  bool motionDelivered_ = false;
  POINT rootPoint_{};
  // A descriptor to which "frame" is written once, when the first picture
  // has reached a shown window (ZEL_FIRST_FRAME_FD), for timing the start
  // from outside; -1 when nobody asked or after it was written.
  int firstFrameFd_ = -1;
};

// ---- Start and end --------------------------------------------------------------

int FirstFrameDescriptor();

bool SdlBackend::Init(std::string* error) {
  firstFrameFd_ = FirstFrameDescriptor();
  // The window surface without OpenGL behind it: nine times faster under a
  // virtual X server, and without spurious hide and show events.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // SDL would capture to the window with the keyboard focus rather than the
  // one clicked; capture is done by hand (see OnButton).
  SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
  // SDL turns SIGINT and SIGTERM into SDL_QUIT, which ends the session
  // (InputEndSession): the program closes and keeps its layout.  Closing
  // the last window is the window's own close, not a second request.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  auto fail = [&](std::string text) {
    if (error) *error = std::move(text);
    return false;
  };
  // SDL keeps the error handler it finds and hands it the errors it does
  // not expect: that must be the program's own, never Xlib's default.
  KeepX11ErrorHandler();
  const bool requested = EnvironmentNames("SDL_VIDEODRIVER");
  if (!requested && !EnvironmentNames("DISPLAY") && !EnvironmentNames("WAYLAND_DISPLAY"))
    return fail(kNoDisplay);
  ChooseVideoDriver();
  if (!InitVideo()) return fail(std::string("no display available: ") + SDL_GetError() + ".");
  initialized_ = true;
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (IsOffscreenDriver(driver) && !(asked && std::strstr(asked, driver))) return fail(kNoDisplay);
  x11_ = driver && std::strcmp(driver, "x11") == 0;
  if (x11_) {
    KeepX11ErrorHandler();
    // Every X event comes along too, for the pointer's screen position.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  }
  ForwardHangUpAsTerminate();
  SDL_StartTextInput();
  return true;
}

// The descriptor named by ZEL_FIRST_FRAME_FD, taken only when it is an open
// pipe the program was started with: read before SDL opens anything, so that
// a stale variable can never point at the display connection or a file.
int FirstFrameDescriptor() {
  const char* text = std::getenv("ZEL_FIRST_FRAME_FD");
  if (!text) return -1;
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  struct stat info {};
  if (end == text || *end != '\0' || n <= 2 || n >= INT_MAX || fstat(int(n), &info) != 0 ||
      !S_ISFIFO(info.st_mode))
    return -1;
  // Programs started from here must not inherit it.
  fcntl(int(n), F_SETFD, FD_CLOEXEC);
  return int(n);
}

SdlBackend::~SdlBackend() {
  if (!initialized_) return;
  if (captured_) SDL_CaptureMouse(SDL_FALSE);
  if (grabDisplay_) UngrabX11Pointer(grabDisplay_, CurrentTime);
  for (auto& [hwnd, w] : windows_)
    if (w.window) x11Windows_.DestroyWindow(w.window);
  windows_.clear();
  x11Windows_.Close();
  for (auto& [shape, cursor] : cursors_)
    SDL_FreeCursor(cursor);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

SIZE SdlBackend::ScreenSize() const {
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(0, &bounds) != 0) return SIZE{1280, 800};
  return SIZE{bounds.w, bounds.h};
}

// ---- Windows -------------------------------------------------------------------------

// The usable part of the screen: what a window manager leaves free of its
// panels (SDL reads _NET_WORKAREA), the whole screen without one.
RECT SdlBackend::WorkArea() const {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0)
    return Backend::WorkArea();
  return RECT{usable.x, usable.y, usable.x + usable.w, usable.y + usable.h};
}

SdlWindow* SdlBackend::Find(HWND hwnd) {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second;
}

HWND SdlBackend::FromSdlId(Uint32 id) const {
  for (const auto& [hwnd, w] : windows_)
    if (w.id == id) return hwnd;
  return nullptr;
}

SdlWindow& SdlBackend::Ensure(HWND hwnd) {
  if (SdlWindow* w = Find(hwnd)) return *w;
  SdlWindow w;
  GetWindowRect(hwnd, &w.rect);
  const DWORD style = DWORD(GetWindowLongPtr(hwnd, GWL_STYLE));
  const DWORD exStyle = DWORD(GetWindowLongPtr(hwnd, GWL_EXSTYLE));
  w.popup = IsPopupStyle(style);
  const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
  w.hints = HintsForTopLevel(style, exStyle, GetWindow(hwnd, GW_OWNER) != nullptr);
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
  if (w.popup)
    flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
  else if (tool)
    flags |= SDL_WINDOW_UTILITY;
  w.window = SDL_CreateWindow(GetWindowText(hwnd).c_str(), w.rect.left, w.rect.top,
                              std::max(1, w.rect.Width()), std::max(1, w.rect.Height()), flags);
  if (w.window) {
    w.id = SDL_GetWindowID(w.window);
    x11Windows_.Describe(w.window, w.hints);
    x11Windows_.SetTitle(w.window, GetWindowText(hwnd));
  }
  w.dirty = RECT{0, 0, w.rect.Width(), w.rect.Height()};
  stackDirty_ = true;
  return windows_.emplace(hwnd, w).first->second;
}

void SdlBackend::MarkAllDirty(SdlWindow& w) {
  w.dirty = RECT{0, 0, w.rect.Width(), w.rect.Height()};
}

void SdlBackend::Show(SdlWindow& w) {
  if (w.iconified) { // restored by the program: the window manager maps it again
    w.iconified = false;
    SDL_RestoreWindow(w.window);
    MarkAllDirty(w);
  }
  if (w.shown || !w.window) return;
  w.shown = true;
  MarkAllDirty(w);
  stackDirty_ = true;
  // A pop-up appears without taking the keyboard (see X11Popups.h).
  if (w.popup && MapX11WindowWithoutFocus(w.window)) {
    w.mappedDirectly = true;
    return;
  }
  SDL_ShowWindow(w.window);
  // A window that appears takes the keyboard focus on an X server without
  // a window manager; the active window gets it back below.
  ExpectFocus(w.id);
  FocusActive();
}

void SdlBackend::Hide(SdlWindow& w) {
  if (!w.shown) return;
  // A pop-up may have the keys after all: a press in it gives it the focus
  // to capture the mouse.
  const bool hadKeys = SDL_GetKeyboardFocus() == w.window || FocusExpected(w.id);
  if (!w.mappedDirectly || !UnmapX11Window(w.window)) SDL_HideWindow(w.window);
  w.shown = false;
  w.mappedDirectly = false;
  if (captureWhenFocused_ == w.id) captureWhenFocused_ = 0;
  // Hiding the focused window would leave no window with the keys.
  if (!w.popup || hadKeys) FocusActive();
}

void SdlBackend::Place(HWND hwnd, SdlWindow& w) {
  RECT r{};
  if (!GetWindowRect(hwnd, &r) || r == w.rect || !w.window) return;
  if (r.left != w.rect.left || r.top != w.rect.top) SDL_SetWindowPosition(w.window, r.left, r.top);
  if (r.Width() != w.rect.Width() || r.Height() != w.rect.Height())
    SDL_SetWindowSize(w.window, std::max(1, r.Width()), std::max(1, r.Height()));
  w.rect = r;
  MarkAllDirty(w);
}

void SdlBackend::Destroy(HWND hwnd) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  const SdlWindow& w = it->second;
  if (captureWhenFocused_ == w.id) captureWhenFocused_ = 0;
  // A clicked pop-up took the keyboard focus; destroying it would leave the
  // keys with no window, so the active window takes them back.  A pop-up
  // that never had them leaves the focus alone.
  const bool hadKeys = w.shown && (!w.popup || (w.window && SDL_GetKeyboardFocus() == w.window) ||
                                   FocusExpected(w.id));
  focusExpected_.erase(w.id);
  if (w.window) x11Windows_.DestroyWindow(w.window);
  windows_.erase(it);
  if (active_ == hwnd) active_ = nullptr;
  std::erase(stack_, hwnd);
  if (hadKeys) FocusActive();
}

void SdlBackend::WindowShown(HWND hwnd) {
  Show(Ensure(hwnd));
}

void SdlBackend::WindowHidden(HWND hwnd) {
  if (SdlWindow* w = Find(hwnd)) LeaveScreen(hwnd, *w);
}

// A minimised window is iconified through the window manager, not withdrawn:
// its task bar keeps showing it and brings it back (see CanIconify).
void SdlBackend::LeaveScreen(HWND hwnd, SdlWindow& w) {
  if (IsIconic(hwnd) && w.shown && !w.popup && w.window) {
    if (!w.iconified) SDL_MinimizeWindow(w.window);
    w.iconified = true;
    return;
  }
  Hide(w);
}

// Under X11 only a window manager shows a minimised window (in its task bar
// or as an icon); without one it would be gone for good.
bool SdlBackend::CanIconify() const {
  if (!x11_) return true;
  for (const auto& [hwnd, w] : windows_)
    if (w.window) return X11WindowManagerRunning(w.window);
  return false;
}

void SdlBackend::WindowMoved(HWND hwnd) {
  if (SdlWindow* w = Find(hwnd)) Place(hwnd, *w);
}

void SdlBackend::WindowDestroyed(HWND hwnd) {
  Destroy(hwnd);
}

void SdlBackend::SurfaceChanged(HWND hwnd, const RECT& dirty) {
  if (SdlWindow* w = Find(hwnd)) UnionRect(w->dirty, w->dirty, dirty);
}

void SdlBackend::WindowTextChanged(HWND hwnd) {
  SdlWindow* w = Find(hwnd);
  if (!w || !w->window) return;
  const std::string text = GetWindowText(hwnd);
  SDL_SetWindowTitle(w->window, text.c_str());
  x11Windows_.SetTitle(w->window, text);
}

void SdlBackend::WindowActivated(HWND hwnd) {
  active_ = hwnd;
  FocusActive();
}

void SdlBackend::RequestFocus(SdlWindow& w) {
  if (!w.shown || !w.window) return;
  ExpectFocus(w.id);
  SDL_SetWindowInputFocus(w.window);
}

void SdlBackend::FocusActive() {
  if (SdlWindow* w = active_ ? Find(active_) : nullptr) RequestFocus(*w);
}

// The window system's list is the truth: whatever the notifications said,
// after this every window on the screen has a shown SDL window at its
// place, in the same stacking order, and nothing else is shown.
void SdlBackend::Sync() {
  const std::vector<HWND> onScreen = TopLevelWindows();
  std::vector<HWND> gone;
  for (auto& [hwnd, w] : windows_)
    if (!IsWindow(hwnd))
      gone.push_back(hwnd);
    else if (w.shown && std::find(onScreen.begin(), onScreen.end(), hwnd) == onScreen.end())
      LeaveScreen(hwnd, w);
  for (HWND hwnd : gone)
    Destroy(hwnd);
  for (HWND hwnd : onScreen) {
    SdlWindow& w = Ensure(hwnd);
    Place(hwnd, w);
    NameOwner(hwnd, w);
    Show(w);
  }
  if (stackDirty_ || onScreen != stack_) Restack(onScreen);
}

// A window the window system has an owner for names the owner's window to
// the window manager, once the owner has one; the window system's owner may
// change (a floating form is handed to another form) and is followed.
void SdlBackend::NameOwner(HWND hwnd, SdlWindow& w) {
  if (!w.hints.transientForOwner || !w.window) return;
  const SdlWindow* owner = Find(GetWindow(hwnd, GW_OWNER));
  SDL_Window* named = owner ? owner->window : nullptr;
  if (named == w.ownerNamed) return;
  x11Windows_.SetOwner(w.window, named);
  w.ownerNamed = named;
}

void SdlBackend::Restack(const std::vector<HWND>& frontFirst) {
  // Raising every window from the back to the front leaves them in order.
  // Only raised, never activated: under a window manager SDL_RaiseWindow
  // also asks for the window to be made active, and activation is the
  // window system's own business (WindowActivated), so each restack would
  // move the focus and start a fight over it.
  for (auto it = frontFirst.rbegin(); it != frontFirst.rend(); ++it)
    if (SdlWindow* w = Find(*it); w && w->window && w->shown) {
      if (!RaiseX11Window(w->window)) SDL_RaiseWindow(w->window);
    }
  stack_ = frontFirst;
  stackDirty_ = false;
}

void SdlBackend::Blit(HWND hwnd, SdlWindow& w) {
  RECT area{};
  const Surface* src = GetWindowSurface(hwnd);
  SDL_Surface* dst = w.window ? SDL_GetWindowSurface(w.window) : nullptr;
  if (!src || !dst ||
      !IntersectRect(area, w.dirty,
                     RECT{0, 0, std::min(src->Width(), dst->w), std::min(src->Height(), dst->h)})) {
    w.dirty = RECT{};
    return;
  }
  if (SDL_MUSTLOCK(dst) && SDL_LockSurface(dst) != 0) return;
  // Our pixels are 0xAARRGGBB words; read as RGB888 the alpha byte is
  // ignored, which is right for a window on the screen.
  const Pixel* from = src->Row(area.top) + area.left;
  auto* to = static_cast<uint8_t*>(dst->pixels) + size_t(area.top) * size_t(dst->pitch) +
             size_t(area.left) * dst->format->BytesPerPixel;
  SDL_ConvertPixels(area.Width(), area.Height(), SDL_PIXELFORMAT_RGB888, from,
                    int(src->Width() * sizeof(Pixel)), dst->format->format, to, dst->pitch);
  if (SDL_MUSTLOCK(dst)) SDL_UnlockSurface(dst);
  const SDL_Rect rect{area.left, area.top, area.Width(), area.Height()};
  SDL_UpdateWindowSurfaceRects(w.window, &rect, 1);
  w.dirty = RECT{};
}

void SdlBackend::Present() {
  Sync();
  bool presented = false;
  for (auto& [hwnd, w] : windows_)
    if (w.shown && !IsRectEmpty(w.dirty)) {
      Blit(hwnd, w);
      presented = true;
    }
  // SDL has waited for the window to be mapped and synchronised with the
  // server after putting the pixels, so the frame is on the screen now.
  if (presented && firstFrameFd_ >= 0) {
    static constexpr char kLine[] = "frame\n";
    [[maybe_unused]] const ssize_t n = write(firstFrameFd_, kLine, sizeof kLine - 1);
    firstFrameFd_ = -1;
  }
  if (presented) x11Windows_.GiveIcons();
}

// ---- Pointer ----------------------------------------------------------------------------

void SdlBackend::CaptureChanged(HWND hwnd) {
  // The program let go of the mouse with no button down: so does SDL.
  if (!hwnd && captured_ && SDL_GetMouseState(nullptr, nullptr) == 0) {
    SDL_CaptureMouse(SDL_FALSE);
    captured_ = false;
  }
}

void SdlBackend::CursorShapeChanged(int cursorId) {
  // No cursor (SetCursor(nullptr)) hides the pointer.
  SDL_ShowCursor(cursorId == 0 ? SDL_DISABLE : SDL_ENABLE);
  if (cursorId == 0) return;
  const SDL_SystemCursor shape = SdlCursorFor(cursorId);
  SDL_Cursor*& cursor = cursors_[shape];
  if (!cursor) cursor = SDL_CreateSystemCursor(shape);
  if (cursor) SDL_SetCursor(cursor);
}

void SdlBackend::CursorMoved(POINT screen) {
  SDL_WarpMouseGlobal(screen.x, screen.y);
}

// Every X event comes just before what SDL makes of it.  A pointer motion
// is delivered from the X event itself, in the root coordinates the server
// gave: SDL drops a motion whose point in the window did not change, which
// is what a window moved along with the pointer (a caption drag with coarse
// jumps) reports.  Presses, releases and crossings keep their root point
// for the SDL event that follows; any other X event clears it, so an event
// SDL drops leaves nothing behind.
bool SdlBackend::OnX11Event(const SDL_SysWMmsg* msg) {
  rootPointValid_ = motionDelivered_ = buttonDelivered_ = false;
  if (!msg || msg->subsystem != SDL_SYSWM_X11) return false;
  const XEvent& e = msg->msg.x11.event;
  constexpr unsigned kButtonMasks = Button1Mask | Button2Mask | Button3Mask;
  switch (e.type) {
  case MotionNotify:
    // A motion with no button held while one is down for the program: its
    // release went where the program could not see it.
    if (buttonsDown_ && !(e.xmotion.state & kButtonMasks)) LoseButtons();
    motionDelivered_ = true;
    InputMouseMove(POINT{e.xmotion.x_root, e.xmotion.y_root});
    return true;
  case ButtonPress:
  case ButtonRelease:
    rootPoint_ = POINT{e.xbutton.x_root, e.xbutton.y_root};
    rootPointValid_ = true;
    if (e.xbutton.button >= Button1 && e.xbutton.button <= Button3) {
      OnX11Button(e.xbutton);
      buttonDelivered_ = true;
      return true;
    }
    break;
  case EnterNotify:
  case LeaveNotify:
    // Another program grabbed the pointer in the middle of a drag (a
    // window manager's key binding, a screen locker): the release will go
    // to it.
    if (e.type == LeaveNotify && e.xcrossing.mode == NotifyGrab && grabDisplay_ && buttonsDown_)
      LoseButtons();
    rootPoint_ = POINT{e.xcrossing.x_root, e.xcrossing.y_root};
    rootPointValid_ = true;
    break;
  default:
    break;
  }
  return false;
}

// A mouse event's point on the screen.  SDL reports it in the window's
// coordinates; added to where the window was last put they are wrong while
// the server has not yet moved the window (a caption drag with coarse
// jumps), so the root point the server gave with the event is used when
// there is one.
POINT SdlBackend::PointerOnScreen(Uint32 windowId, int x, int y) {
  if (!rootPointValid_) return ToScreen(windowId, x, y);
  rootPointValid_ = false;
  return rootPoint_;
}

POINT SdlBackend::ToScreen(Uint32 windowId, int x, int y) const {
  for (const auto& [hwnd, w] : windows_)
    if (w.id == windowId) return POINT{w.rect.left + x, w.rect.top + y};
  int gx = 0, gy = 0;
  SDL_GetGlobalMouseState(&gx, &gy);
  return POINT{gx, gy};
}

// SDL captures to the window that has the keyboard focus, not to the one
// clicked, so a press first makes sure the clicked window has the focus and
// captures once it has: then a drag keeps reporting to that window even
// outside every window, until the last button comes up.
void SdlBackend::OnButton(const SDL_MouseButtonEvent& e) {
  MouseButton button;
  switch (e.button) {
  case SDL_BUTTON_LEFT:
    button = MouseButton::Left;
    break;
  case SDL_BUTTON_RIGHT:
    button = MouseButton::Right;
    break;
  case SDL_BUTTON_MIDDLE:
    button = MouseButton::Middle;
    break;
  default:
    return;
  }
  const bool down = e.type == SDL_MOUSEBUTTONDOWN;
  if (down && !captured_) {
    SDL_Window* clicked = SDL_GetWindowFromID(e.windowID);
    if (clicked && SDL_GetKeyboardFocus() == clicked) {
      captured_ = SDL_CaptureMouse(SDL_TRUE) == 0;
    } else if (clicked) {
      captureWhenFocused_ = e.windowID;
      ExpectFocus(e.windowID);
      SDL_SetWindowInputFocus(clicked);
    }
  }
  InputMouseButton(button, down, PointerOnScreen(e.windowID, e.x, e.y));
  if (!down && SDL_GetMouseState(nullptr, nullptr) == 0) {
    captureWhenFocused_ = 0;
    if (captured_) SDL_CaptureMouse(SDL_FALSE);
    captured_ = false;
  }
}

// The buttons under X11, from the X events themselves: SDL drops a press
// of a button it still counts as down, which is what a release the program
// never saw leaves behind.  A press grabs the pointer for the window it came
// to and the last release lets it go, so that a drag reports to the program
// wherever the pointer goes, whichever window has the focus: a grab SDL
// takes follows the keyboard focus and goes when the focus moves.
void SdlBackend::OnX11Button(const XButtonEvent& e) {
  const MouseButton button = e.button == Button1   ? MouseButton::Left
                             : e.button == Button3 ? MouseButton::Right
                                                   : MouseButton::Middle;
  const unsigned bit = 1u << (e.button - Button1);
  const POINT screen{e.x_root, e.y_root};
  if (e.type == ButtonPress) {
    if (!buttonsDown_ && GrabX11Pointer(e.display, e.window, e.time)) {
      grabDisplay_ = e.display;
      grabWindow_ = e.window;
    }
    // The clicked window takes the keyboard focus, as it would from a
    // window manager.
    SdlWindow* clicked = buttonsDown_ ? nullptr : FindX11(e.window);
    if (clicked && clicked->window && SDL_GetKeyboardFocus() != clicked->window) {
      ExpectFocus(clicked->id);
      SDL_SetWindowInputFocus(clicked->window);
    }
    buttonsDown_ |= bit;
    InputMouseButton(button, true, screen);
    return;
  }
  if (!(buttonsDown_ & bit)) return; // its press was lost already
  buttonsDown_ &= ~bit;
  InputMouseButton(button, false, screen);
  if (!buttonsDown_ && grabDisplay_) {
    UngrabX11Pointer(grabDisplay_, e.time);
    grabDisplay_ = nullptr;
  }
}

// SDL lets go of every pointer grab whenever the keyboard focus moves
// between windows (it ungrabs for windows that asked for no grab of their
// own), which a press itself causes when the clicked window takes the focus,
// and so does a drag that gives a window the keys.  The drag's grab is taken
// again at once; when another program holds the pointer by now, the release
// will go there, and the drag ends as a cancel.
void SdlBackend::KeepGrab() {
  if (!grabDisplay_ || !buttonsDown_) return;
  if (!GrabX11Pointer(grabDisplay_, grabWindow_, CurrentTime)) LoseButtons();
}

// The release of what was pressed went elsewhere: the drag ends as a cancel.
void SdlBackend::LoseButtons() {
  buttonsDown_ = 0;
  if (grabDisplay_) UngrabX11Pointer(grabDisplay_, CurrentTime);
  grabDisplay_ = nullptr;
  InputMouseButtonsLost();
}

SdlWindow* SdlBackend::FindX11(unsigned long xwindow) {
  for (auto& [hwnd, w] : windows_) {
    Display* display = nullptr;
    Window x = 0;
    if (X11WindowOf(w.window, &display, &x) && x == xwindow) return &w;
  }
  return nullptr;
}

// ---- Focus -------------------------------------------------------------------------------

void SdlBackend::OnFocusGained(Uint32 id) {
  if (!appActive_) {
    appActive_ = true;
    InputAppActive(true);
  }
  if (captureWhenFocused_ == id) {
    captureWhenFocused_ = 0;
    if (SDL_GetMouseState(nullptr, nullptr) != 0) captured_ = SDL_CaptureMouse(SDL_TRUE) == 0;
  } else if (captured_ && SDL_GetMouseState(nullptr, nullptr) != 0) {
    // SDL lets go of the capture when the keyboard focus leaves the
    // capturing window, as it does when a window shown during a drag (a
    // preview strip, a pop-up) takes the focus on a desktop without a
    // window manager.  The drag still owns the mouse: the capture goes on
    // with the window that has the focus now (events report screen points
    // whatever window they arrive at).
    captured_ = SDL_CaptureMouse(SDL_TRUE) == 0;
  }
  const HWND hwnd = FromSdlId(id);
  const bool expected = FocusExpected(id);
  focusExpected_.erase(id);
  if (expected || !hwnd || hwnd == active_) return;
  // The desktop gave one of our windows the focus by its own means (a
  // window manager's click or task switch): that is an activation.
  if (SdlWindow* w = Find(hwnd); w && !w->popup) InputActivateWindow(hwnd);
}

void SdlBackend::OnWindowEvent(const SDL_WindowEvent& e) {
  const HWND hwnd = FromSdlId(e.windowID);
  switch (e.event) {
  case SDL_WINDOWEVENT_CLOSE:
    if (hwnd) InputCloseWindow(hwnd);
    break;
  case SDL_WINDOWEVENT_MINIMIZED:
    // The window manager or a task bar minimised it, or brought it back.
    if (hwnd) InputIconifyWindow(hwnd, true);
    break;
  case SDL_WINDOWEVENT_RESTORED:
  case SDL_WINDOWEVENT_SHOWN:
    if (SdlWindow* w = hwnd ? Find(hwnd) : nullptr; w && w->iconified) {
      w->iconified = false;
      MarkAllDirty(*w);
      InputIconifyWindow(hwnd, false);
    }
    break;
  case SDL_WINDOWEVENT_EXPOSED:
    if (SdlWindow* w = hwnd ? Find(hwnd) : nullptr; w && w->shown) {
      MarkAllDirty(*w);
      Blit(hwnd, *w);
    }
    break;
  case SDL_WINDOWEVENT_FOCUS_GAINED:
    KeepGrab();
    OnFocusGained(e.windowID);
    break;
  case SDL_WINDOWEVENT_FOCUS_LOST:
    KeepGrab();
    focusLost_ = true;
    break;
  case SDL_WINDOWEVENT_LEAVE:
    // Outside all our windows the window system must hear where the
    // pointer went, so that it can tell the last window the mouse left.
    if (!captured_ && !grabDisplay_) {
      int gx = 0, gy = 0;
      SDL_GetGlobalMouseState(&gx, &gy);
      InputMouseMove(POINT{gx, gy});
    }
    break;
  default:
    break;
  }
}

// Returns true when the event became input for the window system.
bool SdlBackend::Dispatch(const SDL_Event& e) {
  switch (e.type) {
  case SDL_SYSWMEVENT:
    return OnX11Event(e.syswm.msg);
  case SDL_MOUSEMOTION:
    if (motionDelivered_) {
      motionDelivered_ = false;
      return false;
    }
    InputMouseMove(PointerOnScreen(e.motion.windowID, e.motion.x, e.motion.y));
    return true;
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP:
    if (buttonDelivered_) { // from its X event (OnX11Button)
      buttonDelivered_ = false;
      return false;
    }
    OnButton(e.button);
    return true;
  case SDL_MOUSEWHEEL: {
    int y = e.wheel.y;
    if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
    if (y == 0) return false;
    InputMouseWheel(y * 120, PointerOnScreen(e.wheel.windowID, e.wheel.mouseX, e.wheel.mouseY));
    return true;
  }
  case SDL_KEYDOWN:
  case SDL_KEYUP: {
    // A key SDL can give no scancode (a key code bound for a moment, a
    // layout's unusual key) is passed on as virtual key 0: it makes no
    // message but keeps a following Alt release from opening the menu.
    const UINT vk = VirtualKeyFromScancode(e.key.keysym.scancode);
    InputKey(vk, e.type == SDL_KEYDOWN);
    return vk != 0;
  }
  case SDL_TEXTINPUT:
    InputText(e.text.text);
    return true;
  case SDL_QUIT:
    InputEndSession();
    return true;
  case SDL_WINDOWEVENT:
    OnWindowEvent(e.window);
    return true;
  default:
    return false;
  }
}

bool SdlBackend::FocusExpected(Uint32 id) const {
  auto it = focusExpected_.find(id);
  return it != focusExpected_.end() && SDL_GetTicks64() <= it->second;
}

bool SdlBackend::AnyFocusExpected() const {
  const Uint64 now = SDL_GetTicks64();
  return std::any_of(focusExpected_.begin(), focusExpected_.end(),
                     [now](const auto& e) { return now <= e.second; });
}

void SdlBackend::AfterEvents() {
  if (!focusLost_) return;
  // Losing the focus to another of our windows is no change for the
  // program; losing it to nobody, with no focus change of ours under way,
  // means another program has the foreground.  While one is under way the
  // question stays open (WaitForInput then waits in short steps).
  if (SDL_GetKeyboardFocus() != nullptr) {
    focusLost_ = false;
  } else if (!AnyFocusExpected()) {
    focusLost_ = false;
    focusExpected_.clear();
    if (appActive_) {
      appActive_ = false;
      InputAppActive(false);
    }
  }
}

bool SdlBackend::WaitForInput(DWORD timeoutMs) {
  SDL_Event e;
  bool any = false;
  auto* virtualClock = dynamic_cast<VirtualClock*>(&ActiveClock());
  // SDL may have swapped X error handlers since the last call.
  if (x11_) KeepX11ErrorHandler();
  // An open focus question is settled within a short wait.
  if (focusLost_) timeoutMs = std::min<DWORD>(timeoutMs, 50);
  int got = 0;
  if (virtualClock || timeoutMs == 0)
    got = SDL_PollEvent(&e);
  else if (timeoutMs == INFINITE)
    got = SDL_WaitEvent(&e);
  else
    got = SDL_WaitEventTimeout(&e, int(std::min<DWORD>(timeoutMs, INT_MAX)));
  if (got) {
    any = Dispatch(e);
    while (SDL_PollEvent(&e))
      any = Dispatch(e) || any;
  }
  AfterEvents();
  // On the virtual clock time passes by moving the clock, never by sleeping.
  if (!any && virtualClock && timeoutMs != INFINITE) virtualClock->Advance(timeoutMs);
  return any;
}

} // namespace

std::unique_ptr<Backend> CreateSdlBackend(std::string* error) {
  auto backend = std::make_unique<SdlBackend>();
  if (!backend->Init(error)) return nullptr;
  return backend;
}

} // namespace zel::sys
