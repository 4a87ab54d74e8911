#pragma once
// The hourglass for batched work on the GUI thread: the first owner shows it and remembers the
// cursor it replaced, nested owners keep it, the last one to end puts the remembered cursor
// back, also when an error passes through.
#include <windows.h>

class TBusyCursor {
public:
    TBusyCursor() noexcept;
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

    // True while any owner lives on this thread (a window asked for its cursor meanwhile shows
    // the hourglass too).
    static bool Active() noexcept;
};
