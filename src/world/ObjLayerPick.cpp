// The object layer's picking: what lies under the mouse and what a click
// on it does.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "colony/ColonyService.h"
#include "core/RleImage.h"
#include "intro/IntroLayer.h"
#include "platform/Clock.h"
#include "rules/AbilitySet.h"
#include "rules/CalcData.h"
#include "windows/PlayerInfo.h"
#include "windows/ProfileRecord.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/FieldFrame.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"
#include "world/StageLoader.h"
#include "world/StructureObj.h"

int32_t g_profileId;
char g_profileName[17];
int32_t g_profileClass;

namespace {

constexpr uint32_t kScanCtrl = 29;
constexpr uint32_t kScanAlt = 56;
constexpr uint32_t kClickMs = 250;
constexpr uint32_t kMarkerClickMs = 15;
constexpr int kCommandTalk = 75;
constexpr int kTalkFirst = 9000, kTalkLast = 9999;
constexpr int kMarkerLevel = 10;
constexpr int kStringNoPvp = 22;
constexpr int kStringNoTurn = 23;
constexpr int kStringOutOfRange = 24;
constexpr int kStringNoMp = 26;
constexpr int kStringNoHp = 45;
constexpr int kStringMarkerLevel = 77;
constexpr int kProfileWindow = 26;
constexpr int kProfileCommand = 12;
constexpr int kProfileFields[] = {7, 32, 32, 35, 36, 31};
// The colony request's sub-code for a character's profile text.
constexpr int kColonyProfileText = 1;

// Alt+A, D, I, R, S in battle: the battle command bar's ids.
constexpr struct {
    uint32_t scan;
    uint32_t command;
} kAltKeys[] = {{30, 39}, {32, 40}, {23, 41}, {19, 42}, {31, 43}};

bool Since(uint32_t now, uint32_t then, uint32_t ms) { return static_cast<int32_t>(now - then) >= static_cast<int32_t>(ms); }

}  // namespace

const StructureCommand* FindStructureCommand(std::string_view name)
{
    static constexpr StructureCommand kTable[] = {
        {"NoticeBoard", 49, 0, nullptr},     {"BugBoard", 50, 0, nullptr},
        {"FreeBoard", 48, 0, nullptr},       {"RankingBoard", 89, 0, nullptr},
        {"SellMachine", 70, 0, "potion01.bin"}, {"SellMachine1", 70, 0, "potion02.bin"},
        {"Event002", 75, 10001, nullptr},    {"S1arrowsw", 75, 10002, nullptr},
        {"S1arrowse", 75, 10003, nullptr},   {"S1arrowsw2", 75, 10004, nullptr},
        {"S1arrowjail", 75, 10005, nullptr}, {"Event004", 75, 10006, nullptr},
    };
    for (const StructureCommand& c : kTable)
        if (name == c.name)
            return &c;
    return nullptr;
}

void CObjLayer::PickAndClick()
{
    m_pHoverObj = nullptr;
    m_pHoverCreature = nullptr;
    m_pHoverNpc = nullptr;
    m_pHoverStructure = nullptr;
    if (!m_pMyChar)
        return;
    g_cursorFrame = 1;
    const int mx = g_mouseState.GetX(), my = g_mouseState.GetY();

    for (int i = m_drawList.GetCount() - 1; i >= 0 && !m_pHoverCreature; --i) {
        const DrawEntry& e = m_drawList.GetSorted(i);
        if (!e.owner || !e.image)
            continue;
        const int left = static_cast<int16_t>(e.x) - e.image->GetHotSpot().x;
        const int top = static_cast<int16_t>(e.y) - static_cast<int16_t>(e.z) - e.image->GetHotSpot().y;
        if (mx < left || my < top || mx >= left + e.image->GetSize().cx || my >= top + e.image->GetSize().cy)
            continue;
        m_pHoverObj = e.owner;
        switch (e.owner->GetKind()) {
        case CObj::kindCharacter:
        case CObj::kindCreature: m_pHoverCreature = static_cast<CCreature*>(e.owner); break;
        case CObj::kindNpc: m_pHoverNpc = static_cast<CNpc*>(e.owner); break;
        case CObj::kindStructure: m_pHoverStructure = static_cast<CStructureObj*>(e.owner); break;
        default: break;
        }
    }

    CAbilitySet& abilities = m_pMyChar->GetAbilitySet();
    const bool ctrl = g_keyState[kScanCtrl] != 0;
    if (abilities.GetSelectedCategory() != 0 || (!m_inBattle && ctrl))
        g_cursorFrame = 5;
    if (m_inBattle && g_keyState[kScanAlt])
        for (const auto& k : kAltKeys)
            if (g_keyState[k.scan])
                g_commandRing.Push(k.command);

    const uint32_t now = plat::NowMs();
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN) && Since(now, g_lastClickAt, kClickMs) && mx >= m_viewLeft &&
        mx < m_viewRight && my >= m_viewTop && my < m_viewBottom && m_pMyChar->IsAlive()) {
        g_lastClickAt = now;
        HandleLeftClick(mx, my);
    }

    if (g_mouseState.IsMouseEvent(MOUSE_RDOWN)) {
        if (m_inBattle && abilities.GetSelectedCategory() != 0) {
            abilities.ClearSelectedCategory();
            g_cursorFrame = 1;
        }
        if (m_battleOver == 1 || m_battleOver == 2)
            m_stageChange.Init(CStageChange::kLeaveBattle, m_battleOver == 1 ? 0 : 1, 0, 0);
        m_battleOver = 0;
    }
    // Leaving the battle took my character with the others.
    if (!m_pMyChar)
        return;

    if (g_mouseState.IsMouseEvent(MOUSE_RDBLCLK) && !m_inBattle && m_pHoverCreature && m_pHoverCreature != m_pMyChar &&
        mx >= m_viewLeft && mx < m_viewRight && my >= m_viewTop && my < m_viewBottom)
        OpenProfile(m_pHoverCreature);
}

void CObjLayer::HandleLeftClick(int mx, int my)
{
    if (m_inBattle) {
        ClickInBattle(mx, my);
        return;
    }
    if (m_pHoverCreature && m_pHoverCreature != m_pMyChar) {
        ClickOnCreature(m_pHoverCreature);
        return;
    }
    if (m_pHoverNpc && m_pHoverNpc->IsAlive()) {
        ClickOnNpc(m_pHoverNpc);
        return;
    }
    if (m_pHoverStructure && ClickOnStructure(m_pHoverStructure))
        return;
    ClickOnGround(mx, my);
}

void CObjLayer::ClickInBattle(int mx, int my)
{
    CCreature* target = m_pHoverCreature != m_pMyChar ? m_pHoverCreature : nullptr;
    int tx = 0, ty = 0;
    // The ability aims at the hovered creature, my own character included.
    CCreature* aimed = m_pHoverCreature;
    if (target) {
        tx = target->GetTileX();
        ty = target->GetTileY();
    } else if (m_pBackground) {
        m_pBackground->ScreenToTile(mx, my, tx, ty);
    }
    CAbilitySet& abilities = m_pMyChar->GetAbilitySet();
    int category = abilities.GetSelectedCategory();
    if (g_gmFlag && g_keyState[kScanCtrl]) {
        category = 1;
        if (g_playerInfo.GetBattleState())
            abilities.SelectCategory(1);
    }
    if (category != 1 && category != 2 && category != 6) {
        if (target)
            m_pMyChar->OrderAttack(target, 0);
        else
            m_pMyChar->MoveTo(tx, ty, 0);
        return;
    }
    const int id = abilities.GetCurrentId(category);
    CharacterRecord& rec = m_pMyChar->GetCharRecord();
    const int hp = rec.I32(CharacterRecord::kHp), mp = rec.I32(CharacterRecord::kMp);
    const bool enoughHp = hp > GetAbilityHpCost(id), enoughMp = mp >= GetAbilityMpCost(id, rec);
    if (!enoughHp || !enoughMp) {
        Ui().AddLine(GetGameString(enoughHp ? kStringNoMp : kStringNoHp));
    } else if (IsHealAbility(id)) {
        if (id == kAbilityCure)
            m_cureReceived = 1;
        UseAbility(id, aimed, tx, ty);
    } else if (!m_pMyChar->GetMyTurn()) {
        Ui().AddLine(GetGameString(kStringNoTurn));
    } else if (std::max(std::abs(tx - m_pMyChar->GetTileX()), std::abs(ty - m_pMyChar->GetTileY())) >=
               GetRangeRadius(rec)) {
        Ui().AddLine(GetGameString(kStringOutOfRange));
    } else if (id == kAbilityMagicHealing) {
        UseAbility(id, aimed, mp, 0);
    } else {
        UseAbility(id, aimed, tx, ty);
    }
    abilities.ClearSelectedCategory();
}

void CObjLayer::ClickOnCreature(CCreature* target)
{
    const int cls = target->GetCharRecord().I32(CharacterRecord::kClass);
    if (cls >= kTalkFirst && cls <= kTalkLast) {
        g_commandRing.Push(kCommandTalk);
        g_commandRing.Push(static_cast<uint32_t>(cls));
        return;
    }
    const bool monster = target->IsMonster() != 0;
    if (!g_keyState[kScanCtrl]) {
        if (monster)
            m_pMyChar->OrderChallenge(target, 0);
        else
            m_pMyChar->OrderAttack(target, 0);
    } else if (monster || g_currentMapId != 0 || IsWanted(target->GetCharRecord())) {
        m_pMyChar->OrderChallenge(target, 0);
    } else {
        Ui().AddLine(GetGameString(kStringNoPvp));
    }
}

void CObjLayer::ClickOnNpc(CNpc* npc)
{
    const uint32_t now = plat::NowMs();
    if (npc->GetBattle() != 0) {
        const int battle = npc->GetBattle();
        bool markerTaken = false;
        if (g_keyState[kScanCtrl] && Since(now, g_lastMarkerClickAt, kMarkerClickMs)) {
            g_lastMarkerClickAt = now;
            markerTaken = true;
            if (battle >= kDeathMatchFirst) {
                if (!g_gmFlag && m_pMyChar->GetCharRecord().I32(CharacterRecord::kLevel) < kMarkerLevel)
                    Ui().AddLine(GetGameString(kStringMarkerLevel));
                else
                    SendJoinBattle(battle);
            } else if (g_currentMapId != 0 || g_gmFlag) {
                SendJoinBattle(battle);
            } else {
                Ui().AddLine(GetGameString(kStringNoPvp));
            }
        }
        if (!markerTaken && Since(now, g_lastMarkerClickAt, kMarkerClickMs) && npc->GetEntry() &&
            npc->GetEntry()->GetId() == kGroupMarkerSet &&
            std::any_of(m_groupHeader.begin() + 2, m_groupHeader.end(), [](uint16_t id) { return id != 0; })) {
            g_lastMarkerClickAt = now;
            SendJoinBattle(battle);
        }
        return;
    }
    const int value = npc->GetEntry() ? npc->GetEntry()->GetCharRecord().I32(CharacterRecord::kClass) : 0;
    g_commandRing.Push(kCommandTalk);
    g_commandRing.Push(static_cast<uint32_t>(value));
}

bool CObjLayer::ClickOnStructure(CStructureObj* s)
{
    const StructureCommand* c = FindStructureCommand(s->GetName());
    if (!c)
        return false;
    if (c->shopList)
        Ui().LoadItemList(c->shopList);
    g_commandRing.Push(static_cast<uint32_t>(c->command));
    if (c->argument)
        g_commandRing.Push(static_cast<uint32_t>(c->argument));
    return true;
}

void CObjLayer::ClickOnGround(int mx, int my)
{
    if (!m_pBackground)
        return;
    int tx = 0, ty = 0;
    m_pBackground->ScreenToTile(mx, my, tx, ty);
    if (!m_pBackground->IsOnMap(tx, ty))
        return;
    if (IsOnline() && GetGroundItem(tx, ty) != 0)
        m_pMyChar->OrderPickUp(tx, ty, 0);
    else
        m_pMyChar->MoveTo(tx, ty, 0);
}

void CObjLayer::OpenProfile(CCreature* target)
{
    m_pMyChar->Stop();
    const int state = Ui().GetWindowState(kProfileWindow);
    if (Ui().IsWindowOpen(kProfileWindow) && state != 3) {
        g_commandRing.Push(kProfileCommand);
        return;
    }
    g_profileId = target->GetServerId();
    const std::string name = target->GetCharRecord().Name();
    std::snprintf(g_profileName, sizeof g_profileName, "%s", name.c_str());
    g_profileClass = target->GetCharRecord().I32(CharacterRecord::kClass);
    g_profileRecord.FillProfileFromCharacter(static_cast<uint32_t>(target->GetServerId()));
    const auto id = static_cast<uint16_t>(target->GetServerId());
    // That character's colony greeting, for the profile's text box.
    Colony().SendRequest(kColonyProfileText, id);
    for (int field : kProfileFields)
        RequestCharacterField(id, field);
    g_commandRing.Push(kProfileCommand);
}
