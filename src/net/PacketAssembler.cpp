#include "net/PacketAssembler.h"

#include <algorithm>
#include <cstring>

#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "core/ByteReader.h"
#include "net/MySocket.h"
#include "platform/Dialogs.h"

CPacketAssembler g_packetAssembler;

namespace {

IByteSource* g_packetSource;

// Fixed lengths by command; -1 where the command is not accepted.
constexpr std::array<int8_t, 126> MakeFixedTable()
{
    std::array<int8_t, 126> t{};
    for (auto& v : t)
        v = -1;
    struct Item {
        uint8_t cmd;
        int8_t fixed;
    };
    constexpr Item items[] = {
        {1, 2},   {2, 2},   {3, 11},  {4, 11},  {6, 2},   {7, 17},  {8, 5},   {10, 6},  {11, 6},
        {12, 10}, {21, 4},  {23, 4},  {25, 4},  {26, 6},  {27, 11}, {28, 6},  {29, 2},  {30, 6},
        {33, 6},  {35, 2},  {41, 8},  {42, 8},  {43, 0},  {44, 0},  {45, 2},  {46, 4},  {47, 0},
        {48, 0},  {49, 9},  {50, 1},  {51, 1},  {52, 3},  {60, 14}, {61, 14}, {62, 2},  {63, 2},
        {67, 2},  {68, 4},  {69, 4},  {80, 2},  {81, 80}, {82, 80}, {83, 14}, {84, 2},  {102, 3},
        {106, 1}, {110, 1}, {120, 2}, {121, 1}, {123, 1}, {124, 1}, {125, 1},
    };
    for (const Item& i : items)
        t[i.cmd] = i.fixed;
    return t;
}
constexpr auto kFixedLength = MakeFixedTable();

}  // namespace

int PacketFixedLength(int command)
{
    if (command < 0 || command >= static_cast<int>(kFixedLength.size()))
        return -1;
    return kFixedLength[static_cast<size_t>(command)];
}

int CharacterFieldTailLength(int field)
{
    switch (field) {
    case 0: case 1:
        return 12;
    case 2: case 3: case 4: case 5: case 6: case 22: case 29:
        return 0;
    case 20: case 21: case 26: case 27: case 31: case 32: case 35: case 36:
        return 2;
    case 23: case 24: case 25: case 28: case 30: case 68: case 69:
        return 4;
    case 33:
        return 200;
    case 34:
        return 16;
    case 37:
        return 40;
    case 50:
        return 436;
    case 63:
        return 5;
    default:
        return field >= 7 && field <= 19 ? 4 : -1;
    }
}

int PacketTailLength(const uint8_t* packet)
{
    const int command = packet[0];
    const int fixed = PacketFixedLength(command);
    if (fixed < 0)
        return -1;
    CByteReader r(packet, static_cast<size_t>(1 + fixed));
    auto u8At = [&r](size_t off) { r.Seek(off); return static_cast<int>(r.U8()); };
    auto u16At = [&r](size_t off) { r.Seek(off); return static_cast<int>(r.U16()); };
    switch (command) {
    case 7:
        return u16At(16);
    case 8:
        return u16At(4);
    case 10:
        return u16At(5) * 10;
    case 27:
        return u8At(11) * 20;
    case 29:
    case 45:
        return u16At(1) * 6;
    case 30:
        return u16At(5);
    case 52:
        return CharacterFieldTailLength(u8At(3));
    case 102:
        switch (u8At(1)) {
        case 1: return 98;
        case 2: return 11;
        case 3: return u16At(2);
        case 4: return 18;
        default: return 0;
        }
    case 110:
        return u8At(1) == 'e' ? 0 : 90;
    case 120: {
        const int result = u8At(1);
        return result == 5 || result == 6 ? 341 : 0;
    }
    default:
        return 0;
    }
}

// ---- CPacketAssembler ----------------------------------------------------

void CPacketAssembler::Reset()
{
    m_inProgress = 0;
    m_received = 0;
    m_headerLen = 1;
    m_fixedEnd = 0;
    m_tailEnd = 0;
    m_readPos = 0;
    m_packetLen = 0;
    m_command = 0;
    m_failed = false;
}

CPacketAssembler::Result CPacketAssembler::Read(IByteSource& src, int end)
{
    int len = end - m_received;
    const int r = src.Read(m_buffer.data() + m_received, len);
    if (r < 0)
        return kReadError;
    // A source never hands out more than asked; trust no more than that.
    m_received += std::clamp(r, 0, end - m_received);
    return m_received < end ? kIncomplete : kReady;
}

CPacketAssembler::Result CPacketAssembler::Assemble(IByteSource& src)
{
    if (m_failed)
        return kIncomplete;
    auto fail = [this](Result why) {
        m_inProgress = 0;
        m_failed = true;
        return why;
    };
    if (!m_inProgress) {
        m_received = 0;
        m_headerLen = 1;
    }
    if (m_received < m_headerLen) {
        const Result r = Read(src, m_headerLen);
        if (r == kReadError)
            return fail(r);
        if (r != kReady)
            return r;
        const int fixed = PacketFixedLength(m_buffer[0]);
        if (fixed < 0)
            return fail(kProtocolError);
        m_inProgress = 1;
        m_fixedEnd = m_headerLen + fixed;
        m_tailEnd = fixed == 0 ? m_fixedEnd : 0;
    }
    if (m_tailEnd == 0) {
        const Result r = Read(src, m_fixedEnd);
        if (r == kReadError)
            return fail(r);
        if (r != kReady)
            return r;
        const int tail = PacketTailLength(m_buffer.data());
        if (tail < 0 || m_fixedEnd + tail > kPacketBufferSize)
            return fail(kProtocolError);
        m_tailEnd = m_fixedEnd + tail;
    }
    if (m_received < m_tailEnd) {
        const Result r = Read(src, m_tailEnd);
        if (r == kReadError)
            return fail(r);
        if (r != kReady)
            return r;
    }
    m_inProgress = 0;
    MarkPacketReady(m_received);
    return kReady;
}

void CPacketAssembler::MarkPacketReady(int length)
{
    m_readPos = 0;
    m_packetLen = std::clamp(length, 0, kPacketBufferSize);
    m_command = m_buffer[0];
}

int CPacketAssembler::NetRead(void* dst, int n)
{
    if (!dst || n <= 0)
        return 0;
    const int count = std::clamp(m_packetLen - m_readPos, 0, n);
    auto* out = static_cast<uint8_t*>(dst);
    std::memcpy(out, m_buffer.data() + m_readPos, static_cast<size_t>(count));
    std::memset(out + count, 0, static_cast<size_t>(n - count));
    m_readPos += count;
    return count;
}

// ---- the main connection's framing ---------------------------------------

void SetPacketSource(IByteSource* source) { g_packetSource = source; }

int AssemblePacket()
{
    IByteSource* src = g_packetSource ? g_packetSource : g_pMainSocket;
    if (!g_pView || !src)
        return 0;
    switch (g_packetAssembler.Assemble(*src)) {
    case CPacketAssembler::kReady:
        return 1;
    case CPacketAssembler::kReadError: {
        // A server that was never reached is "unavailable", not "lost".
        const bool neverConnected = !g_packetSource && !g_pMainSocket->HasConnected();
        plat::MessageBox("", GetGameString(neverConnected ? IDS_SERVER_UNAVAILABLE : IDS_CONNECTION_LOST));
        ExitGame();
        return 0;
    }
    case CPacketAssembler::kProtocolError:
        plat::MessageBox("", GetGameString(IDS_PROTOCOL_ERROR));
        ExitGame();
        return 0;
    default:
        return 0;
    }
}

void MarkPacketReady(int length) { g_packetAssembler.MarkPacketReady(length); }

int NetRead(void* dst, int n) { return g_packetAssembler.NetRead(dst, n); }

int NetSkip(int n)
{
    uint8_t scratch[256];
    int total = 0;
    while (n > 0) {
        const int want = std::min(n, static_cast<int>(sizeof scratch));
        const int got = g_packetAssembler.NetRead(scratch, want);
        total += got;
        if (got < want)
            break;
        n -= got;
    }
    return total;
}
