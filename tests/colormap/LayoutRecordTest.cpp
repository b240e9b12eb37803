// The editor's record in the layout file: its bytes, a round trip into a
// second editor, and the records that are skipped or refused.

#include <filesystem>

#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "platform/resource/Resource.h"
#include "tests/colormap/ColorMapFixture.h"

namespace zel::test {
namespace {

std::string ExecutableName() {
  return std::filesystem::path(sys::GetModuleFileName(nullptr)).filename().string();
}

class LayoutRecordTest : public ColorMapTest {
protected:
  // A second editor on the same manager, to load into.
  TFrameColorMap* Another() {
    auto* other = new TFrameColorMap(form);
    other->SetActionManager(manager);
    return other;
  }
  static TMemoryStream Bytes(std::initializer_list<std::string> parts) {
    TMemoryStream s;
    for (const std::string& p : parts)
      s.WriteChars(p);
    s.SetPosition(0);
    return s;
  }
  static std::string Str8(const std::string& text) {
    return std::string(1, char(text.size())) + text;
  }
};

TEST_F(LayoutRecordTest, TheSettingsComeBackInAnotherEditor) {
  Connect();
  ClickOn(frame->SpeedButtonZel3); // twilight
  frame->SelectStyle("Standard");
  frame->TwilightColorMap1->SetHotColor(clLime);
  frame->XPColorMap1->SetMenuColor(clYellow);
  ClickOn(frame->SpeedButtonZel6); // horizontal
  // Hide unused, switched from the customize dialog: the record keeps the
  // bars' one value, not what the editor's button showed last.
  manager->ActionBars()->SetHideUnused(true);
  frame->cbEnd->ChooseItem(frame->cbEnd->Items()->IndexOf("Синий"));
  ClickOn(frame->SpeedButtonZel4); // gradient off
  frame->TrackBar1->SetPosition(16);
  Settle();

  TMemoryStream stream;
  frame->SaveToStream(stream);
  stream.WriteU8(0xAB); // the next section's first byte
  const std::string name = ExecutableName();
  ASSERT_GT(stream.Size(), int64_t(name.size() + 2));
  EXPECT_EQ(stream.Bytes()[0], name.size());
  EXPECT_EQ(std::string(stream.Bytes().begin() + 1, stream.Bytes().begin() + 1 + long(name.size())),
            name);
  EXPECT_EQ(stream.Bytes()[name.size() + 1], 16); // the glyph size

  TFrameColorMap* other = Another();
  stream.SetPosition(0);
  other->LoadFromStream(stream);
  EXPECT_EQ(stream.ReadU8(), 0xAB); // exactly the record was read
  EXPECT_EQ(other->StyleName(), "Standard");
  EXPECT_EQ(other->GlyphSize(), 16);
  EXPECT_EQ(other->TrackBar1->Position(), 16);
  EXPECT_EQ(other->CurrentColorMap(), other->TwilightColorMap1);
  EXPECT_EQ(other->TwilightColorMap1->HotColor(), clLime);
  EXPECT_EQ(other->XPColorMap1->MenuColor(), clYellow);
  EXPECT_FALSE(other->actGradient->Checked());
  EXPECT_TRUE(other->actHor->Checked());
  EXPECT_FALSE(other->actVert->Checked());
  EXPECT_TRUE(other->actHideUnused->Checked());
  EXPECT_EQ(other->cbEnd->Selected(), clBlue);
  EXPECT_EQ(other->lSize->Caption(), "16");
  // And the bars have them: the other editor's map, its style, no gradient.
  EXPECT_EQ(toolBar->ColorMap(), other->TwilightColorMap1);
  EXPECT_EQ(manager->StyleName(), "Standard");
  EXPECT_EQ(controlBar->DrawingStyle(), TBandDrawingStyle::dsNormal);
  EXPECT_EQ(controlBar->GradientEndColor(), clBlue);
  EXPECT_TRUE(manager->FindActionBar(toolBar)->Items()->HideUnused());
  Free(other);
}

// Records that are not applied: each leaves the editor as it was and the
// stream where the table says.
TEST_F(LayoutRecordTest, SkippedAndDamagedRecordsChangeNothing) {
  Connect();
  const std::string me = Str8(ExecutableName());
  const std::string std20 = std::string(1, '\0'); // an empty colour list
  const std::string tail = std::string("\1") + std::string(8, '\0') + std::string("\1\0", 2);
  struct Case {
    const char* what;
    std::string bytes;
    bool raises;
    int64_t endsAt; // -1: the whole record
  };
  const Case cases[] = {
      {"glyph size 0 ends the record", me + std::string(1, '\0') + "rest", false,
       int64_t(me.size() + 1)},
      {"another executable", Str8("Other.exe") + "\x18" + "more", false, 0},
      {"cut inside the style name", me + "\x18" + "\x09" + "XP", true, 0},
      {"cut inside the colours", me + "\x18" + Str8("XP Style") + "\1" + "\2" + Str8("Color"), true,
       0},
      {"a map number of no map",
       me + "\x18" + Str8("XP Style") + "\7" + std20 + std20 + std20 + tail, true, 0},
  };
  for (const Case& c : cases) {
    TMemoryStream s = Bytes({c.bytes});
    const std::string style = frame->StyleName();
    if (c.raises)
      EXPECT_THROW(frame->LoadFromStream(s), EReadError) << c.what;
    else
      EXPECT_NO_THROW(frame->LoadFromStream(s)) << c.what;
    EXPECT_EQ(s.Position(), c.endsAt) << c.what;
    EXPECT_EQ(frame->StyleName(), style) << c.what;
    EXPECT_EQ(frame->GlyphSize(), 24) << c.what;
    EXPECT_EQ(frame->CurrentColorMap(), nullptr) << c.what;
  }
}

// Texts and sizes at their limits: a style name longer than its length
// byte allows is cut between characters (200 two-byte letters keep 127 of
// them); a length byte larger than the whole stream stands for an empty
// text whose characters are not read; a size out of the track bar's range
// comes to its nearest end.
TEST_F(LayoutRecordTest, TextsAndSizesAtTheirLimits) {
  Connect();
  std::string name;
  for (int i = 0; i < 200; ++i)
    name += "Ж";
  frame->SelectStyle(name);
  TMemoryStream saved;
  frame->SaveToStream(saved);
  saved.SetPosition(0);
  TFrameColorMap* other = Another();
  other->LoadFromStream(saved);
  EXPECT_EQ(saved.Position(), saved.Size());
  EXPECT_EQ(other->StyleName(), name.substr(0, 254));

  const std::string tail =
      std::string(3, '\0') + "\1" + std::string(8, '\0') + std::string("\1\0", 2);
  TMemoryStream odd = Bytes({Str8(ExecutableName()), "\xC8", "\xF0", "\1", tail});
  other->LoadFromStream(odd);
  EXPECT_EQ(odd.Position(), odd.Size());
  EXPECT_EQ(other->StyleName(), "");
  EXPECT_EQ(other->GlyphSize(), 32); // 200 taken as the largest size
  EXPECT_EQ(other->CurrentColorMap(), other->XPColorMap1);
  Free(other);
}

} // namespace
} // namespace zel::test
