#include "audio/SoundBuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "audio/SoundManager.h"
#include "core/ByteReader.h"
#include "core/ResFile.h"

namespace {

constexpr size_t kRiffHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;
// The fields up to the block alignment; PCM adds the sample size.
constexpr uint32_t kMinFormatChunk = 14;
constexpr uint32_t kPcmFormatChunk = 16;

bool TagIs(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

}  // namespace

CSoundBuffer::CSoundBuffer(std::string_view name) : m_name(name) {}

CSoundBuffer::~CSoundBuffer()
{
    Stop();
}

bool CSoundBuffer::ParseRiffHeader(const uint8_t* header, size_t size, uint32_t& riffSize)
{
    if (size < kRiffHeaderSize || !TagIs(header, "RIFF") || !TagIs(header + 8, "WAVE"))
        return false;
    CByteReader r(header + 4, 4);
    riffSize = r.U32();
    // The size counts "WAVE" and the chunks after it.
    return r.Ok() && riffSize >= 4;
}

bool CSoundBuffer::ParseWaveChunks(const uint8_t* image, size_t size, CWaveInfo& info)
{
    bool haveFormat = false;
    bool haveData = false;
    size_t pos = 0;
    while (!(haveFormat && haveData) && size - pos >= kChunkHeaderSize) {
        CByteReader chunk(image + pos, kChunkHeaderSize);
        const uint8_t* tag = image + pos;
        chunk.Skip(4);
        const uint32_t length = chunk.U32();
        const size_t body = pos + kChunkHeaderSize;
        if (length > size - body)
            return false;  // the chunk runs past the end of the entry
        if (!haveFormat && TagIs(tag, "fmt ")) {
            if (length < kMinFormatChunk)
                return false;
            CByteReader f(image + body, length);
            info.format.formatTag = f.U16();
            info.format.channels = f.U16();
            info.format.samplesPerSec = f.U32();
            info.format.avgBytesPerSec = f.U32();
            info.format.blockAlign = f.U16();
            if (info.format.formatTag == plat::kWaveFormatPcm) {
                if (length < kPcmFormatChunk)
                    return false;
                info.format.bitsPerSample = f.U16();
            }
            if (!f.Ok())
                return false;
            haveFormat = true;
        } else if (!haveData && TagIs(tag, "data")) {
            info.dataOffset = body;
            info.dataLength = length;
            haveData = true;
        }
        // Chunks are padded to an even length; size - body >= length, so
        // this stays within size + 1.
        pos = body + length + (length & 1);
        if (pos > size)
            break;
    }
    if (!haveFormat || !haveData)
        return false;
    if (info.format.formatTag != plat::kWaveFormatPcm)
        return false;
    return info.format.avgBytesPerSec != 0;
}

bool CSoundBuffer::ParseWave(const uint8_t* file, size_t size, CWaveInfo& info)
{
    uint32_t riffSize = 0;
    if (!ParseRiffHeader(file, size, riffSize))
        return false;
    const size_t image = std::min<size_t>(riffSize - 4, size - kRiffHeaderSize);
    if (!ParseWaveChunks(file + kRiffHeaderSize, image, info))
        return false;
    info.dataOffset += kRiffHeaderSize;
    return true;
}

uint32_t CSoundBuffer::PlayLengthMs(uint32_t dataLength, uint32_t avgBytesPerSec)
{
    if (avgBytesPerSec == 0)
        return 0;
    const uint64_t ms = static_cast<uint64_t>(dataLength) * 1000 / avgBytesPerSec;
    return static_cast<uint32_t>(std::min<uint64_t>(ms, std::numeric_limits<uint32_t>::max()));
}

bool CSoundBuffer::LoadFromArchive()
{
    if (!CSoundManager::IsEnabled())
        return false;
    const int h = ResOpen(m_name.c_str());
    if (h < 0)
        return false;
    const long size = ResSize(h);
    uint8_t header[kRiffHeaderSize];
    uint32_t riffSize = 0;
    if (size < static_cast<long>(kRiffHeaderSize) || ResRead(header, 1, kRiffHeaderSize, h) != kRiffHeaderSize ||
        !ParseRiffHeader(header, kRiffHeaderSize, riffSize)) {
        ResClose(h);
        return false;
    }
    // The image is what the header announces, but never past the entry.
    const size_t length =
        std::min<size_t>(riffSize - 4, static_cast<size_t>(size) - kRiffHeaderSize);
    std::vector<uint8_t> image;
    try {
        image.resize(length);
    } catch (const std::bad_alloc&) {
        ResClose(h);
        return false;
    }
    const bool read = length == 0 || ResRead(image.data(), 1, length, h) == length;
    ResClose(h);
    CWaveInfo info;
    if (!read || !ParseWaveChunks(image.data(), length, info))
        return false;

    m_format = info.format;
    m_dataLength = info.dataLength;
    m_playLengthMs = PlayLengthMs(info.dataLength, info.format.avgBytesPerSec);
    m_buffer = plat::Sound().CreateBuffer(m_format, m_dataLength, CSoundManager::Is3DAvailable() != 0);
    if (!m_buffer)
        return false;
    if (!m_buffer->Write(image.data() + info.dataOffset, m_dataLength)) {
        m_buffer.reset();
        return false;
    }
    m_buffer->SetVolume(CSoundManager::GetCurrentVolume());
    return true;
}

bool CSoundBuffer::Start(bool looped)
{
    m_playing = m_buffer->Play(looped);
    return m_playing;
}

bool CSoundBuffer::Play(bool looped)
{
    if (!m_buffer)
        return false;
    m_buffer->Stop();
    m_buffer->Rewind();
    if (m_buffer->Has3D())
        m_buffer->Set3DEnabled(false);
    return Start(looped);
}

bool CSoundBuffer::PlayAt(float x, float y, float z, bool looped)
{
    if (!m_buffer)
        return false;
    m_buffer->Stop();
    m_buffer->Rewind();
    m_x = x;
    m_y = y;
    m_z = z;
    if (m_buffer->Has3D()) {
        m_buffer->Set3DEnabled(true);
        m_buffer->Set3DPosition(x, y, z);
    }
    return Start(looped);
}

void CSoundBuffer::Stop()
{
    if (!m_buffer)
        return;
    m_buffer->Stop();
    m_buffer->Rewind();
    m_playing = false;
}

bool CSoundBuffer::IsPlaying()
{
    if (!m_playing)
        return false;
    if (!m_buffer || !m_buffer->IsPlaying())
        m_playing = false;
    return m_playing;
}

void CSoundBuffer::SetVolume(int32_t hundredthsDb)
{
    if (m_buffer)
        m_buffer->SetVolume(hundredthsDb);
}
