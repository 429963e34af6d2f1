// A stack of pages drawn at one place: the front page is drawn last and is
// the only one that gets the mouse; MoveToFront brings another forward.
#pragma once
#include <memory>
#include <vector>

#include "ui/Widget.h"

class CIconList : public CWidget {
public:
    CIconList(int32_t pageCount, int32_t id, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY);
    ~CIconList() override;

    void Toggle() override;
    int OnLButtonDblClk(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnRButtonDown(int32_t x, int32_t y) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnRButtonUp(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    void MoveToFront(int32_t page) override;
    void Draw(uint8_t* surface) override;
    void Refresh() override;
    void ReloadData() override;

    // Page index := widget (owned; the one it replaces is destroyed). An
    // index outside the stack destroys the widget.
    CIconList* SetItem(int32_t index, CWidget* page);
    CWidget* GetPage(int32_t index) const;
    // The page index at stack place i (0: the front).
    int32_t GetOrder(int32_t i) const;

private:
    CWidget* Front() const;
    template <class Handler>
    int ToFront(Handler handler)
    {
        CWidget* page = Front();
        return page ? handler(page) : 0;
    }

    int32_t m_pageCount;
    std::vector<std::unique_ptr<CWidget>> m_pages;
    std::vector<int32_t> m_order;
};
