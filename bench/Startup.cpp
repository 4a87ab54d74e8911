// Start-up of Quorrel.exe, end to end, each against a floor built the same way:
// - a verb start of Default on a folder (the process runs, restores the folder and ends)
//   against a program that deletes that one file and tells the shell of the change, the two
//   platform calls a restore makes (aim: at most 1.5 times); beside it against a program that
//   only deletes the file;
// - a verb start of Pretend until its dialog is visible, against a program that shows one
//   window (aim: at most 2 times);
// - a window start until the main window is visible, the splash's prescribed two seconds
//   left out (the time from the splash's appearance to its close is not counted), against the
//   same one-window program (aim: at most 2 times);
// - the peak working set of the window start at that moment against that of the same one
//   window in a program that has loaded the shell's libraries and made the platform calls of a
//   tree with the shell's icons (the system's small-icon list, the icons of the desktop's
//   folders) (aim: at most 1.2 times), and beside it against the plain window and against the
//   window with the shell's libraries alone, which tell how much of it is the platform's.
// The programs are started as processes of their own, in the Wine prefix of the run. Each start
// begins on a settled machine: a program that has just ended is still being taken down (its
// memory, its windows on the X server) for some tens of milliseconds, and whichever start came
// next paid for it (the one-window floor took 78 ms instead of 50 right after a dialog had
// closed), as a user's start from the shell never does.
#include "bench/Runner.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string ThisFolder()
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir.resize(dir.find_last_of('\\') + 1);
    return dir;
}

// The build names its program by its path on the host (drive Z: under Wine).
std::string ProgramPath()
{
    std::string path = "Z:" QUORREL_PROGRAM;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

struct WindowSearch {
    DWORD id;
    SIZE notSize;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) noexcept
{
    auto& s = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s.id || !IsWindowVisible(window))
        return TRUE;
    RECT r{};
    GetWindowRect(window, &r);
    if (r.right - r.left == s.notSize.cx && r.bottom - r.top == s.notSize.cy)
        return TRUE;
    s.found = window;
    return FALSE;
}

class Process {
public:
    Process(const std::string& exe, const std::string& arguments)
    {
        std::string commandLine = "\"" + exe + "\" " + arguments;
        const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &info))
            throw std::runtime_error("cannot start " + commandLine);
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
    ~Process()
    {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 10000);
        }
        CloseHandle(process_);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Wait()
    {
        if (WaitForSingleObject(process_, 30000) != WAIT_OBJECT_0)
            throw std::runtime_error("the program did not end");
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return code;
    }
    // The visible top-level window of the process whose size is not `notSize` (0: any), or null.
    HWND VisibleWindow(SIZE notSize = {0, 0}) const
    {
        WindowSearch search{id_, notSize, nullptr};
        EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitForWindow(SIZE size) const
    {
        const double start = Now();
        for (;;) {
            HWND w = VisibleWindow();
            if (w) {
                RECT r{};
                GetWindowRect(w, &r);
                if (size.cx == 0 || (r.right - r.left == size.cx && r.bottom - r.top == size.cy))
                    return w;
            }
            if (Now() - start > 30)
                throw std::runtime_error("no window came");
            Sleep(1);
        }
    }
    double PeakWorkingSetMiB() const
    {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(process_, &counters, sizeof counters))
            throw std::runtime_error("no memory counters");
        return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

constexpr SIZE kMainSize{496, 377};
// The pause before each start: the last program's end is taken down by then.
constexpr DWORD kSettleMilliseconds = 250;

// Seconds the clock leaves out: the splash's time on the screen.
double excluded = 0;

void CloseAndWait(Process& process, HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (process.Wait() != 0)
        throw std::runtime_error("exit code not 0");
}

} // namespace

int main()
{
    try {
        const int rounds = bench::RoundsFromEnvironment(7);
        const std::string program = ProgramPath();
        const std::string deleteFloor = ThisFolder() + "floors\\DeleteOneFile.exe";
        const std::string notifyFloor = ThisFolder() + "floors\\DeleteAndNotify.exe";
        const std::string windowFloor = ThisFolder() + "floors\\OneWindow.exe";
        const std::string shellFloor = ThisFolder() + "floors\\OneShellWindow.exe";
        const std::string shellIconFloor = ThisFolder() + "floors\\OneShellIconWindow.exe";

        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string folder = std::string(temp) + "quorrel-bench-startup-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        const std::string settings = folder + "\\DeskTop.Ini";
        const auto plant = [&](int) {
            SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
            HANDLE file = CreateFileA(settings.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                throw std::runtime_error("cannot write " + settings);
            const char text[] = "[.ShellClassInfo]\r\nInfoTip=bench\r\n";
            DWORD written = 0;
            WriteFile(file, text, sizeof text - 1, &written, nullptr);
            CloseHandle(file);
        };
        const auto gone = [&](int) {
            if (GetFileAttributesA(settings.c_str()) != INVALID_FILE_ATTRIBUTES)
                throw std::runtime_error("the settings file is still there");
        };

        std::vector<double> ourMemory, floorMemory, shellMemory, shellIconMemory;
        std::unique_ptr<Process> running;
        HWND shown = nullptr;

        bench::Rounds r(rounds, 1, [] { return Now() - excluded; });
        // Each group's own, as steps are named once; nothing prints their times.
        int settles = 0;
        const auto settle = [&settles] {
            return bench::Step{"settle " + std::to_string(++settles), [](int) { Sleep(kSettleMilliseconds); }, {}};
        };
        r.Group({settle(), {"plant ours", plant, {}},
                 {"verb Default", [&](int) { Process(program, "Default \"" + folder + "\"").Wait(); }, gone}});
        r.Group({settle(), {"plant floor", plant, {}},
                 {"delete one file", [&](int) { Process(deleteFloor, "\"" + settings + "\"").Wait(); }, gone}});
        r.Group({settle(), {"plant notifying floor", plant, {}},
                 {"delete and notify", [&](int) { Process(notifyFloor, "\"" + settings + "\"").Wait(); }, gone}});
        r.Group({settle(),
                 {"verb Pretend",
                  [&](int) {
                      running = std::make_unique<Process>(program, "Pretend \"" + folder + "\"");
                      shown = running->WaitForWindow({0, 0});
                  },
                  [&](int) {
                      CloseAndWait(*running, shown);
                      running.reset();
                  }}});
        r.Group({settle(),
                 {"window start",
                  [&](int) {
                      running = std::make_unique<Process>(program, "");
                      HWND splash = nullptr;
                      while (!(splash = running->VisibleWindow(kMainSize)))
                          Sleep(1);
                      const double appeared = Now();
                      while (IsWindowVisible(splash))
                          Sleep(1);
                      excluded += Now() - appeared;
                      shown = running->WaitForWindow(kMainSize);
                  },
                  [&](int) {
                      ourMemory.push_back(running->PeakWorkingSetMiB());
                      CloseAndWait(*running, shown);
                      running.reset();
                  }}});
        r.Group({settle(),
                 {"one window",
                  [&](int) {
                      running = std::make_unique<Process>(windowFloor, "");
                      shown = running->WaitForWindow(kMainSize);
                  },
                  [&](int) {
                      floorMemory.push_back(running->PeakWorkingSetMiB());
                      CloseAndWait(*running, shown);
                      running.reset();
                  }}});
        // The floors whose memory the window start's is compared with, each a window of its own.
        const auto memoryFloor = [&](const std::string& name, const std::string& exe, std::vector<double>& memory) {
            r.Group({settle(),
                     {name,
                      [&, exe](int) {
                          running = std::make_unique<Process>(exe, "");
                          shown = running->WaitForWindow(kMainSize);
                      },
                      [&, target = &memory](int) {
                          target->push_back(running->PeakWorkingSetMiB());
                          CloseAndWait(*running, shown);
                          running.reset();
                      }}});
        };
        memoryFloor("one window, shell libraries", shellFloor, shellMemory);
        memoryFloor("one window, shell libraries and the tree's icons", shellIconFloor, shellIconMemory);
        r.Run();
        RemoveDirectoryA(folder.c_str());

        std::printf("Start-up, %d rounds (median, range):\n", r.Count());
        r.PrintTime("verb start, Default on a folder", "verb Default", bench::kMilliseconds);
        r.PrintTime("floor: delete one file, notify the shell", "delete and notify", bench::kMilliseconds);
        r.PrintRatio("verb start / floor", "verb Default", "delete and notify", 1.5);
        r.PrintTime("floor: delete one file only", "delete one file", bench::kMilliseconds);
        r.PrintRatio("verb start / delete-only floor", "verb Default", "delete one file");
        r.PrintTime("verb start, Pretend to its dialog shown", "verb Pretend", bench::kMilliseconds);
        r.PrintRatio("Pretend verb start / one-window floor", "verb Pretend", "one window", 2.0);
        r.PrintTime("window start to main window, splash left out", "window start", bench::kMilliseconds);
        r.PrintTime("floor: one window shown", "one window", bench::kMilliseconds);
        r.PrintRatio("window start / floor", "window start", "one window", 2.0);
        // The warm-up round measured memory too; its figures go like its times.
        for (std::vector<double>* memory : {&ourMemory, &floorMemory, &shellMemory, &shellIconMemory})
            memory->erase(memory->begin());
        const bench::Spread ours = bench::Summarise(ourMemory);
        std::printf("  %-44s %9.1f MiB (%.1f-%.1f)\n", "peak working set, window start", ours.median, ours.low, ours.high);
        // Each floor's figure, then the window start's over it, round by round; aim <= 0: none.
        const auto printMemory = [&](const char* label, const char* ratioLabel, const std::vector<double>& floor,
                                     double aim) {
            std::vector<double> ratios;
            for (std::size_t i = 0; i < ourMemory.size() && i < floor.size(); ++i)
                ratios.push_back(ourMemory[i] / floor[i]);
            const bench::Spread base = bench::Summarise(floor), ratio = bench::Summarise(ratios);
            std::printf("  %-44s %9.1f MiB (%.1f-%.1f)\n", label, base.median, base.low, base.high);
            std::printf("  %-44s %9.2f     (%.2f-%.2f, %zu pairs)", ratioLabel, ratio.median, ratio.low, ratio.high,
                        ratios.size());
            if (aim > 0)
                std::printf("  aim at most %.2f: %s", aim, ratio.median <= aim ? "met" : "NOT met");
            std::printf("\n");
        };
        printMemory("peak working set, one window", "memory / floor", floorMemory, 0);
        printMemory("peak working set, window + shell libraries", "memory / shell-library floor", shellMemory, 0);
        printMemory("peak working set, the same + tree's icons", "memory / shell-and-icons floor", shellIconMemory,
                    1.2);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Startup: %s\n", e.what());
        return 1;
    }
    return 0;
}
