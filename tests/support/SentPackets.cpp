#include "support/SentPackets.h"

#include "net/MySocket.h"

std::vector<Packet> TakeSentPackets()
{
    std::vector<Packet> out;
    if (g_pMainSocket)
        out.swap(g_pMainSocket->m_sent);
    return out;
}

void OpenTestMainSocket()
{
    if (!g_pMainSocket)
        g_pMainSocket = new CMySocket;
    g_pMainSocket->Connect("127.0.0.1", 8020);
}

void CloseTestMainSocket()
{
    delete g_pMainSocket;
    g_pMainSocket = nullptr;
}
