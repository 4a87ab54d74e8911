#include "engine/BaseFile.h"

#include "toolkit/Scoped.h"

#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

namespace {

// A folder's identity on disk: the volume's serial number and the 128-bit file id. Two paths
// that lead to the same folder (a link, a junction, a symlink loop) have the same identity.
struct FolderId {
    unsigned long long volume = 0;
    std::array<unsigned char, 16> file{};
    auto operator<=>(const FolderId&) const = default;
};

// The 128-bit id query of newer systems, declared here so the program still targets older ones.
struct FileIdInformation {
    ULONGLONG VolumeSerialNumber;
    unsigned char FileId[16];
};
constexpr auto FileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

// Some file systems (network redirectors among them) answer 0 or all ones for every entry;
// such an id tells folders apart no more than none, and must not make folders look walked.
bool IsUsable(const FolderId& id)
{
    const auto all = [&](unsigned char value) {
        return std::all_of(id.file.begin(), id.file.end(), [&](unsigned char b) { return b == value; });
    };
    const auto low = [&](unsigned char value) {
        return std::all_of(id.file.begin(), id.file.begin() + 8, [&](unsigned char b) { return b == value; });
    };
    return !all(0) && !low(0xFF);
}

bool QueryFolderId(HANDLE folder, FolderId& id)
{
    FileIdInformation info{};
    if (GetFileInformationByHandleEx(folder, FileIdInfoClass, &info, sizeof info)) {
        id.volume = info.VolumeSerialNumber;
        std::memcpy(id.file.data(), &info.FileId, sizeof info.FileId);
        return true;
    }
    // Systems before the 128-bit ids answer the older query.
    BY_HANDLE_FILE_INFORMATION old;
    if (!GetFileInformationByHandle(folder, &old))
        return false;
    id.volume = old.dwVolumeSerialNumber;
    std::memcpy(id.file.data(), &old.nFileIndexLow, sizeof old.nFileIndexLow);
    std::memcpy(id.file.data() + 4, &old.nFileIndexHigh, sizeof old.nFileIndexHigh);
    return true;
}

std::string ToAnsi(const wchar_t* text, std::size_t length)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), result.data(), size, nullptr, nullptr);
    return result;
}

struct SubfolderEntry {
    std::string Name;
    unsigned long long FileId;
    bool Link;  // a reparse point: symbolic link, junction or mount point
};

// Lists a folder through one open handle. The listing carries each entry's file id, so
// ordinary subfolders are identified without opening them; only links, which may lead onto
// another volume, are asked for their identity separately.
class SubfolderWalk {
public:
    explicit SubfolderWalk(std::vector<std::string>& result) : result_(result) {}

    void Walk(const std::string& root)
    {
        ScopedFile handle = OpenFolder(root);
        FolderId id;
        if (!handle || !QueryFolderId(handle.get(), id))
            return;
        if (IsUsable(id))
            visited_.insert(id);
        WalkEntries(root, id.volume, ListSubfolders(handle.get()));
    }

private:
    // Pre-order: each subfolder goes into the list directly before its own subfolders.
    void WalkEntries(const std::string& folder, unsigned long long volume, const std::vector<SubfolderEntry>& entries)
    {
        for (const auto& entry : entries) {
            const std::string sub = folder + entry.Name + "\\";
            ScopedFile handle = OpenFolder(sub);
            FolderId id;
            id.volume = volume;
            std::memcpy(id.file.data(), &entry.FileId, sizeof entry.FileId);
            if (entry.Link && handle)
                QueryFolderId(handle.get(), id);
            if (IsUsable(id) && !visited_.insert(id).second)
                continue;
            result_.push_back(sub);
            // A folder that cannot be opened is listed all the same, without subfolders.
            std::vector<SubfolderEntry> children;
            if (handle)
                children = ListSubfolders(handle.get());
            handle.reset();
            WalkEntries(sub, id.volume, children);
        }
    }

    static ScopedFile OpenFolder(const std::string& folder)
    {
        return ScopedFile(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    }

    // Subfolders in the platform's order; hidden and system ones included, names starting
    // with "." (".", ".." and dot-folders with everything below them) left out.
    static std::vector<SubfolderEntry> ListSubfolders(HANDLE folder)
    {
        std::vector<SubfolderEntry> entries;
        alignas(8) static unsigned char buffer[64 * 1024];
        FILE_INFO_BY_HANDLE_CLASS query = FileIdBothDirectoryRestartInfo;
        while (GetFileInformationByHandleEx(folder, query, buffer, sizeof buffer)) {
            query = FileIdBothDirectoryInfo;
            for (auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer);;
                 entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const unsigned char*>(entry) +
                                                                       entry->NextEntryOffset)) {
                if ((entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry->FileNameLength > 0 &&
                    entry->FileName[0] != L'.')
                    entries.push_back({ToAnsi(entry->FileName, entry->FileNameLength / sizeof(wchar_t)),
                                       static_cast<unsigned long long>(entry->FileId.QuadPart),
                                       (entry->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
                if (entry->NextEntryOffset == 0)
                    break;
            }
        }
        return entries;
    }

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
    SubfolderWalk(result).Walk(path);
    return result;
}

HICON TBaseFile::ExtractIconFromFile(const std::string& file, int index) const
{
    // Index -1 asks the platform for the number of icons in the file, which is no handle.
    if (index == -1)
        return nullptr;
    HICON icon = ExtractIconA(nullptr, file.c_str(), static_cast<UINT>(index));
    // ExtractIconA answers 1 when the file is no icon source at all.
    return reinterpret_cast<UINT_PTR>(icon) == 1 ? nullptr : icon;
}
