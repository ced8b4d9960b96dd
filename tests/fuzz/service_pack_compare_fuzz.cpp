// The service-pack comparison is an order: a text equals itself, and swapping
// the two sides turns the sign round.
#include "frame/version_rules.h"
#include "fuzz_input.h"

namespace {

int Sign(int n)
{
    return (n > 0) - (n < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const zel::LeadByteTable cp = input.CodePage();
    const std::string a = input.TakeText();
    const std::string b = input.TakeText();

    zelfuzz::Require(zel::CompareServicePackText(a.c_str(), a.c_str(), cp) == 0, "a text equals itself");
    const int ab = zel::CompareServicePackText(a.c_str(), b.c_str(), cp);
    const int ba = zel::CompareServicePackText(b.c_str(), a.c_str(), cp);
    zelfuzz::Require(Sign(ab) == -Sign(ba), "swapping the sides turns the sign round");

    zel::VersionRecord record;
    record.known = true;
    record.major = input.TakeByte() % 8;
    record.minor = input.TakeByte() % 16;
    record.platformId = input.TakeByte() % 4;
    a.copy(record.servicePack, sizeof record.servicePack - 1);
    const zel::GateOutcome gate = zel::EvaluateServerGate(record, cp);
    zelfuzz::Require(gate.result == 0 || gate.result == 1, "the gate answers 0 or 1");
    zel::IsNT4ServicePack6OrLater(record, cp);
    zel::IsNT4BeforeServicePack3(record, cp);
    return 0;
}
