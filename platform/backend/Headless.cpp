#include "platform/backend/Headless.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/clock/Clock.h"
#include "platform/gdi/Png.h"
#include "platform/user/Input.h"
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

bool HeadlessBackend::SaveScreenArea(const RECT& area, const std::string& path) {
  const Surface& screen = ComposeScreen();
  RECT r{};
  const RECT bounds = screen.Bounds();
  if (!IntersectRect(r, area, bounds)) return false;
  Surface part(r.right - r.left, r.bottom - r.top);
  for (int y = r.top; y < r.bottom; ++y)
    std::copy_n(screen.Row(y) + r.left, part.Width(), part.Row(y - r.top));
  return WritePng(part, path);
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

namespace {

// The key that makes an ASCII letter, digit or space, else 0.
UINT KeyOfCharacter(std::string_view character) {
  if (character.size() != 1) return 0;
  const char c = character[0];
  if (c == ' ') return VK_SPACE;
  if (c >= 'a' && c <= 'z') return UINT(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return UINT(c);
  return 0;
}

// The UTF-8 text cut into characters (a character starts at every byte
// that is not a continuation byte).
std::vector<std::string_view> Characters(std::string_view utf8) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 1; i <= utf8.size(); ++i) {
    if (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    out.push_back(utf8.substr(start, i - start));
    start = i;
  }
  return out;
}

} // namespace

void HeadlessBackend::Type(std::string_view utf8) {
  const bool alt = (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
  const bool ctrl = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
  if (!alt || ctrl) {
    InputText(utf8);
    AfterInput();
    return;
  }
  // With Alt a character needs a key press: the window system makes the
  // system key messages of it and knows Alt was not pressed alone.
  for (std::string_view character : Characters(utf8)) {
    if (const UINT vk = KeyOfCharacter(character)) {
      InputKey(vk, true);
      InputKey(vk, false);
    } else {
      InputKey(VK_PACKET, true);
      InputText(character);
      InputKey(VK_PACKET, false);
    }
  }
  AfterInput();
}

HeadlessBackend& UseHeadlessBackend(SIZE screen) {
  auto backend = std::make_unique<HeadlessBackend>(screen);
  HeadlessBackend& ref = *backend;
  ResetWindowSystem(std::move(backend));
  return ref;
}

} // namespace zel::sys
