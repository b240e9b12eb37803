#include "platform/resource/ModuleFile.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>

namespace zel::sys::resfile {

namespace {

constexpr WORD kTypeBitmap = 2; // RT_BITMAP; Resource.h names it for callers

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// Little-endian reads at a position already checked against the size.
uint16_t Read16(std::span<const uint8_t> b, size_t at) {
  return uint16_t(b[at] | (b[at + 1] << 8));
}
uint32_t Read32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(v >> (8 * i)));
}

// A name may hold any bytes but control characters, which would make the
// listing of a module unreadable and have no use in a resource name.
bool ValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  return std::none_of(name.begin(), name.end(), [](char c) { return uint8_t(c) < 0x20; });
}

bool HasDuplicate(const std::vector<Entry>& entries, std::string& error) {
  for (size_t i = 0; i < entries.size(); ++i)
    for (size_t j = i + 1; j < entries.size(); ++j)
      if (entries[i].type == entries[j].type && NamesEqual(entries[i].name, entries[j].name)) {
        error = "two resources of type " + std::to_string(entries[i].type) + " are named \"" +
                entries[i].name + "\"";
        return true;
      }
  return false;
}

bool ParseEntry(std::span<const uint8_t> bytes, size_t& at, size_t index, size_t tableEnd,
                Entry& entry, std::string& error) {
  const std::string which = "entry " + std::to_string(index);
  if (bytes.size() - at < kEntryFixedSize) {
    error = "the file ends inside the entry table (" + which + ")";
    return false;
  }
  entry.type = Read16(bytes, at);
  const size_t nameLength = Read16(bytes, at + 2);
  entry.offset = Read32(bytes, at + 4);
  entry.size = Read32(bytes, at + 8);
  at += kEntryFixedSize;
  if (nameLength == 0 || nameLength > kMaxNameLength) {
    error = which + " has a name length of " + std::to_string(nameLength);
    return false;
  }
  if (bytes.size() - at < nameLength) {
    error = "the file ends inside the name of " + which;
    return false;
  }
  entry.name.assign(reinterpret_cast<const char*>(bytes.data() + at), nameLength);
  at += nameLength;
  if (!ValidName(entry.name)) {
    error = which + " has a name with control characters";
    return false;
  }
  // 64-bit sums: offset + size cannot wrap around.
  const uint64_t end = uint64_t(entry.offset) + uint64_t(entry.size);
  if (entry.offset < tableEnd || end > bytes.size()) {
    error = "the data of \"" + entry.name + "\" (offset " + std::to_string(entry.offset) +
            ", size " + std::to_string(entry.size) + ") lies outside the file's " +
            std::to_string(bytes.size()) + " bytes of data";
    return false;
  }
  return true;
}

bool LooksLikeBitmapFile(const std::vector<uint8_t>& data) {
  return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

} // namespace

bool NamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

std::string UpperName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    c = UpperAscii(c);
  return out;
}

bool ParseModule(std::span<const uint8_t> bytes, std::vector<Entry>& entries, std::string& error) {
  entries.clear();
  if (bytes.size() < kHeaderSize) {
    error =
        "the file is too short for a resource module (" + std::to_string(bytes.size()) + " bytes)";
    return false;
  }
  if (!std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
    error = "the file is not a resource module (wrong signature)";
    return false;
  }
  const WORD version = Read16(bytes, 8);
  if (version != kVersion) {
    error = "resource module version " + std::to_string(version) + " is not supported";
    return false;
  }
  const uint32_t count = Read32(bytes, 12);
  // Every entry takes at least 13 bytes, which bounds a believable count
  // before anything is reserved for it.
  if (count > (bytes.size() - kHeaderSize) / (kEntryFixedSize + 1)) {
    error = "the entry count " + std::to_string(count) + " does not fit in the file";
    return false;
  }
  // The table's end is only known after reading it; check the data
  // positions against it afterwards.
  size_t at = kHeaderSize;
  std::vector<Entry> parsed(count);
  for (uint32_t i = 0; i < count; ++i)
    if (!ParseEntry(bytes, at, i, kHeaderSize, parsed[i], error)) return false;
  for (const Entry& e : parsed)
    if (e.size > 0 && e.offset < at) {
      error = "the data of \"" + e.name + "\" overlaps the entry table";
      return false;
    }
  if (HasDuplicate(parsed, error)) return false;
  entries = std::move(parsed);
  return true;
}

bool BuildModule(const std::vector<Item>& items, std::vector<uint8_t>& out, std::string& error) {
  std::vector<Entry> table;
  size_t tableSize = kHeaderSize;
  for (const Item& item : items) {
    if (!ValidName(item.name)) {
      error =
          "the resource name \"" + item.name + "\" is empty, too long or has control characters";
      return false;
    }
    table.push_back(Entry{item.type, item.name, 0, 0});
    tableSize += kEntryFixedSize + item.name.size();
  }
  if (HasDuplicate(table, error)) return false;
  uint64_t offset = tableSize;
  for (size_t i = 0; i < items.size(); ++i) {
    if (offset + items[i].data.size() > std::numeric_limits<uint32_t>::max()) {
      error = "the resources do not fit in a module of 4 GiB";
      return false;
    }
    table[i].offset = uint32_t(offset);
    table[i].size = uint32_t(items[i].data.size());
    offset += items[i].data.size();
  }
  out.clear();
  out.reserve(size_t(offset));
  out.insert(out.end(), std::begin(kMagic), std::end(kMagic));
  Put16(out, kVersion);
  Put16(out, 0);
  Put32(out, uint32_t(items.size()));
  for (const Entry& e : table) {
    Put16(out, e.type);
    Put16(out, uint16_t(e.name.size()));
    Put32(out, e.offset);
    Put32(out, e.size);
    out.insert(out.end(), e.name.begin(), e.name.end());
  }
  for (const Item& item : items)
    out.insert(out.end(), item.data.begin(), item.data.end());
  return true;
}

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& out, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "\"" + path.string() + "\" is not a readable file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open \"" + path.string() + "\"";
    return false;
  }
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read \"" + path.string() + "\"";
    return false;
  }
  return true;
}

bool CollectFolder(const std::filesystem::path& dir, std::vector<Item>& items, std::string& error) {
  namespace fs = std::filesystem;
  items.clear();
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) {
    error = "\"" + dir.string() + "\" is not a folder";
    return false;
  }
  std::vector<std::pair<Item, fs::path>> found;
  for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || UpperName(it->path().extension().string()) != ".BMP") continue;
    Item item{kTypeBitmap, UpperName(it->path().stem().string()), {}};
    if (!ReadFile(it->path(), item.data, error)) return false;
    if (!LooksLikeBitmapFile(item.data)) {
      error = "\"" + it->path().string() + "\" is not a bitmap file";
      return false;
    }
    for (const auto& [other, otherPath] : found)
      if (other.name == item.name) {
        error = "\"" + it->path().string() + "\" and \"" + otherPath.string() +
                "\" both give the resource name " + item.name;
        return false;
      }
    found.emplace_back(std::move(item), it->path());
  }
  if (ec) {
    error = "cannot list \"" + dir.string() + "\": " + ec.message();
    return false;
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first.name < b.first.name; });
  for (auto& f : found)
    items.push_back(std::move(f.first));
  return true;
}

} // namespace zel::sys::resfile
