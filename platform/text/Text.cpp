#include "platform/text/Text.h"

#include <algorithm>
#include <numeric>

#include "platform/text/FontFace.h"
#include "platform/text/TextPainter.h"
#include "platform/text/Utf8.h"

namespace zel::sys {

namespace {

// Cuts a face name to the platform's 31 characters at a character boundary.
std::string LimitFaceName(const std::string& name) {
  constexpr size_t kMaxChars = 31;
  std::u32string chars = DecodeUtf8(name);
  if (chars.size() <= kMaxChars) return name;
  chars.resize(kMaxChars);
  return EncodeUtf8(chars);
}

} // namespace

FontFace* SelectedFace(HDC dc) {
  if (!dc) return nullptr;
  if (Font* font = dc->state.font) {
    if (!font->face) font->face = FontFace::ForLogFont(font->logFont);
    if (font->face) return font->face.get();
  }
  static const std::shared_ptr<FontFace> fallback = FontFace::ForLogFont(LOGFONT{});
  return fallback.get();
}

HFONT CreateFontIndirect(const LOGFONT& lf) {
  auto font = std::make_unique<Font>();
  font->logFont = lf;
  font->logFont.lfFaceName = LimitFaceName(lf.lfFaceName);
  return font.release();
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
  FontFace* face = SelectedFace(dc);
  if (!face || !tm) return FALSE;
  *tm = face->Metrics();
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC dc, std::string_view text, SIZE* size) {
  FontFace* face = SelectedFace(dc);
  if (!face || !size) return FALSE;
  int width = 0;
  for (char32_t cp : DecodeUtf8(text))
    width = AddWidth(width, face->Advance(cp));
  *size = SIZE{width, int(face->Metrics().tmHeight)};
  return TRUE;
}

BOOL GetTextOutBounds(HDC dc, int x, int y, std::string_view text, RECT* bounds) {
  SIZE size;
  if (!bounds || !Reasonable(x) || !Reasonable(y) || !GetTextExtentPoint32(dc, text, &size))
    return FALSE;
  FontFace* face = SelectedFace(dc);
  const POINT corners[4] = {face->Rotate(0, 0), face->Rotate(size.cx, 0), face->Rotate(0, size.cy),
                            face->Rotate(size.cx, size.cy)};
  RECT box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const POINT& p : corners) {
    box.left = std::min(box.left, p.x), box.right = std::max(box.right, p.x);
    box.top = std::min(box.top, p.y), box.bottom = std::max(box.bottom, p.y);
  }
  OffsetRect(box, x, y);
  *bounds = box;
  return TRUE;
}

BOOL TextOut(HDC dc, int x, int y, std::string_view text) {
  return ExtTextOut(dc, x, y, 0, nullptr, text);
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, std::string_view text) {
  FontFace* face = SelectedFace(dc);
  if (!face || !dc->target) return FALSE;
  if (rect && (!Reasonable(rect->left) || !Reasonable(rect->top) || !Reasonable(rect->right) ||
               !Reasonable(rect->bottom)))
    return FALSE;
  const RECT* clip = (options & ETO_CLIPPED) && rect ? rect : nullptr;
  TextPainter painter(dc, clip);
  if ((options & ETO_OPAQUE) && rect && !IsRectEmpty(*rect)) {
    TextPainter fill(dc, rect);
    fill.FillLogicalRect(*rect, dc->state.bkColor);
  }
  const std::u32string chars = DecodeUtf8(text);
  const std::vector<int> advances = RunAdvances(*face, chars);
  RunOptions run;
  run.opaque = dc->state.bkMode == OPAQUE;
  DrawRun(painter, dc, *face, x, y, chars, advances, run);
  return TRUE;
}

std::string ResolveFontFile(const LOGFONT& lf) {
  auto source = FontResolver::Default().Resolve(lf.lfFaceName, lf.lfWeight, lf.lfItalic != 0);
  return source ? source->file : std::string();
}

} // namespace zel::sys
