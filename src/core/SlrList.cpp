#include "core/SlrList.h"

#include <algorithm>
#include <cstring>

#include "core/ByteReader.h"
#include "core/ResFile.h"
#include "core/TextLayer.h"
#include "platform/Debug.h"
#include "platform/Dialogs.h"

namespace {

const char kErrorCaption[] = "Error~";
const char kDataMissing[] = "Data file not found!";
const char kBindMissing[] = "Bind Data file not found!";

void StoreU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// The decoded form of a frame that passed RleFrameValid.
std::vector<uint8_t> DecodeFrame(const std::vector<uint8_t>& rle)
{
    const uint32_t w = RleFrameWidth(rle.data(), rle.size());
    const uint32_t h = RleFrameHeight(rle.data(), rle.size());
    std::vector<uint8_t> out(static_cast<size_t>(w) * h + kRleHeader, 0);
    std::memcpy(out.data(), rle.data(), kRleHeader);
    const uint8_t* p = rle.data();
    size_t pos = kRleHeader;
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = out.data() + kRleHeader + static_cast<size_t>(y) * w;
        uint32_t x = 0;
        for (;;) {
            x += p[pos];
            const uint32_t count = p[pos + 1];
            pos += 2;
            std::memcpy(row + x, p + pos, count);
            x += count;
            pos += count;
            if (p[pos++] == 0)
                break;
        }
    }
    return out;
}

}  // namespace

CSlrList::CSlrList() = default;

CSlrList::~CSlrList()
{
    Free();
}

CSlrList::CSlrList(const CSlrList& other)
{
    CopyConstruct(other);
}

CSlrList& CSlrList::operator=(const CSlrList& other)
{
    if (this != &other)
        CopyConstruct(other);
    return *this;
}

bool CSlrList::ReadEntry(const char* name, std::vector<uint8_t>& out)
{
    out.clear();
    if (name == nullptr)
        return false;
    if (IsBindName(name)) {
        int h = ResBindOpen(name);
        if (h == -1) {
            if (!ResOpenBindFile()) {
                plat::MessageBox(kErrorCaption, kBindMissing);
                return false;
            }
            h = ResBindOpen(name);
            if (h == -1) {
                plat::MessageBox(kErrorCaption, kBindMissing);
                return false;
            }
        }
        // Nested reads stop at the entry's end.
        uint8_t chunk[16384];
        for (;;) {
            const size_t n = ResBindRead(chunk, 1, sizeof(chunk), h);
            out.insert(out.end(), chunk, chunk + n);
            if (n < sizeof(chunk))
                break;
        }
        return true;
    }
    int h = ResOpen(name);
    if (h == -1) {
        if (ResOpenArchive() == -1)
            plat::MessageBox(kErrorCaption, kDataMissing);
        h = ResOpen(name);
        if (h == -1) {
            plat::MessageBox(kErrorCaption, kDataMissing);
            return false;
        }
    }
    const long size = ResSize(h);
    if (size < 0)
        return false;
    out.resize(static_cast<size_t>(size));
    const size_t n = out.empty() ? 0 : ResRead(out.data(), 1, out.size(), h);
    ResClose(h);
    if (n != out.size()) {
        out.clear();
        return false;
    }
    return true;
}

int CSlrList::Load(const char* name)
{
    Free();
    std::vector<uint8_t> bytes;
    if (!ReadEntry(name, bytes))
        return -1;
    return LoadFromMemory(bytes.data(), bytes.size());
}

int CSlrList::LoadFromMemory(const uint8_t* data, size_t size)
{
    Free();
    if (data == nullptr)
        return -1;
    CByteReader r(data, size);
    r.Skip(kCountOffset);
    const uint32_t count = r.U32();
    r.Skip(kFramesOffset - kCountOffset - 4);
    if (!SpriteCountFits(r, count, kFrameHead + kRleHeader))
        return -1;
    std::vector<Frame> frames(count);
    int32_t width = 0;
    int32_t height = 0;
    for (Frame& f : frames) {
        RleReadRects(r, f.rects.data(), kRects);
        RleReadPoints(r, f.anchors.data(), kAnchors);
        width = r.I32();
        height = r.I32();
        const uint32_t bytes = r.U32();
        if (!r.Ok() || !RleReadFrame(r, bytes, 1, f.data))
            return -1;
    }
    m_frames = std::move(frames);
    m_width = width;
    m_height = height;
    m_loaded = true;
    m_rle = 1;
    return 0;
}

const CSlrList::Frame* CSlrList::FrameAt(int i) const
{
    if (i < 0 || static_cast<size_t>(i) >= m_frames.size())
        return nullptr;
    return &m_frames[static_cast<size_t>(i)];
}

void CSlrList::Draw(int i, int x, int y, const BlitTarget& target, int remap) const
{
    const Frame* f = FrameAt(i);
    if (f == nullptr || f->data.empty())
        return;
    if (remap != 0) {
        if (m_rle != 0)
            BlitRleRemap(x, y, f->data.data(), f->data.size(), target, m_colorTable.data());
    } else if (m_rle != 0) {
        BlitRle(x, y, f->data.data(), f->data.size(), target);
    } else {
        BlitDecoded(x, y, f->data.data(), f->data.size(), target);
    }
}

void CSlrList::DrawEx(int i, int x, int y, const BlitTarget& target, const uint8_t* table) const
{
    const Frame* f = FrameAt(i);
    if (f == nullptr || f->data.empty() || table == nullptr || m_rle == 0)
        return;
    BlitRleBlend(x, y, f->data.data(), f->data.size(), target, table);
}

int CSlrList::HitTest(int i, int x, int y) const
{
    const Frame* f = FrameAt(i);
    if (f == nullptr)
        return 0;
    for (const RleRect& rc : f->rects) {
        if (rc.left < x && x < rc.right && rc.top < y && y < rc.bottom)
            return 1;
    }
    return 0;
}

RlePoint CSlrList::GetAnchor(int i, int j) const
{
    const Frame* f = FrameAt(i);
    if (f == nullptr || j < 0 || j >= kAnchors)
        return {};
    return f->anchors[static_cast<size_t>(j)];
}

const RleRect* CSlrList::GetRect(int i, int j) const
{
    const Frame* f = FrameAt(i);
    if (f == nullptr || j < 0 || j >= kRects)
        return nullptr;
    return &f->rects[static_cast<size_t>(j)];
}

void CSlrList::ResetRects()
{
    for (Frame& f : m_frames)
        f.rects[0] = RleRect{0, 0, m_width, m_height};
}

void CSlrList::Decode()
{
    if (m_rle == 0)
        return;
    // Every frame decodes with its own size; refuse what would not fit.
    size_t total = 0;
    for (const Frame& f : m_frames) {
        total += static_cast<size_t>(RleFrameWidth(f.data.data(), f.data.size())) *
                     RleFrameHeight(f.data.data(), f.data.size()) +
                 kRleHeader;
        if (total > kMaxDecodedBytes) {
            plat::DebugOut("CSlrList::Decode: list too large to expand\n");
            return;
        }
    }
    for (Frame& f : m_frames) {
        if (!f.data.empty())
            f.data = DecodeFrame(f.data);
    }
    m_rle = 0;
}

void CSlrList::SetAsTextTarget(int i)
{
    Frame* f = const_cast<Frame*>(FrameAt(i));
    if (f == nullptr || m_rle != 0 || g_pTextLayer == nullptr || f->data.size() < kRleHeader)
        return;
    const uint32_t w = RleFrameWidth(f->data.data(), f->data.size());
    const uint32_t h = RleFrameHeight(f->data.data(), f->data.size());
    g_pTextLayer->SetTarget(f->data.data() + kRleHeader, static_cast<int>(w), static_cast<int>(h));
    g_pTextLayer->SetColor(0);
}

uint8_t* CSlrList::GetFrame(int i)
{
    Frame* f = const_cast<Frame*>(FrameAt(i));
    return (f == nullptr || f->data.empty()) ? nullptr : f->data.data();
}

const uint8_t* CSlrList::GetFrame(int i) const
{
    const Frame* f = FrameAt(i);
    return (f == nullptr || f->data.empty()) ? nullptr : f->data.data();
}

size_t CSlrList::GetFrameSize(int i) const
{
    const Frame* f = FrameAt(i);
    return f == nullptr ? 0 : f->data.size();
}

void CSlrList::Free()
{
    m_frames.clear();
    m_frames.shrink_to_fit();
    m_loaded = false;
}

void CSlrList::CopyConstruct(const CSlrList& other)
{
    if (this == &other)
        return;
    m_frames = other.m_frames;
    m_loaded = other.m_loaded;
    m_width = other.m_width;
    m_height = other.m_height;
    m_colorTable = other.m_colorTable;
    m_rle = other.m_rle;
}

void CSlrList::CopyFrom(const CSlrList& other)
{
    if (this == &other)
        return;
    if (!m_loaded) {
        // Frames of the other's sizes, blank until copied into.
        m_frames.resize(other.m_frames.size());
        for (size_t i = 0; i < m_frames.size(); ++i)
            m_frames[i].data.assign(other.m_frames[i].data.size(), 0);
        m_loaded = other.m_loaded;
        m_width = other.m_width;
        m_height = other.m_height;
        m_rle = other.m_rle;
    }
    if (m_rle != 0 || other.m_rle != 0 || m_frames.size() != other.m_frames.size() ||
        m_width != other.m_width || m_height != other.m_height)
        return;
    for (size_t i = 0; i < m_frames.size(); ++i) {
        if (m_frames[i].data.size() != other.m_frames[i].data.size())
            return;
    }
    for (size_t i = 0; i < m_frames.size(); ++i) {
        m_frames[i].rects = other.m_frames[i].rects;
        m_frames[i].anchors = other.m_frames[i].anchors;
        m_frames[i].data = other.m_frames[i].data;
    }
    m_colorTable = other.m_colorTable;
}

void CSlrList::CreateCropped(const CSlrList& source, int x, int y, int w, int h)
{
    if (source.m_rle != 0 || !source.m_loaded || w <= 0 || h <= 0 ||
        static_cast<uint32_t>(w) > kRleMaxSide || static_cast<uint32_t>(h) > kRleMaxSide) {
        if (this != &source)
            Free();
        return;
    }
    const uint32_t cw = (static_cast<uint32_t>(w) + 3u) & ~3u;
    const uint32_t ch = static_cast<uint32_t>(h);
    const size_t frameBytes = static_cast<size_t>(cw) * ch + kRleHeader;
    if (source.m_frames.size() > kMaxDecodedBytes / frameBytes) {
        if (this != &source)
            Free();
        return;
    }
    std::vector<Frame> frames(source.m_frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        const Frame& src = source.m_frames[i];
        Frame& dst = frames[i];
        dst.rects = src.rects;
        dst.anchors = src.anchors;
        dst.data.assign(frameBytes, 0);
        StoreU32(dst.data.data(), cw);
        StoreU32(dst.data.data() + 4, ch);
        const int64_t sw = RleFrameWidth(src.data.data(), src.data.size());
        const int64_t sh = RleFrameHeight(src.data.data(), src.data.size());
        if (sw > kRleMaxSide || sh > kRleMaxSide ||
            src.data.size() < static_cast<size_t>(sw * sh) + kRleHeader)
            continue;
        // The part of the rectangle that lies on the source.
        const int64_t c0 = std::max<int64_t>(0, -static_cast<int64_t>(x));
        const int64_t c1 = std::min<int64_t>(cw, sw - x);
        for (uint32_t row = 0; row < ch; ++row) {
            const int64_t sy = static_cast<int64_t>(y) + row;
            if (sy < 0 || sy >= sh || c1 <= c0)
                continue;
            const uint8_t* from = src.data.data() + kRleHeader + sy * sw + x + c0;
            uint8_t* to = dst.data.data() + kRleHeader + static_cast<size_t>(row) * cw + c0;
            std::memcpy(to, from, static_cast<size_t>(c1 - c0));
        }
    }
    m_frames = std::move(frames);
    m_loaded = true;
    m_width = static_cast<int32_t>(cw);
    m_height = static_cast<int32_t>(ch);
    m_colorTable = source.m_colorTable;
    m_rle = 0;
}

int CSlrList::CreateFromBuffer(const uint8_t* data, size_t size)
{
    Free();
    if (!RleFrameValid(data, size, 1))
        return -1;
    m_frames.resize(1);
    m_frames[0].data.assign(data, data + size);
    m_width = static_cast<int32_t>(RleFrameWidth(data, size));
    m_height = static_cast<int32_t>(RleFrameHeight(data, size));
    m_loaded = true;
    m_rle = 1;
    return 0;
}

int CSlrList::CheckFrame(int i, RlePoint* out) const
{
    const Frame* f = FrameAt(i);
    if (f == nullptr || m_rle == 0 || f->data.empty())
        return 0;
    const uint8_t* p = f->data.data();
    const uint32_t h = RleFrameHeight(p, f->data.size());
    size_t pos = kRleHeader;
    for (uint32_t row = 0; row < h; ++row) {
        int32_t col = 0;
        for (;;) {
            col += p[pos];
            const uint32_t count = p[pos + 1];
            pos += 2;
            for (uint32_t c = 0; c < count; ++c) {
                const uint8_t v = p[pos + c];
                if (v == 0 || v == 255) {
                    if (out != nullptr)
                        *out = RlePoint{col + static_cast<int32_t>(c), static_cast<int32_t>(row)};
                    return 1;
                }
            }
            col += static_cast<int32_t>(count);
            pos += count;
            if (p[pos++] == 0)
                break;
        }
    }
    plat::DebugOut("CSlrList::CheckFrame: no pixel of colour 0 or 255\n");
    return 0;
}
