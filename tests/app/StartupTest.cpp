#include "app/Startup.h"

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
