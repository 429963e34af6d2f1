#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/ByteReader.h"
#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"
#include "platform/Process.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

Bytes Pattern(size_t n, uint8_t seed)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(seed + i * 7);
    return b;
}

Bytes ReadWhole(int h)
{
    Bytes out(static_cast<size_t>(ResSize(h)) + 64, 0);
    size_t got = ResRead(out.data(), 1, out.size(), h);
    out.resize(got);
    return out;
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The start-up check of a trailer: fold the data before the trailer, then
// compare with the two words there.
bool TrailerMatches(const char* name)
{
    int h = ResOpen(name);
    long size = ResSize(h);
    if (h < 0 || size < 8)
        return false;
    Bytes data(static_cast<size_t>(size - 8));
    if (ResRead(data.data(), 1, data.size(), h) != data.size())
        return false;
    auto [x, sum] = CArchiveBuilder::Checksum(data.data(), data.size());
    return ResPeekDword(h) == x && ResPeekDword2(h) == sum && ResTell(h) == size - 8;
}

}  // namespace

TEST(ArchiveLookup, NamesFoldToLowerCase)
{
    // '[' and '_' lie between the upper- and lower-case letters: folding to
    // lower case puts them before every letter.
    EXPECT_LT(ResCompareNames("a_b", "aab"), 0);
    EXPECT_LT(ResCompareNames("a[b", "a_b"), 0);
    EXPECT_LT(ResCompareNames("a_b", "aZb"), 0);
    EXPECT_EQ(ResCompareNames("SHAN.FNT", "shan.fnt"), 0);
    EXPECT_GT(ResCompareNames("\xB0\xA1", "zz"), 0);  // high bytes compare unsigned
    EXPECT_LT(ResCompareNames("ab", "abc"), 0);

    CArchiveBuilder b;
    b.Add("aZb", "3").Add("a_b", "2").Add("a[b", "1").Add("ABB", "4");
    CTestArchive archive(b);
    // Positions in the written index are the handles.
    EXPECT_EQ(ResOpen("a[b"), 0);
    EXPECT_EQ(ResOpen("a_b"), 1);
    EXPECT_EQ(ResOpen("abb"), 2);
    EXPECT_EQ(ResOpen("azb"), 3);
}

TEST(ArchiveLookup, BaseNameCaseAndLength)
{
    CArchiveBuilder b;
    b.Add("Shan.fnt", "shan").Add("Seng.fnt", "seng").Add("12345678901234567890", "twenty");
    b.Add("0first.bin", "zero");
    b.Nested().Add("item.obr", "items").Add("potion01.bin", "p1");
    CTestArchive archive(b);

    int h = ResOpen("Shan.fnt");
    ASSERT_GE(h, 0);
    EXPECT_EQ(ResOpen("data\\Shan.fnt"), h);
    EXPECT_EQ(ResOpen("SHAN.FNT"), h);
    EXPECT_EQ(ResOpen("data/sub\\shan.FNT"), h);
    EXPECT_EQ(ResOpen("0first.bin"), 0);  // position 0 is a valid handle
    EXPECT_EQ(ResOpen("12345678901234567890"), ResOpen("data\\12345678901234567890"));
    EXPECT_GE(ResOpen("12345678901234567890"), 0);
    EXPECT_EQ(ResOpen("123456789012345678901"), -1);
    EXPECT_EQ(ResOpen("missing.bin"), -1);
    EXPECT_EQ(ResOpen("data\\"), -1);
    EXPECT_EQ(ResOpen(nullptr), -1);

    // The bound names live in the nested archive only.
    EXPECT_EQ(ResBindOpen("item.obr"), 0);
    EXPECT_EQ(ResBindOpen("POTION01.BIN"), 1);
    EXPECT_EQ(ResOpen("potion01.bin"), -1);
    EXPECT_EQ(ResBindOpen("Shan.fnt"), -1);
}

TEST(ArchiveLookup, UnsortedIndexStillFindsEveryName)
{
    CArchiveBuilder b;
    b.Add("zeta", "z").Add("Alpha", "a").Add("mid", "m").Add("beta", "b");
    b.Damage().unsorted = true;
    CTestArchive archive(b);
    for (const char* name : {"zeta", "alpha", "MID", "Beta"}) {
        int h = ResOpen(name);
        ASSERT_GE(h, 0) << name;
        Bytes got = ReadWhole(h);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0], static_cast<uint8_t>(std::tolower(name[0])));
    }
}

TEST(ArchiveLookup, BoundNames)
{
    std::memset(g_bindNames, 0, sizeof g_bindNames);
    std::strcpy(g_bindNames[0], "item.obr");
    std::strcpy(g_bindNames[6], "shield01.bin");
    EXPECT_TRUE(IsBindName("item.obr"));
    EXPECT_TRUE(IsBindName("shield01.bin"));
    EXPECT_FALSE(IsBindName("Item.obr"));  // exact comparison
    EXPECT_FALSE(IsBindName("item.ob"));
    EXPECT_FALSE(IsBindName("item.obrx"));
    EXPECT_FALSE(IsBindName(""));
    EXPECT_FALSE(IsBindName(nullptr));
}

TEST(ArchiveRead, EntriesReadBackExactly)
{
    const Bytes a = Pattern(1000, 1), c = Pattern(3, 9), n1 = Pattern(777, 3), n2 = Pattern(5, 200);
    CArchiveBuilder b;
    b.SetGap(16);
    b.Add("a.bin", a).Add("c.bin", c).Add("empty.bin", Bytes{});
    b.Nested().SetGap(16);
    b.Nested().Add("n1.bin", n1).Add("n2.bin", n2);
    CTestArchive archive(b);

    EXPECT_EQ(ReadWhole(ResOpen("a.bin")), a);
    EXPECT_EQ(ReadWhole(ResOpen("c.bin")), c);
    EXPECT_TRUE(ReadWhole(ResOpen("empty.bin")).empty());
    EXPECT_EQ(ReadWhole(ResOpen("bindfile.dat")), b.StoredEntry("bindfile.dat"));

    // Nested entries: the file position adds bindfile.dat's own offset.
    for (const auto& [name, want] : {std::pair{"n1.bin", n1}, std::pair{"n2.bin", n2}}) {
        int h = ResBindOpen(name);
        ASSERT_GE(h, 0);
        Bytes got;
        uint8_t byte;
        while (ResBindRead(&byte, 1, 1, h) == 1)
            got.push_back(byte);
        EXPECT_EQ(got, want) << name;
    }
    int h = ResBindOpen("n1.bin");
    Bytes whole(n1.size() + 10, 0);
    EXPECT_EQ(ResBindRead(whole.data(), 1, whole.size(), h), n1.size());
    EXPECT_TRUE(std::equal(n1.begin(), n1.end(), whole.begin()));
    EXPECT_EQ(whole[n1.size()], 0);  // nothing of the filler that follows
}

TEST(ArchiveRead, ReadsStopAtTheEntryEnd)
{
    CArchiveBuilder b;
    b.SetGap(32);
    b.Add("ten.bin", Pattern(10, 0)).Add("next.bin", Pattern(50, 100));
    CTestArchive archive(b);
    int h = ResOpen("ten.bin");

    uint8_t buf[64];
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(ResRead(buf, 4, 3, h), 2u);  // 10 bytes: two whole items
    EXPECT_EQ(ResTell(h), 10);
    EXPECT_EQ(buf[9], Pattern(10, 0)[9]);
    EXPECT_EQ(buf[10], 0);
    EXPECT_EQ(ResRead(buf, 1, 1, h), 0u);

    ASSERT_EQ(ResSeek(h, 0, 2), 0);
    EXPECT_EQ(ResTell(h), 10);
    EXPECT_EQ(ResRead(buf, 1, sizeof buf, h), 0u);
    EXPECT_EQ(ResRead(buf, 0, 5, h), 0u);
    EXPECT_EQ(ResRead(nullptr, 1, 5, h), 0u);

    // Bad handles read nothing and report -1.
    EXPECT_EQ(ResRead(buf, 1, 1, -1), 0u);
    EXPECT_EQ(ResRead(buf, 1, 1, 99), 0u);
    EXPECT_EQ(ResBindRead(buf, 1, 1, 0), 0u);  // the nested archive is empty
    EXPECT_EQ(ResSize(99), -1);
    EXPECT_EQ(ResTell(-1), -1);
    EXPECT_EQ(ResSeek(99, 0, 0), -1);
}

TEST(ArchiveRead, SeekTellAndPeek)
{
    const Bytes data = Pattern(20, 40);
    CArchiveBuilder b;
    b.Add("s.bin", data).Add("t.bin", Pattern(8, 0));
    CTestArchive archive(b);
    int h = ResOpen("s.bin");
    uint8_t byte = 0;

    EXPECT_EQ(ResSeek(h, 5, 0), 0);
    EXPECT_EQ(ResTell(h), 5);
    EXPECT_EQ(ResSeek(h, 3, 1), 0);
    EXPECT_EQ(ResTell(h), 8);
    EXPECT_EQ(ResSeek(h, -4, 2), 0);
    EXPECT_EQ(ResTell(h), 16);
    ASSERT_EQ(ResRead(&byte, 1, 1, h), 1u);
    EXPECT_EQ(byte, data[16]);

    // Refused seeks leave the cursor where it was.
    EXPECT_EQ(ResSeek(h, 0, 3), -1);
    EXPECT_EQ(ResSeek(h, -1, 0), -1);
    EXPECT_EQ(ResSeek(h, -18, 1), -1);
    EXPECT_EQ(ResSeek(h, 1, 2), -1);
    EXPECT_EQ(ResSeek(h, 21, 0), -1);
    EXPECT_EQ(ResSeek(h, LONG_MAX, 1), -1);
    EXPECT_EQ(ResSeek(h, LONG_MIN, 2), -1);
    EXPECT_EQ(ResTell(h), 17);

    ASSERT_EQ(ResSeek(h, 4, 0), 0);
    EXPECT_EQ(ResPeekDword(h), uint32_t(data[4] | data[5] << 8 | data[6] << 16) | uint32_t(data[7]) << 24);
    EXPECT_EQ(ResPeekDword2(h),
              uint32_t(data[8] | data[9] << 8 | data[10] << 16) | uint32_t(data[11]) << 24);
    EXPECT_EQ(ResTell(h), 4);
    // Near the end the missing bytes read as 0, never the next entry's.
    ASSERT_EQ(ResSeek(h, 18, 0), 0);
    EXPECT_EQ(ResPeekDword(h), uint32_t(data[18] | data[19] << 8));
    EXPECT_EQ(ResPeekDword2(h), 0u);
    EXPECT_EQ(ResTell(h), 18);
}

TEST(ArchiveRead, OneCursorPerEntry)
{
    CArchiveBuilder b;
    b.Add("x.bin", Pattern(8, 0));
    CTestArchive archive(b);
    int h1 = ResOpen("x.bin");
    uint8_t buf[4];
    ASSERT_EQ(ResRead(buf, 1, 3, h1), 3u);
    int h2 = ResOpen("X.BIN");  // the same entry: its cursor starts over
    EXPECT_EQ(h1, h2);
    EXPECT_EQ(ResTell(h1), 0);
    ASSERT_EQ(ResRead(buf, 1, 2, h2), 2u);
    EXPECT_EQ(ResTell(h1), 2);
}

TEST(ArchiveOpen, MissingArchive)
{
    CTempDir dir;
    ResSetArchivePath(dir.File("Resource.dat"));
    EXPECT_EQ(ResOpenArchive(), -1);
    EXPECT_EQ(ResOpenBindFile(), 0);
    EXPECT_EQ(ResOpen("anything"), -1);
    ResSetArchivePath("");
}

TEST(ArchiveOpen, EveryDamagedArchiveIsRefused)
{
    CArchiveBuilder good;
    good.Add("one.bin", Pattern(30, 1)).Add("two.bin", Pattern(40, 2)).Add("three.bin", Pattern(5, 3));
    good.Nested().Add("n.bin", Pattern(12, 4));

    struct Case {
        const char* what;
        void (*damage)(CArchiveDamage&);
    };
    const Case cases[] = {
        {"bad magic", [](CArchiveDamage& d) { d.badMagic = true; }},
        {"bad index magic", [](CArchiveDamage& d) { d.badIndexMagic = true; }},
        {"wrong position", [](CArchiveDamage& d) { d.wrongPositionAt = 1, d.wrongPosition = 2; }},
        {"position past the index", [](CArchiveDamage& d) { d.wrongPositionAt = 0, d.wrongPosition = 999; }},
        {"short index", [](CArchiveDamage& d) { d.extraCount = 1; }},
        {"huge count", [](CArchiveDamage& d) { d.extraCount = 0x7FFFFFF0; }},
        {"index past the end", [](CArchiveDamage& d) { d.indexOffsetBeyondEnd = true; }},
        {"offset past the end", [](CArchiveDamage& d) { d.offsetBeyondEndAt = 2; }},
        {"size past the end", [](CArchiveDamage& d) { d.sizeBeyondEndAt = 0; }},
        {"unterminated name", [](CArchiveDamage& d) { d.unterminatedNameAt = 3; }},
        {"truncated index", [](CArchiveDamage& d) { d.truncateTo = 200; }},
    };
    for (const Case& c : cases) {
        CArchiveBuilder b = good;
        c.damage(b.Damage());
        CTestArchive archive(b, false);
        EXPECT_EQ(ResOpenArchive(), -1) << c.what;
        EXPECT_EQ(ResOpen("one.bin"), -1) << c.what;
        EXPECT_EQ(ResOpenBindFile(), 0) << c.what;
    }

    // Every proper prefix of a good archive is refused.
    const Bytes whole = good.Build();
    for (size_t n = 0; n < whole.size(); ++n) {
        CTestArchive archive(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)), false);
        ASSERT_EQ(ResOpenArchive(), -1) << n;
    }
    CTestArchive archive(whole, false);
    EXPECT_EQ(ResOpenArchive(), 0);
    EXPECT_EQ(ResOpenBindFile(), 1);
}

TEST(ArchiveOpen, DamagedNestedArchiveIsRefused)
{
    CArchiveBuilder good;
    good.Add("outer.bin", Pattern(10, 1));
    good.Nested().Add("a.bin", Pattern(12, 4)).Add("b.bin", Pattern(7, 5));

    struct Case {
        const char* what;
        void (*damage)(CArchiveDamage&);
    };
    const Case cases[] = {
        {"bad magic", [](CArchiveDamage& d) { d.badMagic = true; }},
        {"bad index magic", [](CArchiveDamage& d) { d.badIndexMagic = true; }},
        {"wrong position", [](CArchiveDamage& d) { d.wrongPositionAt = 0, d.wrongPosition = 1; }},
        {"short index", [](CArchiveDamage& d) { d.extraCount = 3; }},
        // Past bindfile.dat and its trailer, though still inside the file.
        {"entry past bindfile.dat", [](CArchiveDamage& d) { d.sizeBeyondEndAt = 1, d.beyondBy = 9; }},
        {"offset past bindfile.dat", [](CArchiveDamage& d) { d.offsetBeyondEndAt = 0, d.beyondBy = 9; }},
        {"index past bindfile.dat", [](CArchiveDamage& d) { d.indexOffsetBeyondEnd = true; }},
        {"truncated", [](CArchiveDamage& d) { d.truncateTo = 40; }},
    };
    for (const Case& c : cases) {
        CArchiveBuilder b = good;
        c.damage(b.Nested().Damage());
        CTestArchive archive(b, false);
        ASSERT_EQ(ResOpenArchive(), 0) << c.what;
        EXPECT_EQ(ResOpenBindFile(), 0) << c.what;
        EXPECT_EQ(ResBindOpen("a.bin"), -1) << c.what;
        EXPECT_GE(ResOpen("outer.bin"), 0) << c.what;
    }

    CArchiveBuilder noNested;
    noNested.Add("outer.bin", "x").NoNested();
    CTestArchive archive(noNested);
    EXPECT_EQ(ResOpenBindFile(), 0);
}

TEST(ArchiveTrailer, EveryLengthResidue)
{
    for (size_t len = 0; len < 12; ++len) {
        CArchiveBuilder b;
        b.Add("item.obr", Pattern(len, static_cast<uint8_t>(len * 13 + 1)));
        b.Nested().Add("potion01.bin", Pattern(len + 3, 7));
        {
            CTestArchive archive(b);
            EXPECT_EQ(ResSize(ResOpen("item.obr")), static_cast<long>(len + 8));
            EXPECT_TRUE(TrailerMatches("item.obr")) << len;
            EXPECT_TRUE(TrailerMatches("bindfile.dat")) << len;
        }
        b.Damage().badTrailers = true;
        CTestArchive archive(b);
        EXPECT_FALSE(TrailerMatches("item.obr")) << len;
        EXPECT_FALSE(TrailerMatches("bindfile.dat")) << len;
    }
    // A partial last word is padded with zero bytes.
    const Bytes tail = {1, 2, 3, 4, 5, 6};
    auto [x, sum] = CArchiveBuilder::Checksum(tail.data(), tail.size());
    EXPECT_EQ(x, 0x04030201u ^ 0x0605u);
    EXPECT_EQ(sum, 0x04030201u + 0x0605u);

    // One flipped byte of the data changes the check.
    Bytes data = Pattern(33, 5);
    auto before = CArchiveBuilder::Checksum(data.data(), data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] ^= 0x10;
        EXPECT_NE(CArchiveBuilder::Checksum(data.data(), data.size()), before) << i;
        data[i] ^= 0x10;
    }
}

TEST(ArchiveExtract, MusicFilesGoToTheRuntimeDirectory)
{
    CArchiveBuilder b;
    for (const char* name : {"Ext.mid", "Summer2.mid", "Summer1.mid", "Summcombat1.mid", "Winter2.mid",
                             "Outer.mid", "wintcombat1.mid", "Simul.mid", "Combat.mid"})
        b.Add(name, std::string_view(name));
    CTestArchive archive(b);

    ASSERT_EQ(ExtractMusicFiles(), 1);
    std::string dir = plat::RuntimeDir();
    ASSERT_FALSE(dir.empty());
    for (const char* name : g_musicFiles) {
        std::string path = MusicFilePath(name);
        EXPECT_EQ(path, dir + "/" + name);
        Bytes got = ReadFile(path);
        // "summcombat1.mid" is the entry "Summcombat1.mid".
        std::string want = std::strcmp(name, "summcombat1.mid") == 0 ? "Summcombat1.mid" : name;
        EXPECT_EQ(std::string(got.begin(), got.end()), want) << name;
    }
    size_t files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 10u);  // twelve names, three of them the same

    DeleteMusicFiles();
    DeleteMusicFiles();  // nothing left to remove: no harm
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    plat::RemoveRuntimeDir();
}

TEST(ArchiveExtract, FailuresAreReported)
{
    CArchiveBuilder b;
    b.Add("Ext.mid", "music").Add("Empty.mid", "");
    CTestArchive archive(b);
    CTempDir dir;
    EXPECT_EQ(ResExtractFile(dir.File("Empty.mid").c_str()), 1);
    EXPECT_TRUE(std::filesystem::exists(dir.File("Empty.mid")));
    EXPECT_EQ(ResExtractFile(dir.File("Ext.mid").c_str()), 1);
    EXPECT_EQ(ReadFile(dir.File("Ext.mid")), Bytes({'m', 'u', 's', 'i', 'c'}));
    EXPECT_EQ(ResExtractFile(dir.File("none/Ext.mid").c_str()), 0);  // cannot be written
    EXPECT_EQ(ResExtractFile(dir.File("Other.mid").c_str()), 0);     // no such entry
    EXPECT_FALSE(std::filesystem::exists(dir.File("Other.mid")));
    EXPECT_EQ(ExtractMusicFiles(), 0);  // "Summer2.mid" is missing
    DeleteMusicFiles();
    plat::RemoveRuntimeDir();
}

TEST(ArchiveFile, OpenReadSeekAndThrow)
{
    plat::CHeadlessPlatform platform;
    CArchiveBuilder b;
    b.Add("1080.bmp", Pattern(100, 3)).Add("a.bin", "x");
    b.Nested().Add("item.obr", "i");
    CTestArchive archive(b, false);

    CRFile file("data\\1080.bmp", CRFile::modeReadWrite);
    EXPECT_EQ(file.GetSize(), 100);
    EXPECT_EQ(file.GetHandle(), 0);  // position 0 is held like any other
    uint8_t buf[200];
    EXPECT_EQ(file.Read(buf, 200), 100u);
    EXPECT_EQ(buf[99], Pattern(100, 3)[99]);
    EXPECT_EQ(file.Seek(10, 0), 0);
    EXPECT_EQ(file.Read(buf, 1), 1u);
    EXPECT_EQ(buf[0], Pattern(100, 3)[10]);
    EXPECT_EQ(ResBindOpen("item.obr"), 0);  // the first CRFile opened both archives

    CRFile other;
    EXPECT_FALSE(other.Open("a.bin", 0));  // needs the read bit
    EXPECT_FALSE(other.Open("missing.bin", CRFile::modeRead));
    EXPECT_TRUE(other.Open("a.bin", CRFile::modeRead));
    other.Close();
    EXPECT_EQ(other.Read(buf, 1), 0u);

    try {
        CRFile missing("data\\missing.slr", CRFile::modeRead);
        FAIL() << "no exception";
    } catch (CException& e) {
        std::string text;
        EXPECT_TRUE(e.GetErrorMessage(text));
        EXPECT_EQ(text, "화일을 열수가 없습니다.");
        EXPECT_EQ(e.ReportError(), 0);
        ASSERT_EQ(platform.dialogs.boxes.size(), 1u);
        EXPECT_EQ(platform.dialogs.boxes[0].text, "화일을 열수가 없습니다.");
    }
    EXPECT_TRUE(platform.dialogs.boxes.size() == 1);
    std::string text;
    CRFileException(CRFileException::none).GetErrorMessage(text);
    EXPECT_EQ(text, "에러.");
}

TEST(ArchiveFileDeathTest, FirstUseWithoutArchiveEndsNonZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CTempDir dir;
    ResSetArchivePath(dir.File("Resource.dat"));
    EXPECT_EXIT({ CRFile file; }, testing::ExitedWithCode(1), "Data file not found!");

    CArchiveBuilder b;
    b.Add("a.bin", "x").NoNested();
    CTestArchive archive(b, false);
    EXPECT_EXIT({ CRFile file; }, testing::ExitedWithCode(1), "Bind Data file not found!");
    ResSetArchivePath("");
}

TEST(ArchiveLayout, FieldsWhereTheFormatPutsThem)
{
    CArchiveBuilder b;
    b.Add("Zed.bin", Bytes{1, 2, 3}).Add("abc.bin", Bytes{4, 5});
    b.Nested().Add("n.bin", Bytes{6});
    const Bytes a = b.Build();
    CByteReader r(a.data(), a.size());
    EXPECT_EQ(r.FixedString(11), "Resource:)");
    EXPECT_EQ(a[10], 0);
    EXPECT_EQ(r.U32(), 3u);  // with bindfile.dat
    uint32_t indexOffset = r.U32();
    EXPECT_EQ(Bytes(a.begin() + 19, a.begin() + 22), Bytes({1, 2, 3}));  // data in the order added
    ASSERT_TRUE(r.Seek(indexOffset));
    EXPECT_EQ(r.FixedString(8), "Index:P");
    const char* sorted[] = {"abc.bin", "bindfile.dat", "Zed.bin"};
    for (uint32_t i = 0; i < 3; ++i) {
        size_t rec = indexOffset + 8 + i * 48;
        ASSERT_TRUE(r.Seek(rec + 1));
        EXPECT_EQ(r.FixedString(21), sorted[i]);
        EXPECT_EQ(r.U16(), i);  // its own position
        uint32_t offset = r.U32();
        uint32_t size = r.U32();
        Bytes stored = b.StoredEntry(sorted[i]);
        ASSERT_EQ(size, stored.size());
        EXPECT_EQ(Bytes(a.begin() + offset, a.begin() + offset + size), stored);
    }
    EXPECT_EQ(a.size(), indexOffset + 8 + 3 * 48u);
    // bindfile.dat is a nested archive followed by its trailer.
    Bytes bind = b.StoredEntry("bindfile.dat");
    ASSERT_GT(bind.size(), 8u);
    EXPECT_EQ(std::string(bind.begin(), bind.begin() + 10), "Resource:)");
    auto [x, sum] = CArchiveBuilder::Checksum(bind.data(), bind.size() - 8);
    CByteReader t(bind.data() + bind.size() - 8, 8);
    EXPECT_EQ(t.U32(), x);
    EXPECT_EQ(t.U32(), sum);
}

TEST(ArchiveOpen, NestedArchiveAtPositionZero)
{
    CArchiveBuilder b;
    b.Add("zzz.bin", "z");
    b.Nested().Add("n.bin", "n");
    CTestArchive archive(b, false);
    ASSERT_EQ(ResOpenArchive(), 0);
    EXPECT_EQ(ResOpen("bindfile.dat"), 0);
    EXPECT_EQ(ResOpenBindFile(), 1);
    uint8_t c = 0;
    EXPECT_EQ(ResBindRead(&c, 1, 1, ResBindOpen("n.bin")), 1u);
    EXPECT_EQ(c, 'n');
}
