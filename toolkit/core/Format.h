#pragma once
// Message templates of the program use "%s" for one argument; no printf semantics are wanted
// (an argument such as a path may itself contain "%").
#include <string>
#include <string_view>

inline std::string FormatText(std::string_view pattern, std::string_view arg)
{
    std::string out;
    out.reserve(pattern.size() + arg.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            out.append(arg);
            ++i;
        } else {
            out.push_back(pattern[i]);
        }
    }
    return out;
}
