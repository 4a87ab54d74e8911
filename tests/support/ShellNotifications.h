#pragma once
// Counts the "associations changed" notifications the shell delivers to this process, so a
// test can say how many an operation sent.
#include <windows.h>

#include <string>

class ShellNotifications {
public:
    ShellNotifications();
    ~ShellNotifications();
    ShellNotifications(const ShellNotifications&) = delete;
    ShellNotifications& operator=(const ShellNotifications&) = delete;

    // Delivers what is pending and returns the count since construction.
    int Count();

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    ULONG registration_ = 0;
    int count_ = 0;
};

// Runs a Linux command (through /bin/sh) from inside Wine and waits for it: how the tests make
// what Windows calls cannot, such as a symbolic link loop.
bool RunUnixCommand(const char* command);

// The Linux path of a Windows path, as Wine maps it; empty outside Wine.
std::string UnixPathOf(const std::string& windowsPath);
