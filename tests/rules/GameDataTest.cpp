#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "rules/GameData.h"
#include "support/Harness.h"
#include "support/TestWorld.h"
#include "world/CharacterRecord.h"
#include "world/StageHolder.h"

namespace {

TEST(StatLevelTables, TellingRowsAndLevelStarts)
{
    ASSERT_EQ(StatLevelTableA.size(), 2030u);
    ASSERT_EQ(StatLevelTableB.size(), 1524u);
    const int a[][2] = {{0, 0}, {1, 1}, {4, 3}, {5, 4}, {100, 18}, {500, 39}, {706, 46}, {707, 47},
                        {736, 47}, {737, 48}, {1000, 55}, {1500, 68}, {1976, 77}, {1977, 78}, {2029, 78}};
    for (const auto& r : a)
        EXPECT_EQ(StatLevelTableA[static_cast<size_t>(r[0])], static_cast<uint32_t>(r[1])) << "A " << r[0];
    const int b[][2] = {{0, 0}, {4, 4}, {5, 4}, {6, 5}, {100, 20}, {500, 45}, {1000, 64}, {1483, 77}, {1484, 78},
                        {1523, 78}};
    for (const auto& r : b)
        EXPECT_EQ(StatLevelTableB[static_cast<size_t>(r[0])], static_cast<uint32_t>(r[1])) << "B " << r[0];
    // Non-decreasing by steps of one; A's widths are max(1, 2L/3) except
    // level 47's 30, B's max(1, L/2).
    int startA = 0;
    int startB = 0;
    for (int level = 1; level <= 78; ++level) {
        startA += level - 1 == 47 ? 30 : std::max(1, 2 * (level - 1) / 3);
        startB += std::max(1, (level - 1) / 2);
        EXPECT_EQ(StatLevelTableA[static_cast<size_t>(startA)], static_cast<uint32_t>(level));
        EXPECT_EQ(StatLevelTableA[static_cast<size_t>(startA - 1)], static_cast<uint32_t>(level - 1));
        EXPECT_EQ(StatLevelTableB[static_cast<size_t>(startB)], static_cast<uint32_t>(level));
        EXPECT_EQ(StatLevelTableB[static_cast<size_t>(startB - 1)], static_cast<uint32_t>(level - 1));
    }
    EXPECT_EQ(startA, 1977);
    EXPECT_EQ(startB, 1484);
    for (size_t i = 1; i < StatLevelTableA.size(); ++i)
        EXPECT_LE(StatLevelTableA[i] - StatLevelTableA[i - 1], 1u);
    for (size_t i = 1; i < StatLevelTableB.size(); ++i)
        EXPECT_LE(StatLevelTableB[i] - StatLevelTableB[i - 1], 1u);
    // The readers clamp what the signed record words can hold.
    EXPECT_EQ(StatLevelA(-32768), 0);
    EXPECT_EQ(StatLevelA(32767), 78);
    EXPECT_EQ(StatLevelB(-1), 0);
    EXPECT_EQ(StatLevelB(1524), 78);
}

TEST(InitGameData, LoadsTheFiveEffectSetsAndLeavesMissingOnesEmpty)
{
    const auto frame = [](uint32_t seed) {
        return CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(6, 4, seed)));
    };
    const auto level = [](uint32_t seed) {
        return CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(6, 4, seed, true)));
    };
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    b.Add("POWERBRAKE.TLR", CSpriteWriter::EffectFile("dash", {frame(1), frame(2)}, {level(1), level(2)}, {}));
    b.Add("MAGICBALL.TLR", CSpriteWriter::EffectFile("ball", {frame(3)}, {level(3)}, {{"MAGICUP_0", 0, {{0, 0, 0, ""}}}}));
    auto damaged = CSpriteWriter::EffectFile("force", {frame(4)}, {level(4)}, {});
    damaged.resize(damaged.size() / 2);
    b.Add("MaximumForce.TLR", damaged);
    CTestWorld world(b);
    // The object files go into the test world's object layer.
    CStageHolder holder(g_pView);
    EXPECT_EQ(holder.LoadObjectFiles(), 1);
    EXPECT_EQ(g_powerBrakeSet.GetFrameCount(), 2);
    EXPECT_EQ(g_magicBallSet.GetFrameCount(), 1);
    EXPECT_EQ(g_magicBallSet.FindAnimation("MAGICUP_0"), 0);
    EXPECT_EQ(g_whipSet.GetFrameCount(), 0);
    EXPECT_EQ(g_esperAttSet.GetFrameCount(), 0);
    EXPECT_EQ(g_maximumForceSet.GetFrameCount(), 0);
    FreeGameData();
    EXPECT_EQ(g_powerBrakeSet.GetFrameCount(), 0);
}

TEST(InitGameData, TheLoadingScreenVariantLoadsTheSameAndShowsItsFiveSteps)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CObrBuilder chr("CHR");
    chr.Character("eric", CObrBuilder::CharRecord("0", 0, 0, 12)).AnimSet("eric");
    b.Replace("eric.obr", chr.Build());
    for (bool alt : {false, true}) {
        SCOPED_TRACE(alt);
        CTestWorld world(b);
        CStageHolder holder(g_pView);
        EXPECT_EQ(alt ? holder.LoadObjectFilesAlt() : holder.LoadObjectFiles(), 1);
        EXPECT_EQ(g_pView->LoadingSteps(), alt ? (std::vector<int>{75, 80, 90, 95, 100}) : std::vector<int>{});
        EXPECT_EQ(world.Layer().GetCharEntryCount(), 1);
        EXPECT_EQ(world.MyRecord().I32(CharacterRecord::kStrength), 12) << "the first character's record";
        FreeGameData();
    }
}

TEST(InitGameData, TheFirstFrameLoadsTheEffectSetsWithTheObjectFiles)
{
    const auto frame = CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(5, 5, 9)));
    const auto level = CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(5, 5, 9, true)));
    CArchiveBuilder b = CIntroArchive::Game();
    b.Add("esperatt.TLR", CSpriteWriter::EffectFile("esper", {frame, frame, frame}, {level, level, level}, {}));
    CTestArchive archive(b, false);
    CHarness h(1000);
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(g_esperAttSet.GetFrameCount(), 0);
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }));
    EXPECT_EQ(g_esperAttSet.GetFrameCount(), 3);
    EXPECT_EQ(g_whipSet.GetFrameCount(), 0);
}

}  // namespace
