// Calls a function through its bare address with 32-bit arguments and measures
// how many argument bytes the callee removed from the stack: the argument size
// for stdcall, 0 for the C calling convention. The caller's stack is the same
// after the call in either case.
#pragma once

#include <cstdint>

namespace zelcall {

struct ProbedCall {
    uint32_t result;      // eax after the call
    int bytesRemoved;     // by the callee
};

inline ProbedCall CallAndMeasureStack(const void* fn, const uint32_t* args, uint32_t count)
{
    uint32_t result;
    uint32_t espBefore;
    uint32_t espAfter;
    uint32_t scratchCount = count;
    const void* scratchFn = fn;
    // esi and edi survive the call (callee-saved); ecx and edx do not.
    __asm__ volatile("movl %%esp, %%esi\n\t"
                     "1:\n\t"
                     "testl %%ecx, %%ecx\n\t"
                     "jz 2f\n\t"
                     "pushl -4(%%ebx,%%ecx,4)\n\t"
                     "decl %%ecx\n\t"
                     "jmp 1b\n\t"
                     "2:\n\t"
                     "call *%%edx\n\t"
                     "movl %%esp, %%edi\n\t"
                     "movl %%esi, %%esp\n\t"
                     : "=a"(result), "=S"(espBefore), "=D"(espAfter), "+c"(scratchCount), "+d"(scratchFn)
                     : "b"(args)
                     : "memory", "cc");
    const uint32_t espAtCall = espBefore - 4 * count;
    return {result, static_cast<int>(espAfter - espAtCall)};
}

} // namespace zelcall
