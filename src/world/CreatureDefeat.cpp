// What my defeat takes: jail for a wanted player killed by another player,
// experience, money, droppable items and fame, then the battle end.
#include <algorithm>
#include <array>

#include "app/StringTable.h"
#include "audio/MusicPlayer.h"
#include "audio/SoundManager.h"
#include "platform/Crt.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/Creature.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr int kStringToHospital = 14;
constexpr int kStringBattleOver = 17;
constexpr int kStringLessExperience = 69;
constexpr int kStringLessMoney = 99;
constexpr int kDeathMatchFirst = 20001;
constexpr int kJailMap = 3;
constexpr int kNoLossMap = 93;
constexpr int kLossLevel = 11;
constexpr int kHpAfterDefeat = 20;
constexpr int kMaxLost = CharacterRecord::kEquipSlots + CharacterRecord::kItemSlots;

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

void CCreature::CommitField(int field)
{
    m_pLayer->SetMyCharRecord(m_record);
    m_pLayer->SendCharacterField(field);
}

void CCreature::LoseItems(uint16_t* lost, int& count)
{
    for (int slot = 0; slot < CharacterRecord::kEquipSlots; ++slot) {
        const int id = m_record.Equip(slot);
        if (id == 0 || !g_itemData.CanDrop(id))
            continue;
        CPlayerInfo::SetEquip(m_record, slot, 0);
        lost[count++] = static_cast<uint16_t>(id);
        m_pLayer->SetMyCharRecord(m_record);
        m_pLayer->SendCharacterField(53, slot);
    }
    // Every held slot is reported, from the last down, before the lost ids
    // leave the list one by one, the last item filling each gap.
    m_pLayer->SetMyCharRecord(m_record);
    for (int slot = CharacterRecord::kItemSlots - 1; slot >= 0; --slot) {
        const int id = m_record.Item(slot);
        if (id == 0)
            continue;
        if (g_itemData.CanDrop(id))
            lost[count++] = static_cast<uint16_t>(id);
        m_pLayer->SendCharacterField(51, slot);
    }
    for (int i = 0; i < count; ++i)
        g_playerInfo.RemoveItem(lost[i]);
}

void CCreature::LoseFame(const CCreature* killer)
{
    const int killerFame = killer ? killer->GetCharRecord().I16(CharacterRecord::kFame) : 0;
    m_record.SetU16(CharacterRecord::kFame, static_cast<uint32_t>(CalcKillPenalty(m_record, killerFame)));
    m_record.SetU16(CharacterRecord::kProfileValue,
                    static_cast<uint32_t>(m_record.I16(CharacterRecord::kProfileValue) + 1));
    CommitField(31);
    CommitField(35);
}

void CCreature::RunDefeatRules(CCreature* killer)
{
    CObjLayer& layer = *m_pLayer;
    const int64_t battle = layer.m_battleNumber;
    const bool killerMonster = killer && killer->IsMonster();
    const bool otherGroup = killer && !killer->IsAllyOfMine();
    std::array<uint16_t, kMaxLost> lost{};
    int lostCount = 0;
    int64_t moneyLoss = 0;

    const bool jail = !IsMonster() && !killerMonster && g_currentMapId != kJailMap && IsWanted(m_record);
    if (jail)
        g_toBeJailed = 1;
    auto loseExperience = [this](int64_t experience) {
        m_record.SetU32(CharacterRecord::kExperience, static_cast<uint32_t>(Clamp32(experience)));
        Ui().AddLine(GetGameString(kStringLessExperience));
        CommitField(19);
    };
    if (jail) {
        if (battle >= kDeathMatchFirst) {
            if (otherGroup)
                LoseFame(killer);
        } else {
            LoseItems(lost.data(), lostCount);
            int r = plat::Rand() % 5;
            if (r == 0)
                r = 5;
            const int64_t e = m_record.I32(CharacterRecord::kExperience);
            loseExperience(e - e / r + e / 10000);
            static constexpr int kDivisors[3] = {10, 5, 3};
            const int64_t m = m_record.I32(CharacterRecord::kMoney);
            moneyLoss = m / kDivisors[plat::Rand() % 3] - m / 1000;
            m_record.SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(Clamp32(m - moneyLoss)));
            Ui().AddLine(GetGameString(kStringLessMoney));
            CommitField(30);
            m_record.SetU16(CharacterRecord::kJailed, static_cast<uint32_t>(m_record.I16(CharacterRecord::kJailed) + 1));
            CommitField(21);
            layer.m_jailStartTime = m_record.I32(CharacterRecord::kGameTime);
            layer.SendCharacterField(69);
        }
    } else {
        if (battle < kDeathMatchFirst)
            LoseItems(lost.data(), lostCount);
        if (killerMonster && m_record.I32(CharacterRecord::kLevel) >= kLossLevel && g_currentMapId != kNoLossMap) {
            const int r = plat::Rand() % 5;
            if (r <= 2)
                loseExperience(static_cast<int64_t>(m_record.I32(CharacterRecord::kExperience)) * (r + 1) / 4);
        } else if (battle >= kDeathMatchFirst && otherGroup) {
            LoseFame(killer);
        }
    }
    if (battle >= kDeathMatchFirst)
        g_toBeJailed = 0;

    m_record.SetU32(CharacterRecord::kHp, kHpAfterDefeat);
    CommitField(9);
    Ui().RefreshWindows();
    layer.SendBattleEnd(killer ? killer->GetServerId() : 0, lost.data(), lostCount, 0, 0,
                        static_cast<uint32_t>(Clamp32(moneyLoss)), m_record.U32(CharacterRecord::kExperience));
    layer.m_battleOver = 2;
    if (!jail)
        Ui().AddLine(GetGameString(kStringToHospital));
    Ui().AddLine(GetGameString(kStringBattleOver));
    g_musicPlayer.Stop();
    g_soundManager.PlayAt("dead.wav", 0, 0);
}
