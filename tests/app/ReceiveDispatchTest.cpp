#include "app/ReceiveDispatch.h"

#include <gtest/gtest.h>

#include <string>

#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "fixtures/PacketStream.h"
#include "net/MySocket.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "fixtures/ArchiveBuilder.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "social/Ranking.h"
#include "windows/DaradirUzedo.h"
#include "world/ObjLayer.h"

namespace {

class DispatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGameGlobals();
        SetPacketSource(&src);
        view.m_pObjLayer = &layer;
        plat::SetDebugSink([this](std::string_view t) { trace.append(t); });
    }
    void TearDown() override
    {
        view.m_pObjLayer = nullptr;
        plat::SetDebugSink({});
        ResetGameGlobals();
    }
    void Feed(const std::vector<uint8_t>& bytes) { src.Append(bytes); }
    void Dispatch(const std::vector<uint8_t>& bytes)
    {
        src.Append(bytes);
        view.ReceiveDispatch();
    }
    const std::vector<plat::RecordedBox>& Boxes() const { return platform.dialogs.boxes; }
    bool ShowedString(int id) const
    {
        for (const auto& b : Boxes())
            if (b.text == GetGameString(id))
                return true;
        return false;
    }
    void EnterField() { layer.m_pMyChar = &layer.CharacterSlot(0); }

    plat::CHeadlessPlatform platform;
    // The view reads its pictures from the archive when it is made.
    CTestArchive archive{CArchiveBuilder::MinimalGame(), false};
    CQuillonView view;
    CObjLayer layer{nullptr, nullptr};
    CMemoryByteSource src;
    std::string trace;
};

std::vector<uint8_t> Version(uint16_t v) { return MakePacket(1, 2, {{1, v & 255}, {2, v >> 8}}); }
std::vector<uint8_t> PlayerId(uint16_t id) { return MakePacket(2, 2, {{1, id & 255}, {2, id >> 8}}); }
std::vector<uint8_t> Battle(uint16_t n) { return MakePacket(84, 2, {{1, n & 255}, {2, n >> 8}}); }

}  // namespace

TEST_F(DispatchTest, VersionMustBeOurs)
{
    Dispatch(Version(336));
    EXPECT_EQ(g_versionConfirmed, 1u);
    Dispatch(Version(335));  // once confirmed, later ones are ignored
    EXPECT_FALSE(IsExiting());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(trace.find("#0 receive command 1\n"), std::string::npos);
    EXPECT_NE(trace.find("#1 receive command 1\n"), std::string::npos);
}

TEST_F(DispatchTest, RankingNotFoundKeepsThePageOnShow)
{
    CDaradirUzedo ui(nullptr);
    g_layerHolder.SetLayer(&ui);
    std::vector<uint8_t> found = {110, 12};
    found.insert(found.end(), 90, 0x5A);
    Dispatch(found);
    EXPECT_EQ(g_rankingPage, 12);
    EXPECT_EQ(g_rankingEntries[89], 0x5A);
    Dispatch({110, 'e'});
    EXPECT_EQ(g_rankingPage, 12);
    for (uint8_t b : g_rankingEntries)
        ASSERT_EQ(b, 0x5A);
    g_layerHolder.SetLayer(nullptr);
    ResetRankingGlobals();
}

TEST_F(DispatchTest, WrongVersionEndsTheGame)
{
    Dispatch(Version(335));
    EXPECT_EQ(g_versionConfirmed, 0u);
    EXPECT_TRUE(ShowedString(IDS_VERSION_MISMATCH));
    EXPECT_TRUE(IsExiting());
}

TEST_F(DispatchTest, PlayerIdIsTakenOnce)
{
    Dispatch(PlayerId(0x1234));
    EXPECT_EQ(g_playerIdState, 1u);
    EXPECT_EQ(g_myId, 0x1234);
    EXPECT_EQ(layer.m_myId, 0x1234);
    EXPECT_EQ(layer.m_myId2, 0x1234);
    Dispatch(PlayerId(0));  // ignored after an id
    Dispatch(PlayerId(77));
    EXPECT_EQ(g_myId, 0x1234);
    EXPECT_TRUE(Boxes().empty());

    g_playerIdState = 0;  // as sending command 2 again does
    Dispatch(PlayerId(77));
    EXPECT_EQ(g_myId, 77);
}

TEST_F(DispatchTest, DuplicateLoginAsksThePlayer)
{
    platform.dialogs.answers = {true};
    Dispatch(PlayerId(0));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].yesNo);
    EXPECT_EQ(Boxes()[0].caption, "☞ 확인 ☜");
    EXPECT_EQ(g_playerIdState, 2u);
    EXPECT_FALSE(IsExiting());

    g_playerIdState = 0;
    platform.dialogs.answers = {false};
    Dispatch(PlayerId(0));
    EXPECT_EQ(g_playerIdState, 0u);
    EXPECT_TRUE(IsExiting());
}

TEST_F(DispatchTest, CommandsWithoutAnEntryEndTheGame)
{
    Dispatch(MakePacket(49, 9));
    EXPECT_TRUE(ShowedString(IDS_PROTOCOL_ERROR));
    EXPECT_TRUE(IsExiting());
}

TEST_F(DispatchTest, UnframedCommandsEndTheGame)
{
    Dispatch({5, 1, 2, 3});
    EXPECT_TRUE(ShowedString(IDS_PROTOCOL_ERROR));
    EXPECT_TRUE(IsExiting());
    // Nothing after the error is interpreted.
    const size_t boxes = Boxes().size();
    Dispatch(Version(335));
    EXPECT_EQ(Boxes().size(), boxes);
}

TEST_F(DispatchTest, ClosedStreamIsConnectionLost)
{
    src.SetClosed(true);
    view.ReceiveDispatch();
    EXPECT_TRUE(ShowedString(IDS_CONNECTION_LOST));
    EXPECT_TRUE(IsExiting());
}

TEST_F(DispatchTest, RemembersBattlesAndReplacesTheSmallest)
{
    const int16_t start[12] = {5, 3, 9, 12, 7, 1, 30, 22, 8, 4, 11, 6};
    for (int16_t n : start)
        Dispatch(Battle(static_cast<uint16_t>(n)));
    EXPECT_EQ(g_rememberedBattles[0], 5);
    EXPECT_EQ(g_rememberedBattles[11], 6);

    Dispatch(Battle(40000));  // compared as a negative number
    const int16_t expected[12] = {static_cast<int16_t>(40000), 3, 4, 5, 6, 7, 8, 9, 11, 12, 22, 30};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(g_rememberedBattles[static_cast<size_t>(i)], expected[i]) << "slot " << i;

    Dispatch(Battle(2));  // the negative entry is now the smallest
    EXPECT_EQ(g_rememberedBattles[0], 2);
}

TEST_F(DispatchTest, AnswersOfTheConnectSequence)
{
    Dispatch(MakePacket(50, 1, {{1, 1}}));
    EXPECT_EQ(g_readyAnswer, 1);
    Dispatch(MakePacket(50, 1, {{1, 0}}));
    EXPECT_EQ(g_readyAnswer, -1);
    Dispatch(MakePacket(106, 1, {{1, 0}}));
    EXPECT_EQ(g_colonyAnswer, -1);
    Dispatch(MakePacket(106, 1, {{1, 3}}));
    EXPECT_EQ(g_colonyAnswer, 1);
}

TEST_F(DispatchTest, LoginReplyStoresTheRecordOnSuccess)
{
    std::vector<uint8_t> ok = MakePacket(120, 2, {{1, 5}, {2, 9}}, kAccountRecordSize);
    Dispatch(ok);
    EXPECT_EQ(g_loginRecord.bytes[0], ok[3]);
    EXPECT_EQ(g_loginRecord.bytes[340], ok[343]);
    EXPECT_EQ(g_packetAssembler.Remaining(), 0);

    g_loginRecord.Clear();
    Dispatch(Concat({MakePacket(120, 2, {{1, 1}}), Version(336)}));
    EXPECT_EQ(g_loginRecord.bytes[0], 0) << "a refusal is 3 bytes and carries no record";
    view.ReceiveDispatch();
    EXPECT_EQ(g_versionConfirmed, 1u);
}

TEST_F(DispatchTest, GatedCommandsAreDroppedBeforeTheField)
{
    // Each gated command, then a packet in the same block that must still
    // dispatch correctly.
    const std::vector<std::vector<uint8_t>> gated = {
        MakePacket(7, 17, {{16, 5}}, 5), MakePacket(8, 5, {{4, 3}}, 3), MakePacket(41, 8),
        MakePacket(42, 8), MakePacket(43, 0), MakePacket(44, 0), MakePacket(45, 2, {{1, 2}}, 12),
        MakePacket(46, 4), MakePacket(47, 0), MakePacket(48, 0), MakePacket(102, 3, {{1, 1}}, 98),
    };
    uint16_t n = 100;
    for (const auto& g : gated) {
        Dispatch(Concat({g, Battle(n)}));
        view.ReceiveDispatch();
        EXPECT_EQ(g_rememberedBattles[n - 100u], n) << "after command " << int(g[0]);
        ++n;
    }
    EXPECT_FALSE(IsExiting());
}

TEST_F(DispatchTest, EveryHandlerConsumesItsPacketWhole)
{
    EnterField();
    g_versionConfirmed = 1;
    g_playerIdState = 1;
    CMemoryByteSource whole;
    whole.Append(MakeServerPacketMix());
    CPacketAssembler a;
    while (a.Assemble(whole) == CPacketAssembler::kReady) {
        const std::vector<uint8_t> p(a.Packet(), a.Packet() + a.PacketLength());
        Dispatch(p);
        // Command 120 leaves the unused byte of a refusal unread.
        const int left = p[0] == 120 ? 1 : 0;
        EXPECT_EQ(g_packetAssembler.Remaining(), left) << "command " << int(p[0]);
    }
    EXPECT_FALSE(IsExiting());
    EXPECT_TRUE(Boxes().size() == 1 && Boxes()[0].text == "암호가 변경되지 않았습니다.");
}

TEST_F(DispatchTest, ResetReplyEndsTheGame)
{
    Dispatch(MakePacket(124, 1, {{1, 0}}));
    EXPECT_FALSE(IsExiting());
    Dispatch(MakePacket(124, 1, {{1, 1}}));
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[0].text, "캐릭터가 초기화되지 않았습니다.");
    EXPECT_EQ(Boxes()[1].text, "캐릭터가 초기화 되었습니다. 게임을 종료 하겠습니다");
    EXPECT_TRUE(IsExiting());
}

TEST(ViewSenders, LoginPacketLayouts)
{
    plat::CHeadlessPlatform platform;
    // The view reads its pictures from the archive when it is made.
    CTestArchive archive{CArchiveBuilder::MinimalGame(), false};
    CQuillonView view;
    EXPECT_EQ(view.SendLogin("a", "b"), 0) << "no main socket";

    CFakeServer server;
    CMySocket sock;
    g_pMainSocket = &sock;
    ASSERT_GE(sock.Connect("127.0.0.1", server.Port()), 0);
    EXPECT_EQ(view.SendLogin("player01", "secret"), 1);
    EXPECT_EQ(view.SendCharacterName("Hero"), 1);
    uint8_t record[kAccountRecordSize];
    for (int i = 0; i < kAccountRecordSize; ++i)
        record[i] = static_cast<uint8_t>(i + 1);
    EXPECT_EQ(view.SendRegistration(record), 1);
    // A text longer than its field is cut, never written past it.
    EXPECT_EQ(view.SendLogin("averyveryverylongid", "averylongpassword"), 1);
    const size_t total = 23 + 13 + 342 + 23;
    for (int i = 0; i < 100000 && server.AllReceived().size() < total; ++i) {
        server.Pump();
        sock.Pump();
    }
    g_pMainSocket = nullptr;
    const Bytes& got = server.AllReceived();
    ASSERT_EQ(got.size(), total);

    Bytes login = {'x'};
    for (char c : std::string("player01"))
        login.push_back(static_cast<uint8_t>(c));
    login.resize(13, 0);
    for (char c : std::string("secret"))
        login.push_back(static_cast<uint8_t>(c));
    login.resize(23, 0);
    EXPECT_TRUE(Bytes(got.begin(), got.begin() + 23) == login);

    Bytes name = {'}', 'H', 'e', 'r', 'o'};
    name.resize(13, 0);
    EXPECT_TRUE(Bytes(got.begin() + 23, got.begin() + 36) == name);

    EXPECT_EQ(got[36], 'y');
    EXPECT_EQ(got[37], 1);
    EXPECT_EQ(got[36 + 341], static_cast<uint8_t>(341));

    const size_t last = 36 + 342;
    EXPECT_EQ(got[last], 'x');
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&got[last + 1])), "averyveryve");
    EXPECT_EQ(got[last + 12], 0) << "the ID field keeps its terminator";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&got[last + 13])), "averylong");
    EXPECT_EQ(got[last + 22], 0);
}
