#pragma once
// The readers of outside bytes, each driven by one input as the program
// drives it: the floating placements, a dock site's stream with its dock
// tree, the framework's dock tree, the action manager's configuration, the
// colour-map editor's record, the layout file, resource module files, bitmap files and PNG
// files.  A damaged input must
// end in the reader's refusal (an Exception of the framework, or false);
// anything else (a crash, a sanitizer report, another exception) is a fault.
// The same functions serve the libFuzzer programs (FuzzMain.cpp) and the
// deterministic mutation runs of the test suite.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zel {
class TForm;
class TFrameSite;
class TMainForm;
class TApplication;
class TPanel;
} // namespace zel

namespace zel::fuzz {

// What the windowed readers work on: the headless screen on the virtual
// clock with the program's units started, the real main window shown, and a
// small form whose dock site uses the framework's own dock tree with three
// named panels docked.  Made on first use; EndEnvironment frees it.
class TFuzzEnvironment {
public:
  TFuzzEnvironment();
  ~TFuzzEnvironment();
  TFuzzEnvironment(const TFuzzEnvironment&) = delete;
  TFuzzEnvironment& operator=(const TFuzzEnvironment&) = delete;

  TMainForm* MainForm() const { return FMainForm; }
  TApplication* Application() const;
  TFrameSite* PlainSite() const { return FPlainSite; }
  // Lets the timers fall due and every message run, painting included.
  void Settle();

private:
  struct TState;
  std::unique_ptr<TState> FState;
  TMainForm* FMainForm = nullptr;
  TFrameSite* FPlainSite = nullptr;
};

TFuzzEnvironment& Environment();
void EndEnvironment();

void ReadFloatTree(std::string_view bytes);
void ReadFrameSite(std::string_view bytes);
void ReadDockTree(std::string_view bytes);
void ReadActionManager(std::string_view bytes);
// The colour-map editor's record of the layout file.
void ReadEditorRecord(std::string_view bytes);
// The whole layout file, read by a new main window at its first show and
// written back as its close writes it; a file written back that does not
// follow the format, or that the next window refuses, ends the process as a
// finding (the window that shows nothing is one too).
void ReadLayout(std::string_view bytes);
// A structural change of a layout file (tests/support/LayoutMutation.h),
// drawn from seed with the names of the live main window; nothing when the
// bytes are not a whole layout file.  The libFuzzer program of the layout
// reader uses it as its custom mutator.
std::optional<std::string> MutateLayoutStructure(std::string_view bytes, unsigned seed);
void ReadModule(std::string_view bytes);
void ReadBmp(std::string_view bytes);
void ReadPng(std::string_view bytes);
// The font answers a program keeps between runs.
void ReadFontAnswerFile(std::string_view bytes);

struct TTarget {
  const char* Name; // the fuzz program is zel_fuzz_<Name>
  void (*Read)(std::string_view bytes);
  // Inputs the program itself writes (and, for the bitmaps, the glyph
  // strips), made from the live environment and the source tree.
  std::vector<std::string> (*Seeds)();
};

std::span<const TTarget> Targets();
const TTarget* FindTarget(std::string_view name);

} // namespace zel::fuzz
