#pragma once
// What the packaging tests share: where the built program and packages are, its version
// resource, and running a program to its end with everything it starts.
#include "support/TempDir.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>

#include <string>
#include <vector>

// build/bin\Quorrel.exe as a Windows path.
std::string BuiltProgramPath();
// The one file in the package folder (QUORREL_DIST_PACKAGE) whose name starts with `prefix` and
// ends with `suffix`; throws std::runtime_error unless there is exactly one.
std::string PackageFile(const std::string& prefix, const std::string& suffix);

// A file's version resource.
class VersionResource {
public:
    explicit VersionResource(const std::string& file);
    bool Present() const { return !data_.empty(); }
    // The first translation as the eight hexadecimal digits of its string block ("040904e4").
    std::string Translation() const;
    // A string of the first translation's block; empty when missing.
    std::string String(const std::string& name) const;
    VS_FIXEDFILEINFO Fixed() const;

private:
    std::vector<BYTE> data_;
};

struct ProcessEnd {
    bool ended = false; // false: still running at the limit, and ended by force
    DWORD exitCode = 0;
};

// Starts a command line and waits until it and every process it started have ended, at most
// `limitMs`; whatever still runs then, or when this returns by an exception, is ended. An
// uninstaller that copies itself away and goes on from there is waited for too.
ProcessEnd RunToEnd(const std::string& commandLine, DWORD limitMs);

// A string value of a key (empty name: the default value); empty when the key or value is
// missing.
std::string RegistryString(HKEY root, const std::string& key, const std::string& name = "");
// A DWORD value; `fallback` when missing or of another type.
DWORD RegistryDword(HKEY root, const std::string& key, const std::string& name, DWORD fallback);
