#include <gtest/gtest.h>

#include <vector>

#include "app/QuillonView.h"
#include "core/Display.h"
#include "core/PaletteManager.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/PalBuilder.h"
#include "support/Harness.h"

namespace {

std::vector<uint8_t> LoadingPicture()
{
    std::vector<uint8_t> p(800 * 600);
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = static_cast<uint8_t>(1 + i % 251);
    return p;
}

TEST(LoadingScreen, FirstFrameShowsThePictureInTheGamePalette)
{
    CHarness h;
    CArchiveBuilder b = CIntroArchive::Game();
    b.Add("loading.bin", LoadingPicture());
    CTestArchive archive(b, false);
    ASSERT_TRUE(h.Start());
    plat::CHeadlessVideo& video = h.Platform().video;
    ASSERT_TRUE(h.RunUntil([&] { return g_pView && g_pView->LoadingSteps().size() >= 10; }));
    EXPECT_EQ(g_pView->LoadingSteps(), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 101, 102}));
    EXPECT_TRUE(h.Boxes().empty());

    // Every step presented, in the game palette, index 0 as the palette
    // gives it (full screen).
    ASSERT_GE(video.presentHashes.size(), 10u);
    ASSERT_TRUE(g_pView->m_pDisplay->IsFullScreen());
    const PalRgb pal = TestPalette();
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(video.palette[i * 4 + 1], pal[i * 3 + 1]);
    EXPECT_NE(video.presentHashes[0], video.presentHashes[1]);  // same picture, its own progress text

    ASSERT_NE(g_pPalette, nullptr);
    EXPECT_EQ(g_pPalette->GetShownRgb(), pal);
}

TEST(LoadingScreen, PicturePixelsReachTheScreen)
{
    CHarness h;
    CArchiveBuilder b = CIntroArchive::Game();
    const std::vector<uint8_t> picture = LoadingPicture();
    b.Add("loading.bin", picture);
    CTestArchive archive(b, false);
    ASSERT_TRUE(h.Start());
    plat::CHeadlessVideo& video = h.Platform().video;
    ASSERT_TRUE(h.RunUntil([&] { return video.presents >= 1; }));
    const std::vector<uint8_t>& shown = video.lastPresent.pixels;
    ASSERT_EQ(shown.size(), picture.size());
    for (size_t i = 0; i < picture.size(); ++i) {
        const size_t row = i / 800;
        if (row >= 180 && row < 230)
            continue;  // the loading text's band
        ASSERT_EQ(shown[i], picture[i]) << "pixel " << i;
    }
}

TEST(LoadingScreen, MissingPaletteEndsTheProgram)
{
    CHarness h;
    CArchiveBuilder noPalette = CArchiveBuilder::StartUpTables();
    CTestArchive archive(noPalette, false);
    ASSERT_TRUE(h.Start());
    h.RunUntil([&] { return h.Quit(); }, 200);
    EXPECT_TRUE(h.Quit());
    ASSERT_FALSE(h.Boxes().empty());
    EXPECT_EQ(h.Boxes()[0].caption, "Error Msg");
    EXPECT_EQ(h.Loop().ExitCode(), -1);
}

}  // namespace
