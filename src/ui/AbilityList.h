// The lists of the player's abilities of one category (the action, reaction
// and support windows): a chosen row also becomes the current ability of
// its category. The first action list shows DevilHealing and Psychicforce
// with the rank the player holds in them.
#pragma once
#include <array>

#include "ui/ListWidgetEx.h"

struct AbilityRow;

class CAbilityList : public CListWidgetEx {
public:
    static constexpr int kComposedSize = 64;

    CAbilityList(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                 int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                 int32_t visibleRows, int32_t* selection, int32_t category);

    void ReloadData() override;
    int OnLButtonDown(int32_t x, int32_t y) override;

    int32_t GetCategory() const { return m_category; }

protected:
    // The row's text: its name in the current language, or a composed one.
    virtual const char* RowText(const AbilityRow& row);
    // The selection at construction: value, made the current ability.
    void SelectAtOnce(int32_t value);

    int32_t m_category;
};

// Category 1, with the two composed rows.
class CActionListA : public CAbilityList {
public:
    CActionListA(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX, int32_t cropY,
                 int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY, int32_t visibleRows,
                 int32_t* selection);

    const char* GetComposed(int i) const { return m_composed[static_cast<size_t>(i)].data(); }

    // Also remembers the two rank names it shows.
    void ReloadData() override;

protected:
    const char* RowText(const AbilityRow& row) override;

private:
    // "name rank" of DevilHealing and Psychicforce.
    std::array<std::array<char, kComposedSize>, 2> m_composed{};
};

// Category 2.
class CActionListB : public CAbilityList {
public:
    CActionListB(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX, int32_t cropY,
                 int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY, int32_t visibleRows,
                 int32_t* selection);
};

// Categories 4 and 5.
class CReactionListA : public CAbilityList {
public:
    CReactionListA(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                   int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                   int32_t visibleRows, int32_t* selection);
};

class CReactionListB : public CAbilityList {
public:
    CReactionListB(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                   int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                   int32_t visibleRows, int32_t* selection);
};

// Category 6.
class CSupportList : public CAbilityList {
public:
    CSupportList(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX, int32_t cropY,
                 int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY, int32_t visibleRows,
                 int32_t* selection);
};

// The rank name of the level the player holds for DevilHealing (0: skill A)
// or Psychicforce (1: skill B), as the first action list shows it.
const char* AbilityRankName(int which);
// Either rank name differs from the one the first action list remembered
// at its last reload; false before any reload.
bool AbilityRankNamesChanged();
// Nothing remembered (between tests).
void ForgetAbilityRankNames();
