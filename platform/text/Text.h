#pragma once
// Fonts and text drawing.  Fonts are found through fontconfig (a face that is
// not installed gets the best installed substitute) and rasterised by
// FreeType with grey-scale antialiasing.  Strings are UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace zel::sys {

HFONT CreateFontIndirect(const LOGFONT& lf);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);
BOOL GetTextExtentPoint32(HDC dc, std::string_view text, SIZE* size);
// Draws at (x, y), the top left of the text cell, in the text colour; in
// OPAQUE mode the cell is first filled with the background colour.  With an
// escapement the text turns around (x, y) counter-clockwise.
BOOL TextOut(HDC dc, int x, int y, std::string_view text);
// Clips to rect when given (ETO_CLIPPED) and fills it first when opaque.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, std::string_view text);
// Returns the height of the text drawn; with DT_CALCRECT sets rect to the
// space the text needs and draws nothing (the width of the widest line; a
// single line's width grows, word-broken lines keep within the given width).
// With a turned font the lines are laid out along the text direction from
// (left, top) and the layout turns around that corner; the rectangle's
// width is then the room along the text (its sign ignored).
// Ellipses are three dots.  DT_VCENTER and DT_BOTTOM act only with
// DT_SINGLELINE; with DT_WORDBREAK | DT_END_ELLIPSIS the last line that fits
// the rectangle ends in an ellipsis when more text follows.
// DT_PATH_ELLIPSIS keeps the text after the last '\\' or '/' and shortens
// what comes before it; without a separator it acts as DT_END_ELLIPSIS.
int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format);

// The logical bounding box of the cell TextOut at (x, y) covers, turned by
// the font's escapement (GetTextExtentPoint32 measures along the text).
BOOL GetTextOutBounds(HDC dc, int x, int y, std::string_view text, RECT* bounds);

// The lines DrawText would draw into rect with format, after prefixes,
// line breaks, word breaks and ellipses (for diagnostics and tests).
std::vector<std::string> LayOutText(HDC dc, std::string_view text, const RECT& rect, UINT format);

// Names the installed file a face request resolves to (for diagnostics and tests).
std::string ResolveFontFile(const LOGFONT& lf);

} // namespace zel::sys
