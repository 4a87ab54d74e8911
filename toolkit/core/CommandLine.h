#pragma once
// Cuts a command line into parameters the way the program reads its verb and folder. Blanks
// and control characters separate parameters; double quotes group and are dropped; an empty
// pair of quotes between parameters vanishes. Characters are stepped whole in the ANSI code
// page, so the second byte of a double-byte character is never taken for a blank or a quote.
// No platform header: the code page's lead-byte test is handed in.
#include <string>
#include <string_view>
#include <vector>

// True when the byte starts a two-byte character of the code page in use.
using LeadByteTest = bool (*)(unsigned char byte);

// A code page without double-byte characters.
bool NoLeadBytes(unsigned char byte) noexcept;
// Shift-JIS (code page 932): lead bytes 0x81-0x9F and 0xE0-0xFC.
bool ShiftJisLeadByte(unsigned char byte) noexcept;

// Every parameter of the text, the program as written first, up to the first empty one (only
// the end of the text, or a lone quote there, gives one). The text ends at its first zero byte.
std::vector<std::string> TokeniseCommandLine(std::string_view text, LeadByteTest isLead);

// The parameters as the program sees them: parameter 0 is the executable's own file name (not
// the text on the command line), then the parameters after the program's.
class TCommandLine {
public:
    TCommandLine(std::string_view text, std::string exeName, LeadByteTest isLead);

    // Parameters after the program.
    int ParamCount() const noexcept { return static_cast<int>(params_.size()) - 1; }
    // Parameter `index`; an index outside 0..ParamCount gives empty text.
    std::string ParamStr(int index) const;

private:
    std::vector<std::string> params_; // [0] is the executable's file name
};

// The parameters of this process (its command line, its executable's file name, the lead bytes
// of the system's ANSI code page), read once. A test may put another command line in place for
// a scope with TCommandLineScope.
const TCommandLine& ProcessCommandLine();
int ParamCount();
std::string ParamStr(int index);

class TCommandLineScope {
public:
    explicit TCommandLineScope(TCommandLine line);
    ~TCommandLineScope();
    TCommandLineScope(const TCommandLineScope&) = delete;
    TCommandLineScope& operator=(const TCommandLineScope&) = delete;

private:
    const TCommandLine* previous_;
    TCommandLine line_;
};
