// A table of script variables: the frame of a script's main procedure, or a
// call node's arguments that become the called procedure's frame. Ids 50001
// to 50013 are not kept here: they read and write the player's game state.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "core/GameString.h"

class CVariable {
public:
    static constexpr int kEntries = 512;
    // Value types; 0 is what a read past the last entry gives.
    enum : uint32_t { kNone = 0, kInt = 1, kString = 2 };
    static constexpr uint32_t kFirstSystemId = 50001;
    static constexpr uint32_t kLastSystemId = 50013;

    CVariable() = default;
    CVariable(const CVariable&) = delete;
    CVariable& operator=(const CVariable&) = delete;

    // A new entry at the end: an int starts at 0, a string empty. false
    // (nothing added) when the table is full.
    bool Add(uint32_t id, uint32_t type);
    // Lookups take the newest entry with the id.
    int32_t GetInt(uint32_t id) const;
    // Null when no entry has the id or it holds an int.
    const char* GetString(uint32_t id) const;
    uint32_t GetType(uint32_t id) const;
    void SetInt(uint32_t id, int32_t value);
    void SetString(uint32_t id, const char* text);
    void Rename(uint32_t oldId, uint32_t newId);

    // By position, for the native actions' arguments: type 0, 0 and null
    // at or past the count.
    uint32_t GetTypeAt(int index) const;
    int32_t GetIntAt(int index) const;
    const char* GetStringAt(int index) const;

    void Clear();
    int GetCount() const { return m_count; }

private:
    struct Entry {
        uint32_t id = 0;
        uint32_t type = kNone;
        int32_t value = 0;
        std::unique_ptr<CGameString> text;
    };
    // The newest entry with the id (and the type, when one is given).
    const Entry* Find(uint32_t id, uint32_t type = kNone) const;
    Entry* Find(uint32_t id, uint32_t type = kNone);
    const Entry* At(int index) const;

    std::array<Entry, kEntries> m_entries{};
    int32_t m_count = 0;
};

// The player's state behind ids 50001 to 50013. A read of 50010 and up
// looks in the table, as for any other id.
bool IsSystemVariable(uint32_t id);
int32_t ReadSystemVariable(uint32_t id);
void WriteSystemVariable(uint32_t id, int32_t value);
// The flag that native action 19 sets (system variable 50002).
extern uint16_t g_scriptListFlag;
