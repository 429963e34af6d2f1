#include "script/Variable.h"

#include "platform/Crt.h"
#include "platform/Debug.h"
#include "script/ScriptServices.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

uint16_t g_scriptListFlag = 0;

// ---- the table ---------------------------------------------------------------

const CVariable::Entry* CVariable::Find(uint32_t id, uint32_t type) const
{
    for (int i = m_count - 1; i >= 0; --i) {
        const Entry& e = m_entries[static_cast<size_t>(i)];
        if (e.id == id && (type == kNone || e.type == type))
            return &e;
    }
    return nullptr;
}

CVariable::Entry* CVariable::Find(uint32_t id, uint32_t type)
{
    return const_cast<Entry*>(static_cast<const CVariable*>(this)->Find(id, type));
}

const CVariable::Entry* CVariable::At(int index) const
{
    return (index >= 0 && index < m_count) ? &m_entries[static_cast<size_t>(index)] : nullptr;
}

bool CVariable::Add(uint32_t id, uint32_t type)
{
    if (m_count >= kEntries) {
        plat::DebugPrintf("script: no room for variable %u\n", id);
        return false;
    }
    Entry& e = m_entries[static_cast<size_t>(m_count++)];
    e.id = id;
    e.type = type;
    e.value = 0;
    e.text = type == kString ? std::make_unique<CGameString>() : nullptr;
    return true;
}

int32_t CVariable::GetInt(uint32_t id) const
{
    if (id >= kFirstSystemId && id <= 50009)
        return ReadSystemVariable(id);
    const Entry* e = Find(id);
    QASSERT(e);
    return (e && e->type == kInt) ? e->value : 0;
}

const char* CVariable::GetString(uint32_t id) const
{
    const Entry* e = Find(id);
    QASSERT(e);
    return (e && e->text) ? e->text->GetString() : nullptr;
}

uint32_t CVariable::GetType(uint32_t id) const
{
    if (id > 50000)
        return kInt;
    const Entry* e = Find(id);
    return e ? e->type : kInt;
}

void CVariable::SetInt(uint32_t id, int32_t value)
{
    if (IsSystemVariable(id)) {
        WriteSystemVariable(id, value);
        return;
    }
    Entry* e = Find(id, kInt);
    QASSERT(e);
    if (e)
        e->value = value;
}

void CVariable::SetString(uint32_t id, const char* text)
{
    Entry* e = Find(id, kString);
    QASSERT(e);
    if (e && e->text)
        e->text->Assign(text);
}

void CVariable::Rename(uint32_t oldId, uint32_t newId)
{
    if (Entry* e = Find(oldId))
        e->id = newId;
}

uint32_t CVariable::GetTypeAt(int index) const
{
    const Entry* e = At(index);
    return e ? e->type : kNone;
}

int32_t CVariable::GetIntAt(int index) const
{
    const Entry* e = At(index);
    return (e && e->type == kInt) ? e->value : 0;
}

const char* CVariable::GetStringAt(int index) const
{
    const Entry* e = At(index);
    return (e && e->text) ? e->text->GetString() : nullptr;
}

void CVariable::Clear()
{
    for (int i = 0; i < m_count; ++i)
        m_entries[static_cast<size_t>(i)].text.reset();
    m_count = 0;
}

// ---- the player's state --------------------------------------------------------

namespace {

// Fields 8 to 19 are consecutive u32s from the level on.
constexpr size_t FieldOffset(int field) { return CharacterRecord::kLevel + 4 * static_cast<size_t>(field - 8); }

void AddToField(CharacterRecord& rec, size_t off, int32_t value)
{
    rec.SetU32(off, rec.U32(off) + static_cast<uint32_t>(value));
}

}  // namespace

bool IsSystemVariable(uint32_t id) { return id >= CVariable::kFirstSystemId && id <= CVariable::kLastSystemId; }

int32_t ReadSystemVariable(uint32_t id)
{
    if (id == 50002)
        return g_scriptListFlag;
    if (id == 50004)
        return g_currentMapId + 1;
    if (id == 50005)
        return ScriptPlayer().GetTileX();
    if (id == 50006)
        return ScriptPlayer().GetTileY();
    if (id == 50007)
        return plat::Rand() % 100;
    const CharacterRecord* rec = PlayerRecord();
    if (!rec)
        return 0;
    switch (id) {
    case 50001: return rec->I16(CharacterRecord::kScriptValue);
    case 50003:
        // Elapsed game time since the stamp, modulo 2^16 so that it stays
        // right past 32767.
        return static_cast<uint16_t>(rec->U32(CharacterRecord::kGameTime) - rec->U16(CharacterRecord::kTimerStamp));
    case 50008: return rec->I32(FieldOffset(8));
    case 50009: return rec->I32(FieldOffset(9));
    default: return 0;
    }
}

void WriteSystemVariable(uint32_t id, int32_t value)
{
    if (id == 50002) {
        g_scriptListFlag = static_cast<uint16_t>(value);
        return;
    }
    CharacterRecord* rec = PlayerRecord();
    CObjLayer* layer = PlayerLayer();
    if (!rec || !layer)
        return;
    switch (id) {
    case 50001:
        rec->SetU16(CharacterRecord::kScriptValue, static_cast<uint32_t>(value));
        layer->MyRecord().SetU16(CharacterRecord::kScriptValue, static_cast<uint32_t>(value));
        break;
    case 50010: rec->SetU32(FieldOffset(10), static_cast<uint32_t>(value)); break;
    case 50011: AddToField(*rec, CharacterRecord::kMoney, value); break;
    case 50012: AddToField(*rec, FieldOffset(19), value); break;
    case 50013: AddToField(*rec, FieldOffset(11), value); break;
    default:
        // 50003 to 50009 all land in field 9.
        rec->SetU32(FieldOffset(9), static_cast<uint32_t>(value));
        break;
    }
    // Whatever changed, the server is told field 25.
    layer->SendCharacterField(25);
}
