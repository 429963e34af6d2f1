// The battle commands my character's actions send: its join and status,
// the attack, the hits it took, its defeat and the pair notices, and the
// group invitation. Each is the battle header and a payload.
#include <algorithm>
#include <cstdio>

#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/ByteWriter.h"
#include "effects/EffectsService.h"
#include "social/SocialService.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/AbilityCommands.h"
#include "world/BattlePacketHeader.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/SendPacket.h"

namespace {

constexpr int kStrInviteSent = 57;
constexpr int kStrCannotInvite = 60;

uint32_t U(int v) { return static_cast<uint32_t>(v); }

CByteWriter BattleHeader(uint32_t battle, int sub, int length, int flag = BattlePacketHeader::kFlagPlain)
{
    CByteWriter w(BattlePacketHeader::kSize + static_cast<size_t>(length));
    BattlePacketHeader h;
    h.flag = static_cast<uint8_t>(flag);
    h.battle = static_cast<uint16_t>(battle);
    h.sub = static_cast<uint8_t>(sub);
    h.length = static_cast<uint16_t>(length);
    h.Write(w);
    return w;
}

}  // namespace

void CObjLayer::SendBattleJoin(int x, int y)
{
    if (!m_inBattle)
        return;
    const CharacterRecord& rec = m_myRecord;
    CByteWriter w = BattleHeader(m_battleNumber, 1, BattleParticipant::kSize);
    w.U16(g_myId).U16(U(x)).U16(U(y)).U16(U(g_playerInfo.GetClass()));
    w.U8(rec.U32(CharacterRecord::kSpeedClass) & 0xFF).U8(rec.U32(CharacterRecord::kLook) & 0xFF);
    w.U16(m_groupHeader[kGroupLeader]).U16(rec.U32(CharacterRecord::kLevel));
    w.U32(0).U16(rec.U16(CharacterRecord::kFame));
    SendPacket(w);
}

void CObjLayer::SendBattleAttack(int targetId)
{
    const CharacterRecord& rec = m_myRecord;
    CByteWriter w = BattleHeader(m_battleNumber, 4, 26);
    w.U16(g_myId).U16(U(targetId));
    w.U16(rec.U32(CharacterRecord::kStrength)).U16(rec.U32(CharacterRecord::kAgility)).U16(rec.U32(CharacterRecord::kCourage));
    for (int s = 0; s < CharacterRecord::kEquipSlots; ++s)
        w.U16(rec.Equip(s));
    SendPacket(w);
}

void CObjLayer::SendBattleHit(int attackerId, int x, int y, int value)
{
    CByteWriter w = BattleHeader(m_battleNumber, 5, 12);
    w.U16(g_myId).U16(U(attackerId)).U16(U(x)).U16(U(y)).U16(U(value)).U16(m_myRecord.U32(CharacterRecord::kHp));
    SendPacket(w);
}

void CObjLayer::SendBattleHitFlagged(int attackerId, int x, int y, int value, int mode)
{
    CByteWriter w = BattleHeader(m_battleNumber, 9, 13, BattlePacketHeader::kFlagHitFlagged);
    w.U16(g_myId).U16(U(attackerId)).U16(U(x)).U16(U(y)).U16(U(value)).U16(m_myRecord.U32(CharacterRecord::kHp));
    w.U8(U(mode));
    SendPacket(w);
}

void CObjLayer::SendBattleStatus(int hp, int mp, int constitution, int wisdom)
{
    if (!m_inBattle)
        return;
    CByteWriter w = BattleHeader(m_battleNumber, 7, 10);
    w.U16(g_myId).U16(U(hp)).U16(U(mp)).U16(U(constitution)).U16(U(wisdom));
    SendPacket(w);
}

void CObjLayer::SendAbilityCommand(int sub, const CCreature& caster, int targetId, int x, int y, uint32_t amount,
                                   int byte)
{
    const AbilityCommandRow* row = FindAbilityCommand(sub);
    if (!m_inBattle || !row)
        return;
    const CharacterRecord& rec = caster.GetCharRecord();
    AbilityPacket k;
    k.caster = static_cast<uint16_t>(caster.IsMine() ? g_myId : caster.GetServerId());
    k.target = static_cast<uint16_t>(targetId);
    k.goalX = U(x);
    k.goalY = U(y);
    k.words = {U(x), U(y)};
    for (int i = 0; i < row->count; ++i) {
        const AbilityFieldDef& f = row->fields[static_cast<size_t>(i)];
        if (f.kind == AbilityField::sum32 || f.kind == AbilityField::sum16)
            k.stat[static_cast<size_t>(f.stat)] = static_cast<uint32_t>(StatSum(rec, f.stat));
        else if (f.kind == AbilityField::plain32)
            k.stat[static_cast<size_t>(f.stat)] = rec.U32(StatOffset(f.stat));
    }
    for (int s = 0; s < CharacterRecord::kEquipSlots; ++s)
        k.equip[static_cast<size_t>(s)] = rec.Equip(s);
    k.amount = amount;
    k.byte = static_cast<uint8_t>(byte);
    k.field20 = rec.U16(CharacterRecord::kInputA);
    k.field26 = rec.U16(CharacterRecord::kInputB);
    CByteWriter w = BattleHeader(m_battleNumber, sub, row->PayloadSize());
    EncodeAbilityPayload(*row, k, w);
    SendPacket(w);
}

void CObjLayer::SendBattleEnd(int killerId, const uint16_t* items, int n, int money, int experience, uint32_t value1,
                              uint32_t value2)
{
    n = (items && n > 0) ? std::min(n, 255) : 0;
    const CharacterRecord& rec = m_myRecord;
    CByteWriter w = BattleHeader(m_battleNumber, 6, 25 + 2 * n);
    w.U16(g_myId).U16(U(killerId));
    w.U16(U(money)).U16(U(experience));
    // The script number: the killer's client runs one above 100, so a
    // defeat reported from here names none.
    w.U16(0);
    w.U8(U(n));
    w.U16(rec.U32(CharacterRecord::kLevel)).U16(rec.U16(CharacterRecord::kJailed)).U16(rec.U16(CharacterRecord::kWanted));
    w.U32(value1).U32(value2);
    for (int i = 0; i < n; ++i)
        w.U16(items[i]);
    SendPacket(w);

    if (Social().GetRescueBattle() == m_battleNumber)
        Social().ClearRescuer();
    ClearBattleTables();
}

void CObjLayer::ClearBattleTables()
{
    m_opponents.fill(OpponentRecord{});
    for (auto& table : m_pairNotices)
        table.fill(PairNotice{});
    if (m_deathMarkFlag)
        for (int i = 0; i < kDeathMarkPairs; ++i)
            if (m_deathMarks[static_cast<size_t>(i)].first || m_deathMarks[static_cast<size_t>(i)].second) {
                m_deathMarkIndex = i;
                Effects().ResetDeathMan();
            }
    m_deathMarks.fill(DeathMarkPair{});
    m_deathMarkMarked.fill(0);
    m_deathMarkFlag = 0;
}

namespace {

// The addressee travels where the battle number would.
void SendNotice(int sub, int kind, int myId, int opponentId, int addresseeId, int groupKey)
{
    CByteWriter w = BattleHeader(U(addresseeId), sub, 9, BattlePacketHeader::kFlagPairNotice);
    w.U16(U(myId)).U8(U(kind)).U16(U(opponentId)).U16(U(addresseeId)).U16(U(groupKey));
    SendPacket(w);
}

}  // namespace

void CObjLayer::SendPairNotice(int myId, int /*kind*/, int opponentId, int addresseeId, int groupKey)
{
    SendNotice(46, 0, myId, opponentId, addresseeId, groupKey);
}

void CObjLayer::SendPairNoticeReverse(int myId, int /*kind*/, int opponentId, int addresseeId, int groupKey)
{
    SendNotice(47, 1, myId, opponentId, addresseeId, groupKey);
}

void CObjLayer::InviteToGroup(int id, const char* name)
{
    CCharacter* invited = FindCharacterById(id);
    if (!invited || !m_pMyChar || invited == m_pMyChar || id == g_myId || id >= 1000)
        return;
    if (!GroupIsMineAndHasFreeSlot(m_groupHeader, g_myId)) {
        Ui().AddLine(GetGameString(kStrCannotInvite));
        return;
    }
    SendPacket(CByteWriter().U8('<').U16(U(id)));
    char text[200];
    std::snprintf(text, sizeof text, GetGameString(kStrInviteSent), name ? name : "");
    Ui().AddLine(text);
}
