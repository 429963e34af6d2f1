#include "world/ZoneFlags.h"

std::array<uint32_t, 4> g_zoneFlags{};
