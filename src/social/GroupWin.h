// The group window (12): the six members of the player's group with their
// portraits, names and three bars, the group buttons and a line typed to
// the group.
#pragma once
#include <array>
#include <cstdint>

#include "core/SlrList.h"
#include "ui/EditWidget.h"

class CFaceButton;
struct CharacterRecord;

class CGroupWin : public CEditWidget {
public:
    static constexpr int32_t kId = 12;
    static constexpr int kSlots = 6;
    static constexpr int32_t kBarMax = 44;
    static constexpr int32_t kBarHeight = 6;
    static constexpr uint8_t kBarColour = 152;

    CGroupWin();

    // An opening window shows the members as they are now.
    void SetState(int32_t state) override;
    void Draw(uint8_t* surface) override;
    void Refresh() override;
    void SubmitText() override;
    int OnChatMessage(const uint8_t* record, size_t size) override;
    void GetInputPos(CPoint* out) override;

    // value * 44 / scale, 1..44, in 64 bits.
    static int32_t BarWidth(int64_t value, int64_t scale);
    // The level, attack and defence bars of a member.
    static std::array<int32_t, 3> BarWidths(const CharacterRecord& rec);
    // The record of member slot 0..5: mine for my id, else the group
    // table's; null for an empty slot.
    static const CharacterRecord* MemberRecord(int slot);

private:
    CSlrList m_faces;
    bool m_facesTried = false;
    std::array<CFaceButton*, kSlots> m_buttons{};
    int32_t m_selection = 0;
};
