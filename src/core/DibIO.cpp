#include "core/DibIO.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "core/ResFile.h"
#include "platform/Clock.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;
constexpr int kShotWidth = 800;
constexpr int kShotHeight = 600;
constexpr uint32_t kShotIntervalMs = 10001;
constexpr const char* kShotFormat = "Quorvel Screen Shot No. %2d .pcx";
// Tried names after a clash before a shot gives up.
constexpr int kMaxShotNameTries = 1000;

int g_shotCounter = -1;  // -1: not yet looked at the directory
bool g_shotTaken = false;
uint32_t g_lastShotMs = 0;

std::string ShotName(int n)
{
    char name[64];
    std::snprintf(name, sizeof name, kShotFormat, n);
    return name;
}

// The number after the highest shot already in the current directory.
int FirstFreeShotNumber()
{
    int next = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        int n = -1;
        char tail[8] = {};
        if (std::sscanf(file.c_str(), "Quorvel Screen Shot No. %d %7s", &n, tail) == 2 &&
            std::string(tail) == ".pcx" && n >= 0 && n < INT_MAX && file == ShotName(n))
            next = std::max(next, n + 1);
    }
    return next;
}

void PutPcxHeader(CByteWriter& w, int width, int height)
{
    w.U8(10);  // manufacturer
    w.U8(5);   // version
    w.U8(1);   // run-length coded
    w.U8(8);   // bits per pixel
    w.U16(0);
    w.U16(0);
    w.U16(static_cast<uint16_t>(width - 1));
    w.U16(static_cast<uint16_t>(height - 1));
    w.U16(static_cast<uint16_t>(width));
    w.U16(static_cast<uint16_t>(height));
    // The 16-colour field as the game always wrote it.
    w.U8(0x5F);
    w.U8(0x47);
    w.U8(0x3B);
    for (int i = 0; i < 29; ++i)
        w.U8(0xFF);
    for (int i = 0; i < 16; ++i)
        w.U8(0);
    w.U8(0);  // reserved
    w.U8(1);  // planes
    w.U16(static_cast<uint16_t>(width));
    w.Zeros(128 - w.Size());
}

}  // namespace

// ---- CDib ----------------------------------------------------------------------

CDib::CDib(const char* name) : m_name(name ? name : "")
{
    CRFile file;
    if (!name || !file.Open(name, CRFile::modeRead))
        return;
    const long size = file.GetSize();
    if (size < static_cast<long>(kFileHeaderSize))
        return;
    std::vector<uint8_t> data(static_cast<size_t>(size));
    if (file.Read(data.data(), static_cast<uint32_t>(data.size())) != data.size())
        return;
    Parse(data.data(), data.size());
}

CDib::~CDib() = default;

bool CDib::Parse(const uint8_t* data, size_t size)
{
    m_bits.clear();
    m_palette.clear();
    m_width = m_height = 0;
    if (!data || size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M')
        return false;
    CByteReader in(data + kFileHeaderSize, size - kFileHeaderSize);
    const uint32_t headerSize = in.U32();
    int width = 0, height = 0, bitCount = 0;
    uint32_t colours = 0;
    size_t entrySize = 0;
    if (headerSize == kInfoHeaderSize) {
        width = in.I32();
        height = in.I32();
        in.U16();  // planes
        bitCount = in.U16();
        in.Skip(16);  // compression, image size, resolution
        colours = in.U32();
        in.U32();  // important colours
        entrySize = 4;
    } else if (headerSize == kCoreHeaderSize) {
        width = in.U16();
        height = in.U16();
        in.U16();
        bitCount = in.U16();
        entrySize = 3;
    } else {
        return false;
    }
    if (!in.Ok())
        return false;
    if (colours == 0)
        colours = bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    // No more than a palette holds, nor than the file holds.
    colours = std::min<uint32_t>(colours, 256);
    colours = std::min<uint32_t>(colours, static_cast<uint32_t>(in.Remaining() / entrySize));
    m_palette.resize(colours);
    for (PaletteEntry& e : m_palette) {
        e.blue = in.U8();
        e.green = in.U8();
        e.red = in.U8();
        if (entrySize == 4)
            in.U8();
    }
    m_bits.assign(data + kFileHeaderSize, data + size);
    m_width = width;
    m_height = height;
    return true;
}

// ---- PCX -----------------------------------------------------------------------

void EncodePcxRow(const uint8_t* row, int width, std::vector<uint8_t>& out)
{
    for (int x = 0; x < width;) {
        const uint8_t v = row[x];
        int run = 1;
        while (x + run < width && run < 63 && row[x + run] == v)
            ++run;
        if (run > 1 || v >= 0xC0) {
            out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(v);
        } else {
            out.push_back(v);
        }
        x += run;
    }
}

int WritePcx(const uint8_t* pixels, int width, int height, int pitch, const uint8_t* rgb768,
             const std::string& path, bool exclusive)
{
    if (!pixels || !rgb768 || width <= 0 || height <= 0 || width > 65535 || height > 65535 || pitch < width)
        return 0;
    CByteWriter header(128 + static_cast<size_t>(width) * height / 2 + 769);
    PutPcxHeader(header, width, height);
    std::vector<uint8_t> out = std::move(header.Buffer());
    for (int y = 0; y < height; ++y)
        EncodePcxRow(pixels + static_cast<size_t>(y) * pitch, width, out);
    out.push_back(12);  // palette marker
    out.insert(out.end(), rgb768, rgb768 + 768);

    std::FILE* f = std::fopen(path.c_str(), exclusive ? "wbx" : "wb");
    if (!f)
        return 0;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok) {
        std::remove(path.c_str());
        return 0;
    }
    return 1;
}

int TakeScreenShot(const uint8_t* pixels, const uint8_t* rgb768, const char* name, std::string* announce)
{
    if (name)
        return WritePcx(pixels, kShotWidth, kShotHeight, kShotWidth, rgb768, name);
    if (g_shotCounter < 0)
        g_shotCounter = FirstFreeShotNumber();
    for (int tries = 0; tries < kMaxShotNameTries; ++tries) {
        const std::string file = ShotName(g_shotCounter);
        errno = 0;
        // The numbers end at INT_MAX: there is no name after it.
        if (WritePcx(pixels, kShotWidth, kShotHeight, kShotWidth, rgb768, file, true)) {
            if (g_shotCounter < INT_MAX)
                ++g_shotCounter;
            if (announce)
                *announce = file;
            return 1;
        }
        // Taken since we looked: try the next number; anything else fails.
        if (errno != EEXIST || g_shotCounter == INT_MAX)
            break;
        ++g_shotCounter;
    }
    if (announce)
        *announce = "Screen shot failed: " + ShotName(g_shotCounter);
    return 0;
}

int ScreenShotKey(const uint8_t* pixels, const uint8_t* rgb768, bool gameMaster, std::string* announce)
{
    const uint32_t now = plat::NowMs();
    if (!gameMaster && g_shotTaken && now - g_lastShotMs < kShotIntervalMs)
        return 0;
    g_shotTaken = true;
    g_lastShotMs = now;
    return TakeScreenShot(pixels, rgb768, nullptr, announce);
}

void ResetScreenShots()
{
    g_shotCounter = -1;
    g_shotTaken = false;
    g_lastShotMs = 0;
}
