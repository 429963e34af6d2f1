// What follows the mouse pointer: the plain attachment draws nothing, the
// sprite one draws a frame at the pointer. The UI layer draws the current
// one every frame and tells it about left presses and releases.
#pragma once
#include <cstdint>

#include "core/SlrList.h"

class CPointerAttachment {
public:
    CPointerAttachment() = default;
    CPointerAttachment(const CPointerAttachment&) = delete;
    CPointerAttachment& operator=(const CPointerAttachment&) = delete;
    virtual ~CPointerAttachment() = default;
    virtual void Draw(int32_t x, int32_t y, uint8_t* surface);
    virtual void OnLButtonDown() {}
    virtual void OnLButtonUp() {}
    virtual int32_t GetItemId() { return -1; }
    virtual void Detach() {}
    virtual int Notify() { return 0; }

    int32_t GetX() const { return m_x; }
    int32_t GetY() const { return m_y; }

protected:
    int32_t m_x = 0;
    int32_t m_y = 0;
};

class CPointerSprite : public CPointerAttachment {
public:
    CPointerSprite(const char* slrName, int32_t frame);
    void Draw(int32_t x, int32_t y, uint8_t* surface) override;

private:
    int32_t m_frame;
    CSlrList m_sprite;
};

// The current attachment; never null.
extern CPointerAttachment* g_pointerAttachment;
// Destroys the current attachment and installs p (null: a plain one).
void SetPointerAttachment(CPointerAttachment* p);
