#pragma once
// A critical section for the life of its owner. It is a standard lockable, so
// std::lock_guard<TCriticalSection> and std::unique_lock hold it for a scope.
#include <windows.h>

class TCriticalSection {
public:
    TCriticalSection() noexcept { InitializeCriticalSection(&section_); }
    ~TCriticalSection() { DeleteCriticalSection(&section_); }
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void lock() noexcept { EnterCriticalSection(&section_); }
    void unlock() noexcept { LeaveCriticalSection(&section_); }
    bool try_lock() noexcept { return TryEnterCriticalSection(&section_) != FALSE; }

private:
    CRITICAL_SECTION section_;
};
