#include "EngineGuards.h"

#include "engine/DriveSettings.h"
#include "engine/ExplorerVerbs.h"
#include "support/ShellNotifications.h"
#include "toolkit/core/Registry.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <cctype>
#include <vector>

struct RegistryKeyGuard::Snapshot {
    struct Value {
        std::string Name;
        DWORD Type;
        std::vector<BYTE> Data;
    };
    std::vector<Value> Values;
    std::vector<std::pair<std::string, Snapshot>> Keys;

    static std::unique_ptr<Snapshot> Take(HKEY root, const std::string& path)
    {
        ScopedKey key;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
            return nullptr;
        auto snapshot = std::make_unique<Snapshot>();
        for (DWORD i = 0;; ++i) {
            char name[16384];
            DWORD nameLength = sizeof name, type = 0, size = 0;
            if (RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                break;
            Value value{std::string(name, nameLength), type, std::vector<BYTE>(size)};
            nameLength = sizeof name;
            RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, value.Data.data(), &size);
            snapshot->Values.push_back(std::move(value));
        }
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD nameLength = sizeof name;
            if (RegEnumKeyExA(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            const std::string sub(name, nameLength);
            if (auto child = Take(root, path + "\\" + sub))
                snapshot->Keys.emplace_back(sub, std::move(*child));
        }
        return snapshot;
    }

    void Write(HKEY root, const std::string& path) const
    {
        ScopedKey key;
        if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS)
            return;
        for (const auto& value : Values)
            RegSetValueExA(key.get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                           static_cast<DWORD>(value.Data.size()));
        for (const auto& [name, child] : Keys)
            child.Write(root, path + "\\" + name);
    }
};

RegistryKeyGuard::RegistryKeyGuard(HKEY root, std::string path)
    : root_(root), path_(std::move(path)), saved_(Snapshot::Take(root_, path_))
{
}

RegistryKeyGuard::~RegistryKeyGuard()
{
    TRegistry(root_).DeleteKey(path_);
    if (saved_)
        saved_->Write(root_, path_);
}

DriveKeyGuard::DriveKeyGuard(char letter) : RegistryKeyGuard(HKEY_LOCAL_MACHINE, DriveKey(std::string(1, letter) + ":\\"))
{
}

namespace {

std::string DosDevices()
{
    const std::string drive = UnixPathOf("C:\\");
    const auto at = drive.rfind("/c:");
    return at == std::string::npos ? std::string() : drive.substr(0, at);
}

} // namespace

DriveMapping::DriveMapping(char letter, const std::string& folder)
{
    const std::string dosdevices = DosDevices();
    const std::string target = UnixPathOf(folder);
    if (dosdevices.empty() || target.empty())
        return;
    link_ = dosdevices + "/" + static_cast<char>(std::tolower(static_cast<unsigned char>(letter))) + ":";
    const std::string command = "if [ -e '" + link_ + "' ] || [ -L '" + link_ + "' ]; then mv '" + link_ + "' '" +
                                link_ + ".quorrel-test'; fi; ln -sfn '" + target + "' '" + link_ + "'";
    made_ = RunUnixCommand(command.c_str());
}

DriveMapping::~DriveMapping()
{
    if (link_.empty())
        return;
    const std::string command = "rm -f '" + link_ + "'; if [ -e '" + link_ + ".quorrel-test' ] || [ -L '" + link_ +
                                ".quorrel-test' ]; then mv '" + link_ + ".quorrel-test' '" + link_ + "'; fi";
    RunUnixCommand(command.c_str());
}

CurrentFolder::CurrentFolder()
{
    char previous[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, previous);
    previous_.assign(previous, length < MAX_PATH ? length : 0);
}

CurrentFolder::CurrentFolder(const std::string& folder) : CurrentFolder()
{
    SetCurrentDirectoryA(folder.c_str());
}

CurrentFolder::~CurrentFolder()
{
    if (!previous_.empty())
        SetCurrentDirectoryA(previous_.c_str());
}

namespace {

// Every controller the tests make registers the three Explorer verbs; the keys go back to what
// they were when the test program ends.
class VerbKeys : public testing::Environment {
public:
    void SetUp() override
    {
        for (const char* verb : {VerbAdorn, VerbPretend, VerbDefault})
            guards_.push_back(
                std::make_unique<RegistryKeyGuard>(HKEY_CLASSES_ROOT, "Directory\\" + VerbKey(verb)));
    }
    void TearDown() override { guards_.clear(); }

private:
    std::vector<std::unique_ptr<RegistryKeyGuard>> guards_;
};

[[maybe_unused]] testing::Environment* const verbKeys = testing::AddGlobalTestEnvironment(new VerbKeys);

} // namespace
