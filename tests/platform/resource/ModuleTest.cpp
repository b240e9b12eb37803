// Resource module files: packing a folder, opening it as a data file,
// enumerating and loading bitmaps, and refusing damaged files.

#include <gtest/gtest.h>

#include <random>

#include "platform/resource/Resource.h"
#include "tests/platform/resource/ResourceTestUtil.h"

namespace zel::sys {
namespace {

using test::BmpOptions;
using test::MakeBmp;
using test::PatternPixel;
using test::ScratchDir;
using test::WriteBytes;

std::vector<std::string> BitmapNames(HMODULE module) {
  std::vector<std::string> names;
  EnumResourceNames(module, RT_BITMAP, [&](const char* name) {
    names.push_back(name);
    return true;
  });
  return names;
}

void ExpectPattern(HBITMAP bmp, int width, int height, bool withAlpha) {
  ASSERT_NE(bmp, nullptr);
  ASSERT_EQ(bmp->surface.Width(), width);
  ASSERT_EQ(bmp->surface.Height(), height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      ASSERT_EQ(bmp->surface.At(x, y), PatternPixel(x, y, withAlpha)) << "at " << x << "," << y;
}

class PackedModule : public ::testing::Test {
protected:
  void SetUp() override {
    const auto& src = dir_.path() / "src";
    WriteBytes(src / "strip_16.bmp", MakeBmp({.width = 7, .height = 4, .bits = 24}));
    WriteBytes(src / "nested" / "Top24.BMP",
               MakeBmp({.width = 6, .height = 5, .bits = 24, .topDown = true}));
    WriteBytes(src / "alpha.bmp", MakeBmp({.width = 3, .height = 2, .bits = 32}));
    WriteBytes(src / "alpha_top.bmp",
               MakeBmp({.width = 4, .height = 3, .bits = 32, .topDown = true}));
    WriteBytes(src / "fields.bmp",
               MakeBmp({.width = 2, .height = 2, .bits = 32, .compression = 3}));
    WriteBytes(src / "notes.txt", {'h', 'i'});
    std::string error;
    ASSERT_TRUE(test::PackFolder(src, file_, error)) << error;
  }
  ScratchDir dir_{"packed_module"};
  std::filesystem::path file_ = dir_.path() / "glyphs.zrm";
};

TEST_F(PackedModule, EnumeratesUpperCasedBitmapNamesInOrder) {
  HMODULE m = LoadLibraryEx(file_.string(), LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(m, nullptr) << GetLastErrorText();
  EXPECT_EQ(BitmapNames(m),
            (std::vector<std::string>{"ALPHA", "ALPHA_TOP", "FIELDS", "STRIP_16", "TOP24"}));

  // The platform's form: a plain procedure with a parameter; FALSE stops.
  int seen = 0;
  const BOOL all = EnumResourceNames(
      m, RT_BITMAP,
      [](HMODULE, ResourceType type, const char*, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return type == RT_BITMAP && *reinterpret_cast<int*>(p) < 2;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(all, FALSE);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_ENUM_USER_STOP);

  EXPECT_EQ(EnumResourceNames(m, RT_RCDATA, [](const char*) { return true; }), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
  EXPECT_EQ(FreeLibrary(m), TRUE);
}

TEST_F(PackedModule, LoadsEveryDepthAndRowOrderPixelForPixel) {
  HMODULE m = LoadLibraryEx(file_.string(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(m, nullptr) << GetLastErrorText();
  struct Case {
    const char* name;
    int w, h, bits;
  } cases[] = {{"strip_16", 7, 4, 24},
               {"TOP24", 6, 5, 24},
               {"Alpha", 3, 2, 32},
               {"alpha_top", 4, 3, 32},
               {"FIELDS", 2, 2, 32}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UniqueGdi<HBITMAP> bmp(LoadBitmap(m, c.name));
    ExpectPattern(bmp.get(), c.w, c.h, c.bits == 32);
    EXPECT_EQ(bmp.get()->bitsPerPixel, c.bits);
  }
  // The raw bytes are the file as packed.
  HRSRC r = FindResource(m, "alpha", RT_BITMAP);
  ASSERT_NE(r, nullptr);
  const auto expected = MakeBmp({.width = 3, .height = 2, .bits = 32});
  ASSERT_EQ(SizeofResource(m, r), expected.size());
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(m, r)));
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), data));
  FreeLibrary(m);
}

TEST_F(PackedModule, MissingNamesAndFilesSetTheMatchingError) {
  HMODULE m = LoadLibraryEx(file_.string(), LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(m, nullptr);
  SetLastError(0);
  EXPECT_EQ(LoadBitmap(m, "STRIP_24"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_NE(GetLastErrorText().find("STRIP_24"), std::string::npos);
  EXPECT_EQ(FindResource(m, "STRIP", RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(FindResource(m, "STRIP_16", RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
  FreeLibrary(m);

  EXPECT_EQ(LoadLibraryEx((dir_.path() / "absent.zrm").string(), LOAD_LIBRARY_AS_DATAFILE),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(LoadLibraryEx(file_.string(), 0), nullptr) << "code is never loaded";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(LoadLibraryEx(dir_.path().string(), LOAD_LIBRARY_AS_DATAFILE), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(PackedModule, HandlesAreCountedAndStaleOnesRefused) {
  HMODULE a = LoadLibraryEx(file_.string(), LOAD_LIBRARY_AS_DATAFILE);
  HMODULE b = LoadLibraryEx((dir_.path() / "." / "glyphs.zrm").string(), LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(GetModuleHandle("glyphs.zrm"), a);
  EXPECT_EQ(GetModuleFileName(a), std::filesystem::canonical(file_).string());
  ASSERT_EQ(FreeLibrary(a), TRUE);
  EXPECT_EQ(BitmapNames(b).size(), 5u) << "one reference is left";
  ASSERT_EQ(FreeLibrary(b), TRUE);

  // b is now stale: every call refuses it instead of following it.
  EXPECT_EQ(FreeLibrary(b), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(LoadBitmap(b, "ALPHA"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(EnumResourceNames(b, RT_BITMAP, [](const char*) { return true; }), FALSE);
  EXPECT_EQ(GetModuleHandle("glyphs.zrm"), nullptr);
  EXPECT_EQ(FreeLibrary(GetModuleHandle(nullptr)), FALSE) << "the program's module stays";

  // A resource handle of one module is not accepted for another.
  HMODULE m = LoadLibraryEx(file_.string(), LOAD_LIBRARY_AS_DATAFILE);
  HRSRC r = FindResource(m, "ALPHA", RT_BITMAP);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(LoadResource(GetModuleHandle(nullptr), r), nullptr);
  FreeLibrary(m);
}

TEST_F(PackedModule, FreeingTheModuleFromInsideItsEnumerationIsSafe) {
  HMODULE m = LoadLibraryEx(file_.string(), LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(m, nullptr);
  std::vector<std::string> names;
  EXPECT_EQ(EnumResourceNames(m, RT_BITMAP,
                              [&](const char* name) {
                                if (names.empty()) FreeLibrary(m);
                                names.push_back(name);
                                return true;
                              }),
            TRUE);
  EXPECT_EQ(names.size(), 5u);
}

// ---- Damaged files ----------------------------------------------------------

std::vector<uint8_t> SmallModule() {
  std::vector<resfile::Item> items = {
      {RT_BITMAP, "ONE", MakeBmp({.width = 3, .height = 3, .bits = 24})},
      {RT_BITMAP, "TWO", MakeBmp({.width = 2, .height = 4, .bits = 32})}};
  std::vector<uint8_t> image;
  std::string error;
  EXPECT_TRUE(resfile::BuildModule(items, image, error)) << error;
  return image;
}

TEST(DamagedModule, EveryTruncationIsRefusedWithAReason) {
  const auto image = SmallModule();
  std::vector<resfile::Entry> entries;
  std::string error;
  ASSERT_TRUE(resfile::ParseModule(image, entries, error));
  // Up to the last byte of the second resource's data, every cut loses
  // something the table points at.
  for (size_t n = 0; n < image.size(); ++n) {
    error.clear();
    EXPECT_FALSE(resfile::ParseModule(std::span(image).first(n), entries, error)) << n;
    EXPECT_FALSE(error.empty()) << n;
    EXPECT_TRUE(entries.empty());
  }
}

TEST(DamagedModule, BrokenFieldsAreNamedInTheError) {
  struct Damage {
    const char* what;
    size_t at;
    std::vector<uint8_t> bytes;
    const char* mentions;
  } damages[] = {
      {"signature", 0, {'X'}, "signature"},
      {"version", 8, {2, 0}, "version 2"},
      {"huge count", 12, {0xFF, 0xFF, 0xFF, 0x7F}, "count"},
      {"empty name", 18, {0, 0}, "name length"},
      {"offset past the end", 20, {0xF0, 0xFF, 0xFF, 0xFF}, "outside"},
      {"size past the end", 24, {0xFF, 0xFF, 0xFF, 0xFF}, "outside"},
      {"offset into the table", 20, {16, 0, 0, 0}, "overlaps"},
      {"duplicate name", 43, {'O', 'N', 'E'}, "two resources"},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    auto image = SmallModule();
    std::copy(d.bytes.begin(), d.bytes.end(), image.begin() + d.at);
    std::vector<resfile::Entry> entries;
    std::string error;
    EXPECT_FALSE(resfile::ParseModule(image, entries, error));
    EXPECT_NE(error.find(d.mentions), std::string::npos) << error;
  }
}

TEST(DamagedModule, LoadingADamagedFileFailsCleanly) {
  ScratchDir dir("damaged_module");
  auto image = SmallModule();
  image.resize(image.size() - 1);
  const auto path = dir.path() / "cut.zrm";
  WriteBytes(path, image);
  EXPECT_EQ(LoadLibraryEx(path.string(), LOAD_LIBRARY_AS_DATAFILE), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_BAD_FORMAT);
  EXPECT_NE(GetLastErrorText().find("cut.zrm"), std::string::npos) << GetLastErrorText();
}

// Random damage must never crash: either the module is refused, or it opens
// and every bitmap in it either loads or is refused with ERROR_BAD_FORMAT.
TEST(DamagedModule, RandomCorruptionNeverCrashes) {
  ScratchDir dir("random_damage");
  const auto original = SmallModule();
  std::mt19937 rng(1234);
  const auto path = dir.path() / "noise.zrm";
  for (int round = 0; round < 300; ++round) {
    auto image = original;
    const int flips = 1 + int(rng() % 4);
    for (int i = 0; i < flips; ++i)
      image[rng() % image.size()] = uint8_t(rng());
    WriteBytes(path, image);
    HMODULE m = LoadLibraryEx(path.string(), LOAD_LIBRARY_AS_DATAFILE);
    if (!m) {
      EXPECT_EQ(GetLastError(), ERROR_BAD_FORMAT);
      continue;
    }
    for (const std::string& name : BitmapNames(m)) {
      UniqueGdi<HBITMAP> bmp(LoadBitmap(m, name));
      if (!bmp.get()) {
        EXPECT_EQ(GetLastError(), ERROR_BAD_FORMAT) << name;
      }
    }
    FreeLibrary(m);
  }
}

TEST(ModuleBuild, RefusesNamesTheFormatCannotHold) {
  std::vector<uint8_t> image;
  std::string error;
  EXPECT_FALSE(resfile::BuildModule({{RT_BITMAP, "", {}}}, image, error));
  EXPECT_FALSE(resfile::BuildModule({{RT_BITMAP, std::string(256, 'A'), {}}}, image, error));
  EXPECT_FALSE(resfile::BuildModule({{RT_BITMAP, "A\nB", {}}}, image, error));
  EXPECT_FALSE(resfile::BuildModule({{RT_BITMAP, "x", {}}, {RT_BITMAP, "X", {}}}, image, error));
  EXPECT_NE(error.find("two resources"), std::string::npos);
  // The same name under two types is fine, and Cyrillic names survive.
  ASSERT_TRUE(resfile::BuildModule(
      {{RT_BITMAP, "X", {1}}, {RT_RCDATA, "X", {}}, {RT_RCDATA, "ГЛИФЫ", {2, 3}}}, image, error));
  std::vector<resfile::Entry> entries;
  ASSERT_TRUE(resfile::ParseModule(image, entries, error)) << error;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].name, "ГЛИФЫ");
  EXPECT_EQ(entries[2].size, 2u);
  EXPECT_EQ(entries[1].size, 0u);
}

TEST(ModuleBuild, FolderWithClashingOrFakeBitmapsIsRefused) {
  ScratchDir dir("clash");
  WriteBytes(dir.path() / "a" / "glyph.bmp", MakeBmp({}));
  WriteBytes(dir.path() / "b" / "GLYPH.bmp", MakeBmp({}));
  std::vector<resfile::Item> items;
  std::string error;
  EXPECT_FALSE(resfile::CollectFolder(dir.path(), items, error));
  EXPECT_NE(error.find("GLYPH"), std::string::npos) << error;

  ScratchDir fake("fake");
  WriteBytes(fake.path() / "text.bmp", {'n', 'o', 't', ' ', 'a'});
  EXPECT_FALSE(resfile::CollectFolder(fake.path(), items, error));
  EXPECT_NE(error.find("not a bitmap"), std::string::npos) << error;
  EXPECT_FALSE(resfile::CollectFolder(fake.path() / "none", items, error));
}

} // namespace
} // namespace zel::sys
