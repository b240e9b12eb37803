#pragma once
// The program's icon, cut from its own glyph art: the "new window" glyph of
// the STANDARTBTN strips (a window with a spark).  The sizes the strips are
// drawn for (16, 24, 32) take the glyph as drawn; larger sizes double the
// nearest strip with a pixel-art scaler, which keeps every colour of the
// glyph and its hard edges; sizes in between are centred on a clear square.
// The same pixels serve the window manager (_NET_WM_ICON) and the icon
// theme files the build writes (tools/zelicon), so the two never differ.

#include <array>
#include <span>
#include <vector>

#include "platform/gdi/Surface.h"

namespace zel::sys {

// The sizes the icon theme receives, smallest first.
inline constexpr std::array<int, 7> kProgramIconSizes{16, 22, 24, 32, 48, 64, 128};

// The icon as size x size pixels of straight alpha: every pixel is either
// clear (0) or an opaque colour of the glyph.  Empty when the program's
// module lacks the strip or size is outside 16..256.
Surface ProgramIcon(int size);
// The icon at several sizes, in their order, each strip decoded once.
std::vector<Surface> ProgramIcons(std::span<const int> sizes);

// The glyph cell of a strip of square cells keyed by magenta, made clear
// where the key is.  Exposed for the tests.
Surface CutGlyphCell(const Surface& strip, int cell);
// The pixel-art doubling: each pixel becomes four, each of which takes a
// neighbour's colour where two neighbours agree across that corner, so
// diagonal edges stay smooth without a colour that was not there.
Surface Scale2x(const Surface& image);

} // namespace zel::sys
