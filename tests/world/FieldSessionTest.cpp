// The whole client from the log-in screen onto stage 0 against the scripted
// server: log in, play a slot, connect, stand; others appear, walk and
// leave; a click on the ground walks me there, each step told to the
// server. The presented field frame is pinned by a golden hash (regenerate
// with QUORVEL_UPDATE_GOLDEN=1).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "fixtures/CreatureSet.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/WidgetSprites.h"
#include "intro/IntroLayer.h"
#include "support/FakeServer.h"
#include "support/FrameDriver.h"
#include "support/Golden.h"
#include "support/Harness.h"
#include "windows/WindowTable.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"
#include "audio/MusicPlayer.h"
#include "world/StageLoader.h"
#include "world/StageTables.h"
#include "world/ObrEntry.h"

namespace {

constexpr uint16_t kId = 7;
constexpr uint8_t kTab = 15;
constexpr uint8_t kEnter = 28;
constexpr int kStartX = 175, kStartY = 298;

Bytes Name12(const char* name)
{
    Bytes b(12, 0);
    for (size_t i = 0; i < 11 && name[i]; ++i)
        b[i] = static_cast<uint8_t>(name[i]);
    return b;
}

Bytes Request(int field) { return Concat({U16Packet(52, kId), {static_cast<uint8_t>(field)}}); }
Bytes FieldReply(int field, const Bytes& payload) { return Concat({Request(field), payload}); }

// Commands 3 and 4: [cmd][u16 id][u8][u16 x][u16 y][u16 type][u8 speed][u8 look].
Bytes Presence(int cmd, int id, int x, int y)
{
    Bytes b = U16Packet(static_cast<uint8_t>(cmd), static_cast<uint16_t>(id));
    b.push_back(0);
    PutU16(b, static_cast<uint16_t>(x));
    PutU16(b, static_cast<uint16_t>(y));
    PutU16(b, 0);
    b.insert(b.end(), {0, 0});
    return b;
}

// A record of commands 10 and 12: [u16 id][u16 x][u16 y][u16 type][u8 speed][u8 look].
Bytes Record(int id, int x, int y)
{
    Bytes b;
    for (int v : {id, x, y, 0})
        PutU16(b, static_cast<uint16_t>(v));
    b.insert(b.end(), {0, 0});
    return b;
}

// An archive whose kind 0 has drawable creature frames and whose stage 0
// is open ground large enough for every start cell.
CArchiveBuilder SessionArchive()
{
    CArchiveBuilder b = CIntroArchive::Game(800, 600);
    CObrBuilder chr("CHR");
    chr.Character("0", CObrBuilder::CharRecord("0", 0, 0, 10, "eric")).RawSet(CCreatureSet::Section("0"));
    b.Replace("eric.obr", chr.Build());
    CMapFileBuilder map(360, 360);
    map.Fill(kFlagGround | kFlagDrawn, 0, 0).MapName("stage 1");
    b.Replace("1stage.map", map.Build());
    // The in-game windows' own pictures, built on the field's first frame
    // (their buttons' pictures are not here: the archive's box says so).
    for (const SWindowRow& row : WindowTable())
        if (row.sprite && row.sprite[0])
            b.Replace(row.sprite, CWidgetSprites::File(4, 32, 32, 7));
    return b;
}

class FieldSession : public testing::Test {
protected:
    void NextFrame() { ASSERT_TRUE(drive.NextFrame()); }
    bool Frames(const std::function<bool()>& pred, int limit = 300) { return drive.Frames(pred, limit); }
    // Everything the client has sent lands at the server.
    void Settle()
    {
        for (int i = 0; i < 3; ++i)
            NextFrame();
        for (int i = 0; i < 200; ++i)
            server->Pump();
    }
    // The bytes received since the last call that no script step took.
    Bytes NewBytes()
    {
        const Bytes& all = server->Unmatched();
        Bytes out(all.begin() + static_cast<std::ptrdiff_t>(taken), all.end());
        taken = all.size();
        return out;
    }
    CCharacter* Find(int id) { return g_pView->m_pObjLayer->FindCharacterById(id); }

    CTestArchive archive{SessionArchive(), false};
    CHarness h{5000};
    CFrameDriver drive{h};
    CFakeServer* server = &h.Server();
    size_t taken = 0;
};

}  // namespace

TEST_F(FieldSession, LogInStandOnStageZeroMeetOthersAndWalkWhereClicked)
{
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 100));
    ASSERT_TRUE(Frames([] { return g_pView->m_pIntroLayer->m_sceneState == kSceneLogin; }));
    CIntroLayer* intro = g_pView->m_pIntroLayer;
    CObjLayer* layer = g_pView->m_pObjLayer;

    // The log-in form, the accepted account with one playable slot.
    AccountRecord account;
    account.SetI16(AccountRecord::kLevel, 1);
    account.SetSlot(1, 0, "Eric", 5);
    Bytes accepted = {120, 5, 0};
    accepted.insert(accepted.end(), account.bytes.begin(), account.bytes.end());
    // [120][ID, 12 bytes][password, 10 bytes]
    const Bytes login = Concat({{120}, Name12("eric"), {'p', 'w', 0, 0, 0, 0, 0, 0, 0, 0}});
    server->Expect(login).Send(accepted);
    drive.Type("eric");
    drive.Key(kTab);
    drive.Type("pw");
    drive.Key(kEnter);
    ASSERT_TRUE(Frames([&] { return intro->m_sceneState == kSceneCharacter; })) << server->Failure();

    // Slot 1 played: the connect sequence hands over to stage 0.
    Bytes record(436, 0);
    record[CharacterRecord::kHp] = 90;
    record[CharacterRecord::kLevel] = 5;
    server->Expect({1}).Send(U16Packet(1, 336));
    server->Expect(Concat({{2, 1, 6}, Name12("Eric")})).Send(U16Packet(2, kId));
    server->Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
    server->Expect(Request(50)).Send(FieldReply(50, record));
    server->Expect(Concat({Request(69), Request(68)}))
        .Send(FieldReply(69, {0, 0, 0, 0}))
        .Send(FieldReply(68, {0, 0, 0, 0}));
    server->Expect({3, 1, kStartX, 0, 42, 1}).Expect({'e', 3, kId, 0, 'e', 2, kId, 0, 'e', 4, kId, 0});
    server->Send(Presence(3, kId, kStartX, kStartY));
    drive.Click(150, 440);  // slot 1's OK
    ASSERT_TRUE(Frames([&] { return intro->m_sceneState == kSceneInWorld; }))
        << "connect step " << g_connectStep << ": " << server->Failure();
    ASSERT_TRUE(Frames([&] { return layer->GetMyCharacter() != nullptr; }));
    CCharacter* me = layer->GetMyCharacter();
    EXPECT_EQ(g_lastLoadedStage, 0);
    EXPECT_EQ(layer->GetMapName(), "stage 1");
    EXPECT_EQ(me->GetServerId(), kId);
    EXPECT_EQ(me->GetTileX(), kStartX);
    EXPECT_EQ(me->GetTileY(), kStartY);
    EXPECT_EQ(layer->GetObjectCell(kStartX, kStartY), me->GetHandle());
    EXPECT_EQ(layer->StageChange().GetState(), CStageChange::kIdle);
    EXPECT_EQ(layer->Process(), 1) << "the field runs its frame";
    Settle();
    ASSERT_TRUE(server->ScriptDone()) << server->Failure();
    // Asked once in the world, and my speed class told.
    EXPECT_EQ(NewBytes(), Concat({Request(63), Request(37), {53, 24, 7, 0, 0, 0}}));

    // Two others: one appears (4), one comes with the area (10); the first
    // walks (12); the second leaves (6); records off the map and a command
    // 6 for me change nothing.
    server->Send(Presence(4, 30, 178, 298));
    Bytes area = {10};
    PutU16(area, kStartX);
    PutU16(area, kStartY);
    PutU16(area, 2);
    area = Concat({area, Record(31, 172, 300), Record(32, 172, 360)});
    server->Send(area);
    server->Send(Presence(4, 33, 400, 10));
    ASSERT_TRUE(Frames([&] { return Find(30) && Find(31); }));
    EXPECT_EQ(Find(32), nullptr) << "off the map";
    EXPECT_EQ(Find(33), nullptr) << "off the map";
    EXPECT_EQ(Find(30)->GetTileX(), 178);
    EXPECT_EQ(Find(31)->GetTileY(), 300);
    server->Send(Concat({{12}, Record(30, 182, 298)}));
    server->Send(Concat({{12}, Record(31, 172, 400)}));
    server->Send(U16Packet(6, kId));
    ASSERT_TRUE(Frames([&] { return Find(30)->GetTileX() == 182; }));
    EXPECT_EQ(Find(30)->GetTileY(), 298);
    EXPECT_EQ(layer->GetObjectCell(182, 298), Find(30)->GetHandle());
    EXPECT_EQ(Find(31)->GetTileY(), 300) << "a move off the map is ignored";
    EXPECT_EQ(layer->GetMyCharacter(), me) << "command 6 for me";
    EXPECT_TRUE(me->IsActive());
    server->Send(U16Packet(6, 31));
    ASSERT_TRUE(Frames([&] { return Find(31) == nullptr; }));
    EXPECT_EQ(layer->GetObjectCell(172, 300), 0u);

    // A left click on the ground three cells down and right: I walk there,
    // each step sent as [10][u16 x][u16 y].
    CBGLayer* ground = g_pView->m_pBGLayer;
    int px = 0, py = 0, sx = 0, sy = 0, tx = -1, ty = -1;
    CBGLayer::TileToPixel(kStartX + 3, kStartY + 3, px, py);
    ground->WorldToScreen(px + 32, py + 16, sx, sy);
    ground->ScreenToTile(sx, sy, tx, ty);
    ASSERT_EQ(tx, kStartX + 3);
    ASSERT_EQ(ty, kStartY + 3);
    Settle();
    NewBytes();
    drive.Click(sx, sy);
    ASSERT_TRUE(Frames([&] { return me->GetTileX() == kStartX + 3 && me->GetTileY() == kStartY + 3; }));
    ASSERT_TRUE(Frames([&] { return me->GetOrder() == CCreature::orderStand; }));
    Settle();
    Bytes steps;
    for (int i = 1; i <= 3; ++i) {
        steps.push_back(10);
        PutU16(steps, static_cast<uint16_t>(kStartX + i));
        PutU16(steps, static_cast<uint16_t>(kStartY + i));
    }
    EXPECT_EQ(NewBytes(), steps);
    EXPECT_EQ(layer->GetObjectCell(kStartX, kStartY), 0u);
    for (const plat::RecordedBox& box : h.Boxes())
        EXPECT_EQ(box.text, "Data file not found!") << "only the windows' missing pictures";

    std::map<std::string, std::string> got;
    got["field_stage0"] = GoldenHex(h.Platform().video.lastPresent.hash);
    const GoldenResult golden = CheckGoldens(got);
    if (golden.updated)
        GTEST_SKIP() << "golden hashes written";
    for (const std::string& m : golden.mismatches)
        ADD_FAILURE() << m;
}

TEST(StageLoad, EachStageReadsItsTilesAndObjectsInTableOrder)
{
    // Every stage object file holds one building named after the file.
    CArchiveBuilder b = CIntroArchive::Game();
    for (int stage = 0; stage < kStageTableCount; ++stage)
        for (const std::string& path : StageObjectFiles(stage)) {
            const std::string name = path.substr(5), base = name.substr(0, name.size() - 4);
            CObrBuilder bld("BLD");
            bld.Building(base, "s").ItemSet("s", 1, 1, {0}, {0});
            b.Replace(name, bld.Build());
        }
    CTestArchive archive(b, false);
    CHarness h{5000};
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_firstFrameDone != 0; }));
    CObjLayer* layer = g_pView->m_pObjLayer;
    CBGLayer* ground = g_pView->m_pBGLayer;
    for (int stage : {3, 0, 6, 1, 2, 4, 5}) {
        SCOPED_TRACE(stage);
        ASSERT_EQ(LoadStage(stage), 1);
        const std::vector<std::string> tiles = StageTileFiles(stage), objects = StageObjectFiles(stage);
        EXPECT_EQ(ground->GetTileSetCount(), static_cast<int>(tiles.size())) << "nothing kept from the last stage";
        for (const std::string& path : tiles) {
            // The set's name is the file's without "data\" and extension.
            const std::string name = path.substr(5, path.find('.') - std::min(path.find('.'), size_t{5}));
            EXPECT_NE(ground->FindTileSet(name), nullptr) << name;
        }
        ASSERT_EQ(layer->GetBuildingEntryCount(), static_cast<int>(objects.size()));
        for (size_t i = 0; i < objects.size(); ++i) {
            const std::string name(layer->GetBuildingEntry(static_cast<int>(i))->GetName());
            EXPECT_EQ("data\\" + name + ".obr", objects[i]) << i;
        }
        EXPECT_EQ(g_musicPlayer.GetFileName(), StageMusic(stage == 3 ? 1 : stage));
        EXPECT_EQ(g_lastLoadedStage, stage);
    }
    EXPECT_EQ(LoadStage(7), 0);
    EXPECT_EQ(g_lastLoadedStage, 5) << "refused before anything is read";
    EXPECT_EQ(layer->GetBuildingEntryCount(), static_cast<int>(StageObjectFiles(5).size()));
    EXPECT_TRUE(h.Boxes().empty());
}
