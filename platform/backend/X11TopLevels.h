#pragma once
// What the program tells the X server and its window manager about its
// top-level windows beyond what SDL says, and what it frees that SDL leaves
// behind:
//   - the kind of window (X11WindowKinds.h): its _NET_WM_WINDOW_TYPE, and
//     WM_TRANSIENT_FOR naming its owner's window, so that a window manager
//     keeps dialogs and floating bars above their owner as the window
//     system does;
//   - one window group for the whole program, led by a window that exists
//     (an unmapped one made for the purpose; SDL names an invented id);
//   - the program's icon on every window a window manager shows;
//   - the colormap SDL makes for every window and never frees: freed with
//     the window, so that windows that come and go (menus, hints, floating
//     forms) leave nothing behind at the server.
// Every call does nothing for a window that is not an X11 one.

#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
struct _XDisplay;

namespace zel::sys {

struct X11WindowHints;

class X11TopLevels {
public:
  X11TopLevels();
  ~X11TopLevels();
  X11TopLevels(const X11TopLevels&) = delete;
  X11TopLevels& operator=(const X11TopLevels&) = delete;

  // Before the window is first mapped: its type and group; a window that
  // carries the icon waits for GiveIcons.
  void Describe(SDL_Window* window, const X11WindowHints& hints);
  // Sets the program's icon on the windows described since the last call
  // (X11Icon.cpp); the backend calls it once a frame is on the screen.  The
  // icon is drawn at the first call, so the first frame never waits for it.
  void GiveIcons();
  // The window's title and icon name, after SDL's, which stores UTF-8 bytes
  // in WM_NAME as if they were Latin-1: Latin-1 text as STRING, other text
  // as compound text (UTF8_STRING where even that cannot hold it), and the
  // UTF-8 in _NET_WM_NAME and _NET_WM_ICON_NAME.
  void SetTitle(SDL_Window* window, const std::string& title);
  // Names the owner's window in WM_TRANSIENT_FOR (nullptr: removes it).
  void SetOwner(SDL_Window* window, SDL_Window* owner);
  // SDL_DestroyWindow, and the colormap SDL made for the window.
  void DestroyWindow(SDL_Window* window);
  // Frees the group leader; call before the video driver closes the display.
  void Close();

private:
  unsigned long AtomNamed(const char* name);
  void EnsureLeader(_XDisplay* display);

  _XDisplay* display_ = nullptr;
  unsigned long leader_ = 0;
  std::vector<unsigned long> iconPending_; // X windows described without their icon yet
  struct Atoms;
  std::unique_ptr<Atoms> atoms_;
};

} // namespace zel::sys
