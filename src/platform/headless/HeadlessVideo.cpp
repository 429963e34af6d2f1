#include "platform/headless/HeadlessVideo.h"

#include <cstring>

namespace plat {

uint64_t CHeadlessVideo::Hash(const uint8_t* data, size_t size, uint64_t seed)
{
    uint64_t h = seed;
    for (size_t i = 0; i < size; ++i) {
        h ^= data[i];
        h *= 1099511628211ull;
    }
    return h;
}

int CHeadlessVideo::Pop(std::deque<int>& q)
{
    if (q.empty())
        return kVideoOk;
    int r = q.front();
    q.pop_front();
    return r;
}

int CHeadlessVideo::EnterFullScreen(int, int, int)
{
    if (m_failFullScreen)
        return kVideoFailed;
    fullScreen = true;
    return kVideoOk;
}

int CHeadlessVideo::EnterWindowed()
{
    fullScreen = false;
    return kVideoOk;
}

CHeadlessVideo::Surface* CHeadlessVideo::Find(VideoSurface s)
{
    if (s < kSurfacePrimary || s > kSurfaceOffscreen2 || !m_surfaces[s].exists)
        return nullptr;
    return &m_surfaces[s];
}

void CHeadlessVideo::Allocate(Surface& s, int width, int height, int depth)
{
    s.width = width;
    s.height = height;
    s.depth = depth;
    s.pitch = width * BytesPerPixel(depth) + rowPadding;
    // Padding bytes hold a pattern that a present must never show.
    s.mem.assign(static_cast<size_t>(s.pitch) * height, 0xCD);
    s.locked = false;
    s.exists = true;
}

int CHeadlessVideo::CreateSurfaces(bool fs, int width, int height)
{
    ReleaseSurfaces();
    if (m_failSurfaces || width <= 0 || height <= 0)
        return kVideoFailed;
    if (fs) {
        Allocate(m_surfaces[kSurfacePrimary], width, height, 8);
        Allocate(m_surfaces[kSurfaceBack], width, height, 8);
    } else {
        Allocate(m_surfaces[kSurfacePrimary], width, height, desktopDepth);
        Allocate(m_surfaces[kSurfaceOffscreen1], width, height, desktopDepth);
        if (secondOffscreen)
            Allocate(m_surfaces[kSurfaceOffscreen2], width, height, desktopDepth);
    }
    return kVideoOk;
}

bool CHeadlessVideo::HasSurface(VideoSurface s) { return Find(s) != nullptr; }

void CHeadlessVideo::ReleaseSurfaces()
{
    for (Surface& s : m_surfaces)
        s = Surface{};
}

int CHeadlessVideo::Lock(VideoSurface s, VideoLock& out)
{
    Surface* surf = Find(s);
    if (!surf)
        return kVideoFailed;
    if (int r = Pop(m_lockFailures); r != kVideoOk)
        return r;
    surf->locked = true;
    out.bits = surf->mem.data();
    out.pitch = surf->pitch;
    return kVideoOk;
}

int CHeadlessVideo::Unlock(VideoSurface s)
{
    Surface* surf = Find(s);
    if (!surf || !surf->locked)
        return kVideoFailed;
    surf->locked = false;
    return kVideoOk;
}

int CHeadlessVideo::Restore(VideoSurface s)
{
    ++restores;
    return Find(s) ? kVideoOk : kVideoFailed;
}

void CHeadlessVideo::Record(const Surface& s)
{
    // Written over the last record: a frame's worth of fresh memory on every
    // present made long whole-client runs page-fault bound.
    PresentRecord& rec = lastPresent;
    rec.depth = s.depth;
    rec.width = s.width;
    rec.height = s.height;
    const size_t row = static_cast<size_t>(s.width) * BytesPerPixel(s.depth);
    rec.pixels.resize(row * s.height);
    for (int y = 0; y < s.height; ++y)
        std::memcpy(rec.pixels.data() + row * y, s.mem.data() + static_cast<size_t>(s.pitch) * y, row);
    rec.palette = palette;
    rec.hash = Hash(rec.pixels.data(), rec.pixels.size());
    if (s.depth == 8)
        rec.hash = Hash(palette.data(), palette.size(), rec.hash);
    ++presents;
    presentHashes.push_back(rec.hash);
}

int CHeadlessVideo::Flip()
{
    Surface* front = Find(kSurfacePrimary);
    Surface* back = Find(kSurfaceBack);
    if (!front || !back)
        return kVideoFailed;
    if (int r = Pop(m_flipFailures); r != kVideoOk)
        return r;
    std::swap(front->mem, back->mem);
    Record(*front);
    return kVideoOk;
}

int CHeadlessVideo::Blt(VideoSurface s)
{
    Surface* surf = Find(s);
    if (!surf)
        return kVideoFailed;
    if (int r = Pop(m_bltFailures); r != kVideoOk)
        return r;
    Record(*surf);
    return kVideoOk;
}

void CHeadlessVideo::SetPaletteEntries(const PaletteEntries& entries)
{
    palette = entries;
    ++paletteSets;
}

void CHeadlessVideo::GetScreenSize(int& width, int& height)
{
    width = screenWidth;
    height = screenHeight;
}

Rect CHeadlessVideo::GetClientRect()
{
    return Rect{0, 0, windowRect.right - windowRect.left - 2 * border,
                windowRect.bottom - windowRect.top - 2 * border};
}

void CHeadlessVideo::SetWindowPos(int x, int y, int width, int height)
{
    windowRect = Rect{x, y, x + width, y + height};
}

}  // namespace plat
