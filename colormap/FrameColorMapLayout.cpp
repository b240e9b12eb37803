// The colour-map editor's record in the layout file: the executable's file
// name, the glyph size (0 ends the record), the style, the checked map, the
// colours of the three maps, the gradient, the two gradient colours, its
// direction and the hide-unused setting.  A record is read whole and
// checked before any of it is applied.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "colormap/FrameColorMapConsts.h"
#include "colormap/UnitFrameColorMap.h"
#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"
#include "framework/core/Streams.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/TrackBar.h"
#include "platform/resource/Resource.h"

namespace zel {

namespace {

constexpr uint8_t kNoMap = 255;

// The executable's file name without its folder.
std::string ExecutableFileName() {
  return std::filesystem::path(sys::GetModuleFileName(nullptr)).filename().string();
}

// The longest start of text that a length byte can count, never cut inside
// a character.
std::string_view FitLengthByte(std::string_view text) {
  if (text.size() <= 0xFF) return text;
  size_t n = 0xFF;
  while (n > 0 && (uint8_t(text[n]) & 0xC0) == 0x80)
    --n;
  return text.substr(0, n);
}

void WriteText(TStream& s, std::string_view text) {
  s.WriteStr8(FitLengthByte(text));
}

// A length byte larger than the whole stream cannot be a text's: the text
// is taken as empty and nothing after the byte is consumed.  A stream that
// ends inside the characters raises EReadError.
std::string ReadText(TStream& s) {
  const uint8_t length = s.ReadU8();
  if (length > s.Size()) return "";
  return s.ReadChars(length);
}

struct TColorEntry {
  std::string Name;
  TColor Color;
};

// Everything after the glyph size, as read.
struct TSettings {
  uint8_t GlyphSize = 0;
  std::string StyleName;
  uint8_t Map = kNoMap;
  std::array<std::vector<TColorEntry>, 3> Colors;
  bool Gradient = false;
  TColor Start = 0, End = 0;
  bool Vertical = true;
  bool HideUnused = false;
};

// A text that is no UTF-8 is damage like any other bad field: kept, it
// would be written back at every close.
std::string ReadUtf8Text(TStream& s) {
  std::string text = ReadText(s);
  if (!Utf8Valid(text)) throw EReadError(SFrameColorMapBadData);
  return text;
}

void ReadSettings(TStream& s, TSettings& out) {
  out.StyleName = ReadUtf8Text(s);
  out.Map = s.ReadU8();
  if (out.Map > 2 && out.Map != kNoMap) throw EReadError(SFrameColorMapBadData);
  for (std::vector<TColorEntry>& list : out.Colors) {
    const uint8_t count = s.ReadU8();
    for (int i = 0; i < count; ++i) {
      std::string name = ReadUtf8Text(s);
      const TColor color = TColor(s.ReadI32());
      // A value that is no colour at all is passed over like a name that
      // matches no property: the map keeps its own.
      if (IsValidColor(color)) list.push_back({std::move(name), color});
    }
  }
  out.Gradient = s.ReadBool();
  out.Start = TColor(s.ReadI32());
  out.End = TColor(s.ReadI32());
  out.Vertical = s.ReadBool();
  out.HideUnused = s.ReadBool();
}

} // namespace

void TFrameColorMap::SaveToStream(TStream& stream) {
  WriteText(stream, ExecutableFileName());
  const uint8_t size = uint8_t(std::clamp(FGlyphSize, 0, 0xFF));
  stream.WriteU8(size);
  if (size == 0) return;
  WriteText(stream, FStyleName);
  uint8_t map = kNoMap;
  if (actStandartColorMap->Checked())
    map = 0;
  else if (actXPColorMap->Checked())
    map = 1;
  else if (actTwilightColorMap->Checked())
    map = 2;
  stream.WriteU8(map);
  for (TCustomActionBarColorMap* m : {static_cast<TCustomActionBarColorMap*>(StandardColorMap1),
                                      static_cast<TCustomActionBarColorMap*>(XPColorMap1),
                                      static_cast<TCustomActionBarColorMap*>(TwilightColorMap1)}) {
    std::unique_ptr<TStringList> list;
    BuildColorList(list, m);
    const int count = std::min(list->Count(), 0xFF);
    stream.WriteU8(uint8_t(count));
    for (int i = 0; i < count; ++i) {
      WriteText(stream, list->Get(i));
      stream.WriteI32(int32_t(list->Data(i)));
    }
  }
  stream.WriteBool(actGradient->Checked());
  stream.WriteI32(cbStart->Selected());
  stream.WriteI32(cbEnd->Selected());
  stream.WriteBool(!actHor->Checked());
  stream.WriteBool(BarsHideUnused());
}

void TFrameColorMap::LoadFromStream(TStream& stream) {
  TSettings settings;
  {
    TStreamRewindOnError rewind(stream);
    const int64_t start = stream.Position();
    const std::string file = ReadText(stream);
    // Another executable's record is not ours: the next reader starts here.
    if (AnsiUpperCase(file) != AnsiUpperCase(ExecutableFileName())) {
      stream.SetPosition(start);
      return;
    }
    settings.GlyphSize = stream.ReadU8();
    if (settings.GlyphSize == 0) return;
    ReadSettings(stream, settings);
  }
  InUpdate([&] {
    SelectStyle(settings.StyleName);
    // A size outside the track bar's range is taken at the nearest end.
    TrackBar1->SetPosition(settings.GlyphSize);
    FGlyphSize = TrackBar1->Position();
    TAction* maps[3] = {actStandartColorMap, actXPColorMap, actTwilightColorMap};
    if (settings.Map == kNoMap)
      for (TAction* a : maps)
        a->SetChecked(false);
    else
      maps[settings.Map]->SetChecked(true);
    TCustomActionBarColorMap* colorMaps[3] = {StandardColorMap1, XPColorMap1, TwilightColorMap1};
    for (int m = 0; m < 3; ++m)
      for (const TColorEntry& e : settings.Colors[size_t(m)])
        SetColorByName(e.Name, e.Color, colorMaps[m]);
    if (CurrentColorMap()) ApplyColorMapAndStyle();
    actGradient->SetChecked(settings.Gradient);
    ApplyGradient();
    if (IsValidColor(settings.Start)) cbStart->SetSelected(settings.Start);
    if (IsValidColor(settings.End)) cbEnd->SetSelected(settings.End);
    (settings.Vertical ? actVert : actHor)->SetChecked(true);
    actHideUnused->SetChecked(settings.HideUnused);
    lSize->SetCaption(IntToStr(FGlyphSize));
    ApplyGradient();
    ApplyColorMapAndStyle();
    ApplyHideUnused();
  });
  RefreshFrame();
}

} // namespace zel
