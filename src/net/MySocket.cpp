#include "net/MySocket.h"

#include "platform/Debug.h"

CMySocket* g_pMainSocket;

namespace {
int g_sendCounter;
}

int CMySocket::Connect(const char* host, int port)
{
    m_host = host ? host : "";
    m_port = port;
    m_open = true;
    return 0;
}

int CMySocket::SendCommand(const void* data, int length)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    plat::DebugPrintf("  #%d send command %d\n", g_sendCounter++, length > 0 ? bytes[0] : -1);
    if (!m_open || length <= 0)
        return 0;
    m_sent.emplace_back(bytes, bytes + length);
    return 1;
}

int CMySocket::Read(void* dst, int& len)
{
    if (m_received.empty()) {
        len = 0;
        return m_open ? 0 : -1;
    }
    auto* out = static_cast<uint8_t*>(dst);
    int n = 0;
    while (n < len && !m_received.empty()) {
        out[n++] = m_received.front();
        m_received.pop_front();
    }
    len = n;
    return n;
}

int CMySocket::Peek(void* dst, int len) const
{
    if (m_received.empty())
        return m_open ? 0 : -1;
    auto* out = static_cast<uint8_t*>(dst);
    int n = 0;
    for (auto it = m_received.begin(); n < len && it != m_received.end(); ++it)
        out[n++] = *it;
    return n;
}

int CMySocket::Close()
{
    m_open = false;
    return 1;
}
