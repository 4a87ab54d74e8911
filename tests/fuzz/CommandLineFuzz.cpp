// Fuzz target of the command-line tokeniser. The first byte picks the code page (single-byte or
// Shift-JIS); the rest is the command line. Checked for every input:
//  - no parameter is empty or holds a double quote;
//  - quoting every parameter and tokenising the result again gives the same parameters.
// A lead byte with nothing after it can only end the text's last parameter; quoting that one
// would make its closing quote the second byte of the character, so it is checked on its own.
#include "toolkit/core/CommandLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const LeadByteTest isLead = (data[0] & 1) ? &ShiftJisLeadByte : &NoLeadBytes;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::vector<std::string> params = TokeniseCommandLine(text, isLead);

    std::string quoted;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const std::string& p = params[i];
        Require(!p.empty());
        // A quote byte may only stand as the second byte of a double-byte character.
        for (std::size_t k = 0; k < p.size(); ++k) {
            if (isLead(static_cast<unsigned char>(p[k])) && k + 1 < p.size()) {
                ++k;
                continue;
            }
            Require(p[k] != '"');
        }
        bool danglingLead = false;
        for (std::size_t k = 0; k < p.size(); ++k) {
            if (isLead(static_cast<unsigned char>(p[k]))) {
                if (k + 1 == p.size())
                    danglingLead = true;
                ++k;
            }
        }
        if (danglingLead) {
            Require(i + 1 == params.size());
            Require(text.substr(0, text.find('\0')).back() == p.back());
            quoted += " \"" + p; // left open: the end of the text closes it
            continue;
        }
        quoted += " \"" + p + "\"";
    }
    Require(TokeniseCommandLine(quoted, isLead) == params);
    return 0;
}
