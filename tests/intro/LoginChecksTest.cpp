// The form checks and the account record, without the client.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "intro/AccountRecord.h"
#include "intro/LoginChecks.h"

namespace {

const char* const kEmpty = "모든 내용을 빠짐없이 입력하십시요";
const char* const kBadId = "ID입력이 잘못 되었습니다";
const char* const kTooLong = "ID나 Password의 크기가 초과 하였습니다.";

std::string Msg(const char* m) { return m ? m : "(sent)"; }

TEST(LoginCheck, MessagesInTheirOrder)
{
    struct Case {
        const char* id;
        const char* password;
        const char* expected;
    } cases[] = {
        {"", "pw", kEmpty},
        {"id", "", kEmpty},
        {"a b", "", kEmpty},              // emptiness is checked first
        {"a b", "pw", kBadId},
        {"a b345678901", "pw", kBadId},   // a space before the length
        {"abcdefghij", "12345678", nullptr},  // the most the edit line keeps
        {"abcdefghijk", "pw", kTooLong},
        {"id", "123456789", kTooLong},
        {"한글아이디", "pw", nullptr},    // 10 CP949 bytes
        {"한글아이디a", "pw", kTooLong},  // 11 bytes
    };
    for (const Case& c : cases)
        EXPECT_EQ(Msg(LoginCheckMessage(c.id, c.password)), Msg(c.expected)) << c.id << " / " << c.password;
}

TEST(CharacterNameCheck, LengthsCountCp949Bytes)
{
    EXPECT_EQ(Msg(CharacterNameCheckMessage("")), "캐릭터 이름을 입력하십시요");
    EXPECT_EQ(Msg(CharacterNameCheckMessage("가 나")), "캐릭터 이름에 공백이 있습니다.");
    EXPECT_EQ(Msg(CharacterNameCheckMessage("가나다라마")), "(sent)");  // five syllables, 10 bytes
    EXPECT_EQ(Msg(CharacterNameCheckMessage("가나다라마a")), "캐릭터 이름의 크기가 10자를 초과 하였습니다.");
    EXPECT_EQ(Msg(CharacterNameCheckMessage("abcdefghij")), "(sent)");
}

struct Registration {
    const char* f[kRegFieldCount] = {"myid", "pass", "pass", "t1", "19990101", "9901011234567", "t2", "t3", "t4"};
    RegisterTexts Texts() const
    {
        RegisterTexts t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = f[i];
        return t;
    }
};

TEST(RegistrationCheck, MessagesInTheirOrder)
{
    const std::string empty = "모든 내용을 빠짐없이 입력하시길 바랍니다.";
    const std::string differ = "두 개의 비밀번호가 일치하지 않습니다.";
    const std::string space = "ID입력에 공백이 있습니다.";
    const std::string sizes = "주민번호나 생년월일의 크기가 잘못 입력되었습니다.";

    Registration r;
    r.f[kRegResidentNumber] = "99010112345678";  // 14 bytes
    EXPECT_EQ(Msg(RegistrationCheckMessage(r.Texts())), "(sent)");
    for (int i = 0; i < kRegFieldCount; ++i) {
        Registration e = r;
        e.f[i] = "";
        EXPECT_EQ(Msg(RegistrationCheckMessage(e.Texts())), empty) << i;
    }
    Registration d = r;
    d.f[kRegPasswordAgain] = "pasS";
    d.f[kRegId] = "a b";  // the passwords are compared before the ID
    EXPECT_EQ(Msg(RegistrationCheckMessage(d.Texts())), differ);
    Registration s = r;
    s.f[kRegId] = "a b";
    EXPECT_EQ(Msg(RegistrationCheckMessage(s.Texts())), space);
    Registration l = r;
    l.f[kRegPassword] = l.f[kRegPasswordAgain] = "123456789";
    EXPECT_EQ(Msg(RegistrationCheckMessage(l.Texts())), kTooLong);
    for (const char* number : {"9901011234567", "990101123456789"}) {  // 13 and 15 bytes
        Registration n = r;
        n.f[kRegResidentNumber] = number;
        EXPECT_EQ(Msg(RegistrationCheckMessage(n.Texts())), sizes) << number;
    }
    Registration b = r;
    b.f[kRegBirthDate] = "1999010";
    EXPECT_EQ(Msg(RegistrationCheckMessage(b.Texts())), sizes);
}

TEST(AccountRecordLayout, RegistrationFillsEveryFieldAtItsOffset)
{
    Registration r;
    r.f[kRegId] = "abcdefghij";
    r.f[kRegPassword] = "12345678";
    r.f[kRegText1] = "text-one-11";
    r.f[kRegBirthDate] = "19990101";
    r.f[kRegResidentNumber] = "99010112345678";
    r.f[kRegText2] = "text two is nineteen";
    const std::string text3(59, '3');
    r.f[kRegText3] = text3.c_str();
    const std::string text4(29, '4');
    r.f[kRegText4] = text4.c_str();
    AccountRecord rec;
    rec.bytes.fill(0xEE);
    FillRegistrationRecord(rec, r.Texts());

    auto text = [&](size_t off, size_t size) {
        std::string s(reinterpret_cast<const char*>(rec.bytes.data() + off), size);
        return s;
    };
    auto padded = [](const std::string& s, size_t size) { return s + std::string(size - s.size(), '\0'); };
    EXPECT_EQ(text(0, 4), std::string(4, '\0'));
    EXPECT_EQ(text(4, 17), padded("abcdefghij", 17));
    EXPECT_EQ(text(21, 12), padded("text-one-11", 12));
    EXPECT_EQ(text(33, 10), padded("12345678", 10));
    EXPECT_EQ(text(43, 15), padded("99010112345678", 15));
    EXPECT_EQ(text(58, 20), padded("19990101", 20));
    EXPECT_EQ(text(78, 62), padded(text3, 62));
    EXPECT_EQ(text(140, 21), padded("text two is nineteen", 21));
    EXPECT_EQ(text(161, 32), padded(text4, 32));
    for (size_t i = 193; i < AccountRecord::kSize; ++i)
        ASSERT_EQ(rec.bytes[i], 0) << i;
}

TEST(AccountRecordSlots, ServerValuesAreBounded)
{
    AccountRecord rec;
    rec.SetSlot(1, 5, "Eric", 12);
    rec.SetI16(AccountRecord::kSlotKinds + 2, 9);    // slot 2: an unknown kind
    rec.SetI16(AccountRecord::kSlotKinds + 4, -1);   // slot 3: negative
    rec.SetI16(AccountRecord::kSlotLevels + 2, 3);
    // Slot 2's name fills all 12 bytes, slot 3's runs on into the levels.
    std::memset(rec.bytes.data() + AccountRecord::kSlotNames + 12, 'n', 24);
    EXPECT_EQ(rec.SlotKind(1), 5);
    EXPECT_EQ(rec.SlotKind(2), -1);
    EXPECT_EQ(rec.SlotKind(3), -1);
    EXPECT_EQ(rec.SlotKind(0), -1);
    EXPECT_EQ(rec.SlotKind(4), -1);
    char name[12];
    rec.SlotName(1, name);
    EXPECT_STREQ(name, "Eric");
    rec.SlotName(2, name);
    EXPECT_EQ(std::string(name), std::string(11, 'n'));
    rec.SlotName(7, name);
    EXPECT_STREQ(name, "");
    EXPECT_TRUE(rec.SlotExists(2));
    EXPECT_FALSE(rec.SlotExists(3));
    EXPECT_EQ(rec.SlotLevel(1), 12);
}

TEST(AccountRecordLevel, SeventyMarksAGameMaster)
{
    AccountRecord rec;
    rec.SetI16(AccountRecord::kLevel, 69);
    EXPECT_FALSE(rec.IsGm());
    rec.SetI16(AccountRecord::kLevel, 70);
    EXPECT_TRUE(rec.IsGm());
    EXPECT_EQ(rec.bytes[193], 70);
}

}  // namespace
