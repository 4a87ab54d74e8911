#pragma once
// Owners for what the engine tests change outside their temporary folders: registry keys, Wine
// drive letters and the current folder. Each puts back what was there before when it goes, so a
// failed assertion leaves nothing behind.
#include <windows.h>

#include <memory>
#include <string>

// Takes a copy of a registry key with everything below it (or notes that it is missing); on
// destruction the key is deleted and the copy, if any, written back.
class RegistryKeyGuard {
public:
    RegistryKeyGuard(HKEY root, std::string path);
    ~RegistryKeyGuard();
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;

    struct Snapshot;

private:
    HKEY root_;
    std::string path_;
    std::unique_ptr<Snapshot> saved_;
};

// The shell's drive key of one letter, DriveIcons\<letter>.
class DriveKeyGuard : public RegistryKeyGuard {
public:
    explicit DriveKeyGuard(char letter);
};

// A Wine drive letter for the test's own folder: a link in the prefix's dosdevices folder. A
// mapping that was there before is set aside and put back.
class DriveMapping {
public:
    DriveMapping(char letter, const std::string& folder);
    ~DriveMapping();
    DriveMapping(const DriveMapping&) = delete;
    DriveMapping& operator=(const DriveMapping&) = delete;
    bool Made() const { return made_; }

private:
    std::string link_;
    bool made_ = false;
};

// The process's current folder for a scope: set to `folder`, or only kept (the open-file
// dialog moves it to the folder a file was chosen from, which then cannot be removed).
class CurrentFolder {
public:
    CurrentFolder();
    explicit CurrentFolder(const std::string& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::string previous_;
};
