#include "colony/SimColony.h"

#include <cstdint>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "net/MySocket.h"
#include "net/PacketAssembler.h"

CSimColony g_simColony;

void CSimColony::OnSimPacket()
{
    uint8_t head[3];
    if (NetRead(head, sizeof head) != static_cast<int>(sizeof head))
        return;
    CByteReader r(head, sizeof head);
    const uint8_t sub = r.U8();
    const uint16_t length = r.U16();
    switch (sub) {
    case 1: NetSkip(98); break;
    case 2: NetSkip(11); break;
    case 3: NetSkip(length); break;
    case 4: NetSkip(18); break;
    default: break;
    }
}

namespace {
void Send(const CByteWriter& w)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}
}  // namespace

void CSimColony::SendRequest(int subCode, uint16_t id)
{
    Send(CByteWriter().U8('e').U8(static_cast<uint32_t>(subCode)).U16(id));
}

void CSimColony::SendProfileText(const char* text)
{
    CByteWriter w;
    w.U8('d').U8(1).FixedString(text ? text : "", kProfileTextSize);
    Send(w);
}

void CSimColony::SendResources()
{
    Send(CByteWriter().U8('d').U8(2).U32(m_colonyValue).U8(m_rate).U16(m_wood).U16(m_stone).U16(m_iron).U16(m_crystal));
}

void CSimColony::SendFacilities()
{
    // No facilities are kept yet: an empty list.
    Send(CByteWriter().U8('d').U8(3).U16(0));
}

void CSimColony::SendCubes()
{
    CByteWriter w;
    w.U8('d').U8(4).Bytes(m_cubes.data(), m_cubes.size());
    Send(w);
}
