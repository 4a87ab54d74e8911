#include "toolkit/core/PathText.h"

#include "toolkit/core/LongPath.h"

#include <windows.h>

namespace {

// Unpaired surrogates replaced by "?": UTF-8 has no form for them.
std::wstring WithoutLoneSurrogates(std::wstring_view text)
{
    std::wstring result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const bool high = result[i] >= 0xD800 && result[i] <= 0xDBFF;
        const bool low = result[i] >= 0xDC00 && result[i] <= 0xDFFF;
        const bool nextLow = i + 1 < result.size() && result[i + 1] >= 0xDC00 && result[i + 1] <= 0xDFFF;
        if (high && nextLow)
            ++i;
        else if (high || low)
            result[i] = L'?';
    }
    return result;
}

std::string Converted(std::wstring_view text, UINT codePage, DWORD flags, const char* fallback)
{
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, fallback, nullptr);
    if (size <= 0)
        return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, result.data(), size, fallback, nullptr);
    return result;
}

} // namespace

std::string WideToCodePage(std::wstring_view text, unsigned codePage)
{
    if (text.empty())
        return {};
    const UINT page = codePage == CP_ACP ? GetACP() : codePage;
    if (page == CP_UTF8)
        return Converted(WithoutLoneSurrogates(text), CP_UTF8, 0, nullptr);
    // A few code pages refuse the flag; they have no best fit either.
    std::string result = Converted(text, page, WC_NO_BEST_FIT_CHARS, "?");
    if (result.empty() && GetLastError() == ERROR_INVALID_FLAGS)
        result = Converted(text, page, 0, "?");
    return result;
}

std::string WideToAnsi(std::wstring_view text)
{
    return WideToCodePage(text, CP_ACP);
}

bool WideToAnsiExact(std::wstring_view text, std::string& result)
{
    result.clear();
    if (text.empty())
        return true;
    const UINT page = GetACP();
    // UTF-8 carries everything but a broken surrogate; other pages are asked what they lack.
    const DWORD flags = page == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* lossyFlag = page == CP_UTF8 ? nullptr : &lossy;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(page, flags, text.data(), length, nullptr, 0, nullptr, lossyFlag);
    if (size <= 0 || lossy)
        return false;
    result.resize(static_cast<std::size_t>(size));
    WideCharToMultiByte(page, flags, text.data(), length, result.data(), size, nullptr, nullptr);
    return true;
}

std::wstring AnsiToWide(std::string_view text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), size);
    return result;
}

bool IsExistingFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramPath()
{
    // The platform cuts the path to the buffer and says so only by filling it completely.
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}
