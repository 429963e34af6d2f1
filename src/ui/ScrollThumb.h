// The draggable thumb of a scroll bar over a track of the owner window; it
// drives one list through the list's scroll operations. Dragged more than
// 20 pixels off the track, the list springs back to where the drag began.
#pragma once
#include "ui/ImageWidget.h"

class CScrollThumb : public CImageWidget {
public:
    static constexpr const char* kThumbFile = "data\\ScrPnt.slr";
    static constexpr int32_t kMinThumb = 10;
    static constexpr int32_t kDragMargin = 20;

    // The track is relative to the owner.
    CScrollThumb(CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t trackLeft, int32_t trackTop,
                 int32_t trackRight, int32_t trackBottom, CWidget* list);

    // The thumb's extent from the list's scroll fractions, never shorter
    // than 10 pixels.
    void Refresh() override;

    int32_t GetThumbTop() const { return m_thumbTop; }
    int32_t GetThumbBottom() const { return m_thumbBottom; }
    int IsDragging() const { return m_dragging; }

protected:
    // Strictly inside the track (widened by margin), in screen pixels.
    bool InTrack(int32_t x, int32_t y, int32_t margin) const;
    // The list's top row from the cursor's y over the track.
    void ScrollTo(int32_t y);

    CWidget* m_list;
    int32_t m_trackHeight;
    int32_t m_thumbTop = 0;
    int32_t m_thumbBottom = 0;
    int32_t m_holdFrames = 0;
    int32_t m_trackLeft;
    int32_t m_trackTop;
    int32_t m_trackRight;
    int32_t m_trackBottom;
    int32_t m_dragging = 0;
    int32_t m_savedTop = 0;
};
