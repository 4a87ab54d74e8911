#include "shelltree/RootFolder.h"

#include "shelltree/ShellModule.h"
#include "shelltree/ShellNamespace.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/PathText.h"

#include <array>

namespace {
struct RootRow {
    std::string_view name;
    int csidl;
};

constexpr std::array<RootRow, kRootFolderCount> kRoots{{
    {"rfDesktop", CSIDL_DESKTOP},
    {"rfMyComputer", CSIDL_DRIVES},
    {"rfNetwork", CSIDL_NETWORK},
    {"rfRecycleBin", CSIDL_BITBUCKET},
    {"rfAppData", CSIDL_APPDATA},
    {"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY},
    {"rfCommonPrograms", CSIDL_COMMON_PROGRAMS},
    {"rfCommonStartMenu", CSIDL_COMMON_STARTMENU},
    {"rfCommonStartup", CSIDL_COMMON_STARTUP},
    {"rfControlPanel", CSIDL_CONTROLS},
    {"rfDesktopDirectory", CSIDL_DESKTOPDIRECTORY},
    {"rfFavorites", CSIDL_FAVORITES},
    {"rfFonts", CSIDL_FONTS},
    {"rfInternet", CSIDL_INTERNET},
    {"rfPersonal", CSIDL_PERSONAL},
    {"rfPrinters", CSIDL_PRINTERS},
    {"rfPrintHood", CSIDL_PRINTHOOD},
    {"rfPrograms", CSIDL_PROGRAMS},
    {"rfRecent", CSIDL_RECENT},
    {"rfSendTo", CSIDL_SENDTO},
    {"rfStartMenu", CSIDL_STARTMENU},
    {"rfStartup", CSIDL_STARTUP},
    {"rfTemplates", CSIDL_TEMPLATES},
}};

char AsciiLower(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// The absolute list a root text names, or an empty owner.
IdList LocationOf(std::string& rootText)
{
    IdList list;
    if (const auto root = RootFolderOf(rootText)) {
        if (FAILED(SHGetSpecialFolderLocation(nullptr, RootFolderCsidl(*root), ReceiveIdList(list))))
            list.reset();
        return list;
    }
    if (rootText.empty())
        return list;
    if (rootText.back() == ':')
        rootText += '\\';
    std::wstring wide = AnsiToWide(rootText);
    if (FAILED(DesktopFolderObject()->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr,
                                                       ReceiveIdList(list), nullptr)))
        list.reset();
    return list;
}
} // namespace

std::string_view RootFolderName(TRootFolder root) noexcept
{
    return kRoots[static_cast<std::size_t>(root)].name;
}

int RootFolderCsidl(TRootFolder root) noexcept
{
    return kRoots[static_cast<std::size_t>(root)].csidl;
}

std::optional<TRootFolder> RootFolderOf(std::string_view text) noexcept
{
    for (std::size_t i = 0; i < kRoots.size(); ++i)
        if (SameIgnoringAsciiCase(text, kRoots[i].name))
            return static_cast<TRootFolder>(i);
    return std::nullopt;
}

std::unique_ptr<TShellFolder> RootItemFromIdList(LPCITEMIDLIST list)
{
    const ComPtr<IShellFolder> desktop = DesktopFolderObject();
    ComPtr<IShellFolder> folder = BindChildFolder(desktop.get(), list, nullptr);
    if (!folder)
        folder = desktop;
    return std::make_unique<TShellFolder>(DesktopItem(), std::move(folder), list);
}

void OpenRootLocation(std::unique_ptr<TShellFolder>& rootItem, const std::string& previousRoot,
                      std::string& rootText)
{
    // However it fails, the text goes back and the current item stays.
    try {
        const IdList list = LocationOf(rootText);
        if (!list)
            throw EInvalidPath(FormatText("Error setting path: \"%s\"", rootText));
        rootItem = RootItemFromIdList(Pidl(list));
    } catch (...) {
        rootText = previousRoot;
        throw;
    }
}
