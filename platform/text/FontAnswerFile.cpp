#include "platform/text/FontAnswerFile.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zel::sys {

namespace {

constexpr std::string_view kHeader = "zel font answers 1";
// A real file holds a few dozen lines; anything much larger is not ours.
constexpr std::streamoff kMaxFileBytes = 256 * 1024;

bool FitsOnALine(std::string_view s) {
  return s.find_first_of("\n\r\t") == std::string_view::npos;
}

template <typename Int> bool ParseInt(std::string_view text, Int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// Splits "a\tb\tc" into exactly n fields; false for any other count.
bool SplitFields(std::string_view line, size_t n, std::vector<std::string_view>& fields) {
  fields.clear();
  while (fields.size() + 1 < n) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    fields.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  if (line.find('\t') != std::string_view::npos) return false;
  fields.push_back(line);
  return true;
}

// path<TAB>exists<TAB>mtime<TAB>size<TAB>name
bool ParseStamp(std::string_view rest, PathStamp& stamp) {
  std::vector<std::string_view> f;
  int exists = 0;
  if (!SplitFields(rest, 4, f) || !ParseInt(f[0], exists) || exists < 0 || exists > 1 ||
      !ParseInt(f[1], stamp.mtimeNs) || !ParseInt(f[2], stamp.size) || f[3].empty())
    return false;
  stamp.exists = exists == 1;
  stamp.path = std::string(f[3]);
  return true;
}

// font<TAB>key<TAB>index<TAB>file, or none<TAB>key
bool ParseAnswer(std::string_view kind, std::string_view rest, FontAnswers& answers) {
  std::vector<std::string_view> f;
  if (kind == "none") {
    if (rest.empty() || !FitsOnALine(rest)) return false;
    answers.answers[std::string(rest)] = std::nullopt;
    return true;
  }
  ResolvedFont font;
  if (!SplitFields(rest, 3, f) || f[0].empty() || !ParseInt(f[1], font.index) || font.index < 0 ||
      f[2].empty())
    return false;
  font.file = std::string(f[2]);
  answers.answers[std::string(f[0])] = font;
  return true;
}

bool StillAsStamped(const std::vector<PathStamp>& stamps) {
  for (const PathStamp& stamp : stamps)
    if (!(StampOf(stamp.path) == stamp)) return false;
  return true;
}

} // namespace

PathStamp StampOf(const std::string& path) {
  PathStamp stamp;
  stamp.path = path;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.mtimeNs = std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  stamp.size = std::int64_t(info.st_size);
  return stamp;
}

std::optional<FontAnswers> ReadFontAnswers(const std::string& file,
                                           const std::string& environment) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size <= 0 || size > kMaxFileBytes) return std::nullopt;
  in.seekg(0);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  if (!std::getline(in, line) || line != "env\t" + environment) return std::nullopt;

  FontAnswers answers;
  answers.environment = environment;
  while (std::getline(in, line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) return std::nullopt;
    const std::string_view kind = std::string_view(line).substr(0, tab);
    const std::string_view rest = std::string_view(line).substr(tab + 1);
    if (kind == "path") {
      PathStamp stamp;
      if (!ParseStamp(rest, stamp)) return std::nullopt;
      answers.stamps.push_back(std::move(stamp));
    } else if (kind == "font" || kind == "none") {
      if (!ParseAnswer(kind, rest, answers)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  // Answers without anything to check them against could never go stale.
  if (answers.stamps.empty() || !StillAsStamped(answers.stamps)) return std::nullopt;
  return answers;
}

bool WriteFontAnswers(const std::string& file, const FontAnswers& answers) {
  if (!FitsOnALine(answers.environment)) return false;
  std::ostringstream out;
  out << kHeader << "\nenv\t" << answers.environment << '\n';
  for (const PathStamp& s : answers.stamps) {
    if (!FitsOnALine(s.path) || s.path.empty()) return false;
    out << "path\t" << (s.exists ? 1 : 0) << '\t' << s.mtimeNs << '\t' << s.size << '\t' << s.path
        << '\n';
  }
  for (const auto& [key, font] : answers.answers) {
    if (!FitsOnALine(key) || key.empty()) return false;
    if (!font)
      out << "none\t" << key << '\n';
    else if (FitsOnALine(font->file) && !font->file.empty())
      out << "font\t" << key << '\t' << font->index << '\t' << font->file << '\n';
    else
      return false;
  }
  const std::string text = out.str();

  // The folder may not exist yet on a first run (~/.cache/zel).
  const size_t slash = file.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    const std::string folder = file.substr(0, slash);
    const size_t parent = folder.rfind('/');
    if (parent != std::string::npos && parent > 0) ::mkdir(folder.substr(0, parent).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
  }
  std::string temp = file + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::string DefaultFontAnswerFile() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return std::string(cache) + "/zel/font-answers";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.cache/zel/font-answers";
  return {};
}

} // namespace zel::sys
