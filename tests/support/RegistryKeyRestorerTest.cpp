#include "support/RegistryKeyRestorer.h"

#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Key = RegistryKeyRestorer::Key;

// A key of this test program's own, under the current user.
std::string OwnKey(const char* name)
{
    return "Software\\QuorrelTests\\" + std::string(name) + "-" + std::to_string(GetCurrentProcessId());
}

ScopedKey Create(const std::string& path)
{
    ScopedKey key;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS)
        << path;
    return key;
}

void SetString(HKEY key, const char* name, const std::string& text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

} // namespace

TEST(RegistryKeyRestorer, PutsValuesAndSubkeysBackAsTheyWere)
{
    const std::string path = OwnKey("Restore");
    const RegistryKeyRestorer cleanup(HKEY_CURRENT_USER, path); // absent now: removed at the end
    {
        const ScopedKey key = Create(path);
        SetString(key.get(), "a", "first");
        SetString(key.get(), "", "default value");
        const DWORD number = 42;
        RegSetValueExA(key.get(), "n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        const BYTE binary[] = {0, 1, 0, 2};
        RegSetValueExA(key.get(), "b", 0, REG_BINARY, binary, sizeof binary);
        SetString(Create(path + "\\Sub\\Deeper").get(), "x", "deep");
    }
    Key before;
    ASSERT_TRUE(RegistryKeyRestorer::Read(HKEY_CURRENT_USER, path, before));
    ASSERT_EQ(before.values.size(), 4u);
    ASSERT_EQ(before.subkeys.size(), 1u);
    {
        const RegistryKeyRestorer restorer(HKEY_CURRENT_USER, path);
        const ScopedKey key = Create(path);
        SetString(key.get(), "a", "changed");
        RegDeleteValueA(key.get(), "n");
        SetString(key.get(), "added", "new");
        SetString(Create(path + "\\Added").get(), "y", "new");
        ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, (path + "\\Sub").c_str()), ERROR_SUCCESS);
        Key changed;
        ASSERT_TRUE(RegistryKeyRestorer::Read(HKEY_CURRENT_USER, path, changed));
        ASSERT_NE(changed, before);
    }
    Key after;
    ASSERT_TRUE(RegistryKeyRestorer::Read(HKEY_CURRENT_USER, path, after));
    EXPECT_EQ(after, before);
}

TEST(RegistryKeyRestorer, RemovesAKeyThatWasNotThere)
{
    const std::string path = OwnKey("Absent");
    Key state;
    ASSERT_FALSE(RegistryKeyRestorer::Read(HKEY_CURRENT_USER, path, state));
    {
        const RegistryKeyRestorer restorer(HKEY_CURRENT_USER, path);
        SetString(Create(path + "\\Below").get(), "v", "made by the test");
        ASSERT_TRUE(RegistryKeyRestorer::Read(HKEY_CURRENT_USER, path, state));
    }
    EXPECT_FALSE(RegistryKeyRestorer::Read(HKEY_CURRENT_USER, path, state));
}
