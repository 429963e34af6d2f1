// The colony's messages to the server ('d', 'e', 'g', 'h', 'i') and the
// server's command 102.
#include <algorithm>
#include <array>
#include <cstdint>

#include "colony/ProfileTextView.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursorFacility.h"
#include "colony/SimFeature.h"
#include "colony/SimRandom.h"
#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "net/MySocket.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "windows/PlayerInfo.h"

namespace {

enum : uint8_t { kCmdColony = 'd', kCmdRequest = 'e', kCmdBuild = 'g', kCmdDemolish = 'h', kCmdState = 'i' };
enum : uint8_t { kSubProfile = 1, kSubResources = 2, kSubFacilities = 3, kSubCubes = 4 };
// After the sub byte: value, rate and four resources.
constexpr int kResourcesSize = 4 + 1 + 4 * 2;

void Send(const CByteWriter& w)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

bool AtHeadquarters(int x, int y) { return x == 0 && y == 0; }

// The client's construction start is the full game time; the record carries
// its low 16 bits. The start is taken as the latest time with those bits not
// after now, so an unfinished facility stays unfinished across the wrap.
int32_t RebuildStart(uint16_t start16)
{
    const uint32_t now = CSimColony::GetGameTime();
    return static_cast<int32_t>(now - ((now - start16) & 0xFFFFu));
}

// A record type the list may hold: a facility (1..58) or a feature.
bool IsListedType(int type) { return type >= 1 && type <= kSimLava; }

}  // namespace

void CSimColony::SendRequest(int subCode, uint16_t id)
{
    Send(CByteWriter().U8(kCmdRequest).U8(static_cast<uint32_t>(subCode)).U16(id));
}

void CSimColony::SendProfileText(const char* text)
{
    // The text up to its NUL, within the field, and zeros after it.
    const char* t = text ? text : "";
    CByteWriter w;
    w.U8(kCmdColony).U8(kSubProfile).Bytes(t, static_cast<size_t>(std::find(t, t + kProfileTextSize, '\0') - t));
    w.Zeros(2 + kProfileTextSize - w.Size());
    Send(w);
}

void CSimColony::SendResources()
{
    Send(CByteWriter()
             .U8(kCmdColony)
             .U8(kSubResources)
             .U32(static_cast<uint32_t>(m_colonyValue))
             .U8(static_cast<uint32_t>(m_rate))
             .U16(static_cast<uint32_t>(m_wood))
             .U16(static_cast<uint32_t>(m_stone))
             .U16(static_cast<uint32_t>(m_iron))
             .U16(static_cast<uint32_t>(m_crystal)));
}

void CSimColony::SendFacilities()
{
    if (Count() >= kMaxUploadObjects) {
        plat::DebugOut("SendFacilities: too many objects\n");
        return;
    }
    CByteWriter records;
    int n = 0;
    for (CSimMapObject* o : *this) {
        if (o->m_type == kSimCursorType)
            continue;
        const CSimFacility* f = o->AsFacility();
        records.U8(static_cast<uint32_t>(o->m_type))
            .U16(static_cast<uint32_t>(o->m_x))
            .U16(static_cast<uint32_t>(o->m_y))
            .U16(f ? static_cast<uint32_t>(f->m_start) : 0)
            .U8(f ? static_cast<uint32_t>(f->m_active) : 0);
        ++n;
    }
    // The whole list only ever uploads a new colony; later changes travel
    // one by one.
    if (n != kNewColonyObjects) {
        plat::DebugPrintf("SendFacilities: %d objects, not a new colony\n", n);
        return;
    }
    CByteWriter w;
    w.U8(kCmdColony).U8(kSubFacilities).U16(static_cast<uint32_t>(records.Size())).Bytes(records.Data(),
                                                                                     records.Size());
    Send(w);
}

void CSimColony::SendCubes()
{
    CByteWriter w;
    w.U8(kCmdColony).U8(kSubCubes);
    for (int32_t c : m_cubes)
        w.U8(static_cast<uint32_t>(c) & 0xFF);
    Send(w);
}

void CSimColony::SendBuild(int type, int x, int y)
{
    Send(CByteWriter().U8(kCmdBuild).U8(static_cast<uint32_t>(type)).U16(static_cast<uint32_t>(x)).U16(
        static_cast<uint32_t>(y)));
}

void CSimColony::SendDemolish(int x, int y)
{
    if (AtHeadquarters(x, y))
        return;
    Send(CByteWriter().U8(kCmdDemolish).U16(static_cast<uint32_t>(x)).U16(static_cast<uint32_t>(y)));
}

void CSimColony::SendFacilityState(int type, int x, int y, int start, int flag)
{
    if (AtHeadquarters(x, y))
        return;
    Send(CByteWriter()
             .U8(kCmdState)
             .U8(static_cast<uint32_t>(type))
             .U16(static_cast<uint32_t>(x))
             .U16(static_cast<uint32_t>(y))
             .U16(static_cast<uint32_t>(start))
             .U8(static_cast<uint32_t>(flag)));
}

void CSimColony::ReceiveFacilityList(const uint8_t* data, int length)
{
    Clear();
    CByteReader r(data, static_cast<size_t>(length));
    // A remainder short of a record is read but makes none.
    for (int i = 0; i < length / kRecordSize; ++i) {
        const int type = r.U8();
        const int x = r.I16();
        const int y = r.I16();
        const uint16_t start = r.U16();
        const int active = r.U8();
        if (!IsListedType(type)) {
            plat::DebugPrintf("colony list: type %d skipped\n", type);
            continue;
        }
        if (type >= kSimRock)
            Add(new CSimFeature(type, x, y, SimRand() & 3));
        else
            Add(new CSimFacility(type, x, y, RebuildStart(start), active ? 1 : 0, CSimFacility::kNoOverlay));
    }
    AddCursorFacility();
    SortByDepth();
}

void CSimColony::OnSimPacket()
{
    uint8_t sub = 0;
    if (NetRead(&sub, 1) != 1)
        return;
    switch (sub) {
    case kSubProfile: {
        std::array<char, kProfileTextSize> text{};
        if (NetRead(text.data(), kProfileTextSize) != kProfileTextSize)
            return;
        text[kProfileShown] = '\0';
        m_profileText = text;
        ProfileTextView().SetProfileText(m_profileText.data());
        return;
    }
    case kSubResources: {
        uint8_t b[kResourcesSize];
        if (NetRead(b, kResourcesSize) != kResourcesSize)
            return;
        CByteReader r(b, sizeof b);
        m_colonyValue = r.I32();
        m_rate = r.U8();
        m_wood = r.U16();
        m_stone = r.U16();
        m_iron = r.U16();
        m_crystal = r.U16();
        return;
    }
    case kSubFacilities: {
        uint8_t lb[2];
        if (NetRead(lb, 2) != 2)
            return;
        const int length = CByteReader(lb, 2).U16();
        if (length == 0) {
            // The server holds no colony: ours goes up, then comes back.
            const uint16_t me = g_playerInfo.GetCharId();
            SendFacilities();
            SendCubes();
            SendResources();
            SendRequest(kSubFacilities, me);
            SendRequest(kSubResources, me);
            SendRequest(kSubCubes, me);
            return;
        }
        if (length >= kMaxListBytes) {
            plat::DebugPrintf("colony list of %d bytes refused\n", length);
            NetSkip(length);
            return;
        }
        std::array<uint8_t, kMaxListBytes> data{};
        if (NetRead(data.data(), length) != length)
            return;
        ReceiveFacilityList(data.data(), length);
        int hq = 0, edge = 0, rocks = 0, forests = 0, lava = 0;
        for (CSimMapObject* o : *this) {
            switch (o->m_type) {
            case kSimHeadquarters: ++hq; break;
            case kSimEdgeFacility: ++edge; break;
            case kSimRock: ++rocks; break;
            case kSimForest: ++forests; break;
            case kSimLava: ++lava; break;
            default: break;
            }
        }
        if (hq == 0)
            Add(new CSimFacility(kSimHeadquarters, 0, 0, 0, 1, SimRand() % 3));
        if (edge == 0)
            AddEdgeFacility();
        if (hq == 0 || edge == 0)
            SortByDepth();
        if (hq != 1 || edge != 1 || rocks != 4 || forests != 4 || lava != 4)
            SendFacilities();
        return;
    }
    case kSubCubes: {
        uint8_t b[kCubeSlots];
        if (NetRead(b, kCubeSlots) != kCubeSlots)
            return;
        for (int i = 0; i < kCubeSlots; ++i)
            SetCubeSlot(i, b[i]);
        return;
    }
    default:
        plat::DebugPrintf("command 102: sub-command %d\n", sub);
        return;
    }
}
