#include "app/ProductInfo.h"

#include "engine/BaseApplication.h"
#include "sidecars/AboutForm.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Scoped.h"

#include <shellapi.h>

namespace {

// The project's one rule for a path that depends on no current drive or folder.
bool IsFullPath(const std::string& path)
{
    return IsDriveRoot(path) || IsAbsolutePath(path);
}

// A library for its resources: mapped as data, so none of its code runs.
ScopedLibrary LoadResourceLibrary(const std::string& path)
{
    return ScopedLibrary(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::string ProductString(HMODULE library, UINT number)
{
    char buffer[ProductStringLength + 1] = {};
    if (LoadStringA(library, number, buffer, sizeof buffer) <= 0)
        return {};
    return buffer; // up to the first zero
}

bool ShellOpen(const char* verb, const std::string& file, const char* parameters, const char* directory)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, verb, file.c_str(), parameters, directory, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace

std::string ProgramDirectory()
{
    return TBaseApplication().GetAppDirectory("");
}

TProductInfo& ProductInfo()
{
    static TProductInfo info;
    return info;
}

std::string SidecarPath(const TProductInfo& info, const char* file)
{
    std::string folder = IsFullPath(info.AppDirectory) ? info.AppDirectory : ProgramDirectory();
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder + file;
}

void LoadProductStrings(TProductInfo& info)
{
    const ScopedLibrary library = LoadResourceLibrary(SidecarPath(info, ProductLibraryName));
    // Without the library every field is empty: a null module would read the program's own table.
    const auto read = [&library](UINT number) { return library ? ProductString(library.get(), number) : std::string(); };
    info.AboutText0 = read(0);
    info.ProductName = read(1);
    info.AboutText2 = read(2);
    info.TitleSuffix = read(3);
    info.HomePage = read(4);
    info.EmailAddress = read(5);
    info.AboutText7 = read(7);
}

TBytes ReadLibraryResource(const std::string& libraryPath, const char* name, const char* type)
{
    const ScopedLibrary library = LoadResourceLibrary(libraryPath);
    if (!library)
        throw EResNotFound(FormatText("Cannot load the library \"%s\"", libraryPath));
    const TByteSpan bytes = ResourceBytes(library.get(), name, type);
    return TBytes(bytes.begin(), bytes.end());
}

TBytes ReadLibraryResource(const std::string& libraryPath, const std::vector<std::string>& names, const char* type,
                           std::size_t& found)
{
    const ScopedLibrary library = LoadResourceLibrary(libraryPath);
    if (!library)
        throw EResNotFound(FormatText("Cannot load the library \"%s\"", libraryPath));
    for (found = 0; found + 1 < names.size(); ++found)
        if (FindResourceA(library.get(), names[found].c_str(), type))
            break;
    const TByteSpan bytes = ResourceBytes(library.get(), names.at(found).c_str(), type);
    return TBytes(bytes.begin(), bytes.end());
}

std::string HomePageBrowser()
{
    // By the path the system registered for it: given a bare name, the shell would first run
    // an "iexplore.exe" lying in the working directory. A REG_SZ request also takes a value
    // with references (%ProgramFiles%), expanded.
    char path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\iexplore.exe",
                     nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return {};
    std::string browser = path;
    if (browser.size() >= 2 && browser.front() == '"' && browser.back() == '"')
        browser = browser.substr(1, browser.size() - 2);
    return IsFullPath(browser) && IsExistingFile(browser) ? browser : std::string();
}

bool OpenHomePage(const TProductInfo& info)
{
    const std::string browser = HomePageBrowser();
    if (!browser.empty())
        return ShellOpen("open", browser, info.HomePage.c_str(), "");
    // No such browser on this system: the page opens in the user's own browser.
    const bool web = info.HomePage.rfind("https://", 0) == 0 || info.HomePage.rfind("http://", 0) == 0;
    return web && ShellOpen("open", info.HomePage, nullptr, nullptr);
}

bool SendEmail(const TProductInfo& info)
{
    return ShellOpen(nullptr, "mailto:" + info.EmailAddress, nullptr, nullptr);
}

bool OpenHelp(const TProductInfo& info)
{
    return ShellOpen(nullptr, SidecarPath(info, HelpFileName), nullptr, nullptr);
}

void ShowAbout(HWND owner, const TProductInfo& info)
{
    const ScopedLibrary library(LoadLibraryA(SidecarPath(info, AboutLibraryName).c_str()));
    if (!library)
        return;
    const auto show = reinterpret_cast<TShowAboutForm>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), ShowAboutFormExport)));
    if (!show)
        return;
    const TAboutFormInfo plain{sizeof(TAboutFormInfo), info.AboutText0.c_str(), info.ProductName.c_str(),
                               info.AboutText2.c_str(), info.TitleSuffix.c_str(), info.HomePage.c_str(),
                               info.EmailAddress.c_str(), info.AboutText7.c_str(), info.AppDirectory.c_str()};
    show(owner, &plain);
}
