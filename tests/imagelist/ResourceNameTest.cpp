// Size suffixes, the fitting factor, the settings of a strip family and the
// choice of strip by the list's height.

#include "tests/imagelist/ImageListTestSupport.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Object.h"
#include "framework/core/Strings.h"

namespace zel::test {
namespace {

TEST(SplitSizeSuffix, TakesUpToThreeDigitsAfterAnUnderscore) {
  struct Case {
    const char* text;
    const char* base;
    int number;
  };
  const Case cases[] = {
      {"STANDARTBTN_24", "STANDARTBTN", 24},
      {"STANDARTBTN", "STANDARTBTN", 0},
      {"ICON_1024", "ICON_1024", 0}, // four digits exceed the limit
      {"ICON_999", "ICON", 999},
      {"  A_B_16  ", "A_B", 16},
      {"TRAILING_", "TRAILING", 0}, // an underscore without digits counts
      {"_32", "", 32},
      {"24", "24", 0},
      {"NAME16", "NAME16", 0},
      {"", "", 0},
  };
  for (const Case& c : cases) {
    std::string base = "junk";
    int number = -7;
    SplitSizeSuffix(c.text, base, number);
    EXPECT_EQ(base, c.base) << c.text;
    EXPECT_EQ(number, c.number) << c.text;
  }
}

TEST(FitScale, FitsKeepingProportionsAndSnapsNearOne) {
  EXPECT_DOUBLE_EQ(FitScale(20, 20, 24, 24), 20.0 / 24);
  EXPECT_DOUBLE_EQ(FitScale(20, 24, 24, 24), 20.0 / 24);
  EXPECT_DOUBLE_EQ(FitScale(33, 33, 32, 32), 33.0 / 32);
  EXPECT_DOUBLE_EQ(FitScale(24, 32, 24, 24), 1.0);
  EXPECT_DOUBLE_EQ(FitScale(100, 100, 101, 101), 1.0); // within 1 %
  EXPECT_DOUBLE_EQ(FitScale(99, 99, 100, 100), 0.99);  // exactly 1 % off is kept
  EXPECT_EQ(FitScale(24, 24, 0, 24), 0.0);
  EXPECT_EQ(FitScale(24, 24, 24, 0), 0.0);
}

class ResourceNames : public ImageListTest {
protected:
  TImageListZel list{nullptr};
  TResourceName* item = list.ResourceNames()->Add();
};

TEST_F(ResourceNames, SettersRefuseZeroAndNormaliseTheName) {
  EXPECT_EQ(list.ResourceNames()->ImageListZel(), &list);

  item->SetName("  standartbtn_24 ");
  EXPECT_EQ(item->Name(), "STANDARTBTN_24");
  item->SetWidth(0);
  item->SetHeight(0);
  EXPECT_EQ(item->Width(), 24);
  EXPECT_EQ(item->Height(), 24);
  item->SetWidth(16);
  EXPECT_EQ(item->Width(), 16);

  TResourceNames loose(nullptr);
  EXPECT_EQ(loose.ImageListZel(), nullptr);
}

TEST_F(ResourceNames, DisplayNames) {
  item->SetName("STANDARTBTN");
  item->SetGliphCount(36);
  EXPECT_EQ(item->GetDisplayName(), "STANDARTBTN (24x24)[36]");
  item->SetName("");
  item->SetAutoSize(false);
  item->SetWidth(16);
  EXPECT_EQ(item->DisplayName(), "TResourceName (16x24)[36]");
}

TEST_F(ResourceNames, AssignCopiesAllEightSettingsOrEmptiesTheNames) {
  TResourceNames other(nullptr);
  auto* source = other.Add();
  source->SetName("glyphs_16");
  source->SetAutoSize(false);
  source->SetWidth(16);
  source->SetHeight(12);
  source->SetGliphCount(5);
  source->SetTransparentColor(clDefault);
  source->SetFileName("x.res");
  source->SetFileNameDOM(false);
  item->Assign(source);
  EXPECT_EQ(item->Name(), "GLYPHS_16");
  EXPECT_EQ(item->Width(), 16);
  EXPECT_EQ(item->Height(), 12);
  EXPECT_EQ(item->GliphCount(), 5);
  EXPECT_EQ(item->TransparentColor(), clDefault);
  EXPECT_FALSE(item->AutoSize());
  EXPECT_EQ(item->FileName(), "x.res");
  EXPECT_FALSE(item->FileNameDOM());

  item->Assign(nullptr);
  EXPECT_EQ(item->Name(), "");
  EXPECT_EQ(item->FileName(), "");
  EXPECT_EQ(item->GliphCount(), 5); // nothing else changes

  EXPECT_THROW(item->Assign(&list), EConvertError);
  list.ResourceNames()->Assign(nullptr);
  EXPECT_EQ(list.ResourceNames()->Count(), 0);
}

TEST_F(ResourceNames, StripChoiceByHeight) {
  // The program carries STANDARTBTN_16, _24 and _32: heights up to 16 take
  // the 16 strip, up to 24 the 24 strip, everything above the 32 strip.
  item->SetName("STANDARTBTN");
  struct Case {
    int height;
    int size;
  };
  for (const Case c : {Case{10, 16}, Case{16, 16}, Case{17, 24}, Case{20, 24}, Case{24, 24},
                       Case{25, 32}, Case{32, 32}, Case{33, 32}, Case{200, 32}}) {
    list.SetSize(c.height, c.height);
    EXPECT_EQ(item->ResolveResourceName(), "STANDARTBTN_" + std::to_string(c.size)) << c.height;
    EXPECT_EQ(item->Width(), c.size);
    EXPECT_EQ(item->Height(), c.size);
  }
  // A name with a suffix is treated like its base.
  item->SetName("  standartbtn_24 ");
  list.SetSize(16, 16);
  EXPECT_EQ(item->ResolveResourceName(), "STANDARTBTN_16");
  // Without AutoSize, or for a family that does not exist, the name stands.
  item->SetAutoSize(false);
  list.SetSize(32, 32);
  EXPECT_EQ(item->ResolveResourceName(), "STANDARTBTN_24");
  item->SetAutoSize(true);
  item->SetName("NOSUCHSTRIP_16");
  EXPECT_EQ(item->ResolveResourceName(), "NOSUCHSTRIP");
  // An item outside a list has no height to go by.
  TResourceNames loose(nullptr);
  auto* lone = loose.Add();
  lone->SetName("STANDARTBTN");
  EXPECT_EQ(lone->ResolveResourceName(), "STANDARTBTN");
}

TEST_F(ResourceNames, StripSizesBeyondACellSideAreLeftOut) {
  // A strip of 300 cannot have cells of its size: it is not chosen, and the
  // bare name (which no strip has) is not taken either.
  TBitmap strip;
  MakeStrip(strip, 16, 1, 2);
  const std::string path =
      WriteModule("big.zres", {{"BIG_16", &strip}, {"BIG_300", &strip}, {"HUGE_999", &strip}});
  item->SetFileName(path);
  item->SetFileNameDOM(false);
  struct Case {
    const char* name;
    int height;
    const char* resolved;
  };
  for (const Case c : {Case{"BIG", 10, "BIG_16"}, Case{"BIG", 100, "BIG_16"},
                       Case{"BIG", 255, "BIG_16"}, Case{"HUGE", 24, "HUGE"}}) {
    item->SetName(c.name);
    list.SetSize(c.height, c.height);
    EXPECT_EQ(item->ResolveResourceName(), c.resolved) << c.name << " " << c.height;
  }
  item->SetFileName("");
}

TEST_F(ResourceNames, ListsEveryBitmapOfTheProgramOnce) {
  TStringList names;
  names.Add("STANDARTBTN_24");
  item->ListBitmapResources(&names);
  EXPECT_GE(names.IndexOf("STANDARTBTN_16"), 0);
  EXPECT_GE(names.IndexOf("STANDARTBTN_32"), 0);
  EXPECT_GE(names.IndexOf("MAINFORM_CUSTOM_24"), 0);
  int copies = 0;
  for (int i = 0; i < names.Count(); ++i)
    copies += names[i] == "STANDARTBTN_24" ? 1 : 0;
  EXPECT_EQ(copies, 1);
}

TEST_F(ResourceNames, UnitStartUpResetsTheSwitchAndRegistersTheClasses) {
  ForceResourceFiles = true;
  InitializeImageListZel();
  EXPECT_FALSE(ForceResourceFiles);
  EXPECT_EQ(GetClass("TImageListZel"), &TImageListZel::StaticClass());
  EXPECT_EQ(GetClass("TCustomImg"), &TCustomImg::StaticClass());
  FinalizeImageListZel();
  EXPECT_EQ(GetClass("TImageListZel"), nullptr);
  InitializeImageListZel();
}

} // namespace
} // namespace zel::test
