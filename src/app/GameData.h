// The start-up check of the data tables and the word filter that the chat
// sender applies.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

// Sequential reads of one archive entry: up to n bytes into buf, the count
// read (short only at the entry's end).
using EntryReader = std::function<size_t(void* buf, size_t n)>;

// The checked entries are read in chunks of this size.
constexpr size_t kChecksumChunk = 1u << 20;

// An entry of entrySize bytes ends with two u32 LE words: the XOR, then the
// sum (mod 2^32), of the little-endian words of the bytes before them, a
// final partial word padded with zeros. True when both match; an entry too
// short to hold the trailer fails.
bool VerifyChecksumTrailer(long entrySize, const EntryReader& read);

// Fills the bound names, then checks "bindfile.dat" and "item.obr" in the
// archive; TRUE (1) when both are present and pass, FALSE (0) otherwise.
int LoadGameData();

// The word filter: 82 zero-terminated words of at most 11 characters.
constexpr int kInsultWordCount = 82;
constexpr int kInsultWordSize = 12;
extern std::array<std::array<char, kInsultWordSize>, kInsultWordCount> g_insultWords;

// Reads the word filter from the lines of a file (CR LF). A line of 12 or
// more characters keeps its first 11, drops the 13th and starts the next
// entry with the rest. Entries past the end of the text stay empty.
void ReadInsultWords(const EntryReader& read,
                     std::array<std::array<char, kInsultWordSize>, kInsultWordCount>& words);
// Reads "insult.txt" from the archive into g_insultWords; false when the
// entry is missing.
bool LoadInsultWords();
