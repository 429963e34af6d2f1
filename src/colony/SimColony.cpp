#include "colony/SimColony.h"

#include <cstdint>

#include "core/ByteReader.h"
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
