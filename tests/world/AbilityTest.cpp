// The special abilities in a battle: the sub-command rows both ways, the
// player's choice, the first step of the ability action (payment and
// packets), the area hits and one ability seen from two clients.
#include <algorithm>
#include <map>
#include <set>

#include "app/StringTable.h"
#include "effects/EffectManager.h"
#include "effects/SpecialAbil.h"
#include "fixtures/ItemRecordWriter.h"
#include "platform/Crt.h"
#include "rules/AbilitySet.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "world/AbilityCommands.h"
#include "world/BattlePacketHeader.h"
#include "world/Npc.h"
#include "world/StructureObj.h"
#include "BattleBed.h"

namespace {

using W = CBattleWire;
using Bytes8 = std::vector<uint8_t>;

struct Sent {
    int sub;
    Bytes8 payload;
};

// The battle packets in a byte stream; anything else ends it.
std::vector<Sent> SplitBattle(const Bytes8& b)
{
    std::vector<Sent> out;
    size_t i = 0;
    while (i + BattlePacketHeader::kSize <= b.size() && b[i] == BattlePacketHeader::kCommand) {
        const size_t len = b[i + 5] | (b[i + 6] << 8);
        if (i + 7 + len > b.size())
            break;
        out.push_back({b[i + 4], Bytes8(b.begin() + static_cast<long>(i + 7), b.begin() + static_cast<long>(i + 7 + len))});
        i += 7 + len;
    }
    return out;
}

std::vector<int> Subs(const std::vector<Sent>& sent)
{
    std::vector<int> subs;
    for (const Sent& s : sent)
        subs.push_back(s.sub);
    return subs;
}

class Ability : public BattleBed {
protected:
    static constexpr int kSword = 5;
    static constexpr int kRing = 6;

    void SetUp() override
    {
        BattleBed::SetUp();
        bed.world.AddItem(kSword, MakeItemRecord("", "Sword", 0, kBonusStrength, 7, kBonusWisdom, 5));
        bed.world.AddItem(kRing, MakeItemRecord("", "Ring", 9, kBonusAgility, 3, kBonusCourage, 4));
        InBattle();
        Mine(100, 100);
    }
    // My record: stats, HP and MP, the sword and the ring.
    void Mine(int hp, int mp)
    {
        CharacterRecord& r = me->GetCharRecord();
        r.SetU32(CharacterRecord::kStrength, 40);
        r.SetU32(CharacterRecord::kAgility, 30);
        r.SetU32(CharacterRecord::kConstitution, 50);
        r.SetU32(CharacterRecord::kWisdom, 60);
        r.SetU32(CharacterRecord::kCourage, 20);
        r.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(hp));
        r.SetU32(CharacterRecord::kMp, static_cast<uint32_t>(mp));
        r.SetU16(CharacterRecord::kInputA, 1990);
        r.SetU16(CharacterRecord::kInputB, 1500);
        r.SetEquip(0, kSword);
        r.SetEquip(1, kRing);
        me->SetStatusFlags(0);
        me->PlaceAt(me->GetTileX(), me->GetTileY());
    }
    std::vector<Sent> SentNow() { return SplitBattle(bed.Received()); }
};

// Each field of a row filled with a value of its own.
AbilityPacket Distinct(uint32_t seed)
{
    AbilityPacket k;
    k.caster = static_cast<uint16_t>(seed + 1);
    k.target = static_cast<uint16_t>(seed + 2);
    k.goalX = seed + 0x01020304u;
    k.goalY = seed + 0x05060708u;
    for (size_t i = 0; i < k.stat.size(); ++i)
        k.stat[i] = static_cast<uint32_t>(seed * 10 + i + 0x100);
    for (size_t i = 0; i < k.equip.size(); ++i)
        k.equip[i] = static_cast<uint16_t>(seed + 20 + i);
    k.amount = seed + 0xABCDu;
    k.byte = static_cast<uint8_t>(seed + 3);
    k.field20 = static_cast<uint16_t>(seed + 4);
    k.field26 = static_cast<uint16_t>(seed + 5);
    k.words = {seed + 6, seed + 7};
    return k;
}

}  // namespace

TEST_F(Ability, EveryRowRoundTripsAtTheBattleSizeAndEachSenderWritesItsRow)
{
    std::set<int> subs;
    for (const AbilityCommandRow& row : AbilityCommandRows()) {
        SCOPED_TRACE(row.sub);
        subs.insert(row.sub);
        EXPECT_EQ(row.PayloadSize(), BattlePayloadSize(row.sub));
        CByteWriter w;
        EncodeAbilityPayload(row, Distinct(row.sub), w);
        ASSERT_EQ(static_cast<int>(w.Buffer().size()), row.PayloadSize());
        const AbilityPacket back = DecodeAbilityPayload(row, w.Buffer().data(), w.Buffer().size());
        CByteWriter again;
        EncodeAbilityPayload(row, back, again);
        EXPECT_EQ(again.Buffer(), w.Buffer());
        if (row.Has(AbilityField::caster)) {
            EXPECT_EQ(back.caster, row.sub + 1);
        }
        if (row.ability >= 0) {
            EXPECT_EQ(AbilitySubCommand(row.ability), row.sub);
        }
    }
    EXPECT_EQ(subs, (std::set<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
                                   40, 41, 43, 44, 150, 151, 152, 153, 154, 200, 201}));
    EXPECT_EQ(AbilitySubCommand(-1), -1);
    EXPECT_EQ(AbilitySubCommand(24), -1);

    // At the server: sums are record + equipment, plain values the record.
    struct Case {
        int sub;
        int target, x, y;
        uint32_t amount;
        int byte;
        Bytes8 payload;
    };
    const Case cases[] = {
        {13, 30, 0, 0, 0, 0, W().U16(30).U32(47).U32(33).U32(24).U16(kMe)},
        {11, 30, 0, 0, 0, 0, W().U16(kMe).U16(30).U32(47).U32(33).U32(24)},
        {14, 30, 0, 0, 0, 1, W().U16(kMe).U16(30).U32(47).U32(33).U32(24).U8(1)},
        {15, 0, 21, 22, 0, 0, W().U16(kMe).U32(21).U32(22).U32(47).U32(33).U32(24)},
        {17, 0, 3, 4, 0, 0,
         W().U16(kMe).U32(3).U32(4).U32(50).U32(60).U32(20).U16(kSword).U16(kRing).U16(0).U16(0).U16(0).U16(0).U16(0).U16(0)},
        {21, 30, 0, 0, 37, 0, W().U16(kMe).U16(30).U32(37)},
        {41, 30, 0, 0, 0, 11, W().U16(kMe).U16(30).U32(65).U32(33).U8(11).U16(1500)},
        {43, 30, 0, 0, 0, 0, W().U16(kMe).U16(30).U32(65).U16(1990)},
        {150, 30, 0, 0, 0, 0, W().U16(kMe).U16(30).U16(50).U16(65).U16(24)},
        {154, 0, 8, 9, 0, 0, W().U16(kMe).U32(8).U32(9).U32(47).U32(33).U32(24)},
        {200, 0, 0, 0, 0, 0, W().U16(kMe).U8(0)},
        {201, 1305, 0, 0, 0, 0, W().U16(1305)},
    };
    bed.Received();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sub);
        Layer().SendAbilityCommand(c.sub, *me, c.target, c.x, c.y, c.amount, c.byte);
        EXPECT_EQ(bed.Received(), W::Packet(c.sub, c.payload, kBattle));
    }
    Layer().m_inBattle = 0;
    Layer().SendAbilityCommand(10, *me, 0);
    EXPECT_TRUE(bed.Received().empty()) << "outside a battle nothing is sent";
}

TEST_F(Ability, UseAbilityChecksTheTargetAndAnswersWithItsMessage)
{
    CCharacter& other = Player(30, 22, 20, 30);
    CCharacter& monster = Monster(1400, 23, 21);
    // Per id: the outcome with no target, with me, with another player:
    // whether the ability starts and the message shown (0: none).
    struct Outcome {
        bool start;
        int message;
    };
    constexpr Outcome S{true, 0}, Nothing{false, 0};
    auto refuse = [](int m) { return Outcome{false, m}; };
    auto say = [](int m) { return Outcome{true, m}; };
    struct Row {
        std::set<int> ids;
        Outcome none, self, another;
    };
    const Row rows[] = {
        {{0, 5, 8, 11, 19}, S, S, S},
        {{1, 3, 6, 14, 16, 20, 21, 23}, refuse(87), refuse(87), S},
        {{2}, refuse(49), say(46), refuse(49)},
        {{7}, refuse(49), say(1092), refuse(49)},
        {{9}, refuse(49), say(47), refuse(49)},
        {{10}, refuse(49), say(68), refuse(49)},
        {{17}, refuse(49), say(48), refuse(49)},
        {{4}, say(25), say(25), say(25)},
        {{12, 13}, refuse(87), S, S},
        {{15}, refuse(87), say(1096), say(1096)},
        {{18}, Nothing, Nothing, S},
        {{22}, Nothing, S, refuse(78)},
    };
    std::set<int> covered;
    for (const Row& row : rows) {
        for (int id : row.ids) {
            covered.insert(id);
            const Outcome expected[3] = {row.none, row.self, row.another};
            CCreature* targets[3] = {nullptr, me, &other};
            for (int t = 0; t < 3; ++t) {
                SCOPED_TRACE(testing::Message() << "id " << id << " target " << t);
                Mine(100, 100);
                Lines();
                Layer().UseAbility(id, targets[t], 24, 25);
                const bool started = me->GetOrder() == CCreature::orderAbility && me->GetAbilityId() == id;
                EXPECT_EQ(started, expected[t].start);
                const std::vector<std::string> lines = Lines();
                const std::vector<std::string> want =
                    expected[t].message ? std::vector<std::string>{GetGameString(expected[t].message)}
                                        : std::vector<std::string>{};
                EXPECT_EQ(lines, want);
                if (started && id == 5) {
                    EXPECT_EQ(me->GetAbilityTarget(), me) << "the area caster";
                }
                if (started && id == 12) {
                    EXPECT_EQ(me->GetAbilityValue(), 24) << "the amount";
                }
            }
        }
    }
    EXPECT_EQ(covered.size(), static_cast<size_t>(kAbilityCount));

    // CounterBreak is paid when chosen, with my status; Freeze on a monster
    // tells the server first.
    Mine(100, 100);
    bed.Received();
    Layer().UseAbility(4, nullptr, 0, 0);
    EXPECT_EQ(me->GetCharRecord().I32(CharacterRecord::kMp), 85);
    EXPECT_EQ(bed.Received(), W::Packet(7, W().U16(kMe).U16(100).U16(85).U16(50).U16(60), kBattle));
    Mine(100, 100);
    Layer().UseAbility(18, &monster, 0, 0);
    EXPECT_EQ(bed.Received(), W::Packet(201, W().U16(1400), kBattle));
    EXPECT_EQ(me->GetAbilityTarget(), &monster);

    // Frozen or hidden: string 79 and no start, unless a Cure came.
    for (uint32_t bits : {CreatureStatusBits::kFrozen, CreatureStatusBits::kHidden}) {
        Mine(100, 100);
        me->SetStatusFlags(bits);
        Lines();
        Layer().UseAbility(0, nullptr, 1, 1);
        EXPECT_EQ(Lines(), std::vector<std::string>{GetGameString(79)});
        EXPECT_NE(me->GetOrder(), CCreature::orderAbility);
        Layer().m_cureReceived = 1;
        Layer().UseAbility(0, nullptr, 1, 1);
        EXPECT_EQ(me->GetOrder(), CCreature::orderAbility);
        Layer().m_cureReceived = 0;
    }
    // Ids outside the table, and a class of 7 or more, do nothing.
    Mine(100, 100);
    Lines();
    for (int id : {-1, 24, 1000})
        Layer().UseAbility(id, &other, 1, 1);
    me->GetCharRecord().SetU32(CharacterRecord::kClass, 7);
    Layer().UseAbility(0, nullptr, 1, 1);
    EXPECT_NE(me->GetOrder(), CCreature::orderAbility);
    EXPECT_TRUE(Lines().empty());
    me->GetCharRecord().SetU32(CharacterRecord::kClass, 0);

    // In the CounterBreak stance a second CounterBreak does nothing.
    Mine(100, 100);
    bed.fx.routineResult[kAbilityCounterBreak] = 0;
    Layer().UseAbility(4, nullptr, 0, 0);
    bed.Frame();
    ASSERT_EQ(me->GetCounterBreakState(), 4);
    Lines();
    bed.Received();
    Layer().UseAbility(4, nullptr, 0, 0);
    EXPECT_TRUE(Lines().empty());
    EXPECT_TRUE(bed.Received().empty());
    EXPECT_EQ(me->GetCharRecord().I32(CharacterRecord::kMp), 85);
}

TEST_F(Ability, TheArmedAbilityStartsOnlyOnAnotherCreature)
{
    CCharacter& other = Player(30, 22, 20, 30);
    CNpc npc;
    CStructureObj structure;
    CCreature base;
    CAbilitySet& set = me->GetAbilitySet();
    ASSERT_EQ(set.Select(kAbilityPowerBreak), 1);
    struct Row {
        const char* name;
        CObj* target;
        bool armed;
        int result;
    };
    const Row rows[] = {
        {"nothing armed", &other, false, 0},   {"my own character", me, true, 0},
        {"no target", nullptr, true, 0},       {"a structure", &structure, true, 0},
        {"a base creature", &base, true, 0},   {"an NPC, no creature", &npc, true, 0},
        {"another character", &other, true, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        me->Stop();
        set.ClearSelectedCategory();
        if (row.armed) {
            ASSERT_EQ(set.SelectCategory(1), 1);
        }
        EXPECT_EQ(set.StartSelectedAbility(row.target), row.result);
        EXPECT_EQ(me->GetOrder(), row.result ? CCreature::orderAbility : CCreature::orderStand);
        EXPECT_EQ(set.GetSelectedCategory(), row.result ? 1 : 0) << "a refusal disarms";
    }
    EXPECT_EQ(me->GetAbilityId(), kAbilityPowerBreak);
    EXPECT_EQ(me->GetAbilityTarget(), &other);
}

TEST_F(Ability, AMonsterSpecialComesOnlyInBattleAgainstMeOneTickInFifty)
{
    CCharacter& other = Player(30, 20, 22, 30);
    struct Row {
        const char* name;
        int cls;
        bool battle, atMe;
        const char* start;  // the effect call, null: none
    };
    const Row rows[] = {
        {"Poseidon over me", 1401, true, true, "StartPoseidon"},
        {"the quake over me", 2801, true, true, "StartDeathManSub"},
        {"another monster", 1305, true, true, nullptr},
        {"at another player", 2801, true, false, nullptr},
        {"outside a battle", 1401, false, true, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CCharacter& monster = Monster(1040, 21, 20);
        monster.GetCharRecord().SetU32(CharacterRecord::kClass, static_cast<uint32_t>(row.cls));
        Layer().m_inBattle = row.battle ? 1 : 0;
        CCreature* target = row.atMe ? static_cast<CCreature*>(me) : &other;
        plat::SRand(11);
        bed.fx.log.Clear();
        bed.Received();
        Bytes8 sent;
        int attacks = 0;
        for (; attacks < 40 && bed.fx.log.Count(row.start ? row.start : "none") == 0; ++attacks) {
            Mine(1000, 100);
            monster.OrderAttack(target, 1);
            bed.Frame(1);
            bed.FramesUntil([&] { return monster.GetAction() != CCreature::orderAttack; }, 60);
            const Bytes8 now = bed.Received();
            sent.insert(sent.end(), now.begin(), now.end());
        }
        const int specials = bed.fx.log.Count("StartPoseidon") + bed.fx.log.Count("StartDeathManSub");
        const Bytes8 relay = W::Packet(154, W().U16(1040).U32(20).U32(20).U32(10).U32(10).U32(10), kBattle);
        if (!row.start) {
            EXPECT_EQ(specials, 0);
            EXPECT_EQ(std::search(sent.begin(), sent.end(), relay.begin(), relay.begin() + 5), sent.end());
            continue;
        }
        ASSERT_EQ(specials, 1) << "within 40 attacks";
        EXPECT_GT(attacks, 1) << "not on every tick";
        const std::string call = row.cls == 1401
                                     ? CCallLog::Call("StartPoseidon", me->GetPixelX(), me->GetPixelY(), 1040)
                                     : CCallLog::Call("StartDeathManSub", me->GetPixelX(), me->GetPixelY(), 16, 30,
                                                      static_cast<const void*>(&monster));
        EXPECT_NE(std::find(bed.fx.log.Calls().begin(), bed.fx.log.Calls().end(), call), bed.fx.log.Calls().end());
        // The relay of its sums, then its quake's cell (my cell) with its
        // values and equipment.
        W cell;
        cell.U16(1040).U32(20).U32(20).U32(10).U32(10).U32(10);
        for (int i = 0; i < 8; ++i)
            cell.U16(0);
        const Bytes8 quake = W::Packet(20, cell, kBattle);
        const auto at = std::search(sent.begin(), sent.end(), relay.begin(), relay.end());
        ASSERT_NE(at, sent.end());
        EXPECT_EQ(Bytes8(at + static_cast<long>(relay.size()), at + static_cast<long>(relay.size() + quake.size())),
                  quake);
    }
    Layer().m_inBattle = 1;
}

TEST_F(Ability, TheDriverPaysOnceSendsTheRowThenTheStatusAndEndsWithTheRoutine)
{
    CCharacter& other = Player(30, 22, 20, 30);
    for (int id = 0; id < kAbilityCount; ++id) {
        SCOPED_TRACE(id);
        Mine(150, 100);
        const int maxHp = CalcMaxHp(me->GetCharRecord());
        if (id == kAbilityMagicHealing)
            me->GetCharRecord().SetU32(CharacterRecord::kMp, 37);
        // Healing sets HP to the maximum even from above it.
        if (id == kAbilityHealing || id == kAbilityWarriorHealing)
            me->GetCharRecord().SetU32(CharacterRecord::kHp,
                                       static_cast<uint32_t>(id == kAbilityHealing ? maxHp + 20 : maxHp - 3));
        CCreature* target = (id == 2 || id == 7 || id == 9 || id == 10 || id == 17) ? me : &other;
        if (id == 0 || id == 4 || id == 8 || id == 11 || id == 19)
            target = nullptr;
        const int mpBefore = me->GetCharRecord().I32(CharacterRecord::kMp);
        bed.fx.routineResult[id] = 0;
        bed.fx.log.Clear();
        bed.Received();
        me->StartAbility(id, target, 24, 23, 0, 0, id == 5 ? me : nullptr);
        ASSERT_EQ(me->GetOrder(), CCreature::orderAbility);
        bed.Frame(3);
        const CharacterRecord& r = me->GetCharRecord();
        EXPECT_EQ(me->GetAction(), CCreature::orderAbility);
        EXPECT_EQ(bed.fx.log.Count("RunAbilityRoutine"), 3);
        EXPECT_EQ(bed.fx.log.Calls().back(), CCallLog::Call("RunAbilityRoutine", id, static_cast<const void*>(me)));
        const std::vector<Sent> sent = SentNow();
        std::vector<int> subs = {AbilitySubCommand(id)};
        if (id == kAbilityHide)
            subs.push_back(200);
        if (id != kAbilityCounterBreak)
            subs.push_back(7);
        if (id == kAbilityCounterBreak)
            subs.clear();  // the stance has no target: nothing is sent
        EXPECT_EQ(Subs(sent), subs);
        const int cost = id == kAbilityMagicHealing ? 37 : (id == kAbilityCounterBreak ? 0 : GetAbilityMpCost(id, r));
        EXPECT_EQ(r.I32(CharacterRecord::kMp), mpBefore - cost) << "paid once";
        if (!sent.empty() && sent.back().sub == 7) {
            EXPECT_EQ(sent.back().payload, Bytes8(W().U16(kMe).U16(r.I32(CharacterRecord::kHp)).U16(r.I32(CharacterRecord::kMp)).U16(50).U16(60)));
        }
        const int hp = r.I32(CharacterRecord::kHp);
        if (id == kAbilityEscape)
            EXPECT_EQ(hp, 130);
        else if (id == kAbilityHealing || id == kAbilityWarriorHealing)
            EXPECT_EQ(hp, maxHp) << "capped at the maximum";
        else
            EXPECT_EQ(hp, 150);
        const uint32_t bits = id == 2 ? uint32_t{CreatureStatusBits::kCounterGuard}
                              : id == 9 ? CreatureStatusBits::kEvation
                              : id == 17 ? CreatureStatusBits::kAirOn : 0u;
        EXPECT_EQ(me->GetStatusFlags(), bits);
        if (id == kAbilityMagicHealing) {
            EXPECT_EQ(sent[0].payload, Bytes8(W().U16(kMe).U16(30).U32(37)));
        }
        if (id == kAbilityHide) {
            EXPECT_EQ(sent[1].payload, Bytes8(W().U16(kMe).U8(0)));
        }
        const CCreature::EffectGeometry& g = me->GetEffectGeometry();
        if (id == kAbilityFireStorm || id == kAbilityPowerBreak) {
            EXPECT_EQ(g.casterX, me->GetTileX());
            EXPECT_EQ(g.goalX, id == kAbilityFireStorm ? 24 : other.GetTileX());
        }
        if (id != 7 && id != 8 && id != 10 && id != 11 && id != 19) {
            EXPECT_EQ(g.target, me->GetAbilityTarget());
        }
        // The routine's end ends the action.
        bed.fx.routineResult[id] = 1;
        bed.Frame();
        EXPECT_NE(me->GetAction(), CCreature::orderAbility);
        EXPECT_NE(me->GetOrder(), CCreature::orderAbility);
        EXPECT_TRUE(SentNow().empty());
        me->SetStatusFlags(0);
    }
    // Offline, and for a creature that is not mine, nothing is paid or sent.
    Mine(150, 100);
    other.GetCharRecord().SetU32(CharacterRecord::kMp, 100);
    other.StartAbility(kAbilityPowerBreak, me, 0, 0, 0, 1, nullptr);
    bed.Frame();
    EXPECT_EQ(other.GetCharRecord().I32(CharacterRecord::kMp), 100);
    EXPECT_TRUE(SentNow().empty());
}

TEST_F(Ability, AreaHitsFallOffByChebyshevDistanceOnTheOtherGroup)
{
    // Other-group players at distances 0..4 of (30, 30), one of mine at 0.
    std::vector<CCharacter*> others;
    for (int d = 0; d <= 4; ++d)
        others.push_back(&Player(30 + d, 30 + d, 30 - (d % 2) * d, 30));
    CCharacter& ally = Player(40, 31, 31, kMe);
    ally.SetGroupKey(me->GetGroupKey());
    struct Case {
        int id;
        std::vector<int> percent;  // by distance; 0 untouched
    };
    for (const Case& c : {Case{kAbilityMaximumForce, {120, 100, 100, 80, 0}}, Case{kAbilityThunderBolt, {110, 100, 90, 0, 0}}}) {
        SCOPED_TRACE(c.id);
        for (CCharacter* o : others)
            o->ResetPendingHit();
        ally.ResetPendingHit();
        plat::SRand(77);
        if (c.id == kAbilityMaximumForce)
            Layer().ApplyMaximumForceArea(30, 30, kMe);
        else
            Layer().ApplyThunderBoltArea(30, 30, kMe);
        plat::SRand(77);
        for (int d = 0; d <= 4; ++d) {
            const int p = c.percent[static_cast<size_t>(d)];
            const int expected = p ? me->CalcAbilityDamage(c.id, *others[static_cast<size_t>(d)]) * p / 100 : 0;
            EXPECT_EQ(others[static_cast<size_t>(d)]->GetPendingAmount(), -expected) << "distance " << d;
        }
        EXPECT_EQ(ally.GetPendingAmount(), 0);
    }
    // An unknown caster hits nobody.
    for (CCharacter* o : others)
        o->ResetPendingHit();
    Layer().ApplyMaximumForceArea(30, 30, 999);
    EXPECT_EQ(others[0]->GetPendingAmount(), 0);
}

// One client casts, another takes the packet: with the same generator both
// compute the same damage, whatever the receiver thought the caster had.
TEST_F(Ability, TheReceiverComputesTheDamageTheSenderComputed)
{
    CCharacter& victim = Player(30, 22, 20, 30);
    victim.GetCharRecord().SetU32(CharacterRecord::kHp, 500);
    for (int id : {1, 3, 4, 5, 6, 8, 11, 13, 14, 16, 19, 20, 21, 23}) {
        SCOPED_TRACE(id);
        // The caster as the receiving client knows it: the same class and
        // equipment (from its attacks), other stats.
        CCharacter& copy = Player(41, 25, 25, kMe);
        CharacterRecord& cr = copy.GetCharRecord();
        for (size_t off : {CharacterRecord::kStrength, CharacterRecord::kAgility, CharacterRecord::kWisdom,
                           CharacterRecord::kConstitution, CharacterRecord::kCourage})
            cr.SetU32(off, 3);
        cr.SetU32(CharacterRecord::kClass, me->GetCharRecord().U32(CharacterRecord::kClass));
        cr.SetEquip(0, kSword);
        cr.SetEquip(1, kRing);
        Mine(150, 100);
        plat::SRand(900 + static_cast<unsigned>(id));
        const int sender = me->CalcAbilityDamage(id, victim);

        bed.Received();
        const int sub = AbilitySubCommand(id);
        Layer().SendAbilityCommand(sub, *me, 30, 22, 20, 0, id == kAbilityPsychicforce ? 1 : 0);
        const std::vector<Sent> sent = SentNow();
        ASSERT_EQ(sent.size(), 1u);
        // The server hands it on as the other client's caster 41.
        const AbilityCommandRow& row = *FindAbilityCommand(sub);
        AbilityPacket k = DecodeAbilityPayload(row, sent[0].payload.data(), sent[0].payload.size());
        k.caster = 41;
        CByteWriter w;
        EncodeAbilityPayload(row, k, w);
        Receive(sub, w.Buffer());
        plat::SRand(900 + static_cast<unsigned>(id));
        EXPECT_EQ(copy.CalcAbilityDamage(id, victim), sender);
        EXPECT_GT(sender, 0);
    }
}

TEST_F(Ability, ReceiversStartTheCasterOnlyInBattleWithKnownIds)
{
    CCharacter& caster = Player(30, 22, 20, 30);
    CCharacter& other = Player(31, 23, 20, 30);
    // Sub 13 names the caster at offset 14; hostile sums are clamped.
    Receive(13, W().U16(31).U32(0xFFFFFFFFu).U32(12).U32(13).U16(30));
    EXPECT_EQ(caster.GetOrder(), CCreature::orderAbility);
    EXPECT_EQ(caster.GetAbilityId(), kAbilityGuardBreak);
    EXPECT_EQ(caster.GetAbilityTarget(), &other);
    const StatSums& sums = caster.GetRelayedSums();
    EXPECT_EQ(sums.value[StatSums::strength], StatSums::kMax);
    EXPECT_EQ(sums.value[StatSums::agility], 12);
    EXPECT_FALSE(sums.Has(StatSums::wisdom));

    // Unknown caster or target, my own id, or outside a battle: nothing.
    caster.PlaceAt(22, 20);
    for (const Bytes8& p : {Bytes8(W().U16(99).U16(31).U32(1).U32(2).U32(3)),
                            Bytes8(W().U16(30).U16(99).U32(1).U32(2).U32(3)),
                            Bytes8(W().U16(kMe).U16(31).U32(1).U32(2).U32(3))})
        Receive(11, p);
    Layer().m_inBattle = 0;
    Receive(11, W().U16(30).U16(31).U32(1).U32(2).U32(3));
    Layer().m_inBattle = 1;
    EXPECT_NE(caster.GetOrder(), CCreature::orderAbility);
    EXPECT_NE(me->GetOrder(), CCreature::orderAbility);
    // A goal cell off the map is refused.
    Receive(17, W().U16(30).U32(70000).U32(2).U32(1).U32(2).U32(3).U32(0).U32(0).U32(0).U32(0));
    EXPECT_NE(caster.GetOrder(), CCreature::orderAbility);

    // A network start on a busy creature puts it on its tile first.
    bed.fx.routineResult[kAbilityCounterGuard] = 0;
    Receive(12, W().U16(30));
    bed.Frame(2);
    ASSERT_EQ(caster.GetAction(), CCreature::orderAbility);
    ASSERT_EQ(caster.GetActionDone(), 0);
    Receive(10, W().U16(30));
    EXPECT_EQ(caster.GetOrder(), CCreature::orderAbility);
    EXPECT_EQ(caster.GetAbilityId(), kAbilityEscape);
    EXPECT_EQ(caster.GetActionDone(), 1);

    // Psychicforce mode 11 at me: pending and the caster's mark, so my next
    // hit goes out as sub 9 with mode 11.
    caster.PlaceAt(22, 20);
    Receive(41, W().U16(30).U16(kMe).U32(80).U32(70).U8(11).U16(1500));
    EXPECT_EQ(Layer().m_psychicforcePending, 1u);
    EXPECT_EQ(caster.GetPsychicforceMark(), 1);
    EXPECT_EQ(caster.GetCharRecord().U16(CharacterRecord::kInputB), 1500);
    bed.Received();
    me->SetPendingHit(&caster, 22, 20, -9, 1);
    me->ProcessPendingHit();
    me->ResetPendingHit();
    const std::vector<Sent> hit = SentNow();
    ASSERT_EQ(Subs(hit), std::vector<int>{9});
    EXPECT_EQ(hit[0].payload.back(), 11);
    EXPECT_EQ(Layer().m_psychicforcePending, 0u);
    EXPECT_EQ(caster.GetPsychicforceMark(), 0);

    // DevilHealing uses up the hit-stat flag; on my own report it raises
    // my field 20 and sends it.
    Layer().m_hitStatFlag = 1;
    me->GetCharRecord().SetU16(CharacterRecord::kInputA, 2000);
    Receive(43, W().U16(kMe).U16(30).U32(5).U16(1));
    EXPECT_EQ(Layer().m_hitStatFlag, 0u);
    EXPECT_EQ(me->GetCharRecord().U16(CharacterRecord::kInputA), 2001);
    EXPECT_FALSE(bed.Received().empty());

    // Cure sets the flag; the relay 150 stores its sums and starts the
    // fire at the target.
    caster.PlaceAt(22, 20);
    Receive(44, W().U16(30).U16(31));
    EXPECT_EQ(Layer().m_cureReceived, 1u);
    bed.fx.log.Clear();
    Receive(150, W().U16(30).U16(31).U16(44).U16(55).U16(66));
    EXPECT_EQ(caster.GetRelayedSums().value[StatSums::wisdom], 55);
    EXPECT_EQ(bed.fx.log.Calls(), std::vector<std::string>{CCallLog::Call("StartFireStomMain", other.GetPixelX(),
                                                                          other.GetPixelY(), static_cast<const void*>(&caster))});
}

TEST_F(Ability, ThePsychicforceRepeatMarksALivingTargetAndThenPaysAndRelays)
{
    InstallAbilityHooks();
    CEffectManager effects(&bed.Layer());
    CSpecialAbil routine(effects);
    const int cost = GetAbilityMpCost(kAbilityPsychicforce, me->GetCharRecord());
    for (bool alive : {false, true}) {
        SCOPED_TRACE(alive);
        CCharacter& other = Player(30, 22, 20, 30);
        if (!alive)
            other.OrderDie(nullptr);
        Mine(100, 100);
        bed.Layer().m_deathMarkFlag = 0;
        bed.Received();
        routine.PsychicforceTick(*me, &other);
        const std::vector<Sent> sent = SentNow();
        if (!alive) {
            EXPECT_EQ(bed.Layer().m_deathMarkFlag, 0u);
            EXPECT_TRUE(sent.empty());
            EXPECT_EQ(me->GetCharRecord().I32(CharacterRecord::kMp), 100);
            continue;
        }
        EXPECT_EQ(bed.Layer().m_deathMarkFlag, 1u) << "the repeated hit holds its mark";
        EXPECT_EQ(me->GetCharRecord().I32(CharacterRecord::kMp), 100 - cost);
        ASSERT_EQ(Subs(sent), (std::vector<int>{41, 7}));
        const AbilityPacket k =
            DecodeAbilityPayload(*FindAbilityCommand(41), sent[0].payload.data(), sent[0].payload.size());
        EXPECT_EQ(k.caster, kMe);
        EXPECT_EQ(k.target, 30);
        EXPECT_EQ(k.byte, 11) << "a repeat goes out with mode 11";
    }
}

TEST_F(Ability, AStrikeBackFromTheCounterBreakStanceGoesOutWithStanceValueOne)
{
    // The stance itself has no target and tells nobody; the strike back is
    // told by the queued hit with stance value 1, then by the ability's
    // start with mode 0.
    CCharacter& other = Player(30, 22, 20, 30);
    bed.fx.routineResult[kAbilityCounterBreak] = 0;
    me->StartAbility(kAbilityCounterBreak, nullptr, 0, 0, 0, 0, nullptr);
    bed.Frame(2);
    ASSERT_EQ(me->GetCounterBreakState(), 4);
    bed.Received();
    me->SetPendingHit(&other, other.GetTileX(), other.GetTileY(), -12, 0);
    bed.Frame(2);
    const std::vector<Sent> sent = SentNow();
    ASSERT_EQ(Subs(sent), (std::vector<int>{14, 14}));
    for (size_t i = 0; i < 2; ++i) {
        const AbilityPacket k =
            DecodeAbilityPayload(*FindAbilityCommand(14), sent[i].payload.data(), sent[i].payload.size());
        EXPECT_EQ(k.target, 30);
        EXPECT_EQ(k.byte, i == 0 ? 1 : 0);
    }
}
