// The asynchronous TCP socket with its send and receive lists. Minimal form:
// packets are queued and kept; nothing reaches a network yet.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class CMySocket {
public:
    CMySocket() = default;
    virtual ~CMySocket() = default;
    CMySocket(const CMySocket&) = delete;
    CMySocket& operator=(const CMySocket&) = delete;

    // Starts a connect; a negative result is a failure.
    int Connect(const char* host, int port);
    // Queues one packet; 1 when accepted for sending, 0 when the socket is not open.
    int SendCommand(const void* data, int length);
    // Copies up to len queued received bytes; 0 when none, -1 when closed
    // and nothing is left.
    int Read(void* dst, int& len);
    // Copies up to len queued bytes without taking them; -1 when closed and
    // nothing is left.
    int Peek(void* dst, int len) const;
    int Close();
    bool IsOpen() const { return m_open; }
    // Connected and open: packets given now will be sent.
    bool CanSend() const { return m_open; }

    // What was queued for sending, one entry per packet.
    std::vector<std::vector<uint8_t>> m_sent;
    // Bytes that Read hands out.
    std::deque<uint8_t> m_received;
    std::string m_host;
    int m_port = 0;

private:
    bool m_open = false;
};

extern CMySocket* g_pMainSocket;
