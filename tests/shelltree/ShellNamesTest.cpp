// Name answers of the shell turned into text, and the display names of items.
#include "shelltree/RootFolder.h"
#include "shelltree/ShellNamespace.h"
#include "shelltree/ShellTestSupport.h"

#include <cstring>

namespace {
STRRET WideAnswer(const wchar_t* text)
{
    STRRET answer{};
    answer.uType = STRRET_WSTR;
    const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    answer.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    std::memcpy(answer.pOleStr, text, bytes);
    return answer;
}

STRRET AnsiAnswer(const std::string& text)
{
    STRRET answer{};
    answer.uType = STRRET_CSTR;
    std::memcpy(answer.cStr, text.data(), std::min(text.size(), sizeof answer.cStr));
    return answer;
}

std::string WideText(const wchar_t* text)
{
    STRRET answer = WideAnswer(text);
    return StrRetText(nullptr, answer);
}

// A class registered under its own new identifier for the length of a test, with the given
// name; the shell shows it on the desktop as "::{identifier}".
class RegisteredClass {
public:
    static constexpr const char* kId = "{7A3F1C52-9D44-4E1B-8A77-2C5E0B9D1F63}";
    explicit RegisteredClass(const std::string& name)
    {
        HKEY raw = nullptr;
        EXPECT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, Key().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw,
                                  nullptr),
                  ERROR_SUCCESS);
        ScopedKey key(raw);
        RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                       static_cast<DWORD>(name.size() + 1));
    }
    ~RegisteredClass() { RegDeleteKeyA(HKEY_CLASSES_ROOT, Key().c_str()); }
    RegisteredClass(const RegisteredClass&) = delete;
    RegisteredClass& operator=(const RegisteredClass&) = delete;

private:
    static std::string Key() { return std::string("CLSID\\") + kId; }
};
} // namespace

TEST(StrRetText, WideAnswerIsConvertedAndFreed)
{
    TaskAllocationCounter counter;
    STRRET answer = WideAnswer(L"Documents");
    ASSERT_EQ(counter.Live(), 1u);
    EXPECT_EQ(StrRetText(nullptr, answer), "Documents");
    EXPECT_EQ(answer.pOleStr, nullptr) << "the answer must not point at freed memory";
    EXPECT_EQ(counter.Live(), 0u);

    STRRET absent{};
    EXPECT_EQ(StrRetText(nullptr, absent), "");
}

TEST(StrRetText, OffsetAndAnsiAnswers)
{
    // An entry of a tag, a name and its zero, then one more entry.
    IdList list = AllocIdList(18);
    auto* bytes = static_cast<unsigned char*>(list.get());
    const unsigned char entries[] = {10, 0, 0x31, 'P', 'i', 'c', 's', 0, 'x', 'y', 6, 0, 'N', 'e', 'x', 't', 0, 0};
    std::memcpy(bytes, entries, sizeof entries);
    STRRET offset{};
    offset.uType = STRRET_OFFSET;
    offset.uOffset = 3;
    EXPECT_EQ(StrRetText(Pidl(list), offset), "Pics");
    bytes[7] = 'z'; // no zero left inside the entry: the text ends with it
    EXPECT_EQ(StrRetText(Pidl(list), offset), "Picszxy");
    offset.uOffset = 40;
    EXPECT_EQ(StrRetText(Pidl(list), offset), "");

    STRRET ansi = AnsiAnswer("Plain name");
    EXPECT_EQ(StrRetText(nullptr, ansi), "Plain name");
    STRRET full = AnsiAnswer(std::string(sizeof ansi.cStr, 'n')); // no room left for a zero
    EXPECT_EQ(StrRetText(nullptr, full), std::string(sizeof ansi.cStr, 'n'));

    STRRET unknown = AnsiAnswer("ignored");
    unknown.uType = 7;
    EXPECT_EQ(StrRetText(nullptr, unknown), "");
}

TEST(StrRetText, QuestionMarksBeforeADigitGo)
{
    EXPECT_EQ(WideText(L"?12?/?05?/?2024"), "12/05/2024");
    EXPECT_EQ(WideText(L"?5 items?"), "5 items");
    EXPECT_EQ(WideText(L"?"), "?");
    EXPECT_EQ(WideText(L"?a?1"), "?a?1");
    EXPECT_EQ(WideText(L"??1"), "??1");
    EXPECT_EQ(WideText(L"1?2"), "1?2");
    // The marks themselves (the UTF-8 code page carries them) go the same way.
    EXPECT_EQ(WideText(L"\x200E" L"3 files"), "3 files");
    EXPECT_EQ(WideText(L"\x200F" L"12\x200F/\x200E" L"05"), "12/05");
    EXPECT_EQ(WideText(L"\x200E" L"a\x200E"), "\xE2\x80\x8E" "a\xE2\x80\x8E");
    STRRET ansi = AnsiAnswer("?7?");
    EXPECT_EQ(StrRetText(nullptr, ansi), "7");
}

TEST_F(ShellItemTest, ShellNameOfVirtualPlacesAndMissingFolders)
{
    const ComPtr<IShellFolder> desktop = DesktopFolderObject();
    EXPECT_EQ(ShellNameOf(nullptr, DesktopItem()->IdFromDesktop(), SHGDN_NORMAL), "parentfolder = nil");

    // A virtual place's path is a class identifier: its plain name is given instead.
    IdList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, ReceiveIdList(computer)), S_OK);
    const std::string plain = ShellNameOf(desktop.get(), Pidl(computer), SHGDN_NORMAL);
    EXPECT_FALSE(plain.empty());
    EXPECT_EQ(plain.rfind("::{", 0), std::string::npos);
    EXPECT_EQ(ShellNameOf(desktop.get(), Pidl(computer), SHGDN_FORPARSING), plain);

    // A folder's path stays its path.
    const std::string folder = temp.MakeDir("named");
    EXPECT_EQ(ShellNameOf(desktop.get(), Pidl(ParsedIdList(folder)), SHGDN_FORPARSING), WithoutBackslash(folder));
}

TEST_F(ShellItemTest, PlainNameThatIsAClassIdentifierTooIsGivenAsItIs)
{
    const RegisteredClass odd("::{not a name}");
    const ComPtr<IShellFolder> desktop = DesktopFolderObject();
    const IdList list = ParsedIdList(std::string("::") + RegisteredClass::kId);
    ASSERT_TRUE(list);
    // Asking again with the plain name's own flags would never end.
    EXPECT_EQ(ShellNameOf(desktop.get(), Pidl(list), SHGDN_FORPARSING), "::{not a name}");
}
