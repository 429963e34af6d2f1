// The whole client on the headless harness against the scripted server:
// logged in on stage 0, it joins a battle with one enemy; the stage change
// clears what the field was showing, the battle bar comes in, and the
// enemy's hit, sent by the server, shows its number over me on the
// presented screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/TextLayer.h"
#include "effects/EffectManager.h"
#include "fixtures/BattleWire.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "intro/IntroLayer.h"
#include "support/FakeServer.h"
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
    static CArchiveBuilder Archive() { return CIntroArchive::Field(64); }
    // Log-in, character choice and field entry at (kX, kY) of stage 0.
    void LogIn()
    {
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 2; }, 200));
        g_loginRecord.SetSlot(1, 0, "Mira", 5);
        g_selectedSlot = 1;
        auto ask = [](int f) { return Concat({U16Packet(52, kId), {static_cast<uint8_t>(f)}}); };
        auto field = [&](int f, const Bytes& payload) { return Concat({ask(f), payload}); };
        Bytes name(12, 0);
        std::copy_n("Mira", 4, name.begin());
        Bytes entered = U16Packet(3, kId);
        entered.insert(entered.end(), {0, kX, 0, kY, 0, 0, 0, 0, 0});
        Bytes record(436, 0);
        record[CharacterRecord::kHp] = 90;
        server.Expect({1}).Send(U16Packet(1, 336));
        server.Expect(Concat({{2, 1, 6}, name})).Send(U16Packet(2, kId));
        server.Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
        server.Expect(ask(50)).Send(field(50, record));
        server.Expect(Concat({ask(69), ask(68)})).Send(field(69, {0, 0, 0, 0})).Send(field(68, {0, 0, 0, 0}));
        server.Expect({3, 1, 175, 0, 42, 1}).Expect({'e', 3, kId, 0, 'e', 2, kId, 0, 'e', 4, kId, 0}).Send(entered);
        g_pView->m_pIntroLayer->m_sceneState = kSceneConnect;
        ASSERT_TRUE(Frames([] { return g_uiCreated != 0 && g_pView->m_pObjLayer->GetMyCharacter(); }, 400))
            << server.Failure();
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
    CTestArchive archive{Archive(), false};
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
