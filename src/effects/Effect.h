// The base of every effect kind. An effect lives in a fixed pool slot of the
// effect manager; a start takes an idle slot and marks it active, and the
// effect ends itself by clearing the flag.
#pragma once
#include <cstdint>

class CBGLayer;
class CEffectManager;
class CEffectSpriteSet;
class CObjLayer;
class CRleImage;

class CEffect {
public:
    static constexpr int kNameSize = 32;

    CEffect();
    virtual ~CEffect() = default;
    CEffect(const CEffect&) = delete;
    CEffect& operator=(const CEffect&) = delete;

    virtual int Reset() { return 0; }
    // Advances one frame and draws it into dst (800 x 600, row length 800).
    virtual void Draw(uint8_t* /*dst*/) {}
    virtual void GetPos(int& x, int& y) const
    {
        x = m_x;
        y = m_y;
    }
    virtual void Set(int value1, int value2)
    {
        m_value1 = value1;
        m_value2 = value2;
    }

    // At most 31 bytes of text, the rest zero.
    void SetName(const char* text);
    const char* GetName() const { return m_name; }
    bool IsActive() const { return m_active != 0; }
    void Start() { m_active = 1; }
    // Ends the effect: its pool slot is free again.
    virtual void Stop() { m_active = 0; }

protected:
    // The object layer and its ground, through the manager; null without.
    CObjLayer* Layer() const;
    CBGLayer* Ground() const;
    // World pixel to screen pixel; the identity without a ground.
    void ToScreen(int x, int y, int& sx, int& sy) const;
    // Frame i of an effect set: its picture plainly, then its second image
    // blended, both at the point less their offsets. image: draw the
    // picture; second: draw the second image.
    static void DrawSetFrame(const CEffectSpriteSet* set, int i, int sx, int sy, uint8_t* dst, bool image = true,
                             bool second = true);
    // A picture plainly at the point less its offset.
    static void DrawImage(CRleImage* image, int sx, int sy, uint8_t* dst);
    // A picture through one level of the blend table.
    static void DrawImageBlend(CRleImage* image, int sx, int sy, uint8_t* dst, int level);
    // The frame is drawn (not a late frame that is only computed).
    static bool Presented();

    uint8_t m_active = 0;
    CEffectManager* m_pManager = nullptr;
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_value1 = 0;
    int32_t m_value2 = 0;
    int32_t m_step = 0;
    int32_t m_tick = 0;
    char m_name[kNameSize] = {};
};
