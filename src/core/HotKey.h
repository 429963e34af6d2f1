// The hot-key list: key combinations by set-1 scan code, polled once per
// frame against the view's key latch.
#pragma once
#include <cstdint>
#include <initializer_list>

struct CHotKey {
    static constexpr int kMaxKeys = 5;
    uint32_t id = 0;
    uint32_t keyCount = 0;
    uint32_t keys[kMaxKeys] = {};
    CHotKey* next = nullptr;
};

// Head of the list; null when empty.
extern CHotKey* g_hotKeys;

// Appends an entry with up to five scan codes (more are refused, as are
// codes outside 1..255); false when nothing was added.
bool AddHotKey(uint32_t id, std::initializer_list<uint32_t> scanCodes);
// Replaces the keys of the entry with this id.
bool SetHotKeyKeys(uint32_t id, std::initializer_list<uint32_t> scanCodes);
// 1 when a key was pressed since the last reset and every key of the entry
// with this id is down.
int IsHotKeyDown(uint32_t id);
// The id of the first entry whose keys are all down, when a key was pressed
// since the last reset; else 0.
uint32_t GetHotKeyDown();
// 1 when scan is the last key pressed and it is still down.
int IsKeyPressed(uint32_t scan);
// The last key pressed while it is still down, else 0.
uint32_t GetPressedKey();
// Destroys every entry and empties the list.
void FreeHotKeys();
