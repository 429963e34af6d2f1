#include "ui/MyCharacterView.h"

#include "windows/PlayerInfo.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {
CAbilitySet* s_abilities = nullptr;
}

CAbilitySet* GetMyAbilitySet()
{
    if (s_abilities)
        return s_abilities;
    CObjLayer* layer = GetObjLayer();
    CCharacter* me = layer ? layer->GetMyCharacter() : nullptr;
    return me ? &me->GetAbilitySet() : nullptr;
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
