// Reads arbitrary bytes as a WAVE sound: the header, the chunk walk and, on
// success, every byte of the samples it points at.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/SoundBuffer.h"
#include "fixtures/WaveWriter.h"

namespace {

void WriteSeed(const std::string& dir, const char* name, const Bytes& data)
{
    std::string path = dir + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (!data.empty())
            std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
}

void WriteSeeds(const std::string& dir)
{
    WriteSeed(dir, "mono16", CWaveWriter::SimpleWave(5));
    WriteSeed(dir, "stereo8_data_first",
              CWaveWriter().Data(CWaveWriter::Tone(11025, 2, 8, 5)).Format(2, 11025, 8).Build());
    WriteSeed(dir, "odd_chunks", CWaveWriter()
                                     .Chunk("LIST", Bytes(5, 'x'))
                                     .Format(1, 8000, 8)
                                     .Chunk("data", Bytes(7, 0x80))
                                     .Build());
    WriteSeed(dir, "short_fmt", CWaveWriter().Chunk("fmt ", Bytes(14, 1)).Data(Bytes(4, 0)).Build());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* seeds = std::getenv("QUORVEL_FUZZ_SEED_DIR"))
        WriteSeeds(seeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CWaveInfo info;
    if (!CSoundBuffer::ParseWave(data, size, info))
        return 0;
    if (info.dataOffset > size || info.dataLength > size - info.dataOffset)
        std::abort();
    unsigned sum = 0;
    for (size_t i = 0; i < info.dataLength; ++i)
        sum += data[info.dataOffset + i];
    volatile unsigned sink = sum;
    (void)sink;
    (void)CSoundBuffer::PlayLengthMs(info.dataLength, info.format.avgBytesPerSec);
    return 0;
}
