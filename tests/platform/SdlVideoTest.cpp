// The SDL2 video service on SDL's dummy video driver: the display comes up,
// presents in both modes and goes away with the window.
#if defined(QUORVEL_HAVE_SDL)
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/Display.h"
#include "platform/Settings.h"
#include "platform/sdl/SdlPlatform.h"

namespace {

class SdlVideoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        platform = std::make_unique<plat::CSdlPlatform>();
        std::string error;
        ASSERT_TRUE(platform->Init(error)) << error;
        plat::SetSettings(&settings);  // not the user's settings file
        ASSERT_TRUE(platform->window.Create("Quorvel", 800, 600));
    }
    void TearDown() override { platform.reset(); }

    std::unique_ptr<plat::CSdlPlatform> platform;
    plat::CMemorySettings settings;
};

TEST_F(SdlVideoTest, DisplayPresentsWindowedAndFullScreen)
{
    for (int fullScreen : {0, 1}) {
        settings = plat::CMemorySettings{};
        DisplayParams p;
        p.fullScreen = fullScreen;
        auto display = std::make_unique<CDisplay>(p);
        ASSERT_TRUE(display->Ok()) << "full screen " << fullScreen;
        EXPECT_EQ(display->IsFullScreen(), fullScreen != 0);
        EXPECT_EQ(display->GetDesktopDepth(), fullScreen ? 8 : 32);
        uint8_t entries[1024];
        for (int i = 0; i < 1024; ++i)
            entries[i] = static_cast<uint8_t>(i);
        display->SetPaletteEntries(entries);
        const uint64_t before = platform->video.Presents();
        for (int frame = 0; frame < 3; ++frame) {
            ASSERT_EQ(display->Lock(), 0);
            std::memset(display->GetBits(), frame, 800 * 600);
            EXPECT_EQ(display->Draw(), 1);
        }
        EXPECT_EQ(platform->video.Presents(), before + 3);
    }
}

TEST_F(SdlVideoTest, WindowPlacementFollowsTheSavedRectangle)
{
    settings.CreateKey("Software\\Brennix\\Quorvel");
    for (auto [name, v] : {std::pair<const char*, uint32_t>{"Window_Position_FS", 0},
                           {"Window_Position_LEFT", 10},
                           {"Window_Position_TOP", 20},
                           {"Window_Position_RIGHT", 809},
                           {"Window_Position_BOTTOM", 619}})
        settings.SetDword("Software\\Brennix\\Quorvel", name, v);
    DisplayParams p;
    CDisplay display(p);
    ASSERT_TRUE(display.Ok());
    EXPECT_FALSE(display.IsFullScreen());
    plat::Rect r = platform->video.GetWindowRect();
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 600);
}

}  // namespace
#endif
