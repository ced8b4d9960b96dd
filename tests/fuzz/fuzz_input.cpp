#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>

namespace zelfuzz {

void Fail(const char* what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

bool IsCharacterStart(const char* text, const char* p, const zel::LeadByteTable& cp)
{
    const char* q = text;
    while (q < p && *q != '\0')
        q = zel::NextChar(q, cp);
    return q == p;
}

} // namespace zelfuzz
