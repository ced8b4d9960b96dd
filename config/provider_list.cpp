#include "config/provider_list.h"

#include <cstring>

namespace zel {

const char kProductProvider[] = "QDVNET";

namespace {

constexpr size_t kProviderLength = sizeof(kProductProvider) - 1;

} // namespace

size_t FindProviderOccurrence(const std::string& list, const LeadByteTable& cp)
{
    const char* text = list.c_str();
    bool entryStart = true;
    for (const char* p = text; *p != '\0'; p = NextChar(p, cp)) {
        if (entryStart && std::strncmp(p, kProductProvider, kProviderLength) == 0)
            return static_cast<size_t>(p - text);
        entryStart = *p == ',';
    }
    return std::string::npos;
}

AddStep PlanAddFirst(const std::string& list, const LeadByteTable& cp)
{
    const size_t at = FindProviderOccurrence(list, cp);
    if (at == std::string::npos)
        return AddStep::Prepend;
    // The name is plain ASCII, so the byte after it starts a character.
    const char after = list.c_str()[at + kProviderLength];
    if (after != '\0' && after != ',')
        return AddStep::Prepend;
    return at == 0 ? AddStep::AlreadyFirst : AddStep::MoveToFront;
}

std::string PrependedList(const std::string& list)
{
    if (list.empty())
        return kProductProvider;
    return std::string(kProductProvider) + "," + list;
}

std::optional<std::string> ListWithoutProvider(const std::string& list, const LeadByteTable& cp)
{
    const size_t at = FindProviderOccurrence(list, cp);
    if (at == std::string::npos)
        return std::nullopt;
    const char* text = list.c_str();
    const char* comma = FindFirstChar(text + at, ',', cp);
    if (comma != nullptr)
        return list.substr(0, at) + (comma + 1);
    // The last entry: an occurrence past the start follows a comma.
    return list.substr(0, at == 0 ? 0 : at - 1);
}

void RemoveProviderFrom(const ProviderOrderStore& store, const LeadByteTable& cp)
{
    const std::optional<std::string> list = store.Read();
    if (!list)
        return;
    if (const std::optional<std::string> shorter = ListWithoutProvider(*list, cp))
        store.Write(*shorter);
}

void PutProviderFirst(const ProviderOrderStore& store, const LeadByteTable& cp)
{
    std::optional<size_t> previousLength;
    for (;;) {
        const std::optional<std::string> list = store.Read();
        if (!list || (previousLength && list->size() >= *previousLength))
            return;
        switch (PlanAddFirst(*list, cp)) {
        case AddStep::AlreadyFirst:
            return;
        case AddStep::Prepend:
            store.Write(PrependedList(*list));
            return;
        case AddStep::MoveToFront:
            RemoveProviderFrom(store, cp);
            previousLength = list->size();
            break;
        }
    }
}

} // namespace zel
