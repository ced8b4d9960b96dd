// GoogleTest's own printer, except for the results of test parts. Its printer
// also hands each failure and skip to OutputDebugStringA, whose exception the
// 32-bit Wine under qemu-user does not survive: the program died at its first
// failure or skip, and its report was lost.
#pragma once

#include <gtest/gtest.h>

namespace zeltest {

// Puts the printer in place of GoogleTest's default one.
void UseResultPrinterWithoutDebugOutput();

} // namespace zeltest
