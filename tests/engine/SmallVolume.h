#pragma once
// The small volume that the tests' fixture mounts (tests/e2e/small-volume), reached as drive V:
// of the test's Wine prefix, for the tests of a full disk.
#include "EngineGuards.h"

#include <cstdint>
#include <memory>
#include <string>

class SmallVolume {
public:
    SmallVolume();
    // Everything written on the volume goes, and the drive letter with it.
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    // Empty when the volume is there; otherwise why not, for the test to skip with.
    const std::string& Unavailable() const { return unavailable_; }
    // "V:\"
    std::string Root() const { return "V:\\"; }
    // The same volume reached through the drive that shows the whole Linux tree ("Z:\...\").
    const std::string& UnixDriveRoot() const { return unixDriveRoot_; }
    // Fills the volume with files until no more than `bytesFree` is left (whole pages); the
    // bytes free then.
    std::uint64_t Fill(std::uint64_t bytesFree);
    std::uint64_t BytesFree() const;

private:
    std::string unavailable_;
    std::string unixDriveRoot_;
    std::unique_ptr<DriveMapping> drive_;
    int fillers_ = 0;
};
