#include "support/RegistryKeyRestorer.h"

#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Key = RegistryKeyRestorer::Key;
using Value = RegistryKeyRestorer::Value;

Key ReadOpen(HKEY key)
{
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot read a registry key");
    Key state;
    for (DWORD i = 0; i < values; ++i) {
        std::string name(longestName + 1, '\0');
        DWORD nameSize = static_cast<DWORD>(name.size());
        Value value;
        value.data.resize(longestData);
        DWORD dataSize = static_cast<DWORD>(value.data.size());
        if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &value.type, value.data.data(), &dataSize) !=
            ERROR_SUCCESS)
            throw std::runtime_error("cannot read a registry value");
        value.name = name.substr(0, nameSize);
        value.data.resize(dataSize);
        state.values.push_back(std::move(value));
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        std::string name(longestSubkey + 1, '\0');
        DWORD nameSize = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot read a registry subkey");
        name.resize(nameSize);
        ScopedKey subkey;
        if (RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, subkey.put()) != ERROR_SUCCESS)
            throw std::runtime_error("cannot open the registry subkey " + name);
        state.subkeys.emplace_back(name, ReadOpen(subkey.get()));
    }
    return state;
}

void Write(HKEY parent, const std::string& path, const Key& state)
{
    ScopedKey key;
    if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create the registry key " + path);
    for (const Value& value : state.values)
        RegSetValueExA(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    for (const auto& [name, subkey] : state.subkeys)
        Write(key.get(), name, subkey);
}

} // namespace

bool RegistryKeyRestorer::Read(HKEY root, const std::string& path, Key& key)
{
    ScopedKey open;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, open.put()) != ERROR_SUCCESS)
        return false;
    key = ReadOpen(open.get());
    return true;
}

RegistryKeyRestorer::RegistryKeyRestorer(HKEY root, std::string path)
    : root_(root), path_(std::move(path)), existed_(Read(root_, path_, saved_))
{
}

RegistryKeyRestorer::~RegistryKeyRestorer()
{
    try {
        const LSTATUS deleted = RegDeleteTreeA(root_, path_.c_str());
        if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
            throw std::runtime_error("cannot remove the registry key " + path_);
        if (existed_)
            Write(root_, path_, saved_);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    } catch (...) {
        ADD_FAILURE() << "cannot restore the registry key " << path_;
    }
}
