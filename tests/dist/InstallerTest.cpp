// The installer and its uninstaller, run silently the way a deployment tool runs them. They
// write machine-wide (Program Files, the all-users Start menu, HKEY_LOCAL_MACHINE), so these
// tests run only in a throw-away copy of the Wine prefix (tests/dist/in_prefix_copy.py).
#include "dist/DistTestSupport.h"
#include "sidecars/SidecarTestSupport.h"
#include "support/RegistryKeyRestorer.h"
#include "toolkit/core/Registry.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <map>
#include <stdexcept>
#include <string>

namespace {

constexpr DWORD SetupLimitMs = 120000;
constexpr DWORD VerbStartLimitMs = 60000;
const std::string UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorrel";
const char* const Verbs[] = {"Adorn", "Pretend", "Default"};
const char* const ProgramFiles[] = {"Quorrel.exe", "Res.dll", "Form.dll", "icon.dll", "Help.chm"};
// A drive letter no test machine has; its icon key is the user's.
const std::string DriveIconKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\Q";

std::string VerbKey(const std::string& verb)
{
    return "Directory\\Shell\\Quorrel " + verb;
}

std::string SpecialFolder(int id)
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)))
        throw std::runtime_error("no special folder " + std::to_string(id));
    return path;
}

std::string InstallFolder()
{
    return SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Quorrel";
}

std::string StartMenuEntry()
{
    return SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Quorrel.lnk";
}

// The verbs' commands as Explorer reads them.
std::map<std::string, std::string> VerbCommands()
{
    std::map<std::string, std::string> commands;
    for (const char* verb : Verbs)
        commands[verb] = RegistryString(HKEY_CLASSES_ROOT, VerbKey(verb) + "\\command");
    return commands;
}

// The program a shortcut starts.
std::string ShortcutTarget(const std::string& shortcut)
{
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    std::wstring wide(shortcut.begin(), shortcut.end());
    char target[MAX_PATH] = {};
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) || FAILED(file->Load(wide.c_str(), STGM_READ)) ||
        FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)))
        return {};
    return target;
}

// The bytes of every file directly in a folder.
ULONGLONG FolderBytes(const std::string& folder)
{
    ULONGLONG bytes = 0;
    WIN32_FIND_DATAA data;
    if (const ScopedFind find(FindFirstFileA((folder + "\\*").c_str(), &data)); find) {
        do
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                bytes += (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        while (FindNextFileA(find.get(), &data));
    }
    return bytes;
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One silent installation; removed again by the quiet uninstall command that it registered
// unless the test has done that itself.
class Installation {
public:
    Installation()
    {
        const std::string setup = PackageFile("Quorrel-", "-setup.exe");
        const ProcessEnd end = RunToEnd("\"" + setup + "\" /S", SetupLimitMs);
        if (!end.ended || end.exitCode != 0)
            throw std::runtime_error(setup + " /S " + (end.ended ? "ended with " + std::to_string(end.exitCode)
                                                                   : std::string("did not end")));
        installed_ = true;
    }
    ~Installation()
    {
        if (installed_)
            try {
                Uninstall();
            } catch (...) {
            }
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    // Runs the command the list of installed programs gives for a quiet removal.
    ProcessEnd Uninstall()
    {
        installed_ = false;
        const std::string command = RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString");
        if (command.empty())
            throw std::runtime_error("no QuietUninstallString under HKLM\\" + UninstallKey);
        return RunToEnd(command, SetupLimitMs);
    }

private:
    bool installed_ = false;
};

// Removes a folder that a test left in Program Files on purpose.
class FolderRemover {
public:
    explicit FolderRemover(std::string path) : path_(std::move(path)) {}
    ~FolderRemover()
    {
        if (FolderExists(path_))
            RemoveTree(path_ + "\\");
    }
    FolderRemover(const FolderRemover&) = delete;
    FolderRemover& operator=(const FolderRemover&) = delete;

private:
    std::string path_;
};

class Setup : public testing::Test {
protected:
    void SetUp() override
    {
        if (EnvironmentValue("QUORREL_PREFIX_COPY").empty())
            GTEST_FAIL() << "installs machine-wide: run through tests/dist/in_prefix_copy.py (ctest does)";
        CoInitialize(nullptr);
    }
    void TearDown() override { CoUninitialize(); }

    // What setup writes, put back however a test ends.
    RegistryKeyRestorer adorn_{HKEY_CLASSES_ROOT, VerbKey("Adorn")};
    RegistryKeyRestorer pretend_{HKEY_CLASSES_ROOT, VerbKey("Pretend")};
    RegistryKeyRestorer default_{HKEY_CLASSES_ROOT, VerbKey("Default")};
    RegistryKeyRestorer programs_{HKEY_LOCAL_MACHINE, UninstallKey};
};

} // namespace

TEST_F(Setup, InstallsIntoProgramFilesWithEntriesAndRemovesThemAgain)
{
    // Entries left by a copy of the program started elsewhere are taken over.
    {
        TRegistry registry(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(registry.OpenKey(VerbKey("Adorn") + "\\command", true));
        registry.WriteString("", "\"C:\\Old place\\Quorrel.exe\" Adorn \"%1\"");
    }
    Installation installation;
    const std::string folder = InstallFolder();
    ASSERT_NE(folder.find(' '), std::string::npos) << folder << ": the test needs a folder name with a blank";

    for (const char* file : ProgramFiles)
        EXPECT_EQ(ReadFileBytes(folder + "\\" + file), ReadFileBytes(BinPath(file))) << file;
    EXPECT_TRUE(FileExists(folder + "\\Uninstall.exe"));

    // The same quoted text the program writes at every start.
    const std::string exe = folder + "\\Quorrel.exe";
    for (const auto& [verb, command] : VerbCommands())
        EXPECT_EQ(command, "\"" + exe + "\" " + verb + " \"%1\"") << verb;

    const VersionResource installed(exe);
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName"), "Quorrel");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayVersion"), installed.String("ProductVersion"));
    EXPECT_NE(installed.String("ProductVersion"), "");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "Publisher"), installed.String("CompanyName"));
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayIcon"), exe + ",0");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "InstallLocation"), folder);
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString"),
              "\"" + folder + "\\Uninstall.exe\"");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString"),
              "\"" + folder + "\\Uninstall.exe\" /S");
    EXPECT_EQ(RegistryDword(HKEY_LOCAL_MACHINE, UninstallKey, "NoModify", 0), 1u);
    EXPECT_EQ(RegistryDword(HKEY_LOCAL_MACHINE, UninstallKey, "NoRepair", 0), 1u);
    const DWORD kilobytes = FolderBytes(folder) / 1024;
    EXPECT_NEAR(RegistryDword(HKEY_LOCAL_MACHINE, UninstallKey, "EstimatedSize", 0), kilobytes, 8) << "KiB";
    // The installer's name carries the version it installs.
    EXPECT_NE(PackageFile("Quorrel-", "-setup.exe").find("\\Quorrel-" + installed.String("ProductVersion") + "-setup.exe"),
              std::string::npos);

    EXPECT_EQ(ShortcutTarget(StartMenuEntry()), exe);

    const ProcessEnd removal = installation.Uninstall();
    ASSERT_TRUE(removal.ended);
    EXPECT_EQ(removal.exitCode, 0u);
    EXPECT_FALSE(FolderExists(folder)) << "nothing of the user's was there: the folder goes too";
    EXPECT_FALSE(FileExists(StartMenuEntry()));
    EXPECT_FALSE(TRegistry(HKEY_LOCAL_MACHINE, KEY_READ).KeyExists(UninstallKey));
    for (const char* verb : Verbs)
        EXPECT_FALSE(TRegistry(HKEY_CLASSES_ROOT, KEY_READ).KeyExists(VerbKey(verb))) << verb;
}

TEST_F(Setup, ExplorerVerbStartsTheInstalledProgramWhichKeepsTheEntriesAsTheyAre)
{
    Installation installation;
    const TempDir temp;
    const std::string folder = temp.MakeDir("Holiday photos");
    temp.WriteFile("Holiday photos\\DeskTop.Ini", "[.ShellClassInfo]\r\nInfoTip=Summer\r\n");
    ASSERT_TRUE(SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_SYSTEM));
    const auto registered = VerbCommands();

    // What Explorer does for "Quorrel Default" on that folder.
    std::string command = registered.at("Default");
    const auto argument = command.find("%1");
    ASSERT_NE(argument, std::string::npos) << command;
    command.replace(argument, 2, folder.substr(0, folder.size() - 1));
    const ProcessEnd end = RunToEnd(command, VerbStartLimitMs);
    ASSERT_TRUE(end.ended) << command;
    EXPECT_EQ(end.exitCode, 0u);

    EXPECT_FALSE(FileExists(folder + "DeskTop.Ini"));
    EXPECT_TRUE(FolderExists(folder));
    // The program rewrote its entries at start: the very text setup wrote.
    EXPECT_EQ(VerbCommands(), registered);
}

TEST_F(Setup, UninstallLeavesWhatBelongsToTheUser)
{
    // The user's file keeps the folder after the removal: it goes last, after the uninstaller.
    const std::string folder = InstallFolder();
    const FolderRemover leftover(folder);
    Installation installation;

    // A folder the user customised, a drive icon, an unrelated folder verb and a file the user
    // put into the program's folder.
    const TempDir temp;
    temp.MakeDir("Work");
    const std::string settings = "[.ShellClassInfo]\r\nIconFile=C:\\Icons\\Work.ico\r\nIconIndex=0\r\n";
    const std::string settingsFile = temp.WriteFile("Work\\DeskTop.Ini", settings);
    const RegistryKeyRestorer driveKey(HKEY_LOCAL_MACHINE, DriveIconKey);
    const RegistryKeyRestorer siblingKey(HKEY_CLASSES_ROOT, "Directory\\Shell\\QuorrelTestNeighbour");
    {
        TRegistry registry(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey(DriveIconKey + "\\DefaultIcon", true));
        registry.WriteString("", "C:\\Icons\\Disk.ico,3");
        registry.SetRootKey(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(registry.OpenKey("Directory\\Shell\\QuorrelTestNeighbour\\command", true));
        registry.WriteString("", "notepad.exe \"%1\"");
    }
    const std::string ownFile = folder + "\\My icons.ico";
    {
        const ScopedFile file(CreateFileA(ownFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file) << ownFile << ": " << SystemReason(GetLastError());
    }

    const ProcessEnd removal = installation.Uninstall();
    ASSERT_TRUE(removal.ended);
    EXPECT_EQ(removal.exitCode, 0u);

    for (const char* file : ProgramFiles)
        EXPECT_FALSE(FileExists(folder + "\\" + file)) << file;
    EXPECT_FALSE(FileExists(folder + "\\Uninstall.exe"));
    EXPECT_TRUE(FileExists(ownFile)) << "the user's file and its folder stay";
    for (const char* verb : Verbs)
        EXPECT_FALSE(TRegistry(HKEY_CLASSES_ROOT, KEY_READ).KeyExists(VerbKey(verb))) << verb;

    EXPECT_EQ(ReadFileBytes(settingsFile), settings);
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, DriveIconKey + "\\DefaultIcon"), "C:\\Icons\\Disk.ico,3");
    EXPECT_EQ(RegistryString(HKEY_CLASSES_ROOT, "Directory\\Shell\\QuorrelTestNeighbour\\command"),
              "notepad.exe \"%1\"");
}
