// Random sequences of the player's inventory operations. After each one the
// client's record must equal a server-side model built only from the
// character fields the client reported, and the items held (listed and
// worn) and the money change only as the operation's result says.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/QuillonView.h"
#include "fixtures/ArchiveBuilder.h"
#include "fuzz_seeds.h"
#include "net/MySocket.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"

namespace {

constexpr int kItemIds = 12;

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// What the server knows: only what the reported fields said.
struct ServerModel {
    std::array<uint16_t, CPlayerInfo::kItemSlots> items{};
    std::array<uint16_t, CPlayerInfo::kEquipSlots> equip{};
    uint32_t money = 0;
};

ServerModel g_server;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void Tap(const CMySocket*, const uint8_t* p, int n)
{
    Check(n >= 2 && p[0] == 53);
    switch (p[1]) {
    case 30:
        Check(n == 6);
        g_server.money = static_cast<uint32_t>(p[2] | p[3] << 8 | p[4] << 16 | static_cast<uint32_t>(p[5]) << 24);
        break;
    case 51:
        Check(n == 5 && p[2] < CPlayerInfo::kItemSlots);
        g_server.items[p[2]] = U16(p + 3);
        break;
    case 52:
        Check(n == 8 && p[2] < CPlayerInfo::kItemSlots && p[5] < CPlayerInfo::kItemSlots);
        g_server.items[p[2]] = U16(p + 3);
        g_server.items[p[5]] = U16(p + 6);
        break;
    case 53:
        Check(n == 5 && p[2] < CPlayerInfo::kEquipSlots);
        g_server.equip[p[2]] = U16(p + 3);
        break;
    default: Check(false);
    }
}

struct World {
    plat::CHeadlessPlatform platform;
    CTestArchive archive{CArchiveBuilder::MinimalGame()};
    CQuillonView view;
    CObjLayer layer{nullptr, nullptr};
    World()
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        g_pMainSocket = new CMySocket;
        CMySocket::SetSendTap(&Tap);
    }
};

World& TheWorld()
{
    static World* world = new World;
    return *world;
}

std::vector<int> Held(const CharacterRecord& rec)
{
    std::vector<int> ids;
    for (int s = 0; s < CPlayerInfo::kItemSlots; ++s)
        if (rec.Item(s))
            ids.push_back(rec.Item(s));
    for (int s = 0; s < CPlayerInfo::kEquipSlots; ++s)
        if (rec.Equip(s))
            ids.push_back(rec.Equip(s));
    std::sort(ids.begin(), ids.end());
    return ids;
}

void Matches(const CharacterRecord& rec)
{
    for (int s = 0; s < CPlayerInfo::kItemSlots; ++s)
        Check(rec.Item(s) == g_server.items[static_cast<size_t>(s)]);
    for (int s = 0; s < CPlayerInfo::kEquipSlots; ++s)
        Check(rec.Equip(s) == g_server.equip[static_cast<size_t>(s)]);
    Check(rec.U32(CharacterRecord::kMoney) == g_server.money);
}

struct Input {
    const uint8_t* p;
    size_t n;
    uint8_t Byte() { return n ? (--n, *p++) : 0; }
    uint32_t U32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(Byte()) << (8 * i);
        return v;
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        // Header: strength, level, class, carried count, worn ids, money;
        // then operations of three bytes (op, id, price byte).
        std::string full = std::string("\x06\x05\x00\x50", 4) + std::string("\x03\x04\x00\x00\x00\x00\x00\x00", 8) +
                           std::string("\x10\x00\x00\x00", 4);
        WriteSeed(dir, "full", full + std::string("\x02\x05\x01\x04\x00\x00\x03\x01\x05\x01\x01\x00", 12));
        std::string few = std::string("\x09\x14\x02\x03", 4) + std::string("\x07\x00\x00\x00\x00\x00\x00\x00", 8) +
                          std::string("\xFF\xFF\xFF\x7F", 4);
        WriteSeed(dir, "rich", few + std::string("\x03\x01\x09\x04\x00\x00\x00\x07\x00\x01\x02\x00", 12));
    }
    World& w = TheWorld();
    w.layer.FreeItemLists();
    w.layer.AddItemEntry(std::make_unique<CObrItemEntry>());  // id 0 is never an item
    for (int id = 1; id < kItemIds; ++id) {
        auto entry = std::make_unique<CObrItemEntry>();
        ItemRecord& rec = entry->GetRecord();
        rec.weight = id * 37 % 120;
        rec.requiredLevel = id % 4 == 0 ? 30 : 0;
        rec.classRestriction = id % 5;
        rec.price = id * 11;
        w.layer.AddItemEntry(std::move(entry));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    World& w = TheWorld();
    Input in{data, size};
    CharacterRecord& me = w.layer.MyRecord();
    me = CharacterRecord{};
    me.SetU32(CharacterRecord::kStrength, in.Byte());
    me.SetU32(CharacterRecord::kLevel, in.Byte());
    g_playerInfo.SetClass(in.Byte() % 7);
    const int carried = in.Byte() % (CPlayerInfo::kItemSlots + 1);
    for (int s = 0; s < carried; ++s)
        me.SetItem(s, static_cast<uint16_t>(1 + s % (kItemIds - 1)));
    for (int s = 0; s < CPlayerInfo::kEquipSlots; ++s)
        me.SetEquip(s, static_cast<uint16_t>(in.Byte() % (kItemIds + 2)));
    me.SetU32(CharacterRecord::kMoney, in.U32() & 0x7FFFFFFF);
    // The server starts from the same record.
    for (int s = 0; s < CPlayerInfo::kItemSlots; ++s)
        g_server.items[static_cast<size_t>(s)] = me.Item(s);
    for (int s = 0; s < CPlayerInfo::kEquipSlots; ++s)
        g_server.equip[static_cast<size_t>(s)] = me.Equip(s);
    g_server.money = me.U32(CharacterRecord::kMoney);

    for (int ops = 0; in.n > 0 && ops < 400; ++ops) {
        const uint8_t op = in.Byte();
        // Ids beyond the entries and negative ones too.
        const int id = static_cast<int8_t>(in.Byte()) % (kItemIds + 3);
        const uint8_t priceByte = in.Byte();
        const int price = priceByte == 0xFF ? 0x7FFFFFFF : priceByte == 0xFE ? -1 : priceByte * 13;
        std::vector<int> expected = Held(me);
        const long long money = me.U32(CharacterRecord::kMoney);
        long long moneyAfter = money;
        bool done = false;
        switch (op % 5) {
        case 0: done = g_playerInfo.AddItem(id); break;
        case 1: done = g_playerInfo.RemoveItem(id); break;
        case 2:
            done = g_playerInfo.TryTakeItem(id, price);
            if (done)
                moneyAfter -= price;
            break;
        case 3:
            done = g_playerInfo.SellItem(id, price);
            if (done)
                moneyAfter += price;
            break;
        default: g_playerInfo.UnequipUnusable(); break;
        }
        if (done && (op % 5 == 0 || op % 5 == 2)) {
            expected.push_back(id);
            std::sort(expected.begin(), expected.end());
        } else if (done && (op % 5 == 1 || op % 5 == 3)) {
            auto it = std::find(expected.begin(), expected.end(), id);
            Check(it != expected.end());
            expected.erase(it);
        }
        Check(Held(me) == expected);
        Check(moneyAfter >= 0 && moneyAfter <= 0x7FFFFFFF);
        Check(me.U32(CharacterRecord::kMoney) == static_cast<uint32_t>(moneyAfter));
        Matches(me);
    }
    return 0;
}
