#pragma once
// The source of the tick count and of timer expiry.  The program runs on the
// real monotonic clock; tests install a virtual clock that only moves when
// the test advances it, so timer behaviour is exact and no test sleeps.

#include <cstdint>

#include "platform/Types.h"

namespace zel::sys {

class Clock {
public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; never goes backwards.
  virtual uint64_t NowMs() const = 0;
  virtual bool IsVirtual() const { return false; }
};

// Milliseconds of std::chrono::steady_clock since the program started.
class RealClock final : public Clock {
public:
  uint64_t NowMs() const override;
};

class VirtualClock final : public Clock {
public:
  explicit VirtualClock(uint64_t startMs = 0) : now_(startMs) {}
  uint64_t NowMs() const override { return now_; }
  bool IsVirtual() const override { return true; }
  void Advance(uint64_t ms) { now_ += ms; }
  // Moves the clock to an absolute time; a time in the past is ignored, the
  // clock never runs backwards.
  void AdvanceTo(uint64_t ms) {
    if (ms > now_) now_ = ms;
  }

private:
  uint64_t now_;
};

// The clock everything reads.  SetActiveClock(nullptr) goes back to the real
// clock; the caller keeps ownership of the clock it installs.
Clock& ActiveClock();
void SetActiveClock(Clock* clock);

// The active clock's time, wrapping at 2^32 like the platform's.
DWORD GetTickCount();
uint64_t GetTickCount64();

// Installs a virtual clock for the lifetime of the object (a test's scope)
// and restores the previous clock afterwards.
class ScopedVirtualClock {
public:
  explicit ScopedVirtualClock(uint64_t startMs = 1000);
  ~ScopedVirtualClock();
  ScopedVirtualClock(const ScopedVirtualClock&) = delete;
  ScopedVirtualClock& operator=(const ScopedVirtualClock&) = delete;
  VirtualClock& clock() { return clock_; }
  void Advance(uint64_t ms) { clock_.Advance(ms); }

private:
  VirtualClock clock_;
  Clock* previous_;
};

} // namespace zel::sys
