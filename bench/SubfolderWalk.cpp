// How long the subfolder walk, apply and restore take on a tree of 20,000 folders, against a
// plain FindFirstFileA recursion over the same tree (the floor under Wine) and native `find`.
#include "engine/BaseFile.h"
#include "engine/FolderCtrl.h"
#include "toolkit/Scoped.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work, int repeats = 1)
{
    double best = 1e9;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// 20 top folders x 20 x 49 leaves = 20,000 folders, plus 20 dot-folders with 5 children each.
int BuildTree(const std::string& root)
{
    CreateDirectoryA(root.c_str(), nullptr);
    int made = 0;
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

void PlainWalk(const std::string& folder, std::size_t& count)
{
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA((folder + "*").c_str(), &entry));
    if (!find)
        return;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.') {
            ++count;
            PlainWalk(folder + entry.cFileName + "\\", count);
        }
    } while (FindNextFileA(find.get(), &entry));
}

void BasicLargeFetchWalk(const std::string& folder, std::size_t& count)
{
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find)
        return;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.') {
            ++count;
            BasicLargeFetchWalk(folder + entry.cFileName + "\\", count);
        }
    } while (FindNextFileA(find.get(), &entry));
}

std::string UnixPathOf(const std::string& path)
{
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    const std::wstring wide(path.begin(), path.end());
    char* unix = convert(wide.c_str());
    std::string result = unix ? unix : "";
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// Native `find -type d`, timed on the Linux side; negative when not under Wine.
double NativeFindSeconds(const std::string& root)
{
    const std::string out = root + "..\\find-time.txt";
    DeleteFileA(out.c_str());
    const std::string unixRoot = UnixPathOf(root), unixOut = UnixPathOf(out);
    if (unixRoot.empty())
        return -1;
    std::string line = "/bin/sh -c \"s=$(date +%s%N); find '" + unixRoot + "' -type d >/dev/null; e=$(date +%s%N); "
                       "echo $((e-s)) > '" + unixOut + ".tmp'; mv '" + unixOut + ".tmp' '" + unixOut + "'\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int waited = 0; waited < 60000 && GetFileAttributesA(out.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 10)
        Sleep(10);
    long long ns = -1;
    std::ifstream(out) >> ns;
    DeleteFileA(out.c_str());
    return ns / 1e9;
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    ScopedFind find(FindFirstFileA((folder + "*").c_str(), &entry));
    if (find) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = folder + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full + "\\");
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(find.get(), &entry));
    }
    find.reset();
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "quorrel-bench-tree\\";
    RemoveTree(root);
    const double buildTime = Seconds([&] { BuildTree(root); });

    std::size_t listed = 0, plain = 0, basic = 0;
    const double walk = Seconds([&] { listed = TBaseFile().GetAllSubfolders(root).size(); }, 3);
    const double floor = Seconds([&] { plain = 0; PlainWalk(root, plain); }, 3);
    const double basicWalk = Seconds([&] { basic = 0; BasicLargeFetchWalk(root, basic); }, 3);
    const double native = NativeFindSeconds(root);

    std::printf("subfolder walk over %zu folders (tree built in %.2f s)\n", listed, buildTime);
    std::printf("  GetAllSubfolders (with loop guard)    %8.3f s\n", walk);
    std::printf("  plain FindFirstFileA recursion        %8.3f s   (%zu folders)\n", floor, plain);
    std::printf("  FindFirstFileExA basic + large fetch  %8.3f s   (%zu folders)\n", basicWalk, basic);
    if (native >= 0)
        std::printf("  native find -type d                   %8.3f s\n", native);
    std::printf("  ratio walk / plain recursion          %8.2f   (aim: at most 1.0)\n", walk / floor);
    if (native > 0)
        std::printf("  ratio plain recursion / native find   %8.1f\n", floor / native);

    // The file calls each folder needs, made directly over the listed folders: the floor
    // under apply and restore once the walk is done.
    TFolderCtrl ctrl(true);
    ctrl.LoadSettings(root);
    ctrl.SetDisguiseIndex(1);
    ctrl.SetApplyToSubfolders(false);
    ctrl.ApplySettings("benchmark");
    const auto folders = TBaseFile().GetAllSubfolders(root);
    const std::string source = root + "DeskTop.Ini";
    const double rawCopy = Seconds([&] {
        for (const auto& folder : folders) {
            const std::string target = folder + "DeskTop.Ini";
            CopyFileA(source.c_str(), target.c_str(), TRUE);
            SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
            SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM);
        }
    });
    const double rawDelete = Seconds([&] {
        for (const auto& folder : folders) {
            const std::string target = folder + "DeskTop.Ini";
            if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
                DeleteFileA(target.c_str());
        }
    });

    ctrl.SetApplyToSubfolders(true);
    const double apply = Seconds([&] { ctrl.ApplySettings("benchmark"); });
    ctrl.LoadSettings(root);
    const double restore = Seconds([&] { ctrl.RestoreDefault(); });
    const double perFolder = 1e6 / listed;
    std::printf("apply and restore over the same tree\n");
    std::printf("  ApplySettings with subfolders         %8.3f s   %7.1f us per folder\n", apply, apply * perFolder);
    std::printf("  walk + direct copy and attributes     %8.3f s   %7.1f us per folder\n", walk + rawCopy,
                (walk + rawCopy) * perFolder);
    std::printf("  ratio                                 %8.2f   (aim: 1.0)\n", apply / (walk + rawCopy));
    std::printf("  RestoreDefault with subfolders        %8.3f s   %7.1f us per folder\n", restore,
                restore * perFolder);
    std::printf("  walk + direct attribute query, delete %8.3f s   %7.1f us per folder\n", walk + rawDelete,
                (walk + rawDelete) * perFolder);
    std::printf("  ratio                                 %8.2f   (aim: 1.0)\n", restore / (walk + rawDelete));
    RemoveTree(root);
    return 0;
}
