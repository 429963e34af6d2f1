// The SDL2 video service on SDL's dummy video driver: the display comes up,
// presents in both modes and goes away with the window; what was done on the
// window while a box was up is not the game's input.
#if defined(QUORVEL_HAVE_SDL)
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/Display.h"
#include "platform/Dialogs.h"
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
        // The cursor clip of full screen lands on the scaled picture.
        plat::Rect w;
        EXPECT_EQ(platform->video.LogicalToWindow(plat::Rect{0, 0, 800, 600}, w), fullScreen != 0);
        if (fullScreen) {
            int ww = 0, wh = 0;
            platform->window.GetDesktopSize(ww, wh);
            EXPECT_GT(w.right - w.left, 0);
            EXPECT_LE(w.right, ww);
            EXPECT_LE(w.bottom, wh);
        }
        display.reset();
        if (fullScreen) {
            // The window under the full-screen flag covers the desktop itself:
            // without a window manager that is all there is to see.
            SDL_Rect bounds;
            ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
            int ww = 0, wh = 0;
            SDL_GetWindowSize(platform->window.Handle(), &ww, &wh);
            EXPECT_EQ(ww, bounds.w);
            EXPECT_EQ(wh, bounds.h);
            const plat::Rect r = platform->video.GetWindowRect();
            EXPECT_EQ(r.left, bounds.x);
            EXPECT_EQ(r.top, bounds.y);
        }
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

TEST_F(SdlVideoTest, PressesOnTheWindowWhileABoxWasUpNeverReachTheGame)
{
    // No desktop: SDL's box fails at once, as it does for a dummy window.
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    ::unsetenv("DISPLAY");
    const uint32_t window = SDL_GetWindowID(platform->window.Handle());
    auto push = [&](uint32_t type) {
        SDL_Event ev{};
        ev.type = type;
        if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
            ev.key.windowID = window;
            ev.key.keysym.scancode = SDL_SCANCODE_A;
        } else if (type == SDL_MOUSEMOTION) {
            ev.motion.windowID = window;
        } else {
            ev.button.windowID = window;
            ev.button.button = SDL_BUTTON_LEFT;
        }
        ASSERT_EQ(SDL_PushEvent(&ev), 1);
    };
    std::vector<plat::RawEvent> events;
    platform->PollInput(events);
    for (uint32_t type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_KEYDOWN, SDL_KEYUP})
        push(type);
    plat::MessageBox("", "box");
    if (display)
        ::setenv("DISPLAY", saved.c_str(), 1);
    events.clear();
    platform->PollInput(events);
    // The releases stay, so nothing the game saw pressed stays down.
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, plat::RawKind::ButtonUp);
    EXPECT_EQ(events[1].kind, plat::RawKind::KeyUp);
    EXPECT_EQ(events[1].scan, 30);
}

}  // namespace
#endif
