// The directory of the in-game windows: one row per child of the UI layer's
// root container, in the order they are added (their drawing order, the
// reverse of their mouse priority). Each row carries the window's place and
// the factory that builds it.
#pragma once
#include <array>
#include <cstdint>

#include "windows/DispatchCommands.h"  // the option values the sliders edit

class CWidget;
struct SWindowRow;

enum class EWindowBase : uint8_t {
    kWindow,         // CWidgetWindow
    kSidePanel,      // CSidePanel
    kListSidePanel,  // CListSidePanel
    kSliding,        // CEditWidget
    kWidget,         // CWidget
    kContainer,      // CWidgetContainer
    kButtonRow,      // CButtonRow
    kPageStack,      // CIconList
    kSlider,         // CSliderWidget
    kCheckBox,       // CCheckBox
    kButton,         // CButtonWidget
    kHotKeyButton,   // CHotKeyButton
};

// The widgets built so far while the directory is built, by id.
class CWindowBuild {
public:
    CWidget* Find(int32_t id) const;
    void Add(CWidget* w);

private:
    std::array<CWidget*, 64> m_built{};
    int m_count = 0;
};

using WindowFactory = CWidget* (*)(const SWindowRow& row, const CWindowBuild& built);

struct SWindowRow {
    int32_t id;
    EWindowBase base;
    const char* sprite;
    int32_t openX, openY, closedX, closedY;
    int32_t lineCount;
    // Sliding windows: 1 slides along y.
    int32_t vertical;
    WindowFactory factory;
};

constexpr int kWindowRows = 60;

// The rows in directory order.
const std::array<SWindowRow, kWindowRows>& WindowTable();
// Row indices in the order the windows are constructed: the chat window with
// the big chat, the tech cube picture with its cell and the tech cube slot
// with the inventory come first.
const std::array<int, kWindowRows>& WindowConstructionOrder();

