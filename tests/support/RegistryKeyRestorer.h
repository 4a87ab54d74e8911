#pragma once
// Puts a registry key back as it was (its values and every subkey, or its absence) when it
// ends: for keys that a test, or the platform on its behalf, writes, such as the recent
// folders a file dialog records. A failed assertion leaves the registry as the test found it.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class RegistryKeyRestorer {
public:
    RegistryKeyRestorer(HKEY root, std::string path);
    ~RegistryKeyRestorer();
    RegistryKeyRestorer(const RegistryKeyRestorer&) = delete;
    RegistryKeyRestorer& operator=(const RegistryKeyRestorer&) = delete;

    struct Value {
        std::string name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        bool operator==(const Value&) const = default;
    };
    struct Key {
        std::vector<Value> values;
        std::vector<std::pair<std::string, Key>> subkeys;
        bool operator==(const Key&) const = default;
    };

    // The key as it is now; false when there is none.
    static bool Read(HKEY root, const std::string& path, Key& key);

private:
    HKEY root_;
    std::string path_;
    Key saved_; // before existed_, which is read into it
    bool existed_;
};

// Where the platform's file dialog records the folders it was opened in: a test that opens
// one keeps this key as it was.
inline constexpr const char* FileDialogRecentFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
