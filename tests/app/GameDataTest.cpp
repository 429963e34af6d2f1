#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/GameData.h"
#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"
#include "platform/Debug.h"

namespace {

// Reads data in pieces of at most `piece` bytes, as the archive would.
struct MemReader {
    const Bytes* data;
    size_t pos = 0;
    size_t operator()(void* buf, size_t n)
    {
        const size_t take = std::min(n, data->size() - pos);
        std::memcpy(buf, data->data() + pos, take);
        pos += take;
        return take;
    }
};

Bytes Pattern(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(i * 37 + (i >> 8) + 1);
    return b;
}

bool Verify(const Bytes& entry)
{
    return VerifyChecksumTrailer(static_cast<long>(entry.size()), MemReader{&entry});
}

using Words = std::array<std::array<char, kInsultWordSize>, kInsultWordCount>;

Words ReadWords(const std::string& text)
{
    Bytes b(text.begin(), text.end());
    Words w;
    for (auto& e : w)
        e.fill('#');
    ReadInsultWords(MemReader{&b}, w);
    return w;
}

std::string Word(const Words& w, int i) { return std::string(w[static_cast<size_t>(i)].data()); }

}  // namespace

TEST(ChecksumTrailer, PassesForEveryLengthModFour)
{
    for (size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 1001u, (1u << 20) + 3}) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(Verify(CArchiveBuilder::WithTrailer(Pattern(n))));
    }
}

TEST(ChecksumTrailer, FailsOnAWrongXorOrSumOrAShortEntry)
{
    Bytes good = CArchiveBuilder::WithTrailer(Pattern(1027));
    Bytes badXor = good;
    badXor.at(1027) ^= 1;  // the stored XOR
    Bytes badSum = good;
    badSum.at(1034) ^= 0x80;  // the stored sum
    EXPECT_FALSE(Verify(badXor));
    EXPECT_FALSE(Verify(badSum));
    // A change in the data that leaves the XOR alone still breaks the sum.
    Bytes swapped = good;
    swapped.at(0) ^= 1;
    swapped.at(4) ^= 1;
    EXPECT_FALSE(Verify(swapped));
    EXPECT_FALSE(Verify(Bytes(5, 0)));
    EXPECT_FALSE(Verify(Bytes{}));
    // An entry that ends before the size it claims.
    Bytes cut(good.begin(), good.end() - 3);
    EXPECT_FALSE(VerifyChecksumTrailer(static_cast<long>(good.size()), MemReader{&cut}));
}

TEST(LoadGameData, ChecksTheArchiveEntriesAndFillsTheBoundNames)
{
    plat::SetDebugSink([](std::string_view) {});
    {
        CTestArchive archive(CArchiveBuilder::MinimalGame());
        EXPECT_EQ(LoadGameData(), 1);
        EXPECT_STREQ(g_bindNames[0], "item.obr");
        EXPECT_STREQ(g_bindNames[6], "shield01.bin");
    }
    {
        CArchiveBuilder b = CArchiveBuilder::MinimalGame();
        b.Damage().badTrailers = true;
        CTestArchive archive(b);
        EXPECT_EQ(LoadGameData(), 0);
    }
    {
        // No "item.obr" at all.
        CArchiveBuilder b;
        b.Nested().Add("potion01.bin", std::string_view("p"));
        b.Add("insult.txt", std::string_view("x\r\n"));
        CTestArchive archive(b);
        EXPECT_EQ(LoadGameData(), 0);
    }
    {
        // "item.obr" too short for a trailer.
        CArchiveBuilder b;
        b.SetTrailers(false);
        b.Nested().Add("potion01.bin", std::string_view("p"));
        b.Add("item.obr", std::string_view("abcde"));
        CTestArchive archive(b);
        EXPECT_EQ(LoadGameData(), 0);
    }
    plat::SetDebugSink({});
}

TEST(WordFilter, ReadsCrLfLinesAndCutsLongOnes)
{
    const Words w = ReadWords("abc\r\nABCDEFGHIJKLMNO\r\nxyz\r\n");
    EXPECT_EQ(Word(w, 0), "abc");
    EXPECT_EQ(Word(w, 1), "ABCDEFGHIJK");  // the first 11; the 13th is dropped
    EXPECT_EQ(Word(w, 2), "NO");           // the rest of the line from its 14th
    EXPECT_EQ(Word(w, 3), "xyz");
    for (int i = 4; i < kInsultWordCount; ++i)
        ASSERT_EQ(Word(w, i), "") << i;
}

TEST(WordFilter, EmptyFirstLineAndALastLineWithoutLineFeed)
{
    const Words w = ReadWords("\nabc\r\ndef");
    EXPECT_EQ(Word(w, 0), "");
    EXPECT_EQ(Word(w, 1), "abc");
    EXPECT_EQ(Word(w, 2), "def");
    EXPECT_EQ(Word(w, 3), "");

    // Twelve characters and the end of the file: still terminated.
    const Words t = ReadWords("abcdefghijkl");
    EXPECT_EQ(Word(t, 0), "abcdefghijk");
    EXPECT_EQ(t[0][11], 0);
}

TEST(WordFilter, StopsAtEightyTwoEntries)
{
    std::string text;
    for (int i = 0; i < 83; ++i)
        text += "w" + std::to_string(i) + "\r\n";
    const Words w = ReadWords(text);
    EXPECT_EQ(Word(w, 0), "w0");
    EXPECT_EQ(Word(w, 81), "w81");
}
