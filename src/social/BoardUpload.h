// What the writing dialog sends to the board server: the checks of a post
// or a mail and its upload, a 4-byte decimal length, the post or mail header
// and the body with its NUL. Texts are CP949; lengths count CP949 bytes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kPostHeaderSize = 156;
constexpr size_t kMailHeaderSize = 328;
constexpr int kMaxRecipients = 10;
// A recipient slot holds 16 bytes and its NUL.
constexpr size_t kRecipientSize = 17;
// The length field has 4 digits: a total of this much or more cannot be
// said, and the server would read what follows as requests.
constexpr size_t kMaxUploadTotal = 9999;

enum class UploadCheck {
    Ok,
    ShortPostBody,   // fewer than 40 bytes
    ShortPostTitle,  // fewer than 4
    BadRecipients,   // fewer than 4 bytes, more than 10, or one over 16
    ShortMailBody,   // fewer than 4
    ShortMailTitle,  // fewer than 4
    TooLong,         // header and body with its NUL reach 10,000 bytes
};

// The box a failed check shows (CP949).
const char* UploadCheckMessage(UploadCheck check);

struct BoardUpload {
    UploadCheck check = UploadCheck::Ok;
    // The whole upload when the checks passed.
    std::vector<uint8_t> bytes;
};

// The writer's character name and login ID go into the header.
BoardUpload MakePostUpload(const std::string& name, const std::string& loginId, const std::string& title,
                           const std::string& body);
BoardUpload MakeMailUpload(const std::string& name, const std::string& loginId, const std::string& recipients,
                           const std::string& title, const std::string& body);

// The recipient words split at blanks into the header's slots; false when
// there are more than 10 or one is longer than 16 bytes.
bool SplitRecipients(const std::string& text, std::array<std::string, kMaxRecipients>& slots);
// Line feeds plus one.
uint32_t CountLines(const std::string& body);
