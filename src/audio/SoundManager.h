// Sound effects by file name: each name is a WAVE entry of the archive,
// loaded on first use into one of 16 cached buffers and played at a map
// position around the listener.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "audio/SoundBuffer.h"

class CSoundManager {
public:
    static constexpr int kSlotCount = 16;
    // Farther than 500 map pixels from the listener a sound is not heard.
    static constexpr int64_t kHearingRangeSquared = 250000;
    // One map pixel is one millimetre to the 3D listener.
    static constexpr float kDistanceFactor = 0.001f;

    CSoundManager() = default;
    virtual ~CSoundManager();
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    // 1: sound with 3D; 2: no sound; 3: sound without 3D (no primary
    // buffer); 4: sound without 3D (no listener).
    int Init();
    void SetListenerPosition(int x, int y);
    // 1 when the sound plays, and also when it is too far away to be heard;
    // 0 when it cannot be loaded or played.
    int PlayAt(std::string_view name, int x, int y);
    int Play(std::string_view name);
    int PlayLooped(std::string_view name);
    int PlayLoopedAt(std::string_view name, int x, int y);
    // Level 0..140 of the options slider: level * 50 - 7000 hundredths of a
    // decibel, for the buffers loaded and those loaded later.
    void SetVolume(int level);
    // Stops and rewinds every loaded sound.
    void StopAll();
    // The cached buffer for name, loaded when needed; null when none can be
    // had.
    CSoundBuffer* GetBuffer(std::string_view name);

    // The text of the last failure of Init.
    const std::string& GetLastError() const { return m_error; }
    CSoundBuffer* GetSlot(int i) const { return m_slots[static_cast<size_t>(i)].get(); }
    int GetListenerX() const { return m_listenerX; }
    int GetListenerY() const { return m_listenerY; }

    // Shared by every manager: whether sound works at all, whether the
    // device positions sounds, and the volume in hundredths of a decibel.
    static int IsEnabled() { return s_enabled; }
    static int Is3DAvailable() { return s_3dAvailable; }
    static int32_t GetCurrentVolume() { return s_volume; }
    static int32_t LevelToVolume(int level);

    // Deletes every buffer and returns to the state before Init (tests).
    void Reset();

private:
    std::array<std::unique_ptr<CSoundBuffer>, kSlotCount> m_slots;
    int m_listenerX = 0;
    int m_listenerY = 0;
    std::string m_error;

    static int s_enabled;
    static int s_3dAvailable;
    static int32_t s_volume;
};

extern CSoundManager g_soundManager;
