// The real client binary started in a directory of its own: SDL's invisible
// drivers, that directory as home, configuration and runtime directory.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>

class CTempDir;

// Names a loopback server port in dir's settings file, as the client reads it.
void WriteClientServerSettings(const CTempDir& dir, uint16_t port);

// Starts the client in dir; stderr goes to errPath when given, and
// QUORVEL_TRACE is set when trace is. The process id, or -1.
pid_t SpawnClient(const CTempDir& dir, const std::string& errPath = "", bool trace = false);

void SleepMs(long ms);
