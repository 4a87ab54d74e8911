#pragma once
// The one error hierarchy of the program. Every error carries the message the user sees;
// the application object shows it in the error box (TApplication::ShowException).
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

// Text that is not a number: "'%s' is not a valid integer value".
class EConvertError : public Exception {
    using Exception::Exception;
};

// A picture that cannot be loaded: unknown extension, unreadable or invalid data.
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};

// An object used as a kind it is not (a shaped window dropped on something that is no form).
class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
};

// A registry value that cannot be written or has the wrong type.
class ERegistryException : public Exception {
    using Exception::Exception;
};

// A file that cannot be written: "Unable to write to %s".
class EWriteError : public Exception {
    using Exception::Exception;
};

// A platform call that failed where the program cannot go on (a bitmap that cannot be made).
class EOSError : public Exception {
    using Exception::Exception;
};

// A resource that a module does not hold: "Resource %s not found".
class EResNotFound : public Exception {
    using Exception::Exception;
};
