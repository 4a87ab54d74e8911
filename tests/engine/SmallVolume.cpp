#include "SmallVolume.h"

#include "support/TempDir.h"
#include "toolkit/core/Scoped.h"

#include <cstdlib>

namespace {

// The most a volume of the fixture may hold: anything larger is not the one it mounted, and is
// never filled.
constexpr std::uint64_t kLargest = 1024 * 1024;

std::string Reason(const std::string& skippedFile)
{
    try {
        return ReadFileBytes(skippedFile);
    } catch (...) {
        return {};
    }
}

} // namespace

SmallVolume::SmallVolume()
{
    const char* folder = std::getenv("QUORREL_SMALL_VOLUME");
    if (!folder || !*folder) {
        unavailable_ = "QUORREL_SMALL_VOLUME is not set: the small volume comes with ctest's fixture";
        return;
    }
    // The Linux folder as Wine's Z: drive shows it.
    std::string windows = std::string("Z:") + folder;
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    unixDriveRoot_ = windows + "\\";
    unavailable_ = Reason(windows + ".skipped");
    if (!unavailable_.empty())
        return;
    drive_ = std::make_unique<DriveMapping>('V', windows + "\\");
    ULARGE_INTEGER total{};
    if (!drive_->Made() || !GetDiskFreeSpaceExA(Root().c_str(), nullptr, &total, nullptr))
        unavailable_ = "drive V: could not be made for " + windows;
    else if (total.QuadPart > kLargest)
        unavailable_ = windows + " is not the small volume of the fixture (" + std::to_string(total.QuadPart) + " bytes)";
}

SmallVolume::~SmallVolume()
{
    if (!unavailable_.empty())
        return;
    WIN32_FIND_DATAA data;
    if (const ScopedFind find(FindFirstFileA((Root() + "*").c_str(), &data)); find) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(Root() + name);
            } else {
                SetFileAttributesA((Root() + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((Root() + name).c_str());
            }
        } while (FindNextFileA(find.get(), &data));
    }
}

std::uint64_t SmallVolume::BytesFree() const
{
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExA(Root().c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
}

std::uint64_t SmallVolume::Fill(std::uint64_t bytesFree)
{
    if (!unavailable_.empty())
        return 0;
    const std::string page(4096, 'x');
    while (BytesFree() > bytesFree) {
        const std::string name = Root() + "filler-" + std::to_string(fillers_++);
        const ScopedFile file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), page.data(), DWORD(page.size()), &written, nullptr) || written == 0)
            break;
    }
    return BytesFree();
}
