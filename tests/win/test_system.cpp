#include "test_system.h"

namespace zeltest {
namespace {

std::string& Name()
{
    static std::string name = "win7";
    return name;
}

unsigned& CodePage()
{
    static unsigned codePage = 0;
    return codePage;
}

} // namespace

void SetExpectedCodePage(unsigned codePage)
{
    CodePage() = codePage;
}

unsigned ExpectedCodePage()
{
    return CodePage();
}

void SetSystemName(const std::string& name)
{
    Name() = name;
}

const std::string& SystemName()
{
    return Name();
}

} // namespace zeltest
