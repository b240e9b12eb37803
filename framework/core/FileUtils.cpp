#include "framework/core/FileUtils.h"

#include <sys/stat.h>
#include <unistd.h>

namespace zel {

namespace {

// The index just after the last separator (0 when there is none).
size_t NameStart(std::string_view path) {
  size_t slash = path.rfind(PathDelim);
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// The index of the extension's dot within path, or npos.
size_t ExtStart(std::string_view path) {
  size_t start = NameStart(path);
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot <= start) return std::string_view::npos;
  return dot;
}

} // namespace

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(NameStart(path)));
}

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileDir(std::string_view path) {
  size_t start = NameStart(path);
  if (start == 0) return {};
  if (start == 1) return std::string(1, PathDelim);
  return std::string(path.substr(0, start - 1));
}

std::string ExtractFileExt(std::string_view path) {
  size_t dot = ExtStart(path);
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  size_t dot = ExtStart(path);
  std::string out(path.substr(0, dot == std::string_view::npos ? path.size() : dot));
  return out.append(ext);
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != PathDelim) out.push_back(PathDelim);
  return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
  std::string out(path);
  while (out.size() > 1 && out.back() == PathDelim)
    out.pop_back();
  return out;
}

bool FileExists(const std::string& fileName) {
  struct stat st;
  return ::stat(fileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& dirName) {
  struct stat st;
  return ::stat(dirName.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& fileName) {
  return ::unlink(fileName.c_str()) == 0;
}

} // namespace zel
