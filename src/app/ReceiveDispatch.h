// The receive dispatcher's shared state: what the handled commands leave
// for the connect sequence and the log-in forms.
#pragma once
#include <array>
#include <cstdint>

#include "intro/AccountRecord.h"

// The player's server id, set by received command 2.
extern uint16_t g_myId;
// 1 once command 1 carried our protocol version; the connect sequence
// clears it when it sends command 1.
extern uint32_t g_versionConfirmed;
// 0 waiting for command 2, 1 my id received, 2 the player chose to cut the
// other connection of the same ID; cleared when command 2 or 'c' is sent.
extern uint32_t g_playerIdState;
// Commands 50 and 106: 1 for a non-zero byte, -1 for 0, 0 no answer yet.
extern int32_t g_readyAnswer;
extern int32_t g_colonyAnswer;
// Battle numbers remembered by command 84; 0 is a free slot.
extern std::array<int16_t, 12> g_rememberedBattles;
// The account record of a successful log-in.
constexpr int kAccountRecordSize = static_cast<int>(AccountRecord::kSize);
extern AccountRecord g_loginRecord;
// Packets dispatched so far (for the trace).
extern uint32_t g_receiveCounter;

// The protocol version this client speaks.
constexpr uint16_t kProtocolVersion = 336;

// Puts a battle number into the first free slot; with none free the
// smallest (as signed 16-bit values) is replaced.
void RememberBattle(int16_t number);

// Back to the start state, the framing included.
void ResetReceiveState();
