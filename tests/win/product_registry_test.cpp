// The product key operations over the real registry of the prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "registry_fixture.h"
#include "settings/product_registry.h"

namespace zeltest {
namespace {

// The value's type and bytes as the registry holds them.
struct StoredValue {
    DWORD type = REG_NONE;
    std::string bytes;
    bool present = false;
};

StoredValue ReadStored(HKEY root, const std::string& path, const char* name)
{
    StoredValue v;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    char data[1024];
    DWORD size = sizeof(data);
    v.present = RegQueryValueExA(key, name, nullptr, &v.type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
    if (v.present)
        v.bytes.assign(data, size);
    RegCloseKey(key);
    return v;
}

TEST(RegistryNames, NullOrLongNamesChangeNothing)
{
    ScopedProduct product("Names");
    const std::string company = product.Company();
    const std::string long260(260, 'n');
    const char* refused[][2] = {
        {nullptr, "P"}, {"C", nullptr}, {long260.c_str(), "P"}, {"C", long260.c_str()}};
    for (const auto& names : refused) {
        zel::SetRegistryNames(names[0], names[1]);
        EXPECT_EQ(zel::RegistryCompanyName(), company);
        EXPECT_STREQ(zel::RegistryProductName(), "Product");
    }
    const std::string long259(259, 'm');
    zel::SetRegistryNames(long259.c_str(), long259.c_str());
    EXPECT_EQ(zel::RegistryCompanyName(), long259);
    EXPECT_EQ(zel::RegistryProductName(), long259);
    EXPECT_STREQ(zel::RegistryFirstComponent(), "Software");
}

TEST(ProductKey, AbsentKeyGivesTheDefaults)
{
    ScopedProduct product("Absent");
    EXPECT_EQ(zel::ReadProductDword("Preferences", "X", 77, HKEY_LOCAL_MACHINE), 77u);
    const char* fallback = "fallback";
    EXPECT_EQ(zel::ReadProductString("Preferences", "X", fallback, HKEY_CURRENT_USER), fallback);
    EXPECT_EQ(zel::OpenProductRootKey(HKEY_LOCAL_MACHINE, 0), nullptr);
    EXPECT_EQ(zel::OpenProductKey("Preferences", HKEY_CURRENT_USER, 0), nullptr);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\" + product.Company()));
}

TEST(ProductKey, WritesCreateTheChainButNeverSoftware)
{
    ScopedProduct product("Chain");
    EXPECT_EQ(zel::WriteProductDword("Reserved", "ExitWindows", 1, HKEY_CURRENT_USER), 1);
    EXPECT_EQ(zel::ReadProductDword("Reserved", "ExitWindows", 0, HKEY_CURRENT_USER), 1u);
    EXPECT_EQ(zel::WriteProductString("Preferences", "LastSetupTime", "now", HKEY_LOCAL_MACHINE), 1);
    const StoredValue stored = ReadStored(HKEY_LOCAL_MACHINE, product.Path("Preferences"), "LastSetupTime");
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.bytes, std::string("now", 4)); // with its terminator

    // A root without a "Software" key: nothing is created under it.
    const std::string bare = UniqueName("BareRoot");
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, bare.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(zel::WriteProductDword("Preferences", "X", 1, root), 0);
    EXPECT_EQ(zel::WriteProductString("Preferences", "X", "t", root), 0);
    EXPECT_EQ(zel::OpenProductKey("Preferences", root, 1), nullptr);
    EXPECT_FALSE(KeyExists(root, "Software"));
    RegCloseKey(root);
    DeleteKeyTree(HKEY_CURRENT_USER, bare);
}

TEST(ProductKey, OpenedHandlesBelongToTheCaller)
{
    ScopedProduct product("Handles");
    HKEY created = zel::OpenProductKey("Preferences", HKEY_CURRENT_USER, 1);
    ASSERT_NE(created, nullptr);
    DWORD value = 5;
    EXPECT_EQ(RegSetValueExA(created, "V", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4), ERROR_SUCCESS);
    RegCloseKey(created);
    HKEY rootKey = zel::OpenProductRootKey(HKEY_CURRENT_USER, 0);
    ASSERT_NE(rootKey, nullptr);
    EXPECT_TRUE(KeyExists(rootKey, "Preferences"));
    RegCloseKey(rootKey);
    EXPECT_EQ(zel::ReadProductDword("Preferences", "V", 0, HKEY_CURRENT_USER), 5u);
}

TEST(ReadProductDword, OnlyAFourByteDword)
{
    ScopedProduct product("Dword");
    const std::string path = product.Path("Current Version");
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
        DWORD expected;
    };
    const DWORD kDefault = 0xDEFA;
    const Case cases[] = {
        {"Dword", REG_DWORD, std::string("\x07\x00\x00\x00", 4), 7},
        {"Binary4", REG_BINARY, std::string("\x07\x00\x00\x00", 4), kDefault},
        {"Text4", REG_SZ, std::string("abc", 4), kDefault},
        {"Short2", REG_DWORD, std::string("\x07\x00", 2), kDefault}, // would leave half the number unset
        {"Empty", REG_DWORD, std::string(), kDefault},
        {"Long8", REG_BINARY, std::string(8, '\x01'), kDefault},
    };
    for (const Case& c : cases) {
        SetRawValue(HKEY_LOCAL_MACHINE, path, c.name, c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        EXPECT_EQ(zel::ReadProductDword("Current Version", c.name, kDefault, HKEY_LOCAL_MACHINE), c.expected)
            << c.name;
    }
}

TEST(ReadProductString, ShortAndLongStoresGiveTheWholeText)
{
    ScopedProduct product("Stores");
    const std::string path = product.Path("Current Version");
    const std::string text258(258, 's'); // 259 bytes with the NUL: the short store
    const std::string text259(259, 'l'); // 260 bytes: the long store
    SetTextValue(HKEY_LOCAL_MACHINE, path, "Short", text258);
    SetTextValue(HKEY_LOCAL_MACHINE, path, "Long", text259);
    SetTextValue(HKEY_LOCAL_MACHINE, path, "Other", "x");

    const char* shortText = zel::ReadProductString("Current Version", "Short", "d", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(shortText, text258);
    const char* longText = zel::ReadProductString("Current Version", "Long", "d", HKEY_LOCAL_MACHINE);
    EXPECT_EQ(longText, text259);
    EXPECT_NE(shortText, longText);
    // Another short read reuses the short store and leaves the long one alone.
    EXPECT_EQ(zel::ReadProductString("Current Version", "Other", "d", HKEY_LOCAL_MACHINE), shortText);
    EXPECT_EQ(longText, text259);
    EXPECT_STREQ(shortText, "x");
}

TEST(ReadProductString, DataWithoutTerminatorOrDataIsEndedAfterItsBytes)
{
    ScopedProduct product("Ends");
    const std::string path = product.Path("Current Version");
    struct Case {
        const char* name;
        std::string bytes; // stored as REG_BINARY: exactly these bytes
        std::string expected;
    };
    const Case cases[] = {
        {"NoNul", "abc", "abc"},
        {"Nothing", "", ""},
        {"NoNul259", std::string(259, 'e'), std::string(259, 'e')},
        {"LongNoNul", std::string(300, 'f'), std::string(300, 'f')},
    };
    // Each read follows one of a longer text in the same store.
    SetTextValue(HKEY_LOCAL_MACHINE, path, "ShortStale", std::string(200, 'X'));
    SetTextValue(HKEY_LOCAL_MACHINE, path, "LongStale", std::string(500, 'Y'));
    for (const Case& c : cases) {
        SetRawValue(HKEY_LOCAL_MACHINE, path, c.name, REG_BINARY, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        const bool longStore = c.bytes.size() >= 260;
        zel::ReadProductString("Current Version", longStore ? "LongStale" : "ShortStale", "d", HKEY_LOCAL_MACHINE);
        EXPECT_EQ(zel::ReadProductString("Current Version", c.name, "d", HKEY_LOCAL_MACHINE), c.expected) << c.name;
    }
}

TEST(WriteProductString, DeleteModes)
{
    ScopedProduct product("Delete");
    // A missing subkey: 0, and nothing is created.
    EXPECT_EQ(zel::WriteProductString("Preferences", nullptr, "ignored", HKEY_CURRENT_USER), 0);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\" + product.Company()));
    // A missing value: 0, and the subkey is left created.
    EXPECT_EQ(zel::WriteProductString("Preferences", "Missing", nullptr, HKEY_CURRENT_USER), 0);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, product.Path("Preferences")));

    ASSERT_EQ(zel::WriteProductString("Preferences", "V", "t", HKEY_CURRENT_USER), 1);
    EXPECT_EQ(zel::WriteProductString("Preferences", "V", nullptr, HKEY_CURRENT_USER), 1);
    EXPECT_FALSE(ReadStored(HKEY_CURRENT_USER, product.Path("Preferences"), "V").present);
    EXPECT_EQ(zel::WriteProductString("Preferences", nullptr, nullptr, HKEY_CURRENT_USER), 1);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, product.Path("Preferences")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, product.Path()));
}

TEST(ReadSystemString, WholeTextEndedOrNothing)
{
    ScopedProduct product("System");
    const std::string path = product.Path("Sys");
    SetTextValue(HKEY_CURRENT_USER, path, "Text", "abc");
    SetRawValue(HKEY_CURRENT_USER, path, "NoNul", REG_BINARY, "wxyz", 4);
    char buffer[8];

    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(zel::ReadSystemString(HKEY_CURRENT_USER, path.c_str(), "Text", buffer, sizeof(buffer)), 1);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(zel::ReadSystemString(HKEY_CURRENT_USER, path.c_str(), "NoNul", buffer, sizeof(buffer)), 1);
    EXPECT_STREQ(buffer, "wxyz");
    // Four bytes without a NUL cannot be ended inside four bytes.
    EXPECT_EQ(zel::ReadSystemString(HKEY_CURRENT_USER, path.c_str(), "NoNul", buffer, 4), 0);
    EXPECT_EQ(zel::ReadSystemString(HKEY_CURRENT_USER, path.c_str(), "Text", buffer, 3), 0);
    EXPECT_EQ(zel::ReadSystemString(HKEY_CURRENT_USER, path.c_str(), "Missing", buffer, sizeof(buffer)), 0);

    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(zel::ReadSystemString(HKEY_CURRENT_USER, (path + "\\None").c_str(), "Text", buffer, sizeof(buffer)), 0);
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), std::string(8, '#')); // untouched
}

TEST(ReadPreference, UserDwordOverMachineDwordOverDefault)
{
    ScopedProduct product("Prefs");
    const std::string prefs = product.Path("Preferences");
    EXPECT_EQ(zel::ReadPreference("P", 9), 9u);

    SetDwordValue(HKEY_LOCAL_MACHINE, prefs, "P", 1);
    EXPECT_EQ(zel::ReadPreference("P", 9), 1u);

    SetTextValue(HKEY_CURRENT_USER, prefs, "P", "0"); // not a DWORD: no override
    EXPECT_EQ(zel::ReadPreference("P", 9), 1u);

    SetDwordValue(HKEY_CURRENT_USER, prefs, "P", 0);
    EXPECT_EQ(zel::ReadPreference("P", 9), 0u);

    SetDwordValue(HKEY_CURRENT_USER, prefs, "UserOnly", 4);
    EXPECT_EQ(zel::ReadPreference("UserOnly", 9), 4u);
}

TEST(RegistryNames, LaterOperationsUseTheNewNames)
{
    ScopedProduct product("Renamed");
    EXPECT_EQ(zel::WriteProductDword("Preferences", "P", 3, HKEY_LOCAL_MACHINE), 1);
    EXPECT_EQ(ReadStored(HKEY_LOCAL_MACHINE, product.Path("Preferences"), "P").bytes, std::string("\x03\0\0\0", 4));
    SetDwordValue(HKEY_CURRENT_USER, product.Path("Preferences"), "P", 6);
    EXPECT_EQ(zel::ReadPreference("P", 0), 6u);
}

} // namespace
} // namespace zeltest
