#pragma once
// What the program says about itself: the product strings of Res.dll, the program's folder, and
// the four product actions of the main window (home page, e-mail, help, About box).
//
// Every sidecar file is taken from the program's own folder by its full path: a missing Res.dll,
// Form.dll or Help.chm is missing, and never replaced by a file of that name that the platform's
// search would find in the working directory or on the path. Each library is loaded for the one
// use and released on every path out.
#include "toolkit/graphics/Graphic.h"

#include <windows.h>

#include <string>
#include <vector>

inline constexpr const char* ProductLibraryName = "Res.dll";
inline constexpr const char* AboutLibraryName = "Form.dll";
inline constexpr const char* HelpFileName = "Help.chm";
// The splash picture in the product library.
inline constexpr const char* SplashResourceName = "ImgFlash";
inline constexpr const char* SplashResourceType = "jpeg";
// Product strings longer than this are cut here (a buffer of 254 characters with its zero).
inline constexpr int ProductStringLength = 253;

// The folder of the running executable, ending in a backslash.
std::string ProgramDirectory();

struct TProductInfo {
    std::string AboutText0;   // string 0
    std::string ProductName;  // string 1: the title's first part
    std::string AboutText2;   // string 2
    std::string TitleSuffix;  // string 3: the title after a blank
    std::string HomePage;     // string 4
    std::string EmailAddress; // string 5
    std::string AboutText7;   // string 7
    // Where the sidecar files are looked for: the program's folder from the start.
    std::string AppDirectory = ProgramDirectory();
};

// The program's one record: its strings are empty until LoadProductStrings has filled them.
TProductInfo& ProductInfo();

// The full path of a sidecar file in info's folder. A folder that is not a full path counts as
// none, and the program's own folder is used instead.
std::string SidecarPath(const TProductInfo& info, const char* file);

// Reads strings 0, 1, 2, 3, 4, 5 and 7 of Res.dll; a string the library lacks, or a library
// that cannot be loaded, leaves its field empty.
void LoadProductStrings(TProductInfo& info);

// A copy of the resource `name` of type `type` in the library at `libraryPath`, which is loaded
// as data (none of its code runs). Raises EResNotFound when the library or resource is missing.
TBytes ReadLibraryResource(const std::string& libraryPath, const char* name, const char* type);
// The same for the first of `names` the library holds, whose index is stored in `found`;
// EResNotFound (naming the last) when it holds none.
TBytes ReadLibraryResource(const std::string& libraryPath, const std::vector<std::string>& names, const char* type,
                           std::size_t& found);

// The shell requests. Each answers whether the shell took it; the main window shows nothing
// either way. The home page opens in "iexplore.exe", run by its registered full path
// (HomePageBrowser); where none is registered, in the user's own browser.
std::string HomePageBrowser();
bool OpenHomePage(const TProductInfo& info);
bool SendEmail(const TProductInfo& info);
bool OpenHelp(const TProductInfo& info);

// Shows the About box of Form.dll owned by `owner`; a missing library or export does nothing.
void ShowAbout(HWND owner, const TProductInfo& info);
