#include "core/PaletteManager.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "core/Blit.h"
#include "core/LayerGroup.h"
#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/PalBuilder.h"
#include "fixtures/RleFrames.h"
#include "platform/Loop.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using Entries = std::array<uint8_t, 1024>;

// Stands in for the display: keeps a copy of every palette it is sent.
class CPaletteSink : public CLayerGroup {
public:
    int SetPaletteEntries(const void* entries) override
    {
        if (!entries)
            return 0;
        sent.emplace_back();
        std::memcpy(sent.back().data(), entries, 1024);
        return 1;
    }
    std::vector<Entries> sent;
};

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPaletteCycleCount();
        pal = TestPalette();
        pm = std::make_unique<CPaletteManager>(&sink);
        std::vector<uint8_t> file = BuildPalFile(pal);
        ASSERT_EQ(pm->ReadPalette(file.data(), file.size()), 1);
        sink.sent.clear();
    }
    // Channel c (0 red, 1 green, 2 blue) of entry i of the last palette sent.
    int Sent(int i, int c) const { return sink.sent.back()[static_cast<size_t>(i) * 4 + c]; }
    int Loaded(int i, int c) const { return pal[static_cast<size_t>(i) * 3 + c]; }

    PalRgb pal;
    CPaletteSink sink;
    std::unique_ptr<CPaletteManager> pm;
};

TEST_F(PaletteTest, ReadPaletteChecksHeaderSizeAndScalesLiterally)
{
    std::vector<uint8_t> bad = BuildPalFile(pal);
    bad[3] = 'X';
    EXPECT_EQ(pm->ReadPalette(bad.data(), bad.size()), 0);
    std::vector<uint8_t> shortFile = BuildPalFile(pal);
    shortFile.pop_back();
    EXPECT_EQ(pm->ReadPalette(shortFile.data(), shortFile.size()), 0);
    EXPECT_TRUE(sink.sent.empty());

    PalRgb reduced{};
    reduced[0] = 70;  // red
    reduced[1] = 70;  // green
    reduced[2] = 70;  // blue
    std::vector<uint8_t> scaled = BuildPalFile(reduced, true);
    ASSERT_EQ(pm->ReadPalette(scaled.data(), scaled.size()), 1);
    EXPECT_EQ(pm->GetLoadedRgb()[0], 24);   // 280 kept to 8 bits
    EXPECT_EQ(pm->GetLoadedRgb()[1], 24);
    EXPECT_EQ(pm->GetLoadedRgb()[2], 140);  // blue shifted by one
    ASSERT_EQ(sink.sent.size(), 1u);
    EXPECT_EQ(Sent(0, 3), 1);  // flags
}

TEST(PaletteLoading, MissingOrMisSizedFilesAreFatal)
{
    plat::CHeadlessPlatform platform;
    CArchiveBuilder b;
    b.Add("Short.PAL", BuildPalFile(TestPalette())).Add("TransTable.tbl", Bytes(1000, 0));
    CTestArchive archive(b);
    CPaletteSink sink;
    auto pm = std::make_unique<CPaletteManager>(&sink);

    EXPECT_EQ(pm->LoadPalette("data\\Short.PAL"), 1);
    EXPECT_FALSE(plat::Loop().QuitPosted());

    EXPECT_EQ(pm->LoadTransTable("data\\TransTable.tbl"), 0);
    ASSERT_EQ(platform.dialogs.boxes.size(), 1u);
    EXPECT_EQ(platform.dialogs.boxes[0].caption, "Error Msg");
    EXPECT_EQ(platform.dialogs.boxes[0].text, "error! Palette file not found~\n");
    EXPECT_TRUE(plat::Loop().QuitPosted());
    EXPECT_EQ(plat::Loop().ExitCode(), -1);  // the one fatal-error path of the app

    EXPECT_EQ(pm->LoadPalette("data\\Missing.PAL"), 0);
    EXPECT_EQ(platform.dialogs.boxes.size(), 2u);
}

bool InReserved(int c) { return c == 0 || (c >= 16 && c <= 19) || (c >= 21 && c <= 35) || c == 255; }

TEST_F(PaletteTest, TablesAvoidReservedColoursAndKeepTheirShape)
{
    pm->BuildShadeTables();
    pm->BuildTintTables();
    for (int c = 0; c < 256; ++c) {
        for (int i = 0; i < 8; ++i)
            ASSERT_FALSE(InReserved(pm->GetShadeTable(i)[c])) << "shade " << i << " colour " << c;
        for (int t = 0; t < 64; ++t) {
            const int v = pm->GetTintTable(t)[c];
            if (InReserved(c))
                ASSERT_FALSE(InReserved(v)) << "tint " << t << " colour " << c;
            else
                ASSERT_EQ(v, c) << "the top tint level keeps every colour that is not reserved";
            for (int k = 0; k < 8; ++k)
                ASSERT_FALSE(InReserved(pm->GetTintedShadeTable(k, t)[c]));
        }
    }
    // Ties go to the lowest index: 248.. copy 40, 65, ...
    std::array<bool, 256> none{};
    EXPECT_EQ(CPaletteManager::NearestColor(pal, pal[40 * 3], pal[40 * 3 + 1], pal[40 * 3 + 2], none), 40);
    // Darkening a grey ramp keeps it ordered.
    for (int i = 0; i < 8; ++i)
        for (int c = 217; c < 248; ++c)
            ASSERT_LE(Loaded(pm->GetShadeTable(i)[c - 1], 0), Loaded(pm->GetShadeTable(i)[c], 0));
    // A ramp colour of a tint follows its base colour: ramp step 7 of base 0
    // (white) at the top level is the palette's nearest to 240 grey.
    EXPECT_EQ(pm->GetTintTable(0)[24], CPaletteManager::NearestColor(pal, 240, 240, 240, [] {
                  std::array<bool, 256> e{};
                  for (int c = 0; c < 256; ++c)
                      e[c] = InReserved(c);
                  return e;
              }()));
}

TEST_F(PaletteTest, BlendTableFollowsTheWeightRuleThroughTheBlitter)
{
    std::vector<uint8_t> table(CPaletteManager::kBlendTableSize);
    CPaletteManager::BuildTransTable(pal, table.data());
    std::array<bool, 256> excluded{};
    for (int c : {0, 16, 17, 18, 19, 20, 21, 22, 27, 28, 29, 30, 31, 32, 33, 34, 35, 255})
        excluded[c] = true;
    ResetBlitContexts();
    for (int s : {5, 100, 215, 230})
        for (int d : {1, 77, 180, 240}) {
            std::vector<uint8_t> screen(800 * 600, static_cast<uint8_t>(d));
            std::vector<uint8_t> f = EncodeRle({static_cast<uint8_t>(s)}, 1, 1);
            BlitRleBlend(10, 10, f.data(), f.size(), ScreenTarget(screen.data()), table.data());
            // Level 0: weight 28 of 256 on the source.
            int t[3];
            for (int c = 0; c < 3; ++c)
                t[c] = (Loaded(s, c) * 28 + Loaded(d, c) * 228) / 256;
            EXPECT_EQ(screen[10 * 800 + 10], CPaletteManager::NearestColor(pal, t[0], t[1], t[2], excluded));
        }
}

TEST_F(PaletteTest, FadeInStepsTowardsTheLoadedPalette)
{
    pm->StartFade(4);
    for (int step = 1; step <= 3; ++step) {
        pm->Update();
        ASSERT_EQ(sink.sent.size(), static_cast<size_t>(step));
        EXPECT_EQ(Sent(100, 0), Loaded(100, 0) * step / 4);
        EXPECT_EQ(Sent(255, 0), Loaded(255, 0)) << "the fade range ends before 255";
    }
    pm->Update();  // the step that ends the fade sends nothing
    EXPECT_EQ(sink.sent.size(), 3u);
    EXPECT_EQ(pm->GetFadeMode(), 0);
    pm->Update();
    EXPECT_EQ(sink.sent.size(), 3u) << "idle palette sends nothing";
}

TEST_F(PaletteTest, FadeToColourCountsDown)
{
    pm->FadeToColor(200, 100, 50, 3);
    pm->Update();
    EXPECT_EQ(Sent(7, 0), (200 * 1 + Loaded(7, 0) * 2) / 3);
    EXPECT_EQ(Sent(7, 2), (50 * 1 + Loaded(7, 2) * 2) / 3);
    EXPECT_EQ(Sent(255, 0), (0 * 1 + Loaded(255, 0) * 2) / 3) << "entry 255 blends with its old target";
    pm->Update();
    EXPECT_EQ(Sent(7, 1), (100 * 2 + Loaded(7, 1)) / 3);
    pm->Update();
    EXPECT_EQ(sink.sent.size(), 2u);
    EXPECT_EQ(pm->GetFadeMode(), 0);
}

TEST_F(PaletteTest, FadesOfAnyLengthEnd)
{
    pm->StartFade(0);
    pm->Update();
    EXPECT_EQ(pm->GetFadeMode(), 0);
    EXPECT_TRUE(sink.sent.empty());
    EXPECT_EQ(pm->GetShownRgb(), pal);

    pm->StartFade(150);
    for (int i = 0; i < 149; ++i)
        pm->Update();
    EXPECT_EQ(Sent(100, 0), Loaded(100, 0) * 149 / 150);
    pm->Update();
    EXPECT_EQ(pm->GetFadeMode(), 0);
    EXPECT_EQ(sink.sent.size(), 149u);
}

TEST_F(PaletteTest, CyclesRotateEveryPeriodPlusOneFrames)
{
    pm->SetCycle(2, 1, 27, 30, 2);
    std::vector<int> rotatedAt;
    for (int frame = 1; frame <= 7; ++frame) {
        PalRgb before = pm->GetShownRgb();
        pm->Update();
        if (pm->GetShownRgb() != before) {
            rotatedAt.push_back(frame);
            if (frame == 1) {
                EXPECT_EQ(Sent(28, 0), before[27 * 3]);
                EXPECT_EQ(Sent(27, 0), before[30 * 3]);
                EXPECT_EQ(Sent(27, 2), before[30 * 3 + 2]);
            }
        }
    }
    EXPECT_EQ(rotatedAt, (std::vector<int>{1, 4, 7}));
    EXPECT_EQ(sink.sent.size(), 7u) << "an active slot sends every frame";
}

TEST_F(PaletteTest, SlotsZeroAndOneReverseAfterFourSteps)
{
    pm->SetCycle(0, 1, 16, 19, 0);
    pm->SetCycle(2, 1, 27, 30, 0);
    const PalRgb orig = pm->GetShownRgb();
    for (int i = 0; i < 5; ++i)
        pm->Update();
    const PalRgb& now = pm->GetShownRgb();
    // Slot 0: four steps forward, then one back.
    for (int i = 17; i <= 19; ++i)
        EXPECT_EQ(now[(i - 1) * 3], orig[i * 3]) << i;
    EXPECT_EQ(now[19 * 3], orig[16 * 3]);
    // Slot 2 keeps its direction: five steps forward on four entries.
    for (int i = 27; i < 30; ++i)
        EXPECT_EQ(now[(i + 1) * 3], orig[i * 3]) << i;
    EXPECT_EQ(now[27 * 3], orig[30 * 3]);
}

TEST_F(PaletteTest, DegenerateSlotDoesNotStopTheOthers)
{
    pm->SetCycle(0, 1, 20, 20, 0);
    pm->SetCycle(2, 1, 27, 30, 0);
    const PalRgb orig = pm->GetShownRgb();
    pm->Update();
    EXPECT_EQ(pm->GetShownRgb()[28 * 3], orig[27 * 3]);
    EXPECT_EQ(pm->GetShownRgb()[20 * 3], orig[20 * 3]);
    // Out-of-range slots and indices are refused or bounded.
    pm->SetCycle(4, 1, 0, 10, 0);
    pm->SetCycle(-1, 1, 0, 10, 0);
    pm->SetCycle(3, 1, -50, 900, 0);
    pm->Update();
}

TEST_F(PaletteTest, GreyscaleUsesLoadedColoursAndApplyNowRestores)
{
    pm->StartGreyscale(10, 12);
    pm->Update();
    for (int i = 10; i <= 12; ++i) {
        const int grey = (Loaded(i, 0) * 30 + Loaded(i, 1) * 59 + Loaded(i, 2) * 11) / 100;
        EXPECT_EQ(Sent(i, 0), grey);
        EXPECT_EQ(Sent(i, 2), grey);
    }
    EXPECT_EQ(Sent(13, 2), Loaded(13, 2));
    pm->ApplyNow();
    EXPECT_EQ(Sent(11, 2), Loaded(11, 2));
    const size_t n = sink.sent.size();
    pm->Update();
    EXPECT_EQ(sink.sent.size(), n);
}

TEST(PaletteLight, LevelTableAndStepRamp)
{
    const std::pair<int, int> levels[] = {{-1, 0}, {0, -7}, {5, -7}, {6, -6}, {49, 0},
                                          {50, 1}, {92, 7}, {93, 8}, {1000, 8}};
    for (auto [value, level] : levels)
        EXPECT_EQ(CPaletteManager::LightLevelOf(value), level) << value;
    const std::pair<int, int> steps[] = {{0, 0},    {1, 0},    {2, 1},    {7, 1},   {8, 2},
                                         {119, 15}, {120, 16}, {135, 16}, {136, 15}, {247, 2},
                                         {248, 0},  {255, 0}};
    for (auto [v, m] : steps)
        EXPECT_EQ(CPaletteManager::LightStep(v), m) << v;
}

TEST_F(PaletteTest, LightLevelClampsAndSparesEntry255)
{
    PalRgb p{};
    p[5 * 3] = 255;
    p[255 * 3] = 255;
    p[6 * 3] = 100;  // m = 13
    std::vector<uint8_t> file = BuildPalFile(p);
    pm->ReadPalette(file.data(), file.size());
    pm->SetLightLevel(50);
    EXPECT_EQ(Sent(0, 0), 1);
    EXPECT_EQ(Sent(5, 0), 254);
    EXPECT_EQ(Sent(6, 0), 113);
    EXPECT_EQ(Sent(255, 0), 255);
    EXPECT_EQ(Sent(255, 1), 0);
}

}  // namespace
