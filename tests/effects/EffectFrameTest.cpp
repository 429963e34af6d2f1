// Whole frames of effects over a patterned stage, with a blend table in
// which every level, colour and pixel give another result (so a pixel
// blended twice differs from one blended once): a busy battle moment pinned
// by a golden hash (regenerate with QUORVEL_UPDATE_GOLDEN=1), and bolts
// drawn pixel for pixel as the plain rule says, anywhere on or off the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "EffectBed.h"
#include "app/FrameClock.h"
#include "core/AnimSpriteSet.h"
#include "core/Display.h"
#include "platform/Crt.h"
#include "platform/headless/HeadlessVideo.h"
#include "support/Golden.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/TileGeometry.h"

namespace {

uint8_t BlendOf(int level, int colour, int pixel)
{
    return static_cast<uint8_t>(pixel * 5 + colour * 3 + level * 29 + 1);
}

void MixingBlends(CEffectBed& b)
{
    uint8_t* blend = b.palette.GetBlendTable();
    for (int level = 0; level < 8; ++level)
        for (int c = 0; c < 256; ++c)
            for (int p = 0; p < 256; ++p)
                blend[level * 65536 + c * 256 + p] = BlendOf(level, c, p);
}

// The stage under the effects: diagonal bands like tile rows.
void Stage(std::vector<uint8_t>& screen)
{
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            screen[static_cast<size_t>(y * 800 + x)] = static_cast<uint8_t>(((x + 2 * y) / 16 % 8) * 8 + 64);
}

// The bolt's frame at that step by the rule itself: for the halo pass and
// then the core, each live segment's pieces walked from their first point
// (left out) to their last, the brush written where it lies in the view.
void ReferenceBolt(const CLightningEffect& bolt, int step, int ox, int oy, int x1, int y1, int colourSet,
                   int blendIndex, std::vector<uint8_t>& dst)
{
    static constexpr int kLevels[3] = {1, 3, 5};
    const int n = bolt.GetSegmentCount();
    for (int pass = 1; pass >= 0; --pass) {
        for (int i = 0; i < n; ++i) {
            const CLightningEffect::Segment& s = bolt.GetSegment(i);
            const int age = step - s.delay;
            if (age < 0 || age >= CLightningEffect::kAges)
                continue;
            const CLightningEffect::Point a = bolt.GetPoint(i);
            const CLightningEffect::Point e = i + 1 < n ? bolt.GetPoint(i + 1) : CLightningEffect::Point{x1, y1};
            if (std::max(a.x, e.x) + ox < 0 || std::max(a.y, e.y) + oy < 0 || std::min(a.x, e.x) + ox >= 800 ||
                std::min(a.y, e.y) + oy >= 448)
                continue;
            const int c = CLightningEffect::Colour(colourSet, age, pass);
            auto brush = [&](int x, int y) {
                for (int by = -1; by <= 1; ++by)
                    for (int bx = -1; bx <= 1; ++bx) {
                        if ((pass == 1) == (bx == 0 && by == 0))
                            continue;
                        const int px = x + bx, py = y + by;
                        if (px < 0 || px >= 800 || py < 0 || py >= 448)
                            continue;
                        uint8_t& p = dst[static_cast<size_t>(py * 800 + px)];
                        if (age >= 13)
                            p = BlendOf(20 - age, c, p);
                        else if (pass == 1)
                            p = BlendOf(kLevels[blendIndex], c, p);
                        else
                            p = static_cast<uint8_t>(c);
                    }
                return true;
            };
            for (int j = 0; j < CLightningEffect::kPieces; ++j) {
                const CLightningEffect::Point p = s.sub[static_cast<size_t>(j)];
                const CLightningEffect::Point q = j + 1 < CLightningEffect::kPieces ? s.sub[static_cast<size_t>(j + 1)] : e;
                WalkLine(p.x + ox, p.y + oy, q.x + ox, q.y + oy, brush);
            }
        }
    }
}

}  // namespace

TEST(EffectFrames, ABusyBattleMomentIsPinnedByItsHash)
{
    CEffectBed b;
    MixingBlends(b);
    plat::SRand(28);
    g_fullScreenMode = 0;
    CCharacter& me = b.bed.Me(20, 20);
    CCharacter& left = b.bed.Add(100, 18, 22, 1);
    CCharacter& right = b.bed.Add(101, 23, 19, 1);
    int wx = 0, wy = 0;
    b.Ground().ScreenToWorld(0, 0, wx, wy);
    ASSERT_NE(b.fx.StartFireStomMain(me.GetPixelX(), me.GetPixelY(), &me), nullptr);
    ASSERT_NE(b.fx.StartBigEffect(3, wx + 120, wy + 60, wx + 430, wy + 380, 1, 0), nullptr);
    ASSERT_NE(b.fx.StartBigEffect(7, wx + 700, wy + 20, wx + 560, wy + 470, 2, 1), nullptr);
    CRleImage* image = b.Layer().GetCharSet(0)->GetFrame(1);
    ASSERT_NE(b.fx.StartGeneric108(wx + 60, wy + 420, wx + 500, wy + 200, image), nullptr);
    ASSERT_NE(b.fx.StartChatBalloon(&left, "over the left one", 40), nullptr);
    ASSERT_NE(b.fx.StartChatBalloon(&right, "a longer line on the right that needs both lines", 50), nullptr);
    b.fx.StartDamage(left.GetPixelX(), left.GetPixelY(), -37, 0, &left);
    b.fx.StartDamage(me.GetPixelX(), me.GetPixelY(), -1200, 0, &me);
    b.fx.StartDamage(right.GetPixelX(), right.GetPixelY(), 0, 0, &right);
    std::map<std::string, std::string> got;
    for (int frame = 1; frame <= 12; ++frame) {
        ++g_gameFrameCount;
        Stage(b.screen);
        b.fx.DrawAll(b.screen.data());
        if (frame == 6 || frame == 12)
            got["effects_battle_frame" + std::to_string(frame)] =
                GoldenHex(plat::CHeadlessVideo::Hash(b.screen.data(), b.screen.size()));
    }
    // Each kind is on show in the last frame.
    std::vector<uint8_t> stage(b.screen.size());
    Stage(stage);
    for (uint8_t colour : {uint8_t{40}, uint8_t{50}, uint8_t{233}, uint8_t{20}, uint8_t{60}})
        EXPECT_NE(std::find(b.screen.begin(), b.screen.end(), colour), b.screen.end()) << int(colour);
    EXPECT_GT(b.fx.CountActive(), 7);
    EXPECT_NE(b.screen, stage);

    const GoldenResult golden = CheckGoldens(got);
    if (golden.updated)
        GTEST_SKIP() << "golden hashes written";
    for (const std::string& m : golden.mismatches)
        ADD_FAILURE() << m;
}

TEST(EffectFrames, BoltsAreDrawnPixelForPixelByTheRuleOnAndOffTheView)
{
    CEffectBed b;
    MixingBlends(b);
    b.bed.Me(20, 20);
    plat::SRand(7);
    int wx = 0, wy = 0;
    b.Ground().ScreenToWorld(0, 0, wx, wy);
    std::vector<uint8_t> want(b.screen.size());
    for (int trial = 0; trial < 60; ++trial) {
        SCOPED_TRACE(trial);
        // Ends anywhere from well off the view's left and top to beyond its
        // right and bottom.
        const int x0 = wx - 60 + plat::Rand() % 920, y0 = wy - 60 + plat::Rand() % 620;
        const int x1 = x0 - 300 + plat::Rand() % 600, y1 = y0 - 300 + plat::Rand() % 600;
        const int blend = plat::Rand() % 3, colourSet = plat::Rand() % 3;
        CLightningEffect* bolt = b.fx.StartBigEffect(1 + trial % 9, x0, y0, x1, y1, blend, colourSet);
        ASSERT_NE(bolt, nullptr);
        int sx = 0, sy = 0;
        b.Ground().WorldToScreen(x0, y0, sx, sy);
        for (int step = 0; bolt->IsActive(); ++step) {
            ASSERT_LT(step, 40);
            Stage(b.screen);
            Stage(want);
            ReferenceBolt(*bolt, step, sx - x0, sy - y0, x1, y1, colourSet, blend, want);
            bolt->Draw(b.screen.data());
            ASSERT_TRUE(want == b.screen) << "step " << step;
        }
    }
}
