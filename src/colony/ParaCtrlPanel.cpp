#include "colony/ParaCtrlPanel.h"

#include <cstdio>

#include "core/TextLayer.h"
#include "rules/CalcData.h"
#include "rules/CreatureStatus.h"
#include "ui/ButtonWidget.h"
#include "windows/PlayerInfo.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

constexpr int32_t kStatusWindow = 8;
constexpr int kLevelField = 55;

// The record field of each increment.
constexpr size_t kStatFields[CParaCtrlPanel::kStats] = {
    CharacterRecord::kStrength, CharacterRecord::kAgility, CharacterRecord::kConstitution,
    CharacterRecord::kCourage, CharacterRecord::kWisdom,
};

}  // namespace

CParaCtrlPanel::CParaCtrlPanel() : CColonyPanel(kId, "ParaCtrl.slr", 0)
{
    for (int i = 0; i < kStats; ++i) {
        auto* b = new CButtonWidget(0, "PlusBtn.slr", this, 192, 107 + 60 * i, 0, 0);
        m_buttons[static_cast<size_t>(i)] = b;
        AddChild(b);
    }
}

void CParaCtrlPanel::Toggle()
{
    SetState(IsOpenOrOpening() ? kClosing : kOpening);
}

void CParaCtrlPanel::SetState(int32_t state)
{
    CColonyPanel::SetState(state);
    if (state == kOpening) {
        m_increments.fill(0);
        const CharacterRecord* rec = g_playerInfo.GetMyRecord();
        m_remaining = rec ? rec->I32(CharacterRecord::kRemain) : 0;
        m_held = 0;
        m_heldCount = 0;
        return;
    }
    CObjLayer* layer = GetObjLayer();
    if (CCharacter* me = layer ? layer->GetMyCharacter() : nullptr)
        LearnAbilities(me->GetAbilitySet(), layer->MyRecord());
    if (CWidget* status = FindWindow(kStatusWindow)) {
        status->ReloadData();
        status->Refresh();
    }
}

void CParaCtrlPanel::StepButtons()
{
    int pressed = -1;
    for (int i = 0; i < kStats; ++i)
        if (m_buttons[static_cast<size_t>(i)]->GetPressState() == CButtonWidget::kLookPressed)
            pressed = i;
    if (pressed < 0) {
        m_held = 0;
        m_heldCount = 0;
        return;
    }
    if (!(m_held && m_heldCount < kHoldFrames) && m_remaining > 0) {
        --m_remaining;
        ++m_increments[static_cast<size_t>(pressed)];
    }
    m_held = 1;
    ++m_heldCount;
}

void CParaCtrlPanel::Draw(uint8_t* surface)
{
    StepButtons();
    CColonyPanel::Draw(surface);
    CTextLayer* text = g_pTextLayer;
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (m_state == kClosed || !text || !rec)
        return;
    // Shown rows: strength, agility, wisdom, constitution, courage.
    const struct {
        int stat;
        int32_t x;
        int32_t y;
    } rows[] = {{0, 92, 135}, {1, 90, 195}, {4, 90, 255}, {2, 90, 315}, {3, 90, 375}};
    text->SetColors(kTextColour, 255);
    char buf[16];
    for (const auto& r : rows) {
        const int64_t v = int64_t{rec->I32(kStatFields[r.stat])} + m_increments[static_cast<size_t>(r.stat)];
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
        DrawTextCentered(m_pos.x + r.x, m_pos.y + r.y, buf, 1);
    }
    std::snprintf(buf, sizeof buf, "%d", m_remaining);
    DrawTextCentered(m_pos.x + 215, m_pos.y + 412, buf, 1);
}

void CParaCtrlPanel::ReloadData()
{
    CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (!rec)
        return;
    for (int i = 0; i < kStats; ++i)
        rec->SetU32(kStatFields[i], rec->U32(kStatFields[i]) + static_cast<uint32_t>(m_increments[static_cast<size_t>(i)]));
    rec->SetU32(CharacterRecord::kRemain, static_cast<uint32_t>(m_remaining));
    m_increments.fill(0);
    rec->SetU32(CharacterRecord::kLevel, static_cast<uint32_t>(CalcLevelFromStats(*rec)));
    if (CObjLayer* layer = GetObjLayer()) {
        if (rec != &layer->MyRecord())
            layer->SetMyCharRecord(*rec);
        layer->SendCharacterField(kLevelField);
    }
}
