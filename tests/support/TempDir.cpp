#include "support/TempDir.h"

#include "support/ShellNotifications.h"
#include "toolkit/core/LongPath.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

// Reads the last error first: building the message may change it.
[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path)
{
    const DWORD code = GetLastError();
    throw std::runtime_error(what + " " + path + ": " + SystemReason(code));
}

std::string Upper(std::string text)
{
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The names below a folder, for a failure message.
std::string Listing(const std::string& folder)
{
    std::string names;
    WIN32_FIND_DATAW data;
    if (const ScopedFind find(FindFirstFileW(WidePath(folder + "*").c_str(), &data)); find) {
        do {
            const std::string name = WideToAnsi(data.cFileName);
            if (name != "." && name != "..")
                names += (names.empty() ? "" : ", ") + name;
        } while (FindNextFileW(find.get(), &data));
    }
    return names.empty() ? "(only the folder)" : names;
}

} // namespace

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        path_ = std::string(base) + "quorrel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter++) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            ThrowFileError("cannot create", path_);
    }
}

TempDir::~TempDir()
{
    try {
        // A file dialog moves the process's current folder to where the user chose, and a
        // current folder cannot be removed.
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        if (Upper(std::string(current) + "\\").starts_with(Upper(path_)))
            SetCurrentDirectoryA(path_.substr(0, path_.find_last_of('\\', path_.size() - 2) + 1).c_str());
        RemoveTree(path_);
        // What is left is held open by someone: the test that made it is told, not a later run.
        if (GetFileAttributesW(WidePath(path_).c_str()) != INVALID_FILE_ATTRIBUTES)
            ADD_FAILURE() << "cannot remove the temporary folder " << path_ << "; left: " << Listing(path_);
    } catch (...) {
    }
}

std::string TempDir::MakeDir(const std::string& relative) const
{
    std::string full = path_;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t end = relative.find('\\', start);
        if (end == std::string::npos)
            end = relative.size();
        full += relative.substr(start, end - start) + "\\";
        if (!CreateDirectoryW(WidePath(full).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            ThrowFileError("cannot create", full);
        start = end + 1;
    }
    return full;
}

std::string TempDir::WriteFile(const std::string& relative, const std::string& bytes) const
{
    const std::string full = path_ + relative;
    const ScopedFile file(CreateFileW(WidePath(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        ThrowFileError("cannot write", full);
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        ThrowFileError("cannot write", full);
    if (written != bytes.size()) {
        SetLastError(ERROR_HANDLE_DISK_FULL);
        ThrowFileError("cannot write", full);
    }
    return full;
}

std::string SystemReason(DWORD code)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(code) : reason;
}

std::string ReadFileBytes(const std::string& path)
{
    const ScopedFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    if (!file)
        ThrowFileError("cannot read", path);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    do {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
            ThrowFileError("cannot read", path);
        bytes.append(buffer, got);
    } while (got != 0);
    return bytes;
}

bool FileExists(const std::string& path)
{
    const DWORD a = GetFileAttributesW(WidePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD AttributesOf(const std::string& path)
{
    const DWORD a = GetFileAttributesW(WidePath(path).c_str());
    return a == INVALID_FILE_ATTRIBUTES ? a : (a & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

namespace {

// A link is removed as a link: never followed, and its target's attributes stay as they are.
void RemoveLink(const std::string& path)
{
    if (DeleteFileW(WidePath(path).c_str()))
        return;
    // Wine cannot remove a link to a folder through its file calls; the Linux side can.
    const std::string unix = UnixPathOf(path);
    if (!unix.empty() && unix.find('\'') == std::string::npos)
        RunUnixCommand(("rm -f -- '" + unix + "'").c_str());
}

} // namespace

void RemoveTree(const std::string& path)
{
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    WIN32_FIND_DATAW data;
    if (const ScopedFind find(FindFirstFileW(WidePath(folder + "*").c_str(), &data)); find) {
        do {
            const std::string name = WideToAnsi(data.cFileName);
            if (name == "." || name == "..")
                continue;
            const std::string full = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                RemoveLink(full);
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(WidePath(full).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(WidePath(full).c_str());
            }
        } while (FindNextFileW(find.get(), &data));
    }
    SetFileAttributesW(WidePath(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(WidePath(folder).c_str());
}
