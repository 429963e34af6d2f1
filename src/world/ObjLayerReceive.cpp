// The object layer's handlers of received commands: entering and presence
// and the character fields. The other field commands are in
// ObjLayerReceiveField.cpp, the group commands in ObjLayerGroup.cpp.
#include <algorithm>
#include <array>

#include "core/ByteReader.h"
#include "net/PacketAssembler.h"
#include "app/ReceiveDispatch.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {
// The u16 at offset off of a fixed part of size n.
int FixedU16(const uint8_t* fixed, size_t n, size_t off)
{
    CByteReader r(fixed, n);
    r.Seek(off);
    return r.U16();
}
// A character record of commands 3, 4, 10 and 12: id, cell, sprite set,
// speed class and look; commands 3 and 4 have a byte between id and cell.
struct FieldRecord {
    int id, x, y, type, speedClass;
    uint32_t look;
};

FieldRecord ReadFieldRecord(const uint8_t* p, size_t n, bool gap)
{
    CByteReader r(p, n);
    FieldRecord f{};
    f.id = r.U16();
    if (gap)
        r.U8();
    f.x = r.U16();
    f.y = r.U16();
    f.type = r.U16();
    f.speedClass = r.U8();
    f.look = r.U8();
    return f;
}

constexpr int kAreaReach = 13;
constexpr int kMapCells = 512;

}  // namespace

// The cell a record names is on the loaded map.
bool CObjLayer::CellOnMap(int x, int y) const
{
    return m_pBackground ? m_pBackground->IsOnMap(x, y) : InMap(x, y);
}

void CObjLayer::OnEnterField(const uint8_t* fixed)
{
    if (m_inBattle)
        return;
    const FieldRecord r = ReadFieldRecord(fixed, 11, true);
    // An entry without a character id is the server's refusal; one at a
    // cell off the map counts as one, so the entry is asked for again.
    m_enteredAnswer = r.id != 0 && CellOnMap(r.x, r.y) ? 1 : -1;
    if (m_enteredAnswer != 1)
        return;
    if (!m_pMyChar) {
        if (CCharacter* me = CreateMyCharacter(r.x, r.y)) {
            SetMyCharacter(me);
            m_stageChange.Finish();
        }
    }
    m_inField = 1;
}

void CObjLayer::OnCharacterAppear(const uint8_t* fixed)
{
    const FieldRecord r = ReadFieldRecord(fixed, 11, true);
    if (m_inBattle || !CellOnMap(r.x, r.y) || FindCharacterById(r.id))
        return;
    AddCharacter(r.id, r.x, r.y, r.type, r.speedClass, r.look);
}

void CObjLayer::OnCharacterLeave(const uint8_t* fixed)
{
    const int id = FixedU16(fixed, 2, 0);
    if (m_inBattle || id == g_myId)
        return;
    if (CCharacter* c = FindCharacterById(id)) {
        if (m_pHoverCreature == c)
            m_pHoverCreature = nullptr;
        if (m_pHoverObj == c)
            m_pHoverObj = nullptr;
        c->RemoveFromMap();
    }
}

void CObjLayer::OnAreaUpdate(const uint8_t* fixed)
{
    const int cx = FixedU16(fixed, 6, 0), cy = FixedU16(fixed, 6, 2), count = FixedU16(fixed, 6, 4);
    if (!m_inBattle && m_pMyChar && CellOnMap(cx, cy)) {
        // The cells of the new 27 x 27 window that the previous one did not
        // cover come into view: no item is known to lie there.
        auto inWindow = [](int x, int y, int wx, int wy) {
            return x >= wx - kAreaReach && x <= wx + kAreaReach && y >= wy - kAreaReach && y <= wy + kAreaReach;
        };
        for (int y = std::max(0, cy - kAreaReach); y <= std::min(kMapCells - 1, cy + kAreaReach); ++y)
            for (int x = std::max(0, cx - kAreaReach); x <= std::min(kMapCells - 1, cx + kAreaReach); ++x)
                if (!m_areaCenterSet || !inWindow(x, y, m_areaX, m_areaY))
                    SetGroundItem(x, y, 0);
        m_areaCenterSet = 1;
        m_areaX = cx;
        m_areaY = cy;
    }
    for (int i = 0; i < count; ++i) {
        uint8_t rec[10];
        if (NetRead(rec, sizeof rec) != static_cast<int>(sizeof rec))
            return;
        const FieldRecord r = ReadFieldRecord(rec, sizeof rec, false);
        if (!m_inBattle && CellOnMap(r.x, r.y) && !FindCharacterById(r.id))
            AddCharacter(r.id, r.x, r.y, r.type, r.speedClass, r.look);
    }
}

void CObjLayer::OnCharacterMove(const uint8_t* fixed)
{
    const FieldRecord r = ReadFieldRecord(fixed, 10, false);
    if (m_inBattle || !CellOnMap(r.x, r.y))
        return;
    CCharacter* c = FindCharacterById(r.id);
    if (!c) {
        AddCharacter(r.id, r.x, r.y, r.type, r.speedClass, r.look);
        return;
    }
    if (c == m_pMyChar)
        return;
    CharacterRecord& rec = c->GetCharRecord();
    if (r.speedClass != 0)
        rec.SetU32(CharacterRecord::kSpeedClass, static_cast<uint32_t>(r.speedClass));
    rec.SetU32(CharacterRecord::kLook, r.look);
    c->MoveTo(r.x, r.y, 1);
}

void CObjLayer::OnCharacterField(const uint8_t* fixed)
{
    const uint16_t id = static_cast<uint16_t>(FixedU16(fixed, 3, 0));
    const int field = fixed[2];
    const int tail = CharacterFieldTailLength(field);
    if (tail < 0)
        return;  // the framing refuses such a packet before it gets here
    std::array<uint8_t, CharacterRecord::kFieldImageSize> payload{};
    const size_t n = static_cast<size_t>(std::min(tail, static_cast<int>(payload.size())));
    if (NetRead(payload.data(), static_cast<int>(n)) != static_cast<int>(n))
        return;
    OnCharacterField(id, field, payload.data(), n);
}
