// The end of a fighter (battle sub-command 6): its death, the opponent
// bookkeeping, the wanted count of a killer who attacked a player, and the
// items, money, experience and score for the killer and the killer's group.
#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/ByteReader.h"
#include "effects/EffectsService.h"
#include "net/PacketAssembler.h"
#include "rules/CalcData.h"
#include "script/ScriptService.h"
#include "social/SocialService.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr int kStrItemsTaken = 19;
constexpr int kStrMoneyTaken = 20;
constexpr int kStrItemsRefused = 21;
constexpr int kStrExperience = 27;
constexpr int kStrRemainRaised = 42;
constexpr int kInventoryWindow = 9;
constexpr int kWindowOpening = 1;
constexpr int kWindowOpen = 2;
constexpr int kWindowClosing = 3;
// Map 3 is the free-fight map: killing there is never held against anyone.
constexpr int kFreeFightMap = 3;
constexpr int kFirstMonsterId = 1000;
constexpr int kLastFighterClass = 6;
constexpr int kLootLimit = CPlayerInfo::kCarryLimit;
// The share of a group of G = 2..6, in percent of the whole.
constexpr int kGroupBonus[] = {10, 25, 45, 70, 100};
constexpr int kMaxGroup = 6;

bool IsPlayer(int id) { return id != 0 && id < kFirstMonsterId; }

void AddLineWithNumber(int id, long long n)
{
    char text[200];
    std::snprintf(text, sizeof text, GetGameString(id), static_cast<int>(n));
    Ui().AddLine(text);
}

int32_t ClampToField(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

int64_t BattleShare(int64_t v, int G, int L, int myLevel)
{
    G = std::clamp(G, 1, kMaxGroup);
    L = std::max(L, 1);
    if (G == 1)
        return v;
    const int64_t total = v + v * kGroupBonus[G - 2] / 100;
    return v / 10 + (total - (v / 10) * G) * myLevel / L;
}

void CObjLayer::OnBattleResult(const uint8_t* p)
{
    CByteReader r(p, 25);
    const int deadId = r.U16(), killerId = r.U16();
    const int money = r.I16(), experience = r.I16();
    const int script = r.U16();
    const int n = r.U8();
    const int deadLevel = r.I16(), dead21 = r.I16(), dead27 = r.I16();
    const uint32_t bonus = r.U32();
    // Only the ids that arrived count.
    std::vector<uint8_t> raw(static_cast<size_t>(n) * 2);
    const int got = raw.empty() ? 0 : std::max(0, NetRead(raw.data(), static_cast<int>(raw.size())));
    if (!m_inBattle || !m_pMyChar || !m_pMyChar->IsAlive())
        return;
    std::vector<uint16_t> items;
    CByteReader ir(raw.data(), static_cast<size_t>(got));
    for (int i = 0; i < got / 2; ++i)
        items.push_back(ir.U16());

    const int G = CountGroupInBattle();
    const int L = SumGroupLevels();
    CCharacter* D = FindCharacterById(deadId);
    CCharacter* K = FindCharacterById(killerId);
    const uint32_t me = g_myId;
    const bool mineKill = killerId != 0 && static_cast<uint32_t>(killerId) == me;
    const bool players = IsPlayer(deadId) && IsPlayer(killerId);
    const bool outlaw = players && g_currentMapId != kFreeFightMap &&
                        ((dead21 < 5 && dead27 != 0 && dead27 % 3 == 0) || (dead21 > 4 && dead27 > 0));
    const auto dead = static_cast<uint32_t>(deadId), killer = static_cast<uint32_t>(killerId);
    auto& notices0 = m_pairNotices[0];
    auto& notices1 = m_pairNotices[1];

    if (D && IsPlayer(deadId)) {
        for (const PairNotice& nt : notices0)
            if (nt.sender != 0 && nt.addressee == dead)
                AddOpponentPair(m_opponents, dead, D->GetGroupId(), dead, nt.opponent);
        const OpponentRecord* dr = FindOpponentRecord(m_opponents, dead);
        const bool noReverse = std::all_of(notices1.begin(), notices1.end(), [](const PairNotice& x) { return x.sender == 0; });
        const bool reverseMatch = std::any_of(notices1.begin(), notices1.end(), [&](const PairNotice& x) {
            return x.sender != 0 && x.addressee == killer && x.opponent == dead;
        });
        const bool forwardMatch = std::any_of(notices0.begin(), notices0.end(), [&](const PairNotice& x) {
            return x.sender != 0 && x.addressee == killer && x.opponent == dead;
        });
        if (g_currentMapId != kFreeFightMap && static_cast<int>(m_battleNumber) < kDeathMatchFirst && players &&
            mineKill && dr && HasOpponentPair(*dr, dead, killer) && (noReverse || reverseMatch) &&
            killer != Social().GetRescuerId() && !outlaw && !forwardMatch) {
            CharacterRecord& rec = PlayerRecord();
            int wanted = rec.I16(CharacterRecord::kWanted);
            if (rec.I16(CharacterRecord::kJailed) < 5) {
                if (deadLevel < 11)
                    wanted = 3;
                if (wanted < 3)
                    ++wanted;
            } else {
                ++wanted;
            }
            rec.SetU16(CharacterRecord::kWanted, static_cast<uint32_t>(std::clamp(wanted, -32768, 32767)));
            CommitPlayerRecord();
            SendCharacterField(27);
        }
    }

    if (D) {
        for (PairNotice& nt : notices1)
            if (nt.sender != 0 && (nt.sender == dead || nt.opponent == dead))
                nt = PairNotice{};
        for (OpponentRecord& rec : m_opponents) {
            if (rec.key == 0)
                continue;
            for (int j = 0; j < OpponentRecord::kPairs; ++j) {
                const auto sj = static_cast<size_t>(j);
                if (rec.first[sj] != dead && rec.second[sj] != dead)
                    continue;
                // The first pair names the record's owner: clearing it frees the record.
                if (j == 0) {
                    rec = OpponentRecord{};
                    break;
                }
                rec.first[sj] = rec.second[sj] = 0;
            }
        }
        D->OrderDie(K);
        if (m_deathMarkFlag)
            for (int i = 0; i < kDeathMarkPairs; ++i) {
                const DeathMarkPair& pair = m_deathMarks[static_cast<size_t>(i)];
                if (pair.first == D || pair.second == D) {
                    m_deathMarkIndex = i;
                    Effects().ResetDeathMan();
                    m_deathMarks[static_cast<size_t>(i)] = DeathMarkPair{};
                    m_deathMarkMarked[static_cast<size_t>(i)] = 0;
                    break;
                }
            }
    }

    const bool fighter = g_playerInfo.GetClass() <= kLastFighterClass;
    const bool arena = static_cast<int>(m_battleNumber) >= kDeathMatchFirst;
    if (outlaw && mineKill && fighter) {
        if (!arena) {
            TakeLoot(items, false);
            if (bonus != 0) {
                CharacterRecord& rec = PlayerRecord();
                rec.SetU32(CharacterRecord::kMoney,
                           static_cast<uint32_t>(ClampToField(int64_t{rec.I32(CharacterRecord::kMoney)} + bonus)));
                CommitPlayerRecord();
                AddLineWithNumber(kStrMoneyTaken, bonus);
                SendCharacterField(30);
            }
            Ui().RefreshWindows();
        } else if (D && K && D->GetGroupId() != K->GetGroupId()) {
            ArenaScore(D);
        }
    }

    const CCreature::GroupKey& myKey = m_pMyChar->GetGroupKey();
    if (K && std::all_of(myKey.begin() + 2, myKey.end(), [](uint16_t v) { return v == 0; })) {
        CCreature::GroupKey key = K->GetGroupKey();
        key[0] = static_cast<uint16_t>(killerId);
        K->SetGroupKey(key);
    }

    const uint16_t myGroup = m_pMyChar->GetGroupId();
    const bool byMyGroup = mineKill || (K && myGroup != 0 && K->GetGroupId() == myGroup);
    if (!outlaw && byMyGroup && fighter) {
        if (mineKill)
            TakeLoot(items, true);
        if (arena && D && IsPlayer(deadId) && mineKill && K && D->GetGroupId() != K->GetGroupId())
            ArenaScore(D);
        if (experience != 0)
            ShareReward(experience, G, L, true);
        if (money != 0)
            ShareReward(money, G, L, false);
        CommitPlayerRecord();
        Ui().RefreshWindows();
    }

    if (D)
        for (BattleParticipant& s : m_participants)
            if (s.id == dead)
                s = BattleParticipant{};
    if (mineKill && script > 100)
        Scripts().Load(std::to_string(script).c_str());
    CheckBattleWon();
}

void CObjLayer::TakeLoot(const std::vector<uint16_t>& items, bool weighed)
{
    const int state = Ui().GetWindowState(kInventoryWindow);
    const bool shown = state == kWindowOpening || state == kWindowOpen;
    if (shown)
        Ui().SetWindowState(kInventoryWindow, kWindowClosing);
    CharacterRecord& rec = PlayerRecord();
    int taken = 0, refused = 0;
    for (uint16_t id : items) {
        // An id without an item entry is no item.
        if (id == 0 || !GetItemEntry(id))
            continue;
        int used = 0, slot = -1;
        for (int i = 0; i < CharacterRecord::kItemSlots; ++i) {
            if (rec.Item(i) != 0)
                ++used;
            else if (slot < 0)
                slot = i;
        }
        const bool full = slot < 0 || used >= kLootLimit;
        if (full || (weighed && g_playerInfo.IsOverWeight(id) != 0)) {
            ++refused;
            continue;
        }
        rec.SetItem(slot, id);
        CommitPlayerRecord();
        ++taken;
    }
    // Both counts are told, none taken or refused included.
    AddLineWithNumber(kStrItemsTaken, taken);
    if (weighed)
        AddLineWithNumber(kStrItemsRefused, refused);
    if (taken > 0)
        SendCharacterField(33);
    if (shown)
        Ui().SetWindowState(kInventoryWindow, kWindowOpening);
}

void CObjLayer::ShareReward(int value, int G, int L, bool experience)
{
    CharacterRecord& rec = PlayerRecord();
    const int64_t share = BattleShare(value, G, L, rec.I32(CharacterRecord::kLevel));
    if (!experience) {
        rec.SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(ClampToField(rec.I32(CharacterRecord::kMoney) + share)));
        CommitPlayerRecord();
        AddLineWithNumber(kStrMoneyTaken, share);
        SendCharacterField(30);
        return;
    }
    int64_t exp = int64_t{rec.I32(CharacterRecord::kExperience)} + share;
    rec.SetU32(CharacterRecord::kExperience, static_cast<uint32_t>(ClampToField(exp)));
    CommitPlayerRecord();
    AddLineWithNumber(kStrExperience, share);
    for (;;) {
        const int next = CalcNextRemainExp(rec);
        exp = rec.I32(CharacterRecord::kExperience);
        if (next <= 0 || exp < next)
            break;
        rec.SetU32(CharacterRecord::kExperience, static_cast<uint32_t>(exp - next));
        rec.SetU32(CharacterRecord::kRemain, static_cast<uint32_t>(ClampToField(int64_t{rec.I32(CharacterRecord::kRemain)} + 1)));
        CommitPlayerRecord();
        Ui().AddLine(GetGameString(kStrRemainRaised));
        SendCharacterField(11);
        g_remainRaised = 1;
    }
    SendCharacterField(19);
}

void CObjLayer::ArenaScore(const CCharacter* dead)
{
    CharacterRecord& rec = PlayerRecord();
    rec.SetU16(CharacterRecord::kFame, static_cast<uint32_t>(CalcScoreGain(rec, dead->GetCharRecord().I16(CharacterRecord::kFame))));
    rec.SetU16(CharacterRecord::kKills, static_cast<uint32_t>(rec.I16(CharacterRecord::kKills) + 1));
    CommitPlayerRecord();
    SendCharacterField(31);
    SendCharacterField(32);
}
