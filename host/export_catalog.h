// The exports that zelhost knows, with the calling form and the argument and
// result kinds of each: the public header's table (ZELSETUP_EXPORTS).
#pragma once

#include <cstddef>

namespace zelhost {

enum class Form { HostRecord, Argument, Plain };

// Argument kinds: 's' text (may be null), 'i' int.
// Result kinds: 'i' int, 's' text pointer, 'v' none.
struct ExportInfo {
    const char* name;
    unsigned ordinal;
    Form form;
    const char* arguments; // for the host-record form: "" or "s" (parameterText)
    char result;
};

const ExportInfo* FindExport(const char* name);
const ExportInfo* ExportsBegin();
const ExportInfo* ExportsEnd();

const char* FormName(Form form);

} // namespace zelhost
