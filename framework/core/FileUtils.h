#pragma once
// File names and files: the parts of a path, and the few file operations
// the framework's users need beside streams.  Paths use "/" as separator.

#include <string>
#include <string_view>

namespace zel {

inline constexpr char PathDelim = '/';

// "/opt/zel/Demo.exe" -> "Demo.exe".
std::string ExtractFileName(std::string_view path);
// "/opt/zel/Demo.exe" -> "/opt/zel/" (with the separator).
std::string ExtractFilePath(std::string_view path);
// "/opt/zel/Demo.exe" -> "/opt/zel" (without the separator, "/" for the root).
std::string ExtractFileDir(std::string_view path);
// "/opt/zel/Demo.exe" -> ".exe"; "" without extension.  A dot that starts
// the file name (".profile") is no extension.
std::string ExtractFileExt(std::string_view path);
// Replaces (or adds) the extension: ChangeFileExt("/a/Demo.exe", ".sav")
// gives "/a/Demo.sav"; an empty extension removes it.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);

// True for an existing file that is not a directory.
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& dirName);
// True when the file was deleted.
bool DeleteFile(const std::string& fileName);

} // namespace zel
