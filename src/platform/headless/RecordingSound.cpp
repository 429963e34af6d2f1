#include "platform/headless/RecordingSound.h"

#include <algorithm>
#include <cstring>

#include "platform/Clock.h"

namespace plat {

class CRecordingSoundBuffer : public ISoundBuffer {
public:
    CRecordingSoundBuffer(CRecordingSoundDevice* device, int id) : m_device(device), m_id(id) {}
    ~CRecordingSoundBuffer() override
    {
        if (m_device)
            m_device->Released(this);
    }

    bool Write(const uint8_t* samples, size_t length) override
    {
        auto* s = State();
        if (!s || length != s->length)
            return false;
        s->samples.assign(samples, samples + length);
        m_device->Record(SoundCall::Write, m_id, static_cast<int32_t>(length));
        return true;
    }
    bool SetVolume(int32_t v) override
    {
        auto* s = State();
        if (!s || v < kVolumeMin || v > kVolumeMax)
            return false;
        s->volume = v;
        m_device->Record(SoundCall::Volume, m_id, v);
        return true;
    }
    bool Play(bool looped) override
    {
        auto* s = State();
        if (!s)
            return false;
        if (!s->playing || s->looped != looped) {
            Settle(*s);
            s->playing = true;
            s->looped = looped;
            s->startMs = NowMs();
        }
        m_device->Record(SoundCall::Play, m_id, looped ? 1 : 0);
        return true;
    }
    bool Stop() override
    {
        auto* s = State();
        if (!s)
            return false;
        Settle(*s);
        s->playing = false;
        m_device->Record(SoundCall::Stop, m_id);
        return true;
    }
    bool Rewind() override
    {
        auto* s = State();
        if (!s)
            return false;
        s->playedMs = 0;
        s->startMs = NowMs();
        m_device->Record(SoundCall::Rewind, m_id);
        return true;
    }
    bool IsPlaying() override { return m_device && m_device->Playing(m_id); }
    bool Has3D() const override
    {
        return m_device && m_device->buffers[static_cast<size_t>(m_id - 1)].with3D;
    }
    void Set3DEnabled(bool enabled) override
    {
        if (State() && Has3D())
            m_device->Record(SoundCall::Enable3D, m_id, enabled ? 1 : 0);
    }
    void Set3DPosition(float x, float y, float z) override
    {
        if (State() && Has3D())
            m_device->Record(SoundCall::Position, m_id, 0, x, y, z);
    }

    void Orphan() { m_device = nullptr; }
    int Id() const { return m_id; }

private:
    CRecordingSoundDevice::BufferState* State()
    {
        return m_device ? &m_device->buffers[static_cast<size_t>(m_id - 1)] : nullptr;
    }
    // Folds the time played since the last start into playedMs.
    static void Settle(CRecordingSoundDevice::BufferState& s)
    {
        if (s.playing)
            s.playedMs += NowMs() - s.startMs;
        s.startMs = NowMs();
        if (!s.looped && s.playedMs > s.lengthMs)
            s.playedMs = s.lengthMs;
    }

    CRecordingSoundDevice* m_device;
    int m_id;
};

CRecordingSoundDevice::~CRecordingSoundDevice()
{
    for (CRecordingSoundBuffer* b : m_live)
        b->Orphan();
}

void CRecordingSoundDevice::Record(SoundCall::Kind kind, int buffer, int32_t value, float x, float y, float z)
{
    calls.push_back(SoundCall{kind, buffer, value, x, y, z, NowMs()});
}

bool CRecordingSoundDevice::Open()
{
    Record(SoundCall::Open, 0, openResult ? 1 : 0);
    opened = openResult;
    return openResult;
}

bool CRecordingSoundDevice::CreatePrimary3D()
{
    Record(SoundCall::Primary, 0, primaryResult ? 1 : 0);
    return opened && primaryResult;
}

bool CRecordingSoundDevice::CreateListener()
{
    Record(SoundCall::Listener, 0, listenerResult ? 1 : 0);
    return opened && listenerResult;
}

void CRecordingSoundDevice::SetDistanceFactor(float f) { Record(SoundCall::DistanceFactor, 0, 0, f); }

void CRecordingSoundDevice::SetListenerPosition(float x, float y, float z)
{
    Record(SoundCall::ListenerPosition, 0, 0, x, y, z);
}

std::unique_ptr<ISoundBuffer> CRecordingSoundDevice::CreateBuffer(const PcmFormat& format, uint32_t length,
                                                                  bool with3D)
{
    if (!opened || !IsPlayablePcm(format) || length == 0)
        return nullptr;
    BufferState s;
    s.format = format;
    s.length = length;
    s.lengthMs = static_cast<uint32_t>(static_cast<uint64_t>(length) * 1000 /
                                       (static_cast<uint64_t>(format.samplesPerSec) * format.blockAlign));
    s.with3D = with3D;
    buffers.push_back(std::move(s));
    const int id = static_cast<int>(buffers.size());
    Record(SoundCall::Create, id, static_cast<int32_t>(length));
    auto buffer = std::make_unique<CRecordingSoundBuffer>(this, id);
    m_live.push_back(buffer.get());
    return buffer;
}

void CRecordingSoundDevice::Released(CRecordingSoundBuffer* buffer)
{
    m_live.erase(std::remove(m_live.begin(), m_live.end(), buffer), m_live.end());
    BufferState& s = buffers[static_cast<size_t>(buffer->Id() - 1)];
    s.live = false;
    s.playing = false;
    Record(SoundCall::Release, buffer->Id());
}

bool CRecordingSoundDevice::Playing(int buffer)
{
    if (buffer < 1 || static_cast<size_t>(buffer) > buffers.size())
        return false;
    BufferState& s = buffers[static_cast<size_t>(buffer - 1)];
    if (!s.live || !s.playing)
        return false;
    if (s.looped)
        return true;
    const uint64_t played = static_cast<uint64_t>(s.playedMs) + (NowMs() - s.startMs);
    if (played < s.lengthMs)
        return true;
    s.playing = false;
    s.playedMs = s.lengthMs;
    return false;
}

void CRecordingSoundDevice::Finish(int buffer)
{
    if (buffer < 1 || static_cast<size_t>(buffer) > buffers.size())
        return;
    BufferState& s = buffers[static_cast<size_t>(buffer - 1)];
    s.playing = false;
    s.playedMs = s.lengthMs;
}

int CRecordingSoundDevice::Count(SoundCall::Kind kind, int buffer) const
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const SoundCall& c) {
        return c.kind == kind && (buffer == 0 || c.buffer == buffer);
    }));
}

int CRecordingSoundDevice::LiveBuffers() const { return static_cast<int>(m_live.size()); }

}  // namespace plat
