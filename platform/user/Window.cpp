// Windows: the registry of handles, classes, creation and destruction, the
// tree and z-order, rectangles, SetWindowPos and ShowWindow.

#include "platform/user/Window.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/LastError.h"
#include "platform/user/Input.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemParams.h"
#include "platform/user/UserState.h"
#include "platform/user/WindowSystem.h"

namespace zel::sys {

constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;

namespace detail {

namespace {

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

void MakeDesktop(UserState& u) {
  auto d = std::make_unique<Window>();
  d->handle = HwndFromId(u.nextId);
  u.nextId += 4;
  d->style = WS_VISIBLE;
  d->rect = RECT{0, 0, u.screen.cx, u.screen.cy};
  d->client = d->rect;
  u.desktop = d.get();
  u.windows[IdFromHwnd(d->handle)] = std::move(d);
}

} // namespace

UserState& U() {
  static UserState state;
  if (!state.desktop) MakeDesktop(state);
  return state;
}

Window* Find(HWND h) {
  if (!h) return nullptr;
  auto& u = U();
  auto it = u.windows.find(IdFromHwnd(h));
  return it == u.windows.end() ? nullptr : it->second.get();
}

bool IsTopLevel(const Window* w) {
  return w && w->parent == U().desktop;
}

Window* TopLevelOf(Window* w) {
  while (w && w->parent && w->parent != U().desktop)
    w = w->parent;
  return w;
}

POINT ClientOriginOnScreen(const Window* w) {
  if (!w || !w->parent) return POINT{};
  POINT p = ClientOriginOnScreen(w->parent);
  return POINT{p.x + w->rect.left + w->client.left, p.y + w->rect.top + w->client.top};
}

RECT WorkArea() {
  const auto& u = U();
  const RECT screen{0, 0, u.screen.cx, u.screen.cy};
  RECT area{};
  if (!u.backend || !IntersectRect(area, u.backend->WorkArea(), screen)) return screen;
  return area;
}

RECT WindowRectOnScreen(const Window* w) {
  if (!w || !w->parent) return w ? w->rect : RECT{};
  POINT p = ClientOriginOnScreen(w->parent);
  RECT r = w->rect;
  OffsetRect(r, p.x, p.y);
  return r;
}

POINT OriginInTop(const Window* w) {
  if (!w || !w->parent || IsTopLevel(w)) return POINT{};
  POINT p = OriginInTop(w->parent);
  return POINT{p.x + w->parent->client.left + w->rect.left,
               p.y + w->parent->client.top + w->rect.top};
}

bool IsDrawable(const Window* w) {
  for (; w; w = w->parent)
    if (!w->Visible()) return false;
  return true;
}

LRESULT CallProc(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
  auto& u = U();
  HWND h = w->handle;
  WNDPROC proc = w->proc;
  struct Depth {
    int& d;
    explicit Depth(int& x) : d(x) { ++d; }
    ~Depth() { --d; }
  } depth(u.procDepth);
  return proc ? proc(h, msg, wp, lp) : DefWindowProc(h, msg, wp, lp);
}

void CollectGarbage() {
  auto& u = U();
  if (u.procDepth == 0) u.graveyard.clear();
}

// Places w in its parent's z-order right after `after` (or at the special
// places).  Top-level windows keep the topmost ones in front of the others,
// and owned windows in front of their owner.
void ApplyZOrder(Window* w, HWND after) {
  auto& sib = w->parent->children;
  auto old = std::find(sib.begin(), sib.end(), w);
  if (old == sib.end()) return;
  sib.erase(old);
  const bool top = IsTopLevel(w);
  auto firstNormal = [&] {
    size_t i = 0;
    while (i < sib.size() && (sib[i]->exStyle & WS_EX_TOPMOST))
      ++i;
    return i;
  };
  size_t pos = 0;
  bool movedToTop = false;
  if (after == HWND_TOPMOST) {
    if (top) w->exStyle |= WS_EX_TOPMOST;
    pos = 0;
    movedToTop = true;
  } else if (after == HWND_NOTOPMOST) {
    if (top) w->exStyle &= ~WS_EX_TOPMOST;
    pos = top ? firstNormal() : 0;
    movedToTop = true;
  } else if (after == HWND_TOP) {
    pos = (top && !(w->exStyle & WS_EX_TOPMOST)) ? firstNormal() : 0;
    movedToTop = true;
  } else if (after == HWND_BOTTOM) {
    if (top) w->exStyle &= ~WS_EX_TOPMOST;
    pos = sib.size();
  } else {
    Window* a = Find(after);
    auto it = a ? std::find(sib.begin(), sib.end(), a) : sib.end();
    if (it == sib.end()) {
      pos = top && !(w->exStyle & WS_EX_TOPMOST) ? firstNormal() : 0;
    } else {
      pos = size_t(it - sib.begin()) + 1;
      if (top) {
        // Going behind a normal window costs a topmost window its status;
        // a normal window cannot go among the topmost ones.
        if (!(a->exStyle & WS_EX_TOPMOST))
          w->exStyle &= ~WS_EX_TOPMOST;
        else if (!(w->exStyle & WS_EX_TOPMOST))
          pos = std::max(pos, firstNormal());
      }
    }
  }
  sib.insert(sib.begin() + std::ptrdiff_t(pos), w);
  if (!top || !movedToTop) return;
  // Owned windows stay in front of their owner: lift them, keeping their order.
  std::vector<Window*> owned;
  for (Window* s : sib) {
    for (Window* o = Find(s->owner); o; o = Find(o->owner))
      if (o == w) {
        owned.push_back(s);
        break;
      }
  }
  if (owned.empty()) return;
  for (Window* o : owned)
    sib.erase(std::find(sib.begin(), sib.end(), o));
  auto at = std::find(sib.begin(), sib.end(), w);
  sib.insert(at, owned.begin(), owned.end());
}

// Asks the window for its client rectangle through WM_NCCALCSIZE.
void RecalcClient(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  NCCALCSIZE_PARAMS p;
  p.rgrc[0] = w->rect;
  p.rgrc[1] = w->rect;
  p.rgrc[2] = w->rect;
  SendMessage(h, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&p));
  w = Find(h);
  if (!w) return;
  RECT c = p.rgrc[0];
  OffsetRect(c, -w->rect.left, -w->rect.top);
  const int W = w->rect.Width(), H = w->rect.Height();
  c.left = std::clamp(c.left, 0, W);
  c.top = std::clamp(c.top, 0, H);
  c.right = std::clamp(c.right, c.left, W);
  c.bottom = std::clamp(c.bottom, c.top, H);
  w->client = c;
}

int WindowExtent(const Window* w, int size) {
  // A top-level window owns a surface of its size; an absurd size must not
  // make an absurd allocation.
  return std::clamp(size, 0, IsTopLevel(w) ? kMaxTopLevelExtent : (1 << 24));
}

bool OnScreen(const Window* w) {
  return IsTopLevel(w) && w->Visible() && !(w->style & WS_MINIMIZE);
}

} // namespace detail

using namespace detail;

namespace {

void SendDestroyMessages(HWND h) {
  SendMessage(h, WM_DESTROY, 0, 0);
  Window* w = Find(h);
  if (!w) return;
  std::vector<HWND> kids;
  for (Window* c : w->children)
    kids.push_back(c->handle);
  for (HWND k : kids) {
    if (Window* c = Find(k)) c->destroying = true;
    SendDestroyMessages(k);
  }
}

// Children first, then the window itself: WM_NCDESTROY is the last message a
// window gets, after which its handle is stale.
void FinalDestroy(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  std::vector<HWND> kids;
  for (Window* c : w->children)
    kids.push_back(c->handle);
  for (HWND k : kids)
    FinalDestroy(k);
  w = Find(h);
  if (!w) return;
  KillWindowTimers(h);
  SendMessage(h, WM_NCDESTROY, 0, 0);
  w = Find(h);
  if (!w) return;
  auto& u = U();
  WindowGoingAway(w);
  const bool top = IsTopLevel(w);
  if (w->parent) {
    auto& sib = w->parent->children;
    sib.erase(std::remove(sib.begin(), sib.end(), w), sib.end());
  }
  w->alive = false;
  ForgetWindowDCs(w);
  auto it = u.windows.find(IdFromHwnd(h));
  u.graveyard.push_back(std::move(it->second));
  u.windows.erase(it);
  if (top && u.backend) u.backend->WindowDestroyed(h);
}

} // namespace

// ---- Classes -------------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS& wc) {
  auto& u = U();
  const std::string key = Lower(wc.lpszClassName);
  if (key.empty() || u.classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_unique<WindowClassRec>();
  c->name = wc.lpszClassName;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  c->atom = u.nextAtom++;
  const ATOM atom = c->atom;
  u.classes[key] = std::move(c);
  return atom;
}

BOOL UnregisterClass(std::string_view name) {
  auto& u = U();
  auto it = u.classes.find(Lower(name));
  if (it == u.classes.end()) return 0;
  for (auto& [id, w] : u.windows)
    if (w->cls == it->second.get()) return 0; // still in use
  u.classes.erase(it);
  return 1;
}

BOOL GetClassInfo(std::string_view name, WNDCLASS* wc) {
  auto& u = U();
  auto it = u.classes.find(Lower(name));
  if (it == u.classes.end() || !wc) return 0;
  wc->style = it->second->style;
  wc->lpfnWndProc = it->second->proc;
  wc->hCursor = it->second->cursor;
  wc->hbrBackground = it->second->background;
  wc->lpszClassName = it->second->name;
  return 1;
}

std::string GetClassName(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->cls ? w->cls->name : std::string();
}

// ---- Creation and destruction ----------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, std::string_view className, std::string_view windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    UINT_PTR menuOrId, void* param) {
  auto& u = U();
  CollectGarbage();
  auto cit = u.classes.find(Lower(className));
  if (cit == u.classes.end()) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Window* parentW = u.desktop;
  HWND owner = nullptr;
  if (style & WS_CHILD) {
    parentW = Find(parent);
    if (!parentW) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
  } else {
    style |= WS_CLIPSIBLINGS;
    if (!(style & WS_POPUP)) style |= WS_CAPTION; // an overlapped window always has a caption
    if (parent) {
      Window* o = Find(parent);
      if (!o) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      if (o != u.desktop) owner = TopLevelOf(o)->handle;
    }
  }
  if (x == CW_USEDEFAULT) {
    const int step = 26 * (u.defaultPlacement++ % 10);
    x = 40 + step;
    y = 40 + step;
  }
  if (width == CW_USEDEFAULT) {
    width = u.screen.cx * 3 / 5;
    height = u.screen.cy * 3 / 5;
  }

  auto owned = std::make_unique<Window>();
  Window* w = owned.get();
  w->handle = HwndFromId(u.nextId);
  u.nextId += 4;
  w->cls = cit->second.get();
  w->proc = w->cls->proc;
  w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  w->exStyle = exStyle;
  w->parent = parentW;
  w->owner = owner;
  w->id = menuOrId;
  w->rect = RECT{x, y, x + WindowExtent(w, width), y + WindowExtent(w, height)};
  w->normalRect = w->rect;
  if (IsTopLevel(w)) w->surface.Resize(w->rect.Width(), w->rect.Height(), 0xFFFFFFFF);
  w->client = DefaultClientRect(w->style, exStyle, w->rect);
  OffsetRect(w->client, -w->rect.left, -w->rect.top);
  const HWND h = w->handle;
  u.windows[IdFromHwnd(h)] = std::move(owned);
  if (IsTopLevel(w)) {
    parentW->children.push_back(w);
    ApplyZOrder(w, HWND_TOP);
  } else {
    parentW->children.push_back(w); // a new child starts at the bottom
  }

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = style;
  cs.lpszName = std::string(windowName);
  cs.lpszClass = std::string(className);
  cs.dwExStyle = exStyle;
  const LPARAM csParam = reinterpret_cast<LPARAM>(&cs);

  if (IsTopLevel(w)) {
    MINMAXINFO mmi;
    mmi.ptMaxSize = POINT{u.screen.cx, u.screen.cy};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = POINT{u.screen.cx, u.screen.cy};
    SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  }
  if (!Find(h)) return nullptr;
  if (!SendMessage(h, WM_NCCREATE, 0, csParam)) {
    FinalDestroy(h);
    return nullptr;
  }
  RecalcClient(h);
  if (!Find(h)) return nullptr;
  if (SendMessage(h, WM_CREATE, 0, csParam) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  w = Find(h);
  if (!w) return nullptr;
  SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client.Width(), w->client.Height()));
  if ((w = Find(h)) == nullptr) return nullptr;
  SendMessage(h, WM_MOVE, 0,
              MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
  if (!Find(h)) return nullptr;
  if (style & WS_MAXIMIZE)
    ShowWindow(h, (style & WS_VISIBLE) ? SW_SHOWMAXIMIZED : SW_MAXIMIZE);
  else if (style & WS_MINIMIZE)
    ShowWindow(h, SW_SHOWMINNOACTIVE);
  else if (style & WS_VISIBLE)
    ShowWindow(h, SW_SHOW);
  if ((style & (WS_MAXIMIZE | WS_MINIMIZE)) && !(style & WS_VISIBLE)) ShowWindow(h, SW_HIDE);
  return Find(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  auto& u = U();
  Window* w = Find(hwnd);
  if (!w || w == u.desktop) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (w->destroying) return 1;
  w->destroying = true;
  // Owned windows go first, each with its whole destruction.
  if (IsTopLevel(w)) {
    std::vector<HWND> owned;
    for (Window* s : u.desktop->children)
      if (s->owner == hwnd) owned.push_back(s->handle);
    for (HWND o : owned)
      DestroyWindow(o);
  }
  if (!Find(hwnd)) return 1;
  if (Find(hwnd)->Visible())
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (u.active == hwnd) ActivateNextAfter(Find(hwnd));
  if (u.capture && (u.capture == hwnd || IsChild(hwnd, u.capture))) ReleaseCapture();
  if (u.focus && (u.focus == hwnd || IsChild(hwnd, u.focus))) u.focus = nullptr;
  SendDestroyMessages(hwnd);
  FinalDestroy(hwnd);
  return 1;
}

BOOL IsWindow(HWND hwnd) {
  return Find(hwnd) != nullptr;
}

// ---- Procedures and values ---------------------------------------------------------

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return DefWindowProc(hwnd, msg, wParam, lParam);
  return proc(hwnd, msg, wParam, lParam);
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (index) {
  case GWLP_WNDPROC:
    return reinterpret_cast<LONG_PTR>(w->proc);
  case GWLP_HWNDPARENT:
    return reinterpret_cast<LONG_PTR>(IsTopLevel(w) ? w->owner : w->parent->handle);
  case GWL_STYLE:
    return LONG_PTR(LONG(w->style));
  case GWL_EXSTYLE:
    return LONG_PTR(LONG(w->exStyle));
  case GWLP_USERDATA:
    return w->userData;
  case GWLP_ID:
    return LONG_PTR(w->id);
  default:
    return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  const LONG_PTR old = GetWindowLongPtr(hwnd, index);
  switch (index) {
  case GWLP_WNDPROC:
    w->proc = reinterpret_cast<WNDPROC>(value);
    break;
  case GWL_STYLE: {
    // Visibility and the enabled state keep their own calls' bookkeeping.
    const DWORD keep = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | WS_CHILD;
    w->style = (w->style & keep) | (DWORD(value) & ~keep);
    break;
  }
  case GWL_EXSTYLE:
    w->exStyle = DWORD(value);
    break;
  case GWLP_USERDATA:
    w->userData = value;
    break;
  case GWLP_ID:
    w->id = UINT_PTR(value);
    break;
  case GWLP_HWNDPARENT:
    if (IsTopLevel(w)) w->owner = reinterpret_cast<HWND>(value);
    break;
  default:
    return 0;
  }
  return old;
}

// ---- Text ----------------------------------------------------------------------

BOOL SetWindowText(HWND hwnd, std::string_view text) {
  if (!Find(hwnd)) return 0;
  const std::string s(text);
  return BOOL(SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str())));
}

int GetWindowTextLength(HWND hwnd) {
  if (!Find(hwnd)) return 0;
  return int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int GetWindowText(HWND hwnd, char* buffer, int size) {
  if (!Find(hwnd) || !buffer || size <= 0) return 0;
  return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(buffer)));
}

std::string GetWindowText(HWND hwnd) {
  const int n = GetWindowTextLength(hwnd);
  if (n <= 0) return {};
  std::string s(size_t(n) + 1, '\0');
  const int got = GetWindowText(hwnd, s.data(), n + 1);
  s.resize(size_t(std::clamp(got, 0, n)));
  return s;
}

// ---- Tree and z-order ------------------------------------------------------------

HWND GetDesktopWindow() {
  return U().desktop->handle;
}

HWND GetParent(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || w == U().desktop) return nullptr;
  if (IsTopLevel(w)) return Find(w->owner) ? w->owner : nullptr;
  return w->parent->handle;
}

HWND SetParent(HWND hwnd, HWND newParent) {
  auto& u = U();
  Window* w = Find(hwnd);
  if (!w || w == u.desktop) return nullptr;
  Window* np = newParent ? Find(newParent) : u.desktop;
  if (!np) return nullptr;
  for (Window* a = np; a; a = a->parent)
    if (a == w) return nullptr; // a window cannot go inside itself
  Window* oldParent = w->parent;
  const HWND oldHandle = oldParent == u.desktop ? u.desktop->handle : oldParent->handle;
  const bool wasVisible = IsDrawable(w);
  if (wasVisible && !IsTopLevel(w)) InvalidateTree(oldParent, w->rect);
  const bool wasTop = IsTopLevel(w);
  auto& sib = oldParent->children;
  sib.erase(std::remove(sib.begin(), sib.end(), w), sib.end());
  w->parent = np;
  np->children.insert(np->children.begin(), w);
  if (np == u.desktop) {
    w->style &= ~WS_CHILD;
    w->surface.Resize(w->rect.Width(), w->rect.Height(), 0xFFFFFFFF);
    ApplyZOrder(w, HWND_TOP);
  } else {
    w->style |= WS_CHILD;
    if (wasTop) {
      if (u.backend) u.backend->WindowHidden(hwnd);
      w->surface = Surface();
      ForgetWindowDCs(w);
      if (u.active == hwnd) ActivateNextAfter(w);
    }
  }
  InvalidateWhole(w);
  if (IsTopLevel(w) && OnScreen(w) && u.backend) u.backend->WindowShown(hwnd);
  return oldHandle;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = Find(hwnd);
  if (!w || w == U().desktop) return nullptr;
  switch (flags) {
  case GA_PARENT:
    return w->parent->handle;
  case GA_ROOT:
    return TopLevelOf(w)->handle;
  case GA_ROOTOWNER: {
    Window* r = TopLevelOf(w);
    while (Window* o = Find(r->owner))
      r = o;
    return r->handle;
  }
  default:
    return nullptr;
  }
}

HWND GetWindow(HWND hwnd, UINT relation) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (relation == GW_OWNER) return IsTopLevel(w) && Find(w->owner) ? w->owner : nullptr;
  if (!w->parent) return nullptr;
  const auto& sib = w->parent->children;
  auto it = std::find(sib.begin(), sib.end(), w);
  switch (relation) {
  case GW_HWNDFIRST:
    return sib.front()->handle;
  case GW_HWNDLAST:
    return sib.back()->handle;
  case GW_HWNDNEXT:
    return (it + 1) == sib.end() ? nullptr : (*(it + 1))->handle;
  case GW_HWNDPREV:
    return it == sib.begin() ? nullptr : (*(it - 1))->handle;
  default:
    return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD);
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* p = Find(parent);
  Window* w = Find(hwnd);
  if (!p || !w) return 0;
  for (Window* a = w->parent; a && a != U().desktop; a = a->parent)
    if (a == p) return 1;
  return 0;
}

std::vector<HWND> GetChildWindows(HWND hwnd) {
  std::vector<HWND> r;
  if (Window* w = Find(hwnd))
    for (Window* c : w->children)
      r.push_back(c->handle);
  return r;
}

BOOL EnumWindows(const std::function<bool(HWND)>& fn) {
  for (HWND h : GetChildWindows(GetDesktopWindow()))
    if (IsWindow(h) && !fn(h)) return 0;
  return 1;
}

namespace {
void CollectDescendants(Window* w, std::vector<HWND>& out) {
  for (Window* c : w->children) {
    out.push_back(c->handle);
    CollectDescendants(c, out);
  }
}
} // namespace

BOOL EnumChildWindows(HWND parent, const std::function<bool(HWND)>& fn) {
  Window* p = Find(parent);
  if (!p) return 0;
  std::vector<HWND> all;
  CollectDescendants(p, all);
  for (HWND h : all)
    if (IsWindow(h) && !fn(h)) return 0;
  return 1;
}

// ---- State -----------------------------------------------------------------------

BOOL IsWindowVisible(HWND hwnd) {
  return IsDrawable(Find(hwnd));
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->Enabled();
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  auto& u = U();
  Window* w = Find(hwnd);
  if (!w) return 0;
  const BOOL wasDisabled = !w->Enabled();
  if (bool(enable) == !wasDisabled) return wasDisabled;
  if (enable)
    w->style &= ~WS_DISABLED;
  else {
    w->style |= WS_DISABLED;
    // A disabled window cannot hold the focus or the mouse.
    if (u.focus == hwnd || IsChild(hwnd, u.focus)) SetFocus(nullptr);
    if (u.capture == hwnd) ReleaseCapture();
  }
  if (Find(hwnd)) SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

BOOL IsIconic(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

// ---- Geometry ----------------------------------------------------------------------

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return 0;
  *rect = WindowRectOnScreen(w);
  return 1;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return 0;
  *rect = RECT{0, 0, w->client.Width(), w->client.Height()};
  return 1;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return 0;
  const NcGeometry g = ComputeNcGeometry(style, exStyle, 1000, 1000);
  const int side = g.frame + g.edge;
  rect->left -= side;
  rect->right += side;
  rect->top -= side + g.caption + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
  rect->bottom += side;
  return 1;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
  Window* w = Find(hwnd);
  if (!w || !pt) return 0;
  const POINT o = ClientOriginOnScreen(w);
  pt->x += o.x;
  pt->y += o.y;
  return 1;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
  Window* w = Find(hwnd);
  if (!w || !pt) return 0;
  const POINT o = ClientOriginOnScreen(w);
  pt->x -= o.x;
  pt->y -= o.y;
  return 1;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  Window* f = from ? Find(from) : U().desktop;
  Window* t = to ? Find(to) : U().desktop;
  if (!f || !t) return 0;
  const POINT a = ClientOriginOnScreen(f), b = ClientOriginOnScreen(t);
  const int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return int(LOWORD(uintptr_t(WORD(dx)))) | (int(WORD(dy)) << 16);
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPt) {
  Window* p = Find(parent);
  if (!p) return nullptr;
  if (!PtInRect(RECT{0, 0, p->client.Width(), p->client.Height()}, clientPt)) {
    const RECT wr{-p->client.left, -p->client.top, p->rect.Width() - p->client.left,
                  p->rect.Height() - p->client.top};
    return PtInRect(wr, clientPt) ? parent : nullptr;
  }
  for (Window* c : p->children)
    if (c->Visible() && PtInRect(c->rect, clientPt)) return c->handle;
  return parent;
}

// ---- The whole system ----------------------------------------------------------

void ResetWindowSystem(std::unique_ptr<Backend> backend) {
  auto& u = U();
  // Destroy front to back until none is left; a window procedure may create
  // or destroy others while it goes.
  for (int guard = 0; guard < 100000 && !u.desktop->children.empty(); ++guard)
    DestroyWindow(u.desktop->children.front()->handle);
  u.posted.clear();
  u.input.clear();
  u.routed.clear();
  u.quitPending = false;
  u.timers.clear();
  u.active = u.focus = u.capture = nullptr;
  u.appActive = false;
  std::memset(u.asyncKeys, 0, sizeof u.asyncKeys);
  std::memset(u.syncKeys, 0, sizeof u.syncKeys);
  u.leave = {};
  u.lastMouseWnd = nullptr;
  u.lastClick = {};
  u.tracking = {};
  u.current = {};
  u.cursor = {};
  u.defaultPlacement = 0;
  // Classes stay registered: code that registers its classes once per
  // program keeps working across resets.
  SetDoubleClickTime(0);
  u.backend = std::move(backend);
  u.screen = u.backend ? u.backend->ScreenSize() : SIZE{1280, 800};
  u.desktop->rect = RECT{0, 0, u.screen.cx, u.screen.cy};
  u.desktop->client = u.desktop->rect;
  CollectGarbage();
}

} // namespace zel::sys
