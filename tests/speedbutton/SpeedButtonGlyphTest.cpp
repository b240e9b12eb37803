// Glyph choice per state, the glyph set's checks and errors, the caption
// kept by the face, the image list's change link, and a picture of buttons
// in each border kind and state.

#include <filesystem>

#include "framework/core/Exceptions.h"
#include "framework/graphics/Colors.h"
#include "platform/user/MessageQueue.h"
#include "tests/speedbutton/SpeedButtonFixture.h"

namespace zel::test {
namespace {

TEST_F(SpeedButtonTest, OnlyHotGlyphsServeEveryState) {
  for (TZelButtonBorder border : {ZelSingleBorder, ZelXPBorder}) {
    SCOPED_TRACE(int(border));
    auto* b = Put(10, 10);
    b->SetBorder(border);
    b->SetImageList(Images(4));
    b->Gliphs()->SetImageIndexNormalHot(3);
    b->Gliphs()->SetImageIndexCheckHot(2);
    const bool xp = border == ZelXPBorder;
    TRichImageList* face = b->Face();
    for (bool checked : {false, true}) {
      b->SetChecked(checked);
      const int want = checked ? 2 : 3;
      // normal
      b->UpdateGlyph();
      EXPECT_EQ(face->ImageIndex(), want);
      EXPECT_TRUE(face->Substitute());
      // hot: the only own glyph (with the XP border only when checked)
      MoveTo(b, 5, 5);
      EXPECT_EQ(face->ImageIndex(), want);
      EXPECT_EQ(face->Substitute(), xp && !checked);
      // pushed
      Press(b);
      EXPECT_EQ(face->ImageIndex(), want);
      EXPECT_TRUE(face->Substitute());
      b->SetPushed(false);
      MoveTo(b, 300, 100);
      // disabled
      b->SetEnabled(false);
      EXPECT_EQ(face->ImageIndex(), want);
      EXPECT_TRUE(face->Substitute());
      b->SetEnabled(true);
      clock.Advance(1000);
    }
    delete b;
  }
}

TEST_F(SpeedButtonTest, FallbacksKindsAndBuiltInIndices) {
  auto* b = Put(10, 10);
  b->SetImageList(Images(8));
  TGliphs* g = b->Gliphs();
  g->SetImageIndexNormal(1);
  g->SetImageIndexPush(4);
  g->SetImageIndexCheck(-10); // the built-in check mark when checked
  EXPECT_EQ(b->Face()->ImageIndex(), 1);
  EXPECT_FALSE(b->Face()->Substitute());
  b->SetChecked(true);
  EXPECT_EQ(b->Face()->ImageIndex(), -10);
  // A built-in index is not a glyph of this state's own.
  EXPECT_TRUE(b->Face()->Substitute());
  MoveTo(b, 5, 5);
  Press(b);
  EXPECT_EQ(b->Face()->ImageIndex(), 4);
  EXPECT_FALSE(b->Face()->Substitute());
  Release(b);
  EXPECT_TRUE(b->Checked()); // without AutoCheck a press leaves the check alone
  b->SetChecked(false);
  b->SetEnabled(false);
  EXPECT_EQ(b->Face()->ImageIndex(), 1); // disabled falls back to normal
  // A button kind overrides every state's glyph.
  b->SetButtonKind(ZelBKLeftChevron);
  EXPECT_EQ(b->Face()->ImageIndex(), -2);
  b->UpdateGlyph();
  EXPECT_EQ(b->Face()->ImageIndex(), -2);
  EXPECT_TRUE(b->Face()->Substitute());
}

TEST_F(SpeedButtonTest, GlyphSetChecksAndErrors) {
  auto* b = Put(10, 10);
  TGliphs* g = b->Gliphs();
  int changes = 0;
  g->OnChanged = [&](TObject* s) {
    EXPECT_EQ(s, g);
    ++changes;
  };
  // Without a list every index passes.
  g->SetImageIndexNormal(50);
  EXPECT_EQ(b->Perform(TCM_GETIMAGELIST), 0);
  b->SetImageList(Images(0));
  EXPECT_NE(b->Perform(TCM_GETIMAGELIST), 0);
  g->SetImageIndexNormal(0); // 0 passes even for an empty list
  g->SetImageIndexPush(-10);
  b->SetImageList(Images(3));
  try {
    g->SetImageIndexCheck(3);
    FAIL() << "an index equal to the count was accepted";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "Неверный номер изображения (3)");
  }
  EXPECT_EQ(g->ImageIndexCheck(), -1);
  g->SetImageIndexCheck(2);
  EXPECT_EQ(changes, 4);
  g->SetImageIndexCheck(2); // unchanged: no notification
  EXPECT_EQ(changes, 4);

  // While updating nothing is checked.
  b->BeginUpdate();
  g->SetImageIndexDisable(99);
  b->EndUpdate();
  EXPECT_EQ(g->ImageIndexDisable(), 99);

  // Assign: from another set, from nil, from anything else.
  auto* other = Put(60, 10);
  other->Gliphs()->Assign(g);
  EXPECT_EQ(other->Gliphs()->ImageIndexCheck(), 2);
  EXPECT_EQ(other->Gliphs()->ImageIndexDisable(), 99);
  const int before = changes;
  g->Assign(nullptr);
  EXPECT_EQ(g->ImageIndexNormal(), -1);
  EXPECT_EQ(changes, before + 1);
  g->Assign(nullptr);
  EXPECT_EQ(changes, before + 1);
  try {
    g->Assign(b->Face());
    FAIL() << "a face was assigned to a glyph set";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Невозможно конвертировать объект TRichImageList в TGliphs");
  }
  EXPECT_THROW(TGliphs(nullptr), Exception);
  b->SetGliphs(other->Gliphs());
  EXPECT_EQ(g->ImageIndexCheck(), 2);
  b->SetGliphs(nullptr);
  EXPECT_EQ(g->ImageIndexCheck(), -1);
}

TEST_F(SpeedButtonTest, ImageListGoneOrChanged) {
  auto* b = Put(10, 10);
  b->SetImageList(Images(2));
  b->Gliphs()->SetImageIndexNormal(1);
  EXPECT_EQ(b->ImageList(), images.get());
  int changes = 0;
  b->Gliphs()->OnChanged = [&](TObject*) { ++changes; };
  TBitmap cell(16, 16, pf32bit);
  images->Add(&cell, nullptr); // a change through the link keeps the glyph
  EXPECT_EQ(b->Face()->ImageIndex(), 1);
  b->Gliphs()->SetImageIndexNormal(2); // the third image now exists
  EXPECT_EQ(changes, 1);
  images.reset();
  EXPECT_EQ(b->ImageList(), nullptr);
  EXPECT_EQ(b->Face()->ImageListId(), 0u);
  EXPECT_EQ(b->Perform(TCM_GETIMAGELIST), 0);
}

TEST_F(SpeedButtonTest, CaptionLivesInTheFace) {
  auto* b = Put(10, 10);
  b->SetCaption(std::string(300, 'x'));
  EXPECT_EQ(b->Caption(), std::string(255, 'x'));
  EXPECT_EQ(b->Face()->Caption(), std::string(255, 'x'));
  EXPECT_EQ(b->Perform(sys::WM_GETTEXTLENGTH), 255);
  // The limit counts letters: 300 two-byte letters keep 255 of them.
  std::string cyrillic;
  for (int i = 0; i < 300; ++i)
    cyrillic += "ж";
  b->SetCaption(cyrillic);
  EXPECT_EQ(b->Caption(), cyrillic.substr(0, 510));
  EXPECT_EQ(b->Perform(sys::WM_GETTEXTLENGTH), 510);
  char small[6];
  EXPECT_EQ(b->Perform(sys::WM_GETTEXT, sizeof small, sys::LPARAM(small)), 4);
  EXPECT_STREQ(small, "жж");
  b->SetCaption("");
  EXPECT_EQ(b->Perform(sys::WM_GETTEXT, sizeof small, sys::LPARAM(small)), 0);
  EXPECT_STREQ(small, "");
  EXPECT_EQ(b->Perform(sys::WM_GETTEXTLENGTH), 0);
}

TEST_F(SpeedButtonTest, PictureOfEveryBorderAndState) {
  // Five columns of states (normal, hot, pushed, checked, disabled) in four
  // rows of borders, each state with a glyph of its own; a sixth column of
  // drop parts.  The glyph centre of every button must show its state's
  // image, so the states are told apart on the screen.
  host->SetBounds(100, 100, 6 * 70 + 10, 4 * 40 + 10);
  TCustomImageList* list = Images(4);
  const TZelButtonBorder rows[] = {ZelSingleBorder, ZelFlatBorder, ZelNoBorder, ZelXPBorder};
  TSpeedButtonZel* grid[4][5] = {};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 5; ++c) {
      auto* b = Put(10 + c * 70, 10 + r * 40, 64, 28);
      grid[r][c] = b;
      b->SetBorder(rows[r]);
      b->SetImageList(list);
      b->Gliphs()->SetImageIndexNormal(0);
      b->Gliphs()->SetImageIndexNormalHot(1);
      b->Gliphs()->SetImageIndexCheck(2);
      b->Gliphs()->SetImageIndexPush(3);
      b->SetCaption("Ab");
      switch (c) {
      case 1:
        b->SetHot(true);
        break;
      case 2:
        b->SetHot(true);
        b->SetPushed(true);
        break;
      case 3:
        b->SetChecked(true);
        break;
      case 4:
        b->SetEnabled(false);
        break;
      default:
        break;
      }
    }
  }
  for (int r = 0; r < 4; ++r) {
    // The last column carries drop parts: a column for the first two
    // rows, a corner square for the others.
    auto* b = Put(10 + 5 * 70, 10 + r * 40, 64, 28);
    b->SetBorder(rows[r]);
    b->SetImageList(list);
    b->Gliphs()->SetImageIndexNormal(0);
    b->SetCaption("Ab");
    b->SetStyle(r < 2 ? cbsDropDown : cbsDrop);
  }
  host->Repaint();
  sys::PumpMessages();
  const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(screen->SaveWindowShot(host->Handle(), dir + "/speedbuttons.png"));

  auto near = [](sys::COLORREF a, sys::COLORREF b) {
    for (int shift = 0; shift < 24; shift += 8)
      if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 2) return false;
    return true;
  };
  TBitmap measure(1, 1, pf32bit);
  for (int r = 0; r < 4; ++r) {
    SCOPED_TRACE(int(rows[r]));
    sys::COLORREF probe[5];
    for (int c = 0; c < 5; ++c) {
      TSpeedButtonZel* b = grid[r][c];
      measure.Canvas()->Font()->Assign(b->Font());
      sys::RECT g, t;
      b->Face()->LayoutFace(measure.Canvas(), g, t);
      const sys::POINT p = At(b, (g.left + g.right) / 2, (g.top + g.bottom) / 2);
      probe[c] = screen->ScreenPixel(p.x, p.y);
    }
    // Hot, pushed and checked show their own images as they are.
    const int own[] = {-1, 1, 3, 2};
    for (int c = 1; c <= 3; ++c)
      EXPECT_TRUE(near(probe[c], sys::ColorRefFromPixel(images->ImagePixels(own[c])->At(8, 8))))
          << "state " << c;
    for (int i = 0; i < 5; ++i)
      for (int j = i + 1; j < 5; ++j)
        EXPECT_NE(probe[i], probe[j]) << "states " << i << " and " << j << " look alike";
  }
}

TEST_F(SpeedButtonTest, BorderlessButtonShowsAnOutlineOnlyAtDesignTime) {
  auto* b = Put(10, 10, 30, 20);
  b->SetBorder(ZelNoBorder);
  b->SetColor(clWhite);
  host->Repaint();
  sys::PumpMessages();
  const sys::POINT corner = At(b, 0, 0), far = At(b, 29, 19);
  const sys::COLORREF grey = ColorToColorRef(clGrayText);
  EXPECT_NE(screen->ScreenPixel(corner.x, corner.y), grey);
  b->SetDesigning(true);
  host->Repaint();
  sys::PumpMessages();
  EXPECT_EQ(screen->ScreenPixel(corner.x, corner.y), grey);
  EXPECT_EQ(screen->ScreenPixel(far.x, far.y), grey);
  b->SetDesigning(false);
}

} // namespace
} // namespace zel::test
