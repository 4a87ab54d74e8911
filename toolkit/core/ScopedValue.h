#pragma once
// A variable holds a value for a scope and gets back what it held before, also when an error
// passes through: flags that block re-entry, the item a notice is about.
#include <utility>

template <typename T>
class TScopedValue {
public:
    TScopedValue(T& variable, T value) : variable_(variable), previous_(std::exchange(variable, std::move(value))) {}
    ~TScopedValue() { variable_ = std::move(previous_); }
    TScopedValue(const TScopedValue&) = delete;
    TScopedValue& operator=(const TScopedValue&) = delete;

private:
    T& variable_;
    T previous_;
};
