// The subfolder walk, apply and restore over one tree of 20,020 folders, half of it at a short
// path and half below a chain of folders that puts every path past the platform's old limit
// (reached with the "\\?\" prefix), each against a floor that makes the same platform calls
// with nothing of ours around them:
//  - walk: open each folder once by its wide path and list it by handle, as GetAllSubfolders
//    does, without the loop guard; a plain FindFirstFileW recursion is timed beside it;
//  - apply: that walk; the top folder's settings file read, copied, its six keys written into
//    the copy, the copy renamed and read back, flushed and put in place; the file of our keys
//    alone made once in the temporary folder the same way; per folder the attribute query, the
//    copy made under a temporary name and renamed into place, the folder's attributes; then the
//    shell notification;
//  - restore: the top folder's and each folder's file found, read, looked at as text (it holds
//    our keys alone) and deleted; then the notification.
// A whole-tree run takes seconds, long enough for the load of a shared machine to change under
// it, so each round goes through the top folders (1,000 folders below each) one by one, ours
// and the floor taking turns on each, short and long paths alike. Apply and restore take turns
// too: each apply starts from a restored tree and each restore from an applied one, so every
// run does the same work.
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

constexpr int kPairs = 10;  // top folders at a short path, and as many at a long one
constexpr int kMiddles = 20;
constexpr int kLeaves = 49;
constexpr std::size_t kFoldersPerTop = kMiddles * (1 + kLeaves);
constexpr std::size_t kFolders = 2 * kPairs * (1 + kFoldersPerTop);
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The program's path in UTF-16, with the prefix from the length on where the program uses it.
std::wstring Wide(const std::string& path)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), int(path.size()), wide.data(), size);
    return wide.size() < MAX_PATH - 36 ? wide : L"\\\\?\\" + wide;
}

std::string Narrow(const wchar_t* text, int length)
{
    const UINT page = GetACP();
    const int size = WideCharToMultiByte(page, WC_ERR_INVALID_CHARS, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(page, WC_ERR_INVALID_CHARS, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

std::string TopFolder(const std::string& root, int top)
{
    return root + "a" + std::to_string(top) + "\\";
}

bool MakeFolder(const std::string& path)
{
    return CreateDirectoryW(Wide(path).c_str(), nullptr);
}

// kPairs top folders x kMiddles x kLeaves under `root`, plus in each top folder a dot-folder with
// 5 children, which every walk leaves out.
std::size_t BuildTree(const std::string& root)
{
    std::size_t made = 0;
    for (int a = 0; a < kPairs; ++a) {
        const std::string pa = TopFolder(root, a);
        made += MakeFolder(pa);
        const std::string dot = pa + ".hidden\\";
        MakeFolder(dot);
        for (int k = 0; k < 5; ++k)
            MakeFolder(dot + std::to_string(k));
        for (int b = 0; b < kMiddles; ++b) {
            const std::string pb = pa + "b" + std::to_string(b) + "\\";
            made += MakeFolder(pb);
            for (int c = 0; c < kLeaves; ++c)
                made += MakeFolder(pb + "c" + std::to_string(c));
        }
    }
    return made;
}

// The walk's platform calls alone: one handle per folder, its listing read through that handle.
void HandleWalk(const std::string& folder, std::vector<std::string>& out)
{
    std::vector<std::string> names;
    {
        ScopedFile handle(CreateFileW(Wide(folder).c_str(), FILE_LIST_DIRECTORY,
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
                    names.push_back(Narrow(entry->FileName, int(entry->FileNameLength / sizeof(wchar_t))));
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
    WIN32_FIND_DATAW entry;
    ScopedFind find(FindFirstFileW(Wide(folder + "*").c_str(), &entry));
    if (!find)
        return;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != L'.') {
            const std::string sub = folder + Narrow(entry.cFileName, int(wcslen(entry.cFileName))) + "\\";
            out.push_back(sub);
            FindWalk(sub, out);
        }
    } while (FindNextFileW(find.get(), &entry));
}

void ExpectFolders(std::size_t listed, std::size_t expected, const char* who)
{
    if (listed != expected)
        throw std::runtime_error(std::string(who) + " listed " + std::to_string(listed) + " folders, not " +
                                 std::to_string(expected));
}

// ---- The floor of apply and restore.

std::string ReadAll(const std::string& path)
{
    ScopedFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size))
        return {};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr);
    return bytes;
}

// A new hidden, system file holding `bytes`, as the program makes its copies.
bool MakeFile(const std::string& path, const std::string& bytes)
{
    ScopedFile file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, kHiddenSystem, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr))
        return false;
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = kHiddenSystem;
    SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic);
    return true;
}

// The section names and each section's entries through the profile functions.
void ListSections(const std::wstring& file)
{
    static wchar_t names[4096], entries[4096];
    const DWORD length = GetPrivateProfileSectionNamesW(names, 4096, file.c_str());
    for (DWORD at = 0; at < length; at += DWORD(wcslen(names + at)) + 1)
        GetPrivateProfileSectionW(names + at, entries, 4096, file.c_str());
}

struct Key {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring value;
};

std::vector<Key> KeysOf(const TDTItem& item)
{
    const auto w = [](const std::string& text) { return Wide(text); };
    const wchar_t* info = L".ShellClassInfo";
    const wchar_t* area = L"{BE098140-A513-11D0-A3A4-00C04FD706EC}";
    return {{info, L"CLSID", w(item.CLSID)},       {info, L"IconFile", w(item.IconFile)},
            {info, L"IconIndex", w(item.IconIndex)}, {info, L"Infotip", w(item.Infotip)},
            {area, L"IconArea_Image", w(item.IconArea_Image)}, {area, L"IconArea_Text", w(item.IconArea_Text)}};
}

// The keys written into `work` (listed before and after), the file renamed and read back; the
// renamed file's path.
std::string WriteChecked(const std::string& work, const std::vector<Key>& keys)
{
    ListSections(Wide(work));
    for (const auto& k : keys)
        if (!WritePrivateProfileStringW(k.section, k.key, k.value.c_str(), Wide(work).c_str()))
            throw std::runtime_error("cannot write " + work);
    const std::string checked = work + ".checked";
    MoveFileExW(Wide(work).c_str(), Wide(checked).c_str(), 0);
    ListSections(Wide(checked));
    wchar_t value[2048];
    for (const auto& k : keys)
        GetPrivateProfileStringW(k.section, k.key, L"\x1", value, 2048, Wide(checked).c_str());
    return checked;
}

void AddSystem(const std::string& folder)
{
    const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
    if (!(attributes & FILE_ATTRIBUTE_SYSTEM))
        SetFileAttributesW(Wide(folder).c_str(), attributes | FILE_ATTRIBUTE_SYSTEM);
}

void Remove(const std::string& file)
{
    SetFileAttributesW(Wide(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(Wide(file).c_str());
}

// Whether the profile functions reach a file of this folder by its name.
bool Reached(const std::string& folder)
{
    return !Wide(folder + "~DeskTop.Ini.ffffffff.ffffffff.tmp").starts_with(L"\\\\?\\");
}

void DirectApply(const TDTItem& item, const std::string& temporary)
{
    const std::string& root = item.Path;
    const std::string file = root + SettingsFileName;
    const auto keys = KeysOf(item);
    // The top folder's own file, through a checked copy beside it; the profile functions reach
    // no deeper file, so a deep one's copy is worked on in the temporary folder and then put
    // beside it.
    WIN32_FIND_DATAW found;
    ScopedFind(FindFirstFileW(Wide(file).c_str(), &found));
    const bool reached = Reached(root);
    const std::string work = (reached ? root : temporary) + "~floor.tmp";
    MakeFile(work, ReadAll(file));
    std::string checked = WriteChecked(work, keys);
    if (!reached) {
        const std::string beside = root + "~floor.tmp";
        MakeFile(beside, ReadAll(checked));
        ReadAll(beside);
        Remove(checked);
        checked = beside;
    }
    SetFileAttributesW(Wide(checked).c_str(), kHiddenSystem);
    {
        ScopedFile flush(CreateFileW(Wide(checked).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        FlushFileBuffers(flush.get());
    }
    MoveFileExW(Wide(checked).c_str(), Wide(file).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    AddSystem(root);
    // The file of our keys alone, made once in the temporary folder.
    const std::string freshWork = temporary + "~floor-fresh.tmp";
    MakeFile(freshWork, "");
    const std::string freshChecked = WriteChecked(freshWork, keys);
    const std::string fresh = ReadAll(freshChecked);
    Remove(freshChecked);
    // Each folder's copy, complete under a temporary name before it takes its place.
    for (const auto& folder : HandleWalk(root)) {
        const std::string target = folder + SettingsFileName;
        if (GetFileAttributesW(Wide(target).c_str()) == INVALID_FILE_ATTRIBUTES) {
            const std::string copy = folder + "~floor.tmp";
            MakeFile(copy, fresh);
            MoveFileExW(Wide(copy).c_str(), Wide(target).c_str(), MOVEFILE_WRITE_THROUGH);
        }
        AddSystem(folder);
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

// A file of our keys alone, as every folder's is after an apply, is found, read, looked at as
// text and deleted.
void RemoveIfOurs(const std::string& folder)
{
    const std::string file = folder + SettingsFileName;
    WIN32_FIND_DATAW found;
    const ScopedFind find(FindFirstFileW(Wide(file).c_str(), &found));
    if (!find)
        return;
    const std::string bytes = ReadAll(file);
    const int size = MultiByteToWideChar(1252, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(1252, 0, bytes.data(), int(bytes.size()), text.data(), size);
    DeleteFileW(Wide(file).c_str());
}

void DirectRestore(const std::string& root)
{
    RemoveIfOurs(root);
    for (const auto& folder : HandleWalk(root))
        RemoveIfOurs(folder);
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
    for (const auto& folder : sample) {
        const DWORD file = GetFileAttributesW(Wide(folder + SettingsFileName).c_str());
        const DWORD dir = GetFileAttributesW(Wide(folder).c_str());
        if (file == INVALID_FILE_ATTRIBUTES || (file & kHiddenSystem) != kHiddenSystem ||
            dir == INVALID_FILE_ATTRIBUTES || !(dir & FILE_ATTRIBUTE_SYSTEM))
            throw std::runtime_error(std::string(who) + " left " + folder + " without its settings");
    }
}

void ExpectRestored(const std::vector<std::string>& sample, const char* who)
{
    for (const auto& folder : sample)
        if (GetFileAttributesW(Wide(folder + SettingsFileName).c_str()) != INVALID_FILE_ATTRIBUTES)
            throw std::runtime_error(std::string(who) + " left the settings file in " + folder);
}

// The short and the long path of each pair of top folders.
struct Tops {
    std::vector<std::string> Short, Long;
};

void WalkRounds(const Tops& tops)
{
    std::size_t listed = 0;
    const auto walk = [&](const std::string& name, const std::vector<std::string>& folders, auto lister) {
        return bench::Step{name, [&, folders, lister](int top) { listed = lister(folders[top]); },
                           [&, name](int) { ExpectFolders(listed, kFoldersPerTop, name.c_str()); }};
    };
    const auto floor = [](const std::string& top) { return HandleWalk(top).size(); };
    const auto ours = [](const std::string& top) { return TBaseFile().GetAllSubfolders(top).size(); };
    const auto find = [](const std::string& top) {
        std::vector<std::string> out;
        FindWalk(top, out);
        return out.size();
    };
    bench::Rounds runs(bench::RoundsFromEnvironment(7), kPairs);
    runs.Group({walk("floor", tops.Short, floor)});
    runs.Group({walk("floor long", tops.Long, floor)});
    runs.Group({walk("ours", tops.Short, ours)});
    runs.Group({walk("ours long", tops.Long, ours)});
    runs.Group({walk("find", tops.Short, find)});
    runs.Run();
    std::printf("subfolder walk, %d top folders of %zu folders each at a short and %d at a long path, %d rounds\n",
                kPairs, kFoldersPerTop, kPairs, runs.Count());
    runs.PrintTime("handle listing per folder (floor)", "floor", bench::kSeconds);
    runs.PrintTime("GetAllSubfolders (with loop guard)", "ours", bench::kSeconds);
    runs.PrintTime("FindFirstFileW recursion", "find", bench::kSeconds);
    runs.PrintTime("floor, long paths", "floor long", bench::kSeconds);
    runs.PrintTime("GetAllSubfolders, long paths", "ours long", bench::kSeconds);
    runs.PrintRatio("ratio GetAllSubfolders / floor", "ours", "floor", 1.05);
    runs.PrintRatio("ratio GetAllSubfolders / floor, long paths", "ours long", "floor long", 1.05);
    runs.PrintRatio("ratio long / short paths, GetAllSubfolders", "ours long", "ours");
    runs.PrintRatio("ratio long / short paths, floor", "floor long", "floor");
    runs.PrintRatio("ratio FindFirstFileW recursion / floor", "find", "floor");
}

void ApplyRestoreRounds(const Tops& tops, const std::string& temporary)
{
    TFolderCtrl ctrl(true);
    ctrl.SetApplyToSubfolders(true);
    struct Side {
        std::vector<TDTItem> items;
        std::vector<std::vector<std::string>> samples;
    } shortSide, longSide;
    for (auto [folders, side] : {std::pair{&tops.Short, &shortSide}, std::pair{&tops.Long, &longSide}})
        for (const auto& top : *folders) {
            ctrl.LoadSettings(top);
            ctrl.SetDisguiseIndex(1);
            ctrl.Current.Infotip = "benchmark";
            side->items.push_back(ctrl.Current);
            side->samples.push_back(Sample(top));
        }

    const auto ours = [&](const std::string& suffix, const Side& side) {
        return std::vector<bench::Step>{
            {"apply" + suffix,
             [&](int top) {
                 ctrl.Current = side.items[top];
                 ctrl.ApplySettings(side.items[top].Infotip);
             },
             [&](int top) { ExpectApplied(side.samples[top], "ApplySettings"); }},
            {"restore" + suffix,
             [&](int top) {
                 ctrl.Current = side.items[top];
                 ctrl.RestoreDefault();
             },
             [&](int top) { ExpectRestored(side.samples[top], "RestoreDefault"); }}};
    };
    const auto floor = [&](const std::string& suffix, const Side& side) {
        return std::vector<bench::Step>{
            {"apply floor" + suffix, [&](int top) { DirectApply(side.items[top], temporary); },
             [&](int top) { ExpectApplied(side.samples[top], "direct apply"); }},
            {"restore floor" + suffix, [&](int top) { DirectRestore(side.items[top].Path); },
             [&](int top) { ExpectRestored(side.samples[top], "direct restore"); }}};
    };
    bench::Rounds runs(bench::RoundsFromEnvironment(5), kPairs);
    runs.Group(ours("", shortSide));
    runs.Group(ours(" long", longSide));
    runs.Group(floor("", shortSide));
    runs.Group(floor(" long", longSide));
    runs.Run();
    std::printf("apply and restore with subfolders, each top folder in turn, %d rounds\n", runs.Count());
    for (const char* suffix : {"", " long"}) {
        const std::string s = suffix;
        const std::string paths = s.empty() ? "" : ", long paths";
        runs.PrintTime("walk + checked settings, copies, attributes" + paths, "apply floor" + s, bench::kSeconds);
        runs.PrintTime("ApplySettings with subfolders" + paths, "apply" + s, bench::kSeconds);
        runs.PrintRatio("ratio ApplySettings / floor" + paths, "apply" + s, "apply floor" + s, 1.05);
        runs.PrintTime("walk + find, read, delete" + paths, "restore floor" + s, bench::kSeconds);
        runs.PrintTime("RestoreDefault with subfolders" + paths, "restore" + s, bench::kSeconds);
        runs.PrintRatio("ratio RestoreDefault / floor" + paths, "restore" + s, "restore floor" + s, 1.05);
    }
    runs.PrintRatio("ratio long / short paths, ApplySettings", "apply long", "apply");
    runs.PrintRatio("ratio long / short paths, RestoreDefault", "restore long", "restore");
}

} // namespace

int main()
{
    try {
        bench::ScratchFolder scratch("quorrel-bench-tree");
        const auto start = std::chrono::steady_clock::now();
        // The long side: a chain of folders that takes every path below it past the old limit.
        std::string deep = scratch.Path();
        while (deep.size() < MAX_PATH)
            if (!MakeFolder(deep += "a folder on the way down\\"))
                throw std::runtime_error("cannot create " + deep);
        ExpectFolders(BuildTree(scratch.Path()) + BuildTree(deep), kFolders, "the tree builder");
        std::printf("tree of %zu folders built in %.2f s, the long half below a path of %zu characters\n", kFolders,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), deep.size());
        Tops tops;
        for (int top = 0; top < kPairs; ++top) {
            tops.Short.push_back(TopFolder(scratch.Path(), top));
            tops.Long.push_back(TopFolder(deep, top));
        }
        WalkRounds(tops);
        ApplyRestoreRounds(tops, scratch.Path());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "SubfolderWalk: %s\n", e.what());
        return 1;
    }
}
