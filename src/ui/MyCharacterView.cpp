#include "ui/MyCharacterView.h"

#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"

namespace {
CAbilitySet* s_abilities = nullptr;
}

CAbilitySet* GetMyAbilitySet()
{
    return s_abilities;
}

void SetMyAbilitySet(CAbilitySet* set)
{
    s_abilities = set;
}

int32_t GetMyLevel()
{
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    return rec ? rec->I32(CharacterRecord::kLevel) : 0;
}

int32_t GetMySkillA()
{
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    return rec ? rec->I16(CharacterRecord::kInputA) : 0;
}

int32_t GetMySkillB()
{
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    return rec ? rec->I16(CharacterRecord::kInputB) : 0;
}
