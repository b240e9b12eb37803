#pragma once
// The answers fontconfig gave for face requests, kept in a file from one run
// of a program to the next.
//
// Loading fontconfig's configuration (some forty XML files, parsed anew by
// every process) costs a program about as much as all of its own start-up
// work.  Its answers change only when something it reads changes, so the
// file records the state of all of that — its configuration files and
// folders, the font folders, its cache folders, the fontconfig version and
// the environment it looks at — together with each answered font file, and
// is believed only while every one of them is as recorded.  A file that is
// missing, damaged, stale or of another version is simply not used: the
// answers are then asked of fontconfig again.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/FontResolver.h"

namespace zel::sys {

// What a path looked like: whether it existed, its modification time and
// its size.
struct PathStamp {
  std::string path;
  bool exists = false;
  std::int64_t mtimeNs = 0;
  std::int64_t size = 0;
  friend bool operator==(const PathStamp&, const PathStamp&) = default;
};

PathStamp StampOf(const std::string& path);

struct FontAnswers {
  std::string environment; // everything else the answers depend on, on one line
  std::vector<PathStamp> stamps;
  std::map<std::string, std::optional<ResolvedFont>> answers; // by request key
};

// The answers in file, or nullopt when it is missing, damaged, of another
// format, made under another environment, or when a stamped path changed.
std::optional<FontAnswers> ReadFontAnswers(const std::string& file, const std::string& environment);

// Writes through a temporary file renamed into place, creating the file's
// folder when needed.  False when it could not be written, or when a path,
// key or the environment cannot be kept on one line.
bool WriteFontAnswers(const std::string& file, const FontAnswers& answers);

// Where a program keeps its answers: $XDG_CACHE_HOME/zel/font-answers, or
// ~/.cache/zel/font-answers; "" when neither variable is set.
std::string DefaultFontAnswerFile();

} // namespace zel::sys
