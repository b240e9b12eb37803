#include "platform/text/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "platform/text/FontAnswerFile.h"

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
      if (LoadedDefaultConfiguration()) FcFini();
    }
  };
  static DefaultResolver resolver;
  return resolver;
}

bool FontResolver::LoadConfiguration() {
  if (!configLoaded_) configLoaded_ = config_ || FcInit() == FcTrue;
  return configLoaded_;
}

std::optional<ResolvedFont> FontResolver::Resolve(const std::string& faceName, int weight,
                                                  bool italic) {
  const std::string key =
      Lower(faceName) + '|' + std::to_string(OpenTypeWeight(weight)) + '|' + (italic ? "i" : "r");
  std::lock_guard lock(mutex_);
  ReadAnswersOnce();
  if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  auto result = Match(faceName, weight, italic);
  cache_.emplace(key, result);
  // Kept at once: a program is often ended without a word (a session
  // closing, a kill), and a handful of requests is all a run makes.
  if (!answerFile_.empty() && configLoaded_) WriteAnswers();
  return result;
}

// ---- Answers kept between runs ---------------------------------------------------

namespace {

// fontconfig's version and every variable it reads that changes its answers:
// where its configuration and fonts are, and the languages it prefers.
std::string AnswerEnvironment() {
  std::string text = "fontconfig " + std::to_string(FcGetVersion());
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",
                           "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CACHE_HOME",
                           "FC_LANG", "LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    text += std::string(";") + name + '=' + (value ? value : "");
  }
  return text;
}

void AppendAll(FcStrList* list, std::vector<std::string>& paths) {
  if (!list) return;
  while (FcChar8* s = FcStrListNext(list))
    paths.emplace_back(reinterpret_cast<const char*>(s));
  FcStrListDone(list);
}

} // namespace

void FontResolver::KeepAnswersIn(std::string file) {
  std::lock_guard lock(mutex_);
  answerFile_ = std::move(file);
  answersRead_ = false;
}

void FontResolver::ReadAnswersOnce() {
  if (answersRead_ || answerFile_.empty()) return;
  answersRead_ = true;
  auto kept = ReadFontAnswers(answerFile_, AnswerEnvironment());
  if (!kept) return;
  for (auto& [key, font] : kept->answers)
    cache_.emplace(key, std::move(font));
}

// Everything fontconfig read to give its answers, and the places where a
// user's own configuration or fonts would appear: a stamp of each (even of
// one that is missing) tells a later run whether the answers still hold.
std::vector<std::string> FontResolver::PathsAnswersDependOn() {
  std::vector<std::string> paths;
  FcConfig* config = config_ ? config_ : FcConfigGetCurrent();
  AppendAll(FcConfigGetConfigFiles(config), paths);
  AppendAll(FcConfigGetFontDirs(config), paths);
  AppendAll(FcConfigGetCacheDirs(config), paths);
  const char* home = std::getenv("HOME");
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  std::string userConfig;
  if (configHome && configHome[0] == '/')
    userConfig = std::string(configHome) + "/fontconfig";
  else if (home && home[0] == '/')
    userConfig = std::string(home) + "/.config/fontconfig";
  if (!userConfig.empty()) {
    paths.push_back(userConfig + "/fonts.conf");
    paths.push_back(userConfig + "/conf.d");
  }
  if (home && home[0] == '/') {
    paths.push_back(std::string(home) + "/.fonts.conf");
    paths.push_back(std::string(home) + "/.fonts.conf.d");
  }
  for (const auto& [key, font] : cache_)
    if (font) paths.push_back(font->file);
  std::sort(paths.begin(), paths.end());
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  return paths;
}

// Called after fontconfig gave an answer, so its configuration is loaded
// and can say what it read.
bool FontResolver::WriteAnswers() {
  FontAnswers answers;
  answers.environment = AnswerEnvironment();
  for (const std::string& path : PathsAnswersDependOn())
    answers.stamps.push_back(StampOf(path));
  answers.answers.insert(cache_.begin(), cache_.end());
  return WriteFontAnswers(answerFile_, answers);
}

std::optional<ResolvedFont> FontResolver::Match(const std::string& faceName, int weight,
                                                bool italic) {
  if (!LoadConfiguration()) return std::nullopt;
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
