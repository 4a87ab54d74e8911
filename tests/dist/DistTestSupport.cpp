#include "dist/DistTestSupport.h"

#include "sidecars/SidecarTestSupport.h"
#include "toolkit/core/Registry.h"

#include <cstdio>
#include <stdexcept>

std::string BuiltProgramPath()
{
    return BinPath("Quorrel.exe");
}

std::string PackageFile(const std::string& prefix, const std::string& suffix)
{
    const std::string folder = BuildFolder("QUORREL_DIST_PACKAGE");
    std::vector<std::string> found;
    WIN32_FIND_DATAA data;
    if (const ScopedFind find(FindFirstFileA((folder + prefix + "*" + suffix).c_str(), &data)); find) {
        do
            found.push_back(data.cFileName);
        while (FindNextFileA(find.get(), &data));
    }
    if (found.size() != 1)
        throw std::runtime_error(std::to_string(found.size()) + " files " + prefix + "*" + suffix + " in " + folder);
    return folder + found.front();
}

VersionResource::VersionResource(const std::string& file)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0)
        return;
    data_.resize(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data_.data()))
        data_.clear();
}

std::string VersionResource::Translation() const
{
    struct Language {
        WORD language;
        WORD codePage;
    };
    Language* languages = nullptr;
    UINT length = 0;
    if (!Present() || !VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation",
                                      reinterpret_cast<void**>(&languages), &length) ||
        length < sizeof(Language))
        return {};
    char text[9];
    std::snprintf(text, sizeof text, "%04x%04x", languages->language, languages->codePage);
    return text;
}

std::string VersionResource::String(const std::string& name) const
{
    const std::string path = "\\StringFileInfo\\" + Translation() + "\\" + name;
    char* value = nullptr;
    UINT length = 0;
    if (!Present() || !VerQueryValueA(data_.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        !value)
        return {};
    return std::string(value, length > 0 ? length - 1 : 0);
}

VS_FIXEDFILEINFO VersionResource::Fixed() const
{
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!Present() || !VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof *fixed)
        return {};
    return *fixed;
}

ProcessEnd RunToEnd(const std::string& commandLine, DWORD limitMs)
{
    const auto check = [&](bool ok, const char* what) {
        if (!ok)
            throw std::runtime_error(std::string(what) + " for " + commandLine + ": " + SystemReason(GetLastError()));
    };
    // The job holds the program and everything it starts; closing it ends whatever still runs.
    const ScopedKernelHandle job(CreateJobObjectA(nullptr, nullptr));
    check(static_cast<bool>(job), "CreateJobObject");
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    check(SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits),
          "job limits");
    const ScopedKernelHandle port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    check(static_cast<bool>(port), "CreateIoCompletionPort");
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job.get(), port.get()};
    check(SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation, &association,
                                  sizeof association),
          "job completion port");

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string line = commandLine;
    check(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                         &startup, &started),
          "CreateProcess");
    const ScopedKernelHandle process(started.hProcess);
    const ScopedKernelHandle thread(started.hThread);
    if (!AssignProcessToJobObject(job.get(), process.get())) {
        const DWORD code = GetLastError();
        TerminateProcess(process.get(), 1);
        throw std::runtime_error("AssignProcessToJobObject for " + commandLine + ": " + SystemReason(code));
    }
    ResumeThread(thread.get());

    ProcessEnd end;
    const ULONGLONG deadline = GetTickCount64() + limitMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            break;
        DWORD message = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* detail = nullptr;
        if (!GetQueuedCompletionStatus(port.get(), &message, &key, &detail, static_cast<DWORD>(deadline - now)))
            break;
        if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
            end.ended = true;
            break;
        }
    }
    if (!end.ended)
        TerminateJobObject(job.get(), 1);
    WaitForSingleObject(process.get(), 5000);
    GetExitCodeProcess(process.get(), &end.exitCode);
    return end;
}

std::string RegistryString(HKEY root, const std::string& key, const std::string& name)
{
    TRegistry registry(root, KEY_READ);
    return registry.OpenKey(key, false) ? registry.ReadString(name) : std::string();
}

DWORD RegistryDword(HKEY root, const std::string& key, const std::string& name, DWORD fallback)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    return RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
               ? value
               : fallback;
}
