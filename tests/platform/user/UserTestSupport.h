#pragma once
// A clean window system on the headless backend and the virtual clock for
// every test, and a window class that records the messages it gets.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/User.h"

namespace zel::sys::test {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

// A handler returns a result to answer the message itself, or nothing to
// pass it to DefWindowProc.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

struct Recorder {
  std::vector<Logged> log;
  std::map<HWND, Handler> handlers;
  Handler anyWindow; // for messages before the handle is known
  std::set<UINT> ignored{WM_SETCURSOR, WM_NCHITTEST, WM_GETMINMAXINFO, WM_GETTEXT,
                         WM_GETTEXTLENGTH};
  // Paint colours by window: WM_PAINT fills the client area with it.
  std::map<HWND, COLORREF> paint;
};

Recorder& Rec();
LRESULT CALLBACK_Record(HWND h, UINT m, WPARAM w, LPARAM l);
// Registers the class unless a class of that name is there already (classes
// outlive the resets between tests).
void EnsureClass(const WNDCLASS& wc);

class UserTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A window of the recording class ("Rec", CS_DBLCLKS, no background).
  HWND Make(DWORD style, RECT r, HWND parent = nullptr, DWORD exStyle = 0, const char* text = "");
  // A top-level overlapped window, visible.
  HWND MakeFrame(RECT r, const char* text = "Window", DWORD exStyle = 0);
  // Messages of one window (all windows for nullptr), without the ignored ones.
  std::vector<UINT> MessagesOf(HWND h = nullptr) const;
  // Only the messages in the list, in order, as (window, message) pairs.
  std::vector<std::pair<HWND, UINT>> Only(std::initializer_list<UINT> which) const;
  void ClearLog() { Rec().log.clear(); }
  void Pump() { PumpMessages(); }
  COLORREF Pixel(int x, int y) { return screen->ScreenPixel(x, y); }
  std::string PicturePath(const std::string& name) const;

  ScopedVirtualClock clock{10000};
  HeadlessBackend* screen = nullptr;
};

} // namespace zel::sys::test
