#include "engine/BaseDialog.h"

#include "toolkit/core/PathText.h"

#include <shlobj.h>

#include <algorithm>
#include <array>

int TBaseDialog::PickIcon(std::string& file, HWND owner, int index) const
{
    std::array<wchar_t, 512> buffer{};
    const std::wstring start = AnsiToWide(file);
    if (start.size() < buffer.size())
        std::copy(start.begin(), start.end(), buffer.begin());
    else
        index = 0;
    // 1 is a confirmed choice, 0 a cancel; a picker that cannot open at all answers -1, which
    // is no choice either (some systems have no working picker).
    if (PickIconDlg(owner, buffer.data(), static_cast<UINT>(buffer.size()), &index) <= 0)
        return -1;
    file = WideBufferToString(buffer.data(), static_cast<int>(buffer.size()));
    return index;
}

std::string TBaseDialog::WideBufferToString(const wchar_t* buffer, int count) const
{
    int length = 0;
    while (length < count && buffer[length] != L'\0')
        ++length;
    return WideToAnsi(std::wstring_view(buffer, static_cast<std::size_t>(length)));
}
