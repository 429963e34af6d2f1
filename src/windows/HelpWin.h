// The help (side panel 10): seven topic buttons, a list that shows the
// chosen topic's page and a line in which a typed word is searched for
// through all the pages. A page is read from its ".htx" entry the first
// time its topic is shown after another.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "ui/SidePanel.h"
#include "windows/HelpPages.h"

class CListWidgetEx;
class CScrollBarWidget;

class CHelpWin : public CSidePanel {
public:
    static constexpr int32_t kId = 10;
    static constexpr int32_t kVisibleRows = 13;

    struct SPage {
        int32_t topic;
        const char* file;
    };
    static constexpr std::array<SPage, HelpPages::kPages> kPages = {{{9, "Move.htx"},
                                                                      {3, "Chat.htx"},
                                                                      {7, "Item.htx"},
                                                                      {4, "Combat.htx"},
                                                                      {6, "Inform.htx"},
                                                                      {8, "Language.htx"},
                                                                      {5, "ETC.htx"}}};

    CHelpWin();

    // Shown: loads the chosen page.
    void Refresh() override;
    void Draw(uint8_t* surface) override;
    void GetInputPos(CPoint* out) override;
    // Searches the typed word from the row after the top one on.
    void SubmitText() override;

    CListWidgetEx* GetList() const { return m_list; }
    int32_t GetLoadedPage() const { return m_loadedPage; }
    int32_t GetPageIndex() const { return m_pageIndex; }
    const char* GetPageText() const { return m_pageText.data(); }
    size_t GetPageSize() const { return m_pageSize; }

private:
    // The chosen page into the list, unless it is the one shown.
    void LoadPage();

    int32_t m_loadedPage = 3;
    int32_t m_selectedPage = 9;
    int32_t m_pageIndex = 0;
    std::array<char, HelpPages::kTextSize> m_pageText{};
    size_t m_pageSize = 0;
    CListWidgetEx* m_list;
    CScrollBarWidget* m_scrollBar;
    int32_t m_selectedRow = 0;
};
