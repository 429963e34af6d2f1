#include "support/SentPackets.h"

#include "net/MySocket.h"

namespace {
std::vector<SentPacket> g_sent;

void Tap(const CMySocket* socket, const uint8_t* data, int length)
{
    if (socket == g_pMainSocket)
        g_sent.emplace_back(data, data + length);
}

// Installed before any test runs, so whole-client tests see every packet.
const bool g_installed = [] {
    CMySocket::s_sendTap = Tap;
    return true;
}();
}  // namespace

std::vector<SentPacket> TakeSentPackets()
{
    (void)g_installed;
    std::vector<SentPacket> out;
    out.swap(g_sent);
    return out;
}

void OpenTestMainSocket()
{
    CMySocket::s_sendTap = Tap;
    if (!g_pMainSocket)
        g_pMainSocket = new CMySocket;
    g_sent.clear();
}

void CloseTestMainSocket()
{
    delete g_pMainSocket;
    g_pMainSocket = nullptr;
    g_sent.clear();
}
