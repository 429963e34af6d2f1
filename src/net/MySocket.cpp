#include "net/MySocket.h"

#include <algorithm>
#include <cstring>

#include "platform/Debug.h"

CMySocket* g_pMainSocket;

namespace {
int g_sendCounter;
// Blocks taken per pass, so a flooding peer cannot hold up the frame.
constexpr int kMaxReceivesPerPump = 32;
}  // namespace

// ---- CPacketBuf ----------------------------------------------------------

CPacketBuf::CPacketBuf(const void* data, int length)
{
    const auto* p = static_cast<const uint8_t*>(data);
    m_data.assign(p, p + std::max(length, 0));
}

int CPacketBuf::Consume(int n)
{
    m_start = n < Length() ? m_start + std::max(n, 0) : static_cast<int>(m_data.size());
    return Length();
}

// ---- CMySocket -----------------------------------------------------------

CMySocket::CMySocket() { CreateSocket(); }

CMySocket::~CMySocket()
{
    for (size_t i = 0; i < m_recvList.size(); ++i)
        plat::DebugOut("\n아직 처리되지 않은 데이터가 있었당~~~\n");
    m_recvList.clear();
    m_sendList.clear();
    Close();
}

int CMySocket::CreateSocket()
{
    if (m_sock.IsValid())
        return 1;
    if (int err = m_sock.Create(kBufferSize); err != 0) {
        m_lastError = err;
        return 0;
    }
    return 1;
}

int CMySocket::ErrorCheck(int err)
{
    if (err == 0 || plat::IsTransientSocketError(err))
        return 0;
    m_lastError = err;
    Close();
    return 1;
}

int CMySocket::AsyncSelect(uint32_t mask)
{
    if (!IsOpen())
        return 0;
    m_eventMask = mask;
    if (mask != 0 && !m_registered) {
        plat::Loop().AddEventSource(this);
        m_registered = true;
    } else if (mask == 0 && m_registered) {
        plat::Loop().RemoveEventSource(this);
        m_registered = false;
    }
    return 1;
}

int CMySocket::Connect(const char* host, int port)
{
    if (!host || port <= 0 || port > 65535)
        return -1;
    if (IsOpen() && (m_connecting || m_maySend || m_lookupId))
        return -1;  // already connecting or connected
    if (!IsOpen()) {
        // Nothing of an earlier connection may leak into this one.
        m_sendList.clear();
        m_recvList.clear();
    }
    if (!CreateSocket())
        return -1;
    ++m_connection;
    m_port = static_cast<uint16_t>(port);
    m_hasConnected = false;
    m_lastError = 0;
    uint32_t addr = 0;
    if (plat::ParseDottedAddress(host, addr)) {
        OnHostResolved(0, addr);
        return IsOpen() ? m_sock.Fd() : -1;
    }
    m_lookupId = plat::StartHostLookup(host, [this](int err, uint32_t resolved) {
        m_lookupId = 0;
        OnHostResolved(err, resolved);
    });
    return 1;
}

int CMySocket::ConnectSecondary(const char* host, int port) { return Connect(host, port); }

void CMySocket::OnHostResolved(int err, uint32_t addr)
{
    if (err != 0) {
        // No address, whatever the reason: nothing will ever connect.
        m_lastError = err;
        Close();
        return;
    }
    m_addr = addr;
    m_connecting = true;
    AsyncSelect(kEventConnect);
    const int e = m_sock.Connect(m_addr, m_port);
    // Even an immediate success is reported on the next pass, never here.
    if (e != 0 && !plat::IsConnectInProgress(e) && ErrorCheck(e))
        return;
    AsyncSelect(kConnectedMask);
}

void CMySocket::OnConnect(int err)
{
    m_connecting = false;
    if (ErrorCheck(err))
        return;
    m_maySend = 1;
    m_hasConnected = true;
    // The close event stays armed: a peer close must not go unnoticed.
    m_eventMask = kConnectedMask;
}

void CMySocket::OnReceive(int err)
{
    if (ErrorCheck(err))
        return;
    uint8_t block[kReceiveBlock];
    size_t got = 0;
    const int e = m_sock.Recv(block, sizeof block, got);
    if (e != 0) {
        ErrorCheck(e);
        return;
    }
    if (got == 0) {
        // The peer closed; what was received stays readable.
        OnClose(0);
        return;
    }
    m_recvList.emplace_back(block, static_cast<int>(got));
}

int CMySocket::OnSend(int err)
{
    if (ErrorCheck(err))
        return 0;
    while (!m_sendList.empty()) {
        CPacketBuf& head = m_sendList.front();
        size_t sent = 0;
        const int e = m_sock.Send(head.Data(), static_cast<size_t>(head.Length()), sent);
        if (e != 0) {
            ErrorCheck(e);  // would-block: the next pass resumes
            return 0;
        }
        if (sent == 0)
            return 0;
        if (head.Consume(static_cast<int>(sent)) == 0)
            m_sendList.pop_front();
    }
    return 1;
}

void CMySocket::OnClose(int err)
{
    ErrorCheck(err);
    Close();
}

namespace {
CMySocket::SendTap g_sendTap;
}

void CMySocket::SetSendTap(SendTap tap) { g_sendTap = tap; }

int CMySocket::SendCommand(const void* data, int length)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    plat::DebugPrintf("  #%d send command %d\n", g_sendCounter++, bytes && length > 0 ? bytes[0] : -1);
    if (g_sendTap && bytes && length > 0)
        g_sendTap(this, bytes, length);
    // A socket with no connect under way or done has nowhere to send: a
    // packet queued now would leave, stale, on some later connect.
    const bool connection = m_connecting || m_maySend || m_lookupId;
    if (!IsOpen() || !connection || !bytes || length <= 0)
        return 0;
    m_sendList.emplace_back(bytes, length);
    AsyncSelect(kConnectedMask);
    return 1;
}

int CMySocket::Read(void* dst, int& len)
{
    const int wanted = len;
    len = 0;
    if (m_recvList.empty())
        return IsOpen() ? 0 : -1;
    auto* out = static_cast<uint8_t*>(dst);
    int copied = 0;
    while (copied < wanted && !m_recvList.empty()) {
        CPacketBuf& head = m_recvList.front();
        const int n = std::min(wanted - copied, head.Length());
        std::memcpy(out + copied, head.Data(), static_cast<size_t>(n));
        copied += n;
        if (head.Consume(n) == 0)
            m_recvList.pop_front();
    }
    len = copied;
    return copied;
}

int CMySocket::Peek(void* dst, int len) const
{
    if (m_recvList.empty())
        return IsOpen() ? 0 : -1;
    auto* out = static_cast<uint8_t*>(dst);
    int copied = 0;
    for (auto it = m_recvList.begin(); copied < len && it != m_recvList.end(); ++it) {
        const int n = std::min(len - copied, it->Length());
        std::memcpy(out + copied, it->Data(), static_cast<size_t>(n));
        copied += n;
    }
    return copied;
}

int CMySocket::Close()
{
    if (m_lookupId) {
        plat::CancelHostLookup(m_lookupId);
        m_lookupId = 0;
    }
    if (m_sock.IsValid()) {
        // One last try for what is queued; the system sends what it takes
        // after the close.
        if (CanSend()) {
            while (!m_sendList.empty()) {
                CPacketBuf& head = m_sendList.front();
                size_t sent = 0;
                if (m_sock.Send(head.Data(), static_cast<size_t>(head.Length()), sent) != 0 || sent == 0)
                    break;
                if (head.Consume(static_cast<int>(sent)) == 0)
                    m_sendList.pop_front();
            }
        }
        // Whatever has arrived is kept for Read; unread input left in the
        // system would also turn the close into a reset.
        uint8_t block[kReceiveBlock];
        for (int i = 0; i < kMaxReceivesPerPump; ++i) {
            size_t got = 0;
            if (m_sock.Recv(block, sizeof block, got) != 0 || got == 0)
                break;
            m_recvList.emplace_back(block, static_cast<int>(got));
        }
        m_sock.Close();
    }
    // Unsent packets can never leave now; received blocks stay readable.
    m_sendList.clear();
    if (m_registered) {
        plat::Loop().RemoveEventSource(this);
        m_registered = false;
    }
    m_maySend = 0;
    m_eventMask = 0;
    m_connecting = false;
    return 1;
}

void CMySocket::Flush(int timeoutMs)
{
    // Each round either sends something or waits; a round that can neither
    // ends the flush.
    while (CanSend() && !m_sendList.empty()) {
        if (!m_sock.WaitWritable(timeoutMs))
            return;
        const size_t before = m_sendList.size();
        const int headLen = m_sendList.front().Length();
        OnSend(0);
        if (m_sendList.size() == before && !m_sendList.empty() && m_sendList.front().Length() == headLen)
            return;
    }
}

void CMySocket::Pump()
{
    if (!IsOpen())
        return;
    if (m_connecting) {
        if (!(m_sock.Poll(false, true) & (plat::kSockWritable | plat::kSockError)))
            return;
        OnConnect(m_sock.TakePendingError());
        if (!IsOpen())
            return;
    }
    if (!m_maySend)
        return;
    if (!m_sendList.empty() && (m_sock.Poll(false, true) & plat::kSockWritable))
        OnSend(0);
    for (int i = 0; i < kMaxReceivesPerPump && IsOpen() && m_recvList.size() < kMaxReceiveBlocks; ++i) {
        if (!(m_sock.Poll(true, false) & (plat::kSockReadable | plat::kSockError)))
            break;
        OnReceive(0);
    }
}

void CMySocket::AppendPollFds(std::vector<struct pollfd>& fds)
{
    // Before its connect starts (a name look-up under way) a socket reports
    // a hang-up, which would end every wait at once.
    if (!IsOpen() || (!m_connecting && !m_maySend))
        return;
    // A full receive list is not read, so its input must not end the wait.
    short events = m_recvList.size() < kMaxReceiveBlocks ? POLLIN : 0;
    if (m_connecting || !m_sendList.empty())
        events |= POLLOUT;
    fds.push_back(pollfd{m_sock.Fd(), events, 0});
}
