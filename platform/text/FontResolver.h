#pragma once
// Finds the installed font file for a face request through fontconfig.
//
// The user interface was laid out for narrow Windows-era faces ("Tahoma",
// "MS Sans Serif", "Small Fonts", "Segoe UI", "Verdana").  None of them is
// installed here, and fontconfig's own choice for them, DejaVu Sans, is about
// 15% wider, which makes captions overflow the space they were given.  Those
// names are therefore asked for as "DejaVu Sans Condensed" first (measured
// within a few pixels of the original widths for the UI's Russian captions),
// then as the name itself, then as any sans-serif face.

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/GdiTypes.h"

typedef struct _FcConfig FcConfig;

namespace zel::sys {

// What a request resolves to: a file and a face index in it.  Whether bold
// or italic must be imitated is decided from the file itself (FontFace).
struct ResolvedFont {
  std::string file;
  int index = 0;
  friend bool operator==(const ResolvedFont&, const ResolvedFont&) = default;
};

class FontResolver {
public:
  // Uses the given fontconfig configuration (nullptr: the current default).
  // The resolver does not own the configuration.
  explicit FontResolver(FcConfig* config = nullptr) : config_(config) {}

  // Empty result when no scalable face is installed at all.
  std::optional<ResolvedFont> Resolve(const std::string& faceName, int weight, bool italic);

  // The installed family a Windows-era face name is replaced by, or "".
  static std::string SubstituteFor(const std::string& faceName);

  // The resolver the text layer uses.  It loads fontconfig's default
  // configuration when it first has to ask fontconfig.
  static FontResolver& Default();

  // Keeps the answers in file from one run to the next (FontAnswerFile.h):
  // they are read at the first request, and while nothing fontconfig reads
  // has changed, fontconfig is not even loaded.  Each new answer fontconfig
  // gives is written to the file at once.  "" keeps them in memory only.
  void KeepAnswersIn(std::string file);

protected:
  // Whether fontconfig's default configuration was loaded for this resolver.
  bool LoadedDefaultConfiguration() const { return configLoaded_ && !config_; }

private:
  // Makes the configuration ready to be asked; false when it cannot be.
  bool LoadConfiguration();
  std::optional<ResolvedFont> Match(const std::string& faceName, int weight, bool italic);
  void ReadAnswersOnce();
  bool WriteAnswers();
  std::vector<std::string> PathsAnswersDependOn();

  FcConfig* config_;
  std::mutex mutex_;
  std::unordered_map<std::string, std::optional<ResolvedFont>> cache_;
  std::string answerFile_;
  bool answersRead_ = false;
  bool configLoaded_ = false;
};

} // namespace zel::sys
