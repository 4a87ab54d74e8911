// Times decoding a 1920 x 1080 JPEG through TJPEGImage against the library's own djpeg.exe
// on the same file. djpeg runs as a process each time, so the cost of starting a process
// (measured by decoding a 1 x 1 JPEG the same way) is subtracted from its time.
#include "toolkit/Bitmap.h"
#include "toolkit/Exception.h"
#include "toolkit/JpegImage.h"
#include "toolkit/Scoped.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {
constexpr int kRuns = 20;

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

std::string WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// The folder of the library's programs: $QUORREL_DEPS\jpeg\bin, or build\deps beside the
// build folder this program lies in (build\cmake\bench\JpegDecode.exe).
std::string JpegTools()
{
    if (const char* deps = std::getenv("QUORREL_DEPS"); deps && *deps)
        return WindowsPath(deps) + "\\jpeg\\bin\\";
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir.resize(dir.find_last_of('\\') + 1);
    return dir + "..\\..\\deps\\jpeg\\bin\\";
}

void Run(const std::string& commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start: " + commandLine);
    ScopedKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    if (code != 0)
        throw std::runtime_error("failed (" + std::to_string(code) + "): " + commandLine);
}

// A colour gradient, so the encoder has real detail to compress.
void WriteGradient(const std::string& path, int width, int height)
{
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = std::uint8_t(x * 255 / width);
            row[x * 3 + 1] = std::uint8_t(y * 255 / height);
            row[x * 3 + 2] = std::uint8_t((x + y) * 7);
        }
    }
    bitmap.SaveToFile(path);
}

double TimeProcess(const std::string& commandLine)
{
    Run(commandLine); // warm the file cache and the loader
    const double start = Now();
    for (int i = 0; i < kRuns; ++i)
        Run(commandLine);
    return (Now() - start) / kRuns;
}
} // namespace

int main()
{
    try {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string dir = std::string(temp) + "quorrel-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        const std::string tools = JpegTools();
        const std::string cjpeg = "\"" + tools + "cjpeg.exe\"", djpeg = "\"" + tools + "djpeg.exe\"";

        WriteGradient(dir + "big.bmp", 1920, 1080);
        WriteGradient(dir + "tiny.bmp", 1, 1);
        Run(cjpeg + " -quality 90 -outfile \"" + dir + "big.jpg\" \"" + dir + "big.bmp\"");
        Run(cjpeg + " -quality 90 -outfile \"" + dir + "tiny.jpg\" \"" + dir + "tiny.bmp\"");

        TJPEGImage jpeg;
        jpeg.LoadFromFile(dir + "big.jpg");
        if (jpeg.Width() != 1920 || jpeg.Height() != 1080)
            throw std::runtime_error("decoded to the wrong size");
        double start = Now();
        for (int i = 0; i < kRuns; ++i)
            jpeg.LoadFromFile(dir + "big.jpg");
        const double ours = (Now() - start) / kRuns;

        const double raw = TimeProcess(djpeg + " -bmp -outfile NUL \"" + dir + "big.jpg\"");
        const double startup = TimeProcess(djpeg + " -bmp -outfile NUL \"" + dir + "tiny.jpg\"");
        const double theirs = raw - startup;

        for (const char* name : {"big.bmp", "tiny.bmp", "big.jpg", "tiny.jpg"})
            DeleteFileA((dir + name).c_str());
        RemoveDirectoryA(dir.c_str());

        std::printf("JPEG decode 1920x1080, %d runs each\n", kRuns);
        std::printf("  TJPEGImage: %8.2f ms per decode\n", ours * 1000);
        std::printf("  djpeg.exe:  %8.2f ms per decode (%.2f ms per run less %.2f ms process start)\n",
                    theirs * 1000, raw * 1000, startup * 1000);
        if (theirs > 0)
            std::printf("  ratio:      %8.2f (aim: at most 1.2)\n", ours / theirs);
        else
            std::printf("  ratio:      not measurable (process start dominates)\n");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "JpegDecode: %s\n", e.what());
        return 1;
    }
}
