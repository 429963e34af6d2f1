// The whole client on the sample world's stage 0 in a battle the scripted
// server offers: when the field is left and when not, my own join echoed
// back, the Alt accelerator on the virtual clock, a Hide on the dead, my
// defeat's items as the server sees them and the way back to the field.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "fixtures/BattleWire.h"
#include "fixtures/SampleMonster.h"
#include "fixtures/SampleWorld.h"
#include "rules/AbilityTable.h"
#include "support/FakeServer.h"
#include "support/FieldLogIn.h"
#include "support/FrameDriver.h"
#include "support/Harness.h"
#include "support/SentPackets.h"
#include "windows/DaradirUzedo.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

using R = CharacterRecord;
using W = CBattleWire;

constexpr uint16_t kId = 9;
constexpr uint16_t kSlime = 1030, kSlime2 = 1032, kKiller = 1031, kMate = 20;
constexpr int kBattle = 501;
constexpr int kX = 175, kY = 298;
// Where the hospital's way back puts me.
constexpr int kBackX = 182, kBackY = 278;
constexpr uint8_t kCtrl = 29, kAlt = 56, kA = 30;
// The sample world's items: a sword (worn), a shield, two potions, an ether.
constexpr uint8_t kSword = 1, kShield = 2, kPotion = 3, kEther = 8;
constexpr int kWeaponSlot = 4;
// The ability window and its first row.
constexpr int kAbilityWindow = 8;
constexpr int kAbilityRowX = 528 + 28 + 10, kAbilityRowY = 75 + 5 + 6;

SentPacket Field(int field, std::initializer_list<uint8_t> payload)
{
    SentPacket p = {53, static_cast<uint8_t>(field)};
    for (uint8_t b : payload)
        p.push_back(b);
    return p;
}

class FieldBattleClient : public testing::Test {
protected:
    CCharacter* Me() { return layer->GetMyCharacter(); }
    void CtrlKey(uint8_t key)
    {
        h.KeyDown(kCtrl);
        h.KeyDown(key);
        Frames([] { return false; }, 2);
        h.KeyUp(key);
        h.KeyUp(kCtrl);
        Frames([] { return false; }, 1);
    }
    // The right button closes the top window first; on the field it acts.
    bool RightClickUntil(const std::function<bool()>& pred)
    {
        for (int i = 0; i < 4 && !pred(); ++i) {
            h.Click(2, 400, 200);
            Frames(pred, 3);
        }
        return pred();
    }
    // A left click at a screen point once the cursor has come there.
    void ClickAt(int x, int y)
    {
        h.MouseMove(x, y);
        Frames([] { return false; }, 1);
        h.RunForMs(300);
        h.Click(1, x, y);
        Frames([] { return false; }, 2);
    }
    bool Frames(const std::function<bool()>& pred, int n) { return drive.Frames(pred, n); }
    // What the client handed its socket since the last call, kept in all.
    std::vector<SentPacket> Sent()
    {
        std::vector<SentPacket> got = TakeSentPackets();
        all.insert(all.end(), got.begin(), got.end());
        return got;
    }
    static long Count(const std::vector<SentPacket>& sent, uint8_t command)
    {
        return std::count_if(sent.begin(), sent.end(),
                             [command](const SentPacket& p) { return !p.empty() && p[0] == command; });
    }

    CHarness h{5000};
    CTestArchive archive{CSampleWorld::Builder(), false};
    CFakeServer& server = h.Server();
    CFrameDriver drive{h};
    CObjLayer* layer = nullptr;
    std::vector<SentPacket> all;
};

}  // namespace

TEST_F(FieldBattleClient, OneLeaveEachWayMyEchoIsNoFighterAltAArmsAndMyDefeatReportsEverySlot)
{
    Bytes record(436, 0);
    record[R::kHp] = 90;
    record[R::kLevel] = 5;
    for (size_t off : {R::kWisdom, R::kStrength, R::kConstitution, R::kAgility, R::kCourage})
        record[off] = 20;
    record[R::kMoney] = 200;
    record[R::kEquipment + 2 * kWeaponSlot] = kSword;
    const uint8_t items[] = {kPotion, kShield, kEther, kPotion};
    for (size_t i = 0; i < std::size(items); ++i)
        record[R::kItems + 2 * i] = items[i];
    ASSERT_TRUE(LogInToField(h, kId, kX, kY, record)) << server.Failure();
    layer = g_pView->m_pObjLayer;
    TakeSentPackets();

    // I lead a group of my own (its first member is me).
    Bytes group = {61};
    PutU16(group, kId);
    PutU16(group, kId);
    group.insert(group.end(), 10, 0);
    server.Send(group);
    ASSERT_TRUE(Frames([&] { return layer->m_groupHeader[1] == kId; }, 30));

    // The server takes me into a battle with three slimes and another
    // player: the field is left once.
    server.Send(W().U8(27).U16(0).U16(kBattle).U16(kX).U16(kY).U16(kSlime).U8(4)
                    .Participant(kSlime, 171, 304, CSampleMonster::kKind, kSlime, 5)
                    .Participant(kSlime2, 173, 304, CSampleMonster::kKind, kSlime, 5)
                    .Participant(kKiller, 172, 304, CSampleMonster::kKind, kSlime, 5)
                    .Participant(kMate, 177, 296, 3, kMate, 5));
    ASSERT_TRUE(Frames([&] { return layer->m_inBattle != 0 && Me(); }, 100)) << server.Failure();
    CCharacter* slime = layer->FindCharacterById(kSlime);
    CCharacter* slime2 = layer->FindCharacterById(kSlime2);
    CCharacter* mate = layer->FindCharacterById(kMate);
    ASSERT_TRUE(slime && slime2 && mate && layer->FindCharacterById(kKiller));
    EXPECT_EQ(Count(Sent(), 5), 1);
    const int mx = Me()->GetTileX(), my = Me()->GetTileY();

    // PowerBreak chosen on the action page (Ctrl+A, its first row), then
    // Alt+A, pressed right after a frame, is still down when the next frame
    // runs: the attack category is armed as by the ATTACK button.
    CtrlKey(kA);
    ASSERT_TRUE(Frames([] { return g_layerHolder.GetLayer()->IsWindowOpen(kAbilityWindow); }, 120));
    Frames([] { return false; }, 60);
    ClickAt(kAbilityRowX, kAbilityRowY);
    ASSERT_EQ(Me()->GetAbilitySet().GetCurrentId(1), kAbilityPowerBreak);
    ASSERT_TRUE(RightClickUntil([] { return !g_layerHolder.GetLayer()->IsWindowOpen(kAbilityWindow); }));
    ASSERT_EQ(Me()->GetAbilitySet().GetSelectedCategory(), 0);
    ASSERT_TRUE(drive.NextFrame());
    const uint32_t frames = g_gameFrameCount;
    h.KeyDown(kAlt);
    h.KeyDown(kA);
    h.Step();
    h.KeyUp(kA);
    h.KeyUp(kAlt);
    h.Step();
    ASSERT_EQ(g_gameFrameCount, frames) << "pressed and released between frames";
    EXPECT_TRUE(Frames([&] { return Me()->GetAbilitySet().GetSelectedCategory() == 1; }, 3));

    // The slimes fall to me, and between them my own join comes back into
    // the first one's free slot: I am no fighter of my own battle, so each
    // brings the whole reward, as to a fighter alone.
    auto killed = [&](uint16_t id) {
        return W::Packet(6, W().U16(id).U16(kId).U16(50).U16(100).U16(0).U8(0).U16(5).U16(0).U16(0).U32(0).U32(0),
                         kBattle);
    };
    server.Send(killed(kSlime));
    ASSERT_TRUE(Frames([&] { return !slime->IsAlive(); }, 30));
    server.Send(W::Packet(1, W().Participant(kId, mx, my, 0, kId, 5), kBattle));
    Frames([] { return false; }, 3);
    for (const BattleParticipant& p : layer->m_participants)
        EXPECT_NE(p.id, kId);
    Sent();
    server.Send(killed(kSlime2));
    ASSERT_TRUE(Frames([&] { return !slime2->IsAlive(); }, 30));
    const int gained = 2 * 100;
    std::vector<SentPacket> sent = Sent();
    EXPECT_NE(std::find(sent.begin(), sent.end(), Field(19, {gained, 0, 0, 0})), sent.end());
    constexpr int kMoney = 200 + 2 * 50;
    EXPECT_NE(std::find(sent.begin(), sent.end(), Field(30, {kMoney & 0xFF, kMoney >> 8, 0, 0})), sent.end());

    // The other player hides the dead slime: no one is hidden or told.
    ASSERT_EQ(layer->FindCharacterById(kSlime), slime);
    server.Send(W::Packet(29, W().U16(kMate).U16(kSlime), kBattle));
    ASSERT_TRUE(Frames([&] { return mate->GetAction() == CCreature::orderAbility; }, 10));
    ASSERT_TRUE(Frames([&] { return mate->GetAction() != CCreature::orderAbility; }, 60));
    EXPECT_FALSE(slime->IsHidden());
    EXPECT_EQ(Count(Sent(), 36), 0);

    const int level = Me()->GetCharRecord().I32(R::kLevel);
    // The other slime kills me: the worn sword, then every held slot from
    // the last, then the lost ids leave the list one by one, the last item
    // filling each gap; the battle end lists them.
    server.Send(W::Packet(5, W().U16(kId).U16(kKiller).U16(mx).U16(my).U16(-300 & 0xFFFF).U16(0), kBattle));
    ASSERT_TRUE(Frames([&] { return layer->m_battleOver == 2; }, 60));
    sent = Sent();
    SentPacket end = {30, 0, kBattle & 0xFF, kBattle >> 8, 6, 25 + 2 * 5, 0};
    for (int v : {static_cast<int>(kId), static_cast<int>(kKiller), 0, 0, 0})
        PutU16(end, static_cast<uint16_t>(v));
    end.push_back(5);
    for (int v : {level, 0, 0})
        PutU16(end, static_cast<uint16_t>(v));
    PutU32(end, 0);
    PutU32(end, static_cast<uint32_t>(gained));
    for (int id : {kSword, kPotion, kEther, kShield, kPotion})
        PutU16(end, static_cast<uint16_t>(id));
    const std::vector<SentPacket> defeat = {
        Field(53, {kWeaponSlot, 0, 0}),
        Field(51, {3, kPotion, 0}), Field(51, {2, kEther, 0}), Field(51, {1, kShield, 0}), Field(51, {0, kPotion, 0}),
        Field(52, {0, kPotion, 0, 3, 0, 0}), Field(52, {2, 0, 0, 2, 0, 0}), Field(52, {1, 0, 0, 1, 0, 0}),
        Field(52, {0, 0, 0, 0, 0, 0}),
        Field(9, {20, 0, 0, 0}),
        end,
    };
    const auto first = std::find(sent.begin(), sent.end(), defeat.front());
    ASSERT_NE(first, sent.end());
    EXPECT_EQ(std::vector<SentPacket>(first, first + std::min<std::ptrdiff_t>(sent.end() - first, 11)), defeat);
    for (int i = 0; i < R::kItemSlots; ++i)
        EXPECT_EQ(Me()->GetCharRecord().Item(i), 0) << i;

    // The right click takes me out to the hospital's stage (each click
    // first closes a window still open): the field was left with the
    // battle, so no second leave goes out.
    ASSERT_TRUE(RightClickUntil([&] { return layer->m_stageChanging != 0; }));
    SentPacket enter = {3, 1, kBackX, 0, kBackY & 0xFF, kBackY >> 8};
    ASSERT_TRUE(Frames([&] {
        const std::vector<SentPacket> now = Sent();
        return std::find(now.begin(), now.end(), enter) != now.end();
    }, 200));
    EXPECT_EQ(layer->m_inBattle, 0u);
    server.Send(EnteredReply(kId, kBackX, kBackY));
    ASSERT_TRUE(Frames([&] { return Me() && layer->m_stageChanging == 0; }, 60));
    const size_t back = all.size();

    // Ctrl+Alt: one leave at the exit, two in all.
    h.KeyDown(kCtrl);
    h.KeyDown(kAlt);
    h.Step();
    ASSERT_TRUE(IsExiting());
    sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), (SentPacket{5, kId, 0}));
    EXPECT_EQ(Count(sent, 5), 1);
    EXPECT_EQ(Count(std::vector<SentPacket>(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(back)), 5), 1)
        << "from the battle's entry to the way back";
}
