// The ability sub-commands of the battle family and the stat relays: one
// row per sub-command lists its payload field by field, and the sender and
// the receiver both work from the row.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/ByteWriter.h"
#include "rules/CalcData.h"

enum class AbilityField : uint8_t {
    caster,   // u16 id of the caster
    target,   // u16 id of the target (the monster of sub 201)
    goalX,    // u32
    goalY,    // u32
    sum32,    // u32 record value + equipment bonus of the stat
    plain32,  // u32 record value of the stat
    sum16,    // u16 record value + equipment bonus of the stat
    equip,    // the 8 equipped item ids
    amount,   // u32
    byte,     // u8: CounterBreak's stance, Psychicforce's mode, the notice value
    field20,  // u16 character field 20
    field26,  // u16 character field 26
    word,     // u32 carried and not used (stat: which of the two)
};

struct AbilityFieldDef {
    AbilityField kind;
    StatSums::Stat stat = StatSums::strength;
};

struct AbilityCommandRow {
    static constexpr int kMaxFields = 8;
    uint8_t sub;
    // The ability the receiver starts; -1 for the notices and relays.
    int8_t ability;
    uint8_t count;
    std::array<AbilityFieldDef, kMaxFields> fields;

    bool Has(AbilityField kind) const;
    int PayloadSize() const;
};

// What a payload carries; each row uses its own part.
struct AbilityPacket {
    uint16_t caster = 0;
    uint16_t target = 0;
    uint32_t goalX = 0;
    uint32_t goalY = 0;
    std::array<uint32_t, StatSums::count> stat{};
    std::array<uint16_t, 8> equip{};
    uint32_t amount = 0;
    uint8_t byte = 0;
    uint16_t field20 = 0;
    uint16_t field26 = 0;
    std::array<uint32_t, 2> words{};
};

std::span<const AbilityCommandRow> AbilityCommandRows();
// The row of a sub-command, or null.
const AbilityCommandRow* FindAbilityCommand(int sub);
// The sub-command that announces ability id 0..23; -1 for any other id.
int AbilitySubCommand(int id);
void EncodeAbilityPayload(const AbilityCommandRow& row, const AbilityPacket& packet, CByteWriter& w);
// Reads the row's fields from size bytes; missing bytes read as 0.
AbilityPacket DecodeAbilityPayload(const AbilityCommandRow& row, const uint8_t* p, size_t size);
