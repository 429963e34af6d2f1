// The action window's list of the usable items the player carries (those of
// equipment type 9): a chosen row stores its item id in the player data.
// The page stack that holds it reloads it each time it opens.
#pragma once
#include <array>

#include "ui/ListWidgetEx.h"

class CActionItemList : public CListWidgetEx {
public:
    static constexpr int kMaxItems = 100;
    static constexpr int kNameSize = 30;
    static constexpr int kUsableEquipType = 9;

    CActionItemList(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                    int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                    int32_t visibleRows, int32_t* selection, int32_t* itemChoice);
    ~CActionItemList() override;

    void ReloadData() override;
    int OnLButtonDown(int32_t x, int32_t y) override;

    // The list the page stack reloads (the last one built), or null.
    static CActionItemList* Registered() { return s_registered; }
    int32_t GetItemId(int32_t value) const;

private:
    std::array<std::array<char, kNameSize>, kMaxItems> m_names{};
    // Item ids by row value 1..100 (entry 0 unused).
    std::array<int32_t, kMaxItems + 1> m_itemIds{};
    int32_t* m_itemChoice;
    static CActionItemList* s_registered;
};
