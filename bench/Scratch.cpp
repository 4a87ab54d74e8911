#include "bench/Scratch.h"

#include "support/TempDir.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace bench {

ScratchFolder::ScratchFolder(const std::string& name)
{
    std::string base;
    if (const char* chosen = std::getenv("QUORREL_BENCH_DIR"); chosen && *chosen) {
        base = chosen;
        if (base.back() != '\\')
            base += '\\';
    } else {
        char temp[MAX_PATH];
        const DWORD length = GetTempPathA(MAX_PATH, temp);
        if (length == 0 || length >= MAX_PATH)
            throw std::runtime_error("no temporary folder");
        base.assign(temp, length);
    }
    path_ = base + name + "\\";
    RemoveTree(path_);
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

ScratchFolder::~ScratchFolder()
{
    try {
        RemoveTree(path_);
    } catch (...) {
        // Out of memory while naming the entries: the next run clears what is left.
    }
}

} // namespace bench
