// Install location, product INI path, edition and display name over the real
// registry of the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "frame/module_app.h"
#include "host/raw_call.h"
#include "module_under_test.h"
#include "registry_fixture.h"
#include "settings/product_identity.h"
#include "settings/product_registry.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

const char kDefaultLocation[] = "C:\\Program Files\\Kelvaron\\Vantorell";

std::string InstallLocation()
{
    char buffer[260];
    std::memset(buffer, '#', sizeof(buffer));
    zel::GetInstallLocation(buffer, sizeof(buffer));
    return buffer;
}

TEST(InstallLocation, StoredTextWithoutOneTrailingBackslash)
{
    ScopedProduct product("Location");
    const std::string path = product.Path("Current Version");
    struct Case {
        std::string stored;
        std::string location;
    };
    const Case cases[] = {
        {"D:\\Apps\\Tool\\", "D:\\Apps\\Tool"},
        {"C:\\Data\\\\", "C:\\Data\\"},
        {"C:\\", "C:"},
        {"E:\\Plain", "E:\\Plain"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SetTextValue(HKEY_LOCAL_MACHINE, path, "Install Location", c.stored);
        EXPECT_EQ(InstallLocation(), c.location) << c.stored;
        EXPECT_EQ(zel::GetProductIniPath(), c.location + "\\QDVPRIME.INI") << c.stored;
    }
}

TEST(InstallLocation, UnreadableValueGivesTheDefault)
{
    ScopedProduct product("NoLocation");
    EXPECT_EQ(InstallLocation(), kDefaultLocation); // no "Current Version" key
    EXPECT_EQ(zel::GetProductIniPath(), std::string(kDefaultLocation) + "\\QDVPRIME.INI");
    const std::string path = product.Path("Current Version");
    SetDwordValue(HKEY_LOCAL_MACHINE, path, "ProductId", 1);
    EXPECT_EQ(InstallLocation(), kDefaultLocation); // no value
    SetTextValue(HKEY_LOCAL_MACHINE, path, "Install Location", "C:\\" + std::string(300, 'x'));
    EXPECT_EQ(InstallLocation(), kDefaultLocation); // larger than the buffer
    // 260 bytes without a NUL fill the buffer: they cannot be ended inside it.
    const std::string full(260, 'y');
    SetRawValue(HKEY_LOCAL_MACHINE, path, "Install Location", REG_BINARY, full.data(), 260);
    EXPECT_EQ(InstallLocation(), kDefaultLocation);

    char small[20];
    std::memset(small, '#', sizeof(small));
    zel::GetInstallLocation(small, sizeof(small));
    EXPECT_STREQ(small, ""); // the default does not fit: not cut
}

TEST(InstallLocation, DataWithoutTerminatorOrDataIsEnded)
{
    ScopedProduct product("LocationEnds");
    const std::string path = product.Path("Current Version");
    SetRawValue(HKEY_LOCAL_MACHINE, path, "Install Location", REG_BINARY, "C:\\Bin", 6);
    EXPECT_EQ(InstallLocation(), "C:\\Bin");
    SetRawValue(HKEY_LOCAL_MACHINE, path, "Install Location", REG_BINARY, "", 0);
    EXPECT_EQ(InstallLocation(), "");
}

TEST(InstallLocation, KeyPathThatDoesNotFitGivesTheDefault)
{
    // Software\{120}\{120}\Current Version is 266 characters. The ANSI
    // registry calls take no longer path, so the key is made part by part.
    const std::string company = UniqueName("Long") + std::string(120 - UniqueName("Long").size(), 'c');
    ScopedProduct product(company, std::string(120, 'p'));
    HKEY companyKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, ("Software\\" + company).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &companyKey, nullptr),
              ERROR_SUCCESS);
    SetTextValue(companyKey, std::string(120, 'p') + "\\Current Version", "Install Location", "C:\\Reached");
    RegCloseKey(companyKey);
    EXPECT_EQ(InstallLocation(), kDefaultLocation);
}

TEST(ProductIdentity, EditionSelectsTheDisplayName)
{
    ScopedProduct product("Edition");
    const std::string path = product.Path("Current Version");
    struct Case {
        const char* productId; // null: absent; "text": stored as a string
        std::optional<std::string> productName;
        DWORD edition;
        std::string displayName;
    };
    const Case cases[] = {
        {"0", "Named", 0, "Halcyra"},
        {"1", std::nullopt, 1, "Halcyra Tandem Edition"},
        {"2", std::nullopt, 2, "Halcyra Relay Edition"},
        {"3", "Named", 3, "Halcyra Summit Edition"},
        {"4", std::nullopt, 4, "Halcyra"},
        {nullptr, "Custom Name", 0xFFFFFFFF, "Custom Name"},
        {"text", "From Name", 0xFFFFFFFF, "From Name"},
        {"4", std::string(300, 'N'), 4, std::string(259, 'N')}, // cut to the cache
    };
    for (const Case& c : cases) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path);
        if (c.productId != nullptr && std::string(c.productId) == "text")
            SetTextValue(HKEY_LOCAL_MACHINE, path, "ProductId", "1");
        else if (c.productId != nullptr)
            SetDwordValue(HKEY_LOCAL_MACHINE, path, "ProductId", std::stoul(c.productId));
        if (c.productName)
            SetTextValue(HKEY_LOCAL_MACHINE, path, "ProductName", *c.productName);
        zel::ProductIdentity identity;
        EXPECT_EQ(identity.Edition(), c.edition) << c.displayName;
        EXPECT_EQ(identity.DisplayName(), c.displayName);
    }
}

TEST(ProductIdentity, FilledNameNeverChangesAnEmptyOneIsLookedUpAgain)
{
    ScopedProduct product("Cache");
    const std::string path = product.Path("Current Version");
    SetTextValue(HKEY_LOCAL_MACHINE, path, "ProductName", "");
    zel::ProductIdentity identity;
    const char* cache = identity.DisplayName();
    EXPECT_STREQ(cache, "");
    // The edition is not read again: a later ProductId 1 does not count.
    SetDwordValue(HKEY_LOCAL_MACHINE, path, "ProductId", 1);
    SetTextValue(HKEY_LOCAL_MACHINE, path, "ProductName", "Later");
    EXPECT_EQ(identity.DisplayName(), cache);
    EXPECT_STREQ(cache, "Later");
    SetTextValue(HKEY_LOCAL_MACHINE, path, "ProductName", "Changed");
    EXPECT_STREQ(identity.DisplayName(), "Later");
    EXPECT_EQ(identity.Edition(), 0xFFFFFFFFu);
}

// The test program's load registered the product as edition 1 under the
// default names (test_main.cpp).
TEST(SetupAppName, EditionAtLoadNamesTheApplication)
{
    const char* atLoad = zel::GetProductDisplayName();
    EXPECT_STREQ(atLoad, "Halcyra Tandem Edition");
    EXPECT_EQ(zel::ModuleApp::Current()->AppName(), "Halcyra Tandem Edition");
    ScopedProduct product("AppName");
    SetDwordValue(HKEY_LOCAL_MACHINE, product.Path("Current Version"), "ProductId", 2);
    SetTextValue(HKEY_LOCAL_MACHINE, product.Path("Current Version"), "Install Location", "F:\\Other\\");
    EXPECT_EQ(zel::GetProductDisplayName(), atLoad);
    EXPECT_STREQ(zel::GetProductDisplayName(), "Halcyra Tandem Edition");
    EXPECT_EQ(zel::ModuleApp::Current()->AppName(), "Halcyra Tandem Edition");
    EXPECT_EQ(zel::GetProductEdition(), 1u);
    EXPECT_EQ(zel::GetProductIniPath(), "F:\\Other\\QDVPRIME.INI"); // follows the new names
}

TEST(DefaultInstallLocationExport, FixedTextWhateverTheNames)
{
    const auto defaultLocation = Module().Export<ZelTextExport>("JTSetupGetDefaultInstallLocation", 34);
    const auto setRegistryInfo = Module().Export<ZelSetRegistryInfoExport>("ZELSetup_SetRegistryInfo", 38);
    const char* first = defaultLocation();
    EXPECT_STREQ(first, kDefaultLocation);
    setRegistryInfo("OtherCo", "OtherProduct");
    EXPECT_EQ(defaultLocation(), first);
    EXPECT_STREQ(first, kDefaultLocation);
    setRegistryInfo("Kelvaron", "Vantorell");
}

TEST(CallingForms, SettingsExportsArePlain)
{
    const char* company = "Kelvaron";
    const char* product = "Vantorell";
    const uint32_t names[] = {reinterpret_cast<uint32_t>(company), reinterpret_cast<uint32_t>(product)};
    EXPECT_EQ(zelcall::CallAndMeasureStack(Module().Export<const void*>("ZELSetup_SetRegistryInfo", 38), names, 2)
                  .bytesRemoved,
              0);
    const zelcall::ProbedCall location =
        zelcall::CallAndMeasureStack(Module().Export<const void*>("JTSetupGetDefaultInstallLocation", 34), names, 2);
    EXPECT_EQ(location.bytesRemoved, 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(location.result), kDefaultLocation);
}

} // namespace
} // namespace zeltest
