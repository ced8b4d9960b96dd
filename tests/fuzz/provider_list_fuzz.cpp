// The provider order edits: whatever the list, the product's entry is cut
// out without touching another provider's name, put first without losing an
// entry, and the move to the front always ends.
#include <optional>
#include <string>
#include <vector>

#include "config/provider_list.h"
#include "fuzz_input.h"

namespace {

// A store that fails some writes, as the registry may.
class FlakyStore : public zel::ProviderOrderStore {
public:
    FlakyStore(std::string list, uint32_t failingWrites) : list_(std::move(list)), failing_(failingWrites) {}
    std::optional<std::string> Read() const override { return list_; }
    void Write(const std::string& list) const override
    {
        ++writes_;
        zelfuzz::Require(writes_ < 10000, "the move to the front ends");
        const bool fails = (failing_ & 1) != 0;
        failing_ >>= 1;
        if (!fails)
            list_ = list;
    }
    const std::string& List() const { return list_; }

private:
    mutable std::string list_;
    mutable uint32_t failing_;
    mutable int writes_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const zel::LeadByteTable cp = input.CodePage();
    const uint32_t failingWrites = input.TakeWord();
    const std::string list = input.TakeText();

    const size_t at = zel::FindProviderOccurrence(list, cp);
    const auto without = zel::ListWithoutProvider(list, cp);
    zelfuzz::Require(without.has_value() == (at != std::string::npos), "a list is changed only when it holds the entry");
    if (at != std::string::npos) {
        zelfuzz::Require(list.compare(at, 6, "QDVNET") == 0, "the occurrence is the product's name");
        zelfuzz::Require(at == 0 || list[at - 1] == ',', "the occurrence begins an entry");
        zelfuzz::Require(zelfuzz::IsCharacterStart(list.c_str(), list.c_str() + at, cp), "on a character");
        zelfuzz::Require(without->size() < list.size(), "the removal shortens the list");
        zelfuzz::Require(list.compare(0, std::min(at, without->size()), *without, 0, std::min(at, without->size())) == 0 ||
                             at == 0 || without->size() < at,
                         "what comes before the entry stays");
    }
    if (zel::PlanAddFirst(list, cp) == zel::AddStep::Prepend)
        zelfuzz::Require(zel::PrependedList(list).compare(0, 6, "QDVNET") == 0, "prepended first");

    FlakyStore store(list, failingWrites);
    zel::PutProviderFirst(store, cp);
    FlakyStore removing(list, failingWrites);
    zel::RemoveProviderFrom(removing, cp);
    return 0;
}
