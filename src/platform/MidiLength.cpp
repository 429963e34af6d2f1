#include "platform/MidiLength.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/ByteReader.h"

namespace plat {

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note

struct TempoChange {
    uint64_t tick;
    uint32_t tempo;
};

uint32_t U32BE(CByteReader& r)
{
    const uint32_t hi = r.U16BE();
    return (hi << 16) | r.U16BE();
}

// A variable-length quantity: at most four bytes of seven bits.
bool VarLen(CByteReader& r, uint32_t& v)
{
    v = 0;
    for (int i = 0; i < 4; ++i) {
        const uint8_t b = r.U8();
        if (!r.Ok())
            return false;
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

// Walks one track; its last tick and its tempo changes.
bool ReadTrack(CByteReader& r, uint64_t& lastTick, std::vector<TempoChange>& tempos)
{
    uint64_t tick = 0;
    uint8_t running = 0;
    while (r.Remaining() > 0) {
        uint32_t delta = 0;
        if (!VarLen(r, delta))
            return false;
        tick += delta;
        uint8_t status = r.U8();
        if (!r.Ok())
            return false;
        if (status < 0x80) {
            // Running status: this byte was the first data byte.
            if (running == 0)
                return false;
            status = running;
            r.Seek(r.Pos() - 1);
        }
        if (status == 0xFF) {
            running = 0;
            const uint8_t type = r.U8();
            uint32_t length = 0;
            if (!r.Ok() || !VarLen(r, length) || length > r.Remaining())
                return false;
            if (type == 0x51 && length == 3) {
                const uint32_t tempo = (static_cast<uint32_t>(r.U8()) << 16) |
                                       (static_cast<uint32_t>(r.U8()) << 8) | r.U8();
                tempos.push_back(TempoChange{tick, tempo});
            } else {
                r.Skip(length);
            }
            if (type == 0x2F) {
                // The track lasts until its end event, rests included.
                lastTick = std::max(lastTick, tick);
                break;
            }
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;
            uint32_t length = 0;
            if (!VarLen(r, length) || !r.Skip(length))
                return false;
        } else if (status >= 0xF0) {
            return false;  // system messages do not belong in a file
        } else {
            running = status;
            const uint8_t kind = status & 0xF0;
            r.Skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
        }
        if (!r.Ok())
            return false;
        lastTick = std::max(lastTick, tick);
    }
    return true;
}

}  // namespace

bool MidiLengthMs(const uint8_t* data, size_t size, uint32_t& ms)
{
    CByteReader r(data, size);
    uint8_t magic[4] = {};
    r.Bytes(magic, 4);
    const uint32_t headerLength = U32BE(r);
    r.U16BE();  // format
    const uint16_t tracks = r.U16BE();
    const uint16_t division = r.U16BE();
    if (!r.Ok() || std::memcmp(magic, "MThd", 4) != 0 || headerLength < 6 || division == 0 ||
        !r.Seek(8 + static_cast<size_t>(headerLength)))
        return false;

    uint64_t lastTick = 0;
    std::vector<TempoChange> tempos;
    for (uint16_t t = 0; t < tracks && r.Remaining() > 0;) {
        uint8_t tag[4] = {};
        r.Bytes(tag, 4);
        const uint32_t length = U32BE(r);
        if (!r.Ok() || length > r.Remaining())
            return false;
        CByteReader chunk(r.Data() + r.Pos(), length);
        r.Skip(length);
        if (std::memcmp(tag, "MTrk", 4) != 0)
            continue;  // other chunks are skipped
        if (!ReadTrack(chunk, lastTick, tempos))
            return false;
        ++t;
    }

    double micros = 0;
    if (division & 0x8000) {
        // SMPTE: frames per second times ticks per frame, at a fixed rate.
        const int fps = -static_cast<int8_t>(division >> 8);
        const int perFrame = division & 0xFF;
        if (fps <= 0 || perFrame == 0)
            return false;
        const double rate = (fps == 29 ? 29.97 : fps) * perFrame;
        micros = static_cast<double>(lastTick) * 1e6 / rate;
    } else {
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        uint64_t at = 0;
        uint32_t tempo = kDefaultTempo;
        for (const TempoChange& c : tempos) {
            if (c.tick >= lastTick)
                break;
            micros += static_cast<double>(c.tick - at) * tempo / division;
            at = c.tick;
            tempo = c.tempo;
        }
        micros += static_cast<double>(lastTick - at) * tempo / division;
    }
    ms = static_cast<uint32_t>(std::min(micros / 1000.0, 4.0e9));
    return true;
}

}  // namespace plat
