// A portrait button of the group window: it draws the owner's portrait list
// (frame = its face index) at its place on the owner, and the name under it.
#pragma once
#include "social/FaceButtonBase.h"

class CSlrList;

class CFaceButton : public CFaceButtonBase {
public:
    static constexpr int32_t kNameDx = 39, kNameDy = 89;

    CFaceButton(int32_t id, CWidget* owner, int32_t x, int32_t y, int32_t* selection, const CSlrList* portraits);

    void Draw(uint8_t* surface) override;

private:
    const CSlrList* m_portraits;
};
