// The receive dispatcher's shared state.
#pragma once
#include <cstdint>

// The player's server id, set by received command 2.
extern uint16_t g_myId;
