#include "support/FakeServer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/Settings.h"

CFakeServer::CFakeServer()
{
    if (m_listener.Listen(0) != 0)
        m_failure = "cannot listen on the loopback address";
}

CFakeServer::~CFakeServer()
{
    if (m_registered)
        plat::Loop().RemoveEventSource(this);
}

void CFakeServer::UseForClient() const
{
    plat::Settings().SetString("Software\\Brennix\\Quorvel\\Server", "Host", "127.0.0.1");
    plat::Settings().SetDword("Software\\Brennix\\Quorvel\\Server", "Port", Port());
}

void CFakeServer::Register()
{
    plat::Loop().AddEventSource(this);
    m_registered = true;
}

CFakeServer& CFakeServer::Expect(const Bytes& bytes)
{
    m_steps.push_back(Step{Kind::Expect, bytes, {}});
    return *this;
}

CFakeServer& CFakeServer::Send(const Bytes& bytes, size_t chunk)
{
    Step s{Kind::Send, bytes, {}};
    if (chunk == 0 || chunk >= bytes.size()) {
        s.chunks.push_back(bytes.size());
    } else {
        for (size_t off = 0; off < bytes.size(); off += chunk)
            s.chunks.push_back(std::min(chunk, bytes.size() - off));
    }
    m_steps.push_back(std::move(s));
    return *this;
}

CFakeServer& CFakeServer::SendChunks(const Bytes& bytes, std::initializer_list<size_t> sizes)
{
    Step s{Kind::Send, bytes, {}};
    size_t total = 0;
    for (size_t n : sizes) {
        s.chunks.push_back(n);
        total += n;
    }
    if (total < bytes.size())
        s.chunks.push_back(bytes.size() - total);
    m_steps.push_back(std::move(s));
    return *this;
}

CFakeServer& CFakeServer::Close()
{
    m_steps.push_back(Step{Kind::Close, {}, {}});
    return *this;
}

CFakeServer& CFakeServer::Reset()
{
    m_steps.push_back(Step{Kind::Reset, {}, {}});
    return *this;
}

void CFakeServer::ReadAvailable()
{
    if (!m_conn.IsValid() || !m_reading)
        return;
    uint8_t buf[65536];
    for (;;) {
        size_t got = 0;
        const int err = m_conn.Recv(buf, sizeof buf, got);
        if (err != 0) {
            if (!plat::IsTransientSocketError(err))
                m_clientClosed = true;
            return;
        }
        if (got == 0) {
            m_clientClosed = true;
            return;
        }
        m_in.insert(m_in.end(), buf, buf + got);
        m_all.insert(m_all.end(), buf, buf + got);
    }
}

// Runs as much of one step as possible now; true when it is finished.
bool CFakeServer::RunStep(Step& step)
{
    switch (step.kind) {
    case Kind::Expect: {
        const size_t n = step.bytes.size();
        const size_t have = std::min(n, m_in.size());
        if (!std::equal(m_in.begin(), m_in.begin() + static_cast<long>(have), step.bytes.begin())) {
            char msg[128];
            std::snprintf(msg, sizeof msg, "the client sent other bytes than expected (%zu of %zu in)",
                          m_in.size(), n);
            m_failure = msg;
            return false;
        }
        if (have < n)
            return false;
        m_in.erase(m_in.begin(), m_in.begin() + static_cast<long>(n));
        return true;
    }
    case Kind::Send: {
        if (!m_pendingOut.empty() || !step.chunks.empty()) {
            if (m_pendingOut.empty()) {
                const size_t n = step.chunks.front();
                step.chunks.erase(step.chunks.begin());
                m_pendingOut.assign(step.bytes.begin(), step.bytes.begin() + static_cast<long>(n));
                step.bytes.erase(step.bytes.begin(), step.bytes.begin() + static_cast<long>(n));
            }
            size_t sent = 0;
            const int err = m_conn.Send(m_pendingOut.data(), m_pendingOut.size(), sent);
            if (err != 0 && !plat::IsTransientSocketError(err)) {
                m_clientClosed = true;
                m_failure = "the client went away before a reply was sent";
                return false;
            }
            m_pendingOut.erase(m_pendingOut.begin(), m_pendingOut.begin() + static_cast<long>(sent));
        }
        // One chunk per pump: the next one goes on a later pump.
        return m_pendingOut.empty() && step.chunks.empty();
    }
    case Kind::Close:
        m_conn.Close();
        return true;
    case Kind::Reset:
        m_conn.Abort();
        return true;
    }
    return true;
}

void CFakeServer::Pump()
{
    if (!m_accepted) {
        if (!m_listener.Accept(m_conn))
            return;
        m_accepted = true;
    }
    ReadAvailable();
    while (!m_steps.empty() && m_failure.empty()) {
        Step& step = m_steps.front();
        const bool wasSend = step.kind == Kind::Send;
        if (!RunStep(step))
            return;
        m_steps.pop_front();
        if (wasSend)
            return;  // a reply chunk per pump
    }
}

void CFakeServer::AppendPollFds(std::vector<struct pollfd>&) {}

Bytes Packet(std::initializer_list<int> bytes)
{
    Bytes b;
    for (int v : bytes)
        b.push_back(static_cast<uint8_t>(v));
    return b;
}

void PutU16(Bytes& b, uint16_t v)
{
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes b;
    for (const Bytes& p : parts)
        b.insert(b.end(), p.begin(), p.end());
    return b;
}

Bytes U16Packet(uint8_t cmd, uint16_t v)
{
    Bytes b = {cmd};
    PutU16(b, v);
    return b;
}
