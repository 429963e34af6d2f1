// Shared by the colony tests: a view and object layer with the player's
// record, the main socket's sent packets, server packets through the real
// framing and dispatcher, the colony's random numbers scripted, and colony
// layouts built object by object.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

#include "app/QuillonView.h"
#include "colony/ColonyService.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursorFacility.h"
#include "colony/SimFeature.h"
#include "colony/SimRandom.h"
#include "core/ByteReader.h"
#include "fixtures/FacilityDatBuilder.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "support/FakeServer.h"
#include "support/FakeUi.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "windows/PlayerInfo.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"

// Hands out the queued values, then 0.
class CScriptedRandom : public ISimRandom {
public:
    CScriptedRandom() { SetSimRandom(this); }
    ~CScriptedRandom() override { SetSimRandom(nullptr); }
    CScriptedRandom(const CScriptedRandom&) = delete;
    CScriptedRandom& operator=(const CScriptedRandom&) = delete;
    int Next() override
    {
        ++drawn;
        if (values.empty())
            return 0;
        const int v = values.front();
        values.pop_front();
        return v;
    }
    std::deque<int> values;
    int drawn = 0;
};

struct PlacedObject {
    int type;
    int x;
    int y;
    int active = 1;
    int start = 0;
};

class ColonyTest : public ::testing::Test {
protected:
    explicit ColonyTest(const CArchiveBuilder& archive = CArchiveBuilder::MinimalGame()) : world(archive)
    {
        OpenTestMainSocket();
        SetPacketSource(&src);
    }
    ~ColonyTest() override
    {
        SetPacketSource(nullptr);
        CloseTestMainSocket();
    }

    // The record the game reads: my character's once it exists.
    CharacterRecord& Record() { return *g_playerInfo.GetMyRecord(); }
    void SetMoney(int money) { Record().SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(money)); }
    int Money() { return Record().I32(CharacterRecord::kMoney); }
    void SetGameTime(uint32_t t) { Record().SetU32(CharacterRecord::kGameTime, t); }

    // The balance values of "Facility.dat", by recipe code.
    static void LoadValues(const CFacilityDatBuilder& dat)
    {
        const Bytes file = dat.Build();
        CByteReader r(file.data(), file.size());
        ASSERT_TRUE(g_simBuildingTable.ReadFacilityData(r));
    }

    // Only these objects (facilities unless a feature type), in this order,
    // and the cursor's facility at (cursorX, cursorY) last.
    static void Layout(std::initializer_list<PlacedObject> objects, int cursorX = 999, int cursorY = 999)
    {
        g_simColony.Clear();
        for (const PlacedObject& o : objects) {
            if (o.type >= kSimRock && o.type <= kSimLava)
                g_simColony.Add(new CSimFeature(o.type, o.x, o.y, 0));
            else
                g_simColony.Add(new CSimFacility(o.type, o.x, o.y, o.start, o.active, CSimFacility::kNoOverlay));
        }
        g_simColony.m_cursorFacility = new CSimCursorFacility;
        g_simColony.m_cursorFacility->m_x = cursorX;
        g_simColony.m_cursorFacility->m_y = cursorY;
        g_simColony.Add(g_simColony.m_cursorFacility);
    }
    // The first object of the type, or null.
    static CSimFacility* FirstOfType(int type)
    {
        for (CSimMapObject* o : g_simColony)
            if (o->m_type == type)
                return o->AsFacility();
        return nullptr;
    }
    static int CountTyped()
    {
        int n = 0;
        for (CSimMapObject* o : g_simColony)
            n += o->m_type != kSimCursorType;
        return n;
    }

    // The player's character is on the field: the dispatcher hands command
    // 102 on.
    void EnterField() { world.Layer().m_pMyChar = &me; }
    // One server packet through the framing and the dispatcher.
    void Receive(const Bytes& packet)
    {
        src.Append(packet);
        g_pView->ReceiveDispatch();
    }
    static Bytes Colony102(int sub, const Bytes& payload)
    {
        Bytes b = {102, static_cast<uint8_t>(sub)};
        b.insert(b.end(), payload.begin(), payload.end());
        return b;
    }

    CTestWorld world;
    CCharacter me;
    CMemoryByteSource src;
    FakeUi ui;
};
