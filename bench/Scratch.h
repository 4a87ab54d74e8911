#pragma once
// A folder of the benchmark's own under the temporary folder, or under QUORREL_BENCH_DIR (a
// Windows path) when that is set. Whatever an earlier run that
// failed half-way left there is removed first, and the folder goes with everything in it when
// its owner does.
#include <string>

namespace bench {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Ends in a backslash.
    const std::string& Path() const noexcept { return path_; }

private:
    std::string path_;
};

} // namespace bench
