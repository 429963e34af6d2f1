// Measures arbitrary bytes as a MIDI file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fixtures/MidiWriter.h"
#include "platform/MidiLength.h"

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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "notes", MakeMidiFile({60, 64, 67}, 12));
        WriteSeed(dir, "tempo_tracks",
                  MakeMidiFromTracks(1, 96, {{0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90, 0x00, 0xFF, 0x2F, 0x00},
                                             {0x00, 0x90, 60, 100, 0x40, 60, 0, 0x00, 0xF0, 0x01, 0xF7,
                                              0x00, 0xFF, 0x2F, 0x00}}));
        WriteSeed(dir, "smpte", MakeMidiFromTracks(0, 0xE728, {{0x83, 0x74, 0x90, 60, 0, 0x00, 0xFF, 0x2F, 0x00}}));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t ms = 0;
    (void)plat::MidiLengthMs(data, size, ms);
    return 0;
}
