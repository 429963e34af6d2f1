// The socket service: non-blocking IPv4 TCP client sockets and host-name
// look-ups that run off the UI thread. Errors are errno values; 0 is none.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace plat {

// The errors a non-blocking call may report without anything being wrong:
// "would block" and "interrupted" (and "in progress" while connecting).
bool IsTransientSocketError(int err);
bool IsConnectInProgress(int err);

// Parses a dotted IPv4 address ("a.b.c.d"); the address in network order.
bool ParseDottedAddress(const char* host, uint32_t& addr);

// Readiness bits of CTcpSocket::Poll.
enum : unsigned {
    kSockReadable = 1,   // data, end of stream or an error to collect
    kSockWritable = 2,   // send space, or a connect has finished
    kSockError = 4,      // the peer hung up or an error is pending
};

class CTcpSocket {
public:
    CTcpSocket() = default;
    ~CTcpSocket();
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // A new non-blocking stream socket with the given buffer sizes; the
    // errno on failure.
    int Create(int bufferSize);
    bool IsValid() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // Starts a connect; 0 or EINPROGRESS when it is under way.
    int Connect(uint32_t addr, uint16_t port);
    // The outcome of a finished connect (SO_ERROR).
    int TakePendingError();

    // Sends without ever raising SIGPIPE; sent holds the bytes taken.
    int Send(const void* data, size_t len, size_t& sent);
    // Receives; got 0 with result 0 is the end of the stream.
    int Recv(void* dst, size_t len, size_t& got);

    // Readiness now, without waiting (kSock* bits).
    unsigned Poll(bool wantRead, bool wantWrite) const;
    // Waits at most timeoutMs for send space; true when writable.
    bool WaitWritable(int timeoutMs) const;

    // Closes with a reset instead of the orderly end of the stream.
    void Abort();
    // Takes over an open descriptor (from CTcpListener::Accept).
    void Adopt(int fd);

    // Ends the sending side gracefully and closes. Input not yet received
    // turns the close into a reset, so callers receive it first.
    void Close();

private:
    int m_fd = -1;
};

// A listening socket on the loopback address, for local peers (the test
// servers). Non-blocking.
class CTcpListener {
public:
    CTcpListener() = default;
    ~CTcpListener();
    CTcpListener(const CTcpListener&) = delete;
    CTcpListener& operator=(const CTcpListener&) = delete;

    // Listens on 127.0.0.1; port 0 picks a free one. The errno on failure.
    int Listen(uint16_t port);
    uint16_t Port() const { return m_port; }
    // Accepts one waiting connection into out (non-blocking); false when
    // none is waiting.
    bool Accept(CTcpSocket& out);
    void Close();

private:
    int m_fd = -1;
    uint16_t m_port = 0;
};

// A host-name look-up on a worker thread. The result is delivered on the
// thread that runs the message loop: err 0 and the first IPv4 address in
// network order, or a non-zero error. Returns an id for CancelHostLookup.
using HostLookupDone = std::function<void(int err, uint32_t addr)>;
uint32_t StartHostLookup(const std::string& host, HostLookupDone done);
// The result of a cancelled look-up is dropped.
void CancelHostLookup(uint32_t id);

}  // namespace plat
