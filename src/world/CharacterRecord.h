// The 596-byte character record shared by the player, the field's
// characters, object files and the log-in reply, and the sizes of its
// numbered fields on the wire.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct CharacterRecord {
    static constexpr size_t kSize = 596;
    // Offsets of the fields.
    enum : size_t {
        kName = 0,           // 17 bytes (12 on the wire)
        kTypeName = 17,      // 35 bytes
        kClass = 52,         // u32
        kClassGroup = 56,    // u8
        kDisplayName = 57,   // 16 bytes
        kGameTime = 124,     // u32, field 7
        kLevel = 128,        // u32, field 8; fields 8..19 are consecutive u32s
        kHp = 132,
        kMp = 136,
        kRemain = 140,
        kWisdom = 144,
        kStrength = 148,
        kConstitution = 152,
        kAgility = 156,
        kCourage = 160,
        kExperience = 172,   // field 19
        kInputA = 176,       // u16, field 20
        kJailed = 178,       // i16, field 21
        kTurnTimer = 180,    // u32, never on the wire
        kLook = 184,         // u32, field 23
        kSpeedClass = 188,   // u32, field 24
        kScriptValue = 192,  // u32, field 25
        kTimerStamp = 194,   // i16, the scripts' timer: the upper half of field 25's word
        kInputB = 196,       // u16, field 26
        kWanted = 198,       // i16, field 27
        kServerValue28 = 200,
        kMoney = 208,        // i32, field 30
        kFame = 212,         // i16, field 31
        kKills = 214,        // i16, field 32
        kProfileValue = 216, // i16, field 35
        kBattleLogouts = 218,// i16, field 36
        kItems = 220,        // 100 x u16, field 33
        kEquipment = 420,    // 8 x u16, field 34
        kFieldImageSize = 436,  // field 50: the first 436 bytes
    };
    static constexpr size_t kNameSize = 17;
    static constexpr int kItemSlots = 100;
    static constexpr int kEquipSlots = 8;

    std::array<uint8_t, kSize> bytes{};

    uint32_t U32(size_t off) const;
    int32_t I32(size_t off) const { return static_cast<int32_t>(U32(off)); }
    uint16_t U16(size_t off) const;
    int16_t I16(size_t off) const { return static_cast<int16_t>(U16(off)); }
    void SetU32(size_t off, uint32_t v);
    void SetU16(size_t off, uint32_t v);

    uint16_t Item(int slot) const;
    void SetItem(int slot, uint16_t id);
    uint16_t Equip(int slot) const;
    void SetEquip(int slot, uint16_t id);
    // The name, stopping at the first NUL within its 17 bytes.
    std::string Name() const;
    // Stores a 12-byte wire name and terminates it.
    void SetWireName(const uint8_t* name12);
};

// Payload bytes of a field received with command 52; -1 for a field id the
// framing refuses (38..49, 51..62, 64..67, above 69).
int CharacterFieldReceiveSize(int field);
// Payload bytes of a field sent with command 53; 0 for a field that is
// never sent (no payload, or no rule).
int CharacterFieldSendSize(int field);
