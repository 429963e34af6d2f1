#include "platform/headless/RecordingMusic.h"

namespace plat {

bool CRecordingMusicDevice::Open(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(MusicCall{MusicCall::Open, path, 0});
    if (!openResult)
        return false;
    m_open = true;
    m_playing = false;
    m_paused = false;
    return true;
}

void CRecordingMusicDevice::Close()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(MusicCall{MusicCall::Close, {}, 0});
    m_open = false;
    m_playing = false;
    m_paused = false;
}

uint64_t CRecordingMusicDevice::Play(bool fromStart)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(MusicCall{MusicCall::Play, {}, fromStart ? 1u : 0u});
    if (!m_open)
        return 0;
    if (fromStart || !m_paused)
        m_serial = NewMusicSerial();
    m_playing = true;
    m_paused = false;
    return m_serial;
}

void CRecordingMusicDevice::Stop()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(MusicCall{MusicCall::Stop, {}, 0});
    if (m_playing) {
        m_playing = false;
        m_paused = true;
    }
}

bool CRecordingMusicDevice::SetVolume(uint32_t value)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(MusicCall{MusicCall::Volume, {}, value});
    if (volumeControls == 0)
        return false;
    volume = value;
    return true;
}

bool CRecordingMusicDevice::Finish()
{
    uint64_t serial = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_playing)
            return false;
        m_playing = false;
        serial = m_serial;
    }
    MusicFinished(serial);
    return true;
}

std::vector<MusicCall> CRecordingMusicDevice::Calls()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

void CRecordingMusicDevice::ClearCalls()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.clear();
}

bool CRecordingMusicDevice::IsPlaying()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_playing;
}

}  // namespace plat
