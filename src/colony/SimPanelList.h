// The colony's side panels, as the UI layer creates them, so that a cube
// dropped from the tech-cube box finds the panel that is open.
#pragma once
#include <array>
#include <cstdint>

class CWidget;

class CSimPanelList {
public:
    static constexpr int kMaxPanels = 128;

    // 0 when the list is full.
    int Add(CWidget* panel);
    // The first open panel (state 2), else the first one; null while empty.
    CWidget* FindOpen() const;
    int Count() const { return m_count; }
    void Clear();

private:
    std::array<CWidget*, kMaxPanels> m_panels{};
    int32_t m_count = 0;
};

extern CSimPanelList g_simPanelList;
