#include "core/Blit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "fixtures/RleFrames.h"

namespace {

constexpr uint8_t kCanary = 0xA5;
constexpr size_t kGuard = 4096;

// A target inside guard bands, with padding columns between width and pitch.
struct Canvas {
    int w, h, pitch;
    std::vector<uint8_t> mem;
    Canvas(int w_, int h_, int pitch_, std::mt19937& rng) : w(w_), h(h_), pitch(pitch_)
    {
        mem.assign(kGuard * 2 + static_cast<size_t>(pitch) * h, kCanary);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                At(x, y) = static_cast<uint8_t>(rng());
    }
    uint8_t* Bits() { return mem.data() + kGuard; }
    uint8_t& At(int x, int y) { return Bits()[static_cast<size_t>(y) * pitch + x]; }
    BlitTarget Target() { return BlitTarget{Bits(), w, h, pitch}; }
    bool CanariesIntact() const
    {
        for (size_t i = 0; i < mem.size(); ++i) {
            const bool inside = i >= kGuard && i < mem.size() - kGuard;
            if (!inside && mem[i] != kCanary)
                return false;
            if (inside) {
                size_t off = i - kGuard;
                if (static_cast<int>(off % pitch) >= w && mem[i] != kCanary)
                    return false;
            }
        }
        return true;
    }
};

enum class Kind { Plain, Remap, Blend, Levels, Stipple, Checker };

// Straight from the format: every pixel is placed and clipped on its own.
void ReferenceBlit(Kind kind, int x, int y, const std::vector<uint8_t>& f, Canvas& c,
                   const uint8_t* table, uint32_t phase, SpriteClipRect clip)
{
    const int bpp = kind == Kind::Levels ? 2 : 1;
    const int left = std::max(clip.left, 0), right = std::min(clip.right, c.w);
    const int top = std::max(clip.top, 0), bottom = std::min(clip.bottom, c.h);
    uint32_t h = f[4] | f[5] << 8 | f[6] << 16 | static_cast<uint32_t>(f[7]) << 24;
    size_t p = 8;
    for (uint32_t r = 0; r < h; ++r) {
        long col = 0;
        for (;;) {
            col += f[p];
            int count = f[p + 1];
            p += 2;
            for (int i = 0; i < count; ++i, ++col) {
                const uint8_t* px = &f[p + static_cast<size_t>(i) * bpp];
                long X = x + col, Y = y + static_cast<long>(r);
                if (X < left || X >= right || Y < top || Y >= bottom)
                    continue;
                uint8_t& d = c.At(static_cast<int>(X), static_cast<int>(Y));
                const long b0 = phase & 255, b1 = (phase >> 8) & 255;
                switch (kind) {
                case Kind::Plain: d = px[0]; break;
                case Kind::Remap: d = table[px[0]]; break;
                case Kind::Blend: d = table[px[0] * 256 + d]; break;
                case Kind::Levels: d = table[(px[0] & 7) * 65536 + px[1] * 256 + d]; break;
                case Kind::Stipple:
                    if (((b0 + r) & 1) && ((col + b1) & 1) == 0)
                        d = px[0];
                    break;
                case Kind::Checker:
                    if (((col + b1 + b0 + r) & 1) == 0)
                        d = px[0];
                    break;
                }
            }
            p += static_cast<size_t>(count) * bpp;
            if (f[p++] == 0)
                break;
        }
    }
}

void RunBlit(Kind kind, int x, int y, const std::vector<uint8_t>& f, const BlitTarget& t,
             const uint8_t* table, uint32_t phase, size_t size)
{
    switch (kind) {
    case Kind::Plain: BlitRle(x, y, f.data(), size, t); break;
    case Kind::Remap: BlitRleRemap(x, y, f.data(), size, t, table); break;
    case Kind::Blend: BlitRleBlend(x, y, f.data(), size, t, table); break;
    case Kind::Levels: BlitRleBlendLevels(x, y, f.data(), size, t, table); break;
    case Kind::Stipple: BlitRleStipple(x, y, f.data(), size, t, phase); break;
    case Kind::Checker: BlitRleChecker(x, y, f.data(), size, t, phase); break;
    }
}

class BlitRleTest : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override { ResetBlitContexts(); }
    void TearDown() override { ResetBlitContexts(); }
};

TEST_P(BlitRleTest, MatchesReferenceAtRandomPositionsAndClips)
{
    const Kind kind = GetParam();
    std::mt19937 rng(1234 + static_cast<int>(kind));
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<uint8_t> table(8 * 65536);
    for (auto& b : table)
        b = static_cast<uint8_t>(rng());

    for (int iter = 0; iter < 400; ++iter) {
        const int w = pick(1, 300), h = pick(1, 200), pitch = w + pick(0, 24);
        Canvas fast(w, h, pitch, rng);
        Canvas ref = fast;
        std::vector<uint8_t> frame = RandomRleFrame(rng, 400, 120, kind == Kind::Levels ? 2 : 1);
        // Clips inside, across and beyond the buffer's edges.
        SpriteClipRect clip{pick(-100, w), pick(-100, h), pick(-50, w + 200), pick(-50, h + 200)};
        if (iter % 5 == 0)
            clip = SpriteClipRect{0, 0, 800, 600};
        SetSpriteClipRect(clip.left, clip.top, clip.right, clip.bottom);
        const int x = pick(-450, w + 20), y = pick(-130, h + 10);
        const uint32_t phase = static_cast<uint32_t>(rng());

        RunBlit(kind, x, y, frame, fast.Target(), table.data(), phase, frame.size());
        ReferenceBlit(kind, x, y, frame, ref, table.data(), phase, clip);
        ASSERT_TRUE(fast.CanariesIntact()) << "iteration " << iter;
        ASSERT_EQ(fast.mem, ref.mem) << "iteration " << iter << " at " << x << "," << y;
    }
}

TEST_P(BlitRleTest, TruncatedFramesStayInsideTheirDataAndTarget)
{
    const Kind kind = GetParam();
    std::mt19937 rng(99);
    std::vector<uint8_t> table(8 * 65536, 7);
    for (int iter = 0; iter < 200; ++iter) {
        Canvas c(64, 48, 70, rng);
        std::vector<uint8_t> frame = RandomRleFrame(rng, 100, 60, kind == Kind::Levels ? 2 : 1);
        // Copy a prefix into its own allocation so ASan sees any overread.
        size_t cut = std::uniform_int_distribution<size_t>(0, frame.size())(rng);
        std::vector<uint8_t> part(frame.begin(), frame.begin() + static_cast<long>(cut));
        SetSpriteClipRect(0, 0, 800, 600);
        RunBlit(kind, -10, -5, part, c.Target(), table.data(), 0, part.size());
        ASSERT_TRUE(c.CanariesIntact());
    }
}

std::string KindName(const ::testing::TestParamInfo<Kind>& info)
{
    static const char* const kNames[] = {"Plain", "Remap", "Blend", "Levels", "Stipple", "Checker"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(AllVariants, BlitRleTest,
                         ::testing::Values(Kind::Plain, Kind::Remap, Kind::Blend, Kind::Levels,
                                           Kind::Stipple, Kind::Checker),
                         KindName);

std::vector<uint8_t> SolidFrame(int w, int h, uint8_t colour)
{
    return EncodeRle(std::vector<uint8_t>(static_cast<size_t>(w) * h, colour), w, h);
}

int CountRowsWith(std::vector<uint8_t>& screen, uint8_t colour)
{
    int rows = 0;
    for (int y = 0; y < 600; ++y)
        if (std::count(screen.begin() + y * 800, screen.begin() + (y + 1) * 800, colour) > 0)
            ++rows;
    return rows;
}

TEST(BlitRle, EdgesOfTheInitialClip)
{
    ResetBlitContexts();
    std::vector<uint8_t> screen(800 * 600, 0);
    BlitTarget t = ScreenTarget(screen.data());
    std::vector<uint8_t> f = SolidFrame(8, 10, 9);
    BlitRle(800, 0, f.data(), f.size(), t);  // at clip right
    BlitRle(-8, 0, f.data(), f.size(), t);   // wholly left
    EXPECT_EQ(CountRowsWith(screen, 9), 0);
    BlitRle(100, 475, f.data(), f.size(), t);  // the bottom 120 rows are outside
    EXPECT_EQ(CountRowsWith(screen, 9), 5);
}

TEST(BlitRle, RunStraddlingClipLeftKeepsLaterRunsInPlace)
{
    ResetBlitContexts();
    SetSpriteClipRect(10, 0, 800, 480);
    std::vector<uint8_t> screen(800 * 600, 0);
    // Run 1: columns 0..14 colour 1; run 2: skip 5, columns 20..22 colour 2.
    std::vector<uint8_t> f = BuildRleFrame(23, {{RleRun{0, std::vector<uint8_t>(15, 1)},
                                                 RleRun{0, {}}, RleRun{5, {2, 2, 2}}}});
    BlitRle(0, 0, f.data(), f.size(), ScreenTarget(screen.data()));
    for (int c = 0; c < 30; ++c) {
        uint8_t want = c < 10 ? 0 : c < 15 ? 1 : (c >= 20 && c < 23) ? 2 : 0;
        EXPECT_EQ(screen[c], want) << "column " << c;
    }
}

TEST(BlitDecoded, ClippedWidthsWriteExactlyTheVisibleBytes)
{
    std::mt19937 rng(5);
    for (int visible = 1; visible <= 7; ++visible) {
        for (int side = 0; side < 2; ++side) {
            ResetBlitContexts();
            Canvas c(40, 20, 40, rng);
            Canvas before = c;
            std::vector<uint8_t> px(16 * 4);
            for (auto& b : px)
                b = static_cast<uint8_t>(rng() | 1);
            std::vector<uint8_t> frame = BuildDecodedFrame(px, 16, 4);
            const int x = side == 0 ? visible - 16 : 40 - visible;  // left edge, right edge
            SetSpriteClipRect(0, 0, 800, 600);
            BlitDecoded(x, 3, frame.data(), frame.size(), c.Target());
            ASSERT_TRUE(c.CanariesIntact());
            for (int y = 0; y < 20; ++y)
                for (int col = 0; col < 40; ++col) {
                    const int fx = col - x, fy = y - 3;
                    const bool in = fx >= 0 && fx < 16 && fy >= 0 && fy < 4;
                    ASSERT_EQ(c.At(col, y), in ? px[fy * 16 + fx] : before.At(col, y))
                        << visible << " visible, side " << side;
                }
        }
    }
}

TEST(BlitDecoded, ShortFrameDrawsOnlyTheRowsItHolds)
{
    std::mt19937 rng(6);
    ResetBlitContexts();
    Canvas c(32, 32, 32, rng);
    std::vector<uint8_t> frame = BuildDecodedFrame(std::vector<uint8_t>(8 * 8, 3), 8, 8);
    frame.resize(8 + 8 * 3 + 5);  // three whole rows and a bit
    std::vector<uint8_t> part(frame);
    BlitDecoded(0, 0, part.data(), part.size(), c.Target());
    EXPECT_EQ(c.At(0, 2), 3);
    EXPECT_NE(c.At(0, 3), 3);
    EXPECT_TRUE(c.CanariesIntact());
}

TEST(ScreenSurface, KeyedBlitMatchesReferenceAndSkips255)
{
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int iter = 0; iter < 300; ++iter) {
        const int w = pick(1, 60), h = pick(1, 40);
        Canvas fast(w, h, w, rng);
        Canvas ref = fast;
        ScreenInitSurface(fast.Bits(), w, h);
        const int cl = pick(-5, w), ct = pick(-5, h), cr = pick(-1, w + 5), cb = pick(-1, h + 5);
        ScreenSetClip(cl, ct, cr, cb);
        const int sw = pick(1, 30), sh = pick(1, 30), x = pick(-35, w + 2), y = pick(-35, h + 2);
        std::vector<uint8_t> src(static_cast<size_t>(sw) * sh);
        for (auto& b : src)
            b = pick(0, 3) == 0 ? 255 : static_cast<uint8_t>(pick(0, 254));
        ScreenBlitKeyed(x, y, sw, sh, src.data());
        for (int r = 0; r < sh; ++r)
            for (int q = 0; q < sw; ++q) {
                int X = x + q, Y = y + r;
                if (X < std::max(cl, 0) || X > std::min(cr, w - 1) || Y < std::max(ct, 0) ||
                    Y > std::min(cb, h - 1) || src[r * sw + q] == 255)
                    continue;
                ref.At(X, Y) = src[r * sw + q];
            }
        ASSERT_TRUE(fast.CanariesIntact());
        ASSERT_EQ(fast.mem, ref.mem) << "iteration " << iter;
    }
    ResetBlitContexts();
}

TEST(ScreenSurface, VerticalScrollMovesRowsAndFillsWith255)
{
    for (int n : {1, -1, 15, -15, 16, -16, 100, -100}) {
        std::vector<uint8_t> s(10 * 16);
        for (int y = 0; y < 16; ++y)
            std::fill(s.begin() + y * 10, s.begin() + (y + 1) * 10, static_cast<uint8_t>(y));
        ScreenInitSurface(s.data(), 10, 16);
        ScreenScrollVertical(0, n);
        for (int y = 0; y < 16; ++y) {
            int from = y - n;  // the row that lands here
            uint8_t want = (from >= 0 && from < 16) ? static_cast<uint8_t>(from) : 255;
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(s[y * 10 + x], want) << "scroll " << n << " row " << y;
        }
    }
    ResetBlitContexts();
}

TEST(ScreenFill, ClipsToScreenAndTargetAndIgnoresEmptySizes)
{
    std::mt19937 rng(8);
    Canvas c(800, 600, 800, rng);
    Canvas before = c;
    ScreenFillRect(c.Target(), 790, 595, 0, 10, 1);
    ScreenFillRect(c.Target(), 790, 595, 10, -3, 1);
    EXPECT_EQ(c.mem, before.mem);
    ScreenFillRect(c.Target(), 790, 590, 50, 50, 0x1234);
    EXPECT_TRUE(c.CanariesIntact());
    EXPECT_EQ(c.At(799, 599), 0x34);
    EXPECT_EQ(c.At(790, 590), 0x34);
    EXPECT_EQ(c.At(789, 590), before.At(789, 590));

    // A small target is never overrun by a screen-sized fill.
    Canvas small(100, 50, 104, rng);
    ScreenFillRect(small.Target(), -20, -20, 800, 600, 7);
    EXPECT_TRUE(small.CanariesIntact());
    EXPECT_EQ(small.At(99, 49), 7);
}

}  // namespace
