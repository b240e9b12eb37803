#include "tests/platform/user/UserTestSupport.h"

#include <filesystem>

namespace zel::sys::test {

Recorder& Rec() {
  static Recorder r;
  return r;
}

LRESULT CALLBACK_Record(HWND h, UINT m, WPARAM w, LPARAM l) {
  Recorder& r = Rec();
  if (!r.ignored.count(m)) r.log.push_back(Logged{h, m, w, l});
  auto it = r.handlers.find(h);
  if (it != r.handlers.end() && it->second) {
    const Handler handler = it->second; // it may remove itself
    if (auto res = handler(h, m, w, l)) return *res;
  } else if (r.anyWindow) {
    const Handler handler = r.anyWindow;
    if (auto res = handler(h, m, w, l)) return *res;
  }
  if (m == WM_PAINT) {
    auto pc = r.paint.find(h);
    if (pc != r.paint.end()) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT c;
      GetClientRect(h, &c);
      HBRUSH b = CreateSolidBrush(pc->second);
      FillRect(dc, c, b);
      DeleteObject(b);
      EndPaint(h, &ps);
      return 0;
    }
  }
  return DefWindowProc(h, m, w, l);
}

void EnsureClass(const WNDCLASS& wc) {
  WNDCLASS existing;
  if (!GetClassInfo(wc.lpszClassName, &existing)) {
    ASSERT_NE(RegisterClass(wc), 0);
  }
}

void UserTest::SetUp() {
  screen = &UseHeadlessBackend();
  Rec() = Recorder{};
  WNDCLASS wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = CALLBACK_Record;
  wc.lpszClassName = "Rec";
  EnsureClass(wc);
}

void UserTest::TearDown() {
  ResetWindowSystem();
  Rec() = Recorder{};
}

HWND UserTest::Make(DWORD style, RECT r, HWND parent, DWORD exStyle, const char* text) {
  return CreateWindowEx(exStyle, "Rec", text, style, r.left, r.top, r.Width(), r.Height(), parent);
}

HWND UserTest::MakeFrame(RECT r, const char* text, DWORD exStyle) {
  return Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, r, nullptr, exStyle, text);
}

std::vector<UINT> UserTest::MessagesOf(HWND h) const {
  std::vector<UINT> r;
  for (const Logged& l : Rec().log)
    if (!h || l.hwnd == h) r.push_back(l.msg);
  return r;
}

std::vector<std::pair<HWND, UINT>> UserTest::Only(std::initializer_list<UINT> which) const {
  std::vector<std::pair<HWND, UINT>> r;
  for (const Logged& l : Rec().log)
    for (UINT w : which)
      if (l.msg == w) r.emplace_back(l.hwnd, l.msg);
  return r;
}

std::string UserTest::PicturePath(const std::string& name) const {
  const std::filesystem::path dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

} // namespace zel::sys::test
