// The Windows version the test program was started as.
#pragma once

#include <string>

namespace zeltest {

void SetSystemName(const std::string& name);
const std::string& SystemName();

// The ANSI code page the run was started for (--zel-codepage=N), 0 when any.
void SetExpectedCodePage(unsigned codePage);
unsigned ExpectedCodePage();

} // namespace zeltest
