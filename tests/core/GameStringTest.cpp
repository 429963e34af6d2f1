#include <gtest/gtest.h>

#include <string>

#include "core/BiString.h"
#include "core/GameString.h"
#include "core/Locale.h"
#include "platform/Settings.h"

TEST(GameString, CapacityDoubles)
{
    CGameString s;
    EXPECT_EQ(s.GetCapacity(), 8);
    EXPECT_EQ(s.GetLength(), 0);
    s.Assign("1234567");
    EXPECT_EQ(s.GetCapacity(), 8);
    s.Assign("12345678");
    EXPECT_EQ(s.GetCapacity(), 16);
    CGameString big;
    big.Assign(std::string(40, 'x').c_str());
    EXPECT_EQ(big.GetCapacity(), 64);
    big.Assign("short");
    EXPECT_EQ(big.GetCapacity(), 64);  // never shrinks

    CGameString a;
    a.Assign("abcde");
    a.Append("fgh");
    EXPECT_STREQ(a.GetString(), "abcdefgh");
    EXPECT_EQ(a.GetCapacity(), 16);
    CGameString c;
    for (int i = 0; i < 7; ++i)
        c.AppendChar('a');
    EXPECT_EQ(c.GetCapacity(), 8);
    c.AppendChar('b');
    EXPECT_EQ(c.GetCapacity(), 16);
    EXPECT_STREQ(c.GetString(), "aaaaaaab");
    c.Assign(nullptr);
    EXPECT_STREQ(c.GetString(), "");
}

TEST(GameString, SelfAppendAndAssign)
{
    CGameString s;
    s.Assign("abcdef");
    s.AppendString(s);  // grows while the source is its own buffer
    EXPECT_STREQ(s.GetString(), "abcdefabcdef");
    s.Append(s.GetString() + 6);
    EXPECT_STREQ(s.GetString(), "abcdefabcdefabcdef");
    s.Assign(s.GetString() + 12);
    EXPECT_STREQ(s.GetString(), "abcdef");
    s.AssignString(s);
    EXPECT_STREQ(s.GetString(), "abcdef");
    CGameString copy(s);
    copy.AppendChar('!');
    EXPECT_STREQ(s.GetString(), "abcdef");
    EXPECT_STREQ(copy.GetString(), "abcdef!");
}

TEST(GameString, CompareAndCase)
{
    CGameString s;
    s.Assign("abc");
    EXPECT_EQ(s.CompareChars("abd"), -1);
    EXPECT_EQ(s.CompareChars("abc"), 0);
    EXPECT_TRUE(s == "abc");
    s.Assign("ab");
    EXPECT_EQ(s.CompareChars("abc"), -99);
    s.Assign("\xB0\xA1");
    EXPECT_GT(s.CompareChars("a"), 0);  // bytes compare unsigned

    s.Assign("aZ\xB0\xA1q\xC7\xD1_");
    s.MakeUpper();
    EXPECT_STREQ(s.GetString(), "AZ\xB0\xA1Q\xC7\xD1_");
    s.MakeLower();
    EXPECT_STREQ(s.GetString(), "az\xB0\xA1q\xC7\xD1_");
}

TEST(GameString, TemporaryRing)
{
    CGameString a, b;
    a.Assign("left");
    b.Assign("right");
    const CGameString& first = CGameString::ConcatTemp(a, b);
    EXPECT_STREQ(first.GetString(), "leftright");
    const CGameString* slots[16] = {&first};
    for (int i = 1; i < 16; ++i) {
        slots[i] = &CGameString::ConcatTemp(a, "x");
        for (int k = 0; k < i; ++k)
            EXPECT_NE(slots[i], slots[k]);
    }
    EXPECT_STREQ(first.GetString(), "leftright");  // 15 later: still there
    const CGameString& seventeenth = CGameString::ConcatTemp(b, first);
    EXPECT_EQ(&seventeenth, &first);  // the first's slot, reused
    EXPECT_STREQ(seventeenth.GetString(), "rightleftright");

    // The tail of a result 16 concatenations old, joined to a longer text:
    // the slot grows, so the tail must be taken before it is freed.
    const CGameString& held = CGameString::ConcatTemp(a, "tail");
    for (int i = 1; i < 16; ++i)
        CGameString::ConcatTemp(a, "x");
    CGameString wide;
    wide.Assign("a much longer text than any before");
    const CGameString& joined = CGameString::ConcatTemp(wide, held.GetString() + 4);
    EXPECT_EQ(&joined, &held);
    EXPECT_STREQ(joined.GetString(), "a much longer text than any beforetail");
}

namespace {

class LocaleTest : public testing::Test {
protected:
    void SetUp() override
    {
        plat::SetSettings(&m_settings);
        setenv("LC_ALL", "C", 1);
    }
    void TearDown() override { plat::SetSettings(nullptr); }
    void SetLocale(const char* value) { m_settings.SetString("Control Panel\\International", "Locale", value); }

    plat::CMemorySettings m_settings;
};

}  // namespace

TEST_F(LocaleTest, BiStringFollowsTheLanguageSwitch)
{
    static const char kText[] = "한국어\0English";
    CBiString text(kText);
    EXPECT_STREQ(text.m_korean, "한국어");
    EXPECT_STREQ(text.m_english, "English");

    EXPECT_TRUE(IsNonKoreanLocale());  // no value
    EXPECT_STREQ(text.Get(), "English");
    SetLocale("00000412");
    EXPECT_FALSE(IsNonKoreanLocale());
    EXPECT_STREQ(text.Get(), "한국어");
    SetLocale("00000409");
    EXPECT_STREQ(text.Get(), "English");
    SetLocale("000004120");
    EXPECT_TRUE(IsNonKoreanLocale());

    CBiString blanks("가\0  ");
    EXPECT_STREQ(blanks.Get(), "  ");
    CBiString noEnglish("only");  // no second half: empty, not past the literal
    EXPECT_STREQ(noEnglish.Get(), "");
    CBiString pair("가", "ga");
    EXPECT_STREQ(pair.Get(), "ga");
}
