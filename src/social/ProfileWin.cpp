#include "social/ProfileWin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/CommandRing.h"
#include "colony/ColonyService.h"
#include "core/Blit.h"
#include "core/HanCodeConv.h"
#include "core/TextLayer.h"
#include "social/ChatRecord.h"
#include "social/FaceButtonBase.h"
#include "social/ProfileList.h"
#include "ui/ButtonWidget.h"
#include "ui/TextCut.h"
#include "windows/PlayerInfo.h"
#include "windows/ProfileRecord.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

struct SButton {
    int32_t id;
    const char* sprite;
    int32_t x, command;
};
constexpr int32_t kButtonY = 135;
constexpr SButton kButtons[] = {{31, "InviteBtn.slr", 20, 26},
                                {33, "joinBtn.slr", 90, 28},
                                {30, "chllngBtn.slr", 160, 25},
                                {32, "accptBtn.slr", 230, 27},
                                {106, "exchngBtn.slr", 300, 143}};
constexpr int32_t kMaxLen = 45;
constexpr int32_t kToggleCommand = 12;
constexpr uint8_t kTextColour = 60;
constexpr int32_t kLineX = 25, kLineTop = 185, kLinePitch = 14, kPanelLines = 5;
constexpr int32_t kInputDx = 25, kInputDy = 280;

}  // namespace

CProfileWin::CProfileWin() : CEditWidget(kId, "data\\ProfileWin.slr", 200, 93, -400, 93, 6, 0)
{
    m_clearXBit = false;
    for (const SButton& b : kButtons)
        AddChild(new CButtonWidget(b.id, b.sprite, this, b.x, kButtonY, b.command, CButtonWidget::kRepeatFrames));
    AddChild(new CFaceButtonBase(kPortraitId, this, 22, 25, nullptr));
    m_textBox = new CProfileList(kTextBoxId, this, 125, 107, 0, 0, 170, 15);
    AddChild(m_textBox);
    SetInputRect(CRect{25, 270, 300, 300});
    SetMaxLen(kMaxLen);
    SetProfileTextView(this);
}

CProfileWin::~CProfileWin()
{
    if (&ProfileTextView() == this)
        SetProfileTextView(nullptr);
}

bool CProfileWin::ShowsMe()
{
    return g_profileRecord.charId == g_playerInfo.GetCharId();
}

const CharacterRecord* CProfileWin::ShownRecord()
{
    if (ShowsMe())
        return g_playerInfo.GetMyRecord();
    CObjLayer* layer = GetObjLayer();
    CCharacter* c = layer ? layer->FindCharacterById(static_cast<int>(g_profileRecord.charId)) : nullptr;
    return c ? &c->GetCharRecord() : nullptr;
}

std::array<int32_t, 5> CProfileWin::Shown() const
{
    const CharacterRecord* rec = ShownRecord();
    if (!rec)
        return {static_cast<int32_t>(g_profileRecord.charId), 0, 0, 0, 0};
    return {static_cast<int32_t>(g_profileRecord.charId), rec->I16(CharacterRecord::kKills),
            rec->I16(CharacterRecord::kProfileValue), rec->I16(CharacterRecord::kBattleLogouts),
            rec->I16(CharacterRecord::kFame)};
}

void CProfileWin::SetState(int32_t state)
{
    CEditWidget::SetState(state);
    if (m_state == kOpening) {
        // My own lines to edit; nothing of mine under another's name.
        m_textBox->SetText(ShowsMe() ? g_profileRecord.lines[0] : "");
        m_facesTried = false;
    }
    if (m_state != kClosing || !ShowsMe())
        return;
    char text[kSentText] = {};
    CopyTextCut(text, sizeof text, m_textBox->GetText());
    Colony().SendProfileText(text);
    CopyTextCut(g_profileRecord.lines[0], ProfileRecord::kLineSize, text);
    g_profileRecord.SaveProfile();
}

void CProfileWin::Draw(uint8_t* surface)
{
    if (m_state != kClosed && !m_facesTried) {
        m_facesTried = true;
        if (!m_faces.IsLoaded())
            m_faces.Load("data\\Face.slr");
    }
    if (m_state != kClosed && Shown() != m_drawn)
        Refresh();
    WindowDraw(surface);
    if (m_state == kClosed || !surface)
        return;
    const int32_t face = 2 * static_cast<int32_t>(g_profileRecord.portrait);
    if (CFaceButtonBase::IsFace(face) && face < m_faces.GetFrameCount())
        m_faces.Draw(face, m_pos.x + 24, m_pos.y + 25, ScreenTarget(surface));
    if (CTextLayer* text = g_pTextLayer) {
        text->SetTarget(surface, kScreenWidth, kScreenHeight);
        text->SetColor(0);
        text->SetColors(kTextColour, 255);
        char name[ProfileRecord::kNameSize + 1] = {};
        std::memcpy(name, g_profileRecord.name, ProfileRecord::kNameSize);
        DrawTextCentered(m_pos.x + 60, m_pos.y + 113, name, 1);
    }
}

void CProfileWin::Refresh()
{
    if (m_state != kOpening && m_state != kOpen)
        return;
    m_drawn = Shown();
    CTextLayer* text = RestorePicture();
    if (!text)
        return;
    CEditWidget::Refresh();
    text->SetColors(kTextColour, 255);
    for (int32_t i = 1; i <= kPanelLines && i < m_lineCount; ++i)
        text->DrawText(kLineX, kLineTop + (kPanelLines - i) * kLinePitch, m_lines[static_cast<size_t>(i)], 0);
    char year[ProfileRecord::kYearSize + 1] = {};
    std::memcpy(year, g_profileRecord.year, ProfileRecord::kYearSize);
    char second[ProfileRecord::kTextSize + 1] = {};
    std::memcpy(second, g_profileRecord.text, ProfileRecord::kTextSize);
    DrawTextCentered(130, 47, year, 1);
    DrawTextCentered(255, 47, second, 1);
    char line[64];
    std::snprintf(line, sizeof line, "Death Match : %d/%d/%d", m_drawn[1], m_drawn[2], m_drawn[3]);
    text->DrawText(125, 77, line, 0);
    std::snprintf(line, sizeof line, "MCP : %d", m_drawn[4]);
    text->DrawText(125, 92, line, 0);
}

void CProfileWin::SubmitText()
{
    if (const char* typed = TypedChatLine()) {
        char name[ProfileRecord::kNameSize + 1] = {};
        std::memcpy(name, g_profileRecord.name, ProfileRecord::kNameSize);
        char nameJ[2 * sizeof name] = {};
        CHanCodeConv::CP949ToJohab(name, nameJ);
        char line[kInputSize + 1];
        FormatTextCutF(line, sizeof line, "!%s %s", nameJ, typed);
        SendChat(line);
    }
    ClearInput();
}

int CProfileWin::OnChatMessage(const uint8_t* record, size_t size)
{
    const SChatRecord chat(record, size);
    if (m_state != kOpen || !chat.ok || chat.mode != SChatRecord::kModeWhisper)
        return 0;
    if (chat.TextEmpty())
        return 1;
    char name[ProfileRecord::kNameSize + 1] = {};
    std::memcpy(name, g_profileRecord.name, ProfileRecord::kNameSize);
    if (!name[0] || (std::strcmp(chat.name, name) != 0 && !chat.FirstWordIs(name)))
        return 0;
    return CEditWidget::OnChatMessage(record, size);
}

void CProfileWin::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{m_pos.x + kInputDx, m_pos.y + kInputDy};
}

int32_t CProfileWin::OnEscape()
{
    g_commandRing.Push(kToggleCommand);
    return m_id;
}

void CProfileWin::SetProfileText(const char* text)
{
    m_textBox->SetText(text ? text : "");
}
