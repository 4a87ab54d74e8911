// The subfolder walk, apply and restore over one tree of 20,020 folders, each against a floor
// that makes the same platform calls with nothing of ours around them:
//  - walk: open each folder once and list it by handle, as GetAllSubfolders does, without the
//    loop guard; a plain FindFirstFileA recursion is timed beside it for comparison;
//  - apply: that walk, the six keys of the top folder's settings file, and per folder the copy
//    and the two attribute calls; then the shell notification;
//  - restore: the top folder's file and, after the walk, each folder's file queried and deleted.
// A whole-tree run takes seconds, long enough for the load of a shared machine to change under
// it, so each round goes through the 20 top folders (1,000 folders below each) one by one, ours
// and the floor taking turns on each. Apply and restore take turns too: each apply starts from a
// restored tree and each restore from an applied one, so every run does the same work.
#include "bench/Runner.h"
#include "bench/Scratch.h"
#include "engine/BaseFile.h"
#include "engine/FolderCtrl.h"
#include "engine/FolderSettings.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kTops = 20;
constexpr int kMiddles = 20;
constexpr int kLeaves = 49;
constexpr std::size_t kFoldersPerTop = kMiddles * (1 + kLeaves);
constexpr std::size_t kFolders = kTops * (1 + kFoldersPerTop);

std::string TopFolder(const std::string& root, int top)
{
    return root + "a" + std::to_string(top) + "\\";
}

// kTops top folders x kMiddles x kLeaves, plus in each top folder a dot-folder with 5 children,
// which every walk leaves out.
std::size_t BuildTree(const std::string& root)
{
    std::size_t made = 0;
    for (int a = 0; a < kTops; ++a) {
        const std::string pa = TopFolder(root, a);
        made += CreateDirectoryA(pa.c_str(), nullptr);
        const std::string dot = pa + ".hidden\\";
        CreateDirectoryA(dot.c_str(), nullptr);
        for (int k = 0; k < 5; ++k)
            CreateDirectoryA((dot + std::to_string(k)).c_str(), nullptr);
        for (int b = 0; b < kMiddles; ++b) {
            const std::string pb = pa + "b" + std::to_string(b) + "\\";
            made += CreateDirectoryA(pb.c_str(), nullptr);
            for (int c = 0; c < kLeaves; ++c)
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

void ExpectFolders(std::size_t listed, std::size_t expected, const char* who)
{
    if (listed != expected)
        throw std::runtime_error(std::string(who) + " listed " + std::to_string(listed) + " folders, not " +
                                 std::to_string(expected));
}

void DirectApply(const TDTItem& item)
{
    const std::string& root = item.Path;
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

// The top folder, every 97th folder below it and the last: enough to see a run that stopped
// short or did nothing, without a second walk after every run.
std::vector<std::string> Sample(const std::string& top)
{
    const auto folders = HandleWalk(top);
    ExpectFolders(folders.size(), kFoldersPerTop, "handle walk");
    std::vector<std::string> sample{top};
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

void WalkRounds(const std::vector<std::string>& tops)
{
    std::size_t ours = 0, floor = 0, find = 0;
    bench::Rounds runs(bench::RoundsFromEnvironment(7), kTops);
    runs.Group({{"floor", [&](int top) { floor = HandleWalk(tops[top]).size(); },
                 [&](int) { ExpectFolders(floor, kFoldersPerTop, "handle walk"); }}});
    runs.Group({{"ours", [&](int top) { ours = TBaseFile().GetAllSubfolders(tops[top]).size(); },
                 [&](int) { ExpectFolders(ours, kFoldersPerTop, "GetAllSubfolders"); }}});
    runs.Group({{"find", [&](int top) {
                     std::vector<std::string> out;
                     FindWalk(tops[top], out);
                     find = out.size();
                 },
                 [&](int) { ExpectFolders(find, kFoldersPerTop, "FindFirstFileA walk"); }}});
    runs.Run();
    std::printf("subfolder walk, %d top folders of %zu folders each, %d rounds\n", kTops, kFoldersPerTop,
                runs.Count());
    runs.PrintTime("handle listing per folder (floor)", "floor", bench::kSeconds);
    runs.PrintTime("GetAllSubfolders (with loop guard)", "ours", bench::kSeconds);
    runs.PrintTime("FindFirstFileA recursion", "find", bench::kSeconds);
    runs.PrintRatio("ratio GetAllSubfolders / floor", "ours", "floor", 1.05);
    runs.PrintRatio("ratio FindFirstFileA recursion / floor", "find", "floor");
}

void ApplyRestoreRounds(const std::vector<std::string>& tops)
{
    TFolderCtrl ctrl(true);
    ctrl.SetApplyToSubfolders(true);
    std::vector<TDTItem> items;
    std::vector<std::vector<std::string>> samples;
    for (const auto& top : tops) {
        ctrl.LoadSettings(top);
        ctrl.SetDisguiseIndex(1);
        ctrl.Current.Infotip = "benchmark";
        items.push_back(ctrl.Current);
        samples.push_back(Sample(top));
    }

    bench::Rounds runs(bench::RoundsFromEnvironment(5), kTops);
    runs.Group({{"apply",
                 [&](int top) {
                     ctrl.Current = items[top];
                     ctrl.ApplySettings(items[top].Infotip);
                 },
                 [&](int top) { ExpectApplied(samples[top], "ApplySettings"); }},
                {"restore",
                 [&](int top) {
                     ctrl.Current = items[top];
                     ctrl.RestoreDefault();
                 },
                 [&](int top) { ExpectRestored(samples[top], "RestoreDefault"); }}});
    runs.Group({{"apply floor", [&](int top) { DirectApply(items[top]); },
                 [&](int top) { ExpectApplied(samples[top], "direct apply"); }},
                {"restore floor", [&](int top) { DirectRestore(tops[top]); },
                 [&](int top) { ExpectRestored(samples[top], "direct restore"); }}});
    runs.Run();
    std::printf("apply and restore with subfolders, each top folder in turn, %d rounds\n", runs.Count());
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
        ExpectFolders(BuildTree(scratch.Path()), kFolders, "the tree builder");
        std::printf("tree of %zu folders built in %.2f s\n", kFolders,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::vector<std::string> tops;
        for (int top = 0; top < kTops; ++top)
            tops.push_back(TopFolder(scratch.Path(), top));
        WalkRounds(tops);
        ApplyRestoreRounds(tops);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SubfolderWalk: %s\n", e.what());
        return 1;
    }
}
