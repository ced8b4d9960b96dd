// The network provider order of the prefix, taken in turn by the test
// programs, and a check of what the two exports make of a stored list.
#pragma once

#include <optional>
#include <string>

#include "shared_value_guard.h"

namespace zeltest {

extern const char kProviderOrderKey[];

// HKEY_LOCAL_MACHINE\...\NetworkProvider\Order "ProviderOrder" under the
// mutex that every test of the value takes.
class ProviderOrderGuard : public SharedValueGuard {
public:
    ProviderOrderGuard();
};

struct ProviderCase {
    std::optional<std::string> stored; // null: no value
    // Null: the value is left as it was stored, byte for byte.
    std::optional<std::string> afterAdd;
    std::optional<std::string> afterRemove;
};

// Stores the case's list, calls each export once and checks what it left.
void CheckProviderCase(const ProviderOrderGuard& order, const ProviderCase& c);

} // namespace zeltest
