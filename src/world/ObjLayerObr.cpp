// The object files (.obr) and the object section of a stage map.
//
// Object file (little-endian, one section): tag "CHR", "ITM" or "BLD" (3
// bytes and one more), u32 version (ignored), u32 entry count n, 8 bytes;
// n entry records; CHR only: 64 bytes; a second header of 4 bytes, u32
// version (CHR 256..259, else 256), u32 set count m, 8 bytes; m sprite sets
// (animated sets for CHR and ITM, item sets for BLD). Entries of the section
// take the set of their sprite-set name; a later set of a name wins.
//
// Map object section: a 20-byte header (ignored), the map name (32), a
// text (u8 length, or 255 and a u16 length, then the bytes), u32 count and
// per object a u32 kind: 1 a structure (name 32, u32 x, u32 y, building
// name 32, u32 data length 0..255, the data, a text), 3 an NPC place (name
// 32, u32 x, u32 y, two u32, a text; NPCs are placed by stage loading), any
// other kind nothing more.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>

#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "core/ItemSpriteSet.h"
#include "core/ResFile.h"
#include "core/SpriteEntry.h"
#include "platform/Crt.h"
#include "rules/ItemData.h"
#include "world/BGLayer.h"
#include "world/ObjLayerPools.h"
#include "world/ObrEntry.h"
#include "world/ObrItemEntry.h"
#include "world/SlotText.h"

namespace {

constexpr size_t kSectionHeader = 20;
constexpr size_t kCharGap = 64;
constexpr size_t kNameSize = 32;
constexpr uint32_t kVersion = 256;
constexpr uint32_t kLastCharVersion = 259;
constexpr uint32_t kStructureKind = 1;
constexpr uint32_t kNpcPlaceKind = 3;

bool IsItemFile(const char* file)
{
    const char* base = file;
    for (const char* p = file; *p; ++p)
        if (*p == '\\' || *p == '/')
            base = p + 1;
    return plat::StrICmp(base, "item.obr") == 0;
}

// A length-prefixed text: u8 length, or 255 and a u16 length.
std::string ReadText(CByteReader& r)
{
    size_t len = r.U8();
    if (len == 255)
        len = r.U16();
    std::string text(len, '\0');
    if (len > 0)
        r.Bytes(text.data(), len);
    return r.Ok() ? text : std::string{};
}

// Reads one section's entries and sets into a pair of lists; on any
// failure both lists are cut back to what they held before.
template <class Entry, class Set>
int ReadSection(CByteReader& r, uint32_t n, size_t capacity, size_t gap, uint32_t firstVersion,
                uint32_t lastVersion, std::vector<std::unique_ptr<Entry>>& entries,
                std::vector<std::unique_ptr<Set>>& sets)
{
    const size_t entryStart = entries.size();
    const size_t setStart = sets.size();
    auto fail = [&] {
        entries.resize(entryStart);
        sets.resize(setStart);
        return -1;
    };
    if (n > capacity - entryStart)
        return -1;
    for (uint32_t i = 0; i < n; ++i) {
        auto entry = std::make_unique<Entry>();
        if (entry->Read(r) != 0)
            return fail();
        entries.push_back(std::move(entry));
    }
    r.Skip(gap);
    r.Skip(4);
    const uint32_t version = r.U32();
    const uint32_t m = r.U32();
    r.Skip(8);
    if (!r.Ok() || version < firstVersion || version > lastVersion || m > capacity - setStart)
        return fail();
    // The section's entries by sprite-set name, for linking.
    std::unordered_map<std::string_view, std::vector<Entry*>> byName;
    for (size_t i = entryStart; i < entries.size(); ++i)
        byName[entries[i]->GetSpriteSetName()].push_back(entries[i].get());
    for (uint32_t i = 0; i < m; ++i) {
        auto set = std::make_unique<Set>();
        if (set->Read(r) != 0)
            return fail();
        const std::string name = set->GetName();
        auto it = byName.find(name);
        if (it != byName.end())
            for (Entry* e : it->second)
                e->SetSpriteSet(set.get());
        sets.push_back(std::move(set));
    }
    return 0;
}

}  // namespace

int CObjLayer::LoadObr(const char* file)
{
    if (!file)
        return -1;
    std::vector<uint8_t> bytes;
    try {
        CRFile f(file, CRFile::modeRead);
        long start = 0;
        if (!ReadSpriteRest(f, bytes, start))
            return -1;
    } catch (const CRFileException&) {
        return -1;
    }
    CByteReader r(bytes.data(), bytes.size());
    if (IsItemFile(file) && !r.Skip(kItemFileStart))
        return -1;
    return ReadObr(r);
}

int CObjLayer::ReadObr(CByteReader& r)
{
    char tag[4] = {};
    r.Bytes(tag, sizeof tag);
    r.U32();
    const uint32_t n = r.U32();
    r.Skip(8);
    if (!r.Ok())
        return -1;
    if (std::memcmp(tag, "CHR", 3) == 0)
        return ReadSection(r, n, kMaxCharEntries, kCharGap, kVersion, kLastCharVersion, m_charEntries, m_charSets);
    if (std::memcmp(tag, "BLD", 3) == 0)
        return ReadSection(r, n, kMaxBuildingEntries, 0, kVersion, kVersion, m_buildingEntries, m_buildingSets);
    if (std::memcmp(tag, "ITM", 3) == 0) {
        const int result = ReadSection(r, n, kMaxItemEntries, 0, kVersion, kVersion, m_itemEntries, m_itemSets);
        m_itemEntryCount = static_cast<uint32_t>(m_itemEntries.size());
        return result;
    }
    return -1;
}

int CObjLayer::LoadMapObjects(CRFile& file)
{
    std::vector<uint8_t> bytes;
    long start = 0;
    if (!ReadSpriteRest(file, bytes, start)) {
        ResetMap();
        return -1;
    }
    CByteReader r(bytes.data(), bytes.size());
    return ReadMapObjects(r);
}

int CObjLayer::ReadMapObjects(CByteReader& r)
{
    ResetMap();
    m_mapName.clear();
    m_mapText.clear();
    auto fail = [this] {
        ResetMap();
        m_mapName.clear();
        m_mapText.clear();
        return -1;
    };
    r.Skip(kSectionHeader);
    m_mapName = r.FixedString(kNameSize);
    m_mapText = ReadText(r);
    const uint32_t count = r.U32();
    // Every object takes at least its kind's four bytes.
    if (!r.Ok() || count > r.Remaining() / 4)
        return fail();
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t kind = r.U32();
        if (kind == kStructureKind) {
            char name[kNameSize + 1] = {};
            char building[kNameSize + 1] = {};
            r.Bytes(name, kNameSize);
            const uint32_t x = r.U32();
            const uint32_t y = r.U32();
            r.Bytes(building, kNameSize);
            const uint32_t length = r.U32();
            if (!r.Ok() || length > CStructureObj::kMaxFootprint)
                return fail();
            uint8_t data[CStructureObj::kMaxFootprint] = {};
            r.Bytes(data, length);
            ReadText(r);
            if (!r.Ok())
                return fail();
            // Objects off the map are left out.
            const bool inGrid = x < static_cast<uint32_t>(kMapSize) && y < static_cast<uint32_t>(kMapSize);
            if (inGrid && (!m_pBackground || m_pBackground->IsOnMap(static_cast<int>(x), static_cast<int>(y))))
                AddStructure(name, static_cast<int>(x), static_cast<int>(y), building, data, static_cast<int>(length));
        } else if (kind == kNpcPlaceKind) {
            r.Skip(kNameSize + 4 * 4);
            ReadText(r);
        }
        if (!r.Ok())
            return fail();
    }
    // Blocked cells stop path stepping; the map's border is left free.
    const int w = m_pBackground ? m_pBackground->GetMapWidth() : 0;
    const int h = m_pBackground ? m_pBackground->GetMapHeight() : 0;
    if (w < 1 || h < 1)
        return 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (m_pBackground->GetCellFlags(x, y) & kFlagBlocked)
                SetObjectCell(x, y, kCellBlocked);
    for (int x = 0; x < w; ++x) {
        SetObjectCell(x, 0, kCellEmpty);
        SetObjectCell(x, h - 1, kCellEmpty);
    }
    for (int y = 1; y < h - 1; ++y) {
        SetObjectCell(0, y, kCellEmpty);
        SetObjectCell(w - 1, y, kCellEmpty);
    }
    return 0;
}

const CObrCharEntry* CObjLayer::FindSpriteSetById(int id) const
{
    for (const auto& e : m_charEntries)
        if (e->GetId() == id)
            return e.get();
    return nullptr;
}

const CObrBuildingEntry* CObjLayer::FindBuildingEntry(std::string_view name) const
{
    const std::string_view want = SlotText(name.data(), std::min(name.size(), kNameSize));
    for (const auto& e : m_buildingEntries)
        if (e->GetName() == want)
            return e.get();
    return nullptr;
}

const CObrItemEntry* CObjLayer::GetItemEntry(int index) const
{
    if (index < 0 || static_cast<uint32_t>(index) >= m_itemEntryCount ||
        static_cast<size_t>(index) >= m_itemEntries.size())
        return nullptr;
    return m_itemEntries[static_cast<size_t>(index)].get();
}

int CObjLayer::AddItemEntry(std::unique_ptr<CObrItemEntry> entry)
{
    if (!entry || m_itemEntries.size() >= static_cast<size_t>(kMaxItemEntries))
        return -1;
    m_itemEntries.push_back(std::move(entry));
    m_itemEntryCount = static_cast<uint32_t>(m_itemEntries.size());
    return 0;
}

const CObrCharEntry* CObjLayer::GetCharEntry(int i) const
{
    return (i >= 0 && static_cast<size_t>(i) < m_charEntries.size()) ? m_charEntries[static_cast<size_t>(i)].get()
                                                                     : nullptr;
}

const CObrBuildingEntry* CObjLayer::GetBuildingEntry(int i) const
{
    return (i >= 0 && static_cast<size_t>(i) < m_buildingEntries.size())
               ? m_buildingEntries[static_cast<size_t>(i)].get()
               : nullptr;
}

CAnimSpriteSet* CObjLayer::GetCharSet(int i) const
{
    return (i >= 0 && static_cast<size_t>(i) < m_charSets.size()) ? m_charSets[static_cast<size_t>(i)].get() : nullptr;
}

void CObjLayer::FreeCharLists()
{
    // Nothing on the map may keep an entry that goes.
    RemoveAllCharacters();
    RemoveAllNpcs();
    for (CCreatureAlt& c : m_pools->alts)
        if (c.IsActive())
            c.RemoveFromMap();
    m_charEntries.clear();
    m_charSets.clear();
}

void CObjLayer::FreeBuildingLists()
{
    for (CStructureObj& s : m_pools->structures)
        if (s.IsActive())
            s.RemoveFromMap();
    m_pHoverStructure = nullptr;
    m_buildingEntries.clear();
    m_buildingSets.clear();
}

void CObjLayer::FreeItemLists()
{
    m_itemEntries.clear();
    m_itemSets.clear();
    m_itemEntryCount = 0;
    g_itemData.Reset();
}
