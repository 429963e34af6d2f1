// The colony's messages: the server keeps the player's colony as the client
// uploads and changes it ('d', 'g', 'h', 'i') and sends it back when asked
// ('e'), with command 102; the wanderers have profile texts of their own.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "support/DemoArea.h"
#include "support/DemoServer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kTextSize = 100;
constexpr size_t kResourceSize = 13;
constexpr size_t kCubeSlots = 20;
constexpr size_t kRecordSize = 8;
// What the client's receive buffer holds.
constexpr size_t kMaxFacilities = 299;
constexpr uint8_t kReply = 102;

constexpr const char* kWandererTexts[] = {
    "Celinne of the north road.",
    "Andrew, who builds walls.",
    "Ingeborg: herbs and stories.",
    "Reinhardt, on his way east.",
};

class CDemoColony : public CDemoArea {
public:
    explicit CDemoColony(CDemoServer& server) : CDemoArea(server) { m_cubes.fill(255); }

    bool Handle(const uint8_t* p, size_t n) override
    {
        CByteReader r(p + 1, n - 1);
        switch (p[0]) {
        case 'd': Store(p, n); return true;
        case 'e': {
            const int sub = r.U8();
            Answer(sub, r.U16());
            return true;
        }
        case 'g': {
            // ['g'][u8 type][i16 x][i16 y]: a new facility, not yet running.
            const Facility f = Read(r, false);
            if (!Find(f.x, f.y) && m_facilities.size() < kMaxFacilities)
                m_facilities.push_back(f);
            return true;
        }
        case 'h': {
            const uint16_t x = r.U16(), y = r.U16();
            m_facilities.erase(std::remove_if(m_facilities.begin(), m_facilities.end(),
                                              [&](const Facility& f) { return f.x == x && f.y == y; }),
                               m_facilities.end());
            return true;
        }
        case 'i': {
            // ['i'][u8 type][i16 x][i16 y][u16 start][u8 flag]
            const Facility f = Read(r, true);
            if (Facility* known = Find(f.x, f.y))
                *known = f;
            else if (m_facilities.size() < kMaxFacilities)
                m_facilities.push_back(f);
            return true;
        }
        default: return false;
        }
    }

private:
    struct Facility {
        uint8_t type;
        uint16_t x, y, start;
        uint8_t active;
    };

    // Type, x and y; then the start and the flag when they come along.
    static Facility Read(CByteReader& r, bool withState)
    {
        Facility f{};
        f.type = r.U8();
        f.x = r.U16();
        f.y = r.U16();
        if (withState) {
            f.start = r.U16();
            f.active = r.U8();
        }
        return f;
    }

    Facility* Find(uint16_t x, uint16_t y)
    {
        for (Facility& f : m_facilities)
            if (f.x == x && f.y == y)
                return &f;
        return nullptr;
    }

    // ['d'][sub]...: the profile text, the resources, the whole list, the
    // cubes.
    void Store(const uint8_t* p, size_t n)
    {
        switch (p[1]) {
        case 1: std::copy_n(p + 2, kTextSize, m_text.begin()); break;
        case 2: std::copy_n(p + 2, kResourceSize, m_resources.begin()); break;
        case 3: {
            const size_t length = std::min<size_t>(static_cast<size_t>(p[2] | (p[3] << 8)), n - 4);
            m_facilities.clear();
            for (size_t off = 4; off + kRecordSize <= 4 + length && m_facilities.size() < kMaxFacilities;
                 off += kRecordSize) {
                CByteReader r(p + off, kRecordSize);
                m_facilities.push_back(Read(r, true));
            }
            break;
        }
        case 4: std::copy_n(p + 2, kCubeSlots, m_cubes.begin()); break;
        default: break;
        }
    }

    // ['e'][sub][u16 id]: command 102 with the same sub-code.
    void Answer(int sub, uint16_t id)
    {
        CByteWriter w;
        w.U8(kReply).U8(static_cast<uint32_t>(sub));
        switch (sub) {
        case 1: {
            const CDemoServer::Wanderer* c = m_server.FindWanderer(id);
            if (c)
                w.FixedString(kWandererTexts[(c->id - m_server.Wanderers().front().id) % std::size(kWandererTexts)], kTextSize);
            else if (id == CDemoServer::kPlayerId)
                w.Bytes(m_text.data(), kTextSize);
            else
                return;
            break;
        }
        case 2:
            if (id != CDemoServer::kPlayerId)
                return;
            w.Bytes(m_resources.data(), kResourceSize);
            break;
        case 3:
            if (id != CDemoServer::kPlayerId)
                return;
            w.U16(static_cast<uint32_t>(m_facilities.size() * kRecordSize));
            for (const Facility& f : m_facilities)
                w.U8(f.type).U16(f.x).U16(f.y).U16(f.start).U8(f.active);
            break;
        case 4:
            if (id != CDemoServer::kPlayerId)
                return;
            w.Bytes(m_cubes.data(), kCubeSlots);
            break;
        default: return;
        }
        m_server.Send(w.Buffer());
    }

    std::array<uint8_t, kTextSize> m_text{};
    std::array<uint8_t, kResourceSize> m_resources{};
    std::array<uint8_t, kCubeSlots> m_cubes{};
    std::vector<Facility> m_facilities;
};

}  // namespace

std::unique_ptr<CDemoArea> MakeDemoColony(CDemoServer& server)
{
    return std::make_unique<CDemoColony>(server);
}
