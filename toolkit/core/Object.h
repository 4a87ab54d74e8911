#pragma once
// The common root of everything that can be the sender of an event.
#include <functional>

class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
};

// An event that only names who raised it.
using TNotifyEvent = std::function<void(TObject* sender)>;
