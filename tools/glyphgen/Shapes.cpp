#include "tools/glyphgen/Shapes.h"

#include <cmath>

namespace glyphgen {

void Page(Cell& c, double x0, double y0, double x1, double y1, double fold) {
  const int l = int(c.px(x0)), t = int(c.px(y0)), r = int(c.px(x1)), b = int(c.px(y1));
  const int f = int(std::round(c.len(fold)));
  c.ppath({{l, t}, {r - f, t}, {r, t + f}, {r, b}, {l, b}});
  c.shape(fills::Paper());
  c.ppath({{r - f, t}, {r - f, t + f}, {r, t + f}});
  c.shape(Fill(pal::PaperShade));
}

void TextLines(Cell& c, double x0, double y0, double x1, double y1) {
  // Lengths vary the way lines of prose do; the rhythm is one pixel of ink
  // and one of paper at 16, one and two above.
  static const double lengths[] = {1.0, 0.8, 1.0, 0.55, 0.9, 1.0, 0.7, 0.85, 1.0, 0.6};
  const int l = int(c.px(x0)), r = int(c.px(x1));
  const int step = int(c.pick(2, 3, 3));
  int n = 0;
  for (int y = int(c.px(y0)); y <= int(c.px(y1)); y += step, ++n) {
    const int end = l + int(std::round((r - l) * lengths[n % 10]));
    c.pixels(l, y, end, y, pal::TextLine);
  }
}

void Window(Cell& c, double x0, double y0, double x1, double y1) {
  const int l = int(c.px(x0)), t = int(c.px(y0)), r = int(c.px(x1)), b = int(c.px(y1));
  const int bar = int(c.pick(3, 4, 5));
  c.pbox(l, t, r, b, fills::Paper());
  c.pbox(l, t, r, t + bar, fills::Blue());
}

void Folder(Cell& c, double x0, double y0, double x1, double y1, bool open) {
  const int l = int(c.px(x0)), t = int(c.px(y0)), r = int(c.px(x1)), b = int(c.px(y1));
  const int tab = int(c.pick(2, 3, 4));
  const int tabWidth = (r - l) * 2 / 5;
  const int back = open ? r - int(c.pick(2, 3, 4)) : r;
  c.ppath({{l, t},
           {l + tabWidth, t},
           {l + tabWidth + tab, t + tab},
           {back, t + tab},
           {back, b},
           {l, b}});
  c.shape(Fill(pal::Yellow, pal::Brown));
  const int front = t + tab + int(c.pick(2, 3, 4));
  if (open) {
    // A sheet standing in the folder, seen above the opened flap.
    c.pbox(l + tab + 1, t + tab + 1, back - tab + 1, b - 2, fills::Paper());
    const int lean = int(c.pick(3, 4, 6));
    c.ppath({{l + lean, front + 1}, {r, front + 1}, {r - lean, b}, {l, b}});
  } else {
    c.ppath({{l, front}, {r, front}, {r, b}, {l, b}});
  }
  c.shape(fills::Yellow());
}

void Diskette(Cell& c, double x0, double y0, double x1, double y1) {
  const int l = int(c.px(x0)), t = int(c.px(y0)), r = int(c.px(x1)), b = int(c.px(y1));
  const int w = r - l, h = b - t;
  const int cut = int(c.pick(2, 2, 3));
  c.ppath({{l, t}, {r - cut, t}, {r, t + cut}, {r, b}, {l, b}});
  c.shape(fills::Blue());
  // The metal shutter with its window at the top.
  const int sl = l + (w + 2) / 4, sr = r - (w + 3) / 5, sb = t + (h * 2 + 3) / 5;
  c.pbox(sl, t, sr, sb, fills::Grey());
  const int slotW = std::max(1, (sr - sl) / 4);
  c.pixels(sr - slotW - 1, t + 1 + (c.size() > 16), sr - 2, sb - 1 - (c.size() > 16),
           pal::BlueDark);
  // The label at the bottom.
  const int ll = l + std::max(2, w / 6), lr = r - std::max(2, w / 6), lt = t + (h * 3 + 2) / 5;
  c.pbox(ll, lt, lr, b, fills::Paper());
  if (c.size() > 16)
    for (int y = lt + 2; y < b - 1; y += 3)
      c.pixels(ll + 2, y, lr - 2, y, pal::TextLine);
}

void Star(Cell& c, double cx, double cy, double outer, double inner, int points, const Fill& fill) {
  const double x = c.centre(cx), y = c.centre(cy);
  for (int i = 0; i < 2 * points; ++i) {
    const double a = -M_PI / 2 + i * M_PI / points;
    const double rr = (i % 2 == 0) ? outer : inner;
    const double px = x + rr * std::cos(a), py = y + rr * std::sin(a);
    if (i == 0)
      cairo_move_to(c.cr(), px, py);
    else
      cairo_line_to(c.cr(), px, py);
  }
  cairo_close_path(c.cr());
  c.shape(fill);
}

void Spark(Cell& c, double cx, double cy, double r) {
  const int x = int(c.px(cx)), y = int(c.px(cy));
  if (c.size() <= 16) {
    PixelArt(c, x - 3, y - 3,
             {"...k...", "..kyk..", ".kkykk.", "kyyyyyk", ".kkYkk.", "..kYk..", "...k..."});
    return;
  }
  // Four points and a narrow waist, every corner on a pixel centre.
  const int reach = int(c.pick(3, 6, 8)), waist = int(c.pick(1, 2, 2));
  c.ppath({{x, y - reach},
           {x + waist, y - waist},
           {x + reach, y},
           {x + waist, y + waist},
           {x, y + reach},
           {x - waist, y + waist},
           {x - reach, y},
           {x - waist, y - waist}});
  c.shape(Fill(pal::YellowLight, pal::Yellow));
}

void PixelArt(Cell& c, int x, int y, std::initializer_list<const char*> rows) {
  static const std::pair<char, Rgb> kColours[] = {
      {'k', pal::Ink},       {'w', pal::Paper}, {'y', pal::YellowLight}, {'Y', pal::Yellow},
      {'b', pal::BlueLight}, {'B', pal::Blue},  {'g', pal::GreenLight},  {'G', pal::Green},
      {'r', pal::RedLight},  {'R', pal::Red},   {'a', pal::GreyLight},   {'A', pal::Grey},
      {'d', pal::GreyDark}};
  int j = 0;
  for (const char* row : rows) {
    for (int i = 0; row[i] != '\0'; ++i)
      for (const auto& [key, colour] : kColours)
        if (row[i] == key) c.pixels(x + i, y + j, x + i, y + j, colour);
    ++j;
  }
}

void Lens(Cell& c, double cx, double cy, double r, double handleEnd) {
  cairo_t* cr = c.cr();
  const double x = c.centre(cx), y = c.centre(cy);
  const double rad = c.radius(x, r);
  // The handle first, so the rim covers its root.
  const double hw = c.pick(3, 4, 5);
  const double from = rad * 0.7, to = c.px(handleEnd) + 0.5;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, M_PI / 4);
  const double reach = (to - x) * std::sqrt(2.0);
  cairo_rectangle(cr, from, -hw / 2, reach - from, hw);
  cairo_restore(cr);
  c.shape(Fill(pal::GreyDark, pal::Ink));
  if (c.size() <= 16) {
    c.pixelRing(x, y, rad, 0, Fill(pal::Paper, pal::BlueLight));
    return;
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, rad, 0, 2 * M_PI);
  c.shape(Fill(pal::Ink), false);
  const double rim = c.pick(1, 1.5, 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, rad - rim, 0, 2 * M_PI);
  c.shape(Fill(pal::Paper, pal::BlueLight), false);
}

void Arrow(Cell& c, double x0, double x1, double y, int s, int h, const Fill& fill) {
  const int l = int(c.px(x0)), r = int(c.px(x1)), m = int(c.px(y));
  c.ppath({{l, m - s},
           {r - h, m - s},
           {r - h, m - h},
           {r, m},
           {r - h, m + h},
           {r - h, m + s},
           {l, m + s}});
  c.shape(fill);
}

void ArcArrow(Cell& c, double cx, double cy, double outer, double inner, double a0, double a1,
              double head, const Fill& fill) {
  cairo_t* cr = c.cr();
  const double x = c.c(cx), y = c.c(cy);
  const double mid = (outer + inner) / 2;
  auto at = [&](double radius, double a) {
    return Point{x + radius * std::cos(a), y + radius * std::sin(a)};
  };
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, outer, a0, a1);
  const auto [ox, oy] = at(mid + head, a1);
  cairo_line_to(cr, ox, oy);
  // The tip lies ahead along the direction of travel (clockwise).
  const auto [mx, my] = at(mid, a1);
  cairo_line_to(cr, mx - head * std::sin(a1), my + head * std::cos(a1));
  const auto [ix, iy] = at(mid - head, a1);
  cairo_line_to(cr, ix, iy);
  cairo_arc_negative(cr, x, y, inner, a1, a0);
  cairo_close_path(cr);
  c.shape(fill);
}

} // namespace glyphgen
