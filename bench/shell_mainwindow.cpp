// The whole program on the headless screen, as a person meets it: start-up to
// the first painted frame of the main window with the colour-map editor
// docked, a full repaint of the maximized window with three children, a
// glyph-size change end to end (also to each size, from the one next to
// it), a change of colour map and the opening of the
// "Окно" menu.  Goals (Release build): first frame under 15 ms, full repaint
// under 1 ms, glyph-size change under 5 ms, menu open under 5 ms.
//
// Every case runs on the virtual clock, so the image list's deferred
// notification and the idle updates happen at once when time is advanced,
// and checks that the screen really changed, so that a figure never stands
// for work that was skipped.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "actionbars/ZelStyleActnCtrls.h"
#include "colormap/UnitFrameColorMap.h"
#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/ControlBar.h"
#include "imagelist/ImageListZel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/WindowSystem.h"
#include "shell/Startup.h"
#include "shell/UnitMain.h"
#include "speedbutton/SpeedButtonZel.h"

namespace {

using namespace zel;
using namespace zel::sys;

// The program as main.cpp starts it, on a fresh headless screen.
class Program {
public:
  Program() {
    screen = &UseHeadlessBackend();
    InitializeUnits();
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->SetTitle("Zel");
    app->CreateForm(&form);
    form->Show();
    Settle();
  }
  ~Program() {
    app.reset();
    FinalizeUnits();
    ResetWindowSystem();
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Lets the deferred notifications, the idle updates and the paints run.
  void Settle() {
    AdvanceTime(100);
    app->ProcessMessages();
    app->Idle();
    app->ProcessMessages();
  }
  void Click(TControl* c) {
    AdvanceTime(1000);
    const POINT p = c->ClientToScreen(POINT{c->Width() / 2, c->Height() / 2});
    screen->Click(p.x, p.y);
    app->ProcessMessages();
  }
  // With ZEL_BENCH_PICTURES naming a folder, the screen as it stands is
  // written there, so that a person can see what was measured.
  void Picture(const char* name) {
    if (const char* dir = std::getenv("ZEL_BENCH_PICTURES"))
      screen->SaveScreenshot(std::string(dir) + "/" + name + ".png");
  }
  TCustomActionControl* ControlOf(TBasicAction* a) {
    TActionClientItem* i = form->ActionManager1->FindItemByAction(a);
    return i ? i->Control() : nullptr;
  }
  // Maximized on the 1280 x 800 screen with three children, tiled.
  void MakeBusy() {
    form->SetWindowState(wsMaximized);
    for (int i = 0; i < 3; ++i)
      form->actNewForm->Execute();
    form->WindowTileVertical1->Execute();
    Settle();
  }

  ScopedVirtualClock clock;
  HeadlessBackend* screen = nullptr;
  std::unique_ptr<TApplication> app;
  TMainForm* form = nullptr;
};

// The first run in the process is the cold start a person gets: nothing of
// the font lookup, the faces or their glyphs is cached yet.  Registered
// first, with one iteration, so that nothing has warmed them before; the
// figure is a single sample, so run the program a few times to read it.
void BM_StartToFirstFrameCold(benchmark::State& state);

void BM_StartToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    ScopedVirtualClock clock;
    HeadlessBackend& screen = UseHeadlessBackend();
    InitializeUnits();
    auto app = std::make_unique<TApplication>();
    app->Initialize();
    app->SetTitle("Zel");
    TMainForm* form = nullptr;
    app->CreateForm(&form);
    form->Show();
    // As the message loop does: every waiting message, the idle pass, and
    // the present before it would wait for input.
    app->ProcessMessages();
    app->Idle();
    PumpMessages();
    if (screen.Presents() == 0 || screen.SurfaceChanges() == 0) {
      state.SkipWithError("no frame was painted");
      break;
    }
    state.PauseTiming();
    app.reset();
    FinalizeUnits();
    ResetWindowSystem();
    state.ResumeTiming();
  }
}
void BM_StartToFirstFrameCold(benchmark::State& state) {
  BM_StartToFirstFrame(state);
}
BENCHMARK(BM_StartToFirstFrameCold)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
// Later starts in the same process: what the program's own work costs once
// the caches are warm.
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_FullRepaintMaximized(benchmark::State& state) {
  Program p;
  p.MakeBusy();
  if (p.form->Width() < 1280 || p.form->MDIChildCount() != 3)
    state.SkipWithError("the window is not maximized with three children");
  const int before = p.screen->SurfaceChanges();
  for (auto _ : state) {
    RedrawWindow(p.form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
  }
  if (p.screen->SurfaceChanges() == before) state.SkipWithError("nothing was repainted");
  p.Picture("bench_full_repaint");
}
BENCHMARK(BM_FullRepaintMaximized)->Unit(benchmark::kMicrosecond);

// The glyph size as the editor's track bar sets it: the list rebuilds its 42
// images, both bars make their controls again, the control bar lays its rows
// out anew and everything is painted.
void BM_GlyphSizeChange(benchmark::State& state) {
  Program p;
  p.MakeBusy();
  TImageListZel* list = p.form->ImageListZel1;
  int size = 24;
  for (auto _ : state) {
    size = size == 24 ? 32 : 24;
    list->BeginUpdate();
    list->SetSize(size, size);
    list->EndUpdate();
    p.Settle();
    if (size == 32) p.Picture("bench_glyphs_32");
    if (p.form->ControlBar1->RowSize() < size) {
      state.SkipWithError("the bars did not follow");
      break;
    }
  }
}
BENCHMARK(BM_GlyphSizeChange)->Unit(benchmark::kMillisecond);

// The same change to each size the track bar offers, from the size next to
// it, as a person dragging the bar makes it.  Only the change to the size
// of the case is timed; "max_ms" is the slowest of the 20 changes, and
// "cpu_ms" / "cpu_max_ms" the processor time of the changes, which a busy
// machine disturbs less.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void BM_GlyphSizeChangeTo(benchmark::State& state) {
  const int size = int(state.range(0));
  const int from = size == 32 ? 31 : size + 1;
  Program p;
  p.MakeBusy();
  TImageListZel* list = p.form->ImageListZel1;
  auto change = [&](int to) {
    list->BeginUpdate();
    list->SetSize(to, to);
    list->EndUpdate();
    p.Settle();
  };
  double slowest = 0, cpuSlowest = 0, cpuTotal = 0;
  for (auto _ : state) {
    change(from);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadSeconds();
    change(size);
    const double cpu = ThreadSeconds() - cpuStart;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    slowest = std::max(slowest, seconds);
    cpuSlowest = std::max(cpuSlowest, cpu);
    cpuTotal += cpu;
    if (p.form->ControlBar1->RowSize() < size) {
      state.SkipWithError("the bars did not follow");
      break;
    }
  }
  state.counters["max_ms"] = slowest * 1e3;
  state.counters["cpu_ms"] = cpuTotal * 1e3 / double(std::max<int64_t>(state.iterations(), 1));
  state.counters["cpu_max_ms"] = cpuSlowest * 1e3;
}
BENCHMARK(BM_GlyphSizeChangeTo)
    ->DenseRange(10, 32)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_SwitchColorMap(benchmark::State& state) {
  Program p;
  p.MakeBusy();
  TFrameColorMap* editor = p.form->ColorMapFrame();
  TSpeedButtonZel* buttons[] = {editor->SpeedButtonZel1, editor->SpeedButtonZel3,
                                editor->SpeedButtonZel2};
  int k = 0;
  for (auto _ : state) {
    p.Click(buttons[k % 3]);
    p.Settle();
    if (k++ == 1) p.Picture("bench_color_map");
  }
  if (p.form->GradientActionToolBar1->ColorMap() != editor->CurrentColorMap())
    state.SkipWithError("the bars did not take the map");
}
BENCHMARK(BM_SwitchColorMap)->Unit(benchmark::kMillisecond);

// A click on "Окно" until its drop-down is painted; the drop-down is closed
// again outside the timing.
void BM_OpenWindowMenu(benchmark::State& state) {
  Program p;
  p.MakeBusy();
  TCustomActionControl* windows = p.ControlOf(p.form->actWindows);
  if (!windows) {
    state.SkipWithError("no Окно item on the menu bar");
    return;
  }
  for (auto _ : state) {
    p.Click(windows);
    if (!p.ControlOf(p.form->WindowCascade1)) {
      state.SkipWithError("the menu did not open");
      break;
    }
    p.Picture("bench_window_menu");
    state.PauseTiming();
    p.screen->Key(VK_ESCAPE);
    p.screen->Key(VK_ESCAPE);
    p.Settle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenWindowMenu)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
