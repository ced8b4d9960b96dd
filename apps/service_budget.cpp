#include "apps/service_budget.h"

namespace zel {

uint32_t StopBudget::SleepFor(uint32_t waitHintMs, uint32_t nowTick) const
{
    const uint32_t elapsed = Elapsed(nowTick);
    if (elapsed > timeout_)
        return 0;
    const uint32_t left = timeout_ - elapsed;
    // left < waitHintMs <= 0xFFFFFFFF, so left + 1 cannot wrap.
    return waitHintMs <= left ? waitHintMs : left + 1;
}

} // namespace zel
