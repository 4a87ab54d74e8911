#include "engine/FolderFailures.h"

#include <algorithm>

namespace {

// As many as a message box shows without growing past the screen with long paths.
constexpr std::size_t kNamed = 5;

// "C:\Photos\2019" reads better in a sentence than with the trailing backslash.
std::string Shown(const std::string& folder)
{
    if (folder.size() > 3 && folder.back() == '\\')
        return folder.substr(0, folder.size() - 1);
    return folder;
}

// The first few failures by full path with their reasons, then how many more there are.
std::string NamedFailures(const std::vector<TFolderFailure>& failures)
{
    std::string text;
    const std::size_t named = std::min(failures.size(), kNamed);
    for (std::size_t i = 0; i < named; ++i)
        text += "\n\n" + Shown(failures[i].Folder) + ": " + failures[i].Reason;
    if (failures.size() > named)
        text += "\n\nand " + std::to_string(failures.size() - named) + " more.";
    return text;
}

std::string Folders(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " folder" : " folders");
}

} // namespace

void TFolderFailures::Add(const std::string& folder, const std::string& reason)
{
    const auto known = std::find_if(items_.begin(), items_.end(), [&](const auto& f) { return f.Folder == folder; });
    if (known == items_.end())
        items_.push_back({folder, reason});
    else if (known->Reason.find(reason) == std::string::npos)
        known->Reason += " " + reason;
}

std::string FailureMessage(const std::vector<TFolderFailure>& failures, std::size_t total)
{
    total = std::max(total, failures.size());
    return std::to_string(failures.size()) + " of " + Folders(total) + " could not be changed:" + NamedFailures(failures);
}

std::string StoppedMessage(const std::vector<TFolderFailure>& failures, std::size_t total, std::size_t untouched)
{
    total = std::max(total, failures.size() + untouched);
    const std::size_t changed = total - failures.size() - untouched;
    std::string text = "Stopped: " + std::to_string(changed) + " of " + Folders(total) +
                       (changed == 1 ? " was" : " were") + " changed. " + std::to_string(untouched) +
                       (untouched == 1 ? " was left as it was." : " were left as they were.");
    if (!failures.empty())
        text += " " + std::to_string(failures.size()) + " could not be changed:" + NamedFailures(failures);
    return text;
}

EFoldersNotChanged::EFoldersNotChanged(std::vector<TFolderFailure> failures, std::size_t total)
    : Exception(FailureMessage(failures, total)), failures_(std::move(failures)), total_(total)
{
}

EFoldersNotChanged::EFoldersNotChanged(std::vector<TFolderFailure> failures, std::size_t total, std::size_t untouched)
    : Exception(StoppedMessage(failures, total, untouched)), failures_(std::move(failures)), total_(total),
      untouched_(untouched), stopped_(true)
{
}

std::size_t EFoldersNotChanged::Changed() const noexcept
{
    const std::size_t left = failures_.size() + untouched_;
    return total_ > left ? total_ - left : 0;
}
