// The market, the NPC shops, the bank and the cabinet. The client buys,
// sells, equips and stores by itself and reports every change of its lists
// as a character field; the server keeps the lists as reported, answers the
// bank's money transfer, takes items dropped on the ground back up and
// lets the wanderers refuse the items offered to them.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "support/DemoArea.h"
#include "support/DemoServer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kCabinetSlots = 20;
constexpr size_t kMaxGroundItems = 256;
constexpr size_t kPersonSize = 21;
constexpr uint8_t kSubTransfer = 13;

// Inserts id at pos into a packed list of n entries: the entries from pos up
// to the first empty one move one place on; nothing when the list is full.
template <class Get, class Set>
void InsertInto(int n, int pos, uint16_t id, Get get, Set set)
{
    int empty = pos;
    while (empty < n && get(empty) != 0)
        ++empty;
    if (pos < 0 || empty >= n)
        return;
    for (int i = empty; i > pos; --i)
        set(i, get(i - 1));
    set(pos, id);
}

// Removes the entry at slot: the later entries move down one place.
template <class Get, class Set>
void RemoveFrom(int n, int slot, Get get, Set set)
{
    if (slot < 0 || slot >= n)
        return;
    for (int i = slot; i < n; ++i)
        set(i, i + 1 < n ? get(i + 1) : 0);
}

class CDemoTrade : public CDemoArea {
public:
    using CDemoArea::CDemoArea;

    bool Handle(const uint8_t* p, size_t n) override
    {
        CByteReader r(p + 1, n - 1);
        switch (p[0]) {
        case 53: return TakeField(r, p[1]);
        case 52:
            // The cabinet is kept here, not in the record.
            if (n == 4 && p[3] == 37) {
                CByteWriter w;
                w.U8(52).U16(r.U16()).U8(37);
                for (uint16_t id : m_cabinet)
                    w.U16(id);
                m_server.Send(w.Buffer());
                return true;
            }
            return false;
        case 8: return n >= 6 && p[1] == kSubTransfer && Transfer(p, n);
        case 42: {
            // [42][u16 my id][u16 item][u16 x][u16 y]: accepted, it lies there.
            r.U16();
            const uint16_t item = r.U16();
            const uint16_t x = r.U16(), y = r.U16();
            if (m_ground.size() < kMaxGroundItems) {
                m_ground.push_back({item, x, y});
                m_server.Send({43});
            } else {
                m_server.Send({44});
            }
            return true;
        }
        case 41: {
            // [41][u16 my id][u16 item][u16 x][u16 y]: the item there is taken.
            const uint16_t id = r.U16();
            r.U16();
            const uint16_t x = r.U16(), y = r.U16();
            auto it = std::find_if(m_ground.begin(), m_ground.end(),
                                   [&](const Ground& g) { return g.x == x && g.y == y; });
            if (it != m_ground.end()) {
                m_ground.erase(it);
                m_server.Send(CByteWriter().U8(41).U16(id).U16(0).U16(x).U16(y).Buffer());
            }
            return true;
        }
        case 46:
            // An item offered to a wanderer: it takes nothing.
            m_server.Send({48});
            return true;
        default: return false;
        }
    }

private:
    struct Ground {
        uint16_t item, x, y;
    };

    CharacterRecord& Rec() { return m_server.Record(); }

    // The list edits of fields 37, 51..57 and 64..67; false for the others.
    bool TakeField(CByteReader& r, int field)
    {
        r.U8();
        CharacterRecord& rec = Rec();
        auto item = [&rec](int i) { return rec.Item(i); };
        auto setItem = [&rec](int i, uint16_t id) { rec.SetItem(i, id); };
        auto cab = [this](int i) { return m_cabinet[static_cast<size_t>(i)]; };
        auto setCab = [this](int i, uint16_t id) { m_cabinet[static_cast<size_t>(i)] = id; };
        auto pairs = [&r](int count, auto set) {
            for (int k = 0; k < count; ++k) {
                const int slot = r.U8();
                const uint16_t id = r.U16();
                if (r.Ok())
                    set(slot, id);
            }
        };
        auto itemAt = [&rec](int slot, uint16_t id) {
            if (slot < CharacterRecord::kItemSlots)
                rec.SetItem(slot, id);
        };
        auto equipAt = [&rec](int slot, uint16_t id) {
            if (slot < CharacterRecord::kEquipSlots)
                rec.SetEquip(slot, id);
        };
        auto cabinetAt = [this](int slot, uint16_t id) {
            if (static_cast<size_t>(slot) < kCabinetSlots)
                m_cabinet[static_cast<size_t>(slot)] = id;
        };
        switch (field) {
        case 37:
            for (uint16_t& id : m_cabinet)
                id = r.U16();
            return true;
        case 51: pairs(1, itemAt); return true;
        case 52: pairs(2, itemAt); return true;
        case 53: pairs(1, equipAt); return true;
        case 54: pairs(2, equipAt); return true;
        case 56: {
            const int pos = r.U8();
            InsertInto(CharacterRecord::kItemSlots, pos, r.U16(), item, setItem);
            return true;
        }
        case 57: RemoveFrom(CharacterRecord::kItemSlots, r.U8(), item, setItem); return true;
        case 64: return true;  // the following edits move the item
        case 65: pairs(2, cabinetAt); return true;
        case 66: {
            const int pos = r.U8();
            InsertInto(static_cast<int>(kCabinetSlots), pos, r.U16(), cab, setCab);
            return true;
        }
        case 67: RemoveFrom(static_cast<int>(kCabinetSlots), r.U8(), cab, setCab); return true;
        default: return false;
        }
    }

    // [8][13][2 bytes][u16 L][person records]: the bank's transfer. Sent
    // when every name is a wanderer's; the money leaves the record.
    bool Transfer(const uint8_t* p, size_t n)
    {
        const size_t length = static_cast<size_t>(p[4] | (p[5] << 8));
        const size_t count = std::min(length, n - 6) / kPersonSize;
        bool known = count > 0;
        uint32_t amount = 0;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* person = p + 6 + i * kPersonSize;
            known = known && m_server.FindWandererByName(reinterpret_cast<const char*>(person), 12);
            amount = CByteReader(person + 17, 4).U32();
        }
        const int32_t money = Rec().I32(CharacterRecord::kMoney);
        const bool sent = known && amount > 0 && static_cast<int64_t>(amount) <= money;
        if (sent)
            Rec().SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(money - static_cast<int32_t>(amount)));
        CByteWriter w;
        w.U8(8).U8(kSubTransfer).U16(sent ? 1 : 0).U16(count ? kPersonSize : 0);
        if (count)
            w.Bytes(p + 6 + (count - 1) * kPersonSize, kPersonSize);
        m_server.Send(w.Buffer());
        return true;
    }

    uint16_t m_cabinet[kCabinetSlots] = {};
    std::vector<Ground> m_ground;
};

}  // namespace

std::unique_ptr<CDemoArea> MakeDemoTrade(CDemoServer& server)
{
    return std::make_unique<CDemoTrade>(server);
}
