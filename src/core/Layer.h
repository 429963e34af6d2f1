// The drawing unit: a surface description and one per-frame Draw.
#pragma once
#include <cstdint>

struct CSize {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const CSize&) const = default;
};

class CLayerGroup;

class CLayer {
public:
    CLayer() = default;
    virtual ~CLayer();
    CLayer(const CLayer&) = delete;
    CLayer& operator=(const CLayer&) = delete;

    virtual uint8_t* GetBits() { return m_pBits; }
    virtual void GetSize(int32_t* w, int32_t* h);
    virtual CSize GetSize() { return CSize{m_width, m_height}; }
    // Called once per frame by the group that holds the layer.
    virtual int Draw() { return 1; }
    virtual int SetSize(CSize size);
    virtual int SetSize(int32_t w, int32_t h);
    virtual int GetWidth() { return m_width; }
    virtual int GetHeight() { return m_height; }
    virtual int GetPitch() { return m_pitch; }

protected:
    // Zeroed here; every derived layer sets what it uses.
    int32_t m_pitch = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint8_t* m_pBits = nullptr;

private:
    friend class CLayerGroup;
    // How many groups hold this layer; a layer must be removed before it dies.
    int m_groupRefs = 0;
};
