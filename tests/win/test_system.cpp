#include "test_system.h"

namespace zeltest {
namespace {

std::string& Name()
{
    static std::string name = "win7";
    return name;
}

} // namespace

void SetSystemName(const std::string& name)
{
    Name() = name;
}

const std::string& SystemName()
{
    return Name();
}

} // namespace zeltest
