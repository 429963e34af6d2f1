// The checks the log-in, registration and character-name forms make
// before a request leaves. Lengths are CP949 byte counts.
#pragma once
#include <array>

struct AccountRecord;

// The registration form's fields in Tab order.
enum RegisterField {
    kRegId,
    kRegPassword,
    kRegPasswordAgain,
    kRegText1,
    kRegBirthDate,
    kRegResidentNumber,
    kRegText2,
    kRegText3,
    kRegText4,
    kRegFieldCount
};
using RegisterTexts = std::array<const char*, kRegFieldCount>;

// Each returns the message the player is shown, or null when the request
// may be sent.
const char* LoginCheckMessage(const char* id, const char* password);
const char* RegistrationCheckMessage(const RegisterTexts& fields);
const char* CharacterNameCheckMessage(const char* name);

// The registration record from checked fields: ID, password, text 1, birth
// date, resident number, text 2, text 3, text 4; offset 0 stays zero.
void FillRegistrationRecord(AccountRecord& record, const RegisterTexts& fields);
