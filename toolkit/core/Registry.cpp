#include "toolkit/core/Registry.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/Format.h"

#include <vector>

TRegistry::TRegistry(HKEY rootKey, REGSAM access) noexcept : root_(rootKey), access_(access) {}

void TRegistry::SetRootKey(HKEY root) noexcept
{
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate)
{
    ScopedKey key;
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr,
                             key.put(), nullptr);
    else
        rc = RegOpenKeyExA(root_, path.c_str(), 0, access_, key.put());
    if (rc != ERROR_SUCCESS)
        return false;
    current_ = std::move(key);
    return true;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    if (!current_)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(FormatText("Invalid data type for '%s'", name));
    std::vector<char> data(size + 1, '\0');
    DWORD got = size;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS)
        return {};
    // The stored text may or may not carry its terminating zero.
    std::string text(data.data(), got);
    if (auto zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return text;
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    const LONG rc = current_ ? RegSetValueExA(current_.get(), name.c_str(), 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(value.c_str()),
                                              static_cast<DWORD>(value.size() + 1))
                             : ERROR_INVALID_HANDLE;
    if (rc != ERROR_SUCCESS)
        throw ERegistryException(FormatText("Failed to set data for '%s'", name));
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return current_ && RegQueryValueExA(current_.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                           ERROR_SUCCESS;
}

// Removes a key's subtree depth first; RegDeleteKeyA alone refuses keys that have subkeys.
static bool DeleteTree(HKEY parent, const std::string& path)
{
    {
        ScopedKey key;
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS)
            return false;
        std::vector<std::string> children;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            children.emplace_back(name, length);
        }
        for (const auto& child : children)
            DeleteTree(key.get(), child);
    }
    return RegDeleteKeyA(parent, path.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::string& path)
{
    return DeleteTree(root_, path);
}

bool TRegistry::KeyExists(const std::string& path) const
{
    ScopedKey key;
    return RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}
