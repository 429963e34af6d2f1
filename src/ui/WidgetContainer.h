// A widget that owns up to 128 children: it draws them in the order they
// were added, offers mouse events to them from the last added (the topmost)
// down, and passes Toggle, SetState, Refresh and ReloadData on to all of
// them. The UI layer's root container has id 1 and passes those on without
// taking them itself.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/Widget.h"

class CWidgetContainer : public CWidget {
public:
    static constexpr int kMaxChildren = 128;
    static constexpr int32_t kRootId = 1;

    CWidgetContainer(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                     int32_t closedY);
    // The root's form: no image, at rest at (800, 0).
    explicit CWidgetContainer(int32_t id = kRootId);
    ~CWidgetContainer() override;

    void Toggle() override;
    void SetState(int32_t state) override;
    int OnLButtonDblClk(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnRButtonDown(int32_t x, int32_t y) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnRButtonUp(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;
    void Refresh() override;
    // Takes the child; true when it is one of the (at most 128) children. A
    // refused one is neither drawn nor offered events, but the container
    // keeps it and destroys it with itself, so whoever holds it may go on
    // using it as long as the container lives.
    bool AddChild(CWidget* child) override;
    // The first direct child with that id, else null.
    CWidget* FindChild(int32_t id) override;
    const CWidget* FindChild(int32_t id) const { return const_cast<CWidgetContainer*>(this)->FindChild(id); }
    void ReloadData() override;
    int32_t OnEscape() override;

    // The pinned flag of the children 4, 6, 9, 12, 35, 7 and 8 := the low
    // byte of flag (missing ones are skipped).
    void PinMainWindows(int flag);

    int GetChildCount() const { return m_childCount; }
    CWidget* GetChild(int i) const { return i >= 0 && i < m_childCount ? m_children[static_cast<size_t>(i)] : nullptr; }
    // Destroys every child, refused ones too (the UI layer's tear-down,
    // tests).
    void DeleteChildren();

protected:
    // The container parts of the interface, for windows that add to them.
    void ContainerToggle();
    void ContainerSetState(int32_t state);
    void ContainerDraw(uint8_t* surface);
    // Offers an event to the children from the last added; 1 when one took it.
    template <class Handler>
    int Route(Handler handler)
    {
        for (int i = m_childCount - 1; i >= 0; --i)
            if (handler(m_children[static_cast<size_t>(i)]))
                return 1;
        return 0;
    }

    std::array<CWidget*, kMaxChildren> m_children{};
    int32_t m_childCount = 0;

private:
    // The children AddChild refused (none unless a table overflows).
    std::vector<std::unique_ptr<CWidget>> m_refused;
};
