#include "toolkit/core/CommandLine.h"

namespace {

class TCharStepper {
public:
    TCharStepper(std::string_view text, LeadByteTest isLead) : text_(text.substr(0, text.find('\0'))), isLead_(isLead) {}

    bool AtEnd() const noexcept { return pos_ >= text_.size(); }
    unsigned char Byte(std::size_t ahead = 0) const noexcept
    {
        return pos_ + ahead < text_.size() ? static_cast<unsigned char>(text_[pos_ + ahead]) : 0;
    }
    // A lead byte with nothing after it is a character of its own, as the platform steps it.
    std::size_t CharLength() const noexcept
    {
        return isLead_(Byte()) && pos_ + 1 < text_.size() ? 2 : 1;
    }
    // True when the character here is a single byte equal to `c`.
    bool Is(char c) const noexcept { return !AtEnd() && CharLength() == 1 && Byte() == static_cast<unsigned char>(c); }
    bool IsSeparator() const noexcept { return !AtEnd() && CharLength() == 1 && Byte() <= ' '; }
    void Skip() noexcept { pos_ += CharLength(); }
    void Take(std::string& out)
    {
        const std::size_t n = CharLength();
        out.append(text_.substr(pos_, n));
        pos_ += n;
    }

private:
    std::string_view text_;
    LeadByteTest isLead_;
    std::size_t pos_ = 0;
};

std::string NextParameter(TCharStepper& s)
{
    for (;;) {
        if (s.IsSeparator())
            s.Skip();
        else if (s.Is('"') && s.Byte(1) == '"')
            s.Skip(), s.Skip();
        else
            break;
    }
    std::string param;
    while (!s.AtEnd() && !s.IsSeparator()) {
        if (s.Is('"')) {
            s.Skip();
            while (!s.AtEnd() && !s.Is('"'))
                s.Take(param);
            if (!s.AtEnd())
                s.Skip();
        } else {
            s.Take(param);
        }
    }
    return param;
}

} // namespace

bool NoLeadBytes(unsigned char) noexcept
{
    return false;
}

bool ShiftJisLeadByte(unsigned char byte) noexcept
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::vector<std::string> TokeniseCommandLine(std::string_view text, LeadByteTest isLead)
{
    TCharStepper stepper(text, isLead ? isLead : &NoLeadBytes);
    std::vector<std::string> params;
    for (;;) {
        std::string param = NextParameter(stepper);
        if (param.empty())
            return params;
        params.push_back(std::move(param));
    }
}

TCommandLine::TCommandLine(std::string_view text, std::string exeName, LeadByteTest isLead)
{
    params_ = TokeniseCommandLine(text, isLead);
    if (params_.empty())
        params_.push_back(std::move(exeName));
    else
        params_.front() = std::move(exeName);
}

std::string TCommandLine::ParamStr(int index) const
{
    if (index < 0 || index > ParamCount())
        return {};
    return params_[static_cast<std::size_t>(index)];
}
