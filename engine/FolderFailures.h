#pragma once
// What recursive work could not do: each folder that could not be changed, with the reason in
// the system's words, gathered while the work goes on and raised as one error at its end.
// Plain text work, free of the platform headers.
#include "toolkit/core/Exception.h"

#include <cstddef>
#include <string>
#include <vector>

struct TFolderFailure {
    std::string Folder;  // full path, ending in a backslash
    std::string Reason;  // "Access is denied."
    bool operator==(const TFolderFailure&) const = default;
};

class TFolderFailures {
public:
    // A second reason for a folder already named joins the first: a folder counts once.
    void Add(const std::string& folder, const std::string& reason);
    const std::vector<TFolderFailure>& Items() const noexcept { return items_; }
    bool Empty() const noexcept { return items_.empty(); }

private:
    std::vector<TFolderFailure> items_;
};

// "2 of 40 folders could not be changed:" and the first few by full path with their reasons,
// each after an empty line (a deep path wraps over several), then how many more there are.
std::string FailureMessage(const std::vector<TFolderFailure>& failures, std::size_t total);
// The same after the user stopped the work with `untouched` folders not reached: "Stopped: 120
// of 5001 folders were changed. 4881 were left as they were." and the folders that could not
// be changed, named as above.
std::string StoppedMessage(const std::vector<TFolderFailure>& failures, std::size_t total, std::size_t untouched);

// Thrown by whoever follows recursive work (through its progress event) to stop it: the folder
// in hand is finished, the rest are left as they are.
class EWorkStopped : public Exception {
public:
    EWorkStopped() : Exception("The work was stopped.") {}
};

// Raised once at the end of recursive work that left folders unchanged: some could not be
// changed, or the user stopped the work before it reached them. Everything else was done.
class EFoldersNotChanged : public Exception {
public:
    EFoldersNotChanged(std::vector<TFolderFailure> failures, std::size_t total);
    // Stopped by the user with `untouched` folders never reached.
    EFoldersNotChanged(std::vector<TFolderFailure> failures, std::size_t total, std::size_t untouched);
    const std::vector<TFolderFailure>& Failures() const noexcept { return failures_; }
    std::size_t Total() const noexcept { return total_; }
    bool Stopped() const noexcept { return stopped_; }
    std::size_t Untouched() const noexcept { return untouched_; }
    // The folders that were changed.
    std::size_t Changed() const noexcept;

private:
    std::vector<TFolderFailure> failures_;
    std::size_t total_;
    std::size_t untouched_ = 0;
    bool stopped_ = false;
};
