#include "core/HanCodeConv.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// The C library's converter is the reference.
std::string Iconv(const char* to, const char* from, const std::string& in)
{
    iconv_t cd = iconv_open(to, from);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from << " -> " << to;
    std::string out(in.size() * 4 + 4, '\0');
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outp = out.data();
    size_t outLeft = out.size();
    const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    EXPECT_NE(r, static_cast<size_t>(-1));
    out.resize(out.size() - outLeft);
    return out;
}

std::string Utf8(uint32_t cp)
{
    std::string s;
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
    return s;
}

std::string ToJohab(const std::string& s)
{
    std::string out(s.size() + 1, '\0');
    CHanCodeConv::CP949ToJohab(s.c_str(), out.data());
    out.resize(std::strlen(out.c_str()));
    return out;
}

std::string ToCp949(const std::string& s)
{
    std::string out(s.size() + 1, '\0');
    CHanCodeConv::JohabToCP949(s.c_str(), out.data());
    out.resize(std::strlen(out.c_str()));
    return out;
}

// A heap block of exactly n bytes, so that ASan sees any overrun.
std::unique_ptr<char[]> Exact(const std::string& bytes)
{
    auto p = std::make_unique<char[]>(bytes.size() + 1);
    std::memcpy(p.get(), bytes.c_str(), bytes.size() + 1);
    return p;
}

}  // namespace

TEST(HanCodeConv, EverySyllableMatchesTheLibraryBothWays)
{
    std::string cp949, johab;
    for (uint32_t cp = 0xAC00; cp <= 0xD7A3; ++cp) {
        const std::string u = Utf8(cp);
        cp949 += Iconv("CP949", "UTF-8", u);
        johab += Iconv("JOHAB", "UTF-8", u);
    }
    ASSERT_EQ(cp949.size(), 2u * 11172);
    ASSERT_EQ(johab.size(), 2u * 11172);
    EXPECT_EQ(ToJohab(cp949), johab);
    EXPECT_EQ(ToCp949(johab), cp949);

    // In place, as the callers convert their own buffers.
    std::string buf = cp949;
    CHanCodeConv::CP949ToJohab(buf.data(), buf.data());
    EXPECT_EQ(buf, johab);
    CHanCodeConv::JohabToCP949(buf.data(), buf.data());
    EXPECT_EQ(buf, cp949);
}

TEST(HanCodeConv, KnownCodes)
{
    EXPECT_EQ(ToJohab("\xC7\xD1"), "\xD0\x65");  // 한
    EXPECT_EQ(ToCp949("\xD0\x65"), "\xC7\xD1");
    EXPECT_EQ(ToJohab("한글 Tolmar"), Iconv("JOHAB", "UTF-8", "\xED\x95\x9C\xEA\xB8\x80 Tolmar"));
}

TEST(HanCodeConv, OtherTextPassesThrough)
{
    std::string ascii;
    for (int c = 1; c < 128; ++c)
        ascii += static_cast<char>(c);
    EXPECT_EQ(ToJohab(ascii), ascii);
    EXPECT_EQ(ToCp949(ascii), ascii);

    // Compatibility jamo and symbols have no syllable code: unchanged.
    const std::string jamo = "\xA4\xA1\xA4\xBF\xA1\xA2";  // ㄱ ㅏ and a symbol
    EXPECT_EQ(ToJohab(jamo), jamo);

    // An extension-area syllable (똠, outside KS X 1001) converts and comes back.
    const std::string ext = Iconv("CP949", "UTF-8", "\xEB\x98\xA0");
    ASSERT_EQ(ext.size(), 2u);
    EXPECT_LT(static_cast<uint8_t>(ext[0]), 0xB0);
    const std::string j = ToJohab(ext);
    EXPECT_EQ(j, Iconv("JOHAB", "UTF-8", "\xEB\x98\xA0"));
    EXPECT_EQ(ToCp949(j), ext);
}

TEST(HanCodeConv, LoneLeadByteStopsAtTheNul)
{
    for (auto conv : {&CHanCodeConv::CP949ToJohab, &CHanCodeConv::JohabToCP949}) {
        for (const char* text : {"\xC7", "ab\xC7", "\xC7\xD1\xB0"}) {
            const std::string in = text;
            auto src = Exact(in);
            auto dst = std::make_unique<char[]>(in.size() + 1);
            conv(src.get(), dst.get());
            EXPECT_EQ(dst[in.size() - 1], in.back());
            EXPECT_EQ(dst[in.size()], '\0');
            conv(src.get(), src.get());
            EXPECT_EQ(src[in.size() - 1], in.back());
            EXPECT_EQ(src[in.size()], '\0');
        }
    }
}

TEST(HanCodeConv, AnyLengthConvertsWithoutOverrun)
{
    for (size_t n : {0u, 1u, 51u, 52u, 200u, 1001u}) {
        std::string in;
        while (in.size() + 2 <= n)
            in += "\xC7\xD1";
        if (in.size() < n)
            in += "x";
        auto src = Exact(in);
        auto dst = std::make_unique<char[]>(n + 1);
        CHanCodeConv::CP949ToJohab(src.get(), dst.get());
        EXPECT_EQ(std::strlen(dst.get()), n);
        CHanCodeConv::HasFinalConsonant(src.get());
    }
}

TEST(HanCodeConv, HasFinalConsonantLooksAtTheLastCharacter)
{
    EXPECT_TRUE(CHanCodeConv::HasFinalConsonant("한"));
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant("하"));
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant("Kim"));
    // 개 + b: the Johab trail byte 0x81 must not be read as a lead byte.
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant("개b"));
    EXPECT_TRUE(CHanCodeConv::HasFinalConsonant("Kim한"));
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant(""));
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant("\xC7"));
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant("한\xC7"));
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant("\xA4\xA1"));  // ㄱ alone is no syllable
    EXPECT_FALSE(CHanCodeConv::HasFinalConsonant("\xA1\xA2"));  // a symbol
    // A long name: no fixed buffer limits the text.
    std::string longName(300, 'a');
    longName += "한";
    EXPECT_TRUE(CHanCodeConv::HasFinalConsonant(longName.c_str()));
}
