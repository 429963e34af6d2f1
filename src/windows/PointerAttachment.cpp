#include "windows/PointerAttachment.h"

#include <memory>

#include "core/Blit.h"

namespace {

std::unique_ptr<CPointerAttachment> g_attachment = std::make_unique<CPointerAttachment>();

}  // namespace

CPointerAttachment* g_pointerAttachment = g_attachment.get();

void CPointerAttachment::Draw(int32_t x, int32_t y, uint8_t*)
{
    m_x = x;
    m_y = y;
}

CPointerSprite::CPointerSprite(const char* slrName, int32_t frame) : m_frame(frame)
{
    if (slrName)
        m_sprite.Load(slrName);
}

void CPointerSprite::Draw(int32_t x, int32_t y, uint8_t* surface)
{
    m_x = x;
    m_y = y;
    if (surface && m_sprite.IsLoaded())
        m_sprite.Draw(m_frame, x, y, ScreenTarget(surface));
}

void SetPointerAttachment(CPointerAttachment* p)
{
    g_attachment.reset(p ? p : new CPointerAttachment);
    g_pointerAttachment = g_attachment.get();
}
