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

const char* GetRankName(int level)
{
    static const char* const kNames[] = {"CLASS1", "CLASS2", "CLASS3", "CLASS4",  "CLASS5", "CLASS6",
                                         "CLASS7", "CLASS8", "CLASS9", "CLASS10", "CLASS11"};
    if (level < 1)
        return "CLASS 0";
    if (level >= 78)
        return "MASTER";
    return kNames[(level - 1) / 7];
}
