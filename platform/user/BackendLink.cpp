// What the window system offers its backend: the installed backend and the
// top-level windows with their surfaces.

#include "platform/backend/Backend.h"
#include "platform/user/UserState.h"

namespace zel::sys {

using namespace detail;

void SetBackend(std::unique_ptr<Backend> backend) {
  auto& u = U();
  u.backend = std::move(backend);
  u.screen = u.backend ? u.backend->ScreenSize() : SIZE{1280, 800};
  u.desktop->rect = RECT{0, 0, u.screen.cx, u.screen.cy};
  u.desktop->client = u.desktop->rect;
  if (!u.backend) return;
  // Tell the new backend about the windows that are already on the screen.
  for (auto it = u.desktop->children.rbegin(); it != u.desktop->children.rend(); ++it)
    if ((*it)->Visible() && !((*it)->style & WS_MINIMIZE)) u.backend->WindowShown((*it)->handle);
  u.backend->ZOrderChanged();
}

Backend* GetBackend() {
  return U().backend.get();
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> r;
  for (Window* t : U().desktop->children)
    if (t->Visible() && !(t->style & WS_MINIMIZE)) r.push_back(t->handle);
  return r;
}

const Surface* GetWindowSurface(HWND topLevel) {
  Window* w = Find(topLevel);
  return w && IsTopLevel(w) ? &w->surface : nullptr;
}

} // namespace zel::sys
