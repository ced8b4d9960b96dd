// Edits of the network provider order: a comma-separated list of provider
// names, in which the product's provider is the entry "QDVNET". Kept free of
// <windows.h>; the registry side is in provider_order.cpp.
#pragma once

#include <optional>
#include <string>

#include "frame/code_page.h"

namespace zel {

extern const char kProductProvider[]; // "QDVNET"

// Offset of the first occurrence of the product's name that begins an entry
// (at the start of the list or right after a comma), or std::string::npos.
// An occurrence inside another entry is part of another provider's name:
// cutting there would join what is left of that entry to the next one.
size_t FindProviderOccurrence(const std::string& list, const LeadByteTable& cp);

// What putting the product's provider first takes.
enum class AddStep {
    AlreadyFirst, // the list is in order: nothing to write
    MoveToFront,  // its entry stands later: remove it, then add again
    Prepend,      // no entry of its own: write PrependedList
};
AddStep PlanAddFirst(const std::string& list, const LeadByteTable& cp);

// "QDVNET" for an empty list, else "QDVNET," and the list.
std::string PrependedList(const std::string& list);

// The list with the occurrence cut out together with the rest of its entry
// and the comma that ends it; when it is the last entry, the comma before it
// goes instead, so that no empty entry is left at the end. Null when the list
// holds no occurrence, and so is not to be written.
std::optional<std::string> ListWithoutProvider(const std::string& list, const LeadByteTable& cp);

// Where the list is kept: the registry, or a test's own store.
class ProviderOrderStore {
public:
    virtual ~ProviderOrderStore() = default;
    // The list as stored, a missing list as empty; null when it cannot be
    // read whole, and so must not be replaced.
    virtual std::optional<std::string> Read() const = 0;
    virtual void Write(const std::string& list) const = 0;
};

// Cuts the product's entry out of the stored list; writes nothing when the
// list holds none.
void RemoveProviderFrom(const ProviderOrderStore& store, const LeadByteTable& cp);

// Makes the product's entry the first of the stored list. An entry further
// back is removed and the list read again, until it stands first; each pass
// must find a shorter list than the one before, so a removal whose write
// failed, or a writer that keeps putting entries back, ends the repetition.
void PutProviderFirst(const ProviderOrderStore& store, const LeadByteTable& cp);

} // namespace zel
