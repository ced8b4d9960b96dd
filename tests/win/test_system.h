// The Windows version the test program was started as.
#pragma once

#include <string>

namespace zeltest {

void SetSystemName(const std::string& name);
const std::string& SystemName();

} // namespace zeltest
