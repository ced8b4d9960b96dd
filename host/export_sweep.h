// The sweep: an export called in its calling form with the inputs that break
// setup libraries: null, the empty text, texts around the buffer sizes, texts
// that end in a lone lead byte, double-byte texts, and bars, commas and
// backslashes in odd places. Each call must return, leave the stack as its
// form says and give a result of its kind.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "export_catalog.h"

namespace zelhost {

struct SweepText {
    std::string label;
    bool isNull;
    std::string text;
};

std::vector<SweepText> SingleByteSweepTexts();
// Double-byte characters whose second byte is a backslash, a bar or a comma
// under code page 932.
std::vector<SweepText> DoubleByteSweepTexts();

// Calls the export of dll with every text: a host-record export with each as
// its parameterText and once with a null record, an argument or plain export
// with each in every text argument and each of a few integers in every number
// argument. note hears the export's name before its first call, so that a call
// that never returns leaves that name as the last line. Returns one line per
// fault found; the calls' message boxes are left to the caller.
std::vector<std::string> SweepExport(HMODULE dll, const ExportInfo& info, const std::vector<SweepText>& texts,
                                     const std::function<void(const std::string&)>& note);

} // namespace zelhost
