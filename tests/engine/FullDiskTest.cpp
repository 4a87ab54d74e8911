// The settings file on a volume that is full, or fills up half way: the new file whole, or the
// old one byte for byte and the error that names it; never a cut file, never a stray copy.
#include "engine/FolderSettings.h"
#include "engine/SettingsFiles.h"
#include "SmallVolume.h"
#include "support/TempDir.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A file of another tool's and Windows' entries, a little short of a page, with one key of ours.
std::string NearlyAPage()
{
    std::string bytes = "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nInfotip=old\r\n[OtherTool]\r\n";
    for (int i = 0; bytes.size() < 3950; ++i)
        bytes += "Entry" + std::to_string(i) + "=a value another tool keeps here\r\n";
    return bytes;
}

// The reason the change was refused with.
std::string ExpectRefused(const std::function<void()>& change, const std::string& file)
{
    try {
        change();
        ADD_FAILURE() << "the change went through on a full volume";
    } catch (const ESettingsFileError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + file);
        return e.Reason();
    }
    return {};
}

} // namespace

TEST(FullDisk, ASettingsFileIsReplacedWholeOrLeftAsItWas)
{
    SmallVolume volume;
    if (!volume.Unavailable().empty())
        GTEST_SKIP() << "no small volume: " << volume.Unavailable();
    const std::string folder = volume.Root() + "Folder\\";
    const std::string sub = folder + "Sub\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string file = folder + "DeskTop.Ini";
    const std::string before = NearlyAPage();
    {
        const ScopedFile out(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(out && WriteFile(out.get(), before.data(), DWORD(before.size()), &written, nullptr));
    }
    TDTItem item = ReadFolderSettings(folder);
    item.CLSID = "{645FF040-5081-101B-9F08-00AA002F954E}";
    const std::string fresh = FreshSettingsBytes(item);

    // Room for the copy but not for what the keys add to it: the platform's writer cuts it at
    // the page and says nothing; the check after it does not let the cut file in.
    ASSERT_LT(volume.Fill(4096), 8192u);
    ASSERT_GT(volume.BytesFree(), 0u);
    EXPECT_NE(ExpectRefused([&] { WriteFolderSettings(item); }, file).find("did not read back whole"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"DeskTop.Ini", "Sub"})) << "no stray copy";

    // Nothing free at all: the file, Default on it and a subfolder's copy.
    ASSERT_EQ(volume.Fill(0), 0u);
    ExpectRefused([&] { WriteFolderSettings(item); }, file);
    ExpectRefused([&] { RemoveFolderSettings(folder); }, file);
    ExpectRefused([&] { CopySettingsInto(sub, fresh); }, sub + "DeskTop.Ini");
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"DeskTop.Ini", "Sub"}));
    EXPECT_TRUE(NamesIn(sub).empty()) << "a subfolder's copy is there whole or not at all";
}
