// Frame by frame on the virtual game clock: what each effect draws, where,
// and when it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "EffectBed.h"
#include "core/AnimSpriteSet.h"
#include "core/Display.h"
#include "platform/Crt.h"
#include "effects/MaximumForce.h"
#include "effects/RouteTrail.h"
#include "rules/GameData.h"
#include "rules/CalcData.h"
#include "windows/DaradirUzedo.h"
#include "world/BGLayer.h"
#include "world/Character.h"

namespace {

struct Seen {
    int frame;
    int dy;  // text top relative to the anchor's screen y
    std::string text;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Seen& s)
{
    return os << "{" << s.frame << ", " << s.dy << ", " << s.text << "}";
}

// Every frame's text of that colour until the number has ended; the text
// is "ok" when the screen shows exactly `expected`, centred over x.
std::vector<Seen> DamageTimeline(CEffectBed& b, const CCreature& on, int value, uint8_t colour, int frames,
                                 const std::string& expected)
{
    CEffect* e = b.fx.StartDamage(on.GetPixelX(), on.GetPixelY(), value, 0, const_cast<CCreature*>(&on));
    int sx = 0, sy = 0;
    b.ScreenOf(on.GetPixelX(), on.GetPixelY() - 90, sx, sy);
    const int x = sx - (static_cast<int>(expected.size()) - 2) * 6;
    std::vector<Seen> seen;
    for (int f = 1; f <= frames && e->IsActive(); ++f) {
        b.Frame();
        const int y = b.FindTextRow(colour);
        if (y >= 0)
            seen.push_back({f, y - sy, b.ShowsOnly(expected.c_str(), x, y, colour) ? "ok" : "?"});
    }
    EXPECT_FALSE(e->IsActive());
    return seen;
}

}  // namespace

TEST(DamageNumbers, WaitByWidthThenDropTowardsTheAnchorWindowedAndFullScreen)
{
    CEffectBed b;
    CCharacter& me = b.bed.Me(20, 20);
    CCharacter& other = b.bed.Add(100, 21, 20, 1);
    g_fullScreenMode = 0;
    // "+5": (36 - 0) / 8 frames of waiting, five frames at the top, then
    // 10 pixels a frame; the frame after the sixth drop it is gone.
    std::vector<Seen> expected;
    for (int f = 6; f <= 10; ++f)
        expected.push_back({f, -52, "ok"});
    for (int f = 11; f <= 15; ++f)
        expected.push_back({f, -52 + (f - 10) * 10, "ok"});
    expected.push_back({16, -52, "ok"});
    EXPECT_EQ(DamageTimeline(b, other, 5, 120, 40, "+5"), expected);

    g_fullScreenMode = 1;
    std::vector<Seen> full = DamageTimeline(b, other, 5, 120, 40, "+5");
    ASSERT_GE(full.size(), 14u);
    EXPECT_EQ(full[12], (Seen{18, -52, "ok"})) << "13 frames at the top in full screen";
    EXPECT_EQ(full[13], (Seen{19, -44, "ok"})) << "then 8 pixels a frame";
    g_fullScreenMode = 0;

    // Losses: colour 20 on my character, 233 on others; a gain is 120 on
    // either.
    for (auto [on, value, colour, text] : {std::tuple{&me, -7, 20, "-7"}, std::tuple{&other, -7, 233, "-7"},
                                           std::tuple{&me, 123, 120, "+123"}}) {
        std::vector<Seen> s = DamageTimeline(b, *on, value, static_cast<uint8_t>(colour), 40, text);
        ASSERT_FALSE(s.empty()) << colour;
        EXPECT_EQ(s.front().text, "ok") << text;
    }
}

TEST(DamageNumbers, AMissCyclesTwelveTimesInPlaceThenLasts21Frames)
{
    CEffectBed b;
    CCharacter& other = (b.bed.Me(20, 20), b.bed.Add(100, 21, 20, 1));
    const std::vector<Seen> s = DamageTimeline(b, other, 0, 60, 100, "miss");
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front(), (Seen{4, 0, "ok"}));
    EXPECT_EQ(s.back(), (Seen{68, 0, "ok"}));
    EXPECT_EQ(s.size(), 65u) << "shown on every frame from the first cycle on";
}

TEST(DamageNumbers, WidthsByDigitClassAndMagnitudesBeyondThem)
{
    const std::pair<int64_t, int> rows[] = {{0, 36},        {10, 36},       {11, 44},       {100, 44},
                                            {101, 52},      {10000, 60},    {100001, 76},   {1000000, 76},
                                            {1000001, 84},  {20000000, 84}, {2147483648, 84}};
    for (auto [magnitude, width] : rows)
        EXPECT_EQ(CDamageEffect::WidthOf(magnitude), width) << magnitude;
    CEffectBed b;
    CCharacter& me = b.bed.Me(20, 20);
    const std::vector<Seen> s = DamageTimeline(b, me, INT_MIN, 20, 60, "-2147483648");
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front().text, "ok");
}

TEST(Lightning, LivesHalfItsSegmentsPlusTwentyFramesAndNeverWritesBelowTheView)
{
    CEffectBed b;
    b.bed.Me(20, 20);
    int wx = 0, wy = 0;
    b.Ground().ScreenToWorld(100, 100, wx, wy);
    struct Row {
        int dx, dy, segments, frames;
    };
    for (Row r : {Row{0, 0, 1, 20}, Row{0, 200, 7, 23}, Row{479, 0, 15, 27}, Row{-150, 300, 10, 24}}) {
        SCOPED_TRACE(r.dx * 1000 + r.dy);
        CLightningEffect* bolt = b.fx.StartBigEffect(4, wx + 200, wy + 50, wx + 200 + r.dx, wy + 50 + r.dy, 1, 2);
        ASSERT_NE(bolt, nullptr);
        EXPECT_EQ(bolt->GetSegmentCount(), r.segments);
        EXPECT_EQ(bolt->GetPoint(0).x, wx + 200) << "the first point is exact";
        int drawn = 0;
        for (int f = 0; f < 60 && bolt->IsActive(); ++f) {
            b.Frame();
            drawn += std::count(b.screen.begin(), b.screen.end(), CEffectBed::kBlank) < 800 * 600 ? 1 : 0;
        }
        EXPECT_EQ(drawn, r.frames);
        EXPECT_FALSE(bolt->IsActive());
    }
    // Across the bottom edge of the view: rows 448 and below keep the
    // canary, rows above do not.
    b.Ground().ScreenToWorld(-50, 300, wx, wy);
    ASSERT_NE(b.fx.StartBigEffect(1, wx, wy, wx + 440, wy + 400, 2, 1), nullptr);
    ASSERT_NE(b.fx.StartBigEffect(2, wx + 840, wy, wx + 400, wy + 300, 0, 0), nullptr);
    std::vector<uint8_t> canary(800 * 600, 77);
    for (int f = 0; f < 40; ++f)
        b.fx.DrawAll(canary.data());
    EXPECT_EQ(b.fx.CountActive(), 0);
    EXPECT_EQ(std::count(canary.begin() + 448 * 800, canary.end(), 77), 152 * 800);
    EXPECT_LT(std::count(canary.begin(), canary.begin() + 448 * 800, 77), 448 * 800);
}

TEST(Missiles, FollowTheSlowingPathAndEndOnThe46thFrame)
{
    CEffectBed b;
    b.bed.Me(20, 20);
    CRleImage* image = b.Layer().GetCharSet(0)->GetFrame(0);
    CMissileEffect* m = b.fx.StartGeneric108(1000, 500, 1036, 500, image);
    ASSERT_NE(m, nullptr);
    std::vector<int> path;
    for (int f = 1; f <= 46; ++f) {
        b.Frame();
        int x = 0, y = 0;
        m->GetPos(x, y);
        if (f % 3 == 1 && f <= 22)
            path.push_back(x - 1000);
        EXPECT_EQ(m->IsActive(), f < 46) << f;
    }
    EXPECT_EQ(path, (std::vector<int>{0, 8, 15, 21, 26, 30, 33, 35}));
}

TEST(RouteTrail, GrowsAlongItsCurveInsideTheScreenAndIsDrawnByTheUiHook)
{
    CEffectBed b;
    for (auto [x, y] : {std::pair{800, 10}, {-1, 10}, {10, 600}, {10, -1}}) {
        g_routeTrail.Start(x, y, 100, 100);
        EXPECT_FALSE(g_routeTrail.IsActive()) << x << "," << y;
    }
    ResetUiLayerGlobals();
    ASSERT_NE(g_routeTrailHook.draw, nullptr);
    ASSERT_NE(g_routeTrailHook.stop, nullptr);
    g_routeTrail.Start(0, 0, 799, 599);
    EXPECT_EQ(g_routeTrail.GetPoint(48).x, 799);
    std::fill(b.screen.begin(), b.screen.end(), 0);
    int draws = 0;
    while (g_routeTrail.IsActive() && draws < 100) {
        g_routeTrailHook.draw(b.screen.data());
        ++draws;
    }
    EXPECT_EQ(draws, 25);
    EXPECT_EQ(b.screen[0], 60) << "point 0";
    EXPECT_EQ(b.screen[599 * 800 + 799], 60) << "the target";
    EXPECT_EQ(std::count(b.screen.begin(), b.screen.end(), 0) + std::count(b.screen.begin(), b.screen.end(), 60),
              800 * 600);
    // A target at the ends of the range halves without overflow and
    // draws only what falls on the screen.
    for (auto [tx, ty] : {std::pair{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}}) {
        std::fill(b.screen.begin(), b.screen.end(), 0);
        g_routeTrail.Start(400, 300, tx, ty);
        // The curve's middle lies an eighth of the way to the target.
        EXPECT_EQ(g_routeTrail.GetPoint(24).x / 10000000, tx / 80000000);
        EXPECT_EQ(g_routeTrail.GetPoint(24).y / 10000000, ty / 80000000);
        for (int i = 0; i < 30 && g_routeTrail.IsActive(); ++i)
            g_routeTrailHook.draw(b.screen.data());
        EXPECT_FALSE(g_routeTrail.IsActive());
        EXPECT_EQ(b.screen[300 * 800 + 400], 60) << "the start";
    }
    g_routeTrail.Start(5, 5, 6, 6);
    g_routeTrailHook.stop();
    EXPECT_FALSE(g_routeTrail.IsActive());
}

TEST(FireStorm, HitsOtherGroupsWithinTwoTilesOnceAtFrame15By150100And80PerCent)
{
    CEffectBed b;
    CCharacter& me = b.bed.Me(10, 10);
    me.SetGroupKey({5});
    CCharacter& far = b.bed.Add(102, 32, 28, 1);
    CCharacter& ally = b.bed.Add(104, 29, 29, 1);
    ally.SetGroupKey({5});
    CCharacter& centre = b.bed.Add(100, 30, 30, 1);
    CCharacter& near = b.bed.Add(101, 31, 30, 1);
    CCharacter& outside = b.bed.Add(103, 33, 30, 1);
    CCharacter& elsewhere = b.bed.Add(105, 40, 40, 1);
    b.Layer().SetObjectCell(29, 31, elsewhere.GetHandle());
    b.bed.Wall(30, 31);
    int px = 0, py = 0;
    CBGLayer::TileToPixel(30, 30, px, py);
    CEffect* cast = b.fx.StartFireStomMain(px + 32, py + 16, &me);
    ASSERT_NE(cast, nullptr);
    std::vector<CCharacter*> all = {&centre, &near, &far, &outside, &ally, &elsewhere, &me};
    for (int f = 1; f <= 15; ++f) {
        b.Frame();
        for (CCharacter* c : all)
            EXPECT_EQ(c->GetPendingAmount(), 0) << f;
    }
    plat::SRand(99);
    b.Frame();
    // The same draws of the damage roll, in the order the tiles are visited.
    plat::SRand(99);
    const int dFar = CalcDamage(8, me.GetCharRecord(), far.GetCharRecord());
    const int dCentre = CalcDamage(8, me.GetCharRecord(), centre.GetCharRecord());
    const int dNear = CalcDamage(8, me.GetCharRecord(), near.GetCharRecord());
    EXPECT_EQ(centre.GetPendingAmount(), -(dCentre * 15 / 10));
    EXPECT_EQ(near.GetPendingAmount(), -dNear);
    EXPECT_EQ(far.GetPendingAmount(), -(dFar * 8 / 10));
    for (CCharacter* c : {&outside, &ally, &elsewhere, &me})
        EXPECT_EQ(c->GetPendingAmount(), 0);
    b.Frame(15);
    EXPECT_TRUE(cast->IsActive());
    b.Frame();
    EXPECT_FALSE(cast->IsActive()) << "32 frames";
    EXPECT_EQ(centre.GetPendingAmount(), -(dCentre * 15 / 10)) << "one hit";
    EXPECT_EQ(b.fx.CountActive(), 0);
}

TEST(Quake, ShakesTheFocusWhileOnScreenHitsAtFrame80ClippedToTheMapAndEndsOffScreenToo)
{
    // No character of mine: the earthquake's fire, which starts at my
    // character, is left out.
    CEffectBed b;
    CCharacter& caster = b.bed.Add(99, 3, 3, 1);
    caster.SetGroupKey({5});
    CCharacter& victim = b.bed.Add(100, 0, 1, 1);
    CCharacter& beyond = b.bed.Add(101, 12, 3, 1);
    b.Ground().ScrollTo(caster.GetPixelX(), caster.GetPixelY());
    CQuakeController* q = b.fx.StartDeathManSub(caster.GetPixelX(), caster.GetPixelY(), 16, 30, &caster);
    ASSERT_NE(q, nullptr);
    CQuakeController* away =
        b.fx.StartDeathManSub(caster.GetPixelX() + 30000, caster.GetPixelY() + 30000, 16, 30, &caster);
    ASSERT_NE(away, nullptr);
    // The frame puts the focus back on my character every frame; the quake
    // moves it every third, by its step, and the one off the screen not.
    std::vector<std::pair<int, int>> moves;
    for (int f = 0; f < 12; ++f) {
        b.Layer().SetFocusPixel(1000, 2000);
        b.Frame();
        int fx = 0, fy = 0;
        b.Layer().GetFocusPixel(fx, fy);
        moves.emplace_back(fx - 1000, fy - 2000);
    }
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, -16}, {0, 0}, {0, 0}, {16, 0}, {0, 0}, {0, 0},
                                                       {-16, 0}, {0, 0}, {0, 0}, {0, 16}, {0, 0}, {0, 0}}));
    b.Frame(67);
    EXPECT_EQ(victim.GetPendingAmount(), 0);
    plat::SRand(5);
    b.Frame();
    plat::SRand(5);
    EXPECT_EQ(victim.GetPendingAmount(), -CalcDamage(11, caster.GetCharRecord(), victim.GetCharRecord()));
    EXPECT_EQ(beyond.GetPendingAmount(), 0) << "9 tiles away";
    EXPECT_EQ(caster.GetPendingAmount(), 0);
    EXPECT_TRUE(away->IsActive());
    b.Frame(10);
    EXPECT_FALSE(q->IsActive());
    EXPECT_FALSE(away->IsActive()) << "off the screen, it ends all the same";
    EXPECT_EQ(b.fx.CountActive(), 0);
}

TEST(DeathMan, MarksEveryCreatureOfTheTableDeadOrAliveAndBobsOnceAMarkAFrame)
{
    // The bob moves a pixel every 10 marks drawn and turns every 60.
    auto bobAfter = [](int marks, int frames, std::vector<bool>* drawnOver) {
        CEffectBed b;
        CCharacter& me = b.bed.Me(20, 20);
        std::vector<CCharacter*> marked{&b.bed.Add(100, 16, 20, 1), &b.bed.Add(101, 20, 25, 1)};
        marked[1]->OrderDie(&me);
        for (int i = 0; i < marks; ++i)
            b.Layer().m_deathMarks[static_cast<size_t>(3 + 7 * i)] = {marked[static_cast<size_t>(i)], &me};
        CEffect* mark = b.fx.StartDeathMan(0, 0, 0);
        b.Frame(frames);
        EXPECT_TRUE(mark->IsActive());
        for (CCharacter* c : marked) {
            int sx = 0, sy = 0;
            b.ScreenOf(c->GetPixelX(), c->GetPixelY() - 130, sx, sy);
            bool drawn = false;
            for (int y = std::max(sy - 20, 0); y < std::min(sy + 20, 600); ++y)
                for (int x = std::max(sx - 20, 0); x < std::min(sx + 20, 800); ++x)
                    drawn = drawn || b.screen[static_cast<size_t>(y * 800 + x)] != CEffectBed::kBlank;
            if (drawnOver)
                drawnOver->push_back(drawn);
        }
        return static_cast<const CDeathMan*>(mark)->GetBob();
    };
    std::vector<bool> drawn;
    EXPECT_EQ(bobAfter(2, 30, &drawn), 4) << "down 5, then up 1 after the turn at 60";
    EXPECT_EQ(drawn, (std::vector<bool>{true, true})) << "the dead one is marked too";
    EXPECT_EQ(bobAfter(1, 30, nullptr), 3);
    EXPECT_EQ(bobAfter(1, 60, nullptr), 4) << "one mark bobs half as fast";
}

TEST(UseItem, AHiddenSparkleStillStartsItsWavesAtFrames1_5And15)
{
    CEffectBed b;
    b.bed.Me(20, 20);
    ASSERT_NE(b.fx.StartUseItem(500, 500, 1), nullptr);
    const int life = 3 * b.fx.UseItemSet(CEffectManager::colourBase).GetFrameCount();
    ASSERT_GE(life, 16);
    // Waves are drawn 12 times from the frame that starts them: at 1, 5
    // and 15.
    auto waves = [](int f) { return (f >= 1 && f < 12) + (f >= 5 && f < 16) + (f >= 15 && f < 26); };
    for (int f = 1; f <= 30; ++f) {
        b.Frame();
        EXPECT_EQ(b.fx.CountActive(), waves(f) + (f < life ? 1 : 0)) << f;
    }
}

TEST(MaximumForce, ReleasesItsBurstsAnImageApartSixPixelsFurtherEachWay)
{
    // Nothing in the game makes one; its drawing stands on its own.
    struct Row {
        int direction, bursts, dx, dy, frames;
    };
    for (Row r : {Row{3, 3, 1, 0, 18}, Row{5, 3, 0, 1, 18}, Row{0, 2, -1, -1, 15}, Row{7, 1, -1, 0, 12}}) {
        SCOPED_TRACE(r.direction * 10 + r.bursts);
        CEffectBed b;
        CCharacter& me = b.bed.Me(20, 20);
        CMaximumForce force;
        force.Init(&b.fx, me.GetPixelX(), me.GetPixelY(), r.direction, r.bursts, &g_maximumForceSet);
        // The box of what is drawn, per frame.
        std::vector<std::array<int, 4>> boxes;
        int frames = 0;
        while (force.IsActive() && frames < 100) {
            std::fill(b.screen.begin(), b.screen.end(), CEffectBed::kBlank);
            force.Draw(b.screen.data());
            ++frames;
            std::array<int, 4> box{800, 600, -1, -1};
            for (int y = 0; y < 600; ++y)
                for (int x = 0; x < 800; ++x)
                    if (b.screen[static_cast<size_t>(y * 800 + x)] != CEffectBed::kBlank)
                        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
            boxes.push_back(box);
        }
        EXPECT_EQ(frames, r.frames) << "four images of three frames, the last burst released 3 x (bursts - 1) later";
        ASSERT_GE(boxes.size(), 7u);
        // Burst 1 comes in on frame 4, burst 2 on frame 7, each 6 pixels on.
        const auto& first = boxes[0];
        for (int k = 1; k < r.bursts; ++k) {
            const auto& later = boxes[static_cast<size_t>(3 * k)];
            EXPECT_EQ(r.dx >= 0 ? later[2] - first[2] : first[0] - later[0], 6 * k * std::abs(r.dx));
            EXPECT_EQ(r.dy >= 0 ? later[3] - first[3] : first[1] - later[1], 6 * k * std::abs(r.dy));
        }
    }
}
