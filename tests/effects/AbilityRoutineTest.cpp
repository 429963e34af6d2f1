// The 24 ability routines, frame by frame on a caster whose sprite set
// carries every action code: when each finishes, what it starts and plays,
// which hit or heal it queues and when, and that the pools end up clean.
#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "EffectBed.h"
#include "effects/AbilityCaster.h"
#include "effects/AreaHit.h"
#include "platform/Crt.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/TileGeometry.h"

namespace {

struct Call {
    int call;
    int value;
};

struct RoutineRun {
    int finished = 0;                          // the call that returned 1
    std::map<int, int> started;                // call -> effects started in it
    std::map<int, std::vector<std::string>> sounds;
    std::vector<Call> pending;                 // call -> the target's pending amount after it
    std::vector<Call> expectedHits;            // the same, as CalcDamage gives it
    int drainFrames = 0;                       // DrawAll frames until every pool was idle
    int drainHit = 0;                          // drain frame of an effect's first hit on the target
};

constexpr int kSeed = 1000;

std::vector<std::pair<int, int>> g_areaHits;
void RecordArea(CObjLayer*, int x, int y, int id) { g_areaHits.push_back({x * 1000 + y, id}); }

// Runs ability id from my character at (20, 20) on a character at
// (23, 20) until it finishes, then draws the effects until they end.
RoutineRun RunAbility(CEffectBed& b, CCharacter& me, CCharacter& target, int id, int limit = 300)
{
    b.fx.ClearAll();
    const int value = id == kAbilityCounterBreak ? -5 : 0;
    const int x = id == kAbilityMagicHealing ? 100 : target.GetTileX();
    CCharacter* t = (id == kAbilityThunderBolt || id == kAbilityFireStorm || id == kAbilityEarthQuake ||
                     id == kAbilityEscape || id == kAbilityHealing)
                        ? nullptr
                        : &target;
    b.Begin(me, id, t, x, target.GetTileY(), value);
    b.Sounds();
    RoutineRun r;
    int pending = target.GetPendingAmount();
    for (int call = 1; call <= limit && !r.finished; ++call) {
        const int before = b.fx.CountActive();
        plat::SRand(static_cast<unsigned>(kSeed + call));
        if (Effects().RunAbilityRoutine(id, &me))
            r.finished = call;
        if (b.fx.CountActive() != before)
            r.started[call] = b.fx.CountActive() - before;
        if (auto s = b.Sounds(); !s.empty())
            r.sounds[call] = s;
        if (target.GetPendingAmount() != pending) {
            pending = target.GetPendingAmount();
            r.pending.push_back({call, pending});
            plat::SRand(static_cast<unsigned>(kSeed + call));
            r.expectedHits.push_back({call, -CalcDamage(id, me.GetCharRecord(), target.GetCharRecord())});
        }
    }
    for (; r.drainFrames < 600 && b.fx.CountActive() > 0; ++r.drainFrames) {
        b.Frame();
        if (!r.drainHit && target.GetPendingAmount() != pending)
            r.drainHit = r.drainFrames + 1;
    }
    return r;
}

struct Row {
    int id;
    int finished;
    std::map<int, int> started;
    std::map<int, std::vector<std::string>> sounds;
    int hitCall;  // 0: the routine queues no hit itself
    int drainHit;
};

}  // namespace

TEST(AbilityRoutines, EachOfThe24PlaysItsPlanAndLeavesThePoolsClean)
{
    using S = std::vector<std::string>;
    // 4 steps at 6 frames, the hit mark on step 1 (the start of frame 6);
    // the dash 5 steps; the spell phases 4 steps at 3 frames and 30 held.
    const Row rows[] = {
        {kAbilityEscape, 90, {}, {}, 0, 0},
        {kAbilityPowerBreak, 30, {{1, 1}}, {{1, S{"powerbreak.wav"}}}, 26, 0},
        {kAbilityCounterGuard, 1, {{1, 3}}, {{1, S{"healother.wav"}}}, 0, 0},
        {kAbilityGuardBreak, 30, {{1, 1}}, {{1, S{"powerbreak.wav"}}}, 26, 0},
        {kAbilityCounterBreak, 24, {}, {}, 1, 0},
        {kAbilityMaximumForce, 4, {{1, 1}}, {{1, S{"maxforce.wav"}}}, 0, 0},
        {kAbilityPowerBreakII, 30, {{1, 3}}, {{1, S{"powerbreak.wav"}}}, 6, 0},
        {kAbilityWarriorHealing, 24, {{1, 3}}, {{1, S{"healother.wav"}}}, 0, 0},
        {kAbilityFireStorm, 54, {{13, 1}}, {}, 0, 16},
        {kAbilityEvation, 1, {{1, 3}}, {{1, S{"healother.wav"}}}, 0, 0},
        {kAbilityHealing, 24, {{1, 1}}, {{1, S{"healself.wav"}}}, 0, 0},
        {kAbilityEarthQuake, 54, {{13, 1}}, {}, 0, 80},
        {kAbilityMagicHealing, 24, {{1, 2}}, {{1, S{"healself.wav"}}}, 0, 0},
        {kAbilityHealingII, 24, {{1, 2}}, {{1, S{"healself.wav"}}}, 0, 0},
        {kAbilityDevilHealing, 24, {{7, 1}}, {{7, S{"ghost.wav"}}}, 7, 0},
        {kAbilityCure, 24, {{1, 4}}, {{1, S{"healself.wav"}}}, 0, 0},
        {kAbilityElectricEye, 24, {{7, 2}}, {{7, S{"thunder1.wav"}}}, 7, 0},
        {kAbilityAirOn, 1, {{1, 3}}, {{1, S{"healother.wav"}}}, 0, 0},
        {kAbilityFreeze, 24, {{1, 2}}, {{1, S{"freeze.wav"}}}, 0, 0},
        {kAbilityThunderBolt, 24, {{7, 9}}, {{7, S{"thunder3.wav", "thunder1.wav"}}}, 0, 0},
        {kAbilityLighting, 24, {{7, 4}}, {{7, S{"thunder3.wav", "thunder1.wav"}}}, 7, 0},
        {kAbilityElectricEyeII, 24, {{7, 3}}, {{7, S{"thunder3.wav"}}}, 7, 0},
        {kAbilityHide, 24, {{1, 2}}, {{1, S{"hide.wav"}}}, 0, 0},
        {kAbilityPsychicforce, 24, {}, {{7, S{"18.wav"}}}, 7, 0},
    };
    ASSERT_EQ(std::size(rows), static_cast<size_t>(kAbilityCount));
    g_areaHits.clear();
    SetThunderBoltAreaHook(RecordArea);
    for (const Row& row : rows) {
        SCOPED_TRACE(AbilityTable[static_cast<size_t>(row.id)].english);
        CEffectBed b;
        CCharacter& me = b.bed.Me(20, 20);
        me.SetGroupKey({5});
        CCharacter& target = b.bed.Add(100, 23, 20, 1);
        const int maxHp = CalcMaxHp(target.GetCharRecord());
        if (row.id == kAbilityMagicHealing || row.id == kAbilityHealingII)
            target.GetCharRecord().SetU32(CharacterRecord::kHp, 1);
        b.Layer().m_battleOver = 1;
        const RoutineRun r = RunAbility(b, me, target, row.id);
        EXPECT_EQ(r.finished, row.finished);
        EXPECT_EQ(r.started, row.started);
        EXPECT_EQ(r.sounds, row.sounds);
        ASSERT_EQ(r.pending.size(), row.hitCall ? 1u : 0u);
        if (row.hitCall) {
            EXPECT_EQ(r.pending[0].call, row.hitCall);
            EXPECT_EQ(r.pending[0].value, r.expectedHits[0].value);
            EXPECT_LT(r.pending[0].value, 0);
        }
        EXPECT_EQ(r.drainHit, row.drainHit);
        EXPECT_EQ(b.fx.CountActive(), 0) << "after " << r.drainFrames << " frames";
        // What the routines leave behind.
        const int hp = target.GetCharRecord().I32(CharacterRecord::kHp);
        switch (row.id) {
        case kAbilityEscape:
            EXPECT_EQ(b.Layer().StageChange().GetType(), CStageChange::kLeaveBattle);
            EXPECT_EQ(b.Layer().StageChange().GetState(), CStageChange::kWipe);
            EXPECT_EQ(b.Layer().m_battleOver, 0u);
            break;
        case kAbilityPowerBreak:
            EXPECT_EQ(me.GetTileX(), 22) << "the tile before the target";
            EXPECT_EQ(b.Layer().GetObjectCell(22, 20), me.GetHandle());
            EXPECT_EQ(b.Layer().GetObjectCell(20, 20), kCellEmpty);
            break;
        case kAbilityGuardBreak: EXPECT_EQ(me.GetTileX(), 24) << "past the target"; break;
        case kAbilityMagicHealing: EXPECT_EQ(hp, 1 + 264) << "sqrt(700 x 100), no cap"; break;
        case kAbilityHealingII: {
            plat::SRand(kSeed + 1);
            EXPECT_EQ(hp, std::min(1 + CalcDamage(row.id, me.GetCharRecord(), target.GetCharRecord()), maxHp));
            break;
        }
        case kAbilityFreeze: EXPECT_TRUE(target.IsFrozen()); break;
        case kAbilityHide: EXPECT_TRUE(target.IsHidden()); break;
        case kAbilityPsychicforce: EXPECT_EQ(b.Layer().m_deathMarkFlag, 1u); break;
        default: break;
        }
    }
    SetThunderBoltAreaHook(nullptr);
    EXPECT_EQ(g_areaHits, (std::vector<std::pair<int, int>>{{23020, CCreatureBed::kMyId}})) << "the caster's id";
}

TEST(AbilityRoutines, WithoutFramesPerStepOrAnimationTheyFinishAtOnceStartingNothing)
{
    CasterSetOptions noTicks;
    noTicks.castTicks = 0;
    CasterSetOptions none;
    none.missing = {8, 16, 24, 25, 41, 44, 52, 60, 68, 76};
    for (const CasterSetOptions* options : {&noTicks, &none}) {
        for (int id = 0; id < kAbilityCount; ++id) {
            // Escape and the spells keep their own pace.
            if (options == &noTicks && (id == kAbilityEscape || id == kAbilityFireStorm || id == kAbilityEarthQuake))
                continue;
            SCOPED_TRACE(id);
            CEffectBed b(*options);
            CCharacter& me = b.bed.Me(20, 20);
            CCharacter& target = b.bed.Add(100, 23, 20, 1);
            const RoutineRun r = RunAbility(b, me, target, id, 5);
            EXPECT_EQ(r.finished, 1);
            EXPECT_TRUE(r.started.empty());
            EXPECT_TRUE(r.sounds.empty());
            EXPECT_TRUE(r.pending.empty());
            EXPECT_EQ(me.GetTileX(), 20);
        }
    }
}

TEST(AbilityRoutines, EndFramesAtOrBelowZeroFinishAtOnce)
{
    // CounterGuard ends after (steps - 2) x (k - 6) frames, MaximumForce
    // after (steps - 2) x (k - 4).
    const struct {
        int id, ticks, finished;
    } rows[] = {{kAbilityCounterGuard, 5, 1}, {kAbilityCounterGuard, 6, 1}, {kAbilityCounterGuard, 8, 4},
                {kAbilityMaximumForce, 3, 1}, {kAbilityMaximumForce, 4, 1}, {kAbilityMaximumForce, 7, 6}};
    for (auto row : rows) {
        SCOPED_TRACE(row.id * 100 + row.ticks);
        CasterSetOptions o;
        o.castTicks = row.ticks;
        CEffectBed b(o);
        CCharacter& me = b.bed.Me(20, 20);
        CCharacter& target = b.bed.Add(100, 23, 20, 1);
        EXPECT_EQ(RunAbility(b, me, target, row.id).finished, row.finished);
    }
}

TEST(AbilityRoutines, FreezeAndHideBurstFromTheSetsOfTheirColours)
{
    using M = CEffectManager;
    for (const int id : {kAbilityFreeze, kAbilityHide}) {
        SCOPED_TRACE(id);
        CEffectBed b;
        CCharacter& me = b.bed.Me(20, 20);
        CCharacter& target = b.bed.Add(100, 23, 20, 1);
        b.Begin(me, id, &target, target.GetTileX(), target.GetTileY());
        Effects().RunAbilityRoutine(id, &me);
        std::multiset<const CEffectSpriteSet*> sets;
        b.fx.ForEachInstance([&](const CEffect& e) {
            if (const auto* t = dynamic_cast<const CTlrEffect*>(&e); t && e.IsActive())
                sets.insert(t->GetSet());
        });
        const bool freeze = id == kAbilityFreeze;
        EXPECT_EQ(sets, (std::multiset<const CEffectSpriteSet*>{
                            &b.fx.UseItemSet(freeze ? M::colourGreen : M::colourYellow),
                            &b.fx.UsedItemSet(freeze ? M::usedGreen1 : M::usedYellow1)}))
            << "\"data\\used_item1_" << (freeze ? 'g' : 'y') << ".TLR\"";
    }
}

TEST(AbilityRoutines, OnlyALivingTargetIsFrozenHiddenHealedOrCuredAndTheCureTakesItsPermitBack)
{
    // What each starts on its first frame: the caster's own part alone
    // when the target is dead or gone.
    const struct {
        int id, own, all;
        bool marked;  // the target stands in a death-mark pair
    } rows[] = {{kAbilityFreeze, 1, 2, false}, {kAbilityHide, 0, 2, false}, {kAbilityHealingII, 1, 2, false},
                {kAbilityCure, 2, 4, false},   {kAbilityCure, 2, 4, true}};
    for (const auto& row : rows) {
        for (const std::string how : {"alive", "dead", "gone"}) {
            SCOPED_TRACE(std::string(AbilityTable[static_cast<size_t>(row.id)].english) + " " + how +
                         (row.marked ? " marked" : ""));
            CEffectBed b;
            b.bed.GoOnline();
            CObjLayer& layer = b.Layer();
            CCharacter& me = b.bed.Me(20, 20);
            CCharacter& target = b.bed.Add(100, 23, 20, 1);
            target.GetCharRecord().SetU32(CharacterRecord::kHp, 1);
            if (row.id == kAbilityCure)
                target.SetFrozen(true);
            if (row.marked) {
                layer.m_deathMarks[3] = CObjLayer::DeathMarkPair{&target, &me};
                layer.m_deathMarkFlag = 1;
            }
            // A Cure was chosen or received: frozen creatures may start it.
            layer.m_cureReceived = 1;
            if (how == "dead")
                target.OrderDie(&me);
            b.Begin(me, row.id, how == "gone" ? nullptr : &target, 23, 20);
            b.bed.Received();
            Effects().RunAbilityRoutine(row.id, &me);
            const bool alive = how == "alive";
            EXPECT_EQ(b.fx.CountActive(), alive ? row.all : row.own);
            const Bytes hidden = {36, 0, 0, 100, 0, 2, 0, 0, 0};
            EXPECT_EQ(b.bed.Received(), alive && row.id == kAbilityHide ? hidden : Bytes{});
            EXPECT_EQ(target.IsFrozen(), row.id == kAbilityCure ? !alive : row.id == kAbilityFreeze && alive);
            EXPECT_EQ(target.IsHidden(), row.id == kAbilityHide && alive);
            EXPECT_EQ(target.GetCharRecord().I32(CharacterRecord::kHp) > 1, row.id == kAbilityHealingII && alive);
            // The Cure thaws, takes the permit back and clears the pair its
            // target stands in.
            const bool cured = row.id == kAbilityCure && alive;
            EXPECT_EQ(layer.m_cureReceived, cured ? 0u : 1u);
            if (row.marked) {
                EXPECT_EQ(layer.m_deathMarks[3].first, cured ? nullptr : &target);
                EXPECT_EQ(layer.m_deathMarkFlag, cured ? 0u : 1u);
            }
        }
    }
}

TEST(AbilityRoutines, MagicHealingGoesPastTheMaximumAndStopsOnlyAtTheLargestHp)
{
    CEffectBed b;
    CCharacter& me = b.bed.Me(20, 20);
    CCharacter& target = b.bed.Add(100, 23, 20, 1);
    const int maxHp = CalcMaxHp(target.GetCharRecord());
    target.GetCharRecord().SetU32(CharacterRecord::kHp, static_cast<uint32_t>(maxHp - 10));
    b.Begin(me, kAbilityMagicHealing, &target, 1000000, 0);
    Effects().RunAbilityRoutine(kAbilityMagicHealing, &me);
    EXPECT_EQ(target.GetCharRecord().I32(CharacterRecord::kHp), maxHp - 10 + 26457) << "sqrt(700 x 1000000)";
    target.GetCharRecord().SetU32(CharacterRecord::kHp, INT32_MAX - 5);
    b.Begin(me, kAbilityMagicHealing, &target, INT32_MAX, 0);
    Effects().RunAbilityRoutine(kAbilityMagicHealing, &me);
    EXPECT_EQ(target.GetCharRecord().I32(CharacterRecord::kHp), INT32_MAX);
}

TEST(AbilityRoutines, ADashStopsAtTheFirstObjectInItsWayWithoutAHit)
{
    CEffectBed b;
    CCharacter& me = b.bed.Me(20, 20);
    CCharacter& target = b.bed.Add(100, 24, 20, 1);
    b.bed.Wall(22, 20);
    const RoutineRun r = RunAbility(b, me, target, kAbilityPowerBreak);
    EXPECT_EQ(r.finished, 1);
    EXPECT_TRUE(r.pending.empty());
    EXPECT_EQ(me.GetTileX(), 21) << "the last free tile";
    EXPECT_EQ(b.Layer().GetObjectCell(21, 20), me.GetHandle());

    // A set without the dash image of the direction flies nothing.
    CasterSetOptions few;
    few.dashImages = 2;
    CEffectBed c(few);
    CCharacter& me2 = c.bed.Me(20, 20);
    CCharacter& target2 = c.bed.Add(100, 23, 20, 1);
    const RoutineRun r2 = RunAbility(c, me2, target2, kAbilityPowerBreak);
    EXPECT_EQ(r2.finished, 1);
    EXPECT_TRUE(r2.started.empty());
    EXPECT_EQ(me2.GetTileX(), 20);
}

TEST(AbilityRoutines, WalkLinesStayInsideTheGridWhateverTheGoal)
{
    // The map is 64 x 64: a walk never leaves it.
    CEffectBed b;
    CCharacter& me = b.bed.Me(20, 20);
    for (auto [gx, gy] : {std::pair{INT_MIN, INT_MIN}, {INT_MAX, 20}, {-1, -1}, {600, 600}, {511, 0}, {20, 20}}) {
        SCOPED_TRACE(gx);
        int x = -7, y = -7;
        CSpecialAbil::WalkDashLine(me, 20, 20, gx, gy, x, y);
        EXPECT_TRUE(b.Ground().IsOnMap(x, y)) << x << "," << y;
        CSpecialAbil::WalkThroughLine(me, 20, 20, gx, gy, x, y);
        EXPECT_TRUE(b.Ground().IsOnMap(x, y)) << x << "," << y;
    }
}
