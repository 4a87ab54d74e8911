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

// Raised once at the end of recursive work that left folders unchanged; everything else was done.
class EFoldersNotChanged : public Exception {
public:
    EFoldersNotChanged(std::vector<TFolderFailure> failures, std::size_t total);
    const std::vector<TFolderFailure>& Failures() const noexcept { return failures_; }
    std::size_t Total() const noexcept { return total_; }

private:
    std::vector<TFolderFailure> failures_;
    std::size_t total_;
};
