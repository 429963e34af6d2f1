// The asynchronous TCP client socket: a send list of whole packets and a
// receive list of the blocks as they arrived. The message loop pumps it on
// every pass; that is where connects finish, packets leave and data arrive.
#pragma once
#include <cstdint>
#include <deque>
#include <vector>

#include "net/ByteSource.h"
#include "platform/Loop.h"
#include "platform/Socket.h"

// One queued packet or received block; a partial send or read moves the
// start instead of copying what remains.
class CPacketBuf {
public:
    CPacketBuf(const void* data, int length);
    // Drops the first n bytes; returns the length left.
    int Consume(int n);
    int Length() const { return static_cast<int>(m_data.size()) - m_start; }
    const uint8_t* Data() const { return m_data.data() + m_start; }

private:
    std::vector<uint8_t> m_data;
    int m_start = 0;
};

class CMySocket : public IByteSource, public plat::IEventSource {
public:
    // The events a socket listens for.
    enum : uint32_t {
        kEventRead = 1,
        kEventWrite = 2,
        kEventOob = 4,
        kEventConnect = 16,
        kEventClose = 32,
        kConnectedMask = kEventRead | kEventWrite | kEventOob | kEventClose,  // 39
    };
    static constexpr int kBufferSize = 8192;
    static constexpr int kReceiveBlock = 4096;
    // Unread blocks kept at most (4 MiB): beyond that the socket stops
    // reading and the peer waits on the connection's own window.
    static constexpr size_t kMaxReceiveBlocks = 1024;

    CMySocket();
    ~CMySocket() override;
    CMySocket(const CMySocket&) = delete;
    CMySocket& operator=(const CMySocket&) = delete;

    // 1 when a handle exists or was made; 0 on failure.
    int CreateSocket();
    int CreateSocketSecondary() { return CreateSocket(); }

    // Starts a connect to a dotted address at once (the handle is returned)
    // or through a name look-up whose result arrives on a later pass (1).
    // Negative on failure. A closed socket is opened afresh, with both lists
    // emptied.
    int Connect(const char* host, int port);
    int ConnectSecondary(const char* host, int port);

    // Queues one packet; it leaves on a later pass of the loop. 1 when it
    // was accepted for sending, 0 when the socket is closed or no connect
    // has been started on it.
    int SendCommand(const void* data, int length);
    // Sees every packet handed to SendCommand, before any check: the
    // protocol trace in byte form, used by the tests.
    using SendTap = void (*)(const CMySocket* socket, const uint8_t* data, int length);
    static void SetSendTap(SendTap tap);
    // Copies up to len received bytes (len holds the count): the count, 0
    // when nothing is waiting, -1 once the socket is closed and every
    // received byte has been read.
    int Read(void* dst, int& len) override;
    // Like Read without taking the bytes.
    int Peek(void* dst, int len) const;
    // Always 1; safe on a closed socket.
    int Close();
    bool IsOpen() const { return m_sock.IsValid(); }
    // Connected and open: a packet given now will be sent.
    bool CanSend() const { return m_maySend != 0 && IsOpen(); }
    // The connect completed at some time (a socket that never got there
    // means the server was not reachable).
    bool HasConnected() const { return m_hasConnected; }
    int LastError() const { return m_lastError; }
    // True while a name look-up is under way.
    bool IsResolving() const { return m_lookupId != 0; }
    // Counts the connects started on this socket: what was said on one
    // connection is unknown on the next.
    uint32_t ConnectionNumber() const { return m_connection; }

    int AsyncSelect(uint32_t mask);
    void SetEventMask(uint32_t mask) { m_eventMask = mask; }

    // Event handlers; err is the error the event carries.
    virtual void OnConnect(int err);
    virtual void OnClose(int err);
    virtual void OnReceive(int err);
    virtual int OnSend(int err);

    // Tries to hand every queued packet to the system, waiting at most
    // timeoutMs for send space in all.
    void Flush(int timeoutMs);

    size_t SendListSize() const { return m_sendList.size(); }
    size_t ReceiveListSize() const { return m_recvList.size(); }

    // plat::IEventSource
    void Pump() override;
    void AppendPollFds(std::vector<struct pollfd>& fds) override;

private:
    // 0 for a tolerated code; otherwise records it, closes, and returns 1.
    int ErrorCheck(int err);
    void OnHostResolved(int err, uint32_t addr);

    plat::CTcpSocket m_sock;
    uint32_t m_addr = 0;   // network order
    uint16_t m_port = 0;
    uint32_t m_maySend = 0;
    uint32_t m_eventMask = 0;
    bool m_connecting = false;
    bool m_hasConnected = false;
    bool m_registered = false;
    uint32_t m_lookupId = 0;
    uint32_t m_connection = 0;
    int m_lastError = 0;
    std::deque<CPacketBuf> m_sendList;
    std::deque<CPacketBuf> m_recvList;
};

extern CMySocket* g_pMainSocket;
