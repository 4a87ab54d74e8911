#include "toolkit/core/PathText.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(PathText, DriveRootsAndFullPaths)
{
    struct Case {
        const char* Path;
        bool Root;
        bool Absolute;
    };
    const Case cases[] = {
        {"C:\\", true, false},          {"z:\\", true, false},         {"C:\\Data\\", false, true},
        {"\\\\server\\share\\", false, true}, {"\\\\server\\share\\x\\", false, true},
        {"", false, false},             {"\\", false, false},          {"ab\\", false, false},
        {"a\\", false, false},          {"x\\y\\", false, false},      {"C:Data\\", false, false},
        {"1:\\", false, false},         {"\\\\", false, false},
        {"\\\\\\", false, false},        {"\\\\server\\", false, false}, {"\\\\\\share\\", false, false},
        {"\\\\server\\\\x", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDriveRoot(c.Path), c.Root) << c.Path;
        EXPECT_EQ(IsAbsolutePath(c.Path), c.Absolute) << c.Path;
    }
}

TEST(PathText, BackslashAndExtension)
{
    EXPECT_EQ(WithBackslash("C:\\Data"), "C:\\Data\\");
    EXPECT_EQ(WithBackslash("C:\\Data\\"), "C:\\Data\\");
    EXPECT_EQ(WithBackslash(""), "\\");

    EXPECT_EQ(ExtensionOf("C:\\Icons\\Folder.ICO"), "ICO");
    EXPECT_EQ(ExtensionOf("archive.tar.gz"), "gz");
    EXPECT_EQ(ExtensionOf("C:\\my.icons\\Folder"), "") << "a dot in a folder name is no extension";
    EXPECT_EQ(ExtensionOf("name."), "");
    EXPECT_TRUE(HasExtension("C:\\Icons\\Folder.Ico", "ico"));
    EXPECT_TRUE(HasExtension("%TEMP%\\x.ico", "ICO"));
    EXPECT_FALSE(HasExtension("C:\\Icons\\Folder.icon", "ico"));
    EXPECT_FALSE(HasExtension("C:\\x.ico\\Folder", "ico"));
    EXPECT_FALSE(HasExtension("ico", "ico"));
}

TEST(PathText, CodePageConversion)
{
    EXPECT_EQ(WideToAnsi(L"C:\\Icons\\a.ico"), "C:\\Icons\\a.ico");
    EXPECT_EQ(WideToAnsi(std::wstring_view(L"abc", 2)), "ab") << "the given length, not the zero";
    EXPECT_EQ(WideToAnsi(L""), "");
    // The program's code page is UTF-8: every script goes there and back unchanged.
    const wchar_t scripts[] = L"\x0424\x043E\x0442\x043E \x03A9mega \x30C6\x30B9\x30C8 \xD83D\xDCC1";
    EXPECT_EQ(WideToAnsi(scripts), "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE \xCE\xA9mega \xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 \xF0\x9F\x93\x81");
    EXPECT_EQ(AnsiToWide(WideToAnsi(scripts)), scripts);
    // Only a broken (lone) surrogate has no UTF-8 form: a "?", which names no file.
    const wchar_t lacking[] = {L'a', 0xD800, L'b', 0xDC00, 0};
    EXPECT_EQ(WideToAnsi(lacking), "a?b?");
    // Where the UTF-8 page is not honoured: what the page lacks is "?", never a look-alike
    // that would name a sibling ("Ωmega" is not "Omega"); what it has stays.
    EXPECT_EQ(WideToCodePage(L"\x0424\x043E\x0442\x043E", 1252), "????");
    EXPECT_EQ(WideToCodePage(L"\x03A9mega", 1252), "?mega");
    EXPECT_EQ(WideToCodePage(L"Caf\x00E9", 1252), "Caf\xE9");
    EXPECT_EQ(WideToCodePage(L"\x30C6\x30B9\x30C8", 932), "\x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(WideToCodePage(L"\x03A9", 932), "\x83\xB6");
    EXPECT_EQ(WideToCodePage(L"\x0424\x00E9", 932), "\x84\x55?");
    EXPECT_EQ(AnsiToWide("C:\\Icons\\a.ico"), L"C:\\Icons\\a.ico");
    EXPECT_EQ(AnsiToWide(""), L"");
}

TEST(PathText, FilesAndFoldersAreToldApart)
{
    TempDir dir;
    const std::string file = dir.WriteFile("icon.dll", "x");
    const std::string folder = dir.MakeDir("icon.dir");
    EXPECT_TRUE(IsExistingFile(file));
    EXPECT_FALSE(IsExistingFolder(file));
    EXPECT_TRUE(IsExistingFolder(folder));
    EXPECT_FALSE(IsExistingFile(folder));
    EXPECT_FALSE(IsExistingFile(dir.Path() + "missing"));
    EXPECT_FALSE(IsExistingFolder(dir.Path() + "missing"));
}
