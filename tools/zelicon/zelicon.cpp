// Writes the program's icon into an icon theme folder, one PNG per size:
//   zelicon <theme folder> <icon name>
// gives <theme folder>/<n>x<n>/apps/<icon name>.png for every size of
// kProgramIconSizes, drawn from the glyph strips built into the program
// exactly as its windows show them.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/gdi/Png.h"
#include "platform/resource/ProgramIcon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zelicon <theme folder> <icon name>\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const auto icons = zel::sys::ProgramIcons(zel::sys::kProgramIconSizes);
  for (size_t i = 0; i < icons.size(); ++i) {
    const zel::sys::Surface& icon = icons[i];
    const std::string side = std::to_string(zel::sys::kProgramIconSizes[i]);
    const fs::path folder = fs::path(argv[1]) / (side + "x" + side) / "apps";
    const fs::path file = folder / (std::string(argv[2]) + ".png");
    std::error_code error;
    fs::create_directories(folder, error);
    if (icon.Empty() || error || !zel::sys::WritePng(icon, file.string(), true)) {
      std::fprintf(stderr, "zelicon: cannot write %s\n", file.c_str());
      return 1;
    }
  }
  return 0;
}
