#pragma once
// Runs of the program for the layout tests: each session starts the units,
// makes and shows the main window with its layout file in a folder of the
// test's own, and shuts everything down at its end, so that the next
// session starts like the next run of the program.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "docking/FloatTree.h"
#include "docking/FrameSite.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/core/Streams.h"
#include "framework/forms/Application.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/WindowSystem.h"
#include "shell/MainWindowPlacement.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "tests/shell/MainWindowFixture.h"

namespace zel::test {

inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

// A folder of its own under the system's temporary folder, removed at the end.
class TTempFolder {
public:
  TTempFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "zel-layout-XXXXXX").string();
    if (::mkdtemp(name.data())) FPath = name;
  }
  ~TTempFolder() {
    std::error_code ec;
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(FPath, ec);
  }
  const std::filesystem::path& Path() const { return FPath; }

private:
  std::filesystem::path FPath;
};

// Runs of the program, each started by the test itself, that read and write
// the layout file of a scratch folder.
class LayoutSessionTest : public MainWindowFixture {
protected:
  void SetUp() override {}

  // One run of the program up to its first settled show; onSection follows
  // the layout's load section by section.
  void Start(std::function<void(int)> onSection = {}) {
    StartMainWindow([this, &onSection] {
      form->SetLayoutFileName(layout.string());
      form->OnLayoutSectionLoaded = std::move(onSection);
      // Tall enough for the whole editor with a few rows of its grid.
      form->SetBounds(10, 10, 820, 760);
    });
  }
  void Stop() { StopMainWindow(); }
  // The window's close, as the close box or Alt+X gives it.
  void Close() {
    form->Close();
    app->ProcessMessages();
  }
  // The six sections as the window's components write them now, and the
  // main window's placement record that follows them.
  std::array<std::string, 7> Sections() {
    std::array<std::string, 7> out;
    auto take = [](auto&& write) {
      TMemoryStream s;
      write(s);
      return std::string(reinterpret_cast<const char*>(s.Memory()), size_t(s.Size()));
    };
    out[0] = take([&](TStream& s) { form->ColorMapFrame()->SaveToStream(s); });
    out[1] = take([&](TStream& s) { form->GradientActionMainMenuBar1->SaveToStream(s); });
    out[2] = take([&](TStream& s) { form->GradientActionToolBar1->SaveToStream(s); });
    out[3] = take([&](TStream& s) { FloatTree()->SaveToStream(&s); });
    out[4] = take([&](TStream& s) { form->FrameSite1->DockManager()->SaveToStream(s); });
    out[5] = take([&](TStream& s) { form->ActionManager1->SaveToStream(s); });
    out[6] = take([&](TStream& s) { WriteMainWindowPlacement(s, form->MainWindowPlacement()); });
    return out;
  }
  bool LayoutExists() const { return std::filesystem::exists(layout); }

  TTempFolder folder;
  std::filesystem::path layout = folder.Path() / "zeldemo.sav";
  std::filesystem::path mark = folder.Path() / "zeldemo.sav.loading";
};

} // namespace zel::test
