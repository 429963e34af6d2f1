// What the widgets read of the player's own character: its ability set (the
// creature holds it; null before the character exists), its level and its
// two skill values.
#pragma once
#include <cstdint>

class CAbilitySet;
struct CharacterRecord;

CAbilitySet* GetMyAbilitySet();
// A set that stands in for the player character's (null: the character's
// own again).
void SetMyAbilitySet(CAbilitySet* set);
// The record's level field; 0 before the record exists.
int32_t GetMyLevel();
// The player record's skill value A (field 20) and B (field 26); 0 before
// the record exists.
int32_t GetMySkillA();
int32_t GetMySkillB();
