#include "social/ChatLine.h"

#include <cstdint>

#include "core/ByteReader.h"
#include "net/PacketAssembler.h"

CChatLine g_chatLine;
std::array<char, 12> g_lastWhisperer;

int CChatLine::ParseCommand(const char* /*line*/)
{
    return 0;
}

void CChatLine::OnReply()
{
    uint8_t head[5];
    if (NetRead(head, sizeof head) != static_cast<int>(sizeof head))
        return;
    CByteReader r(head, sizeof head);
    r.Seek(3);
    NetSkip(r.U16());
}
