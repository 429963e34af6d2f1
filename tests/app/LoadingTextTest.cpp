#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/QuillonView.h"
#include "core/Blit.h"
#include "core/TextLayer.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/PalBuilder.h"
#include "support/Harness.h"

namespace {

int AsciiAt(const std::vector<uint8_t>& bits, int x, int y, uint8_t colour)
{
    uint16_t rows[16];
    CFontBuilder::ReadCell(bits.data(), 800, x, y, 8, colour, rows);
    return CFontBuilder::DecodeAscii(rows);
}

}  // namespace

TEST(LoadingText, FirstFrameLoadsTheFontsAndDrawsTheProgressText)
{
    CHarness h{5000};
    ASSERT_TRUE(h.Start());
    plat::CHeadlessVideo& video = h.Platform().video;
    ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->LoadingSteps().size() >= 10; }, 100));
    ASSERT_NE(g_pTextLayer, nullptr);
    EXPECT_TRUE(h.Boxes().empty());
    EXPECT_FALSE(h.Quit());
    // Each step shows its own percentage on the same picture.
    ASSERT_GE(video.presentHashes.size(), 3u);
    EXPECT_NE(video.presentHashes[0], video.presentHashes[1]);

    // The line, centred in the band from 0 to 800 at y 180, without shadow.
    std::vector<uint8_t> screen(800 * 600, 0);
    const std::string text = "Loading Tolmar Resource File. 40%";
    DrawLoadingText(screen.data(), text.c_str());
    const int width = (static_cast<int>(text.size()) - 1) * 6 + 8;
    const int x = (800 - width) / 2;
    const uint8_t white = screen[180 * 800 + x];
    EXPECT_NE(white, 0);
    EXPECT_NE(white, 255);
    EXPECT_EQ(screen[180 * 800 + x - 1], 0);
    for (size_t i = 0; i < text.size(); ++i)  // every cell's bar but the blanks'
        EXPECT_EQ(screen[180 * 800 + x + static_cast<int>(i) * 6 + 3], text[i] == ' ' ? 0 : white) << i;
    EXPECT_EQ(AsciiAt(screen, x + static_cast<int>(text.size() - 1) * 6, 180, white), '%');
    EXPECT_EQ(screen[182 * 800 + x + 2], 0);
    EXPECT_EQ(g_pTextLayer->GetStyle(), 1u);  // the layer's own settings are kept
    EXPECT_EQ(g_pTextLayer->GetTextColor(), 15);
    ResetBlitContexts();
}

TEST(LoadingText, MissingFontEndsTheProgramWithAMessage)
{
    CHarness h;
    // What the first frame needs, with the single-byte font left out.
    CArchiveBuilder b = CArchiveBuilder::StartUpTables();
    b.Add("Tolmar.PAL", BuildPalFile(TestPalette()));
    b.Add("TransTable.tbl", Bytes(8 * 256 * 256, 0));
    b.Add("Shan.fnt", CFontBuilder::HangulFont());
    CTestArchive archive(b, false);
    ASSERT_TRUE(h.Start());
    h.RunUntil([&] { return h.Quit(); }, 200);
    EXPECT_TRUE(h.Quit());
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_NE(h.Boxes()[0].text.find("Seng.fnt"), std::string::npos);
    EXPECT_NE(h.Loop().ExitCode(), 0);
}
