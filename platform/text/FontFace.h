#pragma once
// A resolved face at one pixel size and one escapement: the FreeType face,
// the platform's text metrics derived from it, and a cache of rasterised
// glyphs.  Faces are shared: every request with the same file, face index,
// size, style and escapement gets the same object.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/text/FontResolver.h"

namespace zel::sys {

class FreeTypeLibrary;

// A glyph's grey-scale coverage (0-255), placed relative to its pen origin
// on the baseline in screen orientation: the image's top-left pixel lies at
// (origin.x + left, origin.y + top).  For a rotated face the image is
// already turned.  The advance is along the text direction, in pixels.
struct Glyph {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int advance = 0;
  std::vector<uint8_t> coverage; // width * height, rows top-down
};

// Vertical positions of the font's lines, below the top of the cell.
struct LineMetrics {
  int underlineTop = 0;
  int underlineThickness = 1;
  int strikeTop = 0;
  int strikeThickness = 1;
};

class FontFace {
public:
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;
  ~FontFace();

  // The shared face a request resolves to; nullptr when no usable font is
  // installed or the file cannot be opened.
  static std::shared_ptr<FontFace> ForLogFont(const LOGFONT& lf);
  // The same with an explicit resolver (tests use an empty configuration).
  static std::shared_ptr<FontFace> ForLogFont(const LOGFONT& lf, FontResolver& resolver);

  const TEXTMETRIC& Metrics() const { return metrics_; }
  const LineMetrics& Lines() const { return lines_; }
  bool Underline() const { return underline_; }
  bool StrikeOut() const { return strikeOut_; }
  const ResolvedFont& Source() const { return source_; }
  int PixelSize() const { return pixelSize_; }

  // Escapement in tenths of a degree, normalised to [0, 3600).
  int Escapement() const { return escapement_; }
  // Turns an offset given along (dx) and across (dy) the text direction
  // into a screen offset; exact for quarter turns.
  POINT Rotate(int dx, int dy) const;
  POINT Rotate(double dx, double dy) const;
  bool QuarterTurn() const { return escapement_ % 900 == 0; }

  // The glyph for a code point; a code point the face lacks shows U+FFFD or
  // the face's missing-glyph box.  References stay valid for the face's life.
  const Glyph& GlyphFor(char32_t cp);
  int Advance(char32_t cp) { return GlyphFor(cp).advance; }

  FreeTypeLibrary& Library() const { return *library_; }

private:
  struct Key;
  FontFace() = default;
  bool Open(const ResolvedFont& source, const LOGFONT& lf);
  void ChooseSize(long height);
  void ComputeMetrics(int weight, bool italic);
  void RenderGlyph(char32_t cp, Glyph& glyph);
  static void TurnGlyph(Glyph& glyph, int quarters);

  std::shared_ptr<FreeTypeLibrary> library_;
  void* face_ = nullptr; // FT_Face, kept opaque so FreeType stays out of the header
  ResolvedFont source_;
  int pixelSize_ = 0;
  int escapement_ = 0;
  double cos_ = 1.0;
  double sin_ = 0.0;
  bool syntheticBold_ = false;   // the file has no bold: outlines are emboldened
  bool syntheticItalic_ = false; // the file has no italic: outlines are slanted
  bool underline_ = false;
  bool strikeOut_ = false;
  TEXTMETRIC metrics_;
  LineMetrics lines_;
  static constexpr char32_t kFastRange = 0x500; // Latin, Greek and Cyrillic
  std::vector<const Glyph*> fast_ = std::vector<const Glyph*>(kFastRange, nullptr);
  std::unordered_map<char32_t, Glyph> glyphs_;
};

// The FreeType library instance; faces keep it alive for as long as they live.
class FreeTypeLibrary {
public:
  FreeTypeLibrary();
  ~FreeTypeLibrary();
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
  void* Handle() const { return library_; } // FT_Library
  bool Ok() const { return library_ != nullptr; }
  static std::shared_ptr<FreeTypeLibrary> Shared();

private:
  void* library_ = nullptr;
};

// The default request size when a font asks for height 0.
constexpr LONG kDefaultFontHeight = -11;

} // namespace zel::sys
