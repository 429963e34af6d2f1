#include "platform/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/Loop.h"

namespace plat {

bool IsTransientSocketError(int err)
{
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

bool IsConnectInProgress(int err) { return err == EINPROGRESS || err == EALREADY; }

bool ParseDottedAddress(const char* host, uint32_t& addr)
{
    if (!host)
        return false;
    in_addr a{};
    if (::inet_pton(AF_INET, host, &a) != 1)
        return false;
    addr = a.s_addr;
    return true;
}

CTcpSocket::~CTcpSocket() { Close(); }

int CTcpSocket::Create(int bufferSize)
{
    if (m_fd >= 0)
        return 0;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return errno;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof bufferSize);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bufferSize, sizeof bufferSize);
    // Commands are small and answered one by one: each leaves at once
    // instead of waiting behind the previous one's acknowledgement.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    m_fd = fd;
    return 0;
}

int CTcpSocket::Connect(uint32_t addr, uint16_t port)
{
    if (m_fd < 0)
        return EBADF;
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = addr;
    for (;;) {
        if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
            return 0;
        if (errno != EINTR)
            return errno;
        // Interrupted: the connect goes on in the background.
        return EINPROGRESS;
    }
}

int CTcpSocket::TakePendingError()
{
    if (m_fd < 0)
        return EBADF;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        return errno;
    return err;
}

int CTcpSocket::Send(const void* data, size_t len, size_t& sent)
{
    sent = 0;
    if (m_fd < 0)
        return EBADF;
    ssize_t n = ::send(m_fd, data, len, MSG_NOSIGNAL);
    if (n < 0)
        return errno;
    sent = static_cast<size_t>(n);
    return 0;
}

int CTcpSocket::Recv(void* dst, size_t len, size_t& got)
{
    got = 0;
    if (m_fd < 0)
        return EBADF;
    ssize_t n = ::recv(m_fd, dst, len, 0);
    if (n < 0)
        return errno;
    got = static_cast<size_t>(n);
    return 0;
}

unsigned CTcpSocket::Poll(bool wantRead, bool wantWrite) const
{
    if (m_fd < 0)
        return 0;
    pollfd p{m_fd, static_cast<short>((wantRead ? POLLIN : 0) | (wantWrite ? POLLOUT : 0)), 0};
    if (::poll(&p, 1, 0) <= 0)
        return 0;
    unsigned r = 0;
    if (p.revents & POLLIN)
        r |= kSockReadable;
    if (p.revents & POLLOUT)
        r |= kSockWritable;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
        r |= kSockError;
    return r;
}

bool CTcpSocket::WaitWritable(int timeoutMs) const
{
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLOUT, 0};
    int r;
    do {
        r = ::poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR);
    return r > 0 && (p.revents & POLLOUT) && !(p.revents & (POLLERR | POLLHUP | POLLNVAL));
}

void CTcpSocket::Close()
{
    if (m_fd < 0)
        return;
    ::shutdown(m_fd, SHUT_WR);
    ::close(m_fd);
    m_fd = -1;
}

void CTcpSocket::Abort()
{
    if (m_fd < 0)
        return;
    linger l{1, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::close(m_fd);
    m_fd = -1;
}

void CTcpSocket::Adopt(int fd)
{
    Close();
    m_fd = fd;
}

// ---- CTcpListener --------------------------------------------------------

CTcpListener::~CTcpListener() { Close(); }

int CTcpListener::Listen(uint16_t port)
{
    Close();
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return errno;
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
        int err = errno;
        ::close(fd);
        return err;
    }
    m_fd = fd;
    m_port = ntohs(sa.sin_port);
    return 0;
}

bool CTcpListener::Accept(CTcpSocket& out)
{
    if (m_fd < 0)
        return false;
    int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return false;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    out.Adopt(fd);
    return true;
}

void CTcpListener::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_port = 0;
}

// ---- host-name look-up ---------------------------------------------------

namespace {

struct Lookup {
    HostLookupDone done;
    bool finished = false;
    int err = 0;
    uint32_t addr = 0;
};

// Collects the workers' results and hands them out on the loop's thread.
// Never destroyed: a worker may still finish while the process exits.
class CLookupBoard : public IMessageTarget {
public:
    uint32_t Start(const std::string& host, HostLookupDone done)
    {
        uint32_t id;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            id = ++m_nextId;
            if (id == 0)
                id = ++m_nextId;
            m_pending[id].done = std::move(done);
        }
        try {
            std::thread([this, id, host] { Resolve(id, host); }).detach();
        } catch (const std::system_error&) {
            Finish(id, EAGAIN, 0);
        }
        return id;
    }

    void Cancel(uint32_t id)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pending.erase(id);
    }

    void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t) override
    {
        if (msg != kMsgHostLookupDone)
            return;
        Lookup result;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            auto it = m_pending.find(static_cast<uint32_t>(wParam));
            if (it == m_pending.end() || !it->second.finished)
                return;
            result = std::move(it->second);
            m_pending.erase(it);
        }
        if (result.done)
            result.done(result.err, result.addr);
    }

private:
    void Resolve(uint32_t id, const std::string& host)
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* list = nullptr;
        int err = 0;
        uint32_t addr = 0;
        if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || !list) {
            err = EHOSTUNREACH;
        } else {
            addr = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
        }
        if (list)
            ::freeaddrinfo(list);
        Finish(id, err, addr);
    }

    void Finish(uint32_t id, int err, uint32_t addr)
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            auto it = m_pending.find(id);
            if (it == m_pending.end())
                return;  // cancelled
            it->second.finished = true;
            it->second.err = err;
            it->second.addr = addr;
        }
        Loop().PostMessage(this, kMsgHostLookupDone, id, 0);
    }

    std::mutex m_lock;
    std::map<uint32_t, Lookup> m_pending;
    uint32_t m_nextId = 0;
};

CLookupBoard& Board()
{
    static CLookupBoard* board = new CLookupBoard;
    return *board;
}

}  // namespace

uint32_t StartHostLookup(const std::string& host, HostLookupDone done)
{
    return Board().Start(host, std::move(done));
}

void CancelHostLookup(uint32_t id)
{
    if (id != 0)
        Board().Cancel(id);
}

}  // namespace plat
