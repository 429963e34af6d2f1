// The monster of stage 0 and the battle a click challenges it to. It stands
// near the start whenever the player enters stage 0 or comes back in sight
// of it. The player's challenge reaching it is answered with the join of a
// battle around the player's cell; then the two take turns: the monster
// attacks (the client rolls the hit and reports it), and waits for the
// player's attack (a miss is reported as no damage) or an ability that
// strikes it. Against a seasoned player some of its turns call a quake
// instead of the attack, which a counter stance answers. It falls once
// enough attacks have landed, leaving experience, money and an item; the
// client relays its special as it comes. Leaving the battle's area ends it.
#include <cstdlib>
#include <vector>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "fixtures/SampleMonster.h"
#include "platform/Clock.h"
#include "support/DemoArea.h"
#include "support/DemoBattle.h"
#include "support/DemoServer.h"
#include "world/CharacterRecord.h"

namespace {

using M = DemoMonster;

constexpr uint8_t kCmdEnter = 3, kCmdStep = 10, kCmdChallenge = 24, kCmdJoinBattle = 27, kCmdBattle = 30;
constexpr uint8_t kCmdDamage = 31, kCmdBattleMove = 32, kCmdLeaveArea = 34;
constexpr uint8_t kSubJoin = 1, kSubAttack = 4, kSubHit = 5, kSubResult = 6, kSubStatus = 7;
constexpr uint8_t kSubSpecial = 154;
constexpr uint8_t kSubGuardBreak = 13, kSubQuake = 20;
// A creature this far off on either axis is out of the client's sight.
constexpr int kSight = 14;
// After the join the field's wipe passes before the monster's first attack.
constexpr uint32_t kFirstTurnMs = 1500;
// The hit report of the monster's attack is awaited this long; then the
// attack is sent again (it may have stopped short of the player), and after
// a few tries the turn passes.
constexpr uint32_t kTurnMs = 4000;
constexpr int kAttackTries = 3;
// A quake's report comes once it has risen and shaken: awaited longer.
constexpr uint32_t kQuakeMs = 6000;
// A miss of the player's attack is reported at its swing.
constexpr uint32_t kResolveMs = 700;
// The monster answers a resolved attack after this.
constexpr uint32_t kAnswerMs = 600;

class CDemoBattle : public CDemoArea {
public:
    using CDemoArea::CDemoArea;

    bool Handle(const uint8_t* p, size_t n) override
    {
        CByteReader r(p + 1, n - 1);
        switch (p[0]) {
        case kCmdEnter: {
            // The field answers; the monster is shown after it, on stage 0.
            const int stage = r.U8() - 1;
            m_x = r.U16();
            m_y = r.U16();
            m_showPending = stage == 0;
            m_shown = false;
            return false;
        }
        case kCmdStep:
            m_x = r.U16();
            m_y = r.U16();
            if (!InSight(m_x, m_y))
                m_shown = false;
            else if (!m_shown && m_phase == kField)
                m_showPending = true;
            return false;
        case kCmdChallenge: {
            r.U16();
            if (r.U16() != M::kId || !m_shown || m_phase != kField || !m_server.EnteredField())
                return false;
            Join();
            return true;
        }
        case kCmdBattle:
            if (m_phase != kField)
                TakeBattle(p, n);
            return true;
        case kCmdDamage: {
            // [31][u16 my id][u16 id][u16 value]: no damage to the monster
            // is the player's attack missing.
            if (m_phase == kField)
                return false;
            r.U16();
            const uint16_t id = r.U16();
            if (id == M::kId && r.U16() == 0 && m_phase == kResolving)
                m_missed = true;
            return true;
        }
        case kCmdBattleMove:
            if (m_phase == kField)
                return false;
            r.U16();
            m_x = r.U16();
            m_y = r.U16();
            return true;
        case kCmdLeaveArea:
            if (m_phase == kField)
                return false;
            m_phase = kField;
            return true;
        default: return false;
        }
    }

    void Tick(uint32_t now) override
    {
        if (m_showPending && m_server.EnteredField()) {
            m_showPending = false;
            m_shown = true;
            CByteWriter w;
            w.U8(4).U16(M::kId).U8(0).U16(M::kX).U16(M::kY).U16(CSampleMonster::kKind).U8(0).U8(0);
            m_server.Send(w.Buffer());
        }
        switch (m_phase) {
        case kMonsterTurn:
            if (!m_attackSent && Due(now)) {
                m_due = now + Attack();
                m_attackSent = true;
            } else if (m_attackSent && Due(now)) {
                if (++m_tries < kAttackTries) {
                    m_due = now + Attack();
                } else {
                    m_phase = kPlayerTurn;
                }
            }
            break;
        case kResolving:
            if (!Due(now))
                break;
            if (!m_missed)
                ++m_hits;
            if (m_hits >= M::kMaxHits || (m_hits >= M::kHits && m_specials > 0)) {
                Fall();
            } else {
                StartMonsterTurn(now + kAnswerMs);
            }
            break;
        default: break;
        }
    }

private:
    enum Phase { kField, kJoining, kMonsterTurn, kPlayerTurn, kResolving, kWon, kLost };

    static bool InSight(int x, int y) { return std::abs(x - M::kX) < kSight && std::abs(y - M::kY) < kSight; }
    bool Due(uint32_t now) const { return static_cast<int32_t>(now - m_due) >= 0; }

    // The header of a battle command of this battle.
    CByteWriter Header(uint8_t sub, int length) const
    {
        CByteWriter w;
        w.U8(kCmdBattle).U8(0).U16(m_battle).U8(sub).U16(static_cast<uint32_t>(length));
        return w;
    }

    // [27][u16 0][u16 battle][u16 centre x][u16 centre y][u16 opponent]
    // [u8 1] and the monster's participant record.
    void Join()
    {
        m_battle = static_cast<uint16_t>(M::kFirstBattle + m_battles++);
        m_phase = kJoining;
        m_hits = 0;
        m_specials = 0;
        m_turns = 0;
        CByteWriter w;
        w.U8(kCmdJoinBattle).U16(0).U16(m_battle).U16(static_cast<uint32_t>(m_x)).U16(static_cast<uint32_t>(m_y));
        w.U16(M::kId).U8(1);
        w.U16(M::kId).U16(M::kX).U16(M::kY).U16(CSampleMonster::kKind).U8(0).U8(0).U16(M::kId).U16(M::kLevel);
        w.U32(0).U16(0);
        m_server.Send(w.Buffer());
    }

    // The player's abilities that strike the monster: those aimed at it
    // (the sender's id, then its; GuardBreak's target comes first and its
    // sender at 14) and those aimed at a cell, whose area reaches it where
    // it stands beside the player. The client relays the monster's own
    // special with the monster as the sender.
    static bool Strikes(uint8_t sub, const uint8_t* payload, size_t n)
    {
        CByteReader r(payload, n);
        const uint16_t first = r.U16();
        switch (sub) {
        case kSubGuardBreak:
            r.Skip(12);
            return first == M::kId && r.U16() == CDemoServer::kPlayerId && r.Ok();
        case 11: case 14: case 16: case 23: case 27: case 28: case 41: case 43:
            return first == CDemoServer::kPlayerId && r.U16() == M::kId && r.Ok();
        case 15: case 17: case kSubQuake: case 26: return first == CDemoServer::kPlayerId && r.Ok();
        default: return false;
        }
    }

    // The player's move: an attack or a striking ability, in the player's
    // turn or in the monster's (a counter answers its quake; an ability may
    // beat its attack to it).
    void TakeMove(uint32_t now)
    {
        if (m_phase != kPlayerTurn && m_phase != kMonsterTurn)
            return;
        m_phase = kResolving;
        m_missed = false;
        m_due = now + kResolveMs;
    }

    // The commands of the battle from the client: [30][flag][u16 battle]
    // [sub][u16 length] and the payload, which begins with the sender's id
    // (GuardBreak's with the target's).
    void TakeBattle(const uint8_t* p, size_t n)
    {
        CByteReader h(p + 1, 6);
        h.U8();
        const uint16_t battle = h.U16();
        const uint8_t sub = h.U8();
        CByteReader r(p + 7, n - 7);
        const uint16_t from = r.U16();
        if (battle != m_battle || !r.Ok())
            return;
        const uint32_t now = plat::NowMs();
        if (Strikes(sub, p + 7, n - 7)) {
            TakeMove(now);
            return;
        }
        switch (sub) {
        case kSubJoin:
            // My cell after my id.
            if (m_phase != kJoining || from != CDemoServer::kPlayerId)
                return;
            m_x = r.U16();
            m_y = r.U16();
            // [7][u16 id][u16 HP][u16 MP][u16 constitution][u16 wisdom].
            m_server.Send(Header(kSubStatus, 10)
                              .U16(M::kId).U16(M::kHp).U16(M::kMp).U16(CSampleMonster::kStat)
                              .U16(CSampleMonster::kStat).Buffer());
            StartMonsterTurn(now + kFirstTurnMs);
            return;
        case kSubHit:
            // The attacker after my id: the monster's attack hit or missed,
            // and the turn is the player's.
            if (m_phase == kMonsterTurn && m_attackSent && r.U16() == M::kId)
                m_phase = kPlayerTurn;
            return;
        case kSubAttack:
            // The target after my id: the player's attack, in the player's
            // turn or before the monster's attack has gone.
            if (r.U16() == M::kId && (m_phase == kPlayerTurn || (m_phase == kMonsterTurn && !m_attackSent)))
                TakeMove(now);
            return;
        case kSubResult:
            // The player fell.
            if (from == CDemoServer::kPlayerId)
                m_phase = kLost;
            return;
        case kSubSpecial:
            // The monster's special, relayed with its sums.
            if (from == M::kId)
                ++m_specials;
            return;
        default: return;
        }
    }

    void StartMonsterTurn(uint32_t at)
    {
        m_phase = kMonsterTurn;
        m_attackSent = false;
        m_tries = 0;
        m_due = at;
        ++m_turns;
        m_quake = m_turns % M::kQuakeTurns == 0 && m_server.Record().I32(CharacterRecord::kLevel) >= M::kQuakeLevel;
    }

    // [4][u16 attacker][u16 target][u16 strength][u16 agility][u16 courage]
    // and 8 equipment ids; or its quake: [20][u16 caster][u32 cell x]
    // [u32 cell y][u32 constitution][u32 wisdom][u32 courage] and 8
    // equipment ids, on the player's cell. The next try is that much later.
    uint32_t Attack()
    {
        if (m_quake) {
            m_server.Send(Header(kSubQuake, 38)
                              .U16(M::kId).U32(static_cast<uint32_t>(m_x)).U32(static_cast<uint32_t>(m_y))
                              .U32(CSampleMonster::kStat).U32(CSampleMonster::kStat).U32(M::kCourage).Zeros(16).Buffer());
            return kQuakeMs;
        }
        m_server.Send(Header(kSubAttack, 26)
                          .U16(M::kId).U16(CDemoServer::kPlayerId).U16(M::kStrength).U16(M::kAgility)
                          .U16(M::kCourage).Zeros(16).Buffer());
        return kTurnMs;
    }

    // [6][u16 dead][u16 killer][u16 money][u16 experience][u16 script 0]
    // [u8 1][u16 level][u16 field 21][u16 field 27][u32 0][u32 0][u16 item].
    void Fall()
    {
        m_phase = kWon;
        m_server.Send(Header(kSubResult, 27)
                          .U16(M::kId).U16(CDemoServer::kPlayerId).U16(M::kMoney).U16(M::kExperience).U16(0).U8(1)
                          .U16(M::kLevel).U16(0).U16(0).U32(0).U32(0).U16(M::kItem).Buffer());
    }

    Phase m_phase = kField;
    bool m_showPending = false;
    bool m_shown = false;
    bool m_attackSent = false;
    bool m_missed = false;
    bool m_quake = false;
    int m_x = CDemoServer::kStartX;
    int m_y = CDemoServer::kStartY;
    int m_tries = 0;
    int m_hits = 0;
    int m_specials = 0;
    int m_turns = 0;
    uint16_t m_battle = 0;
    uint16_t m_battles = 0;
    uint32_t m_due = 0;
};

}  // namespace

std::unique_ptr<CDemoArea> MakeDemoBattle(CDemoServer& server) { return std::make_unique<CDemoBattle>(server); }
