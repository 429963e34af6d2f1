// The parameter panel: the character's remaining stat points go, one plus
// button per stat, into pending increments (a held button repeats from its
// twelfth frame); applying adds them to the record, recomputes the level
// and tells the server.
#pragma once
#include <array>

#include "colony/ColonyPanel.h"

class CButtonWidget;

class CParaCtrlPanel : public CColonyPanel {
public:
    static constexpr int32_t kId = 59;
    // Strength, agility, constitution, courage, wisdom: the buttons' order.
    static constexpr int kStats = 5;
    // Frames a button is held before it repeats.
    static constexpr int32_t kHoldFrames = 11;

    CParaCtrlPanel();

    void Toggle() override;
    void SetState(int32_t state) override;
    void Draw(uint8_t* surface) override;
    // Applies the increments.
    void ReloadData() override;

    // The press handling of one frame (Draw's first step).
    void StepButtons();
    int32_t GetIncrement(int stat) const { return m_increments[static_cast<size_t>(stat)]; }
    int32_t GetRemaining() const { return m_remaining; }
    CButtonWidget* GetPlusButton(int stat) const { return m_buttons[static_cast<size_t>(stat)]; }

private:
    std::array<CButtonWidget*, kStats> m_buttons{};
    std::array<int32_t, kStats> m_increments{};
    int32_t m_remaining = 0;
    int32_t m_held = 0;
    int32_t m_heldCount = 0;
};
