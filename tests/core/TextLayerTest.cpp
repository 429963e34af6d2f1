#include "core/TextLayer.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/Blit.h"
#include "core/HanCodeConv.h"
#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/FontBuilder.h"
#include "platform/Dialogs.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

constexpr uint8_t kText = 15;
constexpr uint8_t kPaper = 0;

// An 8-bit surface with guard bytes on both sides.
struct Surface {
    static constexpr int kGuard = 256;
    static constexpr uint8_t kGuardByte = 0xAB;
    int w;
    int h;
    std::vector<uint8_t> mem;

    Surface(int width, int height) : w(width), h(height), mem(static_cast<size_t>(width * height + 2 * kGuard), kGuardByte)
    {
        std::memset(Bits(), kPaper, static_cast<size_t>(w * h));
    }
    uint8_t* Bits() { return mem.data() + kGuard; }
    uint8_t At(int x, int y) { return Bits()[y * w + x]; }
    bool GuardsIntact() const
    {
        for (int i = 0; i < kGuard; ++i)
            if (mem[i] != kGuardByte || mem[mem.size() - 1 - i] != kGuardByte)
                return false;
        return true;
    }
    std::vector<uint8_t> Body() { return {Bits(), Bits() + w * h}; }
};

// The drawing rule written out pixel by pixel: set bits in `set`, clear bits
// in `clear`, 255 left out, inside the inclusive clip.
void RefBlit(Surface& s, int l, int t, int r, int b, int x, int y, const uint16_t rows[16], int width,
             uint8_t set, uint8_t clear)
{
    for (int row = 0; row < 16; ++row)
        for (int c = 0; c < width; ++c) {
            const uint8_t colour = (rows[row] & (0x8000 >> c)) ? set : clear;
            const int px = x + c;
            const int py = y + row;
            if (colour != 255 && px >= l && px <= r && py >= t && py <= b)
                s.Bits()[py * s.w + px] = colour;
        }
}

void AsciiRows(uint8_t ch, uint16_t rows[16])
{
    const Bytes font = CFontBuilder::EnglishFont();
    for (int r = 0; r < 16; ++r)
        rows[r] = static_cast<uint16_t>(font[ch * 16 + r] << 8);
}

std::string ToJohab(const char* cp949)
{
    std::string out(std::strlen(cp949) + 1, '\0');
    CHanCodeConv::CP949ToJohab(cp949, out.data());
    out.resize(std::strlen(out.c_str()));
    return out;
}

class TextLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const Bytes han = CFontBuilder::HangulFont();
        const Bytes eng = CFontBuilder::EnglishFont();
        ASSERT_TRUE(layer.SetFontData(han.data(), han.size(), eng.data(), eng.size()));
        layer.SetTarget(surface.Bits(), surface.w, surface.h);
        layer.SetColor(0);
        layer.SetColors(kText, 255);
    }
    void TearDown() override
    {
        ResetBlitContexts();
        EXPECT_TRUE(surface.GuardsIntact());
    }

    CGlyphPieces PiecesAt(int x, int y)
    {
        uint16_t rows[16];
        CFontBuilder::ReadCell(surface.Bits(), surface.w, x, y, 16, kText, rows);
        return CFontBuilder::DecodeHangul(rows);
    }
    int AsciiAt(int x, int y)
    {
        uint16_t rows[16];
        CFontBuilder::ReadCell(surface.Bits(), surface.w, x, y, 8, kText, rows);
        return CFontBuilder::DecodeAscii(rows);
    }

    Surface surface{400, 120};
    CTextLayer layer{nullptr};
};

}  // namespace

TEST_F(TextLayerTest, ComposesSyllablesFromTheRightPieceSets)
{
    struct Case {
        const char* cp949;
        CGlyphPieces want;
    };
    // Pieces by hand from the field arithmetic and the set tables.
    const Case cases[] = {
        {"한", {5, 19, 3, 1, 0, 4}},     // ㅎ ㅏ ㄴ: T2[1], T4[19], T5[1]
        {"하", {0, 19, 1, 1, -1, -1}},   // no final: T1[1], T3[19]
        {"고", {1, 1, 0, 9, -1, -1}},    // ㄱ ㅗ: T1[9] = 1, T3[1] = 0
        {"뷁", {7, 8, 3, 16, 2, 9}},     // ㅂ ㅞ ㄺ: T2[16], T4[8], T5[16]
        {"의", {3, 12, 1, 20, -1, -1}},  // ㅇ ㅢ: T1[20], T3[12]
    };
    int x = 0;
    for (const Case& c : cases) {
        const std::string j = ToJohab(c.cp949);
        ASSERT_EQ(j.size(), 2u);
        layer.DrawHangul(x, 0, static_cast<uint8_t>(j[0]), static_cast<uint8_t>(j[1]), 0);
        const CGlyphPieces p = PiecesAt(x, 0);
        const CGlyphPieces& want = c.want;
        EXPECT_EQ(p.initialSet, want.initialSet) << c.cp949;
        EXPECT_EQ(p.initial, want.initial) << c.cp949;
        EXPECT_EQ(p.medialSet, want.medialSet) << c.cp949;
        EXPECT_EQ(p.medial, want.medial) << c.cp949;
        EXPECT_EQ(p.finalSet, want.finalSet) << c.cp949;
        EXPECT_EQ(p.final, want.final) << c.cp949;
        x += 20;
    }
}

TEST_F(TextLayerTest, ConvertFlagTakesCp949AndTextDrawsInCells)
{
    layer.DrawText(10, 10, "한A하", 1);
    EXPECT_EQ(PiecesAt(10, 10).final, 4);
    EXPECT_EQ(AsciiAt(22, 10), 'A');
    EXPECT_EQ(PiecesAt(28, 10).initialSet, 0);

    // Without the flag the CP949 bytes are taken as Johab: other pieces.
    Surface other(400, 120);
    layer.SetTarget(other.Bits(), other.w, other.h);
    layer.DrawText(10, 10, "한", 0);
    uint16_t rows[16];
    CFontBuilder::ReadCell(other.Bits(), other.w, 10, 10, 16, kText, rows);
    EXPECT_NE(CFontBuilder::DecodeHangul(rows).initial, 19);
}

TEST_F(TextLayerTest, PenMovesByTheControlCharacters)
{
    layer.DrawText(200, 50, "A\r\nB", 0);
    EXPECT_EQ(AsciiAt(200, 50), 'A');
    EXPECT_EQ(AsciiAt(200, 66), 'B');

    Surface s2(400, 120);
    layer.SetTarget(s2.Bits(), s2.w, s2.h);
    layer.DrawText(200, 50, "A\rB", 0);
    uint16_t rows[16];
    CFontBuilder::ReadCell(s2.Bits(), s2.w, 206, 66, 8, kText, rows);
    EXPECT_EQ(CFontBuilder::DecodeAscii(rows), 'B');

    // TAB is an absolute column, also from the right of it.
    Surface s3(400, 120);
    layer.SetTarget(s3.Bits(), s3.w, s3.h);
    layer.DrawText(300, 0, "C\tD", 0);
    CFontBuilder::ReadCell(s3.Bits(), s3.w, 96, 0, 8, kText, rows);
    EXPECT_EQ(CFontBuilder::DecodeAscii(rows), 'D');
    CFontBuilder::ReadCell(s3.Bits(), s3.w, 300, 0, 8, kText, rows);
    EXPECT_EQ(CFontBuilder::DecodeAscii(rows), 'C');
}

TEST_F(TextLayerTest, BlankOnTransparentDrawsNothingButAdvances)
{
    layer.DrawText(0, 0, "A B", 0);
    EXPECT_EQ(AsciiAt(0, 0), 'A');
    EXPECT_EQ(AsciiAt(12, 0), 'B');
    for (int x = 8; x < 12; ++x)
        EXPECT_EQ(surface.At(x, 0), kPaper) << x;  // the blank's own bar is not drawn

    // On a solid background the blank is drawn.
    layer.SetColors(kText, 7);
    layer.DrawText(0, 40, " ", 0);
    EXPECT_EQ(surface.At(0, 41), 7);      // row 1 holds the code 0x20
    EXPECT_EQ(surface.At(2, 41), kText);
    EXPECT_EQ(surface.At(0, 45), 7);
}

TEST_F(TextLayerTest, ShadowIsTwoOffsetBlitsThenTheText)
{
    layer.SetColor(1);
    layer.SetColors(kText, 7);
    layer.DrawAscii(20, 20, 'A');

    uint16_t rows[16];
    AsciiRows('A', rows);
    Surface want(400, 120);
    const int r = want.w - 1, b = want.h - 1;
    RefBlit(want, 0, 0, r, b, 21, 21, rows, 8, CTextLayer::kShadowColour, 7);
    RefBlit(want, 0, 0, r, b, 22, 22, rows, 8, CTextLayer::kShadowColour, 7);
    RefBlit(want, 0, 0, r, b, 20, 20, rows, 8, kText, 255);
    EXPECT_EQ(surface.Body(), want.Body());

    // The order shows: the other way round gives another picture.
    Surface wrong(400, 120);
    RefBlit(wrong, 0, 0, r, b, 22, 22, rows, 8, CTextLayer::kShadowColour, 7);
    RefBlit(wrong, 0, 0, r, b, 21, 21, rows, 8, CTextLayer::kShadowColour, 7);
    RefBlit(wrong, 0, 0, r, b, 20, 20, rows, 8, kText, 255);
    EXPECT_NE(wrong.Body(), want.Body());
}

TEST_F(TextLayerTest, GlyphsAreClippedAtTheSurfaceAndClipEdges)
{
    layer.SetColor(1);
    const std::string han = ToJohab("한");
    const int xs[] = {-14, -3, 390, 396, 399, 100};
    const int ys[] = {-14, -1, 110, 118, 119, 50};
    for (int x : xs)
        for (int y : ys) {
            layer.DrawText(x, y, ("A" + han).c_str(), 0);
            ASSERT_TRUE(surface.GuardsIntact()) << x << "," << y;
        }

    // An inner clip: nothing outside it changes.
    Surface s(100, 60);
    layer.SetTarget(s.Bits(), s.w, s.h);
    layer.SetClipRect(10, 10, 49, 29);
    for (int x = -10; x < 70; x += 7)
        for (int y = -10; y < 50; y += 5)
            layer.DrawText(x, y, ("W" + han).c_str(), 0);
    for (int y = 0; y < s.h; ++y) {
        for (int x = 0; x < s.w; ++x) {
            if (x < 10 || x > 49 || y < 10 || y > 29) {
                ASSERT_EQ(s.At(x, y), kPaper) << x << "," << y;
            }
        }
    }
    EXPECT_NE(s.Body(), std::vector<uint8_t>(s.Body().size(), kPaper));  // something went in
    EXPECT_TRUE(s.GuardsIntact());

    // A clipped glyph keeps its rows in place.
    Surface c(40, 40);
    layer.SetTarget(c.Bits(), c.w, c.h);
    layer.SetColor(0);
    layer.DrawAscii(-3, -1, 'Z');
    uint16_t rows[16];
    AsciiRows('Z', rows);
    Surface want(40, 40);
    RefBlit(want, 0, 0, 39, 39, -3, -1, rows, 8, kText, 255);
    EXPECT_EQ(c.Body(), want.Body());
}

TEST_F(TextLayerTest, LoneLeadByteEndsTheText)
{
    auto text = std::make_unique<char[]>(3);
    std::memcpy(text.get(), "A\xC7", 3);
    layer.DrawText(0, 0, text.get(), 0);
    layer.DrawText(0, 20, text.get(), 1);
    EXPECT_EQ(AsciiAt(0, 0), 'A');
    EXPECT_EQ(surface.At(8, 0), kPaper);
}

TEST(TextLayerConvert, WansungToJohabCoversKsX1001Only)
{
    iconv_t cd = iconv_open("JOHAB", "CP949");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int k = 0; k < 2350; ++k) {
        char in[2] = {static_cast<char>(0xB0 + k / 94), static_cast<char>(0xA1 + k % 94)};
        char out[4];
        char* inp = in;
        char* outp = out;
        size_t inLeft = 2, outLeft = 4;
        ASSERT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<size_t>(-1));
        uint8_t lead = static_cast<uint8_t>(in[0]), trail = static_cast<uint8_t>(in[1]);
        CTextLayer::WansungToJohab(lead, trail);
        ASSERT_EQ(lead, static_cast<uint8_t>(out[0])) << k;
        ASSERT_EQ(trail, static_cast<uint8_t>(out[1])) << k;
    }
    iconv_close(cd);

    const uint8_t unchanged[][2] = {{0xC9, 0xA1}, {0xAF, 0xFE}, {0xB0, 0xA0}, {0xC8, 0xFF}, {0x41, 0x42}, {0xA4, 0xA1}};
    for (const auto& pair : unchanged) {
        uint8_t lead = pair[0], trail = pair[1];
        CTextLayer::WansungToJohab(lead, trail);
        EXPECT_EQ(lead, pair[0]);
        EXPECT_EQ(trail, pair[1]);
    }
}

TEST(TextLayerFonts, LoadFromTheArchiveOrFailWithAMessage)
{
    plat::CRecordingDialogs dialogs;
    plat::SetDialogs(&dialogs);
    {
        CArchiveBuilder b = CArchiveBuilder::MinimalGame();
        CTestArchive archive(b);
        CTextLayer layer(nullptr);
        EXPECT_EQ(layer.LoadFonts("data\\Shan.fnt", "data\\Seng.fnt"), 1);
        EXPECT_TRUE(dialogs.boxes.empty());
        Surface s(64, 32);
        layer.SetTarget(s.Bits(), s.w, s.h);
        layer.SetColor(0);
        layer.DrawText(0, 0, "Q", 0);
        uint16_t rows[16];
        CFontBuilder::ReadCell(s.Bits(), s.w, 0, 0, 8, 15, rows);
        EXPECT_EQ(CFontBuilder::DecodeAscii(rows), 'Q');
        ResetBlitContexts();
    }
    struct Case {
        const char* what;
        size_t hangulSize;
        size_t englishSize;
    };
    const Case cases[] = {{"missing", 0, 4096}, {"short", 11519, 4096}, {"short", 11520, 100}};
    for (const Case& c : cases) {
        dialogs.boxes.clear();
        CArchiveBuilder b;
        b.SetGap(64);  // a read past an entry's end would pick up filler
        if (c.hangulSize)
            b.Add("Shan.fnt", Bytes(c.hangulSize, 0xFF));
        b.Add("Seng.fnt", Bytes(c.englishSize, 0xFF));
        b.Add("zzz.bin", Bytes(20000, 0xFF));
        CTestArchive archive(b, false);
        ASSERT_EQ(ResOpenArchive(), 0);
        CTextLayer layer(nullptr);
        EXPECT_EQ(layer.LoadFonts("data\\Shan.fnt", "data\\Seng.fnt"), 0) << c.what;
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_NE(dialogs.boxes[0].text.find(c.englishSize < 4096 ? "Seng.fnt" : "Shan.fnt"), std::string::npos);
        // Nothing half-loaded is drawn.
        Surface s(64, 32);
        layer.SetTarget(s.Bits(), s.w, s.h);
        layer.SetColor(0);
        layer.DrawText(0, 0, c.englishSize < 4096 ? "Q" : "\xD0\x65", 0);
        EXPECT_EQ(s.Body(), std::vector<uint8_t>(64 * 32, kPaper)) << c.what;
        ResetBlitContexts();
    }
    plat::SetDialogs(nullptr);
}

TEST(TextLayerDraw, MatchesThePixelRuleAtRandomPositionsColoursAndClips)
{
    // Random fonts and surfaces; positions across every edge; every colour case.
    uint32_t seed = 12345;
    auto rnd = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % n);
    };
    std::vector<uint8_t> han(CTextLayer::kHangulFontSize), eng(CTextLayer::kEnglishFontSize);
    for (auto& b : han)
        b = static_cast<uint8_t>(rnd(256));
    for (auto& b : eng)
        b = static_cast<uint8_t>(rnd(256));
    CTextLayer layer(nullptr);
    ASSERT_TRUE(layer.SetFontData(han.data(), han.size(), eng.data(), eng.size()));
    const uint8_t colours[] = {15, 255, 114, 0, 200};

    for (int i = 0; i < 4000; ++i) {
        Surface got(37, 29), want(37, 29);
        for (int k = 0; k < got.w * got.h; ++k)
            got.Bits()[k] = want.Bits()[k] = static_cast<uint8_t>(rnd(256));
        layer.SetTarget(got.Bits(), got.w, got.h);
        int cl = 0, ct = 0, cr = got.w - 1, cb = got.h - 1;
        if (rnd(2)) {
            const int l = rnd(12) - 2, t = rnd(12) - 2;
            const int r = l + rnd(40), b = t + rnd(32);
            layer.SetClipRect(l, t, r, b);
            cl = std::max(l, 0);
            ct = std::max(t, 0);
            cr = std::min(r, got.w - 1);
            cb = std::min(b, got.h - 1);
        }
        const uint8_t text = colours[rnd(5)], back = colours[rnd(5)];
        const bool shadow = rnd(2) != 0;
        layer.SetColor(shadow ? 1 : 0);
        layer.SetColors(text, back);
        const int x = rnd(60) - 20, y = rnd(50) - 20;
        uint16_t rows[16];
        int width = 16;
        if (rnd(2)) {
            const uint16_t code = static_cast<uint16_t>(0x8000 | rnd(0x8000));
            layer.DrawHangul(x, y, static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code), 0);
            layer.ComposeHangul(code, rows);
        } else {
            const uint8_t ch = static_cast<uint8_t>(rnd(256));
            layer.DrawAscii(x, y, ch);
            for (int k = 0; k < 16; ++k)
                rows[k] = static_cast<uint16_t>(eng[ch * 16 + k] << 8);
            width = ch == ' ' && back == 255 ? 0 : 8;  // such a blank is not drawn
        }
        if (width != 0 && shadow) {
            RefBlit(want, cl, ct, cr, cb, x + 1, y + 1, rows, width, CTextLayer::kShadowColour, back);
            RefBlit(want, cl, ct, cr, cb, x + 2, y + 2, rows, width, CTextLayer::kShadowColour, back);
            RefBlit(want, cl, ct, cr, cb, x, y, rows, width, text, 255);
        } else if (width != 0) {
            RefBlit(want, cl, ct, cr, cb, x, y, rows, width, text, back);
        }
        ASSERT_EQ(got.Body(), want.Body()) << "case " << i << " at " << x << "," << y << " shadow " << shadow
                                           << " colours " << int(text) << "/" << int(back);
        ASSERT_TRUE(got.GuardsIntact());
    }
    ResetBlitContexts();
}
