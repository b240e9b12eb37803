#pragma once
// Fonts and text drawing.  Fonts are found through fontconfig (a face that is
// not installed gets the best installed substitute) and rasterised by
// FreeType with grey-scale antialiasing.  Strings are UTF-8.

#include <string_view>

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
// space the text needs and draws nothing.
int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format);

// Names the installed file a face request resolves to (for diagnostics and tests).
std::string ResolveFontFile(const LOGFONT& lf);

} // namespace zel::sys
