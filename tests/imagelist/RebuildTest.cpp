// Rebuilding the list: the main window's glyphs at every size, counts and
// crossed boxes, placeholders, module files, copying, storage, and change
// bursts coalesced on the virtual clock.

#include "tests/imagelist/ImageListTestSupport.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Filer.h"
#include "framework/core/Streams.h"
#include "framework/core/Strings.h"
#include "imagelist/ImageListZelConsts.h"

namespace zel::test {
namespace {

// Counts the rebuilds the timer asks for.
class CountingList : public TImageListZel {
public:
  using TImageListZel::TImageListZel;
  bool RebuildImages() override {
    ++rebuilds;
    return TImageListZel::RebuildImages();
  }
  int rebuilds = 0;
};

class Rebuild : public ImageListTest {
protected:
  // True when an image is a crossed box: its four corners and centre drawn,
  // a point beside the diagonals not.
  bool CrossedBox(int index) {
    const int w = list.Width(), h = list.Height();
    return Drawn(list, index, 0, 0) && Drawn(list, index, w - 1, 0) &&
           Drawn(list, index, 0, h - 1) && Drawn(list, index, w - 1, h - 1) &&
           Drawn(list, index, w / 2, h / 2) && !Drawn(list, index, w / 2, 2);
  }
  std::vector<sys::Pixel> Pixels(int index) {
    auto p = list.ImagePixels(index)->Pixels();
    return {p.begin(), p.end()};
  }
  void Resize(int size) {
    list.BeginUpdate();
    list.SetSize(size, size);
    list.EndUpdate();
  }

  CountingList list{nullptr};
};

TEST_F(Rebuild, MainListTakesTheStripCellsAndCustomImagesPixelForPixel) {
  SetUpMainList(list);
  EXPECT_TRUE(list.RebuildImages());
  ASSERT_EQ(list.Count(), 42);
  const TColor back = list.GetBackColor();
  auto compare = [&](const char* resource, int cells, int first) {
    TBitmap strip;
    strip.LoadFromResourceName(nullptr, resource);
    ASSERT_EQ(strip.Width(), cells * 24);
    const sys::Surface& s = strip.Handle()->surface;
    for (int k = 0; k < cells; ++k)
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
          const TColor c = TColor(sys::ColorRefFromPixel(s.At(k * 24 + x, y)));
          ASSERT_EQ(Drawn(list, first + k, x, y), c != kMagenta) << resource << k;
          // A glyph pixel of the background colour is moved off it by one
          // step of blue, or the mask would take it.
          if (c != kMagenta) {
            ASSERT_EQ(ColorAt(list, first + k, x, y), c == back ? (c ^ 0x010000) : c);
          }
        }
  };
  compare("STANDARTBTN_24", 36, 0);
  compare("MAINFORM_CUSTOM_24", 6, 36);
}

TEST_F(Rebuild, EverySizeFromTenToThirtyThree) {
  SetUpMainList(list);
  TResourceName* item = list.ResourceNames()->Items(0);
  for (int size : {10, 16, 17, 20, 24, 28, 32, 33}) {
    Resize(size);
    EXPECT_TRUE(list.RebuildImages());
    ASSERT_EQ(list.Count(), 42) << size;
    EXPECT_EQ(list.Width(), size);
    EXPECT_EQ(item->Width(), size <= 16 ? 16 : size <= 24 ? 24 : 32) << size;
    for (int k = 0; k < 42; ++k) {
      const int drawn = DrawnCount(list, k);
      // Every glyph is there (how well is the size sheet's business).
      EXPECT_GT(drawn, size * size / 10) << size << " image " << k;
    }
  }
}

TEST_F(Rebuild, GliphCountBeyondTheStripAddsCrossedBoxesAndZeroTakesAll) {
  SetUpMainList(list);
  TResourceName* item = list.ResourceNames()->Items(0);
  item->SetGliphCount(40);
  list.RebuildImages();
  ASSERT_EQ(list.Count(), 46);
  EXPECT_FALSE(CrossedBox(35));
  for (int k = 36; k < 40; ++k)
    EXPECT_TRUE(CrossedBox(k)) << k;
  EXPECT_FALSE(CrossedBox(40)); // CustomImg's images follow
  item->SetGliphCount(0);
  list.RebuildImages();
  EXPECT_EQ(list.Count(), 42);
  // A family that does not exist: boxes only.
  item->SetName("NOSUCHSTRIP");
  item->SetGliphCount(3);
  list.RebuildImages();
  ASSERT_EQ(list.Count(), 9);
  for (int k = 0; k < 3; ++k)
    EXPECT_TRUE(CrossedBox(k)) << k;
}

TEST_F(Rebuild, EmptyNameGivesNumberedPlaceholders) {
  list.SetSize(24, 24);
  TResourceName* item = list.ResourceNames()->Add();
  item->SetGliphCount(3);
  EXPECT_TRUE(list.RebuildImages());
  ASSERT_EQ(list.Count(), 3);
  for (int k = 0; k < 3; ++k) {
    EXPECT_GT(DrawnCount(list, k), 0) << k;
    EXPECT_FALSE(CrossedBox(k)) << k;
  }
  // Each shows its own number.
  EXPECT_NE(Pixels(0), Pixels(1));
  EXPECT_NE(Pixels(1), Pixels(2));
}

TEST_F(Rebuild, NothingToBuildClearsTheList) {
  SetUpMainList(list);
  list.RebuildImages();
  list.ResourceNames()->Clear();
  list.CustomImg()->Clear();
  EXPECT_TRUE(list.RebuildImages());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.RebuildImages()); // nothing to clear either
  // Inside an update bracket nothing is rebuilt.
  SetUpMainList(list);
  list.BeginUpdate();
  EXPECT_FALSE(list.RebuildImages());
  list.EndUpdate();
}

TEST_F(Rebuild, StripsFromAModuleFile) {
  TBitmap strip;
  std::vector<TColor> colors;
  MakeStrip(strip, 24, 36, 4, &colors);
  const std::string path = WriteModule("own.zres", {{"STANDARTBTN_24", &strip}});
  SetUpMainList(list);
  TResourceName* item = list.ResourceNames()->Items(0);
  item->SetFileName(path);
  // With FileNameDOM the file applies only while designing.
  list.RebuildImages();
  EXPECT_NE(ColorAt(list, 0, 12, 12), colors[0]);
  ForceResourceFiles = true;
  list.RebuildImages();
  EXPECT_EQ(ColorAt(list, 0, 12, 12), colors[0]);
  ForceResourceFiles = false;
  list.SetDesigning(true);
  list.RebuildImages();
  EXPECT_EQ(ColorAt(list, 5, 12, 12), colors[5]);
  list.SetDesigning(false);
  item->SetFileNameDOM(false);
  // The strip comes from the file even though choosing it by size opens and
  // lists the same file on the way.
  list.RebuildImages();
  EXPECT_EQ(ColorAt(list, 35, 12, 12), colors[35]);
  EXPECT_FALSE(Drawn(list, 0, 2, 2));
  EXPECT_EQ(item->Module(), nullptr); // released after use
  // At 16 the file has only the 24 strip: it is scaled down.
  Resize(16);
  list.RebuildImages();
  EXPECT_EQ(item->Width(), 24);
  EXPECT_EQ(ColorAt(list, 1, 8, 8), colors[1]);
}

TEST_F(Rebuild, TheItemsTransparentColourDecidesWhatIsSeeThrough) {
  // Two 8 x 8 cells on green with a red middle; one magenta pixel in the
  // second cell.  The strip's bottom-left pixel is green.
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(16, 8);
  sys::Surface& s = strip.Handle()->surface;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool middle = x % 8 >= 2 && x % 8 < 6 && y >= 2 && y < 6;
      s.At(x, y) = sys::PixelFromColorRef(middle ? 0x0000FF : 0x00FF00);
    }
  s.At(8, 0) = sys::PixelFromColorRef(0xFF00FF);
  const std::string path = WriteModule("keys.zres", {{"KEYS_8", &strip}});
  list.SetSize(8, 8);
  list.SetBkColor(clWhite);
  TResourceName* item = list.ResourceNames()->Add();
  item->SetName("KEYS");
  item->SetGliphCount(2);
  item->SetFileNameDOM(false);
  item->SetFileName(path);
  struct Case {
    TColor key;
    bool greenDrawn, magentaDrawn;
  };
  for (const Case c :
       {Case{kMagenta, true, false}, Case{clDefault, false, true}, Case{clNone, true, true}}) {
    SCOPED_TRACE(int(c.key));
    item->SetTransparentColor(c.key);
    ASSERT_TRUE(list.RebuildImages());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_TRUE(Drawn(list, 0, 3, 3));
    EXPECT_EQ(ColorAt(list, 0, 3, 3), TColor(0x0000FF));
    EXPECT_EQ(Drawn(list, 0, 0, 7), c.greenDrawn);
    EXPECT_EQ(Drawn(list, 1, 0, 0), c.magentaDrawn);
  }
}

TEST_F(Rebuild, SuffixlessStripKeepsTheItemSize) {
  TBitmap strip;
  std::vector<TColor> colors;
  MakeStrip(strip, 20, 36, 0, &colors);
  const std::string path = WriteModule("plain.zres", {{"STANDARTBTN", &strip}});
  list.SetSize(24, 24);
  TResourceName* item = list.ResourceNames()->Add();
  item->SetName("STANDARTBTN");
  item->SetGliphCount(36);
  item->SetFileNameDOM(false);
  item->SetFileName(path);
  EXPECT_EQ(item->ResolveResourceName(), "STANDARTBTN");
  EXPECT_EQ(item->Width(), 24);
  // The item's own size cuts the cells, which are then enlarged to the list's.
  item->SetWidth(20);
  item->SetHeight(20);
  list.RebuildImages();
  EXPECT_EQ(item->Width(), 20);
  ASSERT_EQ(list.Count(), 36);
  EXPECT_EQ(ColorAt(list, 7, 12, 12), colors[7]);
  EXPECT_EQ(DrawnCount(list, 7), 24 * 24);
}

TEST_F(Rebuild, MissingOrDamagedModuleFile) {
  SetUpMainList(list);
  TResourceName* item = list.ResourceNames()->Items(0);
  const std::string missing = (WorkDir() / "missing.zres").string();
  std::filesystem::remove(missing);
  item->SetFileNameDOM(false);
  item->SetFileName(missing);
  try {
    TStringList names;
    item->ListBitmapResources(&names);
    FAIL() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.Message(), "Неудалось найти файл \"" + missing + "\"");
  }
  EXPECT_NO_THROW(item->SetAutoSize(false));
  EXPECT_THROW(item->SetAutoSize(true), EOSError);
  EXPECT_THROW(item->LoadStrip(nullptr, true), EOSError);
  EXPECT_FALSE(item->LoadStrip(nullptr, false));
  // A rebuild never raises: the family shows numbered placeholders.
  EXPECT_TRUE(list.RebuildImages());
  ASSERT_EQ(list.Count(), 42);
  EXPECT_NE(Pixels(0), Pixels(1));

  const std::string damaged = (WorkDir() / "damaged.zres").string();
  std::ofstream(damaged, std::ios::binary) << "ZELRES but not really";
  item->SetFileName(damaged);
  TStringList names;
  EXPECT_THROW(item->ListBitmapResources(&names), EOSError);
  EXPECT_TRUE(list.RebuildImages());
  EXPECT_EQ(list.Count(), 42);
  EXPECT_EQ(item->Module(), nullptr);
}

TEST_F(Rebuild, BurstOfChangesGivesOneRebuildAndOneNotification) {
  SetUpMainList(list);
  int notified = 0, linked = 0;
  list.onChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++notified;
  };
  TChangeLink link;
  link.OnChange = [&](TObject*) { ++linked; };
  list.RegisterChanges(&link);
  sys::AdvanceTime(100);
  list.rebuilds = notified = linked = 0;

  TResourceName* item = list.ResourceNames()->Items(0);
  for (int i = 0; i < 10; ++i) {
    item->SetGliphCount(uint16_t(30 + i));
    sys::AdvanceTime(4);
  }
  // The last change came at 36 ms; its quiet time ends at 76 ms.
  sys::AdvanceTime(35);
  EXPECT_EQ(list.rebuilds, 0);
  sys::AdvanceTime(1);
  EXPECT_EQ(list.rebuilds, 1);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(linked, 1);
  EXPECT_EQ(list.Count(), 39 + 6);
  sys::AdvanceTime(500);
  EXPECT_EQ(list.rebuilds, 1);
  EXPECT_EQ(notified, 1);
  list.UnRegisterChanges(&link);
}

TEST_F(Rebuild, SizeChangeInABracketAndCustomImgChanges) {
  SetUpMainList(list);
  int notified = 0;
  list.onChange = [&](TObject*) { ++notified; };
  sys::AdvanceTime(100);
  list.rebuilds = notified = 0;

  list.BeginUpdate();
  list.SetWidth(32);
  sys::AdvanceTime(100); // nothing happens inside the bracket
  list.SetHeight(32);
  EXPECT_EQ(list.rebuilds, 0);
  list.EndUpdate();
  sys::AdvanceTime(40);
  EXPECT_EQ(list.rebuilds, 1);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(list.Count(), 42);
  EXPECT_EQ(list.ImagePixels(0)->Width(), 32);

  // CustomImg tells its list after its own delay, so the list acts after two.
  TBitmap extra;
  extra.LoadFromResourceName(nullptr, "MAINFORM_CUSTOM_24");
  list.CustomImg()->AddMasked(&extra, kMagenta);
  sys::AdvanceTime(40);
  EXPECT_EQ(list.rebuilds, 1);
  sys::AdvanceTime(40);
  EXPECT_EQ(list.rebuilds, 2);
  EXPECT_EQ(notified, 2);
  EXPECT_EQ(list.Count(), 48);
}

TEST_F(Rebuild, DirectRebuildCancelsThePendingNotification) {
  SetUpMainList(list);
  int notified = 0;
  list.onChange = [&](TObject*) { ++notified; };
  sys::AdvanceTime(100);
  list.rebuilds = notified = 0;
  list.Change();
  EXPECT_TRUE(list.RebuildImages());
  sys::AdvanceTime(200);
  EXPECT_EQ(notified, 0);
  EXPECT_EQ(list.rebuilds, 1);
  // A list read from a form is built 40 ms after loading ends.
  list.Loaded();
  sys::AdvanceTime(40);
  EXPECT_EQ(list.rebuilds, 2);
  EXPECT_EQ(notified, 1);
}

TEST_F(Rebuild, AssignCopiesSizeStripsAndCustomImages) {
  TImageListZel source(nullptr);
  SetUpMainList(source);
  source.SetSize(24, 32);
  source.SetBkColor(clWhite);
  TImageListZel copy(nullptr);
  copy.Assign(&source);
  EXPECT_EQ(copy.Width(), 24);
  EXPECT_EQ(copy.Height(), 32);
  EXPECT_EQ(copy.BkColor(), clWhite);
  ASSERT_EQ(copy.ResourceNames()->Count(), 1);
  EXPECT_EQ(copy.ResourceNames()->Items(0)->Name(), "STANDARTBTN");
  EXPECT_EQ(copy.ResourceNames()->Items(0)->GliphCount(), 36);
  EXPECT_EQ(copy.CustomImg()->Count(), 6);
  // CustomImg changed too, and its own delay comes first.
  sys::AdvanceTime(80);
  EXPECT_EQ(copy.Count(), 42);
  EXPECT_EQ(copy.ImagePixels(0)->Height(), 32);

  // Any other image list: no strips, its images in CustomImg.
  TImageList plain(24, 24, nullptr);
  TBitmap custom;
  custom.LoadFromResourceName(nullptr, "MAINFORM_CUSTOM_24");
  plain.AddMasked(&custom, kMagenta);
  copy.Assign(&plain);
  EXPECT_EQ(copy.ResourceNames()->Count(), 0);
  EXPECT_EQ(copy.CustomImg()->Count(), 6);
  copy.Assign(nullptr);
  EXPECT_EQ(copy.CustomImg()->Count(), 0);
  EXPECT_EQ(copy.ResourceNames()->Count(), 0);
  sys::AdvanceTime(80);
  EXPECT_EQ(copy.Count(), 0);
}

TEST_F(Rebuild, AListReadWithItsFormIsBuiltAfterLoading) {
  // Stored: its settings, DirName, the strips and CustomImg with its images;
  // not its own images, which are rebuilt.
  TComponent form(nullptr);
  auto* stored = new TImageListZel(&form);
  stored->SetName("ImageListZel1");
  SetUpMainList(*stored);
  stored->SetDirName("/some/folder");
  stored->RebuildImages();
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(form);

  TComponent again(nullptr);
  stream.SetPosition(0);
  TReader(stream).ReadRootComponent(again);
  auto* read = dynamic_cast<TImageListZel*>(again.FindComponent("ImageListZel1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->DirName(), "/some/folder");
  ASSERT_EQ(read->ResourceNames()->Count(), 1);
  EXPECT_EQ(read->ResourceNames()->Items(0)->GliphCount(), 36);
  EXPECT_EQ(read->CustomImg()->Count(), 6);
  EXPECT_EQ(again.ComponentCount(), 1); // CustomImg is stored inside the list
  int notified = 0;
  read->onChange = [&](TObject*) { ++notified; };
  sys::AdvanceTime(79);
  EXPECT_EQ(read->Count(), 0);
  sys::AdvanceTime(1);
  EXPECT_EQ(read->Count(), 42);
  EXPECT_EQ(notified, 1);
}

} // namespace
} // namespace zel::test
