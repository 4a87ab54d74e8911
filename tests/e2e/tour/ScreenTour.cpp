// Runs Quorrel.exe on a virtual display and saves a picture of every window it shows: the
// splash, the main window, the About box, then the Adorn Folder dialog (each of its pages) and
// the Pretend Folder dialog as Explorer's entries open them on a scratch folder (or, for a verb
// start given on the command line, whatever that verb opens).
// `make run` uses it where there is no display to look at.
//
//     ScreenTour [--dpi N] <program> <screenshot folder> [arguments for the program...]
//
// --dpi shows the windows at that DPI (LogPixels of the Wine prefix, put back afterwards).
#include "e2e/ProgramRun.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

namespace {

std::string shotFolder;

// The window as the screen shows it, after painting has settled.
void Capture(HWND window, const std::string& name)
{
    Pause(400);
    const SIZE size = SaveScreenPicture(window, shotFolder + name + ".bmp");
    RECT client{};
    GetClientRect(window, &client);
    std::printf("run-app: %s (%ld x %ld, client %ld x %ld)\n", name.c_str(), size.cx, size.cy, client.right, client.bottom);
}


// Every new window of a verb start is captured and cancelled, until the program ends.
void VerbTour(ProgramRun& run)
{
    std::set<HWND> seen;
    int number = 0;
    while (run.Running()) {
        for (HWND w : run.Windows()) {
            if (!seen.insert(w).second)
                continue;
            const std::string text = WindowText(w);
            Capture(w, "verb-" + std::to_string(++number));
            std::printf("run-app: window \"%s\"%s%s\n", text.c_str(), ClassOf(w) == "#32770" ? ": " : "",
                        ClassOf(w) == "#32770" ? MessageBoxText(w).c_str() : "");
            if (ClassOf(w) == "#32770")
                PressDialogButton(w, IDOK);
            else
                PostMessageA(w, WM_CLOSE, 0, 0);
        }
        Pause(20);
    }
}

void WindowTour(ProgramRun& run)
{
    HWND splash = run.WaitForWindow([](HWND w) { return !IsMainWindow(w); }, 20000);
    if (splash && ClassOf(splash) != "#32770") {
        Capture(splash, "splash");
        run.WaitUntilGone(splash);
    }
    HWND main = run.WaitForWindow(IsMainWindow, 20000);
    if (!main) {
        std::printf("run-app: the main window did not appear\n");
        return;
    }
    Capture(main, "main-window");

    // The About box: the last of the four link buttons.
    ClickAt(ChildAt(main, AtStartedDpi(POINT{426 + 24, 44 + 20})), AtStartedDpi(POINT{24, 20}));
    HWND about = run.WaitForWindow([main](HWND w) { return w != main; }, 5000);
    if (about) {
        Capture(about, "about-box");
        PostMessageA(about, WM_CLOSE, 0, 0);
        run.WaitUntilGone(about);
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
}

// The dialogs, opened by verb starts on a folder of the tour's own; each is cancelled.
void DialogTour(const std::string& exe)
{
    const TempDir scratch;
    const std::string folder = scratch.MakeDir("Scratch folder");
    for (const char* verb : {"Adorn", "Pretend"}) {
        ProgramRun run(exe, std::string(verb) + " \"" + folder + "\"", scratch.Path());
        const std::string caption = std::string(verb) + " Folder";
        HWND dialog = run.WaitForWindow([&](HWND w) { return WindowText(w) == caption; }, 20000);
        if (!dialog) {
            std::printf("run-app: no %s dialog appeared\n", verb);
            continue;
        }
        std::string name = verb;
        name[0] = char(name[0] - 'A' + 'a');
        const std::vector<HWND> tabs = ChildrenOfClass(dialog, WC_TABCONTROLA);
        const int pages = tabs.size() == 1 ? int(SendMessageA(tabs[0], TCM_GETITEMCOUNT, 0, 0)) : 0;
        if (pages <= 1) {
            Capture(dialog, name + "-dialog");
        } else {
            for (int page = 0; page < pages; ++page) {
                if (page > 0) {
                    // The next page, the way the arrow key chooses it in the tabs.
                    PostMessageA(tabs[0], WM_KEYDOWN, VK_RIGHT, 0);
                    PostMessageA(tabs[0], WM_KEYUP, VK_RIGHT, 0xC0000000);
                }
                Capture(dialog, name + "-dialog-page" + std::to_string(page + 1));
            }
        }
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        run.WaitForExit();
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<DisplayDpi> dpi;
    if (argc > 2 && std::string(argv[1]) == "--dpi") {
        try {
            dpi = std::make_unique<DisplayDpi>(std::atoi(argv[2]));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "run-app: %s\n", e.what());
            return 1;
        }
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: ScreenTour [--dpi N] <program> <screenshot folder> [arguments...]\n");
        return 2;
    }
    const auto windowsPath = [](std::string path) {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    };
    shotFolder = windowsPath(argv[2]);
    if (shotFolder.back() != '\\')
        shotFolder += '\\';
    CreateDirectoryA(shotFolder.c_str(), nullptr);
    std::string arguments;
    for (int i = 3; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!arguments.empty())
            arguments += ' ';
        arguments += argument.find_first_of(" \t") == std::string::npos ? argument : "\"" + argument + "\"";
    }
    try {
        const std::string exe = windowsPath(argv[1]);
        ProgramRun run(exe, arguments, exe.substr(0, exe.find_last_of('\\') + 1));
        if (argc > 3)
            VerbTour(run);
        else
            WindowTour(run);
        const DWORD code = run.WaitForExit();
        std::printf("run-app: Quorrel.exe ended with exit code %lu\n", code);
        if (argc == 3)
            DialogTour(exe);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "run-app: %s\n", e.what());
        return 1;
    }
    return 0;
}
