// Composition of a button face: background, border, glyph and caption, in
// the order each border kind needs.
//
//   single, flat:  background fill, glyph, then caption and bevel on top
//   none, XP:      background and caption first, then the glyph on top
//
// Everything left magenta by the drawing becomes transparent in the face.

#include <algorithm>
#include <cstdlib>

#include "bitop/BitOpScratch.h"
#include "bitop/RichImageList.h"
#include "framework/graphics/GraphUtil.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"

namespace zel {

namespace {

constexpr TColor clHotLightPen = MakeSysColor(26); // COLOR_HOTLIGHT
constexpr TColor clBtnTextPen = MakeSysColor(18);  // COLOR_BTNTEXT
constexpr TColor clGrayTextPen = MakeSysColor(17); // COLOR_GRAYTEXT

// Turns a face's own size and settings on; existing pixels are kept.
void SetupFaceBitmap(TBitmap* bitmap, int w, int h) {
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(w, h);
  bitmap->SetTransparentColor(ZelKeyColor);
  bitmap->SetTransparentMode(tmFixed);
  bitmap->SetTransparent(false);
  TBrush* brush = bitmap->Canvas()->Brush();
  brush->SetStyle(bsSolid);
  brush->SetColor(ZelKeyColor);
}

void FillWith(TCanvas* canvas, const sys::RECT& r, TColor color) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(color);
  canvas->FillRect(r);
}

// Drawn pixels become opaque and everything still magenta transparent.
void MakeAlpha(bitop::TBits& bits) {
  const int n = bits.Header.bmiHeader.biWidth * bits.Header.bmiHeader.biHeight;
  FillEmptyAlpha(bits.Bits, 255, n);
  ClearKeyPixels(bits.Bits, ZelKeyColor, n);
}

bool IsBevelBorder(TZelButtonBorder b) {
  return b == ZelSingleBorder || b == ZelFlatBorder;
}

} // namespace

void TRichImageList::PrepareFaceBitmap(std::unique_ptr<TBitmap>& bitmap, sys::RECT& r) {
  const int w = std::abs(r.right - r.left), h = std::abs(r.bottom - r.top);
  if (w <= 0 || h <= 0) {
    bitmap.reset();
  } else {
    if (!bitmap) bitmap = std::make_unique<TBitmap>();
    SetupFaceBitmap(bitmap.get(), w, h);
  }
  r = sys::RECT{0, 0, w, h};
}

// ---- Composition -------------------------------------------------------------------

void TRichImageList::ComposeFace(TBitmap* face, TFont* font, sys::RECT r) {
  // The face belongs to the cache: an empty rectangle leaves it alone.
  const int w = std::abs(r.right - r.left), h = std::abs(r.bottom - r.top);
  if (!face || w <= 0 || h <= 0) return;
  SetupFaceBitmap(face, w, h);
  r = sys::RECT{0, 0, w, h};
  TCanvas* canvas = face->Canvas();

  // The background of the whole face, or the key where it stays see-through.
  const TZelButtonBorder border = Border();
  TColor background = Color() == clDefault ? clBtnFace : Color();
  if (Transparent() && (!Checked() || (border == ZelNoBorder && !Substitute())))
    background = clNone;
  else if (Checked() && !Pushed() && IsBevelBorder(border))
    background = SelectedColor() != clDefault ? SelectedColor()
                 : Color() == clNone          ? clNone
                                     : Lighten(Color() == clDefault ? clBtnFace : Color(), 19);
  FillWith(canvas, r, background == clNone ? ZelKeyColor : background);

  if (font) canvas->SetFont(font);
  sys::RECT glyph{}, text{};
  LayoutFace(canvas, glyph, text);

  if (!IsBevelBorder(border)) {
    DrawFaceBackground(face, r);
    if (!Enabled()) canvas->Font()->SetColor(clGrayText);
    sys::RECT t = text;
    DrawCaption(canvas, t, 0, Transparent());
  }

  bitop::TBits faceBits;
  if (ImageIndex() != -1) {
    RenderGlyph(glyph);
    bitop::TBits glyphBits;
    TBitmap* work = bitop::GlyphWorkBitmap().get();
    if (work) GetBits32(work, glyphBits.Bits, glyphBits.Header);
    GetBits32(face, faceBits.Bits, faceBits.Header);
    try {
      MakeAlpha(faceBits);
      if (work) {
        MakeAlpha(glyphBits);
        BlendGlyph(glyphBits.Bits, glyphBits.Header, faceBits.Bits, faceBits.Header, glyph);
      }
    } catch (...) {
      SetBits32(face, faceBits.Bits, faceBits.Header);
      throw;
    }
  } else {
    GetBits32(face, faceBits.Bits, faceBits.Header);
    MakeAlpha(faceBits);
  }
  SetBits32(face, faceBits.Bits, faceBits.Header);

  if (IsBevelBorder(border)) {
    // Caption and bevel go on a magenta overlay that is blended on top.
    auto& overlay = bitop::GlyphWorkBitmap();
    sys::RECT area = r;
    PrepareFaceBitmap(overlay, area);
    TCanvas* oc = overlay->Canvas();
    FillWith(oc, area, ZelKeyColor);
    if (font) oc->SetFont(font);
    if (!Enabled()) oc->Font()->SetColor(clGrayText);
    sys::RECT t = text;
    DrawCaption(oc, t, 0, true);
    DrawFaceBackground(overlay.get(), area);
    bitop::TBits overlayBits;
    GetBits32(overlay.get(), overlayBits.Bits, overlayBits.Header);
    MakeAlpha(overlayBits);
    GetBits32(face, faceBits.Bits, faceBits.Header);
    DrawAlpha(overlayBits.Bits, faceBits.Bits, overlayBits.Header, faceBits.Header, 0, 0, clNone,
              255);
    SetBits32(face, faceBits.Bits, faceBits.Header);
  }
}

// The glyph goes onto the face with the state's effect:
//
//   border         enabled, not hot     enabled, hot        disabled
//   single         grey, 255            255                 grey, 100
//   flat, none     half saturation, 255 255                 half saturation, 100
//   XP             255                  shadowed            half saturation, 100
//
// Without Substitute the glyph is the state's own and goes on unchanged.
void TRichImageList::BlendGlyph(uint8_t* glyph, const sys::BITMAPINFO& glyphHeader, uint8_t* face,
                                const sys::BITMAPINFO& faceHeader, const sys::RECT& at) {
  const int n = glyphHeader.bmiHeader.biWidth * glyphHeader.bmiHeader.biHeight;
  auto draw = [&](uint8_t opacity) {
    DrawAlpha(glyph, face, glyphHeader, faceHeader, at.left, at.top, clNone, opacity);
  };
  if (!Substitute()) return draw(255);
  const TZelButtonBorder border = Border();
  if (!Enabled()) {
    if (border == ZelSingleBorder)
      GrayPixels(glyph, ZelKeyColor, n);
    else
      HalveSaturation(glyph, glyphHeader, ZelKeyColor);
    return draw(100);
  }
  if (border == ZelXPBorder) {
    const int w = Width(), h = Height();
    if (!Hot() || Pushed() || w <= 8 || h <= 8) return draw(255);
    const int8_t offset = (w > 9 && h > 9) ? 2 : 1;
    DrawShadowed(glyph, face, glyphHeader, faceHeader, at.left, at.top, clNone, 255, 1, offset);
    return;
  }
  if (!Hot()) {
    if (border == ZelSingleBorder)
      GrayPixels(glyph, ZelKeyColor, n);
    else
      HalveSaturation(glyph, glyphHeader, ZelKeyColor);
  }
  draw(255);
}

// ---- Layout ---------------------------------------------------------------------------

void TRichImageList::LayoutFace(TCanvas* canvas, sys::RECT& glyph, sys::RECT& text) {
  const int W = Width(), H = Height(), S = Spacing();
  const int layout = Layout();
  const bool horizontal = layout == 0 || layout == 1;
  const bool vertical = layout == 2 || layout == 3;
  text = sys::RECT{};

  int gw, gh;
  TCustomImageList* list = ImageList();
  if (list && ImageIndex() >= 0) {
    gw = list->Width();
    gh = list->Height();
  } else {
    gw = gh = std::max(3, std::min(W * 4 / 5, H * 4 / 5));
  }

  int tw = 0, th = 0;
  if (!Caption().empty()) {
    tw = W;
    th = H;
    if (horizontal) tw -= S + gw + 2;
    if (vertical) th -= S + gh + 2;
    if (Border() == ZelSingleBorder) {
      tw -= 2;
      th -= 2;
    }
    if (tw > 0 && th > 0) {
      sys::RECT measure{0, 0, tw, th};
      DrawCaption(canvas, measure, sys::DT_CALCRECT, false);
      // The caption gets no more than the space offered; what does not fit
      // is cut with an ellipsis when it is drawn.
      tw = measure.right < 3 ? 0 : std::min(measure.right, tw);
      th = measure.bottom < 3 ? 0 : std::min(measure.bottom, th);
      if (horizontal && tw > 0) tw += S;
      if (vertical && th > 0) th += S;
    }
  }

  // The glyph's corner; an XP face keeps the glyph near its left edge.
  auto sideGap = [&] {
    int c = std::max(0, (W + 1 - gw - tw) / 2);
    return Border() == ZelXPBorder ? std::min(c, 4) : c;
  };
  int x = 0, y = 0;
  switch (layout) {
  case 0:
    x = sideGap();
    y = (H - gh + 1) / 2;
    break;
  case 1:
    x = W - sideGap() - gw;
    y = (H - gh + 1) / 2;
    break;
  case 2:
    x = (W - gw + 1) / 2;
    y = std::max(0, (H + 1 - gh - th) / 2);
    break;
  case 3:
    x = (W - gw + 1) / 2;
    y = std::min(H - gh - (H + 1 - gh - th) / 2, H - gh);
    break;
  default:
    break;
  }
  glyph = sys::RECT{x, y, x + gw, y + gh};

  if (tw <= 0 || th <= 0) return;
  int tx = 0, ty = 0;
  switch (layout) {
  case 0:
    tx = x + S + gw;
    ty = std::max(0, (H - th) / 2);
    break;
  case 1:
    tx = x - (S + tw);
    ty = std::max(0, (H - th) / 2);
    break;
  case 2:
    tx = (W - tw + 1) / 2;
    ty = y + S + gh;
    break;
  case 3:
    tx = (W - tw + 1) / 2;
    ty = y - (S + th);
    break;
  default:
    break;
  }
  text = sys::RECT{tx, ty, tx + tw, ty + th};
  if ((Pushed() || Checked()) && Border() != ZelXPBorder) sys::OffsetRect(text, 1, 1);
}

// ---- Caption ---------------------------------------------------------------------------

// Whether every word of text fits width on the canvas's font.
static bool WordsFit(sys::HDC dc, std::string_view text, int width) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(" \r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) {
      sys::RECT r{0, 0, width, 0};
      sys::DrawText(dc, text.substr(start, end - start), &r,
                    sys::DT_CALCRECT | sys::DT_SINGLELINE | sys::DT_NOPREFIX);
      if (r.right > width) return false;
    }
    start = end + 1;
  }
  return true;
}

void TRichImageList::DrawCaptionText(TCanvas* canvas, sys::RECT& r, sys::UINT flags) {
  const int width = std::abs(r.right - r.left);
  if (width <= 3 || std::abs(r.bottom - r.top) <= 3) return;
  const int layout = Layout();
  if (layout == 1) flags |= sys::DT_RIGHT;
  if (layout == 2 || layout == 3) flags |= sys::DT_CENTER;
  canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  sys::HDC dc = canvas->Handle();
  // Lines break between words only: a caption with a word wider than the
  // space stays on one line and is cut there with "...", rather than
  // broken inside the word.
  flags |= sys::DT_END_ELLIPSIS;
  flags |= WordsFit(dc, Caption(), width) ? sys::DT_WORDBREAK : sys::DT_SINGLELINE;
  sys::SetBkMode(dc, sys::OPAQUE);
  sys::DrawText(dc, Caption(), &r, flags);
}

void TRichImageList::DrawCaption(TCanvas* canvas, sys::RECT& r, sys::UINT flags,
                                 bool throughBitmap) {
  const int rw = std::abs(r.right - r.left), rh = std::abs(r.bottom - r.top);
  if (!throughBitmap || (flags & sys::DT_CALCRECT) || rw <= 3 || rh <= 3)
    return DrawCaptionText(canvas, r, flags);

  auto& caption = bitop::CaptionBitmap();
  if (!caption) {
    caption = std::make_unique<TBitmap>();
    caption->SetPixelFormat(pf32bit);
    caption->SetTransparent(true);
  }
  if (caption->Width() < rw || caption->Height() < rh)
    caption->SetSize(std::max(caption->Width(), rw), std::max(caption->Height(), rh));

  // A key the text cannot have, so that only the text is copied.
  const sys::COLORREF textColor = ColorToColorRef(canvas->Font()->Color());
  sys::COLORREF key = ColorToColorRef(Color() == clDefault ? clBtnFace : Color());
  if (key == textColor) key = ColorToColorRef(Darken(TColor(key), -10));
  if (key == textColor) key ^= 0x010101; // black stays black when darkened
  TCanvas* cc = caption->Canvas();
  FillWith(cc, sys::RECT{0, 0, caption->Width(), caption->Height()}, TColor(key));
  cc->SetFont(canvas->Font());
  sys::RECT inner{0, 0, rw, rh};
  DrawCaptionText(cc, inner, flags);
  caption->SetTransparentColor(TColor(key));
  sys::TransparentBlt(canvas->Handle(), r.left, r.top, rw, rh, cc->Handle(), 0, 0, rw, rh, key);
}

// ---- Bevels and backgrounds ----------------------------------------------------------

void TRichImageList::BevelSteps(int level, int& darkStep, int& lightStep) {
  if (level >= 0) {
    darkStep = (-40 * level) / 50 + 50;
    lightStep = (35 * level) / 75 - 35;
  } else if (level == -1) {
    darkStep = -50;
    lightStep = 19;
  } else {
    darkStep = (-40 * level) / 50;
    lightStep = (35 * level) / 75;
  }
}

void TRichImageList::DrawBevel(TCanvas* canvas, const sys::RECT& r, TColor color, bool pressed,
                               int level) {
  if (!canvas || color == clDefault) return;
  int darkStep, lightStep;
  BevelSteps(level, darkStep, lightStep);
  const TColor dark = Darken(color, darkStep), light = Lighten(color, lightStep);
  const TColor topLeft = pressed ? dark : light, bottomRight = pressed ? light : dark;
  const TColor corner = MixColors(topLeft, bottomRight);
  TPen* pen = canvas->Pen();
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  pen->SetColor(topLeft);
  canvas->MoveTo(r.left, r.bottom - 1);
  canvas->LineTo(r.left, r.top);
  canvas->LineTo(r.right - 1, r.top);
  pen->SetColor(bottomRight);
  canvas->LineTo(r.right - 1, r.bottom - 1);
  canvas->LineTo(r.left, r.bottom - 1);
  canvas->SetPixels(r.right - 1, r.top, corner);
  canvas->SetPixels(r.left, r.bottom - 1, corner);
}

void TRichImageList::DrawFaceBackground(TBitmap* bitmap, sys::RECT r) {
  const int w = std::abs(r.right - r.left), h = std::abs(r.bottom - r.top);
  if (!bitmap || w <= 0 || h <= 0) return;
  SetupFaceBitmap(bitmap, w, h);
  r = sys::RECT{0, 0, w, h};
  TCanvas* canvas = bitmap->Canvas();
  const TColor color = Color();
  const TColor base = (color == clDefault || color == clNone) ? clBtnFace : color;
  const bool down = Pushed() || Checked();

  switch (Border()) {
  case ZelSingleBorder:
    DrawBevel(canvas, r, base, down, 190);
    if (w > 8 && h > 8) {
      sys::InflateRect(r, -1, -1);
      DrawBevel(canvas, r, base, down, 120);
    }
    break;
  case ZelFlatBorder:
    if (Hot() || down) DrawBevel(canvas, r, base, down, -1);
    break;
  case ZelNoBorder:
    if (!Transparent()) FillWith(canvas, r, base);
    break;
  case ZelXPBorder: {
    const bool lit = Hot() || Checked();
    if (lit) {
      TColor frame = FrameColor();
      if (frame == clDefault)
        frame = SelectedColor() == clNone ? clNone : Darken(SelectedColor(), -30);
      if (frame != clNone) {
        if (!Enabled() && color != clNone) frame = MixColors(frame, color);
        TPen* pen = canvas->Pen();
        pen->SetWidth(1);
        pen->SetStyle(psSolid);
        pen->SetColor(frame);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(r);
        if (color != clNone) {
          const TColor corner = MixColors(frame, color);
          canvas->SetPixels(r.left, r.top, corner);
          canvas->SetPixels(r.right - 1, r.top, corner);
          canvas->SetPixels(r.left, r.bottom - 1, corner);
          canvas->SetPixels(r.right - 1, r.bottom - 1, corner);
        }
        sys::InflateRect(r, -1, -1);
      }
    }
    if (Transparent() && !lit) break;
    TColor fill;
    if (lit)
      fill = SelectedColor() != clDefault ? SelectedColor()
             : color != clDefault         ? Lighten(color, 19)
                                          : clBtnHighlight;
    else
      fill = color == clDefault ? clBtnFace : color;
    if (!Enabled() && color != clNone) fill = MixColors(fill, color);
    if (fill != clNone)
      FillWith(canvas, r, fill);
    else if (Transparent())
      FillWith(canvas, r, ZelKeyColor);
    break;
  }
  }
}

// ---- Glyphs ------------------------------------------------------------------------------

void TRichImageList::RenderGlyph(sys::RECT& glyph) {
  const TZelButtonBorder border = Border();
  const int inset = border == ZelXPBorder ? 2 : 1;
  sys::InflateRect(glyph, inset, inset);
  auto& work = bitop::GlyphWorkBitmap();
  sys::RECT area = glyph;
  PrepareFaceBitmap(work, area);
  if (!work) return;
  TCanvas* canvas = work->Canvas();
  FillWith(canvas, area, ZelKeyColor);

  const bool down = Pushed() || Checked();
  int o = inset;
  if ((IsBevelBorder(border) && down) || (border == ZelNoBorder && down && Substitute())) ++o;

  const int index = ImageIndex();
  if (index >= 0) {
    if (TCustomImageList* list = ImageList()) list->Draw(canvas, o, o, index, true);
  } else if (index < -1) {
    // Kinds beyond the built-in ones draw nothing; 64 bits keep INT_MIN sound.
    const int64_t kind = -int64_t(index);
    DrawBuiltInGlyph(canvas, kind <= 12 ? int(kind) : 0, o, work->Width(), work->Height());
  }
}

namespace {

// Where a built-in glyph's drawing starts, relative to the top-left corner
// of the box its pixels fill, and that box's size.
struct TGlyphBox {
  int Width, Height;
  sys::POINT Anchor;
};

TGlyphBox BuiltInBox(int kind, int size) {
  switch (kind) {
  case 2:
  case 3: // chevrons across: size + 5 along, 2 * size + 1 across
    return {size + 5, 2 * size + 1, {0, 0}};
  case 4:
  case 5:
    return {2 * size + 1, size + 5, {0, 0}};
  case 6:
  case 7: // arrows: the triangle scaled by size, edges included
    return {size + 1, 2 * size + 1, {0, 0}};
  case 8:
  case 9:
    return {2 * size + 1, size + 1, {0, 0}};
  case 10: // the check mark reaches size + 1 above its point
    return {3 * size + 1, 2 * size + 2, {0, size + 1}};
  case 11: // its shadow one more right and down
    return {3 * size + 2, 2 * size + 3, {0, size + 1}};
  case 12: // three circles of (size + 1) / 2, size apart
    return {2 * size + (size + 1) / 2, (size + 1) / 2, {1, 0}};
  default:
    return {0, 0, {0, 0}};
  }
}

} // namespace

// A built-in glyph, centred in the glyph cell (the work bitmap less the
// inset on each side) and moved by the press offset.  The sizes derive from
// the cell as chevrons and arrows d = 2/5 of its side, check marks d / 2 and
// bullets 7/8 d (3 to 7); a size that would not fit is made smaller.
void TRichImageList::DrawBuiltInGlyph(TCanvas* canvas, int kind, int o, int width, int height) {
  const TColor color = Enabled() ? (Hot() ? clHotLightPen : clBtnTextPen) : clGrayTextPen;
  canvas->Pen()->SetColor(color);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetStyle(psSolid);
  const int inset = Border() == ZelXPBorder ? 2 : 1;
  const int cellW = width - 2 * inset, cellH = height - 2 * inset;
  const int d = (2 * std::min(width - 2, height - 2)) / 5;
  int size = kind == 10 || kind == 11 ? d / 2 : kind == 12 ? std::clamp((7 * d) / 8, 3, 7) : d;
  TGlyphBox box = BuiltInBox(kind, size);
  while (size > 1 && (box.Width > cellW || box.Height > cellH))
    box = BuiltInBox(kind, --size);
  if (box.Width <= 0 || box.Width > cellW || box.Height > cellH) return;
  const sys::POINT at{o + (cellW - box.Width) / 2 + box.Anchor.x,
                      o + (cellH - box.Height) / 2 + box.Anchor.y};
  switch (kind) {
  case 2:
  case 3:
  case 4:
  case 5:
    DrawChevron(canvas, TScrollDirection(kind - 2), at, size);
    break;
  case 6:
  case 7:
  case 8:
  case 9:
    DrawArrow(canvas, TScrollDirection(kind - 6), at, size);
    break;
  case 10:
  case 11:
    DrawCheck(canvas, at, size, kind == 11);
    break;
  case 12: {
    const int side = (size + 1) / 2;
    FillWith(canvas, sys::RECT{}, color);
    for (int i = 0; i < 3; ++i)
      canvas->Ellipse(at.x + i * size - 1, at.y, at.x + i * size + side - 1, at.y + side);
    break;
  }
  default:
    break;
  }
}

} // namespace zel
