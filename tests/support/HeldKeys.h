#pragma once
// Modifier keys (Shift, Ctrl) held as this thread's keyboard state reports them, for a scope:
// keys handed to a window as messages are then read with them, as typed ones would be.
#include <windows.h>

#include <initializer_list>

class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys)
    {
        GetKeyboardState(before_);
        BYTE now[256];
        GetKeyboardState(now);
        for (int key : keys)
            now[key] = 0x80;
        SetKeyboardState(now);
    }
    ~HeldKeys() { SetKeyboardState(before_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE before_[256];
};
