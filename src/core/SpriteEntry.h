// Whole archive entries for the sprite loaders, which check a file's bytes
// in memory before they build anything from them.
#pragma once
#include <cstdint>
#include <vector>

class CRFile;

// The bytes of the entry with that name; false when it cannot be opened.
bool ReadSpriteEntry(const char* name, std::vector<uint8_t>& out);
// The bytes from the file's cursor to the end of its entry; start receives
// the cursor so the caller can seek past what it used.
bool ReadSpriteRest(CRFile& file, std::vector<uint8_t>& out, long& start);
