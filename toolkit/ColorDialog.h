#pragma once
// The standard colour chooser as a small object: set the owner and a starting colour, run
// Execute, read Color back. The sixteen custom colours live as long as the object.
#include <windows.h>

#include <array>

class TColorDialog {
public:
    explicit TColorDialog(HWND owner = nullptr) noexcept : owner_(owner) {}

    HWND Owner() const noexcept { return owner_; }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    // A plain colour reference (red in the low byte); black until set or chosen.
    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color) noexcept { color_ = color; }
    std::array<COLORREF, 16>& CustomColors() noexcept { return custom_; }

    // Shows the dialog modally; true when the user confirmed (Color then holds the choice).
    // A dialog that cannot be shown at all raises EOSError.
    bool Execute();

private:
    HWND owner_;
    COLORREF color_ = RGB(0, 0, 0);
    std::array<COLORREF, 16> custom_{};
};
