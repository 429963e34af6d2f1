// A started whole client logged in against its scripted server: account
// slot 1 ("Mira") is played, the server answers the connect sequence and
// takes the character onto stage 0.
#pragma once
#include <cstdint>

#include "support/FakeServer.h"

class CHarness;

// The server's entry reply for id at (x, y).
Bytes EnteredReply(uint16_t id, int x, int y);
// Starts the client, scripts h.Server() for the log-in of id with the
// 436-byte record and an entry at (x, y), and runs frames until the windows
// are built and my character stands there; false when it never did.
bool LogInToField(CHarness& h, uint16_t id, int x, int y, const Bytes& record);
