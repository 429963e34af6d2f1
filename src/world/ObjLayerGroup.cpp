// Groups and duels: the group record's senders and the server's group
// commands. Every change of the record goes into my creature's group key.
#include <cstdio>
#include <cstring>

#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "core/ByteReader.h"
#include "windows/UiService.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/SendPacket.h"

namespace {

enum : int {
    kStrInvited = 50,
    kStrMemberAdded = 51,
    kStrMemberLeft = 52,
    kStrLeaderChangedByMe = 53,
    kStrExpelledByMe = 54,
    kStrDisbanded = 55,
    kStrJoined = 56,
    kStrExpelled = 58,
    kStrLeaderChanged = 59,
    kStrInGroup = 61,
    kStrNotLeaderDisband = 62,
    kStrNotLeaderChange = 63,
    kStrNotLeaderExpel = 64,
    kStrNotInvited = 65,
    kStrCannotLeave = 67,
    kStrDuelRequested = 71,
    kStrDuelOffered = 73,
    kStrNoBattleInJail = 176,
};
constexpr int kNameBytes = 12;
constexpr int kListEntries = 5;
constexpr int kListEntrySize = 16;

uint32_t U(int v) { return static_cast<uint32_t>(v); }

// A string with one %s.
void AddLineWith(int id, const char* name)
{
    char text[200];
    std::snprintf(text, sizeof text, GetGameString(id), name ? name : "");
    Ui().AddLine(text);
}

// The 12-byte name after the u16 id of a fixed part, terminated.
void NameAt(const uint8_t* fixed, char (&name)[kNameBytes + 1])
{
    std::memcpy(name, fixed + 2, kNameBytes);
    name[kNameBytes] = '\0';
}

}  // namespace

void CObjLayer::CopyGroupToMe()
{
    if (m_pMyChar)
        m_pMyChar->SetGroupKey(m_groupHeader);
}

void CObjLayer::SendGroupRecord()
{
    CByteWriter w;
    w.U8('B');
    for (uint16_t id : m_groupHeader)
        w.U16(id);
    SendPacket(w);
}

void CObjLayer::SendGroupIds(uint8_t cmd)
{
    CByteWriter w;
    w.U8(cmd);
    int n = 0;
    for (int i = kGroupFirstMember; i <= kGroupMemberSlots && n < 5; ++i) {
        const uint16_t id = m_groupHeader[static_cast<size_t>(i)];
        if (id != 0 && id != g_myId) {
            w.U16(id);
            ++n;
        }
    }
    for (; n < 5; ++n)
        w.U16(0);
    SendPacket(w);
}

void CObjLayer::SendGroupQ() { SendGroupIds('Q'); }

// ---- the player's group commands ---------------------------------------------------------

void CObjLayer::AcceptGroupInvite(int id)
{
    if (m_pendingInviter == 0 || m_pendingInviter != id) {
        Ui().AddLine(GetGameString(kStrNotInvited));
        return;
    }
    if (!FindCharacterById(id) || !m_pMyChar || m_pMyChar->GetServerId() == id || id >= 1000)
        return;
    if (!GroupHasNoOtherMembers(m_groupHeader, g_myId)) {
        Ui().AddLine(GetGameString(kStrInGroup));
        return;
    }
    SendPacket(CByteWriter().U8('=').U16(U(id)));
}

void CObjLayer::DisbandGroup()
{
    if (!GroupIsMineWithMembers(m_groupHeader, g_myId)) {
        Ui().AddLine(GetGameString(kStrNotLeaderDisband));
        return;
    }
    m_groupHeader = AloneGroup(g_myId);
    CopyGroupToMe();
    SendPacket(CByteWriter().U8('C'));
}

void CObjLayer::ChangeGroupLeader(int id)
{
    if (id == g_myId)
        return;
    if (!GroupIsMineWithMembers(m_groupHeader, g_myId)) {
        Ui().AddLine(GetGameString(kStrNotLeaderChange));
        return;
    }
    m_groupHeader[kGroupLeader] = static_cast<uint16_t>(id);
    CopyGroupToMe();
    SendPacket(CByteWriter().U8('E').U16(U(id)));
    Ui().AddLine(GetGameString(kStrLeaderChangedByMe));
}

void CObjLayer::ExpelGroupMember(int id)
{
    if (id == g_myId)
        return;
    if (!GroupIsMineWithMembers(m_groupHeader, g_myId)) {
        Ui().AddLine(GetGameString(kStrNotLeaderExpel));
        return;
    }
    const int slot = GroupMemberSlot(m_groupHeader, static_cast<uint16_t>(id));
    if (slot < 0)
        return;
    m_groupHeader[static_cast<size_t>(slot)] = 0;
    CopyGroupToMe();
    SendPacket(CByteWriter().U8('D').U16(U(id)));
    Ui().AddLine(GetGameString(kStrExpelledByMe));
}

void CObjLayer::LeaveGroup()
{
    if (!GroupIsLedByOther(m_groupHeader, g_myId)) {
        Ui().AddLine(GetGameString(kStrCannotLeave));
        return;
    }
    m_groupHeader = AloneGroup(g_myId);
    CopyGroupToMe();
    SendPacket(CByteWriter().U8('P'));
    Ui().AddLine(GetGameString(kStrMemberLeft));
}

void CObjLayer::RequestDuel(int id, const char* name)
{
    if (g_inJail) {
        Ui().AddLine(GetGameString(kStrNoBattleInJail));
        return;
    }
    if (!m_inField || !m_pMyChar || m_pMyChar->GetServerId() == id || id >= 1000 || id <= 0)
        return;
    SendPacket(CByteWriter().U8('S').U16(U(id)));
    AddLineWith(kStrDuelRequested, name);
}

// ---- the server's group commands ----------------------------------------------------------

void CObjLayer::OnGroupInvited(const uint8_t* fixed)
{
    char name[kNameBytes + 1];
    NameAt(fixed, name);
    m_pendingInviter = CByteReader(fixed, 2).U16();
    AddLineWith(kStrInvited, name);
}

void CObjLayer::OnGroupJoined(const uint8_t* fixed)
{
    CByteReader r(fixed, 14);
    for (uint16_t& id : m_groupHeader)
        id = r.U16();
    CopyGroupToMe();
    SendGroupIds('R');
    Ui().AddLine(GetGameString(kStrJoined));
}

void CObjLayer::OnGroupMemberAdded(const uint8_t* fixed)
{
    SendPacket(CByteWriter().U8('@').U16(CByteReader(fixed, 2).U16()));
    OnGroupMemberAdded2(fixed);
}

void CObjLayer::OnGroupMemberAdded2(const uint8_t* fixed)
{
    const uint16_t id = CByteReader(fixed, 2).U16();
    for (int i = kGroupFirstMember; i <= kGroupMemberSlots; ++i) {
        uint16_t& slot = m_groupHeader[static_cast<size_t>(i)];
        if (slot == 0) {
            slot = id;
            break;
        }
    }
    CopyGroupToMe();
    SendGroupIds('R');
    Ui().AddLine(GetGameString(kStrMemberAdded));
}

void CObjLayer::OnGroupDisbanded(const uint8_t* fixed)
{
    const uint16_t leader = CByteReader(fixed, 2).U16();
    if (leader == 0 || leader != m_groupHeader[kGroupLeader])
        return;
    m_groupHeader = AloneGroup(g_myId);
    SendGroupRecord();
    CopyGroupToMe();
    Ui().AddLine(GetGameString(kStrDisbanded));
}

void CObjLayer::OnGroupExpelled(const uint8_t* fixed)
{
    CByteReader r(fixed, 4);
    const uint16_t leader = r.U16();
    const uint16_t member = r.U16();
    if (leader == 0 || leader != m_groupHeader[kGroupLeader])
        return;
    if (member == g_myId) {
        m_groupHeader = AloneGroup(g_myId);
        SendGroupRecord();
        CopyGroupToMe();
        Ui().AddLine(GetGameString(kStrExpelled));
        return;
    }
    // A member not in the record clears nothing; the record is still sent.
    if (const int slot = GroupMemberSlot(m_groupHeader, member); slot >= 0)
        m_groupHeader[static_cast<size_t>(slot)] = 0;
    CopyGroupToMe();
    SendGroupRecord();
    Ui().AddLine(GetGameString(kStrExpelledByMe));
}

void CObjLayer::OnGroupLeaderChanged(const uint8_t* fixed)
{
    CByteReader r(fixed, 4);
    const uint16_t oldLeader = r.U16();
    const uint16_t newLeader = r.U16();
    if (oldLeader == 0 || oldLeader != m_groupHeader[kGroupLeader])
        return;
    m_groupHeader[kGroupLeader] = newLeader;
    CopyGroupToMe();
    SendGroupRecord();
    Ui().AddLine(GetGameString(kStrLeaderChanged));
}

void CObjLayer::OnGroupMemberLeft(const uint8_t* fixed)
{
    const int slot = GroupMemberSlot(m_groupHeader, CByteReader(fixed, 2).U16());
    // The occupied slots up to the leaving one (all of them when it is not
    // in the record): fewer than two, and the one who led is gone, so I lead.
    const int last = slot < 0 ? kGroupMemberSlots : slot;
    int occupied = 0;
    for (int i = kGroupFirstMember; i <= last; ++i)
        occupied += m_groupHeader[static_cast<size_t>(i)] != 0 ? 1 : 0;
    if (slot >= 0)
        m_groupHeader[static_cast<size_t>(slot)] = 0;
    if (occupied < 2)
        m_groupHeader[kGroupLeader] = g_myId;
    CopyGroupToMe();
    SendGroupRecord();
    Ui().AddLine(GetGameString(kStrMemberLeft));
}

void CObjLayer::OnGroupMemberList(const uint8_t* fixed)
{
    m_groupMembers.Prune(m_groupHeader);
    CByteReader r(fixed, kListEntries * kListEntrySize);
    for (int e = 0; e < kListEntries; ++e) {
        const uint16_t id = r.U16();
        uint32_t values[7];
        for (uint32_t& v : values)
            v = r.U16();
        const int slot = m_groupMembers.Claim(id);
        CharacterRecord* rec = slot < 0 ? nullptr : m_groupMembers.GetRecord(id);
        if (!rec)
            continue;
        static constexpr size_t kOffsets[7] = {CharacterRecord::kHp,           CharacterRecord::kMp,
                                               CharacterRecord::kWisdom,       CharacterRecord::kStrength,
                                               CharacterRecord::kConstitution, CharacterRecord::kAgility,
                                               CharacterRecord::kCourage};
        for (size_t i = 0; i < 7; ++i)
            rec->SetU32(kOffsets[i], values[i]);
    }
}

void CObjLayer::OnGroupMemberInfo(const uint8_t* fixed)
{
    m_groupMembers.Prune(m_groupHeader);
    for (int e = 0; e < kListEntries; ++e) {
        const uint8_t* entry = fixed + e * kListEntrySize;
        CByteReader r(entry, kListEntrySize);
        const uint16_t id = r.U16();
        const uint16_t cls = r.U16();
        const int slot = m_groupMembers.Claim(id);
        CharacterRecord* rec = slot < 0 ? nullptr : m_groupMembers.GetRecord(id);
        if (!rec)
            continue;
        rec->SetU32(CharacterRecord::kClass, cls);
        rec->SetWireName(entry + 4);
    }
}

void CObjLayer::OnDuelRequested(const uint8_t* fixed)
{
    char name[kNameBytes + 1];
    NameAt(fixed, name);
    m_pendingChallenger = CByteReader(fixed, 2).U16();
    AddLineWith(kStrDuelOffered, name);
}
