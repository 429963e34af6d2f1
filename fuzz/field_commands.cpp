// Arbitrary sequences of well-framed field and group commands through the
// dispatcher of a headless client whose character stands on the field.
// Each step takes a selector byte (0xFF toggles battle mode, 0xFE runs the
// objects one frame, else it picks a command), then the command's fixed
// part and its tail from the input, zero-padded. My character must still
// stand on the map afterwards.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/CreatureSet.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/PacketStream.h"
#include "fuzz_seeds.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"

namespace {

constexpr uint8_t kCommands[] = {3,  4,  6,  7,  10, 12, 21, 23, 25, 26, 27, 28, 29, 33, 35, 41, 42, 43, 44,
                                 45, 46, 47, 48, 60, 61, 62, 63, 67, 68, 69, 80, 81, 82, 83};
constexpr uint16_t kMyId = 7;
constexpr uint8_t kToggleBattle = 0xFF;
constexpr uint8_t kFrame = 0xFE;  // the objects run one frame
constexpr int kMapSize = 64;

struct Client {
    plat::CHeadlessPlatform platform;
    CTestArchive archive{CArchiveBuilder::MinimalGame()};
    CQuillonView view;
    CBGLayer ground{nullptr};
    CObjLayer layer{nullptr, &ground};
    CMemoryByteSource src;
    Client()
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        SetPacketSource(&src);
        // A 64 x 64 field of open ground: records inside it are placed,
        // the rest of the 512 x 512 grids is off the map.
        CMapFileBuilder map(kMapSize, kMapSize);
        map.Fill(kFlagGround | kFlagDrawn, 0, 0);
        const std::vector<uint8_t> planes = map.Planes();
        CByteReader mr(planes.data(), planes.size());
        ground.ReadMap(mr);
        CObrBuilder chr("CHR");
        for (const char* kind : {"0", "1305", "60", "61", "62"})
            chr.Character(kind, CObrBuilder::CharRecord(kind, 0, 0, 10, "m")).RawSet(CCreatureSet::Section(kind));
        const std::vector<uint8_t> file = chr.Build();
        CByteReader r(file.data(), file.size());
        layer.ReadObr(r);
        for (int i = 0; i < layer.GetCharSetCount(); ++i)
            layer.GetCharSet(i)->SetAnimation(kCharAnimNames, kCharAnimSlots);
    }
    // Back on the field: alone, out of battle, my character at (20, 20).
    void Enter()
    {
        layer.RemoveAllCharacters();
        layer.ResetMap();
        layer.MyRecord() = *layer.GetCharTemplate(0);
        g_myId = kMyId;
        layer.m_groupHeader = AloneGroup(kMyId);
        layer.m_inField = 1;
        layer.m_participants = {};
        layer.m_opponents = {};
        layer.SetMyCharacter(layer.CreateMyCharacter(20, 20));
    }
};

Client& TheClient()
{
    static Client* client = new Client;
    return *client;
}

std::string Seed(std::initializer_list<std::vector<uint8_t>> steps)
{
    std::string s;
    for (const auto& step : steps)
        s.append(step.begin(), step.end());
    return s;
}

// A selector for cmd followed by its bytes after the command byte.
std::vector<uint8_t> Step(uint8_t cmd, std::initializer_list<int> bytes)
{
    std::vector<uint8_t> v;
    for (size_t i = 0; i < sizeof kCommands; ++i)
        if (kCommands[i] == cmd)
            v.push_back(static_cast<uint8_t>(i));
    for (int b : bytes)
        v.push_back(static_cast<uint8_t>(b));
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "group", Seed({Step(60, {30, 0, 'b', 'o', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0}),
                                      Step(61, {30, 0, 30, 0, kMyId, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
                                      Step(62, {40, 0}), Step(80, {30, 0}), Step(80, {40, 0})}));
        WriteSeed(dir, "items", Seed({Step(45, {2, 0, 1, 0, 3, 0, 4, 0, 2, 0, 0, 2, 4, 0}),
                                      Step(41, {kMyId, 0, 0, 0, 3, 0, 4, 0}), Step(46, {30, 0, 1, 0}),
                                      Step(43, {}), Step(48, {})}));
        WriteSeed(dir, "battle", Seed({Step(27, {0, 0, 40, 0, 30, 0, 30, 0, 9, 0, 2, 30, 0, 5, 0, 5, 0, 0, 0, 0,
                                                 0, 30, 0, 1, 0, 0, 0, 0, 0, 0, 0}),
                                       {kToggleBattle}, Step(33, {30, 0, 22, 0, 22, 0}), Step(35, {30, 0})}));
        WriteSeed(dir, "chat", Seed({Step(7, {30, 0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 1, 3,
                                              0, 'h', 'e', 'y'})}));
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
    g_myId = kMyId;
    if (!c.layer.GetMyCharacter())
        std::abort();

    size_t pos = 0;
    auto next = [&]() -> uint8_t { return pos < size ? data[pos++] : 0; };
    while (pos < size) {
        const uint8_t sel = next();
        if (sel == kToggleBattle) {
            c.layer.m_inBattle = c.layer.m_inBattle ? 0 : 1;
            continue;
        }
        if (sel == kFrame) {
            ++g_frameClock;
            c.layer.DrawList().Clear();
            c.layer.UpdateObjects();
            continue;
        }
        const uint8_t cmd = kCommands[sel % sizeof kCommands];
        std::vector<uint8_t> packet{cmd};
        const int fixed = PacketFixedLength(cmd);
        if (fixed < 0)
            std::abort();  // every command of the list is framed
        for (int i = 0; i < fixed; ++i)
            packet.push_back(next());
        const int tail = PacketTailLength(packet.data());
        if (tail < 0 || 1 + fixed + tail > kPacketBufferSize)
            continue;
        for (int i = 0; i < tail; ++i)
            packet.push_back(next());
        c.src.Append(packet);
        if (!DispatchAll(c.src, [&] { c.view.ReceiveDispatch(); }))
            std::abort();  // every packet is taken whole
    }
    CCharacter* me = c.layer.GetMyCharacter();
    if (!me || !me->IsActive() || !c.ground.IsOnMap(me->GetTileX(), me->GetTileY()))
        std::abort();
    return 0;
}
