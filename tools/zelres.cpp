// zelres: makes and lists resource module files (platform/resource/ModuleFile.h).
//
//   zelres pack  <folder> <module>   every *.bmp below the folder becomes a
//                                     bitmap resource named by its upper-cased
//                                     file stem
//   zelres embed <folder> <source>   the same module, written as a C++ source
//                                     that defines BuiltinModuleImage() (the
//                                     build uses it for the program's own module)
//   zelres list  <module>            prints type, size and name of each entry
//
// Exits with 0 on success and 1 with a message on standard error otherwise.
// Output files are written beside their target and renamed into place, so a
// failed run never leaves half a file.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/resource/ModuleFile.h"

namespace fs = std::filesystem;
using namespace zel::sys;

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "zelres: %s\n", message.c_str());
  return 1;
}

bool WriteAtomically(const fs::path& target, const std::string& bytes, std::string& error) {
  const fs::path temp = target.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) {
      error = "cannot write \"" + temp.string() + "\"";
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    error = "cannot write \"" + target.string() + "\"";
    return false;
  }
  return true;
}

bool BuildFromFolder(const fs::path& folder, std::vector<uint8_t>& image, std::string& error) {
  std::vector<resfile::Item> items;
  return resfile::CollectFolder(folder, items, error) && resfile::BuildModule(items, image, error);
}

std::string AsCppSource(const std::vector<uint8_t>& image, const fs::path& folder) {
  std::ostringstream s;
  s << "// Made by tools/zelres from " << folder.filename().string()
    << "/ during the build; do not edit.\n"
       "#include <cstdint>\n#include <span>\n\n"
       "#include \"platform/resource/BuiltinModule.h\"\n\n"
       "namespace zel::sys {\n\nnamespace {\nconst uint8_t kImage[] = {";
  for (size_t i = 0; i < image.size(); ++i) {
    if (i % 16 == 0) s << "\n   ";
    s << ' ' << unsigned(image[i]) << ',';
  }
  s << "\n};\n} // namespace\n\n"
       "std::span<const uint8_t> BuiltinModuleImage() { return {kImage, sizeof kImage}; }\n\n"
       "} // namespace zel::sys\n";
  return s.str();
}

int List(const fs::path& path) {
  std::vector<uint8_t> bytes;
  std::vector<resfile::Entry> entries;
  std::string error;
  if (!resfile::ReadFile(path, bytes, error)) return Fail(error);
  if (!resfile::ParseModule(bytes, entries, error)) return Fail(path.string() + ": " + error);
  for (const resfile::Entry& e : entries)
    std::printf("%5u %10u  %s\n", unsigned(e.type), unsigned(e.size), e.name.c_str());
  return 0;
}

int Usage() {
  return Fail("usage: zelres pack <folder> <module> | embed <folder> <source.cpp> | list <module>");
}

} // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "list") return List(args[1]);
  if (args.size() != 3 || (args[0] != "pack" && args[0] != "embed")) return Usage();
  std::vector<uint8_t> image;
  std::string error;
  if (!BuildFromFolder(args[1], image, error)) return Fail(error);
  const std::string out = args[0] == "pack" ? std::string(image.begin(), image.end())
                                            : AsCppSource(image, fs::path(args[1]));
  if (!WriteAtomically(args[2], out, error)) return Fail(error);
  return 0;
}
