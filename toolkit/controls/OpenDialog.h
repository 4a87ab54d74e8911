#pragma once
// The standard open-file dialog as a small object. Filter uses the "Description|pattern|..."
// form (patterns of one entry separated by ";"); FileName is both the starting name and the
// chosen file.
#include "toolkit/core/Component.h"

#include <windows.h>

#include <string>

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(HWND owner = nullptr) : owner_(owner) {}

    HWND Owner() const noexcept { return owner_; }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    const std::string& Filter() const noexcept { return filter_; }
    void SetFilter(std::string filter) { filter_ = std::move(filter); }
    // Which filter entry is shown first, counting from 1.
    int FilterIndex() const noexcept { return filterIndex_; }
    void SetFilterIndex(int index) noexcept { filterIndex_ = index; }
    const std::string& FileName() const noexcept { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    const std::string& InitialDir() const noexcept { return initialDir_; }
    void SetInitialDir(std::string dir) { initialDir_ = std::move(dir); }
    const std::string& Title() const noexcept { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // Shows the dialog modally; true when the user picked a file (FileName then holds its
    // full path). A dialog that cannot be shown at all raises EOSError.
    bool Execute();

    // "Text|*.txt|All|*.*" becomes "Text\0*.txt\0All\0*.*\0\0", the list the platform reads.
    // A description without a pattern is dropped; an empty filter gives an empty result.
    static std::string PlatformFilter(const std::string& filter);

private:
    HWND owner_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
    std::string initialDir_;
    std::string title_;
};
