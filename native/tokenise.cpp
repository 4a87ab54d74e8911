// Reads one command line from standard input and writes its parameters, the program's own
// first, each followed by a zero byte: a way to try the tokeniser from a shell or a script.
//   tokenise [--dbcs 932] < line
#include "toolkit/core/CommandLine.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    LeadByteTest isLead = &NoLeadBytes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dbcs") == 0 && i + 1 < argc && std::strcmp(argv[i + 1], "932") == 0) {
            isLead = &ShiftJisLeadByte;
            ++i;
        } else {
            std::fprintf(stderr, "usage: tokenise [--dbcs 932] < command-line\n");
            return 2;
        }
    }
    std::string line((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    // One line: its own line ending is not part of it.
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    for (const std::string& param : TokeniseCommandLine(line, isLead)) {
        std::fwrite(param.data(), 1, param.size(), stdout);
        std::fputc('\0', stdout);
    }
    return 0;
}
