#include "social/FaceButtonBase.h"

#include "core/Blit.h"
#include "core/TextLayer.h"
#include "ui/TextCut.h"

CFaceButtonBase::CFaceButtonBase(int32_t id, CWidget* owner, int32_t x, int32_t y, int32_t* selection)
    : CImageWidget(id, nullptr, owner, x, y), m_selection(selection)
{
}

void CFaceButtonBase::SetName(const char* text)
{
    CopyTextCut(m_name, sizeof m_name, text ? text : "");
}

void CFaceButtonBase::SetFace(const char* slrName, const char* text)
{
    m_sprite.Load(slrName);
    m_sprite.ResetRects();
    SetName(text);
}

void CFaceButtonBase::SetFaceInfo(int32_t value, const char* text)
{
    m_charId = value;
    SetName(text);
}

void CFaceButtonBase::DrawName(uint8_t* surface, int32_t x, int32_t y, const char* name)
{
    CTextLayer* text = g_pTextLayer;
    if (!text || !surface || !name[0])
        return;
    text->SetTarget(surface, kScreenWidth, kScreenHeight);
    text->SetColor(0);
    text->SetColors(kNameColour, 255);
    DrawText(x, y, name, 1);
}

void CFaceButtonBase::Draw(uint8_t* surface)
{
    if (m_state == kClosed)
        return;
    Update();
    if (!IsFace(m_charId) || !surface || m_charId >= m_sprite.GetFrameCount())
        return;
    m_sprite.Draw(m_charId, m_pos.x, m_pos.y, ScreenTarget(surface));
    DrawName(surface, m_pos.x + kNameDx, m_pos.y + kNameDy, m_name);
}
