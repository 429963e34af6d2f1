// Arbitrary bytes as a merchant's bound list file through the buy and the
// sell list: never more rows than the list box shows, every row numbered in
// order, named, terminated, and with an id the item lists can hold.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "app/QuillonView.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/ItemRecordWriter.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "windows/ItemList.h"
#include "windows/PlayerInfo.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"

namespace {

struct World {
    plat::CHeadlessPlatform platform;
    // The view starts from the game's archive; each input then brings its own.
    std::unique_ptr<CTestArchive> archive = std::make_unique<CTestArchive>(CArchiveBuilder::MinimalGame());
    CQuillonView view;
    CObjLayer layer{nullptr, nullptr};
    World()
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        // The player holds ids 1..10.
        for (int i = 0; i < 10; ++i)
            layer.MyRecord().SetItem(i, static_cast<uint16_t>(i + 1));
        archive.reset();
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

void CheckRows()
{
    const int n = g_itemList.GetCount();
    Check(n >= 0 && n <= CItemList::kMaxRows);
    for (int i = 0; i < n; ++i) {
        const CItemList::Row& row = g_itemList.GetRow(i);
        Check(row.number == i + 1);
        Check(row.itemId > 0 && row.itemId <= 0x7FFF);
        Check(std::memchr(row.name.data(), 0, row.name.size()) != nullptr);
        Check(std::memchr(row.description.data(), 0, row.description.size()) != nullptr);
        Check(std::memchr(row.line.data(), 0, row.line.size()) != nullptr);
    }
    Check(g_itemList.GetSelected(nullptr) == -1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        std::ofstream out(std::string(dir) + "/three", std::ios::binary);
        const uint8_t seed[] = {5, 0, 0, 0, 9, 0, 0, 0, 7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
        out.write(reinterpret_cast<const char*>(seed), sizeof seed);
    }
    TheWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TheWorld();
    CArchiveBuilder b;
    b.Nested().Add("weapon01.bin", Bytes(data, data + size));
    CTestArchive archive(b);
    g_itemList.Load("weapon01.bin");
    CheckRows();
    Check(g_itemList.GetMode() == CItemList::kBuy);
    g_itemList.LoadSellable("weapon01.bin");
    CheckRows();
    for (int i = 0; i < g_itemList.GetCount(); ++i)
        Check(g_itemList.GetRow(i).itemId <= 10);
    return 0;
}
