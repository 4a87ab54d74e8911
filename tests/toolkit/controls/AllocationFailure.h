#pragma once
// Makes one allocation through operator new fail, to see what an operation leaves behind when
// memory runs out part way through it. Only the thread that arms it is affected.
class FailingAllocation {
public:
    // The allocation `index` places on from now (0: the very next one) raises std::bad_alloc.
    explicit FailingAllocation(int index) noexcept;
    // Disarms; allocations succeed again.
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;

    // Whether the armed allocation was reached and failed.
    bool Failed() const noexcept;
};
