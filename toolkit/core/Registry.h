#pragma once
// A small registry accessor: a root key, one open key at a time, string values.
// Failures to write or a value of the wrong type raise ERegistryException with the value's name.
#include "toolkit/core/Scoped.h"

#include <string>

class TRegistry {
public:
    explicit TRegistry(HKEY rootKey = HKEY_CURRENT_USER, REGSAM access = KEY_ALL_ACCESS) noexcept;

    HKEY RootKey() const noexcept { return root_; }
    void SetRootKey(HKEY root) noexcept;

    // Opens a key below the root (creating it and the keys above it when asked); false when
    // the key cannot be opened. Replaces the key that was open before.
    bool OpenKey(const std::string& path, bool canCreate);
    void CloseKey() noexcept { current_.reset(); }
    bool HasOpenKey() const noexcept { return static_cast<bool>(current_); }

    // The string value of the open key (empty name: the default value); empty when the value
    // or the key is missing. A value of another type raises "Invalid data type for '%s'".
    std::string ReadString(const std::string& name) const;
    // Raises "Failed to set data for '%s'" when the value cannot be written.
    void WriteString(const std::string& name, const std::string& value);
    bool ValueExists(const std::string& name) const;

    // Deletes a key below the root with all its subkeys; false when it could not be deleted.
    bool DeleteKey(const std::string& path);
    bool KeyExists(const std::string& path) const;

private:
    HKEY root_;
    REGSAM access_;
    ScopedKey current_;
};
