#include "fuzz/FuzzInputs.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "colormap/UnitFrameColorMap.h"
#include "docking/FloatTree.h"
#include "docking/FrameSite.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/Panel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/gdi/Png.h"
#include "platform/resource/Bmp.h"
#include "platform/resource/ModuleFile.h"
#include "platform/resource/Resource.h"
#include "platform/text/FontAnswerFile.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "tests/support/LayoutMutation.h"

namespace zel::fuzz {

using namespace sys;

// ---- The environment ---------------------------------------------------------------

struct TFuzzEnvironment::TState {
  ScopedVirtualClock Clock;
  std::unique_ptr<TApplication> App;
};

TFuzzEnvironment::TFuzzEnvironment() : FState(std::make_unique<TState>()) {
  UseHeadlessBackend();
  InitializeUnits();
  FState->App = std::make_unique<TApplication>();
  FState->App->Initialize();
  FState->App->CreateForm(&FMainForm);
  // No layout file is read or written by the standing window.
  FMainForm->SetLayoutFileName("");
  FMainForm->Show();
  // Beside the main window: a form whose site keeps the framework's tree.
  auto* host = new TForm(FState->App.get());
  host->SetName("FuzzHost");
  host->SetBounds(700, 100, 500, 400);
  FPlainSite = new TFrameSite(host);
  FPlainSite->SetName("PlainSite");
  FPlainSite->SetAlign(alClient);
  FPlainSite->SetDockStyle(2);
  FPlainSite->SetParent(host);
  FPlainSite->HandleNeeded();
  host->Show();
  for (const char* name : {"A", "B", "C"}) {
    auto* p = new TPanel(host);
    p->SetName(name);
    p->SetCaption(name);
    p->SetDragKind(dkDock);
    p->SetBounds(0, 0, 150, 100);
    p->ManualDock(FPlainSite, nullptr, alBottom);
  }
  Settle();
}

TFuzzEnvironment::~TFuzzEnvironment() {
  FState->App.reset();
  FinalizeUnits();
  ResetWindowSystem();
}

TApplication* TFuzzEnvironment::Application() const {
  return FState->App.get();
}

void TFuzzEnvironment::Settle() {
  AdvanceTime(100);
  FState->App->ProcessMessages();
  FState->App->Idle();
  FState->App->ProcessMessages();
}

namespace {
std::unique_ptr<TFuzzEnvironment> gEnvironment;

void Fill(TMemoryStream& m, std::string_view bytes) {
  m.WriteChars(bytes);
  m.SetPosition(0);
}

std::string Bytes(const TMemoryStream& m) {
  return std::string(reinterpret_cast<const char*>(m.Memory()), size_t(m.Size()));
}

// A file in memory under a path the readers can open, so that a long run
// costs no disk.
class TMemoryFile {
public:
  TMemoryFile() : FFd(::memfd_create("zel-fuzz", 0)) {
    if (FFd < 0) throw std::runtime_error("memfd_create failed");
    FPath = "/proc/self/fd/" + std::to_string(FFd);
  }
  ~TMemoryFile() { ::close(FFd); }
  const std::string& Put(std::string_view bytes) {
    if (::ftruncate(FFd, 0) != 0 ||
        ::pwrite(FFd, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size()))
      throw std::runtime_error("writing the memory file failed");
    return FPath;
  }

private:
  int FFd;
  std::string FPath;
};

TMemoryFile& MemoryFile() {
  static TMemoryFile file;
  return file;
}

std::filesystem::path SourceDir() {
  return ZEL_SOURCE_DIR;
}

// The layout file of the layout reader, one per process (the reader
// deletes a file it rejects, which a memory file would not survive).
const std::string& LayoutScratch() {
  static const std::string path = (std::filesystem::temp_directory_path() /
                                   ("zel-fuzz-layout-" + std::to_string(::getpid()) + ".sav"))
                                      .string();
  return path;
}

void WriteWhole(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The glyph strips the program is built with.
std::vector<std::string> GlyphStrips() {
  std::vector<std::filesystem::path> paths;
  for (const auto& e : std::filesystem::directory_iterator(SourceDir() / "resources" / "bitmaps"))
    if (e.path().extension() == ".bmp") paths.push_back(e.path());
  std::sort(paths.begin(), paths.end());
  std::vector<std::string> strips;
  for (const auto& p : paths)
    strips.push_back(ReadWhole(p));
  return strips;
}

} // namespace

TFuzzEnvironment& Environment() {
  if (!gEnvironment) gEnvironment = std::make_unique<TFuzzEnvironment>();
  return *gEnvironment;
}

void EndEnvironment() {
  gEnvironment.reset();
}

// ---- The readers -------------------------------------------------------------------

namespace {

// Gives the bytes as a stream to a reader of the live windows; a refusal is
// an exception of the framework's, and the windows then settle as they
// would after a load in the program.
template <class Load> void ReadIntoWindow(std::string_view bytes, Load&& load) {
  TFuzzEnvironment& env = Environment();
  TMemoryStream m;
  Fill(m, bytes);
  try {
    load(env, m);
  } catch (const Exception&) {
  }
  env.Settle();
}

} // namespace

void ReadFloatTree(std::string_view bytes) {
  TMemoryStream m;
  Fill(m, bytes);
  TFloatTreeZel tree;
  try {
    tree.LoadFromStream(&m);
  } catch (const Exception&) {
  }
  // What was read is written again as the program does at its close.
  TMemoryStream out;
  tree.SaveToStream(&out);
}

void ReadFrameSite(std::string_view bytes) {
  ReadIntoWindow(bytes, [](TFuzzEnvironment& env, TMemoryStream& m) {
    env.MainForm()->FrameSite1->LoadFromStream(&m);
  });
}

void ReadDockTree(std::string_view bytes) {
  ReadIntoWindow(bytes, [](TFuzzEnvironment& env, TMemoryStream& m) {
    env.PlainSite()->DockManager()->LoadFromStream(m);
  });
}

void ReadActionManager(std::string_view bytes) {
  ReadIntoWindow(bytes, [](TFuzzEnvironment& env, TMemoryStream& m) {
    env.MainForm()->ActionManager1->LoadFromStream(m);
  });
}

void ReadEditorRecord(std::string_view bytes) {
  ReadIntoWindow(bytes, [](TFuzzEnvironment& env, TMemoryStream& m) {
    env.MainForm()->ColorMapFrame()->LoadFromStream(m);
  });
}

namespace {

[[noreturn]] void LayoutFinding(const char* what) {
  std::fprintf(stderr, "zel fuzz: layout: %s\n", what);
  std::abort();
}

// A second main window beside the standing one, as a new run of the program
// would make it, on the scratch file; it reads the file at its first show,
// and its close writes it back.  The standing window steps aside from its
// name meanwhile.
void StartAndClose(TFuzzEnvironment& env) {
  env.MainForm()->SetName("StandingMainForm");
  auto* form = new TMainForm(env.Application());
  form->SetLayoutFileName(LayoutScratch());
  try {
    form->Show();
    env.Settle();
    if (!sys::IsWindowVisible(form->Handle())) LayoutFinding("the main window is not shown");
    form->SaveLayout();
  } catch (const Exception&) {
  }
  form->SetLayoutFileName("");
  delete form;
  env.MainForm()->SetName("MainForm");
  env.Settle();
}

} // namespace

void ReadLayout(std::string_view bytes) {
  TFuzzEnvironment& env = Environment();
  WriteWhole(LayoutScratch(), bytes);
  StartAndClose(env);
  // The file the close wrote follows the format, and the next start reads
  // it whole.
  const std::string written = ReadWhole(LayoutScratch());
  if (!written.empty()) {
    if (!test::ParseLayout(written)) LayoutFinding("the file written back is not well formed");
    StartAndClose(env);
    if (!std::filesystem::exists(LayoutScratch()))
      LayoutFinding("the next start refused the file written back");
  }
  std::error_code ec;
  std::filesystem::remove(LayoutScratch(), ec);
}

std::optional<std::string> MutateLayoutStructure(std::string_view bytes, unsigned seed) {
  static const test::TLayoutVocabulary words = test::VocabularyOf(*Environment().MainForm());
  test::TRandom random{seed};
  return test::TLayoutMutator(words, random).Mutate(bytes);
}

void ReadModule(std::string_view bytes) {
  HMODULE module = LoadLibraryEx(MemoryFile().Put(bytes), LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return;
  std::vector<std::string> names;
  EnumResourceNames(module, RT_BITMAP, [&](const char* name) {
    names.push_back(name);
    return true;
  });
  for (const std::string& name : names)
    if (HBITMAP bmp = LoadBitmap(module, name)) DeleteObject(bmp);
  FreeLibrary(module);
}

void ReadBmp(std::string_view bytes) {
  DecodedBmp out;
  std::string error;
  DecodeBmp(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), out, error);
}

void ReadPng(std::string_view bytes) {
  Surface s;
  sys::ReadPng(MemoryFile().Put(bytes), s);
}

// The environment a fuzzed answer file is read under; the seeds are made
// under it too, so that a mutation may keep it and reach the lines below.
constexpr const char* kFontAnswerEnvironment = "fontconfig 0;LANG=C";

void ReadFontAnswerFile(std::string_view bytes) {
  sys::ReadFontAnswers(MemoryFile().Put(bytes), kFontAnswerEnvironment);
}

// ---- The seeds ---------------------------------------------------------------------

namespace {

std::vector<std::string> FloatTreeSeeds() {
  TFuzzEnvironment& env = Environment();
  // The editor floated and docked back: the registry holds its placement.
  TFrameColorMap* editor = env.MainForm()->ColorMapFrame();
  editor->ManualFloat(RECT{300, 200, 560, 620});
  env.Settle();
  TMemoryStream m;
  FloatTree()->SaveToStream(&m);
  editor->ManualDock(env.MainForm()->FrameSite1);
  env.Settle();
  return {Bytes(m)};
}

std::vector<std::string> FrameSiteSeeds() {
  TFuzzEnvironment& env = Environment();
  std::vector<std::string> seeds;
  TMemoryStream docked;
  env.MainForm()->FrameSite1->SaveToStream(&docked);
  seeds.push_back(Bytes(docked));
  // The editor hidden: the tree keeps it by name as a hidden client.
  TFrameColorMap* editor = env.MainForm()->ColorMapFrame();
  editor->Hide();
  env.Settle();
  TMemoryStream hidden;
  env.MainForm()->FrameSite1->SaveToStream(&hidden);
  seeds.push_back(Bytes(hidden));
  editor->Show();
  env.Settle();
  return seeds;
}

std::vector<std::string> DockTreeSeeds() {
  TMemoryStream m;
  Environment().PlainSite()->DockManager()->SaveToStream(m);
  return {Bytes(m)};
}

std::vector<std::string> ActionManagerSeeds() {
  TMemoryStream m;
  Environment().MainForm()->ActionManager1->SaveToStream(m);
  return {Bytes(m)};
}

std::vector<std::string> EditorRecordSeeds() {
  TFuzzEnvironment& env = Environment();
  TMemoryStream m;
  env.MainForm()->ColorMapFrame()->SaveToStream(m);
  return {Bytes(m)};
}

std::vector<std::string> LayoutSeeds() {
  TFuzzEnvironment& env = Environment();
  TMainForm* form = env.MainForm();
  form->SetLayoutFileName(LayoutScratch());
  form->SaveLayout();
  form->SetLayoutFileName("");
  std::string bytes = ReadWhole(LayoutScratch());
  std::error_code ec;
  std::filesystem::remove(LayoutScratch(), ec);
  return {bytes};
}

std::vector<std::string> ModuleSeeds() {
  std::vector<resfile::Item> items;
  std::vector<uint8_t> image;
  std::string error;
  if (!resfile::CollectFolder(SourceDir() / "resources" / "bitmaps", items, error) ||
      !resfile::BuildModule(items, image, error))
    throw std::runtime_error("the glyph strips make no module: " + error);
  // A small module of the first strip alone keeps the mutations near the
  // table, where most of the reading happens.
  std::vector<uint8_t> small;
  items.resize(1);
  resfile::BuildModule(items, small, error);
  return {std::string(image.begin(), image.end()), std::string(small.begin(), small.end())};
}

std::vector<std::string> PngSeeds() {
  std::vector<std::string> seeds;
  seeds.push_back(ReadWhole(SourceDir() / "docs" / "main-window.png"));
  // A small picture with alpha, written by the program's own writer.
  Surface s(24, 16, 0x80336699);
  const std::string path = MemoryFile().Put("");
  if (WritePng(s, path, true)) seeds.push_back(ReadWhole(path));
  return seeds;
}

// Answers stamped with a file of the source tree, so that the seed itself
// is believed and a mutation reaches every line.
std::vector<std::string> FontAnswerSeeds() {
  sys::FontAnswers answers;
  answers.environment = kFontAnswerEnvironment;
  answers.stamps.push_back(sys::StampOf((SourceDir() / "README.md").string()));
  answers.stamps.push_back(sys::StampOf((SourceDir() / "no such file").string()));
  answers.answers["tahoma|400|r"] = sys::ResolvedFont{"/usr/share/fonts/Condensed.ttf", 0};
  answers.answers["tahoma|700|i"] = std::nullopt;
  // Written as a program writes it: to a temporary file renamed into place.
  const std::string path =
      (std::filesystem::temp_directory_path() / ("zel-fuzz-answers-" + std::to_string(::getpid())))
          .string();
  const bool written = sys::WriteFontAnswers(path, answers);
  std::string bytes = ReadWhole(path);
  std::filesystem::remove(path);
  if (!written) throw std::runtime_error("the font answers make no seed");
  return {bytes};
}

const TTarget kTargets[] = {
    {"floattree", ReadFloatTree, FloatTreeSeeds},
    {"framesite", ReadFrameSite, FrameSiteSeeds},
    {"docktree", ReadDockTree, DockTreeSeeds},
    {"actionmanager", ReadActionManager, ActionManagerSeeds},
    {"editor", ReadEditorRecord, EditorRecordSeeds},
    {"layout", ReadLayout, LayoutSeeds},
    {"module", ReadModule, ModuleSeeds},
    {"bmp", ReadBmp, GlyphStrips},
    {"png", ReadPng, PngSeeds},
    {"fontanswers", ReadFontAnswerFile, FontAnswerSeeds},
};

} // namespace

std::span<const TTarget> Targets() {
  return kTargets;
}

const TTarget* FindTarget(std::string_view name) {
  for (const TTarget& t : kTargets)
    if (name == t.Name) return &t;
  return nullptr;
}

} // namespace zel::fuzz
