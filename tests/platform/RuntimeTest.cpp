#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fixtures/TempDir.h"
#include "platform/Crt.h"
#include "platform/Settings.h"
#include "platform/TextCodec.h"

namespace {

TEST(CRuntime, RandFollowsTheOriginalGenerator)
{
    plat::SRand(1);
    EXPECT_EQ(plat::Rand(), 41);
    EXPECT_EQ(plat::Rand(), 18467);
    EXPECT_EQ(plat::Rand(), 6334);
    plat::SRand(12345);
    int first = plat::Rand();
    plat::SRand(12345);
    EXPECT_EQ(plat::Rand(), first);
    for (int i = 0; i < 1000; ++i) {
        int r = plat::Rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, plat::kRandMax);
    }
}

TEST(CRuntime, CaseInsensitiveCompareFoldsToLowerCase)
{
    EXPECT_EQ(plat::StrICmp("Shan.FNT", "shan.fnt"), 0);
    // Folding to lower case puts '_' (0x5F) and '[' (0x5B) before the letters.
    EXPECT_LT(plat::StrICmp("a_b", "aab"), 0);
    EXPECT_LT(plat::StrICmp("A[", "Aa"), 0);
    EXPECT_GT(plat::StrICmp("abc", "ab"), 0);
    EXPECT_EQ(plat::StrNICmp("ABCx", "abcy", 3), 0);
}

TEST(KoreanLiterals, AreCp949BytesAndConvertBackToUtf8)
{
    const std::string text = "한글";  // U+D55C U+AE00
#if QUORVEL_CP949_LITERALS
    EXPECT_EQ(text, std::string("\xC7\xD1\xB1\xDB"));
#endif
    EXPECT_EQ(plat::Cp949ToUtf8("\xC7\xD1\xB1\xDB"), std::string("\xED\x95\x9C\xEA\xB8\x80"));
    EXPECT_EQ(plat::Utf8ToCp949("\xED\x95\x9C\xEA\xB8\x80"), std::string("\xC7\xD1\xB1\xDB"));
    // A lone lead byte does not stop the conversion.
    EXPECT_EQ(plat::Cp949ToUtf8(std::string("A\xC7", 2)), std::string("A\xEF\xBF\xBD"));
}

TEST(SettingsStore, DwordsAndStringsByCaseInsensitiveKey)
{
    plat::CMemorySettings s;
    EXPECT_FALSE(s.KeyExists("Software\\Brennix\\Quorvel"));
    s.CreateKey("Software\\Brennix\\Quorvel");
    EXPECT_TRUE(s.KeyExists("software\\brennix\\quorvel"));
    EXPECT_FALSE(s.GetDword("Software\\Brennix\\Quorvel", "Window_Position_FS").has_value());
    s.SetDword("Software\\Brennix\\Quorvel", "Window_Position_FS", 1);
    s.SetString("Control Panel\\International", "Locale", "00000412");
    EXPECT_EQ(s.GetDword("SOFTWARE\\Brennix\\Quorvel", "window_position_fs"), 1u);
    // A value of the other type reads as missing.
    EXPECT_FALSE(s.GetString("Software\\Brennix\\Quorvel", "Window_Position_FS").has_value());
}

TEST(SettingsStore, FileIsWrittenAtomicallyAndReadBack)
{
    CTempDir dir;
    const std::string path = dir.File("quorvel/settings.ini");
    {
        plat::CFileSettings s(path);
        s.SetDword("Software\\Brennix\\Quorvel", "Window_Position_LEFT", 4294967295u);
        s.SetString("Software\\Brennix\\Quorvel\\Server", "Host", "localhost");
    }
    std::ifstream in(path);
    ASSERT_TRUE(in.good());
    std::ifstream tmp(path + ".tmp");
    EXPECT_FALSE(tmp.good());
    plat::CFileSettings again(path);
    EXPECT_EQ(again.GetDword("Software\\Brennix\\Quorvel", "Window_Position_LEFT"), 4294967295u);
    EXPECT_EQ(again.GetString("Software\\Brennix\\Quorvel\\Server", "Host"), "localhost");
}

TEST(SettingsStore, DamagedLinesAreSkipped)
{
    plat::CMemorySettings s;
    s.Parse("orphan=dword:1\n[K]\nA=dword:99999999999\nB=dword:12x\nC=dword:7\n=x\nD\n");
    EXPECT_FALSE(s.GetDword("K", "A").has_value());
    EXPECT_FALSE(s.GetDword("K", "B").has_value());
    EXPECT_EQ(s.GetDword("K", "C"), 7u);
}

TEST(SettingsStore, LocaleComesFromTheStoreThenTheEnvironment)
{
    plat::CMemorySettings s;
    plat::SetSettings(&s);
    ::setenv("LC_ALL", "ko_KR.UTF-8", 1);
    EXPECT_EQ(plat::LocaleValue(), "00000412");
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(plat::LocaleValue(), "00000409");
    s.SetString("Control Panel\\International", "Locale", "00000412");
    EXPECT_EQ(plat::LocaleValue(), "00000412");
    ::unsetenv("LC_ALL");
    plat::SetSettings(nullptr);
}

}  // namespace
