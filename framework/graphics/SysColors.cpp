#include "framework/graphics/SysColors.h"

#include <array>
#include <cstddef>

namespace zel {

namespace {

// FALLBACK until the window system's scheme (GetSysColor) is in the tree:
// the same scheme the lead fixed for it, so that results do not change when
// this table is removed.
constexpr std::array<sys::COLORREF, 31> kFallbackScheme = {
    sys::RGB(200, 200, 200), // 0 scroll bar
    sys::RGB(58, 110, 165),  // 1 desktop background
    sys::RGB(10, 36, 106),   // 2 active caption
    sys::RGB(128, 128, 128), // 3 inactive caption
    sys::RGB(236, 236, 236), // 4 menu
    sys::RGB(255, 255, 255), // 5 window
    sys::RGB(0, 0, 0),       // 6 window frame
    sys::RGB(0, 0, 0),       // 7 menu text
    sys::RGB(0, 0, 0),       // 8 window text
    sys::RGB(255, 255, 255), // 9 caption text
    sys::RGB(236, 236, 236), // 10 active border
    sys::RGB(236, 236, 236), // 11 inactive border
    sys::RGB(128, 128, 128), // 12 application work space
    sys::RGB(10, 36, 106),   // 13 highlight
    sys::RGB(255, 255, 255), // 14 highlight text
    sys::RGB(236, 236, 236), // 15 button face
    sys::RGB(182, 182, 182), // 16 button shadow
    sys::RGB(128, 128, 128), // 17 grey text
    sys::RGB(0, 0, 0),       // 18 button text
    sys::RGB(212, 208, 200), // 19 inactive caption text
    sys::RGB(255, 255, 255), // 20 button highlight
    sys::RGB(64, 64, 64),    // 21 3-D dark shadow
    sys::RGB(241, 239, 226), // 22 3-D light
    sys::RGB(0, 0, 0),       // 23 tooltip text
    sys::RGB(255, 255, 225), // 24 tooltip background
    sys::RGB(181, 181, 181), // 25 unused
    sys::RGB(0, 0, 128),     // 26 hot-tracked item
    sys::RGB(166, 202, 240), // 27 gradient of the active caption
    sys::RGB(192, 192, 192), // 28 gradient of the inactive caption
    sys::RGB(49, 106, 197),  // 29 menu highlight
    sys::RGB(236, 236, 236), // 30 menu bar
};

} // namespace

sys::COLORREF SysColorRGB(int index) {
  if (index < 0 || index >= int(kFallbackScheme.size())) return 0;
  return kFallbackScheme[std::size_t(index)];
}

} // namespace zel
