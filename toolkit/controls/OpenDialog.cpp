#include "toolkit/controls/OpenDialog.h"

#include "toolkit/controls/CommonDialogError.h"
#include "toolkit/core/LateBound.h"

#include <commdlg.h>

#include <vector>

std::string TOpenDialog::PlatformFilter(const std::string& filter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos)
            bar = filter.size();
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::string list;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        // An empty pattern would end the platform's list early.
        if (parts[i + 1].empty())
            continue;
        list += parts[i];
        list += '\0';
        list += parts[i + 1];
        list += '\0';
    }
    if (!list.empty())
        list += '\0';
    return list;
}

bool TOpenDialog::Execute()
{
    const std::string platformFilter = PlatformFilter(filter_);
    std::vector<char> name(MAX_PATH * 4, '\0');
    fileName_.copy(name.data(), name.size() - 1);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = platformFilter.empty() ? nullptr : platformFilter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!late::GetOpenFileNameA(&ofn)) {
        ThrowIfCommonDialogFailed("GetOpenFileName");
        return false;
    }
    fileName_ = name.data();
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}
