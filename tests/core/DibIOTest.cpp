#include "core/DibIO.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "fixtures/ArchiveBuilder.h"
#include "fixtures/BmpBuilder.h"
#include "fixtures/TempDir.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

std::vector<uint8_t> Encode(const std::vector<uint8_t>& row)
{
    std::vector<uint8_t> out;
    EncodePcxRow(row.data(), static_cast<int>(row.size()), out);
    return out;
}

TEST(PcxRows, RunLengthCoding)
{
    EXPECT_EQ(Encode(std::vector<uint8_t>(100, 5)), (std::vector<uint8_t>{0xFF, 0x05, 0xE5, 0x05}));
    EXPECT_EQ(Encode({0xC5}), (std::vector<uint8_t>{0xC1, 0xC5}));
    EXPECT_EQ(Encode({0xBF}), (std::vector<uint8_t>{0xBF}));
    EXPECT_EQ(Encode({1, 2, 2}), (std::vector<uint8_t>{1, 0xC2, 2}));
}

struct Pcx {
    std::vector<uint8_t> header, pixels, rgb;
    uint8_t marker = 0;
};

// A small reader of what the writer makes: 8-bit, one plane.
Pcx ReadPcx(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::vector<uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    Pcx p;
    if (d.size() < 128 + 769)
        return p;
    p.header.assign(d.begin(), d.begin() + 128);
    const int w = d[8] | d[9] << 8, h = d[10] | d[11] << 8;
    size_t i = 128;
    for (int y = 0; y <= h; ++y) {
        int x = 0;
        while (x <= w && i < d.size() - 769) {
            uint8_t b = d[i++];
            int n = 1;
            if ((b & 0xC0) == 0xC0) {
                n = b & 0x3F;
                b = d[i++];
            }
            p.pixels.insert(p.pixels.end(), static_cast<size_t>(n), b);
            x += n;
        }
    }
    p.marker = d[d.size() - 769];
    p.rgb.assign(d.end() - 768, d.end());
    return p;
}

class ScreenShotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        old = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
        ResetScreenShots();
        std::mt19937 rng(3);
        screen.resize(800 * 600);
        for (auto& b : screen)
            b = static_cast<uint8_t>(rng() % 7 == 0 ? rng() : 9);
        for (size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = static_cast<uint8_t>(i * 7);
    }
    void TearDown() override
    {
        std::filesystem::current_path(old);
        ResetScreenShots();
    }
    std::filesystem::path old;
    CTempDir dir;
    std::vector<uint8_t> screen;
    std::array<uint8_t, 768> rgb;
};

TEST_F(ScreenShotTest, RoundTripWithExactHeader)
{
    ASSERT_EQ(TakeScreenShot(screen.data(), rgb.data(), "shot.pcx", nullptr), 1);
    Pcx p = ReadPcx("shot.pcx");
    ASSERT_EQ(p.header.size(), 128u);
    const std::vector<uint8_t> head = {10, 5, 1, 8, 0, 0, 0, 0, 0x1F, 3, 0x57, 2, 0x20, 3, 0x58, 2, 0x5F, 0x47, 0x3B};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), p.header.begin()));
    for (int i = 19; i < 48; ++i)
        EXPECT_EQ(p.header[i], 0xFF) << i;
    for (int i = 48; i < 64; ++i)
        EXPECT_EQ(p.header[i], 0) << i;
    EXPECT_EQ(p.header[64], 0);
    EXPECT_EQ(p.header[65], 1);
    EXPECT_EQ(p.header[66] | p.header[67] << 8, 800);
    for (int i = 68; i < 128; ++i)
        EXPECT_EQ(p.header[i], 0) << i;
    EXPECT_EQ(p.pixels, screen);
    EXPECT_EQ(p.marker, 12);
    EXPECT_TRUE(std::equal(rgb.begin(), rgb.end(), p.rgb.begin()));
}

TEST_F(ScreenShotTest, NumberingNeverOverwrites)
{
    std::string line;
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(TakeScreenShot(screen.data(), rgb.data(), nullptr, &line), 1);
    EXPECT_EQ(line, "Quorvel Screen Shot No.  2 .pcx");
    EXPECT_TRUE(std::filesystem::exists("Quorvel Screen Shot No.  2 .pcx"));

    // A later run goes on after the highest number on disk, and a file that
    // appears under the next name is stepped over.
    ResetScreenShots();
    std::ofstream("Quorvel Screen Shot No. 11 .pcx") << "keep";
    std::ofstream("Quorvel Screen Shot No. 12 .pcx.bak") << "not a shot";
    ASSERT_EQ(TakeScreenShot(screen.data(), rgb.data(), nullptr, &line), 1);
    EXPECT_EQ(line, "Quorvel Screen Shot No. 12 .pcx");
    std::ofstream("Quorvel Screen Shot No. 13 .pcx") << "keep";
    ASSERT_EQ(TakeScreenShot(screen.data(), rgb.data(), nullptr, &line), 1);
    EXPECT_EQ(line, "Quorvel Screen Shot No. 14 .pcx");
    std::ifstream kept("Quorvel Screen Shot No. 13 .pcx");
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "keep");
}

TEST_F(ScreenShotTest, NumberingStopsAtTheLastNumber)
{
    // A shot numbered at the very end leaves no number after it: the next
    // shot fails instead of counting past the end.
    std::ofstream("Quorvel Screen Shot No. 2147483646 .pcx") << "keep";
    std::string line;
    ASSERT_EQ(TakeScreenShot(screen.data(), rgb.data(), nullptr, &line), 1);
    EXPECT_EQ(line, "Quorvel Screen Shot No. 2147483647 .pcx");
    EXPECT_EQ(TakeScreenShot(screen.data(), rgb.data(), nullptr, &line), 0);
    EXPECT_NE(line.find("failed"), std::string::npos) << line;

    // Nor does a later run that finds those numbers on disk.
    ResetScreenShots();
    EXPECT_EQ(TakeScreenShot(screen.data(), rgb.data(), nullptr, &line), 0);
    EXPECT_NE(line.find("failed"), std::string::npos) << line;
}

TEST_F(ScreenShotTest, FailureIsNotAnnouncedAsTaken)
{
    // A current directory that no longer exists: nothing can be created in
    // it, whoever runs the test.
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(std::filesystem::path(dir.Path()) / "gone");
    std::string line;
    EXPECT_EQ(TakeScreenShot(screen.data(), rgb.data(), nullptr, &line), 0);
    EXPECT_NE(line.find("failed"), std::string::npos) << line;
}

TEST_F(ScreenShotTest, KeyThrottleFollowsTheClock)
{
    plat::CHeadlessPlatform platform;
    platform.clock.Set(50000);
    std::string line;
    EXPECT_EQ(ScreenShotKey(screen.data(), rgb.data(), false, &line), 1);
    platform.clock.Advance(9999);
    EXPECT_EQ(ScreenShotKey(screen.data(), rgb.data(), false, &line), 0);
    EXPECT_EQ(ScreenShotKey(screen.data(), rgb.data(), true, &line), 1) << "game masters are not held back";
    platform.clock.Advance(10000);
    EXPECT_EQ(ScreenShotKey(screen.data(), rgb.data(), false, &line), 0);
    platform.clock.Advance(1);
    EXPECT_EQ(ScreenShotKey(screen.data(), rgb.data(), false, &line), 1);
}

TEST(Dib, HeadersColoursAndBadFiles)
{
    CDib dib;
    EXPECT_FALSE(dib.Parse(nullptr, 0));
    std::vector<uint8_t> notBm = BuildBmp(BmpLayout{});
    notBm[0] = 'X';
    EXPECT_FALSE(dib.Parse(notBm.data(), notBm.size()));
    std::vector<uint8_t> shortFile(notBm.begin(), notBm.begin() + 13);
    EXPECT_FALSE(dib.Parse(shortFile.data(), shortFile.size()));
    EXPECT_EQ(dib.GetWidth(), 0);

    std::vector<uint8_t> info = BuildBmp(BmpLayout{});
    ASSERT_TRUE(dib.Parse(info.data(), info.size()));
    EXPECT_EQ(dib.GetWidth(), 7);
    EXPECT_EQ(dib.GetHeight(), 5);
    ASSERT_EQ(dib.GetPalette().size(), 256u);
    EXPECT_EQ(dib.GetPalette()[1].blue, 1);  // quads, blue first
    EXPECT_EQ(dib.GetPalette()[1].red, 3);
    EXPECT_EQ(dib.GetPalette()[2].blue, 2) << "the fourth byte of a quad is skipped";

    std::vector<uint8_t> core = BuildBmp(BmpLayout{12, 7, 5, 4, 0, 16});
    ASSERT_TRUE(dib.Parse(core.data(), core.size()));
    ASSERT_EQ(dib.GetPalette().size(), 16u);
    EXPECT_EQ(dib.GetPalette()[2].blue, 2);  // triples
    EXPECT_EQ(dib.GetPalette()[2].red, 4);

    // Used colours beyond 256 or beyond the file are cut.
    std::vector<uint8_t> many = BuildBmp(BmpLayout{40, 7, 5, 8, 100000, 10, false});
    ASSERT_TRUE(dib.Parse(many.data(), many.size()));
    EXPECT_EQ(dib.GetPalette().size(), 10u);
    std::vector<uint8_t> odd = BuildBmp(BmpLayout{108});
    EXPECT_FALSE(dib.Parse(odd.data(), odd.size()));
}

}  // namespace

namespace {

TEST(Dib, ReadsFromTheArchiveAndStaysEmptyWhenMissing)
{
    CArchiveBuilder b;
    b.Add("1080.bmp", BuildBmp(BmpLayout{}));
    CTestArchive archive(b);
    CDib picture("data\\1080.bmp");
    EXPECT_EQ(picture.GetWidth(), 7);
    EXPECT_EQ(picture.GetName(), "data\\1080.bmp");
    EXPECT_FALSE(picture.GetBits().empty());
    CDib missing("data\\1081.bmp");
    EXPECT_EQ(missing.GetWidth(), 0);
    EXPECT_EQ(missing.GetHeight(), 0);
    EXPECT_TRUE(missing.GetBits().empty());
}

}  // namespace
