// Reads back the debug ring in a product INI file.
#pragma once

#include <string>
#include <vector>

namespace zeltest {

// The line under key without its time stamp, which must be well formed;
// "(not stamped) " and the whole line otherwise.
std::string RingLineText(const std::string& ini, const std::string& key);

// The texts of the lines 001 to "LastLine", for a ring that has not wrapped.
std::vector<std::string> RingLines(const std::string& ini);

} // namespace zeltest
