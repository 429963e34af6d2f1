// Arbitrary 188-byte item records through every CItemData getter, the
// bonus text, the equipment sums and the carrying checks. The input is cut
// into records; each becomes the entry of the next item id, linked to a
// three-frame sprite set.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/QuillonView.h"
#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ItemRecordWriter.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpriteWriter.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "windows/PlayerInfo.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"

namespace {

struct World {
    plat::CHeadlessPlatform platform;
    CTestArchive archive{CArchiveBuilder::MinimalGame()};
    CQuillonView view;
    CObjLayer layer{nullptr, nullptr};
    CAnimSpriteSet set;
    World()
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        std::vector<SpriteFrameDef> frames;
        for (uint32_t i = 0; i < 3; ++i)
            frames.push_back(CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(3, 2, i))));
        const auto section = CSpriteWriter::AnimSection("items", frames, {});
        CByteReader r(section.data(), section.size());
        if (set.Read(r) != 0)
            std::abort();
    }
};

World& TheWorld()
{
    static World* world = new World;
    return *world;
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void WriteSeed(const std::string& dir, const std::string& name, const std::vector<ItemRecord>& records)
{
    std::ofstream out(dir + "/" + name, std::ios::binary);
    for (const ItemRecord& rec : records) {
        const auto bytes = WriteItemRecord(rec);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        ItemRecord sword = MakeItemRecord("검", "Sword", 0, kBonusStrength, 5, kBonusDefence, 2);
        sword.price = 301;
        sword.weight = 12;
        ItemRecord huge = MakeItemRecord("", "Huge", 9, 13, INT_MIN, 99, INT_MAX);
        huge.picture = 1;
        huge.transferMode = 3;
        WriteSeed(dir, "two", {sword, huge});
        WriteSeed(dir, "none", {MakeItemRecord("", "")});
    }
    TheWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    World& w = TheWorld();
    w.layer.FreeItemLists();
    w.layer.AddItemEntry(std::make_unique<CObrItemEntry>());  // id 0 is never an item
    CByteReader r(data, size);
    int count = 0;
    while (r.Remaining() >= ItemRecord::kSize && count < 64) {
        auto entry = std::make_unique<CObrItemEntry>();
        Check(entry->GetRecord().Read(r));
        entry->SetSpriteSet(count % 3 == 2 ? nullptr : &w.set);
        w.layer.AddItemEntry(std::move(entry));
        ++count;
    }
    CharacterRecord& me = w.layer.MyRecord();
    me = CharacterRecord{};
    for (int id = -2; id <= count + 2; ++id) {
        const char* text = g_itemData.GetDescription(id);
        Check(std::strlen(text) <= 31);
        Check(std::strlen(g_itemData.GetName(id)) <= 31);
        const uint8_t* icon = g_itemData.GetIconData(id);
        Check((icon == nullptr) == (g_itemData.GetIconDataSize(id) == 0));
        g_itemData.GetGroundImageData(id);
        g_itemData.GetGroundImageDataSize(id);
        g_itemData.GetEquipType(id);
        g_itemData.GetRequiredLevel(id);
        g_itemData.GetPrice(id);
        g_itemData.GetSellPrice(id);
        g_itemData.GetWeight(id);
        g_itemData.GetClassRestriction(id);
        Check(g_itemData.CanGive(id) <= 1 && g_itemData.CanDrop(id) <= 1);
        if (id > 0 && id < 100)
            CPlayerInfo::SetItem(me, id - 1, id);
    }
    for (int slot = 0; slot < 8; ++slot)
        me.SetEquip(slot, static_cast<uint16_t>(slot + 1));
    SumStrengthBonus(me);
    SumDefenceBonus(me);
    CalcAttack(me);
    CalcDefence(me);
    CalcTurnGaugeFill(me);
    g_playerInfo.IsOverWeight(1);
    g_playerInfo.IsListFull();
    return 0;
}
