#include "platform/backend/X11Icon.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/backend/X11TopLevels.h"
#include "platform/resource/ProgramIcon.h"

namespace zel::sys {

std::vector<unsigned long> ProgramIconData() {
  std::vector<unsigned long> data;
  // What task bars, window lists and Alt+Tab ask for; a larger picture only
  // makes the property every window carries heavier.
  static constexpr int kSizes[] = {16, 24, 32, 48, 64};
  for (const Surface& icon : ProgramIcons(kSizes)) {
    if (icon.Empty()) continue;
    data.push_back((unsigned long)icon.Width());
    data.push_back((unsigned long)icon.Height());
    for (Pixel p : icon.Pixels())
      data.push_back((unsigned long)p);
  }
  return data;
}

void X11TopLevels::GiveIcons() {
  if (iconPending_.empty() || !display_) return;
  static const std::vector<unsigned long> icon = ProgramIconData();
  for (unsigned long xwindow : iconPending_)
    XChangeProperty(display_, xwindow, AtomNamed("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(icon.data()), int(icon.size()));
  iconPending_.clear();
  XFlush(display_);
}

} // namespace zel::sys
