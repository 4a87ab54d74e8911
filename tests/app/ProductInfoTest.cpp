#include "app/ProductInfo.h"
#include "sidecars/SidecarTestSupport.h"
#include "support/TempDir.h"
#include "toolkit/core/Exception.h"
#include "toolkit/graphics/JpegImage.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

namespace {

// A record whose sidecar folder is a test folder.
TProductInfo InfoFor(const std::string& folder)
{
    TProductInfo info;
    info.AppDirectory = folder;
    return info;
}

// "Version <major>.<minor>" from the built program's own version resource.
std::string ProgramVersionCaption()
{
    const std::string program = BinPath("Quorrel.exe");
    DWORD ignored = 0;
    std::string data(GetFileVersionInfoSizeA(program.c_str(), &ignored), '\0');
    if (data.empty() || !GetFileVersionInfoA(program.c_str(), 0, DWORD(data.size()), data.data()))
        return "no version resource in " + program;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &size) || !fixed)
        return "no fixed version information in " + program;
    return "Version " + std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS));
}

void CopyInto(const std::string& source, const std::string& target)
{
    ASSERT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE)) << source << " -> " << target;
}

} // namespace

TEST(ProductStrings, ReadsEachFieldOfTheShippedLibrary)
{
    TProductInfo info = InfoFor(BuildFolder("QUORREL_BIN"));
    LoadProductStrings(info);
    EXPECT_EQ(info.ProductName, "Quorrel");
    // Each field from its own number: a swapped number shows as a text in the wrong place.
    // The About box's version is the program's own, not a second number kept by hand.
    EXPECT_EQ(info.AboutText0, ProgramVersionCaption());
    EXPECT_EQ(info.AboutText2.rfind("Copyright \xC2\xA9 ", 0), 0u) << info.AboutText2; // UTF-8
    EXPECT_FALSE(info.TitleSuffix.empty());
    EXPECT_EQ(info.HomePage.rfind("https://", 0), 0u) << info.HomePage;
    EXPECT_NE(info.EmailAddress.find('@'), std::string::npos) << info.EmailAddress;
    EXPECT_GT(info.AboutText7.size(), info.TitleSuffix.size()) << info.AboutText7;
    for (const auto* text : {&info.AboutText0, &info.AboutText2, &info.TitleSuffix, &info.HomePage,
                             &info.EmailAddress, &info.AboutText7})
        EXPECT_LE(text->size(), std::size_t(ProductStringLength)) << *text;
}

TEST(ProductStrings, LongStringsAreCutAndMissingOnesAreEmpty)
{
    TempDir folder;
    CopyInto(TestLibraryPath("LongStrings.dll"), folder.Path() + ProductLibraryName);
    TProductInfo info = InfoFor(folder.Path());
    info.ProductName = "left from before";
    LoadProductStrings(info);

    std::string long300;
    for (int i = 0; i < 30; ++i)
        long300 += "0123456789";
    EXPECT_EQ(info.HomePage, long300.substr(0, 253));
    EXPECT_EQ(info.AboutText0, "first");
    EXPECT_EQ(info.AboutText7, "seventh");
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.AboutText2, "");
    EXPECT_EQ(info.TitleSuffix, "");
    EXPECT_EQ(info.EmailAddress, "");
}

TEST(ProductStrings, LibraryIsReleasedAfterReadingAndAfterAFailure)
{
    TempDir folder;
    const std::string library = folder.Path() + ProductLibraryName;
    CopyInto(TestLibraryPath("LongStrings.dll"), library);
    TProductInfo info = InfoFor(folder.Path());
    {
        // The check below can tell: a library loaded as data is a mapped view of its file.
        const ScopedLibrary held(LoadLibraryExA(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(held);
        ASSERT_EQ(MappedViewsOf(library), 1);
    }
    LoadProductStrings(info);
    EXPECT_EQ(info.AboutText0, "first");
    EXPECT_EQ(MappedViewsOf(library), 0);
    // Also when a step fails: this library has no picture.
    EXPECT_THROW(ReadLibraryResource(library, SplashResourceName, SplashResourceType), EResNotFound);
    EXPECT_EQ(MappedViewsOf(library), 0);
}

TEST(ProductStrings, MissingLibraryLeavesEveryFieldEmpty)
{
    TempDir folder;
    TProductInfo info = InfoFor(folder.Path());
    info.ProductName = "left from before";
    LoadProductStrings(info);
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.AboutText0, "");
    EXPECT_EQ(info.AboutText7, "");
}

TEST(ProductStrings, AppDirectoryIsTheProgramsFolderFromTheStart)
{
    const TProductInfo info;
    EXPECT_EQ(info.AppDirectory, TestLibraryPath(""));
    EXPECT_EQ(ProductInfo().AppDirectory, TestLibraryPath(""));
    // A folder that is no full path would hand the name to the platform's search.
    TProductInfo relative;
    relative.AppDirectory = "";
    EXPECT_EQ(SidecarPath(relative, HelpFileName), TestLibraryPath(HelpFileName));
    relative.AppDirectory = "sub\\";
    EXPECT_EQ(SidecarPath(relative, HelpFileName), TestLibraryPath(HelpFileName));
    relative.AppDirectory = "C:\\Program Files\\Quorrel";
    EXPECT_EQ(SidecarPath(relative, HelpFileName), "C:\\Program Files\\Quorrel\\Help.chm");
}

TEST(SplashPicture, DecodesAsTheShippedPicture)
{
    const TProductInfo info = InfoFor(BuildFolder("QUORREL_BIN"));
    const TBytes bytes = ReadLibraryResource(SidecarPath(info, ProductLibraryName), SplashResourceName, SplashResourceType);
    TJPEGImage picture;
    picture.LoadFromStream(bytes);
    TJPEGImage source;
    source.LoadFromFile(ArtPath("splash.jpg"));
    EXPECT_GT(picture.Width(), 0);
    EXPECT_EQ(picture.Width(), source.Width());
    EXPECT_EQ(picture.Height(), source.Height());
    EXPECT_EQ(bytes, ReadPictureFile(ArtPath("splash.jpg")));
}

TEST(SplashPicture, MissingLibraryOrResourceRaisesNotFound)
{
    TempDir folder;
    EXPECT_THROW(ReadLibraryResource(folder.Path() + ProductLibraryName, SplashResourceName, SplashResourceType),
                 EResNotFound);
    EXPECT_THROW(ReadLibraryResource(TestLibraryPath("LongStrings.dll"), SplashResourceName, SplashResourceType),
                 EResNotFound);
}

TEST(AboutBoxCall, MissingLibraryOrExportDoesNothing)
{
    ClearDecoyMarks();
    TempDir folder;
    const TProductInfo info = InfoFor(folder.Path());
    ShowAbout(nullptr, info); // no Form.dll at all
    const std::string library = folder.Path() + AboutLibraryName;
    CopyInto(TestLibraryPath("LongStrings.dll"), library); // a library without the export
    ShowAbout(nullptr, info);
    EXPECT_FALSE(ModuleLoaded(library));
    EXPECT_TRUE(DeleteFileA(library.c_str()));
    EXPECT_FALSE(DecoyLoaded());
}

TEST(AboutBoxCall, HandsTheProductInformationToTheExportAndReleasesTheLibrary)
{
    ClearDecoyMarks();
    TempDir folder;
    const std::string library = folder.Path() + AboutLibraryName;
    CopyInto(TestLibraryPath("Decoy.dll"), library);
    TProductInfo info = InfoFor(folder.Path());
    info.ProductName = "Quorrel under test";
    ShowAbout(nullptr, info);
    EXPECT_TRUE(DecoyLoaded());
    EXPECT_EQ(DecoyShown(), "Quorrel under test");
    EXPECT_FALSE(ModuleLoaded(library));
}

// Res.dll, Form.dll and Help.chm missing beside the program and planted in the working
// directory: none of the planted files may be used.
TEST(SidecarPlanting, FilesInTheWorkingDirectoryAreNeverUsed)
{
    ClearDecoyMarks();
    TempDir planted;
    CopyInto(TestLibraryPath("Decoy.dll"), planted.Path() + ProductLibraryName);
    CopyInto(TestLibraryPath("Decoy.dll"), planted.Path() + AboutLibraryName);
    CopyInto(BinPath(HelpFileName), planted.Path() + HelpFileName);
    TProductInfo info; // the test program's folder, which holds none of the three
    ASSERT_EQ(GetFileAttributesA(SidecarPath(info, ProductLibraryName).c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(GetFileAttributesA(SidecarPath(info, AboutLibraryName).c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(GetFileAttributesA(SidecarPath(info, HelpFileName).c_str()), INVALID_FILE_ATTRIBUTES);

    const ScopedCurrentDirectory here(planted.Path());
    {
        // The premise: a load by bare name would take the planted library.
        const ScopedLibrary bare(LoadLibraryExA(ProductLibraryName, nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(bare);
    }

    LoadProductStrings(info);
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.HomePage, "");
    EXPECT_THROW(ReadLibraryResource(SidecarPath(info, ProductLibraryName), SplashResourceName, SplashResourceType),
                 EResNotFound);
    ShowAbout(nullptr, info);
    EXPECT_FALSE(DecoyLoaded());
    EXPECT_EQ(DecoyShown(), "");
    EXPECT_FALSE(ModuleLoaded(planted.Path() + AboutLibraryName));
    EXPECT_FALSE(OpenHelp(info));
}

TEST(SidecarPlanting, TheBrowserIsRunByItsRegisteredPathNotFromTheWorkingDirectory)
{
    TempDir planted;
    CopyInto(TestLibraryPath("Decoy.dll"), planted.Path() + "iexplore.exe");
    const ScopedCurrentDirectory here(planted.Path());
    // The premise: a search by bare name starting in the working directory finds the planted one.
    char found[MAX_PATH] = {};
    ASSERT_GT(SearchPathA(nullptr, "iexplore.exe", nullptr, MAX_PATH, found, nullptr), 0u);
    ASSERT_EQ(std::string(found), planted.Path() + "iexplore.exe");

    const std::string browser = HomePageBrowser();
    ASSERT_FALSE(browser.empty()) << "no browser registered on this system";
    EXPECT_EQ(browser.find(planted.Path()), std::string::npos) << browser;
    EXPECT_NE(GetFileAttributesA(browser.c_str()), INVALID_FILE_ATTRIBUTES) << browser;
    std::string name = browser.substr(browser.find_last_of('\\') + 1);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(name, "iexplore.exe") << browser;
    EXPECT_EQ(browser.substr(1, 2), ":\\") << browser;
}
