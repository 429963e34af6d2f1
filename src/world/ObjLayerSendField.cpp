// The field commands the player's actions send: skills, battle joins,
// status bits, leaving an area and the carried item's drop or gift.
#include "app/ReceiveDispatch.h"
#include "effects/EffectsService.h"
#include "rules/ItemData.h"
#include "windows/MouseCursor.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"
#include "world/SendPacket.h"

namespace {
constexpr int kCabinetWindow = 98;

uint32_t U(int v) { return static_cast<uint32_t>(v); }
}  // namespace

void CObjLayer::SendSkill(int targetId) { SendPacket(CByteWriter().U8(22).U16(U(targetId))); }

void CObjLayer::SendJoinBattle(int battle) { SendPacket(CByteWriter().U8(27).U16(g_myId).U16(U(battle))); }

void CObjLayer::SendSkillReport(int charId, int value, int code)
{
    SendPacket(CByteWriter().U8('[').U16(g_myId).U16(U(charId)).U16(U(value)).U8(U(code)));
}

void CObjLayer::SendStatusFlags(int battle, int creatureId, uint32_t flags)
{
    SendPacket(CByteWriter().U8('$').U16(U(battle)).U16(U(creatureId)).U32(flags));
}

void CObjLayer::LeaveArea()
{
    if (m_areaCenterSet) {
        SendPacket(CByteWriter().U8(34).U16(g_myId));
        m_areaCenterSet = 0;
    }
    m_opponents.fill(OpponentRecord{});
    for (auto& table : m_pairNotices)
        table.fill(PairNotice{});
    if (m_deathMarkFlag)
        for (int i = 0; i < kDeathMarkPairs; ++i)
            if (m_deathMarks[static_cast<size_t>(i)].first) {
                m_deathMarkIndex = i;
                Effects().ResetDeathMan();
            }
    for (size_t i = 0; i < g_rememberedBattles.size(); ++i)
        if (g_rememberedBattles[i] != 0 && static_cast<uint32_t>(g_rememberedBattles[i]) == m_battleNumber)
            g_groupBattleFlags[i] = 0;
    m_battleJoined = 0;
}

void CObjLayer::DropMouseItem(int sx, int sy)
{
    const int item = g_mouseCursor.GetItemId();
    if (m_inBattle || item == 0 || !m_pBackground)
        return;
    int x = 0, y = 0;
    m_pBackground->ScreenToTile(sx, sy, x, y);
    if (!InMap(x, y) || GetObjectCell(x, y) != kCellEmpty)
        return;
    const uint8_t flags = m_pBackground->GetCellFlags(x, y);
    if (!(flags & kFlagDrawn) || (flags & kFlagBlocked))
        return;
    CCreature* other = m_pHoverCreature;
    const bool givesToPlayer = other && other != m_pMyChar && other->IsActive() && !other->IsMonster();
    if (givesToPlayer && Ui().IsWindowOpen(kCabinetWindow))
        return;
    if (givesToPlayer ? !g_itemData.CanGive(item) : !g_itemData.CanDrop(item)) {
        Ui().ReturnCarried(g_mouseCursor);
        return;
    }
    // The removal is reported before the drop or the gift leaves.
    if (!Ui().DropCarried(g_mouseCursor))
        return;
    if (givesToPlayer)
        SendPacket(CByteWriter().U8('.').U16(U(other->GetServerId())).U16(U(item)));
    else
        SendPacket(CByteWriter().U8('*').U16(g_myId).U16(U(item)).U16(U(x)).U16(U(y)));
    g_lastMouseCursor.SetTarget(x, y);
}
