// The SDL backend on a real (virtual) X server, driven with real X input
// through xdotool: a click reaches the window at the right client point, and
// dragging the caption moves the window, on the screen as well as in the
// window system.  Skipped where Xvfb or xdotool is not installed.

#include <gtest/gtest.h>

#include <chrono>

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/backend/SdlBackend.h"
#include "platform/backend/X11Errors.h"
#include "platform/gdi/Png.h"
#include "platform/user/User.h"
#include "tests/platform/sdl/XScreenGrab.h"
#include "tests/platform/sdl/XvfbSession.h"

namespace zel::sys {
namespace {

using test::Spawn;
using test::WaitForExit;

struct Seen {
  std::vector<POINT> downs; // client points of WM_LBUTTONDOWN
  int ups = 0;
  std::u32string chars; // WM_CHAR code points
  HWND upWindow = nullptr;
  POINT lastUp{};             // client point of the last WM_LBUTTONUP
  std::vector<POINT> dragged; // client points of WM_MOUSEMOVE with the button down
  bool captureOnPress = false;
  int doubleClicks = 0;
  std::vector<int> wheel;      // wheel deltas
  std::vector<UINT> keys;      // virtual keys of WM_KEYDOWN
  std::vector<bool> appActive; // WM_ACTIVATEAPP to the main window
  bool popupOnDrag = false;    // the first drag move shows a pop-up window
  bool popupOnChar = false;    // WM_SYSCHAR shows a pop-up window, as a menu opens
  HWND popup = nullptr;
  std::vector<UINT> altMessages; // messages about VK_MENU
};
HWND gMain = nullptr;
Seen gSeen;

std::string ReadAll(const char* path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

LRESULT SmokeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN)
    gSeen.downs.push_back(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (msg == WM_LBUTTONDOWN && gSeen.captureOnPress) SetCapture(hwnd);
  if (msg == WM_MOUSEMOVE && (wParam & MK_LBUTTON))
    gSeen.dragged.push_back(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  const bool dragMove = msg == WM_MOUSEMOVE && (wParam & MK_LBUTTON) && gSeen.popupOnDrag;
  if ((dragMove || (msg == WM_SYSCHAR && gSeen.popupOnChar)) && !gSeen.popup) {
    // As a drag shows its preview or a menu drops down: a pop-up, which
    // must not take the keyboard focus from the window.
    gSeen.popup = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "SdlSmoke",
                                 "", WS_POPUP, 120, 140, 60, 30, nullptr);
    ShowWindow(gSeen.popup, SW_SHOWNOACTIVATE);
  }
  if ((msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) &&
      wParam == VK_MENU)
    gSeen.altMessages.push_back(msg);
  if (msg == WM_LBUTTONUP) {
    ++gSeen.ups;
    gSeen.upWindow = hwnd;
    gSeen.lastUp = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (GetCapture() == hwnd) ReleaseCapture();
  }
  if (msg == WM_ACTIVATEAPP && hwnd == gMain) gSeen.appActive.push_back(wParam != 0);
  if (msg == WM_LBUTTONDBLCLK) ++gSeen.doubleClicks;
  if (msg == WM_MOUSEWHEEL) gSeen.wheel.push_back(GET_WHEEL_DELTA_WPARAM(wParam));
  if (msg == WM_KEYDOWN) gSeen.keys.push_back(UINT(wParam));
  if (msg == WM_CHAR) gSeen.chars.push_back(char32_t(wParam));
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class SdlSmoke : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!test::OnPath("Xvfb") || !test::OnPath("xdotool")) return;
    server_ = new test::XvfbSession;
    if (!server_->Start(1024, 768, startError_)) {
      delete server_;
      server_ = nullptr;
    }
  }
  static void TearDownTestSuite() {
    ResetWindowSystem();
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    if (!test::OnPath("Xvfb") || !test::OnPath("xdotool"))
      GTEST_SKIP() << "Xvfb and xdotool are needed";
    // A machine that has the programs but cannot run an X server (a
    // sandbox without sockets, say) cannot run these tests either.
    if (!server_) GTEST_SKIP() << "no X server could be started: " << startError_;
    // The private server has no session bus; telling SDL so up front keeps
    // it from a failing (and leaking) attempt to start one.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    ::unsetenv("SDL_VIDEODRIVER");
    std::string error;
    auto backend = CreateSdlBackend(&error);
    ASSERT_NE(backend, nullptr) << error;
    ResetWindowSystem(std::move(backend));
    gSeen = Seen{};
    WNDCLASS wc;
    wc.lpfnWndProc = SmokeProc;
    wc.lpszClassName = "SdlSmoke";
    wc.style = CS_DBLCLKS;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_WINDOW + 1));
    RegisterClass(wc); // a second registration fails harmlessly
    hwnd_ = CreateWindowEx(0, "SdlSmoke", "Smoke", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120, 320,
                           240, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    gMain = hwnd_;
    ASSERT_TRUE(WaitUntilOnScreen(hwnd_)) << "the window never appeared on the X screen";
  }
  void TearDown() override {
    if (hwnd_) DestroyWindow(hwnd_);
    ResetWindowSystem();
  }

  // Handles messages and SDL input, and shows the windows, for a while.
  static void PumpOnce() {
    PumpMessages();
    if (Backend* b = GetBackend()) {
      b->Present();
      b->WaitForInput(5);
    }
    PumpMessages();
  }
  static void PumpFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end)
      PumpOnce();
  }
  // Generous limits: they are only reached when something is broken, and
  // a machine busy with parallel builds can be slow to deliver X events.
  template <class Done> static bool PumpUntil(Done done, int ms = 8000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      PumpOnce();
    }
    return true;
  }
  // The X server shows exactly the window's surface at its place.
  static bool ShowsSurface(HWND hwnd) {
    RECT r{}, visible{};
    GetWindowRect(hwnd, &r);
    const Surface* surface = GetWindowSurface(hwnd);
    // Only the part on the screen can be read back (a maximised window's
    // frame lies outside it).
    const SIZE screen = GetBackend()->ScreenSize();
    if (!surface || !IntersectRect(visible, r, RECT{0, 0, screen.cx, screen.cy})) return false;
    Surface shown;
    if (!test::GrabScreen(server_->display().c_str(), visible.left, visible.top, visible.Width(),
                          visible.Height(), shown))
      return false;
    for (int y = 0; y < visible.Height(); ++y)
      for (int x = 0; x < visible.Width(); ++x) {
        const int sx = visible.left - r.left + x, sy = visible.top - r.top + y;
        if (!surface->Contains(sx, sy) ||
            (shown.At(x, y) & 0xFFFFFF) != (surface->At(sx, sy) & 0xFFFFFF))
          return false;
      }
    return true;
  }
  static bool WaitUntilOnScreen(HWND hwnd) {
    return PumpUntil([hwnd] { return ShowsSurface(hwnd); });
  }
  // Runs xdotool while the program keeps handling its input.
  static int Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    const pid_t pid = Spawn(args);
    return pid < 0 ? -1 : WaitForExit(pid, 5000, PumpOnce);
  }
  void ClickAt(POINT screen) {
    ASSERT_EQ(
        Xdotool({"mousemove", std::to_string(screen.x), std::to_string(screen.y), "click", "1"}),
        0);
  }

  static test::XvfbSession* server_;
  static std::string startError_;
  HWND hwnd_ = nullptr;
};

test::XvfbSession* SdlSmoke::server_ = nullptr;
std::string SdlSmoke::startError_;

TEST_F(SdlSmoke, ClickArrivesAtTheClientPoint) {
  POINT target{37, 23};
  ClientToScreen(hwnd_, &target);
  ClickAt(target);
  ASSERT_TRUE(PumpUntil([] { return gSeen.ups > 0; })) << "no click arrived";
  ASSERT_EQ(gSeen.downs.size(), 1u);
  EXPECT_EQ(gSeen.downs[0], (POINT{37, 23}));
}

TEST_F(SdlSmoke, CaptionDragMovesTheWindow) {
  RECT before{};
  GetWindowRect(hwnd_, &before);
  // A caption point well left of the caption buttons, found by asking the
  // window itself.
  POINT grip{before.left + 60, before.top};
  while (grip.y < before.bottom &&
         SendMessage(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)) != HTCAPTION)
    ++grip.y;
  ASSERT_LT(grip.y, before.bottom) << "no caption found";
  grip.y += 2;
  auto at = [&](int dx, int dy) {
    return std::vector<std::string>{"mousemove", std::to_string(grip.x + dx),
                                    std::to_string(grip.y + dy)};
  };
  std::vector<std::string> steps = at(0, 0);
  for (auto part : {std::vector<std::string>{"mousedown", "1", "sleep", "0.1"},
                    at(20, 15),
                    {"sleep", "0.1"},
                    at(50, 35),
                    {"sleep", "0.1"},
                    at(80, 50),
                    {"sleep", "0.1", "mouseup", "1"}})
    steps.insert(steps.end(), part.begin(), part.end());
  ASSERT_EQ(Xdotool(steps), 0);
  RECT after{};
  const bool moved = PumpUntil([&] {
    GetWindowRect(hwnd_, &after);
    return after.left == before.left + 80 && after.top == before.top + 50;
  });
  ASSERT_TRUE(moved) << "window at " << after.left << "," << after.top << " instead of "
                     << before.left + 80 << "," << before.top + 50;

  // Coarse jumps with no pause: motions reported against the window's old
  // place while its move is on the way still land under the pointer.
  GetWindowRect(hwnd_, &before);
  grip = POINT{grip.x + 80, grip.y + 50};
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(grip.x), std::to_string(grip.y), "mousedown", "1",
                     "mousemove", std::to_string(grip.x + 50), std::to_string(grip.y + 50),
                     "mousemove", std::to_string(grip.x + 100), std::to_string(grip.y + 100),
                     "sleep", "0.2", "mouseup", "1"}),
            0);
  ASSERT_TRUE(PumpUntil([&] {
    GetWindowRect(hwnd_, &after);
    return after.left == before.left + 100 && after.top == before.top + 100;
  })) << "after two jumps of (50, 50) the window moved by ("
      << after.left - before.left << ", " << after.top - before.top << ")";

  // The X window moved with it: the screen shows the window at its new
  // place, and a click there reaches the client area at the expected point.
  ASSERT_TRUE(WaitUntilOnScreen(hwnd_)) << "the screen does not show the moved window";
  gSeen = Seen{};
  POINT target{12, 9};
  ClientToScreen(hwnd_, &target);
  ClickAt(target);
  ASSERT_TRUE(PumpUntil([] { return gSeen.ups > 0; })) << "no click arrived after the move";
  ASSERT_EQ(gSeen.downs.size(), 1u);
  EXPECT_EQ(gSeen.downs[0], (POINT{12, 9}));
}

// A text property of w as UTF-8, decoded from whatever encoding it has, as
// a window manager reads it ("?" where it cannot be read).
std::string TextPropertyOf(Display* d, Window w, Atom property) {
  XTextProperty prop{};
  if (!XGetTextProperty(d, w, &prop, property) || !prop.value) return "?";
  char** list = nullptr;
  int count = 0;
  std::string text = "?";
  if (Xutf8TextPropertyToTextList(d, &prop, &list, &count) == Success && count == 1) text = list[0];
  if (list) XFreeStringList(list);
  XFree(prop.value);
  return text;
}

// The X window whose WM_NAME is name, among the root's children.
Window FindXWindow(Display* d, const char* name) {
  Window root = 0, parent = 0, *children = nullptr, found = 0;
  unsigned count = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i)
    if (TextPropertyOf(d, children[i], XA_WM_NAME) == name) found = children[i];
  if (children) XFree(children);
  return found;
}

std::string WindowTypeOf(Display* d, Window w) {
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, left = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), 0, 1, False, XA_ATOM,
                         &type, &format, &n, &left, &data) == Success &&
      data && n == 1)
    if (char* text = XGetAtomName(d, *reinterpret_cast<Atom*>(data))) {
      name = text;
      XFree(text);
    }
  if (data) XFree(data);
  return name;
}

// What a window manager reads of each kind of window: its title, in every
// property that holds one, also outside Latin-1 and after a change, its
// type, its owner, one group whose leader exists, and the program's icon.
TEST_F(SdlSmoke, EachWindowTellsTheWindowManagerItsTitleKindOwnerGroupAndIcon) {
  HWND dialog = CreateWindowEx(WS_EX_DLGMODALFRAME, "SdlSmoke", "Dialog",
                               WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 150, 150, 200, 150, hwnd_);
  HWND tool = CreateWindowEx(WS_EX_TOOLWINDOW, "SdlSmoke", "Основные кнопки",
                             WS_CAPTION | WS_VISIBLE, 420, 150, 160, 100, hwnd_);
  ASSERT_TRUE(WaitUntilOnScreen(dialog) && WaitUntilOnScreen(tool));
  SetWindowText(dialog, "Дополнительные настройки");
  SetWindowText(hwnd_, "Smoke é"); // Latin-1 stays plain STRING
  Display* d = XOpenDisplay(server_->display().c_str());
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(PumpUntil([d] { return FindXWindow(d, "Smoke é") != 0; }));
  const Window main = FindXWindow(d, "Smoke é");
  struct Row {
    const char* name;
    const char* encoding;
    const char* type;
    Window owner;
  } rows[] = {{"Smoke é", "STRING", "_NET_WM_WINDOW_TYPE_NORMAL", 0},
              {"Дополнительные настройки", "COMPOUND_TEXT", "_NET_WM_WINDOW_TYPE_DIALOG", main},
              {"Основные кнопки", "COMPOUND_TEXT", "_NET_WM_WINDOW_TYPE_UTILITY", main}};
  Window group = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const Window w = FindXWindow(d, r.name);
    ASSERT_NE(w, 0u);
    XTextProperty name{};
    ASSERT_TRUE(XGetWMName(d, w, &name));
    char* encoding = XGetAtomName(d, name.encoding);
    EXPECT_STREQ(encoding, r.encoding);
    XFree(encoding);
    XFree(name.value);
    EXPECT_EQ(TextPropertyOf(d, w, XA_WM_ICON_NAME), r.name);
    for (const char* utf8 : {"_NET_WM_NAME", "_NET_WM_ICON_NAME"})
      EXPECT_EQ(TextPropertyOf(d, w, XInternAtom(d, utf8, False)), r.name) << utf8;
    EXPECT_EQ(WindowTypeOf(d, w), r.type);
    Window owner = 0;
    if (!XGetTransientForHint(d, w, &owner)) owner = 0;
    EXPECT_EQ(owner, r.owner);
    XWMHints* hints = XGetWMHints(d, w);
    ASSERT_TRUE(hints && (hints->flags & WindowGroupHint));
    if (group == 0) group = hints->window_group;
    EXPECT_EQ(hints->window_group, group) << "one group for the program";
    XFree(hints);
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, left = 0;
    unsigned char* icon = nullptr;
    XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_ICON", False), 0, 2, False, XA_CARDINAL, &type,
                       &format, &n, &left, &icon);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(icon ? reinterpret_cast<long*>(icon)[0] : 0, 16) << "the icon's first size";
    if (icon) XFree(icon);
  }
  XWindowAttributes leader;
  EXPECT_TRUE(group != 0 && XGetWindowAttributes(d, group, &leader)) << "the group leader exists";
  XCloseDisplay(d);
  DestroyWindow(tool);
  DestroyWindow(dialog);
}

// A request on a window that is gone only costs a line on stderr, once per
// kind of error, and the program's handler stays in place through SDL.
TEST_F(SdlSmoke, AnXErrorIsReportedOnceAndPassedOver) {
  Display* d = XOpenDisplay(server_->display().c_str());
  ASSERT_NE(d, nullptr);
  const Window gone = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(d, gone);
  std::fflush(stderr);
  char path[] = "/tmp/zel-x-errors-XXXXXX";
  const int log = ::mkstemp(path);
  ASSERT_GE(log, 0);
  const int saved = ::dup(2);
  ::dup2(log, 2);
  const unsigned long before = X11ErrorsPassedOver();
  for (int i = 0; i < 3; ++i) {
    XMapWindow(d, gone);
    XSync(d, False);
    PumpFor(20);
  }
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  const std::string text = ReadAll(path);
  ::close(log);
  ::unlink(path);
  XCloseDisplay(d);
  EXPECT_EQ(X11ErrorsPassedOver() - before, 3u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  EXPECT_NE(text.find("BadWindow"), std::string::npos) << text;
  EXPECT_TRUE(X11ErrorHandlerInPlace());
}

TEST_F(SdlSmoke, WindowsShowTheirSurfacesAndKeysSurviveAPopup) {
  HWND popup = CreateWindowEx(0, "SdlSmoke", "", WS_POPUP | WS_BORDER, 520, 400, 120, 80, hwnd_);
  ASSERT_NE(popup, nullptr);
  ShowWindow(popup, SW_SHOWNOACTIVATE);
  EXPECT_TRUE(WaitUntilOnScreen(popup)) << "the pop-up's pixels never reached the screen";
  EXPECT_TRUE(ShowsSurface(hwnd_)) << "the main window is not shown as its surface";
  // The screen as a person would see it, kept for looking at.
  Surface screen;
  ASSERT_TRUE(test::GrabScreen(server_->display().c_str(), 0, 0, 700, 520, screen));
  std::filesystem::create_directories(std::string(ZEL_BINARY_DIR) + "/pictures");
  WritePng(screen, std::string(ZEL_BINARY_DIR) + "/pictures/sdl_screen.png");

  // A shown pop-up takes the X keyboard focus, and hiding it leaves none
  // unless the backend gives it back; typing proves the keys still come.
  ShowWindow(popup, SW_HIDE);
  PumpFor(200);
  // (ASCII only: xdotool types other letters by remapping a key code on the
  // fly, which races with the reader of the key map on a busy machine.)
  ASSERT_EQ(Xdotool({"type", "ab"}), 0);
  EXPECT_TRUE(PumpUntil([] { return gSeen.chars.size() >= 2; }))
      << gSeen.chars.size() << " characters arrived";
  EXPECT_EQ(gSeen.chars, U"ab");
  DestroyWindow(popup);
}

// Timing and buttons of the real mouse and keyboard: two quick clicks are a
// double click, the wheel turns in notches of 120, keys arrive as virtual
// keys.
TEST_F(SdlSmoke, DoubleClickWheelAndKeys) {
  POINT p{50, 50};
  ClientToScreen(hwnd_, &p);
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(p.x), std::to_string(p.y), "click", "--repeat",
                     "2", "--delay", "60", "1"}),
            0);
  EXPECT_TRUE(PumpUntil([] { return gSeen.doubleClicks > 0; })) << "no double click";
  ASSERT_EQ(Xdotool({"click", "4", "sleep", "0.05", "click", "5"}), 0);
  EXPECT_TRUE(PumpUntil([] { return gSeen.wheel.size() >= 2; }));
  EXPECT_EQ(gSeen.wheel, (std::vector<int>{120, -120}));
  ASSERT_EQ(Xdotool({"key", "ctrl+b", "F5"}), 0);
  EXPECT_TRUE(PumpUntil([] { return gSeen.keys.size() >= 3; }));
  EXPECT_EQ(gSeen.keys, (std::vector<UINT>{VK_CONTROL, 'B', VK_F5}));
}

// Activation follows the X keyboard focus: focus given to another of our
// windows by the desktop activates it; focus taken by nobody of ours means
// the program lost the foreground, and a click brings it back.
TEST_F(SdlSmoke, ActivationFollowsTheDesktopFocus) {
  HWND other =
      CreateWindowEx(0, "SdlSmoke", "Other", WS_OVERLAPPEDWINDOW, 480, 120, 240, 180, nullptr);
  ASSERT_NE(other, nullptr);
  ShowWindow(other, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(WaitUntilOnScreen(other));
  ASSERT_EQ(GetActiveWindow(), hwnd_);
  ASSERT_EQ(Xdotool({"search", "--name", "^Other$", "windowfocus", "--sync"}), 0);
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == other; }));

  gSeen.appActive.clear();
  ASSERT_TRUE(test::FocusNothing(server_->display().c_str()));
  EXPECT_TRUE(PumpUntil([] { return !IsApplicationActive(); }));
  EXPECT_EQ(gSeen.appActive, std::vector<bool>{false});

  POINT p{30, 30};
  ClientToScreen(hwnd_, &p);
  ClickAt(p);
  EXPECT_TRUE(PumpUntil([&] { return IsApplicationActive() && GetActiveWindow() == hwnd_; }));
  EXPECT_EQ(gSeen.appActive, (std::vector<bool>{false, true}));
  DestroyWindow(other);
}

// Moving, resizing, maximising and restacking in the window system show on
// the X screen: each time the window's whole surface is what the screen
// shows at its rectangle, which for overlapping windows also means the
// stacking order is right.
TEST_F(SdlSmoke, MovesResizesAndRestacksFollowTheWindowSystem) {
  SetWindowPos(hwnd_, nullptr, 60, 80, 420, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(WaitUntilOnScreen(hwnd_)) << "after a resize";
  ShowWindow(hwnd_, SW_MAXIMIZE);
  EXPECT_TRUE(WaitUntilOnScreen(hwnd_)) << "maximised";
  ShowWindow(hwnd_, SW_RESTORE);
  EXPECT_TRUE(WaitUntilOnScreen(hwnd_)) << "restored";

  HWND front = CreateWindowEx(0, "SdlSmoke", "Front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150,
                              300, 200, nullptr);
  ASSERT_NE(front, nullptr);
  EXPECT_TRUE(WaitUntilOnScreen(front)) << "the new window is in front";
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(WaitUntilOnScreen(hwnd_)) << "brought back to the front";
  DestroyWindow(front);
}

// A drag that starts in a window without the keyboard focus and ends
// outside every window still reports to that window, as long as it holds
// the capture: the backend must capture on the X server too.
TEST_F(SdlSmoke, DragOutsideEveryWindowStaysWithTheCapturingWindow) {
  HWND other =
      CreateWindowEx(0, "SdlSmoke", "Other", WS_OVERLAPPEDWINDOW, 480, 120, 240, 180, nullptr);
  ASSERT_NE(other, nullptr);
  ShowWindow(other, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(WaitUntilOnScreen(other));
  gSeen.captureOnPress = true;
  POINT start{40, 40};
  ClientToScreen(other, &start);
  const POINT outside{900, 700};
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(start.x), std::to_string(start.y), "mousedown",
                     "1", "sleep", "0.2", "mousemove", "800", "500", "sleep", "0.1", "mousemove",
                     std::to_string(outside.x), std::to_string(outside.y), "sleep", "0.1",
                     "mouseup", "1"}),
            0);
  ASSERT_TRUE(PumpUntil([] { return gSeen.ups > 0; })) << "the button release never arrived";
  POINT expected = outside;
  ScreenToClient(other, &expected);
  EXPECT_EQ(gSeen.upWindow, other);
  EXPECT_EQ(gSeen.lastUp, expected);
  ASSERT_FALSE(gSeen.dragged.empty());
  EXPECT_EQ(gSeen.dragged.back(), expected);
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyWindow(other);
}

// The capture outlives the keyboard focus moving to a window shown during
// the drag: the release outside every window still ends the drag, and the
// next click is an ordinary click.
TEST_F(SdlSmoke, AWindowShownDuringTheDragKeepsTheCapture) {
  gSeen.captureOnPress = true;
  gSeen.popupOnDrag = true;
  POINT start{40, 40};
  ClientToScreen(hwnd_, &start);
  const POINT outside{900, 700};
  auto n = [](int v) { return std::to_string(v); };
  // Pressed, moved a little (the pop-up shows), then out of every window.
  ASSERT_EQ(
      Xdotool({"mousemove",  n(start.x),   n(start.y),      "mousedown",     "1",       "sleep",
               "0.2",        "mousemove",  n(start.x + 30), n(start.y + 30), "sleep",   "0.4",
               "mousemove",  "800",        "500",           "sleep",         "0.2",     "mousemove",
               n(outside.x), n(outside.y), "sleep",         "0.2",           "mouseup", "1"}),
      0);
  ASSERT_NE(gSeen.popup, nullptr);
  ASSERT_TRUE(PumpUntil([] { return gSeen.ups > 0; })) << "the button release never arrived";
  POINT expected = outside;
  ScreenToClient(hwnd_, &expected);
  EXPECT_EQ(gSeen.upWindow, hwnd_);
  EXPECT_EQ(gSeen.lastUp, expected);
  EXPECT_EQ(GetCapture(), nullptr);
  // The next press is not taken for the release of the old one.
  const size_t downs = gSeen.downs.size();
  POINT again{60, 50};
  ClientToScreen(hwnd_, &again);
  ClickAt(again);
  ASSERT_TRUE(PumpUntil([&] { return gSeen.downs.size() > downs && gSeen.ups > 1; }));
  DestroyWindow(gSeen.popup);
}

// A pop-up shown while Alt is held (a menu opened by Alt+letter) leaves the
// keyboard where it was: Alt goes down and comes up once, never looking
// like a second lone Alt, and the pop-up shows above the window.
TEST_F(SdlSmoke, APopupShownWhileAltIsHeldTakesNoKeys) {
  gSeen.popupOnChar = true;
  ASSERT_EQ(Xdotool({"key", "--delay", "200", "alt+x"}), 0);
  ASSERT_TRUE(PumpUntil([] { return gSeen.altMessages.size() >= 2; }));
  PumpFor(600); // SDL reports focus changes late: any would have come by now
  ASSERT_NE(gSeen.popup, nullptr);
  EXPECT_EQ(gSeen.altMessages, (std::vector<UINT>{WM_SYSKEYDOWN, WM_KEYUP}));
  EXPECT_EQ(GetActiveWindow(), hwnd_);
  EXPECT_TRUE(WaitUntilOnScreen(gSeen.popup));
  DestroyWindow(gSeen.popup);
}

// A start timed from outside: the first frame that reaches a shown window
// writes one line to the pipe named by ZEL_FIRST_FRAME_FD, and nothing more
// after it; a named descriptor that is no pipe (a stale variable) is never
// written to.
TEST_F(SdlSmoke, TheFirstPresentedFrameIsReportedOnceAndOnlyToAPipe) {
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  ::fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
  char fileName[] = "/tmp/zel-first-frame-XXXXXX";
  const int fileFd = ::mkstemp(fileName);
  ASSERT_GE(fileFd, 0);
  ::unlink(fileName);
  struct Case {
    int fd;
    const char* expected;
  } cases[] = {{pipeFds[1], "frame\n"}, {fileFd, ""}};
  for (const Case& c : cases) {
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    ::setenv("ZEL_FIRST_FRAME_FD", std::to_string(c.fd).c_str(), 1);
    std::string error;
    auto backend = CreateSdlBackend(&error);
    ::unsetenv("ZEL_FIRST_FRAME_FD");
    ASSERT_NE(backend, nullptr) << error;
    ResetWindowSystem(std::move(backend));
    WNDCLASS wc;
    wc.lpfnWndProc = SmokeProc;
    wc.lpszClassName = "SdlSmoke";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_WINDOW + 1));
    RegisterClass(wc);
    hwnd_ = CreateWindowEx(0, "SdlSmoke", "Timed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120, 200,
                           150, nullptr);
    ASSERT_TRUE(WaitUntilOnScreen(hwnd_));
    InvalidateRect(hwnd_, nullptr, TRUE);
    PumpFor(100); // a second frame must not report again
    std::string got(32, '\0');
    const ssize_t n = c.fd == fileFd ? ::pread(fileFd, got.data(), got.size(), 0)
                                     : ::read(pipeFds[0], got.data(), got.size());
    got.resize(size_t(std::max<ssize_t>(n, 0)));
    EXPECT_EQ(got, c.expected) << "descriptor " << c.fd;
  }
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
  ::close(fileFd);
}

// Without a display SDL would quietly fall back to drawing nowhere; the
// program says so itself, and nothing else is written before its line
// (no library's complaint about a missing Wayland runtime folder).
TEST(SdlBackendStart, WithoutADisplaySaysSoAndNothingElse) {
  const char* display = std::getenv("DISPLAY");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedDisplay = display ? display : "", savedRuntime = runtime ? runtime : "";
  ::unsetenv("WAYLAND_DISPLAY");
  ::unsetenv("SDL_VIDEODRIVER");
  ::unsetenv("XDG_RUNTIME_DIR");
  // SDL's attempt at a session bus that is not there would leak.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  for (const char* value : {static_cast<const char*>(nullptr), ":97"}) { // unset, no server
    SCOPED_TRACE(value ? value : "DISPLAY unset");
    if (value)
      ::setenv("DISPLAY", value, 1);
    else
      ::unsetenv("DISPLAY");
    std::string error;
    ::testing::internal::CaptureStderr();
    auto backend = CreateSdlBackend(&error);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(backend, nullptr);
    EXPECT_NE(error.find("no display available"), std::string::npos) << error;
  }
  if (display)
    ::setenv("DISPLAY", savedDisplay.c_str(), 1);
  else
    ::unsetenv("DISPLAY");
  if (runtime) ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
}

// A display named but not up yet (a session still starting) is waited for
// a moment: its server comes up 0.3 s after the program asked for it.
TEST(SdlBackendStart, ADisplayThatComesUpAMomentLaterIsWaitedFor) {
  if (!test::OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is needed";
  int display = 150;
  while (display < 250 && (std::filesystem::exists("/tmp/.X" + std::to_string(display) + "-lock") ||
                           std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(display))))
    ++display;
  const std::string name = ":" + std::to_string(display);
  const char* saved = std::getenv("DISPLAY");
  const std::string savedDisplay = saved ? saved : "";
  ::setenv("DISPLAY", name.c_str(), 1);
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  ::unsetenv("WAYLAND_DISPLAY");
  ::unsetenv("SDL_VIDEODRIVER");
  const pid_t server =
      Spawn({"sh", "-c", "sleep 0.3; exec Xvfb " + name + " -nolisten tcp -screen 0 320x200x24"});
  ASSERT_GT(server, 0);
  std::string error;
  auto backend = CreateSdlBackend(&error);
  EXPECT_NE(backend, nullptr) << error;
  backend.reset();
  ::kill(server, SIGTERM);
  WaitForExit(server, 5000);
  if (saved)
    ::setenv("DISPLAY", savedDisplay.c_str(), 1);
  else
    ::unsetenv("DISPLAY");
}

} // namespace
} // namespace zel::sys
