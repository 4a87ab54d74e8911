#pragma once
// Where the sidecar tests find the built files (build/bin), the artwork and the libraries built
// for the tests (beside the test program), and the marks the decoy library leaves.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdlib>
#include <string>

// A folder named by an environment variable of the build, as a Windows path (drive Z: under Wine).
inline std::string BuildFolder(const char* variable)
{
    const char* value = std::getenv(variable);
    std::string path = value ? value : "";
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path + "\\";
}

inline std::string BinPath(const std::string& file)
{
    return BuildFolder("QUORREL_BIN") + file;
}

inline std::string ArtPath(const std::string& file)
{
    return BuildFolder("QUORREL_ART") + file;
}

// A library built for the tests, beside the test program.
inline std::string TestLibraryPath(const std::string& file)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + file;
}

inline std::string EnvironmentValue(const char* name)
{
    char value[512] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// The decoy library's marks: loaded at all, and the product name its ShowAboutForm was given.
inline void ClearDecoyMarks()
{
    SetEnvironmentVariableA("QUORREL_DECOY_LOADED", nullptr);
    SetEnvironmentVariableA("QUORREL_DECOY_SHOWN", nullptr);
}
inline bool DecoyLoaded() { return !EnvironmentValue("QUORREL_DECOY_LOADED").empty(); }
inline std::string DecoyShown() { return EnvironmentValue("QUORREL_DECOY_SHOWN"); }

// The process's working directory for a scope.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& folder)
    {
        GetCurrentDirectoryA(MAX_PATH, previous_);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~ScopedCurrentDirectory() { SetCurrentDirectoryA(previous_); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    char previous_[MAX_PATH] = {};
};

inline bool ModuleLoaded(const std::string& path)
{
    return GetModuleHandleA(path.c_str()) != nullptr;
}

// How many views of the file are mapped into this process: a library loaded as data is mapped
// but not listed among the modules.
inline int MappedViewsOf(const std::string& path)
{
    const std::string name = path.substr(path.find_last_of('\\', path.find_last_of('\\') - 1));
    const auto lower = [](std::string text) {
        CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
        return text;
    };
    const std::string wanted = lower(name);
    int views = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* at = static_cast<char*>(nullptr); VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.BaseAddress != region.AllocationBase || !(region.Type & (MEM_IMAGE | MEM_MAPPED)))
            continue;
        char mapped[MAX_PATH * 2] = {};
        if (!GetMappedFileNameA(GetCurrentProcess(), region.BaseAddress, mapped, sizeof mapped))
            continue;
        const std::string file = lower(mapped);
        if (file.size() >= wanted.size() && file.compare(file.size() - wanted.size(), wanted.size(), wanted) == 0)
            ++views;
    }
    return views;
}
