// A portrait control on a window: a face index (-1: none) and the name under
// it. A row of them shares one selection word. It has no picture of its own
// until SetFace gives it one.
#pragma once
#include <cstdint>

#include "ui/ImageWidget.h"

class CFaceButtonBase : public CImageWidget {
public:
    static constexpr int kNameSize = 20;
    // Portrait frames 0..11.
    static constexpr int32_t kFaces = 12;
    // The name sits this far from the portrait.
    static constexpr int32_t kNameDx = 38, kNameDy = 88;
    static constexpr uint8_t kNameColour = 60;

    CFaceButtonBase(int32_t id, CWidget* owner, int32_t x, int32_t y, int32_t* selection);

    // Its own picture (every frame's hit rectangle reset) and name.
    void SetFace(const char* slrName, const char* text) override;
    void SetFaceInfo(int32_t value, const char* text) override;
    // Its own picture's frame of the face index and the name under it.
    void Draw(uint8_t* surface) override;

    int32_t GetFaceIndex() const { return m_charId; }
    const char* GetName() const { return m_name; }
    static bool IsFace(int32_t index) { return index >= 0 && index < kFaces; }

protected:
    void SetName(const char* text);
    // The name, CP949, on the screen.
    static void DrawName(uint8_t* surface, int32_t x, int32_t y, const char* name);

    char m_name[kNameSize] = {};
    int32_t* m_selection;
    int32_t m_charId = -1;
};
