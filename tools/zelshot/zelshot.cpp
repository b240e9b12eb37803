// zelshot: draws the README's pictures with the program itself on the
// headless screen (see Pictures.cpp for what each one shows) and writes
// them as PNG into a folder.
//
//   zelshot [folder] [name.png...]   (default: the current folder, every picture)

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/zelshot/Pictures.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  const std::vector<std::string> names(argv + (argc > 1 ? 2 : 1), argv + argc);
  try {
    for (const zel::shot::Picture& p : zel::shot::WritePictures(folder, names))
      std::printf("%s\n", p.path.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelshot: %s\n", e.what());
    return 1;
  }
  return 0;
}
