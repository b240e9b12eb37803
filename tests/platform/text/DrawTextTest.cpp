// DrawText: layout (prefixes, lines, word breaks, ellipses), DT_CALCRECT,
// alignment and clipping.

#include "platform/text/Utf8.h"
#include "tests/platform/text/TextFixture.h"

namespace zel::sys::testing {
namespace {

using DrawTextTest = TextTest;
using Lines = std::vector<std::string>;

TEST_F(DrawTextTest, PrefixesAndLineBreaks) {
  UseFont(-11);
  const RECT r{0, 0, 300, 100};
  EXPECT_EQ(LayOutText(dc_, "&Файл", r, 0), Lines{"Файл"});
  EXPECT_EQ(LayOutText(dc_, "Save && E&xit", r, 0), Lines{"Save & Exit"});
  EXPECT_EQ(LayOutText(dc_, "a&", r, 0), Lines{"a"});
  EXPECT_EQ(LayOutText(dc_, "&File", r, DT_NOPREFIX), Lines{"&File"});
  EXPECT_EQ(LayOutText(dc_, "&File", r, DT_HIDEPREFIX), Lines{"File"});
  EXPECT_EQ(LayOutText(dc_, "a\nb\r\nc\rd", r, 0), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(LayOutText(dc_, "a\n\nb\n", r, 0), (Lines{"a", "", "b", ""}));
  EXPECT_EQ(LayOutText(dc_, "a\r\nb", r, DT_SINGLELINE), Lines{"ab"});
  EXPECT_EQ(LayOutText(dc_, "", r, 0), Lines{});
  RECT drawn = r;
  EXPECT_EQ(DrawText(dc_, "", &drawn, DT_SINGLELINE | DT_VCENTER), 0);
  // Control characters show nothing and take no room.
  EXPECT_EQ(Width("a\x01\x1F\x7F"
                  "b"),
            Width("ab"));
}

TEST_F(DrawTextTest, AcceleratorIsUnderlinedUnlessHidden) {
  UseFont(-16);
  const TEXTMETRIC tm = Metrics();
  RECT r{10, 10, 300, 60};
  auto underlineInk = [&] {
    int count = 0; // dark pixels under the baseline below the first letter
    for (int y = 10 + tm.tmAscent + 1; y < 10 + tm.tmHeight; ++y)
      for (int x = 10; x < 10 + Width("Ф"); ++x)
        count += GetGValue(At(x, y)) < 128;
    return count;
  };
  DrawText(dc_, "Фа&йл", &r, DT_SINGLELINE);
  EXPECT_EQ(underlineInk(), 0);
  Clear();
  DrawText(dc_, "&Файл", &r, DT_SINGLELINE);
  EXPECT_GE(underlineInk(), Width("Ф") - 2);
  Clear();
  DrawText(dc_, "&Файл", &r, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_EQ(underlineInk(), 0);
}

TEST_F(DrawTextTest, WordBreakCountsLinesAndBreaksLongWords) {
  UseFont(-11);
  const int w = Width("one two");
  const RECT r{0, 0, w, 200};
  EXPECT_EQ(LayOutText(dc_, "one two three four", r, DT_WORDBREAK),
            (Lines{"one two", "three", "four"}));
  // Spaces at a break vanish; a paragraph break still breaks.
  EXPECT_EQ(LayOutText(dc_, "one    two\nthree", RECT{0, 0, Width("three"), 200}, DT_WORDBREAK),
            (Lines{"one", "two", "three"}));
  // A word longer than the line is cut at the edge, a character at least.
  const Lines cut = LayOutText(dc_, "Настройка", RECT{0, 0, Width("Нас"), 200}, DT_WORDBREAK);
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[0] + cut[1] + cut[2], "Настройка");
  EXPECT_EQ(LayOutText(dc_, "ab", RECT{0, 0, 1, 200}, DT_WORDBREAK), (Lines{"a", "b"}));
  // DT_SINGLELINE wins over DT_WORDBREAK.
  EXPECT_EQ(LayOutText(dc_, "one two three", r, DT_WORDBREAK | DT_SINGLELINE),
            Lines{"one two three"});
}

TEST_F(DrawTextTest, CalcRectMeasuresWithoutDrawing) {
  UseFont(-11);
  const int h = Metrics().tmHeight;
  RECT r{10, 20, 30, 25};
  EXPECT_EQ(DrawText(dc_, kSettings, &r, DT_CALCRECT | DT_SINGLELINE), h);
  EXPECT_EQ(r, (RECT{10, 20, 10 + Width(kSettings), 20 + h}));
  EXPECT_TRUE(IsRectEmpty(Ink()));

  r = RECT{0, 0, 5, 5};
  EXPECT_EQ(DrawText(dc_, "a\nbbb\r\ncc", &r, DT_CALCRECT), 3 * h);
  EXPECT_EQ(r, (RECT{0, 0, Width("bbb"), 3 * h}));

  // Word-broken text stays within the given width and grows downwards.
  const int w = Width("one two");
  r = RECT{0, 0, w + 3, 1};
  EXPECT_EQ(DrawText(dc_, "one two three four", &r, DT_CALCRECT | DT_WORDBREAK), 3 * h);
  EXPECT_EQ(r.bottom, 3 * h);
  EXPECT_EQ(r.right, w);

  r = RECT{4, 4, 50, 50};
  EXPECT_EQ(DrawText(dc_, "", &r, DT_CALCRECT), 0);
  EXPECT_EQ(r, (RECT{4, 4, 4, 4}));
  // Ellipses do not shorten what is measured.
  r = RECT{0, 0, 20, 20};
  DrawText(dc_, kSettings, &r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(r.right, Width(kSettings));
}

TEST_F(DrawTextTest, EndEllipsisCutsAtCharactersAndFits) {
  UseFont(-11);
  const std::string text = kSettings;
  for (int width : {0, 5, 20, 60, 100, Width(text) - 1}) {
    const RECT r{0, 0, width, 20};
    const Lines lines = LayOutText(dc_, text, r, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(lines.size(), 1u);
    const std::string& line = lines[0];
    ASSERT_GE(line.size(), 3u);
    EXPECT_EQ(line.substr(line.size() - 3), "...");
    const std::string kept = line.substr(0, line.size() - 3);
    EXPECT_EQ(text.compare(0, kept.size(), kept), 0) << line;
    EXPECT_EQ(DecodeUtf8(kept).find(U'\uFFFD'), std::u32string::npos) << "cut inside a character";
    if (!kept.empty()) {
      EXPECT_LE(Width(line), width);
    }
    // Keeping one more character would not fit.
    const std::u32string all = DecodeUtf8(text);
    const std::u32string more = all.substr(0, DecodeUtf8(kept).size() + 1);
    EXPECT_GT(Width(EncodeUtf8(more) + "..."), width);
  }
  // Text that fits is left alone.
  EXPECT_EQ(LayOutText(dc_, text, RECT{0, 0, Width(text), 20}, DT_SINGLELINE | DT_END_ELLIPSIS),
            Lines{text});
}

TEST_F(DrawTextTest, PathEllipsisKeepsTheLastComponent) {
  UseFont(-11);
  const std::string path = "C:\\Документы\\Проекты\\отчёт.txt";
  const int width = Width("C:\\Док...\\отчёт.txt");
  const Lines lines =
      LayOutText(dc_, path, RECT{0, 0, width, 20}, DT_SINGLELINE | DT_PATH_ELLIPSIS);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "C:\\Док...\\отчёт.txt");
  // With no room even for the last component the end is cut instead.
  const Lines tight = LayOutText(dc_, path, RECT{0, 0, Width("C:\\Д..."), 20},
                                 DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS);
  EXPECT_EQ(tight, Lines{"C:\\Д..."});
  // Without a separator it acts as an end ellipsis.
  EXPECT_EQ(LayOutText(dc_, "abcdef", RECT{0, 0, Width("ab..."), 20}, DT_PATH_ELLIPSIS),
            Lines{"ab..."});
}

TEST_F(DrawTextTest, WordBreakWithEllipsisEndsTheLastVisibleLine) {
  UseFont(-11);
  const int h = Metrics().tmHeight;
  const RECT r{0, 0, Width("one two"), 2 * h};
  EXPECT_EQ(LayOutText(dc_, "one two three four five", r, DT_WORDBREAK | DT_END_ELLIPSIS),
            (Lines{"one two", "three..."}));
}

TEST_F(DrawTextTest, AlignsWithinTheRectangle) {
  UseFont(-16);
  const int w = Width("Форма 1");
  const int h = Metrics().tmHeight;
  struct Case {
    UINT format;
    int left, top; // where the cell goes in the rectangle (20, 10, 220, 110)
  };
  const Case cases[] = {
      {DT_LEFT | DT_TOP | DT_SINGLELINE, 20, 10},
      {DT_CENTER | DT_SINGLELINE, 20 + (200 - w) / 2, 10},
      {DT_RIGHT | DT_SINGLELINE, 220 - w, 10},
      {DT_VCENTER | DT_SINGLELINE, 20, 10 + (100 - h) / 2},
      {DT_BOTTOM | DT_RIGHT | DT_SINGLELINE, 220 - w, 110 - h},
      {DT_VCENTER | DT_BOTTOM, 20, 10}, // only with DT_SINGLELINE
  };
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(255, 255, 0));
  for (const Case& c : cases) {
    Clear();
    RECT r{20, 10, 220, 110};
    const int drawn = DrawText(dc_, "Форма 1", &r, c.format);
    EXPECT_EQ(Ink(), (RECT{c.left, c.top, c.left + w, c.top + h})) << c.format;
    EXPECT_EQ(drawn, c.top - 10 + h) << c.format;
  }
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessNoClip) {
  UseFont(-16);
  RECT r{20, 20, 60, 30};
  DrawText(dc_, "Главное меню\nФорма 1", &r, 0);
  const RECT ink = Ink();
  EXPECT_GE(ink.left, 20);
  EXPECT_GE(ink.top, 20);
  EXPECT_LE(ink.right, 60);
  EXPECT_LE(ink.bottom, 30);
  Clear();
  DrawText(dc_, "Главное меню\nФорма 1", &r, DT_NOCLIP);
  EXPECT_GT(Ink().right, 60);
  EXPECT_GT(Ink().bottom, 30 + Metrics().tmHeight);
}

TEST_F(DrawTextTest, TabsExpandToEightAverageCharacters) {
  UseFont(-11);
  const int tab = 8 * Metrics().tmAveCharWidth;
  RECT r{0, 0, 10, 10};
  DrawText(dc_, "a\tb", &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  EXPECT_EQ(r.right, tab + Width("b"));
  r = RECT{0, 0, 10, 10};
  DrawText(dc_, "a\tb", &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.right, Width("ab"));
}

// The docking grabbers draw their caption upwards from the bottom of the
// grabber: a turned font, a rectangle whose top is the grabber's bottom.
TEST_F(DrawTextTest, TurnedCaptionRunsUpwardsFromTheRectangleCorner) {
  UseFont(-10, 900, FW_NORMAL, "Tahoma");
  const int h = Metrics().tmHeight;
  RECT r{100, 180, 100 + 120, 60}; // x, bottom, x + length, top
  DrawText(dc_, kSettings, &r, DT_END_ELLIPSIS | DT_NOCLIP | DT_SINGLELINE);
  const RECT ink = Ink();
  EXPECT_FALSE(IsRectEmpty(ink));
  EXPECT_GE(ink.left, 100 - 1);
  EXPECT_LE(ink.right, 100 + h + 1);
  EXPECT_LE(ink.bottom, 180 + 1);
  EXPECT_GE(ink.top, 60 - 1); // the ellipsis kept it within the length
  // Without DT_NOCLIP the turned layout box clips: the text is cut at its length.
  Clear();
  RECT clipped{100, 180, 100 + 40, 180 - h};
  DrawText(dc_, kSettings, &clipped, DT_SINGLELINE);
  EXPECT_GE(Ink().top, 180 - 40);
  EXPECT_LE(Ink().bottom, 180);
  EXPECT_GT(Ink().Height(), 30);
  const Lines lines = LayOutText(dc_, kSettings, r, DT_END_ELLIPSIS | DT_SINGLELINE);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 3), "...");
}

} // namespace
} // namespace zel::sys::testing
