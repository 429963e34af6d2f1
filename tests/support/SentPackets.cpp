#include "support/SentPackets.h"

#include "net/MySocket.h"

namespace {

std::vector<Packet>& Sent()
{
    static std::vector<Packet> sent;
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

std::vector<Packet> TakeSentPackets()
{
    (void)g_tapInstalled;
    std::vector<Packet> out;
    out.swap(Sent());
    return out;
}

void OpenTestMainSocket()
{
    (void)g_tapInstalled;
    if (!g_pMainSocket)
        g_pMainSocket = new CMySocket;
}

void CloseTestMainSocket()
{
    delete g_pMainSocket;
    g_pMainSocket = nullptr;
}
