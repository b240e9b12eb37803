#pragma once
// The resource module file: how a set of named resources is stored in one
// file that the program can open at run time, and how the build embeds the
// program's own resources.  This file and ModuleFile.cpp depend on the
// standard library only, so that the packer tool (tools/zelres.cpp) can use
// them without the rest of the system layer.
//
// Layout (all numbers little-endian, written and read byte by byte):
//
//   offset  size  field
//   0       8     magic: the bytes "ZELRES" followed by 0x0D 0x0A (a carriage
//                 return and a line feed, so that a text-mode copy that
//                 mangles line ends is caught at once)
//   8       2     format version, currently 1
//   10      2     reserved, 0
//   12      4     N, the number of entries
//   16      ...   N entries, one after another:
//                   2  resource type (RT_BITMAP = 2, RT_RCDATA = 10, ...)
//                   2  name length L, 1 to 255
//                   4  offset of the data from the start of the file
//                   4  size of the data in bytes
//                   L  the name, UTF-8 without a terminator; the packer
//                      upper-cases ASCII letters
//   ...           the data blocks, anywhere after the entry table
//
// A reader checks every field against the file's real size before using it:
// a truncated or damaged file is refused with a sentence that says what is
// wrong, and nothing outside the file's bytes is ever read.  Two entries of
// one type whose names are equal ignoring ASCII case make the file invalid.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace zel::sys::resfile {

constexpr uint8_t kMagic[8] = {'Z', 'E', 'L', 'R', 'E', 'S', 0x0D, 0x0A};
constexpr WORD kVersion = 1;
constexpr size_t kHeaderSize = 16;
constexpr size_t kEntryFixedSize = 12;
constexpr size_t kMaxNameLength = 255;

// One entry of a parsed module; offset and size are known to lie inside the
// module's bytes.
struct Entry {
  WORD type = 0;
  std::string name;
  uint32_t offset = 0;
  uint32_t size = 0;
};

// One resource to be written.
struct Item {
  WORD type = 0;
  std::string name;
  std::vector<uint8_t> data;
};

// Names compare equal ignoring the case of ASCII letters.
bool NamesEqual(std::string_view a, std::string_view b);
// ASCII letters upper-cased, every other byte kept.
std::string UpperName(std::string_view name);

// Reads the entry table of a module image.  On failure returns false and a
// sentence in error; entries is then left empty.
bool ParseModule(std::span<const uint8_t> bytes, std::vector<Entry>& entries, std::string& error);

// Writes a module image.  Fails (false and a sentence) for an empty or
// over-long name, a duplicate name of one type, or a size that does not fit
// the format's 32-bit fields.
bool BuildModule(const std::vector<Item>& items, std::vector<uint8_t>& out, std::string& error);

// Collects every *.bmp file below dir (any depth, extension in any case) as
// a bitmap resource named by its upper-cased file stem, sorted by name.
// Other files are left out.  Fails for a missing folder, an unreadable file,
// a file that does not start like a bitmap file, or two files whose names
// give the same resource name.
bool CollectFolder(const std::filesystem::path& dir, std::vector<Item>& items, std::string& error);

// Reads a whole file; false and a sentence when it cannot be read.
bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& out, std::string& error);

} // namespace zel::sys::resfile
