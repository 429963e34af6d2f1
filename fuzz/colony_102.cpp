// Arbitrary command-102 packets through the framing, the dispatcher and the
// colony of a headless client whose player is on the field. After every
// packet the colony ticks, uploads and picks, and at the end it draws;
// every type and cube it took from the packets must be one it accepts.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/QuillonView.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursorFacility.h"
#include "colony/SimTerrain.h"
#include "core/Blit.h"
#include "core/ByteWriter.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ColonySprites.h"
#include "fixtures/FacilityDatBuilder.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

CArchiveBuilder ColonyArchive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CColonySprites::AddTo(b);
    return b;
}

struct Client {
    plat::CHeadlessPlatform platform;
    CTestArchive archive{ColonyArchive()};
    CQuillonView view;
    CObjLayer layer{nullptr, nullptr};
    CCharacter me;
    CMemoryByteSource src;
    std::vector<uint8_t> screen = std::vector<uint8_t>(kScreenWidth * kScreenHeight);
    Client()
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        layer.m_pMyChar = &me;
        SetPacketSource(&src);
        g_simBuildingTable.LoadSprites();
        SetSpriteClipRect(0, 0, kScreenWidth, kScreenHeight);
    }
};

Client& TheClient()
{
    static Client* client = new Client;
    return *client;
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// The input is a run of packets without their command byte: a sub-command
// and its payload (sub 3: u16 length and that many bytes), cut short by the
// input's end.
std::vector<Bytes> Packets(const uint8_t* data, size_t size)
{
    std::vector<Bytes> out;
    size_t i = 0;
    while (i < size) {
        const uint8_t sub = data[i++];
        size_t n = 2;
        switch (sub) {
        case 1: n = 100; break;
        case 2: n = 13; break;
        case 4: n = 20; break;
        case 3:
            n = 2;
            if (i + 1 < size)
                n += static_cast<size_t>(data[i] | (data[i + 1] << 8));
            break;
        default: break;
        }
        Bytes p = {102, sub};
        for (size_t k = 0; k < n; ++k)
            p.push_back(i < size ? data[i++] : 0);
        out.push_back(std::move(p));
    }
    return out;
}

void WriteSeed(const std::string& dir, const std::string& name, const Bytes& bytes)
{
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Record(int type, int x, int y, int start, int active)
{
    return CByteWriter().U8(static_cast<uint32_t>(type)).U16(static_cast<uint32_t>(x)).U16(
        static_cast<uint32_t>(y)).U16(static_cast<uint32_t>(start)).U8(static_cast<uint32_t>(active)).Buffer();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        CByteWriter list;
        for (int i = 0; i < 12; ++i)
            list.Bytes(Record(59 + i / 4, 15 + i, -20 + 3 * i, 0, 0).data(), 8);
        for (const Bytes& r : {Record(41, 0, 0, 0, 1), Record(58, 7, -3, 0, 1), Record(2, -9, 4, 300, 1)})
            list.Bytes(r.data(), r.size());
        CByteWriter sub3;
        sub3.U8(3).U16(static_cast<uint32_t>(list.Size())).Bytes(list.Data(), list.Size());
        WriteSeed(dir, "list", sub3.Buffer());
        WriteSeed(dir, "empty_list", {3, 0, 0});
        Bytes cubes = {4, 255, 0, 1, 2, 3, 4, 5, 254};
        cubes.resize(21, 255);
        cubes.insert(cubes.end(), {2, 0x10, 0x27, 0, 0, 30, 1, 0, 2, 0, 3, 0, 4, 0});
        WriteSeed(dir, "cubes_resources", cubes);
        Bytes text = {1};
        text.resize(101, 'A');
        WriteSeed(dir, "profile", text);
        WriteSeed(dir, "odd_list", {3, 12, 0, 0, 1, 2, 3, 4, 5, 6, 7, 62, 1, 2, 3, 7, 9, 3, 0, 15});
    }
    TheClient();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Client& c = TheClient();
    c.src.Clear();
    g_packetAssembler.Reset();
    g_simColony.Reset(1);
    for (const Bytes& p : Packets(data, size)) {
        c.src.Append(p);
        c.view.ReceiveDispatch();
        Check(c.src.Available() == 0 || g_packetAssembler.Failed());
        int objects = 0;
        for (CSimMapObject* o : g_simColony) {
            ++objects;
            Check(CSimBuildingTable::IsValidType(o->m_type) && o->m_type < kSimSmallOverlay);
        }
        Check(objects < 400);
        Check(g_simColony.m_cursorFacility != nullptr);
        for (int32_t cube : g_simColony.m_cubes)
            Check(cube >= -1 && cube < kCubeColours);
        g_simColony.Tick();
        g_simColony.SendFacilities();
        g_simColony.FindAt(400, 224);
    }
    g_simTerrain.Draw(c.screen.data());
    g_simColony.DrawObjects(c.screen.data());
    // Every object of this run goes, so the leak check has nothing to scan.
    g_simColony.Clear();
    return 0;
}
