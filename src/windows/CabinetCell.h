// The cabinet's grid: the 20 cabinet slots as four columns by five rows of
// item icons, picked up and dropped through the carried item.
#pragma once
#include <cstdint>

#include "ui/ImageWidget.h"

class CCabinetCell : public CImageWidget {
public:
    static constexpr int32_t kId = 99;
    static constexpr int kColumns = 4;
    static constexpr int kRows = 5;
    static constexpr int32_t kCellW = 73;
    static constexpr int32_t kCellH = 53;
    // From the cabinet window's position: the hit origin and the first
    // icon's centre and top.
    static constexpr int32_t kOrigin = 18;
    static constexpr int32_t kIconX = 55;
    static constexpr int32_t kIconY = 27;

    CCabinetCell(CWidget* owner, int32_t offsetX, int32_t offsetY);

    void Refresh() override;
    void Draw(uint8_t* surface) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;

    int32_t GetCount() const { return m_count; }
    // The cabinet slot under a screen point, or -1.
    int32_t SlotAt(int32_t x, int32_t y) const;

private:
    CPoint WindowPos() const { return m_owner ? *m_owner->GetPos() : m_pos; }

    int32_t m_top = 0;
    int32_t m_count = 0;
    int32_t m_iconW = 1;
    int32_t m_iconH = 1;
};
