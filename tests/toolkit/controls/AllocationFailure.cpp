#include "AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {
thread_local long countdown = -1;
thread_local bool failed = false;
} // namespace

// Replaces the program's allocation function; memory comes from malloc, as the library's own
// operator delete expects.
void* operator new(std::size_t size)
{
    if (countdown >= 0 && countdown-- == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

FailingAllocation::FailingAllocation(int index) noexcept
{
    failed = false;
    countdown = index;
}

FailingAllocation::~FailingAllocation()
{
    countdown = -1;
}

bool FailingAllocation::Failed() const noexcept
{
    return failed;
}
