#include "toolkit/core/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Params = std::vector<std::string>;

Params Single(std::string_view text)
{
    return TokeniseCommandLine(text, &NoLeadBytes);
}

Params Sjis(std::string_view text)
{
    return TokeniseCommandLine(text, &ShiftJisLeadByte);
}

} // namespace

TEST(CommandLine, VerbStartsAsExplorerWritesThem)
{
    EXPECT_EQ(Single(R"(C:\Q\Quorrel.exe Adorn "C:\My Folder")"), (Params{R"(C:\Q\Quorrel.exe)", "Adorn", R"(C:\My Folder)"}));
    EXPECT_EQ(Single(R"("C:\Program Files\Q\Quorrel.exe" Default "D:\")"),
              (Params{R"(C:\Program Files\Q\Quorrel.exe)", "Default", R"(D:\)"}));
    // Parameters after the path are there; the start-up ignores them.
    EXPECT_EQ(Single("q Pretend x y").size(), 4u);
}

TEST(CommandLine, EmptyQuotesBetweenParametersVanish)
{
    EXPECT_EQ(Single(R"(q Adorn "")"), (Params{"q", "Adorn"}));
    EXPECT_EQ(Single(R"(q "" Adorn "C:\x")"), (Params{"q", "Adorn", R"(C:\x)"}));
    EXPECT_EQ(Single(R"(q """" """"Adorn)"), (Params{"q", "Adorn"}));
    EXPECT_EQ(Single(R"(q "")"), (Params{"q"}));
    // A lone quote at the end opens an empty stretch: an empty parameter ends the list.
    EXPECT_EQ(Single(R"(q " )" "\""), (Params{"q", " "}));
    EXPECT_EQ(Single("q \""), (Params{"q"}));
}

TEST(CommandLine, QuotedAndUnquotedStretchesThatTouchAreOneParameter)
{
    EXPECT_EQ(Single(R"(q a"b c"d e)"), (Params{"q", "ab cd", "e"}));
    EXPECT_EQ(Single(R"(q C:\"My Folder"\Sub)"), (Params{"q", R"(C:\My Folder\Sub)"}));
    // An empty quoted stretch inside a parameter adds nothing to it.
    EXPECT_EQ(Single(R"(q a""b)"), (Params{"q", "ab"}));
    // An unclosed quote lasts to the end of the text.
    EXPECT_EQ(Single("q \"a b\tc"), (Params{"q", "a b\tc"}));
}

TEST(CommandLine, BlanksAndControlCharactersSeparateOutsideQuotesOnly)
{
    EXPECT_EQ(Single("q\tAdorn\x01\x1f  \r\nC:\\x"), (Params{"q", "Adorn", "C:\\x"}));
    EXPECT_EQ(Single("   q   "), (Params{"q"}));
    EXPECT_EQ(Single("q \"a\x01\x1f b\""), (Params{"q", "a\x01\x1f b"}));
    // Byte 127 and the upper half are ordinary characters in a single-byte code page.
    EXPECT_EQ(Single("q \x7f\x81\xff"), (Params{"q", "\x7f\x81\xff"}));
    // The text ends at its first zero byte.
    EXPECT_EQ(Single(std::string_view("q a\0b", 5)), (Params{"q", "a"}));
    EXPECT_TRUE(Single("").empty());
    EXPECT_TRUE(Single(" \t ").empty());
}

TEST(CommandLine, UnquotedBlanksCutPathsAndProgram)
{
    EXPECT_EQ(Single(R"(q Adorn C:\My Folder)"), (Params{"q", "Adorn", R"(C:\My)", "Folder"}));
    // An unquoted program path with a blank shifts every parameter.
    const Params shifted = Single(R"(C:\Program Files\Quorrel.exe Adorn "C:\x")");
    ASSERT_EQ(shifted.size(), 4u);
    EXPECT_EQ(shifted[1], R"(Files\Quorrel.exe)");
    EXPECT_EQ(shifted[2], "Adorn");
}

TEST(CommandLine, DoubleByteCharactersAreSteppedWhole)
{
    // Second bytes that are a quote or a blank belong to their character.
    EXPECT_EQ(Sjis("q \x81\" x"), (Params{"q", "\x81\"", "x"}));
    EXPECT_EQ(Sjis("q \x81 x"), (Params{"q", "\x81 x"}));
    EXPECT_EQ(Sjis("q \"\xE0\"\" y"), (Params{"q", "\xE0\"", "y"})) << "the quote after the lead byte does not close";
    EXPECT_EQ(Sjis("q \"\x95\\\x81\x40\" z"), (Params{"q", "\x95\\\x81\x40", "z"}));
    // The same bytes in a single-byte code page are separate characters.
    EXPECT_EQ(Single("q \x81\" x"), (Params{"q", "\x81 x"}));
    // A lead byte with nothing after it is a character of its own.
    EXPECT_EQ(Sjis("q \x81"), (Params{"q", "\x81"}));
    // Bytes outside the lead ranges stay single.
    EXPECT_EQ(Sjis("q \x80\" \xFD\""), (Params{"q", "\x80 \xFD"}));
}

TEST(CommandLine, ParameterZeroIsTheExecutableNotTheTextOnTheLine)
{
    const TCommandLine line(R"(quorrel Adorn "C:\x")", R"(C:\Apps\Quorrel.exe)", &NoLeadBytes);
    EXPECT_EQ(line.ParamCount(), 2);
    EXPECT_EQ(line.ParamStr(0), R"(C:\Apps\Quorrel.exe)");
    EXPECT_EQ(line.ParamStr(1), "Adorn");
    EXPECT_EQ(line.ParamStr(2), R"(C:\x)");
    EXPECT_EQ(line.ParamStr(3), "");
    EXPECT_EQ(line.ParamStr(-1), "");

    const TCommandLine empty("", "Q.exe", &NoLeadBytes);
    EXPECT_EQ(empty.ParamCount(), 0);
    EXPECT_EQ(empty.ParamStr(0), "Q.exe");
}
