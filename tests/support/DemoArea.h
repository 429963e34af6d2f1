// One area of the demo game server (trade, talk, colony...): the client
// commands it answers and what it does by itself between them. The server
// frames the client's commands and offers each whole command to its areas
// in turn until one takes it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

class CDemoServer;

class CDemoArea {
public:
    explicit CDemoArea(CDemoServer& server) : m_server(server) {}
    virtual ~CDemoArea() = default;
    CDemoArea(const CDemoArea&) = delete;
    CDemoArea& operator=(const CDemoArea&) = delete;

    // One whole client command, p[0] its number; false when it is none of
    // this area's.
    virtual bool Handle(const uint8_t* p, size_t n) = 0;
    // Every pump while a client is connected, with the server's clock.
    virtual void Tick(uint32_t /*now*/) {}
    // The player was let onto the field (the entry and the others in sight
    // are sent).
    virtual void Entered() {}

protected:
    CDemoServer& m_server;
};

// The areas, one file each (DemoTrade.cpp, DemoSocial.cpp, DemoColony.cpp,
// DemoBattle.cpp), in the server's list in this order.
std::unique_ptr<CDemoArea> MakeDemoTrade(CDemoServer& server);
std::unique_ptr<CDemoArea> MakeDemoSocial(CDemoServer& server);
std::unique_ptr<CDemoArea> MakeDemoColony(CDemoServer& server);
std::unique_ptr<CDemoArea> MakeDemoBattle(CDemoServer& server);
