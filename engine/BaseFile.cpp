#include "engine/BaseFile.h"

#include "toolkit/Scoped.h"

#include <shellapi.h>

#include <cstdint>
#include <set>
#include <utility>

namespace {

// A folder's identity on disk: the volume's serial number and the file index. Two paths that
// lead to the same folder (a link, a junction, a symlink loop) have the same identity.
using FolderId = std::pair<std::uint32_t, std::uint64_t>;

class SubfolderWalk {
public:
    explicit SubfolderWalk(std::vector<std::string>& result) : result_(result) {}

    // Marks the folder as visited; false when it was visited before. A folder whose identity
    // cannot be read is walked all the same (it is then also not enumerable in practice).
    bool Enter(const std::string& folder)
    {
        ScopedFile handle(CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION info;
        if (!handle || !GetFileInformationByHandle(handle.get(), &info))
            return true;
        const FolderId id{info.dwVolumeSerialNumber,
                          (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
        return visited_.insert(id).second;
    }

    void Walk(const std::string& folder)
    {
        WIN32_FIND_DATAA entry;
        ScopedFind find(FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (!find)
            return;
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == '.')
                continue;
            std::string sub = folder + entry.cFileName + "\\";
            if (!Enter(sub))
                continue;
            result_.push_back(sub);
            Walk(sub);
        } while (FindNextFileA(find.get(), &entry));
    }

private:
    std::vector<std::string>& result_;
    std::set<FolderId> visited_;
};

} // namespace

std::vector<std::string> TBaseFile::GetAllSubfolders(std::string path) const
{
    if (path.empty() || path.back() != '\\')
        path += '\\';
    std::vector<std::string> result;
    // No "insert a disk" box for a drive without a medium: the enumeration just fails.
    const ScopedErrorMode errorMode(SEM_FAILCRITICALERRORS);
    SubfolderWalk walk(result);
    walk.Enter(path);
    walk.Walk(path);
    return result;
}

HICON TBaseFile::ExtractIconFromFile(const std::string& file, int index) const
{
    HICON icon = ExtractIconA(nullptr, file.c_str(), static_cast<UINT>(index));
    // ExtractIconA answers 1 when the file is no icon source at all.
    return reinterpret_cast<UINT_PTR>(icon) == 1 ? nullptr : icon;
}
