#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/Display.h"
#include "core/ResFile.h"
#include "core/SlrList.h"
#include "core/TextLayer.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "platform/Dialogs.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

std::vector<SpriteFrameDef> MixedFrames()
{
    // Frames of different sizes; the last is the smallest, so a decode with
    // the list's (last) size would be wrong for the others.
    return {CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(40, 30, 1)), 1),
            CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(13, 50, 2)), 2),
            CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(5, 4, 3)), 3)};
}

PixelMatrix Expand(const std::vector<uint8_t>& rle)
{
    PixelMatrix m;
    EXPECT_TRUE(CRleEncoder::Decode(rle, m, 0));
    return m;
}

std::vector<uint8_t> Decoded(const PixelMatrix& m)
{
    std::vector<uint8_t> out(8 + m.pixels.size());
    for (int i = 0; i < 4; ++i) {
        out[static_cast<size_t>(i)] = static_cast<uint8_t>(m.width >> (8 * i));
        out[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(m.height >> (8 * i));
    }
    std::memcpy(out.data() + 8, m.pixels.data(), m.pixels.size());
    return out;
}

CSlrList Loaded(const std::vector<SpriteFrameDef>& frames)
{
    CSlrList list;
    const auto file = CSpriteWriter::SlrFile(frames);
    EXPECT_EQ(list.LoadFromMemory(file.data(), file.size()), 0);
    return list;
}

// Records message boxes for the life of the object.
struct BoxRecorder {
    plat::CRecordingDialogs dialogs;
    BoxRecorder() { plat::SetDialogs(&dialogs); }
    ~BoxRecorder() { plat::SetDialogs(nullptr); }
};

}  // namespace

TEST(SlrList, LoadsFramesRectsAndAnchors)
{
    const auto frames = MixedFrames();
    CSlrList list = Loaded(frames);
    EXPECT_TRUE(list.IsLoaded());
    EXPECT_TRUE(list.IsRle());
    ASSERT_EQ(list.GetFrameCount(), 3);
    EXPECT_EQ(list.GetWidth(), 5);  // the last record's
    EXPECT_EQ(list.GetHeight(), 4);
    for (int i = 0; i < 3; ++i) {
        const auto& def = frames[static_cast<size_t>(i)];
        ASSERT_EQ(list.GetFrameSize(i), def.rle.size());
        EXPECT_EQ(0, std::memcmp(list.GetFrame(i), def.rle.data(), def.rle.size()));
        EXPECT_EQ(list.GetAnchor(i, 3), def.points[3]);
        EXPECT_EQ(*list.GetRect(i, 1), def.rects[1]);
    }
    EXPECT_EQ(list.GetFrame(3), nullptr);
    EXPECT_EQ(list.GetFrame(-1), nullptr);
    EXPECT_EQ(list.GetAnchor(3, 0), (RlePoint{}));
    EXPECT_EQ(list.GetAnchor(0, 4), (RlePoint{}));
    EXPECT_EQ(list.GetRect(0, 4), nullptr);

    // No frames still counts as a loaded list.
    CSlrList empty = Loaded({});
    EXPECT_TRUE(empty.IsLoaded());
    EXPECT_EQ(empty.GetFrameCount(), 0);
}

TEST(SlrList, DecodeUsesEachFramesOwnSize)
{
    const auto frames = MixedFrames();
    CSlrList list = Loaded(frames);
    list.Decode();
    EXPECT_FALSE(list.IsRle());
    for (int i = 0; i < 3; ++i) {
        const PixelMatrix m = Expand(frames[static_cast<size_t>(i)].rle);
        const auto want = Decoded(m);
        ASSERT_EQ(list.GetFrameSize(i), m.width * m.height + 8u);
        EXPECT_EQ(std::vector<uint8_t>(list.GetFrame(i), list.GetFrame(i) + list.GetFrameSize(i)), want);
    }
}

TEST(SlrList, RleAndDecodedDrawsMatchTheReference)
{
    const auto frames = MixedFrames();
    CSlrList rle = Loaded(frames);
    CSlrList dec = Loaded(frames);
    dec.Decode();
    SetSpriteClipRect(0, 0, 800, 600);
    for (auto [x, y] : {std::pair<int, int>{10, 20}, {-7, -3}, {790, 590}}) {
        for (int i = 0; i < 3; ++i) {
            const PixelMatrix m = Expand(frames[static_cast<size_t>(i)].rle);
            std::vector<uint8_t> a(800 * 600, 200), b(800 * 600, 200);
            rle.Draw(i, x, y, ScreenTarget(a.data()));
            dec.Draw(i, x, y, ScreenTarget(b.data()));
            for (uint32_t fy = 0; fy < m.height; ++fy) {
                for (uint32_t fx = 0; fx < m.width; ++fx) {
                    const int sx = x + static_cast<int>(fx), sy = y + static_cast<int>(fy);
                    if (sx < 0 || sy < 0 || sx >= 800 || sy >= 600)
                        continue;
                    const size_t at = static_cast<size_t>(sy) * 800 + sx;
                    const uint8_t px = m.At(fx, fy);
                    // Transparent: RLE leaves the screen, decoded writes 0.
                    ASSERT_EQ(a[at], px == 0 ? 200 : px);
                    ASSERT_EQ(b[at], px);
                }
            }
        }
    }
    // Remapped draws use the colour table on RLE lists and draw nothing decoded.
    std::memset(rle.GetColorTable(), 77, 256);
    std::memset(dec.GetColorTable(), 77, 256);
    std::vector<uint8_t> a(800 * 600, 1), b(800 * 600, 1);
    rle.Draw(2, 0, 0, ScreenTarget(a.data()), 1);
    dec.Draw(2, 0, 0, ScreenTarget(b.data()), 1);
    EXPECT_NE(std::count(a.begin(), a.end(), 77), 0);
    EXPECT_EQ(std::count(b.begin(), b.end(), 1), 800 * 600);
    // Out-of-range frames draw nothing.
    rle.Draw(3, 0, 0, ScreenTarget(b.data()));
    rle.Draw(-1, 0, 0, ScreenTarget(b.data()));
    EXPECT_EQ(std::count(b.begin(), b.end(), 1), 800 * 600);
    ResetBlitContexts();
}

TEST(SlrList, HitTestIsStrictlyInside)
{
    SpriteFrameDef f = CSpriteWriter::Frame(CRleEncoder::Encode(PixelMatrix(4, 4, 1)));
    f.rects = {RleRect{10, 20, 30, 40}, RleRect{}, RleRect{}, RleRect{100, 100, 103, 103}};
    CSlrList list = Loaded({f});
    EXPECT_EQ(list.HitTest(0, 10, 30), 0);
    EXPECT_EQ(list.HitTest(0, 11, 30), 1);
    EXPECT_EQ(list.HitTest(0, 29, 39), 1);
    EXPECT_EQ(list.HitTest(0, 30, 30), 0);
    EXPECT_EQ(list.HitTest(0, 20, 20), 0);
    EXPECT_EQ(list.HitTest(0, 20, 21), 1);
    EXPECT_EQ(list.HitTest(0, 20, 40), 0);
    EXPECT_EQ(list.HitTest(0, 101, 102), 1);  // the fourth rectangle counts
    EXPECT_EQ(list.HitTest(0, 0, 0), 0);      // empty rectangles hit nothing
    EXPECT_EQ(list.HitTest(1, 20, 30), 0);
    EXPECT_EQ(list.HitTest(-1, 20, 30), 0);

    list.ResetRects();
    EXPECT_EQ(*list.GetRect(0, 0), (RleRect{0, 0, 4, 4}));
    EXPECT_EQ(list.HitTest(0, 1, 1), 1);

    CSlrList one;
    const auto data = CRleEncoder::Encode(PixelMatrix(4, 4, 1));
    ASSERT_EQ(one.CreateFromBuffer(data.data(), data.size()), 0);
    EXPECT_EQ(one.HitTest(0, 1, 1), 0);
}

TEST(SlrList, CreateCroppedRoundsWidthAndPadsOutsideTheSource)
{
    PixelMatrix m(20, 10, 0);
    for (uint32_t y = 0; y < 10; ++y)
        for (uint32_t x = 0; x < 20; ++x)
            m.At(x, y) = static_cast<uint8_t>(1 + y * 20 + x);
    CSlrList src = Loaded({CSpriteWriter::Frame(CRleEncoder::Encode(m))});

    CSlrList none;
    none.CreateCropped(src, 0, 0, 13, 5);  // from an RLE source: nothing
    EXPECT_FALSE(none.IsLoaded());

    src.Decode();
    std::memset(src.GetColorTable(), 9, 256);
    for (auto [x, y] : {std::pair<int, int>{2, 3}, {15, 8}, {-3, -2}, {18, 9}, {40, 40}}) {
        CSlrList crop;
        crop.CreateCropped(src, x, y, 13, 5);
        ASSERT_TRUE(crop.IsLoaded());
        EXPECT_FALSE(crop.IsRle());
        EXPECT_EQ(crop.GetWidth(), 16);
        EXPECT_EQ(crop.GetHeight(), 5);
        EXPECT_EQ(crop.GetColorTable()[5], 9);
        ASSERT_EQ(crop.GetFrameSize(0), 16u * 5 + 8);
        const uint8_t* p = crop.GetFrame(0);
        EXPECT_EQ(p[0], 16);
        EXPECT_EQ(p[4], 5);
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 16; ++c) {
                const int sx = x + c, sy = y + r;
                const uint8_t want = (sx >= 0 && sx < 20 && sy >= 0 && sy < 10) ? m.At(sx, sy) : 0;
                ASSERT_EQ(p[8 + r * 16 + c], want) << x << "," << y << " " << c << "," << r;
            }
        }
    }
    // Cropping a list into itself works from the old frames.
    src.CreateCropped(src, 1, 1, 4, 2);
    EXPECT_EQ(src.GetFrame(0)[8], m.At(1, 1));
}

TEST(SlrList, CopiesCarryFramesRectsAnchorsAndTable)
{
    const auto frames = MixedFrames();
    CSlrList rle = Loaded(frames);
    rle.GetColorTable()[3] = 42;
    CSlrList copy(rle);
    EXPECT_TRUE(copy.IsRle());
    ASSERT_EQ(copy.GetFrameCount(), 3);
    EXPECT_EQ(copy.GetAnchor(1, 2), frames[1].points[2]);
    EXPECT_EQ(copy.GetColorTable()[3], 42);
    EXPECT_NE(copy.GetFrame(0), rle.GetFrame(0));
    EXPECT_EQ(0, std::memcmp(copy.GetFrame(0), rle.GetFrame(0), rle.GetFrameSize(0)));

    CSlrList dec = Loaded(frames);
    dec.Decode();
    dec.GetColorTable()[3] = 43;

    // RLE into decoded and decoded into RLE copy nothing.
    CSlrList target = Loaded(frames);
    target.Decode();
    std::vector<uint8_t> before(target.GetFrame(1), target.GetFrame(1) + target.GetFrameSize(1));
    target.GetFrame(1)[8] ^= 0xFF;
    const uint8_t changed = target.GetFrame(1)[8];
    target.CopyFrom(rle);
    EXPECT_EQ(target.GetFrame(1)[8], changed);
    CSlrList rleTarget = Loaded(frames);
    rleTarget.CopyFrom(dec);
    EXPECT_TRUE(rleTarget.IsRle());
    EXPECT_EQ(rleTarget.GetColorTable()[3], 0);
    // Decoded into decoded copies pixels and the table.
    target.CopyFrom(dec);
    EXPECT_EQ(std::vector<uint8_t>(target.GetFrame(1), target.GetFrame(1) + target.GetFrameSize(1)), before);
    EXPECT_EQ(target.GetColorTable()[3], 43);

    // An empty list gets frames of the other's sizes, then the copy.
    CSlrList fresh;
    fresh.CopyFrom(dec);
    ASSERT_EQ(fresh.GetFrameCount(), 3);
    EXPECT_EQ(fresh.GetFrameSize(2), dec.GetFrameSize(2));
    EXPECT_EQ(0, std::memcmp(fresh.GetFrame(2), dec.GetFrame(2), dec.GetFrameSize(2)));
    EXPECT_EQ(fresh.GetAnchor(2, 1), frames[2].points[1]);
    CSlrList freshFromRle;
    freshFromRle.CopyFrom(rle);
    ASSERT_EQ(freshFromRle.GetFrameCount(), 3);
    EXPECT_EQ(freshFromRle.GetFrame(0)[8], 0);  // allocated, nothing copied
    SetSpriteClipRect(0, 0, 800, 600);
    std::vector<uint8_t> screen(800 * 600, 5);
    freshFromRle.Draw(0, 0, 0, ScreenTarget(screen.data()));
    EXPECT_EQ(std::count(screen.begin(), screen.end(), 5), 800 * 600);
    ResetBlitContexts();
}

TEST(SlrList, TextTargetNeedsADecodedFrame)
{
    CDisplay* display = nullptr;
    CTextLayer text(display);
    g_pTextLayer = &text;
    CSlrList list = Loaded(MixedFrames());
    list.SetAsTextTarget(1);
    EXPECT_EQ(text.GetTarget(), nullptr);
    list.Decode();
    list.SetAsTextTarget(1);
    EXPECT_EQ(text.GetTarget(), list.GetFrame(1) + 8);
    EXPECT_EQ(text.GetTargetWidth(), 13);
    EXPECT_EQ(text.GetTargetHeight(), 50);
    EXPECT_EQ(text.GetStyle(), 0u);
    g_pTextLayer = nullptr;
}

TEST(SlrList, MalformedFilesAreRefusedWhole)
{
    const auto file = CSpriteWriter::SlrFile(MixedFrames());
    for (size_t cut = 0; cut < file.size(); ++cut) {
        CSlrList list;
        ASSERT_EQ(list.LoadFromMemory(file.data(), cut), -1) << cut;
        ASSERT_FALSE(list.IsLoaded());
    }
    auto bad = file;
    bad[40] = bad[41] = bad[42] = bad[43] = 0xFF;  // frame count
    CSlrList list;
    EXPECT_EQ(list.LoadFromMemory(bad.data(), bad.size()), -1);
    bad = file;
    bad[52 + 104] = 0xFF;  // the first frame's data size
    EXPECT_EQ(list.LoadFromMemory(bad.data(), bad.size()), -1);
    bad = file;
    bad[52 + 108 + 8] = 40;  // a first skip that reaches the width (40)
    EXPECT_EQ(list.LoadFromMemory(bad.data(), bad.size()), -1);
    EXPECT_FALSE(list.IsLoaded());

    // A reload that fails leaves the list unloaded, not the old frames.
    ASSERT_EQ(list.LoadFromMemory(file.data(), file.size()), 0);
    EXPECT_EQ(list.LoadFromMemory(bad.data(), bad.size()), -1);
    EXPECT_FALSE(list.IsLoaded());
    EXPECT_EQ(list.GetFrameCount(), 0);

    const std::vector<uint8_t> junk = {1, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 2, 0};
    EXPECT_EQ(list.CreateFromBuffer(junk.data(), junk.size()), -1);
    EXPECT_FALSE(list.IsLoaded());
}

TEST(SlrList, LoadsFromTheArchiveAndTheNestedArchive)
{
    const auto frames = MixedFrames();
    CArchiveBuilder b;
    b.Add("face.slr", CSpriteWriter::SlrFile(frames));
    b.Nested().Add("potion01.bin", CSpriteWriter::SlrFile({frames[2]}));
    CTestArchive archive(b);
    std::strcpy(g_bindNames[1], "potion01.bin");
    BoxRecorder boxes;

    CSlrList list;
    ASSERT_EQ(list.Load("data\\face.slr"), 0);
    EXPECT_EQ(list.GetFrameCount(), 3);
    ASSERT_EQ(list.Load("potion01.bin"), 0);
    EXPECT_EQ(list.GetFrameCount(), 1);
    EXPECT_EQ(0, std::memcmp(list.GetFrame(0), frames[2].rle.data(), frames[2].rle.size()));
    EXPECT_TRUE(boxes.dialogs.boxes.empty());

    EXPECT_EQ(list.Load("data\\missing.slr"), -1);
    EXPECT_FALSE(list.IsLoaded());
    ASSERT_EQ(boxes.dialogs.boxes.size(), 1u);
    EXPECT_EQ(boxes.dialogs.boxes[0].caption, "Error~");
    EXPECT_EQ(boxes.dialogs.boxes[0].text, "Data file not found!");

    std::strcpy(g_bindNames[2], "potion02.bin");
    EXPECT_EQ(list.Load("potion02.bin"), -1);
    ASSERT_EQ(boxes.dialogs.boxes.size(), 2u);
    EXPECT_EQ(boxes.dialogs.boxes[1].text, "Bind Data file not found!");
    std::memset(g_bindNames, 0, sizeof(g_bindNames));
}

TEST(SlrList, BoundNameWithoutNestedArchiveGivesAMessage)
{
    CArchiveBuilder b;
    b.Add("face.slr", CSpriteWriter::SlrFile(MixedFrames())).NoNested();
    CTestArchive archive(b, false);
    ASSERT_EQ(ResOpenArchive(), 0);
    std::strcpy(g_bindNames[0], "item.obr");
    BoxRecorder boxes;
    CSlrList list;
    EXPECT_EQ(list.Load("item.obr"), -1);
    EXPECT_FALSE(list.IsLoaded());
    ASSERT_EQ(boxes.dialogs.boxes.size(), 1u);
    EXPECT_EQ(boxes.dialogs.boxes[0].text, "Bind Data file not found!");
    std::memset(g_bindNames, 0, sizeof(g_bindNames));
}

TEST(SlrList, CheckFrameFindsTheFirstKeyColour)
{
    PixelMatrix m(6, 3, 255);
    m.At(1, 0) = 5;
    m.At(4, 1) = 0;
    m.At(2, 2) = 0;
    CSlrList list = Loaded({CSpriteWriter::Frame(CRleEncoder::Encode(m, 254))});
    RlePoint p;
    ASSERT_EQ(list.CheckFrame(0, &p), 1);
    EXPECT_EQ(p, (RlePoint{0, 0}));  // 255 is stored here, the key is 254
    CSlrList clean = Loaded({CSpriteWriter::Frame(CRleEncoder::Encode(PixelMatrix(3, 3, 7)))});
    EXPECT_EQ(clean.CheckFrame(0, &p), 0);
    PixelMatrix z(6, 3, 255);
    z.At(4, 1) = 0;
    CSlrList zero = Loaded({CSpriteWriter::Frame(CRleEncoder::Encode(z))});
    ASSERT_EQ(zero.CheckFrame(0, &p), 1);
    EXPECT_EQ(p, (RlePoint{4, 1}));
}
