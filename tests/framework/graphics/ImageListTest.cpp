#include "framework/graphics/ImageList.h"

#include <gtest/gtest.h>

#include "PictureOutput.h"
#include "framework/core/Filer.h"
#include "framework/core/Streams.h"

namespace zel {
namespace {

using sys::RGB;

// A strip of `cells` 4 x 4 cells on magenta: cell k has a k+1 pixel wide
// vertical bar of colour `bars[k]` at its left edge.
void MakeStrip(TBitmap& strip, std::initializer_list<TColor> bars) {
  strip.SetSize(4 * int(bars.size()), 4);
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect(sys::RECT{0, 0, strip.Width(), 4});
  int k = 0;
  for (TColor bar : bars) {
    strip.Canvas()->Brush()->SetColor(bar);
    strip.Canvas()->FillRect(sys::RECT{4 * k, 0, 4 * k + k + 1, 4});
    ++k;
  }
}

TColor PixelOf(TBitmap& b, int x, int y) {
  return b.Canvas()->Pixels(x, y);
}

void Fill(TBitmap& b, TColor color) {
  b.Canvas()->Brush()->SetColor(color);
  b.Canvas()->FillRect(sys::RECT{0, 0, b.Width(), b.Height()});
}

class ImageListTest : public ::testing::Test {
protected:
  ImageListTest() : list(4, 4, nullptr) {
    list.OnChange = [this](TObject* sender) {
      EXPECT_EQ(sender, &list);
      ++changes;
    };
  }
  TImageList list;
  int changes = 0;
};

TEST_F(ImageListTest, AWideStripIsCutIntoCellsWithOneChange) {
  TBitmap strip;
  MakeStrip(strip, {clRed, clGreen, clBlue});
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(changes, 1);
  const std::vector<uint8_t>& mask = *list.ImageMask(2);
  EXPECT_EQ(mask[0], 1);
  EXPECT_EQ(mask[2], 1);
  EXPECT_EQ(mask[3], 0) << "magenta became transparent";
  EXPECT_EQ(sys::ColorRefFromPixel(list.ImagePixels(1)->At(1, 3)), RGB(0, 128, 0));
  EXPECT_EQ(list.ImagePixels(1)->At(3, 0), 0u) << "transparent pixels are cleared";

  // A second strip appends and answers its first index.
  TBitmap more;
  MakeStrip(more, {clYellow});
  EXPECT_EQ(list.AddMasked(&more, clDefault), 3) << "clDefault keys the bottom-left colour";
  EXPECT_EQ((*list.ImageMask(3))[0], 0) << "the bar is the bottom-left colour here";
  EXPECT_EQ((*list.ImageMask(3))[3], 1);
  EXPECT_EQ(list.Add(nullptr, nullptr), -1);
  EXPECT_EQ(changes, 2);
}

TEST_F(ImageListTest, ChangingTheSizeEmptiesTheList) {
  TBitmap strip;
  MakeStrip(strip, {clRed, clGreen});
  list.AddMasked(&strip, clFuchsia);
  changes = 0;
  list.SetWidth(4); // unchanged
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(changes, 0);
  list.SetHeight(8);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(list.SetWidth(0), EInvalidOperation);
  EXPECT_THROW(list.SetHeight(100000), EInvalidOperation);
  EXPECT_EQ(list.Width(), 4);
  // Cells taller than the image are transparent below it.
  list.AddMasked(&strip, clFuchsia);
  EXPECT_EQ((*list.ImageMask(0))[size_t(6 * 4)], 0);
}

TEST_F(ImageListTest, MasksDecideWhatIsDrawn) {
  TBitmap image(8, 4);
  Fill(image, clRed);
  TBitmap mask(8, 4);
  Fill(mask, clBlack);
  mask.Canvas()->SetPixels(0, 0, clWhite); // transparent in cell 0
  mask.Canvas()->SetPixels(5, 1, clWhite); // transparent in cell 1
  EXPECT_EQ(list.Add(&image, &mask), 0);
  EXPECT_EQ(list.Count(), 2);

  TBitmap target(12, 6);
  Fill(target, clBlue);
  list.Draw(target.Canvas(), 1, 1, 0);
  list.Draw(target.Canvas(), 6, 1, 1);
  EXPECT_EQ(PixelOf(target, 1, 1), clBlue);
  EXPECT_EQ(PixelOf(target, 2, 1), clRed);
  EXPECT_EQ(PixelOf(target, 7, 2), clBlue);
  EXPECT_EQ(PixelOf(target, 6, 2), clRed);
  EXPECT_EQ(PixelOf(target, 0, 0), clBlue);

  // A background colour shows under the transparent pixels...
  list.SetBkColor(clYellow);
  list.Draw(target.Canvas(), 1, 1, 0);
  EXPECT_EQ(PixelOf(target, 1, 1), clYellow);
  // ...unless the drawing style is transparent.
  Fill(target, clBlue);
  list.Draw(target.Canvas(), 1, 1, 0, dsTransparent, true);
  EXPECT_EQ(PixelOf(target, 1, 1), clBlue);

  // An index outside the list draws nothing and raises nothing.
  list.Draw(target.Canvas(), 0, 0, 2);
  list.Draw(target.Canvas(), 0, 0, -1);
  EXPECT_EQ(PixelOf(target, 0, 0), clBlue);
}

TEST_F(ImageListTest, ADrawnColourThatEqualsMagentaStaysDrawn) {
  // Masks are kept apart from colours: a drawn pixel of any colour is drawn.
  TBitmap image(4, 4);
  Fill(image, clFuchsia);
  TBitmap mask(4, 4);
  Fill(mask, clBlack);
  mask.Canvas()->SetPixels(3, 3, clWhite);
  list.Add(&image, &mask);
  TBitmap target(4, 4);
  Fill(target, clGreen);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(PixelOf(target, 0, 0), clFuchsia);
  EXPECT_EQ(PixelOf(target, 3, 3), clGreen);
}

TEST_F(ImageListTest, UnmaskedListsDrawEveryPixel) {
  list.SetMasked(false);
  TBitmap strip;
  MakeStrip(strip, {clRed});
  list.AddMasked(&strip, clFuchsia);
  TBitmap target(4, 4);
  Fill(target, clGreen);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(PixelOf(target, 3, 3), clFuchsia);

  // Turning masks off later draws the cleared pixels black, and back on
  // makes them transparent again.
  list.SetMasked(true);
  list.AddMasked(&strip, clFuchsia);
  list.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(PixelOf(target, 3, 3), clFuchsia) << "transparent: the old pixel stays";
  list.SetMasked(false);
  list.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(PixelOf(target, 3, 3), clBlack);
  EXPECT_EQ(PixelOf(target, 0, 0), clRed);
  Fill(target, clGreen);
  list.SetMasked(true);
  list.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(PixelOf(target, 3, 3), clGreen);
}

TEST_F(ImageListTest, DisabledImagesAreEmbossed) {
  TBitmap image(4, 4);
  Fill(image, clWhite);
  image.Canvas()->SetPixels(1, 1, clBlack);  // the only dark pixel
  image.Canvas()->SetPixels(3, 0, clYellow); // light: background when disabled
  list.Add(&image, nullptr);
  TBitmap target(6, 6);
  Fill(target, clRed);
  list.Draw(target.Canvas(), 0, 0, 0, false);
  EXPECT_EQ(PixelOf(target, 1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelOf(target, 2, 2), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelOf(target, 0, 0), clRed) << "light pixels are not drawn at all";
  EXPECT_EQ(PixelOf(target, 3, 3), clRed);
  EXPECT_EQ(PixelOf(target, 3, 0), clRed);
  testing::SavePicture(target.Handle()->surface, "imagelist_disabled");
}

TEST_F(ImageListTest, SelectedStyleBlendsWithTheBlendColour) {
  TBitmap image(4, 4);
  Fill(image, clBlack);
  list.Add(&image, nullptr);
  TBitmap target(4, 4);
  list.SetBlendColor(clWhite);
  list.Draw(target.Canvas(), 0, 0, 0, dsSelected, true);
  EXPECT_EQ(PixelOf(target, 0, 0), TColor(RGB(127, 127, 127)));
  list.Draw(target.Canvas(), 0, 0, 0, dsFocus, true);
  EXPECT_EQ(PixelOf(target, 0, 0), TColor(RGB(63, 63, 63)));
  list.Draw(target.Canvas(), 0, 0, 0, dsNormal, true);
  EXPECT_EQ(PixelOf(target, 0, 0), clBlack);
}

TEST_F(ImageListTest, ReplaceInsertDeleteAndMove) {
  TBitmap strip;
  MakeStrip(strip, {clRed, clGreen, clBlue});
  list.AddMasked(&strip, clFuchsia);
  TBitmap one;
  MakeStrip(one, {clYellow, clAqua});
  changes = 0;
  list.ReplaceMasked(1, &one, clFuchsia); // only the first cell is used
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(sys::ColorRefFromPixel(list.ImagePixels(1)->At(0, 0)), RGB(255, 255, 0));
  list.Replace(2, &one, nullptr);
  EXPECT_EQ((*list.ImageMask(2))[3], 1) << "no mask: every pixel drawn";
  list.InsertMasked(0, &one, clFuchsia); // both cells: yellow, aqua, red, yellow, yellow
  EXPECT_EQ(list.Count(), 5);
  list.Move(0, 4); // aqua, red, yellow, yellow, yellow
  EXPECT_EQ(sys::ColorRefFromPixel(list.ImagePixels(0)->At(1, 0)), RGB(0, 255, 255));
  EXPECT_EQ(sys::ColorRefFromPixel(list.ImagePixels(1)->At(0, 0)), RGB(255, 0, 0));
  list.Delete(0);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(changes, 5);
  EXPECT_THROW(list.Delete(4), EInvalidOperation);
  EXPECT_THROW(list.Replace(9, &one, nullptr), EInvalidOperation);
  EXPECT_THROW(list.Insert(9, &one, nullptr), EInvalidOperation);
  EXPECT_EQ(list.Count(), 4);
  list.Delete(-1);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(ImageListTest, ChangeLinksFireOncePerChange) {
  TChangeLink a, b;
  int aCount = 0, bCount = 0;
  a.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++aCount;
  };
  b.OnChange = [&](TObject*) { ++bCount; };
  list.RegisterChanges(&a);
  list.RegisterChanges(&b);
  list.RegisterChanges(&a); // twice is still once
  EXPECT_EQ(a.Sender(), &list);
  TBitmap strip;
  MakeStrip(strip, {clRed, clGreen, clBlue});
  list.AddMasked(&strip, clFuchsia);
  EXPECT_EQ(aCount, 1);
  EXPECT_EQ(bCount, 1);
  list.UnRegisterChanges(&b);
  EXPECT_EQ(b.Sender(), nullptr);
  list.Clear();
  EXPECT_EQ(aCount, 2);
  EXPECT_EQ(bCount, 1);
}

TEST_F(ImageListTest, UpdateBracketsCoalesceChanges) {
  TChangeLink link;
  int linkCount = 0;
  link.OnChange = [&](TObject*) { ++linkCount; };
  list.RegisterChanges(&link);
  TBitmap strip;
  MakeStrip(strip, {clRed});
  list.BeginUpdate();
  list.BeginUpdate();
  EXPECT_TRUE(list.ComponentState().Contains(csUpdating));
  list.AddMasked(&strip, clFuchsia);
  list.AddMasked(&strip, clFuchsia);
  list.SetBkColor(clWhite);
  list.EndUpdate();
  EXPECT_EQ(changes, 0);
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(linkCount, 1);
  EXPECT_FALSE(list.ComponentState().Contains(csUpdating));
  list.EndUpdate(); // unbalanced: ignored
  list.BeginUpdate();
  list.EndUpdate(); // nothing changed: nothing told
  EXPECT_EQ(changes, 1);
}

TEST(ImageList, LinksAndListsMayGoInEitherOrder) {
  auto link = std::make_unique<TChangeLink>();
  {
    TImageList list(nullptr);
    list.RegisterChanges(link.get());
    {
      TChangeLink shortLived;
      list.RegisterChanges(&shortLived);
    }
    list.Clear(); // the deleted link is not told
  }
  EXPECT_EQ(link->Sender(), nullptr);
  link.reset();

  // A handler that deletes the list stops the notification there.
  auto* owned = new TImageList(nullptr);
  TChangeLink first, second;
  int secondCount = 0;
  first.OnChange = [&](TObject*) { delete owned; };
  second.OnChange = [&](TObject*) { ++secondCount; };
  owned->RegisterChanges(&first);
  owned->RegisterChanges(&second);
  owned->Clear();
  EXPECT_EQ(secondCount, 0);
  EXPECT_EQ(first.Sender(), nullptr);
  EXPECT_EQ(second.Sender(), nullptr);
}

TEST(ImageList, ClassesAreCreatedByName) {
  RegisterImageListClasses();
  TComponent owner(nullptr);
  TObject* made = FindClass("TImageList").Create(&owner);
  ASSERT_TRUE(made->Is<TImageList>());
  EXPECT_EQ(made->As<TImageList>()->Owner(), &owner);
  EXPECT_EQ(made->As<TImageList>()->Width(), 16);
  EXPECT_TRUE(made->InheritsFrom(TCustomImageList::StaticClass()));
}

TEST(ImageList, HandlesAnswerTheCountAndGoStale) {
  HIMAGELIST handle;
  {
    TImageList list(4, 4, nullptr);
    EXPECT_FALSE(list.HandleAllocated());
    handle = list.Handle();
    EXPECT_EQ(list.Handle(), handle);
    EXPECT_EQ(ImageList_GetImageCount(handle), 0);
    TBitmap strip(12, 4);
    list.Add(&strip, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(handle), 3);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(handle, &cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(ImageListFromHandle(handle), &list);
    TImageList other(nullptr);
    EXPECT_NE(other.Handle(), handle);
  }
  EXPECT_EQ(ImageList_GetImageCount(handle), 0);
  EXPECT_EQ(ImageListFromHandle(handle), nullptr);
  EXPECT_EQ(ImageList_GetImageCount(nullptr), 0);
  int cx = 7;
  EXPECT_FALSE(ImageList_GetIconSize(handle, &cx, nullptr));
  EXPECT_EQ(cx, 7);
}

// A descendant that defers notifications, the way a list that rebuilds its
// images later does.
class TDeferringList : public TImageList {
public:
  TDeferringList() : TImageList(nullptr) {}
  int requests = 0;
  void Deliver() { TImageList::Change(); }

protected:
  void Change() override { ++requests; }
};

TEST(ImageList, DescendantsCanDeferTheNotification) {
  TDeferringList list;
  int told = 0;
  list.OnChange = [&](TObject*) { ++told; };
  TBitmap strip(32, 16);
  list.Add(&strip, nullptr);
  list.SetBkColor(clRed);
  EXPECT_EQ(list.requests, 2);
  EXPECT_EQ(told, 0);
  list.Deliver();
  EXPECT_EQ(told, 1);
}

// A descendant with a bracket of its own, reached through the base type.
class TBracketingList : public TImageList {
public:
  TBracketingList() : TImageList(nullptr) {}
  int opened = 0, closed = 0;
  void BeginUpdate() override {
    ++opened;
    TImageList::BeginUpdate();
  }
  void EndUpdate() override {
    ++closed;
    TImageList::EndUpdate();
  }
};

TEST(ImageList, DescendantsOverrideTheUpdateBracket) {
  TBracketingList list;
  TCustomImageList& plain = list;
  plain.BeginUpdate();
  plain.EndUpdate();
  // The list's own copying brackets itself the same way.
  TImageList source(16, 16, nullptr);
  TBitmap strip(32, 16);
  source.Add(&strip, nullptr);
  list.AddImages(&source);
  EXPECT_GE(list.opened, 1);
  EXPECT_EQ(list.opened, list.closed);
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST_F(ImageListTest, AssignAndStorageCopyEverything) {
  TBitmap strip;
  MakeStrip(strip, {clRed, clGreen});
  list.AddMasked(&strip, clFuchsia);
  list.SetBkColor(clAqua);
  TImageList copy(nullptr);
  int copyChanges = 0;
  copy.OnChange = [&](TObject*) { ++copyChanges; };
  copy.Assign(&list);
  EXPECT_EQ(copyChanges, 1);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.BkColor(), clAqua);
  EXPECT_EQ(*copy.ImageMask(1), *list.ImageMask(1));

  TMemoryStream stream;
  list.WriteData(stream);
  stream.SetPosition(0);
  TImageList read(16, 16, nullptr);
  read.ReadData(stream);
  EXPECT_EQ(read.Width(), 4);
  EXPECT_EQ(read.Count(), 2);
  EXPECT_EQ(read.ImagePixels(0)->At(0, 0), list.ImagePixels(0)->At(0, 0));
  EXPECT_EQ(*read.ImageMask(1), *list.ImageMask(1));

  // Damaged data is refused; the list and the stream stay as they were.
  std::vector<uint8_t> bytes = stream.Bytes();
  bytes.resize(bytes.size() - 10);
  TMemoryStream damaged;
  damaged.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  damaged.SetPosition(0);
  EXPECT_THROW(read.ReadData(damaged), EReadError);
  EXPECT_EQ(damaged.Position(), 0);
  EXPECT_EQ(read.Count(), 2);
  TMemoryStream garbage;
  garbage.WriteU32(12345);
  garbage.SetPosition(0);
  EXPECT_THROW(read.ReadData(garbage), EReadError);

  copy.Assign(nullptr);
  EXPECT_EQ(copy.Count(), 0);
}

TEST_F(ImageListTest, ComponentStreamsCarryTheImages) {
  TBitmap strip;
  MakeStrip(strip, {clRed, clGreen, clBlue});
  list.AddMasked(&strip, clFuchsia);
  list.SetBlendColor(clHighlight);
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteProperties(list);
  stream.SetPosition(0);
  TImageList read(nullptr);
  TReader reader(stream);
  reader.ReadProperties(read);
  EXPECT_EQ(read.Width(), 4);
  EXPECT_EQ(read.BlendColor(), clHighlight);
  ASSERT_EQ(read.Count(), 3);
  EXPECT_EQ(*read.ImageMask(2), *list.ImageMask(2));
  EXPECT_EQ(read.ImagePixels(1)->At(0, 0), list.ImagePixels(1)->At(0, 0));
}

TEST_F(ImageListTest, AddImagesOfAnotherSizeKeepsTransparency) {
  TImageList big(6, 6, nullptr);
  TBitmap image(6, 6);
  Fill(image, clRed);
  TBitmap mask(6, 6);
  Fill(mask, clWhite);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(sys::RECT{0, 0, 2, 2});
  big.Add(&image, &mask);
  EXPECT_EQ(list.AddImages(&big), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ((*list.ImageMask(0))[0], 1);
  EXPECT_EQ((*list.ImageMask(0))[3], 0);
}

TEST_F(ImageListTest, DragStateFollowsTheCalls) {
  TBitmap strip(8, 4);
  list.Add(&strip, nullptr);
  EXPECT_FALSE(list.SetDragImage(5, 0, 0));
  EXPECT_TRUE(list.SetDragImage(1, 2, 3));
  EXPECT_FALSE(list.DragMove(1, 1));
  EXPECT_TRUE(list.BeginDrag(10, 10));
  EXPECT_TRUE(list.Dragging());
  EXPECT_TRUE(list.DragMove(12, 14));
  EXPECT_EQ(list.DragPosition(), (sys::POINT{12, 14}));
  EXPECT_TRUE(list.EndDrag());
  EXPECT_FALSE(list.EndDrag());
}

} // namespace
} // namespace zel

namespace zel {
namespace {

// The program's own glyph strip, cut the way the glyph list cuts it.
TEST(ImageList, TheProgramsStripSplitsIntoItsCells) {
  TBitmap strip;
  strip.LoadFromResourceName(nullptr, "STANDARTBTN_16");
  EXPECT_EQ(strip.PixelFormat(), pf24bit);
  ASSERT_EQ(strip.Width(), 576);
  ASSERT_EQ(strip.Height(), 16);
  strip.SetPixelFormat(pf32bit);
  TImageList list(16, 16, nullptr);
  EXPECT_EQ(list.AddMasked(&strip, 0xFF00FF), 0);
  EXPECT_EQ(list.Count(), 36);
  EXPECT_EQ(ImageList_GetImageCount(list.Handle()), 36);

  TBitmap sheet(12 * 18, 3 * 18);
  sheet.Canvas()->Brush()->SetColor(clBtnFace);
  sheet.Canvas()->FillRect(sys::RECT{0, 0, sheet.Width(), sheet.Height()});
  for (int i = 0; i < 36; ++i)
    list.Draw(sheet.Canvas(), (i % 12) * 18 + 1, (i / 12) * 18 + 1, i);
  // Magenta never reaches the sheet: it is the strip's transparent colour.
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x)
      ASSERT_NE(sheet.Canvas()->Pixels(x, y), clFuchsia) << x << "," << y;
  testing::SavePicture(sheet.Handle()->surface, "imagelist_program_strip", 3);

  // The same glyphs disabled: only the button colours are left.
  sheet.Canvas()->FillRect(sys::RECT{0, 0, sheet.Width(), sheet.Height()});
  for (int i = 0; i < 36; ++i)
    list.Draw(sheet.Canvas(), (i % 12) * 18 + 1, (i / 12) * 18 + 1, i, false);
  const TColor allowed[] = {ColorToRGB(clBtnFace), ColorToRGB(clBtnShadow),
                            ColorToRGB(clBtnHighlight)};
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) {
      const TColor c = sheet.Canvas()->Pixels(x, y);
      ASSERT_TRUE(c == allowed[0] || c == allowed[1] || c == allowed[2]) << x << "," << y;
    }
  testing::SavePicture(sheet.Handle()->surface, "imagelist_program_strip_disabled", 3);
}

} // namespace
} // namespace zel
