#include "support/DemoServer.h"

#include <poll.h>

#include <algorithm>
#include <cstring>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "intro/AccountRecord.h"
#include "platform/Clock.h"
#include "support/DemoArea.h"
#include "world/CharacterRecord.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr const char* kCharacterName = "Hero";
// More unframed input than this is dropped.
constexpr size_t kMaxPending = 1 << 16;

enum : uint8_t {
    kCmdVersion = 1,
    kCmdChoice = 2,
    kCmdEnter = 3,
    kCmdLeave = 5,
    kCmdStep = 10,
    kCmdBattle = 30,
    kCmdReady = 50,
    kCmdFieldRequest = 52,
    kCmdFieldSend = 53,
    kCmdCutOther = 'c',
    kCmdColony = 'd',
    kCmdColonyExists = 'j',
    kCmdLogin = 120,
    kCmdRegister = 121,
};

// Whole lengths of the client's commands of one size.
int FixedClientLength(int cmd)
{
    switch (cmd) {
    case 1: case 54: case 55: case 'j': return 1;
    case 50: case 51: return 2;
    case 5: case 20: case 22: case 34: case 47: case 48: return 3;
    case 52: case 'e': return 4;
    case 10: case 24: case 27: case 46: case 'h': return 5;
    case 3: case 'g': return 6;
    case 31: case 32: return 7;
    case 26: case '[': return 8;
    case 36: case 41: case 42: case 'i': return 9;
    case 'c': return 13;
    case 2: return 15;
    case 120: return 23;
    case 121: return 342;
    default: return -1;
    }
}

Bytes U16Packet(uint8_t cmd, uint16_t v) { return {cmd, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }

}  // namespace

int CDemoServer::ClientPacketLength(const uint8_t* data, size_t n)
{
    if (n == 0)
        return 0;
    const int cmd = data[0];
    const int fixed = FixedClientLength(cmd);
    if (fixed > 0)
        return fixed;
    auto need = [n](size_t k) { return n < k; };
    switch (cmd) {
    case kCmdBattle:
        // flag, battle number, sub-command, u16 length, then the body
        if (need(7))
            return 0;
        return 7 + (data[5] | (data[6] << 8));
    case kCmdFieldSend: {
        if (need(2))
            return 0;
        const int size = CharacterFieldSendSize(data[1]);
        return size > 0 ? 2 + size : -1;
    }
    case kCmdColony:
        if (need(2))
            return 0;
        switch (data[1]) {
        case 1: return 2 + 100;
        case 2: return 15;
        case 3:
            if (need(4))
                return 0;
            return 4 + (data[2] | (data[3] << 8));
        case 4: return 22;
        default: return -1;
        }
    default:
        return -1;
    }
}

CDemoServer::CDemoServer(uint16_t port)
{
    m_listening = m_listener.Listen(port) == 0;
    const uint16_t types[kWanderers] = {1, 2, 4, 5};
    const int offsets[kWanderers][2] = {{3, -2}, {-3, 2}, {4, 3}, {-2, -4}};
    for (int i = 0; i < kWanderers; ++i) {
        const int x = kStartX + offsets[i][0];
        const int y = kStartY + offsets[i][1];
        m_wanderers.push_back({static_cast<uint16_t>(101 + i), types[i], x, y, x, y});
    }
    m_areas.push_back(MakeDemoTrade(*this));
    m_areas.push_back(MakeDemoSocial(*this));
    m_areas.push_back(MakeDemoColony(*this));
    // The monster's battle goes here: m_areas.push_back(MakeDemoBattle(*this)).
}

CDemoServer::~CDemoServer()
{
    if (m_registered)
        plat::Loop().RemoveEventSource(this);
}

void CDemoServer::Register()
{
    plat::Loop().AddEventSource(this);
    m_registered = true;
}

int CDemoServer::Seen(int command) const
{
    return command >= 0 && command < 256 ? m_seen[command] : 0;
}

void CDemoServer::AppendPollFds(std::vector<struct pollfd>& fds)
{
    if (m_conn.IsValid())
        fds.push_back({m_conn.Fd(), static_cast<short>(POLLIN | (m_out.empty() ? 0 : POLLOUT)), 0});
}

void CDemoServer::Pump()
{
    if (!m_listening)
        return;
    // One client at a time; a later caller is turned away.
    plat::CTcpSocket extra;
    while (m_accepted ? m_listener.Accept(extra) : false) {
        extra.Close();
        ++m_refused;
    }
    if (!m_accepted) {
        if (!m_listener.Accept(m_conn))
            return;
        m_accepted = true;
        m_lastWander = plat::NowMs();
    }
    if (m_clientGone)
        return;
    ReadAvailable();
    size_t off = 0;
    while (off < m_in.size()) {
        const int len = ClientPacketLength(m_in.data() + off, m_in.size() - off);
        if (len < 0) {
            // Nothing after an unknown byte can be framed: all of it goes.
            ++m_dropped;
            off = m_in.size();
            break;
        }
        if (len == 0 || static_cast<size_t>(len) > m_in.size() - off)
            break;
        Handle(m_in.data() + off, static_cast<size_t>(len));
        off += static_cast<size_t>(len);
    }
    m_in.erase(m_in.begin(), m_in.begin() + static_cast<std::ptrdiff_t>(off));
    if (m_in.size() > kMaxPending) {
        m_in.clear();
        ++m_dropped;
    }
    if (m_entered) {
        Wander();
        for (auto& area : m_areas)
            area->Tick(plat::NowMs());
    }
    Flush();
}

bool ReceiveAvailable(plat::CTcpSocket& conn, std::vector<uint8_t>& in)
{
    uint8_t buf[16384];
    for (;;) {
        size_t got = 0;
        const int err = conn.Recv(buf, sizeof buf, got);
        if (err != 0)
            return plat::IsTransientSocketError(err);
        if (got == 0)
            return false;
        in.insert(in.end(), buf, buf + got);
    }
}

bool SendPending(plat::CTcpSocket& conn, std::vector<uint8_t>& out)
{
    while (!out.empty()) {
        size_t sent = 0;
        const int err = conn.Send(out.data(), out.size(), sent);
        out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(sent));
        if (err != 0)
            return plat::IsTransientSocketError(err);
        if (sent == 0)
            return true;
    }
    return true;
}

void CDemoServer::ReadAvailable()
{
    if (!ReceiveAvailable(m_conn, m_in))
        m_clientGone = true;
}

void CDemoServer::Send(const Bytes& bytes)
{
    m_out.insert(m_out.end(), bytes.begin(), bytes.end());
}

void CDemoServer::Flush()
{
    if (!m_clientGone && !SendPending(m_conn, m_out))
        m_clientGone = true;
}

Bytes CDemoServer::CharacterRecordBytes(uint16_t id, int x, int y, uint16_t type) const
{
    CByteWriter w;
    w.U16(id).U16(static_cast<uint32_t>(x)).U16(static_cast<uint32_t>(y)).U16(type).U8(0).U8(0);
    return w.Buffer();
}

void CDemoServer::Handle(const uint8_t* p, size_t n)
{
    const int cmd = p[0];
    ++m_seen[cmd];
    if (m_entered)
        ++m_afterEntry;
    for (auto& area : m_areas)
        if (area->Handle(p, n))
            return;
    CByteReader r(p, n);
    r.Skip(1);
    switch (cmd) {
    case kCmdLogin: {
        AccountRecord account;
        char id[13] = {};
        std::memcpy(id, p + 1, 12);
        account.SetText(AccountRecord::kId, AccountRecord::kIdSize, id);
        const bool gameMaster = std::strncmp(id, kGameMasterPrefix, std::strlen(kGameMasterPrefix)) == 0;
        account.SetI16(AccountRecord::kLevel, gameMaster ? AccountRecord::kGmLevel : 1);
        account.SetSlot(1, 0, kCharacterName, 1);
        Bytes reply = {kCmdLogin, 5, 0};
        reply.insert(reply.end(), account.bytes.begin(), account.bytes.end());
        Send(reply);
        break;
    }
    case kCmdRegister:
        Send({kCmdRegister, 0});
        break;
    case kCmdVersion:
        Send(U16Packet(kCmdVersion, kVersion));
        break;
    case kCmdChoice:
        Send(U16Packet(kCmdChoice, kPlayerId));
        break;
    case kCmdReady:
        Send({kCmdReady, 1});
        break;
    case kCmdColonyExists:
        Send({kCmdColonyExists, 1});
        break;
    case kCmdFieldRequest: {
        const uint16_t id = r.U16();
        const int field = r.U8();
        const int size = CharacterFieldReceiveSize(field);
        if (size < 0)
            break;
        Bytes reply = U16Packet(kCmdFieldRequest, id);
        reply.push_back(static_cast<uint8_t>(field));
        Bytes payload(static_cast<size_t>(size), 0);
        if (field == 50 && id == kPlayerId) {
            CharacterRecord rec;
            std::memcpy(rec.bytes.data() + CharacterRecord::kName, kCharacterName, std::strlen(kCharacterName));
            rec.bytes[CharacterRecord::kTypeName] = '0';
            rec.SetU32(CharacterRecord::kLevel, 1);
            rec.SetU32(CharacterRecord::kHp, 100);
            rec.SetU32(CharacterRecord::kMp, 40);
            for (size_t off = CharacterRecord::kWisdom; off <= CharacterRecord::kCourage; off += 4)
                rec.SetU32(off, 10);
            for (size_t i = 0; i < m_items.size(); ++i)
                rec.SetU16(CharacterRecord::kItems + 2 * i, m_items[i]);
            std::copy(rec.bytes.begin(), rec.bytes.begin() + CharacterRecord::kFieldImageSize, payload.begin());
        } else if (field == 0 || field == 1) {
            const char* name = id == kPlayerId ? kCharacterName : "Wanderer";
            std::memcpy(payload.data(), name, std::strlen(name));
        }
        reply.insert(reply.end(), payload.begin(), payload.end());
        Send(reply);
        break;
    }
    case kCmdEnter: {
        r.U8();  // stage + 1
        m_x = r.U16();
        m_y = r.U16();
        CByteWriter w;
        w.U8(kCmdEnter).U16(kPlayerId).U8(0).U16(static_cast<uint32_t>(m_x)).U16(static_cast<uint32_t>(m_y));
        w.U16(0).U8(0).U8(0);
        Send(w.Buffer());
        for (const Wanderer& c : m_wanderers) {
            // An appearance has a byte between the id and the cell.
            const Bytes rec = CharacterRecordBytes(c.id, c.x, c.y, c.type);
            Bytes appear = {4, rec[0], rec[1], 0};
            appear.insert(appear.end(), rec.begin() + 2, rec.end());
            Send(appear);
        }
        m_entered = true;
        m_lastWander = plat::NowMs();
        break;
    }
    case kCmdStep: {
        m_x = r.U16();
        m_y = r.U16();
        m_steps.emplace_back(m_x, m_y);
        // Where the player now stands, and who is in sight.
        CByteWriter w;
        w.U8(kCmdStep).U16(static_cast<uint32_t>(m_x)).U16(static_cast<uint32_t>(m_y));
        w.U16(static_cast<uint32_t>(m_wanderers.size()));
        for (const Wanderer& c : m_wanderers) {
            const Bytes rec = CharacterRecordBytes(c.id, c.x, c.y, c.type);
            w.Bytes(rec.data(), rec.size());
        }
        Send(w.Buffer());
        ++m_echoes;
        break;
    }
    case kCmdLeave:
        m_entered = false;
        break;
    case kCmdFieldSend:
        TakeItemReport(r);
        break;
    default:
        break;  // taken and dropped
    }
}

// [53][51][u8 slot][u16 id] for an added item, [53][52][u8 i][u16 id]
// [u8 j][u16 id] for a removal; other fields are dropped.
void CDemoServer::TakeItemReport(CByteReader& r)
{
    const int field = r.U8();
    const int entries = field == 51 ? 1 : field == 52 ? 2 : 0;
    for (int k = 0; k < entries; ++k) {
        const size_t slot = r.U8();
        const uint16_t id = static_cast<uint16_t>(r.U16());
        if (slot < m_items.size())
            m_items[slot] = id;
    }
}

void CDemoServer::Wander()
{
    const uint32_t now = plat::NowMs();
    if (now - m_lastWander < kWanderMs)
        return;
    m_lastWander = now;
    // One of them takes a short walk near home each time.
    m_rand = m_rand * 1103515245u + 12345u;
    Wanderer& c = m_wanderers[(m_rand >> 16) % m_wanderers.size()];
    m_rand = m_rand * 1103515245u + 12345u;
    const int dx = static_cast<int>((m_rand >> 16) % 5) - 2;
    const int dy = static_cast<int>((m_rand >> 20) % 5) - 2;
    c.x = std::clamp(c.x + dx, c.homeX - 3, c.homeX + 3);
    c.y = std::clamp(c.y + dy, c.homeY - 3, c.homeY + 3);
    Bytes move = {12};
    const Bytes rec = CharacterRecordBytes(c.id, c.x, c.y, c.type);
    move.insert(move.end(), rec.begin(), rec.end());
    Send(move);
}
