#include "engine/BaseFile.h"

#include "toolkit/core/LongPath.h"
#include "toolkit/core/PathText.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
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

struct SubfolderEntry {
    std::string Name;
    bool Link;    // a reparse point: symbolic link, junction or mount point
    bool HasId;   // the listing told its id
    FolderId Id;
};

bool IsWalked(DWORD attributes, const wchar_t* name, std::size_t length)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && length > 0 && name[0] != L'.';
}

// Lists a folder through one open handle. The listing carries each entry's file id, so
// ordinary subfolders are identified without opening them; only links, which may lead onto
// another volume, are asked for their identity separately. Where a volume refuses that
// listing, the folder is listed the plain way and each folder asked for its identity.
class SubfolderWalk {
public:
    SubfolderWalk(std::vector<std::string>& result, TFolderFailures* unlisted, const TBaseFile::IdListing& idListing)
        : result_(result), unlisted_(unlisted), idListing_(idListing), buffer_(64 * 1024 / sizeof(LONGLONG))
    {
    }

    void Walk(const std::string& root)
    {
        ScopedFile handle = OpenFolder(root);
        FolderId id;
        const bool known = handle && QueryFolderId(handle.get(), id);
        if (known && IsUsable(id))
            visited_.insert(id);
        WalkEntries(root, List(handle.get(), root, known ? &id : nullptr));
    }

private:
    // Pre-order: each subfolder goes into the list directly before its own subfolders.
    void WalkEntries(const std::string& folder, const std::vector<SubfolderEntry>& entries)
    {
        for (const auto& entry : entries) {
            const std::string sub = folder + entry.Name + "\\";
            ScopedFile handle = OpenFolder(sub);
            FolderId id = entry.Id;
            bool known = entry.HasId;
            if ((entry.Link || !known) && handle && QueryFolderId(handle.get(), id))
                known = true;
            if (known && IsUsable(id) && !visited_.insert(id).second)
                continue;
            result_.push_back(sub);
            // A folder that cannot be opened is still listed the plain way, if it can be.
            const auto children = List(handle.get(), sub, known ? &id : nullptr);
            handle.reset();
            WalkEntries(sub, children);
        }
    }

    static ScopedFile OpenFolder(const std::string& folder)
    {
        return ScopedFile(CreateFileW(WidePath(folder).c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    }

    // Subfolders in the platform's order; hidden and system ones included, names starting
    // with "." (".", ".." and dot-folders with everything below them) left out. The entries
    // carry ids only when the folder's own identity (its volume) is known.
    std::vector<SubfolderEntry> List(HANDLE folder, const std::string& path, const FolderId* self)
    {
        std::vector<SubfolderEntry> entries;
        if (folder != INVALID_HANDLE_VALUE && ListWithIds(folder, path, entries)) {
            for (auto& entry : entries) {
                entry.HasId = self != nullptr;
                entry.Id.volume = self ? self->volume : 0;
            }
            return entries;
        }
        entries.clear();
        ListPlain(path, entries);
        return entries;
    }

    void Unlisted(const std::string& folder, const std::string& reason)
    {
        if (unlisted_)
            unlisted_->Add(folder, reason);
    }

    // A name the code page cannot carry exactly would come out as another name (a "?" or a
    // look-alike) and lead to another folder: such a folder is left out and named.
    bool Named(const std::string& folder, std::wstring_view wide, std::string& name)
    {
        if (WideToAnsiExact(wide, name))
            return true;
        Unlisted(folder, "A subfolder's name cannot be written in this system's code page: " + WideToAnsi(wide) + ".");
        return false;
    }

    // False when the volume refuses the listing anywhere along the way: what came before the
    // refusal may be a part only, so the caller starts over the plain way.
    bool ListWithIds(HANDLE folder, const std::string& path, std::vector<SubfolderEntry>& entries)
    {
        FILE_INFO_BY_HANDLE_CLASS query = FileIdBothDirectoryRestartInfo;
        const DWORD size = static_cast<DWORD>(buffer_.size() * sizeof(LONGLONG));
        for (;;) {
            const BOOL listed = idListing_ ? idListing_(folder, query, buffer_.data(), size)
                                           : GetFileInformationByHandleEx(folder, query, buffer_.data(), size);
            if (!listed)
                return query == FileIdBothDirectoryInfo && GetLastError() == ERROR_NO_MORE_FILES;
            query = FileIdBothDirectoryInfo;
            const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data());
            for (;;) {
                const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes);
                const std::size_t length = entry->FileNameLength / sizeof(wchar_t);
                std::string name;
                if (IsWalked(entry->FileAttributes, entry->FileName, length) &&
                    Named(path, {entry->FileName, length}, name)) {
                    SubfolderEntry found{std::move(name), (entry->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                                         false, {}};
                    std::memcpy(found.Id.file.data(), &entry->FileId, sizeof entry->FileId);
                    entries.push_back(std::move(found));
                }
                if (entry->NextEntryOffset == 0)
                    break;
                bytes += entry->NextEntryOffset;
            }
        }
    }

    void ListPlain(const std::string& path, std::vector<SubfolderEntry>& entries)
    {
        WIN32_FIND_DATAW data;
        const ScopedFind find(FindFirstFileW(WidePath(path + "*").c_str(), &data));
        if (!find) {
            // An empty drive root lists nothing at all, not even "." and "..".
            if (const DWORD error = GetLastError(); error != ERROR_FILE_NOT_FOUND)
                Unlisted(path, "Its subfolders could not be listed: " + SystemErrorText(error));
            return;
        }
        do {
            std::string name;
            if (IsWalked(data.dwFileAttributes, data.cFileName, std::wcslen(data.cFileName)) &&
                Named(path, data.cFileName, name))
                entries.push_back({std::move(name), (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                                   false, {}});
        } while (FindNextFileW(find.get(), &data));
    }

    std::vector<std::string>& result_;
    TFolderFailures* unlisted_;
    const TBaseFile::IdListing& idListing_;
    std::vector<LONGLONG> buffer_;  // one listing at a time: a folder is listed whole before its children
    std::set<FolderId> visited_;
};

} // namespace

TBaseFile::TBaseFile(IdListing idListing) : idListing_(std::move(idListing)) {}

std::vector<std::string> TBaseFile::GetAllSubfolders(std::string path) const
{
    TFolderFailures ignored;
    return GetAllSubfolders(std::move(path), ignored);
}

std::vector<std::string> TBaseFile::GetAllSubfolders(std::string path, TFolderFailures& unlisted) const
{
    path = WithBackslash(std::move(path));
    std::vector<std::string> result;
    // No "insert a disk" box for a drive without a medium: the enumeration just fails.
    const ScopedErrorMode errorMode(SEM_FAILCRITICALERRORS);
    SubfolderWalk(result, &unlisted, idListing_).Walk(path);
    return result;
}

ScopedIcon TBaseFile::ExtractIconFromFile(const std::string& file, int index) const
{
    // Index -1 asks the platform for the number of icons in the file, which is no handle.
    if (index == -1)
        return {};
    HICON icon = ExtractIconA(nullptr, file.c_str(), static_cast<UINT>(index));
    // ExtractIconA answers 1 when the file is no icon source at all.
    if (reinterpret_cast<UINT_PTR>(icon) == 1)
        return {};
    return ScopedIcon(icon);
}

ScopedIcon TBaseFile::ExtractIconFromFile(const std::string& file, int index, int size) const
{
    if (index == -1)
        return {};
    HICON icon = nullptr;
    // Large image only, of that size; the small size is not asked for.
    if (SHDefExtractIconA(file.c_str(), index, 0, &icon, nullptr, MAKELONG(size, 0)) != S_OK)
        return {};
    return ScopedIcon(icon);
}
