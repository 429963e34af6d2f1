// The four HP/MP bonus flags of the item my character wears in equipment
// slot 1 (items 180..183, one at a time; any other item clears all four).
// The object layer's frame updates them; the HP and MP maxima read them.
#pragma once
#include <array>
#include <cstdint>

enum ZoneFlag : int { kZoneHp40 = 0, kZoneMp40 = 1, kZoneHp20 = 2, kZoneMp20 = 3 };
extern std::array<uint32_t, 4> g_zoneFlags;
