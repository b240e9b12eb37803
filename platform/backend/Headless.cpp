#include "platform/backend/Headless.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/clock/Clock.h"
#include "platform/gdi/Png.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/SystemParams.h"
#include "platform/user/Window.h"
#include "platform/user/WindowSystem.h"

namespace zel::sys {

HeadlessBackend::HeadlessBackend(SIZE screen)
    : screenSize_{std::max(1, int(screen.cx)), std::max(1, int(screen.cy))} {}

bool HeadlessBackend::WaitForInput(DWORD timeoutMs) {
  Clock& clock = ActiveClock();
  if (clock.IsVirtual()) {
    if (timeoutMs == INFINITE)
      throw std::runtime_error("headless backend: waiting for input that can never come");
    static_cast<VirtualClock&>(clock).Advance(timeoutMs);
    return false;
  }
  // A program run headless on the real clock simply idles.
  const DWORD ms = timeoutMs == INFINITE ? 100 : std::min<DWORD>(timeoutMs, 100);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  return false;
}

const Surface& HeadlessBackend::ComposeScreen() {
  stale_ = false;
  screen_.Resize(screenSize_.cx, screenSize_.cy,
                 PixelFromColorRef(GetSysColor(COLOR_BACKGROUND), 0xFF));
  std::vector<HWND> tops = TopLevelWindows();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    const Surface* s = GetWindowSurface(*it);
    RECT r;
    if (!s || !GetWindowRect(*it, &r)) continue;
    RECT vis;
    if (!IntersectRect(vis, r, screen_.Bounds())) continue;
    for (int y = vis.top; y < vis.bottom; ++y) {
      const int sy = y - r.top;
      if (sy >= s->Height()) break;
      const int x0 = vis.left, x1 = std::min<int>(vis.right, r.left + s->Width());
      if (x1 <= x0) continue;
      const Pixel* src = s->Row(sy) + (x0 - r.left);
      std::copy(src, src + (x1 - x0), screen_.Row(y) + x0);
    }
  }
  return screen_;
}

COLORREF HeadlessBackend::ScreenPixel(int x, int y) {
  const Surface& s = stale_ ? ComposeScreen() : screen_;
  if (!s.Contains(x, y)) return CLR_INVALID;
  return ColorRefFromPixel(s.At(x, y));
}

bool HeadlessBackend::SaveScreenshot(const std::string& path) {
  return WritePng(ComposeScreen(), path);
}

bool HeadlessBackend::SaveWindowShot(HWND topLevel, const std::string& path) const {
  const Surface* s = GetWindowSurface(topLevel);
  return s && WritePng(*s, path);
}

void HeadlessBackend::AfterInput() {
  if (autoPump_) PumpMessages();
}

void HeadlessBackend::MoveTo(int x, int y) {
  InputMouseMove(POINT{x, y});
  AfterInput();
}

void HeadlessBackend::Press(int x, int y, MouseButton button) {
  InputMouseMove(POINT{x, y});
  InputMouseButton(button, true, POINT{x, y});
  AfterInput();
}

void HeadlessBackend::Release(int x, int y, MouseButton button) {
  InputMouseMove(POINT{x, y});
  InputMouseButton(button, false, POINT{x, y});
  AfterInput();
}

void HeadlessBackend::Click(int x, int y, MouseButton button) {
  Press(x, y, button);
  Release(x, y, button);
}

void HeadlessBackend::DoubleClick(int x, int y, MouseButton button) {
  Click(x, y, button);
  Click(x, y, button);
}

void HeadlessBackend::Drag(int x0, int y0, int x1, int y1, int steps, MouseButton button) {
  steps = std::max(1, steps);
  Press(x0, y0, button);
  for (int i = 1; i <= steps; ++i)
    MoveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
  Release(x1, y1, button);
}

void HeadlessBackend::Wheel(int x, int y, int delta) {
  InputMouseWheel(delta, POINT{x, y});
  AfterInput();
}

void HeadlessBackend::KeyDown(UINT vk) {
  InputKey(vk, true);
  AfterInput();
}

void HeadlessBackend::KeyUp(UINT vk) {
  InputKey(vk, false);
  AfterInput();
}

void HeadlessBackend::Key(UINT vk) {
  KeyDown(vk);
  KeyUp(vk);
}

void HeadlessBackend::Type(std::string_view utf8) {
  InputText(utf8);
  AfterInput();
}

HeadlessBackend& UseHeadlessBackend(SIZE screen) {
  auto backend = std::make_unique<HeadlessBackend>(screen);
  HeadlessBackend& ref = *backend;
  ResetWindowSystem(std::move(backend));
  return ref;
}

} // namespace zel::sys
