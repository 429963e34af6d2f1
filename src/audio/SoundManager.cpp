#include "audio/SoundManager.h"

#include <algorithm>

#include "platform/Sound.h"

CSoundManager g_soundManager;

int CSoundManager::s_enabled = 0;
int CSoundManager::s_3dAvailable = 0;
int32_t CSoundManager::s_volume = 0;

CSoundManager::~CSoundManager()
{
    for (auto& slot : m_slots)
        slot.reset();
}

int CSoundManager::Init()
{
    plat::ISoundDevice& device = plat::Sound();
    if (!device.Open()) {
        s_enabled = 0;
        m_error = "Direct Sound Initialize Failed!";
        return 2;
    }
    s_enabled = 1;
    if (!device.CreatePrimary3D()) {
        s_3dAvailable = 0;
        m_error = "Direct 3D Sound Disabled!";
        return 3;
    }
    if (!device.CreateListener()) {
        s_3dAvailable = 0;
        m_error = "Direct 3D Sound Listener Disabled!";
        return 4;
    }
    device.SetDistanceFactor(kDistanceFactor);
    s_3dAvailable = 1;
    return 1;
}

void CSoundManager::SetListenerPosition(int x, int y)
{
    m_listenerX = x;
    m_listenerY = y;
    if (s_enabled && s_3dAvailable)
        plat::Sound().SetListenerPosition(static_cast<float>(x), 0.0f, -static_cast<float>(y));
}

int CSoundManager::PlayAt(std::string_view name, int x, int y)
{
    // In 64 bits: positions come from the server.
    const int64_t dx = static_cast<int64_t>(m_listenerX) - x;
    const int64_t dy = static_cast<int64_t>(m_listenerY) - y;
    if (dx * dx + dy * dy > kHearingRangeSquared)
        return 1;
    CSoundBuffer* buffer = GetBuffer(name);
    if (!buffer)
        return 0;
    return buffer->PlayAt(static_cast<float>(x), 0.0f, -static_cast<float>(y), false) ? 1 : 0;
}

int CSoundManager::Play(std::string_view name)
{
    CSoundBuffer* buffer = GetBuffer(name);
    return buffer && buffer->Play(false) ? 1 : 0;
}

int CSoundManager::PlayLooped(std::string_view name)
{
    CSoundBuffer* buffer = GetBuffer(name);
    return buffer && buffer->Play(true) ? 1 : 0;
}

int CSoundManager::PlayLoopedAt(std::string_view name, int x, int y)
{
    CSoundBuffer* buffer = GetBuffer(name);
    return buffer && buffer->PlayAt(static_cast<float>(x), 0.0f, -static_cast<float>(y), true) ? 1 : 0;
}

int32_t CSoundManager::LevelToVolume(int level)
{
    const int64_t v = static_cast<int64_t>(level) * 50 - 7000;
    return static_cast<int32_t>(std::clamp<int64_t>(v, plat::kVolumeMin, plat::kVolumeMax));
}

void CSoundManager::SetVolume(int level)
{
    s_volume = LevelToVolume(level);
    for (auto& slot : m_slots)
        if (slot)
            slot->SetVolume(s_volume);
}

void CSoundManager::StopAll()
{
    for (auto& slot : m_slots)
        if (slot)
            slot->Stop();
}

CSoundBuffer* CSoundManager::GetBuffer(std::string_view name)
{
    // A loaded copy that is free: no reload.
    for (auto& slot : m_slots)
        if (slot && slot->GetName() == name && !slot->IsPlaying())
            return slot.get();

    // Else a slot to load into: the first empty one, the first that is not
    // playing, or the one heard farthest from the listener. Sounds at the
    // listener are never cut off, so with all 16 there the request fails.
    int chosen = -1;
    for (int i = 0; i < kSlotCount && chosen < 0; ++i)
        if (!m_slots[static_cast<size_t>(i)])
            chosen = i;
    for (int i = 0; i < kSlotCount && chosen < 0; ++i)
        if (!m_slots[static_cast<size_t>(i)]->IsPlaying())
            chosen = i;
    if (chosen < 0) {
        const float lx = static_cast<float>(m_listenerX);
        const float lz = -static_cast<float>(m_listenerY);
        float farthest = 0.0f;
        for (int i = 0; i < kSlotCount; ++i) {
            const CSoundBuffer& b = *m_slots[static_cast<size_t>(i)];
            const float dx = b.GetX() - lx;
            const float dy = b.GetY();
            const float dz = b.GetZ() - lz;
            const float d = dx * dx + dy * dy + dz * dz;
            if (d > farthest) {
                farthest = d;
                chosen = i;
            }
        }
    }
    if (chosen < 0)
        return nullptr;

    auto& slot = m_slots[static_cast<size_t>(chosen)];
    slot.reset();
    auto buffer = std::make_unique<CSoundBuffer>(name);
    if (!buffer->LoadFromArchive())
        return nullptr;
    slot = std::move(buffer);
    return slot.get();
}

void CSoundManager::Reset()
{
    for (auto& slot : m_slots)
        slot.reset();
    m_listenerX = 0;
    m_listenerY = 0;
    m_error.clear();
    s_enabled = 0;
    s_3dAvailable = 0;
    s_volume = 0;
}
