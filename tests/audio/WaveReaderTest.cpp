#include <gtest/gtest.h>

#include <cstring>

#include "audio/SoundBuffer.h"
#include "audio/SoundManager.h"
#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/WaveWriter.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

// Parses a copy of exactly the file's size, so a read past its end is seen
// by the address sanitizer.
bool Parse(const Bytes& file, CWaveInfo& info)
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[file.size() ? file.size() : 1]);
    if (!file.empty())
        std::memcpy(copy.get(), file.data(), file.size());
    return CSoundBuffer::ParseWave(copy.get(), file.size(), info);
}

bool Parses(const Bytes& file)
{
    CWaveInfo info;
    return Parse(file, info);
}

Bytes Samples(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(i * 13 + 1);
    return b;
}

Bytes FormatBody(uint16_t tag, size_t length)
{
    // 22050 Hz mono 16-bit fields, cut or extended to length.
    Bytes b = {static_cast<uint8_t>(tag), static_cast<uint8_t>(tag >> 8), 1, 0, 0x22, 0x56, 0, 0,
               0x44, 0xAC, 0, 0, 2, 0, 16, 0};
    b.resize(length, 0);
    return b;
}

}  // namespace

TEST(WaveReader, FindsFormatAndDataInEitherOrder)
{
    const Bytes samples = Samples(400);
    CWaveInfo a, b;
    ASSERT_TRUE(Parse(CWaveWriter().Format(2, 44100, 16).Data(samples).Build(), a));
    EXPECT_EQ(a.format.formatTag, 1);
    EXPECT_EQ(a.format.channels, 2);
    EXPECT_EQ(a.format.samplesPerSec, 44100u);
    EXPECT_EQ(a.format.avgBytesPerSec, 176400u);
    EXPECT_EQ(a.format.blockAlign, 4);
    EXPECT_EQ(a.format.bitsPerSample, 16);
    EXPECT_EQ(a.dataLength, 400u);
    EXPECT_EQ(a.dataOffset, 12u + 8 + 16 + 8);

    const Bytes reversed = CWaveWriter().Data(samples).Format(2, 44100, 16).Build();
    ASSERT_TRUE(Parse(reversed, b));
    EXPECT_EQ(b.dataOffset, 20u);
    EXPECT_EQ(b.dataLength, 400u);
    EXPECT_EQ(std::memcmp(reversed.data() + b.dataOffset, samples.data(), samples.size()), 0);
    EXPECT_EQ(b.format.samplesPerSec, 44100u);
}

TEST(WaveReader, TakesTheFirstChunkOfEachKindAndSkipsOthers)
{
    CWaveInfo info;
    const Bytes file = CWaveWriter()
                           .Chunk("LIST", Samples(7))  // odd: one pad byte follows
                           .Format(1, 8000, 8)
                           .Chunk("fact", Samples(4))
                           .Data(Samples(33))
                           .Data(Samples(100))
                           .Format(2, 44100, 16)
                           .Build();
    ASSERT_TRUE(Parse(file, info));
    EXPECT_EQ(info.format.samplesPerSec, 8000u);
    EXPECT_EQ(info.format.bitsPerSample, 8);
    EXPECT_EQ(info.dataLength, 33u);
    EXPECT_EQ(info.dataOffset, 12u + (8 + 8) + (8 + 16) + (8 + 4) + 8);

    // Without the pad byte the walk lands one byte early and misses the
    // format: padding is what the reader relies on.
    const Bytes unpadded =
        CWaveWriter().Chunk("LIST", Samples(7), {}, false).Format(1, 8000, 8).Data(Samples(8)).Build();
    EXPECT_FALSE(Parses(unpadded));
}

TEST(WaveReader, FormatChunkMustBeCompletePcm)
{
    auto withFormat = [](const Bytes& body) {
        return CWaveWriter().Chunk("fmt ", body).Data(Samples(16)).Build();
    };
    EXPECT_FALSE(Parses(withFormat(FormatBody(1, 12))));
    // 14 bytes are enough for the header, not for PCM's sample size.
    EXPECT_FALSE(Parses(withFormat(FormatBody(1, 14))));
    EXPECT_FALSE(Parses(withFormat(FormatBody(1, 15))));
    EXPECT_TRUE(Parses(withFormat(FormatBody(1, 16))));
    EXPECT_TRUE(Parses(withFormat(FormatBody(1, 18))));
    // Compressed formats are refused however long their block is.
    EXPECT_FALSE(Parses(withFormat(FormatBody(2, 50))));
    EXPECT_FALSE(Parses(withFormat(FormatBody(3, 18))));
    EXPECT_FALSE(Parses(CWaveWriter().Format(1, 22050, 16, 1, 0u).Data(Samples(16)).Build()));
    // Only one of the two chunks.
    EXPECT_FALSE(Parses(CWaveWriter().Format(1, 22050, 16).Build()));
    EXPECT_FALSE(Parses(CWaveWriter().Data(Samples(16)).Build()));
}

TEST(WaveReader, RefusesChunksThatRunPastTheEnd)
{
    const Bytes good = CWaveWriter().Format(1, 22050, 16).Data(Samples(64)).Build();
    ASSERT_TRUE(Parses(good));

    // A data length beyond the file, and the file cut inside its data.
    EXPECT_FALSE(Parses(CWaveWriter().Format(1, 22050, 16).Chunk("data", Samples(64), 65u).Build()));
    Bytes cut = good;
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(Parses(cut));
    // An unknown chunk claiming more than there is, before the data.
    EXPECT_FALSE(Parses(
        CWaveWriter().Format(1, 22050, 16).Chunk("junk", Samples(8), 0xFFFFFFF0u).Data(Samples(8)).Build()));
    // A format chunk running past the end.
    EXPECT_FALSE(Parses(CWaveWriter().Data(Samples(8)).Chunk("fmt ", FormatBody(1, 16), 1000u).Build()));
    // A chunk header cut short.
    Bytes shortHeader = CWaveWriter().Format(1, 22050, 16).Build();
    shortHeader.insert(shortHeader.end(), {'d', 'a', 't', 'a', 8});
    EXPECT_FALSE(Parses(shortHeader));

    // The RIFF size bounds the walk too: a data chunk beyond it is refused,
    // and a size larger than the file is cut at the file's end.
    EXPECT_FALSE(Parses(CWaveWriter().Format(1, 22050, 16).Data(Samples(64)).RiffSize(4 + 24 + 8 + 10).Build()));
    EXPECT_TRUE(Parses(CWaveWriter().Format(1, 22050, 16).Data(Samples(64)).RiffSize(0xFFFFFFFFu).Build()));
    EXPECT_FALSE(Parses(CWaveWriter().Format(1, 22050, 16).Data(Samples(64)).RiffSize(3).Build()));

    // Once both are known, what follows is not read.
    EXPECT_TRUE(
        Parses(CWaveWriter().Format(1, 22050, 16).Data(Samples(8)).Chunk("junk", {}, 0xFFFFFFF0u).Build()));
}

TEST(WaveReader, RefusesOtherHeaders)
{
    Bytes file = CWaveWriter::SimpleWave(10);
    ASSERT_TRUE(Parses(file));
    Bytes rifx = file;
    rifx[3] = 'X';
    EXPECT_FALSE(Parses(rifx));
    Bytes avi = file;
    std::memcpy(avi.data() + 8, "AVI ", 4);
    EXPECT_FALSE(Parses(avi));
    EXPECT_FALSE(Parses(Bytes(file.begin(), file.begin() + 11)));
    EXPECT_FALSE(Parses({}));
}

TEST(WaveReader, PlayLengthIsComputedIn64Bits)
{
    EXPECT_EQ(CSoundBuffer::PlayLengthMs(44100, 44100), 1000u);
    EXPECT_EQ(CSoundBuffer::PlayLengthMs(11025, 22050 * 2), 250u);
    // 5,000,000 * 1000 does not fit 32 bits.
    EXPECT_EQ(CSoundBuffer::PlayLengthMs(5000000, 1000), 5000000u);
    EXPECT_EQ(CSoundBuffer::PlayLengthMs(0xFFFFFFFFu, 1), 0xFFFFFFFFu);
    EXPECT_EQ(CSoundBuffer::PlayLengthMs(100, 0), 0u);
}

// Loading through the archive: the entry's end bounds everything, whatever
// lies after it in the file.
TEST(WaveLoad, EntryEndBoundsTheImage)
{
    plat::CHeadlessPlatform platform;
    CSoundManager manager;
    manager.Reset();
    ASSERT_EQ(manager.Init(), 1);

    const Bytes samples = CWaveWriter::Tone(22050, 1, 16, 20);
    const Bytes good = CWaveWriter().Format(1, 22050, 16).Data(samples).Build();
    const Bytes overlong = CWaveWriter()
                               .Format(1, 22050, 16)
                               .Chunk("data", samples, static_cast<uint32_t>(samples.size() + 64))
                               .Build();
    const Bytes bigRiff = CWaveWriter().Format(1, 22050, 16).Data(samples).RiffSize(0x7FFFFFFF).Build();

    CArchiveBuilder b;
    b.SetGap(256);
    b.Add("good.wav", good).Add("overlong.wav", overlong).Add("bigriff.wav", bigRiff);
    b.Add("short.wav", Bytes(good.begin(), good.begin() + 10));
    CTestArchive archive(b);

    CSoundBuffer ok("good.wav");
    ASSERT_TRUE(ok.LoadFromArchive());
    EXPECT_EQ(ok.GetDataLength(), samples.size());
    EXPECT_EQ(ok.GetPlayLength(), 20u);
    ASSERT_FALSE(platform.sound.buffers.empty());
    EXPECT_EQ(platform.sound.buffers.back().samples, samples);

    CSoundBuffer big("bigriff.wav");
    ASSERT_TRUE(big.LoadFromArchive());
    EXPECT_EQ(platform.sound.buffers.back().samples, samples);

    const size_t created = platform.sound.buffers.size();
    CSoundBuffer bad("overlong.wav");
    EXPECT_FALSE(bad.LoadFromArchive());
    CSoundBuffer cut("short.wav");
    EXPECT_FALSE(cut.LoadFromArchive());
    CSoundBuffer missing("missing.wav");
    EXPECT_FALSE(missing.LoadFromArchive());
    EXPECT_EQ(platform.sound.buffers.size(), created);
    manager.Reset();
}
