// The whole client on the headless harness against the scripted server:
// logged in on stage 0, it joins a battle with one enemy; the stage change
// clears what the field was showing, the battle bar comes in, and the
// enemy's hit, sent by the server, shows its number over me on the
// presented screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/TextLayer.h"
#include "effects/EffectManager.h"
#include "fixtures/BattleWire.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/SpellSprites.h"
#include "fixtures/TileFileBuilder.h"
#include "intro/IntroLayer.h"
#include "platform/headless/HeadlessVideo.h"
#include "support/FakeServer.h"
#include "support/FieldLogIn.h"
#include "support/Golden.h"
#include "support/Harness.h"
#include "windows/DaradirUzedo.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kId = 9;
constexpr uint16_t kEnemy = 30;
constexpr int kBattle = 501;
constexpr int kX = 20, kY = 20;

class EffectClient : public testing::Test {
protected:
    EffectClient() : EffectClient(Archive()) {}
    explicit EffectClient(const CArchiveBuilder& b) : archive(b, false) {}
    static CArchiveBuilder Archive() { return CIntroArchive::Field(64); }
    // Log-in, character choice and field entry at (kX, kY) of stage 0.
    void LogIn()
    {
        Bytes record(436, 0);
        record[CharacterRecord::kHp] = 90;
        ASSERT_TRUE(LogInToField(h, kId, kX, kY, record)) << server.Failure();
    }
    bool Frames(const std::function<bool()>& pred, int n)
    {
        const uint32_t last = g_gameFrameCount + static_cast<uint32_t>(n);
        h.RunUntil([&] { return pred() || g_gameFrameCount >= last; }, 1000 * n);
        return pred();
    }
    CEffectManager& Fx() { return *g_pView->m_pEffectManager; }
    const CDamageEffect* Shown()
    {
        for (const CDamageEffect& d : Fx().Damages())
            if (d.IsActive())
                return &d;
        return nullptr;
    }
    // The share of the text's pixels, drawn at (x, y), that the presented
    // frame shows in colour 20; -1 before any frame.
    double Covered(const char* text, int x, int y)
    {
        const std::vector<uint8_t>& shown = h.Platform().video.lastPresent.pixels;
        if (shown.size() < 800u * 600u)
            return -1;
        std::vector<uint8_t> alone(800 * 600, 0);
        g_pTextLayer->SetTarget(alone.data(), 800, 600);
        g_pTextLayer->DrawTextColored(x, y, text, 20, 255, 0);
        int ink = 0, match = 0;
        for (size_t i = 0; i < alone.size(); ++i)
            if (alone[i] == 20) {
                ++ink;
                match += shown[i] == 20 ? 1 : 0;
            }
        return ink ? static_cast<double>(match) / ink : 0.0;
    }

    CHarness h{5000};
    CTestArchive archive;
    CFakeServer& server = h.Server();
};

TEST_F(EffectClient, AScriptedHitInABattleShowsItsNumberOverMe)
{
    LogIn();
    CObjLayer* layer = g_pView->m_pObjLayer;
    CCharacter* me = layer->GetMyCharacter();
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(me->GetTileX(), kX);
    // Something of the field on show: the battle's stage change ends it.
    ASSERT_NE(Fx().StartDamage(me->GetPixelX(), me->GetPixelY(), 3, 0, me), nullptr);
    ASSERT_NE(Fx().StartUseItem(me->GetPixelX(), me->GetPixelY(), 0), nullptr);
    // [27][u16][u16 battle][u16 cx][u16 cy][u16 opponent][u8 k], k participants.
    server.Send(CBattleWire()
                    .U8(27).U16(0).U16(kBattle).U16(kX).U16(kY).U16(kEnemy).U8(1)
                    .Participant(kEnemy, kX + 3, kY, 0, kEnemy, 12));
    ASSERT_TRUE(Frames([&] { return layer->m_inBattle != 0; }, 100)) << server.Failure();
    EXPECT_EQ(Fx().CountActive(), 0) << "the field's effects end with the stage change";
    CCharacter* enemy = layer->FindCharacterById(kEnemy);
    ASSERT_NE(enemy, nullptr);
    me = layer->GetMyCharacter();
    ASSERT_NE(me, nullptr);
    Frames([] { return false; }, 5);
    // The battle bar's five buttons came in with the battle.
    CWidget* bar = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(42);
    ASSERT_NE(bar, nullptr);
    for (int32_t id : {43, 44, 45, 46, 47})
        EXPECT_TRUE(bar->FindChild(id) && bar->FindChild(id)->IsOpenOrOpening()) << id;

    // Where my number shows: 90 pixels over my point, then 52 more, centred.
    int sx = 0, sy = 0;
    g_pView->m_pBGLayer->WorldToScreen(me->GetPixelX(), me->GetPixelY() - 90, sx, sy);
    ASSERT_EQ(Fx().CountActive(), 0);
    ASSERT_GE(Covered("-12", sx - 6, sy - 52), 0) << "a frame was presented";
    EXPECT_LT(Covered("-12", sx - 6, sy - 52), 1.0);

    // Sub-command 5: [u16 victim][u16 attacker][u16 x][u16 y][i16 value][i16 hp].
    server.Send(CBattleWire::Packet(
        5, CBattleWire().U16(kId).U16(kEnemy).U16(me->GetTileX()).U16(me->GetTileY()).U16(-12 & 0xFFFF).U16(78),
        kBattle));
    ASSERT_TRUE(Frames([&] { return Shown() != nullptr; }, 60));
    const CDamageEffect* number = Shown();
    EXPECT_EQ(number->GetValue(), -12);
    EXPECT_EQ(number->GetTarget(), me);
    ASSERT_TRUE(Frames([&] { return std::string(number->GetDisplayText()) == "-12"; }, 30));
    EXPECT_EQ(Covered("-12", sx - 6, sy - 52), 1.0) << "my loss, in colour 20, over me";
    EXPECT_EQ(me->GetCharRecord().I32(CharacterRecord::kHp), 78 - 12);
    // It goes within its 21 frames (the field here has no tile pictures,
    // so what it drew stays on the screen).
    ASSERT_TRUE(Frames([&] { return !number->IsActive(); }, 30));
}

}  // namespace

namespace {

constexpr int kTileColours[4] = {96, 132, 168, 204};

// The effect client's world on patterned ground (four diamonds in a pattern
// that changes from row to row), with the spells' own files and a blend
// table in which every level, colour and pixel give another result.
class SpellClient : public EffectClient {
protected:
    SpellClient() : EffectClient(SpellArchive()) {}
    static CArchiveBuilder SpellArchive()
    {
        CArchiveBuilder b = Archive();
        CTileFileBuilder tiles("arrow_s");
        for (int c : kTileColours)
            tiles.Diamond(static_cast<uint8_t>(c));
        b.Replace("arrow_s.tle", tiles.Build());
        CMapFileBuilder map(64, 64);
        map.TileName(0, "arrow_s");
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                map.Cell(x, y, kFlagGround | kFlagDrawn, 0, static_cast<uint16_t>((x + 3 * y) % 4));
        map.MapName("stage 1");
        b.Replace("1stage.map", map.Build());
        Bytes blend(8 * 256 * 256);
        for (size_t i = 0; i < blend.size(); ++i)
            blend[i] = static_cast<uint8_t>((i & 255) * 5 + (i >> 8 & 255) * 3 + (i >> 16) * 29 + 1);
        b.Replace("TransTable.tbl", blend);
        CSpellSprites::AddTo(b, SpellColours{60, 70, 80});
        return b;
    }
    // Runs to the end of the next game frame.
    void NextFrame()
    {
        const uint32_t next = g_gameFrameCount + 1;
        ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount >= next; }, 1000));
    }
    const std::vector<uint8_t>& Shown() { return h.Platform().video.lastPresent.pixels; }
    template <class Pool>
    static bool AnyActive(const Pool& pool)
    {
        return std::any_of(pool.begin(), pool.end(), [](const CEffect& e) { return e.IsActive(); });
    }
};

// Rows 60..180 of the field, where nothing but ground is drawn here,
// compared with the still frame moved up by dy rows.
bool GroundMovedBy(const std::vector<uint8_t>& shown, const std::vector<uint8_t>& still, int dy)
{
    if (shown.size() < 800u * 600u || still.size() < 800u * 600u)
        return false;
    for (int y = 60; y < 180; ++y)
        for (int x = 20; x < 780; ++x)
            if (shown[static_cast<size_t>(y * 800 + x)] != still[static_cast<size_t>((y + dy) * 800 + x)])
                return false;
    return true;
}

// Pixels of the spells' colours in the box of half-size r around (cx, cy).
int SpellPixels(const std::vector<uint8_t>& shown, int cx, int cy, int r)
{
    int n = 0;
    for (int y = std::max(cy - r, 0); y < std::min(cy + r, 600); ++y)
        for (int x = std::max(cx - r, 0); x < std::min(cx + r, 800); ++x) {
            const uint8_t p = shown[static_cast<size_t>(y * 800 + x)];
            n += p == 60 || p == 70 || p == 80 ? 1 : 0;
        }
    return n;
}

}  // namespace

TEST_F(SpellClient, HinotoriRainsFireBirdsThatShakeTheScreenBesideAHellionAndASalamander)
{
    LogIn();
    CCharacter* me = g_pView->m_pObjLayer->GetMyCharacter();
    ASSERT_NE(me, nullptr);
    for (int i = 0; i < 3; ++i)
        NextFrame();
    CBGLayer* ground = g_pView->m_pBGLayer;
    const int still = ground->GetScrollY();
    const int mx = me->GetPixelX(), my = me->GetPixelY();
    // Where each of the three is started, on the screen.
    const std::vector<std::pair<int, int>> points = {{mx, my - 20}, {mx + 160, my - 60}, {mx - 200, my + 60}};
    std::vector<int> before;
    for (const auto& [wx, wy] : points) {
        int sx = 0, sy = 0;
        ground->WorldToScreen(wx, wy, sx, sy);
        before.push_back(SpellPixels(Shown(), sx, sy, 60));
    }
    // Nothing in the game starts these three: the test does, on the
    // client's own manager, whose frame then runs them.
    ASSERT_NE(Fx().StartHinotori(mx, my, 0), nullptr);
    ASSERT_NE(Fx().StartHellion(mx + 160, my - 40, 0), nullptr);
    ASSERT_NE(Fx().StartSalamander(mx - 200, my + 60), nullptr);
    std::map<std::string, std::string> got;
    std::vector<int> shake;
    for (int frame = 1; frame <= 24; ++frame) {
        NextFrame();
        shake.push_back(ground->GetScrollY() - still);
        if (frame == 11) {
            EXPECT_TRUE(AnyActive(Fx().Fires())) << "the rain starts once step 10 is drawn";
        }
        if (frame == 4) {
            // Each of the three shows (the Salamander from the body-part
            // lists loaded at start) before the rain covers the screen.
            for (size_t i = 0; i < points.size(); ++i) {
                int sx = 0, sy = 0;
                ground->WorldToScreen(points[i].first, points[i].second, sx, sy);
                EXPECT_GT(SpellPixels(Shown(), sx, sy, 60), before[i] + 40) << "spell " << i;
            }
        }
        if (frame == 4 || frame == 14 || frame == 24)
            got["effects_spells_frame" + std::to_string(frame)] =
                GoldenHex(plat::CHeadlessVideo::Hash(Shown().data(), Shown().size()));
    }
    // The fire birds' first frame (12) starts the shake; from frame 13 it
    // moves the focus 8 up and down, four frames each way.
    EXPECT_EQ(shake, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 8, 8, -8, -8, -8, -8, 8, 8, 8, 8}));
    const CScreenShake& s = Fx().ScreenShakes()[0];
    EXPECT_TRUE(s.IsActive());
    EXPECT_EQ(s.GetAmplitude(), CEffectFire::kShakeAmplitude);
    EXPECT_EQ(s.GetDuration(), CEffectFire::kShakeFrames);

    const GoldenResult golden = CheckGoldens(got);
    if (golden.updated)
        GTEST_SKIP() << "golden hashes written";
    for (const std::string& m : golden.mismatches)
        ADD_FAILURE() << m;
}

TEST_F(SpellClient, AScreenShakeMovesTheDrawnGroundByItsAmplitude)
{
    LogIn();
    CCharacter* me = g_pView->m_pObjLayer->GetMyCharacter();
    ASSERT_NE(me, nullptr);
    h.MouseMove(790, 590);
    for (int i = 0; i < 3; ++i)
        NextFrame();
    const std::vector<uint8_t> still = Shown();
    ASSERT_NE(Fx().StartScreenShake(me->GetPixelX(), me->GetPixelY(), 8, 52), nullptr);
    // The shake moves the focus in its frame; the next frame is drawn
    // from there: 8 up for four frames, 8 down for four, ...
    std::string moves;
    for (int frame = 1; frame <= 54; ++frame) {
        NextFrame();
        moves += GroundMovedBy(Shown(), still, 8) ? '+' : GroundMovedBy(Shown(), still, -8) ? '-'
                 : GroundMovedBy(Shown(), still, 0)                                          ? '0'
                                                                                             : '?';
    }
    std::string want = "0";
    for (int c = 0; c < 52; ++c)
        want += (c & 4) ? '-' : '+';
    want += "0";
    EXPECT_EQ(moves, want);
    EXPECT_FALSE(AnyActive(Fx().ScreenShakes()));
}
