#include "core/HotKey.h"

#include "app/MouseState.h"

CHotKey* g_hotKeys;

namespace {

bool FillKeys(CHotKey& entry, std::initializer_list<uint32_t> scanCodes)
{
    if (scanCodes.size() == 0 || scanCodes.size() > CHotKey::kMaxKeys)
        return false;
    for (uint32_t code : scanCodes)
        if (code == 0 || code > 255)
            return false;
    entry.keyCount = 0;
    for (uint32_t code : scanCodes)
        entry.keys[entry.keyCount++] = code;
    return true;
}

// Codes outside the key table are never down.
bool KeyDown(uint32_t scan)
{
    return scan < 256 && g_keyState[scan] != 0;
}

bool AllDown(const CHotKey& entry)
{
    for (uint32_t i = 0; i < entry.keyCount && i < CHotKey::kMaxKeys; ++i)
        if (!KeyDown(entry.keys[i]))
            return false;
    return true;
}

}  // namespace

bool AddHotKey(uint32_t id, std::initializer_list<uint32_t> scanCodes)
{
    CHotKey* entry = new CHotKey;
    entry->id = id;
    if (!FillKeys(*entry, scanCodes)) {
        delete entry;
        return false;
    }
    CHotKey** link = &g_hotKeys;
    while (*link)
        link = &(*link)->next;
    *link = entry;
    return true;
}

bool SetHotKeyKeys(uint32_t id, std::initializer_list<uint32_t> scanCodes)
{
    for (CHotKey* e = g_hotKeys; e; e = e->next)
        if (e->id == id)
            return FillKeys(*e, scanCodes);
    return false;
}

int IsHotKeyDown(uint32_t id)
{
    if (g_lastKey == 0)
        return 0;
    for (CHotKey* e = g_hotKeys; e; e = e->next)
        if (e->id == id)
            return AllDown(*e) ? 1 : 0;
    return 0;
}

uint32_t GetHotKeyDown()
{
    if (g_lastKey == 0)
        return 0;
    for (CHotKey* e = g_hotKeys; e; e = e->next)
        if (AllDown(*e))
            return e->id;
    return 0;
}

int IsKeyPressed(uint32_t scan)
{
    return (scan != 0 && scan == g_lastKey && KeyDown(scan)) ? 1 : 0;
}

uint32_t GetPressedKey()
{
    if (g_lastKey != 0 && KeyDown(g_lastKey))
        return g_lastKey;
    return 0;
}

void FreeHotKeys()
{
    CHotKey* e = g_hotKeys;
    g_hotKeys = nullptr;
    while (e) {
        CHotKey* next = e->next;
        delete e;
        e = next;
    }
}
