// The object layer's handlers of the field commands: chat, fights on the
// field, battle markers and the battle join, moves and log-outs in battle,
// and the items on the ground and between players. Every cell and id from
// the server is checked before it indexes anything.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/CommandRing.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/BiString.h"
#include "core/ByteReader.h"
#include "core/HanCodeConv.h"
#include "effects/EffectsService.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "rules/ItemData.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/Character.h"
#include "world/MapGrid.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/SendPacket.h"

namespace {

constexpr int kInventoryWindow = 9;
constexpr int kNoticeTicks = 60;
constexpr int kChatHeadSize = 17;   // id, name, mode, text length
constexpr int kChatNameEnd = 2 + 11;  // the name's 12th byte
constexpr int kStrTooManyInBattle = 75;
constexpr int kStrNoDeathMatch = 76;
constexpr int kStrWon = 15;
constexpr int kStrBattleOver = 17;
constexpr int kStrOpponentLoggedOut = 16;
constexpr int kStrMemberLoggedOut = 204;
constexpr int kGroupBattleGap = 3000;

CByteReader Fixed(const uint8_t* fixed, size_t n) { return CByteReader(fixed, n); }

// 을 after a final consonant, else 를 (also after a letter or digit).
const char* ObjectParticle(const char* word) { return CHanCodeConv::HasFinalConsonant(word) ? "을" : "를"; }

bool ReadAll(void* dst, int n) { return NetRead(dst, n) == n; }

}  // namespace

// ---- chat ----------------------------------------------------------------------

void CObjLayer::OnChatLine()
{
    std::vector<char> message(kChatHeadSize + 1, '\0');
    if (!ReadAll(message.data(), kChatHeadSize))
        return;
    CByteReader head(reinterpret_cast<const uint8_t*>(message.data()), kChatHeadSize);
    head.Seek(15);
    const int n = head.U16();
    message.resize(static_cast<size_t>(kChatHeadSize + n + 1), '\0');
    if (!ReadAll(message.data() + kChatHeadSize, n))
        return;
    // The 12-byte name need not end in a NUL; the windows read it as text.
    message[kChatNameEnd] = '\0';
    Ui().RouteChatMessage(message.data());
}

// ---- fights on the field ---------------------------------------------------------

void CObjLayer::OnAttack(const uint8_t* fixed)
{
    if (m_inBattle)
        return;
    CByteReader r = Fixed(fixed, 4);
    CCharacter* attacker = FindCharacterById(r.U16());
    CCharacter* target = FindCharacterById(r.U16());
    if (attacker && target)
        attacker->OrderAttack(target, 1);
}

void CObjLayer::OnHit(const uint8_t* fixed)
{
    if (m_inBattle)
        return;
    CByteReader r = Fixed(fixed, 4);
    CCharacter* hit = FindCharacterById(r.U16());
    CCharacter* hitter = FindCharacterById(r.U16());
    if (hit && hitter)
        hit->OrderHit(hitter, hitter->GetTileX(), hitter->GetTileY(), -1);
}

void CObjLayer::OnChallenge(const uint8_t* fixed)
{
    if (m_inBattle)
        return;
    CByteReader r = Fixed(fixed, 4);
    CCharacter* challenger = FindCharacterById(r.U16());
    CCharacter* challenged = FindCharacterById(r.U16());
    if (!challenger || !challenged)
        return;
    if (challenger->IsMonster() && (std::abs(challenger->GetTileX() - challenged->GetTileX()) >= 3 ||
                                    std::abs(challenger->GetTileY() - challenged->GetTileY()) >= 3))
        return;
    challenger->OrderChallenge(challenged, 1);
}

// ---- battle markers ----------------------------------------------------------------

void CObjLayer::OnBattleMark(const uint8_t* fixed)
{
    if (m_inBattle)
        return;
    CByteReader r = Fixed(fixed, 6);
    const int battle = r.U16();
    const int x = r.U16();
    const int y = r.U16();
    if (battle != 0 && InMap(x, y))
        AddBattleMarker(x, y, battle);
}

void CObjLayer::OnBattleMarks(const uint8_t* fixed)
{
    const int k = Fixed(fixed, 2).U16();
    plat::DebugPrintf("GM_MAK_BMARK****%d\n", k);
    for (int i = 0; i < k; ++i) {
        uint8_t rec[6];
        if (!ReadAll(rec, sizeof rec))
            return;
        if (m_inBattle)
            continue;
        OnBattleMark(rec);
    }
}

void CObjLayer::OnBattleMarkRemoved(const uint8_t* fixed)
{
    if (m_inBattle)
        return;
    const int16_t battle = Fixed(fixed, 6).I16();
    for (size_t i = 0; i < g_rememberedBattles.size(); ++i) {
        const int16_t e = g_rememberedBattles[i];
        const auto gap = static_cast<int16_t>(battle - e);
        if (e == battle || gap >= kGroupBattleGap) {
            g_rememberedBattles[i] = 0;
            g_groupBattleFlags[i] = 0;
        }
    }
    if (CNpc* marker = FindBattleMarker(static_cast<uint16_t>(battle)))
        marker->RemoveFromMap();
}

// ---- joining a battle -------------------------------------------------------------

void CObjLayer::OnBattleJoinReply(const uint8_t* fixed)
{
    CByteReader r = Fixed(fixed, 11);
    r.Skip(2);
    const int battle = r.U16();
    const int centreX = r.U16();
    const int centreY = r.U16();
    const int opponent = r.U16();
    const int k = r.U8();
    // Every record is read, whatever is kept of them.
    std::vector<uint8_t> tail(static_cast<size_t>(k) * BattleParticipant::kSize);
    const bool whole = tail.empty() || ReadAll(tail.data(), static_cast<int>(tail.size()));
    if (m_inBattle)
        return;
    if (battle == 0) {
        if (centreX == 1)
            Ui().AddLine(GetGameString(kStrTooManyInBattle));
        else if (centreX == 2)
            Ui().AddLine(GetGameString(kStrNoDeathMatch));
        return;
    }
    if (k == 0 || !whole || !InMap(centreX, centreY))
        return;
    BattleBlock block;
    block.battle = static_cast<uint32_t>(battle);
    block.centreX = static_cast<uint32_t>(centreX);
    block.centreY = static_cast<uint32_t>(centreY);
    block.opponent = static_cast<uint32_t>(opponent);
    CByteReader pr(tail.data(), tail.size());
    for (int i = 0; i < k; ++i) {
        const BattleParticipant p = BattleParticipant::Read(pr);
        const bool placed = p.x != BattleParticipant::kNotPlaced;
        if (p.id == 0 || (placed && !InMap(p.x, p.y)) || block.count >= kMaxParticipants)
            continue;
        block.participants[block.count++] = p;
    }
    if (block.count == 0)
        return;
    m_battleBlock = block;
    m_participants = block.participants;
    m_stageChange.Init(CStageChange::kEnterBattle, 0, centreX, centreY);
    FillOpponents(block);
    m_battleJoined = 1;
}

void CObjLayer::FillOpponents(const BattleBlock& block)
{
    const uint32_t me = g_myId;
    const uint32_t myGroup = m_pMyChar ? m_pMyChar->GetGroupId() : m_groupHeader[0];
    auto freeRecord = [this]() -> OpponentRecord* {
        for (OpponentRecord& rec : m_opponents)
            if (rec.key == 0)
                return &rec;
        return nullptr;
    };
    auto take = [&](uint32_t key, uint32_t groupKey, uint32_t first, uint32_t second) {
        if (OpponentRecord* rec = freeRecord()) {
            rec->key = key;
            rec->groupKey = groupKey;
            rec->first[0] = first;
            rec->second[0] = second;
        }
    };
    const BattleParticipant& p0 = block.participants[0];
    if (block.count == 1 && block.battle < kDeathMatchFirst && block.opponent != 0 && p0.id < 1000) {
        const bool against = block.opponent != me && block.opponent != myGroup;
        const uint32_t first = against ? p0.id : me;
        const uint32_t second = against ? me : p0.id;
        take(me, myGroup, first, second);
        take(p0.id, p0.groupKey, first, second);
    } else if (block.count > 1) {
        for (uint32_t i = 0; i < block.count; ++i) {
            const BattleParticipant& p = block.participants[i];
            if (p.id < 1000 && p.groupKey != myGroup)
                take(p.id, p.groupKey, p.id, me);
        }
    }
    // Players on the map of another group stand against me in my record.
    for (uint32_t i = 0; i < block.count; ++i) {
        const BattleParticipant& p = block.participants[i];
        if (p.id >= 1000 || p.groupKey == myGroup || !FindCharacterById(p.id))
            continue;
        OpponentRecord* mine = nullptr;
        for (OpponentRecord& rec : m_opponents)
            if (rec.key == me) {
                mine = &rec;
                break;
            }
        if (mine) {
            for (int j = 0; j < OpponentRecord::kPairs; ++j) {
                if (mine->second[static_cast<size_t>(j)] == 0) {
                    mine->first[static_cast<size_t>(j)] = p.id;
                    mine->second[static_cast<size_t>(j)] = me;
                    break;
                }
            }
        } else {
            take(me, myGroup, p.id, me);
        }
    }
}

// ---- in battle ----------------------------------------------------------------------

void CObjLayer::OnBattleMove(const uint8_t* fixed)
{
    if (!m_inBattle)
        return;
    CByteReader r = Fixed(fixed, 6);
    const int id = r.U16();
    const int x = r.U16();
    const int y = r.U16();
    if (id == 0 || !InMap(x, y))
        return;
    if (CCharacter* c = FindCharacterById(id)) {
        c->MoveTo(x, y, 1);
        return;
    }
    for (const BattleParticipant& p : m_participants) {
        if (p.id != id)
            continue;
        if (CCharacter* c = AddCharacter(id, x, y, p.type, p.speedClass, p.attribute)) {
            CCreature::GroupKey key{};
            key[0] = p.groupKey;
            c->SetGroupKey(key);
            c->GetCharRecord().SetU32(CharacterRecord::kLevel, p.level);
            c->GetCharRecord().SetU16(CharacterRecord::kFame, p.field31);
            c->SetStatusFlags(p.status);
            plat::DebugPrintf("쓰바~~~\n");
        }
        return;
    }
    plat::DebugPrintf("읍땅~~~~");
}

void CObjLayer::OnBattleLogout(const uint8_t* fixed)
{
    if (!m_inBattle)
        return;
    const uint32_t id = Fixed(fixed, 2).U16();
    if (id == 0 || id == g_myId)
        return;
    CCharacter* c = FindCharacterById(static_cast<int>(id));
    const bool participant = std::any_of(m_participants.begin(), m_participants.end(),
                                         [id](const BattleParticipant& p) { return p.id == id; });
    if (!c && !participant)
        return;
    if (m_deathMarkFlag && c)
        for (int i = 0; i < kDeathMarkPairs; ++i) {
            const DeathMarkPair& pair = m_deathMarks[static_cast<size_t>(i)];
            if (pair.first == c || pair.second == c) {
                m_deathMarkIndex = i;
                Effects().ResetDeathMan();
                break;
            }
        }
    for (OpponentRecord& rec : m_opponents) {
        if (rec.key == 0)
            continue;
        for (int j = 0; j < OpponentRecord::kPairs; ++j) {
            const auto sj = static_cast<size_t>(j);
            if (rec.first[sj] != id && rec.second[sj] != id)
                continue;
            if (j == 0) {
                rec = OpponentRecord{};
                break;
            }
            rec.first[sj] = rec.second[sj] = 0;
        }
    }
    for (auto& table : m_pairNotices)
        for (PairNotice& n : table)
            if (n.sender == id || n.opponent == id || n.addressee == id)
                n = PairNotice{};
    const uint16_t myGroup = m_pMyChar ? m_pMyChar->GetGroupId() : m_groupHeader[0];
    const bool ally = c && c->GetGroupId() == myGroup;
    if (c)
        c->RemoveFromMap();
    for (BattleParticipant& p : m_participants)
        if (p.id == id)
            p = BattleParticipant{};
    Ui().AddLine(GetGameString(ally ? kStrMemberLoggedOut : kStrOpponentLoggedOut));
    CheckBattleWon();
}

void CObjLayer::CheckBattleWon()
{
    if (m_battleOver)
        return;
    const uint16_t leader = m_groupHeader[0];
    for (int i = 1; i < kCharacters; ++i) {
        const CCharacter& c = CharacterSlot(i);
        if (c.IsActive() && c.IsAlive() && (leader == 0 || c.GetGroupId() != leader))
            return;
    }
    Ui().AddLine(GetGameString(kStrWon));
    Ui().AddLine(GetGameString(kStrBattleOver));
    m_battleOver = 1;
}

// ---- items on the ground and between players ----------------------------------------------

void CObjLayer::OnPlaceGroundItems()
{
    uint8_t head[2];
    if (!ReadAll(head, sizeof head))
        return;
    const int k = Fixed(head, 2).U16();
    plat::DebugPrintf("GM_PLACEITEM****%d\n", k);
    std::vector<uint8_t> records(static_cast<size_t>(k) * 6);
    if (!records.empty() && !ReadAll(records.data(), static_cast<int>(records.size())))
        return;  // a cut list places nothing
    CByteReader r(records.data(), records.size());
    for (int i = 0; i < k; ++i) {
        const uint16_t item = r.U16();
        const int x = r.U16();
        const int y = r.U16();
        SetGroundItem(x, y, item);  // nothing off the map
    }
}

void CObjLayer::OnItemDropped()
{
    uint8_t rec[8];
    if (!ReadAll(rec, sizeof rec))
        return;
    CByteReader r(rec, sizeof rec);
    r.Skip(2);
    const uint16_t item = r.U16();
    const int x = r.U16();
    const int y = r.U16();
    SetGroundItem(x, y, item);
}

void CObjLayer::OnItemPickedUp()
{
    uint8_t rec[8];
    if (!ReadAll(rec, sizeof rec))
        return;
    CByteReader r(rec, sizeof rec);
    const int id = r.U16();
    r.Skip(2);
    const int x = r.U16();
    const int y = r.U16();
    if (!InMap(x, y))
        return;
    const uint16_t item = GetGroundItem(x, y);
    if (id == g_myId && item != 0) {
        const int state = Ui().GetWindowState(kInventoryWindow);
        const bool shown = state == 1 || state == 2;
        if (shown)
            Ui().SetWindowState(kInventoryWindow, 3);
        CharacterRecord& rec = PlayerRecord();
        int slot = -1;
        for (int i = 0; i < CharacterRecord::kItemSlots && slot < 0; ++i)
            if (rec.Item(i) == 0)
                slot = i;
        if (slot < 0)
            return;
        rec.SetItem(slot, item);
        SetGroundItem(x, y, 0);
        CommitPlayerRecord();
        SendCharacterField(51, slot);
        if (shown)
            Ui().SetWindowState(kInventoryWindow, 1);
    }
    SetGroundItem(x, y, 0);
    if (CCharacter* c = FindCharacterById(id))
        c->OrderPickUp(x, y, 1);
}

void CObjLayer::OnDropAccepted()
{
    const int x = g_lastMouseCursor.GetTargetX();
    const int y = g_lastMouseCursor.GetTargetY();
    SetGroundItem(x, y, static_cast<uint16_t>(g_lastMouseCursor.GetItemId()));
    Ui().ApplyToPlayer(g_lastMouseCursor);
    g_lastMouseCursor.Clear();
    Ui().RefreshWindows();
    g_commandRing.Push(1);
}

void CObjLayer::OnMouseItemCleared()
{
    g_lastMouseCursor.SetTarget(0, 0);
    Ui().ReturnCarried(g_lastMouseCursor);
}

void CObjLayer::OnItemReceived()
{
    uint8_t rec[4];
    if (!ReadAll(rec, sizeof rec))
        return;
    CByteReader r(rec, sizeof rec);
    const int giver = r.U16();
    const int item = r.U16();
    TakeOfferedItem(giver, item);
}

void CObjLayer::TakeOfferedItem(int giver, int item)
{
    CharacterRecord& rec = PlayerRecord();
    int slot = CharacterRecord::kItemSlots;
    for (int i = 0; i < CharacterRecord::kItemSlots; ++i)
        if (rec.Item(i) == 0) {
            slot = i;
            break;
        }
    // An id without an item entry never enters the list.
    const bool known = item > 0 && GetItemEntry(item) != nullptr;
    if (!known || slot >= CPlayerInfo::kCarryLimit || g_playerInfo.IsOverWeight(item) == 2) {
        SendPacket(CByteWriter().U8(48).U16(static_cast<uint32_t>(giver)));
        return;
    }
    rec.SetItem(slot, static_cast<uint16_t>(item));
    Ui().RefreshWindows();
    CommitPlayerRecord();
    SendCharacterField(51, slot);
    if (CCharacter* from = FindCharacterById(giver)) {
        const char* name = g_itemData.GetName(item);
        char text[160];
        std::snprintf(text, sizeof text, "%s님에게서 %s%s 받았습니다.", from->GetCharRecord().Name().c_str(), name,
                      ObjectParticle(name));
        Ui().ShowNotice(text, kNoticeTicks);
    }
    SendPacket(CByteWriter().U8(47).U16(static_cast<uint32_t>(giver)));
}

void CObjLayer::OnItemGiven()
{
    const int item = g_lastMouseCursor.GetItemId();
    Ui().ApplyToPlayer(g_lastMouseCursor);
    g_lastMouseCursor.Clear();
    if (item == 0)
        return;
    const char* name = g_itemData.GetName(item);
    char text[160];
    std::snprintf(text, sizeof text, "%s%s 주었습니다.", name, ObjectParticle(name));
    Ui().ShowNotice(text, kNoticeTicks);
}

void CObjLayer::OnItemRefused()
{
    static const CBiString kRefused("더 이상 받을 수 없습니다.\0A item is not transfered.");
    g_lastMouseCursor.SetTarget(0, 0);
    Ui().ReturnCarried(g_lastMouseCursor);
    Ui().ShowNotice(kRefused.Get(), kNoticeTicks);
}
