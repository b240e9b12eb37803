#include "platform/text/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>
#include <string>

namespace zel::sys {

namespace {

// Sizes beyond this would only make huge glyph images; no caller needs them.
constexpr long kMaxPixelSize = 1000;

FT_Face AsFace(void* f) {
  return static_cast<FT_Face>(f);
}

long Scale(long fontUnits, int pixelSize, int unitsPerEm) {
  return std::lround(double(fontUnits) * pixelSize / unitsPerEm);
}

// Rounds up, forgiving a twentieth of a pixel of design overshoot.
long CeilScale(long fontUnits, int pixelSize, int unitsPerEm) {
  return long(std::ceil(double(fontUnits) * pixelSize / unitsPerEm - 0.05));
}

// The ascent and descent of the cell in font units: the Windows metrics of
// the OS/2 table when present (they bound every glyph), else the hhea ones.
void DesignExtent(FT_Face face, long& ascent, long& descent) {
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
  } else {
    ascent = face->ascender;
    descent = -face->descender;
  }
  if (ascent + descent <= 0) ascent = face->units_per_EM, descent = 0;
}

} // namespace

// ---- FreeTypeLibrary --------------------------------------------------------

FreeTypeLibrary::FreeTypeLibrary() {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) == 0) library_ = lib;
}

FreeTypeLibrary::~FreeTypeLibrary() {
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

std::shared_ptr<FreeTypeLibrary> FreeTypeLibrary::Shared() {
  static std::shared_ptr<FreeTypeLibrary> shared = std::make_shared<FreeTypeLibrary>();
  return shared;
}

// ---- FontFace -----------------------------------------------------------------

FontFace::~FontFace() {
  if (face_) FT_Done_Face(AsFace(face_));
}

std::shared_ptr<FontFace> FontFace::ForLogFont(const LOGFONT& lf) {
  return ForLogFont(lf, FontResolver::Default());
}

std::shared_ptr<FontFace> FontFace::ForLogFont(const LOGFONT& lf, FontResolver& resolver) {
  const bool italic = lf.lfItalic != 0;
  auto source = resolver.Resolve(lf.lfFaceName, lf.lfWeight, italic);
  if (!source) return nullptr;

  // Faces are kept for the program's life: a program asks for a handful of
  // distinct fonts, and reopening one would throw its glyph cache away.
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<FontFace>> cache;
  const std::string key = source->file + '|' + std::to_string(source->index) + '|' +
                          std::to_string(lf.lfHeight) + '|' + std::to_string(lf.lfWeight) + '|' +
                          std::to_string(italic) + '|' + std::to_string(lf.lfEscapement) + '|' +
                          std::to_string(lf.lfUnderline != 0) + std::to_string(lf.lfStrikeOut != 0);
  std::lock_guard lock(mutex);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  std::shared_ptr<FontFace> face(new FontFace());
  if (!face->Open(*source, lf)) return nullptr;
  cache.emplace(key, face);
  return face;
}

bool FontFace::Open(const ResolvedFont& source, const LOGFONT& lf) {
  library_ = FreeTypeLibrary::Shared();
  if (!library_->Ok()) return false;
  FT_Face face = nullptr;
  if (FT_New_Face(static_cast<FT_Library>(library_->Handle()), source.file.c_str(), source.index,
                  &face) != 0)
    return false;
  face_ = face;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return false;
  source_ = source;
  // The file itself says which styles it has; fontconfig's answer may already
  // be rewritten by its own synthetic-style rules.
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const bool fileBold = (face->style_flags & FT_STYLE_FLAG_BOLD) ||
                        (os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600);
  const bool fileItalic = face->style_flags & FT_STYLE_FLAG_ITALIC;
  syntheticBold_ = lf.lfWeight >= 600 && !fileBold;
  syntheticItalic_ = lf.lfItalic != 0 && !fileItalic;
  underline_ = lf.lfUnderline != 0;
  strikeOut_ = lf.lfStrikeOut != 0;

  long esc = lf.lfEscapement % 3600;
  if (esc < 0) esc += 3600;
  escapement_ = int(esc);
  switch (escapement_) {
  case 0:
    cos_ = 1, sin_ = 0;
    break;
  case 900:
    cos_ = 0, sin_ = 1;
    break;
  case 1800:
    cos_ = -1, sin_ = 0;
    break;
  case 2700:
    cos_ = 0, sin_ = -1;
    break;
  default: {
    const double a = escapement_ / 10.0 * std::numbers::pi / 180.0;
    cos_ = std::cos(a), sin_ = std::sin(a);
  }
  }

  ChooseSize(lf.lfHeight == 0 ? kDefaultFontHeight : lf.lfHeight);
  if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize_)) != 0) return false;
  ComputeMetrics(lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight, lf.lfItalic != 0);
  // A requested cell height is met exactly; the spare rows go above.
  const long cell = lf.lfHeight == 0 ? 0 : std::min<long>(lf.lfHeight, kMaxPixelSize);
  if (cell > metrics_.tmHeight) {
    const int extra = int(cell - metrics_.tmHeight);
    metrics_.tmAscent += extra;
    metrics_.tmHeight += extra;
    metrics_.tmInternalLeading += extra;
    lines_.underlineTop += extra;
    lines_.strikeTop += extra;
  }
  return true;
}

// Negative heights ask for the em size; positive ones for the whole cell
// (ascent plus descent), so the largest em whose cell fits is taken.
void FontFace::ChooseSize(long height) {
  FT_Face face = AsFace(face_);
  if (height < 0) {
    pixelSize_ = int(std::clamp(-static_cast<long long>(height), 1LL, (long long)kMaxPixelSize));
    return;
  }
  long ascent = 0, descent = 0;
  DesignExtent(face, ascent, descent);
  const int upem = face->units_per_EM;
  const long cell = std::min(height, kMaxPixelSize);
  int size = int(std::max(1L, cell * upem / (ascent + descent)));
  auto cellOf = [&](int px) { return CeilScale(ascent, px, upem) + CeilScale(descent, px, upem); };
  while (size > 1 && cellOf(size) > cell)
    --size;
  while (size < kMaxPixelSize && cellOf(size + 1) <= cell)
    ++size;
  pixelSize_ = size;
}

void FontFace::ComputeMetrics(int weight, bool italic) {
  FT_Face face = AsFace(face_);
  const int upem = face->units_per_EM;
  long ascent = 0, descent = 0;
  DesignExtent(face, ascent, descent);
  TEXTMETRIC& tm = metrics_;
  // Rounded up: hinting pushes accents and descenders to the next whole
  // pixel, and the cell must hold them (Ё and Й at 11 pixels need it).
  tm.tmAscent = LONG(std::max(1L, CeilScale(ascent, pixelSize_, upem)));
  tm.tmDescent = LONG(std::max(0L, CeilScale(descent, pixelSize_, upem)));
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - pixelSize_);
  const long lineGap = face->height - (face->ascender - face->descender);
  tm.tmExternalLeading = LONG(std::max(0L, Scale(lineGap, pixelSize_, upem)));
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
    tm.tmAveCharWidth = LONG(std::max(1L, Scale(os2->xAvgCharWidth, pixelSize_, upem)));
  else
    tm.tmAveCharWidth = std::max(1, Advance(U'x'));
  tm.tmMaxCharWidth = LONG(std::max(1L, Scale(face->max_advance_width, pixelSize_, upem)));
  tm.tmWeight = weight;
  tm.tmItalic = italic ? 1 : 0;
  tm.tmUnderlined = underline_ ? 1 : 0;
  tm.tmStruckOut = strikeOut_ ? 1 : 0;
  tm.tmCharSet = DEFAULT_CHARSET;

  // The underline sits below the baseline and inside the cell.
  LineMetrics& lines = lines_;
  lines.underlineThickness = int(std::max(1L, Scale(face->underline_thickness, pixelSize_, upem)));
  const long underlineCentre = -Scale(face->underline_position, pixelSize_, upem);
  lines.underlineTop =
      tm.tmAscent + int(std::max(1L, underlineCentre)) - lines.underlineThickness / 2;
  lines.underlineTop =
      std::clamp(lines.underlineTop, tm.tmAscent,
                 std::max<int>(tm.tmAscent, tm.tmHeight - lines.underlineThickness));
  // The strike-out line crosses the lower-case letters.
  long strikePos = 0, strikeSize = 0;
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    strikePos = Scale(os2->yStrikeoutPosition, pixelSize_, upem);
    strikeSize = Scale(os2->yStrikeoutSize, pixelSize_, upem);
  } else {
    strikePos = tm.tmAscent / 3;
    strikeSize = lines.underlineThickness;
  }
  lines.strikeThickness = int(std::max(1L, strikeSize));
  lines.strikeTop = std::max(0, int(tm.tmAscent - strikePos));
}

POINT FontFace::Rotate(int dx, int dy) const {
  switch (escapement_) {
  case 0:
    return POINT{dx, dy};
  case 900:
    return POINT{dy, -dx};
  case 1800:
    return POINT{-dx, -dy};
  case 2700:
    return POINT{-dy, dx};
  default:
    return Rotate(double(dx), double(dy));
  }
}

// Turning counter-clockwise on a screen whose y axis points down.
POINT FontFace::Rotate(double dx, double dy) const {
  return POINT{int(std::lround(dx * cos_ + dy * sin_)), int(std::lround(-dx * sin_ + dy * cos_))};
}

const Glyph& FontFace::GlyphFor(char32_t cp) {
  if (cp < kFastRange && fast_[cp]) return *fast_[cp];
  auto [it, added] = glyphs_.try_emplace(cp);
  if (added) RenderGlyph(cp, it->second);
  if (cp < kFastRange) fast_[cp] = &it->second;
  return it->second;
}

void FontFace::RenderGlyph(char32_t cp, Glyph& glyph) {
  // Control characters take no room and show nothing.
  if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return;
  FT_Face face = AsFace(face_);
  FT_UInt index = FT_Get_Char_Index(face, cp);
  if (index == 0 && cp != char32_t(0xFFFD)) index = FT_Get_Char_Index(face, 0xFFFD);
  // Hinting is done on the upright outline; the synthetic styles and the
  // rotation are applied to the hinted outline before it is rasterised.
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
  if (syntheticBold_) FT_GlyphSlot_Embolden(slot);
  if (syntheticItalic_) FT_GlyphSlot_Oblique(slot);
  glyph.advance = int((slot->advance.x + 32) >> 6);
  if (!QuarterTurn()) {
    FT_Matrix m;
    m.xx = FT_Fixed(std::lround(cos_ * 65536.0));
    m.xy = FT_Fixed(std::lround(-sin_ * 65536.0));
    m.yx = FT_Fixed(std::lround(sin_ * 65536.0));
    m.yy = FT_Fixed(std::lround(cos_ * 65536.0));
    FT_Outline_Transform(&slot->outline, &m);
  }
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0 || bm.pitch <= 0) return;
  glyph.left = slot->bitmap_left;
  glyph.top = -slot->bitmap_top;
  glyph.width = int(bm.width);
  glyph.height = int(bm.rows);
  glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.height));
  for (int y = 0; y < glyph.height; ++y) {
    const unsigned char* row = bm.buffer + size_t(y) * size_t(bm.pitch);
    std::copy(row, row + glyph.width, glyph.coverage.begin() + size_t(y) * size_t(glyph.width));
  }
  if (QuarterTurn() && escapement_ != 0) TurnGlyph(glyph, escapement_ / 900);
}

// Quarter turns move the upright image's pixels without resampling them, so
// turned captions are exactly as sharp as upright ones.  A pixel at offset
// (dx, dy) from the pen origin goes to (dy, -dx - 1) for one counter-clockwise
// quarter turn; the other turns follow likewise.
void FontFace::TurnGlyph(Glyph& glyph, int quarters) {
  const int w = glyph.width, h = glyph.height;
  std::vector<uint8_t> turned(glyph.coverage.size());
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const uint8_t v = glyph.coverage[size_t(j) * size_t(w) + size_t(i)];
      switch (quarters) {
      case 1:
        turned[size_t(w - 1 - i) * size_t(h) + size_t(j)] = v;
        break;
      case 2:
        turned[size_t(h - 1 - j) * size_t(w) + size_t(w - 1 - i)] = v;
        break;
      default:
        turned[size_t(i) * size_t(h) + size_t(h - 1 - j)] = v;
        break;
      }
    }
  }
  const int left = glyph.left, top = glyph.top;
  switch (quarters) {
  case 1:
    glyph.left = top, glyph.top = -(left + w);
    break;
  case 2:
    glyph.left = -(left + w), glyph.top = -(top + h);
    break;
  default:
    glyph.left = -(top + h), glyph.top = left;
    break;
  }
  if (quarters != 2) glyph.width = h, glyph.height = w;
  glyph.coverage = std::move(turned);
}

} // namespace zel::sys
