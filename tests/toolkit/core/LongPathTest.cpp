#include "toolkit/core/LongPath.h"

#include <gtest/gtest.h>

TEST(LongPath, OnlyALongFullPathTakesThePrefixAndIsTidiedFirst)
{
    const std::string deep = "C:\\" + std::string(260, 'a') + "\\";
    EXPECT_EQ(WidePath("C:\\Data\\Фото\\"), L"C:\\Data\\\u0424\u043e\u0442\u043e\\");
    EXPECT_EQ(WidePath(deep), L"\\\\?\\" + std::wstring(deep.begin(), deep.end()));
    // Behind the prefix the platform takes every character literally.
    EXPECT_EQ(WidePath("C:\\x\\..\\" + std::string(260, 'a') + "\\.\\b/c\\"),
              L"\\\\?\\C:\\" + std::wstring(260, L'a') + L"\\b\\c\\");
    EXPECT_EQ(WidePath("\\\\server\\share\\" + std::string(260, 'a')),
              L"\\\\?\\UNC\\server\\share\\" + std::wstring(260, L'a'));
    // Relative and prefixed paths are left as they are.
    EXPECT_EQ(WidePath(std::string(300, 'r')), std::wstring(300, L'r'));
    EXPECT_EQ(WidePath("\\\\?\\" + deep), L"\\\\?\\" + std::wstring(deep.begin(), deep.end()));
}

TEST(LongPath, SystemErrorTextIsOneLineOfTheSystemsWords)
{
    const std::string text = SystemErrorText(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(text.back(), ' ');
    EXPECT_EQ(SystemErrorText(0x2FFFFFFF), "error 805306367");
}
