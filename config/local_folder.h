// The check that a destination folder lies on a local drive and is more than
// the bare root of a drive.
#pragma once

#include "zelsetup.h"

namespace zel {

// 0 when the record's folder is accepted; 1 when it is missing, or refused
// after telling the user why in a box owned by the record's window. Shows
// the wait cursor throughout, the box included.
int ValidateLocalDirectory(const HostCallRecord* record);

} // namespace zel
