// A sound device for tests: it records every call, and its buffers play for
// their length on the virtual clock (or until a test ends them).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Sound.h"

namespace plat {

class CRecordingSoundBuffer;

struct SoundCall {
    enum Kind { Open, Primary, Listener, DistanceFactor, ListenerPosition, Create, Write, Volume,
                Play, Stop, Rewind, Enable3D, Position, Release };
    Kind kind;
    int buffer = 0;      // 1-based buffer id; 0 for the device's own calls
    int32_t value = 0;   // volume; length for Create and Write; 1 = looped / 3D on
    float x = 0, y = 0, z = 0;
    uint32_t timeMs = 0;
};

class CRecordingSoundDevice : public ISoundDevice {
public:
    CRecordingSoundDevice() = default;
    ~CRecordingSoundDevice() override;
    CRecordingSoundDevice(const CRecordingSoundDevice&) = delete;
    CRecordingSoundDevice& operator=(const CRecordingSoundDevice&) = delete;

    bool Open() override;
    bool CreatePrimary3D() override;
    bool CreateListener() override;
    void SetDistanceFactor(float metresPerUnit) override;
    void SetListenerPosition(float x, float y, float z) override;
    std::unique_ptr<ISoundBuffer> CreateBuffer(const PcmFormat& format, uint32_t length,
                                               bool with3D) override;

    // One buffer as the device sees it.
    struct BufferState {
        PcmFormat format;
        uint32_t length = 0;
        uint32_t lengthMs = 0;
        bool with3D = false;
        bool live = true;
        int32_t volume = 0;
        bool playing = false;
        bool looped = false;
        uint32_t startMs = 0;
        uint32_t playedMs = 0;  // before the current start
        std::vector<uint8_t> samples;
    };

    // Ends a playing buffer now, as if it had reached its end.
    void Finish(int buffer);
    // Calls of one kind (for one buffer, or all when buffer is 0).
    int Count(SoundCall::Kind kind, int buffer = 0) const;
    int LiveBuffers() const;
    bool Playing(int buffer);

    // What Open, CreatePrimary3D and CreateListener answer.
    bool openResult = true;
    bool primaryResult = true;
    bool listenerResult = true;

    std::vector<SoundCall> calls;
    std::vector<BufferState> buffers;  // buffer id n is buffers[n - 1]
    bool opened = false;

private:
    friend class CRecordingSoundBuffer;
    void Record(SoundCall::Kind kind, int buffer, int32_t value = 0, float x = 0, float y = 0, float z = 0);
    void Released(CRecordingSoundBuffer* buffer);
    std::vector<CRecordingSoundBuffer*> m_live;
};

}  // namespace plat
