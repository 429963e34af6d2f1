#include "rules/CreatureStatus.h"

#include <array>

#include "core/ByteWriter.h"
#include "net/MySocket.h"
#include "rules/AbilitySet.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

// Ids learned by a class, column by column: always, then above levels 1,
// 2, 9, 24, 39, 49 and 59.
constexpr std::array<int, 8> kLevelAbove = {-0x7FFFFFFF - 1, 1, 2, 9, 24, 39, 49, 59};
constexpr int kNone = -1;
struct LearnColumn {
    int ids[2];
};
constexpr LearnColumn kLearn[6][8] = {
    {{{1, kNone}}, {{0, 2}}, {{3, kNone}}, {{4, kNone}}, {{5, kNone}}, {{kNone, kNone}}, {{16, kNone}}, {{7, kNone}}},
    {{{1, kNone}}, {{0, 2}}, {{3, kNone}}, {{4, kNone}}, {{6, kNone}}, {{kNone, kNone}}, {{kNone, kNone}}, {{7, kNone}}},
    {{{16, kNone}}, {{0, 17}}, {{18, kNone}}, {{19, kNone}}, {{21, kNone}}, {{23, kNone}}, {{kNone, kNone}}, {{kNone, kNone}}},
    {{{16, kNone}}, {{0, 17}}, {{18, kNone}}, {{20, kNone}}, {{22, kNone}}, {{23, kNone}}, {{kNone, kNone}}, {{kNone, kNone}}},
    {{{8, kNone}}, {{0, 9}}, {{10, kNone}}, {{11, kNone}}, {{12, kNone}}, {{14, 15}}, {{kNone, kNone}}, {{kNone, kNone}}},
    {{{8, kNone}}, {{0, 9}}, {{10, kNone}}, {{11, kNone}}, {{13, kNone}}, {{14, 15}}, {{kNone, kNone}}, {{kNone, kNone}}},
};

void Send(const CByteWriter& w)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

uint32_t BattleNumber()
{
    const CObjLayer* layer = GetObjLayer();
    return layer ? layer->m_battleNumber : 0;
}

// The end of my frozen or hidden state is told to the other clients:
// [30][0][u16 battle][200][u16 3][u16 my id][u8 1], then command 36 with my
// whole status bits.
void TellShown(const CreatureStatusBits& s)
{
    const uint32_t battle = BattleNumber();
    const uint16_t me = g_playerInfo.GetCharId();
    Send(CByteWriter().U8(30).U8(0).U16(battle).U8(200).U16(3).U16(me).U8(1));
    if (CObjLayer* layer = GetObjLayer())
        layer->SendStatusFlags(static_cast<int>(battle), me, s.bits);
    else
        Send(CByteWriter().U8(36).U16(battle).U16(me).U32(s.bits));
}

void SetBit(CreatureStatusBits& s, uint32_t bit, uint32_t& count, bool on, bool mine)
{
    count = 0;
    if (on) {
        s.bits |= bit;
        return;
    }
    // Only a bit that was set is told to have ended.
    const bool was = (s.bits & bit) != 0;
    s.bits &= ~bit;
    if (mine && was)
        TellShown(s);
}

}  // namespace

void LearnAbilities(CAbilitySet& set, const CharacterRecord& rec)
{
    const uint32_t cls = rec.U32(CharacterRecord::kClass);
    if (cls > 5)
        return;
    const int level = rec.I32(CharacterRecord::kLevel);
    for (size_t col = 0; col < kLevelAbove.size(); ++col) {
        if (col > 0 && level <= kLevelAbove[col])
            continue;
        for (int id : kLearn[cls][col].ids)
            if (id != kNone)
                set.SetOwnedIfAllowed(id);
    }
}

void SetFrozen(CreatureStatusBits& s, bool on, bool mine)
{
    SetBit(s, CreatureStatusBits::kFrozen, s.frozenCount, on, mine);
}

void SetHidden(CreatureStatusBits& s, bool on, bool mine)
{
    SetBit(s, CreatureStatusBits::kHidden, s.hiddenCount, on, mine);
}

void UpdateStatusTimers(CreatureStatusBits& s, bool mine)
{
    if (IsFrozen(s) && ++s.frozenCount >= CreatureStatusBits::kFrozenUpdates)
        SetFrozen(s, false, mine);
    if (IsHidden(s) && ++s.hiddenCount >= CreatureStatusBits::kHiddenUpdates)
        SetHidden(s, false, mine);
}

bool IsHealAbility(int id)
{
    return id == 7 || id == 10 || id == 13 || id == 14 || id == 15;
}
