// The subfolder walk, apply and restore over one tree of 20,020 folders, each against a floor
// that makes the same platform calls with nothing of ours around them:
//  - walk: open each folder once and list it by handle, as GetAllSubfolders does, without the
//    loop guard; a plain FindFirstFileA recursion is timed beside it for comparison;
//  - apply: that walk, the six keys of the root's settings file, and per folder the copy and
//    the two attribute calls; then the shell notification;
//  - restore: the root's file and, after the walk, each folder's file queried and deleted.
// Apply and restore take turns: each apply starts from a restored tree and each restore from
// an applied one, so every run does the same work.
#include "bench/Runner.h"
#include "bench/Scratch.h"
#include "engine/BaseFile.h"
#include "engine/FolderCtrl.h"
#include "engine/FolderSettings.h"
#include "toolkit/Scoped.h"

#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFolders = 20 + 20 * 20 + 20 * 20 * 49;

// 20 top folders x 20 x 49 leaves, plus 20 dot-folders with 5 children each, which every walk
// leaves out.
std::size_t BuildTree(const std::string& root)
{
    std::size_t made = 0;
    for (int a = 0; a < 20; ++a) {
        const std::string pa = root + "a" + std::to_string(a) + "\\";
        made += CreateDirectoryA(pa.c_str(), nullptr);
        const std::string dot = pa + ".hidden\\";
        CreateDirectoryA(dot.c_str(), nullptr);
        for (int k = 0; k < 5; ++k)
            CreateDirectoryA((dot + std::to_string(k)).c_str(), nullptr);
        for (int b = 0; b < 20; ++b) {
            const std::string pb = pa + "b" + std::to_string(b) + "\\";
            made += CreateDirectoryA(pb.c_str(), nullptr);
            for (int c = 0; c < 49; ++c)
                made += CreateDirectoryA((pb + "c" + std::to_string(c)).c_str(), nullptr);
        }
    }
    return made;
}

std::string ToAnsi(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

// The walk's platform calls alone: one handle per folder, its listing read through that handle.
void HandleWalk(const std::string& folder, std::vector<std::string>& out)
{
    std::vector<std::string> names;
    {
        ScopedFile handle(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!handle)
            return;
        alignas(8) static unsigned char buffer[64 * 1024];
        FILE_INFO_BY_HANDLE_CLASS query = FileIdBothDirectoryRestartInfo;
        while (GetFileInformationByHandleEx(handle.get(), query, buffer, sizeof buffer)) {
            query = FileIdBothDirectoryInfo;
            for (auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer);;
                 entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const unsigned char*>(entry) +
                                                                       entry->NextEntryOffset)) {
                if ((entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry->FileNameLength > 0 &&
                    entry->FileName[0] != L'.')
                    names.push_back(ToAnsi(entry->FileName, int(entry->FileNameLength / sizeof(wchar_t))));
                if (entry->NextEntryOffset == 0)
                    break;
            }
        }
    }
    for (const auto& name : names) {
        const std::string sub = folder + name + "\\";
        out.push_back(sub);
        HandleWalk(sub, out);
    }
}

std::vector<std::string> HandleWalk(const std::string& root)
{
    std::vector<std::string> out;
    HandleWalk(root, out);
    return out;
}

void FindWalk(const std::string& folder, std::vector<std::string>& out)
{
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA((folder + "*").c_str(), &entry));
    if (!find)
        return;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.') {
            const std::string sub = folder + entry.cFileName + "\\";
            out.push_back(sub);
            FindWalk(sub, out);
        }
    } while (FindNextFileA(find.get(), &entry));
}

void ExpectFolders(std::size_t listed, const char* who)
{
    if (listed != kFolders)
        throw std::runtime_error(std::string(who) + " listed " + std::to_string(listed) + " folders, not " +
                                 std::to_string(kFolders));
}

void DirectApply(const TDTItem& item, const std::string& root)
{
    const std::string source = root + SettingsFileName;
    const struct {
        const char* section;
        const char* key;
        const std::string& value;
    } keys[] = {{ShellClassInfoSection, "CLSID", item.CLSID},
                {ShellClassInfoSection, "IconFile", item.IconFile},
                {ShellClassInfoSection, "IconIndex", item.IconIndex},
                {ShellClassInfoSection, "Infotip", item.Infotip},
                {IconAreaSection, "IconArea_Image", item.IconArea_Image},
                {IconAreaSection, "IconArea_Text", item.IconArea_Text}};
    for (const auto& k : keys)
        if (!WritePrivateProfileStringA(k.section, k.key, k.value.c_str(), source.c_str()))
            throw std::runtime_error("cannot write " + source);
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_SYSTEM);
    for (const auto& folder : HandleWalk(root)) {
        const std::string target = folder + SettingsFileName;
        CopyFileA(source.c_str(), target.c_str(), TRUE);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM);
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

void DeleteIfFile(const std::string& file)
{
    const DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileA(file.c_str());
}

void DirectRestore(const std::string& root)
{
    DeleteIfFile(root + SettingsFileName);
    for (const auto& folder : HandleWalk(root))
        DeleteIfFile(folder + SettingsFileName);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

// Every 97th folder, the last and the root: enough to see a run that stopped short or did
// nothing, without a second walk after every run.
std::vector<std::string> Sample(const std::string& root, const std::vector<std::string>& folders)
{
    std::vector<std::string> sample{root};
    for (std::size_t i = 0; i < folders.size(); i += 97)
        sample.push_back(folders[i]);
    sample.push_back(folders.back());
    return sample;
}

void ExpectApplied(const std::vector<std::string>& sample, const char* who)
{
    constexpr DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const auto& folder : sample) {
        const DWORD file = GetFileAttributesA((folder + SettingsFileName).c_str());
        const DWORD dir = GetFileAttributesA(folder.c_str());
        if (file == INVALID_FILE_ATTRIBUTES || (file & hiddenSystem) != hiddenSystem ||
            dir == INVALID_FILE_ATTRIBUTES || !(dir & FILE_ATTRIBUTE_SYSTEM))
            throw std::runtime_error(std::string(who) + " left " + folder + " without its settings");
    }
}

void ExpectRestored(const std::vector<std::string>& sample, const char* who)
{
    for (const auto& folder : sample)
        if (GetFileAttributesA((folder + SettingsFileName).c_str()) != INVALID_FILE_ATTRIBUTES)
            throw std::runtime_error(std::string(who) + " left the settings file in " + folder);
}

void WalkRounds(const std::string& root)
{
    std::size_t ours = 0, floor = 0, find = 0;
    bench::Rounds runs(bench::RoundsFromEnvironment(7));
    runs.Group({{"floor", [&] { floor = HandleWalk(root).size(); }, [&] { ExpectFolders(floor, "handle walk"); }}});
    runs.Group({{"ours", [&] { ours = TBaseFile().GetAllSubfolders(root).size(); },
                 [&] { ExpectFolders(ours, "GetAllSubfolders"); }}});
    runs.Group({{"find", [&] {
                     std::vector<std::string> out;
                     FindWalk(root, out);
                     find = out.size();
                 },
                 [&] { ExpectFolders(find, "FindFirstFileA walk"); }}});
    runs.Run();
    std::printf("subfolder walk over %zu folders, %d rounds\n", kFolders, runs.Count());
    runs.PrintTime("handle listing per folder (floor)", "floor", bench::kSeconds);
    runs.PrintTime("GetAllSubfolders (with loop guard)", "ours", bench::kSeconds);
    runs.PrintTime("FindFirstFileA recursion", "find", bench::kSeconds);
    runs.PrintRatio("ratio GetAllSubfolders / floor", "ours", "floor", 1.05);
    runs.PrintRatio("ratio FindFirstFileA recursion / floor", "find", "floor");
}

void ApplyRestoreRounds(const std::string& root)
{
    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(1);
    ctrl.SetApplyToSubfolders(true);
    TDTItem item = ctrl.Current;
    item.Infotip = "benchmark";
    const auto sample = Sample(root, HandleWalk(root));

    bench::Rounds runs(bench::RoundsFromEnvironment(5));
    runs.Group({{"apply", [&] { ctrl.ApplySettings(item.Infotip); }, [&] { ExpectApplied(sample, "ApplySettings"); }},
                {"restore", [&] { ctrl.RestoreDefault(); }, [&] { ExpectRestored(sample, "RestoreDefault"); }}});
    runs.Group({{"apply floor", [&] { DirectApply(item, root); }, [&] { ExpectApplied(sample, "direct apply"); }},
                {"restore floor", [&] { DirectRestore(root); }, [&] { ExpectRestored(sample, "direct restore"); }}});
    runs.Run();
    std::printf("apply and restore over the same tree, %d rounds\n", runs.Count());
    runs.PrintTime("walk + direct settings, copies, attributes", "apply floor", bench::kSeconds);
    runs.PrintTime("ApplySettings with subfolders", "apply", bench::kSeconds);
    runs.PrintRatio("ratio ApplySettings / floor", "apply", "apply floor", 1.05);
    runs.PrintTime("walk + direct attribute query, delete", "restore floor", bench::kSeconds);
    runs.PrintTime("RestoreDefault with subfolders", "restore", bench::kSeconds);
    runs.PrintRatio("ratio RestoreDefault / floor", "restore", "restore floor", 1.05);
}

} // namespace

int main()
{
    try {
        bench::ScratchFolder scratch("quorrel-bench-tree");
        const auto start = std::chrono::steady_clock::now();
        ExpectFolders(BuildTree(scratch.Path()), "the tree builder");
        std::printf("tree of %zu folders built in %.2f s\n", kFolders,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        WalkRounds(scratch.Path());
        ApplyRestoreRounds(scratch.Path());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SubfolderWalk: %s\n", e.what());
        return 1;
    }
}
