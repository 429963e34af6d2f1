#include "windows/HelpWin.h"

#include <cstring>
#include <string_view>

#include "core/HanCodeConv.h"
#include "core/ResFile.h"
#include "ui/ListWidgetEx.h"
#include "ui/ScrollBarWidget.h"
#include "ui/ToggleButton.h"

namespace {

constexpr int32_t kOpenX = 528, kOpenY = 0, kClosedX = 800, kClosedY = 0;

struct STopicButton {
    const char* sprite;
    int32_t x, y, topic;
};
constexpr STopicButton kTopicButtons[] = {
    {"MoveHlpBtn.slr", 31, 285, 9}, {"ChatHlpBtn.slr", 94, 285, 3}, {"ItemHlpBtn.slr", 157, 285, 7},
    {"BatHlpBtn.slr", 31, 313, 4},  {"InfoHlpBtn.slr", 94, 313, 6}, {"LangHlpBtn.slr", 157, 313, 8},
    {"ETCHlpBtn.slr", 31, 341, 5},
};

}  // namespace

CHelpWin::CHelpWin() : CSidePanel(kId, "HelpWin.slr", kOpenX, kOpenY, kClosedX, kClosedY, 1)
{
    SetInputRect(CRect{120, 380, 220, 400});
    m_list = new CListWidgetEx(this, 36, 80, &m_sprite, 35, 80, 190, 190, 5, 5, kVisibleRows, &m_selectedRow);
    AddChild(m_list);
    m_scrollBar = new CScrollBarWidget(this, 226, 51, 226, 258, 226, 64, 235, 255, m_list);
    AddChild(m_scrollBar);
    for (const STopicButton& b : kTopicButtons)
        AddChild(new CToggleButton(0, b.sprite, this, b.x, b.y, b.topic, &m_selectedPage));
}

void CHelpWin::LoadPage()
{
    if (m_selectedPage == m_loadedPage)
        return;
    m_loadedPage = m_selectedPage;
    int index = -1;
    for (int i = 0; i < HelpPages::kPages && index < 0; ++i)
        if (kPages[static_cast<size_t>(i)].topic == m_loadedPage)
            index = i;
    if (index < 0)
        return;
    m_pageIndex = index;
    m_list->Clear();
    m_pageSize = 0;
    m_pageText[0] = '\0';
    // A page that cannot be opened shows no rows.
    const int h = ResOpen(kPages[static_cast<size_t>(index)].file);
    if (h >= 0) {
        std::array<uint8_t, HelpPages::kMaxBytes> bytes{};
        const size_t got = ResRead(bytes.data(), 1, bytes.size(), h);
        ResClose(h);
        m_pageSize = HelpPages::StorePage(bytes.data(), got, m_pageText.data());
        std::array<uint16_t, HelpPages::kMaxRows> starts{};
        const int rows = HelpPages::RowStarts(m_pageText.data(), m_pageSize, starts.data());
        for (int i = 0; i < rows; ++i)
            m_list->AddRow(m_pageText.data() + starts[static_cast<size_t>(i)], 0);
    }
    m_list->SetTopIndex(0);
    m_list->Refresh();
    m_scrollBar->Refresh();
}

void CHelpWin::Refresh()
{
    if (m_state == kClosed || m_state == kClosing)
        return;
    LoadImageOnDemand();
    LoadPage();
}

void CHelpWin::Draw(uint8_t* surface)
{
    Refresh();
    CSidePanel::Draw(surface);
    m_scrollBar->SetState(m_state);
}

void CHelpWin::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{m_pos.x + 120, 380};
}

void CHelpWin::SubmitText()
{
    char key[kInputSize + 1] = {};
    std::memcpy(key, m_input.data(), strnlen(m_input.data(), m_input.size()));
    CHanCodeConv::JohabToCP949(key, key);
    const std::string_view word(key);
    // An empty word would be in every row.
    if (word.empty())
        return;
    auto load = [&](int page) {
        m_pageIndex = page;
        m_selectedPage = kPages[static_cast<size_t>(page)].topic;
        LoadPage();
        return m_list->GetRowCount();
    };
    auto has = [&](int row) {
        const char* start = m_list->GetRow(row).text;
        return HelpPages::RowText(m_pageText.data(), m_pageSize, static_cast<size_t>(start - m_pageText.data()))
                   .find(word) != std::string_view::npos;
    };
    const HelpPages::SHit hit =
        HelpPages::Search(m_pageIndex, m_list->GetTopIndex(), m_list->GetRowCount(), load, has);
    if (hit.row < 0)
        return;
    m_list->SetTopIndex(hit.row);
    m_list->Refresh();
    m_scrollBar->Refresh();
}
