// The ranking as the server pages it: six entries of 15 bytes (a 12-byte
// name, a byte value where 101 or more marks an empty entry, a u16 value).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

constexpr int kRankingEntries = 6;
constexpr size_t kRankingEntrySize = 15;
constexpr size_t kRankingNameSize = 12;
// g_rankingPage while a page is awaited: no entries are shown.
constexpr int32_t kRankingAwaited = 101;
// A byte value of this or more marks an empty entry.
constexpr int kRankingEmpty = 101;
// The marker of a reply for a name or rank not in the ranking.
constexpr uint8_t kRankingNotFound = 'e';

// The rank of the first entry on show, or kRankingAwaited.
extern int32_t g_rankingPage;
extern std::array<uint8_t, kRankingEntries * kRankingEntrySize> g_rankingEntries;

struct SRankingEntry {
    char name[kRankingNameSize + 1];  // always terminated
    int value;
    int score;
};
// Entry i of g_rankingEntries (0..5).
SRankingEntry GetRankingEntry(int i);

// The request bytes ('n' and a sub-code); the length.
size_t BuildRankingFirstPage(uint8_t* out);
size_t BuildRankingPage(uint8_t* out, int64_t first);
// name: Johab as typed; sent in CP949, cut at 12 bytes on a character boundary.
size_t BuildRankingByName(uint8_t* out, const char* name);
// text: the rank typed, read as a decimal number limited to 1..100.
size_t BuildRankingByRank(uint8_t* out, const char* text);
constexpr size_t kRankingRequestMax = 2 + kRankingNameSize;

// Back to the state at process start (between tests).
void ResetRankingGlobals();
