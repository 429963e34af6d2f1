// The battle commands my character's actions send: the attack, the hit it
// took and its defeat. Each is the battle header and a payload.
#include "app/ReceiveDispatch.h"
#include "core/ByteWriter.h"
#include "net/MySocket.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

// [30][flag][u16 battle][sub][u16 payload length]
CByteWriter BattleHeader(uint32_t battle, int sub, int length, int flag = 0)
{
    CByteWriter w(7 + static_cast<size_t>(length));
    w.U8(30).U8(static_cast<uint32_t>(flag)).U16(battle).U8(static_cast<uint32_t>(sub)).U16(static_cast<uint32_t>(length));
    return w;
}

void Send(const CByteWriter& w)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

}  // namespace

void CObjLayer::SendBattleAttack(int targetId)
{
    const CharacterRecord& rec = m_myRecord;
    CByteWriter w = BattleHeader(m_battleNumber, 4, 26);
    w.U16(g_myId).U16(static_cast<uint32_t>(targetId));
    w.U16(rec.U32(CharacterRecord::kStrength)).U16(rec.U32(CharacterRecord::kAgility)).U16(rec.U32(CharacterRecord::kCourage));
    w.Bytes(rec.bytes.data() + CharacterRecord::kEquipment, 16);
    Send(w);
}

void CObjLayer::SendBattleStatus(int hp, int mp, int constitution, int wisdom)
{
    if (!m_inBattle)
        return;
    CByteWriter w = BattleHeader(m_battleNumber, 7, 10);
    w.U16(g_myId)
        .U16(static_cast<uint32_t>(hp))
        .U16(static_cast<uint32_t>(mp))
        .U16(static_cast<uint32_t>(constitution))
        .U16(static_cast<uint32_t>(wisdom));
    Send(w);
}

void CObjLayer::SendBattleHit(int attackerId, int x, int y, int value)
{
    CByteWriter w = BattleHeader(m_battleNumber, 5, 12);
    w.U16(g_myId)
        .U16(static_cast<uint32_t>(attackerId))
        .U16(static_cast<uint32_t>(x))
        .U16(static_cast<uint32_t>(y))
        .U16(static_cast<uint32_t>(value))
        .U16(m_myRecord.U32(CharacterRecord::kHp));
    Send(w);
}

void CObjLayer::SendBattleEnd(int killerId, const uint16_t* items, int n, int money, int experience, uint32_t value1,
                              uint32_t value2)
{
    n = (items && n > 0) ? std::min(n, 255) : 0;
    const CharacterRecord& rec = m_myRecord;
    CByteWriter w = BattleHeader(m_battleNumber, 6, 25 + 2 * n);
    w.U16(g_myId).U16(static_cast<uint32_t>(killerId));
    w.U16(static_cast<uint32_t>(money)).U16(static_cast<uint32_t>(experience));
    // The script number: only the server's own reports carry one.
    w.U16(0);
    w.U8(static_cast<uint32_t>(n));
    w.U16(rec.U32(CharacterRecord::kLevel)).U16(rec.U16(CharacterRecord::kJailed)).U16(rec.U16(CharacterRecord::kWanted));
    w.U32(value1).U32(value2);
    for (int i = 0; i < n; ++i)
        w.U16(items[i]);
    Send(w);
}
