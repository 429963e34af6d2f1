#include "world/CharacterRecord.h"

#include <cstring>

uint32_t CharacterRecord::U32(size_t off) const
{
    if (off + 4 > kSize)
        return 0;
    return static_cast<uint32_t>(bytes[off]) | (static_cast<uint32_t>(bytes[off + 1]) << 8) |
           (static_cast<uint32_t>(bytes[off + 2]) << 16) | (static_cast<uint32_t>(bytes[off + 3]) << 24);
}

uint16_t CharacterRecord::U16(size_t off) const
{
    if (off + 2 > kSize)
        return 0;
    return static_cast<uint16_t>(bytes[off] | (bytes[off + 1] << 8));
}

void CharacterRecord::SetU32(size_t off, uint32_t v)
{
    if (off + 4 > kSize)
        return;
    for (int i = 0; i < 4; ++i)
        bytes[off + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

void CharacterRecord::SetU16(size_t off, uint32_t v)
{
    if (off + 2 > kSize)
        return;
    bytes[off] = static_cast<uint8_t>(v);
    bytes[off + 1] = static_cast<uint8_t>(v >> 8);
}

uint16_t CharacterRecord::Item(int slot) const
{
    return (slot >= 0 && slot < kItemSlots) ? U16(kItems + 2 * static_cast<size_t>(slot)) : 0;
}

void CharacterRecord::SetItem(int slot, uint16_t id)
{
    if (slot >= 0 && slot < kItemSlots)
        SetU16(kItems + 2 * static_cast<size_t>(slot), id);
}

uint16_t CharacterRecord::Equip(int slot) const
{
    return (slot >= 0 && slot < kEquipSlots) ? U16(kEquipment + 2 * static_cast<size_t>(slot)) : 0;
}

void CharacterRecord::SetEquip(int slot, uint16_t id)
{
    if (slot >= 0 && slot < kEquipSlots)
        SetU16(kEquipment + 2 * static_cast<size_t>(slot), id);
}

std::string CharacterRecord::Name() const
{
    const char* p = reinterpret_cast<const char*>(bytes.data() + kName);
    size_t n = 0;
    while (n < 17 && p[n] != '\0')
        ++n;
    return std::string(p, n);
}

void CharacterRecord::SetWireName(const uint8_t* name12)
{
    std::memcpy(bytes.data() + kName, name12, 12);
    // The wire name need not hold a terminator; the old tail must not show.
    std::memset(bytes.data() + kName + 12, 0, 5);
}

int CharacterFieldReceiveSize(int field)
{
    if (field < 0 || field > 69)
        return -1;
    switch (field) {
    case 0: case 1: return 12;
    case 2: case 3: case 4: case 5: case 6: case 22: case 29: return 0;
    case 20: case 21: case 26: case 27: case 31: case 32: case 35: case 36: return 2;
    case 33: return 200;
    case 34: return 16;
    case 37: return 40;
    case 50: return 436;
    case 63: return 5;
    case 68: case 69: return 4;
    default: break;
    }
    if ((field >= 7 && field <= 19) || field == 23 || field == 24 || field == 25 || field == 28 || field == 30)
        return 4;
    return -1;  // 38..49, 51..62, 64..67
}

int CharacterFieldSendSize(int field)
{
    switch (field) {
    case 3: return 4;
    case 20: case 21: case 26: case 27: case 31: case 32: case 35: case 36: return 2;
    case 33: return 200;
    case 34: return 16;
    case 37: return 40;
    case 50: return 436;
    case 51: case 53: case 56: case 64: case 66: return 3;
    case 52: case 54: case 65: return 6;
    case 55: return 28;
    case 57: case 67: return 1;
    case 60: return 48;
    case 61: return 35;
    case 62: return 25;
    case 63: return 5;
    case 68: case 69: return 4;
    default: break;
    }
    if ((field >= 7 && field <= 19) || field == 23 || field == 24 || field == 25 || field == 28 || field == 30)
        return 4;
    return 0;
}
