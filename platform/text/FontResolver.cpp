#include "platform/text/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace zel::sys {

namespace {

constexpr std::string_view kCondensedSans = "DejaVu Sans Condensed";

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return out;
}

// A weight request as the platform gives it (100-900, 0 for "don't care").
int OpenTypeWeight(int weight) {
  return weight <= 0 ? 400 : std::clamp(weight, 1, 1000);
}

// Frees a fontconfig pattern on scope exit.
struct PatternHolder {
  FcPattern* p;
  ~PatternHolder() {
    if (p) FcPatternDestroy(p);
  }
};

void AddFamily(FcPattern* pattern, std::string_view family) {
  const std::string name(family);
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
}

} // namespace

std::string FontResolver::SubstituteFor(const std::string& faceName) {
  static constexpr std::array<std::string_view, 8> kNarrowUiFaces = {
      "tahoma",  "ms sans serif", "small fonts",    "segoe ui",
      "verdana", "ms shell dlg",  "ms shell dlg 2", "system"};
  const std::string key = Lower(faceName);
  for (std::string_view face : kNarrowUiFaces)
    if (key == face) return std::string(kCondensedSans);
  if (key.empty()) return std::string(kCondensedSans);
  return {};
}

FontResolver& FontResolver::Default() {
  // fontconfig keeps its default configuration until FcFini; releasing it at
  // exit keeps the leak checker's report about this program's own memory.
  struct DefaultResolver : FontResolver {
    ~DefaultResolver() {
      if (initialised) FcFini();
    }
    bool initialised = FcInit() == FcTrue;
  };
  static DefaultResolver resolver;
  return resolver;
}

std::optional<ResolvedFont> FontResolver::Resolve(const std::string& faceName, int weight,
                                                  bool italic) {
  const std::string key =
      Lower(faceName) + '|' + std::to_string(OpenTypeWeight(weight)) + '|' + (italic ? "i" : "r");
  std::lock_guard lock(mutex_);
  if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  auto result = Match(faceName, weight, italic);
  cache_.emplace(key, result);
  return result;
}

std::optional<ResolvedFont> FontResolver::Match(const std::string& faceName, int weight,
                                                bool italic) {
  if (!config_ && !FcInit()) return std::nullopt; // loads the default configuration once
  PatternHolder pattern{FcPatternCreate()};
  if (!pattern.p) return std::nullopt;
  const std::string substitute = SubstituteFor(faceName);
  if (!substitute.empty()) AddFamily(pattern.p, substitute);
  if (!faceName.empty()) AddFamily(pattern.p, faceName);
  AddFamily(pattern.p, "sans-serif");
  FcPatternAddInteger(pattern.p, FC_WEIGHT, FcWeightFromOpenType(OpenTypeWeight(weight)));
  FcPatternAddInteger(pattern.p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  // Only outline faces can be scaled to any size and rotated.
  FcPatternAddBool(pattern.p, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config_, pattern.p, FcMatchPattern);
  FcDefaultSubstitute(pattern.p);

  FcResult result = FcResultNoMatch;
  PatternHolder match{FcFontMatch(config_, pattern.p, &result)};
  if (!match.p || result != FcResultMatch) return std::nullopt;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.p, FC_FILE, 0, &file) != FcResultMatch || !file) return std::nullopt;

  ResolvedFont font;
  font.file = reinterpret_cast<const char*>(file);
  FcPatternGetInteger(match.p, FC_INDEX, 0, &font.index);
  return font;
}

} // namespace zel::sys
