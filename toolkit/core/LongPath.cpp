#include "toolkit/core/LongPath.h"

#include "toolkit/core/PathText.h"

#include <iterator>

namespace {

// The plain form stays below the limit even with a settings file's name or a temporary
// name of our own added to it.
constexpr std::size_t kPlainLimit = MAX_PATH - 12 - 24;

// A path the platform would tidy up itself, and takes literally behind the prefix.
bool NeedsTidying(std::wstring_view path)
{
    if (path.find(L'/') != std::wstring_view::npos || path.find(L"\\\\", 1) != std::wstring_view::npos)
        return true;
    for (std::size_t at = path.find(L"\\."); at != std::wstring_view::npos; at = path.find(L"\\.", at + 1)) {
        const std::wstring_view rest = path.substr(at + 2);
        if (rest.empty() || rest[0] == L'\\' || rest == L"." || rest.starts_with(L".\\"))
            return true;
    }
    return false;
}

std::wstring Canonical(const std::wstring& path)
{
    // Paths built from a listing are canonical already; only a user's path is worth the call.
    if (!NeedsTidying(path))
        return path;
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    // A folder's trailing backslash means something to the callers; keep it.
    if (!path.empty() && path.back() == L'\\' && (full.empty() || full.back() != L'\\'))
        full += L'\\';
    return full;
}

} // namespace

std::wstring WidePath(const std::string& path)
{
    std::wstring wide = AnsiToWide(path);
    if (wide.size() < kPlainLimit || !IsAbsolutePath(path) || path.starts_with("\\\\?\\") ||
        path.starts_with("\\\\.\\"))
        return wide;
    wide = Canonical(wide);
    if (wide.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + wide.substr(2);
    return L"\\\\?\\" + wide;
}

std::string SystemErrorText(DWORD code)
{
    wchar_t buffer[1024] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : WideToAnsi(text);
}
