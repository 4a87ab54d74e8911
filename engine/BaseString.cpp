#include "engine/BaseString.h"

std::vector<std::string> TBaseString::Split(std::string_view text, char separator) const
{
    std::vector<std::string> pieces;
    std::string current;
    for (const char c : text) {
        if (c == separator) {
            pieces.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty())
        pieces.push_back(std::move(current));
    return pieces;
}
