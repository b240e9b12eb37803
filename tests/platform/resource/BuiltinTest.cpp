// The program's own module, the executable's path, file deletion and the
// packer tool as a command.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "platform/gdi/Png.h"
#include "platform/resource/Resource.h"
#include "tests/platform/resource/ResourceTestUtil.h"

namespace zel::sys {
namespace {

namespace fs = std::filesystem;
using test::MakeBmp;
using test::ScratchDir;
using test::WriteBytes;

// Every *.bmp under resources/ is in the program's own module under its
// upper-cased stem, and decodes.
TEST(BuiltinModule, HoldsEveryBitmapOfTheResourcesFolder) {
  HMODULE own = GetModuleHandle(nullptr);
  ASSERT_NE(own, nullptr);
  std::set<std::string> expected;
  const fs::path folder = fs::path(ZEL_SOURCE_DIR) / "resources";
  if (fs::is_directory(folder))
    for (const auto& e : fs::recursive_directory_iterator(folder))
      if (e.is_regular_file() && resfile::UpperName(e.path().extension().string()) == ".BMP")
        expected.insert(resfile::UpperName(e.path().stem().string()));
  std::set<std::string> found;
  const BOOL ok = EnumResourceNames(own, RT_BITMAP, [&](const char* name) {
    found.insert(name);
    return true;
  });
  EXPECT_EQ(found, expected);
  EXPECT_EQ(ok, expected.empty() ? FALSE : TRUE);
  // Each is kept as a picture for a person to look at.
  const fs::path pictures = fs::path(ZEL_BINARY_DIR) / "pictures";
  fs::create_directories(pictures);
  for (const std::string& name : found) {
    UniqueGdi<HBITMAP> bmp(LoadBitmap(own, name));
    ASSERT_NE(bmp.get(), nullptr) << name << ": " << GetLastErrorText();
    WritePng(bmp.get()->surface, (pictures / ("resource_" + name + ".png")).string());
  }
  EXPECT_EQ(LoadBitmap(nullptr, "NO_SUCH_BITMAP"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

TEST(ModuleFileName, IsTheRunningExecutable) {
  const std::string path = GetModuleFileName(nullptr);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path, GetModuleFileName(GetModuleHandle(nullptr)));
  EXPECT_EQ(fs::path(path).filename(), "zel_tests_platform_resource");
  EXPECT_TRUE(fs::is_regular_file(path));
  EXPECT_EQ(GetModuleHandle(path.c_str()), GetModuleHandle(nullptr));
  EXPECT_EQ(GetModuleHandle("zel_tests_platform_resource"), GetModuleHandle(nullptr));
  EXPECT_EQ(GetModuleHandle("no_such_module.zrm"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  // A program whose file was replaced while it runs keeps its path; a file
  // that really has the marker in its name keeps it.
  ScratchDir dir("deleted");
  const fs::path marked = dir.path() / "zeldemo (deleted)";
  EXPECT_EQ(ExecutablePathFromLink(marked.string()), (dir.path() / "zeldemo").string());
  WriteBytes(marked, {1});
  EXPECT_EQ(ExecutablePathFromLink(marked.string()), marked.string());
  EXPECT_EQ(ExecutablePathFromLink("/opt/zel/zeldemo"), "/opt/zel/zeldemo");
}

TEST(DeleteFile, RemovesFilesAndReportsWhatItCannot) {
  ScratchDir dir("delete");
  const fs::path file = dir.path() / "layout.sav";
  WriteBytes(file, {1, 2, 3});
  EXPECT_EQ(DeleteFile(file.string()), TRUE);
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(DeleteFile(file.string()), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(DeleteFile(dir.path().string()), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(fs::is_directory(dir.path()));
}

// The tool as the build and a developer run it.
class PackerTool : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fs::exists(tool_)) GTEST_SKIP() << "zelres is not built at " << tool_;
  }
  int Run(const std::string& args, const fs::path& output) {
    const std::string cmd = tool_.string() + " " + args + " > " + output.string() + " 2>&1";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string Slurp(const fs::path& p) {
    std::vector<uint8_t> bytes;
    std::string error;
    resfile::ReadFile(p, bytes, error);
    return std::string(bytes.begin(), bytes.end());
  }
  fs::path tool_ = fs::path(ZEL_BINARY_DIR) / "tools" / "zelres";
  ScratchDir dir_{"tool"};
};

TEST_F(PackerTool, PacksListsAndRefuses) {
  WriteBytes(dir_.path() / "in" / "Arrow_16.bmp", MakeBmp({.width = 3, .height = 2}));
  const fs::path module = dir_.path() / "out.zrm";
  const fs::path log = dir_.path() / "log.txt";
  ASSERT_EQ(Run("pack " + (dir_.path() / "in").string() + " " + module.string(), log), 0)
      << Slurp(log);
  ASSERT_EQ(Run("list " + module.string(), log), 0);
  EXPECT_NE(Slurp(log).find("ARROW_16"), std::string::npos) << Slurp(log);

  HMODULE m = LoadLibraryEx(module.string(), LOAD_LIBRARY_AS_DATAFILE);
  EXPECT_NE(m, nullptr);
  FreeLibrary(m);

  WriteBytes(dir_.path() / "bad.zrm", {'Z', 'E', 'L'});
  EXPECT_EQ(Run("list " + (dir_.path() / "bad.zrm").string(), log), 1);
  EXPECT_NE(Slurp(log).find("too short"), std::string::npos) << Slurp(log);
  EXPECT_EQ(Run("pack " + (dir_.path() / "missing").string() + " " + module.string(), log), 1);
  EXPECT_NE(Slurp(log).find("not a folder"), std::string::npos);
  // The source the build compiles holds the same module image as bytes.
  const fs::path source = dir_.path() / "Builtin.cpp";
  ASSERT_EQ(Run("embed " + (dir_.path() / "in").string() + " " + source.string(), log), 0);
  const std::string text = Slurp(source);
  EXPECT_NE(text.find("BuiltinModuleImage()"), std::string::npos);
  std::string packed = Slurp(module), embedded;
  for (size_t at = text.find('{', text.find("kImage")); at < text.size();) {
    at = text.find_first_of("0123456789}", at + 1);
    if (at == std::string::npos || text[at] == '}') break;
    size_t end = 0;
    embedded.push_back(char(std::stoi(text.substr(at), &end)));
    at += end - 1;
  }
  EXPECT_EQ(embedded, packed);

  EXPECT_EQ(Run("frobnicate", log), 1);
  EXPECT_NE(Slurp(log).find("usage"), std::string::npos);
  EXPECT_FALSE(fs::exists(module.string() + ".tmp"));
}

} // namespace
} // namespace zel::sys
