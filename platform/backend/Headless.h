#pragma once
// The headless backend: a screen held in memory onto which every visible
// top-level window is composed in z-order, input injected in screen
// coordinates, and screenshots written as PNG.  Every test runs on it.

#include <optional>
#include <string>
#include <string_view>

#include "platform/backend/Backend.h"

namespace zel::sys {

class HeadlessBackend final : public Backend {
public:
  explicit HeadlessBackend(SIZE screen = SIZE{1280, 800});

  const char* Name() const override { return "headless"; }
  SIZE ScreenSize() const override { return screenSize_; }
  // The whole screen, unless a test set a panel's share aside.
  RECT WorkArea() const override {
    return workArea_ ? *workArea_ : RECT{0, 0, screenSize_.cx, screenSize_.cy};
  }
  void SetWorkArea(const RECT& area) { workArea_ = area; }
  // A screen with or without a task bar to bring minimised windows back.
  bool CanIconify() const override { return canIconify_; }
  void SetCanIconify(bool value) { canIconify_ = value; }
  // Every change marks the composed screen out of date.
  void WindowShown(HWND) override { stale_ = true; }
  void WindowHidden(HWND) override { stale_ = true; }
  void WindowMoved(HWND) override { stale_ = true; }
  void WindowDestroyed(HWND) override { stale_ = true; }
  void ZOrderChanged() override { stale_ = true; }
  void SurfaceChanged(HWND, const RECT&) override {
    ++surfaceChanges_;
    stale_ = true;
  }
  void Present() override { ++presents_; }
  void CursorShapeChanged(int cursorId) override { cursorShape_ = cursorId; }
  // On the virtual clock the wait lets the time pass at once; on the real
  // clock it sleeps.  Nothing ever arrives by itself, so an endless wait on
  // the virtual clock is a program error and throws.
  bool WaitForInput(DWORD timeoutMs) override;

  // ---- The screen ------------------------------------------------------------------
  // Composes the desktop colour and the visible top-level windows, back to front.
  const Surface& ComposeScreen();
  // Composes first when anything changed since the last composition (pixels
  // drawn through a window context count once the context is released).
  // CLR_INVALID off the screen.
  COLORREF ScreenPixel(int x, int y);
  bool SaveScreenshot(const std::string& path);
  bool SaveWindowShot(HWND topLevel, const std::string& path) const;
  // The composed screen inside area (clipped to the screen), pop-ups over
  // the window included.
  bool SaveScreenArea(const RECT& area, const std::string& path);

  // ---- Input, in screen coordinates ----------------------------------------------
  // Each call injects the events and then, with auto-pump on (the default),
  // handles every message they cause, as a person's separate actions would.
  void MoveTo(int x, int y);
  void Press(int x, int y, MouseButton button = MouseButton::Left);
  void Release(int x, int y, MouseButton button = MouseButton::Left);
  void Click(int x, int y, MouseButton button = MouseButton::Left);
  void DoubleClick(int x, int y, MouseButton button = MouseButton::Left);
  // Press at the start, move in steps to the end, release there.
  void Drag(int x0, int y0, int x1, int y1, int steps = 4, MouseButton button = MouseButton::Left);
  void Wheel(int x, int y, int delta);
  void KeyDown(UINT vk);
  void KeyUp(UINT vk);
  // A key goes down and up.  Keys type no text (except Enter, Tab,
  // Backspace, Escape and Ctrl letters, through TranslateMessage): text comes
  // from Type, as it comes from a real keyboard's text input.
  void Key(UINT vk);
  // Text as the keyboard's text input.  While Alt is held without Ctrl,
  // each character is typed as an Alt combination is, with a key of its own
  // between Alt's press and release: a Latin letter, a digit or a space
  // presses its key (WM_SYSKEYDOWN, then the WM_SYSCHAR the key makes, lower
  // case unless Shift is held); any other character comes as WM_SYSKEYDOWN of
  // VK_PACKET and a WM_SYSCHAR carrying the character.  Alt's release then
  // is not taken for Alt pressed alone.
  void Type(std::string_view utf8);
  void SetAutoPump(bool on) { autoPump_ = on; }

  int CursorShape() const { return cursorShape_; }
  int Presents() const { return presents_; }
  int SurfaceChanges() const { return surfaceChanges_; }

private:
  void AfterInput();

  SIZE screenSize_;
  std::optional<RECT> workArea_;
  Surface screen_;
  bool autoPump_ = true;
  bool canIconify_ = true;
  bool stale_ = true;
  int cursorShape_ = 0;
  int presents_ = 0;
  int surfaceChanges_ = 0;
};

// Resets the window system with a new headless backend and returns it (the
// window system owns it).
HeadlessBackend& UseHeadlessBackend(SIZE screen = SIZE{1280, 800});

} // namespace zel::sys
