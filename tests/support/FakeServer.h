// A scripted game server on the loopback address. The script is a list of
// steps run in order: expect exact bytes from the client, send bytes in
// chosen chunks (one chunk per pump, so the client sees them apart), close
// or reset the connection. It runs on the test's thread: Pump() does what
// is possible now without waiting; registered with the loop it is pumped on
// every pass of the client's loop.
#pragma once
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Loop.h"
#include "platform/Socket.h"

using Bytes = std::vector<uint8_t>;

class CFakeServer : public plat::IEventSource {
public:
    CFakeServer();
    ~CFakeServer() override;
    CFakeServer(const CFakeServer&) = delete;
    CFakeServer& operator=(const CFakeServer&) = delete;

    uint16_t Port() const { return m_listener.Port(); }
    // Points the client's settings at this server.
    void UseForClient() const;
    // Pumps this server on every pass of the message loop.
    void Register();

    // Script steps.
    CFakeServer& Expect(const Bytes& bytes);
    // Sends bytes; chunk 0 sends them whole, else in pieces of that size.
    CFakeServer& Send(const Bytes& bytes, size_t chunk = 0);
    CFakeServer& SendChunks(const Bytes& bytes, std::initializer_list<size_t> sizes);
    CFakeServer& Close();
    CFakeServer& Reset();

    // Stops (false) or resumes reading from the client.
    void SetReading(bool reading) { m_reading = reading; }

    void Pump() override;
    void AppendPollFds(std::vector<struct pollfd>& fds) override;

    bool Accepted() const { return m_accepted; }
    // Every step has run.
    bool ScriptDone() const { return m_steps.empty() && m_failure.empty(); }
    // The client ended the connection (end of stream or reset).
    bool ClientClosed() const { return m_clientClosed; }
    // What an Expect step did not get; empty while all is well.
    const std::string& Failure() const { return m_failure; }
    // Bytes received and not yet taken by an Expect step.
    const Bytes& Unmatched() const { return m_in; }
    // Every byte ever received from the client.
    const Bytes& AllReceived() const { return m_all; }

private:
    enum class Kind { Expect, Send, Close, Reset };
    struct Step {
        Kind kind;
        Bytes bytes;
        std::vector<size_t> chunks;  // for Send: piece sizes, in order
    };
    void ReadAvailable();
    bool RunStep(Step& step);

    plat::CTcpListener m_listener;
    plat::CTcpSocket m_conn;
    std::deque<Step> m_steps;
    Bytes m_in;
    Bytes m_all;
    Bytes m_pendingOut;  // the part of a chunk the system has not taken yet
    std::string m_failure;
    bool m_accepted = false;
    bool m_clientClosed = false;
    bool m_reading = true;
    bool m_registered = false;
};

// Little-endian packet building for scripts.
Bytes Packet(std::initializer_list<int> bytes);
void PutU16(Bytes& b, uint16_t v);
void PutU32(Bytes& b, uint32_t v);
Bytes Concat(std::initializer_list<Bytes> parts);
// A command byte and one u16.
Bytes U16Packet(uint8_t cmd, uint16_t v);
