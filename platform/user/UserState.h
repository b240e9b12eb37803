#pragma once
// The window system's own state, shared by its source files and by nothing
// else.  There is one GUI thread, one queue and one desktop, so the state is
// a single object.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"
#include "platform/user/Messages.h"

namespace zel::sys::detail {

struct WindowClassRec {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  ATOM atom = 0;
};

struct ScrollBarState {
  int min = 0;
  int max = 100;
  int page = 0;
  int pos = 0;
  int trackPos = 0;
  bool disabled = false;
};

struct Window {
  HWND handle = nullptr;
  const WindowClassRec* cls = nullptr;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;
  Window* parent = nullptr;      // the desktop for a top-level window
  HWND owner = nullptr;          // top-level windows only; may go stale
  HWND activeBefore = nullptr;   // the window its activation took over from; may go stale
  std::vector<Window*> children; // front of the z-order first
  RECT rect{};                   // window rectangle in the parent's client coordinates
  RECT client{};                 // client rectangle in window coordinates
  UINT_PTR id = 0;
  LONG_PTR userData = 0;

  // Top-level windows own the surface that they and their children paint.
  Surface surface;

  // Painting state.  The update region is in window coordinates and only
  // ever covers the client area; the frame is tracked by ncDirty.
  Region update;
  bool erase = false;
  bool ncDirty = false;
  bool internalPaint = false;

  bool noRedraw = false;      // WM_SETREDRAW FALSE: nothing of it is painted
  bool captionActive = false; // the frame is drawn as active (WM_NCACTIVATE)
  bool alive = true;
  bool destroying = false;
  RECT normalRect{}; // the restored rectangle while minimised or maximised
  bool restoreToMaximized = false;
  ScrollBarState scroll[2];  // SB_HORZ, SB_VERT
  LRESULT pressedButton = 0; // caption button pressed by the mouse (HT code), for drawing

  bool IsChild() const { return (style & WS_CHILD) != 0; }
  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  bool Enabled() const { return (style & WS_DISABLED) == 0; }
};

// A mouse or keyboard event as the backend reported it; it becomes a message
// only when it is taken from the queue, so that it meets the state (capture,
// windows, hit tests) left by the messages before it.
struct RawInput {
  // Unnamed: a key pressed that the backend could give no virtual key.
  enum Kind { Move, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp, Char, ButtonsLost, Unnamed } kind =
      Move;
  POINT pt{};
  int button = 0; // 0 left, 1 right, 2 middle
  int wheel = 0;
  UINT vk = 0;
  char32_t ch = 0;
  WPARAM mouseKeys = 0; // MK_* after the event
  bool alt = false;
  bool ctrl = false;
  bool repeat = false;
  DWORD time = 0;
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  uint64_t due = 0;
  uint64_t serial = 0; // creation order, to break ties between equal due times
  TIMERPROC proc;
  bool hasProc = false;
};

// The moving and sizing the default window procedure does for a caption
// drag or a frame drag, and the pressing of a caption button.  It runs off
// the captured mouse, so it works the same with injected input.
struct Tracking {
  enum Mode { None, Move, Size, Button, Scroll } mode = None;
  HWND hwnd = nullptr;
  LRESULT hit = 0;   // sizing edge, or the button's HT code
  POINT start{};     // screen position of the press
  RECT startRect{};  // window rectangle (parent coordinates) at the press
  bool over = false; // the cursor is over the pressed button
  int bar = 0;       // Scroll: SB_HORZ or SB_VERT
  int part = 0;      // Scroll: the ScrollPart pressed
  int grab = 0;      // Scroll: where in the thumb the mouse took it
  // Move and Size started from the keyboard (see KeyTracking.cpp).
  bool keyboard = false;
  int sides = 0;     // Size: the edges the arrows picked (KeySide bits)
  POINT offset{};    // how far the arrows and the mouse have taken it
  POINT lastMouse{}; // where the pointer was at its last motion
};

struct MouseLeaveTracking {
  HWND hwnd = nullptr;
  DWORD flags = 0; // TME_LEAVE, TME_NONCLIENT, TME_HOVER
  uint64_t hoverDue = 0;
  DWORD hoverTime = 0;
};

struct ClickMemory {
  HWND hwnd = nullptr;
  UINT message = 0; // the button-down message of the last click
  DWORD time = 0;
  POINT pt{};
  bool valid = false;
};

struct UserState {
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
  // Destroyed windows stay allocated until no window procedure is running,
  // so a pointer held across a message never dangles.
  std::vector<std::unique_ptr<Window>> graveyard;
  uintptr_t nextId = 0x10000;
  std::map<std::string, std::unique_ptr<WindowClassRec>> classes; // by lower-case name
  ATOM nextAtom = 0xC000;
  Window* desktop = nullptr;
  int procDepth = 0;

  std::deque<MSG> posted;
  std::deque<RawInput> input;
  std::deque<MSG> routed; // input already turned into messages (by PeekMessage without removing)
  bool quitPending = false;
  int quitCode = 0;

  std::vector<Timer> timers;
  uint64_t timerSerial = 0;
  UINT_PTR nextTimerId = 0x7FFF0000;

  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  bool appActive = false;
  bool sessionEnding = false; // InputEndSession came: later requests are the same one

  POINT cursor{};
  BYTE asyncKeys[256] = {};
  BYTE syncKeys[256] = {};
  HCURSOR cursorShape = nullptr;
  bool altAlone = false; // Alt went down and no other key since
  std::function<void(HWND)> pressObserver; // see SetPressObserver

  MouseLeaveTracking leave;
  HWND lastMouseWnd = nullptr;
  LRESULT lastMouseHit = 0;
  ClickMemory lastClick;
  Tracking tracking;

  MSG current{}; // the last message taken from the queue
  std::vector<DC*> windowDCs;
  std::unique_ptr<Backend> backend;
  SIZE screen{1280, 800};
  int defaultPlacement = 0; // staggers CW_USEDEFAULT positions
};

UserState& U();

// Handle lookup; nullptr for stale or foreign handles.
Window* Find(HWND h);
Window* TopLevelOf(Window* w);
bool IsTopLevel(const Window* w);

// The part of the screen that windows may cover (the backend's work area,
// kept within the screen; the whole screen when that leaves nothing).
RECT WorkArea();

// Rectangles in other coordinate systems.
RECT WindowRectOnScreen(const Window* w);
POINT ClientOriginOnScreen(const Window* w);
// The window's corner in its top-level window's coordinates (surface coordinates).
POINT OriginInTop(const Window* w);
bool IsDrawable(const Window* w); // it and all its ancestors are visible

// Frees the graveyard when no window procedure runs.
void CollectGarbage();

// Calls the window procedure, counting the depth of calls.
LRESULT CallProc(Window* w, UINT msg, WPARAM wp, LPARAM lp);

// Painting helpers (Paint.cpp).
void InvalidateWindowArea(Window* w, const RECT& windowRect, bool erase, bool frame);
void InvalidateTree(Window* parent, const RECT& parentClientRect);
void InvalidateWhole(Window* w);
Region VisibleRegion(const Window* w, bool clientOnly);
bool AnyPaintPending();
bool TakePaintMessage(MSG& msg, HWND filter);
int BeginPaintCount();
void ValidateAfterUnpaintedPaint(HWND h);
void ForgetWindowDCs(const Window* w);

// Non-client geometry and default handling (NonClient.cpp).
struct NcGeometry {
  int frame = 0;      // frame thickness on each side
  int edge = 0;       // client edge inside the frame
  int caption = 0;    // caption height including its bottom line; 0 without caption
  bool small = false; // tool window caption
  RECT captionBar{};  // window coordinates
  RECT closeBtn{}, maxBtn{}, minBtn{}, sysIcon{};
  RECT hScroll{}, vScroll{}, sizeBox{}; // window coordinates; empty without the bar
};
NcGeometry ComputeNcGeometry(DWORD style, DWORD exStyle, int width, int height);
RECT DefaultClientRect(DWORD style, DWORD exStyle, const RECT& windowRect);
LRESULT DefaultHitTest(Window* w, POINT screen);
void PaintDefaultFrame(Window* w);
void StartTracking(Window* w, Tracking::Mode mode, LRESULT hit, POINT screen);
// Feeds a mouse event to an active move, size or button press; true when it was consumed.
bool TrackingMouse(const RawInput& in);
void CancelTracking(bool restore);
// Moves the tracked window, or its tracked edges, as a pointer at pt
// (screen) would take them from the press at t.start.
void FollowPointer(const Tracking& t, Window* w, POINT pt);
// Keyboard moving and sizing (KeyTracking.cpp).
void StartKeyTracking(Window* w, Tracking::Mode mode);
// Feeds an input event to a move or size the keyboard started; true when
// it was consumed (every event is, while it runs).
bool KeyTrackingInput(const RawInput& in);

// Shared drawing of the non-client parts.
void FillSysColor(HDC dc, const RECT& r, int colorIndex);
void DrawButtonBox(HDC dc, const RECT& r, bool pressed);

// Scroll bars (ScrollBar.cpp).
enum ScrollPart { SP_NONE, SP_LINEUP, SP_PAGEUP, SP_THUMB, SP_PAGEDOWN, SP_LINEDOWN };
void PaintScrollBars(Window* w, HDC windowDc, const NcGeometry& g);
void StartScrollTracking(Window* w, int bar, POINT screen);
bool ScrollTrackingMouse(const RawInput& in);
void EndScrollTracking();

// Activation and focus (Input.cpp).
void ActivateWindow(Window* w, bool byMouse);
void ActivateNextAfter(Window* leaving);
void WindowGoingAway(Window* w);
bool TakeInputMessage(MSG& msg);

// The caret (Caret.cpp) comes off the window while it paints.
void CaretPaintBegins(HWND hwnd);
void CaretPaintEnds(HWND hwnd);
void CaretOwnerGoingAway(HWND hwnd);

// Timers (Timers.cpp).
bool TakeTimerMessage(MSG& msg, HWND filter, bool remove);
bool CallTimerProc(const MSG& msg);
bool TimerExists(HWND h, UINT_PTR id);
void KillWindowTimers(HWND h);
std::optional<uint64_t> NextTimerDue();

// Geometry changes (Window.cpp).
void RecalcClient(HWND h);
constexpr int kMaxTopLevelExtent = 8192;
// A width or height clamped to what a window of its kind may have.
int WindowExtent(const Window* w, int size);
bool OnScreen(const Window* w);
void ApplyZOrder(Window* w, HWND after);
void NotifyBackendGeometry(Window* w, bool sizeChanged, bool moved);

} // namespace zel::sys::detail
