#include "app/GameData.h"

#include <cstring>
#include <vector>

#include "core/ByteReader.h"
#include "core/ResFile.h"
#include "platform/Debug.h"

std::array<std::array<char, kInsultWordSize>, kInsultWordCount> g_insultWords;

namespace {

// The data files the sprite list and the item lists read from the nested
// archive, in the order of the table.
constexpr const char* kDataFileNames[kBindNameCount] = {
    "item.obr", "potion01.bin", "potion02.bin", "potion88.bin",
    "weapon01.bin", "weapon02.bin", "shield01.bin",
};

constexpr long kTrailerSize = 8;

EntryReader ArchiveReader(int handle)
{
    return [handle](void* buf, size_t n) { return ResRead(buf, 1, n, handle); };
}

bool CheckEntry(const char* name)
{
    const int h = ResOpen(name);
    if (h == -1) {
        plat::DebugPrintf("%s: missing\n", name);
        return false;
    }
    const bool ok = VerifyChecksumTrailer(ResSize(h), ArchiveReader(h));
    ResClose(h);
    if (!ok)
        plat::DebugPrintf("%s: check trailer mismatch\n", name);
    return ok;
}

}  // namespace

bool VerifyChecksumTrailer(long entrySize, const EntryReader& read)
{
    if (entrySize < kTrailerSize || !read)
        return false;
    std::vector<uint8_t> chunk(kChecksumChunk);
    uint32_t xorAcc = 0;
    uint32_t sumAcc = 0;
    size_t left = static_cast<size_t>(entrySize - kTrailerSize);
    while (left > 0) {
        const size_t want = left < kChecksumChunk ? left : kChecksumChunk;
        const size_t got = read(chunk.data(), want);
        if (got > want)
            return false;
        // Zero-filled after a short chunk, so a partial word is padded.
        std::memset(chunk.data() + got, 0, kChecksumChunk - got);
        const size_t words = (got + 3) / 4;
        CByteReader r(chunk.data(), words * 4);
        for (size_t i = 0; i < words; ++i) {
            const uint32_t w = r.U32();
            xorAcc ^= w;
            sumAcc += w;
        }
        if (got < want)
            return false;  // the entry ended before its trailer
        left -= got;
    }
    uint8_t trailer[kTrailerSize];
    if (read(trailer, sizeof trailer) != sizeof trailer)
        return false;
    CByteReader t(trailer, sizeof trailer);
    const uint32_t storedXor = t.U32();
    const uint32_t storedSum = t.U32();
    return storedXor == xorAcc && storedSum == sumAcc;
}

int LoadGameData()
{
    for (int i = 0; i < kBindNameCount; ++i) {
        std::memset(g_bindNames[i], 0, kBindNameSize);
        std::strncpy(g_bindNames[i], kDataFileNames[i], kBindNameSize - 1);
    }
    if (!CheckEntry("bindfile.dat"))
        return 0;
    if (!CheckEntry("item.obr"))
        return 0;
    return 1;
}

void ReadInsultWords(const EntryReader& read,
                     std::array<std::array<char, kInsultWordSize>, kInsultWordCount>& words)
{
    for (auto& w : words)
        w.fill(0);
    if (!read)
        return;
    auto next = [&read](char& c) { return read(&c, 1) == 1; };
    bool atEnd = false;
    for (auto& word : words) {
        char c = 0;
        if (atEnd || !next(c)) {
            atEnd = true;
            break;
        }
        size_t n = 0;
        bool lineEnded = false;
        for (int i = 0; i < kInsultWordSize; ++i) {
            if (c == '\n') {
                lineEnded = true;
                break;
            }
            word[n++] = c;
            if (!next(c)) {
                atEnd = true;
                break;
            }
        }
        if (n == 0)
            continue;  // an empty line: nothing to terminate
        if (atEnd && !lineEnded && n < kInsultWordSize) {
            // A short last line without a line feed: keep it whole, less its CR.
            if (word[n - 1] == '\r')
                word[n - 1] = 0;
            continue;
        }
        // The collected CR (or, in a long line, the twelfth byte) gives way
        // to the terminator.
        word[n - 1] = 0;
    }
}

bool LoadInsultWords()
{
    const int h = ResOpen("insult.txt");
    if (h == -1) {
        for (auto& w : g_insultWords)
            w.fill(0);
        plat::DebugOut("insult.txt: missing\n");
        return false;
    }
    ReadInsultWords(ArchiveReader(h), g_insultWords);
    ResClose(h);
    return true;
}
