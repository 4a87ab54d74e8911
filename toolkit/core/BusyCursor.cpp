#include "toolkit/core/BusyCursor.h"

namespace {
// The cursor belongs to the thread's input state, so the nesting does too.
thread_local int depth = 0;
thread_local HCURSOR replaced = nullptr;
} // namespace

TBusyCursor::TBusyCursor() noexcept
{
    const HCURSOR hourglass = LoadCursor(nullptr, IDC_WAIT);
    const HCURSOR previous = SetCursor(hourglass);
    if (depth++ == 0)
        replaced = previous;
}

TBusyCursor::~TBusyCursor()
{
    if (--depth == 0)
        SetCursor(replaced);
}

bool TBusyCursor::Active() noexcept
{
    return depth > 0;
}
