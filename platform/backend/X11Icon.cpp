#include "platform/backend/X11Icon.h"

#include "platform/resource/ProgramIcon.h"

namespace zel::sys {

std::vector<unsigned long> ProgramIconData() {
  std::vector<unsigned long> data;
  // What task bars, window lists and Alt+Tab ask for; a larger picture only
  // makes the property every window carries heavier.
  for (int size : {16, 24, 32, 48, 64}) {
    const Surface icon = ProgramIcon(size);
    if (icon.Empty()) continue;
    data.push_back((unsigned long)icon.Width());
    data.push_back((unsigned long)icon.Height());
    for (Pixel p : icon.Pixels())
      data.push_back((unsigned long)p);
  }
  return data;
}

} // namespace zel::sys
