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
    std::string text = std::to_string(failures.size()) + " of " + std::to_string(total) +
                       (total == 1 ? " folder" : " folders") + " could not be changed:";
    const std::size_t named = std::min(failures.size(), kNamed);
    for (std::size_t i = 0; i < named; ++i)
        text += "\n\n" + Shown(failures[i].Folder) + ": " + failures[i].Reason;
    if (failures.size() > named)
        text += "\n\nand " + std::to_string(failures.size() - named) + " more.";
    return text;
}

EFoldersNotChanged::EFoldersNotChanged(std::vector<TFolderFailure> failures, std::size_t total)
    : Exception(FailureMessage(failures, total)), failures_(std::move(failures)), total_(total)
{
}
