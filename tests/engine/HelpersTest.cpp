#include "engine/BaseApplication.h"
#include "engine/BaseDialog.h"
#include "engine/BaseString.h"
#include "engine/DisguiseTargets.h"

#include <gtest/gtest.h>

using List = std::vector<std::string>;

TEST(Split, PiecesBetweenSeparators)
{
    const TBaseString s;
    EXPECT_EQ(s.Split("C:\\Icons\\Disk.ico,3", ','), (List{"C:\\Icons\\Disk.ico", "3"}));
    EXPECT_EQ(s.Split("a,,b", ','), (List{"a", "", "b"}));
    EXPECT_EQ(s.Split(",b", ','), (List{"", "b"}));
    EXPECT_EQ(s.Split("a,", ','), (List{"a"}));
    EXPECT_EQ(s.Split("a,,", ','), (List{"a", ""}));
    EXPECT_EQ(s.Split("", ','), List{});
    EXPECT_EQ(s.Split(" whole text ", ','), (List{" whole text "}));
}

TEST(AppDirectory, EndsInExactlyOneBackslash)
{
    const TBaseApplication app;
    const std::string exe = app.GetExePath();
    const std::string dir = app.GetAppDirectory("");
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_NE(dir[dir.size() - 2], '\\');
    EXPECT_EQ(exe.rfind(dir, 0), 0u) << exe << " is in " << dir;
    EXPECT_EQ(exe.find('\\', dir.size()), std::string::npos);
    EXPECT_EQ(app.GetAppDirectory("Data"), dir + "Data\\");
    EXPECT_EQ(app.GetAppDirectory("Data\\"), dir + "Data\\");
}

TEST(WideBuffer, StopsAtZeroOrCount)
{
    const TBaseDialog d;
    const wchar_t text[] = L"C:\\Icons\\a.ico\0tail";
    EXPECT_EQ(d.WideBufferToString(text, 512), "C:\\Icons\\a.ico");
    EXPECT_EQ(d.WideBufferToString(text, 2), "C:");
    EXPECT_EQ(d.WideBufferToString(L"", 512), "");
    // Any script reaches the UTF-8 code page; a broken surrogate, which has no UTF-8 form, is a
    // "?", so the path names no file at all.
    const wchar_t cyrillic[] = {L'a', 0x0424, L'b', 0};
    EXPECT_EQ(d.WideBufferToString(cyrillic, 512), "a\xD0\xA4" "b");
    const wchar_t broken[] = {L'a', 0xD800, L'b', 0};
    EXPECT_EQ(d.WideBufferToString(broken, 512), "a?b");
}

TEST(Disguise, TargetsMapBothWays)
{
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(DisguiseIndexOf(DisguiseClsid(i)), i);
    EXPECT_EQ(DisguiseIndexOf("{645FF040-5081-101B-9F08-00AA002F954E}"), 1);
    EXPECT_EQ(DisguiseIndexOf("{645ff040-5081-101b-9f08-00aa002f954e}"), -1) << "case-sensitive";
    EXPECT_EQ(DisguiseIndexOf("645FF040-5081-101B-9F08-00AA002F954E"), -1);
    EXPECT_EQ(DisguiseIndexOf(""), -1);
    EXPECT_EQ(DisguiseClsid(8), nullptr);
    EXPECT_EQ(DisguiseClsid(-1), nullptr);
    EXPECT_STREQ(DisguiseTargets[5].Caption, "NetWork Places");
}
