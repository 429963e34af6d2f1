#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/Blit.h"
#include "core/TextLayer.h"
#include "fixtures/FontBuilder.h"
#include "support/Harness.h"

namespace {

// The character of the single-byte cell at (x, y), -1 when none.
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
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 100));
    ASSERT_NE(g_pTextLayer, nullptr);
    EXPECT_TRUE(h.Boxes().empty());
    EXPECT_FALSE(h.Quit());

    // The loading text, centred in the band from 0 to 800 at y 180.
    std::vector<uint8_t> screen(800 * 600, 0);
    g_pView->DrawLoadingText(screen.data(), 40);
    const std::string text = "Loading Tolmar Resource File. 40%";
    const int width = (static_cast<int>(text.size()) - 1) * 6 + 8;
    const int x = (800 - width) / 2;
    EXPECT_EQ(screen[180 * 800 + x - 1], 0);
    EXPECT_EQ(screen[180 * 800 + x], 15);
    // Every cell but the blanks has its bar, and the last cell is whole.
    for (size_t i = 0; i < text.size(); ++i)
        EXPECT_EQ(screen[180 * 800 + x + static_cast<int>(i) * 6 + 3], text[i] == ' ' ? 0 : 15) << i;
    EXPECT_EQ(AsciiAt(screen, x + static_cast<int>(text.size() - 1) * 6, 180, 15), '%');
    // No shadow, and the text layer's own settings are kept.
    EXPECT_EQ(screen[182 * 800 + x + 2], 0);
    EXPECT_EQ(g_pTextLayer->GetStyle(), 1u);

    std::fill(screen.begin(), screen.end(), 0);
    g_pView->DrawLoadingText(screen.data(), 102);
    EXPECT_EQ(screen, std::vector<uint8_t>(800 * 600, 0));
    ResetBlitContexts();
}
