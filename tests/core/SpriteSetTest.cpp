#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "core/EffectSpriteSet.h"
#include "core/FrameShadowImage.h"
#include "core/ItemSpriteSet.h"
#include "core/ResFile.h"
#include "core/SprSpriteSet.h"
#include "core/TileImage.h"
#include "core/TileSet.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"

namespace {

std::vector<uint8_t> Rle(uint32_t w, uint32_t h, uint32_t seed)
{
    return CRleEncoder::Encode(CRleEncoder::Pattern(w, h, seed));
}

std::vector<uint8_t> LevelRle(uint32_t w, uint32_t h, uint32_t seed)
{
    return CRleEncoder::Encode(CRleEncoder::Pattern(w, h, seed, true));
}

std::vector<uint8_t> FrameData(const CRleImage* image)
{
    return image ? std::vector<uint8_t>(image->GetData(), image->GetData() + image->GetDataSize())
                 : std::vector<uint8_t>{};
}

int ReadAt(CSpriteSet& set, const std::vector<uint8_t>& bytes, size_t start = 0)
{
    CByteReader r(bytes.data(), bytes.size());
    r.Skip(start);
    return set.Read(r);
}

std::vector<AnimDef> TwoAnimations()
{
    return {
        {"WALK_0", 3, {{1, 10, -20, "step"}, {0, 11, -21, ""}}},
        {"ATTACK_2", 0, {{2, -5, 7, "swing"}}},
    };
}

std::vector<SpriteFrameDef> ThreeFrames()
{
    return {CSpriteWriter::Frame(Rle(10, 12, 1), 1), CSpriteWriter::Frame(Rle(3, 5, 2), 2),
            CSpriteWriter::Frame(Rle(64, 96, 3), 3)};
}

// Every cut of a file loads as a refusal, the whole file as a success.
void SweepTruncations(const std::vector<uint8_t>& file, size_t start,
                      const std::function<CSpriteSet*()>& make)
{
    for (size_t cut = start; cut < file.size(); ++cut) {
        std::vector<uint8_t> part(file.begin(), file.begin() + static_cast<long>(cut));
        std::unique_ptr<CSpriteSet> set(make());
        ASSERT_EQ(ReadAt(*set, part, start), -1) << "cut at " << cut;
        EXPECT_EQ(set->GetFrameCount(), 0);
    }
    std::unique_ptr<CSpriteSet> set(make());
    EXPECT_EQ(ReadAt(*set, file, start), 0);
}

void PatchU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

TEST(RleFrameCheck, AcceptsEncodedFramesAndRefusesBrokenOnes)
{
    const auto good = Rle(40, 30, 7);
    EXPECT_TRUE(RleFrameValid(good.data(), good.size(), 1));
    EXPECT_TRUE(RleFrameValid(LevelRle(9, 9, 1).data(), LevelRle(9, 9, 1).size(), 2));

    // A run ending one past the width.
    auto wide = CRleEncoder::Encode(PixelMatrix(4, 1, 9));
    EXPECT_TRUE(RleFrameValid(wide.data(), wide.size(), 1));
    wide[8] = 1;  // skip 1 + count 4 > 4
    EXPECT_FALSE(RleFrameValid(wide.data(), wide.size(), 1));

    // A level above 7.
    PixelMatrix lv(2, 1, 5);
    lv.levels = {7, 8};
    auto levels = CRleEncoder::Encode(lv);
    EXPECT_FALSE(RleFrameValid(levels.data(), levels.size(), 2));
    lv.levels = {7, 0};
    levels = CRleEncoder::Encode(lv);
    EXPECT_TRUE(RleFrameValid(levels.data(), levels.size(), 2));

    // Sides above the limit, and more rows than the data can hold.
    std::vector<uint8_t> huge = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(RleFrameValid(huge.data(), huge.size(), 1));
    std::vector<uint8_t> rows = {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(RleFrameValid(rows.data(), rows.size(), 1));

    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(RleFrameValid(good.data(), cut, 1)) << cut;
}

TEST(SpriteName, BoundedCaseInsensitiveCompare)
{
    char slot[32];
    std::memset(slot, 'A', sizeof(slot));  // no NUL in the slot
    std::string name(32, 'a');
    EXPECT_TRUE(SpriteNameEquals(slot, name.c_str()));
    EXPECT_FALSE(SpriteNameEquals(slot, (name + "a").c_str()));
    EXPECT_FALSE(SpriteNameEquals(slot, name.substr(0, 31).c_str()));
    char walk[32] = "WALK_0";
    EXPECT_TRUE(SpriteNameEquals(walk, "walk_0"));
    EXPECT_FALSE(SpriteNameEquals(walk, "walk_"));
    EXPECT_FALSE(SpriteNameEquals(walk, "walk_01"));
}

TEST(TileSet, RoundTripFromMemoryAndArchive)
{
    std::vector<TileDef> tiles = {{1, Rle(64, 32, 1)}, {0, Rle(1, 1, 2)}, {7, Rle(0, 0, 3)}};
    const auto file = CSpriteWriter::TileFile("grass", tiles);

    CTileSet set;
    ASSERT_EQ(ReadAt(set, file, CTileSet::kFileHeader), 0);
    EXPECT_EQ(set.GetName(), "grass");
    EXPECT_EQ(set.GetKind(), CSpriteSet::kindTile);
    ASSERT_EQ(set.GetFrameCount(), 3);
    for (int i = 0; i < 3; ++i) {
        auto* tile = dynamic_cast<CTileImage*>(set.GetFrame(i));
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->GetFlag(), tiles[static_cast<size_t>(i)].flag);
        EXPECT_EQ(FrameData(tile), tiles[static_cast<size_t>(i)].rle);
    }
    EXPECT_EQ(set.GetFrame(-1), nullptr);
    EXPECT_EQ(set.GetFrame(3), nullptr);

    CArchiveBuilder b;
    b.Add("cursor.tle", file);
    CTestArchive archive(b);
    CTileSet loaded;
    ASSERT_EQ(loaded.Load("data\\cursor.tle"), 0);
    EXPECT_EQ(FrameData(loaded.GetFrame(0)), tiles[0].rle);
    EXPECT_EQ(loaded.Load("data\\missing.tle"), -1);
    EXPECT_EQ(loaded.GetFrameCount(), 0);
}

TEST(TileSet, ShortNameFailsAndSweepRefusesEveryCut)
{
    const auto file = CSpriteWriter::TileFile("t", {{1, Rle(8, 8, 1)}, {2, Rle(5, 3, 2)}});
    SweepTruncations(file, CTileSet::kFileHeader, [] { return new CTileSet; });

    auto bad = file;
    PatchU32(bad, CTileSet::kFileHeader + 32, 0xFFFFFFFF);
    CTileSet set;
    EXPECT_EQ(ReadAt(set, bad, CTileSet::kFileHeader), -1);
    bad = file;
    PatchU32(bad, CTileSet::kFileHeader + 36 + 1, 0xFFFFFFFF);  // first tile's data size
    EXPECT_EQ(ReadAt(set, bad, CTileSet::kFileHeader), -1);
}

TEST(AnimSpriteSet, SectionRoundTripKeepsFramesAndStepOrder)
{
    const auto frames = ThreeFrames();
    const auto file = CSpriteWriter::AnimSection("orc", frames, TwoAnimations());
    CAnimSpriteSet set;
    ASSERT_EQ(ReadAt(set, file), 0);
    EXPECT_EQ(set.GetName(), "orc");
    EXPECT_EQ(set.GetKind(), CSpriteSet::kindAnim);
    ASSERT_EQ(set.GetFrameCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto& def = frames[static_cast<size_t>(i)];
        CRleImage* f = set.GetFrame(i);
        EXPECT_EQ(FrameData(f), def.rle);
        EXPECT_EQ(f->GetHotSpot(), def.points[0]);
        EXPECT_EQ(f->GetSize(), (CSize{def.width, def.height}));
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(*f->GetRect(k), def.rects[static_cast<size_t>(k)]);
            EXPECT_EQ(*f->GetPoint(k), def.points[static_cast<size_t>(k)]);
        }
        EXPECT_EQ(f->GetRect(4), nullptr);
        EXPECT_EQ(f->GetPoint(-1), nullptr);
    }
    ASSERT_EQ(set.GetAnimCount(), 2);
    EXPECT_EQ(set.GetAnimLength(0), 2);
    EXPECT_EQ(set.GetAnimFlag(0), 3);
    const AnimStep* s = set.GetStep(0, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->frame, 1u);
    EXPECT_EQ(s->a, 10);
    EXPECT_EQ(s->b, -20);
    EXPECT_STREQ(s->name, "step");
    EXPECT_EQ(set.GetStep(0, 2), nullptr);
    EXPECT_EQ(set.GetStep(1, 0)->frame, 2u);

    EXPECT_EQ(set.FindAnimation("walk_0"), 0);
    EXPECT_EQ(set.FindAnimation("Attack_2"), 1);
    EXPECT_EQ(set.FindAnimation("RUN_0"), -1);
    EXPECT_EQ(set.GetAnimLength(-1), 0);
    EXPECT_EQ(set.GetAnimLength(2), 0);
    EXPECT_EQ(set.GetAnimFlag(-1), 0);
}

TEST(AnimSpriteSet, SelectedTableKeepsMissingAsNegativeAndCanBeReplaced)
{
    CAnimSpriteSet set;
    ASSERT_EQ(ReadAt(set, CSpriteWriter::AnimSection("orc", ThreeFrames(), TwoAnimations())), 0);
    char names[3][32] = {"ATTACK_2", "RUN_0", "WALK_0"};
    set.SetAnimation(names, 3);
    EXPECT_EQ(set.GetAnimIndex(0), 1);
    EXPECT_EQ(set.GetAnimIndex(1), -1);
    EXPECT_EQ(set.GetAnimIndex(2), 0);
    EXPECT_EQ(set.GetAnimIndex(3), 0);
    EXPECT_EQ(set.GetAnimLength(set.GetAnimIndex(1)), 0);

    char walk[1][32] = {"WALK_0"};
    set.SetAnimation(walk, 1);
    EXPECT_EQ(set.GetAnimIndex(0), 0);
    EXPECT_EQ(set.GetAnimIndex(1), 0);

    // A slot of 32 letters without a NUL matches nothing and reads nothing past it.
    char full[1][32];
    std::memset(full[0], 'W', 32);
    set.SetAnimation(full, 1);
    EXPECT_EQ(set.GetAnimIndex(0), -1);
}

TEST(AnimSpriteSet, StandAloneFileAndReadFromOpenEntry)
{
    const auto frames = ThreeFrames();
    const auto anims = TwoAnimations();
    auto section = CSpriteWriter::AnimSection("a", frames, anims);
    auto second = CSpriteWriter::AnimSection("b", {frames[1]}, {});
    std::vector<uint8_t> both = section;
    both.insert(both.end(), second.begin(), second.end());

    CArchiveBuilder b;
    b.Add("orc.ani", CSpriteWriter::AnimFile("orc", frames, anims)).Add("two.obr", both);
    CTestArchive archive(b);

    CAnimSpriteSet set;
    ASSERT_EQ(set.Load("orc.ani"), 0);
    EXPECT_EQ(set.GetName(), "orc");
    EXPECT_EQ(set.GetFrameCount(), 3);
    EXPECT_EQ(set.GetAnimLength(set.FindAnimation("WALK_0")), 2);

    CRFile file("two.obr", CRFile::modeReadWrite);
    CAnimSpriteSet a, c;
    ASSERT_EQ(a.Read(file), 0);
    ASSERT_EQ(c.Read(file), 0);
    EXPECT_EQ(a.GetName(), "a");
    EXPECT_EQ(c.GetName(), "b");
    EXPECT_EQ(FrameData(c.GetFrame(0)), frames[1].rle);
}

TEST(AnimSpriteSet, TruncationAndCorruptCountsAreRefused)
{
    const auto file = CSpriteWriter::AnimSection("orc", {CSpriteWriter::Frame(Rle(6, 4, 1))}, TwoAnimations());
    SweepTruncations(file, 0, [] { return new CAnimSpriteSet; });

    const size_t frameCount = 32;
    const size_t dataSize = 36 + 64 + 32 + 8;
    const size_t animCount = dataSize + 4 + Rle(6, 4, 1).size();
    const size_t stepCount = animCount + 4 + 32 + 1;
    for (size_t at : {frameCount, dataSize, animCount, stepCount}) {
        auto bad = file;
        PatchU32(bad, at, 0xFFFFFFFF);
        CAnimSpriteSet set;
        EXPECT_EQ(ReadAt(set, bad), -1) << at;
        EXPECT_EQ(set.GetFrameCount(), 0);
        EXPECT_EQ(set.GetAnimCount(), 0);
    }
    // A run past the frame's width inside an otherwise whole file.
    auto bad = file;
    bad[dataSize + 4 + 8] = 7;
    CAnimSpriteSet set;
    EXPECT_EQ(ReadAt(set, bad), -1);
}

TEST(EffectSpriteSet, RoundTripWithSecondImages)
{
    const std::vector<SpriteFrameDef> frames = {CSpriteWriter::Frame(Rle(20, 10, 1), 4),
                                                 CSpriteWriter::Frame(Rle(7, 7, 2), 5)};
    const std::vector<SpriteFrameDef> second = {CSpriteWriter::Frame(LevelRle(20, 10, 3), 6),
                                                 CSpriteWriter::Frame(LevelRle(5, 9, 4), 7)};
    std::vector<AnimDef> anims = {{"BOOM", 0, {{1, 3, 4, "boom"}}}, {"EMPTY", 0, {}}};

    CEffectSpriteSet set;
    ASSERT_EQ(ReadAt(set, CSpriteWriter::EffectFile("fx", frames, second, anims)), 0);
    ASSERT_EQ(set.GetFrameCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(FrameData(set.GetFrame(i)), frames[static_cast<size_t>(i)].rle);
        EXPECT_EQ(FrameData(set.GetSecondFrame(i)), second[static_cast<size_t>(i)].rle);
        EXPECT_EQ(set.GetSecondFrame(i)->GetHotSpot(), second[static_cast<size_t>(i)].points[0]);
    }
    EXPECT_EQ(set.GetSecondFrame(2), nullptr);
    EXPECT_EQ(set.GetSecondFrame(-1), nullptr);
    EXPECT_EQ(set.FindAnimation("boom"), 0);
    EXPECT_EQ(set.GetAnimLength(0), 1);
    EXPECT_EQ(set.GetAnimFlag(0), 0);
    EXPECT_EQ(set.GetStep(0, 0)->a, 3);
    EXPECT_EQ(set.GetAnimLength(1), 0);

    CEffectSpriteSet none;
    ASSERT_EQ(ReadAt(none, CSpriteWriter::EffectFile("fx", frames, second, {})), 0);
    EXPECT_EQ(none.GetAnimCount(), 0);
    EXPECT_EQ(none.FindAnimation("BOOM"), -1);

    CArchiveBuilder b;
    b.Add("MAGICBALL.TLR", CSpriteWriter::EffectFile("fx", frames, second, anims));
    CTestArchive archive(b);
    CEffectSpriteSet loaded;
    ASSERT_EQ(loaded.Load("data\\MAGICBALL.TLR"), 0);
    EXPECT_EQ(loaded.GetFrameCount(), 2);
    loaded.FreeFrames();
    EXPECT_EQ(loaded.GetSecondFrame(0), nullptr);
}

TEST(EffectSpriteSet, TruncationAndBadLevelsAreRefused)
{
    const std::vector<SpriteFrameDef> frames = {CSpriteWriter::Frame(Rle(4, 3, 1))};
    const std::vector<SpriteFrameDef> second = {CSpriteWriter::Frame(LevelRle(4, 3, 2))};
    const auto file = CSpriteWriter::EffectFile("fx", frames, second, {{"A", 0, {{0, 1, 2, ""}}}});
    SweepTruncations(file, 0, [] { return new CEffectSpriteSet; });

    PixelMatrix m(3, 1, 9);
    m.levels = {0, 8, 1};
    const std::vector<SpriteFrameDef> badSecond = {CSpriteWriter::Frame(CRleEncoder::Encode(m))};
    CEffectSpriteSet set;
    EXPECT_EQ(ReadAt(set, CSpriteWriter::EffectFile("fx", frames, badSecond, {})), -1);
    EXPECT_EQ(set.GetSecondFrame(0), nullptr);
}

TEST(SprSpriteSet, RoundTripKeepsPartOrder)
{
    const auto frames = ThreeFrames();
    std::vector<std::vector<SprEntryDef>> groups = {
        {{"one", {{2, -3, 4}, {0, 5, 6}}}, {"two", {}}},
        {},
        {{"three", {{1, 7, 8}}}},
    };
    const auto file = CSpriteWriter::SprFile("bird", 9, frames, groups);
    CSprSpriteSet set;
    ASSERT_EQ(ReadAt(set, file, CSprSpriteSet::kFileHeader), 0);
    EXPECT_EQ(set.GetName(), "bird");
    EXPECT_EQ(set.GetKind(), CSpriteSet::kindComposite);
    EXPECT_EQ(set.GetHeaderValue(), 9);
    EXPECT_EQ(set.GetFrameCount(), 3);
    EXPECT_EQ(set.GetSequenceCount(), 3);
    EXPECT_EQ(set.GetAnimLength(0), 2);
    EXPECT_EQ(set.GetAnimLength(1), 0);
    EXPECT_EQ(set.GetAnimLength(3), 0);
    const SprPart* p = set.GetPart(0, 0, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->frame, 2u);
    EXPECT_EQ(p->a, -3);
    EXPECT_EQ(p->b, 4);
    EXPECT_STREQ(set.GetSequence(0)->entries[1].name, "two");
    EXPECT_EQ(set.GetPart(2, 0, 0)->frame, 1u);
    EXPECT_EQ(set.GetPart(0, 1, 0), nullptr);
    EXPECT_EQ(set.GetSequence(-1), nullptr);

    CArchiveBuilder b;
    b.Add("bird.spr", file);
    CTestArchive archive(b);
    CSprSpriteSet loaded;
    ASSERT_EQ(loaded.Load("bird.spr"), 0);
    EXPECT_EQ(loaded.GetPart(2, 0, 0)->b, 8);

    SweepTruncations(file, CSprSpriteSet::kFileHeader, [] { return new CSprSpriteSet; });
}

TEST(ItemSpriteSet, RoundTripSkipsTheTailAndChecksPlanes)
{
    ItemSetDef def;
    def.name = "house";
    def.images = {{{3, 4}, 10, 11, Rle(10, 11, 1)}, {{-1, -2}, 2, 2, Rle(2, 2, 2)}};
    def.point = {5, 6};
    def.cx = 7;
    def.cy = 8;
    def.planeW = 3;
    def.planeH = 2;
    def.planes = {std::vector<uint8_t>{1, 2, 3, 4, 5, 6}, std::vector<uint8_t>(6, 9),
                   std::vector<uint8_t>{6, 5, 4, 3, 2, 1}};
    def.tail1 = {1, 2, 3};
    def.tail2 = {4};
    auto file = CSpriteWriter::ItemSection(def);
    file.push_back(0x77);  // what follows the set in its file

    CItemSpriteSet set;
    CByteReader r(file.data(), file.size());
    ASSERT_EQ(set.Read(r), 0);
    EXPECT_EQ(r.Remaining(), 1u);
    EXPECT_EQ(set.GetKind(), CSpriteSet::kindItem);
    ASSERT_EQ(set.GetFrameCount(), 2);
    EXPECT_EQ(set.GetFrame(0)->GetHotSpot(), (RlePoint{3, 4}));
    EXPECT_EQ(set.GetFrame(1)->GetSize(), (CSize{2, 2}));
    EXPECT_EQ(FrameData(set.GetFrame(1)), def.images[1].rle);
    EXPECT_EQ(set.GetPoint(), (RlePoint{5, 6}));
    EXPECT_EQ(set.GetSize(), (CSize{7, 8}));
    EXPECT_EQ(set.GetPlaneSize(), (CSize{3, 2}));
    EXPECT_EQ(std::vector<uint8_t>(set.GetPlane(2), set.GetPlane(2) + 6), def.planes[2]);
    EXPECT_EQ(set.GetPlane(3), nullptr);

    file.pop_back();
    SweepTruncations(file, 0, [] { return new CItemSpriteSet; });

    // Plane sizes whose product overflows 32 bits, a negative side, and
    // tail lengths beyond the data.
    const size_t planeAt = file.size() - 4 - 8 - 3 * 6 - 8;
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{0x10000, 0x10001}, {0xFFFFFFFF, 1}, {3, 0x7FFFFFFF}}) {
        auto bad = file;
        PatchU32(bad, planeAt, w);
        PatchU32(bad, planeAt + 4, h);
        CItemSpriteSet s;
        EXPECT_EQ(ReadAt(s, bad), -1);
        EXPECT_EQ(s.GetPlane(0), nullptr);
    }
    auto bad = file;
    PatchU32(bad, file.size() - 4 - 8, 0xFFFFFFFF);
    PatchU32(bad, file.size() - 4 - 4, 0x00000002);
    CItemSpriteSet s;
    EXPECT_EQ(ReadAt(s, bad), -1);
}

TEST(FrameShadowImage, DrawCopiesColoursClippedAtEveryEdge)
{
    PixelMatrix m(10, 10, 255);
    m.levels.assign(100, 3);
    for (uint32_t y = 0; y < 10; ++y)
        for (uint32_t x = 0; x < 10; ++x)
            if ((x + y) % 3 != 0)
                m.At(x, y) = static_cast<uint8_t>(10 * y + x + 1);
    auto file = CSpriteWriter::AnimSection("s", {CSpriteWriter::Frame(CRleEncoder::Encode(m))}, {});
    CFrameShadowImage image;
    CByteReader r(file.data() + 36, file.size() - 36);
    ASSERT_EQ(image.Read(r), 0);

    SetSpriteClipRect(0, 0, 800, 600);
    for (auto [x, y] : {std::pair<int, int>{-5, -5}, {795, 595}, {-5, 595}, {795, -5}, {100, 100}}) {
        std::vector<uint8_t> screen(800 * 600, 0);  // exact size: ASan sees any overrun
        image.Draw(x, y, ScreenTarget(screen.data()));
        for (int sy = 0; sy < 600; ++sy) {
            for (int sx = 0; sx < 800; ++sx) {
                const int fx = sx - x, fy = sy - y;
                uint8_t want = 0;
                if (fx >= 0 && fx < 10 && fy >= 0 && fy < 10 && m.At(fx, fy) != 255)
                    want = m.At(fx, fy);
                ASSERT_EQ(screen[static_cast<size_t>(sy) * 800 + sx], want) << x << "," << y;
            }
        }
    }
    // The narrower sprite clip is respected too.
    SetSpriteClipRect(0, 0, 800, 480);
    std::vector<uint8_t> screen(800 * 600, 0);
    image.Draw(100, 475, ScreenTarget(screen.data()));
    for (size_t i = 480 * 800; i < screen.size(); ++i)
        ASSERT_EQ(screen[i], 0);
    ResetBlitContexts();
}
