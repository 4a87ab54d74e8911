#pragma once
// What assistive technology (a screen reader) learns of a bitmap button through the platform's
// accessibility interface: the platform's standard object for the window (place, parent,
// access key), with the button's name (its caption without the access-key mark), the role of
// a push button (a check button when it latches in a group), its focused, pressed, checked and
// unavailable states, and a default action that presses it.
#include <windows.h>

#include <string>

class TBmpButton;

// Posted to a button by its default action: the press happens once the caller's request has
// returned, so a dialog the press opens never runs inside that request.
inline constexpr UINT DefaultActionMsg = 0x2421;

// The answer to WM_GETOBJECT for the button's window: the object for OBJID_CLIENT, 0 (the
// platform's own answer) for anything else or when it cannot be made.
LRESULT ButtonAccessibleObject(HWND window, WPARAM flags, LPARAM objectId) noexcept;

// The caption as it is read out: access-key marks taken away ("&Adorn" -> "Adorn", "&&" -> "&").
std::string SpokenCaption(const std::string& caption);
