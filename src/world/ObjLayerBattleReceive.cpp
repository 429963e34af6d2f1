// The battle sub-commands other clients' characters send through the
// server: joins, attacks, hits, status, the death marks and the pair
// notices. Every id is looked up before it is used and every table index
// stays within its table.
#include <algorithm>

#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/ByteReader.h"
#include "effects/EffectsService.h"
#include "windows/UiService.h"
#include "world/Character.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"

namespace {

constexpr int kStrSomeoneCame = 39;
constexpr int kStrMemberCame = 203;
constexpr int kField20Cap = 2028;
constexpr int kField26Cap = 1522;
constexpr int kModePsychicforce = 11;
constexpr int kFirstMonsterId = 1000;

// The newcomer takes on the pairs of from as its own: from's key against
// someone becomes the newcomer against them, and the other way round.
void Inherit(OpponentTable& t, const OpponentRecord from, uint32_t id, uint32_t group)
{
    for (int j = 0; j < OpponentRecord::kPairs; ++j) {
        const auto sj = static_cast<size_t>(j);
        if (from.second[sj] == 0)
            continue;
        if (from.first[sj] == from.key)
            AddOpponentPair(t, id, group, id, from.second[sj]);
        else if (from.second[sj] == from.key)
            AddOpponentPair(t, id, group, from.first[sj], id);
    }
}

}  // namespace

void CObjLayer::OnBattleJoin(const uint8_t* p)
{
    CByteReader r(p, BattleParticipant::kSize);
    const BattleParticipant rec = BattleParticipant::Read(r);
    // My own join echoed back is no one joining: I am never a participant
    // of my own table (the group's reward would count me twice).
    if (rec.id == 0 || rec.id == g_myId)
        return;
    const int counted = static_cast<int>(std::min<uint32_t>(m_participantCount, kMaxParticipants));
    // The slot holding the id among the first n, else the first free one.
    auto slotFor = [this, &rec](int n) -> BattleParticipant* {
        BattleParticipant* free = nullptr;
        for (int i = 0; i < n; ++i) {
            BattleParticipant& s = m_participants[static_cast<size_t>(i)];
            if (s.id == rec.id)
                return &s;
            if (s.id == 0 && !free)
                free = &s;
        }
        return free;
    };
    if (!m_inBattle) {
        if (BattleParticipant* s = slotFor(counted))
            *s = rec;
        return;
    }
    CCharacter* c = FindCharacterById(rec.id);
    if (c) {
        if (BattleParticipant* s = slotFor(counted))
            *s = rec;
    } else if (rec.x != BattleParticipant::kNotPlaced) {
        c = AddCharacter(rec.id, rec.x, rec.y, rec.type, rec.speedClass, rec.attribute);
        if (c) {
            const bool known = std::any_of(m_participants.begin(), m_participants.end(),
                                           [&rec](const BattleParticipant& s) { return s.id == rec.id; });
            if (!known) {
                // A full table keeps its 24 and drops the newcomer's entry.
                for (BattleParticipant& s : m_participants)
                    if (s.id == 0) {
                        s = rec;
                        m_participantCount = std::min<uint32_t>(m_participantCount + 1, kMaxParticipants);
                        break;
                    }
            }
            if (rec.id < kFirstMonsterId && static_cast<int>(m_battleNumber) < kDeathMatchFirst)
                RecordJoinOpponents(rec);
            CCreature::GroupKey key{};
            key[0] = rec.groupKey;
            c->SetGroupKey(key);
            c->GetCharRecord().SetU32(CharacterRecord::kLevel, rec.level);
            c->GetCharRecord().SetU16(CharacterRecord::kFame, rec.field31);
            c->SetStatusFlags(rec.status);
        }
    }
    const CharacterRecord& mine = PlayerRecord();
    SendBattleStatus(mine.I32(CharacterRecord::kHp), mine.I32(CharacterRecord::kMp),
                     mine.I32(CharacterRecord::kConstitution), mine.I32(CharacterRecord::kWisdom));
    if (c)
        c->SetMyTurn(0);
    const uint16_t myGroup = m_pMyChar ? m_pMyChar->GetGroupId() : m_groupHeader[kGroupLeader];
    Ui().AddLine(GetGameString(rec.groupKey != myGroup ? kStrSomeoneCame : kStrMemberCame));
}

void CObjLayer::RecordJoinOpponents(const BattleParticipant& n)
{
    OpponentTable& t = m_opponents;
    const uint32_t me = g_myId;
    const uint32_t myGroup = m_pMyChar ? m_pMyChar->GetGroupId() : m_groupHeader[kGroupLeader];
    const uint32_t id = n.id, group = n.groupKey;
    const bool ally = group != 0 && group == myGroup;
    // The players who were here before the newcomer.
    auto forEarlier = [&](auto&& f) {
        for (const BattleParticipant& p : m_participants)
            if (p.id != 0 && p.id < kFirstMonsterId && p.id != me && p.id != id)
                f(p);
    };
    const bool empty = std::all_of(t.begin(), t.end(), [](const OpponentRecord& r) { return r.key == 0; });
    if (empty) {
        if (group != myGroup) {
            AddOpponentPair(t, me, myGroup, me, id);
            forEarlier([&](const BattleParticipant& p) { AddOpponentPair(t, p.id, p.groupKey, p.id, id); });
            for (const OpponentRecord& r : OpponentTable(t))
                if (r.key != 0 && r.key != id)
                    AddOpponentPair(t, id, group, r.key, id);
        }
    } else {
        if (ally) {
            if (const OpponentRecord* mine = FindOpponentRecord(t, me))
                Inherit(t, *mine, id, group);
        } else {
            AddOpponentPair(t, me, myGroup, me, id);
            AddOpponentPair(t, id, group, me, id);
        }
        for (size_t i = 0; i < t.size(); ++i)
            if (t[i].key != 0 && t[i].key != id && t[i].groupKey != group)
                AddOpponentPair(t, t[i].key, t[i].groupKey, t[i].key, id);
    }
    // Every earlier player ends with a record: one each for those without.
    forEarlier([&](const BattleParticipant& p) {
        if (!FindOpponentRecord(t, p.id))
            AddOpponentPair(t, p.id, p.groupKey, p.id, id);
    });
    for (size_t i = 0; i < t.size(); ++i) {
        const OpponentRecord r = t[i];
        if (r.key == 0 || r.key == id)
            continue;
        if (r.groupKey == group)
            Inherit(t, r, id, group);
        else
            AddOpponentPair(t, id, group, r.key, id);
    }
    // An ally joining a battle already fought learns whom I stand against.
    const OpponentRecord* mine = FindOpponentRecord(t, me);
    if (!mine || !ally || m_participants[1].id == 0)
        return;
    const OpponentRecord copy = *mine;
    for (int j = 0; j < OpponentRecord::kPairs; ++j) {
        const auto sj = static_cast<size_t>(j);
        if (copy.first[sj] == 0 || copy.second[sj] == 0)
            continue;
        if (copy.first[sj] == me)
            SendPairNotice(me, 0, static_cast<int>(copy.second[sj]), static_cast<int>(id), static_cast<int>(myGroup));
        else if (copy.second[sj] == me)
            SendPairNoticeReverse(me, 1, static_cast<int>(copy.first[sj]), static_cast<int>(id),
                                  static_cast<int>(myGroup));
    }
}

void CObjLayer::OnBattleAttack(const uint8_t* p)
{
    if (!m_inBattle)
        return;
    CByteReader r(p, 26);
    const int attackerId = r.U16(), targetId = r.U16();
    const int strength = r.I16(), agility = r.I16(), courage = r.I16();
    if (attackerId == targetId)
        return;
    CCharacter* attacker = FindCharacterById(attackerId);
    CCharacter* target = FindCharacterById(targetId);
    if (!attacker || !target || attacker == m_pMyChar)
        return;
    CharacterRecord& rec = attacker->GetCharRecord();
    for (int s = 0; s < CharacterRecord::kEquipSlots; ++s) {
        const uint16_t item = r.U16();
        // An id without an item entry equips nothing.
        rec.SetEquip(s, item != 0 && GetItemEntry(item) ? item : 0);
    }
    rec.SetU32(CharacterRecord::kStrength, static_cast<uint32_t>(strength));
    rec.SetU32(CharacterRecord::kAgility, static_cast<uint32_t>(agility));
    rec.SetU32(CharacterRecord::kCourage, static_cast<uint32_t>(courage));
    attacker->OrderAttack(target, 1);
}

void CObjLayer::OnBattleHit(const uint8_t* p)
{
    if (!m_inBattle)
        return;
    CByteReader r(p, 12);
    CCharacter* victim = FindCharacterById(r.U16());
    CCharacter* attacker = FindCharacterById(r.U16());
    int x = r.U16(), y = r.U16();
    const int value = r.I16(), hp = r.I16();
    if (!victim || !attacker)
        return;
    if (!InMap(x, y)) {
        x = attacker->GetTileX();
        y = attacker->GetTileY();
    }
    int found = -1;
    if (m_deathMarkFlag) {
        for (int i = 0; i < kDeathMarkPairs && found < 0; ++i)
            if (m_deathMarks[static_cast<size_t>(i)].second == victim)
                found = i;
        for (int i = 0; i < kDeathMarkPairs && found < 0; ++i)
            if (m_deathMarks[static_cast<size_t>(i)].second == attacker)
                found = i;
    }
    if (found >= 0) {
        m_deathMarkIndex = found;
        Effects().ResetDeathMan();
    } else {
        TakeHitStat(attacker == m_pMyChar);
    }
    if (value == 0) {
        Effects().StartDamage(victim->GetPixelX(), victim->GetPixelY(), 0, 0, victim);
        return;
    }
    victim->GetCharRecord().SetU32(CharacterRecord::kHp, static_cast<uint32_t>(hp));
    if (victim == m_pMyChar)
        CommitPlayerRecord();
    victim->OrderHit(attacker, x, y, value);
}

void CObjLayer::TakeHitStat(bool mine)
{
    if (!m_hitStatFlag)
        return;
    if (mine && m_pMyChar) {
        CharacterRecord& rec = m_pMyChar->GetCharRecord();
        if (rec.U16(CharacterRecord::kInputA) < kField20Cap) {
            rec.SetU16(CharacterRecord::kInputA, rec.U16(CharacterRecord::kInputA) + 1u);
            CommitPlayerRecord();
            SendCharacterField(20);
        }
    }
    m_hitStatFlag = 0;
}

void CObjLayer::OnBattleStatus(const uint8_t* p)
{
    if (!m_inBattle)
        return;
    CByteReader r(p, 10);
    CCharacter* c = FindCharacterById(r.U16());
    const uint32_t hp = r.U16(), mp = r.U16(), con = r.U16(), wis = r.U16();
    if (!c)
        return;
    CharacterRecord& rec = c->GetCharRecord();
    rec.SetU32(CharacterRecord::kHp, hp);
    rec.SetU32(CharacterRecord::kMp, mp);
    rec.SetU32(CharacterRecord::kConstitution, con);
    rec.SetU32(CharacterRecord::kWisdom, wis);
}

void CObjLayer::OnBattleHitFlagged(const uint8_t* p) { DeathMarkHit(p, true); }
void CObjLayer::OnDeathMarkHit(const uint8_t* p) { DeathMarkHit(p, false); }

void CObjLayer::DeathMarkHit(const uint8_t* p, bool flagged)
{
    if (!m_inBattle)
        return;
    CByteReader r(p, 13);
    CCharacter* V = FindCharacterById(r.U16());
    CCharacter* A = FindCharacterById(r.U16());
    int x = r.U16(), y = r.U16();
    const int value = r.I16(), hp = r.I16();
    const bool psy = r.U8() == kModePsychicforce;
    if (!V || !A)
        return;
    if (!InMap(x, y)) {
        x = A->GetTileX();
        y = A->GetTileY();
    }
    // Sub 9 keeps pairs 0..11, sub 45 pairs 20..31.
    const int lo = flagged ? 0 : 20, hi = flagged ? 11 : 31;
    auto pairAt = [this](int i) -> DeathMarkPair& { return m_deathMarks[static_cast<size_t>(i)]; };
    auto seek = [&](auto&& pred) {
        for (int i = lo; i <= hi; ++i)
            if (pred(pairAt(i)))
                return i;
        return -1;
    };
    // Pair i becomes the current one while its mark is cleared.
    auto clearMark = [&](int i) {
        m_deathMarkIndex = i;
        Effects().ResetDeathMan();
        pairAt(i) = DeathMarkPair{};
        m_deathMarkMarked[static_cast<size_t>(i)] = 0;
    };
    auto take = [&](int i, bool clear) {
        m_deathMarkIndex = i;
        if (clear)
            clearMark(i);
        pairAt(i) = DeathMarkPair{V, A};
    };
    auto gain = [&] {
        if (A != m_pMyChar)
            return;
        CharacterRecord& rec = m_pMyChar->GetCharRecord();
        if (rec.U16(CharacterRecord::kInputB) < kField26Cap) {
            rec.SetU16(CharacterRecord::kInputB, rec.U16(CharacterRecord::kInputB) + 1u);
            CommitPlayerRecord();
            SendCharacterField(26);
        }
    };
    auto mark = [&](int i) { m_deathMarkMarked[static_cast<size_t>(i)] = 1; };
    auto show = [&](int i) {
        m_deathMarkFlag = 1;
        const CCreature* first = pairAt(i).first;
        Effects().StartDeathMan(first ? first->GetPixelX() : 0, first ? first->GetPixelY() : 0, 0);
    };
    auto emptyPair = [&] { return seek([](const DeathMarkPair& q) { return !q.first && !q.second; }); };

    // A case may find its pair and do nothing with it; then the current
    // pair is no one's of this hit.
    bool found = true, acted = true;
    if (const int a = seek([&](const DeathMarkPair& q) { return q.first == V && q.second == A; }); a >= 0) {
        take(a, true);
        if (!psy)
            gain();
        if (!flagged)
            mark(a);
        show(a);
        if (flagged && psy && pairAt(a).first != m_pMyChar) {
            const CCreature* first = pairAt(a).first;
            for (int k = 0; k <= 11; ++k)
                if (k != a && pairAt(k).second == first) {
                    clearMark(k);
                    break;
                }
            m_deathMarkIndex = a;
        }
    } else if (const int b = seek([&](const DeathMarkPair& q) { return q.first == A && q.second == V; }); b >= 0) {
        acted = !psy;
        if (acted) {
            take(b, true);
            gain();
            mark(b);
            show(b);
        }
    } else if (const int c = seek([&](const DeathMarkPair& q) { return q.first != V && q.second == A; });
               c >= 0) {
        acted = !psy || flagged;
        if (acted) {
            take(c, true);
            if (!psy)
                gain();
            mark(c);
            show(c);
        }
    } else if (const int d = seek([&](const DeathMarkPair& q) {
                   return (q.first == V && q.second != A) || (q.second != V && q.first == A);
               });
               d >= 0) {
        m_deathMarkIndex = d;
        mark(d);
        if (flagged || !psy) {
            if (const int e = emptyPair(); e >= 0) {
                take(e, false);
                if (!psy)
                    gain();
                if (!flagged)
                    mark(e);
                show(e);
            }
        }
    } else if (const int e = emptyPair(); e >= 0) {
        take(e, false);
        if (!psy)
            gain();
        mark(e);
        show(e);
    } else {
        found = false;
    }
    if (!found)
        return;
    if (!flagged)
        g_psychicforceInProgress = 0;
    if (!acted)
        return;
    // The current pair may belong to the other sub-command's range.
    if (m_deathMarkIndex < lo || m_deathMarkIndex > hi)
        return;
    const DeathMarkPair& cur = pairAt(m_deathMarkIndex);
    CCreature* hitOne = cur.first;
    if (!hitOne || !cur.second || (flagged && hitOne == m_pMyChar))
        return;
    if (value == 0) {
        Effects().StartDamage(hitOne->GetPixelX(), hitOne->GetPixelY(), 0, 0, hitOne);
        return;
    }
    hitOne->GetCharRecord().SetU32(CharacterRecord::kHp, static_cast<uint32_t>(hp));
    if (hitOne == m_pMyChar)
        CommitPlayerRecord();
    hitOne->OrderHit(cur.second, x, y, value);
}

void CObjLayer::StorePairNotice(int kind, const uint8_t* p)
{
    if (!m_inBattle)
        return;
    CByteReader r(p, 9);
    const uint32_t sender = r.U16();
    const int k = r.U8();
    const uint32_t opponent = r.U16(), addressee = r.U16();
    if (k != kind || sender == 0 || addressee != g_myId)
        return;
    for (PairNotice& n : m_pairNotices[static_cast<size_t>(kind)])
        if (n.sender == 0) {
            n = PairNotice{sender, opponent, addressee};
            return;
        }
}

void CObjLayer::OnPairNotice(const uint8_t* p) { StorePairNotice(0, p); }
void CObjLayer::OnPairNoticeReverse(const uint8_t* p) { StorePairNotice(1, p); }
