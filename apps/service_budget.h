// The one time budget of a service stop: read once at the start, spent when
// more milliseconds than the timeout have gone by.
#pragma once

#include <cstdint>

namespace zel {

class StopBudget {
public:
    // startTick: the millisecond tick count read on entry, before anything else.
    StopBudget(uint32_t startTick, uint32_t timeoutMs) : start_(startTick), timeout_(timeoutMs) {}

    // Elapsed time is counted modulo 2^32, so a wrap of the tick counter does
    // not matter; a time equal to the timeout is not yet spent.
    bool Spent(uint32_t nowTick) const { return Elapsed(nowTick) > timeout_; }

    // How long to sleep for a service's wait hint. A hint that fits in the
    // time left is slept as it stands; a longer one (0xFFFFFFFF would be
    // INFINITE) only until the budget is just spent, so that a service that
    // announces an enormous hint cannot hold the installer past the timeout.
    uint32_t SleepFor(uint32_t waitHintMs, uint32_t nowTick) const;

private:
    uint32_t Elapsed(uint32_t nowTick) const { return nowTick - start_; }

    uint32_t start_;
    uint32_t timeout_;
};

} // namespace zel
