#include "tools/glyphgen/GlyphCell.h"

#include <algorithm>
#include <cmath>

namespace glyphgen {

void SetColour(cairo_t* cr, Rgb c) {
  cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

Cell::Cell(cairo_t* cr, int size) : cr_(cr), size_(size), k_((size - 1) / 15.0) {}

double Cell::pick(double at16, double at24, double at32) const {
  return size_ <= 16 ? at16 : size_ <= 24 ? at24 : at32;
}

double Cell::px(double i) const {
  return std::round(i * k_);
}

double Cell::centre(double i) const {
  return std::round((i * k_ + 0.5) * 2) / 2;
}

double Cell::radius(double centre, double r) const {
  const double left = std::floor(centre - r * k_) + 0.5;
  return centre - left;
}

void Cell::shape(const Fill& fill, bool outline) {
  // Paths are kept in device space, so measuring and painting them under the
  // identity keeps the gradient vertical whatever transform drew them.
  cairo_save(cr_);
  cairo_matrix_t keep;
  cairo_get_matrix(cr_, &keep);
  cairo_identity_matrix(cr_);
  double x0, y0, x1, y1;
  cairo_fill_extents(cr_, &x0, &y0, &x1, &y1);
  cairo_matrix_t m;
  cairo_get_matrix(cr_, &m);
  if (fill.top == fill.bottom) {
    SetColour(cr_, fill.top);
  } else {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, fill.top.r / 255.0, fill.top.g / 255.0,
                                     fill.top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, fill.bottom.r / 255.0, fill.bottom.g / 255.0,
                                     fill.bottom.b / 255.0);
    cairo_set_source(cr_, p);
    cairo_pattern_destroy(p);
  }
  if (outline) {
    cairo_fill_preserve(cr_);
    SetColour(cr_, pal::Ink);
    cairo_set_line_width(cr_, 1);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr_, 4);
    cairo_stroke(cr_);
  } else {
    cairo_fill(cr_);
  }
  cairo_restore(cr_);
}

void Cell::box(double x0, double y0, double x1, double y1, const Fill& fill) {
  const double l = c(x0), t = c(y0), r = c(x1), b = c(y1);
  cairo_rectangle(cr_, l, t, r - l, b - t);
  shape(fill);
}

void Cell::poly(std::initializer_list<Point> pts, const Fill& fill) {
  bool first = true;
  for (const auto& [x, y] : pts) {
    if (first)
      cairo_move_to(cr_, c(x), c(y));
    else
      cairo_line_to(cr_, c(x), c(y));
    first = false;
  }
  cairo_close_path(cr_);
  shape(fill);
}

void Cell::pbox(int x0, int y0, int x1, int y1, const Fill& fill) {
  cairo_rectangle(cr_, x0 + 0.5, y0 + 0.5, x1 - x0, y1 - y0);
  shape(fill);
}

void Cell::ppath(std::initializer_list<Point> pixelPts) {
  bool first = true;
  for (const auto& [x, y] : pixelPts) {
    if (first)
      cairo_move_to(cr_, x + 0.5, y + 0.5);
    else
      cairo_line_to(cr_, x + 0.5, y + 0.5);
    first = false;
  }
  cairo_close_path(cr_);
}

void Cell::pixelShape(int x0, int y0, int x1, int y1, const std::function<bool(int, int)>& inside,
                      const Fill& fill, bool outlined) {
  for (int j = y0; j <= y1; ++j)
    for (int i = x0; i <= x1; ++i) {
      if (!inside(i, j)) continue;
      const bool edge =
          !inside(i - 1, j) || !inside(i + 1, j) || !inside(i, j - 1) || !inside(i, j + 1);
      const double t = y1 > y0 ? double(j - y0) / (y1 - y0) : 0.0;
      auto mix = [t](unsigned char a, unsigned char b) {
        return static_cast<unsigned char>(std::lround(a + (b - a) * t));
      };
      const Rgb shade{mix(fill.top.r, fill.bottom.r), mix(fill.top.g, fill.bottom.g),
                      mix(fill.top.b, fill.bottom.b)};
      pixels(i, j, i, j, edge && outlined ? pal::Ink : shade);
    }
}

void Cell::pixelRing(double cx, double cy, double outer, double inner, const Fill& fill,
                     bool outlined) {
  auto inside = [&](int i, int j) {
    const double dx = i + 0.5 - cx, dy = j + 0.5 - cy, d = std::sqrt(dx * dx + dy * dy);
    return d <= outer + 0.25 && (inner <= 0 || d > inner + 0.25);
  };
  pixelShape(int(std::floor(cx - outer - 1)), int(std::floor(cy - outer - 1)),
             int(std::ceil(cx + outer + 1)), int(std::ceil(cy + outer + 1)), inside, fill,
             outlined);
}

void Cell::circle(double cx, double cy, double r, const Fill& fill) {
  const double x = centre(cx), y = centre(cy);
  if (size_ <= 16) {
    pixelRing(x, y, radius(x, r), 0, fill);
    return;
  }
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, x, y, radius(x, r), 0, 2 * M_PI);
  shape(fill);
}

void Cell::span(double x0, double y0, double x1, double y1, Rgb colour) {
  pixels(int(px(x0)), int(px(y0)), int(px(x1)), int(px(y1)), colour);
}

void Cell::pixels(int x0, int y0, int x1, int y1, Rgb colour) {
  SetColour(cr_, colour);
  cairo_rectangle(cr_, x0, y0, x1 - x0 + 1, y1 - y0 + 1);
  cairo_fill(cr_);
}

void Cell::line(double x0, double y0, double x1, double y1, Rgb colour, double width) {
  // Odd widths are centred on pixel centres, even widths on pixel edges, so
  // that straight strokes cover whole pixels.
  const double shift = (int(width) % 2 == 1) ? 0.5 : 0.0;
  SetColour(cr_, colour);
  cairo_set_line_width(cr_, width);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_move_to(cr_, px(x0) + shift, px(y0) + shift);
  cairo_line_to(cr_, px(x1) + shift, px(y1) + shift);
  cairo_stroke(cr_);
}

void Cell::mirror() {
  cairo_translate(cr_, size_, 0);
  cairo_scale(cr_, -1, 1);
}

void Cell::rotate(int quarterTurns) {
  const double h = size_ / 2.0;
  cairo_translate(cr_, h, h);
  cairo_rotate(cr_, quarterTurns * M_PI / 2);
  cairo_translate(cr_, -h, -h);
}

} // namespace glyphgen
