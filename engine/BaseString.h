#pragma once
#include <string>
#include <string_view>
#include <vector>

class TBaseString {
public:
    // Pieces between separators, empty pieces kept except a trailing one, nothing trimmed:
    // "a,,b" gives a, "", b; "a," gives a; "" gives nothing.
    std::vector<std::string> Split(std::string_view text, char separator) const;
};
