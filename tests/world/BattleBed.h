// The field of the battle tests: my character (id 7, alone in its group)
// on the creature bed, connected to a scripted server, with the received
// packets fed through the client's own dispatcher.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/BattleWire.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "support/CreatureBed.h"
#include "world/ObjLayer.h"

class BattleBed : public testing::Test {
protected:
    static constexpr uint16_t kMe = CCreatureBed::kMyId;
    static constexpr int kBattle = 501;

    void SetUp() override
    {
        bed.GoOnline();
        me = &bed.Me(20, 20);
        Layer().m_inField = 1;
        Layer().m_groupHeader = AloneGroup(kMe);
        me->SetGroupKey(Layer().m_groupHeader);
        SetPacketSource(&src);
        bed.Received();
    }
    void TearDown() override
    {
        SetPacketSource(nullptr);
        g_commandRing.Reset();
        ResetObjLayerGlobals();
        ResetExitState();
    }
    CObjLayer& Layer() { return bed.Layer(); }
    void InBattle(uint32_t battle = kBattle)
    {
        Layer().m_inBattle = 1;
        Layer().m_battleNumber = battle;
    }
    void Dispatch(const std::vector<uint8_t>& b)
    {
        src.Append(b);
        while (src.Available() > 0) {
            const size_t before = src.Taken();
            g_pView->ReceiveDispatch();
            if (src.Taken() == before)
                break;
        }
    }
    // A sub-command from the server.
    void Receive(int sub, const std::vector<uint8_t>& payload) { Dispatch(CBattleWire::Packet(sub, payload, kBattle)); }
    // The message ring's lines since the last call.
    std::vector<std::string> Lines()
    {
        std::vector<std::string> out;
        for (const std::string& call : bed.ui.log.Calls())
            if (call.rfind("AddLine(", 0) == 0)
                out.push_back(call.substr(9, call.size() - 11));
        bed.ui.log.Clear();
        return out;
    }
    // A player of another group on the battle map (a new one in place of
    // one already there).
    CCharacter& Player(int id, int x, int y, int group) { return Fresh(id, x, y, 0, group); }
    CCharacter& Monster(int id, int x, int y) { return Fresh(id, x, y, 1305, id); }
    CCharacter& Fresh(int id, int x, int y, int kind, int group)
    {
        if (CCharacter* old = Layer().FindCharacterById(id))
            old->RemoveFromMap();
        CCharacter& c = bed.Add(id, x, y, kind);
        CCreature::GroupKey key{};
        key[0] = static_cast<uint16_t>(group);
        c.SetGroupKey(key);
        return c;
    }

    CCreatureBed bed;
    CMemoryByteSource src;
    CCharacter* me = nullptr;
};
