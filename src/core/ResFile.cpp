#include "core/ResFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "core/ByteReader.h"
#include "platform/Dialogs.h"
#include "platform/Process.h"

namespace {

constexpr char kMagic[11] = "Resource:)";  // ten characters and the NUL
constexpr char kIndexMagic[8] = "Index:P";
constexpr size_t kHeaderSize = 19;
constexpr size_t kIndexMagicSize = 8;
constexpr size_t kEntrySize = 48;
// A position is stored as a u16 and must equal the entry's place.
constexpr uint32_t kMaxEntries = 65536;
constexpr int kFatalExitCode = 1;

struct ResEntry {
    char name[kResNameField];
    uint32_t offset;  // from the start of the (outer or nested) archive
    uint32_t size;
    uint32_t cursor;  // 0..size
};

// The lookup key: the name folded to lower case, NUL-padded to the field.
struct ResKey {
    char folded[kResNameField];
    uint32_t handle;
};

struct ResIndex {
    std::vector<ResEntry> entries;
    std::vector<ResKey> keys;  // sorted by folded name
    uint32_t indexOffset = 0;
    bool loaded = false;

    void Clear()
    {
        entries.clear();
        entries.shrink_to_fit();
        keys.clear();
        keys.shrink_to_fit();
        indexOffset = 0;
        loaded = false;
    }
    ResEntry* Get(int h)
    {
        if (!loaded || h < 0 || static_cast<size_t>(h) >= entries.size())
            return nullptr;
        return &entries[static_cast<size_t>(h)];
    }
};

struct ResArchive {
    std::FILE* file = nullptr;
    uint64_t fileSize = 0;
    int64_t filePos = -1;  // where the stream stands; -1 unknown
    ResIndex outer;
    ResIndex nested;
    uint64_t nestedBase = 0;  // file position of "bindfile.dat"'s first byte
    bool opened = false;      // the first CRFile has run the opening
    std::string pathOverride;
};

ResArchive g_res;

inline unsigned char FoldByte(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// The base name: after the last '\' (or '/'). Null when longer than an
// index name can be.
const char* BaseName(const char* name, size_t& len)
{
    if (!name)
        return nullptr;
    const char* base = name;
    for (const char* p = name; *p; ++p)
        if (*p == '\\' || *p == '/')
            base = p + 1;
    len = std::strlen(base);
    if (len > static_cast<size_t>(kResMaxName))
        return nullptr;
    return base;
}

void FoldName(const char* name, size_t len, char out[kResNameField])
{
    std::memset(out, 0, kResNameField);
    for (size_t i = 0; i < len && i < static_cast<size_t>(kResMaxName); ++i)
        out[i] = static_cast<char>(FoldByte(static_cast<unsigned char>(name[i])));
}

bool KeyLess(const ResKey& a, const ResKey& b)
{
    return std::memcmp(a.folded, b.folded, kResNameField) < 0;
}

int Lookup(const ResIndex& index, const char* name)
{
    size_t len = 0;
    const char* base = BaseName(name, len);
    if (!base || !index.loaded)
        return -1;
    ResKey key;
    FoldName(base, len, key.folded);
    auto it = std::lower_bound(index.keys.begin(), index.keys.end(), key, KeyLess);
    if (it == index.keys.end() || std::memcmp(it->folded, key.folded, kResNameField) != 0)
        return -1;
    return static_cast<int>(it->handle);
}

// Reads n bytes at an absolute file position; the count read.
size_t ReadAt(uint64_t pos, void* buf, size_t n)
{
    if (!g_res.file || n == 0)
        return 0;
    if (g_res.filePos < 0 || static_cast<uint64_t>(g_res.filePos) != pos) {
        if (fseeko(g_res.file, static_cast<off_t>(pos), SEEK_SET) != 0) {
            g_res.filePos = -1;
            return 0;
        }
    }
    size_t got = std::fread(buf, 1, n, g_res.file);
    if (got == n) {
        g_res.filePos = static_cast<int64_t>(pos + n);
    } else {
        std::clearerr(g_res.file);
        g_res.filePos = -1;
    }
    return got;
}

// Loads the index of an archive that occupies [base, base + limit) of the
// file. Refuses anything that does not lie wholly inside that range.
bool LoadIndex(ResIndex& index, uint64_t base, uint64_t limit)
{
    index.Clear();
    uint8_t header[kHeaderSize];
    if (limit < kHeaderSize || ReadAt(base, header, kHeaderSize) != kHeaderSize)
        return false;
    CByteReader hr(header, sizeof header);
    char magic[sizeof kMagic];
    hr.Bytes(magic, sizeof magic);
    uint32_t count = hr.U32();
    uint32_t indexOffset = hr.U32();
    if (!hr.Ok() || std::memcmp(magic, kMagic, sizeof kMagic) != 0)
        return false;
    if (count > kMaxEntries)
        return false;
    uint64_t indexBytes = static_cast<uint64_t>(count) * kEntrySize;
    if (static_cast<uint64_t>(indexOffset) + kIndexMagicSize + indexBytes > limit)
        return false;

    std::vector<uint8_t> raw(kIndexMagicSize + static_cast<size_t>(indexBytes));
    if (ReadAt(base + indexOffset, raw.data(), raw.size()) != raw.size())
        return false;
    CByteReader r(raw.data(), raw.size());
    char indexMagic[kIndexMagicSize];
    r.Bytes(indexMagic, sizeof indexMagic);
    if (std::memcmp(indexMagic, kIndexMagic, sizeof kIndexMagic) != 0)
        return false;

    std::vector<ResEntry> entries(count);
    for (uint32_t i = 0; i < count; ++i) {
        ResEntry& e = entries[i];
        r.U8();  // unused
        r.Bytes(e.name, kResNameField);
        uint16_t position = r.U16();
        e.offset = r.U32();
        e.size = r.U32();
        r.Skip(4);   // unused
        r.U32();     // the cursor: meaningful only in memory
        r.Skip(8);   // unused
        e.cursor = 0;
        if (!r.Ok() || std::memchr(e.name, '\0', kResNameField) == nullptr)
            return false;
        if (position != i)
            return false;
        if (static_cast<uint64_t>(e.offset) + e.size > limit)
            return false;
    }

    // The writer sorts the index; an index out of order still finds every
    // name, through its own sorted copy.
    std::vector<ResKey> keys(count);
    for (uint32_t i = 0; i < count; ++i) {
        FoldName(entries[i].name, std::strlen(entries[i].name), keys[i].folded);
        keys[i].handle = i;
    }
    if (!std::is_sorted(keys.begin(), keys.end(), KeyLess))
        std::stable_sort(keys.begin(), keys.end(), KeyLess);

    index.entries = std::move(entries);
    index.keys = std::move(keys);
    index.indexOffset = indexOffset;
    index.loaded = true;
    return true;
}

size_t ReadEntry(ResEntry& e, uint64_t base, void* buf, size_t size, size_t count)
{
    if (!buf || size == 0 || count == 0)
        return 0;
    size_t want = count > SIZE_MAX / size ? SIZE_MAX : size * count;
    size_t avail = e.size - e.cursor;
    size_t n = std::min(want, avail);
    size_t got = ReadAt(base + e.offset + e.cursor, buf, n);
    e.cursor += static_cast<uint32_t>(got);
    return got / size;
}

uint32_t PeekAt(int h, uint32_t ahead)
{
    ResEntry* e = g_res.outer.Get(h);
    if (!e)
        return 0;
    uint8_t b[4] = {0, 0, 0, 0};
    uint64_t at = static_cast<uint64_t>(e->cursor) + ahead;
    if (at < e->size) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(4, e->size - at));
        ReadAt(e->offset + at, b, n);
    }
    CByteReader r(b, sizeof b);
    return r.U32();
}

bool OpenFile(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    if (fseeko(f, 0, SEEK_END) != 0) {
        std::fclose(f);
        return false;
    }
    off_t size = ftello(f);
    if (size < 0) {
        std::fclose(f);
        return false;
    }
    g_res.file = f;
    g_res.fileSize = static_cast<uint64_t>(size);
    g_res.filePos = -1;
    return true;
}

void CloseFile()
{
    if (g_res.file)
        std::fclose(g_res.file);
    g_res.file = nullptr;
    g_res.fileSize = 0;
    g_res.filePos = -1;
}

void ShowDataError(const char* text)
{
    plat::MessageBox("Error~", text);
}

}  // namespace

char g_bindNames[kBindNameCount][kBindNameSize];

const char* const g_musicFiles[kMusicFileCount] = {
    "Ext.mid",    "Ext.mid",         "Ext.mid",         "Summer2.mid",
    "Summer1.mid", "Summcombat1.mid", "Winter2.mid",     "Outer.mid",
    "summcombat1.mid", "wintcombat1.mid", "Simul.mid", "Combat.mid",
};

int ResCompareNames(const char* a, const char* b)
{
    for (int i = 0; i < kResNameField; ++i) {
        unsigned char ca = FoldByte(static_cast<unsigned char>(a[i]));
        unsigned char cb = FoldByte(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
    return 0;
}

void ResSetArchivePath(const std::string& path)
{
    g_res.pathOverride = path;
}

int ResOpenArchive()
{
    if (g_res.file)
        return 0;
    bool open = false;
    if (!g_res.pathOverride.empty()) {
        open = OpenFile(g_res.pathOverride);
    } else {
        std::string dir = plat::ExeDir();
        if (!dir.empty())
            open = OpenFile(dir + "/Resource.dat");
        if (!open)
            open = OpenFile("Resource.dat");
    }
    if (!open)
        return -1;
    if (!LoadIndex(g_res.outer, 0, g_res.fileSize)) {
        CloseFile();
        g_res.outer.Clear();
        return -1;
    }
    return 0;
}

int ResOpenBindFile()
{
    g_res.nested.Clear();
    int h = ResOpen("bindfile.dat");
    ResEntry* e = g_res.outer.Get(h);
    if (!e)
        return 0;
    g_res.nestedBase = e->offset;
    if (!LoadIndex(g_res.nested, g_res.nestedBase, e->size)) {
        g_res.nested.Clear();
        return 0;
    }
    return 1;
}

void ResCloseArchive()
{
    CloseFile();
    g_res.outer.Clear();
    g_res.nested.Clear();
    g_res.nestedBase = 0;
    g_res.opened = false;
}

namespace {

std::vector<std::string>& MissedNames()
{
    static std::vector<std::string> missed;
    return missed;
}

constexpr size_t kMaxMissed = 256;

// Remembers a name an open archive does not hold (the first few).
int NoteMiss(int h, const ResIndex& index, const char* name)
{
    if (h < 0 && index.loaded && name && MissedNames().size() < kMaxMissed)
        MissedNames().push_back(name);
    return h;
}

}  // namespace

const std::vector<std::string>& ResMissedNames()
{
    return MissedNames();
}

void ResClearMissedNames()
{
    MissedNames().clear();
}

int ResOpen(const char* name)
{
    int h = NoteMiss(Lookup(g_res.outer, name), g_res.outer, name);
    if (h >= 0)
        g_res.outer.entries[static_cast<size_t>(h)].cursor = 0;
    return h;
}

int ResBindOpen(const char* name)
{
    int h = NoteMiss(Lookup(g_res.nested, name), g_res.nested, name);
    if (h >= 0)
        g_res.nested.entries[static_cast<size_t>(h)].cursor = 0;
    return h;
}

int ResClose(int)
{
    return 0;
}

size_t ResRead(void* buf, size_t size, size_t count, int h)
{
    ResEntry* e = g_res.outer.Get(h);
    return e ? ReadEntry(*e, 0, buf, size, count) : 0;
}

size_t ResBindRead(void* buf, size_t size, size_t count, int h)
{
    ResEntry* e = g_res.nested.Get(h);
    return e ? ReadEntry(*e, g_res.nestedBase, buf, size, count) : 0;
}

int ResSeek(int h, long offset, int whence)
{
    ResEntry* e = g_res.outer.Get(h);
    if (!e)
        return -1;
    int64_t from;
    switch (whence) {
    case 0: from = 0; break;
    case 1: from = e->cursor; break;
    case 2: from = e->size; break;
    default: return -1;
    }
    // Entries are below 4 GiB: a larger jump cannot land inside one.
    if (offset > static_cast<long>(UINT32_MAX) || offset < -static_cast<long>(UINT32_MAX))
        return -1;
    int64_t target = from + static_cast<int64_t>(offset);
    if (target < 0 || target > static_cast<int64_t>(e->size))
        return -1;
    e->cursor = static_cast<uint32_t>(target);
    return 0;
}

long ResTell(int h)
{
    ResEntry* e = g_res.outer.Get(h);
    return e ? static_cast<long>(e->cursor) : -1;
}

long ResSize(int h)
{
    ResEntry* e = g_res.outer.Get(h);
    return e ? static_cast<long>(e->size) : -1;
}

uint32_t ResPeekDword(int h)
{
    return PeekAt(h, 0);
}

uint32_t ResPeekDword2(int h)
{
    return PeekAt(h, 4);
}

int ResExtractFile(const char* path)
{
    int h = Lookup(g_res.outer, path);
    ResEntry* e = g_res.outer.Get(h);
    if (!e)
        return 0;
    std::vector<uint8_t> data;
    try {
        data.resize(e->size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (ReadAt(e->offset, data.data(), data.size()) != data.size())
        return 0;
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return 0;
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), out) == data.size();
    if (std::fclose(out) != 0)
        ok = false;
    return ok ? 1 : 0;
}

bool ResOpenGameArchives()
{
    g_res.opened = true;
    if (ResOpenArchive() == -1) {
        ShowDataError("Data file not found!");
        return false;
    }
    if (!g_res.nested.loaded && ResOpenBindFile() == 0) {
        ShowDataError("Bind Data file not found!");
        return false;
    }
    return true;
}

bool IsBindName(const char* name)
{
    if (!name)
        return false;
    size_t len = std::strlen(name);
    for (const auto& bound : g_bindNames) {
        size_t boundLen = static_cast<size_t>(std::find(bound, bound + kBindNameSize, '\0') - bound);
        if (boundLen != 0 && boundLen == len && std::memcmp(name, bound, len) == 0)
            return true;
    }
    return false;
}

std::string MusicFilePath(const char* name)
{
    std::string dir = plat::RuntimeDir();
    if (dir.empty())
        return {};
    return dir + "/" + name;
}

int ExtractMusicFiles()
{
    for (const char* name : g_musicFiles) {
        std::string path = MusicFilePath(name);
        if (path.empty() || ResExtractFile(path.c_str()) == 0)
            return 0;
    }
    return 1;
}

void DeleteMusicFiles()
{
    for (const char* name : g_musicFiles) {
        std::string path = MusicFilePath(name);
        if (!path.empty())
            std::remove(path.c_str());
    }
}

// ---- CRFileException ------------------------------------------------------

bool CRFileException::GetErrorMessage(std::string& text) const
{
    text = m_cause == fileNotFound ? "화일을 열수가 없습니다." : "에러.";
    return true;
}

int CRFileException::ReportError(uint32_t, uint32_t)
{
    GetErrorMessage(m_strError);
    plat::MessageBox("Quorvel", m_strError);
    return 0;
}

// ---- CRFile ----------------------------------------------------------------

namespace {

// The first CRFile opens the archives; without them the game cannot run.
void OpenOnFirstUse()
{
    if (g_res.opened)
        return;
    if (!ResOpenGameArchives())
        std::exit(kFatalExitCode);
}

}  // namespace

CRFile::CRFile()
{
    OpenOnFirstUse();
}

CRFile::CRFile(const char* name, uint32_t flags)
{
    OpenOnFirstUse();
    if (!Open(name, flags))
        throw CRFileException(CRFileException::fileNotFound);
}

CRFile::~CRFile()
{
    if (m_hFile != -1)
        Close();
}

bool CRFile::Open(const char* name, uint32_t flags)
{
    if (m_hFile != -1)
        return true;
    if ((flags & modeRead) == 0 || !name)
        return false;
    m_name = name;
    m_hFile = ResOpen(name);
    return m_hFile != -1;
}

uint32_t CRFile::Read(void* buf, uint32_t n)
{
    return static_cast<uint32_t>(ResRead(buf, 1, n, m_hFile));
}

int CRFile::Seek(long offset, int whence)
{
    return ResSeek(m_hFile, offset, whence);
}

long CRFile::GetSize()
{
    return ResSize(m_hFile);
}

void CRFile::Close()
{
    ResClose(m_hFile);
    m_hFile = -1;
}
