#include "social/BoardList.h"

#include <cstdio>
#include <cstring>

#include "core/ByteReader.h"

CBoardList g_boardList;
CBoardList g_mailList;

namespace {

// Board list record fields.
constexpr size_t kBoardNumber = 0, kBoardCounter = 4, kBoardName = 8, kBoardDate = 37, kBoardLines = 64,
                 kBoardTitle = 68;
constexpr size_t kBoardNameSize = 17, kBoardDateSize = 12, kBoardTitleSize = 80;
// Mail list record fields.
constexpr size_t kMailNumber = 0, kMailName = 4, kMailDate = 52, kMailLines = 76, kMailTitle = 80;
constexpr size_t kMailNameSize = 17, kMailDateSize = 12, kMailTitleSize = 88;
// The board's date is shown from its third character.
constexpr size_t kDateSkip = 2;

// A text field of the record into out: up to its first NUL, the field's end
// or out's room, terminated.
template <size_t N>
void CopyText(char (&out)[N], const uint8_t* record, size_t offset, size_t fieldSize)
{
    const char* src = reinterpret_cast<const char*>(record + offset);
    size_t n = strnlen(src, fieldSize);
    if (n > N - 1)
        n = N - 1;
    std::memcpy(out, src, n);
    out[n] = '\0';
}

uint32_t U32At(const uint8_t* record, size_t offset)
{
    CByteReader r(record + offset, 4);
    return r.U32();
}

}  // namespace

void CBoardList::Clear()
{
    for (Entry& e : m_entries)
        e.number = -1;
}

CBoardList::Entry* CBoardList::GetEntry(int index)
{
    return index >= 0 && index < kRows ? &m_entries[static_cast<size_t>(index)] : nullptr;
}

const CBoardList::Entry* CBoardList::GetEntry(int index) const
{
    return const_cast<CBoardList*>(this)->GetEntry(index);
}

const char* CBoardList::GetNameByNumber(int32_t number) const
{
    for (const Entry& e : m_entries)
        if (e.number >= 0 && e.number == number)
            return e.name;
    return "";
}

void CBoardList::FillFromBoardRecord(Entry& e, const uint8_t* record)
{
    e.number = static_cast<int32_t>(U32At(record, kBoardNumber));
    CopyText(e.name, record, kBoardName, kBoardNameSize);
    if (strnlen(reinterpret_cast<const char*>(record + kBoardDate), kBoardDateSize) > kDateSkip)
        CopyText(e.date, record, kBoardDate + kDateSkip, kBoardDateSize - kDateSkip);
    else
        e.date[0] = '\0';
    e.a = U32At(record, kBoardLines);
    e.b = U32At(record, kBoardCounter);
    e.c = 0;
    CopyText(e.title, record, kBoardTitle, kBoardTitleSize);
}

void CBoardList::FillFromMailRecord(Entry& e, const uint8_t* record)
{
    e.number = static_cast<int32_t>(U32At(record, kMailNumber));
    CopyText(e.name, record, kMailName, kMailNameSize);
    CopyText(e.date, record, kMailDate, kMailDateSize);
    e.a = U32At(record, kMailLines);
    e.b = 2;
    e.c = 0;
    CopyText(e.title, record, kMailTitle, kMailTitleSize);
}

void CBoardList::FormatBoardRow(const Entry& e, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    if (e.number < 0) {
        out[0] = '\0';
        return;
    }
    std::snprintf(out, size, "%5d  %-17s  %8s  %5d %5d    %-s", e.number, e.name, e.date, static_cast<int>(e.a),
                  static_cast<int>(e.b), e.title);
}

void CBoardList::FormatMailRow(const Entry& e, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    if (e.number < 0) {
        out[0] = '\0';
        return;
    }
    std::snprintf(out, size, "%5d  %-17s  %s  %5d   %s", e.number, e.name, e.date, static_cast<int>(e.a), e.title);
}
