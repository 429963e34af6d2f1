// Battle mode on the object layer: the command-30 dispatcher, entering and
// leaving a battle and the group counts the rewards use.
#include <algorithm>
#include <array>
#include <cstdint>

#include "app/CommandRing.h"
#include "app/ExitGame.h"
#include "app/MouseState.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/ByteReader.h"
#include "net/PacketAssembler.h"
#include "platform/Crt.h"
#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "rules/CalcData.h"
#include "world/BGLayer.h"
#include "world/BattlePacketHeader.h"
#include "world/Character.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"

namespace {

// The battle window reaches this far from the centre (one more to the
// right and below for the sight window).
constexpr int kBattleReach = 16;
constexpr int kCommandEnteredBattle = 37;
constexpr int kCommandLeftBattle = 38;
// The largest fixed payload of the table.
constexpr int kMaxPayload = 38;

using Handler = void (CObjLayer::*)(const uint8_t*);

struct HandlerRow {
    uint8_t sub;
    Handler fn;
};

constexpr HandlerRow kHandlers[] = {
    {1, &CObjLayer::OnBattleJoin},       {4, &CObjLayer::OnBattleAttack},     {5, &CObjLayer::OnBattleHit},
    {6, &CObjLayer::OnBattleResult},     {7, &CObjLayer::OnBattleStatus},     {9, &CObjLayer::OnBattleHitFlagged},
    {45, &CObjLayer::OnDeathMarkHit},    {46, &CObjLayer::OnPairNotice},      {47, &CObjLayer::OnPairNoticeReverse},
};

}  // namespace

void CObjLayer::OnBattleCommand(const uint8_t* fixed)
{
    CByteReader r(fixed, BattlePacketHeader::kFixedSize);
    const BattlePacketHeader h = BattlePacketHeader::ReadFixed(r);
    plat::DebugPrintf("***receive battle command %d\n", h.sub);
    const int size = BattlePayloadSize(h.sub);
    if (size < 0) {
        plat::MessageBox("", GetGameString(IDS_PROTOCOL_ERROR));
        ExitGame();
        return;
    }
    std::array<uint8_t, kMaxPayload> payload{};
    // A short payload is dropped whole, never half applied.
    if (NetRead(payload.data(), size) != size)
        return;
    if (h.sub == 200 || h.sub == 201)
        return;
    for (const HandlerRow& row : kHandlers)
        if (row.sub == h.sub) {
            (this->*row.fn)(payload.data());
            return;
        }
    OnBattleAbilityCommand(h.sub, payload.data(), size);
}

void CObjLayer::StartCell(const BattleBlock& block, int& x, int& y)
{
    const int cx = static_cast<int>(block.centreX), cy = static_cast<int>(block.centreY);
    const int w = m_pBackground && m_pBackground->GetMapWidth() > 0 ? std::min(m_pBackground->GetMapWidth(), kMapSize)
                                                                      : kMapSize;
    const int hgt = m_pBackground && m_pBackground->GetMapHeight() > 0
                        ? std::min(m_pBackground->GetMapHeight(), kMapSize)
                        : kMapSize;
    // Strictly inside the window, which is clipped to the map.
    const int x0 = std::max(cx - kBattleReach, 0), x1 = std::min(cx + kBattleReach, w) - 1;
    const int y0 = std::max(cy - kBattleReach, 0), y1 = std::min(cy + kBattleReach, hgt) - 1;
    x = cx;
    y = cy;
    const int count = static_cast<int>(std::min<uint32_t>(block.count, kMaxParticipants));
    const int steps = plat::Rand() % (10 * count + 1) + 2;
    for (int i = 0; i < steps; ++i) {
        const int nx = x + plat::Rand() % 3 - 1;
        const int ny = y + plat::Rand() % 3 - 1;
        if (nx <= x0 || nx >= x1 || ny <= y0 || ny >= y1)
            continue;
        if (GetObjectCell(nx, ny) != 0)
            continue;
        if (m_pBackground && (m_pBackground->GetCellFlags(nx, ny) & kFlagBlocked))
            continue;
        x = nx;
        y = ny;
    }
}

void CObjLayer::EnterBattle(const BattleBlock& block)
{
    if (m_inBattle)
        return;
    auto battleView = [this](int cx, int cy) {
        ShowRangeCircle(1);
        if (m_pBackground) {
            m_pBackground->SetSightMode(1);
            m_pBackground->SetSightWindow(std::max(cx - kBattleReach, 0), std::max(cy - kBattleReach, 0),
                                          std::min(cx + kBattleReach + 1, kMapSize - 1),
                                          std::min(cy + kBattleReach + 1, kMapSize - 1));
        }
    };
    if (!IsOnline()) {
        m_inBattle = 1;
        m_cureReceived = 0;
        m_hitStatFlag = 0;
        if (!m_pMyChar)
            return;
        m_battleCentreX = m_pMyChar->GetTileX();
        m_battleCentreY = m_pMyChar->GetTileY();
        battleView(m_battleCentreX, m_battleCentreY);
        g_mouseState.ClearMouseButtons();
        return;
    }
    if (block.battle == 0 || !InMap(static_cast<int>(block.centreX), static_cast<int>(block.centreY))) {
        g_mouseState.ClearMouseButtons();
        return;
    }
    m_inBattle = 1;
    m_cureReceived = 0;
    m_hitStatFlag = 0;
    m_battleNumber = block.battle;
    m_pendingInviter = 0;
    m_pendingChallenger = 0;
    const int cx = static_cast<int>(block.centreX), cy = static_cast<int>(block.centreY);
    m_battleCentreX = cx;
    m_battleCentreY = cy;
    m_areaCenterSet = 1;
    m_areaX = cx;
    m_areaY = cy;
    battleView(cx, cy);
    ClearGroundItems(0, 0, kMapSize - 1, kMapSize - 1);
    SendLeaveField();
    RemoveAllCharacters();
    RemoveAllNpcs();
    if (static_cast<int>(block.battle) >= kDeathMatchFirst) {
        const int maxHp = CalcMaxHp(m_myRecord);
        if (m_myRecord.I32(CharacterRecord::kHp) > maxHp)
            m_myRecord.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(maxHp));
    }
    int x = cx, y = cy;
    StartCell(block, x, y);
    SetMyCharacter(CreateMyCharacter(x, y));

    const uint32_t count = std::min<uint32_t>(block.count, kMaxParticipants);
    m_participants = block.participants;
    m_participantCount = count;
    for (uint32_t i = 0; i < count; ++i) {
        const BattleParticipant& p = block.participants[i];
        if (p.id == 0 || p.x == BattleParticipant::kNotPlaced)
            continue;
        CCharacter* c = AddCharacter(p.id, p.x, p.y, p.type, p.speedClass, p.attribute);
        if (!c)
            continue;
        CCreature::GroupKey key{};
        key[0] = p.groupKey;
        c->SetGroupKey(key);
        c->GetCharRecord().SetU32(CharacterRecord::kLevel, p.level);
        c->GetCharRecord().SetU16(CharacterRecord::kFame, p.field31);
        c->SetStatusFlags(p.status);
    }
    if (m_pMyChar)
        m_pMyChar->SetMyTurn(0);
    SendBattleJoin(x, y);
    SendBattleMove(x, y);
    const CharacterRecord& rec = PlayerRecord();
    SendBattleStatus(rec.I32(CharacterRecord::kHp), rec.I32(CharacterRecord::kMp),
                     rec.I32(CharacterRecord::kConstitution), rec.I32(CharacterRecord::kWisdom));
    m_battleOver = 0;
    g_commandRing.Push(kCommandEnteredBattle);
    g_mouseState.ClearMouseButtons();
}

void CObjLayer::LeaveBattle()
{
    if (!m_inBattle)
        return;
    m_inBattle = 0;
    m_cureReceived = 0;
    m_hitStatFlag = 0;
    ShowRangeCircle(0);
    LeaveArea();
    m_areaX = m_areaY = -1;
    if (m_pBackground)
        m_pBackground->SetSightMode(0);
    if (IsOnline())
        RemoveAllCharacters();
    g_mouseState.ClearMouseButtons();
    g_commandRing.Push(kCommandLeftBattle);
}

int CObjLayer::CountGroupInBattle() const
{
    int n = 1;
    if (m_groupHeader[kGroupLeader] == 0)
        return n;
    for (const BattleParticipant& p : m_participants) {
        // A free slot names nobody.
        if (p.id == 0)
            continue;
        for (int s = kGroupFirstMember; s <= kGroupMemberSlots; ++s)
            if (m_groupHeader[static_cast<size_t>(s)] == p.id)
                ++n;
    }
    return n;
}

int CObjLayer::SumGroupLevels()
{
    int64_t sum = PlayerRecord().I32(CharacterRecord::kLevel);
    if (m_groupHeader[kGroupLeader] == 0)
        return static_cast<int>(sum);
    for (const BattleParticipant& p : m_participants) {
        if (p.id == 0)
            continue;
        for (int s = kGroupFirstMember; s <= kGroupMemberSlots; ++s) {
            if (m_groupHeader[static_cast<size_t>(s)] != p.id)
                continue;
            for (int i = 0; i < kCharacters; ++i) {
                CCharacter& c = CharacterSlot(i);
                if (c.IsActive() && c.IsAlive() && c.GetServerId() == p.id)
                    sum += c.GetCharRecord().I32(CharacterRecord::kLevel);
            }
        }
    }
    // Levels come from the server: the sum stays an int.
    return static_cast<int>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}
