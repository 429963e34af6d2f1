// The colony's messages byte for byte, and command 102 through the framing
// and the dispatcher: the colony saved to the server comes back the same.
#include <string>

#include "app/ReceiveDispatch.h"
#include "colony/ProfileTextView.h"
#include "colony/SimCursor.h"
#include "ColonyTestSupport.h"

namespace {

using Packets = std::vector<SentPacket>;

struct ObjectState {
    int type, x, y, start, active;
    bool operator==(const ObjectState&) const = default;
};

// What the server keeps of a colony.
struct SavedColony {
    std::vector<ObjectState> objects;
    std::array<int32_t, CSimColony::kCubeSlots> cubes;
    int32_t value, rate, wood, stone, iron, crystal;
    bool operator==(const SavedColony&) const = default;
};

SavedColony Save()
{
    SavedColony s{};
    for (CSimMapObject* o : g_simColony) {
        if (o->m_type == kSimCursorType)
            continue;
        const CSimFacility* f = o->AsFacility();
        s.objects.push_back({o->m_type, o->m_x, o->m_y, f ? f->m_start : 0, f ? f->m_active : 0});
    }
    s.cubes = g_simColony.m_cubes;
    s.value = g_simColony.m_colonyValue;
    s.rate = g_simColony.m_rate;
    s.wood = g_simColony.m_wood;
    s.stone = g_simColony.m_stone;
    s.iron = g_simColony.m_iron;
    s.crystal = g_simColony.m_crystal;
    return s;
}

Bytes Record8(int type, int x, int y, int start, int active)
{
    Bytes b = {static_cast<uint8_t>(type)};
    PutU16(b, static_cast<uint16_t>(x));
    PutU16(b, static_cast<uint16_t>(y));
    PutU16(b, static_cast<uint16_t>(start));
    b.push_back(static_cast<uint8_t>(active));
    return b;
}

// Sub 3's payload: u16 length, then the bytes.
Bytes List(const Bytes& records, int length = -1)
{
    Bytes b;
    PutU16(b, static_cast<uint16_t>(length < 0 ? records.size() : static_cast<size_t>(length)));
    b.insert(b.end(), records.begin(), records.end());
    return b;
}

// A new colony's twelve features.
Bytes Features()
{
    Bytes b;
    for (int kind = 0; kind < 3; ++kind)
        for (int i = 0; i < 4; ++i)
            b = Concat({b, Record8(kSimRock + kind, 15 + i, -20 + 10 * kind, 0, 0)});
    return b;
}

class FakeProfileView : public IProfileTextView {
public:
    FakeProfileView() { SetProfileTextView(this); }
    ~FakeProfileView() override { SetProfileTextView(nullptr); }
    void SetProfileText(const char* text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class ColonyMessages : public ColonyTest {
protected:
    ColonyMessages()
    {
        g_myId = 0x0107;
        EnterField();
    }
};

TEST_F(ColonyMessages, AColonySavedToTheServerComesBackTheSame)
{
    g_simColony.Reset(11);
    g_simColony.m_wood = 70000;  // travels as its low 16 bits
    g_simColony.m_rate = 45;
    g_simColony.m_colonyValue = -5;
    g_simColony.m_cubes[7] = 2;
    const SavedColony before = Save();

    // The server has no colony stored: ours goes up and is asked back.
    Receive(Colony102(3, List({})));
    const Packets sent = TakeSentPackets();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0].size(), 116u);
    EXPECT_EQ(Bytes(sent[0].begin(), sent[0].begin() + 4), (Bytes{'d', 3, 112, 0}));
    EXPECT_EQ(sent[1].size(), 22u);
    EXPECT_EQ(sent[1][0], 'd');
    EXPECT_EQ(sent[1][9], 2);
    EXPECT_EQ(sent[1][21], 255);
    EXPECT_EQ(sent[2], (SentPacket{'d', 2, 0xFB, 0xFF, 0xFF, 0xFF, 45, 0x70, 0x11, 100, 0, 100, 0, 0, 0}));
    EXPECT_EQ(sent[3], (SentPacket{'e', 3, 0x07, 0x01}));
    EXPECT_EQ(sent[4], (SentPacket{'e', 2, 0x07, 0x01}));
    EXPECT_EQ(sent[5], (SentPacket{'e', 4, 0x07, 0x01}));

    // A different colony meanwhile; the server answers with what it stored,
    // the payloads of the uploads.
    g_simColony.Reset(12);
    g_simColony.m_wood = 1;
    g_simCursor.SetPickedFacility(FirstOfType(kSimHeadquarters));
    for (const SentPacket& p : {sent[0], sent[2], sent[1]})
        Receive(Colony102(p[1], Bytes(p.begin() + 2, p.end())));
    SavedColony after = Save();
    SavedColony expected = before;
    expected.wood = 70000 & 0xFFFF;
    EXPECT_EQ(after, expected);
    // The rebuilt list is complete: nothing more goes up.
    EXPECT_TRUE(TakeSentPackets().empty());
    ASSERT_NE(g_simColony.m_cursorFacility, nullptr);
    EXPECT_EQ(g_simCursor.GetPickedFacility()->m_type, 0) << "the old objects are gone";
    for (CSimMapObject* o : g_simColony) {
        if (const CSimFacility* f = o->AsFacility()) {
            EXPECT_EQ(f->m_overlay, CSimFacility::kNoOverlay);
        }
    }

    // One more facility: the whole list no longer goes up.
    for (int x = -20; x <= 20 && CountTyped() == 14; ++x) {
        g_simColony.m_cursorFacility->m_x = x;
        g_simColony.m_cursorFacility->m_y = 9;
        if (g_simColony.CheckPlacement(x, 9) == CSimColony::kPlaceValid) {
            ASSERT_EQ(g_simColony.PlaceBuilding(), 1);
        }
    }
    EXPECT_EQ(CountTyped(), 15);
    TakeSentPackets();
    g_simColony.SendFacilities();
    EXPECT_TRUE(TakeSentPackets().empty());
}

TEST_F(ColonyMessages, AListWithoutHeadquartersOrEdgeIsMendedAndUploaded)
{
    // Features and the edge facility: the headquarters is added at (0, 0)
    // and the list, now a new colony's, goes up.
    Receive(Colony102(3, List(Concat({Features(), Record8(kSimEdgeFacility, -7, 3, 0, 1)}))));
    EXPECT_EQ(CountTyped(), 14);
    const CSimFacility* hq = FirstOfType(kSimHeadquarters);
    ASSERT_NE(hq, nullptr);
    EXPECT_EQ(hq->m_x, 0);
    EXPECT_EQ(hq->m_y, 0);
    EXPECT_EQ(hq->IsActive(), 1);
    Packets sent = TakeSentPackets();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 116u);

    // No edge facility and one more facility: the edge goes on its ring and
    // nothing is uploaded (15 objects).
    Receive(Colony102(3, List(Concat({Features(), Record8(kSimHeadquarters, 0, 0, 0, 1), Record8(2, 9, 9, 7, 1)}))));
    EXPECT_EQ(CountTyped(), 15);
    const CSimFacility* edge = FirstOfType(kSimEdgeFacility);
    ASSERT_NE(edge, nullptr);
    EXPECT_TRUE(std::abs(edge->m_x) == 7 || std::abs(edge->m_y) == 7);
    EXPECT_TRUE(TakeSentPackets().empty());
    // Sorted after the additions.
    int last = -99999;
    for (CSimMapObject* o : g_simColony) {
        EXPECT_GE(o->DepthKey(), last);
        last = o->DepthKey();
    }
}

TEST_F(ColonyMessages, BadRecordsAndLengthsAreSkippedAndThePacketConsumed)
{
    const SavedColony fresh = Save();
    // Too long for the receive buffer: refused whole.
    Receive(Colony102(3, List(Bytes(4000, 1))));
    EXPECT_EQ(Save(), fresh);
    EXPECT_EQ(src.Available(), 0u);

    // Types that are no map object are skipped; a remainder short of a
    // record is read and ignored.
    Bytes records = Concat({Record8(0, 8, 8, 0, 1), Record8(62, 9, 9, 0, 1), Record8(65, 10, 10, 0, 1),
                            Record8(66, 11, 11, 0, 1), Record8(200, 12, 12, 0, 1), Record8(5, -9, 4, 0, 0),
                            Record8(kSimLava, 20, 20, 77, 1), {1, 2, 3, 4}});
    Receive(Colony102(3, List(records)));
    std::vector<int> types;
    for (CSimMapObject* o : g_simColony)
        types.push_back(o->m_type);
    // College, headquarters, edge facility, lava and the cursor's facility,
    // each once.
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, (std::vector<int>{0, 5, kSimHeadquarters, kSimEdgeFacility, kSimLava}));
    EXPECT_EQ(FirstOfType(5)->IsActive(), 0);

    // An unknown sub-code reads nothing more; the next packet is whole.
    const SavedColony now = Save();
    Receive({102, 9, 0, 0});
    EXPECT_EQ(Save(), now);
    Receive(Colony102(4, Bytes(20, 3)));
    EXPECT_EQ(g_simColony.m_cubes[19], 3);

    // With the player's character off the field the command is dropped.
    world.Layer().m_pMyChar = nullptr;
    Receive(Colony102(4, Bytes(20, 1)));
    EXPECT_EQ(g_simColony.m_cubes[0], 3);
    EXPECT_EQ(src.Available(), 0u);
}

TEST_F(ColonyMessages, CubesResourcesAndTheGreetingArrive)
{
    Bytes cubes = {255, 4, 7, 0, 5, 254, 1, 2, 3};
    cubes.resize(20, 255);
    Receive(Colony102(4, cubes));
    const std::array<int32_t, 9> expected = {-1, 4, -1, 0, -1, -1, 1, 2, 3};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(g_simColony.m_cubes[i], expected[i]) << "slot " << i;

    Receive(Colony102(2, {0x10, 0x27, 0, 0, 80, 0xFF, 0xFF, 1, 0, 0, 1, 2, 0}));
    EXPECT_EQ(g_simColony.m_colonyValue, 10000);
    EXPECT_EQ(g_simColony.m_rate, 80);
    EXPECT_EQ(g_simColony.m_wood, 65535);
    EXPECT_EQ(g_simColony.m_stone, 1);
    EXPECT_EQ(g_simColony.m_iron, 256);
    EXPECT_EQ(g_simColony.m_crystal, 2);

    FakeProfileView view;
    Bytes text(100, 'A');
    Receive(Colony102(1, text));
    ASSERT_EQ(view.shown.size(), 1u);
    EXPECT_EQ(view.shown[0], std::string(25, 'A'));
    EXPECT_STREQ(g_simColony.m_profileText.data(), std::string(25, 'A').c_str());
}

TEST_F(ColonyMessages, StartsKeepTheirAgeAcrossTheSixteenBitWrap)
{
    SetGameTime(70000);
    // 70000 is 4464 in the low bits.
    Receive(Colony102(3, List(Concat({Record8(1, 8, 0, 4464, 1), Record8(3, 0, 8, 4400, 1), Record8(8, 9, 9, 5000, 1),
                                      Record8(kSimHeadquarters, 0, 0, 0, 1)}))));
    EXPECT_EQ(FirstOfType(1)->m_start, 70000);
    EXPECT_EQ(FirstOfType(1)->GetProgress(), 0);
    EXPECT_EQ(FirstOfType(3)->m_start, 69936);
    EXPECT_EQ(FirstOfType(3)->GetProgress(), 26);
    // Low bits above now's: started before the last wrap.
    EXPECT_EQ(FirstOfType(8)->m_start, 5000);
    EXPECT_EQ(FirstOfType(8)->GetProgress(), 27083);
    EXPECT_EQ(FirstOfType(kSimHeadquarters)->GetProgress(), 100);
    // Early in the game nothing changes.
    SetGameTime(300);
    Receive(Colony102(3, List(Record8(1, 8, 0, 200, 1))));
    EXPECT_EQ(FirstOfType(1)->m_start, 200);
}

TEST_F(ColonyMessages, SendersWriteTheirFieldsAndRefuseTheHeadquartersCell)
{
    char full[100];
    for (char& c : full)
        c = 'x';
    g_simColony.SendProfileText(full);
    g_simColony.SendProfileText("hi");
    g_simColony.SendBuild(45, -1, 300);
    g_simColony.SendDemolish(0, 0);
    g_simColony.SendFacilityState(9, 0, 0, 1, 1);
    g_simColony.SendDemolish(0, -2);
    g_simColony.SendFacilityState(9, 5, 0, 0x12345, 0);
    const Packets sent = TakeSentPackets();
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[0], Concat({{'d', 1}, Bytes(100, 'x')}));
    Bytes hi = {'d', 1, 'h', 'i'};
    hi.resize(102, 0);
    EXPECT_EQ(sent[1], hi);
    EXPECT_EQ(sent[2], (SentPacket{'g', 45, 0xFF, 0xFF, 0x2C, 0x01}));
    EXPECT_EQ(sent[3], (SentPacket{'h', 0, 0, 0xFE, 0xFF}));
    EXPECT_EQ(sent[4], (SentPacket{'i', 9, 5, 0, 0, 0, 0x45, 0x23, 0}));
}

}  // namespace
