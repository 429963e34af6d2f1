#include <gtest/gtest.h>

#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/TileSet.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "intro/IntroLayer.h"
#include "support/Harness.h"

namespace {

// A cursor set of six 8 x 8 frames (the scenes use frames 1 and 5).
std::vector<uint8_t> CursorFile()
{
    std::vector<TileDef> tiles;
    for (uint32_t i = 0; i < 6; ++i)
        tiles.push_back(TileDef{0, CRleEncoder::Encode(CRleEncoder::Pattern(8, 8, 70 + i))});
    return CSpriteWriter::TileFile("cursor", tiles);
}

// The mouse cursor comes from "data\cursor.tle", loaded with the palette at
// the first frame, and the login scene draws it at the mouse.
TEST(MouseCursor, LoadedAtTheFirstFrameAndDrawnAtTheMouse)
{
    CHarness h{5000};
    CArchiveBuilder b = CIntroArchive::Game(800, 600, "cursor.tle");
    b.Add("cursor.tle", CursorFile());
    CTestArchive archive(b, false);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 1000));
    ASSERT_NE(g_cursorTileSet.GetFrame(5), nullptr);

    h.MouseMove(300, 300);
    const uint32_t n = g_gameFrameCount;
    ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount > n; }, 1000));
    const std::vector<uint8_t>& shown = h.Platform().video.lastPresent.pixels;
    const std::vector<uint8_t>& back = g_pView->m_pIntroLayer->Background();
    ASSERT_EQ(shown.size(), back.size());
    int differing = 0;
    for (int y = 300; y < 308; ++y)
        for (int x = 300; x < 308; ++x)
            differing += shown[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)] !=
                         back[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)];
    EXPECT_GT(differing, 0);
    // Away from the cursor the screen is the background.
    EXPECT_EQ(shown[500 * 800 + 100], back[500 * 800 + 100]);
}

TEST(MouseCursor, MissingCursorFileIsNoError)
{
    CHarness h{5000};
    CTestArchive archive(CIntroArchive::Game(800, 600, "cursor.tle"), false);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 1000));
    EXPECT_EQ(g_cursorTileSet.GetFrame(0), nullptr);
    EXPECT_TRUE(h.Boxes().empty());
    EXPECT_FALSE(h.Quit());
}

}  // namespace
