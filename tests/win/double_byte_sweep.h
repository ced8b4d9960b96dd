// The sweep of every export with texts of double-byte characters, for the
// run under code page 932 (the code page tests share one fixture).
#pragma once

namespace zeltest {

void SweepEveryExportWithDoubleByteTexts();

} // namespace zeltest
