// The status window (side panel 6): the character sheet. Twenty hot spots
// name its rows; Refresh writes the player's values into a fresh copy of
// the picture. Opening it closes the other side panels.
#pragma once
#include <array>
#include <cstdint>

#include "ui/SidePanel.h"

struct CharacterRecord;

class CStatusWin : public CSidePanel {
public:
    static constexpr int32_t kId = 6;
    static constexpr int kTooltipRows = 20;
    static constexpr int kValueRows = 18;
    static constexpr size_t kValueSize = 40;
    // The values are centred on this column of the picture.
    static constexpr int32_t kValueX = 174;
    static constexpr uint8_t kValueColour = 60;

    struct SValueRow {
        int32_t y;
        std::array<char, kValueSize> text;
    };
    using ValueRows = std::array<SValueRow, kValueRows>;

    CStatusWin();

    void Refresh() override;

    // The value rows of a record, top to bottom; name and money are the
    // player's (the name is CP949).
    static ValueRows FormatRows(const CharacterRecord& rec, const char* name, int money);
};
