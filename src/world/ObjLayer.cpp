#include "world/ObjLayer.h"

#include <cstring>

#include "app/ReceiveDispatch.h"
#include "core/ByteReader.h"
#include "core/AnimSpriteSet.h"
#include "core/BiString.h"
#include "core/ByteWriter.h"
#include "core/ItemSpriteSet.h"
#include "net/MySocket.h"
#include "platform/Debug.h"
#include "rules/CalcData.h"
#include "windows/PlayerInfo.h"
#include "windows/ProfileRecord.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/ObjLayerPools.h"
#include "world/ObrEntry.h"
#include "world/ObrItemEntry.h"

namespace {

// The window that shows a field-7 year.
constexpr int kProfileWindow = 26;

void Send(const CByteWriter& w)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

}  // namespace

CObjLayer::CObjLayer(CDisplay* display, CBGLayer* background)
    : m_pDisplay(display),
      m_pBackground(background),
      m_grids(std::make_unique<Grids>()),
      m_pools(std::make_unique<Pools>())
{
    for (size_t i = 0; i < m_pools->characters.size(); ++i)
        m_pools->characters[i].SetHandle(MakeObjHandle(ObjPool::character, static_cast<uint32_t>(i)));
    for (size_t i = 0; i < m_pools->npcs.size(); ++i)
        m_pools->npcs[i].SetHandle(MakeObjHandle(ObjPool::npc, static_cast<uint32_t>(i)));
    for (size_t i = 0; i < m_pools->alts.size(); ++i)
        m_pools->alts[i].SetHandle(MakeObjHandle(ObjPool::creatureAlt, static_cast<uint32_t>(i)));
    for (size_t i = 0; i < m_pools->structures.size(); ++i)
        m_pools->structures[i].SetHandle(MakeObjHandle(ObjPool::structure, static_cast<uint32_t>(i)));
    if (m_pBackground)
        m_pBackground->SetObjLayer(this);
    m_stageChange.SetLayer(this);
}

CObjLayer::~CObjLayer() = default;

void CObjLayer::SendLeaveField()
{
    m_inField = 0;
    Send(CByteWriter().U8(5).U16(g_myId));
}
void CObjLayer::SendLogout() { Send(CByteWriter().U8(51).U8('O')); }
void CObjLayer::SendQuitNotice() { Send(CByteWriter().U8(55)); }
void CObjLayer::SendKeepAlive() { Send(CByteWriter().U8(54)); }

void CObjLayer::SendMove(int x, int y)
{
    Send(CByteWriter().U8(10).U16(static_cast<uint32_t>(x)).U16(static_cast<uint32_t>(y)));
}

void CObjLayer::SendBattleMove(int x, int y)
{
    Send(CByteWriter().U8(32).U16(g_myId).U16(static_cast<uint32_t>(x)).U16(static_cast<uint32_t>(y)));
}

void CObjLayer::SendAttack(int targetId) { Send(CByteWriter().U8(20).U16(static_cast<uint32_t>(targetId))); }

void CObjLayer::SendChallenge(int targetId)
{
    Send(CByteWriter().U8(24).U16(g_myId).U16(static_cast<uint32_t>(targetId)));
}

void CObjLayer::SendChallengeReply(int id, int flag, int value)
{
    Send(CByteWriter()
             .U8(26)
             .U16(g_myId)
             .U16(static_cast<uint32_t>(id))
             .U8(static_cast<uint32_t>(flag))
             .U16(static_cast<uint32_t>(value)));
}

void CObjLayer::SendDamage(int charId, int value)
{
    Send(CByteWriter().U8(31).U16(g_myId).U16(static_cast<uint32_t>(charId)).U16(static_cast<uint32_t>(value)));
}

void CObjLayer::PickUpItem(int x, int y)
{
    const int item = GetGroundItem(x, y);
    if (item == 0)
        return;
    static const CBiString kTooMany("더 이상 가질 수 없습니다.\0You have too many items.");
    static const CBiString kTooHeavy("더 이상 가질 수 없습니다.\0You have too heavy items.");
    switch (g_playerInfo.IsOverWeight(item)) {
    case 0:
        Send(CByteWriter()
                 .U8(41)
                 .U16(g_myId)
                 .U16(static_cast<uint32_t>(item))
                 .U16(static_cast<uint32_t>(x))
                 .U16(static_cast<uint32_t>(y)));
        break;
    case 1: Ui().ShowNotice(kTooMany.Get(), 200); break;
    default: Ui().ShowNotice(kTooHeavy.Get(), 200); break;
    }
}

bool IsOnline()
{
    return g_pMainSocket && g_pMainSocket->CanSend();
}

void CObjLayer::SetEntryPoint(int stage, int x, int y)
{
    m_entryStage = stage;
    m_entryX = x;
    m_entryY = y;
}

void CObjLayer::SendEnterField()
{
    // The server knows stages 0..6 only.
    if (m_entryStage < 0 || m_entryStage > 6)
        return;
    m_enteredAnswer = 0;
    Send(CByteWriter()
             .U8(3)
             .U8(static_cast<uint32_t>(m_entryStage + 1))
             .U16(static_cast<uint32_t>(m_entryX))
             .U16(static_cast<uint32_t>(m_entryY)));
}

void CObjLayer::SendUserId(const char* name)
{
    // The 12 bytes must hold the terminator.
    if (name && std::strlen(name) > 11)
        return;
    CByteWriter w;
    w.U8('c').FixedString(name ? name : "", 12);
    g_playerIdState = 0;
    Send(w);
}

void CObjLayer::SendCharacterChoice(int slot)
{
    if (slot < 1 || slot > AccountRecord::kSlots)
        return;
    char name[AccountRecord::kSlotNameSize];
    g_loginRecord.SlotName(slot, name);
    CByteWriter w;
    w.U8(2).U8(1).U8(6).FixedString(name, sizeof name);
    g_playerIdState = 0;
    Send(w);
}

void CObjLayer::SendConnectRequest()
{
    g_versionConfirmed = 0;
    Send(CByteWriter().U8(1));
}

void CObjLayer::SendReadyCheck()
{
    g_readyAnswer = 0;
    Send(CByteWriter().U8(50).U8('W'));
}

const CharacterRecord* CObjLayer::GetCharTemplate(int kind) const
{
    const CObrCharEntry* entry = FindSpriteSetById(kind);
    return entry ? &entry->GetCharRecord() : nullptr;
}

void CObjLayer::RequestCharacterField(uint16_t id, int field)
{
    if (field == 50) {
        m_ownRecordArrived = 0;
        m_myFieldAnswer = 0;
    }
    Send(CByteWriter().U8(52).U16(id).U8(static_cast<uint32_t>(field)));
}

void CObjLayer::SendCharacterField(int field, int a, int b)
{
    const int size = CharacterFieldSendSize(field);
    if (size <= 0) {
        QASSERT(field == 0 || field == 1 || field == 2 || (field >= 4 && field <= 6) || field == 22 ||
                field == 29);
        return;
    }
    const CharacterRecord& rec = m_myRecord;
    CByteWriter w(static_cast<size_t>(size) + 2);
    w.U8(53).U8(static_cast<uint32_t>(field));
    switch (field) {
    case 3:
        w.U32(rec.U32(CharacterRecord::kClass));
        break;
    case 7:
        w.U32(rec.U32(CharacterRecord::kGameTime));
        break;
    case 20: w.U16(rec.U16(CharacterRecord::kInputA)); break;
    case 21: w.U16(rec.U16(CharacterRecord::kJailed)); break;
    case 23: w.U32(rec.U32(CharacterRecord::kLook)); break;
    case 24: w.U32(rec.U32(CharacterRecord::kSpeedClass)); break;
    case 25:
        // Only the low 16 bits, sign-extended.
        w.U32(static_cast<uint32_t>(static_cast<int32_t>(rec.I16(CharacterRecord::kScriptValue))));
        break;
    case 26: w.U16(rec.U16(CharacterRecord::kInputB)); break;
    case 27: w.U16(rec.U16(CharacterRecord::kWanted)); break;
    case 28: w.U32(rec.U32(CharacterRecord::kServerValue28)); break;
    case 30: w.U32(rec.U32(CharacterRecord::kMoney)); break;
    case 31: w.U16(rec.U16(CharacterRecord::kFame)); break;
    case 32: w.U16(rec.U16(CharacterRecord::kKills)); break;
    case 33: w.Bytes(rec.bytes.data() + CharacterRecord::kItems, 200); break;
    case 34: w.Bytes(rec.bytes.data() + CharacterRecord::kEquipment, 16); break;
    case 35: w.U16(rec.U16(CharacterRecord::kProfileValue)); break;
    case 36: w.U16(rec.U16(CharacterRecord::kBattleLogouts)); break;
    case 37:
        for (uint16_t id : m_cabinet)
            w.U16(id);
        break;
    case 50: w.Bytes(rec.bytes.data(), CharacterRecord::kFieldImageSize); break;
    case 51:
        w.U8(static_cast<uint32_t>(a)).U16(rec.Item(a));
        break;
    case 52:
        w.U8(static_cast<uint32_t>(a)).U16(rec.Item(a)).U8(static_cast<uint32_t>(b)).U16(rec.Item(b));
        break;
    case 53:
        w.U8(static_cast<uint32_t>(a)).U16(rec.Equip(a));
        break;
    case 54:
        w.U8(static_cast<uint32_t>(a)).U16(rec.Equip(a)).U8(static_cast<uint32_t>(b)).U16(rec.Equip(b));
        break;
    case 55:
        // Not record order: strength, agility, constitution, courage, wisdom, Remain, level.
        for (size_t off : {size_t{CharacterRecord::kStrength}, size_t{CharacterRecord::kAgility},
                           size_t{CharacterRecord::kConstitution}, size_t{CharacterRecord::kCourage},
                           size_t{CharacterRecord::kWisdom}, size_t{CharacterRecord::kRemain},
                           size_t{CharacterRecord::kLevel}})
            w.U32(rec.U32(off));
        break;
    case 56:
    case 66:
        w.U8(static_cast<uint32_t>(a)).U16(static_cast<uint32_t>(b));
        break;
    case 57:
    case 67:
        w.U8(static_cast<uint32_t>(a));
        break;
    case 60:
        // The account's character list: kinds, names and levels of the slots.
        w.Bytes(g_loginRecord.bytes.data() + AccountRecord::kSlotKinds, 48);
        break;
    case 61:
    case 62:
        w.Bytes(g_loginRecord.bytes.data() + AccountRecord::kResidentNumber, 15);
        w.Bytes(g_loginRecord.bytes.data() + AccountRecord::kPassword, 10);
        if (field == 61)
            w.Bytes(m_uiText.data(), m_uiText.size());
        break;
    case 63:
        w.U8(static_cast<uint32_t>(m_recallPoint.map) & 0xFF)
            .U16(static_cast<uint16_t>(m_recallPoint.x))
            .U16(static_cast<uint16_t>(m_recallPoint.y));
        break;
    case 64:
        w.U8(static_cast<uint32_t>(a)).U16((a >= 0 && a < 20) ? m_cabinet[static_cast<size_t>(a)] : 0);
        break;
    case 65:
        w.U8(static_cast<uint32_t>(a)).U16((a >= 0 && a < 20) ? m_cabinet[static_cast<size_t>(a)] : 0);
        w.U8(static_cast<uint32_t>(b)).U16((b >= 0 && b < 20) ? m_cabinet[static_cast<size_t>(b)] : 0);
        break;
    case 68: w.U32(static_cast<uint32_t>(m_wantedStartTime)); break;
    case 69: w.U32(static_cast<uint32_t>(m_jailStartTime)); break;
    default:
        // fields 8..19: consecutive u32s from the level on
        w.U32(rec.U32(CharacterRecord::kLevel + 4 * static_cast<size_t>(field - 8)));
        break;
    }
    Send(w);
}

void CObjLayer::OnCharacterField(uint16_t id, int field, const uint8_t* payload, size_t size)
{
    const int expected = CharacterFieldReceiveSize(field);
    if (expected < 0 || size != static_cast<size_t>(expected))
        return;  // the framing never passes these
    if (id != g_myId) {
        if (CCharacter* other = FindCharacterById(id))
            ApplyCharacterField(other->GetCharRecord(), false, false, field, payload, size);
        return;
    }
    m_myFieldAnswer = 1;
    ApplyCharacterField(m_myRecord, true, true, field, payload, size);
    // My character shows the same record: it gets the field too.
    if (m_pMyChar)
        ApplyCharacterField(m_pMyChar->GetCharRecord(), true, false, field, payload, size);
}

void CObjLayer::ApplyCharacterField(CharacterRecord& record, bool mine, bool own, int field, const uint8_t* payload,
                                    size_t size)
{
    CharacterRecord* rec = &record;
    CByteReader r(payload, size);
    switch (field) {
    case 0:
    case 1:
        rec->SetWireName(payload);
        break;
    case 7:
        rec->SetU32(CharacterRecord::kGameTime, r.U32());
        g_profileRecord.SetYear(GetGameYear(*rec));
        Ui().RefreshWindow(kProfileWindow);
        break;
    case 20: rec->SetU16(CharacterRecord::kInputA, r.U16()); break;
    case 21: rec->SetU16(CharacterRecord::kJailed, r.U16()); break;
    case 23: rec->SetU32(CharacterRecord::kLook, r.U32()); break;
    case 24: rec->SetU32(CharacterRecord::kSpeedClass, r.U32()); break;
    case 25:
        // Only the script value's own 16 bits: the word after it is kept.
        rec->SetU16(CharacterRecord::kScriptValue, r.U32() & 0xFFFF);
        break;
    case 26: rec->SetU16(CharacterRecord::kInputB, r.U16()); break;
    case 27: rec->SetU16(CharacterRecord::kWanted, r.U16()); break;
    case 28: rec->SetU32(CharacterRecord::kServerValue28, r.U32()); break;
    case 30: rec->SetU32(CharacterRecord::kMoney, r.U32()); break;
    case 31: rec->SetU16(CharacterRecord::kFame, r.U16()); break;
    case 32: rec->SetU16(CharacterRecord::kKills, r.U16()); break;
    case 33: r.Bytes(rec->bytes.data() + CharacterRecord::kItems, 200); break;
    case 34: r.Bytes(rec->bytes.data() + CharacterRecord::kEquipment, 16); break;
    case 35: rec->SetU16(CharacterRecord::kProfileValue, r.U16()); break;
    case 36: rec->SetU16(CharacterRecord::kBattleLogouts, r.U16()); break;
    case 37:
        // The cabinet, the recall point and the two start times are the
        // player's own; another character's are not kept.
        if (own)
            for (uint16_t& slot : m_cabinet)
                slot = r.U16();
        break;
    case 50: {
        r.Bytes(rec->bytes.data(), CharacterRecord::kFieldImageSize);
        if (!mine)
            break;
        if (own)
            m_ownRecordArrived = 1;
        // Only ids of loaded item entries stay; the item list comes out packed.
        std::array<uint16_t, CharacterRecord::kEquipSlots> equip{};
        for (int i = 0; i < CharacterRecord::kEquipSlots; ++i) {
            equip[static_cast<size_t>(i)] = rec->Equip(i);
            rec->SetEquip(i, 0);
        }
        for (int i = 0; i < CharacterRecord::kEquipSlots; ++i) {
            uint16_t e = equip[static_cast<size_t>(i)];
            if (e > 0 && e < m_itemEntryCount)
                rec->SetEquip(i, e);
        }
        std::array<uint16_t, CharacterRecord::kItemSlots> items{};
        for (int i = 0; i < CharacterRecord::kItemSlots; ++i) {
            items[static_cast<size_t>(i)] = rec->Item(i);
            rec->SetItem(i, 0);
        }
        int next = 0;
        for (uint16_t it : items)
            if (it > 0 && it < m_itemEntryCount)
                rec->SetItem(next++, it);
        rec->SetU32(CharacterRecord::kLevel, static_cast<uint32_t>(CalcLevelFromStats(*rec)));
        break;
    }
    case 63: {
        RecallPoint p;
        p.map = r.U8();
        p.x = r.I16();
        p.y = r.I16();
        // A point off the seven maps is not kept.
        if (own && p.map <= 6 && InMap(p.x, p.y))
            m_recallPoint = p;
        break;
    }
    case 68:
        if (own)
            m_wantedStartTime = r.I32();
        break;
    case 69:
        if (own)
            m_jailStartTime = r.I32();
        break;
    default:
        if (field >= 8 && field <= 19)
            rec->SetU32(CharacterRecord::kLevel + 4 * static_cast<size_t>(field - 8), r.U32());
        break;  // 2..6, 22, 29: no payload
    }
}
