#include "social/BoardUpload.h"

#include <algorithm>
#include <cstdio>

#include "core/BiString.h"
#include "core/ByteWriter.h"

namespace {

constexpr size_t kMinPostBody = 40;
constexpr size_t kMinText = 4;
constexpr size_t kMaxRecipientBytes = kRecipientSize - 1;
constexpr size_t kNameSize = 17;
constexpr size_t kLoginSize = 12;
constexpr size_t kTitleSize = 80;

const CBiString kTooLongText(
    "글이 너무 깁니다. 내용을 줄여 주세요.\0The text is too long. Please make it shorter.");

// The 4-byte length: the first 4 characters of the total in decimal, a NUL
// after a 3-digit one.
void PutLengthField(CByteWriter& w, size_t total)
{
    char digits[16] = {};
    std::snprintf(digits, sizeof digits, "%zu", total);
    w.Bytes(digits, 4);
}

// The upload around a header: its length, the header, the body and its NUL.
BoardUpload Finish(const CByteWriter& header, const std::string& body)
{
    BoardUpload up;
    const size_t total = header.Size() + body.size() + 1;
    if (total > kMaxUploadTotal) {
        up.check = UploadCheck::TooLong;
        return up;
    }
    CByteWriter w(4 + total);
    PutLengthField(w, total);
    w.Bytes(header.Data(), header.Size());
    w.Bytes(body.data(), body.size()).U8(0);
    up.bytes = std::move(w.Buffer());
    return up;
}

BoardUpload Refused(UploadCheck check)
{
    BoardUpload up;
    up.check = check;
    return up;
}

}  // namespace

const char* UploadCheckMessage(UploadCheck check)
{
    switch (check) {
    case UploadCheck::Ok: return "";
    case UploadCheck::ShortPostBody: return "40자 이상의 내용을 입력하세요.";
    case UploadCheck::ShortPostTitle: return "4자 이상의 제목을 입력하세요.";
    case UploadCheck::BadRecipients: return "받으실분의 아이디를 정확하게 기입해주세요";
    case UploadCheck::ShortMailBody: return "4자 이상의 내용을 입력하세요.";
    case UploadCheck::ShortMailTitle: return "4자 이상의 내용을 제목으로 등록하세요.";
    case UploadCheck::TooLong: return kTooLongText.Get();
    }
    return "";
}

uint32_t CountLines(const std::string& body)
{
    return static_cast<uint32_t>(std::count(body.begin(), body.end(), '\n')) + 1;
}

bool SplitRecipients(const std::string& text, std::array<std::string, kMaxRecipients>& slots)
{
    for (std::string& s : slots)
        s.clear();
    size_t count = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        const size_t end = std::min(text.find(' ', i), text.size());
        if (count == slots.size() || end - i > kMaxRecipientBytes)
            return false;
        slots[count++] = text.substr(i, end - i);
        i = end;
    }
    return true;
}

BoardUpload MakePostUpload(const std::string& name, const std::string& loginId, const std::string& title,
                           const std::string& body)
{
    if (body.size() < kMinPostBody)
        return Refused(UploadCheck::ShortPostBody);
    if (title.size() < kMinText)
        return Refused(UploadCheck::ShortPostTitle);
    CByteWriter h(kPostHeaderSize);
    h.Zeros(8).FixedString(name, kNameSize).FixedString(loginId, kLoginSize);
    // Date and time: the server fills them.
    h.Zeros(12).Zeros(11);
    h.U32(static_cast<uint32_t>(body.size() + 1)).U32(CountLines(body));
    h.FixedString(title, kTitleSize);
    // Two words the server does not read; ours are zero.
    h.Zeros(kPostHeaderSize - h.Size());
    return Finish(h, body);
}

BoardUpload MakeMailUpload(const std::string& name, const std::string& loginId, const std::string& recipients,
                           const std::string& title, const std::string& body)
{
    std::array<std::string, kMaxRecipients> slots;
    if (recipients.size() < kMinText || !SplitRecipients(recipients, slots))
        return Refused(UploadCheck::BadRecipients);
    if (body.size() < kMinText)
        return Refused(UploadCheck::ShortMailBody);
    if (title.size() < kMinText)
        return Refused(UploadCheck::ShortMailTitle);
    CByteWriter h(kMailHeaderSize);
    h.Zeros(8).FixedString(name, kNameSize).FixedString(loginId, kLoginSize);
    for (const std::string& s : slots)
        h.FixedString(s, kRecipientSize);
    h.Zeros(12).Zeros(13);
    h.U32(static_cast<uint32_t>(body.size() + 1)).U32(CountLines(body));
    h.FixedString(title, kTitleSize);
    h.Zeros(kMailHeaderSize - h.Size());
    return Finish(h, body);
}
