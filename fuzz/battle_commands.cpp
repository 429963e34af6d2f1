// Arbitrary well-framed battle commands (command 30) through the dispatcher
// of a headless client standing in a battle with two players of another
// group, an ally and a monster. Each step takes the sub-command, the header
// flag, a payload length (0..63) and that many payload bytes from the
// input. The battle tables must stay within their bounds and my character
// on the map.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/BattleWire.h"
#include "fixtures/CreatureSet.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/PacketStream.h"
#include "fuzz_client.h"
#include "fuzz_seeds.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "world/AbilityCommands.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kMyId = 7;
constexpr int kBattle = 501;

struct Client : FuzzClient {
    Client() : FuzzClient({"0", "1305"}) {}
    // In battle again: me at (20, 20) leading 8, players 30 and 31 of group
    // 30 and monster 1305 around.
    void Enter()
    {
        layer.RemoveAllCharacters();
        layer.ResetMap();
        layer.MyRecord() = *layer.GetCharTemplate(0);
        g_myId = kMyId;
        layer.m_groupHeader = {kMyId, kMyId, 8, 0, 0, 0, 0};
        layer.m_inField = 1;
        layer.m_opponents = {};
        layer.m_pairNotices = {};
        layer.m_deathMarkMarked = {};
        layer.m_participants = {};
        layer.SetMyCharacter(layer.CreateMyCharacter(20, 20));
        struct Other {
            uint16_t id, x, group;
            int kind;
        };
        uint32_t n = 0;
        for (const Other o : {Other{30, 22, 30, 0}, Other{31, 23, 30, 0}, Other{8, 21, kMyId, 0}, Other{1305, 24, 1305, 1305}}) {
            if (CCharacter* c = layer.AddCharacter(o.id, o.x, 21, o.kind, 0, 0)) {
                CCreature::GroupKey key{};
                key[0] = o.group;
                c->SetGroupKey(key);
            }
            BattleParticipant& p = layer.m_participants[n++];
            p.id = o.id;
            p.groupKey = o.group;
            p.level = 5;
        }
        layer.m_participantCount = n;
        layer.m_inBattle = 1;
        layer.m_battleNumber = kBattle;
        layer.m_battleOver = 0;
    }
};

Client& TheClient()
{
    static Client* client = new Client;
    return *client;
}

// One step: sub, flag, length, payload.
std::string Step(int sub, const std::vector<uint8_t>& payload, int flag = 0)
{
    std::string s{static_cast<char>(sub), static_cast<char>(flag), static_cast<char>(payload.size())};
    s.append(payload.begin(), payload.end());
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        using W = CBattleWire;
        WriteSeed(dir, "join", Step(1, W().Participant(40, 25, 25, 0, 40, 9)) + Step(1, W().Participant(41, 26, 25, 0, kMyId, 3)));
        WriteSeed(dir, "fight", Step(4, W().U16(30).U16(kMyId).U16(5).U16(6).U16(7).U32(1).U32(2).U32(3).U32(4)) +
                                    Step(5, W().U16(kMyId).U16(30).U16(22).U16(21).U16(9).U16(50)) +
                                    Step(7, W().U16(30).U16(1).U16(2).U16(3).U16(4)));
        WriteSeed(dir, "marks", Step(9, W().U16(30).U16(kMyId).U16(22).U16(21).U16(9).U16(50).U8(1)) +
                                    Step(45, W().U16(31).U16(30).U16(22).U16(21).U16(9).U16(50).U8(11)) +
                                    Step(9, W().U16(30).U16(kMyId).U16(22).U16(21).U16(0).U16(50).U8(11)));
        WriteSeed(dir, "notices", Step(46, W().U16(8).U8(0).U16(30).U16(kMyId).U16(kMyId)) +
                                      Step(47, W().U16(8).U8(1).U16(31).U16(kMyId).U16(kMyId)));
        WriteSeed(dir, "result", Step(6, W().U16(30).U16(kMyId).U16(100).U16(200).U16(101).U8(3).U16(10).U16(0)
                                             .U16(0).U32(5).U32(0).U16(1).U16(2).U16(3)) +
                                     Step(6, W().U16(1305).U16(8).U16(100).U16(200).U16(0).U8(9).U16(10).U16(0)
                                                 .U16(0).U32(5).U32(0).U16(1)));
        // One per ability sub-command and relay, from its row.
        for (const AbilityCommandRow& row : AbilityCommandRows()) {
            AbilityPacket k;
            k.caster = 30;
            k.target = row.sub == 201 ? 1305 : (row.sub == 41 ? kMyId : 31);
            k.goalX = 22;
            k.goalY = 21;
            k.stat = {40, 50, 30, 60, 20};
            k.amount = 37;
            k.byte = row.sub == 41 ? 11 : 1;
            k.field20 = 2000;
            k.field26 = 1500;
            k.words = {22, 21};
            CByteWriter w;
            EncodeAbilityPayload(row, k, w);
            const std::string name = "ability_" + std::to_string(row.sub);
            WriteSeed(dir, name.c_str(), Step(row.sub, w.Buffer()));
        }
    }
    TheClient();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Client& c = TheClient();
    ResetReceiveState();
    ResetExitState();
    c.platform.dialogs.boxes.clear();
    c.src.Clear();
    c.Enter();
    if (!c.layer.GetMyCharacter())
        std::abort();

    size_t pos = 0;
    auto next = [&]() -> uint8_t { return pos < size ? data[pos++] : 0; };
    while (pos < size) {
        const int sub = next();
        const int flag = next();
        const int length = next() % 64;
        std::vector<uint8_t> payload;
        for (int i = 0; i < length; ++i)
            payload.push_back(next());
        if (!c.Dispatch(CBattleWire::Packet(sub, payload, kBattle, flag)))
            std::abort();  // every packet is taken whole
    }
    if (c.layer.m_participantCount > static_cast<uint32_t>(kMaxParticipants))
        std::abort();
    if (c.layer.m_deathMarkIndex < 0 || c.layer.m_deathMarkIndex >= CObjLayer::kDeathMarkPairs)
        std::abort();
    const CCharacter* me = c.layer.GetMyCharacter();
    if (!me || !me->IsActive() || !InMap(me->GetTileX(), me->GetTileY()))
        std::abort();
    return 0;
}
