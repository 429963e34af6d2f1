#include <gtest/gtest.h>

#include "fixtures/MidiWriter.h"
#include "platform/MidiLength.h"

namespace {

uint32_t Length(const Bytes& file)
{
    uint32_t ms = 0xFFFFFFFF;
    EXPECT_TRUE(plat::MidiLengthMs(file.data(), file.size(), ms));
    return ms;
}

bool Refused(const Bytes& file)
{
    uint32_t ms = 0;
    return !plat::MidiLengthMs(file.data(), file.size(), ms);
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

Bytes Track(std::initializer_list<uint8_t> events)
{
    Bytes t(events);
    t.insert(t.end(), kEnd.begin(), kEnd.end());
    return t;
}

}  // namespace

TEST(MidiLength, LastEventThroughTheTempoMap)
{
    // 3 notes of 12 ticks at 96 per beat and the default 120 beats a minute.
    EXPECT_EQ(Length(MakeMidiFile({60, 64, 67}, 12)), 187u);
    EXPECT_EQ(Length(MakeMidiFromTracks(0, 96, {kEnd})), 0u);

    // Tempo 250000 from the start: 96 ticks are a quarter second; a
    // running-status note-off (data byte first) and a long delta.
    EXPECT_EQ(Length(MakeMidiFromTracks(0, 96, {Track({0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,  //
                                                        0x00, 0x90, 60, 100, 0x60, 60, 0})})),
              250u);
    EXPECT_EQ(Length(MakeMidiFromTracks(0, 96, {Track({0x83, 0x00, 0x90, 60, 0})})), 2000u);

    // Format 1: the tempo track halves the tempo at tick 96 while the other
    // track runs to 192: 500 ms + 250 ms.
    const Bytes tempo = Track({0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90});
    const Bytes notes = Track({0x00, 0xC0, 0x05, 0x00, 0x90, 60, 100, 0x81, 0x40, 0x80, 60, 0});
    EXPECT_EQ(Length(MakeMidiFromTracks(1, 96, {tempo, notes})), 750u);

    // SMPTE timing: 25 frames of 40 ticks each second.
    EXPECT_EQ(Length(MakeMidiFromTracks(0, static_cast<uint16_t>(0xE728), {Track({0x83, 0x74, 0x90, 60, 0})})),
              500u);

    // A rest before the end of the track is part of the song.
    EXPECT_EQ(Length(MakeMidiFromTracks(0, 96, {Bytes{0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0,  //
                                                      0x60, 0xFF, 0x2F, 0x00}})),
              1000u);

    // Sysex is skipped by its length; unknown chunks are skipped.
    Bytes extra = MakeMidiFromTracks(0, 96, {Track({0x00, 0xF0, 0x03, 1, 2, 0xF7, 0x60, 0x90, 60, 0})});
    const Bytes unknown = {'X', 'T', 'r', 'a', 0, 0, 0, 2, 9, 9};
    extra.insert(extra.begin() + 14, unknown.begin(), unknown.end());
    EXPECT_EQ(Length(extra), 500u);
}

TEST(MidiLength, RefusesMalformedFiles)
{
    const Bytes good = MakeMidiFile({60}, 24);
    EXPECT_FALSE(Refused(good));
    Bytes magic = good;
    magic[1] = 'X';
    EXPECT_TRUE(Refused(magic));
    EXPECT_TRUE(Refused(Bytes(good.begin(), good.begin() + 13)));
    Bytes cut = good;
    cut.resize(cut.size() - 3);  // inside the last track
    EXPECT_TRUE(Refused(cut));
    // Running status with nothing to run on, a five-byte delta, a system
    // message, a meta event longer than its track, a zero division.
    EXPECT_TRUE(Refused(MakeMidiFromTracks(0, 96, {Track({0x00, 60, 100})})));
    EXPECT_TRUE(Refused(MakeMidiFromTracks(0, 96, {Track({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 0})})));
    EXPECT_TRUE(Refused(MakeMidiFromTracks(0, 96, {Track({0x00, 0xF8})})));
    EXPECT_TRUE(Refused(MakeMidiFromTracks(0, 96, {Bytes{0x00, 0xFF, 0x01, 0x40, 'a'}})));
    EXPECT_TRUE(Refused(MakeMidiFromTracks(0, 0, {kEnd})));
}
