// What the widgets read of the player's own character: its ability set (the
// creature holds it; null before the character exists), its kind and level,
// and the rank names of levels.
#pragma once
#include <cstdint>

class CAbilitySet;
struct CharacterRecord;

CAbilitySet* GetMyAbilitySet();
// The player character's set comes and goes with the character.
void SetMyAbilitySet(CAbilitySet* set);
// The record's level field; 0 before the record exists.
int32_t GetMyLevel();
// The player record's skill value A (field 20) and B (field 26); 0 before
// the record exists.
int32_t GetMySkillA();
int32_t GetMySkillB();
// The rank name of a level: "CLASS1" for 1..7, "CLASS2" for 8..14, ... up
// to "CLASS11" for 71..77, "MASTER" from 78, "CLASS 0" below 1.
const char* GetRankName(int level);
