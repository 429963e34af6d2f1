#include "support/SentPackets.h"

#include "net/MySocket.h"

namespace {

std::vector<SentPacket>& Sent()
{
    static std::vector<SentPacket> sent;
    return sent;
}

void Tap(const CMySocket* socket, const uint8_t* data, int length)
{
    if (socket == g_pMainSocket)
        Sent().emplace_back(data, data + length);
}

// Installed for every test program that links the support library.
const bool g_tapInstalled = [] {
    CMySocket::SetSendTap(&Tap);
    return true;
}();

}  // namespace

std::vector<SentPacket> TakeSentPackets()
{
    (void)g_tapInstalled;
    std::vector<SentPacket> out;
    out.swap(Sent());
    return out;
}

void OpenTestMainSocket()
{
    (void)g_tapInstalled;
    if (!g_pMainSocket)
        g_pMainSocket = new CMySocket;
    Sent().clear();
}

void CloseTestMainSocket()
{
    delete g_pMainSocket;
    g_pMainSocket = nullptr;
    Sent().clear();
}
