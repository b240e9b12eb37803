#include "platform/clock/Clock.h"

#include <chrono>

namespace zel::sys {

namespace {

const std::chrono::steady_clock::time_point kStart = std::chrono::steady_clock::now();

RealClock& TheRealClock() {
  static RealClock clock;
  return clock;
}

Clock* g_active = nullptr;

} // namespace

uint64_t RealClock::NowMs() const {
  auto elapsed = std::chrono::steady_clock::now() - kStart;
  // Starts at one second so that a tick count of zero never means "now".
  return 1000 + uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

Clock& ActiveClock() {
  return g_active ? *g_active : TheRealClock();
}

void SetActiveClock(Clock* clock) {
  g_active = clock;
}

DWORD GetTickCount() {
  return DWORD(ActiveClock().NowMs());
}

uint64_t GetTickCount64() {
  return ActiveClock().NowMs();
}

ScopedVirtualClock::ScopedVirtualClock(uint64_t startMs) : clock_(startMs), previous_(g_active) {
  SetActiveClock(&clock_);
}

ScopedVirtualClock::~ScopedVirtualClock() {
  SetActiveClock(previous_);
}

} // namespace zel::sys
