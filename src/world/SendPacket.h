// Hands a built packet to the main socket (which drops it while offline).
#pragma once
#include "core/ByteWriter.h"
#include "net/MySocket.h"

inline void SendPacket(const CByteWriter& w)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}
