// What the client has handed to its main socket, one entry per packet.
#pragma once
#include <cstdint>
#include <vector>

using SentPacket = std::vector<uint8_t>;

// The packets queued on the main socket since the last call, oldest first.
std::vector<SentPacket> TakeSentPackets();
// Gives the main socket an unconnected socket for tests that run without
// the whole client.
void OpenTestMainSocket();
void CloseTestMainSocket();
