#include "engine/BaseDialog.h"

#include <shlobj.h>

#include <array>

int TBaseDialog::PickIcon(std::string& file, HWND owner) const
{
    // An empty name: the picker starts on its own default file.
    std::array<wchar_t, 512> buffer{};
    int index = 0;
    // 1 is a confirmed choice, 0 a cancel; a picker that cannot open at all answers -1, which
    // is no choice either (some systems have no working picker).
    const bool confirmed = PickIconDlg(owner, buffer.data(), static_cast<UINT>(buffer.size()), &index) > 0;
    file = WideBufferToString(buffer.data(), static_cast<int>(buffer.size()));
    return confirmed ? index : -1;
}

std::string TBaseDialog::WideBufferToString(const wchar_t* buffer, int count) const
{
    int length = 0;
    while (length < count && buffer[length] != L'\0')
        ++length;
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, buffer, length, nullptr, 0, nullptr, nullptr);
    std::string text(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, buffer, length, text.data(), size, nullptr, nullptr);
    return text;
}
