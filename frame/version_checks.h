// The running system's version, asked afresh for every question.
#pragma once

#include "frame/code_page.h"
#include "frame/version_rules.h"

namespace zel {

// GetVersionExA with the plain 148-byte record; known is false when it fails.
VersionRecord QueryVersion();

// The lead bytes of the system's ANSI code page.
const LeadByteTable& SystemLeadBytes();

bool IsWindowsNT4OrLater();
bool IsNT4ServicePack6OrLater();

} // namespace zel
