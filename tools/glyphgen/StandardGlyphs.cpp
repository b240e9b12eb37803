// The 36 cells of the main window's glyph strip.  Each function draws one
// glyph on the 16-step design grid (see GlyphCell.h); `c.pick` chooses the
// detail or weight that suits the 16, 24 or 32 pixel glyph.

#include <algorithm>
#include <cmath>

#include "tools/glyphgen/Shapes.h"
#include "tools/glyphgen/Strip.h"

namespace glyphgen {
namespace {

// Weight of the heavy strokes (letters, curved arrows) at each size.
double Heavy(const Cell& c) {
  return c.pick(2, 3, 4);
}

void StrokeInk(Cell& c, double width, Rgb colour = pal::Ink) {
  SetColour(c.cr(), colour);
  cairo_set_line_width(c.cr(), width);
  cairo_set_line_join(c.cr(), CAIRO_LINE_JOIN_MITER);
  cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_BUTT);
  cairo_stroke(c.cr());
}

// --- file ------------------------------------------------------------------

void Exit(Cell& c) {
  // A door standing open with the way out pointing through it.
  const int l = int(c.px(1)), t = int(c.px(1)), r = int(c.px(10)), b = int(c.px(14));
  c.pbox(l, t, r, b, Fill(pal::GreyDark, pal::Ink));
  const int swing = int(c.pick(4, 6, 8));
  const int sag = int(c.pick(2, 3, 4));
  c.ppath({{l, t}, {l + swing, t + sag}, {l + swing, b + std::min(sag, c.size() - 1 - b)}, {l, b}});
  c.shape(fills::Brown());
  c.pixels(l + swing - 2, (t + b) / 2 + 1, l + swing - 2 + (c.size() > 16),
           (t + b) / 2 + 1 + (c.size() > 16), pal::Ink);
  Arrow(c, 5.5, 15, 7.5, int(c.pick(1, 2, 2)), int(c.pick(4, 5, 7)), fills::Green());
}

void NewFile(Cell& c) {
  Page(c, 3, 1, 13, 14, 4);
  Spark(c, 4, 4, 4);
}

void Open(Cell& c) {
  Folder(c, 0, 2, 15, 13, true);
}

void Save(Cell& c) {
  Diskette(c, 1, 1, 14, 14);
}

void SaveAll(Cell& c) {
  Diskette(c, 4, 0, 15, 11);
  Diskette(c, 0, 4, 11, 15);
}

void Help(Cell& c) {
  c.circle(7.5, 7.5, 7, fills::Blue());
  cairo_t* cr = c.cr();
  const double x = c.size() / 2.0, w = Heavy(c);
  const double hook = c.pick(2, 3, 4.5);
  const double top = c.px(3.5) + w / 2 + (c.size() == 24 ? 0.5 : 0);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, top + hook, hook, M_PI * 1.05, M_PI * 2.5);
  cairo_line_to(cr, x, top + 2 * hook + c.pick(2, 2, 3));
  StrokeInk(c, w, pal::Paper);
  const int dot = int(c.px(11));
  c.pixels(int(x - w / 2), dot, int(x + w / 2) - 1, dot + int(w) - 1, pal::Paper);
}

void Print(Cell& c) {
  c.box(4, 1, 11, 7, fills::Paper());
  c.box(0, 5, 15, 12, fills::Grey());
  c.span(1, 6, 14, 6, pal::Paper);
  c.box(3, 9, 12, 14, fills::Paper());
  TextLines(c, 5, 11, 10, 13);
  c.span(12.5, 7, 13, 7.5, pal::Green);
}

void PrintPreview(Cell& c) {
  Page(c, 1, 0, 11, 14, 3);
  TextLines(c, 3, 3, 9, 12);
  Lens(c, 9.5, 9.5, 3.8, 15);
}

// --- edit ------------------------------------------------------------------

void Cut(Cell& c) {
  cairo_t* cr = c.cr();
  const double w = c.pick(2, 2.5, 3);
  // Blades cross above the handles.
  cairo_move_to(cr, c.c(4.5), c.c(9));
  cairo_line_to(cr, c.c(10.5), c.c(0.5));
  StrokeInk(c, w, pal::GreyDark);
  cairo_move_to(cr, c.c(10.5), c.c(9));
  cairo_line_to(cr, c.c(4.5), c.c(0.5));
  StrokeInk(c, w, pal::GreyDark);
  c.span(7.5, 5, 7.5, 5, pal::GreyLight);
  for (double hx : {4.0, 11.0}) {
    const double x = c.centre(hx), y = c.centre(11);
    const double outer = c.radius(x, 3.2), inner = outer - c.pick(2, 3, 4);
    if (c.size() <= 16) {
      // Small handles are plain red loops: an outline would fill them.
      c.pixelRing(hx < 8 ? 4.0 : 12.0, 12.0, 2.6, 1.0, Fill(pal::Red), false);
      continue;
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, outer, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, inner, 0, 2 * M_PI);
    c.shape(fills::Red());
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  }
}

void Copy(Cell& c) {
  Page(c, 0, 0, 9, 11, 3);
  TextLines(c, 2, 3, 6, 9);
  Page(c, 5, 4, 15, 15, 3);
  TextLines(c, 7, 7, 12, 13);
}

void Paste(Cell& c) {
  c.box(1, 2, 11, 14, fills::Brown());
  c.box(4, 0.5, 8, 3.5, fills::Grey());
  Page(c, 6, 6, 15, 15, 3);
  TextLines(c, 8, 9, 12, 13);
}

void UndoArrow(Cell& c) {
  if (c.size() <= 16) {
    // Set by pixels: a left-pointing head, the upper arm, a half ring and the
    // lower arm, outlined where they meet the background.
    c.pixelShape(
        0, 0, 15, 15,
        [](int i, int j) {
          const double d = std::abs(j + 0.5 - 5.0);
          const bool head = d <= 3.5 && i <= 5 && i >= 1 + (d - 0.5);
          const bool upper = j >= 3 && j <= 6 && i >= 5 && i <= 8;
          const bool lower = j >= 11 && j <= 14 && i >= 6 && i <= 8;
          const double dx = i + 0.5 - 9.0, dy = j + 0.5 - 9.0, r = std::sqrt(dx * dx + dy * dy);
          const bool ring = i >= 9 && r > 2.0 && r <= 5.75;
          return head || upper || lower || ring;
        },
        fills::Blue());
    return;
  }
  // A U-turn band to the right that ends in a head pointing left.  Centre,
  // radii and head are whole pixels per size, so that the straight edges run
  // through pixel centres and the head's sides are true diagonals.
  const double x = c.pick(8, 12, 16) + 0.5, y = c.pick(9, 13, 18) + 0.5;
  const double outer = c.pick(5, 8, 10), inner = c.pick(1, 2, 4);
  const double mid = (outer + inner) / 2, head = c.pick(4, 6, 8);
  const double base = x - c.pick(3, 4, 6), tip = base - head;
  const double tail = c.pick(1, 2, 3);
  cairo_t* cr = c.cr();
  cairo_move_to(cr, base, y - outer);
  cairo_line_to(cr, x, y - outer);
  cairo_arc(cr, x, y, outer, -M_PI / 2, M_PI / 2);
  cairo_line_to(cr, x - tail, y + outer);
  cairo_line_to(cr, x - tail, y + inner);
  cairo_line_to(cr, x, y + inner);
  cairo_arc_negative(cr, x, y, inner, M_PI / 2, -M_PI / 2);
  cairo_line_to(cr, base, y - inner);
  cairo_line_to(cr, base, y - mid + head);
  cairo_line_to(cr, tip, y - mid);
  cairo_line_to(cr, base, y - mid - head);
  cairo_close_path(cr);
  c.shape(fills::Blue());
}

void Undo(Cell& c) {
  UndoArrow(c);
}

void Redo(Cell& c) {
  c.mirror();
  UndoArrow(c);
}

void NewWindow(Cell& c) {
  Window(c, 0, 1, 13, 13);
  Spark(c, 11.5, 11.5, 4);
}

void Delete(Cell& c) {
  // A cross of two bars at right angles, drawn as one outline.
  const double m = c.size() / 2.0;
  const double e = std::floor(c.len(6.5)) + 0.5, t = c.pick(2, 3, 4);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  const Point pts[] = {{-e, -e + t}, {-e + t, -e}, {0, -t}, {e - t, -e}, {e, -e + t}, {t, 0},
                       {e, e - t},   {e - t, e},   {0, t},  {-e + t, e}, {-e, e - t}, {-t, 0}};
  for (const auto& [px, py] : pts)
    cairo_line_to(cr, m + px, m + py);
  cairo_close_path(cr);
  c.shape(fills::Red());
}

void Find(Cell& c) {
  Lens(c, 6, 6, 5.2, 15);
}

void Replace(Cell& c) {
  c.box(0, 0, 6, 6, fills::Blue());
  c.box(8, 9, 14, 14, fills::Yellow());
  if (c.size() <= 16) {
    c.pixelShape(
        7, 1, 15, 9,
        [](int i, int j) {
          const bool arm = j >= 2 && j <= 4 && i >= 7 && i <= 12;
          const bool stem = j >= 2 && j <= 5 && i >= 10 && i <= 12;
          const bool head = j >= 5 && j <= 8 && std::abs(i - 11) <= 8 - j;
          return arm || stem || head;
        },
        fills::Green());
    return;
  }
  // A bent arrow from the first box round to the second.
  const int s = int(c.pick(1, 1, 2)), h = int(c.pick(3, 4, 5));
  const int x0 = int(c.px(7)), y = int(c.px(3)), x = int(c.px(11)), tip = int(c.px(7.5));
  c.ppath({{x0, y - s},
           {x + s, y - s},
           {x + s, tip - h},
           {x + h, tip - h},
           {x, tip},
           {x - h, tip - h},
           {x - s, tip - h},
           {x - s, y + s},
           {x0, y + s}});
  c.shape(fills::Green());
}

// --- text format -----------------------------------------------------------

void Bold(Cell& c) {
  cairo_t* cr = c.cr();
  const double w = c.pick(3, 4, 5);
  const double l = c.px(3.5) + w / 2, t = c.px(1) + w / 2, b = c.px(14) + 1 - w / 2;
  const double mid = std::round((t + b) / 2 - 0.5 * (c.size() == 16)) + (int(w) % 2) * 0.5;
  const double r1 = (mid - t) / 2, r2 = (b - mid) / 2;
  const double right1 = c.px(10.5) + 1 - w / 2, right2 = c.px(11.5) + 1 - w / 2;
  cairo_move_to(cr, l, b);
  cairo_line_to(cr, l, t);
  cairo_line_to(cr, right1 - r1, t);
  cairo_arc(cr, right1 - r1, t + r1, r1, -M_PI / 2, M_PI / 2);
  cairo_line_to(cr, l, mid);
  cairo_line_to(cr, right2 - r2, mid);
  cairo_arc(cr, right2 - r2, mid + r2, r2, -M_PI / 2, M_PI / 2);
  cairo_close_path(cr);
  StrokeInk(c, w);
}

void Italic(Cell& c) {
  // A slanted stem with a serif across each end, centred on the stem there.
  // At 16 pixels the slant is a staircase set by hand so its steps are even.
  if (c.size() <= 16) {
    PixelArt(c, 0, 1,
             {".......kkkkk", ".......kkkkk", "........kk", "........kk", ".......kk", ".......kk",
              ".......kk", "......kk", "......kk", "......kk", ".....kk", ".....kk", "...kkkkk",
              "...kkkkk"});
    return;
  }
  cairo_t* cr = c.cr();
  const double w = c.pick(2, 3, 4), serif = c.pick(2, 2, 3), half = c.pick(3, 4, 6);
  const double t = c.px(1), b = c.px(14) + 1;
  const double slant = c.pick(4, 6, 8);
  const double xb = std::round(c.size() / 2.0 - slant / 2 - w / 2), xt = xb + slant;
  cairo_move_to(cr, xb, b);
  cairo_line_to(cr, xb + w, b);
  cairo_line_to(cr, xt + w, t);
  cairo_line_to(cr, xt, t);
  cairo_close_path(cr);
  SetColour(cr, pal::Ink);
  cairo_fill(cr);
  const int topMid = int(xt + w / 2), bottomMid = int(xb + w / 2);
  c.pixels(topMid - int(half) + 1, int(t), topMid + int(half), int(t + serif - 1), pal::Ink);
  c.pixels(bottomMid - int(half), int(b - serif), bottomMid + int(half) - 1, int(b - 1), pal::Ink);
}

void Underline(Cell& c) {
  cairo_t* cr = c.cr();
  const double w = c.pick(2, 3, 4);
  const double l = c.px(3) + w / 2, r = c.px(12) + 1 - w / 2, t = c.px(1);
  const double b = c.px(11) + 1 - w / 2, rad = (r - l) / 2;
  cairo_move_to(cr, l, t);
  cairo_line_to(cr, l, b - rad);
  cairo_arc_negative(cr, (l + r) / 2, b - rad, rad, M_PI, 0);
  cairo_line_to(cr, r, t);
  StrokeInk(c, w);
  const int under = int(c.px(13.5));
  c.pixels(int(c.px(1)), under, int(c.px(14)), under + int(c.pick(1, 2, 2)), pal::Blue);
}

// Lines of text set flush left (0), centred (1) or flush right (2).
void AlignLines(Cell& c, int mode) {
  const int thick = int(c.pick(2, 2, 3)), step = int(c.pick(3, 4, 5));
  const int l = int(c.px(1)), r = int(c.px(14));
  int n = 0;
  for (int y = int(c.px(1.5)); y + thick <= int(c.px(14)) + 1; y += step, ++n) {
    const int len = (n % 2 == 0) ? r - l : (r - l) * 3 / 5 - ((r - l) * 3 / 5) % 2 * (mode == 1);
    const int x0 = mode == 0 ? l : mode == 1 ? l + (r - l - len) / 2 : r - len;
    c.pixels(x0, y, x0 + len, y + thick - 1, pal::Ink);
  }
}

void AlignLeft(Cell& c) {
  AlignLines(c, 0);
}
void AlignCentre(Cell& c) {
  AlignLines(c, 1);
}
void AlignRight(Cell& c) {
  AlignLines(c, 2);
}

// --- view ------------------------------------------------------------------

void ZoomSign(Cell& c, bool plus) {
  Lens(c, 6, 6, 5.5, 15);
  const int m = int(c.px(6)), arm = int(c.pick(3, 3, 5)), t = int(c.pick(0, 1, 1));
  c.pixels(m - arm, m - t, m + arm, m + t, pal::Ink);
  if (plus) c.pixels(m - t, m - arm, m + t, m + arm, pal::Ink);
}

void ZoomIn(Cell& c) {
  ZoomSign(c, true);
}
void ZoomOut(Cell& c) {
  ZoomSign(c, false);
}

void Refresh(Cell& c) {
  const double outer = c.pick(6, 9, 12), inner = c.pick(3, 5, 7), head = c.pick(3, 4, 5.5);
  ArcArrow(c, 7.5, 7.5, outer, inner, M_PI * 1.05, M_PI * 1.75, head, fills::Green());
  ArcArrow(c, 7.5, 7.5, outer, inner, M_PI * 0.05, M_PI * 0.75, head, fills::Green());
}

void Properties(Cell& c) {
  c.box(1, 0, 14, 15, fills::Paper());
  const int l = int(c.px(3)), r = int(c.px(12));
  const int mark = int(c.pick(2, 3, 4)), step = int(c.pick(4, 6, 6));
  for (int y = int(c.px(2.5)); y + mark <= int(c.px(13.5)); y += step) {
    c.pbox(l, y, l + mark, y + mark, fills::Blue());
    c.pixels(l + mark + 2, y + mark / 2, r, y + mark / 2 + (c.size() > 24), pal::TextLine);
  }
}

void Home(Cell& c) {
  c.box(3, 7, 12, 14, fills::Paper());
  c.box(6, 9, 9, 14, fills::Brown());
  const int m = c.size() / 2;
  const int e = int(c.px(7.5)), top = int(c.px(0.5));
  const int l = m - e - 1 + (c.size() == 16 ? 1 : 0), r = m + e - (c.size() == 16 ? 1 : 0);
  const int eave = top + (r - l + 1) / 2;
  c.ppath({{l, eave}, {(l + r) / 2, top}, {(l + r + 1) / 2, top}, {r, eave}});
  c.shape(fills::Red());
}

void Back(Cell& c) {
  c.mirror();
  Arrow(c, 1, 14, 7.5, int(c.pick(2, 3, 4)), int(c.pick(6, 9, 12)), fills::Green());
}

void Forward(Cell& c) {
  Arrow(c, 1, 14, 7.5, int(c.pick(2, 3, 4)), int(c.pick(6, 9, 12)), fills::Green());
}

void Up(Cell& c) {
  c.rotate(-1);
  Arrow(c, 1, 14, 7.5, int(c.pick(2, 3, 4)), int(c.pick(6, 9, 12)), fills::Green());
}

void ClosedFolder(Cell& c) {
  Folder(c, 0, 2, 15, 13, false);
}

void Settings(Cell& c) {
  if (c.size() <= 16) {
    // Eight teeth cannot be cut evenly from a 16 pixel path; set by hand.
    PixelArt(c, 0, 0,
             {".....kkkkk.....", "..kk.kaaak.kk..", "..kakkaaakkak..", "...kaaaaaaak...",
              "..kaaakkkaaak..", "kkkaak...kAAkkk", "kaaak.....kAAAk", "kAAAk.....kAAAk",
              "kAAAk.....kAAAk", "kkkAAk...kAAkkk", "..kAAAkkkAAdk..", "...kAAAAAddk...",
              "..kdkkAAdkkdk..", "..kk.kdddk.kk..", ".....kkkkk....."});
    return;
  }
  cairo_t* cr = c.cr();
  const int teeth = int(c.pick(6, 8, 8));
  const double x = c.size() / 2.0, y = c.size() / 2.0;
  const double ro = c.size() / 2.0 - c.pick(1, 1, 1), rr = ro - c.pick(2, 3, 4);
  const double hole = c.pick(2, 3, 4);
  const double step = 2 * M_PI / teeth;
  cairo_new_sub_path(cr);
  for (int i = 0; i < teeth; ++i) {
    const double a = i * step;
    const double tipHalf = step * 0.22, rootHalf = step * 0.32;
    auto to = [&](double radius, double ang) {
      double px = x + radius * std::cos(ang), py = y + radius * std::sin(ang);
      // Corners on pixel centres keep the small gear's teeth square.
      if (c.size() <= 16) px = std::floor(px) + 0.5, py = std::floor(py) + 0.5;
      cairo_line_to(cr, px, py);
    };
    to(rr, a - rootHalf);
    to(ro, a - tipHalf);
    to(ro, a + tipHalf);
    to(rr, a + rootHalf);
  }
  cairo_close_path(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, hole, 0, 2 * M_PI);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  c.shape(fills::Grey());
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void Info(Cell& c) {
  c.circle(7.5, 7.5, 7, fills::Blue());
  const int w = int(Heavy(c));
  const int x = c.size() / 2 - w / 2;
  const int dot = int(c.px(3.5));
  c.pixels(x, dot, x + w - 1, dot + w - 1, pal::Paper);
  c.pixels(x, dot + w + int(c.pick(1, 2, 2)), x + w - 1, int(c.px(11.5)), pal::Paper);
}

void Favourite(Cell& c) {
  const double r = c.size() / 2.0 - 0.5;
  Star(c, 7.5, 8, r, r * 0.45, 5, fills::Yellow());
}

void Picture(Cell& c) {
  cairo_t* cr = c.cr();
  const int l = int(c.px(0)), t = int(c.px(2)), r = int(c.px(15)), b = int(c.px(13));
  c.pbox(l, t, r, b, Fill(pal::BlueLight, pal::Paper));
  c.circle(10.5, 5.5, 1.6, fills::Yellow());
  c.ppath({{l, b},
           {l, int(c.px(9))},
           {int(c.px(4.5)), int(c.px(5))},
           {int(c.px(9)), int(c.px(9.5))},
           {int(c.px(11)), int(c.px(7.5))},
           {r, int(c.px(11.5))},
           {r, b}});
  c.shape(fills::Green());
  // The frame is outlined once more over the hills.
  cairo_rectangle(cr, l + 0.5, t + 0.5, r - l, b - t);
  StrokeInk(c, 1);
}

const GlyphDef kStandard[] = {
    {"exit", Exit},
    {"new document", NewFile},
    {"open", Open},
    {"save", Save},
    {"save all", SaveAll},
    {"help", Help},
    {"print", Print},
    {"print preview", PrintPreview},
    {"cut", Cut},
    {"copy", Copy},
    {"paste", Paste},
    {"undo", Undo},
    {"new window", NewWindow},
    {"redo", Redo},
    {"delete", Delete},
    {"find", Find},
    {"replace", Replace},
    {"bold", Bold},
    {"italic", Italic},
    {"underline", Underline},
    {"align left", AlignLeft},
    {"align centre", AlignCentre},
    {"align right", AlignRight},
    {"zoom in", ZoomIn},
    {"zoom out", ZoomOut},
    {"refresh", Refresh},
    {"properties", Properties},
    {"home", Home},
    {"back", Back},
    {"forward", Forward},
    {"up", Up},
    {"folder", ClosedFolder},
    {"settings", Settings},
    {"information", Info},
    {"favourite", Favourite},
    {"picture", Picture},
};

} // namespace

std::span<const GlyphDef> StandardGlyphs() {
  return kStandard;
}

} // namespace glyphgen
