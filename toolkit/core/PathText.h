#pragma once
// Small rules about paths and text that several places need and must agree on. The path rules
// are plain text work and stay inline here, free of the platform headers; only the code page
// conversion and the existence tests need the platform.
#include <cstddef>
#include <string>
#include <string_view>

// The path with a backslash at its end (an empty path becomes "\").
inline std::string WithBackslash(std::string path)
{
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

// The text after the last "." of the file name (never of a folder name above it), without the
// dot; empty when the name has none.
inline std::string_view ExtensionOf(std::string_view path)
{
    const std::size_t dot = path.find_last_of(".\\/:");
    if (dot == std::string_view::npos || path[dot] != '.')
        return {};
    return path.substr(dot + 1);
}

// Whether the file name ends in "." + `extension`, letters compared without regard to case.
inline bool HasExtension(std::string_view path, std::string_view extension)
{
    const std::string_view found = ExtensionOf(path);
    if (found.size() != extension.size())
        return false;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(found[i]) != lower(extension[i]))
            return false;
    }
    return true;
}

inline bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A drive root: a letter, a colon and a backslash, nothing else ("C:\").
inline bool IsDriveRoot(std::string_view path)
{
    return path.size() == 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

// A full path below a drive root ("C:\Data") or a network path "\\server\share..." with both
// names present. "C:Data", "\Data" and "Data" depend on the current drive or folder and are not.
inline bool IsAbsolutePath(std::string_view path)
{
    if (path.size() > 3 && IsDriveLetter(path[0]) && path.substr(1, 2) == ":\\")
        return true;
    if (path.size() < 5 || path.substr(0, 2) != "\\\\")
        return false;
    const std::size_t serverEnd = path.find('\\', 2);
    return serverEnd != std::string_view::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
           path[serverEnd + 1] != '\\';
}

// UTF-16 text in the code page (CP_ACP: the system's ANSI one). A character the code page
// cannot carry exactly becomes "?", never a look-alike ("Ω" is not "O"): a name that comes out
// with a wildcard in it names no other file. A lone surrogate has no UTF-8 form and becomes
// "?" too. Stops at nothing: the caller gives the length it means.
std::string WideToCodePage(std::wstring_view text, unsigned codePage);
std::string WideToAnsi(std::wstring_view text);
// The same, but only when the code page carries every character exactly (no replacement, no
// look-alike): false otherwise. A name that would come out changed could name another file.
bool WideToAnsiExact(std::wstring_view text, std::string& result);
// The reverse, for handing our text to the platform's wide-only calls.
std::wstring AnsiToWide(std::string_view text);

// True only for an existing file, false for a folder or nothing there. Any depth.
bool IsExistingFile(const std::string& path);
// True only for an existing folder.
bool IsExistingFolder(const std::string& path);

// The full path of the program's own file, however long it is; empty when the platform does
// not answer.
std::string ProgramPath();
