// MDI: the client window of an MDI form, its children's activation, and the
// arrangements (cascade, tile, icons, minimise all, next and previous).
//
// Activation of children, as a table:
//   event                          active child afterwards
//   a child is shown               that child
//   press in a child / its caption that child
//   focus enters a child           that child
//   the active child is minimised  the next child in z-order that is not minimised
//   a minimised child is restored  that child
//   the active child is hidden or  the next visible child in z-order
//   destroyed
//   Next (Ctrl+F6)                 the second in z-order; the old one goes to the back
//   Previous (Ctrl+Shift+F6)       the one at the back
// When the active child was maximised, the newly active one is maximised in
// its place and the old one restored, so one maximised child fills the area.

#include <algorithm>
#include <cmath>

#include "framework/forms/Form.h"
#include "platform/user/User.h"

namespace zel {

using namespace sys;

namespace {

constexpr const char* kClientClass = "ZelMDIClient";
// Posted to the client when its children moved: the scroll bars are worked
// out once for all the moves of one arrangement.
constexpr UINT WM_MDIUPDATESCROLL = WM_USER + 0x40;

int CascadeStep() {
  return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
}

} // namespace

LRESULT TCustomForm::MDIClientProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* form = dynamic_cast<TCustomForm*>(FindControl(GetParent(h)));
  if (!form || form->FClientHandle != h) return DefWindowProc(h, msg, w, l);
  switch (msg) {
  case WM_SIZE:
    form->FitMaximizedChildren();
    form->RequestMDIScrollUpdate();
    break;
  case WM_HSCROLL:
  case WM_VSCROLL:
    form->ScrollMDIClient(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(w));
    return 0;
  case WM_MDIUPDATESCROLL:
    form->FMDIScrollPending = false;
    form->UpdateMDIScrollBars();
    return 0;
  default:
    break;
  }
  return DefWindowProc(h, msg, w, l);
}

RECT TCustomForm::DefaultMDIChildBounds(int width, int height, bool defaultSize) {
  if (!FClientHandle) return RECT{0, 0, width, height};
  RECT c;
  GetClientRect(FClientHandle, &c);
  const int step = CascadeStep();
  // The area keeps room for a third of its height in steps; a child larger
  // than what is left beside them is made that size, so that it opens whole
  // in view with its caption buttons, and the next ones step past it.
  const int steps = c.Height() / (3 * step);
  const int fitWidth = std::max(GetSystemMetrics(SM_CXMINTRACK), c.Width() - steps * step);
  const int fitHeight = std::max(GetSystemMetrics(SM_CYMINTRACK), c.Height() - steps * step);
  const int w = defaultSize ? fitWidth : std::min(width, fitWidth);
  const int h = defaultSize ? fitHeight : std::min(height, fitHeight);
  const int room = std::min(c.Width() - w, c.Height() - h);
  const int slots = std::max(1, room / step + 1);
  const int k = std::max(0, int(FMDIChildForms.size()) - 1) % slots;
  return RECT{k * step, k * step, k * step + w, k * step + h};
}

void TCustomForm::CreateClientWindow() {
  WNDCLASS existing;
  if (!GetClassInfo(kClientClass, &existing)) {
    WNDCLASS wc;
    wc.lpfnWndProc = &TCustomForm::MDIClientProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // A system colour index + 1 stands for that colour's brush.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_APPWORKSPACE + 1));
    wc.lpszClassName = kClientClass;
    RegisterClass(wc);
  }
  const RECT r = MDIClientRect();
  FMDIScrollPending = false;
  FClientHandle =
      CreateWindowEx(0, kClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                     r.left, r.top, r.Width(), r.Height(), Handle(), 0, nullptr);
  // The client stays behind the form's own windowed controls.
  if (FClientHandle)
    SetWindowPos(FClientHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::AlignControls(TControl* control, RECT& rect) {
  TWinControl::AlignControls(control, rect);
  if (FFormStyle == fsMDIForm && FClientHandle)
    MoveWindow(FClientHandle, rect.left, rect.top, std::max(0, rect.Width()),
               std::max(0, rect.Height()), TRUE);
}

RECT TCustomForm::MDIClientRect() {
  if (FClientHandle) {
    RECT r;
    GetWindowRect(FClientHandle, &r);
    POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, Handle(), pts, 2);
    return RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
  }
  RECT r = ClientRect();
  AdjustClientRect(r);
  return r;
}

std::vector<TCustomForm*> TCustomForm::MDIChildList() {
  std::vector<TCustomForm*> list;
  if (!FClientHandle) return list;
  for (HWND h : GetChildWindows(FClientHandle)) {
    auto* f = dynamic_cast<TCustomForm*>(FindControl(h));
    if (f && std::find(FMDIChildForms.begin(), FMDIChildForms.end(), f) != FMDIChildForms.end())
      list.push_back(f);
  }
  return list;
}

int TCustomForm::MDIChildCount() {
  return int(MDIChildList().size());
}

TCustomForm* TCustomForm::MDIChildren(int index) {
  const auto list = MDIChildList();
  if (index < 0 || index >= int(list.size())) return nullptr;
  return list[size_t(index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() {
  if (FFormStyle != fsMDIForm) return nullptr;
  return FActiveMDIChild;
}

void TCustomForm::ActivateMDIChild(TCustomForm* child) {
  if (!child || !child->HandleAllocated() || !child->Visible()) return;
  TCustomForm* old = FActiveMDIChild;
  if (child != old) {
    FActiveMDIChild = child;
    const bool keepMaximized = old && old->HandleAllocated() && IsZoomed(old->Handle());
    if (old && old->HandleAllocated()) {
      SendMessage(old->Handle(), WM_NCACTIVATE, FALSE, 0);
      old->SetActive(false);
    }
    if (keepMaximized && !IsZoomed(child->Handle())) {
      ShowWindow(old->Handle(), SW_RESTORE);
      ShowWindow(child->Handle(), SW_SHOWMAXIMIZED);
    }
    if (FActiveMDIChild != child) return; // a handler moved the activation on
  }
  SetWindowPos(child->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessage(child->Handle(), WM_NCACTIVATE, TRUE, 0);
  child->SetActive(true);
  // The keyboard follows when the MDI form is the active window.
  if (HandleAllocated() && GetActiveWindow() == Handle()) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(child->Handle(), focus) || focus == child->Handle()) {
      TWinControl* target = child->FActiveControl && child->FActiveControl->CanFocus()
                                ? child->FActiveControl
                                : child;
      if (focus != target->Handle()) sys::SetFocus(target->Handle());
    }
  }
}

void TCustomForm::RequestMDIScrollUpdate() {
  if (FMDIScrollPending || !FClientHandle || ComponentState().Contains(csDestroying)) return;
  FMDIScrollPending = PostMessage(FClientHandle, WM_MDIUPDATESCROLL, 0, 0) != 0;
}

void TCustomForm::MDIChildGone(TCustomForm* child) {
  std::erase(FMDIChildForms, child);
  RequestMDIScrollUpdate();
  if (FActiveMDIChild != child) return;
  FActiveMDIChild = nullptr;
  if (ComponentState().Contains(csDestroying)) return;
  for (TCustomForm* c : MDIChildList())
    if (c != child && c->Visible()) {
      ActivateMDIChild(c);
      break;
    }
}

void TCustomForm::ChildSizeChanged(WPARAM kind) {
  if (!FMDIParent) return;
  const bool iconic = kind == SIZE_MINIMIZED;
  if (iconic && FMDIParent->FActiveMDIChild == this) {
    for (TCustomForm* c : FMDIParent->MDIChildList())
      if (c != this && c->Visible() && !IsIconic(c->Handle())) {
        FMDIParent->ActivateMDIChild(c);
        break;
      }
  } else if (!iconic && FWasIconic) {
    FMDIParent->ActivateMDIChild(this);
  }
  FWasIconic = iconic;
}

// A maximised child covers the client area with its frame just outside it;
// its caption stays inside, at the top.
void TCustomForm::FitMaximizedChildren() {
  if (!FClientHandle) return;
  RECT c;
  GetClientRect(FClientHandle, &c);
  for (TCustomForm* f : MDIChildList()) {
    if (!IsZoomed(f->Handle())) continue;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLong(f->Handle(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLong(f->Handle(), GWL_EXSTYLE)));
    const int b = -frame.left;
    SetWindowPos(f->Handle(), nullptr, -b, -b, c.Width() + 2 * b, c.Height() + 2 * b,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TCustomForm::RestoreMaximizedChildren() {
  for (TCustomForm* f : MDIChildList())
    if (IsZoomed(f->Handle())) ShowWindow(f->Handle(), SW_RESTORE);
}

// ---- Arrangements ------------------------------------------------------------------

// Cascade: the visible children that are not minimised, back to front, each
// one caption step below and right of the one behind it, three quarters of
// the client size; the active child ends in front, at the last step.  The
// steps start over when the next one would leave the client area.
void TCustomForm::Cascade() {
  if (!FClientHandle) return;
  RestoreMaximizedChildren();
  std::vector<TCustomForm*> list;
  for (TCustomForm* f : MDIChildList())
    if (f->Visible() && !IsIconic(f->Handle())) list.push_back(f);
  if (list.empty()) return;
  RECT c;
  GetClientRect(FClientHandle, &c);
  const int step = CascadeStep();
  const int w = c.Width() * 3 / 4, h = c.Height() * 3 / 4;
  const int room = std::min(c.Width() - w, c.Height() - h);
  const int slots = std::max(1, room / std::max(1, step) + 1);
  int i = 0;
  for (auto it = list.rbegin(); it != list.rend(); ++it, ++i) {
    const int k = i % slots;
    (*it)->SetBounds(k * step, k * step, w, h);
  }
  ActivateMDIChild(list.front());
}

// Tile: the visible children that are not minimised share the client area
// (less the icon row when there are minimised children) in rows
// (tbHorizontal) or columns (tbVertical), the active child first; the last
// one takes what the division leaves.
void TCustomForm::Tile() {
  if (!FClientHandle) return;
  RestoreMaximizedChildren();
  std::vector<TCustomForm*> list;
  bool icons = false;
  for (TCustomForm* f : MDIChildList()) {
    if (!f->Visible()) continue;
    if (IsIconic(f->Handle()))
      icons = true;
    else
      list.push_back(f);
  }
  if (list.empty()) return;
  RECT c;
  GetClientRect(FClientHandle, &c);
  if (icons) c.bottom -= GetSystemMetrics(SM_CYMINIMIZED);
  const int n = int(list.size());
  for (int i = 0; i < n; ++i) {
    TCustomForm* f = list[size_t(i)];
    if (FTileMode == tbHorizontal) {
      const int h = c.Height() / n;
      const int top = c.top + i * h;
      f->SetBounds(c.left, top, c.Width(), i == n - 1 ? c.bottom - top : h);
    } else {
      const int w = c.Width() / n;
      const int left = c.left + i * w;
      f->SetBounds(left, c.top, i == n - 1 ? c.right - left : w, c.Height());
    }
  }
}

// Minimised children line up from the left along the bottom edge in the
// order they stand now, left to right.
void TCustomForm::ArrangeIcons() {
  if (!FClientHandle) return;
  std::vector<TCustomForm*> icons;
  for (TCustomForm* f : MDIChildList())
    if (f->Visible() && IsIconic(f->Handle())) icons.push_back(f);
  std::stable_sort(icons.begin(), icons.end(),
                   [](TCustomForm* a, TCustomForm* b) { return a->Left() < b->Left(); });
  RECT c;
  GetClientRect(FClientHandle, &c);
  const int cw = GetSystemMetrics(SM_CXMINIMIZED), ch = GetSystemMetrics(SM_CYMINIMIZED);
  const int perRow = std::max(1, c.Width() / std::max(1, cw));
  for (size_t i = 0; i < icons.size(); ++i) {
    const int col = int(i) % perRow, row = int(i) / perRow;
    SetWindowPos(icons[i]->Handle(), nullptr, col * cw, c.Height() - ch * (row + 1), cw, ch,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TCustomForm::MinimizeAll() {
  auto list = MDIChildList();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if ((*it)->Visible() && !IsIconic((*it)->Handle())) (*it)->SetWindowState(wsMinimized);
}

void TCustomForm::Next() {
  std::vector<TCustomForm*> list;
  for (TCustomForm* f : MDIChildList())
    if (f->Visible()) list.push_back(f);
  if (list.size() < 2) return;
  TCustomForm* current = list.front();
  ActivateMDIChild(list[1]);
  SetWindowPos(current->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::Previous() {
  std::vector<TCustomForm*> list;
  for (TCustomForm* f : MDIChildList())
    if (f->Visible()) list.push_back(f);
  if (list.size() < 2) return;
  ActivateMDIChild(list.back());
}

} // namespace zel
