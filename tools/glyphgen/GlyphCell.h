// Drawing vocabulary of the glyph generator: a palette, fills and a cell that
// maps design coordinates onto the pixel grid of one glyph size.
//
// Every glyph is described on a 16-step design grid whose coordinates are
// pixel indices of the 16 pixel glyph (0 is the first pixel, 15 the last).
// For the 24 and 32 pixel glyphs the same index is mapped to the pixel that
// takes its place there and then snapped, so outlines always run through pixel
// centres and stay one pixel wide and sharp.  Where a size needs its own
// detail (more text lines, more gear teeth, a heavier stroke) a glyph asks the
// cell for its size and draws accordingly.
#pragma once

#include <cairo.h>

#include <functional>
#include <initializer_list>
#include <utility>

namespace glyphgen {

struct Rgb {
  unsigned char r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The palette of the whole set.  Fills come in a light and a base tone so that
// every filled shape can be lit from above the same way.
namespace pal {
inline constexpr Rgb Ink{44, 50, 64};
inline constexpr Rgb Paper{255, 255, 255};
inline constexpr Rgb PaperShade{218, 224, 232};
inline constexpr Rgb TextLine{132, 144, 164};
inline constexpr Rgb BlueLight{138, 186, 240};
inline constexpr Rgb Blue{52, 112, 200};
inline constexpr Rgb BlueDark{30, 74, 150};
inline constexpr Rgb YellowLight{255, 226, 132};
inline constexpr Rgb Yellow{236, 178, 52};
inline constexpr Rgb GreenLight{128, 210, 118};
inline constexpr Rgb Green{48, 150, 64};
inline constexpr Rgb RedLight{246, 124, 108};
inline constexpr Rgb Red{204, 48, 44};
inline constexpr Rgb GreyLight{214, 218, 226};
inline constexpr Rgb Grey{150, 158, 170};
inline constexpr Rgb GreyDark{96, 104, 118};
inline constexpr Rgb BrownLight{214, 168, 112};
inline constexpr Rgb Brown{164, 112, 60};
} // namespace pal

// A fill runs from its top colour at the top of the shape to its bottom colour
// at the bottom: the light comes from above for every glyph.
struct Fill {
  Rgb top, bottom;
  Fill(Rgb solid) : top(solid), bottom(solid) {}
  Fill(Rgb t, Rgb b) : top(t), bottom(b) {}
};

namespace fills {
inline Fill Paper() {
  return {pal::Paper, pal::PaperShade};
}
inline Fill Blue() {
  return {pal::BlueLight, pal::Blue};
}
inline Fill Yellow() {
  return {pal::YellowLight, pal::Yellow};
}
inline Fill Green() {
  return {pal::GreenLight, pal::Green};
}
inline Fill Red() {
  return {pal::RedLight, pal::Red};
}
inline Fill Grey() {
  return {pal::GreyLight, pal::Grey};
}
inline Fill Brown() {
  return {pal::BrownLight, pal::Brown};
}
} // namespace fills

using Point = std::pair<double, double>;

// One glyph cell of a strip.  The cairo context is translated so that the
// cell's top-left pixel is at the origin.  Shapes given to the cell are
// filled and then outlined with one pixel of ink; the caller's transform
// (mirror, rotation) applies to the geometry but never to the light.
class Cell {
public:
  Cell(cairo_t* cr, int size);

  cairo_t* cr() const { return cr_; }
  int size() const { return size_; }
  // Picks a value by size: the 16, 24 or 32 pixel glyph.
  double pick(double at16, double at24, double at32) const;
  // Design index -> pixel index (snapped), and the centre of that pixel.
  double px(double i) const;
  double c(double i) const { return px(i) + 0.5; }
  // Design length -> pixels (unsnapped).
  double len(double l) const { return l * k_; }

  // Outlined shapes in design indices; the outline pixels are the given ones.
  void box(double x0, double y0, double x1, double y1, const Fill& fill);
  void poly(std::initializer_list<Point> pts, const Fill& fill);
  void circle(double cx, double cy, double r, const Fill& fill);
  // An outlined box whose outline runs through the given pixels.
  void pbox(int x0, int y0, int x1, int y1, const Fill& fill);
  // Adds a polygon through the centres of the given pixels to the path.
  void ppath(std::initializer_list<Point> pixelPts);
  // A disc or ring set pixel by pixel (centre and radii in pixels): the
  // outline is every pixel of the shape beside a pixel outside it.  Small
  // circles keep their roundness this way where path edges would square them.
  void pixelRing(double cx, double cy, double outer, double inner, const Fill& fill,
                 bool outlined = true);
  // Any shape set pixel by pixel: `inside` tells which pixels of the given
  // span belong to it; pixels of it beside a pixel outside it are ink.
  void pixelShape(int x0, int y0, int x1, int y1, const std::function<bool(int, int)>& inside,
                  const Fill& fill, bool outlined = true);
  // Fills the current path and outlines it (or not).
  void shape(const Fill& fill, bool outline = true);

  // Unoutlined pixel spans in design indices (inclusive), and in pixels.
  void span(double x0, double y0, double x1, double y1, Rgb colour);
  void pixels(int x0, int y0, int x1, int y1, Rgb colour);
  // A stroke between pixel centres of the given width in pixels.
  void line(double x0, double y0, double x1, double y1, Rgb colour, double width = 1);

  // Transforms about the cell's centre for mirrored and rotated variants.
  void mirror();
  void rotate(int quarterTurns);

  // Centre of a circle snapped to a pixel centre or edge, and a radius that
  // puts its outline through pixel centres.
  double centre(double i) const;
  double radius(double centre, double r) const;

private:
  cairo_t* cr_;
  int size_;
  double k_;
};

void SetColour(cairo_t* cr, Rgb c);

} // namespace glyphgen
