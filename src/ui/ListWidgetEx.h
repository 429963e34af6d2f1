// A list box with an image of its own: the rectangle of the owner's image
// behind the list is kept as its background, and Refresh draws the visible
// rows into a fresh copy of it (the selected row in colour 60), each up to
// its line feed.
#pragma once
#include <cstddef>

#include "ui/ListWidget.h"

class CListWidgetEx : public CListWidget {
public:
    // The bytes of a row that are drawn at most (more than the list shows).
    static constexpr size_t kDrawnBytes = 255;

    // ownerImage: the owner's image, which the owner loads now.
    CListWidgetEx(CWidget* owner, int32_t offsetX, int32_t offsetY, CSlrList* ownerImage, int32_t cropX,
                  int32_t cropY, int32_t cropWidth, int32_t cropHeight, int32_t textX, int32_t textY,
                  int32_t visibleRows, int32_t* selection);

    void Refresh() override;

    const CSlrList& GetBackground() const { return m_background; }

protected:
    // A visible row whose text is the very name of a current ability
    // becomes the selection.
    void SelectCurrentAbilities();
    void DrawRows();

    CSlrList m_background;
};
