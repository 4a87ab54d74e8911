#include "engine/SettingsFiles.h"

#include "toolkit/core/LongPath.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>

#include <algorithm>

const char* const kDocumentsIni = "\r\n"
                                  "[.ShellClassInfo]\r\n"
                                  "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n"
                                  "IconResource=%SystemRoot%\\system32\\imageres.dll,-112\r\n"
                                  "[ViewState]\r\n"
                                  "Mode=\r\n"
                                  "Vid=\r\n"
                                  "FolderType=Documents\r\n"
                                  "[LocalizedFileNames]\r\n"
                                  "Фото.jpg=@%SystemRoot%\\system32\\shell32.dll,-21779\r\n";

namespace {

std::wstring FromUtf8(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), int(wide.size()))));
    return wide;
}

std::string ToUtf8(const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                              bytes.data(), int(bytes.size()), nullptr, nullptr)));
    return bytes;
}

} // namespace

std::string Utf16File(const std::string& utf8)
{
    const std::wstring text = FromUtf8(utf8);
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::string TextOfUtf16File(const std::string& bytes)
{
    if (!bytes.starts_with("\xFF\xFE"))
        return {};
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    return ToUtf8(text);
}

std::string WithoutBlankLines(const std::string& text)
{
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        end = end == std::string::npos ? text.size() : end + 2;
        const std::string line = text.substr(start, end - start);
        if (line != "\r\n")
            out += line;
        start = end;
    }
    return out;
}

std::string ValueInFile(const std::string& file, const char* section, const char* key)
{
    wchar_t value[2048] = {};
    const DWORD length = GetPrivateProfileStringW(FromUtf8(section).c_str(), FromUtf8(key).c_str(), L"<none>", value,
                                                  2048, WidePath(file).c_str());
    return ToUtf8(std::wstring(value, length));
}

std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    if (const ScopedFind find(FindFirstFileW(WidePath(folder + "*").c_str(), &data)); find) {
        do {
            const std::string name = ToUtf8(data.cFileName);
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileW(find.get(), &data));
    }
    std::sort(names.begin(), names.end());
    return names;
}
