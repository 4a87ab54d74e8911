#include "app/FolderActions.h"
#include "app/Startup.h"
#include "support/TempDir.h"
#include "toolkit/core/Exception.h"

#include <gtest/gtest.h>

TEST(Verbs, OnlyTheExactWordsAreVerbs)
{
    EXPECT_EQ(VerbOf("Adorn"), TVerb::Adorn);
    EXPECT_EQ(VerbOf("Pretend"), TVerb::Pretend);
    EXPECT_EQ(VerbOf("Default"), TVerb::Default);
    for (const char* word : {"adorn", "ADORN", "Adorn ", " Default", "Defaults", "", "Pretend\t"})
        EXPECT_EQ(VerbOf(word), TVerb::None) << '"' << word << '"';
}

TEST(LibraryCheck, MessageQuotesTheNameAndDoublesAQuoteInIt)
{
    EXPECT_EQ(MissingLibraryMessage("Form.dll"), "'Form.dll' is not found. Please reinstall this program.");
    EXPECT_EQ(MissingLibraryMessage("It's.dll"), "'It''s.dll' is not found. Please reinstall this program.");
}

// The folder of a start from Explorer: a full path to an existing folder or drive root, in its
// plain form; anything else is refused with the path named, text that is not a full path or
// holds a wildcard before it is looked for.
TEST(VerbFolder, OnlyAFullPathToAnExistingFolderIsTaken)
{
    const TempDir temp;
    const std::string folder = temp.MakeDir("Folder");
    temp.MakeDir("Folder\\Inner");
    const std::string file = temp.WriteFile("file.txt", "x");
    EXPECT_EQ(VerbFolder(folder), folder);
    EXPECT_EQ(VerbFolder(folder + "Inner\\..\\"), folder);
    EXPECT_EQ(VerbFolder(folder + ".\\Inner"), folder + "Inner");
    EXPECT_EQ(VerbFolder("C:\\"), "C:\\");
    EXPECT_EQ(VerbFolder("c:\\\\"), "c:\\") << "a drive root however it is written";
    const std::string named = temp.MakeDir("\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE \xF0\x9F\x93\x81");
    EXPECT_EQ(VerbFolder(named + ".\\"), named);
    const std::string refused[] = {"", "Folder", "ab", "x\\y", "\\Folder", "C:", "C:Folder", folder + "Inn?r",
                                   folder + "*", temp.Path() + "missing", file, "\\\\?\\" + folder};
    for (const std::string& path : refused) {
        try {
            VerbFolder(path);
            ADD_FAILURE() << "taken: " << path;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Error setting path: \"" + path + "\"");
        }
    }
}
