#pragma once
// The standard colour chooser as a small object: set the owner and a starting colour, run
// Execute, read Color back. The sixteen custom colours live as long as the object.
#include "toolkit/graphics/Color.h"
#include "toolkit/core/Component.h"

#include <windows.h>

#include <array>

class TColorDialog : public TComponent {
public:
    explicit TColorDialog(HWND owner = nullptr) noexcept : owner_(owner) {}

    HWND Owner() const noexcept { return owner_; }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    // Black until set or chosen. A system colour starts the dialog at its current value; the
    // chosen colour is always a plain one.
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color) noexcept { color_ = color; }
    std::array<COLORREF, 16>& CustomColors() noexcept { return custom_; }

    // Shows the dialog modally; true when the user confirmed (Color then holds the choice).
    // A dialog that cannot be shown at all raises EOSError.
    bool Execute();

private:
    HWND owner_;
    TColor color_ = clBlack;
    std::array<COLORREF, 16> custom_{};
};
