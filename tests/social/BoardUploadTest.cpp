#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ByteReader.h"
#include "platform/headless/HeadlessPlatform.h"
#include "social/BoardUpload.h"

namespace {

std::string Text(const std::vector<uint8_t>& b, size_t at, size_t n)
{
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + n));
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    CByteReader r(b.data() + at, 4);
    return r.U32();
}

bool AllZero(const std::vector<uint8_t>& b, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        if (b[i] != 0)
            return false;
    return true;
}

TEST(PostUpload, TwoHundredByteBodyGivesItsLengthTheHeaderAndTheBody)
{
    // 199 bytes and the NUL: three lines.
    const std::string body = std::string(97, 'a') + "\r\n" + std::string(48, 'b') + "\r\n" + std::string(50, 'c');
    ASSERT_EQ(body.size(), 199u);
    const BoardUpload up = MakePostUpload("Arin", "arin01", "Hello", body);
    ASSERT_EQ(up.check, UploadCheck::Ok);
    const std::vector<uint8_t>& b = up.bytes;
    ASSERT_EQ(b.size(), 4 + 156 + 200u);
    EXPECT_EQ(Text(b, 0, 4), std::string("356\0", 4));
    const size_t h = 4;
    EXPECT_TRUE(AllZero(b, h + 0, h + 8));
    EXPECT_EQ(Text(b, h + 8, 17), std::string("Arin") + std::string(13, '\0'));
    EXPECT_EQ(Text(b, h + 25, 12), std::string("arin01") + std::string(6, '\0'));
    EXPECT_TRUE(AllZero(b, h + 37, h + 60));  // date and time: the server's
    EXPECT_EQ(U32(b, h + 60), 200u);
    EXPECT_EQ(U32(b, h + 64), 3u);
    EXPECT_EQ(Text(b, h + 68, 80), std::string("Hello") + std::string(75, '\0'));
    EXPECT_TRUE(AllZero(b, h + 148, h + 156));
    EXPECT_EQ(Text(b, h + 156, 199), body);
    EXPECT_EQ(b.back(), 0);
}

TEST(MailUpload, ThreeRecipientsFillTheFirstThreeSlots)
{
    const std::string body = "see you\r\nat noon";
    const BoardUpload up = MakeMailUpload("Arin", "arin01", "  alpha beta  gamma ", "Meet", body);
    ASSERT_EQ(up.check, UploadCheck::Ok);
    const std::vector<uint8_t>& b = up.bytes;
    const size_t total = 328 + body.size() + 1;
    ASSERT_EQ(b.size(), 4 + total);
    EXPECT_EQ(Text(b, 0, 4), std::to_string(total).substr(0, 3) + std::string(1, '\0'));
    const size_t h = 4;
    EXPECT_TRUE(AllZero(b, h, h + 8));
    EXPECT_EQ(Text(b, h + 8, 5), std::string("Arin\0", 5));
    EXPECT_EQ(Text(b, h + 25, 7), std::string("arin01\0", 7));
    EXPECT_EQ(Text(b, h + 37, 17), std::string("alpha") + std::string(12, '\0'));
    EXPECT_EQ(Text(b, h + 54, 17), std::string("beta") + std::string(13, '\0'));
    EXPECT_EQ(Text(b, h + 71, 17), std::string("gamma") + std::string(12, '\0'));
    EXPECT_TRUE(AllZero(b, h + 88, h + 232));  // seven empty slots, two empty strings
    EXPECT_EQ(U32(b, h + 232), body.size() + 1);
    EXPECT_EQ(U32(b, h + 236), 2u);
    EXPECT_EQ(Text(b, h + 240, 5), std::string("Meet\0", 5));
    EXPECT_TRUE(AllZero(b, h + 245, h + 328));
    EXPECT_EQ(Text(b, h + 328, body.size()), body);
}

struct CheckCase {
    const char* name;
    bool mail;
    std::string recipients;
    std::string title;
    std::string body;
    UploadCheck expected;
    const char* message;  // the box
};

// The box of a text that is too long speaks the player's language.
const char* const kTooLong = "The text is too long. Please make it shorter.";

class UploadChecks : public ::testing::TestWithParam<CheckCase> {
protected:
    UploadChecks() { m_platform.settings.SetString("Control Panel\\International", "Locale", "00000409"); }
    plat::CHeadlessPlatform m_platform;
};

TEST_P(UploadChecks, RefuseWithTheirMessageOrPass)
{
    const CheckCase& c = GetParam();
    const BoardUpload up = c.mail ? MakeMailUpload("Arin", "arin01", c.recipients, c.title, c.body)
                                  : MakePostUpload("Arin", "arin01", c.title, c.body);
    EXPECT_EQ(up.check, c.expected);
    if (c.expected == UploadCheck::Ok) {
        EXPECT_FALSE(up.bytes.empty());
        // The 4-digit length field always says the whole total.
        EXPECT_EQ(std::stoul(Text(up.bytes, 0, 4).c_str()), up.bytes.size() - 4);
    } else {
        EXPECT_TRUE(up.bytes.empty());
        EXPECT_STREQ(UploadCheckMessage(up.check), c.message);
    }
}

const std::string k16(16, 'i');

INSTANTIATE_TEST_SUITE_P(
    Table, UploadChecks,
    ::testing::Values(
        CheckCase{"PostBody39", false, "", "Good", std::string(39, 'x'), UploadCheck::ShortPostBody,
                  "40자 이상의 내용을 입력하세요."},
        CheckCase{"PostBody40", false, "", "Good", std::string(40, 'x'), UploadCheck::Ok, ""},
        // Lengths count CP949 bytes: 20 syllables are 40.
        CheckCase{"PostBodyHangul", false, "", "Good", std::string(40, '\xB0'), UploadCheck::Ok, ""},
        CheckCase{"PostTitle3", false, "", "abc", std::string(40, 'x'), UploadCheck::ShortPostTitle,
                  "4자 이상의 제목을 입력하세요."},
        CheckCase{"PostTitle4", false, "", "abcd", std::string(40, 'x'), UploadCheck::Ok, ""},
        CheckCase{"PostBodyFirst", false, "", "ab", "short", UploadCheck::ShortPostBody,
                  "40자 이상의 내용을 입력하세요."},
        // 156 + 9842 + 1 = 9999 fits the field; one more does not.
        CheckCase{"PostTotal9999", false, "", "Good", std::string(9842, 'x'), UploadCheck::Ok, ""},
        CheckCase{"PostTotal10000", false, "", "Good", std::string(9843, 'x'), UploadCheck::TooLong,
                  kTooLong},
        CheckCase{"PostBody9844", false, "", "Good", std::string(9844, 'x'), UploadCheck::TooLong,
                  kTooLong},
        CheckCase{"MailRecipients3", true, "abc", "Good", "body", UploadCheck::BadRecipients,
                  "받으실분의 아이디를 정확하게 기입해주세요"},
        CheckCase{"MailTenRecipients", true, "a1 a2 a3 a4 a5 a6 a7 a8 a9 a10", "Good", "body", UploadCheck::Ok, ""},
        CheckCase{"MailElevenRecipients", true, "a1 a2 a3 a4 a5 a6 a7 a8 a9 a10 a11", "Good", "body",
                  UploadCheck::BadRecipients, "받으실분의 아이디를 정확하게 기입해주세요"},
        CheckCase{"MailId16", true, k16, "Good", "body", UploadCheck::Ok, ""},
        CheckCase{"MailId17", true, k16 + "i", "Good", "body", UploadCheck::BadRecipients,
                  "받으실분의 아이디를 정확하게 기입해주세요"},
        CheckCase{"MailBody3", true, "alpha", "Good", "abc", UploadCheck::ShortMailBody,
                  "4자 이상의 내용을 입력하세요."},
        CheckCase{"MailTitle3", true, "alpha", "abc", "body", UploadCheck::ShortMailTitle,
                  "4자 이상의 내용을 제목으로 등록하세요."},
        CheckCase{"MailTitle4", true, "alpha", "abcd", "body", UploadCheck::Ok, ""},
        CheckCase{"MailTotal10000", true, "alpha", "Good", std::string(9671, 'x'), UploadCheck::TooLong,
                  kTooLong},
        CheckCase{"MailTotal9999", true, "alpha", "Good", std::string(9670, 'x'), UploadCheck::Ok, ""}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

}  // namespace
