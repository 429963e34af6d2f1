// The game's rule formulas over character records: equipment bonus sums,
// attack and defence, damage and healing, the hit roll, HP/MP maxima,
// carrying weight, turn-gauge steps, ability costs, the game calendar, fixed
// map cells and the two score adjustments.
//
// Arithmetic is signed 32-bit with division toward zero; floating-point
// steps are double precision and truncated back. Values that arrive from the
// server or a file never reach undefined behaviour: products of stats are
// formed in 64 bits, square roots of negative values are taken as 0, and a
// truncation outside the 32-bit range saturates.
#pragma once
#include <cstddef>
#include <cstdint>

struct CharacterRecord;

// The kinds of an item record's bonus pairs that the equipment sums add up.
enum BonusKind : int {
    kBonusStrength = 1,
    kBonusConstitution = 2,
    kBonusAgility = 3,
    kBonusWisdom = 4,
    kBonusCourage = 5,
    kBonusAttack = 12,
    kBonusDefence = 13,
};

// Sum of the bonus values of that kind over equipment slots 0..7. Empty
// slots, ids the item list refuses and items of equipment type 10 or more
// add nothing.
int SumEquipmentBonus(const CharacterRecord& rec, int kind);
int SumStrengthBonus(const CharacterRecord& rec);
int SumConstitutionBonus(const CharacterRecord& rec);
int SumAgilityBonus(const CharacterRecord& rec);
int SumWisdomBonus(const CharacterRecord& rec);
int SumCourageBonus(const CharacterRecord& rec);
int SumAttackBonus(const CharacterRecord& rec);
int SumDefenceBonus(const CharacterRecord& rec);

// The five base stats of a class 0..5 in the order strength, agility,
// constitution, wisdom, courage; null for any other class.
const int32_t* ClassBaseStats(int cls);
// Class default of character field 24: 7, 8, 7, 7, 6, 6, 9 for classes
// 0..6; the record's field 24 for any other class.
int GetClassBaseValue(const CharacterRecord& rec);
int CalcAttack(const CharacterRecord& rec);
int CalcDefence(const CharacterRecord& rec);
// Extra defence while a turn stance is up; statusFlags are the creature's
// status bits (the object layer finds them by the record's name).
int CalcStanceDefence(const CharacterRecord& rec, uint32_t statusFlags);
// Classes 0..5: (sum of stat minus base) / 5 + 1; class 6 (no base row)
// keeps the stored level; any other class the stored level.
int CalcLevelFromStats(const CharacterRecord& rec);
// The same sum % 5; 0 for classes 6 and above.
int CalcLevelRemainder(const CharacterRecord& rec);
// Stat sums (record value + equipment bonus) another client computed for
// its character; a stat that is set stands for the attacker's sum.
struct StatSums {
    enum Stat : int { strength, constitution, agility, wisdom, courage, count };
    static constexpr int32_t kMax = 65535;
    uint8_t mask = 0;
    int32_t value[count] = {};

    // Clamped to 0..kMax.
    void Set(Stat s, int64_t v);
    bool Has(Stat s) const { return (mask >> s) & 1; }
    void Clear() { *this = StatSums{}; }
};

// Damage (or healing) of a plain attack (id -1) or of ability id 0..23.
// Looks the target's stance up by name in the view's object layer and reads
// its battle number. Stores the two stat levels it used. With sums, the
// attacker's stats that are set are taken from them as they stand.
int CalcDamage(int id, const CharacterRecord& attacker, const CharacterRecord& target);
int CalcDamage(int id, const CharacterRecord& attacker, const StatSums* sums, const CharacterRecord& target);
// trunc(sqrt(x)), 0 for x <= 0.
int64_t TruncSqrt(int64_t x);
// The record offset of a stat.
size_t StatOffset(StatSums::Stat s);
// The stat of the record plus its equipment bonus.
int64_t StatSum(const CharacterRecord& rec, StatSums::Stat s);
int GetAbilityMpCost(int id, const CharacterRecord& rec);
int GetAbilityHpCost(int id);
// 1 when the hit roll succeeds; v + agility <= 0 always hits.
int RollHit(const CharacterRecord& rec, int v);
int CalcMaxHp(const CharacterRecord& rec);
int CalcMaxMp(const CharacterRecord& rec);
int CalcMaxWeight(const CharacterRecord& rec);
// The Remain cost of the next stat point for my own character (the record
// is not read: g_playerInfo's class row and the view's own record are).
int CalcNextRemainExp(const CharacterRecord& rec);
int GetGameYear(const CharacterRecord& rec);
int GetGameMonth(const CharacterRecord& rec);
int CalcMoveSteps(const CharacterRecord& rec);
int IsEquippedInSlot5(const CharacterRecord& rec, int item);
int GetRangeRadius(const CharacterRecord& rec);
int CalcTurnGaugeDrain(const CharacterRecord& rec);
int CalcTurnGaugeFill(const CharacterRecord& rec);
// An exit cell gives 1 and the destination; a command cell pushes its
// command id (102, 103, 104) into g_commandRing and gives 0, as does any
// other cell. Map 1's arena exit also sets the object layer's free-fight
// notice.
int FindMapExit(int map, int x, int y, int* destMap, int* destX, int* destY);
int GetMapMinLevel(int map);
int IsInSanctuary(int map, int x, int y);
// New score after a win over (gain) or a loss to (penalty) a character of
// score v; capped at 30000 and floored at 0.
int CalcScoreGain(const CharacterRecord& rec, int v);
int CalcKillPenalty(const CharacterRecord& rec, int v);

// The stat levels CalcDamage looked up last; the status window shows them.
extern int g_lastStatLevelA;
extern int g_lastStatLevelB;
void ResetCalcData();
