#include "support/DemoServer.h"

#include <poll.h>
#include <strings.h>

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

// More unframed input than this is dropped.
constexpr size_t kMaxPending = 1 << 16;
// A client that leaves this much of the server's output unread is let go.
constexpr size_t kMaxUnsent = 1 << 20;
// Steps kept for Steps().
constexpr size_t kMaxSteps = 4096;

enum : uint8_t {
    kCmdVersion = 1,
    kCmdChoice = 2,
    kCmdEnter = 3,
    kCmdLeave = 5,
    kCmdChat = 7,
    kCmdChatCommand = 8,
    kCmdStep = 10,
    kCmdBattle = 30,
    kCmdReady = 50,
    kCmdFieldRequest = 52,
    kCmdFieldSend = 53,
    kCmdCutOther = 'c',
    kCmdColony = 'd',
    kCmdColonyExists = 'j',
    kCmdRanking = 'n',
    kCmdLogin = 120,
    kCmdRegister = 121,
    kCmdCharacterName = 125,
};

// Whole lengths of the client's commands of one size.
int FixedClientLength(int cmd)
{
    switch (cmd) {
    case 1: case 54: case 55: case 'j': case 'C': case 'P': return 1;
    case 50: case 51: return 2;
    case 5: case 20: case 22: case 34: case 47: case 48: case '<': case '=': case '@': case 'D': case 'E':
    case 'S':
        return 3;
    case 52: case 'e': return 4;
    case 10: case 24: case 27: case 46: case 'h': return 5;
    case 3: case 'g': return 6;
    case 31: case 32: return 7;
    case 26: case '[': return 8;
    case 36: case 41: case 42: case 'i': return 9;
    case 'Q': case 'R': return 11;
    case 'c': return 13;
    case 2: case 'B': return 15;
    case 120: return 23;
    case 125: return 13;
    case 121: return 342;
    default: return -1;
    }
}

Bytes U16Packet(uint8_t cmd, uint16_t v) { return {cmd, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }

// Where a plain character field lives in the record: its offset and the
// bytes it takes there; false for the fields that are no part of it.
bool FieldPlace(int field, size_t& offset, size_t& width)
{
    struct Place {
        int field;
        size_t offset, width;
    };
    static constexpr Place kPlaces[] = {
        {0, 0, 12},    {1, 0, 12},    {7, 124, 4},   {20, 176, 2},  {21, 178, 2},  {23, 184, 4},
        {24, 188, 4},  {25, 192, 4},  {26, 196, 2},  {27, 198, 2},  {28, 200, 4},  {30, 208, 4},
        {31, 212, 2},  {32, 214, 2},  {33, 220, 200}, {34, 420, 16}, {35, 216, 2}, {36, 218, 2},
        {50, 0, 436},
    };
    if (field >= 8 && field <= 19) {
        offset = CharacterRecord::kLevel + 4 * static_cast<size_t>(field - 8);
        width = 4;
        return true;
    }
    for (const Place& p : kPlaces)
        if (p.field == field) {
            offset = p.offset;
            width = p.width;
            return true;
        }
    return false;
}

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
    case kCmdChat:
        // id, name, mode, u16 length, then the text
        if (need(18))
            return 0;
        return 18 + (data[16] | (data[17] << 8));
    case kCmdChatCommand:
        // sub-code, two bytes, u16 length, then the payload
        if (need(6))
            return 0;
        return 6 + (data[4] | (data[5] << 8));
    case kCmdRanking:
        if (need(2))
            return 0;
        switch (data[1]) {
        case 0: return 2;
        case 1: return 14;
        case 2: case 3: return 3;
        default: return -1;
        }
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
    // Four of the playable kinds, each by its own name.
    struct Kind {
        uint16_t type;
        const char* name;
        uint32_t cls;
        int dx, dy;
    };
    static constexpr Kind kKinds[kWanderers] = {
        {1, "Celinne", 2, 3, -2}, {2, "Andrew", 4, -3, 2}, {4, "Ingeborg", 2, 4, 3}, {5, "Reinhardt", 4, -2, -4}};
    for (int i = 0; i < kWanderers; ++i) {
        const Kind& k = kKinds[i];
        const int x = kStartX + k.dx;
        const int y = kStartY + k.dy;
        m_wanderers.push_back({static_cast<uint16_t>(101 + i), k.type, x, y, x, y, k.name, k.cls,
                               static_cast<uint32_t>(3 + 2 * i)});
    }
    // Wisdom, strength, constitution, agility, courage: 125 points over the
    // warrior's base make level 26, 60 over the mage's level 13.
    m_record = AccountCharacter(kCharacterName, '0', 1, {40, 40, 30, 30, 30}, 26);
    m_mage = AccountCharacter(kMageName, '2', 4, {40, 10, 30, 15, 10}, 13);
    m_areas.push_back(MakeDemoTrade(*this));
    m_areas.push_back(MakeDemoSocial(*this));
    m_areas.push_back(MakeDemoColony(*this));
    m_areas.push_back(MakeDemoBattle(*this));
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

std::vector<Bytes> CDemoServer::Taken(int command) const
{
    std::vector<Bytes> out;
    for (const Bytes& b : m_log)
        if (b[0] == command)
            out.push_back(b);
    return out;
}

std::array<uint16_t, 100> CDemoServer::Items() const
{
    std::array<uint16_t, 100> items{};
    for (int i = 0; i < CharacterRecord::kItemSlots; ++i)
        items[static_cast<size_t>(i)] = m_record.Item(i);
    return items;
}

const CDemoServer::Wanderer* CDemoServer::FindWanderer(uint16_t id) const
{
    for (const Wanderer& c : m_wanderers)
        if (c.id == id)
            return &c;
    return nullptr;
}

const CDemoServer::Wanderer* CDemoServer::FindWandererByName(const char* name, size_t size) const
{
    // As a player types it: in any case.
    const std::string wanted(name, strnlen(name, std::min<size_t>(size, 12)));
    for (const Wanderer& c : m_wanderers)
        if (strcasecmp(wanted.c_str(), c.name) == 0)
            return &c;
    return nullptr;
}

uint32_t CDemoServer::Rand()
{
    m_rand = m_rand * 1103515245u + 12345u;
    return (m_rand >> 16) & 0x7FFF;
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
    if (m_entered)
        Wander();
    // A battle goes on off the field.
    for (auto& area : m_areas)
        area->Tick(plat::NowMs());
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
    if (!m_clientGone && (!SendPending(m_conn, m_out) || m_out.size() > kMaxUnsent)) {
        m_clientGone = true;
        m_out.clear();
        m_conn.Close();
    }
}

CharacterRecord CDemoServer::AccountCharacter(const char* name, char type, uint32_t cls,
                                              const std::array<uint32_t, 5>& stats, uint32_t level)
{
    CharacterRecord rec;
    std::memcpy(rec.bytes.data() + CharacterRecord::kName, name, std::strlen(name));
    rec.bytes[CharacterRecord::kTypeName] = static_cast<uint8_t>(type);
    rec.SetU32(CharacterRecord::kClass, cls);
    rec.bytes[CharacterRecord::kClassGroup] = static_cast<uint8_t>(cls / 2);
    rec.SetU32(CharacterRecord::kLevel, level);
    for (size_t i = 0; i < stats.size(); ++i)
        rec.SetU32(CharacterRecord::kWisdom + 4 * i, stats[i]);
    // Full: the class group's base and the constitution's and the wisdom's
    // share, as the client reckons its maxima.
    static constexpr uint32_t kHpBase[3] = {200, 80, 80}, kMpBase[3] = {50, 120, 120};
    rec.SetU32(CharacterRecord::kHp, kHpBase[cls / 2] + stats[2] * 5 / 3);
    rec.SetU32(CharacterRecord::kMp, kMpBase[cls / 2] + stats[0] * 7 / 5);
    rec.SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(kStartMoney));
    return rec;
}

Bytes CDemoServer::CharacterRecordBytes(const Wanderer& c) const
{
    CByteWriter w;
    w.U16(c.id).U16(static_cast<uint32_t>(c.x)).U16(static_cast<uint32_t>(c.y)).U16(c.type).U8(0).U8(0);
    return w.Buffer();
}

void CDemoServer::Handle(const uint8_t* p, size_t n)
{
    const int cmd = p[0];
    ++m_seen[cmd];
    if (m_entered)
        ++m_afterEntry;
    m_log.emplace_back(p, p + n);
    if (m_log.size() > kLogSize)
        m_log.pop_front();
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
        m_gameMaster = std::strncmp(id, kGameMasterPrefix, std::strlen(kGameMasterPrefix)) == 0;
        account.SetI16(AccountRecord::kLevel, m_gameMaster ? AccountRecord::kGmLevel : 1);
        account.SetSlot(1, 0, kCharacterName, static_cast<int>(m_record.U32(CharacterRecord::kLevel)));
        account.SetSlot(kMageSlot, 2, kMageName, static_cast<int>(m_mage.U32(CharacterRecord::kLevel)));
        Bytes reply = {kCmdLogin, 5, 0};
        reply.insert(reply.end(), account.bytes.begin(), account.bytes.end());
        Send(reply);
        break;
    }
    case kCmdRegister:
        Send({kCmdRegister, 0});
        break;
    case kCmdCharacterName:
        // Any name is free; the new character's record follows as field 50.
        Send({kCmdCharacterName, 0});
        break;
    case kCmdVersion:
        Send(U16Packet(kCmdVersion, kVersion));
        break;
    case kCmdChoice:
        // [2][1][6][12-byte name]: the character chosen plays under its name;
        // the mage has a record of its own.
        if (strncasecmp(reinterpret_cast<const char*>(p + 3), kMageName, 12) == 0)
            m_record = m_mage;
        if (p[3] != 0)
            m_record.SetWireName(p + 3);
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
        AnswerField(id, r.U8());
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
            const Bytes rec = CharacterRecordBytes(c);
            Bytes appear = {4, rec[0], rec[1], 0};
            appear.insert(appear.end(), rec.begin() + 2, rec.end());
            Send(appear);
        }
        m_entered = true;
        m_lastWander = plat::NowMs();
        for (auto& area : m_areas)
            area->Entered();
        break;
    }
    case kCmdStep: {
        m_x = r.U16();
        m_y = r.U16();
        if (m_steps.size() < kMaxSteps)
            m_steps.emplace_back(m_x, m_y);
        // Where the player now stands, and who is in sight.
        CByteWriter w;
        w.U8(kCmdStep).U16(static_cast<uint32_t>(m_x)).U16(static_cast<uint32_t>(m_y));
        w.U16(static_cast<uint32_t>(m_wanderers.size()));
        for (const Wanderer& c : m_wanderers) {
            const Bytes rec = CharacterRecordBytes(c);
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
        TakeField(p, n);
        break;
    default:
        break;  // taken and dropped
    }
}

// [52][u16 id][u8 field][payload]: the player's fields from the record the
// server keeps, a wanderer's from its kind; nothing for anyone else.
void CDemoServer::AnswerField(uint16_t id, int field)
{
    const int size = CharacterFieldReceiveSize(field);
    if (size < 0)
        return;
    CharacterRecord rec;
    if (id == kPlayerId) {
        rec = m_record;
    } else if (const Wanderer* c = FindWanderer(id)) {
        std::memcpy(rec.bytes.data(), c->name, std::strlen(c->name));
        rec.SetU32(CharacterRecord::kClass, c->cls);
        rec.SetU32(CharacterRecord::kLevel, c->level);
        for (size_t off = CharacterRecord::kWisdom; off <= CharacterRecord::kCourage; off += 4)
            rec.SetU32(off, 8 + c->level);
        rec.SetU32(CharacterRecord::kHp, 100);
        rec.SetU16(CharacterRecord::kFame, 1000 + 10 * c->level);
    } else {
        return;
    }
    Bytes reply = U16Packet(kCmdFieldRequest, id);
    reply.push_back(static_cast<uint8_t>(field));
    Bytes payload(static_cast<size_t>(size), 0);
    size_t offset = 0, width = 0;
    if (FieldPlace(field, offset, width))
        std::copy_n(rec.bytes.begin() + static_cast<std::ptrdiff_t>(offset), std::min<size_t>(width, payload.size()),
                    payload.begin());
    reply.insert(reply.end(), payload.begin(), payload.end());
    Send(reply);
}

// [53][u8 field][payload]: the plain fields go into the record as they
// came, but for the name, which the server keeps; the item lists are the
// trade area's.
void CDemoServer::TakeField(const uint8_t* p, size_t n)
{
    const int field = p[1];
    size_t offset = 0, width = 0;
    if (field == 0 || field == 1 || !FieldPlace(field, offset, width) || n != 2 + width)
        return;
    std::array<uint8_t, CharacterRecord::kNameSize> name{};
    std::copy_n(m_record.bytes.begin() + CharacterRecord::kName, name.size(), name.begin());
    std::copy_n(p + 2, width, m_record.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    std::copy(name.begin(), name.end(), m_record.bytes.begin() + CharacterRecord::kName);
}

void CDemoServer::Wander()
{
    const uint32_t now = plat::NowMs();
    if (now - m_lastWander < kWanderMs)
        return;
    m_lastWander = now;
    // One of them takes a short walk near home each time.
    Wanderer& c = m_wanderers[Rand() % m_wanderers.size()];
    const uint32_t step = Rand();
    const int dx = static_cast<int>(step % 5) - 2;
    const int dy = static_cast<int>((step >> 4) % 5) - 2;
    c.x = std::clamp(c.x + dx, c.homeX - 3, c.homeX + 3);
    c.y = std::clamp(c.y + dy, c.homeY - 3, c.homeY + 3);
    Bytes move = {12};
    const Bytes rec = CharacterRecordBytes(c);
    move.insert(move.end(), rec.begin(), rec.end());
    Send(move);
}
