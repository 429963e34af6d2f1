#include "world/ObjLayer.h"

#include "app/ReceiveDispatch.h"
#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "net/MySocket.h"

namespace {
void Send(const CByteWriter& w)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}
}  // namespace

CObjLayer::CObjLayer(CDisplay* display, CBGLayer* background)
    : m_pDisplay(display), m_pBackground(background)
{
}

void CObjLayer::SendLeaveField() { Send(CByteWriter().U8(5).U16(g_myId)); }
void CObjLayer::LeaveArea() { Send(CByteWriter().U8(34).U16(g_myId)); }
void CObjLayer::SendLogout() { Send(CByteWriter().U8(51).U8('O')); }
void CObjLayer::SendQuitNotice() { Send(CByteWriter().U8(55)); }
void CObjLayer::SendKeepAlive() { Send(CByteWriter().U8(54)); }

void CObjLayer::SendUserId(const char* name)
{
    CByteWriter w;
    w.U8('c').FixedString(name ? name : "", 12);
    g_playerIdState = 0;
    Send(w);
}

void CObjLayer::SendCharacterField(int field, int, int)
{
    CByteReader rec(m_myRecord.data(), m_myRecord.size());
    CByteWriter w;
    w.U8(53).U8(static_cast<uint32_t>(field));
    switch (field) {
    case 7:   // game time
    case 9:   // HP
    case 10:  // MP
        rec.Seek(field == 7 ? 124 : 128 + 4 * (static_cast<size_t>(field) - 8));
        w.U32(rec.U32());
        break;
    case 36:  // log-outs during a death match
        rec.Seek(218);
        w.U16(rec.U16());
        break;
    default:
        return;
    }
    Send(w);
}
