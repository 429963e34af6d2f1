#include "intro/LoginChecks.h"

#include <cstring>

#include "intro/AccountRecord.h"

namespace {

// Texts longer than any form field count as long as that field allows.
constexpr size_t kMaxField = 256;

size_t Len(const char* s) { return s ? strnlen(s, kMaxField) : 0; }
bool HasSpace(const char* s) { return s && std::memchr(s, ' ', Len(s)) != nullptr; }

// The limits the server accepts: an ID below 11 bytes, a password below 9.
constexpr size_t kIdLimit = 11;
constexpr size_t kPasswordLimit = 9;
constexpr size_t kNameLimit = 11;
constexpr size_t kResidentNumberLength = 14;
constexpr size_t kBirthDateLength = 8;

}  // namespace

const char* LoginCheckMessage(const char* id, const char* password)
{
    if (Len(id) == 0 || Len(password) == 0)
        return "모든 내용을 빠짐없이 입력하십시요";
    if (HasSpace(id))
        return "ID입력이 잘못 되었습니다";
    if (Len(id) >= kIdLimit || Len(password) >= kPasswordLimit)
        return "ID나 Password의 크기가 초과 하였습니다.";
    return nullptr;
}

const char* RegistrationCheckMessage(const RegisterTexts& f)
{
    for (const char* text : f)
        if (Len(text) == 0)
            return "모든 내용을 빠짐없이 입력하시길 바랍니다.";
    if (std::strcmp(f[kRegPassword], f[kRegPasswordAgain]) != 0)
        return "두 개의 비밀번호가 일치하지 않습니다.";
    if (HasSpace(f[kRegId]))
        return "ID입력에 공백이 있습니다.";
    if (Len(f[kRegId]) >= kIdLimit || Len(f[kRegPassword]) >= kPasswordLimit)
        return "ID나 Password의 크기가 초과 하였습니다.";
    if (Len(f[kRegResidentNumber]) != kResidentNumberLength || Len(f[kRegBirthDate]) != kBirthDateLength)
        return "주민번호나 생년월일의 크기가 잘못 입력되었습니다.";
    return nullptr;
}

const char* CharacterNameCheckMessage(const char* name)
{
    if (Len(name) == 0)
        return "캐릭터 이름을 입력하십시요";
    if (HasSpace(name))
        return "캐릭터 이름에 공백이 있습니다.";
    if (Len(name) >= kNameLimit)
        return "캐릭터 이름의 크기가 10자를 초과 하였습니다.";
    return nullptr;
}

void FillRegistrationRecord(AccountRecord& r, const RegisterTexts& f)
{
    r.Clear();
    r.SetText(AccountRecord::kId, AccountRecord::kIdSize, f[kRegId]);
    r.SetText(AccountRecord::kPassword, AccountRecord::kPasswordSize, f[kRegPassword]);
    r.SetText(AccountRecord::kText1, AccountRecord::kText1Size, f[kRegText1]);
    r.SetText(AccountRecord::kBirthDate, AccountRecord::kBirthDateSize, f[kRegBirthDate]);
    r.SetText(AccountRecord::kResidentNumber, AccountRecord::kResidentNumberSize, f[kRegResidentNumber]);
    r.SetText(AccountRecord::kText2, AccountRecord::kText2Size, f[kRegText2]);
    r.SetText(AccountRecord::kText3, AccountRecord::kText3Size, f[kRegText3]);
    r.SetText(AccountRecord::kText4, AccountRecord::kText4Size, f[kRegText4]);
}
