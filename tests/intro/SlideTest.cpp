#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/Blit.h"
#include "core/ByteWriter.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "intro/Slide.h"

namespace {

struct Canvas {
    std::vector<uint8_t> px = std::vector<uint8_t>(800 * 600, 0);
    BlitTarget Target() { return ScreenTarget(px.data()); }
    int Painted() const
    {
        int n = 0;
        for (uint8_t p : px)
            n += p != 0;
        return n;
    }
};

// A frame with every pixel solid.
SpriteFrameDef SolidFrame(uint32_t w, uint32_t h, uint8_t colour, int anchorX)
{
    PixelMatrix m(w, h, colour);
    SpriteFrameDef f = CSpriteWriter::Frame(CRleEncoder::Encode(m), 0);
    f.points[0] = {anchorX, 0};
    return f;
}

class SlideFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetBlitContexts();
        SetSpriteClipRect(0, 0, 800, 600);
    }
    void TearDown() override { ResetBlitContexts(); }
};

TEST_F(SlideFile, LoadsFramesRectanglesAnchorsAndWidths)
{
    const Bytes file = CSpriteWriter::SlrFile({SolidFrame(4, 3, 7, 2), SolidFrame(6, 5, 9, 0)});
    CSlide s;
    ASSERT_EQ(s.Load(file.data(), file.size()), 0);
    EXPECT_EQ(s.GetFrameCount(), 2u);
    EXPECT_EQ(s.GetFrameWidth(0), 4u);
    EXPECT_EQ(s.GetFrameWidth(1), 6u);
    EXPECT_EQ(s.GetFrameWidth(2), 0u);
    EXPECT_EQ(s.GetAnchor(0, 0).x, 2);
    // Width and height are those of the last record.
    EXPECT_EQ(s.GetWidth(), 6);
    EXPECT_EQ(s.GetHeight(), 5);
}

TEST_F(SlideFile, DrawsAtTheFirstAnchorAndSkipsFramesOutOfRange)
{
    const Bytes file = CSpriteWriter::SlrFile({SolidFrame(4, 3, 7, 2)});
    CSlide s;
    ASSERT_EQ(s.Load(file.data(), file.size()), 0);
    Canvas c;
    s.Draw(0, 100, 50, c.Target());
    EXPECT_EQ(c.px[50 * 800 + 98], 7);
    EXPECT_EQ(c.px[50 * 800 + 97], 0);
    EXPECT_EQ(c.px[52 * 800 + 101], 7);
    EXPECT_EQ(c.px[52 * 800 + 102], 0);
    Canvas d;
    s.Draw(1, 100, 50, d.Target());
    s.Draw(-1, 100, 50, d.Target());
    s.DrawMapped(5, 100, 50, d.Target(), std::vector<uint8_t>(65536, 1).data());
    EXPECT_EQ(d.Painted(), 0);
    // An anchor out of all reason puts the frame off screen instead of overflowing.
    for (int anchor : {INT32_MIN, INT32_MAX}) {
        const Bytes far = CSpriteWriter::SlrFile({SolidFrame(4, 3, 7, anchor)});
        ASSERT_EQ(s.Load(far.data(), far.size()), 0);
        s.Draw(0, 400, 50, d.Target());
        s.DrawMapped(0, -400, 50, d.Target(), std::vector<uint8_t>(65536, 1).data());
    }
    EXPECT_EQ(d.Painted(), 0);
}

TEST_F(SlideFile, RemappedAndBlendedDrawsGoThroughTheirTables)
{
    const Bytes file = CSpriteWriter::SlrFile({SolidFrame(2, 1, 7, 0)});
    CSlide s;
    ASSERT_EQ(s.Load(file.data(), file.size()), 0);
    s.ColourTable()[7] = 42;
    Canvas c;
    s.Draw(0, 0, 0, c.Target(), true);
    EXPECT_EQ(c.px[0], 42);
    std::vector<uint8_t> table(65536, 0);
    table[7 * 256 + 0] = 99;
    s.DrawMapped(0, 10, 0, c.Target(), table.data());
    EXPECT_EQ(c.px[10], 99);
}

TEST_F(SlideFile, EveryTruncationIsRefused)
{
    const Bytes file = CSpriteWriter::SlrFile({SolidFrame(4, 3, 7, 2), SolidFrame(6, 5, 9, 0)});
    for (size_t n = 0; n < file.size(); ++n) {
        // Exactly sized copies, so a read past the end shows under ASan.
        std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<long>(n));
        CSlide s;
        EXPECT_EQ(s.Load(cut.data(), cut.size()), -1) << n;
        EXPECT_EQ(s.GetFrameCount(), 0u);
    }
}

TEST_F(SlideFile, LyingCountsAndSizesAreRefused)
{
    const Bytes good = CSpriteWriter::SlrFile({SolidFrame(4, 3, 7, 2)});
    CSlide s;
    // A frame count far beyond what the bytes hold.
    Bytes hugeCount = good;
    hugeCount[40] = 0xFF, hugeCount[41] = 0xFF, hugeCount[42] = 0xFF, hugeCount[43] = 0x7F;
    EXPECT_EQ(s.Load(hugeCount.data(), hugeCount.size()), -1);
    // Two frames announced, one present.
    Bytes twoCount = good;
    twoCount[40] = 2;
    EXPECT_EQ(s.Load(twoCount.data(), twoCount.size()), -1);
    // The frame's data size runs past the end, or is too small for a header.
    const size_t sizeAt = 52 + 64 + 32 + 8;
    for (uint32_t lie : {0xFFFFFFF0u, 0u, 3u, 7u}) {
        Bytes bad = good;
        bad[sizeAt] = static_cast<uint8_t>(lie);
        bad[sizeAt + 1] = static_cast<uint8_t>(lie >> 8);
        bad[sizeAt + 2] = static_cast<uint8_t>(lie >> 16);
        bad[sizeAt + 3] = static_cast<uint8_t>(lie >> 24);
        EXPECT_EQ(s.Load(bad.data(), bad.size()), -1) << lie;
        EXPECT_EQ(s.GetFrameCount(), 0u);
    }
    // A failed load leaves a slide that draws nothing.
    Canvas c;
    s.Draw(0, 10, 10, c.Target());
    EXPECT_EQ(c.Painted(), 0);
}

TEST_F(SlideFile, FrameWhoseRowsLieDrawsOnlyInsideItsData)
{
    // The header claims 600 rows the data does not hold.
    CByteWriter w;
    w.U32(4).U32(600).U8(0).U8(2).U8(5).U8(5).U8(0);
    SpriteFrameDef f;
    f.rle = w.Buffer();
    f.width = 4;
    f.height = 600;
    const Bytes file = CSpriteWriter::SlrFile({f});
    CSlide s;
    ASSERT_EQ(s.Load(file.data(), file.size()), 0);
    Canvas c;
    s.Draw(0, 0, 0, c.Target());
    EXPECT_EQ(c.Painted(), 2);
}

TEST_F(SlideFile, LoadsFromTheArchiveAndFailsForAMissingEntry)
{
    CArchiveBuilder b;
    b.Add("Intro_name.slr", CIntroArchive::Slide(6, 40, 12, 3));
    CTestArchive archive(b);
    CSlide s;
    EXPECT_EQ(s.Load("data\\Intro_name.slr"), 0);
    EXPECT_EQ(s.GetFrameCount(), 6u);
    EXPECT_EQ(s.Load("data\\missing.slr"), -1);
    EXPECT_EQ(s.GetFrameCount(), 0u);
}

}  // namespace
