// The battle's bookkeeping as the server's sub-commands drive it: who stands
// against whom when players join, the death marks of flagged hits, and the
// end of a fighter with its rewards.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "app/StringTable.h"
#include "rules/CalcData.h"
#include "support/FakeScripts.h"
#include "windows/DaradirUzedo.h"
#include "world/StageLoader.h"
#include "BattleBed.h"

namespace {

using W = CBattleWire;
using Bytes8 = std::vector<uint8_t>;
using Pairs = std::vector<std::pair<uint32_t, uint32_t>>;
using Table = std::map<uint32_t, Pairs>;

class BattleRules : public BattleBed {
protected:
    void SetUp() override
    {
        BattleBed::SetUp();
        InBattle();
    }
    // The occupied records, by key, with their pairs in slot order.
    Table Opponents()
    {
        Table t;
        for (const OpponentRecord& r : Layer().m_opponents) {
            if (r.key == 0)
                continue;
            Pairs& p = t[r.key];
            for (int j = 0; j < OpponentRecord::kPairs; ++j)
                if (r.second[static_cast<size_t>(j)] != 0)
                    p.emplace_back(r.first[static_cast<size_t>(j)], r.second[static_cast<size_t>(j)]);
        }
        return t;
    }
    void SetOpponents(const Table& t, const std::map<uint32_t, uint32_t>& groups)
    {
        Layer().m_opponents = {};
        size_t i = 0;
        for (const auto& [key, pairs] : t) {
            OpponentRecord& r = Layer().m_opponents[i++];
            r.key = key;
            r.groupKey = groups.at(key);
            for (size_t j = 0; j < pairs.size(); ++j) {
                r.first[j] = pairs[j].first;
                r.second[j] = pairs[j].second;
            }
        }
    }
    void Participants(std::initializer_list<BattleParticipant> list)
    {
        Layer().m_participants = {};
        size_t i = 0;
        for (const BattleParticipant& p : list)
            Layer().m_participants[i++] = p;
        Layer().m_participantCount = static_cast<uint32_t>(list.size());
    }
    static BattleParticipant P(uint16_t id, uint16_t group, uint16_t level = 5)
    {
        BattleParticipant p;
        p.id = id;
        p.groupKey = group;
        p.level = level;
        return p;
    }
    static std::string Text(int id, int n)
    {
        char buf[200];
        std::snprintf(buf, sizeof buf, GetGameString(id), n);
        return buf;
    }
    int Field(size_t off) { return me->GetCharRecord().I32(off); }
};

// The status I send after every join.
Bytes8 MyStatus(const CharacterRecord& r)
{
    return W::Packet(7, W().U16(7).U16(r.I32(CharacterRecord::kHp)).U16(r.I32(CharacterRecord::kMp))
                            .U16(r.I32(CharacterRecord::kConstitution)).U16(r.I32(CharacterRecord::kWisdom)),
                     501);
}

}  // namespace

TEST_F(BattleRules, AJoiningPlayerIsSetAgainstTheOtherSideAndAnAllyLearnsMyPairs)
{
    struct Row {
        const char* name;
        Table before;
        std::map<uint32_t, uint32_t> groups;
        std::initializer_list<BattleParticipant> here;
        BattleParticipant newcomer;
        Table after;
        std::vector<Bytes8> notices;
        int line;
    };
    const Row rows[] = {
        {"one against one", {}, {}, {}, P(30, 30),
         {{7, {{7, 30}}}, {30, {{7, 30}}}}, {}, 39},
        {"an ally inherits my pairs and is told them",
         {{7, {{7, 30}, {40, 7}}}, {30, {{7, 30}}}, {40, {{40, 7}}}}, {{7, 7}, {30, 30}, {40, 40}},
         {P(30, 30), P(40, 40)}, P(8, 7),
         {{7, {{7, 30}, {40, 7}}}, {8, {{8, 30}, {40, 8}, {30, 8}}}, {30, {{7, 30}, {30, 8}}}, {40, {{40, 7}, {40, 8}}}},
         {W::Packet(46, W().U16(7).U8(0).U16(30).U16(8).U16(7), 8, 4),
          W::Packet(47, W().U16(7).U8(1).U16(40).U16(8).U16(7), 8, 4)},
         203},
        {"an enemy joins a battle already fought", {{7, {{7, 30}}}, {30, {{7, 30}}}}, {{7, 7}, {30, 30}},
         {P(30, 30)}, P(50, 50),
         {{7, {{7, 30}, {7, 50}}}, {30, {{7, 30}, {30, 50}}}, {50, {{7, 50}, {30, 50}}}}, {}, 39},
        {"a player without a record is given one", {{7, {{7, 30}}}}, {{7, 7}}, {P(30, 30), P(40, 40)}, P(50, 50),
         {{7, {{7, 30}, {7, 50}}}, {30, {{30, 50}}}, {40, {{40, 50}}}, {50, {{7, 50}, {30, 50}, {40, 50}}}}, {}, 39},
        {"a monster keeps no pairs", {}, {}, {}, P(1305, 1305), {}, {}, 39},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetOpponents(row.before, row.groups);
        Participants(row.here);
        for (const BattleParticipant& p : row.here)
            Player(p.id, 30 + p.id % 20, 30, p.groupKey);
        bed.Received();
        Lines();
        const int kind = row.newcomer.id >= 1000 ? 1305 : 0;
        Receive(1, W().Participant(row.newcomer.id, 25, 22, kind, row.newcomer.groupKey, 9, 0x10, 4));
        EXPECT_EQ(Opponents(), row.after);
        Bytes8 sent;
        for (const Bytes8& n : row.notices)
            sent.insert(sent.end(), n.begin(), n.end());
        const Bytes8 status = MyStatus(Layer().MyRecord());
        sent.insert(sent.end(), status.begin(), status.end());
        EXPECT_EQ(bed.Received(), sent);
        EXPECT_EQ(Lines(), std::vector<std::string>{GetGameString(row.line)});
        CCharacter* c = Layer().FindCharacterById(row.newcomer.id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetGroupId(), row.newcomer.groupKey);
        EXPECT_EQ(c->GetCharRecord().I32(CharacterRecord::kLevel), 9);
        EXPECT_EQ(c->GetStatusFlags(), 0x10u);
        EXPECT_EQ(c->GetMyTurn(), 0);
        EXPECT_EQ(Layer().m_participants[row.here.size()].id, row.newcomer.id);
        EXPECT_EQ(Layer().m_participantCount, row.here.size() + 1);
        c->RemoveFromMap();
    }
}

TEST_F(BattleRules, TheTwentyFifthParticipantAndAFullOpponentTableAreDropped)
{
    CObjLayer& layer = Layer();
    for (bool fullTable : {false, true}) {
        SCOPED_TRACE(fullTable);
        for (int i = 0; i < kMaxParticipants; ++i) {
            const auto id = static_cast<uint16_t>(100 + i);
            layer.m_participants[static_cast<size_t>(i)] = P(id, id);
            if (!layer.FindCharacterById(id))
                Player(id, 2 + i, 40, id);
        }
        layer.m_participantCount = kMaxParticipants;
        layer.m_opponents = {};
        if (fullTable)
            for (int i = 0; i < kOpponentRecords; ++i) {
                OpponentRecord& r = layer.m_opponents[static_cast<size_t>(i)];
                r.key = r.groupKey = static_cast<uint32_t>(200 + i);
                r.first.fill(r.key);
                r.second.fill(999);
            }
        const uint16_t id = fullTable ? 301 : 300;
        Receive(1, W().Participant(id, 30, 42, 0, id));
        EXPECT_NE(layer.FindCharacterById(id), nullptr);
        EXPECT_EQ(layer.m_participantCount, static_cast<uint32_t>(kMaxParticipants));
        EXPECT_TRUE(std::none_of(layer.m_participants.begin(), layer.m_participants.end(),
                                 [id](const BattleParticipant& p) { return p.id == id; }));
        const Table t = Opponents();
        EXPECT_EQ(t.size(), static_cast<size_t>(kOpponentRecords));
        for (const auto& [key, pairs] : t)
            EXPECT_LE(pairs.size(), static_cast<size_t>(OpponentRecord::kPairs));
        if (fullTable)
            EXPECT_EQ(t.count(id), 0u);
        else
            EXPECT_EQ(t.at(kMe), (Pairs{{kMe, id}}));
    }
}

TEST_F(BattleRules, FlaggedHitsKeepOneDeathMarkPerPairOfFighters)
{
    CObjLayer& layer = Layer();
    CCharacter& v = Player(30, 22, 20, 30);
    CCharacter& a = Player(31, 23, 20, 31);
    CCharacter& b = Player(32, 24, 20, 32);
    enum Who { kNone, kV, kA, kB, kI };
    auto who = [&](Who w) -> CCreature* {
        switch (w) {
        case kV: return &v;
        case kA: return &a;
        case kB: return &b;
        case kI: return me;
        default: return nullptr;
        }
    };
    using Marks = std::map<int, std::pair<Who, Who>>;
    struct Row {
        const char* name;
        int sub, mode;
        Who victim, attacker;
        Marks before;
        std::vector<std::string> calls;  // "Reset n", "Show", "Miss"
        Marks after;
        int current;
        std::set<int> marked;
        Who hit;  // whose HP becomes 55
        int value = 9;
        int start = 0;  // the current pair before
    };
    const Row rows[] = {
        {"9/1 a", 9, 1, kV, kI, {{3, {kV, kI}}}, {"Reset 3", "Show"}, {{3, {kV, kI}}}, 3, {}, kV},
        {"9/11 a clears the pair behind", 9, 11, kV, kI, {{3, {kV, kI}}, {5, {kB, kV}}},
         {"Reset 3", "Show", "Reset 5"}, {{3, {kV, kI}}}, 3, {}, kV},
        {"9/11 a on me stops", 9, 11, kI, kA, {{3, {kI, kA}}, {5, {kB, kI}}}, {"Reset 3", "Show"},
         {{3, {kI, kA}}, {5, {kB, kI}}}, 3, {}, kNone},
        {"9/1 b", 9, 1, kV, kI, {{4, {kI, kV}}}, {"Reset 4", "Show"}, {{4, {kV, kI}}}, 4, {4}, kV},
        {"9/11 b does nothing", 9, 11, kV, kI, {{4, {kI, kV}}}, {}, {{4, {kI, kV}}}, 0, {}, kNone},
        {"9/1 c", 9, 1, kV, kI, {{6, {kB, kI}}}, {"Reset 6", "Show"}, {{6, {kV, kI}}}, 6, {6}, kV},
        {"45/11 c does nothing", 45, 11, kV, kI, {{26, {kB, kI}}}, {}, {{26, {kB, kI}}}, 0, {}, kNone},
        // A case that did nothing hits no one of the pair that was current.
        {"9/11 b spares the current pair", 9, 11, kV, kI, {{1, {kB, kA}}, {4, {kI, kV}}}, {},
         {{1, {kB, kA}}, {4, {kI, kV}}}, 1, {}, kNone, 9, 1},
        {"45/11 c spares the current pair", 45, 11, kV, kI, {{21, {kB, kA}}, {26, {kB, kI}}}, {},
         {{21, {kB, kA}}, {26, {kB, kI}}}, 21, {}, kNone, 9, 21},
        {"9/1 d", 9, 1, kV, kI, {{2, {kV, kB}}}, {"Show"}, {{0, {kV, kI}}, {2, {kV, kB}}}, 0, {2}, kV},
        {"45/1 d", 45, 1, kV, kA, {{21, {kA, kB}}}, {"Show"}, {{20, {kV, kA}}, {21, {kA, kB}}}, 20, {20, 21}, kV},
        {"45/11 d", 45, 11, kV, kA, {{21, {kA, kB}}}, {}, {{21, {kA, kB}}}, 21, {21}, kA},
        {"9/1 e", 9, 1, kV, kI, {}, {"Show"}, {{0, {kV, kI}}}, 0, {0}, kV},
        {"45/11 e", 45, 11, kV, kI, {}, {"Show"}, {{20, {kV, kI}}}, 20, {20}, kV},
        {"9/1 e miss", 9, 1, kV, kI, {}, {"Show", "Miss"}, {{0, {kV, kI}}}, 0, {0}, kNone, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        layer.m_deathMarks = {};
        layer.m_deathMarkMarked = {};
        layer.m_deathMarkIndex = row.start;
        layer.m_deathMarkFlag = row.before.empty() ? 0 : 1;
        layer.m_psychicforcePending = 1;
        g_psychicforceInProgress = 1;
        for (const auto& [i, p] : row.before)
            layer.m_deathMarks[static_cast<size_t>(i)] = {who(p.first), who(p.second)};
        for (CCharacter* c : {&v, &a, &b, me})
            c->GetCharRecord().SetU32(CharacterRecord::kHp, 100);
        const uint16_t field26 = me->GetCharRecord().U16(CharacterRecord::kInputB);
        bed.fx.log.Clear();
        Receive(row.sub, W().U16(who(row.victim)->GetServerId()).U16(who(row.attacker)->GetServerId()).U16(22).U16(20)
                             .U16(row.value).U16(55).U8(row.mode));
        std::vector<std::string> calls;
        for (const std::string& c : bed.fx.log.Calls()) {
            if (c.rfind("ResetDeathMan(", 0) == 0)
                calls.push_back("Reset " + c.substr(14, c.size() - 15));
            else if (c.rfind("StartDeathMan", 0) == 0)
                calls.push_back("Show");
            else if (c.rfind("StartDamage", 0) == 0)
                calls.push_back("Miss");
        }
        EXPECT_EQ(calls, row.calls);
        for (int i = 0; i < CObjLayer::kDeathMarkPairs; ++i) {
            const auto it = row.after.find(i);
            const CObjLayer::DeathMarkPair& got = layer.m_deathMarks[static_cast<size_t>(i)];
            EXPECT_EQ(got.first, it == row.after.end() ? nullptr : who(it->second.first)) << i;
            EXPECT_EQ(got.second, it == row.after.end() ? nullptr : who(it->second.second)) << i;
            EXPECT_EQ(layer.m_deathMarkMarked[static_cast<size_t>(i)], row.marked.count(i) ? 1u : 0u) << i;
        }
        EXPECT_EQ(layer.m_deathMarkIndex, row.current);
        for (Who w : {kV, kA, kB, kI})
            EXPECT_EQ(who(w)->GetCharRecord().I32(CharacterRecord::kHp), w == row.hit ? 55 : 100) << w;
        // My field 26 grows when I strike without the Psychicforce mode.
        const bool gain = row.attacker == kI && row.mode == 1 && !row.calls.empty();
        EXPECT_EQ(me->GetCharRecord().U16(CharacterRecord::kInputB), field26 + (gain ? 1 : 0));
        // Sub-command 45 ends a Psychicforce under way; a pending repeat
        // waits for my next report.
        const bool found = !row.calls.empty() || !row.before.empty();
        EXPECT_EQ(g_psychicforceInProgress, row.sub == 45 && found ? 0 : 1);
        EXPECT_EQ(layer.m_psychicforcePending, 1u);
    }
}

TEST_F(BattleRules, TheGroupCountAndLevelSumTakeEveryListedMemberMeIncluded)
{
    CObjLayer& layer = Layer();
    me->GetCharRecord().SetU32(CharacterRecord::kLevel, 10);
    Player(20, 22, 20, kMe).GetCharRecord().SetU32(CharacterRecord::kLevel, 20);
    Player(30, 23, 20, kMe).GetCharRecord().SetU32(CharacterRecord::kLevel, 30);
    Monster(1305, 25, 20);
    struct Row {
        const char* name;
        GroupRecord group;
        std::initializer_list<BattleParticipant> here;
        bool thirtyDead;
        int G, L;
    };
    const Row rows[] = {
        {"no leader: me alone", {0, kMe, 20, 30, 0, 0, 0}, {P(20, kMe), P(30, kMe)}, false, 1, 10},
        {"two members listed", {kMe, kMe, 20, 30, 0, 0, 0}, {P(20, kMe), P(30, kMe), P(1305, 1305)}, false, 3, 60},
        // My own entry matches my member slot: counted, and my level again.
        {"my id listed too", {kMe, kMe, 20, 30, 0, 0, 0}, {P(kMe, kMe), P(20, kMe), P(30, kMe)}, false, 4, 70},
        {"a dead member counts without its level", {kMe, kMe, 20, 30, 0, 0, 0}, {P(20, kMe), P(30, kMe)}, true, 3,
         30},
        {"not a member", {kMe, kMe, 0, 0, 0, 0, 0}, {P(20, 20), P(30, 30)}, false, 1, 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        layer.m_groupHeader = row.group;
        Participants(row.here);
        CCharacter* thirty = layer.FindCharacterById(30);
        if (row.thirtyDead)
            thirty->OrderDie(nullptr);
        EXPECT_EQ(layer.CountGroupInBattle(), row.G);
        EXPECT_EQ(layer.SumGroupLevels(), row.L);
        if (row.thirtyDead)
            Player(30, 23, 20, kMe).GetCharRecord().SetU32(CharacterRecord::kLevel, 30);
    }
}

TEST_F(BattleRules, AHitSetsHpOrShowsAMissAndRaisesMyField20UpToItsCap)
{
    CObjLayer& layer = Layer();
    CCharacter& v = Player(30, 22, 20, 30);
    struct Row {
        const char* name;
        int value;
        uint32_t hitStat;
        int field20;
        bool marked;  // a death-mark pair holds the victim
        int hp;
        int field20After;
        std::vector<std::string> calls;
    };
    const Row rows[] = {
        {"a hit", 9, 0, 5, false, 61, 5, {}},
        {"a miss", 0, 0, 5, false, 100, 5, {"Miss"}},
        {"the hit-stat flag", 9, 1, 5, false, 61, 6, {}},
        {"the cap", 9, 1, 2028, false, 61, 2028, {}},
        {"a marked victim", 9, 1, 5, true, 61, 5, {"Reset 4"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        v.GetCharRecord().SetU32(CharacterRecord::kHp, 100);
        me->GetCharRecord().SetU16(CharacterRecord::kInputA, static_cast<uint32_t>(row.field20));
        layer.m_hitStatFlag = row.hitStat;
        layer.m_deathMarks = {};
        layer.m_deathMarkFlag = row.marked ? 1 : 0;
        if (row.marked)
            layer.m_deathMarks[4] = {me, &v};
        bed.fx.log.Clear();
        Receive(5, W().U16(30).U16(kMe).U16(22).U16(20).U16(row.value).U16(61));
        EXPECT_EQ(v.GetCharRecord().I32(CharacterRecord::kHp), row.hp);
        EXPECT_EQ(me->GetCharRecord().U16(CharacterRecord::kInputA), row.field20After);
        EXPECT_EQ(layer.m_hitStatFlag, row.marked ? row.hitStat : 0u);
        std::vector<std::string> calls;
        for (const std::string& c : bed.fx.log.Calls())
            calls.push_back(c.rfind("StartDamage", 0) == 0 ? "Miss" : "Reset " + c.substr(14, c.size() - 15));
        EXPECT_EQ(calls, row.calls);
    }
}

TEST_F(BattleRules, OnlyPairNoticesForMeOfTheRightKindAreKeptUntilTheTableIsFull)
{
    CObjLayer& layer = Layer();
    struct Row {
        const char* name;
        int sub, kind, addressee;
        bool kept;
    };
    const Row rows[] = {
        {"a notice for me", 46, 0, kMe, true},  {"a reverse notice for me", 47, 1, kMe, true},
        {"for another", 46, 0, 8, false},       {"the wrong kind", 46, 1, kMe, false},
        {"reverse of the wrong kind", 47, 0, kMe, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        layer.m_pairNotices = {};
        Receive(row.sub, W().U16(30).U8(row.kind).U16(31).U16(row.addressee).U16(30));
        const PairNotice& n = layer.m_pairNotices[row.sub == 46 ? 0 : 1][0];
        EXPECT_EQ(n.sender, row.kept ? 30u : 0u);
        if (row.kept) {
            EXPECT_EQ(n.opponent, 31u);
            EXPECT_EQ(n.addressee, kMe);
        }
    }
    layer.m_pairNotices = {};
    for (int i = 0; i < kPairNotices + 1; ++i)
        Receive(46, W().U16(100 + i).U8(0).U16(31).U16(kMe).U16(30));
    for (int i = 0; i < kPairNotices; ++i)
        EXPECT_EQ(layer.m_pairNotices[0][static_cast<size_t>(i)].sender, static_cast<uint32_t>(100 + i));
    EXPECT_EQ(layer.m_pairNotices[1][0].sender, 0u) << "the 21st is dropped, not spilled";
}

TEST_F(BattleRules, TheShareOfAGroupRewardFollowsTheLevels)
{
    struct Row {
        int64_t v;
        int G, L, level;
        int64_t share;
    };
    const Row rows[] = {
        {100, 3, 60, 10, 25},         // total 125: 10 + (125 - 30) x 10 / 60
        {100, 1, 60, 10, 100},        // alone: everything
        {100, 2, 20, 10, 10 + 90 * 10 / 20},
        {100, 6, 70, 10, 10 + 140 * 10 / 70},
        {100, 9, 70, 10, 10 + 140 * 10 / 70},  // G beyond 6 counts as 6
        {100, 3, 0, 10, 10 + 95 * 10},         // L of 0 counts as 1
        {-50, 3, 30, 10, -5 + (-62 + 15) * 10 / 30},
        {32767, 6, 1, 255, 3276 + (65534 - 3276 * 6) * 255},
    };
    for (const Row& r : rows)
        EXPECT_EQ(BattleShare(r.v, r.G, r.L, r.level), r.share) << r.v << " " << r.G << " " << r.L;
}

namespace {

class BattleResult : public BattleRules {
protected:
    void SetUp() override
    {
        BattleRules::SetUp();
        for (int id = 1; id <= 4; ++id)
            bed.world.AddItem(id, ItemRecord{});
        for (int i = 0; i < CharacterRecord::kItemSlots; ++i)
            me->GetCharRecord().SetItem(i, 0);
        me->GetCharRecord().SetU32(CharacterRecord::kLevel, 10);
        me->GetCharRecord().SetU32(CharacterRecord::kExperience, 0);
        Layer().SetMyCharRecord(me->GetCharRecord());
        g_currentMapId = 0;
        g_remainRaised = 0;
    }
    // The dead, the killer, the money, the experience, the script and the
    // dead's level, fields 21 and 27, then the item ids.
    static Bytes8 Result(int dead, int killer, int money, int exp, int script, std::vector<int> items = {},
                         int level = 5, int f21 = 0, int f27 = 0, uint32_t bonus = 0)
    {
        W w;
        w.U16(dead).U16(killer).U16(money).U16(exp).U16(script).U8(static_cast<int>(items.size()));
        w.U16(level).U16(f21).U16(f27).U32(bonus).U32(0);
        for (int id : items)
            w.U16(id);
        return w;
    }
};

}  // namespace

TEST_F(BattleResult, MyGroupSharesTheExperienceByLevelAndTheDeadLeaves)
{
    CObjLayer& layer = Layer();
    layer.m_groupHeader = {kMe, kMe, 20, 30, 0, 0, 0};
    me->SetGroupKey(layer.m_groupHeader);
    Player(20, 22, 20, kMe).GetCharRecord().SetU32(CharacterRecord::kLevel, 20);
    Player(30, 23, 20, kMe).GetCharRecord().SetU32(CharacterRecord::kLevel, 30);
    CCharacter& monster = Monster(1305, 25, 20);
    Participants({P(20, kMe), P(30, kMe), P(1305, 1305)});
    EXPECT_EQ(layer.CountGroupInBattle(), 3);
    EXPECT_EQ(layer.SumGroupLevels(), 60);
    Lines();
    Receive(6, Result(1305, kMe, 0, 100, 0));
    EXPECT_EQ(Field(CharacterRecord::kExperience), 25);
    EXPECT_EQ(layer.MyRecord().I32(CharacterRecord::kExperience), 25);
    EXPECT_FALSE(monster.IsAlive());
    EXPECT_EQ(layer.m_participants[2].id, 0);
    EXPECT_EQ(Lines(), (std::vector<std::string>{Text(19, 0), Text(21, 0), Text(27, 25), GetGameString(15),
                                                 GetGameString(17)}));
    EXPECT_EQ(layer.m_battleOver, 1u);

    // A kill by a member: my share of the money, nothing else.
    layer.m_battleOver = 0;
    Monster(1306, 26, 20);
    const int money = Field(CharacterRecord::kMoney);
    Receive(6, Result(1306, 20, 100, 0, 0, {1}));
    EXPECT_EQ(Field(CharacterRecord::kMoney), money + 25);
    EXPECT_EQ(me->GetCharRecord().Item(0), 0) << "the killer's loot";
}

TEST_F(BattleResult, ExperiencePastTwoThresholdsRaisesRemainTwice)
{
    CharacterRecord& rec = me->GetCharRecord();
    rec.SetU32(CharacterRecord::kRemain, 4);
    Layer().SetMyCharRecord(rec);
    const int first = CalcNextRemainExp(rec);
    // Both copies of my record hold each Remain while its threshold is taken.
    rec.SetU32(CharacterRecord::kRemain, 5);
    Layer().SetMyCharRecord(rec);
    const int second = CalcNextRemainExp(rec);
    rec.SetU32(CharacterRecord::kRemain, 4);
    Layer().SetMyCharRecord(rec);
    Monster(1305, 25, 20);
    Lines();
    bed.Received();
    Receive(6, Result(1305, kMe, 0, first + second + 3, 0));
    EXPECT_EQ(Field(CharacterRecord::kRemain), 6);
    EXPECT_EQ(Field(CharacterRecord::kExperience), 3);
    EXPECT_EQ(Lines(), (std::vector<std::string>{Text(19, 0), Text(21, 0), Text(27, first + second + 3),
                                                 GetGameString(42), GetGameString(42), GetGameString(15),
                                                 GetGameString(17)}));
    EXPECT_EQ(g_remainRaised, 1);
    // Fields 11, 11 and 19 go to the server in that order.
    const Bytes8 sent = bed.Received();
    std::vector<int> fields;
    for (size_t i = 0; i + 1 < sent.size(); ++i)
        if (sent[i] == 53 && (sent[i + 1] == 11 || sent[i + 1] == 19))
            fields.push_back(sent[i + 1]);
    EXPECT_EQ(fields, (std::vector<int>{11, 11, 19}));
}

TEST_F(BattleResult, MyLootSkipsUnknownIdsAndAFullListRefusesTheRest)
{
    CharacterRecord& rec = me->GetCharRecord();
    struct Row {
        const char* name;
        int held;
        std::vector<int> loot;
        int lengthCut;  // payload bytes left out at the end
        std::vector<uint16_t> taken;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"room for all", 0, {1, 2, 3}, 0, {1, 2, 3}, {Text(19, 3)}},
        {"unknown ids are no items", 0, {1, 900, 0, 2}, 0, {1, 2}, {Text(19, 2)}},
        {"79 held: one more", 79, {1, 2, 3}, 0, {1}, {Text(19, 1), Text(21, 2)}},
        {"a cut list: only the ids that came", 0, {1, 2, 3}, 3, {1}, {Text(19, 1)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (int i = 0; i < CharacterRecord::kItemSlots; ++i)
            rec.SetItem(i, i < row.held ? 4 : 0);
        Layer().SetMyCharRecord(rec);
        Monster(1305, 25, 20);
        Lines();
        Bytes8 payload = Result(1305, kMe, 0, 0, 0, row.loot);
        payload.resize(payload.size() - static_cast<size_t>(row.lengthCut));
        Dispatch(W::Packet(6, payload, kBattle));
        std::vector<uint16_t> got;
        for (int i = row.held; i < CharacterRecord::kItemSlots; ++i)
            if (rec.Item(i) != 0)
                got.push_back(rec.Item(i));
        EXPECT_EQ(got, row.taken);
        std::vector<std::string> lines = Lines();
        lines.resize(row.lines.size());
        EXPECT_EQ(lines, row.lines);
        EXPECT_EQ(Layer().MyRecord().Item(row.held), row.taken[0]);
        Layer().m_battleOver = 0;
    }
}

TEST_F(BattleResult, AKillOfAPlayerWhoStoodAgainstMeRaisesMyWantedCount)
{
    CObjLayer& layer = Layer();
    FakeScripts scripts;
    CharacterRecord& rec = me->GetCharRecord();
    struct Row {
        const char* name;
        int map;
        int my21, my27;
        int deadLevel;
        bool pairHeld;
        int script;
        int killer;
        int wanted;
        std::vector<std::string> scripts;
    };
    const Row rows[] = {
        {"a level-10 victim: 3", 0, 0, 1, 10, true, 0, kMe, 3, {}},
        {"a level-20 victim: one more", 0, 0, 1, 20, true, 0, kMe, 2, {}},
        {"already 3 stays 3", 0, 0, 3, 20, true, 0, kMe, 3, {}},
        {"five terms: one more", 0, 5, 7, 20, true, 0, kMe, 8, {}},
        {"no pair held", 0, 0, 1, 10, false, 0, kMe, 1, {}},
        {"the free-fight map", 3, 0, 1, 10, true, 0, kMe, 1, {}},
        {"my script", 0, 0, 0, 20, false, 123, kMe, 0, {"Load(\"123\")"}},
        {"script 100 is none", 0, 0, 0, 20, false, 100, kMe, 0, {}},
        {"another's script", 0, 0, 0, 20, false, 123, 31, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_currentMapId = row.map;
        rec.SetU16(CharacterRecord::kJailed, static_cast<uint32_t>(row.my21));
        rec.SetU16(CharacterRecord::kWanted, static_cast<uint32_t>(row.my27));
        layer.SetMyCharRecord(rec);
        Player(30, 22, 20, 30);
        Player(31, 23, 20, 31);
        SetOpponents(row.pairHeld ? Table{{30, {{30, kMe}}}} : Table{}, {{30, 30}});
        scripts.log.Clear();
        Receive(6, Result(30, row.killer, 0, 0, row.script, {}, row.deadLevel));
        EXPECT_EQ(rec.I16(CharacterRecord::kWanted), row.wanted);
        EXPECT_EQ(layer.MyRecord().I16(CharacterRecord::kWanted), row.wanted);
        EXPECT_EQ(scripts.log.Calls(), row.scripts);
        EXPECT_EQ(Opponents().count(30), 0u) << "the dead's pairs are gone";
        layer.m_battleOver = 0;
    }
}

TEST_F(BattleResult, OutsideBattleOrDeadOnlyTheIdsAreConsumed)
{
    CObjLayer& layer = Layer();
    CCharacter& monster = Monster(1305, 25, 20);
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant);
        layer.m_inBattle = variant == 0 ? 0 : 1;
        if (variant == 1)
            me->OrderDie(nullptr);
        Lines();
        Receive(6, Result(1305, kMe, 50, 50, 0, {1, 2}));
        EXPECT_EQ(src.Available(), 0u);
        EXPECT_TRUE(monster.IsAlive());
        EXPECT_EQ(me->GetCharRecord().Item(0), 0);
        EXPECT_EQ(Field(CharacterRecord::kExperience), 0);
        EXPECT_TRUE(Lines().empty());
    }
}
