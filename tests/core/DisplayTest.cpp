#include "core/Display.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "app/FrameClock.h"
#include "core/Layer.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/PalBuilder.h"
#include "platform/Loop.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

constexpr const char* kKey = "Software\\Brennix\\Quorvel";

// A layer that writes its frame number at its own column of row 0.
class CCountingLayer : public CLayer {
public:
    explicit CCountingLayer(CDisplay* d) : m_display(d) {}
    int Draw() override
    {
        ++draws;
        if (uint8_t* bits = m_display->GetBits())
            bits[draws] = static_cast<uint8_t>(draws);
        return 1;
    }
    int draws = 0;

private:
    CDisplay* m_display;
};

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { g_frameNotPresented = 0; }
    void TearDown() override
    {
        display.reset();
        g_frameNotPresented = 0;
    }
    void Make(bool fullScreen)
    {
        DisplayParams p;
        p.fullScreen = fullScreen ? 1 : 0;
        display = std::make_unique<CDisplay>(p);
    }
    void SaveRect(uint32_t fs, int l, int t, int r, int b)
    {
        auto& s = platform.settings;
        s.CreateKey(kKey);
        s.SetDword(kKey, "Window_Position_FS", fs);
        s.SetDword(kKey, "Window_Position_LEFT", static_cast<uint32_t>(l));
        s.SetDword(kKey, "Window_Position_TOP", static_cast<uint32_t>(t));
        s.SetDword(kKey, "Window_Position_RIGHT", static_cast<uint32_t>(r));
        s.SetDword(kKey, "Window_Position_BOTTOM", static_cast<uint32_t>(b));
    }
    uint32_t Saved(const char* name) { return platform.settings.GetDword(kKey, name).value_or(0xFFFFFFFF); }

    plat::CHeadlessPlatform platform;
    plat::CHeadlessVideo& video = platform.video;
    std::unique_ptr<CDisplay> display;
};

TEST_F(DisplayTest, LockWordStateMachine)
{
    Make(true);
    ASSERT_TRUE(display->Ok());
    EXPECT_EQ(display->Lock(), 0);
    uint8_t* first = display->GetBits();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(display->Lock(), 0);  // does not nest; the first lock stays
    EXPECT_EQ(display->GetBits(), first);
    EXPECT_EQ(display->GetDC(), nullptr);
    display->ReleaseDC(first);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kLocked);
    EXPECT_EQ(display->Unlock(), 1);
    EXPECT_EQ(display->Unlock(), 0);
    EXPECT_EQ(display->GetBits(), nullptr) << "no pointer outlives its lock";

    uint8_t* dc = display->GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kDcOut);
    EXPECT_NE(display->Lock(), 0) << "no lock while the text buffer is out";
    EXPECT_EQ(display->ClearBackBuffer(), 0);
    EXPECT_EQ(display->Draw(), 0);
    display->ReleaseDC(dc);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kFree);
}

TEST_F(DisplayTest, FailedLocksLeaveTheDisplayUnlockedAndRetriesAreBounded)
{
    Make(true);
    video.FailLocks(plat::kVideoFailed, 1);
    EXPECT_EQ(display->Lock(), plat::kVideoFailed);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kFree);
    EXPECT_EQ(display->GetBits(), nullptr);

    video.FailLocks(plat::kVideoSurfaceLost, 2);
    const int restores = video.restores;
    EXPECT_EQ(display->Lock(), 0);
    EXPECT_EQ(video.restores, restores + 4);  // primary and back, twice
    display->Unlock();

    video.FailLocks(plat::kVideoStillDrawing, 1000);
    EXPECT_EQ(display->Lock(), plat::kVideoStillDrawing);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kFree);
    // The bound, not the failures, ended it: the rest are still queued.
    video.FailLocks(plat::kVideoOk, 0);
    int left = 0;
    for (plat::VideoLock l; video.Lock(plat::kSurfaceBack, l) != plat::kVideoOk;)
        ++left;
    EXPECT_EQ(left, 1000 - CDisplay::kMaxTries);
}

TEST_F(DisplayTest, SkipDrawFramesStayLockedAndPresentTogether)
{
    Make(true);
    CCountingLayer layer(display.get());
    display->AddLayer(&layer);
    g_frameNotPresented = 1;
    EXPECT_EQ(display->Draw(), 1);
    EXPECT_EQ(layer.draws, 1);
    EXPECT_EQ(video.presents, 0u);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kLocked);
    g_frameNotPresented = 0;
    EXPECT_EQ(display->Draw(), 1);
    ASSERT_EQ(video.presents, 1u);
    EXPECT_EQ(video.lastPresent.pixels[1], 1);
    EXPECT_EQ(video.lastPresent.pixels[2], 2);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kFree);

    display->SetNeedsFlip(0);
    EXPECT_EQ(display->Draw(), 1);
    EXPECT_EQ(video.presents, 1u);
    display->SetNeedsFlip(1);
    display->RemoveLayer(&layer);
}

TEST_F(DisplayTest, PresentRetriesAreBounded)
{
    Make(true);
    video.FailFlips(plat::kVideoStillDrawing, 3);
    EXPECT_EQ(display->Draw(), 1);
    EXPECT_EQ(video.presents, 1u);
    video.FailFlips(plat::kVideoStillDrawing, 1000);
    const uint32_t before = platform.clock.NowMs();
    EXPECT_EQ(display->Draw(), 0);
    EXPECT_EQ(video.presents, 1u);
    EXPECT_LE(platform.clock.NowMs() - before, CDisplay::kMaxTries * CDisplay::kRetryPauseMs);
    EXPECT_EQ(display->GetLockWord(), CDisplay::kFree);

    // Windowed: a copy that fails for any reason is retried, within the bound.
    display.reset();
    platform.settings = plat::CMemorySettings{};
    Make(false);
    ASSERT_FALSE(display->IsFullScreen());
    video.FailBlts(plat::kVideoSurfaceLost, 1);
    video.FailBlts(plat::kVideoFailed, 2);
    EXPECT_EQ(display->Draw(), 1);
    EXPECT_EQ(video.presents, 2u);
    video.FailBlts(plat::kVideoFailed, 500);
    EXPECT_EQ(display->Draw(), 0);
    EXPECT_EQ(video.presents, 2u);
}

plat::PaletteEntries RandomEntries(std::mt19937& rng)
{
    plat::PaletteEntries e;
    for (auto& b : e)
        b = static_cast<uint8_t>(rng());
    return e;
}

// What a desktop of that depth shows for index i.
std::vector<uint8_t> Expected(int depth, const plat::PaletteEntries& e, uint8_t i)
{
    uint32_t r = e[i * 4], g = e[i * 4 + 1], b = e[i * 4 + 2];
    if (i == 0)
        r = g = b = 0;
    switch (depth) {
    case 15: {
        uint16_t v = static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
        return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    }
    case 16: {
        uint16_t v = static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
        return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    }
    case 24: return {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r)};
    default: return {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), 0};
    }
}

TEST_F(DisplayTest, ConversionOfARandomPaletteForEveryDepth)
{
    std::mt19937 rng(42);
    for (int depth : {15, 16, 24, 32}) {
        display.reset();
        video.desktopDepth = depth;
        video.rowPadding = 12;  // rows of the surface are not packed
        Make(false);
        ASSERT_TRUE(display->Ok());
        EXPECT_EQ(display->GetDesktopDepth(), depth);
        plat::PaletteEntries entries = RandomEntries(rng);
        display->SetPaletteEntries(entries.data());
        const plat::PaletteEntries given = entries;
        entries.fill(0x77);  // the display holds its own copy

        ASSERT_EQ(display->Lock(), 0);
        uint8_t* bits = display->GetBits();
        std::vector<uint8_t> frame(800 * 600);
        for (auto& p : frame)
            p = static_cast<uint8_t>(rng());
        std::memcpy(bits, frame.data(), frame.size());
        display->Unlock();
        display->Lock();  // the frame is still there: one system buffer
        display->Draw();

        const plat::PresentRecord& rec = video.lastPresent;
        ASSERT_EQ(rec.depth, depth);
        const size_t bpp = static_cast<size_t>(plat::CHeadlessVideo::BytesPerPixel(depth));
        for (size_t i = 0; i < frame.size(); ++i) {
            std::vector<uint8_t> want = Expected(depth, given, frame[i]);
            for (size_t k = 0; k < bpp; ++k)
                ASSERT_EQ(rec.pixels[i * bpp + k], want[k]) << "depth " << depth << " pixel " << i;
        }
    }
}

TEST_F(DisplayTest, FullScreenKeepsPaletteEntryZeroAndAlternatesBuffers)
{
    Make(true);
    plat::PaletteEntries e{};
    e[0] = 10;
    e[1] = 20;
    e[2] = 30;
    display->SetPaletteEntries(e.data());
    EXPECT_EQ(video.palette[0], 10);

    // Frame 1 all 1s, frame 2 all 2s: the third lock hands back frame 1.
    for (uint8_t v : {1, 2}) {
        ASSERT_EQ(display->Lock(), 0);
        std::memset(display->GetBits(), v, 800 * 600);
        display->Draw();
    }
    ASSERT_EQ(display->Lock(), 0);
    EXPECT_EQ(display->GetBits()[0], 1);
    EXPECT_EQ(video.lastPresent.pixels[0], 2);
    EXPECT_EQ(video.lastPresent.palette[0], 10);
    display->Unlock();
}

TEST_F(DisplayTest, PaddedEightBitSurfacesAreCopiedRowByRow)
{
    video.desktopDepth = 8;
    video.rowPadding = 16;
    Make(false);
    ASSERT_EQ(display->Lock(), 0);
    uint8_t* bits = display->GetBits();
    for (int y = 0; y < 600; ++y)
        std::memset(bits + y * 800, y & 0xFF, 800);
    display->Draw();
    ASSERT_EQ(video.lastPresent.depth, 8);
    for (int y = 0; y < 600; y += 37)
        EXPECT_EQ(video.lastPresent.pixels[static_cast<size_t>(y) * 800 + 799], y & 0xFF);
}

TEST_F(DisplayTest, FirstRunStartsFullScreenWithACentredPlacement)
{
    Make(true);
    EXPECT_TRUE(display->IsFullScreen());
    EXPECT_EQ(g_fullScreenMode, 1u);
    EXPECT_EQ(Saved("Window_Position_FS"), 1u);
    EXPECT_EQ(Saved("default"), 1u);
    EXPECT_EQ(Saved("Window_Position_LEFT"), 560u);
    EXPECT_EQ(Saved("Window_Position_TOP"), 240u);
    EXPECT_EQ(Saved("Window_Position_RIGHT"), 1359u);
    EXPECT_EQ(Saved("Window_Position_BOTTOM"), 839u);
}

TEST_F(DisplayTest, BadRectanglesAreReplacedOnlyWhileWindowed)
{
    SaveRect(1, 10, 10, 110, 500);  // 100 wide
    Make(true);
    int fs = -1;
    WindowPlacement r;
    display->LoadWindowPos(&fs, &r);
    EXPECT_EQ(fs, 1);
    EXPECT_EQ(r.right, 110) << "kept in full screen";
    display.reset();

    SaveRect(0, 10, 10, 110, 500);
    Make(false);
    EXPECT_EQ(Saved("Window_Position_LEFT"), 560u);
    EXPECT_EQ(video.windowRect, (plat::Rect{560, 240, 1360, 840}));
    display.reset();

    SaveRect(0, 1920 - 127, 10, 1920 + 700, 700);  // left beyond the screen
    Make(false);
    EXPECT_EQ(Saved("Window_Position_LEFT"), 560u);
    display.reset();

    SaveRect(0, 100, 50, 899, 649);
    Make(false);
    EXPECT_FALSE(display->IsFullScreen());
    EXPECT_EQ(video.windowRect, (plat::Rect{100, 50, 900, 650}));
}

TEST_F(DisplayTest, AWindowSavedOffTheScreenIsNotOpenedThereAtStartUp)
{
    // The start-up builds the display full screen; the saved flag would make
    // it windowed at a place beyond the desktop.
    SaveRect(0, 1920 - 127, 10, 1920 + 700, 700);
    Make(true);
    EXPECT_TRUE(display->IsFullScreen());
    EXPECT_EQ(Saved("Window_Position_FS"), 1u);
    EXPECT_EQ(Saved("Window_Position_LEFT"), 560u);
    display.reset();

    SaveRect(0, 100, 50, 899, 649);  // on the screen: opened windowed there
    Make(true);
    EXPECT_FALSE(display->IsFullScreen());
    EXPECT_EQ(video.windowRect, (plat::Rect{100, 50, 900, 650}));
}

TEST_F(DisplayTest, MissingValueCountsAsMissingKey)
{
    SaveRect(0, 100, 50, 899, 649);
    Make(true);  // the saved flag switches to windowed
    EXPECT_FALSE(display->IsFullScreen());
    EXPECT_FALSE(video.fullScreen);
    EXPECT_EQ(g_fullScreenMode, 0u);
    display.reset();

    platform.settings = plat::CMemorySettings{};
    platform.settings.CreateKey(kKey);
    platform.settings.SetDword(kKey, "Window_Position_FS", 0);
    platform.settings.SetDword(kKey, "Window_Position_LEFT", 100);
    Make(true);
    EXPECT_TRUE(display->IsFullScreen()) << "the current flag, as with no key";
    EXPECT_EQ(Saved("Window_Position_LEFT"), 560u);
}

TEST_F(DisplayTest, SavedEdgesThatGiveNoWindowCountAsMissing)
{
    // Even while full screen, where the size rules do not apply, edges that
    // make no window are not taken to the windowed mode they switch to.
    SaveRect(0, 500, 50, 100, 649);  // right before left
    Make(true);
    EXPECT_TRUE(display->IsFullScreen());
    EXPECT_EQ(Saved("Window_Position_LEFT"), 560u);
    display.reset();

    SaveRect(0, INT32_MIN, 0, INT32_MAX, 599);  // wider than an int holds
    Make(true);
    EXPECT_TRUE(display->IsFullScreen());
    EXPECT_EQ(Saved("Window_Position_RIGHT"), 1359u);
    display.reset();

    SaveRect(0, 100, 50, 899, 649);  // a real rectangle still switches
    Make(true);
    EXPECT_FALSE(display->IsFullScreen());
    EXPECT_EQ(video.windowRect, (plat::Rect{100, 50, 900, 650}));
}

TEST_F(DisplayTest, UpdateWindowPlacementKeepsTheMinimumSize)
{
    SaveRect(0, 100, 50, 899, 649);
    Make(false);
    video.windowRect = plat::Rect{200, 100, 300, 150};  // 100 x 50
    display->UpdateWindowPlacement();
    EXPECT_EQ(video.windowRect, (plat::Rect{200, 100, 329, 229}));
    EXPECT_EQ(Saved("Window_Position_RIGHT"), 328u);
    EXPECT_EQ(Saved("Window_Position_BOTTOM"), 228u);
}

TEST_F(DisplayTest, ConstructionFailureIsReported)
{
    video.FailSurfaces(true);
    Make(true);
    EXPECT_FALSE(display->Ok());
    ASSERT_EQ(platform.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(plat::Loop().QuitPosted());
    EXPECT_NE(display->Draw(), 1);
}

// The frame the player sees for a known palette and picture, converted for a
// 32-bit desktop, as a hash. QUORVEL_UPDATE_GOLDEN=1 rewrites the file.
TEST_F(DisplayTest, GoldenFrameOfPaletteAndPicture)
{
    std::vector<uint8_t> picture(800 * 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            picture[static_cast<size_t>(y) * 800 + x] = static_cast<uint8_t>((x / 8 + y / 8 * 3) & 0xFF);
    CArchiveBuilder b;
    b.Add("Tolmar.PAL", BuildPalFile(TestPalette())).Add("loading.bin", picture);
    CTestArchive archive(b);

    video.desktopDepth = 32;
    Make(false);
    auto palette = std::make_unique<CPaletteManager>(display.get());
    ASSERT_EQ(palette->LoadPalette("data\\Tolmar.PAL"), 1);
    const int h = ResOpen("data\\loading.bin");
    ASSERT_GE(h, 0);
    ASSERT_EQ(display->Lock(), 0);
    ASSERT_EQ(ResRead(display->GetBits(), 1, picture.size(), h), picture.size());
    display->Draw();
    ASSERT_EQ(video.presents, 1u);

    std::ostringstream hex;
    hex << std::hex << video.lastPresent.hash;
    const std::string path = std::string(QUORVEL_SOURCE_DIR) + "/tests/golden/display_frame.txt";
    const char* update = std::getenv("QUORVEL_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path) << hex.str() << "\n";
        GTEST_SKIP() << "golden written";
    }
    std::ifstream in(path);
    std::string golden;
    in >> golden;
    EXPECT_EQ(hex.str(), golden);
}

}  // namespace
