#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/FileStream.h"
#include "core/MemStream.h"
#include "core/ResFile.h"
#include "core/ResStream.h"
#include "fixtures/ArchiveBuilder.h"

TEST(DataStream, WordOrderOfEachSource)
{
    CTempDir dir;
    const std::string path = dir.File("words.bin");
    {
        CFileStream out(path.c_str(), "wb");
        ASSERT_TRUE(out.IsOpen());
        out.PutWord(0x1234);
        out.PutByte(0xAB);
        const uint8_t tail[] = {0x01, 0x02, 0x03};
        out.PutBytes(tail, 3);
    }
    std::ifstream raw(path, std::ios::binary);
    Bytes written((std::istreambuf_iterator<char>(raw)), {});
    EXPECT_EQ(written, Bytes({0x12, 0x34, 0xAB, 0x01, 0x02, 0x03}));

    CFileStream in(path.c_str(), "rb");
    EXPECT_EQ(in.GetWord(), 0x1234);
    EXPECT_EQ(in.GetByte(), 0xAB);
    uint8_t buf[8] = {};
    EXPECT_EQ(in.GetBytes(buf, 8), buf + 3);  // stops at the end of the file
    EXPECT_EQ(buf[2], 0x03);
    EXPECT_EQ(in.GetByte(), -1);
    EXPECT_EQ(in.GetWord(), -1);

    CArchiveBuilder b;
    b.Add("w.scr", Bytes{0x12, 0x34, 0xFF});
    CTestArchive archive(b);
    CResStream res("script\\W.SCR");
    ASSERT_TRUE(res.IsOpen());
    EXPECT_EQ(res.GetWord(), 0x1234);
    res.PutByte(0);  // read-only: nothing happens
    EXPECT_EQ(res.GetByte(), 0xFF);

    uint8_t mem[4] = {0x12, 0x34, 0, 0};
    CMemStream ms(mem, sizeof mem);
    EXPECT_EQ(ms.GetWord(), 0x3412);
    ms.PutWord(0xBEEF);
    EXPECT_EQ(mem[2], 0xEF);
    EXPECT_EQ(mem[3], 0xBE);
}

TEST(DataStream, EndOfEntryAndMissingSources)
{
    CArchiveBuilder b;
    b.SetGap(4);
    b.Add("a.scr", Bytes{1, 2, 3}).Add("b.scr", Bytes{9, 9, 9, 9});
    CTestArchive archive(b);

    CResStream s("a.scr");
    EXPECT_EQ(s.GetByte(), 1);
    EXPECT_EQ(s.GetByte(), 2);
    EXPECT_EQ(s.GetWord(), -1);  // one byte left: no word
    EXPECT_EQ(s.GetByte(), -1);

    CResStream t("b.scr");
    uint8_t buf[10] = {};
    EXPECT_EQ(t.GetBytes(buf, 10), buf + 4);
    EXPECT_EQ(t.GetByte(), -1);
    EXPECT_EQ(t.GetBytes(buf, -3), buf);

    CResStream missing("none.scr");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetByte(), -1);
    CFileStream noFile("/nonexistent/dir/file", "rb");
    EXPECT_FALSE(noFile.IsOpen());
    EXPECT_EQ(noFile.GetWord(), -1);
    noFile.PutWord(1);

    // The memory stream stops at the end of its block.
    uint8_t mem[3] = {7, 8, 9};
    CMemStream ms(mem, sizeof mem);
    EXPECT_EQ(ms.GetWord(), 0x0807);
    EXPECT_EQ(ms.GetWord(), -1);
    EXPECT_EQ(ms.GetByte(), 9);
    EXPECT_EQ(ms.GetByte(), -1);
    ms.PutByte(1);
    EXPECT_EQ(ms.Position(), mem + 3);
    CMemStream put(mem, sizeof mem);
    const uint8_t many[5] = {1, 2, 3, 4, 5};
    put.PutBytes(many, 5);
    EXPECT_EQ(put.Position(), mem + 3);
    EXPECT_EQ(mem[2], 3);
}
