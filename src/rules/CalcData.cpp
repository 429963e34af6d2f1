#include "rules/CalcData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "platform/Crt.h"
#include "rules/GameData.h"
#include "rules/ItemData.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"
#include "world/ZoneFlags.h"

int g_lastStatLevelA;
int g_lastStatLevelB;

namespace {

using i64 = long long;

constexpr int32_t kClassBase[6][5] = {
    {17, 13, 5, 5, 5}, {17, 13, 5, 5, 5}, {5, 13, 5, 17, 5},
    {5, 13, 5, 17, 5}, {5, 5, 17, 13, 5}, {5, 5, 17, 13, 5},
};
// Battles from this number on follow the arena rules.
constexpr uint32_t kArenaBattle = 20001;

int Sat(i64 v)
{
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int>(v);
}

// Truncation toward zero of a double; NaN gives 0 and the ends saturate.
i64 Trunc(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 9.0e18)
        return static_cast<i64>(9.0e18);
    if (v <= -9.0e18)
        return static_cast<i64>(-9.0e18);
    return static_cast<i64>(v);
}

// The square root, 0 for a negative argument.
double Sqrt(double v) { return v > 0.0 ? std::sqrt(v) : 0.0; }

i64 Stat(const CharacterRecord& rec, size_t off) { return rec.I32(off); }
uint32_t ClassOf(const CharacterRecord& rec) { return rec.U32(CharacterRecord::kClass); }
// Groups other than 0..2 (monsters are 3) take group 0's values.
int GroupOf(const CharacterRecord& rec)
{
    const int g = rec.bytes[CharacterRecord::kClassGroup];
    return g <= 2 ? g : 0;
}

uint32_t BattleNumber()
{
    const CObjLayer* layer = GetObjLayer();
    return layer ? layer->m_battleNumber : 0;
}

struct Stats {
    i64 s, k, ag, w, cr;
};

Stats Effective(const CharacterRecord& rec, const StatSums* sums = nullptr)
{
    auto sum = [&](StatSums::Stat s) -> i64 { return sums && sums->Has(s) ? sums->value[s] : StatSum(rec, s); };
    return {sum(StatSums::strength), sum(StatSums::constitution), sum(StatSums::agility), sum(StatSums::wisdom),
            sum(StatSums::courage)};
}

// The raw stats minus the class's base stats, summed.
i64 StatsAboveBase(const CharacterRecord& rec, const int32_t* base)
{
    const size_t offs[5] = {CharacterRecord::kStrength, CharacterRecord::kAgility, CharacterRecord::kConstitution,
                            CharacterRecord::kWisdom, CharacterRecord::kCourage};
    i64 sum = 0;
    for (int i = 0; i < 5; ++i)
        sum += Stat(rec, offs[i]) - base[i];
    return sum;
}

i64 SqrtPart(i64 q) { return TruncSqrt(q); }

// DevilHealing and Psychicforce: a skill value in the window may triple.
i64 Critical(i64 v, int skill, int lo, int hi, const CharacterRecord& target)
{
    if (skill < lo || skill > hi)
        return v;
    if (ClassOf(target) < 100 && BattleNumber() >= kArenaBattle)
        return v;
    if (plat::Rand() % 10 != 0)
        return v;
    const int r = plat::Rand() % 10;
    const i64 p = r == 0 ? 100 : 10 * r;
    return v * p / 100 + 2 * v;
}

}  // namespace

const int32_t* ClassBaseStats(int cls)
{
    return cls >= 0 && cls < 6 ? kClassBase[cls] : nullptr;
}

int SumEquipmentBonus(const CharacterRecord& rec, int kind)
{
    i64 sum = 0;
    for (int slot = 0; slot < CharacterRecord::kEquipSlots; ++slot) {
        const CObrItemEntry* entry = ItemEntryOrNull(static_cast<int16_t>(rec.Equip(slot)));
        if (!entry)
            continue;
        const ItemRecord& item = entry->GetRecord();
        if (item.equipType >= 10)
            continue;
        if (item.kind1 == kind)
            sum += item.value1;
        if (item.kind2 == kind)
            sum += item.value2;
    }
    return Sat(sum);
}

int SumStrengthBonus(const CharacterRecord& rec) { return SumEquipmentBonus(rec, kBonusStrength); }
int SumConstitutionBonus(const CharacterRecord& rec) { return SumEquipmentBonus(rec, kBonusConstitution); }
int SumAgilityBonus(const CharacterRecord& rec) { return SumEquipmentBonus(rec, kBonusAgility); }
int SumWisdomBonus(const CharacterRecord& rec) { return SumEquipmentBonus(rec, kBonusWisdom); }
int SumCourageBonus(const CharacterRecord& rec) { return SumEquipmentBonus(rec, kBonusCourage); }
int SumAttackBonus(const CharacterRecord& rec) { return SumEquipmentBonus(rec, kBonusAttack); }
int SumDefenceBonus(const CharacterRecord& rec) { return SumEquipmentBonus(rec, kBonusDefence); }

int GetClassBaseValue(const CharacterRecord& rec)
{
    switch (ClassOf(rec)) {
    case 0:
    case 2:
    case 3: return 7;
    case 1: return 8;
    case 4:
    case 5: return 6;
    case 6: return 9;
    default: return rec.I32(CharacterRecord::kSpeedClass);
    }
}

int CalcAttack(const CharacterRecord& rec)
{
    const Stats e = Effective(rec);
    const uint32_t cls = ClassOf(rec);
    const i64 divisor = cls <= 1 ? 4 : (cls <= 3 ? 6 : 5);
    return Sat((2 * e.s + e.ag) / divisor + SumAttackBonus(rec));
}

int CalcDefence(const CharacterRecord& rec)
{
    const Stats e = Effective(rec);
    const uint32_t cls = ClassOf(rec);
    const i64 divisor = (cls == 2 || cls == 3) ? 6 : ((cls == 4 || cls == 5) ? 4 : 5);
    return Sat((2 * e.k + e.ag) / divisor + SumDefenceBonus(rec));
}

int CalcStanceDefence(const CharacterRecord& rec, uint32_t statusFlags)
{
    const i64 v = 2 * Stat(rec, CharacterRecord::kConstitution) + Stat(rec, CharacterRecord::kAgility);
    switch (ClassOf(rec)) {
    case 0:
    case 1: return (statusFlags & 0x4) ? Sat(v / 5) : 0;
    case 2:
    case 3: return (statusFlags & 0x10) ? Sat(v / 6) : 0;
    case 4:
    case 5: return (statusFlags & 0x8) ? Sat(v / 4) : 0;
    default: return 0;
    }
}

int CalcLevelFromStats(const CharacterRecord& rec)
{
    const uint32_t cls = ClassOf(rec);
    if (cls > 5)
        return rec.I32(CharacterRecord::kLevel);  // class 6 has no base row
    return Sat(StatsAboveBase(rec, kClassBase[cls]) / 5 + 1);
}

int CalcLevelRemainder(const CharacterRecord& rec)
{
    if (ClassOf(rec) > 5)
        return 0;
    return Sat(StatsAboveBase(rec, kClassBase[ClassOf(rec)]) % 5);
}

int64_t TruncSqrt(int64_t x) { return Trunc(Sqrt(static_cast<double>(x))); }

size_t StatOffset(StatSums::Stat s)
{
    switch (s) {
    case StatSums::constitution: return CharacterRecord::kConstitution;
    case StatSums::agility: return CharacterRecord::kAgility;
    case StatSums::wisdom: return CharacterRecord::kWisdom;
    case StatSums::courage: return CharacterRecord::kCourage;
    default: return CharacterRecord::kStrength;
    }
}

int64_t StatSum(const CharacterRecord& rec, StatSums::Stat s)
{
    const i64 v = Stat(rec, StatOffset(s));
    switch (s) {
    case StatSums::constitution: return v + SumConstitutionBonus(rec);
    case StatSums::agility: return v + SumAgilityBonus(rec);
    case StatSums::wisdom: return v + SumWisdomBonus(rec);
    case StatSums::courage: return v + SumCourageBonus(rec);
    default: return v + SumStrengthBonus(rec);
    }
}

void StatSums::Set(Stat s, int64_t v)
{
    if (s < 0 || s >= count)
        return;
    value[s] = static_cast<int32_t>(std::clamp<int64_t>(v, 0, kMax));
    mask = static_cast<uint8_t>(mask | (1u << s));
}

int CalcDamage(int id, const CharacterRecord& attacker, const CharacterRecord& target)
{
    return CalcDamage(id, attacker, nullptr, target);
}

int CalcDamage(int id, const CharacterRecord& attacker, const StatSums* sums, const CharacterRecord& target)
{
    const CObjLayer* layer = GetObjLayer();
    const uint32_t flags = layer ? layer->GetStatusFlagsByName(target.Name().c_str()) : 0;
    const i64 d = static_cast<i64>(CalcDefence(target)) + CalcStanceDefence(target, flags);
    const i64 h = d / 2 + 1;
    const Stats e = Effective(attacker, sums);
    const int skillA = attacker.I16(CharacterRecord::kInputA);
    const int skillB = attacker.I16(CharacterRecord::kInputB);
    g_lastStatLevelA = StatLevelA(skillA);
    g_lastStatLevelB = StatLevelB(skillB);
    const i64 ta = Trunc((std::sqrt(g_lastStatLevelA * 55.0) + 30) / 100 * 100);
    const i64 tb = Trunc((std::sqrt(g_lastStatLevelB * 55.0) + 30) / 100 * 100);
    const uint32_t cls = ClassOf(attacker);

    i64 v = 0;
    switch (id) {
    case -1: {
        const i64 a = CalcAttack(attacker);
        i64 lo = a * 205 / 256 + 2 - h;
        i64 hi = a * 245 / 256 + 8 - h;
        lo = lo + (hi - lo) * e.cr / 100;
        if (lo < 1)
            lo = 1;
        if (hi < 1)
            hi = 1;
        if (lo >= hi)
            return Sat(hi);
        i64 r = lo + plat::Rand() % (hi - lo);
        return Sat(r < 1 ? 1 : r);
    }
    case 1:
    case 3:
    case 4: {
        const i64 q = cls == 1 ? 12 * e.s + 12 * e.ag + 5 * e.cr : 15 * e.s + 10 * e.ag + 5 * e.cr;
        const i64 extra = id == 1 ? 20 : (id == 3 ? 30 : 25);
        v = SqrtPart(q) + extra - h;
        break;
    }
    case 5: v = SqrtPart(15 * e.s + 10 * e.ag + 5 * e.cr) + 20 - h; break;
    case 6: v = SqrtPart(12 * e.s + 12 * e.ag + 5 * e.cr) + 40 - h; break;
    case 8:
    case 11: {
        const i64 q = cls == 5 ? 12 * e.k + 12 * e.w + 5 * e.cr : 15 * e.k + 10 * e.w + 5 * e.cr;
        v = SqrtPart(q) + (id == 8 ? 20 : 15) - h;
        break;
    }
    case 13: v = Trunc((Sqrt(10.0 * static_cast<double>(e.w)) + 15) * 2); break;
    case 14: {
        // W / 200 is a real division: below 200 wisdom the heal still grows.
        v = Trunc(Sqrt(static_cast<double>(ta * 30) * (static_cast<double>(e.w) / 200)));
        return Sat(Critical(v, skillA, 1977, 2028, target));
    }
    case 16: {
        const i64 q = cls == 3 ? 12 * e.w + 12 * e.ag + 5 * e.cr : 15 * e.w + 10 * e.ag + 5 * e.cr;
        v = SqrtPart(q) + 20 - h;
        break;
    }
    case 19: v = SqrtPart(15 * e.w + 10 * e.ag + 5 * e.cr) + 15 - h; break;
    case 20: v = Trunc((Sqrt(static_cast<double>(12 * e.w + 12 * e.ag + 5 * e.cr)) + 25) * 1.3) - h; break;
    case 21: v = Trunc((Sqrt(static_cast<double>(15 * e.w + 10 * e.ag + 5 * e.cr)) + 20) * 1.5) - h; break;
    case 23: {
        // As DevilHealing, W / 200 and Ag / 200 are real divisions.
        const bool monster = ClassOf(target) >= 100;
        const double t = static_cast<double>(tb * (monster ? 20 : 10));
        v = Trunc(Sqrt(t * (static_cast<double>(e.w) / 200))) + Trunc(Sqrt(t * (static_cast<double>(e.ag) / 200)));
        if (!monster) {
            const i64 hp = target.I32(CharacterRecord::kHp);
            if (hp <= v)
                return Sat(hp - 1);
        }
        return Sat(Critical(v, skillB, 1484, 1522, target));
    }
    default: v = 0; break;
    }
    if (v < 0)
        v = 1;
    return Sat(v + plat::Rand() % 10);
}

int GetAbilityMpCost(int id, const CharacterRecord& rec)
{
    switch (id) {
    case 1: case 8: case 11: case 13: case 14: case 17: case 19: case 21: case 23: return 20;
    case 2: case 9: return 5;
    case 3: case 5: return 30;
    case 4: case 6: case 7: case 10: case 15: case 16: return 15;
    case 18: return 50;
    case 20: case 22: return 10;
    case 12: return rec.I32(CharacterRecord::kMp);  // all the caster's MP
    default: return 0;
    }
}

int GetAbilityHpCost(int id) { return id == 0 ? 20 : 0; }

int RollHit(const CharacterRecord& rec, int v)
{
    const i64 a = Stat(rec, CharacterRecord::kAgility);
    const i64 den = static_cast<i64>(v) + a;
    if (den <= 0)
        return 1;  // no odds to compute: the hit goes in
    const float p = static_cast<float>(a + (static_cast<i64>(v) + 1) / 2) / static_cast<float>(den);
    const i64 threshold = Trunc(static_cast<double>(p * p * 150));
    return plat::Rand() % 100 < threshold ? 1 : 0;
}

int CalcMaxHp(const CharacterRecord& rec)
{
    static constexpr int kBase[3] = {200, 80, 80};
    const i64 bonus = g_zoneFlags[kZoneHp40] ? 40 : (g_zoneFlags[kZoneHp20] ? 20 : 0);
    return Sat(kBase[GroupOf(rec)] + Stat(rec, CharacterRecord::kConstitution) * 5 / 3 + bonus);
}

int CalcMaxMp(const CharacterRecord& rec)
{
    static constexpr int kBase[3] = {50, 120, 120};
    const i64 bonus = g_zoneFlags[kZoneMp40] ? 40 : (g_zoneFlags[kZoneMp20] ? 20 : 0);
    return Sat(kBase[GroupOf(rec)] + Stat(rec, CharacterRecord::kWisdom) * 7 / 5 + bonus);
}

int CalcMaxWeight(const CharacterRecord& rec)
{
    const i64 s = Stat(rec, CharacterRecord::kStrength);
    if (rec.bytes[CharacterRecord::kClassGroup] == 0)
        return Sat(SqrtPart(s * 600) + 350);
    return Sat(SqrtPart(s * 1000) + 500);
}

int CalcNextRemainExp(const CharacterRecord& rec)
{
    const CharacterRecord* mine = g_playerInfo.GetMyRecord();
    const CharacterRecord& r = mine ? *mine : rec;
    i64 g = Stat(r, CharacterRecord::kRemain) + StatsAboveBase(r, g_playerInfo.GetClassStats());
    if (g < 0)
        g = 0;
    return Sat(g * g / 4 + 30);
}

int GetGameYear(const CharacterRecord& rec) { return rec.I32(CharacterRecord::kGameTime) / 2880 + 17; }

int GetGameMonth(const CharacterRecord& rec) { return (rec.I32(CharacterRecord::kGameTime) / 240) % 12 + 1; }

int CalcMoveSteps(const CharacterRecord& rec)
{
    const i64 level = Stat(rec, CharacterRecord::kLevel);
    if (level >= 200)
        return 9;
    const i64 sq = (level - 100) * (level - 100);
    return Sat(4 + Trunc(static_cast<double>(sq) * 0.0005 + 0.5));
}

int IsEquippedInSlot5(const CharacterRecord& rec, int item)
{
    return static_cast<int16_t>(rec.Equip(5)) == item ? 1 : 0;
}

int GetRangeRadius(const CharacterRecord& rec)
{
    return IsEquippedInSlot5(rec, 90) && BattleNumber() < kArenaBattle ? 10 : 8;
}

namespace {
int GaugeStep(double s) { return Sat(std::max<i64>(Trunc(1800 / (s * 30) + 0.5), 1)); }
}  // namespace

int CalcTurnGaugeDrain(const CharacterRecord& rec)
{
    // s is a whole number here, so 1800 / (s * 30) divides as integers
    // before the rounding half is added: the half never rounds up.
    static constexpr int kSteps[3] = {8, 7, 9};
    return std::max(1800 / (kSteps[GroupOf(rec)] * 30), 1);
}

int CalcTurnGaugeFill(const CharacterRecord& rec)
{
    static constexpr double kStart[3] = {13, 11, 11};
    static constexpr double kFloor[3] = {6, 4, 5};
    const Stats e = Effective(rec);
    const i64 m = (3 * e.cr + e.ag) / 4;
    const int g = GroupOf(rec);
    const double s = std::max(kStart[g] - Sqrt(static_cast<double>(m)), kFloor[g]);
    return GaugeStep(s);
}

namespace {

struct MapCell {
    int map, x0, x1, y0, y1;
    int command;     // 0: an exit
    bool gmOnly;
    bool freeFight;  // the arena: the next frame warns of free fights
    int destMap, destX, destY;
};

constexpr MapCell kMapCells[] = {
    {0, 185, 187, 374, 376, 0, false, false, 1, 163, 136},
    {0, 318, 320, 291, 293, 0, false, false, 2, 85, 117},
    {0, 167, 167, 294, 294, 102, true, false, 0, 0, 0},
    {0, 168, 168, 295, 295, 104, true, false, 0, 0, 0},
    {1, 161, 163, 111, 113, 0, false, false, 0, 188, 361},
    {1, 177, 179, 384, 384, 102, false, false, 0, 0, 0},
    {1, 263, 265, 389, 391, 0, false, true, 3, 124, 402},
    {2, 67, 72, 106, 108, 0, false, false, 0, 303, 287},
    {3, 114, 116, 401, 403, 0, false, false, 1, 256, 390},
    {4, 26, 32, 228, 229, 103, false, false, 0, 0, 0},
    {5, 216, 230, 189, 191, 104, false, false, 0, 0, 0},
};

}  // namespace

int FindMapExit(int map, int x, int y, int* destMap, int* destX, int* destY)
{
    for (const MapCell& c : kMapCells) {
        if (c.map != map || x < c.x0 || x > c.x1 || y < c.y0 || y > c.y1)
            continue;
        if (c.command) {
            if (!c.gmOnly || g_gmFlag)
                g_commandRing.Push(static_cast<uint32_t>(c.command));
            return 0;
        }
        if (c.freeFight) {
            if (CObjLayer* layer = GetObjLayer())
                layer->m_freeFightNotice = 1;
        }
        *destMap = c.destMap;
        *destX = c.destX;
        *destY = c.destY;
        return 1;
    }
    return 0;
}

int GetMapMinLevel(int map)
{
    return map == 4 ? 15 : (map == 5 ? 35 : 1);
}

int IsInSanctuary(int map, int x, int y)
{
    return map == 0 && x >= 190 && x < 208 && y >= 238 && y < 250 ? 1 : 0;
}

namespace {

// k = 1 - 1 / (d / 40 + 1) with real division.
double ScoreK(i64 score, int v)
{
    const i64 d = std::llabs(score - v);
    return 1 - 1 / (static_cast<double>(d) / 40 + 1);
}

i64 Round30(double f) { return Trunc(f * 30 + 0.5); }

}  // namespace

int CalcScoreGain(const CharacterRecord& rec, int v)
{
    const i64 score = rec.I16(CharacterRecord::kFame);
    const double k = ScoreK(score, v);
    const i64 gain = score >= v ? Round30(1 - k) : Round30(1 - k / 100);
    return static_cast<int>(std::min<i64>(score + gain, 30000));
}

int CalcKillPenalty(const CharacterRecord& rec, int v)
{
    const i64 score = rec.I16(CharacterRecord::kFame);
    const double k = ScoreK(score, v);
    const i64 loss = score >= v ? Round30(1 - k / 100) : Round30(1 - k);
    return static_cast<int>(std::max<i64>(score - loss, 0));
}

void ResetCalcData()
{
    g_lastStatLevelA = 0;
    g_lastStatLevelB = 0;
}
