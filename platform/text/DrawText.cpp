// DrawText: prefixes, line splitting, word breaking, ellipses, alignment and
// clipping, on top of the run drawing of TextPainter.

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "platform/text/FontFace.h"
#include "platform/text/Text.h"
#include "platform/text/TextPainter.h"
#include "platform/text/Utf8.h"

namespace zel::sys {

namespace {

// A character of the text after the '&' prefixes are taken out.
struct Ch {
  char32_t c;
  bool prefixed; // marked by a single '&' before it
};
using Chars = std::vector<Ch>;

struct Line {
  std::u32string text;
  std::vector<int> advances;
  int width = 0;
  int prefix = -1; // index of the underlined character
};

// Measures pen steps; tabs expand to the next multiple of eight average
// characters when asked for and take no room otherwise.
class Measurer {
public:
  Measurer(FontFace& face, bool expandTabs)
      : face_(face), expandTabs_(expandTabs),
        tabWidth_(std::max<int>(1, 8 * face.Metrics().tmAveCharWidth)) {}

  int Advance(char32_t c, int x) const {
    if (c == U'\t') return expandTabs_ ? (x / tabWidth_ + 1) * tabWidth_ - x : 0;
    return face_.Advance(c);
  }
  int Width(const Chars& chars) const {
    int x = 0;
    for (const Ch& ch : chars)
      x = AddWidth(x, Advance(ch.c, x));
    return x;
  }
  Line Finish(const Chars& chars) const {
    Line line;
    for (const Ch& ch : chars) {
      const int a = Advance(ch.c, line.width);
      if (ch.prefixed && line.prefix < 0) line.prefix = int(line.text.size());
      line.text.push_back(ch.c);
      line.advances.push_back(a);
      line.width = AddWidth(line.width, a);
    }
    return line;
  }
  int DotsWidth() const { return 3 * face_.Advance(U'.'); }

private:
  FontFace& face_;
  bool expandTabs_;
  int tabWidth_;
};

// "&x" marks x as the accelerator, "&&" is a literal '&', a lone '&' at the
// end shows nothing.
Chars TakePrefixes(const std::u32string& text, bool noPrefix) {
  Chars out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (!noPrefix && c == U'&') {
      if (++i >= text.size()) break;
      c = text[i];
      out.push_back(Ch{c, c != U'&' && c >= U' '});
      continue;
    }
    out.push_back(Ch{c, false});
  }
  return out;
}

// Splits at "\r\n", "\n" and "\r"; a single line drops the line breaks.
std::vector<Chars> SplitParagraphs(const Chars& chars, bool singleLine) {
  std::vector<Chars> paragraphs(1);
  for (size_t i = 0; i < chars.size(); ++i) {
    const char32_t c = chars[i].c;
    if (c != U'\r' && c != U'\n') {
      paragraphs.back().push_back(chars[i]);
      continue;
    }
    if (singleLine) continue;
    if (c == U'\r' && i + 1 < chars.size() && chars[i + 1].c == U'\n') ++i;
    paragraphs.emplace_back();
  }
  return paragraphs;
}

void TrimTrailingSpaces(Chars& chars) {
  while (!chars.empty() && chars.back().c == U' ')
    chars.pop_back();
}

// Breaks a paragraph into lines no wider than limit: after the last space
// that fits, or, for a word longer than the whole line, at the edge (at
// least one character a line).  Spaces at a break are dropped.
void WrapParagraph(const Chars& para, int limit, const Measurer& m, std::vector<Line>& lines) {
  Chars cur;
  int x = 0;
  int lastSpace = -1;
  bool wrapped = false;
  for (size_t i = 0; i < para.size();) {
    const Ch ch = para[i];
    const int a = m.Advance(ch.c, x);
    if (x + a > limit && !cur.empty() && ch.c != U' ') {
      Chars rest;
      if (lastSpace >= 0) {
        rest.assign(cur.begin() + lastSpace + 1, cur.end());
        cur.resize(size_t(lastSpace));
      }
      TrimTrailingSpaces(cur);
      lines.push_back(m.Finish(cur));
      cur = std::move(rest);
      x = m.Width(cur);
      lastSpace = -1;
      wrapped = true;
      continue; // measure the same character again on the new line
    }
    ++i;
    if (ch.c == U' ' && cur.empty() && wrapped) continue;
    if (ch.c == U' ') lastSpace = int(cur.size());
    cur.push_back(ch);
    x = AddWidth(x, a);
  }
  lines.push_back(m.Finish(cur));
}

// Keeps the longest start of the line that fits limit together with the
// dots (and the kept tail), then appends the dots and the tail.
void CutWithDots(Line& line, int limit, const Measurer& m, const std::u32string& tail, bool force) {
  if (!force && line.width <= limit) return;
  const int tailWidth = m.Width([&] {
    Chars t;
    for (char32_t c : tail)
      t.push_back(Ch{c, false});
    return t;
  }());
  const int room = limit - m.DotsWidth() - tailWidth;
  Chars kept;
  int x = 0;
  for (size_t i = 0; i < line.text.size(); ++i) {
    const int a = m.Advance(line.text[i], x);
    if (x + a > room) break;
    kept.push_back(Ch{line.text[i], int(i) == line.prefix});
    x = AddWidth(x, a);
  }
  for (char32_t c : std::u32string(U"...") + tail)
    kept.push_back(Ch{c, false});
  line = m.Finish(kept);
}

void EndEllipsis(Line& line, int limit, const Measurer& m, bool force = false) {
  CutWithDots(line, limit, m, U"", force);
}

void PathEllipsis(Line& line, int limit, const Measurer& m) {
  if (line.width <= limit) return;
  const size_t sep = line.text.find_last_of(U"\\/");
  if (sep == std::u32string::npos) return EndEllipsis(line, limit, m);
  const std::u32string tail = line.text.substr(sep);
  Line head = line;
  head.text.resize(sep);
  head.advances.resize(sep);
  if (head.prefix >= int(sep)) head.prefix = -1;
  Chars tailChars;
  for (char32_t c : tail)
    tailChars.push_back(Ch{c, false});
  if (m.DotsWidth() + m.Width(tailChars) > limit) return EndEllipsis(line, limit, m);
  CutWithDots(head, limit, m, tail, true);
  line = std::move(head);
}

struct Layout {
  std::vector<Line> lines;
  int lineHeight = 0;
  int widest = 0;
};

Layout LayOut(FontFace& face, std::string_view text, int width, int height, UINT format) {
  const bool singleLine = format & DT_SINGLELINE;
  const bool wrap = (format & DT_WORDBREAK) && !singleLine;
  const bool calc = format & DT_CALCRECT;
  const Measurer m(face, format & DT_EXPANDTABS);
  Layout layout;
  layout.lineHeight = face.Metrics().tmHeight;
  if (text.empty()) return layout;

  const Chars chars = TakePrefixes(DecodeUtf8(text), format & DT_NOPREFIX);
  for (const Chars& para : SplitParagraphs(chars, singleLine)) {
    if (wrap)
      WrapParagraph(para, width, m, layout.lines);
    else
      layout.lines.push_back(m.Finish(para));
  }
  if (!calc) {
    const bool fitsLines = layout.lineHeight > 0 && height >= layout.lineHeight;
    const size_t visible = fitsLines ? size_t(height / layout.lineHeight) : layout.lines.size();
    if (wrap && (format & DT_END_ELLIPSIS) && visible < layout.lines.size()) {
      layout.lines.resize(visible);
      EndEllipsis(layout.lines.back(), width, m, true);
    }
    for (Line& line : layout.lines) {
      if (format & DT_PATH_ELLIPSIS)
        PathEllipsis(line, width, m);
      else if (format & DT_END_ELLIPSIS)
        EndEllipsis(line, width, m);
    }
  }
  for (const Line& line : layout.lines)
    layout.widest = std::max(layout.widest, line.width);
  return layout;
}

// The logical box the turned layout box covers.
RECT TurnedBox(const FontFace& face, POINT anchor, int width, int height) {
  const POINT c[4] = {face.Rotate(0, 0), face.Rotate(width, 0), face.Rotate(0, height),
                      face.Rotate(width, height)};
  RECT box{c[0].x, c[0].y, c[0].x, c[0].y};
  for (const POINT& p : c) {
    box.left = std::min(box.left, p.x), box.right = std::max(box.right, p.x);
    box.top = std::min(box.top, p.y), box.bottom = std::max(box.bottom, p.y);
  }
  OffsetRect(box, anchor.x, anchor.y);
  return box;
}

} // namespace

std::vector<std::string> LayOutText(HDC dc, std::string_view text, const RECT& rect, UINT format) {
  std::vector<std::string> out;
  FontFace* face = SelectedFace(dc);
  if (!face || !Reasonable(rect.left) || !Reasonable(rect.top) || !Reasonable(rect.right) ||
      !Reasonable(rect.bottom))
    return out;
  const bool turned = face->Escapement() != 0;
  const int width = turned ? std::abs(rect.Width()) : rect.Width();
  const int height = turned ? std::abs(rect.Height()) : rect.Height();
  for (const Line& line : LayOut(*face, text, width, height, format).lines)
    out.push_back(EncodeUtf8(line.text));
  return out;
}

int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format) {
  FontFace* face = SelectedFace(dc);
  if (!face || !rect) return 0;
  if (!Reasonable(rect->left) || !Reasonable(rect->top) || !Reasonable(rect->right) ||
      !Reasonable(rect->bottom))
    return 0;
  const bool turned = face->Escapement() != 0;
  const int width = turned ? std::abs(rect->Width()) : rect->Width();
  const int height = turned ? std::abs(rect->Height()) : rect->Height();
  const Layout layout = LayOut(*face, text, width, height, format);
  const int total = int(layout.lines.size()) * layout.lineHeight;

  if (format & DT_CALCRECT) {
    rect->right = rect->left + layout.widest;
    rect->bottom = rect->top + total;
    return total;
  }
  if (!dc->target || layout.lines.empty()) return 0;

  int y = 0;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = (height - layout.lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = height - layout.lineHeight;
  }
  const POINT anchor{rect->left, rect->top};
  RECT clip = turned ? TurnedBox(*face, anchor, width, height) : *rect;
  TextPainter painter(dc, (format & DT_NOCLIP) ? nullptr : &clip);
  RunOptions run;
  run.opaque = dc->state.bkMode == OPAQUE;
  run.skipTabs = true;
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    const Line& line = layout.lines[i];
    int x = 0;
    if (format & DT_CENTER)
      x = (width - line.width) / 2;
    else if (format & DT_RIGHT)
      x = width - line.width;
    const POINT at = face->Rotate(x, y + int(i) * layout.lineHeight);
    run.prefixIndex = (format & DT_HIDEPREFIX) ? -1 : line.prefix;
    DrawRun(painter, dc, *face, anchor.x + at.x, anchor.y + at.y, line.text, line.advances, run);
  }
  return y + total;
}

} // namespace zel::sys
