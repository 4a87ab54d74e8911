#include "toolkit/core/Convert.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Format.h"

#include <gtest/gtest.h>

TEST(Convert, DecimalAndHexadecimalTexts)
{
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_EQ(StrToInt("$0000FF"), 255);
    EXPECT_EQ(StrToInt("$FF0000"), 0xFF0000);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
}

TEST(Convert, MalformedTextsNameThemselvesInTheMessage)
{
    const char* bad[] = {"", "$", "abc", "12a", "2147483648", "$1FFFFFFFF", "1 ", "--1"};
    for (const char* text : bad) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(Convert, HexDigitsArePaddedAndUppercase)
{
    EXPECT_EQ(IntToHex(0xFF, 6), "0000FF");
    EXPECT_EQ(IntToHex(0xABCDEF, 6), "ABCDEF");
    EXPECT_EQ(IntToHex(0x1234567, 6), "1234567");
}

TEST(Format, ReplacesEveryPlaceholderLiterally)
{
    EXPECT_EQ(FormatText("Unable to write to %s", "C:\\a%sb"), "Unable to write to C:\\a%sb");
    EXPECT_EQ(FormatText("'%s' and '%s'", "x"), "'x' and 'x'");
    EXPECT_EQ(FormatText("100%", "x"), "100%");
}
