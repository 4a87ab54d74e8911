// Res.dll's splash pictures: the 96-DPI one and one drawn for every larger display scale.
#include "sidecars/SidecarTestSupport.h"
#include "dialogs/Artwork.h"
#include "toolkit/core/Scoped.h"
#include "toolkit/graphics/JpegImage.h"

#include <gtest/gtest.h>

TEST(ResourceLibrary, HoldsTheSplashOfEveryScaleAtItsSize)
{
    const ScopedLibrary library(LoadLibraryExA(BinPath("Res.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(library);
    for (int scale : kArtScales) {
        const std::string name = scale == 100 ? "ImgFlash" : "ImgFlash_" + std::to_string(scale);
        SCOPED_TRACE(name);
        TJPEGImage splash;
        splash.LoadFromResourceName(library.get(), name, "jpeg");
        // 400 x 250 at 96 DPI, rounded half up as the windows round.
        EXPECT_EQ(splash.Width(), (400 * scale + 50) / 100);
        EXPECT_EQ(splash.Height(), (250 * scale + 50) / 100);
    }
}
