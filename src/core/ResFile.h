// The resource archive "Resource.dat" and the archive nested in its entry
// "bindfile.dat": a handle API over one process-wide open file, the handle
// class CRFile, the bound names and the music files.
//
// Handles are entry positions in an index (0 is a valid handle); -1 means
// failure. Outer handles (ResOpen) and nested handles (ResBindOpen) are
// different number spaces. Each entry has one read cursor, kept with the
// index: opening an entry again resets it, and two open handles of one entry
// share it. Reads stop at the entry's end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Exception.h"

// Longest entry name; the index holds it in a 21-byte NUL-terminated field.
constexpr int kResMaxName = 20;
constexpr int kResNameField = 21;

// Opens "Resource.dat" (beside the executable, else in the current directory)
// and loads its index: 0, or -1 when it is missing or damaged. 0 when already
// open.
int ResOpenArchive();
// Loads the index of the nested archive "bindfile.dat": 1, or 0 when it is
// missing or damaged.
int ResOpenBindFile();
// Closes the archive and forgets both indexes.
void ResCloseArchive();

// The entry with the base name of name (the text after the last '\' or '/'),
// compared case-insensitively; its cursor is set to 0. -1 when absent.
int ResOpen(const char* name);
// The same in the nested archive.
int ResBindOpen(const char* name);
// The names ResOpen and ResBindOpen did not find in a loaded index, in
// order (a diagnostic for archive writers), and forgetting them.
const std::vector<std::string>& ResMissedNames();
void ResClearMissedNames();
// Entries hold no resources: does nothing, 0.
int ResClose(int h);

// As fread: reads up to size x count bytes at the entry's cursor, never past
// the entry's end, advances the cursor by the bytes read and returns the
// number of whole items read.
size_t ResRead(void* buf, size_t size, size_t count, int h);
// The same for a nested handle.
size_t ResBindRead(void* buf, size_t size, size_t count, int h);

// whence 0: from the start, 1: from the cursor, 2: from the end. 0, or -1 for
// another whence or a target outside 0..size (the cursor is then unchanged).
int ResSeek(int h, long offset, int whence);
// The cursor; -1 for a bad handle.
long ResTell(int h);
// The entry's size in bytes; -1 for a bad handle.
long ResSize(int h);
// The u32 at the cursor, and the one four bytes after it, without moving the
// cursor; bytes beyond the entry read as 0.
uint32_t ResPeekDword(int h);
uint32_t ResPeekDword2(int h);

// Writes the entry named by path's base name to path: 1, or 0 when the entry
// is absent or the file cannot be written.
int ResExtractFile(const char* path);

// The order of names in an index: bytes compared unsigned with 'A'..'Z'
// folded to lower case, at most kResNameField bytes. Archive writers sort
// with it.
int ResCompareNames(const char* a, const char* b);

// Opens both archives as the program does at its first use of them. On
// failure shows "Data file not found!" or "Bind Data file not found!" and
// returns false; the caller ends the program with a non-zero code.
bool ResOpenGameArchives();

// Makes ResOpenArchive open this file instead of searching (empty: search).
void ResSetArchivePath(const std::string& path);

// The names always read from the nested archive; filled at start-up.
constexpr int kBindNameCount = 7;
constexpr int kBindNameSize = 20;
extern char g_bindNames[kBindNameCount][kBindNameSize];
// True when name equals one of the bound names exactly (case-sensitive).
bool IsBindName(const char* name);

// The MIDI files the music plays from disk, in the order of the table
// (which holds duplicates).
constexpr int kMusicFileCount = 12;
extern const char* const g_musicFiles[kMusicFileCount];
// Extracts each music file into the process's runtime directory: 1, or 0 at
// the first failure.
int ExtractMusicFiles();
// Removes the extracted music files, ignoring failures.
void DeleteMusicFiles();
// Where an extracted music file lives.
std::string MusicFilePath(const char* name);

// The exception CRFile throws when an entry cannot be opened.
class CRFileException : public CException {
public:
    enum { none = 0, fileNotFound = 1 };

    explicit CRFileException(uint32_t cause = none) : m_cause(cause) {}

    // Shows the cause's message in a box; returns 0.
    int ReportError(uint32_t nType = 0, uint32_t nMessageID = 0) override;
    bool GetErrorMessage(std::string& text) const override;

    uint32_t m_cause;
    std::string m_strError;
};

// An archive entry as a file object. The first CRFile constructed opens the
// archives (a failure ends the program with a non-zero code).
class CRFile {
public:
    enum : uint32_t { modeRead = 1, modeReadWrite = 3 };

    CRFile();
    // Throws CRFileException (cause 1) when the entry cannot be opened.
    CRFile(const char* name, uint32_t flags);
    ~CRFile();
    CRFile(const CRFile&) = delete;
    CRFile& operator=(const CRFile&) = delete;

    // Needs read (bit 0) in flags; true when a handle is held afterwards.
    bool Open(const char* name, uint32_t flags);
    // Bytes read.
    uint32_t Read(void* buf, uint32_t n);
    int Seek(long offset, int whence);
    long GetSize();
    void Close();

    // The entry handle, -1 when none is held.
    int GetHandle() const { return m_hFile; }
    const std::string& GetFileName() const { return m_name; }

private:
    int m_hFile = -1;  // -1: none held (0 is a valid entry)
    std::string m_name;
};
