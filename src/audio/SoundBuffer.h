// One cached sound effect: a RIFF WAVE entry of the archive loaded into a
// device buffer, with the name it was loaded by and where it last played.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Sound.h"

// Where the samples of a WAVE image are and what they are.
struct CWaveInfo {
    plat::PcmFormat format;
    size_t dataOffset = 0;  // from the start of the bytes parsed
    uint32_t dataLength = 0;
};

class CSoundBuffer {
public:
    explicit CSoundBuffer(std::string_view name);
    virtual ~CSoundBuffer();
    CSoundBuffer(const CSoundBuffer&) = delete;
    CSoundBuffer& operator=(const CSoundBuffer&) = delete;

    // Reads the entry of this name and makes the device buffer; false when
    // sound is off, the entry is missing, or it is not a playable PCM WAVE.
    bool LoadFromArchive();

    // Plays from the start without positioning, once or looped.
    bool Play(bool looped);
    // Plays from the start at (x, y, z) in listener space.
    bool PlayAt(float x, float y, float z, bool looped);
    // Stops and rewinds.
    void Stop();
    // Playing only while started by us and still sounding on the device; a
    // query that finds it ended clears the flag.
    bool IsPlaying();
    void SetVolume(int32_t hundredthsDb);

    const std::string& GetName() const { return m_name; }
    uint32_t GetDataLength() const { return m_dataLength; }
    uint32_t GetPlayLength() const { return m_playLengthMs; }
    const plat::PcmFormat& GetFormat() const { return m_format; }
    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    float GetZ() const { return m_z; }

    // The 12-byte RIFF header: "RIFF", u32 size, "WAVE". False otherwise.
    static bool ParseRiffHeader(const uint8_t* header, size_t size, uint32_t& riffSize);
    // Walks the chunks of the image that follows the header: the first
    // "fmt " and the first "data" chunk, each wholly inside the image, a
    // complete PCM format with a byte rate. False otherwise.
    static bool ParseWaveChunks(const uint8_t* image, size_t size, CWaveInfo& info);
    // A whole file: header, then the chunks of at most size - 4 bytes of
    // what follows it. Offsets in info count from the start of file.
    static bool ParseWave(const uint8_t* file, size_t size, CWaveInfo& info);
    // data length * 1000 / bytes per second, in 64 bits.
    static uint32_t PlayLengthMs(uint32_t dataLength, uint32_t avgBytesPerSec);

private:
    bool Start(bool looped);

    std::unique_ptr<plat::ISoundBuffer> m_buffer;
    plat::PcmFormat m_format;
    uint32_t m_dataLength = 0;
    uint32_t m_playLengthMs = 0;
    std::string m_name;
    bool m_playing = false;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
};
