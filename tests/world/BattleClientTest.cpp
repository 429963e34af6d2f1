// The whole client in a battle against the scripted server: logged in on
// stage 0, it joins a battle the server offers, fights and leaves it, every
// step driven by packets, keys and clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/BattleWire.h"
#include "fixtures/CreatureSet.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "support/FakeServer.h"
#include "support/FieldLogIn.h"
#include "support/FrameDriver.h"
#include "support/Harness.h"
#include "windows/DaradirUzedo.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kId = 9;
constexpr uint16_t kEnemy = 1030;
constexpr int kBattle = 501;
constexpr int kX = 20, kY = 20;

// Where a byte string first appears in another; npos when it does not.
size_t Find(const Bytes& all, const Bytes& part)
{
    const auto it = std::search(all.begin(), all.end(), part.begin(), part.end());
    return it == all.end() ? std::string::npos : static_cast<size_t>(it - all.begin());
}

class BattleClient : public testing::Test {
protected:
    static CArchiveBuilder Archive()
    {
        CArchiveBuilder b = CIntroArchive::Game();
        CObrBuilder eric("CHR");
        eric.Character("0", CObrBuilder::CharRecord("0", 0, 0, 12)).RawSet(CCreatureSet::Section("0"));
        b.Replace("eric.obr", eric.Build());
        CMapFileBuilder map(64, 64);
        map.Fill(kFlagGround | kFlagDrawn, 0, 0).MapName("stage 1");
        b.Replace("1stage.map", map.Build());
        return b;
    }
    // Log-in, character choice and field entry at (kX, kY) of stage 0.
    void LogIn(const Bytes& record = Record())
    {
        ASSERT_TRUE(LogInToField(h, kId, kX, kY, record)) << server.Failure();
        layer = g_pView->m_pObjLayer;
    }
    static Bytes Record()
    {
        Bytes record(436, 0);
        record[CharacterRecord::kHp] = 90;
        return record;
    }
    // The server takes me into battle kBattle with one enemy at (x, y).
    void JoinBattle(int enemyType, int x = kX + 3, int y = kY)
    {
        // [27][u16][u16 battle][u16 cx][u16 cy][u16 opponent][u8 k], k participants.
        server.Send(CBattleWire()
                        .U8(27).U16(0).U16(kBattle).U16(kX).U16(kY).U16(kEnemy).U8(1)
                        .Participant(kEnemy, x, y, enemyType, kEnemy, 12));
        ASSERT_TRUE(Frames([&] { return layer->m_inBattle != 0 && layer->GetMyCharacter(); }, 100))
            << server.Failure();
        ASSERT_NE(layer->FindCharacterById(kEnemy), nullptr);
    }
    bool Frames(const std::function<bool()>& pred, int n) { return drive.Frames(pred, n); }
    void Frame(int n = 1) { Frames([] { return false; }, n); }
    // Everything the client sent since the last call.
    Bytes Sent()
    {
        for (int i = 0; i < 50; ++i)
            server.Pump();
        const Bytes& all = server.AllReceived();
        Bytes out(all.begin() + static_cast<std::ptrdiff_t>(taken), all.end());
        taken = all.size();
        return out;
    }

    CHarness h{5000};
    CTestArchive archive{Archive(), false};
    CFakeServer& server = h.Server();
    CFrameDriver drive{h};
    CObjLayer* layer = nullptr;
    size_t taken = 0;
};

TEST_F(BattleClient, LeavingAWonBattleRunsItsFramesWithoutMeUntilTheEntryReply)
{
    LogIn();
    JoinBattle(0);
    CCharacter* enemy = layer->FindCharacterById(kEnemy);
    // Sub-command 6: the enemy died by my hand; the battle is won.
    server.Send(CBattleWire::Packet(6,
                                    CBattleWire().U16(kEnemy).U16(kId).U16(0).U16(0).U16(0).U8(0)
                                        .U16(12).U16(0).U16(0).U32(0).U32(0),
                                    kBattle));
    ASSERT_TRUE(Frames([&] { return layer->m_battleOver == 1; }, 60));
    EXPECT_FALSE(enemy->IsAlive());
    const int mx = layer->GetMyCharacter()->GetTileX(), my = layer->GetMyCharacter()->GetTileY();
    Sent();

    // The right click leaves: my character goes with the battle's, and the
    // frames go on without it while the server keeps silent.
    h.Click(2, 400, 200);
    ASSERT_TRUE(Frames([&] { return layer->m_stageChanging != 0; }, 5));
    Frame(120);
    EXPECT_EQ(layer->m_inBattle, 0u);
    EXPECT_EQ(layer->GetMyCharacter(), nullptr);
    EXPECT_EQ(layer->StageChange().GetState(), CStageChange::kLoad);
    const Bytes left = Sent();
    const Bytes leave = {34, kId, 0};
    Bytes enter = {3, 1};
    PutU16(enter, static_cast<uint16_t>(mx));
    PutU16(enter, static_cast<uint16_t>(my));
    ASSERT_NE(Find(left, leave), std::string::npos);
    ASSERT_NE(Find(left, enter), std::string::npos) << "asked to enter where I stood";
    EXPECT_LT(Find(left, leave), Find(left, enter));
    EXPECT_EQ(Find(Bytes(left.begin() + static_cast<std::ptrdiff_t>(Find(left, enter) + 1), left.end()), enter),
              std::string::npos)
        << "no refusal, asked once";

    // The reply comes: I stand on the field again and its frame runs.
    server.Send(EnteredReply(kId, kX, kY));
    ASSERT_TRUE(Frames([&] { return layer->GetMyCharacter() != nullptr; }, 30));
    EXPECT_EQ(layer->StageChange().GetState(), CStageChange::kIdle);
    EXPECT_EQ(layer->m_stageChanging, 0u);
    EXPECT_EQ(layer->GetMyCharacter()->GetTileX(), kX) << "where the server puts me";
    Frame(3);
    EXPECT_EQ(layer->Process(), 1);
    for (const plat::RecordedBox& box : h.Boxes())
        EXPECT_EQ(box.text, "Data file not found!") << "only the windows' missing pictures";
}

}  // namespace
