// The face renderer: descriptor bytes, notifications, assignment and
// equality, layout, and pixels of composed faces in every border and state.

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "tests/bitop/FaceTestUtil.h"

namespace zel::test {
namespace {

class RichImage : public FaceTest {};

TEST_F(RichImage, DescriptorBytesAndNotifications) {
  TRichImageList f;
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(f.Spacing(), 2);
  EXPECT_EQ(f.Blend(), 255);
  f.SetImageIndex(-2);
  f.SetWidth(0x1234);
  f.SetHeight(70000); // kept as 16 bits
  f.SetColor(clBtnFace);
  f.SetBorder(ZelXPBorder);
  f.SetHot(true);
  EXPECT_EQ(changes, 6);
  f.SetHot(true);
  f.SetImageIndex(-2);
  f.SetColor(clBtnFace);
  EXPECT_EQ(changes, 6) << "unchanged values raise nothing";
  const auto& k = f.Descriptor().Key;
  EXPECT_EQ(k[4], 0xFE);
  EXPECT_EQ(k[7], 0xFF);
  EXPECT_EQ(k[8], 0x34);
  EXPECT_EQ(k[9], 0x12);
  EXPECT_EQ(f.Height(), 70000 & 0xFFFF);
  EXPECT_EQ(k[13], 1);
  EXPECT_EQ(k[26], 0x0F);
  EXPECT_EQ(k[29], 0xFF);
  EXPECT_EQ(k[30], 3);
  EXPECT_EQ(k[32], 2);
  f.SetBlend(10);
  EXPECT_EQ(changes, 7);
  EXPECT_EQ(f.Descriptor().Key, k) << "Blend is not in the key";

  f.SetImageList(Images.get());
  EXPECT_EQ(f.ImageList(), Images.get());
  EXPECT_NE(f.ImageListId(), 0u);
  Images.reset();
  EXPECT_EQ(f.ImageList(), nullptr) << "a list that is gone is not found again";
}

TEST_F(RichImage, CaptionKeepsTwoHundredFiftyFiveLetters) {
  // The limit counts letters, not bytes: Cyrillic takes two bytes each.
  auto letters = [](const char* letter, int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
      text += letter;
    return text;
  };
  TRichImageList f, g;
  f.SetCaption(letters("Ж", 200));
  EXPECT_EQ(f.Caption(), letters("Ж", 200));
  f.SetCaption(letters("Ж", 300));
  EXPECT_EQ(f.Caption(), letters("Ж", 255));
  // Texts too long for the key's bytes still make different keys.
  g.SetCaption(letters("Ж", 254) + "Ю");
  EXPECT_FALSE(f.Equals(&g));
  g.SetCaption(letters("Ж", 255));
  EXPECT_TRUE(f.Equals(&g));
  TRichImageList copy;
  copy.Assign(&f);
  EXPECT_EQ(copy.Caption(), f.Caption());
  // A short text is the key's own bytes, the old text zeroed behind it.
  f.SetCaption("abc");
  EXPECT_EQ(f.Caption(), "abc");
  EXPECT_EQ(f.Descriptor().Key[33 + 2], 'c');
  EXPECT_EQ(f.Descriptor().Key[33 + 3], 0);
  EXPECT_EQ(f.Descriptor().Key[33 + 255], 0);
}

TEST_F(RichImage, AssignAndEquality) {
  TRichImageList a, b;
  a.SetCaption("x");
  a.SetBlend(40);
  EXPECT_FALSE(a.Equals(&b));
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.Blend(), 40);
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  b.SetBlend(99);
  EXPECT_TRUE(a.Equals(&b)) << "Blend is not compared";
  TBitmap bmp;
  EXPECT_FALSE(a.Equals(&bmp));
  EXPECT_THROW(a.Assign(&bmp), EConvertError);
  b.Assign(nullptr);
  EXPECT_EQ(b.Blend(), 255);
  EXPECT_EQ(b.Spacing(), 0);
  EXPECT_EQ(b.Caption(), "");
  // AssignTo a rich image copies; a face never shares its cached bitmap.
  TRichImageList c;
  a.AssignTo(&c);
  EXPECT_TRUE(c.Equals(&a));
}

TEST_F(RichImage, LayoutOfGlyphAndCaption) {
  auto f = Face(ZelSingleBorder);
  TBitmap canvasOwner(1, 1, pf32bit);
  sys::RECT g, t;
  f->LayoutFace(canvasOwner.Canvas(), g, t);
  EXPECT_EQ(g, (sys::RECT{4, 4, 20, 20}));
  EXPECT_TRUE(sys::IsRectEmpty(t));

  // XP, layout 0, a wide face with a short caption: glyph at most 4 from the left.
  auto wide = Face(ZelXPBorder);
  wide->SetWidth(200);
  wide->SetCaption("Ok");
  wide->LayoutFace(canvasOwner.Canvas(), g, t);
  EXPECT_EQ(g.left, 4);
  EXPECT_EQ(t.left, 4 + 2 + 16);
  EXPECT_GT(t.right, t.left);

  // Without an image the glyph is a square of four fifths.
  auto builtIn = Face(ZelFlatBorder, 20);
  builtIn->SetImageIndex(-3);
  builtIn->LayoutFace(canvasOwner.Canvas(), g, t);
  EXPECT_EQ(g.right - g.left, 16);
  EXPECT_EQ(g.left, 2);

  // Below the caption (layout 3), pushed single faces move the text by one.
  auto below = Face(ZelSingleBorder);
  below->SetHeight(60);
  below->SetWidth(60);
  below->SetLayout(3);
  below->SetCaption("Text");
  below->SetPushed(true);
  below->LayoutFace(canvasOwner.Canvas(), g, t);
  EXPECT_LE(g.bottom, 60);
  EXPECT_GT(g.top, t.top);
  EXPECT_EQ(t.left, (60 - (t.right - t.left) + 1) / 2 + 1);
}

TEST_F(RichImage, BevelStepsFollowTheLevelTable) {
  int d, l;
  TRichImageList::BevelSteps(190, d, l);
  EXPECT_EQ(d, -102);
  EXPECT_EQ(l, 53);
  TRichImageList::BevelSteps(120, d, l);
  EXPECT_EQ(d, -46);
  EXPECT_EQ(l, 21);
  TRichImageList::BevelSteps(-1, d, l);
  EXPECT_EQ(d, -50);
  EXPECT_EQ(l, 19);
  TRichImageList::BevelSteps(-100, d, l);
  EXPECT_EQ(d, 80);
  EXPECT_EQ(l, -46);
}

TEST_F(RichImage, SingleBorderBevelsAndGreyGlyph) {
  auto f = Face(ZelSingleBorder);
  auto t = DrawOn(*f);
  TBitmap& face = *f->Descriptor().Face;
  // The bevels lie on an overlay blended at 255 over the face.
  EXPECT_EQ(At(face, 0, 0), Over(Rgb(Lighten(clBtnFace, 53)), Rgb(clBtnFace)));
  EXPECT_EQ(At(face, 23, 23), Over(Rgb(Darken(clBtnFace, -102)), Rgb(clBtnFace)));
  EXPECT_EQ(At(face, 23, 0),
            Over(Rgb(MixColors(Lighten(clBtnFace, 53), Darken(clBtnFace, -102))), Rgb(clBtnFace)));
  EXPECT_EQ(At(face, 1, 1), Over(Rgb(Lighten(clBtnFace, 21)), Rgb(clBtnFace)));
  EXPECT_EQ(At(face, 22, 22), Over(Rgb(Darken(clBtnFace, -46)), Rgb(clBtnFace)));
  EXPECT_EQ(At(face, 12, 2), Under(Rgb(clBtnFace)));
  // Enabled, not hot, substitute: grey at full opacity, fully opaque face.
  EXPECT_EQ(At(face, 10, 10), Under(Over(0x555555u, Rgb(clBtnFace))));
  EXPECT_EQ(AlphaAt(face, 10, 10), 255u);
  EXPECT_EQ(At(*t, 10, 10), At(face, 10, 10)) << "drawn opaquely";

  // Hot: the glyph as it is (255 with straight alpha gives 254).
  f->SetHot(true);
  auto hot = DrawOn(*f);
  EXPECT_EQ(At(*hot, 10, 10), 0xFE0000u | (((Rgb(clBtnFace) >> 8 & 0xFF) + 254) >> 8 << 8) |
                                  ((Rgb(clBtnFace) & 0xFF) + 254) >> 8);
  EXPECT_EQ(At(*hot, 4, 4) >> 16, 0xFEu);
  EXPECT_NE(At(*hot, 3, 3) >> 16, 0xFEu);

  // Pushed: the bevels swap and the glyph moves one pixel right and down.
  f->SetHot(false);
  f->SetPushed(true);
  auto pushed = DrawOn(*f);
  EXPECT_EQ(At(*pushed, 0, 0), Over(Rgb(Darken(clBtnFace, -102)), Rgb(Lighten(clBtnFace, 19))));
  EXPECT_EQ(At(*pushed, 4, 10) >> 16, Under(Rgb(clBtnFace)) >> 16);
  EXPECT_EQ(At(*pushed, 5, 10), At(face, 10, 10));

  // Disabled: grey at opacity 100 over the face colour.
  f->SetPushed(false);
  f->SetEnabled(false);
  auto disabled = DrawOn(*f);
  const uint32_t face0 = Rgb(clBtnFace) & 0xFF;
  const uint32_t mixed = ((0x55 * 100 + 254) >> 8) + ((face0 * 155 + 254) >> 8);
  EXPECT_EQ(At(*disabled, 10, 10) & 0xFF, mixed);
}

TEST_F(RichImage, FlatBorderOnlyWhenHotOrDown) {
  auto f = Face(ZelFlatBorder);
  auto plain = DrawOn(*f);
  EXPECT_EQ(At(*plain, 0, 0), Rgb(clBtnFace));
  // Half saturation of pure red is a muted red, not grey.
  const uint32_t muted = At(*plain, 10, 10);
  EXPECT_GT(muted >> 16, muted & 0xFF);
  EXPECT_NE(muted, kRed);
  f->SetHot(true);
  auto hot = DrawOn(*f);
  EXPECT_EQ(At(*hot, 0, 0), Rgb(Lighten(clBtnFace, 19)));
  EXPECT_EQ(At(*hot, 23, 23), Rgb(Darken(clBtnFace, -50)));
  EXPECT_EQ(At(*hot, 1, 1), Rgb(clBtnFace));
}

TEST_F(RichImage, NoBorderTransparentLeavesTheBackground) {
  auto f = Face(ZelNoBorder);
  f->SetTransparent(true);
  f->SetHot(true);
  auto t = DrawOn(*f, clAqua);
  EXPECT_EQ(At(*t, 1, 1), Under(Rgb(clAqua))) << "nothing but the glyph is drawn";
  EXPECT_EQ(AlphaAt(*f->Descriptor().Face, 1, 1), 0u);
  EXPECT_EQ(At(*t, 10, 10) >> 16, 0xFEu);
  f->SetBlend(0);
  auto none = DrawOn(*f, clAqua);
  EXPECT_EQ(At(*none, 10, 10), Rgb(clAqua)) << "Blend 0 draws nothing";
}

TEST_F(RichImage, XPFrameFillAndShadowAtTwentyFour) {
  auto f = Face(ZelXPBorder);
  f->SetSelectedColor(0xC0FFC0);
  f->SetHot(true);
  auto t = DrawOn(*f);
  const TColor frame = Darken(0xC0FFC0, -30);
  EXPECT_EQ(At(*t, 10, 0), Rgb(frame));
  EXPECT_EQ(At(*t, 0, 0), Rgb(MixColors(frame, clBtnFace)));
  EXPECT_EQ(At(*t, 1, 1), Rgb(0xC0FFC0));
  // Offset 2: the image moves to (5, 3)..(21, 19), its shadow lies below right.
  EXPECT_EQ(At(*t, 20, 3) >> 16, 0xFFu);
  EXPECT_LT(At(*t, 4, 10) >> 16, 0xC0u) << "the image left its place for the shadow";
  EXPECT_EQ(At(*t, 3, 10), Under(Rgb(0xC0FFC0)));
  const uint32_t shadow = At(*t, 12, 20);
  EXPECT_LT(shadow & 0xFF, 0xC0u) << "darker than the fill below the image";

  // Not hot: the glyph as it is, no frame.
  f->SetHot(false);
  auto cold = DrawOn(*f);
  EXPECT_EQ(At(*cold, 10, 0), Rgb(clBtnFace));
  EXPECT_EQ(At(*cold, 4, 10) >> 16, 0xFFu);
  // Pushed and hot: no shadow either.
  f->SetHot(true);
  f->SetPushed(true);
  auto pushed = DrawOn(*f);
  EXPECT_EQ(At(*pushed, 4, 10) >> 16, 0xFFu);
  EXPECT_EQ(At(*pushed, 12, 20), Under(Rgb(0xC0FFC0)));
}

TEST_F(RichImage, XPShadowOffsetShrinksWithTheFace) {
  auto at9 = Face(ZelXPBorder, 9);
  at9->SetHot(true);
  at9->SetSelectedColor(clWhite);
  at9->SetFrameColor(clBlack);
  auto t9 = DrawOn(*at9);
  // The 5-pixel image at (2, 2) moves one right and one up; the shadow stays.
  // The shadowed image replaces what lies under it.
  EXPECT_EQ(At(*t9, 7, 1), kRed);
  EXPECT_LT(At(*t9, 2, 6) & 0xFF, 0xFFu);

  auto at8 = Face(ZelXPBorder, 8);
  at8->SetHot(true);
  at8->SetSelectedColor(clWhite);
  at8->SetFrameColor(clBlack);
  auto t8 = DrawOn(*at8);
  EXPECT_EQ(At(*t8, 2, 2) >> 16, 0xFFu) << "no offset at 8 pixels";
  EXPECT_EQ(At(*t8, 2, 2), Over(kRed, 0xFFFFFF));
  EXPECT_EQ(At(*t8, 1, 6), Under(0xFFFFFF)) << "no shadow at 8 pixels";
}

TEST_F(RichImage, DrawsWithOpacity) {
  auto f = Face(ZelNoBorder);
  f->SetBlend(150);
  f->SetHot(true);
  auto t = DrawOn(*f, clBlack);
  const uint32_t face = Rgb(clBtnFace) & 0xFF;
  EXPECT_EQ(At(*t, 1, 1) & 0xFF, (face * 150 + 254) >> 8);
  f->SetBlend(100);
  auto t100 = DrawOn(*f, clWhite);
  EXPECT_EQ(At(*t100, 10, 10) >> 16, ((255u * 100 + 254) >> 8) + ((255u * 155 + 254) >> 8));
  EXPECT_EQ(At(*t100, 10, 10), Over(Over(kRed, Rgb(clBtnFace)), 0xFFFFFF, 100));
}

TEST_F(RichImage, FacesAreCachedByDescriptor) {
  auto f = Face(ZelFlatBorder);
  DrawOn(*f);
  DrawOn(*f);
  EXPECT_EQ(FaceCacheCount(), 1);
  f->SetBlend(80);
  DrawOn(*f);
  EXPECT_EQ(FaceCacheCount(), 1) << "Blend is not part of the key";
  f->SetHot(true);
  DrawOn(*f);
  EXPECT_EQ(FaceCacheCount(), 2);
  // An empty rectangle draws nothing and adds nothing.
  TBitmap target(4, 4, pf32bit);
  f->SetChecked(true);
  f->Draw(target.Canvas(), sys::RECT{0, 0, 0, 10});
  EXPECT_EQ(FaceCacheCount(), 2);
}

TEST_F(RichImage, BuiltInGlyphKinds) {
  auto f = Face(ZelFlatBorder);
  f->SetImageList(nullptr);
  auto countInk = [&](int index) {
    f->SetImageIndex(index);
    auto t = DrawOn(*f);
    int ink = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x)
        ink += At(*t, x, y) != Rgb(clBtnFace);
    return ink;
  };
  EXPECT_EQ(countInk(-13), 0);
  EXPECT_EQ(countInk(-1), 0);
  EXPECT_EQ(countInk(INT32_MIN), 0);
  for (int k = 2; k <= 12; ++k)
    EXPECT_GT(countInk(-k), 4) << "kind " << k;
  // Bullets: three separate filled circles in the text colour (s = 6, so
  // circles of 3 a row).
  f->SetImageIndex(-12);
  auto t = DrawOn(*f);
  int most = 0;
  for (int y = 0; y < 24; ++y) {
    int runs = 0;
    bool inInk = false;
    for (int x = 0; x < 24; ++x) {
      const bool ink = At(*t, x, y) != Rgb(clBtnFace);
      if (ink && !inInk) ++runs;
      inInk = ink;
      if (ink) {
        EXPECT_EQ(At(*t, x, y), Over(Rgb(clBtnText), Rgb(clBtnFace)));
      }
    }
    most = std::max(most, runs);
  }
  EXPECT_EQ(most, 3);
}

TEST_F(RichImage, BuiltInGlyphsAreCentredInsideTheirCell) {
  TBitmap canvasOwner(1, 1, pf32bit);
  for (int side : {10, 16, 24, 32})
    for (int kind = 2; kind <= 12; ++kind) {
      SCOPED_TRACE(testing::Message() << side << " px, kind " << kind);
      auto f = Face(ZelFlatBorder, side);
      f->SetImageList(nullptr);
      f->SetImageIndex(-kind);
      f->SetSubstitute(false);
      sys::RECT g, t;
      f->LayoutFace(canvasOwner.Canvas(), g, t);
      auto drawn = DrawOn(*f);
      sys::RECT ink{side, side, -1, -1};
      for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
          if (At(*drawn, x, y) != Rgb(clBtnFace)) {
            ink.left = std::min<int>(ink.left, x);
            ink.top = std::min<int>(ink.top, y);
            ink.right = std::max<int>(ink.right, x + 1);
            ink.bottom = std::max<int>(ink.bottom, y + 1);
          }
      ASSERT_GT(ink.right, ink.left) << "nothing drawn";
      EXPECT_GE(ink.left, g.left);
      EXPECT_GE(ink.top, g.top);
      EXPECT_LE(ink.right, g.right);
      EXPECT_LE(ink.bottom, g.bottom);
      // Centred to a pixel: the margins on both sides differ by at most 2.
      EXPECT_LE(std::abs((ink.left - g.left) - (g.right - ink.right)), 2);
      EXPECT_LE(std::abs((ink.top - g.top) - (g.bottom - ink.bottom)), 2);
    }
}

TEST_F(RichImage, ACaptionThatDoesNotFitIsCutNotWrappedInsideWords) {
  TBitmap canvasOwner(1, 1, pf32bit);
  struct Case {
    int width;
    const char* caption;
  };
  for (const Case c :
       {Case{48, "Настройка"}, Case{60, "Очень длинная подпись кнопки"}, Case{40, "Ок"}}) {
    SCOPED_TRACE(c.caption);
    auto f = Face(ZelSingleBorder);
    f->SetWidth(c.width);
    f->SetCaption(c.caption);
    sys::RECT g, t;
    f->LayoutFace(canvasOwner.Canvas(), g, t);
    ASSERT_FALSE(sys::IsRectEmpty(t));
    EXPECT_LE(t.right, c.width);
    EXPECT_LE(t.bottom, 24) << "the caption runs off the face";
    // Drawn, the text stays inside its area.
    f->SetColor(clWhite);
    auto drawn = DrawOn(*f, clWhite);
    for (int y = 2; y < 22; ++y)
      for (int x = t.right + 1; x < c.width - 2; ++x)
        EXPECT_EQ(At(*drawn, x, y), 0xFFFFFFu) << x << "," << y;
  }
}

TEST_F(RichImage, NoColourFaceShowsWhatLiesBelowNotBlack) {
  for (TZelButtonBorder border : {ZelSingleBorder, ZelFlatBorder, ZelXPBorder}) {
    SCOPED_TRACE(int(border));
    auto f = Face(border);
    f->SetColor(clNone);
    f->SetImageIndex(-1);
    auto t = DrawOn(*f, clAqua);
    EXPECT_EQ(At(*t, 12, 12), Under(Rgb(clAqua)));
  }
}

TEST_F(RichImage, DisabledSingleCaptionIsGrey) {
  auto f = Face(ZelSingleBorder);
  f->SetWidth(90);
  f->SetCaption("Текст");
  f->SetEnabled(false);
  auto t = DrawOn(*f);
  // Antialiased grey text: ink in the caption area, none of it darker than
  // the grey text colour.
  const uint32_t grey = Rgb(clGrayText) & 0xFF;
  int ink = 0;
  uint32_t darkest = 255;
  for (int y = 2; y < 22; ++y)
    for (int x = 26; x < 88; ++x) {
      const uint32_t p = At(*t, x, y) & 0xFF;
      if (p + 8 < (Rgb(clBtnFace) & 0xFF)) ++ink;
      darkest = std::min(darkest, p);
    }
  EXPECT_GT(ink, 10);
  EXPECT_GE(darkest + 2, grey);
}

} // namespace
} // namespace zel::test
