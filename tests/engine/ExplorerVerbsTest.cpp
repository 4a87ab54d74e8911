#include "engine/ExplorerVerbs.h"

#include "engine/BaseApplication.h"
#include "engine/FolderCtrl.h"
#include "toolkit/core/Registry.h"

#include <gtest/gtest.h>

namespace {

std::string VerbValue(const char* verb)
{
    TRegistry registry(HKEY_CLASSES_ROOT);
    if (!registry.OpenKey(std::string("Directory\\Shell\\Quorrel ") + verb + "\\command", false))
        return "<no key>";
    return registry.ReadString("");
}

} // namespace

TEST(ExplorerVerbs, CommandsQuoteTheProgramAndTheFolder)
{
    EXPECT_EQ(VerbKey("Adorn"), "Shell\\Quorrel Adorn");
    EXPECT_EQ(VerbCommand("C:\\Program Files\\Quorrel\\Quorrel.exe", "Pretend"),
              "\"C:\\Program Files\\Quorrel\\Quorrel.exe\" Pretend \"%1\"");
}

TEST(ExplorerVerbs, ConstructingTheControllerRegistersAllThree)
{
    TRegistry(HKEY_CLASSES_ROOT).DeleteKey("Directory\\Shell\\Quorrel Adorn");
    const TFolderCtrl ctrl(false);
    const std::string exe = TBaseApplication().GetExePath();
    EXPECT_EQ(VerbValue("Adorn"), "\"" + exe + "\" Adorn \"%1\"");
    EXPECT_EQ(VerbValue("Pretend"), "\"" + exe + "\" Pretend \"%1\"");
    EXPECT_EQ(VerbValue("Default"), "\"" + exe + "\" Default \"%1\"");

    // The verb key itself carries no value; only its command subkey does.
    TRegistry registry(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(registry.OpenKey("Directory\\Shell\\Quorrel Adorn", false));
    EXPECT_FALSE(registry.ValueExists(""));
}

TEST(ExplorerVerbs, AStartFromElsewhereRewritesTheCommands)
{
    const TBaseApplication app;
    ASSERT_TRUE(app.RegisterDirectoryVerb(VerbKey("Default"), VerbCommand("D:\\Old Place\\Quorrel.exe", "Default")));
    EXPECT_EQ(VerbValue("Default"), "\"D:\\Old Place\\Quorrel.exe\" Default \"%1\"");
    RegisterExplorerVerbs();
    RegisterExplorerVerbs();
    EXPECT_EQ(VerbValue("Default"), "\"" + app.GetExePath() + "\" Default \"%1\"");
}
