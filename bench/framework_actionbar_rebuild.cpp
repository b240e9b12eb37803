// The rebuild of an action bar's controls from its items, as a loaded
// configuration or a change of style causes it: a main menu bar and a tool
// bar of N items on a shown form of the headless screen.  The bar is aligned
// once per rebuild, so the time grows with N; it used to be aligned once per
// control made and placed, which made it grow with the square of N (a
// configuration of 10 000 menu items took seconds to show).  A configuration
// may hold 1024 items in one list; the larger N show how the time grows.
//
// Each case checks that the bar really holds N controls afterwards, so that
// a figure never stands for work that was skipped.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "framework/actions/ActnList.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/actnbars/StdStyleActnCtrls.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "platform/backend/Headless.h"
#include "platform/user/WindowSystem.h"

namespace {

using namespace zel;

// A shown form with a manager whose one bar holds count items, each with
// an action of its own.
template <class Bar> class BarOfItems {
public:
  explicit BarOfItems(int count) {
    sys::UseHeadlessBackend();
    RegisterActnBarStyle(StandardStyle());
    app = std::make_unique<TApplication>();
    TForm* form = app->CreateForm<TForm>();
    form->SetBounds(0, 0, 800, 600);
    auto* actions = new TActionList(form);
    manager = new TActionManager(form);
    bar = new Bar(form);
    bar->SetParent(form);
    bar->SetAlign(alTop);
    bar->SetActionManager(manager);
    TActionBarItem* barItem = manager->ActionBars()->Add();
    barItem->SetActionBar(bar);
    for (int i = 0; i < count; ++i) {
      auto* a = new TAction(form);
      a->SetActionList(actions);
      a->SetCaption("Item " + std::to_string(i));
      barItem->Items()->Add()->SetAction(a);
    }
    form->Show();
  }
  ~BarOfItems() {
    app.reset();
    UnRegisterActnBarStyle(StandardStyle());
    sys::ResetWindowSystem();
  }
  BarOfItems(const BarOfItems&) = delete;
  BarOfItems& operator=(const BarOfItems&) = delete;

  std::unique_ptr<TApplication> app;
  TActionManager* manager = nullptr;
  Bar* bar = nullptr;
};

template <class Bar> void BM_RecreateControls(benchmark::State& state) {
  const int count = int(state.range(0));
  BarOfItems<Bar> program(count);
  for (auto _ : state) {
    program.bar->RecreateControls();
    if (program.bar->ActionControlCount() != count) state.SkipWithError("controls missing");
  }
  state.SetComplexityN(count);
}

BENCHMARK_TEMPLATE(BM_RecreateControls, TActionMainMenuBar)
    ->RangeMultiplier(4)
    ->Range(256, 4096)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_TEMPLATE(BM_RecreateControls, TActionToolBar)
    ->RangeMultiplier(4)
    ->Range(256, 4096)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

BENCHMARK_MAIN();
