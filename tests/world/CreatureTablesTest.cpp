#include <gtest/gtest.h>

#include <string>

#include "world/CreatureSounds.h"
#include "world/DrawMode.h"
#include "world/WalkTable.h"

TEST(ChooseDrawMode, EveryCaseOfTheTable)
{
    struct Row {
        const char* what;
        DrawModeInput in;
        DrawModeChoice out;
    };
    auto in = [](int fade, bool battle, int cls, int light, bool frozen, bool hidden, bool sees, uint32_t look) {
        return DrawModeInput{fade, battle, cls, light, frozen, hidden, sees, look};
    };
    const Row rows[] = {
        {"field, class above 5", in(-1, false, 6, 8, false, false, false, 0x47), {true, 0, 0}},
        {"field, class 5 recoloured", in(-1, false, 5, 8, false, false, false, 0x47), {true, 6, 7}},
        {"field, frozen and hidden count for nothing", in(-1, false, 0, 2, true, true, false, 0x3F), {true, 6, 63}},
        {"battle, frozen in light", in(-1, true, 0, 8, true, false, false, 9), {true, 3, 4}},
        {"battle, frozen in the dark, hidden too", in(-1, true, 9, 2, true, true, false, 9), {true, 3, 4}},
        {"battle, class above 6 in light", in(-1, true, 7, 8, false, false, false, 9), {true, 0, 0}},
        {"battle, class above 6 in the dark", in(-1, true, 7, 5, false, true, false, 9), {true, 3, 5}},
        {"battle, hidden ally", in(-1, true, 6, 8, false, true, true, 9), {true, 4, 3}},
        {"battle, hidden ally in the dark", in(-1, true, 0, 1, false, true, true, 9), {true, 4, 3}},
        {"battle, hidden enemy", in(-1, true, 0, 8, false, true, false, 9), {false, 4, 3}},
        {"battle, class 6 in light", in(-1, true, 6, 8, false, false, false, 0xC5), {true, 6, 5}},
        {"battle, in the dark", in(-1, true, 0, 3, false, false, false, 0xC5), {true, 7, 3 * 256 + 5}},
        {"battle, unseen cell", in(-1, true, 0, 0, false, false, false, 1), {true, 7, 1}},
        {"dying, fade 7", in(7, true, 0, 3, false, true, false, 9), {true, 4, 7}},
        {"dying, fade 0 outside battle", in(0, false, 9, 8, false, false, false, 9), {true, 4, 0}},
        {"flashing", in(3, false, 0, 8, false, false, false, 9), {true, 4, 3}},
    };
    for (const Row& r : rows) {
        const DrawModeChoice c = ChooseDrawMode(r.in);
        EXPECT_EQ(c.draw, r.out.draw) << r.what;
        if (r.out.draw) {
            EXPECT_EQ(c.mode, r.out.mode) << r.what;
            EXPECT_EQ(c.param, r.out.param) << r.what;
        }
    }
}

TEST(CreatureSounds, SixteenSpeciesInBlocksOfTen)
{
    const std::pair<int, const char*> species[] = {
        {101, "remora"}, {201, "satiros"},     {301, "behimos"}, {401, "burak"}, {501, "crocota"}, {601, "kabunkle"},
        {701, "rebi"},   {801, "baltan"},      {1001, "simurg"}, {1101, "katoblepas"}, {1301, "anpis"},
        {1501, "perze"}, {2101, "seiren"},     {2401, "humbaba"}, {2701, "manti"}, {2801, "harpas"},
    };
    for (auto [first, name] : species) {
        for (int cls : {first, first + 9}) {
            ASSERT_NE(SpeciesSoundName(cls), nullptr) << cls;
            EXPECT_STREQ(SpeciesSoundName(cls), name) << cls;
        }
        EXPECT_EQ(SpeciesSoundName(first - 1), nullptr) << first - 1;
        EXPECT_EQ(SpeciesSoundName(first + 10), nullptr) << first + 10;
    }
    for (int cls : {905, 0, 1401, 9999, -101})
        EXPECT_EQ(SpeciesSoundName(cls), nullptr) << cls;
    char name[64];
    EXPECT_TRUE(SpeciesSound(1305, "att", name, sizeof name));
    EXPECT_STREQ(name, "anpisatt.wav");
    EXPECT_TRUE(SpeciesSound(110, "die", name, sizeof name));
    EXPECT_STREQ(name, "remoradie.wav");
    EXPECT_FALSE(SpeciesSound(905, "att", name, sizeof name));
    char tiny[6];
    EXPECT_TRUE(SpeciesSound(1101, "hit", tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "katob") << "cut to the buffer";
}

TEST(CreatureSounds, HitVoiceByClassGroupAndTypeNumber)
{
    const struct {
        int group, type;
        const char* voice;
    } rows[] = {
        {0, 0, "man1hit.wav"},   {0, 1, "woman1hit.wav"}, {1, 2, "man3hit.wav"},   {1, 3, "woman3hit.wav"},
        {1, 0, "woman3hit.wav"}, {2, 4, "man2hit.wav"},   {2, 5, "woman2hit.wav"}, {2, 0, "woman2hit.wav"},
    };
    for (const auto& r : rows)
        EXPECT_STREQ(HitVoice(r.group, r.type), r.voice) << r.group << "/" << r.type;
    EXPECT_EQ(HitVoice(3, 0), nullptr);
}

TEST(WalkTable, EveryRowCrossesOneCellExactly)
{
    for (int s = 0; s < kSpeedClasses; ++s) {
        const int n = 16 - s;
        for (int dir = 0; dir < 8; ++dir) {
            const bool sideways = dir == 3 || dir == 7;
            ASSERT_EQ(WalkStepCount(s, dir), sideways ? 2 * n : n) << s << "/" << dir;
            int x = 0, y = 0;
            for (int i = 0; i < WalkStepCount(s, dir); ++i) {
                int dx = 0, dy = 0;
                WalkDelta(s, dir, i, dx, dy);
                x += dx;
                y += dy;
            }
            // Each direction's cell step in pixels: TileToPixel of the delta.
            static constexpr int kCell[8][2] = {{-32, -16}, {0, -32}, {32, -16}, {64, 0},
                                                {32, 16},   {0, 32},  {-32, 16}, {-64, 0}};
            EXPECT_EQ(x, kCell[dir][0]) << "class " << s << " dir " << dir;
            EXPECT_EQ(y, kCell[dir][1]) << "class " << s << " dir " << dir;
        }
    }
    EXPECT_EQ(WalkStepCount(12, 4), 4);
    EXPECT_EQ(WalkStepCount(12, 7), 8);
    EXPECT_EQ(WalkStepCount(0, 1), 16);
    EXPECT_EQ(WalkStepCount(0, 3), 32);
    int dx = 9, dy = 9;
    WalkDelta(12, 4, 4, dx, dy);
    EXPECT_EQ(dx, 0) << "past the last tick: no move";
    EXPECT_EQ(dy, 0);
}

TEST(WalkTable, SpeedClassFromTheServerIsClamped)
{
    EXPECT_EQ(ClampSpeedClass(-5), 0);
    EXPECT_EQ(ClampSpeedClass(13), 12);
    EXPECT_EQ(ClampSpeedClass(0xFFFFFFFFLL), 12);
    EXPECT_EQ(WalkStepCount(40, 0), 4) << "16 - s never reaches 0";
    EXPECT_EQ(WalkStepCount(-3, 3), 32);
}
