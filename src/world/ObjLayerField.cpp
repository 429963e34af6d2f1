// The object layer's field state: pools, grids, the draw list, the range
// circle, the game clock and the jail and wanted rules.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "colony/ColonyService.h"
#include "core/PaletteManager.h"
#include "core/RleImage.h"
#include "platform/Crt.h"
#include "platform/Debug.h"
#include "rules/ItemData.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/ObjLayerPools.h"
#include "world/ObrEntry.h"
#include "world/StageLoader.h"
#include "world/ZoneFlags.h"

uint32_t g_frameClock;
int32_t g_jailRemaining;
uint32_t g_inJail;
uint32_t g_jailRequest;
uint32_t g_toBeJailed;
std::array<uint32_t, 12> g_groupBattleFlags;

namespace {

constexpr int kStatusNameSlots = 24;
constexpr uint32_t kClockStep = 1800;   // frame ticks per step of the game time
constexpr uint32_t kColonyStep = 240;   // game-time steps per colony step
constexpr int kJailTermPerCount = 5;
constexpr int kJailTermMax = 240;
constexpr int64_t kWantedTerm = 2880;
constexpr int kJailMap = 3;             // the wanted rule does not apply there
constexpr int kReleaseX = 175, kReleaseY = 298;
constexpr uint8_t kRangeColour = 222;
constexpr int kRangeBlendLevel = 4;
constexpr int kRangeMaxRadius = 12;

}  // namespace

void ResetObjLayerGlobals()
{
    g_frameClock = 0;
    g_jailRemaining = 0;
    g_inJail = 0;
    g_jailRequest = 0;
    g_toBeJailed = 0;
    g_groupBattleFlags.fill(0);
    g_gmOverlayMode = 0;
}

CObjLayer* GetObjLayer()
{
    return g_pView ? g_pView->m_pObjLayer : nullptr;
}

bool IsWanted(const CharacterRecord& rec)
{
    const int jailed = rec.I16(CharacterRecord::kJailed);
    const int wanted = rec.I16(CharacterRecord::kWanted);
    return (jailed < 5 && wanted != 0 && wanted % 3 == 0) || (jailed >= 5 && wanted >= 1);
}

const char* CObjLayer::GetClassName(int level)
{
    static constexpr const char* kNames[11] = {"CLASS1", "CLASS2", "CLASS3", "CLASS4",  "CLASS5", "CLASS6",
                                               "CLASS7", "CLASS8", "CLASS9", "CLASS10", "CLASS11"};
    if (level < 1)
        return "CLASS 0";
    if (level >= 78)
        return "MASTER";
    return kNames[(level - 1) / 7];
}

// ---- pools -----------------------------------------------------------------

CCharacter& CObjLayer::CharacterSlot(int i) { return m_pools->characters[static_cast<size_t>(i)]; }
CNpc& CObjLayer::NpcSlot(int i) { return m_pools->npcs[static_cast<size_t>(i)]; }
CCreatureAlt& CObjLayer::CreatureAltSlot(int i) { return m_pools->alts[static_cast<size_t>(i)]; }
CStructureObj& CObjLayer::StructureSlot(int i) { return m_pools->structures[static_cast<size_t>(i)]; }

CObj* CObjLayer::ResolveHandle(ObjHandle h)
{
    if (h == kCellEmpty || h == kCellBlocked)
        return nullptr;
    const size_t slot = HandleSlot(h);
    switch (static_cast<ObjPool>(HandlePool(h))) {
    case ObjPool::character: return slot < m_pools->characters.size() ? &m_pools->characters[slot] : nullptr;
    case ObjPool::npc: return slot < m_pools->npcs.size() ? &m_pools->npcs[slot] : nullptr;
    case ObjPool::creatureAlt: return slot < m_pools->alts.size() ? &m_pools->alts[slot] : nullptr;
    case ObjPool::structure: return slot < m_pools->structures.size() ? &m_pools->structures[slot] : nullptr;
    }
    return nullptr;
}

CCharacter* CObjLayer::FindCharacterById(int id)
{
    for (CCharacter& c : m_pools->characters)
        if (c.IsActive() && c.GetServerId() == id)
            return &c;
    return nullptr;
}

uint32_t CObjLayer::GetStatusFlagsByName(const char* name) const
{
    if (!name)
        return 0;
    for (int i = 0; i < kStatusNameSlots; ++i) {
        const CCharacter& c = m_pools->characters[static_cast<size_t>(i)];
        if (c.IsActive() && c.IsAlive() && plat::StrICmp(c.GetCharRecord().Name().c_str(), name) == 0)
            return c.GetStatusFlags();
    }
    return 0;
}

CCharacter* CObjLayer::AddCharacter(int id, int x, int y, int spriteSetId, int speedClass, uint32_t look)
{
    if (m_duplicateCheck && FindCharacterById(id))
        return nullptr;
    const CObrCharEntry* entry = FindSpriteSetById(spriteSetId);
    if (!entry) {
        plat::DebugPrintf("no character kind %d for id %d\n", spriteSetId, id);
        return nullptr;
    }
    if (!InMap(x, y))
        return nullptr;
    for (int i = 1; i < kCharacters; ++i) {
        CCharacter& c = m_pools->characters[static_cast<size_t>(i)];
        if (c.IsActive())
            continue;
        c.Spawn(this, id, x, y, entry, entry->GetCharRecord());
        CharacterRecord& rec = c.GetCharRecord();
        for (int s = 0; s < CharacterRecord::kItemSlots; ++s)
            rec.SetItem(s, 0);
        for (int s = 0; s < CharacterRecord::kEquipSlots; ++s)
            rec.SetEquip(s, 0);
        if (speedClass != 0)
            rec.SetU32(CharacterRecord::kSpeedClass, static_cast<uint32_t>(speedClass));
        rec.SetU32(CharacterRecord::kLook, look);
        // A player's fields are asked for when the mouse first passes it.
        if (id < 1000)
            c.SetFieldsRequested(0);
        return &c;
    }
    return nullptr;
}

CCharacter* CObjLayer::CreateMyCharacter(int x, int y)
{
    // My kind: the numeric value of the type name my record was made from.
    const int kind = DecimalValue(reinterpret_cast<const char*>(m_myRecord.bytes.data() + CharacterRecord::kTypeName),
                                  CObrEntry::kNameSize);
    const CObrCharEntry* entry = FindSpriteSetById(kind);
    CCharacter& me = m_pools->characters[0];
    if (!entry || me.IsActive() || !InMap(x, y))
        return nullptr;
    me.Spawn(this, g_myId, x, y, entry, m_myRecord);
    me.SetGroupKey(m_groupHeader);
    return &me;
}

void CObjLayer::SetMyCharacter(CCharacter* character)
{
    m_pMyChar = character;
    if (!character)
        return;
    if (const CObrCharEntry* entry = character->GetEntry())
        g_playerInfo.SetClass(entry->GetId());
    g_playerInfo.SetCharKind(character->GetCharRecord().bytes[CharacterRecord::kClassGroup]);
}

void CObjLayer::RemoveAllCharacters()
{
    if (m_pMyChar)
        SetMyCharRecord(m_pMyChar->GetCharRecord());
    m_pMyChar = nullptr;
    for (CCharacter& c : m_pools->characters)
        if (c.IsActive())
            c.RemoveFromMap();
}

CNpc* CObjLayer::AddNpc(const char* name, int x, int y, int value, int spriteSetId)
{
    const CObrCharEntry* entry = FindSpriteSetById(spriteSetId);
    if (!entry || !InMap(x, y))
        return nullptr;
    std::string_view shown;
    std::string displayName;
    if (name) {
        shown = name;
    } else {
        const auto* p = reinterpret_cast<const char*>(entry->GetCharRecord().bytes.data() + CharacterRecord::kDisplayName);
        displayName.assign(p, std::find(p, p + 16, '\0'));
        shown = displayName;
    }
    for (CNpc& npc : m_pools->npcs) {
        if (npc.IsActive())
            continue;
        npc.Spawn(this, shown, x, y, entry);
        npc.SetValue(value);
        return &npc;
    }
    return nullptr;
}

CNpc* CObjLayer::AddBattleMarker(int x, int y, int battle)
{
    char name[16];
    std::snprintf(name, sizeof name, "%d", battle);
    int set = battle < kDeathMatchFirst ? kMarkerSet : kDeathMatchMarkerSet;
    const bool groupBattle = battle != 0 && std::find(g_rememberedBattles.begin(), g_rememberedBattles.end(),
                                                      static_cast<int16_t>(battle)) != g_rememberedBattles.end();
    if (groupBattle && g_myId != 0) {
        // Without my id among the members the marker keeps its set by number.
        for (int i = 1; i <= 6; ++i) {
            if (m_groupHeader[static_cast<size_t>(i)] == g_myId) {
                set = kGroupMarkerSet;
                g_groupBattleFlags[static_cast<size_t>(i - 1)] = 1;
                break;
            }
        }
    }
    CNpc* marker = AddNpc(name, x, y, battle, set);
    if (marker)
        marker->SetBattle(battle);
    return marker;
}

CNpc* CObjLayer::FindBattleMarker(int battle)
{
    for (CNpc& npc : m_pools->npcs)
        if (npc.IsActive() && npc.GetBattle() == battle && battle != 0)
            return &npc;
    return nullptr;
}

void CObjLayer::RemoveAllNpcs()
{
    for (CNpc& npc : m_pools->npcs)
        if (npc.IsActive())
            npc.RemoveFromMap();
}

CStructureObj* CObjLayer::AddStructure(const char* name, int x, int y, const char* building, const uint8_t* data,
                                       int length)
{
    const CObrBuildingEntry* entry = FindBuildingEntry(building ? building : "");
    if (!entry || !InMap(x, y))
        return nullptr;
    for (CStructureObj& s : m_pools->structures) {
        if (s.IsActive())
            continue;
        s.Create(this, name ? name : "", x, y, entry, data, length);
        return &s;
    }
    return nullptr;
}

// ---- grids -----------------------------------------------------------------

ObjHandle CObjLayer::GetObjectCell(int x, int y) const
{
    return InMap(x, y) ? m_grids->object[CellIndex(x, y)] : kCellEmpty;
}

void CObjLayer::SetObjectCell(int x, int y, ObjHandle h)
{
    if (InMap(x, y))
        m_grids->object[CellIndex(x, y)] = h;
}

void CObjLayer::ClearObjectCellOf(int x, int y, ObjHandle h)
{
    if (InMap(x, y) && m_grids->object[CellIndex(x, y)] == h)
        m_grids->object[CellIndex(x, y)] = kCellEmpty;
}

uint32_t CObjLayer::GetPathCell(int x, int y) const { return InMap(x, y) ? m_grids->path[CellIndex(x, y)] : 0; }

void CObjLayer::SetPathCell(int x, int y, uint32_t v)
{
    if (InMap(x, y))
        m_grids->path[CellIndex(x, y)] = v;
}

uint32_t CObjLayer::GetIdCell(int x, int y) const { return InMap(x, y) ? m_grids->id[CellIndex(x, y)] : 0; }

void CObjLayer::SetIdCell(int x, int y, uint32_t id)
{
    if (InMap(x, y))
        m_grids->id[CellIndex(x, y)] = id;
}

ObjHandle CObjLayer::GetStructureCell(int x, int y) const
{
    return InMap(x, y) ? m_grids->structure[CellIndex(x, y)] : kCellEmpty;
}

void CObjLayer::SetStructureCell(int x, int y, ObjHandle h)
{
    if (InMap(x, y))
        m_grids->structure[CellIndex(x, y)] = h;
}

uint16_t CObjLayer::GetGroundItem(int x, int y) const
{
    return InMap(x, y) ? m_grids->groundItem[CellIndex(x, y)] : 0;
}

void CObjLayer::SetGroundItem(int x, int y, uint16_t item)
{
    if (InMap(x, y))
        m_grids->groundItem[CellIndex(x, y)] = item;
}

void CObjLayer::ClearGroundItems(int x0, int y0, int x1, int y1)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, kMapSize - 1);
    y1 = std::min(y1, kMapSize - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            m_grids->groundItem[CellIndex(x, y)] = 0;
}

void CObjLayer::DrawGroundItems(uint8_t* bits)
{
    if (!bits || !m_pBackground)
        return;
    const BlitTarget target = ScreenTarget(bits);
    m_pBackground->ForEachViewTile([&](int x, int y, int sx, int sy) {
        const uint16_t item = GetGroundItem(x, y);
        if (item == 0)
            return;
        CRleImage* frame = g_itemData.GetGroundFrame(item);
        if (!frame)
            return;
        // Centred on the tile's centre.
        const int w = static_cast<int>(frame->GetDataWidth());
        const int h = static_cast<int>(frame->GetDataHeight());
        frame->Draw(sx + CBGLayer::kTileWidth / 2 - w / 2, sy + CBGLayer::kTileHeight / 2 - h / 2, target);
    });
}

// ---- drawing ---------------------------------------------------------------

int CObjLayer::AddDrawItem(CObj* owner, int x, int y, int z, CRleImage* image, int mode, uint32_t param)
{
    return m_drawList.Add(owner, x, y, z, x, y, z, image, mode, param);
}

int CObjLayer::AddToDrawList(CObj* owner, int x, int y, int z, int sortX, int sortY, int sortZ, CRleImage* image,
                             int mode, uint32_t param)
{
    return m_drawList.Add(owner, x, y, z, sortX, sortY, sortZ, image, mode, param);
}

void CObjLayer::SetViewRect(int left, int top, int right, int bottom)
{
    m_viewLeft = left;
    m_viewTop = top;
    m_viewRight = right;
    m_viewBottom = bottom;
}

void CObjLayer::SetRangeCircle(int x, int y, int radius)
{
    m_rangePrevX = m_rangeX;
    m_rangePrevY = m_rangeY;
    m_rangePrevRadius = m_rangeRadius;
    m_rangeX = x;
    m_rangeY = y;
    m_rangeRadius = radius;
    m_rangeStep = 0;
}

void CObjLayer::DrawRangeCircle(uint8_t* bits, int blend)
{
    if (!m_rangeShown || !bits)
        return;
    int64_t x = m_rangeX, y = m_rangeY, radius = m_rangeRadius;
    if (m_rangeStep + 1 < 4) {
        // Eased over four frames from the previous circle.
        ++m_rangeStep;
        x = m_rangePrevX + (static_cast<int64_t>(m_rangeX) - m_rangePrevX) * m_rangeStep / 4;
        y = m_rangePrevY + (static_cast<int64_t>(m_rangeY) - m_rangePrevY) * m_rangeStep / 4;
        radius = m_rangePrevRadius + (static_cast<int64_t>(m_rangeRadius) - m_rangePrevRadius) * m_rangeStep / 4;
    }
    if (radius < 1 || radius > kRangeMaxRadius)
        return;
    int sx = static_cast<int>(x), sy = static_cast<int>(y);
    if (m_pBackground)
        m_pBackground->WorldToScreen(sx, sy, sx, sy);
    const int r = RangePixels(static_cast<int>(radius));
    if (static_cast<int64_t>(sx) + 2 * r < m_viewLeft || static_cast<int64_t>(sx) - 2 * r >= m_viewRight ||
        static_cast<int64_t>(sy) + r < m_viewTop || static_cast<int64_t>(sy) - r >= m_viewBottom)
        return;
    const uint8_t* table = (blend && g_pPalette) ? g_pPalette->GetBlendTable(kRangeBlendLevel) : nullptr;
    for (int a = r - 1; a <= r + 1; ++a)
        DrawEllipse(bits, sx, sy, a, a / 2, table);
}

void CObjLayer::DrawEllipse(uint8_t* bits, int cx, int cy, int a, int b, const uint8_t* blend)
{
    auto plot = [&](int64_t px, int64_t py) {
        if (px < 0 || px >= kScreenWidth || py < 0 || py >= kScreenHeight)
            return;
        uint8_t& d = bits[py * kScreenWidth + px];
        d = blend ? blend[kRangeColour * 256 + d] : kRangeColour;
    };
    auto plot4 = [&](int64_t x, int64_t y) {
        plot(cx + x, cy + y);
        plot(cx - x, cy + y);
        plot(cx + x, cy - y);
        plot(cx - x, cy - y);
    };
    // The midpoint method: the flat part by x steps, then the steep part by
    // y steps.
    const double a2 = static_cast<double>(a) * a, b2 = static_cast<double>(b) * b;
    int64_t x = 0, y = b;
    double dx = 0, dy = 2 * a2 * static_cast<double>(y);
    double d = b2 - a2 * b + a2 / 4;
    while (dx < dy) {
        plot4(x, y);
        ++x;
        dx += 2 * b2;
        if (d < 0) {
            d += dx + b2;
        } else {
            --y;
            dy -= 2 * a2;
            d += dx - dy + b2;
        }
    }
    d = b2 * (static_cast<double>(x) + 0.5) * (static_cast<double>(x) + 0.5) +
        a2 * static_cast<double>(y - 1) * static_cast<double>(y - 1) - a2 * b2;
    while (y >= 0) {
        plot4(x, y);
        --y;
        dy -= 2 * a2;
        if (d > 0) {
            d += a2 - dy;
        } else {
            ++x;
            dx += 2 * b2;
            d += dx - dy + a2;
        }
    }
}

// ---- once a frame -------------------------------------------------------------

CharacterRecord& CObjLayer::PlayerRecord()
{
    return m_pMyChar ? m_pMyChar->GetCharRecord() : m_myRecord;
}

void CObjLayer::CommitPlayerRecord()
{
    if (m_pMyChar)
        SetMyCharRecord(m_pMyChar->GetCharRecord());
}

void CObjLayer::TickClock()
{
    ++g_frameClock;
    if (g_frameClock % kClockStep != 0)
        return;
    uint32_t t = m_myRecord.U32(CharacterRecord::kGameTime);
    if (t % kColonyStep == 0)
        Colony().Tick();
    ++t;
    m_myRecord.SetU32(CharacterRecord::kGameTime, t);
    if (t % 5 == 0)
        SendCharacterField(7);
    if (m_pMyChar) {
        m_pMyChar->GetCharRecord().SetU32(CharacterRecord::kGameTime, t);
        Ui().RefreshWindows();
    }
}

void CObjLayer::UpdateZoneFlags()
{
    const int item = PlayerRecord().Equip(1);
    g_zoneFlags.fill(0);
    if (item >= 180 && item <= 183 && GetItemEntry(item))
        g_zoneFlags[static_cast<size_t>(item - 180)] = 1;
}

void CObjLayer::CheckJailAndWanted()
{
    CharacterRecord& rec = PlayerRecord();
    auto gameTime = [&rec] { return static_cast<int64_t>(rec.U32(CharacterRecord::kGameTime)); };
    if (m_jailStartTime > 0 || g_jailRequest == 1) {
        if (m_jailStartTime == 0) {
            rec.SetU16(CharacterRecord::kJailed, static_cast<uint16_t>(rec.I16(CharacterRecord::kJailed) + 1));
            CommitPlayerRecord();
            SendCharacterField(21);
            m_jailStartTime = static_cast<int32_t>(gameTime());
            SendCharacterField(69);
        }
        const int64_t term = std::min<int64_t>(static_cast<int64_t>(rec.I16(CharacterRecord::kJailed)) * kJailTermPerCount,
                                               kJailTermMax);
        const int64_t end = static_cast<int64_t>(m_jailStartTime) + term;
        g_jailRemaining = static_cast<int32_t>(std::clamp<int64_t>(end - gameTime(), INT32_MIN, INT32_MAX));
        if (end <= gameTime()) {
            rec.SetU16(CharacterRecord::kWanted, 0);
            CommitPlayerRecord();
            SendCharacterField(27);
            m_jailStartTime = 0;
            SendCharacterField(69);
            g_jailRemaining = 0;
            m_wantedStartTime = 0;
            SendCharacterField(68);
            g_inJail = 0;
            Ui().AddLine(GetGameString(175));
            m_stageChange.Init(CStageChange::kMove, 0, kReleaseX, kReleaseY);
        } else {
            g_inJail = 1;
        }
        g_jailRequest = 0;
    }

    if (!IsWanted(rec) || g_currentMapId == kJailMap)
        return;
    if (m_wantedStartTime == 0) {
        m_wantedStartTime = static_cast<int32_t>(gameTime());
        SendCharacterField(68);
    }
    if (m_groupHeader[2] != 0 && !m_inBattle) {
        Ui().AddLine(GetGameString(201));
        if (m_groupHeader[0] == g_myId)
            DisbandGroup();
        else
            LeaveGroup();
    }
    if (gameTime() >= static_cast<int64_t>(m_wantedStartTime) + kWantedTerm) {
        rec.SetU16(CharacterRecord::kWanted, 0);
        CommitPlayerRecord();
        SendCharacterField(27);
        m_wantedStartTime = 0;
        SendCharacterField(68);
    }
}

void CObjLayer::ResetMap()
{
    LeaveBattle();
    m_grids->Clear();
    m_drawList.Clear();
    m_pMyChar = nullptr;
    m_pHoverCreature = nullptr;
    m_pHoverStructure = nullptr;
    m_pHoverNpc = nullptr;
    m_pHoverObj = nullptr;
    m_pStandStructure = nullptr;
    for (CCreatureAlt& c : m_pools->alts)
        c.RemoveFromMap();
    for (CNpc& n : m_pools->npcs)
        n.RemoveFromMap();
    for (CStructureObj& s : m_pools->structures)
        s.RemoveFromMap();
    m_battleNumber = 0;
    m_participants.fill(BattleParticipant{});
    m_participantCount = 0;
    m_deathMarks.fill(DeathMarkPair{});
    m_deathMarkFlag = 0;
    m_hitStatFlag = 0;
}
