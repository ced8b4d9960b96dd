// The install action log named by the setup INI file of the script.
#pragma once

namespace zel {

// Appends "time : message" to the file that "InstallActionLog" of section
// "Configuration" names. 1 when the setup INI file names a log (written or
// not), 0 when the path is missing or empty or it names no log.
int AppendActionLog(const char* setupIniPath, const char* message);

} // namespace zel
