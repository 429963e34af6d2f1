// One page of the board or mail list: 15 entries filled from the server's
// list records, and the rows the list window shows of them.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

class CBoardList {
public:
    static constexpr int kRows = 15;
    static constexpr size_t kNameSize = 17;
    static constexpr size_t kDateSize = 15;
    static constexpr size_t kTitleSize = 92;
    // A formatted row never needs more.
    static constexpr size_t kRowSize = 256;

    struct Entry {
        int32_t number = -1;  // -1: an empty row
        char name[kNameSize] = {};
        char date[kDateSize] = {};
        uint32_t a = 0;  // line count
        uint32_t b = 0;  // board: the record's second counter; mail: 2
        uint32_t c = 0;
        char title[kTitleSize] = {};
    };

    // Every number := -1.
    void Clear();
    // Null outside 0..14.
    Entry* GetEntry(int index);
    const Entry* GetEntry(int index) const;
    // The name of the entry with that number; "" when no row has it.
    const char* GetNameByNumber(int32_t number) const;

    // A row from a 156-byte board list record: the date from its third
    // character (empty for a date shorter than three bytes). Texts are
    // copied bounded and always terminated.
    static void FillFromBoardRecord(Entry& e, const uint8_t* record);
    // A row from a 168-byte mail list record.
    static void FillFromMailRecord(Entry& e, const uint8_t* record);

    // The row's text: the board form "%5d  %-17s  %8s  %5d %5d    %-s" or
    // the mail form "%5d  %-17s  %s  %5d   %s"; an empty row is "".
    static void FormatBoardRow(const Entry& e, char* out, size_t size);
    static void FormatMailRow(const Entry& e, char* out, size_t size);

private:
    std::array<Entry, kRows> m_entries{};
};

extern CBoardList g_boardList;
extern CBoardList g_mailList;
