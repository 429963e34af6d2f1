#include "social/GroupWin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/ReceiveDispatch.h"
#include "core/Blit.h"
#include "core/TextLayer.h"
#include "rules/CalcData.h"
#include "social/ChatRecord.h"
#include "social/FaceButton.h"
#include "ui/ButtonWidget.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

struct SButton {
    int32_t id;
    const char* sprite;
    int32_t x, y;
    int32_t command;
};
constexpr SButton kButtons[] = {{14, "Ungroup.slr", 541, 63, 22},
                                {15, "ChgLead.slr", 541, 98, 23},
                                {17, "Ban.slr", 541, 133, 8},
                                {18, "Leave.slr", 541, 168, 9},
                                {19, "Refresh.slr", 541, 211, 10}};
constexpr int32_t kFirstFaceId = 20;
constexpr CPoint kFaceAt[CGroupWin::kSlots] = {{24, 34}, {193, 34}, {362, 34}, {24, 152}, {193, 152}, {362, 152}};
// The bars of a slot start from here, not from the portrait.
constexpr CPoint kSlotAt[CGroupWin::kSlots] = {{23, 33}, {192, 33}, {360, 33}, {23, 151}, {192, 151}, {360, 151}};
constexpr CPoint kBarAt[3] = {{107, 9}, {107, 53}, {107, 67}};
constexpr uint16_t kLinked[] = {10, 6, 7, 8, 9, 12, 35};
constexpr int32_t kMaxLen = 75;
constexpr int64_t kLevelScale = 88, kStatScale = 150;
constexpr int32_t kLineX = 25, kLineTop = 280, kLinePitch = 14, kPanelLines = 5;
constexpr int32_t kSelectedX = 602, kSelectedY = 290;
constexpr int32_t kInputDx = 25, kInputDy = 370;

}  // namespace

CGroupWin::CGroupWin() : CEditWidget(kId, "data\\GrpWin.slr", 64, 61, 64, 600, 6, 1)
{
    m_clearXBit = false;
    for (const SButton& b : kButtons)
        AddChild(new CButtonWidget(b.id, b.sprite, this, b.x, b.y, b.command, CButtonWidget::kRepeatFrames));
    for (int i = 0; i < kSlots; ++i) {
        auto* face = new CFaceButton(kFirstFaceId + i, this, kFaceAt[i].x, kFaceAt[i].y, &m_selection, &m_faces);
        m_buttons[static_cast<size_t>(i)] = face;
        AddChild(face);
    }
    SetInputRect(CRect{25, 365, 515, 395});
    SetMaxLen(kMaxLen);
    SetLinkedIds(kLinked, static_cast<int>(std::size(kLinked)));
}

int32_t CGroupWin::BarWidth(int64_t value, int64_t scale)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value * kBarMax / scale, 1, kBarMax));
}

std::array<int32_t, 3> CGroupWin::BarWidths(const CharacterRecord& rec)
{
    return {BarWidth(CalcLevelFromStats(rec), kLevelScale), BarWidth(CalcAttack(rec), kStatScale),
            BarWidth(CalcDefence(rec), kStatScale)};
}

const CharacterRecord* CGroupWin::MemberRecord(int slot)
{
    CObjLayer* layer = GetObjLayer();
    if (!layer || slot < 0 || slot >= kSlots)
        return nullptr;
    const uint16_t id = layer->m_groupHeader[static_cast<size_t>(kGroupFirstMember + slot)];
    if (id == 0)
        return nullptr;
    if (id == g_myId)
        return g_playerInfo.GetMyRecord();
    return layer->GroupMembers().GetRecord(id);
}

void CGroupWin::SetState(int32_t state)
{
    CEditWidget::SetState(state);
    if (m_state == kOpening)
        Refresh();
}

void CGroupWin::Refresh()
{
    if (m_state != kOpening && m_state != kOpen)
        return;
    LoadImageOnDemand();
    CTextLayer* text = g_pTextLayer;
    if (m_sprite.IsLoaded() && m_cleanImage && text) {
        m_sprite.CopyFrom(*m_cleanImage);
        m_sprite.SetAsTextTarget(0);
        CEditWidget::Refresh();
        for (int32_t i = 1; i <= kPanelLines && i < m_lineCount; ++i) {
            text->SetColors(static_cast<uint8_t>(m_lineAttrs[static_cast<size_t>(i)]), 255);
            text->DrawText(kLineX, kLineTop + (kPanelLines - i) * kLinePitch, m_lines[static_cast<size_t>(i)], 0);
        }
    }
    for (int i = 0; i < kSlots; ++i) {
        const CharacterRecord* rec = MemberRecord(i);
        CFaceButton* face = m_buttons[static_cast<size_t>(i)];
        if (rec)
            face->SetFaceInfo(2 * rec->I32(CharacterRecord::kClass), rec->Name().c_str());
        else
            face->SetFaceInfo(-1, "");
    }
}

void CGroupWin::Draw(uint8_t* surface)
{
    if (m_state != kClosed && !m_facesTried) {
        m_facesTried = true;
        if (!m_faces.IsLoaded())
            m_faces.Load("data\\Face.slr");
    }
    if (m_state == kClosed)
        m_facesTried = false;
    WindowDraw(surface);
    if (m_state == kClosed || !surface)
        return;
    const BlitTarget target = ScreenTarget(surface);
    for (int i = 0; i < kSlots; ++i) {
        const CharacterRecord* rec = MemberRecord(i);
        if (!rec)
            continue;
        const std::array<int32_t, 3> widths = BarWidths(*rec);
        for (size_t b = 0; b < widths.size(); ++b)
            ScreenFillRect(target, m_pos.x + kSlotAt[i].x + kBarAt[b].x, m_pos.y + kSlotAt[i].y + kBarAt[b].y,
                           widths[b], kBarHeight, kBarColour);
    }
    CObjLayer* layer = GetObjLayer();
    const uint32_t selected = layer ? layer->GroupMembers().m_selectedId : 0;
    if (selected == 0)
        return;
    const CharacterRecord* rec =
        selected == g_myId ? g_playerInfo.GetMyRecord() : layer->GroupMembers().GetRecord(selected);
    if (rec && g_pTextLayer) {
        g_pTextLayer->SetTarget(surface, kScreenWidth, kScreenHeight);
        DrawTextCentered(m_pos.x + kSelectedX, m_pos.y + kSelectedY, rec->Name().c_str(), 1);
    }
}

void CGroupWin::SubmitText()
{
    if (const char* typed = TypedChatLine()) {
        char line[kInputSize + 2];
        std::snprintf(line, sizeof line, "@%s", typed);
        SendChat(line);
    }
    ClearInput();
}

int CGroupWin::OnChatMessage(const uint8_t* record, size_t size)
{
    const SChatRecord chat(record, size);
    if (m_state != kOpen || !chat.ok || chat.mode != SChatRecord::kModeGroup)
        return 0;
    if (chat.TextEmpty())
        return 1;
    return CEditWidget::OnChatMessage(record, size);
}

void CGroupWin::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{m_pos.x + kInputDx, m_pos.y + kInputDy};
}
